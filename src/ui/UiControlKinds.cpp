// Controls the operator presses or reads: buttons, on/off controls, lamps,
// text messages and frames; and the making of every control.
#include <algorithm>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>

#include "ui/UiCore.h"

namespace uiimpl {

namespace {

QString qs(const std::string& s)
{
    return QString::fromStdString(s);
}

// ---- Text messages ----------------------------------------------------------

class TextMsgControl : public Control {
public:
    TextMsgControl(int panel, const uires::Ctrl& d, QWidget* parent) : Control(panel, d)
    {
        text_ = new QLabel(parent);
        text_->setTextFormat(Qt::PlainText);
        if (d.heading) {
            QFont bold = text_->font();
            bold.setBold(true);
            text_->setFont(bold);
        }
        widget = text_;
        showLabel();
    }

    int style() const override { return CTRL_TEXT_MSG; }
    int dataType() const override { return VAL_STRING; }

    int get(Value& out) const override
    {
        out = labelText;
        return UIENoError;
    }

    int set(const Value& value) override
    {
        std::string text;
        if (!textOf(value, &text)) return UIEInvalidType;
        labelText = text;
        showLabel();
        return UIENoError;
    }

    int setAttribute(int attribute, const Value& value) override
    {
        const int error = Control::setAttribute(attribute, value);
        if (auto* frame = dynamic_cast<CaptionFrame*>(text_->parentWidget())) frame->captionChanged();
        return error;
    }

    void showLabel() override
    {
        // A caption reads on one line; other messages keep their line breaks.
        text_->setText(qs(desc.captionOf ? uires::PlainLabel(labelText) : labelText));
        if (auto* frame = dynamic_cast<CaptionFrame*>(text_->parentWidget())) frame->captionChanged();
    }

    int enter(const Value&) override { return UIEControlNotOperable; }

private:
    QLabel* text_;
};

// ---- Buttons ----------------------------------------------------------------

class ButtonControl : public Control {
public:
    ButtonControl(int panel, const uires::Ctrl& d, QWidget* parent) : Control(panel, d)
    {
        const bool arrow = d.kind == uires::Kind::Arrow;
        if (arrow) {
            const bool up = d.arrow == uires::Arrow::Up || d.arrow == uires::Arrow::FastUp;
            const bool fast = d.arrow == uires::Arrow::FastUp || d.arrow == uires::Arrow::FastDown;
            button_ = new ArrowButton(up, fast, parent);
        } else {
            button_ = new QPushButton(parent);
            static_cast<QPushButton*>(button_)->setAutoDefault(false);
        }
        widget = button_;
        QObject::connect(button_, &QAbstractButton::pressed, &guard_, [this] {
            held_ = true;
            fire(EVENT_LEFT_CLICK);
        });
        if (arrow) {
            // An arrow button drives while held: whatever ends the hold commits,
            // also letting go away from the button, losing the focus or hiding.
            QObject::connect(button_, &QAbstractButton::released, &guard_, [this] { letGo(); });
            button_->installEventFilter(new EventHook(
                [this](QObject*, QEvent* e) {
                    const auto t = e->type();
                    if (t == QEvent::MouseButtonRelease || t == QEvent::FocusOut || t == QEvent::Hide)
                        letGo();
                    return false;
                },
                &guard_));
        } else {
            QObject::connect(button_, &QAbstractButton::clicked, &guard_, [this] { fire(EVENT_COMMIT); });
        }
        showLabel();
    }

    int style() const override
    {
        return desc.kind == uires::Kind::Arrow ? CTRL_ARROW_BUTTON : CTRL_COMMAND_BUTTON;
    }

    void showLabel() override
    {
        if (desc.kind == uires::Kind::Arrow)
            button_->setAccessibleName(qs(uires::PlainLabel(labelText)));
        else
            button_->setText(qs(uires::DisplayLabel(labelText)));
    }

    void applyMode() override { SetInert(button_, mode == VAL_INDICATOR); }

    int press(bool down) override
    {
        if (!operable() && !(button_->isDown() && !down)) return UIEControlNotOperable;
        if (down == button_->isDown()) return UIEOutOfRange;
        {
            const QSignalBlocker quiet(button_);
            button_->setDown(down);
        }
        held_ = down;
        fire(down ? EVENT_LEFT_CLICK : EVENT_COMMIT);
        return UIENoError;
    }

private:
    void letGo()
    {
        if (!held_) return;
        held_ = false;
        fire(EVENT_COMMIT);
    }

    QAbstractButton* button_;
    bool held_ = false;
};

// ---- On/off controls: check boxes, toggle buttons, lamps --------------------

class BinaryControl : public Control {
public:
    BinaryControl(int panel, const uires::Ctrl& d, QWidget* parent) : Control(panel, d)
    {
        if (d.kind == uires::Kind::Led) {
            lamp_ = new LedLamp(parent);
            widget = lamp_;
        } else {
            if (d.kind == uires::Kind::CheckBox) {
                button_ = new QCheckBox(parent);
            } else {
                auto* toggle = new QToolButton(parent);
                toggle->setToolButtonStyle(Qt::ToolButtonTextOnly);
                toggle->setMinimumSize(30, 26);
                button_ = toggle;
            }
            button_->setCheckable(true);
            widget = button_;
            QObject::connect(button_, &QAbstractButton::clicked, &guard_, [this] { fire(EVENT_COMMIT); });
        }
        setOn(d.dflt != 0.0);
        showLabel();
    }

    int style() const override
    {
        if (lamp_) return CTRL_LED;
        return desc.kind == uires::Kind::CheckBox ? CTRL_CHECK_BOX : CTRL_TOGGLE_BUTTON;
    }
    int dataType() const override { return VAL_INTEGER; }

