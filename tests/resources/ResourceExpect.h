// What a control of the Ulvo_ICCD resource must be, and the check that the
// loaded panel has it so.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "resources/UlvoIccd.h"
#include "ui/Ui.h"
#include "ui/UiResource.h"

namespace expect {

using Items = std::vector<std::pair<std::string, int>>;

struct Range {
    double dflt, min, max, incr;
};

struct Control {
    Control(int i, std::string n, int s, std::string l = {}, std::string cb = {})
        : id(i), name(std::move(n)), style(s), label(std::move(l)), callback(std::move(cb))
    {
    }

    int id = 0;
    std::string name;
    int style = 0;          ///< 0: a decoration or text, not checked further
    std::string label;      ///< as the operator reads it; text messages: their text
    std::string callback;   ///< "" = none
    std::string accessKey;  ///< letter after "__", "" = not checked
    Items items;
    std::optional<Range> range;
    int dataType = 0;  ///< 0 = not checked
    bool display = false;
    bool checkLabel = true;
};

inline Control Ring(int id, std::string name, std::string label, Items items, std::string cb = "")
{
    Control c(id, std::move(name), CTRL_RING, std::move(label), std::move(cb));
    c.items = std::move(items);
    return c;
}

inline Control Num(int id, std::string name, std::string label, Range r, std::string cb = "",
                   int type = VAL_INTEGER)
{
    Control c(id, std::move(name), CTRL_NUMERIC, std::move(label), std::move(cb));
    c.range = r;
    c.dataType = type;
    return c;
}

inline Control Slide(int id, std::string name, std::string label, Range r, std::string cb = "")
{
    Control c = Num(id, std::move(name), std::move(label), r, std::move(cb), VAL_FLOAT);
    c.style = CTRL_SLIDE;
    return c;
}

inline Control Display(Control c)
{
    c.display = true;
    return c;
}

inline Control Text(int id, std::string name, std::string text)
{
    return Control(id, std::move(name), CTRL_TEXT_MSG, std::move(text));
}

/// A control the description names without saying what it looks like.
inline Control Named(int id, std::string name)
{
    Control c(id, std::move(name), 0);
    c.checkLabel = false;
    return c;
}

inline Control Deco(int id, std::string name)
{
    Control c(id, std::move(name), CTRL_DECORATION);
    c.checkLabel = false;
    return c;
}

inline Control Button(int id, std::string name, std::string label, std::string cb, std::string key = "")
{
    Control c(id, std::move(name), CTRL_COMMAND_BUTTON, std::move(label), std::move(cb));
    c.accessKey = std::move(key);
    return c;
}

inline Control Str(int id, std::string name, std::string label, std::string cb = "")
{
    Control c(id, std::move(name), CTRL_STRING, std::move(label), std::move(cb));
    c.dataType = VAL_STRING;
    return c;
}

/// The label as the operator reads it: no access-key marks, line breaks as blanks.
inline std::string readable(const std::string& stored)
{
    std::string out;
    for (std::size_t i = 0; i < stored.size(); ++i) {
        if (stored.compare(i, 2, "__") == 0) {
            ++i;
            continue;
        }
        if (stored[i] == '\n') {
            while (!out.empty() && out.back() == ' ') out.pop_back();
            while (i + 1 < stored.size() && stored[i + 1] == ' ') ++i;
            out += ' ';
            continue;
        }
        out += stored[i];
    }
    return out;
}

/// Checks every expected control on a freshly loaded panel, and that the
/// resource names no control the expectations leave out.
inline void Check(int panelId, const std::string& title, const std::string& panelCallback,
                  const std::vector<Control>& expected)
{
    RegisterUlvoIccdResources();
    const int panel = LoadPanel(0, kUlvoIccdUir, panelId);
    ASSERT_GT(panel, 0) << "panel " << panelId;
    std::string s;
    GetPanelAttribute(panel, ATTR_TITLE, &s);
    EXPECT_EQ(s, title);
    GetPanelAttribute(panel, ATTR_CALLBACK_NAME, &s);
    EXPECT_EQ(s, panelCallback) << title;

    std::set<std::string> names;
    for (const Control& e : expected) {
        SCOPED_TRACE(e.name);
        names.insert(e.name);
        std::string name;
        ASSERT_EQ(GetCtrlAttribute(panel, e.id, ATTR_CONSTANT_NAME, &name), 0) << "no control " << e.id;
        EXPECT_EQ(name, e.name);
        int style = 0;
        GetCtrlAttribute(panel, e.id, ATTR_CTRL_STYLE, &style);
        if (e.style) {
            EXPECT_EQ(style, e.style);
        }
        if (e.checkLabel) {
            std::string label;
            if (style == CTRL_TEXT_MSG)
                GetCtrlVal(panel, e.id, &label);
            else
                GetCtrlAttribute(panel, e.id, ATTR_LABEL_TEXT, &label);
            EXPECT_EQ(readable(label), e.label);
            if (!e.accessKey.empty()) {
                EXPECT_NE(label.find("__" + e.accessKey), std::string::npos) << label;
            }
        }
        std::string callback;
        GetCtrlAttribute(panel, e.id, ATTR_CALLBACK_NAME, &callback);
        if (e.style) {
            EXPECT_EQ(callback, e.callback);
        }
        if (e.style == CTRL_RING) {
            int n = 0;
            GetNumListItems(panel, e.id, &n);
            Items items;
            for (int i = 0; i < n; ++i) {
                std::string label;
                int value = 0;
                GetLabelFromIndex(panel, e.id, i, &label);
                GetValueFromIndex(panel, e.id, i, &value);
                items.emplace_back(label, value);
            }
            EXPECT_EQ(items, e.items);
        }
        if (e.range) {
            double d = 0, lo = 0, hi = 0, step = 0;
            GetCtrlVal(panel, e.id, &d);
            GetCtrlAttribute(panel, e.id, ATTR_MIN_VALUE, &lo);
            GetCtrlAttribute(panel, e.id, ATTR_MAX_VALUE, &hi);
            GetCtrlAttribute(panel, e.id, ATTR_INCR_VALUE, &step);
            EXPECT_NEAR(d, e.range->dflt, 1e-6);
            EXPECT_NEAR(lo, e.range->min, 1e-6);
            EXPECT_NEAR(hi, e.range->max, 1e-6);
            EXPECT_NEAR(step, e.range->incr, 1e-6);
        }
        if (e.dataType) {
            int type = 0;
            GetCtrlAttribute(panel, e.id, ATTR_DATA_TYPE, &type);
            EXPECT_EQ(type, e.dataType);
        }
        int mode = 0;
        GetCtrlAttribute(panel, e.id, ATTR_CTRL_MODE, &mode);
        if (e.style) {
            EXPECT_EQ(mode == VAL_INDICATOR, e.display);
        }
    }

    // Every named control of the description is among the expected ones.
    const uires::Panel* desc = uires::FindPanel(*uires::FindFile(kUlvoIccdUir), panelId);
    for (const auto& c : desc->ctrls)
        if (!c.name.empty()) {
            EXPECT_TRUE(names.count(c.name)) << title << ": unexpected " << c.name;
        }
    DiscardPanel(panel);
}

}  // namespace expect
