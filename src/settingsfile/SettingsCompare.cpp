// The camera held against a settings file: what `iccdctl diff` prints and what
// the desktop program says after a load.
#include <string>

#include "camera/FailureText.h"
#include "camera/Link.h"
#include "camera/LinkQueue.h"
#include "camera/Snapshot.h"
#include "platform/TextFile.h"
#include "settingsfile/SettingsDiff.h"
#include "settingsfile/SettingsFile.h"

SettingsComparison CompareCameraWithFile(const char* path)
{
    SettingsComparison result;
    CamMainSettings fileMain{};
    CamAdvSettings fileAdv{};
    const int file = RT_OpenFile(path, RT_READ);
    if (file <= 0) {
        result.outcome = SettingsComparison::Outcome::FileUnusable;
        result.reason = SettingsFileOpenFailure(path);
        return result;
    }
    SettingsLoadResult lines;
    SettingsLineSet linesRead;
    const int read =
        F_LoadSet_ReadSettings(file, 0, &fileMain, &fileAdv, nullptr, &linesRead, &lines.failedLines);
    RT_CloseFile(file);
    if (read != 0) {
        result.outcome = SettingsComparison::Outcome::FileUnusable;
        result.reason = std::string("Too many errors reading settings file.\n") + LoadFailureSummary(lines);
        return result;
    }

    return CompareCameraWith(fileMain, fileAdv, &linesRead);
}

SettingsComparison CompareCameraWith(const CamMainSettings& main, const CamAdvSettings& adv,
                                     const SettingsLineSet* linesRead)
{
    SettingsComparison result;
    CommOperation operation;
    CamMainSettings camMain{};
    CamAdvSettings camAdv{};
    MarkSettingsUnread(&camMain, &camAdv);  // what the camera's class lacks stays marked
    SnapshotStats mainStats;
    SnapshotStats advStats;
    int status = Comm_QueryMainSettings(&camMain, &mainStats);
    if (status == 0) status = Comm_QueryAdvanced(&camAdv, &advStats);
    // A failed query leaves 0 or the value of count 0 behind, which would be
    // listed as the camera's value.
    if (status != 0 || mainStats.anyFailed() || advStats.anyFailed()) {
        result.outcome = SettingsComparison::Outcome::QueryFailed;
        const int last = advStats.lastFailure ? advStats.lastFailure : mainStats.lastFailure;
        result.reason = std::string("Failure querying camera for current settings.\n") +
                        Comm_FailureText(last ? last : status);
        if (mainStats.anyFailed() || advStats.anyFailed())
            result.reason += "\nNot read: " + FailedSettingNames(mainStats, advStats) + ".";
        return result;
    }
    result.differences = DiffSettings(main, adv, camMain, camAdv, linesRead);
    return result;
}
