#include "ui/UiWidgets.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <utility>

namespace uiimpl {

// ---- NumberBox --------------------------------------------------------------

NumberBox::NumberBox(bool integer, QWidget* parent) : QDoubleSpinBox(parent), integer_(integer)
{
    setLocale(QLocale::c());
    // A value is committed on Enter or when the box loses the focus, not per keystroke.
    setKeyboardTracking(false);
    setDecimals(integer ? 0 : 9);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    setAccelerated(true);
}

void NumberBox::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const double before = value();
    QDoubleSpinBox::keyPressEvent(event);
    if (enter && value() == before && onEnterUnchanged) onEnterUnchanged();
}

void NumberBox::setPrecision(int digits)
{
    precision_ = std::clamp(digits, 0, 9);
    setSingleStep(singleStep());  // refreshes the shown text
    lineEdit()->setText(textFromValue(value()));
    updateGeometry();
}

void NumberBox::setRadix(int radix)
{
    radix_ = radix == 16 ? 16 : 10;
    lineEdit()->setText(textFromValue(value()));
    updateGeometry();
}

void NumberBox::setIncrement(double step)
{
    increment_ = step;
    setSingleStep(step > 0.0 ? step : 0.0);
    if (!isReadOnly()) setButtonSymbols(step > 0.0 ? UpDownArrows : NoButtons);
}

void NumberBox::setBlank(bool blank, const QString& shown)
{
    blank_ = blank;
    lineEdit()->setPlaceholderText(blank ? shown : QString());
    lineEdit()->setText(blank ? QString() : prefix() + textFromValue(value()) + suffix());
    updateGeometry();
}

// A blank box keeps the width its range's numbers need, and more where what
// it shows in their place is longer.
QSize NumberBox::sizeHint() const
{
    const bool blank = std::exchange(blank_, false);
    QSize size = QDoubleSpinBox::sizeHint();
    if (blank) {
        const QFontMetrics metrics(font());
        const int longest = std::max(metrics.horizontalAdvance(prefix() + textFromValue(minimum())),
                                     metrics.horizontalAdvance(prefix() + textFromValue(maximum())));
        const int shown = metrics.horizontalAdvance(lineEdit()->placeholderText());
        if (shown > longest) size.rwidth() += shown - longest;
    }
    blank_ = blank;
    return size;
}

QSize NumberBox::minimumSizeHint() const
{
    const bool blank = std::exchange(blank_, false);
    const QSize size = QDoubleSpinBox::minimumSizeHint();
    blank_ = blank;
    return size;
}

QString NumberBox::textFromValue(double value) const
{
    if (blank_) return {};
    if (radix_ == 16) {
        // As many digits as the largest value has, so the digits line up.
        const int digits = QString::number(static_cast<qlonglong>(std::max(0.0, maximum())), 16).size();
        return QString::number(static_cast<qlonglong>(std::llround(value)), 16)
            .rightJustified(digits, u'0')
            .toUpper();
    }
    if (integer_) return QString::number(static_cast<qlonglong>(std::llround(value)));
    QString text = QLocale::c().toString(value, 'f', precision_);
    // -0.00 reads as 0.00.
    if (text.startsWith(u'-') && text.count(u'0') + text.count(u'.') == text.size() - 1) text.remove(0, 1);
    return text;
}

QString NumberBox::stripped(const QString& text) const
{
    QString s = text;
    if (!prefix().isEmpty() && s.startsWith(prefix())) s.remove(0, prefix().size());
    if (!suffix().isEmpty() && s.endsWith(suffix())) s.chop(suffix().size());
    s = s.trimmed();
    if (radix_ == 16 && (s.startsWith(QLatin1String("0x")) || s.startsWith(QLatin1String("0X"))))
        s.remove(0, 2);
    return s;
}

bool NumberBox::parse(const QString& text, double* value) const
{
    bool ok = false;
    if (radix_ == 16) {
        *value = static_cast<double>(text.toLongLong(&ok, 16));
    } else if (integer_) {
        *value = static_cast<double>(text.toLongLong(&ok, 10));
    } else {
        *value = QLocale::c().toDouble(text, &ok);
    }
    return ok;
}

