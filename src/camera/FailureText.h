// What an operator is told when a camera command fails: the fixed message of
// the status, then a line that names the setting, the value and the reason.
#pragma once

#include <string>

/// The line that says what the failed transaction of Comm_LastFailure was
/// and why it failed, e.g. "Setting AGN (Manual Gain) to 49.98 dB (count
/// 1420): the camera refused it."  Empty unless that failure belongs to the
/// latest operation and ended with status: it would describe another command.
std::string Comm_FailureDetail(int status);

/// Comm_GetMessageErrorStr(status), and on a second line Comm_FailureDetail
/// when there is one.
std::string Comm_FailureText(int status);
