// The busy cursor shown while the program waits for the camera.
#pragma once

/// 1 shows the wait cursor, 0 restores the normal one.  Does nothing in a
/// program without a window system (the command-line tools).
void SetWaitCursor(int on);
