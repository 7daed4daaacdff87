// The Help menu: the user guide in the desktop's browser, and the About box.
#pragma once

#include <string>

/// Where the user guide's HTML is: beside an installed program
/// (share/doc/ulvo-iccd-control), else in the build tree it was built in.
/// Empty when neither has it.
std::string UserGuidePath();

/// The About box's text: the program and its version, the Qt it was built
/// with and runs on, and the licences.
std::string AboutText();

/// Makes the Help menu's commands known by the names the menu bar gives.
void RegisterHelpCallbacks();
