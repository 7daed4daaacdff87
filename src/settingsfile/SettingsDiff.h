// Comparing a settings file with the camera.
#pragma once

#include <string>
#include <vector>

#include "camera/CamTypes.h"
#include "settingsfile/SettingsLines.h"

struct SettingsDifference {
    std::string name;         ///< the setting ("AGN", "ZMC", "KB2", "Camera ID String")
    std::string fileValue;    ///< as the file gives it
    std::string cameraValue;  ///< as the camera reports it
};

/// Marks every field of the records that a settings file carries as "not
/// read".  A snapshot taken into records marked so leaves the settings the
/// camera's class lacks marked, and DiffSettings passes over them.
void MarkSettingsUnread(CamMainSettings* main, CamAdvSettings* adv);

/// The settings whose file value would put another count into the camera
/// than the one it holds, in file order.  Settings the camera did not report
/// (still marked by MarkSettingsUnread), lines of the file not in linesRead
/// (when given) and, outside factory mode, the camera ID string, which a load
/// leaves as the unit has it, are not compared.  Values that a conversion rounds are
/// compared as the counts they stand for, so a file that was just loaded shows
/// no difference.  Needs g_cam_model_idx for the class-dependent conversions.
std::vector<SettingsDifference> DiffSettings(const CamMainSettings& fileMain, const CamAdvSettings& fileAdv,
                                             const CamMainSettings& cameraMain,
                                             const CamAdvSettings& cameraAdv,
                                             const SettingsLineSet* linesRead = nullptr);

/// The camera held against a settings file, as a whole.
struct SettingsComparison {
    enum class Outcome {
        Compared,      ///< differences holds every setting that differs (none: the camera took them all)
        FileUnusable,  ///< the file could not be opened, or had too many unreadable lines
        QueryFailed,   ///< the camera did not answer every query; nothing was compared
    };
    Outcome outcome = Outcome::Compared;
    std::string reason;  ///< what went wrong, in the operator's words, for the other outcomes
    std::vector<SettingsDifference> differences;
};

/// Reads the file at path, asks the camera on g_com_port for both settings
/// records and compares them (DiffSettings).  A query that fails compares
/// nothing, since its field would be taken for the camera's value.
SettingsComparison CompareCameraWithFile(const char* path);

/// The camera on g_com_port asked for both records and held against these
/// (DiffSettings over linesRead, when given).
SettingsComparison CompareCameraWith(const CamMainSettings& main, const CamAdvSettings& adv,
                                     const SettingsLineSet* linesRead);

/// Whether the line's field in the records still holds the mark of
/// MarkSettingsUnread (a setting the camera's class lacks, or not asked).
bool SettingsLineMarkedUnread(const SettingsLine& line, const CamMainSettings& main,
                              const CamAdvSettings& adv);
