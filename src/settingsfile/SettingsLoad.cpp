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
    if (F_LoadSet_SendSettings(&main, &adv, &result.sendFailures, &linesRead) != 0) {
        result.sendAborted = true;
        ui.error("ERROR", kSendAbortMessage);
    }

    // What the camera made of the file is what the operator must see, also
    // after a failed send.
    ui.progress(kRefreshingMessage);
    ui.refresh();
    ui.progressDone();
    RT_CloseFile(fileHandle);
    return result;
}

void F_LoadSet_LoadSettings(int fileHandle)
{
    LoadSettingsFile(fileHandle);
}
