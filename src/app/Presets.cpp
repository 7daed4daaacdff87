#include "app/Presets.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QString>
#include <algorithm>

#include "app/MenuCallbacks.h"
#include "panels/OperatorAction.h"
#include "panels/PanelGlobals.h"
#include "panels/StatusLine.h"
#include "resources/UlvoIccd.h"
#include "ui/Ui.h"

namespace {

constexpr const char* kRecentListName = "recent-settings-files.txt";
constexpr std::size_t kPresetNameMax = 60;

std::string s_dataFolder;
std::vector<std::string> s_recent;
int s_presetsPanel = 0;

QString q(const std::string& text)
{
    return QString::fromLocal8Bit(text.c_str());
}

QString dataPath(const char* name)
{
    return QDir(q(s_dataFolder.empty() ? "." : s_dataFolder)).filePath(QString::fromLatin1(name));
}

void readRecentList()
{
    s_recent.clear();
    QFile file(dataPath(kRecentListName));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return;
    while (!file.atEnd() && s_recent.size() < static_cast<std::size_t>(kRecentFileItems)) {
        const std::string line = QString::fromUtf8(file.readLine()).trimmed().toLocal8Bit().toStdString();
        if (!line.empty() && std::find(s_recent.begin(), s_recent.end(), line) == s_recent.end())
            s_recent.push_back(line);
    }
}

// The list is a comfort: when it cannot be written the program goes on, and
// the old list stays whole.
void writeRecentList()
{
    QDir().mkpath(q(s_dataFolder.empty() ? "." : s_dataFolder));
    QSaveFile file(dataPath(kRecentListName));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) return;
    for (const std::string& path : s_recent) file.write((q(path) + '\n').toUtf8());
    file.commit();
}

// "__1 lab.cfg  (/home/op/settings)": the access key, the name and its folder.
std::string recentLabel(int index, const std::string& path)
{
    const QFileInfo info(q(path));
    QString folder = QDir::toNativeSeparators(info.absolutePath());
    constexpr int kFolderMax = 50;
    if (folder.size() > kFolderMax) folder = QStringLiteral("…") + folder.right(kFolderMax - 1);
    return "__" + std::to_string(index + 1) + " " + (info.fileName() + "  (" + folder + ")").toStdString();
}

void fillPresetsPanel(int panel, const std::string& select)
{
    ClearListCtrl(panel, PRESETS_LIST);
    const std::vector<std::string> names = PresetNames();
    int selected = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        InsertListItem(panel, PRESETS_LIST, -1, names[i].c_str(), static_cast<int>(i));
        if (names[i] == select) selected = static_cast<int>(i);
    }
    if (!names.empty()) SetCtrlIndex(panel, PRESETS_LIST, selected);
    for (int c : {PRESETS_LIST, PRESETS_RECALL, PRESETS_DELETE})
        SetCtrlAttribute(panel, c, ATTR_DIMMED, names.empty() ? 1 : 0);
    const std::string folder =
        "In " + QDir::toNativeSeparators(QDir(q(PresetsFolder())).absolutePath()).toStdString();
    SetCtrlVal(panel, PRESETS_FOLDER, folder.c_str());
}

std::string chosenPreset(int panel)
{
    int index = -1;
    std::string name;
    if (GetCtrlIndex(panel, PRESETS_LIST, &index) < 0 || index < 0) return {};
    GetLabelFromIndex(panel, PRESETS_LIST, index, &name);
    return name;
}

void MMnu_PresetsCallback(int, int, void*, int)
{
    OpenPresetsDialog();
}

}  // namespace

void OpenPresetsDialog()
{
    if (s_presetsPanel > 0) return;  // already open
    s_presetsPanel = LoadPanel(0, kUlvoIccdUir, PRESETS);
    if (s_presetsPanel < 0) {
        s_presetsPanel = 0;
        return;
    }
    fillPresetsPanel(s_presetsPanel, {});
    InstallPopup(s_presetsPanel);
}

