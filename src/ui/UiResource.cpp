#include "ui/UiResource.h"

#include <algorithm>
#include <cctype>
#include <deque>
#include <memory>

namespace uires {

namespace {

Ctrl make(int id, std::string name, Kind kind, std::string label, Type type)
{
    Ctrl c;
    c.id = id;
    c.name = std::move(name);
    c.kind = kind;
    c.label = std::move(label);
    c.type = type;
    return c;
}

// Registered files live until the end of the run: panels keep pointers into them.
std::deque<std::unique_ptr<File>>& files()
{
    static std::deque<std::unique_ptr<File>> all;
    return all;
}

std::string baseName(const std::string& path)
{
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool sameName(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// Folds a line break and the blanks on both sides of it into one blank.
std::string foldLines(const std::string& s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\n') {
            out += s[i];
            continue;
        }
        while (!out.empty() && out.back() == ' ') out.pop_back();
        while (i + 1 < s.size() && s[i + 1] == ' ') ++i;
        if (!out.empty()) out += ' ';
    }
    return out;
}

}  // namespace

Ctrl Numeric(int id, std::string name, std::string label, Type type)
{
    return make(id, std::move(name), Kind::Numeric, std::move(label), type);
}

Ctrl Slide(int id, std::string name, std::string label, Type type)
{
    return make(id, std::move(name), Kind::Slide, std::move(label), type);
}

Ctrl Ring(int id, std::string name, std::string label, std::vector<Item> items)
{
    Ctrl c = make(id, std::move(name), Kind::Ring, std::move(label), Type::Int);
    c.items = std::move(items);
    return c;
}

Ctrl String(int id, std::string name, std::string label)
{
    return make(id, std::move(name), Kind::String, std::move(label), Type::Text);
}

Ctrl TextBox(int id, std::string name, std::string label, int linesInView)
{
    Ctrl c = make(id, std::move(name), Kind::TextBox, std::move(label), Type::Text);
    c.lines = linesInView;
    c.labelAt = LabelAt::Above;
    c.place = Place::Wide;
    return c;
}

Ctrl TextMsg(int id, std::string name, std::string text)
{
    Ctrl c = make(id, std::move(name), Kind::TextMsg, std::move(text), Type::Text);
    c.labelAt = LabelAt::None;
    c.place = Place::Wide;
    return c;
}

Ctrl Button(int id, std::string name, std::string label)
{
    Ctrl c = make(id, std::move(name), Kind::Button, std::move(label), Type::None);
    c.labelAt = LabelAt::None;
    c.place = Place::Wide;
    c.align = Align::Left;
    return c;
}

Ctrl ArrowButton(int id, std::string name, Arrow arrow)
{
    Ctrl c = make(id, std::move(name), Kind::Arrow, "", Type::None);
    c.arrow = arrow;
    c.labelAt = LabelAt::None;
    c.place = Place::Wide;
    c.align = Align::Center;
    return c;
}

Ctrl CheckBox(int id, std::string name, std::string label)
{
    Ctrl c = make(id, std::move(name), Kind::CheckBox, std::move(label), Type::Int);
    c.labelAt = LabelAt::None;
    c.place = Place::Wide;
    return c;
}

Ctrl Toggle(int id, std::string name, std::string label)
{
    Ctrl c = make(id, std::move(name), Kind::Toggle, std::move(label), Type::Int);
    c.labelAt = LabelAt::None;
    c.place = Place::Wide;
    c.align = Align::Center;
    return c;
}

Ctrl Led(int id, std::string name, std::string label)
{
    Ctrl c = make(id, std::move(name), Kind::Led, std::move(label), Type::Int);
    c.labelAt = LabelAt::Right;
    return c;
}

Ctrl Progress(int id, std::string name, int max)
{
    Ctrl c = make(id, std::move(name), Kind::Progress, {}, Type::Int);
    c.max = max;
    c.labelAt = LabelAt::None;
    return c;
}

Ctrl Frame(int id, std::string name, std::string title)
{
    Ctrl c = make(id, std::move(name), Kind::Frame, "", Type::None);
    c.title = std::move(title);
    c.labelAt = LabelAt::None;
    c.place = Place::Wide;
    return c;
}

Ctrl ButtonRow(int id)
{
    Ctrl c = Frame(id, "");
    c.flat = true;
    c.layout = FrameLayout::ButtonRow;
    return c;
}

void RegisterFile(File file)
{
    auto& all = files();
    for (auto& f : all) {
        if (sameName(f->name, file.name)) {
            // Loaded panels may still point into the old description, so it stays.
            f->name.clear();
        }
    }
    all.push_back(std::make_unique<File>(std::move(file)));
}

const File* FindFile(const std::string& name)
{
    const std::string base = baseName(name);
    if (base.empty()) return nullptr;
    for (auto it = files().rbegin(); it != files().rend(); ++it)
        if (sameName((*it)->name, base)) return it->get();
    return nullptr;
}

const Panel* FindPanel(const File& file, int panelId)
{
    for (const auto& p : file.panels)
        if (p.id == panelId) return &p;
    return nullptr;
}

const MenuBar* FindMenuBar(const File& file, int menuBarId)
{
    for (const auto& m : file.menuBars)
        if (m.id == menuBarId) return &m;
    return nullptr;
}

std::string DisplayLabel(const std::string& stored)
{
    std::string out;
    const std::string folded = foldLines(stored);
    bool marked = false;  // only the first mark counts: a file name may hold "__" too
    for (std::size_t i = 0; i < folded.size(); ++i) {
        if (!marked && folded.compare(i, 2, "__") == 0 && i + 2 < folded.size()) {
            out += '&';
            marked = true;
            ++i;
        } else if (folded[i] == '&') {
            out += "&&";
        } else {
            out += folded[i];
        }
    }
    return out;
}

std::string PlainLabel(const std::string& stored)
{
    std::string out;
    const std::string folded = foldLines(stored);
    bool marked = false;
    for (std::size_t i = 0; i < folded.size(); ++i) {
        if (!marked && folded.compare(i, 2, "__") == 0 && i + 2 < folded.size()) {
            marked = true;
            ++i;
        } else {
            out += folded[i];
        }
    }
    return out;
}

char AccessKey(const std::string& stored)
{
    const auto at = stored.find("__");
    if (at == std::string::npos || at + 2 >= stored.size()) return 0;
    return static_cast<char>(std::toupper(static_cast<unsigned char>(stored[at + 2])));
}

}  // namespace uires
