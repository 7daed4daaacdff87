// The busy cursor shown while the program waits for the camera.
//
// The camera layer asks for it without knowing whether a window system exists:
// the user-interface services install the hook that shows the cursor, and a
// program without them (the command-line tools) never does, so the request
// costs nothing there.
#pragma once

/// Shows (1) or removes (0) the busy cursor.
using WaitCursorHook = void (*)(int on);

/// Installs the hook SetWaitCursor calls; nullptr removes it.
void SetWaitCursorHook(WaitCursorHook hook);

/// 1 shows the wait cursor, 0 restores the normal one.  Does nothing until a
/// hook is installed.
void SetWaitCursor(int on);
