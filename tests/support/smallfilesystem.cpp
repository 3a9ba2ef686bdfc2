#include "support/smallfilesystem.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

const char kFiller[] = "filler";

QString lastError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

}  // namespace

bool SmallFileSystem::enterOwnNamespace(QString* why)
{
    if (geteuid() != 0) {
        *why = QStringLiteral("mounting a small file system needs root");
        return false;
    }
    if (unshare(CLONE_NEWNS) != 0 ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        *why = QStringLiteral("no mount namespace of the test's own: ") + lastError();
        return false;
    }
    return true;
}

SmallFileSystem::SmallFileSystem() : mount_(folder_.filePath(QStringLiteral("small")))
{
    QDir().mkpath(mount_);
}

SmallFileSystem::~SmallFileSystem()
{
    unmount();
}

bool SmallFileSystem::mount(qint64 size, QString* why)
{
    const QByteArray options = "size=" + QByteArray::number(size);
    if (!folder_.isValid() || ::mount("tmpfs", QFile::encodeName(mount_).constData(), "tmpfs", 0,
                                      options.constData()) != 0) {
        *why = QStringLiteral("cannot mount a small file system: ") + lastError();
        return false;
    }
    mounted_ = true;
    return true;
}

void SmallFileSystem::unmount()
{
    if (mounted_)
        umount2(QFile::encodeName(mount_).constData(), MNT_DETACH);
    mounted_ = false;
}

QString SmallFileSystem::path(const QString& name) const
{
    return QDir(mount_).filePath(name);
}

bool SmallFileSystem::put(const QString& name, const QByteArray& contents) const
{
    QFile file(path(name));
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size() &&
           file.flush();
}

void SmallFileSystem::fillLeaving(qint64 bytes) const
{
    QFile filler(path(QLatin1String(kFiller)));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return;
    const QByteArray page(4096, 'x');
    for (;;) {
        struct statvfs info;
        if (statvfs(QFile::encodeName(mount_).constData(), &info) != 0 ||
            qint64(info.f_bavail) * qint64(info.f_bsize) <= bytes)
            break;
        if (filler.write(page) != page.size())
            break;
    }
}

QStringList SmallFileSystem::namesBesideFiller() const
{
    QStringList names = QDir(mount_).entryList(QDir::AllEntries | QDir::NoDotAndDotDot |
                                               QDir::Hidden | QDir::System);
    names.removeOne(QLatin1String(kFiller));
    return names;
}
