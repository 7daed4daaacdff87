#include "camera/ReplyGrammar.h"

#include <algorithm>
#include <climits>

// Only the table's rows are read: nothing of the command set is called, so
// the link can read replies without standing on the command set.
#include "camera/CommandTable.h"

namespace {

constexpr std::size_t kLongestMnemonic = 8;
constexpr std::size_t kLongestCount = 10;  // digits: anything longer cannot be an int

bool isUpper(char c)
{
    return c >= 'A' && c <= 'Z';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isPrintable(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x20 && u < 0x7F;
}

// A signed decimal count: an optional '-', then digits, nothing else.
bool readCount(std::string_view text, int* count)
{
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) text.remove_prefix(1);
    if (text.empty() || text.size() > kLongestCount) return false;
    long long value = 0;
    for (char c : text) {
        if (!isDigit(c)) return false;
        value = value * 10 + (c - '0');
    }
    if (negative) value = -value;
    if (value < INT_MIN || value > INT_MAX) return false;
    *count = static_cast<int>(value);
    return true;
}

// "MNEMONIC COUNT" or "MNEMONIC-COUNT".
bool readInteger(std::string_view data, ReplyLine* line)
{
    std::size_t end = 0;
    while (end < data.size() && (isUpper(data[end]) || (end > 0 && isDigit(data[end])))) ++end;
    if (end < 2 || end > kLongestMnemonic || end == data.size()) return false;
    std::string_view count = data.substr(end);
    if (count.front() == ' ')
        count.remove_prefix(1);
    else if (count.front() != '-')
        return false;
    if (!readCount(count, &line->count)) return false;
    line->mnemonic = data.substr(0, end);
    return true;
}

}  // namespace

ReplyLine Comm_ReadReplyLine(std::string_view text)
{
    ReplyLine line;
    if (text == "e") {
        line.kind = ReplyKind::Refuse;
        return line;
    }
    if (text.empty() || text.front() != 'o') return line;
    const std::string_view data = text.substr(1);
    if (!std::all_of(data.begin(), data.end(), isPrintable)) return line;
    line.data = data;
    if (data.empty())
        line.kind = ReplyKind::Accept;
    else
        line.kind = readInteger(data, &line) ? ReplyKind::Integer : ReplyKind::Text;
    return line;
}

bool Comm_ReplyFits(const ReplyLine& line, ReplyShape shape, std::string_view mnemonic, std::size_t textLimit)
{
    if (line.kind == ReplyKind::Refuse) return true;
    switch (shape) {
        case ReplyShape::Acknowledge:
            return line.kind == ReplyKind::Accept;
        case ReplyShape::Integer:
            return line.kind == ReplyKind::Integer && line.mnemonic == mnemonic;
        case ReplyShape::Text:
            return line.kind != ReplyKind::Malformed && line.data.size() <= textLimit;
    }
    return false;
}

std::string_view Comm_CommandMnemonic(std::string_view line, int* count, bool* hasCount)
{
    if (hasCount) *hasCount = false;
    if (line.empty() || line.front() != ':') return {};
    line.remove_prefix(1);
    std::size_t end = 0;
    while (end < line.size() && (isUpper(line[end]) || isDigit(line[end]))) ++end;
    const std::string_view mnemonic = line.substr(0, end);
    if (end < line.size() && line[end] == '=' && count) {
        std::string_view value = line.substr(end + 1);
        while (!value.empty() && (value.back() == '\r' || value.back() == '\n')) value.remove_suffix(1);
        const bool ok = readCount(value, count);
        if (hasCount) *hasCount = ok;
    }
    return mnemonic;
}

ReplyShape Comm_ReplyShapeOfCommand(std::string_view line)
{
    const std::string_view mnemonic = Comm_CommandMnemonic(line);
    const std::size_t op = 1 + mnemonic.size();
    if (mnemonic.empty() || op >= line.size() || line[op] != '?') return ReplyShape::Acknowledge;
    return Comm_HasIntegerQuery(mnemonic) ? ReplyShape::Integer : ReplyShape::Text;
}

bool Comm_HasIntegerQuery(std::string_view mnemonic)
{
    // Every mnemonic the camera carries a count for: the rows but the texts.
    for (const CommCommand& row : commrows::kRows)
        if (row.kind != CommValueKind::Text && mnemonic == row.mnemonic)
            return (row.access & kCommQuery) != 0;
    return false;
}
