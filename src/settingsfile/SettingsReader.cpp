#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "camera/CommandSet.h"
#include "camera/Conversions.h"

#include "platform/TextFile.h"
#include "settingsfile/SettingsFile.h"
#include "settingsfile/SettingsLines.h"

namespace {

// Longest line kept in memory; longer lines are consumed and count as unreadable.
constexpr std::size_t kLineBufferSize = 256;

// Lines of a file looked at.  A settings file has 90; the rest of a longer
// one is not read, so a file of anything costs at most this many short lines.
constexpr int kMaxFileLines = 1000;

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

// A value whose count does not fit the camera's 32-bit register would be
// sent as another number; such a line is unreadable.
bool fitsTheCamera(const SettingsLine& line, double number)
{
    const CommCommand* command = line.name ? Comm_FindCommand(line.name) : nullptr;
    if (!command || command->rule == CommRule::Count) return true;  // ints are checked as they are read
    int count = 0;
    return Comm_UserToCountChecked(command->rule, static_cast<float>(number), &count);
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
    if (!ok || !fitsTheCamera(line, number)) return false;
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

namespace {

struct FileLine {
    std::string text;  // the start of a line that did not fit
    bool whole;        // false: too long to read
};

std::vector<FileLine> readFileLines(int fileHandle)
{
    std::vector<FileLine> lines;
    char text[kLineBufferSize];
    while (lines.size() < static_cast<std::size_t>(kMaxFileLines)) {
        const int length = RT_ReadLine(fileHandle, text, sizeof text);
        if (length == RT_END_OF_FILE || length == RT_READ_ERROR) break;
        lines.push_back({text, length >= 0});
    }
    return lines;
}

// The key of a line: the text before its first colon.
std::string_view keyOf(const std::string& text)
{
    const std::size_t colon = text.find(':');
    return colon == std::string::npos ? std::string_view() : std::string_view(text).substr(0, colon);
}

// For each line of the format, the line of the file that carries it (-1:
// none).  The first lines are taken by position: they hold free text (the
// comment) that must never pass for a setting.  After them a line with one of
// the format's keys goes to that key's setting, so that lines missing or
// added elsewhere shift nothing; the one key used twice (FOC: focus, then
// zoom) goes to its settings in order, and a single such line to the one its
// position is nearer to.  A line without a known key takes the setting of its
// position, if no keyed line has.
std::vector<int> matchLines(const std::vector<FileLine>& file)
{
    const std::span<const SettingsLine> format = SettingsFileLines();
    std::vector<int> source(format.size(), -1);
    const int fileLines = static_cast<int>(file.size());
    for (int i = 0; i < kFirstSettingLine && i < fileLines; ++i) source[static_cast<std::size_t>(i)] = i;

    // Each line's key is looked for once, not once per setting: a file of a
    // thousand long lines would otherwise cost every setting a pass over it.
    std::vector<std::string_view> keys;
    keys.reserve(file.size());
    for (const FileLine& line : file) keys.push_back(keyOf(line.text));
    std::vector<bool> keyed(file.size(), false);
    for (int f = kFirstSettingLine; f < static_cast<int>(format.size()); ++f) {
        const std::string_view key = format[static_cast<std::size_t>(f)].key;
        if (source[static_cast<std::size_t>(f)] >= 0) continue;
        // The format's lines under this key, and the file's.
        std::vector<int> settings;
        for (int g = kFirstSettingLine; g < static_cast<int>(format.size()); ++g)
            if (key == format[static_cast<std::size_t>(g)].key) settings.push_back(g);
        std::vector<int> occurrences;
        for (int p = kFirstSettingLine; p < fileLines; ++p)
            if (keys[static_cast<std::size_t>(p)] == key) occurrences.push_back(p);
        for (int p : occurrences) keyed[static_cast<std::size_t>(p)] = true;
        if (occurrences.size() >= settings.size()) {
            for (std::size_t i = 0; i < settings.size(); ++i)
                source[static_cast<std::size_t>(settings[i])] = occurrences[i];
        } else if (occurrences.size() == 1) {
            int nearest = settings.front();
            for (int g : settings)
                if (std::abs(g - occurrences.front()) < std::abs(nearest - occurrences.front())) nearest = g;
            source[static_cast<std::size_t>(nearest)] = occurrences.front();
        }
    }
    for (int p = kFirstSettingLine; p < fileLines && p < static_cast<int>(format.size()); ++p)
        if (!keyed[static_cast<std::size_t>(p)] && source[static_cast<std::size_t>(p)] < 0)
            source[static_cast<std::size_t>(p)] = p;
    return source;
}

}  // namespace

int F_LoadSet_ReadSettings(int fileHandle, int, CamMainSettings* main, CamAdvSettings* adv, int* failures,
                           SettingsLineSet* linesRead, std::vector<SettingsLineFailure>* details)
{
    const std::vector<FileLine> file = readFileLines(fileHandle);
    const std::vector<int> source = matchLines(file);
    const std::span<const SettingsLine> format = SettingsFileLines();
    if (linesRead) linesRead->reset();
    if (details) details->clear();
    int count = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const SettingsLine& line = format[i];
        if (line.read == LineRead::Skip) continue;
        const int from = source[i];
        const bool whole = from >= 0 && file[static_cast<std::size_t>(from)].whole;
        const bool read =
            whole && readLine(line, file[static_cast<std::size_t>(from)].text.c_str(), main, adv);
        if (read && linesRead) linesRead->set(i);
        if (read || !line.counted) continue;
        if (details)
            details->push_back({from + 1, line.key,
                                from < 0 ? "missing"
                                : !whole ? "too long"
                                         : "value not readable"});
        ++count;
        if (count > kSettingsFailureLimit) {
            if (failures) *failures = count;
            return 1;
        }
    }
    if (failures) *failures = count;
    return 0;
}

int ReadSettingsFile(const char* path, CamMainSettings* main, CamAdvSettings* adv, int* failures)
{
    const int file = RT_OpenFile(path, RT_READ);
    if (file <= 0) return -1;
    const int result = F_LoadSet_ReadSettings(file, 0, main, adv, failures);
    RT_CloseFile(file);
    return result;
}
