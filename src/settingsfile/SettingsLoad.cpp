#include <string>

#include "camera/LinkQueue.h"
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
    if (F_LoadSet_ReadSettings(fileHandle, 0, &main, &adv, &result.readFailures, &linesRead) != 0) {
        result.readAborted = true;
        ui.progressDone();
        ui.error("ERROR", kReadAbortMessage);
        RT_CloseFile(fileHandle);
        return result;
    }

    ui.progress(kSendingMessage);
    SnapToPrintedCounts(&main, &adv, linesRead);
    if (SendSettingsSteps(&main, &adv, &result.sendFailures, &linesRead, &result.stepsDone,
                          &result.cancelled) != 0) {
        result.sendAborted = true;
        ui.error("ERROR", kSendAbortMessage);
    }

    // What the camera made of the file is what the operator must see, also
    // after a failed or cancelled send.
    ui.progress(kRefreshingMessage);
    ui.refresh();
    ui.progressDone();
    if (result.cancelled) ui.error("Load Settings From File", CancelledLoadMessage(result.stepsDone).c_str());
    RT_CloseFile(fileHandle);
    return result;
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
