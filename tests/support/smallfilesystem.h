#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A small tmpfs for saves into a file system that runs full, mounted in a mount namespace of
// the test process's own: it vanishes with the process, however that ends, and programs the
// test starts see it too.
class SmallFileSystem
{
public:
    // Gives the process its own mount namespace; false with the reason when it cannot mount
    // (not root, or no namespaces here).
    static bool enterOwnNamespace(QString* why);

    SmallFileSystem();
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;
    ~SmallFileSystem();

    // Mounts an empty file system of size bytes; false with the reason otherwise.
    bool mount(qint64 size, QString* why);
    void unmount();

    QString path(const QString& name) const;
    bool put(const QString& name, const QByteArray& contents) const;
    // Fills the file system until at most bytes stay free.
    void fillLeaving(qint64 bytes) const;
    // Every name in it but the filler's, hidden ones too.
    QStringList namesBesideFiller() const;

private:
    QTemporaryDir folder_;
    QString mount_;
    bool mounted_ = false;
};
