// Shared set-up for the settings-file tests: a simulated colour camera with a
// known value in every register, files in a scratch folder, and a recording
// stand-in for the desktop program's progress panel and pop-ups.
#pragma once

#include <QTemporaryDir>
#include <string>
#include <utility>
#include <vector>

#include "settingsfile/SettingsFile.h"
#include "sim/SimCamera.h"
#include "support/SimLink.h"

/// Records what a load or save shows.
class RecordingUi final : public SettingsFileUi {
public:
    void progress(const char* message) override { events.push_back(std::string("progress: ") + message); }
    void progressDone() override { events.push_back("done"); }
    void error(const char* title, const char* message) override
    {
        events.push_back(std::string(title) + ": " + message);
    }
    void refresh() override { events.push_back("refresh"); }
    bool stepDone(int step, int total) override
    {
        lastStep = step;
        steps = total;
        return step != cancelAtStep;
    }
    std::vector<std::string> events;
    int lastStep = 0, steps = 0;
    int cancelAtStep = -1;  ///< the operator cancels once this step is done
};

class SettingsFileTest : public SimLinkTest {
protected:
    void SetUp() override;
    void TearDown() override;

    /// Puts the known values of the hand-written file into a colour camera.
    static void setKnownValues(sim::SimCamera& camera);

    std::string path(const char* name) const
    {
        return dir_.filePath(QString::fromLatin1(name)).toStdString();
    }
    static std::string readAll(const std::string& path);
    static void writeAll(const std::string& path, const std::string& text);
    /// The mnemonics of the commands the camera received, in order ("AGN=", "SAC?").
    std::vector<std::string> sentCommands(int port = 1);

    RecordingUi ui_;
    QTemporaryDir dir_;
};

/// The lines of a CR LF text, without their ends.
std::vector<std::string> SplitLines(const std::string& text);

/// The 90 lines the program writes for the camera of setKnownValues (CR LF
/// line ends), with this comment.  No value equals a digit of its own key, so
/// a reader that took the digit from "SB2" or "K[RED1]" would read it wrong.
std::string KnownValuesFile(const char* comment);

/// The settings that are either 0 or 1.
inline constexpr const char* kOnOffKeys[] = {"CMD", "DFC", "ESH", "BIN", "SB2", "GAM", "MFT",
                                             "MIR", "SHE", "TMD", "VMD", "VPS", "AEC", "SB1",
                                             "WDS", "WBM", "SHA", "SEN", "CDI", "SSE"};

/// KnownValuesFile with each of them at its other value, so that every one
/// appears at both.
std::string OnOffFlippedFile(const char* comment);