double NumberBox::valueFromText(const QString& text) const
{
    const QString s = stripped(text);
    // Text left as shown means the value as held, not the rounded one shown.
    if (s == textFromValue(value())) return value();
    double v = value();
    if (!parse(s, &v)) return value();
    return std::clamp(v, minimum(), maximum());
}

QValidator::State NumberBox::validate(QString& input, int&) const
{
    const QString s = stripped(input);
    // A blank box left blank keeps what it holds; corrected, it would commit a limit.
    if (blank_ && s.isEmpty()) return QValidator::Acceptable;
    if (s.isEmpty() || s == QLatin1String("-") || s == QLatin1String("+") || s == QLatin1String(".") ||
        s == QLatin1String("-."))
        return QValidator::Intermediate;
    double v = 0.0;
    if (!parse(s, &v)) return QValidator::Invalid;
    // A number beyond the range may be typed whole; it is set to the nearest
    // limit when entered (fixup), never cut to its first digits: "36" typed
    // where 30 is the most gives 30, not 3.
    if (v < minimum() || v > maximum()) return QValidator::Intermediate;
    return QValidator::Acceptable;
}

void NumberBox::fixup(QString& input) const
{
    double v = 0.0;
    if (parse(stripped(input), &v)) input = prefix() + textFromValue(std::clamp(v, minimum(), maximum()));
}

// ---- SlideBox ---------------------------------------------------------------

SlideBox::SlideBox(bool integer, QWidget* parent) : QWidget(parent)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    slider_ = new QSlider(Qt::Horizontal, this);
    slider_->setMinimumWidth(150);
    box_ = new NumberBox(integer, this);
    box_->setButtonSymbols(QAbstractSpinBox::NoButtons);
    row->addWidget(slider_, 1);
    row->addWidget(box_);
    setFocusProxy(box_);

    connect(slider_, &QSlider::sliderPressed, this, [this] { valueAtPress_ = box_->value(); });
    connect(slider_, &QSlider::valueChanged, this, [this](int position) {
        {
            const QSignalBlocker quiet(box_);
            box_->setValue(valueAt(position));
        }
        // While dragging, the number follows; the value counts when the slide is let go.
        if (!slider_->isSliderDown()) committed();
    });
    connect(slider_, &QSlider::sliderReleased, this, [this] {
        if (box_->value() != valueAtPress_) committed();
    });
    connect(box_, &QDoubleSpinBox::valueChanged, this, [this] {
        syncSlider();
        committed();
    });
}

double SlideBox::valueAt(int position) const
{
    const double step = box_->increment();
    if (step <= 0.0 || slider_->maximum() == 0) {
        const double span = box_->maximum() - box_->minimum();
        return box_->minimum() + span * position / std::max(1, slider_->maximum());
    }
    return std::min(box_->maximum(), box_->minimum() + position * step);
}

void SlideBox::syncSlider()
{
    const double span = box_->maximum() - box_->minimum();
    const double step = box_->increment();
    const int positions =
        step > 0.0 ? static_cast<int>(std::clamp(std::ceil(span / step - 1e-9), 0.0, 100000.0)) : 100;
    const double unit = step > 0.0 ? step : span / 100.0;
    const QSignalBlocker quiet(slider_);
    slider_->setRange(0, positions);
    slider_->setPageStep(std::max(1, positions / 10));
    slider_->setValue(unit > 0.0 ? static_cast<int>(std::lround((box_->value() - box_->minimum()) / unit))
                                 : 0);
}

void SlideBox::committed()
{
    if (onCommit) onCommit();
}

// ---- LedLamp ----------------------------------------------------------------

LedLamp::LedLamp(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void LedLamp::setOn(bool on)
{
    if (on_ == on) return;
    on_ = on;
    update();
}

void LedLamp::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int d = std::min(width(), height()) - 3;
    const QRectF r((width() - d) / 2.0, (height() - d) / 2.0, d, d);
    QColor core = on_ ? QColor(70, 220, 90) : QColor(45, 80, 50);
    if (!isEnabled()) {
        core = core.lighter(150);
        core.setAlpha(110);
    }
    QRadialGradient glow(r.center() - QPointF(d / 6.0, d / 6.0), d / 1.6);
    glow.setColorAt(0.0, core.lighter(on_ ? 160 : 130));
    glow.setColorAt(1.0, core);
    p.setBrush(glow);
    p.setPen(QPen(palette().color(QPalette::Dark), 1.0));
    p.drawEllipse(r);
}

