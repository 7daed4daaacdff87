// The program's icon, for its windows.
#pragma once

#include <QIcon>

/// The camera of data/iccd-control.svg, painted at the sizes desktops ask for
/// (16 to 256 pixels), so no image plug-in is needed to show it.
QIcon ProgramIcon();
