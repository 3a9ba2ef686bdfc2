#include "fileio/files.h"

#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace fileio {

bool saveFile(const QString& path, QByteArrayView data, QString* error)
{
    // Unbuffered, so that the count written is what reached the file: a short write (a full
    // disk, a quota) returns a positive count and sets no error of the file's own.
    QSaveFile file(path);
    const auto fail = [&](const QString& reason) {
        file.cancelWriting();
        if (error)
            *error = reason;
        return false;
    };
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(file.errorString());
    qint64 written = 0;
    // After a short write, writing the rest once more fails outright and gives the reason.
    for (int attempt = 0; attempt < 2 && written < data.size(); ++attempt) {
        const qint64 count = file.write(data.data() + written, data.size() - written);
        if (count < 0)
            return fail(file.errorString());
        written += count;
    }
    if (written != data.size())
        return fail(QStringLiteral("The file could not be written completely"));
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

// Read with the system's own calls, so that a failure carries the system's reason: Qt words
// some of them its own way (a folder is "file to open is a directory").
std::optional<QByteArray> readFile(const QString& path, QString* error)
{
    const auto fail = [error](int number) {
        if (error)
            *error = qt_error_string(number);
        return std::nullopt;
    };
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return fail(errno);
    QByteArray bytes;
    char buffer[16384];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            const int number = errno;
            ::close(fd);
            return fail(number);
        }
        if (count == 0)
            break;
        bytes.append(buffer, count);
    }
    ::close(fd);
    return bytes;
}

}  // namespace fileio
