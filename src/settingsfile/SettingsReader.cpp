#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "platform/TextFile.h"
#include "settingsfile/SettingsFile.h"
#include "settingsfile/SettingsLines.h"

namespace {

// Longest line kept in memory; longer lines are consumed and count as unreadable.
constexpr std::size_t kLineBufferSize = 256;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Length of a decimal number at s ([sign] digits [. digits] [exponent]) with
// at least one digit; 0 when there is none.  Nothing else (no "inf", no hex)
// counts as a number.
std::size_t numberLength(const char* s, bool allowFraction)
{
    std::size_t i = 0;
    if (s[i] == '+' || s[i] == '-') ++i;
    std::size_t digits = 0;
    while (isDigit(s[i])) ++i, ++digits;
    if (allowFraction && s[i] == '.') {
        ++i;
        while (isDigit(s[i])) ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (allowFraction && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (s[j] == '+' || s[j] == '-') ++j;
        if (isDigit(s[j])) {
            while (isDigit(s[j])) ++j;
            i = j;
        }
    }
    return i;
}

bool readReal(const char* s, double* value)
{
    const std::size_t n = numberLength(s, true);
    if (n == 0) return false;
    const double v = std::strtod(s, nullptr);
    // The value lands in a single-precision field.
    if (!std::isfinite(v) || std::fabs(v) > std::numeric_limits<float>::max()) return false;
    *value = v;
    return true;
}

bool readInteger(const char* s, double* value)
{
    if (numberLength(s, false) == 0) return false;
    errno = 0;
    const long v = std::strtol(s, nullptr, 10);
    if (errno == ERANGE || v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        return false;
    *value = static_cast<double>(v);
    return true;
}

// Past the key: up to the first character that can begin a number.
const char* afterKeyToNumber(const char* s)
{
    while (*s && !isDigit(*s) && *s != '+' && *s != '-' && *s != '.') ++s;
    return s;
}

// Past the first colon and the blanks after it; nullptr without a colon.
const char* afterColon(const char* s)
{
    const char* colon = std::strchr(s, ':');
    if (!colon) return nullptr;
    ++colon;
    while (*colon == ' ' || *colon == '\t') ++colon;
    return colon;
}

char* fieldAddress(const SettingsLine& line, CamMainSettings* main, CamAdvSettings* adv)
{
    if (line.record == LineRecord::Main) return reinterpret_cast<char*>(main) + line.offset;
    if (line.record == LineRecord::Advanced) return reinterpret_cast<char*>(adv) + line.offset;
    return nullptr;
}

// Reads one line by its kind into its field; false when it does not match.
bool readLine(const SettingsLine& line, const char* text, CamMainSettings* main, CamAdvSettings* adv)
{
    double number = 0.0;
    bool ok = false;
    switch (line.read) {
        case LineRead::Skip:
            return true;
        case LineRead::NumberAfterKey:
            ok = readReal(afterKeyToNumber(text), &number);
            break;
        case LineRead::IntegerAfterKey:
            ok = readInteger(afterKeyToNumber(text), &number);
            break;
        case LineRead::IntegerAfterColon:
        case LineRead::RealAfterColon: {
            const char* value = afterColon(text);
            ok = value && (line.read == LineRead::RealAfterColon ? readReal(value, &number)
                                                                 : readInteger(value, &number));
            break;
        }
        case LineRead::TextAfterColon: {
            const char* value = afterColon(text);
            if (!value) return false;
            char* field = fieldAddress(line, main, adv);
            const std::size_t n = std::min(std::strlen(value), std::min(kSettingsIdMax, line.size - 1));
            std::memcpy(field, value, n);
            field[n] = '\0';
            return true;
        }
    }
    if (!ok) return false;
    char* field = fieldAddress(line, main, adv);
    if (line.field == LineField::Float) {
        const float f = static_cast<float>(number);
        std::memcpy(field, &f, sizeof f);
    } else if (line.field == LineField::Int) {
        // A real read into an integer field (WDS) is cut toward zero.
        if (std::fabs(number) >= 2147483648.0) return false;
        const int i = static_cast<int>(std::trunc(number));
        std::memcpy(field, &i, sizeof i);
    }
    return true;
}

}  // namespace

int F_LoadSet_ReadSettings(int fileHandle, int, CamMainSettings* main, CamAdvSettings* adv, int* failures)
{
    int count = 0;
    char text[kLineBufferSize];
    for (const SettingsLine& line : SettingsFileLines()) {
        const int length = RT_ReadLine(fileHandle, text, sizeof text);
        if (line.read == LineRead::Skip) continue;
        const bool read = length >= 0 && readLine(line, text, main, adv);
        if (read || !line.counted) continue;
        ++count;
        if (count > kSettingsFailureLimit) {
            if (failures) *failures = count;
            return 1;
        }
    }
    if (failures) *failures = count;
    return count > kSettingsFailureLimit ? 1 : 0;
}

int ReadSettingsFile(const char* path, CamMainSettings* main, CamAdvSettings* adv, int* failures)
{
    const int file = RT_OpenFile(path, RT_READ);
    if (file <= 0) return -1;
    const int result = F_LoadSet_ReadSettings(file, 0, main, adv, failures);
    RT_CloseFile(file);
    return result;
}
