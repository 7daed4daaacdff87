// Control services on real widgets: values, what reaches callbacks and what
// does not, attributes, ring items, text-box lines and frame sizes.
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSlider>
#include <QWheelEvent>

#include "UiTestResource.h"

namespace {

template <typename W>
W* widget(int panel, int control)
{
    return qobject_cast<W*>(uitest::ControlWidget(panel, control));
}

QLabel* labelOf(int panel, int control)
{
    QWidget* w = uitest::ControlWidget(panel, control);
    return w->window()->findChild<QLabel*>(w->objectName() + ".label");
}

void key(QWidget* w, int k, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

void type(QWidget* w, const QString& text)
{
    for (QChar c : text) key(w, c.unicode(), QString(c));
}

class UiControls : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        panel = LoadPanel(0, kTestUir, DEMO);
        ASSERT_GT(panel, 0);
        ASSERT_EQ(DisplayPanel(panel), 0);
    }

    template <typename T = int>
    T val(int control)
    {
        return CtrlValue<T>(panel, control);
    }
    template <typename T = int>
    T attr(int control, int attribute)
    {
        return CtrlAttr<T>(panel, control, attribute);
    }

    int panel = 0;
};

TEST_F(UiControls, ValuesAreHeldTheWayEachControlDefinesThem)
{
    double d = 0;
    EXPECT_EQ(val(DEMO_COUNT), 10);  // as laid out
    EXPECT_EQ(val(DEMO_MODE), 0);

    // Numbers stay within the range.
    EXPECT_EQ(SetCtrlVal(panel, DEMO_COUNT, 150), 0);
    EXPECT_EQ(val(DEMO_COUNT), 100);
    EXPECT_EQ(SetCtrlVal(panel, DEMO_COUNT, -5), 0);
    EXPECT_EQ(val(DEMO_COUNT), 0);

    // A real number keeps its value; the precision is only what is shown.
    ASSERT_EQ(SetCtrlVal(panel, DEMO_GAIN, 2.0064), 0);
    EXPECT_FLOAT_EQ(static_cast<float>(val<double>(DEMO_GAIN)), 2.0064f);
    EXPECT_EQ(widget<QDoubleSpinBox>(panel, DEMO_GAIN)->text(), "2.01");
    EXPECT_EQ(val(DEMO_GAIN), 2);
    EXPECT_EQ(val<float>(DEMO_GAIN), 2.0064f);

    // Rings are set by item value; a value no item has changes nothing.
    EXPECT_EQ(SetCtrlVal(panel, DEMO_MODE, 5), 0);
    EXPECT_EQ(val<std::string>(DEMO_MODE), "Auto");
    EXPECT_EQ(SetCtrlVal(panel, DEMO_MODE, 3), UIEItemNotInList);
    EXPECT_EQ(val(DEMO_MODE), 5);

    // Texts: held to the entry length, and cut to the caller's buffer.
    EXPECT_EQ(SetCtrlVal(panel, DEMO_NAME, "camera-01"), 0);
    EXPECT_EQ(val<std::string>(DEMO_NAME), "camera-0");
    char small[4];
    EXPECT_EQ(GetCtrlVal(panel, DEMO_NAME, small), UIEBufferTooSmall);
    EXPECT_STREQ(small, "cam");
    EXPECT_EQ(SetCtrlVal(panel, DEMO_CAPTION, "Camera"), 0);
    EXPECT_EQ(widget<QLabel>(panel, DEMO_CAPTION)->text(), "Camera");

    // On/off controls, hexadecimal display.
    EXPECT_EQ(SetCtrlVal(panel, DEMO_ENABLE, 7), 0);
    EXPECT_EQ(val(DEMO_ENABLE), 1);
    EXPECT_EQ(SetCtrlVal(panel, DEMO_ADDR, 0x2E), 0);
    EXPECT_EQ(widget<QDoubleSpinBox>(panel, DEMO_ADDR)->text(), "0x2E");

    // Wrong types and unknown controls or panels are refused.
    std::string s;
    EXPECT_EQ(GetCtrlVal(panel, DEMO_COUNT, &s), UIEInvalidType);
    EXPECT_EQ(SetCtrlVal(panel, DEMO_COUNT, "12"), UIEInvalidType);
    EXPECT_EQ(GetCtrlVal(panel, DEMO_APPLY, &d), UIEInvalidType);
    EXPECT_EQ(GetCtrlVal(panel, 99, &d), UIEControlNotFound);
    EXPECT_EQ(GetCtrlVal(panel + 1000, DEMO_COUNT, &d), UIEHandleInvalid);
}

