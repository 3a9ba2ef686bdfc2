#include "fileio/savefile.h"

#include <QSaveFile>
#include <cerrno>
#include <cstring>

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
    errno = 0;
    const qint64 written = data.isEmpty() ? 0 : file.write(data.data(), data.size());
    const int writeErrno = errno;
    if (written != data.size()) {
        if (written < 0 && file.error() != QFileDevice::NoError)
            return fail(file.errorString());
        return fail(writeErrno != 0 ? QString::fromLocal8Bit(std::strerror(writeErrno))
                                    : QStringLiteral("The file could not be written completely"));
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

}  // namespace fileio
