#include "ui/UiDriverHooks.h"

namespace uiimpl {

DriverState& Driver()
{
    static DriverState state;
    return state;
}

}  // namespace uiimpl
