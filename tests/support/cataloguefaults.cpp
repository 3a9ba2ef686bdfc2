#include "support/cataloguefaults.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace cataloguefaults {

namespace {

quint32 bigEndian(const QByteArray& bytes, qsizetype offset, int size)
{
    quint32 value = 0;
    for (int i = 0; i < size; ++i)
        value = value << 8 | quint8(bytes[offset + i]);
    return value;
}

bool fail(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return false;
}

bool writeAll(const QString& path, const QByteArray& bytes, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        return fail(error, path + QStringLiteral(": ") + file.errorString());
    return true;
}

}  // namespace

QByteArray digestOf(const QString& path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return {};
    return hash.result().toHex();
}

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

bool cutInHalf(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.resize(file.size() / 2))
        return fail(error, path + QStringLiteral(": ") + file.errorString());
    return true;
}

bool invertPage(const QString& path, PageKind kind, int nth, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(error, path + QStringLiteral(": ") + file.errorString());
    QByteArray bytes = file.readAll();
    file.close();
    if (bytes.size() < 100)
        return fail(error, QStringLiteral("%1 has no database header").arg(path));
    const qsizetype pageSize = bigEndian(bytes, 16, 2) == 1 ? 65536 : bigEndian(bytes, 16, 2);
    // The first byte of a b-tree page's header: 13 a leaf of a table, 10 a leaf of an index.
    const char type = kind == PageKind::TableLeaf ? 13 : 10;
    int seen = 0;
    // Page 1 begins with the file's header; it is left alone.
    for (qsizetype page = pageSize; page + pageSize <= bytes.size(); page += pageSize) {
        if (bytes[page] != type || ++seen < nth)
            continue;
        // The records fill the page from the offset in the header's bytes 5 and 6 to its end.
        qsizetype content = bigEndian(bytes, page + 5, 2);
        if (content == 0)
            content = 65536;
        const qsizetype middle = page + (content + pageSize) / 2 - 8;
        for (qsizetype i = middle; i < middle + 16; ++i)
            bytes[i] = char(~bytes[i]);
        return writeAll(path, bytes, error);
    }
    return fail(error, QStringLiteral("%1 has no page %2 of that kind").arg(path).arg(nth));
}

CatalogueLock::CatalogueLock(const QString& path, bool write)
{
    QStringList arguments{path};
    if (write)
        arguments << QStringLiteral("--write");
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QStringLiteral(SONARITH_CATALOGUE_LOCKER), arguments);
    while (process_.waitForReadyRead(10000) || process_.canReadLine()) {
        if (process_.canReadLine()) {
            held_ = process_.readLine().trimmed() == "locked";
            break;
        }
    }
    if (!held_)
        error_ = QStringLiteral("the locking program did not lock %1 (%2)")
                     .arg(path, process_.errorString());
}

CatalogueLock::~CatalogueLock()
{
    if (process_.state() != QProcess::NotRunning && !release()) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

bool CatalogueLock::release()
{
    if (process_.state() == QProcess::NotRunning)
        return !held_;
    process_.write("\n");
    process_.closeWriteChannel();
    const bool ended = process_.waitForFinished(10000) &&
                       process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0;
    if (!ended)
        error_ = QStringLiteral("the locking program did not end cleanly");
    held_ = false;
    return ended;
}

ReadOnlyFile::ReadOnlyFile(const QString& path, bool keepModeBits) : path_(path)
{
    if (!keepModeBits &&
        !QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther)) {
        error_ = QStringLiteral("cannot change the mode of %1").arg(path);
        return;
    }
    if (::geteuid() != 0) {
        // Anyone else is stopped by the mode bits; the immutable attribute needs root.
        readOnly_ = !keepModeBits;
        if (!readOnly_)
            error_ = QStringLiteral("only root can make a file immutable");
        return;
    }
    immutable_ = setImmutable(true);
    readOnly_ = immutable_;
}

ReadOnlyFile::~ReadOnlyFile()
{
    if (immutable_)
        setImmutable(false);
}

bool ReadOnlyFile::setImmutable(bool on)
{
    const QByteArray name = QFile::encodeName(path_);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    int flags = 0;
    bool done = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    if (!done)
        error_ = QStringLiteral("the file system of %1 cannot make it immutable: %2")
                     .arg(path_, QString::fromLocal8Bit(std::strerror(errno)));
    if (fd >= 0)
        ::close(fd);
    return done;
}

}  // namespace cataloguefaults
