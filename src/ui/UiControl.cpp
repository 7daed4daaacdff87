// What every control has: dimmed and visible state, label, units, tooltip,
// control mode and geometry, and the calls into its callback.
#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <cmath>

#include "ui/UiCore.h"

namespace uiimpl {

bool numberOf(const Value& value, double* number)
{
    if (const int* i = std::get_if<int>(&value)) {
        *number = *i;
        return true;
    }
    if (const double* d = std::get_if<double>(&value)) {
        *number = *d;
        return true;
    }
    return false;
}

bool intOf(const Value& value, int* number)
{
    double d = 0.0;
    if (!numberOf(value, &d) || !std::isfinite(d)) return false;
    *number = static_cast<int>(std::lround(d));
    return true;
}

bool textOf(const Value& value, std::string* text)
{
    if (const std::string* s = std::get_if<std::string>(&value)) {
        *text = *s;
        return true;
    }
    double d = 0.0;
    if (!numberOf(value, &d)) return false;
    *text = QString::number(d, 'g', 12).toStdString();
    return true;
}

void SetDisplayLook(QWidget* w, bool display)
{
    QPalette palette = w->palette();
    palette.setBrush(QPalette::Base, display ? palette.brush(QPalette::Window)
                                             : QApplication::palette(w).brush(QPalette::Base));
    w->setPalette(palette);
}

void SetInert(QWidget* w, bool inert)
{
    w->setAttribute(Qt::WA_TransparentForMouseEvents, inert);
    w->setFocusPolicy(inert ? Qt::NoFocus : Qt::StrongFocus);
}

void SettleLayout(QWidget* window)
{
    if (!window) return;
    window->ensurePolished();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    if (auto* panel = dynamic_cast<PanelWindow*>(window))
        panel->fit();
    else if (QLayout* top = window->layout())
        top->activate();
    // A window that was never shown lays out its nested frames only on show;
    // do it now, outside in, so sizes and positions can be read before that.
    const auto inner = window->findChildren<QWidget*>();
    for (QWidget* w : inner)
        if (QLayout* l = w->layout()) l->setGeometry(w->contentsRect());
}

Control::Control(int panelHandle, const uires::Ctrl& d)
    : desc(d), panel(panelHandle), id(d.id), labelText(d.label), unitsText(d.units)
{
}

int Control::get(Value&) const
{
    return UIEInvalidType;
}

int Control::set(const Value&)
{
    return UIEInvalidType;
}

int Control::enter(const Value& value)
{
    if (!operable()) return UIEControlNotOperable;
    if (const int error = set(value)) return error;
    fire(EVENT_COMMIT);
    return UIENoError;
}

int Control::press(bool)
{
    return UIEInvalidType;
}

void Control::fire(int event, int eventData1, int eventData2)
{
    if (mode == VAL_INDICATOR) return;
    if (event == EVENT_COMMIT) clearNoValue();
    if (event == EVENT_COMMIT && mode != VAL_HOT) return;
    DispatchCtrlEvent(panel, id, event, eventData1, eventData2);
}

bool Control::operable() const
{
    QWidget* window = widget->window();
    return mode != VAL_INDICATOR && widget->isVisibleTo(window) && widget->isEnabledTo(window);
}

void Control::clearNoValue()
{
    noValueText_.clear();
    if (noValueReason_.empty()) return;
    noValueReason_.clear();
    showNoValue(false);
    showTooltip();
}

QString Control::noValueShown() const
{
    return noValueText_.empty() ? QStringLiteral("\u2014") : QString::fromStdString(noValueText_);
}

void Control::showLabel()
{
    if (label) label->setText(QString::fromStdString(uires::DisplayLabel(labelText)));
}

void Control::applyMode() {}

int Control::geometry(int attribute) const
{
    if (attribute == ATTR_WIDTH && requestedWidth_ >= 0) return requestedWidth_;
    if (attribute == ATTR_HEIGHT && requestedHeight_ >= 0) return requestedHeight_;
    QWidget* window = widget->window();
    SettleLayout(window);
    const QPoint at = widget->mapTo(window, QPoint(0, 0));
    switch (attribute) {
        case ATTR_WIDTH:
            return widget->width();
        case ATTR_HEIGHT:
            return widget->height();
        case ATTR_TOP:
            return at.y();
        default:
            return at.x();
    }
}

int Control::setSize(int attribute, int pixels)
{
    if (pixels < 0) return UIEOutOfRange;
    const bool width = attribute == ATTR_WIDTH;
    (width ? requestedWidth_ : requestedHeight_) = pixels;
    if (auto* frame = dynamic_cast<CaptionFrame*>(widget)) {
        frame->setRequestedSize(requestedWidth_, requestedHeight_);
        // A frame asked to be smaller than its cell keeps to the cell's top left.
        if (QLayout* outer = frame->parentWidget() ? frame->parentWidget()->layout() : nullptr) {
            Qt::Alignment align;
            if (requestedWidth_ >= 0) align |= Qt::AlignLeft;
            if (requestedHeight_ >= 0) align |= Qt::AlignTop;
            outer->setAlignment(frame, align);
        }
        return UIENoError;
    }
    const QSize least = widget->minimumSizeHint();
    if (width)
        widget->setFixedWidth(std::max(pixels, least.width()));
    else
        widget->setFixedHeight(std::max(pixels, least.height()));
    return UIENoError;
}

int Control::getAttribute(int attribute, Value& out) const
{
    switch (attribute) {
        case ATTR_DIMMED:
            out = dimmed_ ? 1 : 0;
            break;
        case ATTR_VISIBLE:
            out = visible_ ? 1 : 0;
            break;
        case ATTR_LABEL_TEXT:
            out = labelText;
            break;
        case ATTR_UNITS_TEXT:
            out = unitsText;
            break;
        case ATTR_TEXT_BGCOLOR:
            if (style() != CTRL_TEXT_MSG) return UIEInvalidAttribute;
            out = background_;
            break;
        case ATTR_TOOLTIP_TEXT:
            out = tooltip_;
            break;
        case ATTR_DIMMED_REASON:
            out = dimmedReason_;
            break;
        case ATTR_NO_VALUE_REASON:
            out = noValueReason_;
            break;
        case ATTR_NO_VALUE_TEXT:
            out = noValueText_;
            break;
        case ATTR_CTRL_MODE:
            out = mode;
            break;
        case ATTR_CTRL_STYLE:
            out = style();
            break;
        case ATTR_DATA_TYPE:
            out = dataType();
            break;
        case ATTR_CONSTANT_NAME:
            out = desc.name;
            break;
        case ATTR_CALLBACK_NAME:
            out = desc.callback;
            break;
        case ATTR_WIDTH:
        case ATTR_HEIGHT:
        case ATTR_TOP:
        case ATTR_LEFT:
            out = geometry(attribute);
            break;
        default:
            return UIEInvalidAttribute;
    }
    return UIENoError;
}

int Control::setAttribute(int attribute, const Value& value)
{
    int number = 0;
    std::string text;
    switch (attribute) {
        case ATTR_DIMMED:
            if (!intOf(value, &number)) return UIEInvalidType;
            dimmed_ = number != 0;
            for (QWidget* w : {widget, static_cast<QWidget*>(label), static_cast<QWidget*>(units)})
                if (w) w->setEnabled(!dimmed_);
            showTooltip();
            return UIENoError;
        case ATTR_VISIBLE:
            if (!intOf(value, &number)) return UIEInvalidType;
            visible_ = number != 0;
            for (QWidget* w : {widget, static_cast<QWidget*>(label), static_cast<QWidget*>(units), cell})
                if (w) w->setVisible(visible_);
            return UIENoError;
        case ATTR_LABEL_TEXT:
            if (!textOf(value, &text)) return UIEInvalidType;
            labelText = text;
            showLabel();
            return UIENoError;
        case ATTR_UNITS_TEXT:
            if (!textOf(value, &text)) return UIEInvalidType;
            if (!units) return UIEInvalidAttribute;
            unitsText = text;
            units->setText(QString::fromStdString(text));
            showTooltip();
            return UIENoError;
        case ATTR_TEXT_BGCOLOR:
            if (style() != CTRL_TEXT_MSG) return UIEInvalidAttribute;
            if (!intOf(value, &number)) return UIEInvalidType;
            if (number < -1 || number > 0xFFFFFF) return UIEOutOfRange;
            background_ = number;
            // A plain colour with a thin border, so that black or white still shows as a patch.
            widget->setStyleSheet(number < 0
                                      ? QString()
                                      : QStringLiteral("background-color: #%1; border: 1px solid gray;")
                                            .arg(number, 6, 16, QLatin1Char('0')));
            return UIENoError;
        case ATTR_TOOLTIP_TEXT:
            if (!textOf(value, &text)) return UIEInvalidType;
            tooltip_ = text;
            showTooltip();
            return UIENoError;
        case ATTR_DIMMED_REASON:
            if (!textOf(value, &text)) return UIEInvalidType;
            dimmedReason_ = text;
            showTooltip();
            return UIENoError;
        case ATTR_NO_VALUE_REASON:
            if (!textOf(value, &text)) return UIEInvalidType;
            if (text.empty()) {
                clearNoValue();
                return UIENoError;
            }
            if (noValueReason_.empty()) showNoValue(true);
            noValueReason_ = text;
            showTooltip();
            return UIENoError;
        case ATTR_NO_VALUE_TEXT:
            if (!textOf(value, &text)) return UIEInvalidType;
            noValueText_ = text;
            if (!noValueReason_.empty()) showNoValue(true);
            return UIENoError;
        case ATTR_CTRL_MODE:
            if (!intOf(value, &number)) return UIEInvalidType;
            if (number != VAL_HOT && number != VAL_NORMAL && number != VAL_INDICATOR) return UIEOutOfRange;
            mode = number;
            applyMode();
            return UIENoError;
        case ATTR_WIDTH:
        case ATTR_HEIGHT:
            if (!intOf(value, &number)) return UIEInvalidType;
            return setSize(attribute, number);
        default:
            return UIEInvalidAttribute;
    }
}

void Control::showTooltip()
{
    std::string tip = tooltip_;
    auto add = [&tip](const std::string& line) {
        if (line.empty()) return;
        if (!tip.empty()) tip += '\n';
        tip += line;
    };
    add(noValueReason_);
    add(rangeText());
    if (dimmed_ && !dimmedReason_.empty()) add("Greyed: " + dimmedReason_);
    // Disabled widgets show their tooltips too, which is when the reason helps.
    for (QWidget* w : {widget, static_cast<QWidget*>(label)})
        if (w) w->setToolTip(QString::fromStdString(tip));
}

}  // namespace uiimpl
