#include "platform/WaitCursor.h"

namespace {

WaitCursorHook g_hook = nullptr;

}  // namespace

void SetWaitCursorHook(WaitCursorHook hook)
{
    g_hook = hook;
}

void SetWaitCursor(int on)
{
    if (g_hook) g_hook(on);
}
