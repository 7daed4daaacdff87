// Finding the camera at start-up.
#pragma once

#include <string>

/// Opens port at baud and asks for the camera's model; when nothing answers
/// there and scan is non-zero, tries ports 1 to 8 in turn.  The port where a
/// camera answered stays open, becomes g_com_port and its model is recorded.
/// Returns 0 when a camera answered; otherwise g_com_port is 0 and the result 1.
int OpenCamera(int port, int baud, int scan);

/// Why the last OpenCamera found no camera: one line for each port it
/// tried, in order, naming the port, its device and the reason ("COM3
/// (/dev/ttyUSB0): The device is in use by another program.", "COM1
/// (/dev/ttyS0): nothing answered.").  Empty after a camera was found.
std::string Comm_OpenCameraReport();

/// Opens g_com_port again after its device went away (Comm_LinkLost) and asks
/// for the camera's model there.  COMM_OK: a camera answered, the port stays
/// open and the model is recorded (it may differ from before).  Otherwise
/// the port is left closed, so the link stays lost: COMM_LINK_LOST when the
/// device cannot be opened or nothing answers, COMM_BUSY (nothing done) while
/// a transaction waits.  It is an operation of its own (LinkQueue.h).  With a working link it only asks for
/// the model.
int Comm_Reconnect();
