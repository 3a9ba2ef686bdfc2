#pragma once

#include <QByteArrayView>
#include <QString>
#include <optional>

namespace fileio {

// Writes data as the whole new content of the file at path. The file is replaced only
// once every byte has been written and synced; otherwise the earlier file stays byte for
// byte as it was and error (when given) holds the system's reason, such as "No space left
// on device". Every file the program writes goes through here.
bool saveFile(const QString& path, QByteArrayView data, QString* error = nullptr);

// The whole content of the file at path; none, with the system's reason ("Permission denied",
// "Is a directory") in error (when given), when it cannot be opened or read.
std::optional<QByteArray> readFile(const QString& path, QString* error = nullptr);

}  // namespace fileio
