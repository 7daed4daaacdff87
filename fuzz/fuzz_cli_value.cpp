// The value text of "iccdctl set MNEMONIC VALUE": only a number in the form
// the help promises is taken, and a taken number reaches the camera as the
// count it stands for or is refused as out of range, for every command and
// camera class.
//
// Input: the first byte picks the camera model, the rest (up to a NUL, as an
// argument ends there) is the value text.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "FuzzSupport.h"
#include "camera/CommandSet.h"
#include "camera/Conversions.h"
#include "camera/Models.h"
#include "cli/ValueText.h"

namespace {

void Check(bool ok, const char* what)
{
    if (!ok) fuzz::Fail("fuzz_cli_value", what);
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A whole number as the help describes it: an optional sign, then digits.
// Returns whether text has that form and, when it does and fits an int, the
// value.
bool WholeNumber(const std::string& text, bool* fits, int* value)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (i == text.size()) return false;
    const bool negative = text[0] == '-';
    long long v = 0;
    *fits = true;
    for (; i < text.size(); ++i) {
        if (!IsDigit(text[i])) return false;
        if (*fits) v = v * 10 + (text[i] - '0');
        if (v > 2147483648LL) *fits = false;
    }
    if (negative) v = -v;
    if (v > std::numeric_limits<int>::max() || v < std::numeric_limits<int>::min()) *fits = false;
    if (*fits) *value = static_cast<int>(v);
    return true;
}

// A decimal number: [sign] digits [. digits] [e [sign] digits], with at least
// one digit before the exponent.
bool DecimalNumber(const std::string& text)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        if (i == text.size() || !IsDigit(text[i])) return false;
        while (i < text.size() && IsDigit(text[i])) ++i;
    }
    return i == text.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    Comm_RecordModel(data[0] % kCamModelCount);
    const char* chars = reinterpret_cast<const char*>(data + 1);
    const std::string text(chars, strnlen(chars, size - 1));

    constexpr int kUntouched = 0x5A5A5A5A;
    int intValue = kUntouched;
    const bool isInt = ParseIntValue(text, intValue);
    bool fits = false;
    int expected = 0;
    const bool wholeForm = WholeNumber(text, &fits, &expected);
    Check(isInt == (wholeForm && fits), "a whole number is taken exactly when it has the form and fits");
    Check(isInt ? intValue == expected : intValue == kUntouched, "the whole number taken is the one written");

    float realValue = 1.5f;
    const bool isReal = ParseRealValue(text, realValue);
    Check(!isReal || DecimalNumber(text), "only a decimal number is taken as a real");
    Check(isReal ? std::isfinite(realValue) : realValue == 1.5f, "a real is finite, or the value left alone");

    for (const CommCommand& command : Comm_CommandTable()) {
        if (!(command.access & kCommSet) || command.kind == CommValueKind::Text) continue;
        if (command.kind == CommValueKind::Int && !isInt) continue;
        if (command.kind == CommValueKind::Real && !isReal) continue;
        if (!SetValueFits(command, intValue, realValue)) continue;
        // What set then sends, and what the camera's read-back shows of it.
        const float user = command.kind == CommValueKind::Real ? realValue : static_cast<float>(intValue);
        const int count = Comm_UserToCount(command.rule, user);
        Check(std::isfinite(Comm_CountToUser(command.rule, count)), "a sent count reads back as a number");
    }
    return 0;
}
