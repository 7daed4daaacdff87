// The camera's settings kept before an action that changes many of them at
// once (a settings file, a user set, the factory defaults), and the way back
// to them.  What is kept is what a settings file would carry, and it goes
// back the way a settings file does: the same 64 steps and the same
// comparison afterwards.
#pragma once

#include <string>

#include "camera/CamTypes.h"
#include "settingsfile/SettingsDiff.h"
#include "settingsfile/SettingsFile.h"

struct CameraSnapshot {
    CamMainSettings main{};
    CamAdvSettings adv{};
    /// The lines of a settings file whose setting the camera reported; only
    /// these are sent back.
    SettingsLineSet held;
    int modelRow = -1;   ///< the model the camera was (g_cam_model_user_idx)
    std::string unread;  ///< "AGN, SB1": settings whose query failed, which cannot be restored
};

/// Reads both settings records of the camera on g_com_port into snap.
/// Returns 0 when any setting was read (those that were not, snap->unread
/// names), else the status of the failure (COMM_LINK_LOST for a lost link);
/// nothing is kept then.
int TakeCameraSnapshot(CameraSnapshot* snap);

struct SnapshotRestore {
    SettingsLoadResult sending;  ///< the steps, as a settings-file load counts them
    SettingsComparison after;    ///< the camera held against the snapshot once sent
};

/// Sends the snapshot back as a settings-file load sends a file (progress and
/// cancel through the installed SettingsFileUi), re-reads what the program
/// shows and compares the camera with the snapshot.  Holds the link for the
/// whole of it.  A lost link ends it before the comparison (told already).
SnapshotRestore RestoreCameraSnapshot(const CameraSnapshot& snap);

/// What did not come back, one item per line: the settings that were never
/// read, the failed steps, and the settings the camera now holds otherwise
/// ("AGN: kept 12.000000, camera 6.000000"); or why it could not be compared.
/// Empty when everything came back.
std::string RestoreFailureSummary(const CameraSnapshot& snap, const SnapshotRestore& restore);
