// Every panel laid out cleanly on screen, the main window also in the shapes
// its models and screens give it: nothing outside its window or frame, no
// two controls or labels on top of each other, none squeezed below the size
// it needs, and no access key used twice in one window.
#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <functional>
#include <map>

#include "ResourceExpect.h"
#include "support/UiTestDriver.h"

namespace {

QRect inWindow(QWidget* w)
{
    return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size());
}

bool isFrame(QWidget* w)
{
    int style = 0;
    return w->property("uiControl").isValid() &&
           GetCtrlAttribute(w->property("uiPanel").toInt(), w->property("uiControl").toInt(), ATTR_CTRL_STYLE,
                            &style) == 0 &&
           style == CTRL_DECORATION;
}

// What the operator sees as one thing: controls, their labels and units,
// frame captions.
std::vector<QWidget*> pieces(QWidget* window)
{
    std::vector<QWidget*> found;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || isFrame(w)) continue;
        const bool control = w->property("uiControl").isValid();
        const bool label = qobject_cast<QLabel*>(w) && w->parentWidget() &&
                           !w->parentWidget()->property("uiControl").isValid();
        if (control || label) found.push_back(w);
    }
    return found;
}

char mnemonic(const QString& text)
{
    for (int i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&') continue;
        if (text[i + 1] == u'&') {
            ++i;
            continue;
        }
        return static_cast<char>(text[i + 1].toUpper().toLatin1());
    }
    return 0;
}

void checkLayout(QWidget* window, const std::string& what)
{
    SCOPED_TRACE(what);
    const auto all = pieces(window);
    ASSERT_FALSE(all.empty());
    for (QWidget* w : all) {
        const QRect r = inWindow(w);
        const QString name = w->objectName().isEmpty() ? qobject_cast<QLabel*>(w)->text() : w->objectName();
        EXPECT_TRUE(window->rect().contains(r)) << name.toStdString() << " leaves the window";
        for (QWidget* frame = w->parentWidget(); frame && frame != window; frame = frame->parentWidget())
            if (isFrame(frame)) {
                EXPECT_TRUE(inWindow(frame).contains(r)) << name.toStdString() << " leaves its frame";
            }
        const QSize need = qobject_cast<QLabel*>(w) ? w->sizeHint() : w->minimumSizeHint();
        EXPECT_GE(w->width(), need.width()) << name.toStdString() << " is cut";
        EXPECT_GE(w->height(), need.height()) << name.toStdString() << " is cut";
        for (QWidget* other : all)
            if (other < w && !other->isAncestorOf(w) && !w->isAncestorOf(other)) {
                EXPECT_FALSE(inWindow(other).intersects(r))
                    << name.toStdString() << " overlaps " << other->objectName().toStdString();
            }
    }

    // Access keys: labels with a partner, buttons, and the menu bar.
    std::map<char, int> keys;
    for (QWidget* w : all) {
        if (auto* label = qobject_cast<QLabel*>(w); label && label->buddy()) ++keys[mnemonic(label->text())];
        if (auto* button = qobject_cast<QAbstractButton*>(w)) ++keys[mnemonic(button->text())];
    }
    if (auto* bar = window->findChild<QMenuBar*>())
        for (QAction* a : bar->actions()) ++keys[mnemonic(a->text())];
    keys.erase(0);
    for (const auto& [key, count] : keys) EXPECT_EQ(count, 1) << "access key " << key;
}

void look(int panel, const std::string& name)
{
    QWidget* window = uitest::PanelWidget(panel);
    window->layout()->activate();
    QApplication::processEvents();
    checkLayout(window, name);
    // Wide enough for its title in bold and the title bar's buttons.
    QFont bold = window->font();
    bold.setBold(true);
    EXPECT_GE(window->width(), QFontMetrics(bold).horizontalAdvance(window->windowTitle()) + 100) << name;
}

const std::vector<int> kFactoryOnly = {MAIN_FACBOX, MAIN_MODEL, MAIN_DFC_ACCESS, MAIN_AGC_ACCESS, MAIN_RS232};

int loadMain()
{
    const int p = LoadPanel(0, kUlvoIccdUir, MAIN);
    LoadMenuBar(p, kUlvoIccdUir, MAINMNU);
    return p;
}

class ResourceLayout : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterUlvoIccdResources();
        uitest::Reset();
    }
    void TearDown() override { uitest::Reset(); }
};

TEST_F(ResourceLayout, EveryPanelAsLaidOut)
{
    const char* names[] = {"",         "advset",  "advset_c", "afeacc",   "cproc", "f_saveset", "ftest",
                           "loadprog", "loadset", "main",     "mcp_warn", "pref",  "saveset",   "splitscrn"};
    for (int id = ADVSET; id <= SPLITSCRN; ++id) {
        const int p = id == MAIN ? loadMain() : LoadPanel(0, kUlvoIccdUir, id);
        DisplayPanel(p);
        look(p, names[id]);
        DiscardPanel(p);
    }
}

// The main window in the shapes its configuration gives it per model group
// and screen: which controls are hidden, relabelled or reduced.
struct Shape {
    const char* name;
    std::vector<int> hidden;
    std::function<void(int)> more;
};