// ---- ArrowButton ------------------------------------------------------------

namespace {

QPixmap arrowPixmap(bool up, bool fast, const QColor& color)
{
    const int size = 20;
    QPixmap pix(size, size);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    auto triangle = [&](double top, double height) {
        QPainterPath path;
        const double tip = up ? top : top + height;
        const double base = up ? top + height : top;
        path.moveTo(size / 2.0, tip);
        path.lineTo(3.0, base);
        path.lineTo(size - 3.0, base);
        path.closeSubpath();
        p.drawPath(path);
    };
    if (fast) {
        triangle(2.0, 7.0);
        triangle(11.0, 7.0);
    } else {
        triangle(5.0, 10.0);
    }
    p.end();
    return pix;
}

// The style greys a dimmed button's frame; the arrows must grey with it, or a
// dimmed lens button looks as usable as any other.
QIcon arrowIcon(bool up, bool fast, const QPalette& palette)
{
    QIcon icon(arrowPixmap(up, fast, palette.color(QPalette::Active, QPalette::ButtonText)));
    icon.addPixmap(arrowPixmap(up, fast, palette.color(QPalette::Disabled, QPalette::ButtonText)),
                   QIcon::Disabled);
    return icon;
}

}  // namespace

ArrowButton::ArrowButton(bool up, bool fast, QWidget* parent) : QToolButton(parent)
{
    setIcon(arrowIcon(up, fast, palette()));
    setIconSize(QSize(20, 20));
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    setMinimumSize(38, 30);
    setFocusPolicy(Qt::StrongFocus);
}

// ---- CaptionFrame -----------------------------------------------------------

CaptionFrame::CaptionFrame(bool flat, QWidget* parent) : QWidget(parent), flat_(flat)
{
    updateMargins();
}

void CaptionFrame::setCaption(QLabel* caption)
{
    caption_ = caption;
    caption_->setParent(this);
    QFont bold = caption_->font();
    bold.setBold(true);
    caption_->setFont(bold);
    caption_->setContentsMargins(4, 0, 4, 0);
    caption_->setAutoFillBackground(true);
    captionChanged();
}

int CaptionFrame::captionHeight() const
{
    return caption_ ? caption_->sizeHint().height() : 0;
}

void CaptionFrame::updateMargins()
{
    const bool captioned = caption_ && !caption_->isHidden();
    if (flat_)
        setContentsMargins(0, captioned ? captionHeight() + 2 : 0, 0, 0);
    else
        setContentsMargins(10, captioned ? captionHeight() + 4 : 10, 10, 8);
}

void CaptionFrame::captionChanged()
{
    updateMargins();
    if (caption_) {
        caption_->setGeometry(8, 0, std::min(caption_->sizeHint().width(), std::max(0, width() - 16)),
                              captionHeight());
        caption_->raise();
    }
    updateGeometry();
    update();
}

void CaptionFrame::setRequestedSize(int width, int height)
{
    requestedWidth_ = width;
    requestedHeight_ = height;
    QSizePolicy policy = sizePolicy();
    if (width >= 0) policy.setHorizontalPolicy(QSizePolicy::Maximum);
    if (height >= 0) policy.setVerticalPolicy(QSizePolicy::Maximum);
    setSizePolicy(policy);
    updateGeometry();
}

QSize CaptionFrame::minimumSizeHint() const
{
    QSize s = QWidget::minimumSizeHint();
    if (caption_) s.setWidth(std::max(s.width(), caption_->sizeHint().width() + 20));
    return s;
}

QSize CaptionFrame::sizeHint() const
{
    const QSize least = minimumSizeHint();
    QSize s = QWidget::sizeHint().expandedTo(least);
    if (requestedWidth_ >= 0) s.setWidth(std::max(requestedWidth_, least.width()));
    if (requestedHeight_ >= 0) s.setHeight(std::max(requestedHeight_, least.height()));
    return s;
}

void CaptionFrame::paintEvent(QPaintEvent*)
{
    if (flat_) return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // The border runs through the middle of the caption, whose background hides it there.
    const int top = caption_ && !caption_->isHidden() ? captionHeight() / 2 : 0;
    p.setPen(QPen(palette().color(QPalette::Window).darker(135), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, top + 0.5, -0.5, -0.5), 4.0, 4.0);
}

