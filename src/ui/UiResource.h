// Panels and menu bars described as data, and the registry of resource files
// that LoadPanel and LoadMenuBar build them from.
//
// A panel is a list of controls.  Frames (decorations) group controls: every
// control names the frame it sits in (0 = the panel itself) and its cell in
// that frame's grid.  A grid cell holds a label, the control and its units
// side by side, so controls in one column line up.  A frame's caption is either
// a fixed title or a text-message control of the panel (captionOf), which the
// program can then change, hide or dim like any control.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace uires {

enum class Kind {
    Numeric,
    Slide,
    Ring,
    String,
    TextBox,
    TextMsg,
    Button,
    Arrow,
    CheckBox,
    Toggle,
    Led,
    Progress,  ///< a bar showing how far a long job has come (0 to its maximum)
    Frame
};

/// Data type of a value control.
enum class Type { None, Int, Float, Double, Text };

/// Where a control's label goes relative to the control.
enum class LabelAt { Left, Above, Right, None };

/// What part of its cell a control takes: Field = label, control and units in
/// their columns; Wide = the whole cell; LabelColumn = the label column only
/// (a text message that labels the row); ValueColumn = the control column, no
/// label.
enum class Place { Field, Wide, LabelColumn, ValueColumn };

enum class Align { Fill, Left, Center, Right };

/// Arrow buttons: one arrow for the fine step, two for the coarse one.
enum class Arrow { Up, Down, FastUp, FastDown };

/// A frame lays its controls out in a grid, or as a row of buttons pushed to
/// the right.
enum class FrameLayout { Grid, ButtonRow };

struct Item {
    std::string label;
    int value = 0;
};

struct Ctrl {
    int id = 0;        ///< the constant's value; frames used only for layout may use negative ids
    std::string name;  ///< the constant's name
    Kind kind = Kind::TextMsg;
    std::string label;  ///< as stored: "__X" marks the access key, "\n" breaks the line
    Type type = Type::None;
    double dflt = 0.0, min = 0.0, max = 0.0, incr = 1.0;
    int precision = 0;
    int radix = 10;             ///< 16 shows a numeric in hexadecimal
    bool withDecimal_ = false;  ///< a hexadecimal numeric also shows its value in decimal, after it
    std::string prefix;         ///< shown before a numeric's digits ("0x")
    std::vector<Item> items;
    int dfltIndex = 0;  ///< ring item selected as laid out
    std::string text;   ///< initial text of a string or text box
    std::string callback;
    std::string units;
    std::string tooltip;
    bool indicator = false;
    bool visible = true;
    bool dimmed = false;
    bool heading = false;    ///< text message shown in bold, as a heading inside a frame
    int maxLength = 0;       ///< characters an operator may type; 0 = no limit
    bool oneLine = false;    ///< a text box holding one line: Enter does not break it, it goes to the panel
    bool printable = false;  ///< string: the operator may type printable ASCII only (blank to '~')
    bool enterOnly = false;  ///< string: Enter commits it, the focus leaving it does not (a command line)
    Arrow arrow = Arrow::Up;
    int lines = 0;  ///< text box: lines in view
    int width = 0;  ///< minimum width of the control in pixels; 0 = its natural width
    // Layout.
    int in = 0;
    int row = 0, col = 0, rowSpan = 1, colSpan = 1;
    LabelAt labelAt = LabelAt::Left;
    Place place = Place::Field;
    Align align = Align::Fill;
    int captionOf = 0;  ///< text message: the frame it captions
    std::string title;  ///< frame: fixed caption when no control captions it
    bool flat = false;  ///< frame: no border, no margins
    FrameLayout layout = FrameLayout::Grid;
    int stretchRow = -1;  ///< frame: grid row that takes spare height