TEST_F(UiControls, NeitherProgramChangesNorTheWheelReachCallbacksButOperatorActionsDo)
{
    // The wheel does not turn a control the operator has not chosen.
    for (int control : {DEMO_MODE, DEMO_COUNT, DEMO_LEVEL}) {
        QWidget* w = uitest::ControlWidget(panel, control);
        QWidget* target = control == DEMO_LEVEL ? w->findChild<QSlider*>() : w;
        const QPointF at = target->rect().center();
        QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &wheel);
    }
    EXPECT_TRUE(SeenEvents().empty());
    EXPECT_EQ(val(DEMO_MODE), 0);
    EXPECT_EQ(val(DEMO_COUNT), 10);
    EXPECT_EQ(val(DEMO_LEVEL), 0);

    // Everything the program does, including changes that move a value.
    SetCtrlVal(panel, DEMO_COUNT, 40);
    SetCtrlAttribute(panel, DEMO_COUNT, ATTR_MAX_VALUE, 5);  // clamps the value
    SetCtrlVal(panel, DEMO_GAIN, 3.0);
    SetCtrlAttribute(panel, DEMO_GAIN, ATTR_PRECISION, 1);
    SetCtrlVal(panel, DEMO_MODE, 1);
    DeleteListItem(panel, DEMO_MODE, 1, 1);  // the chosen item goes
    InsertListItem(panel, DEMO_MODE, 0, "First", 9);
    SetCtrlVal(panel, DEMO_NAME, "abc");
    SetCtrlVal(panel, DEMO_LOG, "text");
    InsertTextBoxLine(panel, DEMO_LOG, -1, "more");
    SetCtrlVal(panel, DEMO_ENABLE, 1);
    SetCtrlVal(panel, DEMO_BIT, 1);
    SetCtrlVal(panel, DEMO_LEVEL, 70);
    SetCtrlAttribute(panel, DEMO_LEVEL, ATTR_MAX_VALUE, 50);
    EXPECT_TRUE(SeenEvents().empty());

    // The operator on the widgets themselves.
    widget<QDoubleSpinBox>(panel, DEMO_COUNT)->stepBy(-1);
    EXPECT_EQ(Commits(), std::vector<int>{DEMO_COUNT});
    EXPECT_EQ(val(DEMO_COUNT), 4);

    SeenEvents().clear();
    widget<QAbstractButton>(panel, DEMO_ENABLE)->click();
    EXPECT_EQ(Commits(), std::vector<int>{DEMO_ENABLE});
    EXPECT_EQ(val(DEMO_ENABLE), 0);

    SeenEvents().clear();
    SetCtrlVal(panel, DEMO_MODE, 9);
    key(widget<QComboBox>(panel, DEMO_MODE), Qt::Key_Down);
    EXPECT_EQ(Commits(), std::vector<int>{DEMO_MODE});
    EXPECT_EQ(val(DEMO_MODE), 0);

    // A command button: pressed, then committed once.
    SeenEvents().clear();
    widget<QAbstractButton>(panel, DEMO_APPLY)->click();
    const std::vector<Seen> click = {{panel, DEMO_APPLY, EVENT_LEFT_CLICK, nullptr},
                                     {panel, DEMO_APPLY, EVENT_COMMIT, nullptr}};
    EXPECT_EQ(SeenEvents(), click);

    // Let go away from the button: an arrow button still commits (its drive
    // must stop), a command button does not.
    for (int control : {DEMO_UP, DEMO_APPLY}) {
        SeenEvents().clear();
        auto* button = widget<QAbstractButton>(panel, control);
        const QPoint inside = button->rect().center(), outside(-30, -30);
        QMouseEvent press(QEvent::MouseButtonPress, inside, button->mapToGlobal(inside), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(button, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, outside, button->mapToGlobal(outside), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(button, &release);
        EXPECT_EQ(SeenEvents().front().event, EVENT_LEFT_CLICK);
        EXPECT_EQ(Commits(), control == DEMO_UP ? std::vector<int>{DEMO_UP} : std::vector<int>{});
    }

    // A string commits on Enter after typing, not on a bare Enter.
    SeenEvents().clear();
    auto* name = widget<QLineEdit>(panel, DEMO_NAME);
    name->setFocus();
    type(name, "x");
    key(name, Qt::Key_Return);
    key(name, Qt::Key_Return);
    EXPECT_EQ(Commits(), std::vector<int>{DEMO_NAME});
    EXPECT_EQ(val<std::string>(DEMO_NAME), "abcx");
}

// The operator moves to a number, perhaps types, presses Enter and moves on.
// A typed number beyond the range is set to the nearest limit when entered,
// never cut short while it is typed.
TEST_F(UiControls, ANumberEnteredCommitsWhatWasTypedWithinItsRange)
{
    const struct {
        int control;
        const char* typed;  // nullptr: nothing, the shown text stays
        const char* shown;  // before Enter
        int enters;
        double value;
        int commits;
    } cases[] = {
        {DEMO_GAIN, nullptr, "2.01", 1, 2.0064, 0},  // the shown text is rounded: the full value stays
        {DEMO_GAIN, "3.5", "3.5", 1, 3.5, 1},       {DEMO_GAIN, "36", "36", 1, 32.0, 1},  // 0 to 32 dB
        {DEMO_COUNT, nullptr, "10", 2, 10.0, 2},  // a whole number entered again: a register written twice
        {DEMO_COUNT, "-7", "-7", 1, 0.0, 1},      // 0 to 100
        {DEMO_COUNT, "4x2", "42", 1, 42.0, 1},    // not a number: the letter is refused
    };
    SetCtrlVal(panel, DEMO_GAIN, 2.0064);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed ? c.typed : c.shown);
        auto* number = widget<QDoubleSpinBox>(panel, c.control);
        SeenEvents().clear();
        QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(number, &in);
        if (c.typed) {
            number->clear();
            type(number, c.typed);
        }
        EXPECT_EQ(number->text(), c.shown);
        for (int i = 0; i < c.enters; ++i) key(number, Qt::Key_Return);
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(number, &out);
        EXPECT_EQ(Commits(), std::vector<int>(static_cast<std::size_t>(c.commits), c.control));
        EXPECT_FLOAT_EQ(static_cast<float>(val<double>(c.control)), static_cast<float>(c.value));
    }
}

