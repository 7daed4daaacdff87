// The program's version, one number for every program of the package; CMake
// sets it from the project's version.
#pragma once

/// The version, such as "0.1".
const char* ProgramVersion();
