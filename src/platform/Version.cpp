#include "platform/Version.h"

#ifndef ICCD_VERSION
#error "ICCD_VERSION comes from CMake (the project's version)"
#endif

const char* ProgramVersion()
{
    return ICCD_VERSION;
}

const char* ProgramLicence()
{
    return "Copyright \u00a9 2026 Ulvo. All rights reserved.";
}
