// Settings files: all settings of the connected camera in 90 text lines, and
// the way back from such a file into a camera.
//
// Saving queries the camera first and writes the file only when every query
// of both settings passes succeeded; the file is written beside its target
// and renamed over it, so a failed query or write never damages an existing
// file.  Loading reads the file into the two settings records, sends them
// setting by setting, then refreshes what the program shows; reading and
// sending each tolerate five failures and stop at the sixth.
#pragma once

#include <string>
#include <vector>

#include "camera/CamTypes.h"
#include "settingsfile/SettingsLines.h"

struct SnapshotStats;

/// What a load or save shows the operator.  The desktop program shows the
/// progress panel, message pop-ups and the main panel's refresh; iccdctl
/// writes to stderr.
class SettingsFileUi {
public:
    virtual ~SettingsFileUi() = default;
    /// The stage a load has reached ("Reading Settings from File..." ...).
    virtual void progress(const char* message) = 0;
    /// The load is over; the progress display goes away.
    virtual void progressDone() = 0;
    /// A failure, in a pop-up with this title.
    virtual void error(const char* title, const char* message) = 0;
    /// Re-reads the camera and shows the result (the refresh button's job).
    virtual void refresh() = 0;
    /// Asks whether to go on after a warning (a file of another model);
    /// false stops the load before anything is sent.  Without a question to
    /// ask, the warning is told and the load goes on.
    virtual bool confirm(const char* warning)
    {
        error("Warning", warning);
        return true;
    }
    /// Sending has done step of total steps.  false asks the load to stop
    /// here (the operator cancelled); the camera is still re-read.
    virtual bool stepDone(int step, int total)
    {
        (void)step;
        (void)total;
        return true;
    }
};

/// Installs the interface used by the F_ functions below (nullptr: none).
void SetSettingsFileUi(SettingsFileUi* ui);

/// Messages of the load stages, exactly as the operator sees them.
inline constexpr const char* kReadingMessage = "Reading Settings from File...";
inline constexpr const char* kSendingMessage = "Sending Settings to Camera...";
inline constexpr const char* kRefreshingMessage = "Refreshing displayed values...";
inline constexpr const char* kReadAbortMessage = "Too many errors reading settings file. File load aborted.";
inline constexpr const char* kSendAbortMessage = "Too many errors sending to camera. File load aborted.";
inline constexpr const char* kLinkLostLoadMessage =
    "Camera link lost while sending settings. File load aborted.";
/// "Failure opening camera settings file." and, on a second line, the path
/// and the system's reason (RT_LastErrorText) for a file RT_OpenFile refused.
std::string SettingsFileOpenFailure(const char* path);

/// Steps of a settings file's sending.
inline constexpr int kSettingsSendSteps = 64;

inline constexpr const char* kSaveQueryFailedMessage =
    "Failure querying camera for current settings. File not saved.";

/// Failures a stage tolerates; the next one stops it.
inline constexpr int kSettingsFailureLimit = 5;

// ---------------------------------------------------------------------------
// Writing.

/// Queries the camera (main pass, then, if that succeeded, the advanced pass)
/// and writes the 90 lines to a file opened with RT_OpenFile(path, RT_WRITE).
/// When any query failed shows the "ERROR" message, naming the settings
/// that were not read, and writes nothing.  Returns 0
/// when written, else the status code of the query that stopped the pass.
/// The file is neither opened nor closed here.
int F_SaveSet_WriteSettings(int fileHandle, const char* comment);

/// The settings whose query failed in the two passes, by their names in the
/// file ("AGN, SB1, KB2"; a field the file does not carry in upper case).
std::string FailedSettingNames(const SnapshotStats& mainStats, const SnapshotStats& advStats);

/// Writes the 90 lines of the two records to an open file (no camera traffic).
/// The comment is cut to one line of at most 80 characters.
void WriteSettingsLines(int fileHandle, const char* comment, const CamMainSettings& main,
                        const CamAdvSettings& adv);

/// The whole save: query, write to a file beside path, rename it over path.
/// Returns 0 when saved; the status code of the failed query (message shown);
/// or -1 when the file could not be written (path untouched, message shown).
int SaveSettingsFile(const char* path, const char* comment);

// ---------------------------------------------------------------------------
// Reading and sending.

/// A line of the file that could not be read.
struct SettingsLineFailure {
    int line;            ///< line number in the file, from 1; 0 when the file has no such line
    std::string key;     ///< the setting's key ("AGN"), or the key the line gives
    std::string text;    ///< the line as it stands, shortened to 40 printable characters
    std::string reason;  ///< "missing", "not a number", "out of range: Manual Gain takes 0 to 36 dB" ...
};

/// A step of the sending that failed.
struct SettingsStepFailure {
    int step;          ///< 1 .. 64
    std::string keys;  ///< the keys of the lines it sends ("AGN"; "SSP, LLT, RLT")
    int status;        ///< the status code it ended with
};

