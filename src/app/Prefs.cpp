#include "app/Prefs.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "camera/Globals.h"
#include "platform/Rounding.h"
#include "platform/Rs232.h"
#include "platform/TextFile.h"

namespace {

// How a line is written: integers plainly, maximum voltages with one decimal,
// step sizes as whole numbers, captions right after the colon.
enum class Kind { Int, MaxV, Step, Label };

struct PrefLine {
    const char* caption;
    Kind kind;
    int* i = nullptr;
    float* f = nullptr;
    char (*text)[kLabelMax + 1] = nullptr;
    double low = 0;  // the range the dialogs offer (numbers only)
    double high = 0;
    double fallback = 0;          // the default of a number
    const char* label = nullptr;  // the default of a caption
};

// The fifteen lines, in file order.  Only the order counts when reading; the
// captions are what an operator reads when editing the file by hand.
const PrefLine kLines[] = {
    {"Camera Comm Port", Kind::Int, &g_com_port, nullptr, nullptr, 0, kMaxComPort, 1},
    {"Camera Baud Rate", Kind::Int, &g_com_baud, nullptr, nullptr, 1, 4000000, 9600},
    {"Save Set No", Kind::Int, &g_set_no, nullptr, nullptr, 0, 2, 1},
    {"Zoom Max V", Kind::MaxV, nullptr, &g_zoom_maxv, nullptr, 0, 9, 9},
    {"Zoom Coarse Adjust", Kind::Step, nullptr, &g_zoom_coarse, nullptr, 0, 100, 10},
    {"Zoom Fine Adjust", Kind::Step, nullptr, &g_zoom_fine, nullptr, 0, 100, 1},
    {"Focus Max V", Kind::MaxV, nullptr, &g_focus_maxv, nullptr, 0, 9, 9},
    {"Focus Coarse Adjust", Kind::Step, nullptr, &g_focus_coarse, nullptr, 0, 100, 10},
    {"Focus Fine Adjust", Kind::Step, nullptr, &g_focus_fine, nullptr, 0, 100, 1},
    {"Iris Max V", Kind::MaxV, nullptr, &g_iris_maxv, nullptr, 0, 9, 9},
    {"Iris Coarse Adjust", Kind::Step, nullptr, &g_iris_coarse, nullptr, 0, 100, 10},
    {"Iris Fine Adjust", Kind::Step, nullptr, &g_iris_fine, nullptr, 0, 100, 1},
    {"Label 1", Kind::Label, nullptr, nullptr, &g_label1, 0, 0, 0, "Zoom Control"},
    {"Label 2", Kind::Label, nullptr, nullptr, &g_label2, 0, 0, 0, "Focus Control"},
    {"Label 3", Kind::Label, nullptr, nullptr, &g_label3, 0, 0, 0, "Iris Control"},
};
constexpr int kLineCount = static_cast<int>(sizeof kLines / sizeof kLines[0]);

// Longer lines are not preferences anyone wrote; a caption is cut anyway.
constexpr std::size_t kLineSize = 256;

// One value as read, before it is known whether the whole file is good.
struct ReadValue {
    long i = 0;
    float f = 0.0f;
    char text[kLabelMax + 1] = "";
};

// The first number on the line: the caption before it is skipped, whatever
// it says (a '-' or '.' in an edited caption that begins no number is passed).
template <typename T, typename Parse>
bool firstNumber(const char* line, T* value, Parse parse)
{
    for (const char* p = std::strpbrk(line, "0123456789+-."); p; p = std::strpbrk(p + 1, "0123456789+-.")) {
        char* end = nullptr;
        const T v = parse(p, &end);
        if (end != p) {
            *value = v;
            return true;
        }
    }
    return false;
}

bool readInt(const char* line, long* value)
{
    return firstNumber(line, value, [](const char* p, char** end) { return std::strtol(p, end, 10); });
}

bool readReal(const char* line, float* value)
{
    float v = 0.0f;
    if (!firstNumber(line, &v, [](const char* p, char** end) { return std::strtof(p, end); })) return false;
    if (!std::isfinite(v)) return false;
    *value = v;
    return true;
}

bool readLabel(const char* line, char (&text)[kLabelMax + 1])
{
    const char* colon = std::strchr(line, ':');
    if (!colon) return false;
    SetLensLabel(text, colon + 1);
    return true;
}

// Reads one line by its kind; false for a line that is missing or unreadable.
bool readLine(int file, const PrefLine& line, ReadValue* value)
{
    char buffer[kLineSize];
    const int length = RT_ReadLine(file, buffer, sizeof buffer);
    if (length == RT_LINE_TOO_LONG) {
        if (line.kind != Kind::Label) return false;
    } else if (length < 0) {
        return false;
    }
    switch (line.kind) {
        case Kind::Int:
            return readInt(buffer, &value->i);
        case Kind::MaxV:
        case Kind::Step:
            return readReal(buffer, &value->f);
        case Kind::Label:
            return readLabel(buffer, value->text);
    }
    return false;
}

// Stores one line's value; a number outside what the program can use (the
// range the dialogs offer) gives that line its default, and only that line.
void store(const PrefLine& line, const ReadValue& value)
{
    switch (line.kind) {
        case Kind::Int: {
            const bool inRange = value.i >= line.low && value.i <= line.high;
            *line.i = inRange ? static_cast<int>(value.i) : static_cast<int>(line.fallback);
            break;
        }
        case Kind::MaxV:
        case Kind::Step: {
            const bool inRange = value.f >= line.low && value.f <= line.high;
            *line.f = inRange ? value.f : static_cast<float>(line.fallback);
            break;
        }
        case Kind::Label:
            std::memcpy(*line.text, value.text, sizeof value.text);
            break;
    }
}

}  // namespace

