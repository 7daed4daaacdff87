// The lookup by mnemonic and the get and set of a row.
#include "camera/CommandTable.h"

#include <cctype>
#include <cstdio>
#include <type_traits>

#include "camera/CommandSet.h"
#include "camera/Composite.h"
#include "camera/Conversions.h"
#include "camera/Link.h"

namespace {

bool Usable(const CommCommand& command, CommValueKind kind, int access)
{
    return command.kind == kind && (command.access & access) != 0;
}

// A Count row's integer is the count itself: a failed query leaves it alone.
// A converted get writes the user value of whatever count it ends up with;
// the count starts at 0, so a failed query gives the value of count 0.  A
// query the busy link refused never reached the camera and writes nothing.
template <typename User>
int GetUser(const CommCommand& command, User* value)
{
    if constexpr (std::is_same_v<User, int>) {
        if (command.rule == CommRule::Count) return Comm_GetIntVal(command.query, value);
    }
    int count = 0;
    const int status = Comm_GetIntVal(command.query, &count);
    if (status != COMM_BUSY) *value = static_cast<User>(Comm_CountToUser(command.rule, count));
    return status;
}

// An int goes out as it is on a Count row: through float it would lose the
// low digits of a large count.
int CountOf(CommRule rule, int value)
{
    return rule == CommRule::Count ? value : Comm_UserToCount(rule, static_cast<float>(value));
}

int CountOf(CommRule rule, float value)
{
    return Comm_UserToCount(rule, value);
}

}  // namespace

std::span<const CommCommand> Comm_CommandTable()
{
    return commrows::kRows;
}

const CommCommand* Comm_FindCommand(std::string_view mnemonic)
{
    if (!mnemonic.empty() && mnemonic.front() == ':') mnemonic.remove_prefix(1);
    for (const CommCommand& command : commrows::kRows) {
        const std::string_view name = command.mnemonic;
        if (name.size() != mnemonic.size()) continue;
        bool same = true;
        for (std::size_t i = 0; same && i < name.size(); ++i)
            same = std::toupper(static_cast<unsigned char>(mnemonic[i])) == name[i];
        if (same) return &command;
    }
    return nullptr;
}

// A row used with the wrong kind or direction is a caller's mistake; nothing
// goes to the camera and the camera's own answer to such a line is returned.
int Comm_GetInt(const CommCommand& command, int* value)
{
    return Usable(command, CommValueKind::Int, kCommQuery) ? GetUser(command, value) : COMM_NAK;
}

int Comm_SetInt(const CommCommand& command, int value)
{
    if (!Usable(command, CommValueKind::Int, kCommSet)) return COMM_NAK;
    return Comm_SetIntVal(command.prefix, CountOf(command.rule, value));
}

int Comm_GetReal(const CommCommand& command, float* value)
{
    return Usable(command, CommValueKind::Real, kCommQuery) ? GetUser(command, value) : COMM_NAK;
}

int Comm_SetReal(const CommCommand& command, float value)
{
    if (!Usable(command, CommValueKind::Real, kCommSet)) return COMM_NAK;
    return Comm_SetIntVal(command.prefix, CountOf(command.rule, value));
}

int Comm_GetTextValue(const CommCommand& command, char* out, std::size_t outSize)
{
    if (!Usable(command, CommValueKind::Text, kCommQuery)) return COMM_NAK;
    const std::string_view name = command.mnemonic;
    if (name == kCommCID.mnemonic || name == kCommSNO.mnemonic) {
        char text[kIdTextSize] = "";
        const int status = name == kCommCID.mnemonic ? Comm_GetCID(text) : Comm_GetSNO(text);
        if (status == COMM_OK && outSize > 0) std::snprintf(out, outSize, "%s", text);
        return status;
    }
    return Comm_GetText(command.query, out, outSize);
}

int Comm_SetTextValue(const CommCommand& command, const char* text)
{
    if (!Usable(command, CommValueKind::Text, kCommSet)) return COMM_NAK;
    return command.mnemonic == std::string_view(kCommCID.mnemonic) ? Comm_SetCID(text) : Comm_SetSNO(text);
}

int Comm_SaveDefaults()
{
    return Comm_SendFixed(":WFAC=0");
}
