#include "platform/WaitCursor.h"

namespace {

WaitCursorHook s_hook = nullptr;

}  // namespace

void SetWaitCursorHook(WaitCursorHook hook)
{
    s_hook = hook;
}

void SetWaitCursor(int on)
{
    if (s_hook) s_hook(on);
}