// The port the preferences named when they were read.  A start that found no
// camera leaves g_com_port at 0; the saved port is then written back as it
// was, so that the next start still looks there first (a camera switched off
// once must not cost its port).
static int s_portAsRead = 1;

void SetLensLabel(char (&label)[kLabelMax + 1], std::string_view text)
{
    std::size_t n = text.size() < static_cast<std::size_t>(kLabelMax) ? text.size() : kLabelMax;
    // Captions are UTF-8: a cut inside a letter would leave half of it, shown
    // as a broken character and written to the file.  Cut before it instead.
    if (n < text.size())
        while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    std::memcpy(label, text.data(), n);
    label[n] = '\0';
}

void SetDefaultPrefs()
{
    for (const PrefLine& line : kLines) {
        if (line.i) *line.i = static_cast<int>(line.fallback);
        if (line.f) *line.f = static_cast<float>(line.fallback);
        if (line.text) SetLensLabel(*line.text, line.label);
    }
    s_portAsRead = g_com_port;
}

int ReadPrefsFile(const char* path)
{
    const int file = GetFileInfo(path, nullptr) ? RT_OpenFile(path, RT_READ) : -1;
    if (file <= 0) {
        SetDefaultPrefs();
        return 1;
    }
    ReadValue values[kLineCount];
    bool ok = true;
    for (int n = 0; n < kLineCount && ok; ++n) ok = readLine(file, kLines[n], &values[n]);
    RT_CloseFile(file);
    // A file without all its lines, or with text where a number belongs, is
    // no preferences file: every default.
    if (!ok) {
        SetDefaultPrefs();
        return 1;
    }
    for (int n = 0; n < kLineCount; ++n) store(kLines[n], values[n]);
    s_portAsRead = g_com_port;
    return 0;
}

int WritePrefsFile(const char* path)
{
    // A folder the program may not create files in still has its "ICCD.ini"
    // written, in place: checked, and reported if it fails.
    const int file = RT_OpenFile(path, RT_WRITE_IN_PLACE_IF_NEEDED);
    if (file <= 0) return -1;
    bool ok = true;
    for (const PrefLine& line : kLines) {
        char text[kLineSize];
        switch (line.kind) {
            case Kind::Int: {
                // The port has always been stored as one byte; without a link, the
                // port as read is kept.
                const int port = g_com_port != 0 ? g_com_port : s_portAsRead;
                const int value = line.i == &g_com_port ? (port & 0xFF) : *line.i;
                std::snprintf(text, sizeof text, "%s: %d", line.caption, value);
                break;
            }
            case Kind::MaxV:
                std::snprintf(text, sizeof text, "%s: %.1f", line.caption, *line.f);
                break;
            case Kind::Step:
                std::snprintf(text, sizeof text, "%s: %ld", line.caption, RoundRealToNearestInteger(*line.f));
                break;
            case Kind::Label:
                std::snprintf(text, sizeof text, "%s:%s", line.caption, *line.text);
                break;
        }
        ok = ok && RT_WriteLine(file, text) == 0;
    }
    if (!ok) {
        RT_DiscardFile(file);
        return -1;
    }
    return RT_CloseFile(file) == 0 ? 0 : -1;
}

namespace {

std::string g_prefsFolder;

}  // namespace

void SetPrefsFolder(const std::string& folder)
{
    g_prefsFolder = folder;
}

std::string PrefsFilePath()
{
    if (g_prefsFolder.empty()) return kPrefsFileName;
    return QDir(QString::fromStdString(g_prefsFolder)).filePath(QLatin1String(kPrefsFileName)).toStdString();
}

bool RunsFromBuildTree(const std::string& exePath, const std::string& buildDir)
{
    if (buildDir.empty()) return false;
    const QString exe = QFileInfo(QString::fromStdString(exePath)).absoluteFilePath();
    const QString tree = QDir(QString::fromStdString(buildDir)).absolutePath() + u'/';
    return exe.startsWith(tree);
}

int InitState()
{
    return ReadPrefsFile(PrefsFilePath().c_str());
}

int SaveState()
{
    if (!g_prefsFolder.empty()) QDir().mkpath(QString::fromStdString(g_prefsFolder));
    return WritePrefsFile(PrefsFilePath().c_str());
}