namespace {

int Presets_CloseCallback(int panel, int, int event, void*, int, int)
{
    if (event != EVENT_COMMIT) return 0;
    RemovePopup(0);
    DiscardPanel(panel);
    s_presetsPanel = 0;
    return 0;
}

int Presets_RecallCallback(int panel, int, int event, void*, int, int)
{
    if (event != EVENT_COMMIT) return 0;
    const std::string name = chosenPreset(panel);
    if (name.empty()) return 0;
    Presets_CloseCallback(panel, PRESETS_CLOSE, EVENT_COMMIT, nullptr, 0, 0);
    LoadSettingsFromFile(PresetPath(name));
    return 0;
}

int Presets_SaveCallback(int panel, int, int event, void*, int, int)
{
    if (event != EVENT_COMMIT) return 0;
    std::string name;
    GetCtrlVal(panel, PRESETS_NAME, &name);
    name = QString::fromStdString(name).trimmed().toStdString();
    if (!ValidPresetName(name)) {
        MessagePopup("Presets",
                     "A preset's name has 1 to 60 letters, digits, blanks, '-', '_' or '.', and does not "
                     "start with '.'.");
        return 0;
    }
    const std::string path = PresetPath(name);
    if (QFileInfo::exists(q(path)) &&
        ConfirmPopup("Presets", ("Replace the preset \"" + name + "\"?").c_str()) != 1)
        return 0;
    if (!QDir().mkpath(q(PresetsFolder()))) {
        MessagePopup("ERROR", ("The presets folder could not be made:\n" + PresetsFolder()).c_str());
        return 0;
    }
    // Recall and Delete follow the list, which the save changes.
    RunDialogAction(panel, {PRESETS_SAVE, PRESETS_CLOSE}, [panel, name, path] {
        if (SaveSettingsToFile(path, name) == 0) fillPresetsPanel(panel, name);
    });
    return 0;
}

int Presets_DeleteCallback(int panel, int, int event, void*, int, int)
{
    if (event != EVENT_COMMIT) return 0;
    const std::string name = chosenPreset(panel);
    if (name.empty() || ConfirmPopup("Presets", ("Delete the preset \"" + name + "\"?").c_str()) != 1)
        return 0;
    if (!QFile::remove(q(PresetPath(name))))
        MessagePopup("ERROR", ("The preset \"" + name + "\" could not be deleted.").c_str());
    else
        ForgetRecentFile(PresetPath(name));
    fillPresetsPanel(panel, {});
    return 0;
}

void MMnu_RecentFileCallback(int, int menuItem, void*, int)
{
    const std::size_t index = static_cast<std::size_t>(menuItem - MAINMNU_FILE_RECENT1);
    if (index < s_recent.size()) LoadSettingsFromFile(s_recent[index]);
}

}  // namespace

void SetUserDataFolder(const std::string& folder)
{
    s_dataFolder = folder;
    readRecentList();
}

std::string PresetsFolder()
{
    return dataPath("presets").toLocal8Bit().toStdString();
}

std::vector<std::string> PresetNames()
{
    std::vector<std::string> names;
    const QDir dir(q(PresetsFolder()));
    for (const QFileInfo& f : dir.entryInfoList({QStringLiteral("*.cfg")}, QDir::Files, QDir::Name))
        names.push_back(f.completeBaseName().toLocal8Bit().toStdString());
    return names;
}

bool ValidPresetName(const std::string& name)
{
    if (name.empty() || name.size() > kPresetNameMax || name.front() == '.' || name.front() == ' ')
        return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return std::isalnum(u) || c == ' ' || c == '-' || c == '_' || c == '.';
    });
}

std::string PresetPath(const std::string& name)
{
    return QDir(q(PresetsFolder())).filePath(q(name + ".cfg")).toLocal8Bit().toStdString();
}

std::vector<std::string> RecentFiles()
{
    return s_recent;
}

void NoteRecentFile(const std::string& path)
{
    const std::string absolute = QFileInfo(q(path)).absoluteFilePath().toLocal8Bit().toStdString();
    std::erase(s_recent, absolute);
    s_recent.insert(s_recent.begin(), absolute);
    if (s_recent.size() > static_cast<std::size_t>(kRecentFileItems)) s_recent.resize(kRecentFileItems);
    writeRecentList();
    ShowRecentFiles();
}

void ForgetRecentFile(const std::string& path)
{
    const std::string absolute = QFileInfo(q(path)).absoluteFilePath().toLocal8Bit().toStdString();
    if (std::erase(s_recent, absolute) == 0) return;
    writeRecentList();
    ShowRecentFiles();
}

void ShowRecentFiles()
{
    if (g_mainmnuhandle <= 0) return;
    SetMenuBarAttribute(g_mainmnuhandle, MAINMNU_FILE_RECENTSEP, ATTR_VISIBLE, s_recent.empty() ? 0 : 1);
    for (int i = 0; i < kRecentFileItems; ++i) {
        const int item = MAINMNU_FILE_RECENT1 + i;
        const bool used = static_cast<std::size_t>(i) < s_recent.size();
        SetMenuBarAttribute(g_mainmnuhandle, item, ATTR_VISIBLE, used ? 1 : 0);
        if (used)
            SetMenuBarAttribute(g_mainmnuhandle, item, ATTR_ITEM_NAME, recentLabel(i, s_recent[i]).c_str());
    }
}

void RegisterPresetCallbacks()
{
    RegisterUiCallback("MMnu_PresetsCallback", MMnu_PresetsCallback);
    RegisterUiCallback("MMnu_RecentFileCallback", MMnu_RecentFileCallback);
    RegisterUiCallback("Presets_CloseCallback", Presets_CloseCallback);
    RegisterUiCallback("Presets_RecallCallback", Presets_RecallCallback);
    RegisterUiCallback("Presets_SaveCallback", Presets_SaveCallback);
    RegisterUiCallback("Presets_DeleteCallback", Presets_DeleteCallback);
}
