#include "fileio/savefile.h"

#include <QSaveFile>

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

}  // namespace fileio
