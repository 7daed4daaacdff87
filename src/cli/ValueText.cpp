#include "cli/ValueText.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "camera/CommandSet.h"
#include "camera/Conversions.h"

bool ParseIntValue(const std::string& text, int& value)
{
    // from_chars takes a '-' but no '+'; a '+' in front must not let a
    // second sign through ("+-5" is no number).
    std::string digits = text;
    if (!digits.empty() && digits[0] == '+') digits.erase(0, 1);
    if (!digits.empty() && digits[0] == '-' && digits.size() < text.size()) return false;
    const char* end = digits.data() + digits.size();
    int v = 0;
    auto [ptr, ec] = std::from_chars(digits.data(), end, v);
    if (digits.empty() || ec != std::errc() || ptr != end) return false;
    value = v;
    return true;
}

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// strtod also takes leading blanks, hexadecimal ("0x10" is 16) and "inf":
// none of them is a value anyone means to give the camera, so only the
// decimal form gets that far, as in a settings file.
bool isDecimal(const std::string& text)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.')
        for (++i; i < text.size() && isDigit(text[i]); ++i) ++digits;
    if (digits == 0) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        if (i == text.size()) return false;
        while (i < text.size() && isDigit(text[i])) ++i;
    }
    return i == text.size();
}

}  // namespace

bool ParseRealValue(const std::string& text, float& value)
{
    if (!isDecimal(text)) return false;
    errno = 0;
    const double v = std::strtod(text.c_str(), nullptr);
    if (errno != 0 || !std::isfinite(v) || std::fabs(v) > std::numeric_limits<float>::max()) return false;
    value = static_cast<float>(v);
    return true;
}

bool SetValueFits(const CommCommand& command, int intValue, float realValue)
{
    // A count beyond 32 bits would reach the camera as another number.
    const bool converted = command.kind == CommValueKind::Real ||
                           (command.kind == CommValueKind::Int && command.rule != CommRule::Count);
    if (!converted) return true;
    int count = 0;
    return Comm_UserToCountChecked(
        command.rule, command.kind == CommValueKind::Real ? realValue : static_cast<float>(intValue), &count);
}
