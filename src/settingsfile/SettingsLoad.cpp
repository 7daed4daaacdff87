#include <string>

#include "camera/Globals.h"
#include "camera/Link.h"
#include "camera/LinkQueue.h"
#include "camera/Models.h"
#include "platform/TextFile.h"
#include "settingsfile/SettingsFile.h"
#include "settingsfile/SettingsUi.h"

SettingsLoadResult LoadSettingsFile(int fileHandle)
{
    // The whole load is one operation: what the operator does meanwhile
    // waits for its end instead of slipping between its steps.
    CommOperation operation;
    SettingsFileUi& ui = CurrentSettingsFileUi();
    SettingsLoadResult result;
    CamMainSettings main{};
    CamAdvSettings adv{};

    SettingsLineSet linesRead;

    ui.progress(kReadingMessage);
    int fileModel = -1;
    if (F_LoadSet_ReadSettings(fileHandle, 0, &main, &adv, &result.readFailures, &linesRead,
                               &result.failedLines, &fileModel) != 0) {
        result.readAborted = true;
        ui.progressDone();
        ui.error("ERROR", kReadAbortMessage);
        RT_CloseFile(fileHandle);
        return result;
    }

    // Another model's settings are other settings: the operator decides
    // before anything reaches the camera.
    if (fileModel >= 0 && fileModel != g_cam_model_user_idx &&
        !ui.confirm(OtherModelWarning(fileModel, g_cam_model_user_idx).c_str())) {
        result.cancelled = true;
        ui.progressDone();
        RT_CloseFile(fileHandle);
        return result;
    }

    SnapToPrintedCounts(&main, &adv, linesRead);
    SendAndShowSettings(main, adv, linesRead, &result);
    if (result.cancelled && !result.linkLost)
        ui.error("Load Settings From File", CancelledLoadMessage(result.stepsDone).c_str());
    RT_CloseFile(fileHandle);
    return result;
}

bool SendAndShowSettings(const CamMainSettings& main, const CamAdvSettings& adv,
                         const SettingsLineSet& linesRead, SettingsLoadResult* result)
{
    SettingsFileUi& ui = CurrentSettingsFileUi();
    ui.progress(kSendingMessage);
    if (SendSettingsSteps(&main, &adv, &result->sendFailures, &linesRead, &result->stepsDone,
                          &result->cancelled, &result->failedSteps) != 0) {
        result->linkLost = Comm_LinkLost() != 0 || (!result->failedSteps.empty() &&
                                                    result->failedSteps.back().status == COMM_LINK_LOST);
        if (result->linkLost) {
            // Nothing more can reach the camera, nor be read back from it.
            ui.progressDone();
            std::string text = kLinkLostLoadMessage;
            text += "\n";
            text += LoadFailureSummary(*result);
            ui.error("ERROR", text.c_str());
            return false;
        }
        result->sendAborted = true;
        ui.error("ERROR", kSendAbortMessage);
    }

    // What the camera made of it is what the operator must see, also after
    // a failed or cancelled send.
    ui.progress(kRefreshingMessage);
    ui.refresh();
    ui.progressDone();
    return true;
}

std::string SettingsFileOpenFailure(const char* path)
{
    return std::string("Failure opening camera settings file.\n") + path + ": " + RT_LastErrorText();
}

std::string LoadFailureSummary(const SettingsLoadResult& result)
{
    std::string text;
    for (const SettingsLineFailure& f : result.failedLines) {
        text += f.line > 0 ? "line " + std::to_string(f.line) : std::string("no line");
        text += " (" + f.key + ")";
        if (!f.text.empty()) text += " \"" + f.text + "\"";
        text += ": " + f.reason + "\n";
    }
    for (const SettingsStepFailure& f : result.failedSteps)
        text += "step " + std::to_string(f.step) + " (" + f.keys + "): " + Comm_GetMessageErrorStr(f.status) +
                "\n";
    return text;
}

std::string OtherModelWarning(int fileModel, int cameraModel)
{
    return std::string("This settings file was saved from a ") + g_cam_models[fileModel] +
           "; the camera is a " + g_cam_models[cameraModel] + ".";
}

std::string CancelledLoadMessage(int stepsDone)
{
    return "Load cancelled: " + std::to_string(stepsDone) + " of " + std::to_string(kSettingsSendSteps) +
           " steps were sent to the camera.";
}

void F_LoadSet_LoadSettings(int fileHandle)
{
    LoadSettingsFile(fileHandle);
}