TEST_F(UiControls, FocusMovesAreReportedAndATextBoxCommitsWhenLeft)
{
    QWidget* window = uitest::PanelWidget(panel);
    QApplication::setActiveWindow(window);
    auto* log = widget<QPlainTextEdit>(panel, DEMO_LOG);
    log->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), log);
    log->insertPlainText("typed");  // as the keyboard does
    SeenEvents().clear();
    widget<QLineEdit>(panel, DEMO_NAME)->setFocus();
    const std::vector<Seen> expected = {{panel, DEMO_LOG, EVENT_COMMIT, nullptr},
                                        {panel, DEMO_LOG, EVENT_LOST_FOCUS, nullptr},
                                        {panel, DEMO_NAME, EVENT_GOT_FOCUS, nullptr}};
    EXPECT_EQ(SeenEvents(), expected);

    // Left again without an edit: no commit.
    log->setFocus();
    SeenEvents().clear();
    widget<QLineEdit>(panel, DEMO_NAME)->setFocus();
    EXPECT_TRUE(Commits().empty());
}

TEST_F(UiControls, AttributesReadBackAndShowOnScreen)
{
    int v = 0;
    QWidget* count = uitest::ControlWidget(panel, DEMO_COUNT);

    // Dimmed and visible take the label and the units along.
    EXPECT_EQ(SetCtrlAttribute(panel, DEMO_GAIN, ATTR_DIMMED, 1), 0);
    EXPECT_EQ(attr(DEMO_GAIN, ATTR_DIMMED), 1);
    EXPECT_FALSE(uitest::ControlWidget(panel, DEMO_GAIN)->isEnabled());
    EXPECT_FALSE(labelOf(panel, DEMO_GAIN)->isEnabled());
    EXPECT_EQ(SetCtrlAttribute(panel, DEMO_GAIN, ATTR_VISIBLE, 0), 0);
    EXPECT_EQ(attr(DEMO_GAIN, ATTR_VISIBLE), 0);
    EXPECT_TRUE(labelOf(panel, DEMO_GAIN)->isHidden());
    EXPECT_TRUE(count->window()->findChild<QLabel*>("DEMO_GAIN.units")->isHidden());

    // Labels are kept as stored; the access key shows as Qt's mnemonic.
    EXPECT_EQ(SetCtrlAttribute(panel, DEMO_COUNT, ATTR_LABEL_TEXT, "__Frames\n  (count)"), 0);
    EXPECT_EQ(attr<std::string>(DEMO_COUNT, ATTR_LABEL_TEXT), "__Frames\n  (count)");
    EXPECT_EQ(labelOf(panel, DEMO_COUNT)->text(), "&Frames (count)");
    EXPECT_EQ(labelOf(panel, DEMO_COUNT)->buddy(), count);
    EXPECT_EQ(SetCtrlAttribute(panel, DEMO_APPLY, ATTR_LABEL_TEXT, "Save & __Go"), 0);
    EXPECT_EQ(widget<QAbstractButton>(panel, DEMO_APPLY)->text(), "Save && &Go");

    // Range, increment and precision.
    SetCtrlAttribute(panel, DEMO_GAIN, ATTR_PRECISION, 1);
    SetCtrlVal(panel, DEMO_GAIN, 12.24);
    EXPECT_EQ(widget<QDoubleSpinBox>(panel, DEMO_GAIN)->text(), "12.2");
    SetCtrlAttribute(panel, DEMO_COUNT, ATTR_MIN_VALUE, 50);  // value 10 follows
    EXPECT_EQ(val(DEMO_COUNT), 50);
    SetCtrlAttribute(panel, DEMO_COUNT, ATTR_MAX_VALUE, 0);  // below the minimum: held at it
    EXPECT_EQ(attr<double>(DEMO_COUNT, ATTR_MAX_VALUE), 0.0);
    EXPECT_EQ(val(DEMO_COUNT), 50);
    SetCtrlAttribute(panel, DEMO_COUNT, ATTR_MAX_VALUE, 1000);
    SetCtrlVal(panel, DEMO_COUNT, 999);
    EXPECT_EQ(val(DEMO_COUNT), 999);
    EXPECT_EQ(SetCtrlAttribute(panel, DEMO_COUNT, ATTR_INCR_VALUE, 5), 0);
    EXPECT_EQ(attr<double>(DEMO_COUNT, ATTR_INCR_VALUE), 5.0);

    // Display-only: read-only on screen.
    EXPECT_EQ(SetCtrlAttribute(panel, DEMO_NAME, ATTR_CTRL_MODE, VAL_INDICATOR), 0);
    EXPECT_TRUE(widget<QLineEdit>(panel, DEMO_NAME)->isReadOnly());
    EXPECT_EQ(attr(DEMO_SHOWN, ATTR_CTRL_MODE), VAL_INDICATOR);
    EXPECT_TRUE(widget<QDoubleSpinBox>(panel, DEMO_SHOWN)->isReadOnly());

    // What the control is.
    EXPECT_EQ(attr(DEMO_LEVEL, ATTR_CTRL_STYLE), CTRL_SLIDE);
    EXPECT_EQ(attr(DEMO_GAIN, ATTR_DATA_TYPE), VAL_FLOAT);
    EXPECT_EQ(attr<std::string>(DEMO_MODE, ATTR_CONSTANT_NAME), "DEMO_MODE");
    EXPECT_EQ(attr<std::string>(DEMO_MODE, ATTR_CALLBACK_NAME), "Record");
    SetCtrlAttribute(panel, DEMO_MODE, ATTR_TOOLTIP_TEXT, "Device COM1 = /dev/ttyS0");
    EXPECT_EQ(uitest::ControlWidget(panel, DEMO_MODE)->toolTip(), "Device COM1 = /dev/ttyS0");

    // Attributes that do not apply.
    EXPECT_EQ(GetCtrlAttribute(panel, DEMO_COUNT, ATTR_TOTAL_LINES, &v), UIEInvalidAttribute);
    EXPECT_EQ(SetCtrlAttribute(panel, DEMO_COUNT, ATTR_TOP, 5), UIEInvalidAttribute);
    EXPECT_EQ(SetCtrlAttribute(panel, DEMO_COUNT, ATTR_CTRL_MODE, 77), UIEOutOfRange);
    EXPECT_EQ(SetCtrlAttribute(panel, DEMO_COUNT, ATTR_DIMMED, "yes"), UIEInvalidType);
}

