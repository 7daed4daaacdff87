// Line-oriented text files, addressed by integer handles.
//
// Files are written with CR LF line ends on every platform (they travel between
// Windows and Linux machines) and read with CR LF or LF.  A file opened for
// writing is written to a temporary file beside the target and only renamed
// over it by RT_CloseFile, so a failed or interrupted write never damages what
// was there; RT_DiscardFile abandons the write and leaves the target untouched.
// Every write is checked (flushed, synced and its errors looked at) before it
// replaces the old file.  Only regular files are read or replaced: a FIFO or a
// device node at the path is refused, and a read stops at kRtMaxReadBytes.
#pragma once

#include <cstddef>

enum RtFileAccess {
    RT_READ = 1,   ///< read-only, the file must exist
    RT_WRITE = 2,  ///< write-only, replacing the file's content when closed
    /// Like RT_WRITE, but where no temporary file can be made beside the
    /// target (a folder that is not writable), the target itself is written.
    /// The write is still checked; a failure is reported, never ignored.
    RT_WRITE_IN_PLACE_IF_NEEDED = 3,
};

/// No text file this program reads comes near this size; a read past it is
/// refused, so a device or an endless stream cannot keep a reader busy.
inline constexpr long kRtMaxReadBytes = 1L << 20;

/// Result of RT_ReadLine besides a length.
enum RtReadResult {
    RT_END_OF_FILE = -1,    ///< no more lines
    RT_LINE_TOO_LONG = -2,  ///< the line did not fit; it was consumed and cut
    RT_READ_ERROR = -3,
};

/// Opens a file; returns a handle (> 0) or -1 (the reason in
/// RT_LastErrorText).  Anything at the path but a regular file is refused.
int RT_OpenFile(const char* path, int access);

/// Closes a file.  For a written file this flushes it, syncs it to the disk
/// and checks every error before it commits it (renames the temporary file
/// over the target).  Returns 0, or -1 when the file could not be completed:
/// the target then keeps its old content byte for byte, and RT_LastErrorText
/// says why ("No space left on device" ...).
int RT_CloseFile(int handle);

/// The system's reason for the last failed open, write, read or close.
const char* RT_LastErrorText();

/// Abandons a file opened for writing without touching the target; closes a
/// file opened for reading.
void RT_DiscardFile(int handle);

/// Writes count bytes; returns count or -1.
int RT_WriteFile(int handle, const char* buffer, std::size_t count);

/// Writes text followed by CR LF; returns 0 or -1.
int RT_WriteLine(int handle, const char* text);

/// Reads the next line without its line end (CR LF, LF or CR) into buffer
/// (size bytes, always terminated).  Returns the line's length, or an RtReadResult.  A line longer
/// than size - 1 characters is consumed whole (never more than a bounded
/// amount in memory) and RT_LINE_TOO_LONG is returned with its start in buffer.
int RT_ReadLine(int handle, char* buffer, std::size_t size);

/// 1 when path names an existing file (its size in *size when given), else 0.
int GetFileInfo(const char* path, long* size);
