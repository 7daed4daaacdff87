// The binding of a panel's controls to the camera, one table row per control,
// and the one value callback that serves the main panel and every camera
// pop-up.
//
// A committed value is read once, at once, and carried to the action, which
// runs now or, while the link is in use, once it is idle.  A plain row names
// the set function; where the camera is asked back its answer is shown, where
// the conversion rounds the count that went out is shown converted back, and
// a refused value gives way to the camera's (PanelCommit.h).  Rows that do
// more name a handler, which gets the committed value in the call.
#pragma once

#include <span>
#include <string>
#include <type_traits>

#include "camera/CamTypes.h"
#include "camera/ClassTraits.h"
#include "camera/Conversions.h"

namespace panelbind {

enum class Kind {
    Local,   ///< the program's own setting or a display on the panel: nothing goes to the camera
    Int,     ///< an integer setting
    Real,    ///< a real setting in its user unit
    Text,    ///< a text setting
    Action,  ///< a button
};

/// A control's value as the operator committed it, and what its action needs
/// from other controls as they stood at that moment (gathered by the row).
struct Committed {
    int control = 0;  ///< the control committed
    int i = 0;
    double d = 0.0;
    std::string s;
    int more[3] = {0, 0, 0};
    std::string text;
};

/// The record field a display fills a control from.  Named by its member (and
/// an array's element) through FieldOf, so that a misspelt or mistyped field
/// does not compile; a row of a table of one record cannot name the other's.
struct RecordField {
    const void* (*main)(const CamMainSettings&) = nullptr;
    const void* (*advanced)(const CamAdvSettings&) = nullptr;
    bool real = false;  ///< a float, else an int
};

namespace detail {
template <typename>
struct MemberOf;
template <typename R, typename T>
struct MemberOf<T R::*> {
    using Record = R;
    using Type = T;
};
}  // namespace detail

template <auto Member, int Element = 0>
constexpr RecordField FieldOf()
{
    using Record = typename detail::MemberOf<decltype(Member)>::Record;
    using Type = typename detail::MemberOf<decltype(Member)>::Type;
    using Value = std::remove_extent_t<Type>;
    static_assert(std::is_same_v<Value, int> || std::is_same_v<Value, float>, "an int or float field");
    static_assert(Element >= 0 && (std::is_array_v<Type> ? Element < std::extent_v<Type> : Element == 0),
                  "an element the field has");
    const void* (*at)(const Record&) = [](const Record& r) -> const void* {
        if constexpr (std::is_array_v<Type>)
            return &(r.*Member)[Element];
        else
            return &(r.*Member);
    };
    RecordField f;
    f.real = std::is_same_v<Value, float>;
    if constexpr (std::is_same_v<Record, CamMainSettings>)
        f.main = at;
    else
        f.advanced = at;
    return f;
}

struct Binding {
    int control;
    Kind kind;
    RecordField field{};                       ///< what a display fills it from (none: not filled)
    bool CamClassTraits::*shownFor = nullptr;  ///< classes whose record fills it (nullptr: every class)
    int fill = 0;                              ///< Advanced Settings: when its display fills it
    int dimming = 0;                           ///< the main panel: the access rule that dims it
    float* global = nullptr;                   ///< Local: the program's setting it changes
    int (*setInt)(int) = nullptr;              ///< the camera function a committed int goes to
    int (*setIntAt)(int, int) = nullptr;       ///< or the indexed one, with index
    int (*setReal)(float) = nullptr;           ///< the camera function a committed real goes to
    int (*setRealAt)(float, int) = nullptr;    ///< or the indexed one, with index
    int index = 0;                             ///< the index of the indexed functions
    int (*getReal)(float*) = nullptr;          ///< asked after the set; the answer is shown
    CommRule rule = CommRule::Count;           ///< else the count that went out is shown converted back
    int (*setText)(const char*) = nullptr;     ///< the camera function a committed text goes to
    void (*gather)(int panel, Committed&) = nullptr;  ///< adds what the action needs from other controls
    bool (*accept)(int panel, int control, const Committed&) = nullptr;  ///< may refuse, with a message
    /// Handles the commit instead of the plain set: settles what it changed and
    /// returns the status to report.  A Local row's handler runs at once.
    int (*commit)(int panel, const Committed&) = nullptr;
    bool silent = false;  ///< a failure is not reported (the control still gives way)
};

/// The row of control in rows; nullptr when it has none.
const Binding* Find(std::span<const Binding> rows, int control);

/// Makes rows the bindings of every panel loaded from the resource.
void RegisterBindings(int resource, std::span<const Binding> rows);

/// The value callback of every bound control of the main panel and of the
/// camera pop-ups: finds the row in the bindings of the panel's resource and
/// acts on the commit event only.  Returns 0.
int BoundValueCallback(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);

}  // namespace panelbind