// A control that holds no value shows nothing (or a check box its third
// state) and says why in its tooltip, until a value is set or entered.
TEST_F(UiControls, AControlWithoutAValueShowsNoneUntilItIsGivenOne)
{
    auto shown = [this](int control) -> QString {
        QWidget* w = uitest::ControlWidget(panel, control);
        if (auto* box = qobject_cast<QAbstractButton*>(w))
            return QString::number(static_cast<QCheckBox*>(box)->checkState());
        if (auto* ring = qobject_cast<QComboBox*>(w)) return ring->currentText();
        if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text();
        if (auto* number = qobject_cast<QDoubleSpinBox*>(w)) return number->text();
        return w->findChild<QDoubleSpinBox*>()->text();  // a slide's number
    };
    const struct {
        int control;
        int value;
        QString none, set;
    } cases[] = {
        {DEMO_COUNT, 42, "", "42"},   {DEMO_GAIN, 7, "", "7.00"},
        {DEMO_MODE, 5, "", "Auto"},   {DEMO_NAME, 0, "", "0"},
        {DEMO_LEVEL, 30, "", "30.0"}, {DEMO_ENABLE, 1, "1", "2"},  // Qt::PartiallyChecked, then Qt::Checked
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.control);
        ASSERT_EQ(SetCtrlAttribute(panel, c.control, ATTR_NO_VALUE_REASON, "Not read: timeout"), 0);
        EXPECT_EQ(shown(c.control), c.none);
        EXPECT_TRUE(uitest::ControlWidget(panel, c.control)->toolTip().startsWith("Not read: timeout"));
        // Left blank (the focus moves on), a number commits nothing, not even a limit.
        SeenEvents().clear();
        QWidget* w = uitest::ControlWidget(panel, c.control);
        auto* number = qobject_cast<QDoubleSpinBox*>(w) ? qobject_cast<QDoubleSpinBox*>(w)
                                                        : w->findChild<QDoubleSpinBox*>();
        if (number) number->interpretText();
        EXPECT_TRUE(Commits().empty());
        EXPECT_EQ(shown(c.control), c.none);
        // A value from the program, or one the operator enters, takes the mark away.
        for (bool byOperator : {false, true}) {
            SetCtrlAttribute(panel, c.control, ATTR_NO_VALUE_REASON, "Not read: timeout");
            if (byOperator)
                EXPECT_EQ(uitest::Commit(panel, c.control, c.value), 0);
            else
                EXPECT_EQ(SetCtrlVal(panel, c.control, c.value), 0);
            EXPECT_EQ(attr<std::string>(c.control, ATTR_NO_VALUE_REASON), "");
            EXPECT_EQ(shown(c.control), c.set);
            EXPECT_FALSE(uitest::ControlWidget(panel, c.control)->toolTip().contains("Not read"));
        }
    }
}

