// Finding the camera at start-up.
#pragma once

#include <string>

/// Opens port at baud and asks for the camera's model; when nothing answers
/// there and scan is non-zero, tries ports 1 to 8 in turn.  The port where a
/// camera answered stays open, becomes g_com_port and its model is recorded.
/// Returns 0 when a camera answered; otherwise g_com_port is 0 and the result 1.
int OpenCamera(int port, int baud, int scan);

/// Why the last OpenCamera found no camera where the reason is worth telling:
/// "COM3 (/dev/ttyUSB0) is in use by another program." for the first port
/// that another program holds; "" otherwise.
std::string Comm_OpenCameraProblem();
