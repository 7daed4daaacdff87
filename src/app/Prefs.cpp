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
    char* text = nullptr;
};

// The fifteen lines, in file order.  Only the order counts when reading; the
// captions are what an operator reads when editing the file by hand.
const PrefLine kLines[] = {
    {"Camera Comm Port", Kind::Int, &g_com_port},
    {"Camera Baud Rate", Kind::Int, &g_com_baud},
    {"Save Set No", Kind::Int, &g_set_no},
    {"Zoom Max V", Kind::MaxV, nullptr, &g_zoom_maxv},
    {"Zoom Coarse Adjust", Kind::Step, nullptr, &g_zoom_coarse},
    {"Zoom Fine Adjust", Kind::Step, nullptr, &g_zoom_fine},
    {"Focus Max V", Kind::MaxV, nullptr, &g_focus_maxv},
    {"Focus Coarse Adjust", Kind::Step, nullptr, &g_focus_coarse},
    {"Focus Fine Adjust", Kind::Step, nullptr, &g_focus_fine},
    {"Iris Max V", Kind::MaxV, nullptr, &g_iris_maxv},
    {"Iris Coarse Adjust", Kind::Step, nullptr, &g_iris_coarse},
    {"Iris Fine Adjust", Kind::Step, nullptr, &g_iris_fine},
    {"Label 1", Kind::Label, nullptr, nullptr, g_label1},
    {"Label 2", Kind::Label, nullptr, nullptr, g_label2},
    {"Label 3", Kind::Label, nullptr, nullptr, g_label3},
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

// Values outside what the program can use count as unreadable, like text
// where a number belongs: the whole file then gives the defaults, and nothing
// absurd is written back at exit.  The ranges are those the dialogs offer.
bool plausible(const ReadValue (&values)[kLineCount])
{
    for (int n = 0; n < kLineCount; ++n) {
        const PrefLine& line = kLines[n];
        const ReadValue& v = values[n];
        switch (line.kind) {
            case Kind::Int:
                if (line.i == &g_com_port && (v.i < 0 || v.i > kMaxComPort)) return false;
                if (line.i == &g_com_baud && (v.i <= 0 || v.i > 4000000)) return false;
                if (line.i == &g_set_no && (v.i < 0 || v.i > 2)) return false;
                break;
            case Kind::MaxV:
                if (v.f < 0.0f || v.f > 9.0f) return false;
                break;
            case Kind::Step:
                if (v.f < 0.0f || v.f > 100.0f) return false;
                break;
            case Kind::Label:
                break;
        }
    }
    return true;
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
    g_com_port = 1;
    s_portAsRead = 1;
    g_com_baud = 9600;
    g_set_no = 1;
    for (float* maxv : {&g_zoom_maxv, &g_focus_maxv, &g_iris_maxv}) *maxv = 9.0f;
    for (float* coarse : {&g_zoom_coarse, &g_focus_coarse, &g_iris_coarse}) *coarse = 10.0f;
    for (float* fine : {&g_zoom_fine, &g_focus_fine, &g_iris_fine}) *fine = 1.0f;
    SetLensLabel(g_label1, "Zoom Control");
    SetLensLabel(g_label2, "Focus Control");
    SetLensLabel(g_label3, "Iris Control");
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
    if (!ok || !plausible(values)) {
        SetDefaultPrefs();
        return 1;
    }
    for (int n = 0; n < kLineCount; ++n) {
        const PrefLine& line = kLines[n];
        switch (line.kind) {
            case Kind::Int:
                *line.i = static_cast<int>(values[n].i);
                if (line.i == &g_com_port) s_portAsRead = *line.i;
                break;
            case Kind::MaxV:
            case Kind::Step:
                *line.f = values[n].f;
                break;
            case Kind::Label:
                std::memcpy(line.text, values[n].text, sizeof values[n].text);
                break;
        }
    }
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
                std::snprintf(text, sizeof text, "%s:%s", line.caption, line.text);
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
