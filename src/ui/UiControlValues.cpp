// Controls that hold a value the operator edits: numbers and slides, rings,
// strings and text boxes.  Each turns the operator's edits on its widget into
// a commit; values set by the program are applied with the widget's signals
// blocked, so they never reach a callback.
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QTextBlock>
#include <cmath>

#include "ui/UiCore.h"

namespace uiimpl {

namespace {

QString qs(const std::string& s)
{
    return QString::fromStdString(s);
}

// ---- Numbers and slides -----------------------------------------------------

class NumericControl : public Control {
public:
    NumericControl(int panel, const uires::Ctrl& d, QWidget* parent) : Control(panel, d)
    {
        const bool integer = d.type == uires::Type::Int;
        if (d.kind == uires::Kind::Slide) {
            slide_ = new SlideBox(integer, parent);
            box_ = slide_->box();
            widget = slide_;
            slide_->onCommit = [this] { fire(EVENT_COMMIT); };  // cleared when the control goes
        } else {
            box_ = new NumberBox(integer, parent);
            box_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
            widget = box_;
            QObject::connect(box_, &QDoubleSpinBox::valueChanged, &guard_, [this] {
                showDecimal();
                fire(EVENT_COMMIT);
            });
            // A whole number entered again is committed again (an AFE register written
            // twice).  A real one is not: Enter on its rounded text must not replace
            // the full value it holds; but typed into a blank box, it is the operator's.
            box_->onEnterUnchanged = [this, integer] {
                if (integer || box_->blank()) fire(EVENT_COMMIT);
            };
        }
        min_ = d.min;
        max_ = d.max;
        if (d.radix == 16) box_->setRadix(16);
        box_->setPrefix(qs(d.prefix));
        box_->setPrecision(d.precision);
        box_->setIncrement(d.incr);
        applyRange();
        setNumber(d.dflt);
    }

    ~NumericControl() override
    {
        if (slide_) slide_->onCommit = nullptr;
        box_->onEnterUnchanged = nullptr;
    }

    int style() const override { return slide_ ? CTRL_SLIDE : CTRL_NUMERIC; }
    int dataType() const override
    {
        switch (desc.type) {
            case uires::Type::Int:
                return VAL_INTEGER;
            case uires::Type::Float:
                return VAL_FLOAT;
            default:
                return VAL_DOUBLE;
        }
    }

    int get(Value& out) const override
    {
        if (desc.type == uires::Type::Int)
            out = static_cast<int>(std::lround(box_->value()));
        else
            out = box_->value();
        return UIENoError;
    }

    int set(const Value& value) override
    {
        double d = 0.0;
        if (!numberOf(value, &d) || !std::isfinite(d)) return UIEInvalidType;
        setNumber(d);
        return UIENoError;
    }

    int getAttribute(int attribute, Value& out) const override
    {
        switch (attribute) {
            case ATTR_MIN_VALUE:
                out = min_;
                return UIENoError;
            case ATTR_MAX_VALUE:
                out = max_;
                return UIENoError;
            case ATTR_INCR_VALUE:
                out = box_->increment();
                return UIENoError;
            case ATTR_PRECISION:
                out = box_->precision();
                return UIENoError;
            default:
                return Control::getAttribute(attribute, out);
        }
    }

    int setAttribute(int attribute, const Value& value) override
    {
        double d = 0.0;
        switch (attribute) {
            case ATTR_MIN_VALUE:
            case ATTR_MAX_VALUE:
                if (!numberOf(value, &d) || !std::isfinite(d)) return UIEInvalidType;
                (attribute == ATTR_MIN_VALUE ? min_ : max_) = rounded(d);
                applyRange();
                return UIENoError;
            case ATTR_INCR_VALUE:
                if (!numberOf(value, &d) || d < 0.0) return d < 0.0 ? UIEOutOfRange : UIEInvalidType;
                box_->setIncrement(d);
                if (mode == VAL_INDICATOR) box_->setButtonSymbols(QAbstractSpinBox::NoButtons);
                if (slide_) slide_->syncSlider();
                return UIENoError;
            case ATTR_PRECISION: {
                int digits = 0;
                if (!intOf(value, &digits)) return UIEInvalidType;
                if (digits < 0 || digits > 9) return UIEOutOfRange;
                const QSignalBlocker quiet(box_);
                box_->setPrecision(digits);
                showTooltip();
                return UIENoError;
            }
            default:
                return Control::setAttribute(attribute, value);
        }
    }

