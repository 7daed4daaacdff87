// The program's version, one number for every program of the package; CMake
// sets it from the project's version.
#pragma once

/// The version, such as "0.1".
const char* ProgramVersion();

/// The program's licence, one line, as the About box and the package give it.
const char* ProgramLicence();
