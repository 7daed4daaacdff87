// A settings file of any content: the reader must count what it cannot read
// and fill only fields it could, and the comparison with a camera must cope
// with whatever numbers the file put into the records.
//
// Input: the first byte picks the camera model (the conversions depend on its
// class), the rest is the file.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "camera/CamTypes.h"
#include "camera/Models.h"
#include "platform/TextFile.h"
#include "settingsfile/SettingsDiff.h"
#include "settingsfile/SettingsFile.h"
#include "settingsfile/SettingsLines.h"

namespace {

void Check(bool ok, const char* what)
{
    if (!ok) fuzz::Fail("fuzz_settings", what);
}

// The two records of a camera, as a snapshot fills them.
struct CameraRecords {
    CamMainSettings main{};
    CamAdvSettings adv{};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = fuzz::ScratchPath("fuzz_settings");
    if (size == 0) return 0;
    Comm_RecordModel(data[0] % kCamModelCount);
    fuzz::WriteScratch(path, data + 1, size - 1);

    CamMainSettings fileMain{};
    CamAdvSettings fileAdv{};
    int failures = -1;
    const int read = ReadSettingsFile(path.c_str(), &fileMain, &fileAdv, &failures);
    Check(read == 0 || read == 1, "read result is 0 or 1");
    Check(failures >= 0 && (read == 1) == (failures > kSettingsFailureLimit),
          "the read stops exactly when it failed more often than the limit");
    Check(std::memchr(fileAdv.sno, '\0', sizeof fileAdv.sno) &&
              std::memchr(fileAdv.cid, '\0', sizeof fileAdv.cid),
          "identifier texts terminated");

    // The load's path: the lines read, then the values snapped to the counts
    // their digits stand for.
    CamMainSettings loadMain{};
    CamAdvSettings loadAdv{};
    SettingsLineSet linesRead;
    const int file = RT_OpenFile(path.c_str(), RT_READ);
    Check(file > 0, "scratch file opens");
    int loadFailures = -1;
    const int loaded = F_LoadSet_ReadSettings(file, 0, &loadMain, &loadAdv, &loadFailures, &linesRead);
    RT_CloseFile(file);
    Check(loaded == read && loadFailures == failures, "the same file reads the same way twice");
    SnapToPrintedCounts(&loadMain, &loadAdv, linesRead);

    // A camera that reported nothing the file carries differs in nothing.
    CameraRecords unread;
    MarkSettingsUnread(&unread.main, &unread.adv);
    Check(DiffSettings(fileMain, fileAdv, unread.main, unread.adv).empty(), "nothing read, nothing differs");

    // Against a camera of zeros and against the records themselves: every
    // difference names its setting.
    const CameraRecords zero;
    for (const SettingsDifference& d : DiffSettings(fileMain, fileAdv, zero.main, zero.adv))
        Check(!d.name.empty(), "a difference names its setting");
    for (const SettingsDifference& d : DiffSettings(fileMain, fileAdv, loadMain, loadAdv))
        Check(!d.name.empty(), "a difference names its setting");
    return 0;
}