    void unitsPlaced() override { showDecimal(); }

    void showNoValue(bool none) override
    {
        const QSignalBlocker quiet(box_);
        box_->setBlank(none, noValueShown());
        if (none && desc.withDecimal_ && units) units->clear();
        if (!none) showDecimal();
    }

    std::string rangeText() const override
    {
        if (mode == VAL_INDICATOR) return {};
        const double top = std::max(min_, max_);
        std::string text = "From " + box_->prefix().toStdString() + box_->textFromValue(min_).toStdString() +
                           " to " + box_->prefix().toStdString() + box_->textFromValue(top).toStdString();
        // Appended piece by piece: "literal" + temporary trips a false -Wrestrict in GCC 12 at -O3.
        if (desc.radix == 16) {
            text.append(" (").append(std::to_string(std::llround(min_)));
            text.append(" to ").append(std::to_string(std::llround(top))).append(")");
        } else if (!unitsText.empty()) {
            text.append(" ").append(unitsText);
        } else if (const auto open = labelText.rfind('(');
                   open != std::string::npos && labelText.back() == ')') {
            text.append(" ").append(labelText, open + 1, labelText.size() - open - 2);  // "Manual Gain\n(dB)"
        }
        return text;
    }

    void applyMode() override
    {
        const bool display = mode == VAL_INDICATOR;
        box_->setReadOnly(display);
        box_->setButtonSymbols(display || box_->increment() <= 0.0 || slide_
                                   ? QAbstractSpinBox::NoButtons
                                   : QAbstractSpinBox::UpDownArrows);
        box_->setFocusPolicy(display ? Qt::NoFocus : Qt::StrongFocus);
        SetDisplayLook(box_, display);
        showTooltip();  // a display has no range to keep to
        if (slide_) SetInert(slide_->slider(), display);
    }

private:
    double rounded(double d) const
    {
        if (desc.type == uires::Type::Int) return std::round(d);
        if (desc.type == uires::Type::Float) return static_cast<float>(d);
        return d;
    }

    // The widget's range; a maximum below the minimum leaves just the minimum.
    void applyRange()
    {
        const QSignalBlocker quiet(box_);
        box_->setRange(min_, std::max(min_, max_));
        if (slide_) slide_->syncSlider();
        showTooltip();
    }

    void setNumber(double d)
    {
        const QSignalBlocker quiet(box_);
        box_->setValue(rounded(d));
        if (slide_) slide_->syncSlider();
        showDecimal();
    }

    // A hexadecimal value with its decimal beside it, in the units' place.
    void showDecimal()
    {
        if (!desc.withDecimal_ || !units) return;
        units->setText(QStringLiteral("= %1").arg(std::llround(box_->value())));
    }

    NumberBox* box_ = nullptr;
    SlideBox* slide_ = nullptr;
    double min_ = 0.0, max_ = 0.0;
};

// ---- Rings ------------------------------------------------------------------

class RingControl : public Control, public ListOps {
public:
    RingControl(int panel, const uires::Ctrl& d, QWidget* parent) : Control(panel, d)
    {
        combo_ = new QComboBox(parent);
        combo_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        widget = combo_;
        for (const auto& item : d.items) combo_->addItem(qs(item.label), item.value);
        if (d.dfltIndex < combo_->count()) combo_->setCurrentIndex(d.dfltIndex);
        // activated comes from the operator only.
        QObject::connect(combo_, &QComboBox::activated, &guard_, [this] { fire(EVENT_COMMIT); });
    }

    int style() const override { return CTRL_RING; }
    int dataType() const override { return VAL_INTEGER; }
    ListOps* list() override { return this; }

    int get(Value& out) const override
    {
        if (combo_->currentIndex() < 0) return UIEOutOfRange;
        out = combo_->currentData().toInt();
        return UIENoError;
    }

