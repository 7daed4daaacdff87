// The control services: values, attributes, ring items and text-box lines.
#include <cmath>
#include <cstring>

#include "ui/UiCore.h"

using namespace uiimpl;

namespace {

int copyText(const std::string& text, char* out, std::size_t size)
{
    if (!out || size == 0) return UIEBufferTooSmall;
    const std::size_t n = std::min(text.size(), size - 1);
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
    return n < text.size() ? UIEBufferTooSmall : UIENoError;
}

int getValue(int panel, int control, Value& out)
{
    int error = 0;
    Control* c = FindControl(panel, control, &error);
    return c ? c->get(out) : error;
}

int setValue(int panel, int control, const Value& value)
{
    int error = 0;
    Control* c = FindControl(panel, control, &error);
    if (!c) return error;
    if ((error = c->set(value)) == UIENoError) c->clearNoValue();
    return error;
}

int getAttribute(int panel, int control, int attribute, Value& out)
{
    int error = 0;
    Control* c = FindControl(panel, control, &error);
    return c ? c->getAttribute(attribute, out) : error;
}

int setAttribute(int panel, int control, int attribute, const Value& value)
{
    int error = 0;
    Control* c = FindControl(panel, control, &error);
    return c ? c->setAttribute(attribute, value) : error;
}

ListOps* ringOf(int panel, int control, int* error)
{
    Control* c = FindControl(panel, control, error);
    if (!c) return nullptr;
    ListOps* ops = c->list();
    if (!ops) *error = UIEInvalidType;
    return ops;
}

LineOps* textBoxOf(int panel, int control, int* error)
{
    Control* c = FindControl(panel, control, error);
    if (!c) return nullptr;
    LineOps* ops = c->lines();
    if (!ops) *error = UIEInvalidType;
    return ops;
}

}  // namespace

int GetCtrlVal(int panel, int control, int* value)
{
    Value v;
    if (const int error = getValue(panel, control, v)) return error;
    return intOf(v, value) ? UIENoError : UIEInvalidType;
}

int GetCtrlVal(int panel, int control, double* value)
{
    Value v;
    if (const int error = getValue(panel, control, v)) return error;
    return numberOf(v, value) ? UIENoError : UIEInvalidType;
}

int GetCtrlVal(int panel, int control, float* value)
{
    double d = 0.0;
    if (const int error = GetCtrlVal(panel, control, &d)) return error;
    *value = static_cast<float>(d);
    return UIENoError;
}

int GetCtrlVal(int panel, int control, std::string* value)
{
    int error = 0;
    Control* c = FindControl(panel, control, &error);
    if (!c) return error;
    // A ring read as text gives the chosen item's label.
    if (ListOps* ring = c->list()) return ring->itemLabel(ring->currentIndex(), value);
    Value v;
    if ((error = c->get(v))) return error;
    if (const auto* s = std::get_if<std::string>(&v)) {
        *value = *s;
        return UIENoError;
    }
    return UIEInvalidType;
}

int GetCtrlVal(int panel, int control, char* value, std::size_t size)
{
    std::string text;
    if (const int error = GetCtrlVal(panel, control, &text)) return error;
    return copyText(text, value, size);
}

int SetCtrlVal(int panel, int control, int value)
{
    return setValue(panel, control, value);
}

int SetCtrlVal(int panel, int control, double value)
{
    return setValue(panel, control, value);
}

int SetCtrlVal(int panel, int control, const char* value)
{
    return setValue(panel, control, std::string(value ? value : ""));
}

int SetCtrlVal(int panel, int control, const std::string& value)
{
    return setValue(panel, control, value);
}

int GetCtrlAttribute(int panel, int control, int attribute, int* value)
{
    Value v;
    if (const int error = getAttribute(panel, control, attribute, v)) return error;
    return intOf(v, value) ? UIENoError : UIEInvalidType;
}

int GetCtrlAttribute(int panel, int control, int attribute, double* value)
{
    Value v;
    if (const int error = getAttribute(panel, control, attribute, v)) return error;
    return numberOf(v, value) ? UIENoError : UIEInvalidType;
}

