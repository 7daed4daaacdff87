// The port map: which device a port number (1..32) stands for.
//
// Order of precedence: a device set in this process with SetComPortDevice, the
// environment variable ICCD_COM<n>, then the platform default (Windows "COMn";
// Linux /dev/ttyS0..7 for 1..8, /dev/ttyUSB0..7 for 9..16, /dev/ttyACM0..7 for
// 17..24, nothing for 25..32).
#pragma once

#include <QString>

/// Device text for a port; empty when the port maps to nothing.
QString ComPortDevice(int port);

/// Platform default device for a port, ignoring overrides and the environment.
QString DefaultComPortDevice(int port);

/// Maps a port to a device for the rest of this process (empty text removes
/// the override).
void SetComPortDevice(int port, const QString& device);

/// Removes every override made with SetComPortDevice.
void ClearComPortDevices();