/// Counts of one load, for callers that report more than the messages.
struct SettingsLoadResult {
    int readFailures = 0;
    int sendFailures = 0;
    bool readAborted = false;
    bool sendAborted = false;
    bool cancelled = false;  ///< the operator stopped the sending
    bool linkLost = false;   ///< the camera went away: the sending stopped there
    int stepsDone = 0;       ///< steps of the sending carried out (sent, skipped or failed)
    std::vector<SettingsLineFailure> failedLines;
    std::vector<SettingsStepFailure> failedSteps;
    /// Any line or step failed, or the load did not run to its end.
    bool failed() const
    {
        return readAborted || sendAborted || cancelled || linkLost || !failedLines.empty() ||
               !failedSteps.empty();
    }
};

/// Every failed line and step of a load, one per line of text:
/// "line 12 (AGN) "AGN: 3e38": not a number", "no line (ALV): missing",
/// "step 26 (SHS): Camera returned error message NAK.".
std::string LoadFailureSummary(const SettingsLoadResult& result);

/// "This settings file was saved from a VK-470; the camera is a VKC-475."
std::string OtherModelWarning(int fileModel, int cameraModel);

/// "Load cancelled: 12 of 64 steps were sent to the camera."
std::string CancelledLoadMessage(int stepsDone);

/// Reads an open file into the records (zero-filled by the caller).  The
/// header and the comment are taken by position; every other line carries the
/// setting of its key wherever it stands.  A value is taken only in the
/// writer's notation and, for a setting the camera's model has, within its
/// range (SettingsTable.h); a line that fails leaves its field as it was.  A
/// missing line, a line of no setting and a repeated key each count as a
/// failure.  Returns 0 with at most five failures, 1 with more (nothing is to
/// be sent then).  linesRead gets the lines whose value was read, details every
/// failure in file order, fileModelRow the model the file names (-1: none).
/// progressPanel is not written to.
int F_LoadSet_ReadSettings(int fileHandle, int progressPanel, CamMainSettings* main, CamAdvSettings* adv,
                           int* failures = nullptr, SettingsLineSet* linesRead = nullptr,
                           std::vector<SettingsLineFailure>* details = nullptr, int* fileModelRow = nullptr);

/// Sends the records to the camera in the fixed order of steps; a step fails
/// when any of its commands fails.  With linesRead, a setting whose line was
/// not read is not sent.  Returns 0 when at most five steps failed, 1 when
/// the sixth stopped the sending.  The camera ID string is sent only in
/// factory mode: it identifies the unit.
int F_LoadSet_SendSettings(const CamMainSettings* main, const CamAdvSettings* adv, int* failures = nullptr,
                           const SettingsLineSet* linesRead = nullptr);

/// F_LoadSet_SendSettings that tells the installed SettingsFileUi after each
/// of the 64 steps and stops after the step where it asked to (cancelled).
/// stepsDone gets the steps carried out, details each failed step.  The
/// sending also stops, returning 1, at once when the link is lost.  Before
/// it returns, the doubts a stray line cast on its sets are settled
/// (Comm_SettleDoubts).  Returns as F_LoadSet_SendSettings.
int SendSettingsSteps(const CamMainSettings* main, const CamAdvSettings* adv, int* failures,
                      const SettingsLineSet* linesRead, int* stepsDone, bool* cancelled,
                      std::vector<SettingsStepFailure>* details = nullptr);

/// Turns each value read from a line printed with decimals back into the
/// count it was printed from: the count whose value lies nearest, within half
/// a printed digit, so that a saved file loads back exactly where the digits
/// identify the count.  The record then holds a value that the command's set
/// function converts to that count.  Values no count lies that near to (typed
/// by hand) stay as they are.  Needs g_cam_model_idx.
void SnapToPrintedCounts(CamMainSettings* main, CamAdvSettings* adv, const SettingsLineSet& linesRead);

/// The sending half of a load, for records read from a file or kept from the
/// camera: the 64 steps of linesRead with the progress and cancel of the
/// installed SettingsFileUi, the two failure messages, then the refresh of
/// what the program shows.  Counts go to result.  false when the link was
/// lost (told already: nothing was re-read).  The caller holds the link.
bool SendAndShowSettings(const CamMainSettings& main, const CamAdvSettings& adv,
                         const SettingsLineSet& linesRead, SettingsLoadResult* result);

/// The whole load of an open file: read, send, refresh, with the progress
/// messages and the two "ERROR" messages.  Closes the file on every path.
void F_LoadSet_LoadSettings(int fileHandle);

/// F_LoadSet_LoadSettings with its counts.
SettingsLoadResult LoadSettingsFile(int fileHandle);

/// Reads a settings file by path into the records (no camera traffic).
/// Returns 0, 1 when the read was aborted, or -1 when the file cannot be opened.
int ReadSettingsFile(const char* path, CamMainSettings* main, CamAdvSettings* adv, int* failures = nullptr);