    int set(const Value& value) override
    {
        int v = 0;
        if (!intOf(value, &v)) return UIEInvalidType;
        const int index = indexOfValue(v);
        if (index < 0) return UIEItemNotInList;
        return setCurrentIndex(index);
    }

    void applyMode() override { SetInert(combo_, mode == VAL_INDICATOR); }

    // No item chosen: the placeholder shows.  Should the mark be taken off
    // without a value, the item chosen before comes back.
    void showNoValue(bool none) override
    {
        const QSignalBlocker quiet(combo_);
        if (none) {
            if (combo_->currentIndex() >= 0) kept_ = combo_->currentIndex();
            combo_->setPlaceholderText(noValueShown());
            combo_->setCurrentIndex(-1);
            return;
        }
        combo_->setPlaceholderText(QString());
        if (combo_->currentIndex() < 0 && kept_ >= 0 && kept_ < combo_->count())
            combo_->setCurrentIndex(kept_);
    }

    int itemCount() const override { return combo_->count(); }

    int insertItem(int index, const std::string& label, int value) override
    {
        if (index < -1 || index > combo_->count()) return UIEOutOfRange;
        const QSignalBlocker quiet(combo_);
        combo_->insertItem(index < 0 ? combo_->count() : index, qs(label), value);
        if (combo_->currentIndex() < 0 && noValueReason_.empty()) combo_->setCurrentIndex(0);
        return UIENoError;
    }

    int deleteItems(int index, int count) override
    {
        if (index < 0 || index >= combo_->count() || count < -1) return UIEOutOfRange;
        const int last = count < 0 ? combo_->count() : std::min(combo_->count(), index + count);
        const QSignalBlocker quiet(combo_);
        for (int i = last - 1; i >= index; --i) combo_->removeItem(i);
        return UIENoError;
    }

    int itemLabel(int index, std::string* label) const override
    {
        if (index < 0 || index >= combo_->count()) return UIEOutOfRange;
        *label = combo_->itemText(index).toStdString();
        return UIENoError;
    }

    int itemValue(int index, int* value) const override
    {
        if (index < 0 || index >= combo_->count()) return UIEOutOfRange;
        *value = combo_->itemData(index).toInt();
        return UIENoError;
    }

    int indexOfValue(int value) const override { return combo_->findData(value); }
    int currentIndex() const override { return combo_->currentIndex(); }

    int setCurrentIndex(int index) override
    {
        if (index < 0 || index >= combo_->count()) return UIEOutOfRange;
        const QSignalBlocker quiet(combo_);
        combo_->setCurrentIndex(index);
        return UIENoError;
    }

private:
    QComboBox* combo_;
    int kept_ = -1;
};

// ---- Strings ----------------------------------------------------------------

class StringControl : public Control {
public:
    StringControl(int panel, const uires::Ctrl& d, QWidget* parent) : Control(panel, d)
    {
        edit_ = new QLineEdit(parent);
        widget = edit_;
        edit_->setMaxLength(d.maxLength > 0 ? d.maxLength : 32767);
        if (d.printable)
            edit_->setValidator(new QRegularExpressionValidator(QRegularExpression("[ -~]*"), edit_));
        edit_->setText(qs(d.text));
        QObject::connect(edit_, &QLineEdit::textEdited, &guard_, [this] { edited_ = true; });
        // A command line must not go out because the operator clicked elsewhere.
        const auto finished = d.enterOnly ? &QLineEdit::returnPressed : &QLineEdit::editingFinished;
        QObject::connect(edit_, finished, &guard_, [this] {
            if (!edited_) return;
            edited_ = false;
            fire(EVENT_COMMIT);
        });
    }

    int style() const override { return CTRL_STRING; }
    int dataType() const override { return VAL_STRING; }

    // What the operator types passes the field's validator: characters it
    // refuses never reach the text.
    int enter(const Value& value) override
    {
        std::string text;
        if (desc.printable && textOf(value, &text)) {
            std::erase_if(text, [](char ch) { return ch < ' ' || ch > '~'; });
            return Control::enter(text);
        }
        return Control::enter(value);
    }