TEST_F(UiControls, RingItemsCanBeAddedAndTakenAway)
{
    int n = 0, v = 0, index = 0;
    std::string label;
    const auto items = [this] {
        int count = -1;
        EXPECT_EQ(GetNumListItems(panel, DEMO_MODE, &count), 0);
        return count;
    };
    EXPECT_EQ(items(), 3);
    EXPECT_EQ(InsertListItem(panel, DEMO_MODE, -1, "Trigger", 2), 0);  // appended
    EXPECT_EQ(InsertListItem(panel, DEMO_MODE, 0, "Factory", 0), 0);   // first
    EXPECT_EQ(items(), 5);
    GetLabelFromIndex(panel, DEMO_MODE, 4, &label);
    EXPECT_EQ(label, "Trigger");
    GetValueFromIndex(panel, DEMO_MODE, 3, &v);
    EXPECT_EQ(v, 5);
    EXPECT_EQ(GetIndexFromValue(panel, DEMO_MODE, &index, 2), 0);
    EXPECT_EQ(index, 4);
    EXPECT_EQ(GetIndexFromValue(panel, DEMO_MODE, &index, 42), UIEItemNotInList);

    // The selection stays on its item while others come and go.
    SetCtrlVal(panel, DEMO_MODE, 5);
    EXPECT_EQ(DeleteListItem(panel, DEMO_MODE, 4, 1), 0);
    EXPECT_EQ(DeleteListItem(panel, DEMO_MODE, 0, 1), 0);
    EXPECT_EQ(val(DEMO_MODE), 5);
    GetCtrlIndex(panel, DEMO_MODE, &index);
    EXPECT_EQ(index, 2);
    EXPECT_EQ(DeleteListItem(panel, DEMO_MODE, 1, -1), 0);  // to the end
    EXPECT_EQ(items(), 1);

    EXPECT_EQ(DeleteListItem(panel, DEMO_MODE, 1, 1), UIEOutOfRange);
    EXPECT_EQ(InsertListItem(panel, DEMO_MODE, 5, "x", 1), UIEOutOfRange);
    EXPECT_EQ(SetCtrlIndex(panel, DEMO_MODE, 3), UIEOutOfRange);
    EXPECT_EQ(GetNumListItems(panel, DEMO_COUNT, &n), UIEInvalidType);
    EXPECT_EQ(ClearListCtrl(panel, DEMO_MODE), 0);
    EXPECT_EQ(items(), 0);
    EXPECT_EQ(GetCtrlVal(panel, DEMO_MODE, &v), UIEOutOfRange);
    EXPECT_TRUE(SeenEvents().empty());
}

