#include "platform/Version.h"

#ifndef ICCD_VERSION
#error "ICCD_VERSION comes from CMake (the project's version)"
#endif

const char* ProgramVersion()
{
    return ICCD_VERSION;
}