void CaptionFrame::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    captionChanged();
}

void CaptionFrame::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) captionChanged();
}

// ---- PanelWindow ------------------------------------------------------------

namespace {

// A scroll area that asks for the whole of what it shows; the window decides
// how much of that its screen has room for.
class FittingScrollArea : public QScrollArea {
public:
    using QScrollArea::QScrollArea;
    QSize sizeHint() const override { return widget() ? widget()->sizeHint() : QScrollArea::sizeHint(); }
};

}  // namespace

PanelWindow::PanelWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    // fit() sets the sizes: the layout alone would hold the window to the scroll area's.
    outer->setSizeConstraint(QLayout::SetNoConstraint);
    scroll_ = new FittingScrollArea(this);
    scroll_->setObjectName(QStringLiteral("panelScroll"));
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(true);
    contents_ = new QWidget;
    contents_->setObjectName(QStringLiteral("panelContents"));
    // Never squeezed below what the controls ask for: the scroll bars take over.
    contents_->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Minimum);
    scroll_->setWidget(contents_);
    outer->addWidget(scroll_, 1);
    contents_->installEventFilter(this);
}

void PanelWindow::addStatusLine(QWidget* line)
{
    auto* row = new QHBoxLayout;
    row->setContentsMargins(10, 0, 10, 10);
    row->addWidget(line);
    static_cast<QBoxLayout*>(layout())->addLayout(row);
}

QSize PanelWindow::room() const
{
    const QScreen* s = screen();
    if (!s) return {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
    // Until the window system has framed this window, another one's frame is the best guess.
    QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (frame.isNull() && w->isVisible() && w->windowHandle()) frame = w->windowHandle()->frameMargins();
    return s->availableGeometry().size().shrunkBy(frame);
}

void PanelWindow::fit()
{
    if (fitting_) return;
    ensurePolished();
    if (QLayout* inner = contents_->layout()) inner->activate();
    // The window's layout keeps the scroll area's last size hint until told.
    if (const QSize hint = contents_->sizeHint(); hint != contentsHint_) {
        contentsHint_ = hint;
        scroll_->updateGeometry();
    }
    const QSize need = layout()->totalSizeHint();
    const QSize bound = room();
    QSize fitted = need.boundedTo(bound);
    // A scroll bar takes its room across the other direction.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll_);
    if (need.height() > bound.height()) fitted.setWidth(std::min(bound.width(), need.width() + bar));
    if (need.width() > bound.width()) fitted.setHeight(std::min(bound.height(), need.height() + bar));
    fitting_ = true;
    fitted_ = fitted;
    setMinimumSize(fitted);
    resize(fitted.expandedTo(chosen_));
    if (!isVisible()) {
        // Nothing lays out a window before it is shown; sizes are read before that.
        layout()->setGeometry(rect());
        contents_->resize(contents_->sizeHint().expandedTo(scroll_->size()));
    }
    fitting_ = false;
}

void PanelWindow::chooseSize(QSize size)
{
    chosen_ = size;
    fit();
}

void PanelWindow::showControl(QWidget* w)
{
    if (w && contents_->isAncestorOf(w)) scroll_->ensureWidgetVisible(w, 4, 4);
}

void PanelWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // Any size but the fitted one is the operator's choice, and the window keeps it.
    if (!fitting_) chosen_ = size() == fitted_ ? QSize() : size();
}

bool PanelWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == contents_ && event->type() == QEvent::LayoutRequest) fit();
    return QWidget::eventFilter(watched, event);
}

void PanelWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    if (onClose) onClose();
}

void PanelWindow::keyPressEvent(QKeyEvent* event)
{
    // A value box or text box that took Enter as its commit passes it on;
    // it arrives here and presses the panel's default button.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && event->modifiers() == Qt::NoModifier && onEnter && onEnter()) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool PanelWindow::event(QEvent* event)
{
    // The menu bar or the status line came or changed, or the window moved to a screen.
    if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Show ||
        event->type() == QEvent::ScreenChangeInternal) {
        const bool done = QWidget::event(event);
        fit();
        return done;
    }
    if (onActivation &&
        (event->type() == QEvent::WindowActivate || event->type() == QEvent::WindowDeactivate))
        onActivation(event->type() == QEvent::WindowActivate);
    return QWidget::event(event);
}

}  // namespace uiimpl