    // Fluent setters for readable resource tables.
    Ctrl& at(int frame, int r, int c, int rs = 1, int cs = 1)
    {
        in = frame, row = r, col = c, rowSpan = rs, colSpan = cs;
        return *this;
    }
    Ctrl& range(double d, double lo, double hi, double step)
    {
        dflt = d, min = lo, max = hi, incr = step;
        return *this;
    }
    /// The range of a setting (anything with a minimum and a maximum), with
    /// the default and the step the layout gives.
    template <class Limits>
    Ctrl& range(double d, const Limits& limits, double step)
    {
        return range(d, limits.minimum, limits.maximum, step);
    }
    Ctrl& prec(int digits) { return precision = digits, *this; }
    Ctrl& hex(std::string pre = {}) { return radix = 16, prefix = std::move(pre), *this; }
    Ctrl& withDecimal() { return withDecimal_ = true, *this; }
    Ctrl& cb(std::string name) { return callback = std::move(name), *this; }
    Ctrl& unit(std::string u) { return units = std::move(u), *this; }
    Ctrl& tip(std::string t) { return tooltip = std::move(t), *this; }
    Ctrl& display() { return indicator = true, *this; }
    Ctrl& hidden() { return visible = false, *this; }
    Ctrl& labelPos(LabelAt a) { return labelAt = a, *this; }
    Ctrl& placed(Place p) { return place = p, *this; }
    Ctrl& aligned(Align a) { return align = a, *this; }
    Ctrl& minWidth(int px) { return width = px, *this; }
    Ctrl& initial(std::string t) { return text = std::move(t), *this; }
    Ctrl& maxLen(int n) { return maxLength = n, *this; }
    Ctrl& singleLine() { return oneLine = true, *this; }
    Ctrl& printableOnly() { return printable = true, *this; }
    Ctrl& commitOnEnterOnly() { return enterOnly = true, *this; }
    Ctrl& caption(int frame) { return captionOf = frame, *this; }
    Ctrl& selected(int index) { return dfltIndex = index, *this; }
    Ctrl& asHeading() { return heading = true, *this; }
};

/// Control makers: type, kind and the usual label position in one call.
Ctrl Numeric(int id, std::string name, std::string label, Type type = Type::Int);
Ctrl Slide(int id, std::string name, std::string label, Type type = Type::Double);
Ctrl Ring(int id, std::string name, std::string label, std::vector<Item> items);
Ctrl String(int id, std::string name, std::string label);
Ctrl TextBox(int id, std::string name, std::string label, int linesInView);
Ctrl TextMsg(int id, std::string name, std::string text);
Ctrl Button(int id, std::string name, std::string label);
Ctrl ArrowButton(int id, std::string name, Arrow arrow);
Ctrl CheckBox(int id, std::string name, std::string label);
Ctrl Toggle(int id, std::string name, std::string label);
Ctrl Led(int id, std::string name, std::string label);
/// A progress bar from 0 to max, showing "done of max"; integer values.
Ctrl Progress(int id, std::string name, int max);
/// A frame with a fixed title ("" for none).
Ctrl Frame(int id, std::string name, std::string title = {});
/// A frame with no border that lines buttons up at the right.
Ctrl ButtonRow(int id);

struct Panel {
    int id = 0;
    std::string name;
    std::string title;
    std::string callback;  ///< panel callback
    int closeCtrl = 0;     ///< control "pressed" by the close box and Esc (0 = none)
    /// Control "pressed" by Enter (0 = none: Enter only commits a value), unless
    /// the focus is on another button, which Enter then presses.
    int defaultCtrl = 0;
    std::vector<Ctrl> ctrls;
};

enum class MenuKind { Menu, Item, Separator };

struct MenuItem {
    int id = 0;
    std::string name;
    std::string label;  ///< as stored, "__X" marks the access key
    int parent = 0;     ///< the menu it is in; 0 = on the bar itself (a command chosen from the bar)
    MenuKind kind = MenuKind::Item;
    std::string callback;
    /// The item's key, in Qt's portable text ("Ctrl+O", "F5"); shown beside it.
    std::string shortcut;
};

struct MenuBar {
    int id = 0;
    std::string name;
    std::vector<MenuItem> items;  ///< in display order
};

struct File {
    std::string name;  ///< "Ulvo_ICCD.uir"
    std::vector<Panel> panels;
    std::vector<MenuBar> menuBars;
};

/// Registers a file (replacing one of the same name).  Descriptions stay where
/// they are for the rest of the run.
void RegisterFile(File file);

/// The file registered under the name; a directory in front of the name and
/// the letter case do not matter.  nullptr when none.
const File* FindFile(const std::string& name);

const Panel* FindPanel(const File& file, int panelId);
const MenuBar* FindMenuBar(const File& file, int menuBarId);

/// Qt form of a stored label: the first "__X" becomes "&X" (later "__" are
/// shown as they are), a literal '&' becomes "&&",
/// and a line break with the blanks around it becomes one blank (the layout
/// gives every label its own column, so labels need not be folded).
std::string DisplayLabel(const std::string& stored);

/// The stored label as the operator reads it: no access-key marks, line
/// breaks folded as in DisplayLabel.
std::string PlainLabel(const std::string& stored);

/// The access key of a stored label (upper case), or 0.
char AccessKey(const std::string& stored);

}  // namespace uires