TEST_F(ResourceLayout, TheMainWindowInEveryShape)
{
    const std::vector<int> colourFactory = {MAIN_CMD,         MAIN_CGAIN_TXT,  MAIN_CGAIN_RED,
                                            MAIN_CGAIN_GREEN, MAIN_CGAIN_BLUE, MAIN_IPH};
    const std::vector<int> colour = {MAIN_AWB_BOX, MAIN_AWB_TXT, MAIN_WBM,  MAIN_AWB,
                                     MAIN_HUE,     MAIN_VSAT,    MAIN_USAT, MAIN_YGAIN};
    auto join = [](std::initializer_list<std::vector<int>> parts) {
        std::vector<int> all;
        for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
        return all;
    };
    auto agc = [](int p) {
        SetCtrlAttribute(p, MAIN_MODE, ATTR_LABEL_TEXT, "AGC Mode");
        SetCtrlAttribute(p, MAIN_ALV, ATTR_LABEL_TEXT, "AGC Level");
        SetCtrlAttribute(p, MAIN_AMX, ATTR_LABEL_TEXT, "AGC Max Gain\n    (dB)");
    };
    auto shrink = [](int p) {
        int h = 0;
        GetCtrlAttribute(p, MAIN_DEC_VK47X, ATTR_HEIGHT, &h);
        SetCtrlAttribute(p, MAIN_DEC_VK47X, ATTR_HEIGHT, static_cast<int>(h * 0.2));
    };
    auto longCaptions = [](int p) {
        SetCtrlVal(p, MAIN_L1, "Zoom Control (23 chars)");
        SetCtrlAttribute(p, MAIN_SHS, ATTR_MAX_VALUE, 1125);
        SetCtrlVal(p, MAIN_SHS, 1125);
        SetCtrlVal(p, MAIN_TIMEMS, 1125 * 0.06356);
        for (int i = 0; i < 30; ++i) InsertTextBoxLine(p, MAIN_RS232, -1, ":AGN=57\r");
    };
    const std::vector<int> basic = {MAIN_DEC_VK47X, MAIN_SMX, MAIN_DFC, MAIN_MIR};
    const std::vector<int> user = join({kFactoryOnly, colourFactory});
    const Shape shapes[] = {
        {"main-factory-colour", {MAIN_VMD, MAIN_SHE}, longCaptions},
        {"main-factory-mono47x", colour, nullptr},
        {"main-factory-basic", join({colour, colourFactory, basic}), nullptr},
        {"main-user-colour", join({user, {MAIN_VMD, MAIN_SHE}}), nullptr},
        {"main-user-mono47x", join({user, colour}), shrink},
        {"main-user-basic", join({user, colour, basic}), nullptr},
        {"main-user-eh4000", join({user, colour, basic, {MAIN_SHS, MAIN_SHE, MAIN_TIMEMS}}), agc},
    };
    for (const Shape& shape : shapes) {
        const int p = loadMain();
        for (int c : shape.hidden) SetCtrlAttribute(p, c, ATTR_VISIBLE, 0);
        if (shape.more) shape.more(p);
        DisplayPanel(p);
        look(p, shape.name);
        if (std::string(shape.name) == "main-user-mono47x") {
            // The family frame closes round the two controls left in it.
            QWidget* frame = uitest::ControlWidget(p, MAIN_DEC_VK47X);
            EXPECT_TRUE(inWindow(frame).contains(inWindow(uitest::ControlWidget(p, MAIN_MIR))));
            EXPECT_LT(frame->height(), 150);
        }
        DiscardPanel(p);
    }
}

// Grown by the operator, the main window keeps its controls in their order,
// none over another; hiding a model's controls then keeps the operator's
// size, and a window nobody resized closes round what is left.
TEST_F(ResourceLayout, TheMainWindowGrownOrReshaped)
{
    for (const bool grown : {true, false}) {
        SCOPED_TRACE(grown ? "grown" : "as laid out");
        const int p = loadMain();
        DisplayPanel(p);
        QWidget* window = uitest::PanelWidget(p);
        QApplication::processEvents();
        const QSize fitted = window->size();
        const auto all = pieces(window);
        std::vector<QRect> before;
        for (QWidget* w : all) before.push_back(inWindow(w));
        if (grown) {
            window->resize(fitted + QSize(200, 200));
            QApplication::processEvents();
            checkLayout(window, "main-grown");
            // Side by side, or one above the other, as before.
            for (size_t i = 0; i < all.size(); ++i)
                for (size_t j = 0; j < all.size(); ++j) {
                    const QRect a = inWindow(all[i]), b = inWindow(all[j]), &was = before[i],
                                &other = before[j];
                    SCOPED_TRACE(all[i]->objectName().toStdString() + " and " +
                                 all[j]->objectName().toStdString());
                    if (was.top() <= other.bottom() && other.top() <= was.bottom() &&
                        was.right() < other.left()) {
                        EXPECT_LT(a.right(), b.left());
                    }
                    if (was.left() <= other.right() && other.left() <= was.right() &&
                        was.bottom() < other.top()) {
                        EXPECT_LT(a.bottom(), b.top());
                    }
                }
        }
        for (int c : kFactoryOnly) SetCtrlAttribute(p, c, ATTR_VISIBLE, 0);
        QApplication::processEvents();
        if (grown) {
            EXPECT_EQ(window->size(), fitted + QSize(200, 200));
        } else {
            EXPECT_LT(window->height(), fitted.height() - 100);  // the factory frame went
            EXPECT_EQ(window->size(), window->minimumSize());
        }
        auto* scroll = window->findChild<QScrollArea*>();
        EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible() || scroll->verticalScrollBar()->isVisible());
        checkLayout(window, "main-reshaped");
        DiscardPanel(p);
    }
}

}  // namespace
