#include <cctype>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <tuple>

#include "camera/FailureText.h"
#include "camera/Link.h"
#include "camera/LinkQueue.h"
#include "camera/Snapshot.h"
#include "platform/TextFile.h"
#include "settingsfile/SettingsFile.h"
#include "settingsfile/SettingsLines.h"
#include "settingsfile/SettingsUi.h"

namespace {

// The file has one line of at most 80 characters for the comment: line
// breaks and other control characters become blanks, the rest is cut.
std::string commentLine(const char* comment)
{
    std::string line = comment ? comment : "";
    if (line.size() > kSettingsCommentMax) line.resize(kSettingsCommentMax);
    for (char& c : line)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return line;
}

// The name a failed field goes by in messages: the setting's name in the file
// ("SB1", "ZMC", "KB2"), or for a field the file does not carry, the field's
// own name in upper case.
std::string settingName(const char* field, std::span<const SettingsField> fields, LineRecord record)
{
    for (const SettingsField& f : fields) {
        if (std::string_view(f.name) != field) continue;
        for (const SettingsLine& line : SettingsFileLines())
            if (line.record == record && line.offset == f.offset && line.name) return line.name;
    }
    std::string name = field;
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

}  // namespace

std::string FailedSettingNames(const SnapshotStats& mainStats, const SnapshotStats& advStats)
{
    std::string names;
    for (const auto& [stats, fields, record] :
         {std::tuple{&mainStats, MainSettingsFields(), LineRecord::Main},
          std::tuple{&advStats, AdvSettingsFields(), LineRecord::Advanced}}) {
        for (const char* field : UnreadFieldNames(fields, *stats)) {
            if (!names.empty()) names += ", ";
            names += settingName(field, fields, record);
        }
    }
    return names;
}

void WriteSettingsLines(int fileHandle, const char* comment, const CamMainSettings& main,
                        const CamAdvSettings& adv)
{
    char text[128];
    for (const SettingsLine& line : SettingsFileLines()) {
        switch (line.format) {
            case LineFormat::Header:
                RT_WriteLine(fileHandle, kSettingsFileHeader);
                continue;
            case LineFormat::Comment:
                RT_WriteLine(fileHandle, commentLine(comment).c_str());
                continue;
            case LineFormat::Int:
                std::snprintf(text, sizeof text, "%s: %d", line.key,
                              static_cast<int>(SettingsLineNumber(line, main, adv)));
                break;
            case LineFormat::Real6:
                std::snprintf(text, sizeof text, "%s: %f", line.key, SettingsLineNumber(line, main, adv));
                break;
            case LineFormat::Real2:
                std::snprintf(text, sizeof text, "%s: %.2f", line.key, SettingsLineNumber(line, main, adv));
                break;
            case LineFormat::Text:
                std::snprintf(text, sizeof text, "%s: %s", line.key, SettingsLineText(line, main, adv));
                break;
        }
        RT_WriteLine(fileHandle, text);
    }
}

int F_SaveSet_WriteSettings(int fileHandle, const char* comment)
{
    CommOperation operation;  // both passes read one state of the camera
    CamMainSettings main{};
    CamAdvSettings adv{};
    SnapshotStats mainStats;
    SnapshotStats advStats;
    int status = Comm_QueryMainSettings(&main, &mainStats);
    if (status == 0) status = Comm_QueryAdvanced(&adv, &advStats);
    // A failed query leaves 0 or the value of count 0 in its field; written
    // to the file, that would later be loaded into a camera as a setting.
    // So one failed query is enough to keep the old file.
    if (status != 0 || mainStats.anyFailed() || advStats.anyFailed()) {
        // Report what actually went wrong with the camera, not the pass's own result.
        const int last = advStats.lastFailure != 0 ? advStats.lastFailure : mainStats.lastFailure;
        // No failure may end as 0, which the caller would take for "written".
        const int code = last != 0 ? last : status != 0 ? status : COMM_UNRECOGNIZED;
        const std::string message = std::string(kSaveQueryFailedMessage) + "\n" + Comm_FailureText(code) +
                                    "\nNot read: " + FailedSettingNames(mainStats, advStats) + ".";
        CurrentSettingsFileUi().error("ERROR", message.c_str());
        return code;
    }
    WriteSettingsLines(fileHandle, comment, main, adv);
    return 0;
}

int SaveSettingsFile(const char* path, const char* comment)
{
    const int file = RT_OpenFile(path, RT_WRITE);
    if (file <= 0) {
        // The system's reason: no folder, no permission, not a regular file ...
        const std::string message =
            std::string("Failure opening camera settings file for writing.\n") + RT_LastErrorText();
        CurrentSettingsFileUi().error("ERROR", message.c_str());
        return -1;
    }
    const int status = F_SaveSet_WriteSettings(file, comment);
    if (status != 0) {
        RT_DiscardFile(file);
        return status;
    }
    if (RT_CloseFile(file) != 0) {
        // A full disk shows here; the old file is left as it was.
        const std::string message =
            std::string("Failure writing camera settings file. File not saved.\n") + RT_LastErrorText();
        CurrentSettingsFileUi().error("ERROR", message.c_str());
        return -1;
    }
    return 0;
}
