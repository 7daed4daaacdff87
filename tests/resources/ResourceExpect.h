// What a control of the Ulvo_ICCD resource must be, and the check that the
// loaded panel has it so.
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "resources/UlvoIccd.h"
#include "ui/Ui.h"
#include "ui/UiResource.h"

namespace expect {

using Items = std::vector<std::pair<std::string, int>>;

struct Control {
    int id = 0;
    std::string name{};
    int style = 0;            ///< 0: named only, not checked further
    std::string label{};      ///< as the operator reads it; text messages: their text
    std::string callback{};   ///< "" = none
    std::string accessKey{};  ///< letter after "__", "" = not checked
    Items items{};
    int dataType = 0;  ///< 0 = not checked
    bool display = false;
    bool checkLabel = true;
};

inline Control Ring(int id, std::string name, std::string label, Items items, std::string cb = "")
{
    return {.id = id, .name = name, .style = CTRL_RING, .label = label, .callback = cb, .items = items};
}
inline Control Text(int id, std::string name, std::string text)
{
    return {.id = id, .name = name, .style = CTRL_TEXT_MSG, .label = text};
}
/// A control the description names without saying what it looks like.
inline Control Named(int id, std::string name)
{
    return {.id = id, .name = name, .checkLabel = false};
}
inline Control Button(int id, std::string name, std::string label, std::string cb, std::string key = "")
{
    return {.id = id,
            .name = name,
            .style = CTRL_COMMAND_BUTTON,
            .label = label,
            .callback = cb,
            .accessKey = key};
}
inline Control Str(int id, std::string name, std::string label, std::string cb = "")
{
    return {
        .id = id, .name = name, .style = CTRL_STRING, .label = label, .callback = cb, .dataType = VAL_STRING};
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
inline void Check(int panelId, const std::string& title, const std::vector<Control>& expected)
{
    RegisterUlvoIccdResources();
    const int panel = LoadPanel(0, kUlvoIccdUir, panelId);
    ASSERT_GT(panel, 0) << "panel " << panelId;
    std::string s;
    GetPanelAttribute(panel, ATTR_TITLE, &s);
    EXPECT_EQ(s, title);
    GetPanelAttribute(panel, ATTR_CALLBACK_NAME, &s);
    EXPECT_EQ(s, "") << title;

    std::set<std::string> names;
    for (const Control& e : expected) {
        SCOPED_TRACE(e.name);
        names.insert(e.name);
        std::string name, label, callback;
        ASSERT_EQ(GetCtrlAttribute(panel, e.id, ATTR_CONSTANT_NAME, &name), 0) << "no control " << e.id;
        EXPECT_EQ(name, e.name);
        int style = 0, type = 0, mode = 0;
        GetCtrlAttribute(panel, e.id, ATTR_CTRL_STYLE, &style);
        if (e.checkLabel) {
            if (style == CTRL_TEXT_MSG)
                GetCtrlVal(panel, e.id, &label);
            else
                GetCtrlAttribute(panel, e.id, ATTR_LABEL_TEXT, &label);
            EXPECT_EQ(readable(label), e.label);
            if (!e.accessKey.empty()) {
                EXPECT_NE(label.find("__" + e.accessKey), std::string::npos) << label;
            }
        }
        if (e.dataType) {
            GetCtrlAttribute(panel, e.id, ATTR_DATA_TYPE, &type);
            EXPECT_EQ(type, e.dataType);
        }
        if (!e.style) continue;
        EXPECT_EQ(style, e.style);
        GetCtrlAttribute(panel, e.id, ATTR_CALLBACK_NAME, &callback);
        EXPECT_EQ(callback, e.callback);
        GetCtrlAttribute(panel, e.id, ATTR_CTRL_MODE, &mode);
        EXPECT_EQ(mode == VAL_INDICATOR, e.display);
        if (e.style == CTRL_RING) {
            int n = 0;
            GetNumListItems(panel, e.id, &n);
            Items items(n);
            for (int i = 0; i < n; ++i) {
                GetLabelFromIndex(panel, e.id, i, &items[i].first);
                GetValueFromIndex(panel, e.id, i, &items[i].second);
            }
            EXPECT_EQ(items, e.items);
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