    int get(Value& out) const override
    {
        out = edit_->text().toStdString();
        return UIENoError;
    }

    int set(const Value& value) override
    {
        std::string text;
        if (!textOf(value, &text)) return UIEInvalidType;
        const QSignalBlocker quiet(edit_);
        edit_->setText(qs(text));  // held to the entry length like typed text
        edited_ = false;
        return UIENoError;
    }

    int getAttribute(int attribute, Value& out) const override
    {
        if (attribute != ATTR_MAX_ENTRY_LENGTH) return Control::getAttribute(attribute, out);
        out = edit_->maxLength() == 32767 ? 0 : edit_->maxLength();
        return UIENoError;
    }

    int setAttribute(int attribute, const Value& value) override
    {
        if (attribute != ATTR_MAX_ENTRY_LENGTH) return Control::setAttribute(attribute, value);
        int n = 0;
        if (!intOf(value, &n)) return UIEInvalidType;
        if (n < 0) return UIEOutOfRange;
        edit_->setMaxLength(n > 0 ? n : 32767);
        return UIENoError;
    }

    void applyMode() override
    {
        edit_->setReadOnly(mode == VAL_INDICATOR);
        edit_->setFocusPolicy(mode == VAL_INDICATOR ? Qt::ClickFocus : Qt::StrongFocus);
        SetDisplayLook(edit_, mode == VAL_INDICATOR);
    }

    void showNoValue(bool none) override
    {
        const QSignalBlocker quiet(edit_);
        if (none) edit_->clear();
        edit_->setPlaceholderText(none ? noValueShown() : QString());
    }

private:
    QLineEdit* edit_;
    bool edited_ = false;
};

// ---- Text boxes -------------------------------------------------------------

class TextBoxControl : public Control, public LineOps {
public:
    TextBoxControl(int panel, const uires::Ctrl& d, QWidget* parent) : Control(panel, d)
    {
        edit_ = new QPlainTextEdit(parent);
        widget = edit_;
        edit_->setUndoRedoEnabled(false);
        edit_->setTabChangesFocus(true);
        // A box of several lines shows from the start that it scrolls.
        if (!d.oneLine) edit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        maxLength_ = d.maxLength;
        if (d.lines > 0) {
            const int lineHeight = edit_->fontMetrics().lineSpacing();
            const int height = lineHeight * d.lines + 2 * edit_->frameWidth() + 8;
            edit_->setFixedHeight(std::max(height, edit_->minimumSizeHint().height()));
        }
        edit_->setPlainText(qs(d.text));
        edit_->document()->setModified(false);
        QObject::connect(edit_, &QPlainTextEdit::textChanged, &guard_, [this] { holdToLength(); });
        if (d.oneLine) {
            // Enter in a one-line box is the panel's (its default button).
            edit_->installEventFilter(new EventHook(
                [this](QObject*, QEvent* e) {
                    if (e->type() != QEvent::KeyPress) return false;
                    auto* key = static_cast<QKeyEvent*>(e);
                    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
                    if (auto* window = dynamic_cast<PanelWindow*>(edit_->window()); window && window->onEnter)
                        window->onEnter();
                    return true;
                },
                edit_));
        }
    }

    int style() const override { return CTRL_TEXT_BOX; }
    int dataType() const override { return VAL_STRING; }
    LineOps* lines() override { return this; }

    int get(Value& out) const override
    {
        out = edit_->toPlainText().toStdString();
        return UIENoError;
    }

    int set(const Value& value) override
    {
        std::string text;
        if (!textOf(value, &text)) return UIEInvalidType;
        const QSignalBlocker quiet(edit_);
        edit_->setPlainText(qs(text));
        holdToLength();
        edit_->document()->setModified(false);
        return UIENoError;
    }

    int getAttribute(int attribute, Value& out) const override
    {
        switch (attribute) {
            case ATTR_TOTAL_LINES:
                out = lineCount();
                return UIENoError;
            case ATTR_FIRST_VISIBLE_LINE:
                out = edit_->verticalScrollBar()->value();
                return UIENoError;
            case ATTR_MAX_ENTRY_LENGTH:
                out = maxLength_;
                return UIENoError;
            default:
                return Control::getAttribute(attribute, out);
        }
    }

