// Widgets behind the controls where Qt has no ready one: numbers shown with a
// fixed precision or in hexadecimal, a slide with its value beside it, a lamp,
// the coarse and fine arrow buttons, a frame captioned by a label, and the
// window of a panel.
#pragma once

#include <QDoubleSpinBox>
#include <QToolButton>
#include <QWidget>
#include <functional>

class QLabel;
class QScrollArea;
class QSlider;

namespace uiimpl {

/// A number in a spin box.  It keeps the full value while it shows
/// `precision` digits, so leaving the box without typing changes nothing.
class NumberBox : public QDoubleSpinBox {
public:
    NumberBox(bool integer, QWidget* parent = nullptr);

    void setPrecision(int digits);
    int precision() const { return precision_; }
    void setRadix(int radix);
    void setIncrement(double step);
    double increment() const { return increment_; }
    /// A blank box shows no number (shown, greyed, in its place) until it is given one.
    void setBlank(bool blank, const QString& shown = {});
    bool blank() const { return blank_; }

    /// Runs when Enter is pressed and leaves the value as it was: entering a
    /// value is a commit even when it is the same one (a register written again).
    std::function<void()> onEnterUnchanged;

    QString textFromValue(double value) const override;
    double valueFromText(const QString& text) const override;
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool parse(const QString& text, double* value) const;
    QString stripped(const QString& text) const;

    bool integer_;
    int precision_ = 0;
    int radix_ = 10;
    double increment_ = 1.0;
    mutable bool blank_ = false;  // set aside while the size is worked out from the range's texts
};

/// A slide with a number box beside it.  onCommit runs when the operator let
/// go of the slide, stepped it from the keyboard, or committed a typed value.
class SlideBox : public QWidget {
public:
    SlideBox(bool integer, QWidget* parent = nullptr);

    NumberBox* box() const { return box_; }
    QSlider* slider() const { return slider_; }

    /// Call after the range, increment or value changed from the program.
    void syncSlider();

    std::function<void()> onCommit;

private:
    double valueAt(int position) const;
    void committed();

    NumberBox* box_;
    QSlider* slider_;
    double valueAtPress_ = 0.0;
};

/// A round lamp.
class LedLamp : public QWidget {
public:
    explicit LedLamp(QWidget* parent = nullptr);

    void setOn(bool on);
    bool isOn() const { return on_; }

    QSize sizeHint() const override { return {18, 18}; }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool on_ = false;
};

/// Arrow button of the lens controls: one arrow steps fine, two step coarse.
class ArrowButton : public QToolButton {
public:
    ArrowButton(bool up, bool fast, QWidget* parent = nullptr);
};

/// A frame around a group of controls with a caption set into its top border.
/// The caption is a label of its own, so the program can change, hide or dim
/// it apart from the frame.  A frame can be asked for a size; it takes it as
/// far as the controls inside allow.
class CaptionFrame : public QWidget {
public:
    CaptionFrame(bool flat, QWidget* parent = nullptr);

    /// Makes the label the caption (the frame becomes its parent).
    void setCaption(QLabel* caption);
    QLabel* caption() const { return caption_; }
    /// Call when the caption's text or visibility changed.
    void captionChanged();

    void setRequestedSize(int width, int height);
    int requestedWidth() const { return requestedWidth_; }
    int requestedHeight() const { return requestedHeight_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void updateMargins();
    int captionHeight() const;

    bool flat_;
    QLabel* caption_ = nullptr;
    int requestedWidth_ = -1;
    int requestedHeight_ = -1;
};

/// Runs a function on the events of the objects it watches; returning true
/// swallows the event.
class EventHook : public QObject {
public:
    EventHook(std::function<bool(QObject*, QEvent*)> handler, QObject* parent)
        : QObject(parent), handler_(std::move(handler))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override { return handler_(watched, event); }

private:
    std::function<bool(QObject*, QEvent*)> handler_;
};

/// The window of a panel.  The close box does not close it: it reports to the
/// panel's owner, which decides.
///
/// The panel's controls sit in a scroll area.  The window takes the size they
/// need, as far as its screen has room (then it scrolls), or the larger size
/// the operator or the program gave it; it is never smaller than that need.
class PanelWindow : public QWidget {
public:
    explicit PanelWindow(QWidget* parent = nullptr);

    /// Where the panel's controls are laid out.
    QWidget* contents() const { return contents_; }
    QScrollArea* scrollArea() const { return scroll_; }
    /// Puts a line along the bottom of the window, below the scrolled part.
    void addStatusLine(QWidget* line);

    /// Takes the size the contents need again (bounded by the screen).
    void fit();
    /// A size asked for: kept while the contents need less.
    void chooseSize(QSize size);
    /// Scrolls a control (or a part of one) into view.
    void showControl(QWidget* w);

    std::function<void()> onClose;
    std::function<void(bool active)> onActivation;
    /// Enter that no control took; true when it was used.
    std::function<bool()> onEnter;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QSize room() const;

    QScrollArea* scroll_;
    QWidget* contents_;
    QSize chosen_;  // invalid: none; the window follows its contents
    QSize fitted_;
    QSize contentsHint_;
    bool fitting_ = false;
};

}  // namespace uiimpl