TEST_F(UiControls, TextBoxLinesAreInsertedDeletedAndScrolledTo)
{
    EXPECT_EQ(attr(DEMO_LOG, ATTR_TOTAL_LINES), 0);
    InsertTextBoxLine(panel, DEMO_LOG, -1, ":AGN=57\r");
    InsertTextBoxLine(panel, DEMO_LOG, -1, "o\r\n");
    InsertTextBoxLine(panel, DEMO_LOG, 0, "first");
    InsertTextBoxLine(panel, DEMO_LOG, 2, "middle");
    EXPECT_EQ(val<std::string>(DEMO_LOG), "first\n:AGN=57\nmiddle\no");
    EXPECT_EQ(InsertTextBoxLine(panel, DEMO_LOG, 9, "x"), UIEOutOfRange);

    EXPECT_EQ(DeleteTextBoxLines(panel, DEMO_LOG, 1, 2), 0);
    EXPECT_EQ(val<std::string>(DEMO_LOG), "first\no");
    EXPECT_EQ(DeleteTextBoxLines(panel, DEMO_LOG, 1, -1), 0);
    EXPECT_EQ(val<std::string>(DEMO_LOG), "first");
    EXPECT_EQ(DeleteTextBoxLines(panel, DEMO_LOG, 0, -1), 0);
    int n = -1;
    GetNumTextBoxLines(panel, DEMO_LOG, &n);
    EXPECT_EQ(n, 0);

    // The traffic-monitor pattern: append, then bring the last line into view.
    for (int i = 0; i < 200; ++i)
        InsertTextBoxLine(panel, DEMO_LOG, -1, ("line " + std::to_string(i)).c_str());
    EXPECT_EQ(attr(DEMO_LOG, ATTR_TOTAL_LINES), 200);
    EXPECT_EQ(SetCtrlAttribute(panel, DEMO_LOG, ATTR_FIRST_VISIBLE_LINE, 199), 0);
    auto* bar = widget<QPlainTextEdit>(panel, DEMO_LOG)->verticalScrollBar();
    EXPECT_GT(bar->value(), 150);
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_EQ(attr(DEMO_LOG, ATTR_FIRST_VISIBLE_LINE), bar->value());
    EXPECT_TRUE(SeenEvents().empty());
}

TEST_F(UiControls, AFrameTakesAnAskedHeightWithoutClippingItsControls)
{
    const int laidOut = attr(DEMO_BOX, ATTR_HEIGHT);
    EXPECT_GT(laidOut, 60);
    SetCtrlAttribute(panel, DEMO_GAIN, ATTR_VISIBLE, 0);
    SetCtrlAttribute(panel, DEMO_MODE, ATTR_VISIBLE, 0);
    const int shrunk = static_cast<int>(laidOut * 0.2);
    for (int again = 0; again < 3; ++again) {
        ASSERT_EQ(SetCtrlAttribute(panel, DEMO_BOX, ATTR_HEIGHT, shrunk), 0);
        EXPECT_EQ(attr(DEMO_BOX, ATTR_HEIGHT), shrunk);
    }
    QApplication::processEvents();
    QWidget* box = uitest::ControlWidget(panel, DEMO_BOX);
    QWidget* count = uitest::ControlWidget(panel, DEMO_COUNT);
    EXPECT_LT(box->height(), laidOut);
    EXPECT_TRUE(box->rect().contains(QRect(count->mapTo(box, QPoint(0, 0)), count->size())));

    EXPECT_GT(attr(DEMO_NAME, ATTR_TOP), 0);
    EXPECT_EQ(SetCtrlAttribute(panel, DEMO_BOX, ATTR_HEIGHT, -1), UIEOutOfRange);
}

}  // namespace