    int get(Value& out) const override
    {
        out = (lamp_ ? lamp_->isOn() : button_->isChecked()) ? 1 : 0;
        return UIENoError;
    }

    int set(const Value& value) override
    {
        int v = 0;
        if (!intOf(value, &v)) return UIEInvalidType;
        setOn(v != 0);
        return UIENoError;
    }

    int enter(const Value& value) override
    {
        if (lamp_) return UIEControlNotOperable;
        return Control::enter(value);
    }

    void showLabel() override
    {
        if (button_)
            button_->setText(qs(uires::DisplayLabel(labelText)));
        else
            Control::showLabel();
    }

    void applyMode() override
    {
        if (button_) SetInert(button_, mode == VAL_INDICATOR);
    }

    // A check box in its third state; clicked, it goes on to checked.
    void showNoValue(bool none) override
    {
        auto* box = qobject_cast<QCheckBox*>(button_);
        if (!box) return;
        const QSignalBlocker quiet(box);
        if (!none && box->checkState() == Qt::PartiallyChecked) box->setCheckState(Qt::Unchecked);
        box->setTristate(none);
        if (none) box->setCheckState(Qt::PartiallyChecked);
    }

private:
    void setOn(bool on)
    {
        if (lamp_) {
            lamp_->setOn(on);
            return;
        }
        const QSignalBlocker quiet(button_);
        button_->setChecked(on);
    }

    QAbstractButton* button_ = nullptr;
    LedLamp* lamp_ = nullptr;
};

// ---- Frames -----------------------------------------------------------------

class FrameControl : public Control {
public:
    FrameControl(int panel, const uires::Ctrl& d, QWidget* parent) : Control(panel, d)
    {
        frame_ = new CaptionFrame(d.flat, parent);
        widget = frame_;
        labelText = d.title;
        if (!d.title.empty()) {
            title_ = new QLabel(frame_);
            title_->setTextFormat(Qt::PlainText);
            frame_->setCaption(title_);
            showLabel();
        }
    }

    int style() const override { return CTRL_DECORATION; }

    void showLabel() override
    {
        if (!title_) return;
        title_->setText(qs(uires::PlainLabel(labelText)));
        frame_->captionChanged();
    }

    int enter(const Value&) override { return UIEControlNotOperable; }

private:
    CaptionFrame* frame_;
    QLabel* title_ = nullptr;
};

// How far a long job has come; the program sets the value, the operator
// only looks.
class ProgressControl : public Control {
public:
    ProgressControl(int panel, const uires::Ctrl& d, QWidget* parent) : Control(panel, d)
    {
        bar_ = new QProgressBar(parent);
        bar_->setRange(0, std::max(1, static_cast<int>(d.max)));
        bar_->setValue(0);
        bar_->setFormat(QStringLiteral("%v of %m"));
        bar_->setMinimumWidth(260);
        widget = bar_;
    }

    int style() const override { return CTRL_PROGRESS_BAR; }
    int dataType() const override { return VAL_INTEGER; }

    int get(Value& out) const override
    {
        out = bar_->value();
        return UIENoError;
    }

    int set(const Value& value) override
    {
        int v = 0;
        if (!intOf(value, &v)) return UIEInvalidType;
        bar_->setValue(std::clamp(v, bar_->minimum(), bar_->maximum()));
        return UIENoError;
    }

    int enter(const Value&) override { return UIEControlNotOperable; }

private:
    QProgressBar* bar_;
};

}  // namespace

std::unique_ptr<Control> MakeControl(int panel, const uires::Ctrl& desc, QWidget* window)
{
    using uires::Kind;
    std::unique_ptr<Control> c = MakeValueControl(panel, desc, window);
    if (!c) {
        switch (desc.kind) {
            case Kind::TextMsg:
                c = std::make_unique<TextMsgControl>(panel, desc, window);
                break;
            case Kind::Button:
            case Kind::Arrow:
                c = std::make_unique<ButtonControl>(panel, desc, window);
                break;
            case Kind::CheckBox:
            case Kind::Toggle:
            case Kind::Led:
                c = std::make_unique<BinaryControl>(panel, desc, window);
                break;
            case Kind::Progress:
                c = std::make_unique<ProgressControl>(panel, desc, window);
                break;
            default:
                c = std::make_unique<FrameControl>(panel, desc, window);
                break;
        }
    }
    c->widget->setObjectName(QString::fromStdString(desc.name));
    c->widget->setProperty("uiPanel", panel);
    c->widget->setProperty("uiControl", desc.id);
    if (!desc.tooltip.empty()) c->setAttribute(ATTR_TOOLTIP_TEXT, desc.tooltip);
    if (desc.kind == uires::Kind::Ring || desc.kind == uires::Kind::Numeric ||
        desc.kind == uires::Kind::Slide) {
        // The mouse wheel only turns a control the operator has chosen, so that
        // scrolling over the window never changes a camera setting by accident.
        auto* wheelGuard = new EventHook(
            [](QObject* watched, QEvent* e) {
                auto* w = static_cast<QWidget*>(watched);
                return e->type() == QEvent::Wheel && !w->hasFocus() &&
                       !w->isAncestorOf(QApplication::focusWidget());
            },
            c->widget);
        for (QWidget* w : c->widget->findChildren<QWidget*>()) w->installEventFilter(wheelGuard);
        c->widget->installEventFilter(wheelGuard);
        c->widget->setFocusPolicy(Qt::StrongFocus);
    }
    if (desc.width > 0) c->widget->setMinimumWidth(desc.width);
    if (desc.indicator) c->mode = VAL_INDICATOR;
    c->applyMode();
    return c;
}

}  // namespace uiimpl
