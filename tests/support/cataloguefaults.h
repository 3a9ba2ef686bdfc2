#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

// Faults of a catalogue file made for real, for the tests that the program survives them and
// leaves the file as it was.
namespace cataloguefaults {

// The SHA-256 of a file's bytes; empty when it cannot be read.
QByteArray digestOf(const QString& path);
// The names in a folder, hidden ones included: a journal left beside a catalogue shows here.
QStringList entriesOf(const QString& folder);

// Cuts the file to half its size.
bool cutInHalf(const QString& path, QString* error);

enum class PageKind { TableLeaf, IndexLeaf };
// Inverts 16 bytes in the middle of the records of the nth page (from 1) of that kind, as a
// failing disk would; the file's header and the other pages stay as they are.
bool invertPage(const QString& path, PageKind kind, int nth, QString* error);

// Another program holding the catalogue under an exclusive lock from the construction until
// release() or the destruction: a process of its own, since locks within one process are
// shared by SQLite. With write it has changed the records too, not yet committed.
class CatalogueLock
{
public:
    CatalogueLock(const QString& path, bool write);
    ~CatalogueLock();
    CatalogueLock(const CatalogueLock&) = delete;
    CatalogueLock& operator=(const CatalogueLock&) = delete;

    bool isHeld() const { return held_; }
    // What went wrong in taking or releasing the lock.
    QString errorString() const { return error_; }
    // Rolls the other program's transaction back and waits for it to end.
    bool release();

private:
    QProcess process_;
    bool held_ = false;
    QString error_;
};

// A file that may not be written even by root, who passes every permission check: the mode
// bits are taken away (unless keepModeBits) and, for root, the file system's immutable
// attribute is set, which the kernel enforces for root too. Undone on destruction, since a
// folder holding an immutable file cannot be removed.
class ReadOnlyFile
{
public:
    ReadOnlyFile(const QString& path, bool keepModeBits);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // False when the file system offers no way; errorString() says why.
    bool isReadOnly() const { return readOnly_; }
    QString errorString() const { return error_; }

private:
    bool setImmutable(bool on);

    QString path_;
    bool immutable_ = false;
    bool readOnly_ = false;
    QString error_;
};

}  // namespace cataloguefaults
