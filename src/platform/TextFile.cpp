#include "platform/TextFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

struct OpenFile {
    std::unique_ptr<QFile> reader;
    std::unique_ptr<QSaveFile> writer;
    long bytesRead = 0;
};

std::string s_last_error;

void failed(const QString& reason)
{
    s_last_error = reason.toStdString();
}

// Pushes what Qt still buffers to the system and the system's cache to the
// disk, looking at every error on the way: a full disk may only show here.
bool completeWrite(QSaveFile& out)
{
    errno = 0;
    if (!out.flush() || out.error() != QFileDevice::NoError) {
        // The system's own words ("No space left on device") say more than Qt's.
        const int reason = errno;
        failed(reason != 0 ? QString::fromLocal8Bit(std::strerror(reason)) : out.errorString());
        return false;
    }
#ifdef Q_OS_UNIX
    if (::fsync(out.handle()) != 0) {
        failed(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
#endif
    return true;
}

std::map<int, OpenFile>& files()
{
    static std::map<int, OpenFile> table;
    return table;
}

int s_next_handle = 1;

OpenFile* find(int handle)
{
    auto it = files().find(handle);
    return it == files().end() ? nullptr : &it->second;
}

}  // namespace

int RT_OpenFile(const char* path, int access)
{
    if (!path || !*path) return -1;
    OpenFile file;
    const QString name = QString::fromLocal8Bit(path);
    const QFileInfo info(name);
    // A FIFO or a device never ends and must not be replaced by a plain file.
    if (info.exists() && !info.isFile()) {
        failed(QStringLiteral("not a regular file"));
        return -1;
    }
    if (access == RT_READ) {
        file.reader = std::make_unique<QFile>(name);
        if (!file.reader->open(QIODevice::ReadOnly)) {
            failed(file.reader->errorString());
            return -1;
        }
    } else if (access == RT_WRITE || access == RT_WRITE_IN_PLACE_IF_NEEDED) {
        file.writer = std::make_unique<QSaveFile>(name);
        file.writer->setDirectWriteFallback(access == RT_WRITE_IN_PLACE_IF_NEEDED);
        if (!file.writer->open(QIODevice::WriteOnly)) {
            failed(file.writer->errorString());
            return -1;
        }
    } else {
        return -1;
    }
    const int handle = s_next_handle++;
    files().emplace(handle, std::move(file));
    return handle;
}

int RT_CloseFile(int handle)
{
    OpenFile* file = find(handle);
    if (!file) return -1;
    bool ok = true;
    if (file->writer) {
        QSaveFile& out = *file->writer;
        if (!completeWrite(out)) {
            out.cancelWriting();
            ok = false;
        } else if (!out.commit()) {
            failed(out.errorString());
            ok = false;
        }
    }
    files().erase(handle);
    return ok ? 0 : -1;
}

void RT_DiscardFile(int handle)
{
    OpenFile* file = find(handle);
    if (!file) return;
    if (file->writer) file->writer->cancelWriting();
    files().erase(handle);
}

int RT_WriteFile(int handle, const char* buffer, std::size_t count)
{
    OpenFile* file = find(handle);
    if (!file || !file->writer) return -1;
    const qint64 n = file->writer->write(buffer, static_cast<qint64>(count));
    if (n == static_cast<qint64>(count)) return static_cast<int>(n);
    failed(file->writer->errorString());
    return -1;
}

int RT_WriteLine(int handle, const char* text)
{
    const std::size_t length = std::char_traits<char>::length(text);
    if (RT_WriteFile(handle, text, length) < 0) return -1;
    return RT_WriteFile(handle, "\r\n", 2) < 0 ? -1 : 0;
}

int RT_ReadLine(int handle, char* buffer, std::size_t size)
{
    OpenFile* file = find(handle);
    if (!file || !file->reader || size == 0) return RT_READ_ERROR;
    QFile& in = *file->reader;
    std::size_t length = 0;
    bool cut = false;
    bool any = false;
    char c = 0;
    // Byte by byte from Qt's buffer: a line of any length costs no memory.
    while (in.getChar(&c)) {
        if (++file->bytesRead > kRtMaxReadBytes) {
            failed(QStringLiteral("the file is too large"));
            return RT_READ_ERROR;
        }
        any = true;
        if (c == '\n') break;
        if (c == '\r') {
            // CR LF, LF alone and CR alone end a line alike.
            char next = 0;
            if (in.peek(&next, 1) == 1 && next == '\n' && in.getChar(&next)) ++file->bytesRead;
            break;
        }
        if (length + 1 < size) {
            buffer[length++] = c;
        } else {
            cut = true;
        }
    }
    if (!any) {
        buffer[0] = '\0';
        return in.error() == QFileDevice::NoError ? RT_END_OF_FILE : RT_READ_ERROR;
    }
    buffer[length] = '\0';
    return cut ? RT_LINE_TOO_LONG : static_cast<int>(length);
}

const char* RT_LastErrorText()
{
    return s_last_error.c_str();
}

int GetFileInfo(const char* path, long* size)
{
    if (!path) return 0;
    QFile file(QString::fromLocal8Bit(path));
    if (!file.exists()) return 0;
    if (size) *size = static_cast<long>(file.size());
    return 1;
}
