// Serial-port services: numbered ports (1..32) with a receive queue, a receive
// callback delivered on the user-interface thread, and byte-level I/O.
//
// A port number names a device through the port map (ComPortMap.h): a serial
// device, "tcp:HOST:PORT" (a serial device server), or a text that the
// program's transport factory knows (Transport.h), such as "sim:MODEL" for the
// simulated camera in this process.  Received bytes are collected by the Qt
// event loop into the port's input queue; the installed callback then runs from
// that same loop, so it never races with the program's own code.
#pragma once

/// Status codes of the serial services (0 is success).
enum Rs232Status {
    kRS_Ok = 0,
    kRS_UnknownSysError = -1,
    kRS_InvalidPortNum = -2,
    kRS_PortNotOpen = -3,
    kRS_UnknownIOError = -4,
    kRS_NoPortFound = -6,
    kRS_CanNotOpenPort = -7,
    kRS_PortInUse = -8,  ///< another program (or another port of this one) holds the device
    kRS_InvalidParameter = -13,
    kRS_InvalidBaudRate = -14,
    kRS_InvalidParity = -24,
    kRS_InvalidDataBits = -34,
    kRS_InvalidStopBits = -44,
    kRS_LinkDown = -50,
    kRS_TimeOutErr = -99,
};

/// Receive events a callback can ask for (combine with |).
enum Rs232Event {
    LWRS_RXCHAR = 0x0001,    ///< any character received
    LWRS_LINKDOWN = 0x4000,  ///< the device went away (once per open)
    LWRS_RECEIVE = 0x8000,   ///< at least notifyCount bytes waiting
};

/// Highest port number.
inline constexpr int kMaxComPort = 32;

using ComCallbackPtr = void (*)(int portNumber, int eventMask, void* callbackData);

/// Opens a port.  deviceName "COMn" (or empty) means "the device the port map
/// gives for this port"; any other text names the device directly.  parity 0
/// none, 1 odd, 2 even, 3 mark, 4 space; dataBits 5..8; stopBits 1 or 2.  An
/// already open port is closed first.  Anything waiting from before the open is
/// discarded.  Returns 0 or a negative Rs232Status.
int OpenComConfig(int port, const char* deviceName, long baudRate, int parity, int dataBits, int stopBits,
                  int inputQueueSize, int outputQueueSize);

/// Closes the port and forgets its queue and callback.  Closing a port that is
/// not open returns kRS_PortNotOpen.
int CloseCom(int port);

/// Installs (or, with eventMask 0 or a null callback, removes) the receive
/// callback.  It runs from the event loop whenever bytes arrived and the queue
/// holds at least notifyCount bytes.  With LWRS_LINKDOWN in the mask it also
/// runs once, with that event alone, from the event loop after the device went
/// away (never from inside the call that found it gone).  eventCharacter is
/// accepted for completeness and not used.
int InstallComCallback(int port, int eventMask, int notifyCount, int eventCharacter, ComCallbackPtr callback,
                       void* callbackData);

/// Number of bytes waiting in the input queue, or a negative status.
int GetInQLen(int port);

/// Takes one byte (0..255) from the input queue; kRS_TimeOutErr when empty.
int ComRdByte(int port);

/// Writes count bytes; returns the number written or a negative status.  A
/// device that refuses the bytes is taken as gone (IsComLinkDown).
int ComWrt(int port, const char* buffer, int count);

/// Discards the input queue (bytes already received and not yet read).
int FlushInQ(int port);

/// Discards output not yet handed to the device.
int FlushOutQ(int port);

/// Debugging aid of the original run-time: a no-op switch kept for callers.
/// Returns the previous setting.
int SetBreakOnLibraryErrors(int newState);

/// 1 when nothing can answer on the port: it is not open, or its device has
/// gone away (unplugged adapter, closed pseudo-terminal, dropped connection)
/// since it was opened; else 0.  A port whose device went away stays "open"
/// until closed; writes fail and nothing more arrives.
int IsComLinkDown(int port);

/// Frees what closed ports held.  Happens by itself from the event loop; a
/// program that ends without running its loop again calls it after closing
/// its ports.  Not to be called from a receive callback.
void ReleaseClosedPorts();

/// Why the last OpenComConfig failed, with the system's own words where it
/// gave any: "Cannot open port: Permission denied."; "" after a success.
const char* GetComOpenErrorText();

/// Text for an Rs232Status code.
const char* GetRS232ErrorString(int status);

/// Test aid: hands bytes to an open port exactly as if its device had sent
/// them (queued, then the receive callback runs).  Returns 0 or a negative status.
int ComInjectReceived(int port, const char* bytes, int count);
