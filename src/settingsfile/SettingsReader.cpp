#include <algorithm>
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
#include "camera/Globals.h"
#include "camera/Models.h"
#include "camera/SettingsTable.h"

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

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The value of a line: the text after its key's colon, without the blanks
// around it.
std::string_view valueOf(std::string_view text)
{
    const std::size_t colon = text.find(':');
    std::string_view v = colon == std::string_view::npos ? std::string_view() : text.substr(colon + 1);
    while (!v.empty() && isBlank(v.front())) v.remove_prefix(1);
    while (!v.empty() && isBlank(v.back())) v.remove_suffix(1);
    return v;
}

// The notations the writer uses: [sign] digits, and for reals [. digits]
// after them.  Nothing else is a number here: no exponent, no hexadecimal
// ("0x10" would be 0 to one reader and 16 to another), no "nan", nothing after.
bool isNotation(std::string_view v, bool decimal)
{
    std::size_t i = 0;
    if (i < v.size() && (v[i] == '+' || v[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < v.size() && isDigit(v[i])) ++i, ++digits;
    if (decimal && i < v.size() && v[i] == '.')
        for (++i; i < v.size() && isDigit(v[i]); ++i) ++digits;
    return digits > 0 && i == v.size();
}

// Reads a value in the line's notation into number; the reason when it is not one.
const char* readNumber(const SettingsLine& line, std::string_view v, double* number)
{
    const bool decimal = line.read != LineRead::Whole && line.read != LineRead::ModelRow;
    if (!isNotation(v, decimal)) return decimal ? "not a number" : "not a whole number";
    const std::string text(v);
    errno = 0;
    if (decimal) {
        const double d = std::strtod(text.c_str(), nullptr);
        // The value lands in a single-precision field.
        if (errno == ERANGE || !std::isfinite(d) || std::fabs(d) > std::numeric_limits<float>::max())
            return "too large";
        *number = line.read == LineRead::DecimalCut ? std::trunc(d) : d;
        if (line.read == LineRead::DecimalCut && std::fabs(*number) >= 2147483648.0) return "too large";
        return nullptr;
    }
    const long long i = std::strtoll(text.c_str(), nullptr, 10);
    if (errno == ERANGE || i < std::numeric_limits<int>::min() || i > std::numeric_limits<int>::max())
        return "too large";
    *number = static_cast<double>(i);
    return nullptr;
}

// Whether the value is one the camera takes: within the setting's range for
// the camera's model.  A setting the model lacks is written as 0 and sent as
// it always was; its count must still fit the camera's 32-bit register, or it
// would arrive as another number.
std::string checkRange(const SettingsLine& line, double number)
{
    const SettingInfo* setting = Settings_Find(line.name);
    if (setting && Settings_ModelHas(*setting, g_cam_model_idx)) {
        SettingRange range;
        if (Settings_CameraTakes(*setting, number, &range)) return {};
        return std::string("out of range: ") + setting->name + " takes " +
               Settings_RangeText(*setting, range);
    }
    const CommCommand* command = Comm_FindCommand(line.name);
    int count = 0;
    if (command && command->rule != CommRule::Count &&
        !Comm_UserToCountChecked(command->rule, static_cast<float>(number), &count))
        return "too large";
    return {};
}

char* fieldAddress(const SettingsLine& line, CamMainSettings* main, CamAdvSettings* adv)
{
    if (line.record == LineRecord::Main) return reinterpret_cast<char*>(main) + line.offset;
    if (line.record == LineRecord::Advanced) return reinterpret_cast<char*>(adv) + line.offset;
    return nullptr;
}

// Reads one line into its field (or the model row); the reason when it
// cannot be, and then nothing is written.
std::string readLine(const SettingsLine& line, std::string_view text, CamMainSettings* main,
                     CamAdvSettings* adv, int* modelRow)
{
    const std::string_view v = valueOf(text);
    if (line.read == LineRead::Text) {
        const std::size_t most = std::min(kSettingsIdMax, line.size - 1);
        if (v.size() > most) return "longer than " + std::to_string(most) + " characters";
        for (char c : v)
            if (c < 0x20 || c > 0x7E) return "not printable text";
        char* field = fieldAddress(line, main, adv);
        std::memcpy(field, v.data(), v.size());
        field[v.size()] = '\0';
        return {};
    }
    double number = 0.0;
    if (const char* reason = readNumber(line, v, &number)) return reason;
    if (line.read == LineRead::ModelRow) {
        if (number < 0 || number >= kCamModelCount) return "no such model";
        if (modelRow) *modelRow = static_cast<int>(number);
        return {};
    }
    if (std::string reason = checkRange(line, number); !reason.empty()) return reason;
    char* field = fieldAddress(line, main, adv);
    if (line.field == LineField::Float) {
        const float f = static_cast<float>(number);
        std::memcpy(field, &f, sizeof f);
    } else {
        const int i = static_cast<int>(number);
        std::memcpy(field, &i, sizeof i);
    }
    return {};
}

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

// The key of a line: the text before its first colon (none without one).
std::string_view keyOf(const std::string& text)
{
    const std::size_t colon = text.find(':');
    return colon == std::string::npos ? std::string_view() : std::string_view(text).substr(0, colon);
}

bool isBlankLine(const std::string& text)
{
    for (char c : text)
        if (!isBlank(c)) return false;
    return true;
}

// A line's text as a message quotes it: short, and printable.
std::string quoted(const std::string& text)
{
    constexpr std::size_t kMost = 40;
    std::string q;
    for (char c : text.substr(0, kMost)) q += c >= 0x20 && c <= 0x7E ? c : '?';
    if (text.size() > kMost) q += "...";
    return q;
}

// Where each line of the format is found in the file (-1: nowhere), and the
// file's lines that carry no setting.  The header and the comment are taken
// by position: they hold free text that must never pass for a setting.
// Every other line is found by its key, so that lines missing, moved or added
// shift nothing; the one key used twice (FOC: focus, then zoom) goes to its
// settings in order, and a single such line to the one its position is nearer
// to.
struct Matched {
    std::vector<int> source;
    std::vector<SettingsLineFailure> strays;
};

Matched matchLines(const std::vector<FileLine>& file)
{
    const std::span<const SettingsLine> format = SettingsFileLines();
    Matched m{std::vector<int>(format.size(), -1), {}};
    const int fileLines = static_cast<int>(file.size());
    for (int i = 0; i < kPositionalLines && i < fileLines; ++i) m.source[static_cast<std::size_t>(i)] = i;

    // Each line's key is looked for once, not once per setting: a file of a
    // thousand long lines would otherwise cost every setting a pass over it.
    std::vector<std::string_view> keys;
    keys.reserve(file.size());
    for (const FileLine& line : file) keys.push_back(keyOf(line.text));
    std::vector<bool> keyed(file.size(), false);
    for (int f = kPositionalLines; f < static_cast<int>(format.size()); ++f) {
        const std::string_view key = format[static_cast<std::size_t>(f)].key;
        if (m.source[static_cast<std::size_t>(f)] >= 0) continue;
        std::vector<int> settings;
        for (int g = kPositionalLines; g < static_cast<int>(format.size()); ++g)
            if (key == format[static_cast<std::size_t>(g)].key) settings.push_back(g);
        std::vector<int> occurrences;
        for (int p = kPositionalLines; p < fileLines; ++p)
            if (keys[static_cast<std::size_t>(p)] == key) occurrences.push_back(p);
        for (int p : occurrences) keyed[static_cast<std::size_t>(p)] = true;
        if (occurrences.size() >= settings.size()) {
            for (std::size_t i = 0; i < settings.size(); ++i)
                m.source[static_cast<std::size_t>(settings[i])] = occurrences[i];
            // A key given once too often: which of its lines was meant is
            // not for the program to guess, and the later one is not sent.
            for (std::size_t i = settings.size(); i < occurrences.size(); ++i)
                m.strays.push_back({occurrences[i] + 1, std::string(key),
                                    quoted(file[static_cast<std::size_t>(occurrences[i])].text),
                                    "repeats line " + std::to_string(occurrences[settings.size() - 1] + 1)});
        } else if (occurrences.size() == 1) {
            int nearest = settings.front();
            for (int g : settings)
                if (std::abs(g - occurrences.front()) < std::abs(nearest - occurrences.front())) nearest = g;
            m.source[static_cast<std::size_t>(nearest)] = occurrences.front();
        }
    }
    for (int p = kPositionalLines; p < fileLines; ++p) {
        const FileLine& line = file[static_cast<std::size_t>(p)];
        if (keyed[static_cast<std::size_t>(p)] || (line.whole && isBlankLine(line.text))) continue;
        m.strays.push_back({p + 1, std::string(keys[static_cast<std::size_t>(p)]), quoted(line.text),
                            line.whole ? "no such setting" : "too long"});
    }
    return m;
}

}  // namespace

int F_LoadSet_ReadSettings(int fileHandle, int, CamMainSettings* main, CamAdvSettings* adv, int* failures,
                           SettingsLineSet* linesRead, std::vector<SettingsLineFailure>* details,
                           int* fileModelRow)
{
    const std::vector<FileLine> file = readFileLines(fileHandle);
    Matched matched = matchLines(file);
    const std::span<const SettingsLine> format = SettingsFileLines();
    if (linesRead) linesRead->reset();
    if (fileModelRow) *fileModelRow = -1;
    std::vector<SettingsLineFailure> failed;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const SettingsLine& line = format[i];
        if (line.read == LineRead::Skip) continue;
        const int from = matched.source[i];
        if (from < 0) {
            failed.push_back({0, line.key, "", "missing"});
            continue;
        }
        const FileLine& f = file[static_cast<std::size_t>(from)];
        const std::string reason = f.whole ? readLine(line, f.text, main, adv, fileModelRow) : "too long";
        if (reason.empty()) {
            if (linesRead) linesRead->set(i);
        } else {
            failed.push_back({from + 1, line.key, quoted(f.text), reason});
        }
    }
    for (SettingsLineFailure& stray : matched.strays) failed.push_back(std::move(stray));
    std::stable_sort(
        failed.begin(), failed.end(), [](const SettingsLineFailure& a, const SettingsLineFailure& b) {
            return (a.line == 0 ? kMaxFileLines + 1 : a.line) < (b.line == 0 ? kMaxFileLines + 1 : b.line);
        });
    const int count = static_cast<int>(failed.size());
    if (failures) *failures = count;
    if (details) *details = std::move(failed);
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