    int setAttribute(int attribute, const Value& value) override
    {
        int n = 0;
        switch (attribute) {
            case ATTR_FIRST_VISIBLE_LINE:
                if (!intOf(value, &n)) return UIEInvalidType;
                if (n < 0) return UIEOutOfRange;
                SettleLayout(edit_->window());
                edit_->verticalScrollBar()->setValue(n);
                return UIENoError;
            case ATTR_MAX_ENTRY_LENGTH:
                if (!intOf(value, &n)) return UIEInvalidType;
                if (n < 0) return UIEOutOfRange;
                maxLength_ = n;
                holdToLength();
                return UIENoError;
            default:
                return Control::setAttribute(attribute, value);
        }
    }

    void applyMode() override { edit_->setReadOnly(mode == VAL_INDICATOR); }

    void focusLost() override
    {
        if (!edit_->document()->isModified()) return;
        edit_->document()->setModified(false);
        fire(EVENT_COMMIT);
    }

    int enter(const Value& value) override
    {
        if (!operable()) return UIEControlNotOperable;
        std::string text;
        if (!textOf(value, &text)) return UIEInvalidType;
        edit_->setPlainText(qs(text));  // as typed: held to the entry length
        edit_->document()->setModified(true);
        focusLost();
        return UIENoError;
    }

    int lineCount() const override { return edit_->document()->isEmpty() ? 0 : edit_->blockCount(); }

    int insertLine(int index, const std::string& text) override
    {
        const int count = lineCount();
        if (index < -1 || index > count) return UIEOutOfRange;
        QString line = qs(text);
        line.remove(u'\r');
        while (line.endsWith(u'\n')) line.chop(1);
        const QSignalBlocker quiet(edit_);
        QTextDocument* doc = edit_->document();
        if (count == 0) {
            QTextCursor(doc).insertText(line);
        } else if (index < 0 || index == count) {
            QTextCursor end(doc);
            end.movePosition(QTextCursor::End);
            end.insertBlock();
            end.insertText(line);
        } else {
            QTextCursor at(doc->findBlockByNumber(index));
            at.insertText(line);
            at.insertBlock();
        }
        return UIENoError;
    }

    int deleteLines(int first, int count) override
    {
        const int total = lineCount();
        if (first < 0 || first >= total || count < -1) return UIEOutOfRange;
        const int last = count < 0 ? total : std::min(total, first + count);  // one past
        const QSignalBlocker quiet(edit_);
        QTextDocument* doc = edit_->document();
        QTextCursor cut(doc);
        if (last < total) {
            cut.setPosition(doc->findBlockByNumber(first).position());
            cut.setPosition(doc->findBlockByNumber(last).position(), QTextCursor::KeepAnchor);
        } else {
            // Up to the end: take the line break before the first line too.
            const QTextBlock start = doc->findBlockByNumber(first);
            cut.setPosition(first > 0 ? start.position() - 1 : 0);
            cut.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        }
        cut.removeSelectedText();
        return UIENoError;
    }

private:
    void holdToLength()
    {
        if (maxLength_ <= 0 || edit_->document()->characterCount() - 1 <= maxLength_) return;
        const QSignalBlocker quiet(edit_);
        QTextCursor cut(edit_->document());
        cut.setPosition(maxLength_);
        cut.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        cut.removeSelectedText();
    }

    QPlainTextEdit* edit_;
    int maxLength_ = 0;
};

}  // namespace

std::unique_ptr<Control> MakeValueControl(int panel, const uires::Ctrl& desc, QWidget* window)
{
    switch (desc.kind) {
        case uires::Kind::Numeric:
        case uires::Kind::Slide:
            return std::make_unique<NumericControl>(panel, desc, window);
        case uires::Kind::Ring:
            return std::make_unique<RingControl>(panel, desc, window);
        case uires::Kind::String:
            return std::make_unique<StringControl>(panel, desc, window);
        case uires::Kind::TextBox:
            return std::make_unique<TextBoxControl>(panel, desc, window);
        default:
            return nullptr;
    }
}

}  // namespace uiimpl