int GetCtrlAttribute(int panel, int control, int attribute, std::string* value)
{
    Value v;
    if (const int error = getAttribute(panel, control, attribute, v)) return error;
    const auto* s = std::get_if<std::string>(&v);
    if (!s) return UIEInvalidType;
    *value = *s;
    return UIENoError;
}

int SetCtrlAttribute(int panel, int control, int attribute, int value)
{
    return setAttribute(panel, control, attribute, value);
}

int SetCtrlAttribute(int panel, int control, int attribute, double value)
{
    return setAttribute(panel, control, attribute, value);
}

int SetCtrlAttribute(int panel, int control, int attribute, const char* value)
{
    return setAttribute(panel, control, attribute, std::string(value ? value : ""));
}

int InstallCtrlCallback(int panel, int control, CtrlCallbackPtr function, void* callbackData)
{
    int error = 0;
    Control* c = FindControl(panel, control, &error);
    if (!c) return error;
    c->installed = function;
    c->callbackData = callbackData;
    return UIENoError;
}

// ---- Rings ------------------------------------------------------------------

int GetNumListItems(int panel, int control, int* count)
{
    int error = 0;
    ListOps* ring = ringOf(panel, control, &error);
    if (!ring) return error;
    *count = ring->itemCount();
    return UIENoError;
}

int InsertListItem(int panel, int control, int index, const char* label, int value)
{
    int error = 0;
    ListOps* ring = ringOf(panel, control, &error);
    return ring ? ring->insertItem(index, label ? label : "", value) : error;
}

int DeleteListItem(int panel, int control, int index, int count)
{
    int error = 0;
    ListOps* ring = ringOf(panel, control, &error);
    return ring ? ring->deleteItems(index, count) : error;
}

int ClearListCtrl(int panel, int control)
{
    int error = 0;
    ListOps* ring = ringOf(panel, control, &error);
    if (!ring) return error;
    return ring->itemCount() ? ring->deleteItems(0, -1) : UIENoError;
}

int GetLabelFromIndex(int panel, int control, int index, std::string* label)
{
    int error = 0;
    ListOps* ring = ringOf(panel, control, &error);
    return ring ? ring->itemLabel(index, label) : error;
}

int GetValueFromIndex(int panel, int control, int index, int* value)
{
    int error = 0;
    ListOps* ring = ringOf(panel, control, &error);
    return ring ? ring->itemValue(index, value) : error;
}

int GetIndexFromValue(int panel, int control, int* index, int value)
{
    int error = 0;
    ListOps* ring = ringOf(panel, control, &error);
    if (!ring) return error;
    *index = ring->indexOfValue(value);
    return *index < 0 ? UIEItemNotInList : UIENoError;
}

int GetCtrlIndex(int panel, int control, int* index)
{
    int error = 0;
    ListOps* ring = ringOf(panel, control, &error);
    if (!ring) return error;
    *index = ring->currentIndex();
    return UIENoError;
}

int SetCtrlIndex(int panel, int control, int index)
{
    int error = 0;
    ListOps* ring = ringOf(panel, control, &error);
    return ring ? ring->setCurrentIndex(index) : error;
}

// ---- Text boxes -------------------------------------------------------------

int InsertTextBoxLine(int panel, int control, int index, const char* text)
{
    int error = 0;
    LineOps* box = textBoxOf(panel, control, &error);
    return box ? box->insertLine(index, text ? text : "") : error;
}

int GetNumTextBoxLines(int panel, int control, int* count)
{
    int error = 0;
    LineOps* box = textBoxOf(panel, control, &error);
    if (!box) return error;
    *count = box->lineCount();
    return UIENoError;
}

int DeleteTextBoxLines(int panel, int control, int firstLine, int count)
{
    int error = 0;
    LineOps* box = textBoxOf(panel, control, &error);
    return box ? box->deleteLines(firstLine, count) : error;
}

int ResetTextBox(int panel, int control, const char* text)
{
    int error = 0;
    if (!textBoxOf(panel, control, &error)) return error;
    return SetCtrlVal(panel, control, text);
}
