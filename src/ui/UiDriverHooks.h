// What the offscreen test driver (tests/support/UiTestDriver) changes inside
// the user-interface services.  The driver itself is test code and is not
// part of any program; these hooks stay here because the pop-ups must consult
// them.  Nothing in the programs sets them, so pop-ups then go to the screen.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace uiimpl {

struct FileDialogRequest {
    std::string directory, pattern, title;
    int buttonLabel = 0;
};

struct DriverState {
    /// MessagePopup returns at once and keeps (title, text) in popups.
    bool recordPopups = false;
    std::vector<std::pair<std::string, std::string>> popups;
    /// Answers for ConfirmPopup, in order (true: OK); without one it is cancelled.
    /// ActionMessagePopup takes them too (true: the action; none: OK).
    std::deque<bool> confirmAnswers;
    /// Answers for FileSelectPopup, in order; nullopt cancels.
    std::deque<std::optional<std::string>> fileAnswers;
    /// What FileSelectPopup was asked while answered by the driver.
    std::vector<FileDialogRequest> fileDialogs;
    /// What OpenDocument was asked to open (nothing is opened while recording).
    std::vector<std::string> documents;
};

DriverState& Driver();

}  // namespace uiimpl
