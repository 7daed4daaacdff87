#include "settingsfile/SettingsSnapshot.h"

#include <cstring>
#include <span>
#include <string>

#include "camera/Globals.h"
#include "camera/Link.h"
#include "camera/LinkQueue.h"
#include "camera/Snapshot.h"
#include "settingsfile/SettingsLines.h"

namespace {

// Whether the pass left the field of the line unread: its query failed, or
// the pass never got to it.
bool failedInPass(const SettingsLine& line, const SnapshotStats& mainStats, const SnapshotStats& advStats)
{
    const bool main = line.record == LineRecord::Main;
    const std::span<const SettingsField> fields = main ? MainSettingsFields() : AdvSettingsFields();
    for (const SettingsField& f : fields)
        if (f.offset == line.offset) return (main ? mainStats : advStats).fieldUnread(f.name);
    return false;
}

}  // namespace

int TakeCameraSnapshot(CameraSnapshot* snap)
{
    CommOperation operation;
    *snap = CameraSnapshot{};
    // A setting the class lacks keeps its mark, and is neither sent back nor
    // compared.
    MarkSettingsUnread(&snap->main, &snap->adv);
    SnapshotStats mainStats;
    SnapshotStats advStats;
    int status = Comm_QueryMainSettings(&snap->main, &mainStats);
    // A main pass that stopped leaves the advanced one worth making: what
    // can be read can be restored.
    const int advanced = Comm_QueryAdvanced(&snap->adv, &advStats);
    if (status == 0) status = advanced;
    if (Comm_LinkLost()) {
        *snap = CameraSnapshot{};
        return COMM_LINK_LOST;
    }
    const std::span<const SettingsLine> lines = SettingsFileLines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const SettingsLine& line = lines[i];
        if (line.record != LineRecord::Main && line.record != LineRecord::Advanced) continue;
        if (line.read == LineRead::Skip || SettingsLineMarkedUnread(line, snap->main, snap->adv)) continue;
        if (failedInPass(line, mainStats, advStats)) continue;
        snap->held.set(i);
    }
    if (snap->held.none()) {
        const int last = advStats.lastFailure ? advStats.lastFailure : mainStats.lastFailure;
        *snap = CameraSnapshot{};
        return last ? last : status ? status : COMM_LINK_LOST;
    }
    if (mainStats.anyFailed() || advStats.anyFailed()) snap->unread = FailedSettingNames(mainStats, advStats);
    if (status != 0)
        snap->unread +=
            snap->unread.empty() ? "the settings after the last one read" : ", and the settings after them";
    snap->modelRow = g_cam_model_user_idx;
    return 0;
}

SnapshotRestore RestoreCameraSnapshot(const CameraSnapshot& snap)
{
    CommOperation operation;
    SnapshotRestore restore;
    if (!SendAndShowSettings(snap.main, snap.adv, snap.held, &restore.sending)) {
        restore.after.outcome = SettingsComparison::Outcome::QueryFailed;
        restore.after.reason = kLinkLostLoadMessage;
        return restore;
    }
    restore.after = CompareCameraWith(snap.main, snap.adv, &snap.held);
    return restore;
}

std::string RestoreFailureSummary(const CameraSnapshot& snap, const SnapshotRestore& restore)
{
    std::string text;
    if (!snap.unread.empty()) {
        text += "not read before, so not restored: ";
        text += snap.unread;
        text += "\n";
    }
    if (restore.sending.cancelled) {
        text += CancelledLoadMessage(restore.sending.stepsDone);
        text += "\n";
    }
    text += LoadFailureSummary(restore.sending);
    if (restore.after.outcome != SettingsComparison::Outcome::Compared) {
        text += "The camera could not be compared with the settings kept: ";
        text += restore.after.reason;
        text += "\n";
    }
    for (const SettingsDifference& d : restore.after.differences) {
        text += d.name;
        text += ": kept ";
        text += d.fileValue;
        text += ", camera ";
        text += d.cameraValue;
        text += "\n";
    }
    if (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
}
