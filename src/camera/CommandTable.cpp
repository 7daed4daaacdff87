// The command table as data, for looking commands up by mnemonic.
#include <cctype>
#include <cstdio>

#include "camera/CommandSet.h"
#include "camera/Composite.h"
#include "camera/Conversions.h"
#include "camera/Link.h"

namespace {

constexpr int kAccess_QS = kCommQuery | kCommSet;
constexpr int kAccess_Q = kCommQuery;
constexpr int kAccess_S = kCommSet;
constexpr bool kPart_Own = false;
constexpr bool kPart_Part = true;

#define COMM_QUERY_QS(M) ":" #M "?\r"
#define COMM_QUERY_Q(M) ":" #M "?\r"
#define COMM_QUERY_S(M) nullptr
#define COMM_PREFIX_QS(M) ":" #M "="
#define COMM_PREFIX_Q(M) nullptr
#define COMM_PREFIX_S(M) ":" #M "="
#define COMM_ROW(NAME, M, KIND, ACCESS, RULE, GEN)                                           \
    CommCommand{#M,          CommValueKind::KIND,    kAccess_##ACCESS,       CommRule::RULE, \
                kPart_##GEN, COMM_QUERY_##ACCESS(M), COMM_PREFIX_##ACCESS(M)},

constexpr CommCommand kCommands[] = {
    COMM_COMMAND_TABLE(COMM_ROW)
    // Texts.  The camera ID string is read as SNO and written as WSF; SNO
    // takes both directions here so that it can be set by the name it is read by.
    CommCommand{"CID", CommValueKind::Text, kAccess_QS, CommRule::Count, false, ":CID?\r", ":CID="},
    CommCommand{"SNO", CommValueKind::Text, kAccess_QS, CommRule::Count, false, ":SNO?\r", ":WSF="},
    CommCommand{"WSF", CommValueKind::Text, kAccess_S, CommRule::Count, false, nullptr, ":WSF="},
    CommCommand{"VER", CommValueKind::Text, kAccess_Q, CommRule::Count, false, ":VER?\r", nullptr},
    CommCommand{"FPGA", CommValueKind::Text, kAccess_Q, CommRule::Count, false, ":FPGA?\r", nullptr},
};

#undef COMM_ROW

bool Usable(const CommCommand& command, CommValueKind kind, int access)
{
    return command.kind == kind && (command.access & access) != 0;
}

}  // namespace

std::span<const CommCommand> Comm_CommandTable()
{
    return kCommands;
}

const CommCommand* Comm_FindCommand(std::string_view mnemonic)
{
    if (!mnemonic.empty() && mnemonic.front() == ':') mnemonic.remove_prefix(1);
    for (const CommCommand& command : kCommands) {
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
    if (!Usable(command, CommValueKind::Int, kCommQuery)) return COMM_NAK;
    if (command.rule == CommRule::Count) return Comm_GetIntVal(command.query, value);
    int count = 0;
    const int status = Comm_GetIntVal(command.query, &count);
    if (status != COMM_BUSY) *value = static_cast<int>(Comm_CountToUser(command.rule, count));
    return status;
}

int Comm_SetInt(const CommCommand& command, int value)
{
    if (!Usable(command, CommValueKind::Int, kCommSet)) return COMM_NAK;
    const int count =
        command.rule == CommRule::Count ? value : Comm_UserToCount(command.rule, static_cast<float>(value));
    return Comm_SetIntVal(command.prefix, count);
}

int Comm_GetReal(const CommCommand& command, float* value)
{
    if (!Usable(command, CommValueKind::Real, kCommQuery)) return COMM_NAK;
    int count = 0;
    const int status = Comm_GetIntVal(command.query, &count);
    if (status != COMM_BUSY) *value = static_cast<float>(Comm_CountToUser(command.rule, count));
    return status;
}

int Comm_SetReal(const CommCommand& command, float value)
{
    if (!Usable(command, CommValueKind::Real, kCommSet)) return COMM_NAK;
    return Comm_SetIntVal(command.prefix, Comm_UserToCount(command.rule, value));
}

int Comm_GetTextValue(const CommCommand& command, char* out, std::size_t outSize)
{
    if (!Usable(command, CommValueKind::Text, kCommQuery)) return COMM_NAK;
    const std::string_view name = command.mnemonic;
    if (name == "CID" || name == "SNO") {
        char text[kIdTextSize] = "";
        const int status = name == "CID" ? Comm_GetCID(text) : Comm_GetSNO(text);
        if (status == COMM_OK && outSize > 0) std::snprintf(out, outSize, "%s", text);
        return status;
    }
    return Comm_GetText(command.query, out, outSize);
}

int Comm_SetTextValue(const CommCommand& command, const char* text)
{
    if (!Usable(command, CommValueKind::Text, kCommSet)) return COMM_NAK;
    return std::string_view(command.mnemonic) == "CID" ? Comm_SetCID(text) : Comm_SetSNO(text);
}
