// iccdctl: the camera from the command line.
//
//   iccdctl [--port N | --device DEVICE] [--baud RATE] COMMAND [ARG...]
//
// Exit status: 0 success, 1 the camera or the link failed (reason on stderr),
// 2 usage error.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

/// Program entry: makes the Qt core application when there is none yet.
int RunIccdctl(int argc, char** argv);

/// Runs one command line (without the program name) against an existing Qt
/// application, writing to out and err.  Closes any port it opened.
int IccdctlMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
