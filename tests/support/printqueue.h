#pragma once

#include <QSet>
#include <QString>
#include <optional>

// The print queue that the test command sets up on a print server of its own (see
// scripts/print-server): its backend writes every job as a PDF file into one folder. A queue
// object remembers the files there when it is made, so that the job printed after is the new
// file. Tests that print take the CTest lock "printer" (PRINTER in tests/CMakeLists.txt).
class PrintQueue
{
public:
    PrintQueue();

    // The queue's name; empty when the tests run without the print server.
    static QString name();
    // Why there is no queue to print on, for a skipped test.
    static const char* missingReason();

    // Waits, up to timeoutMs, until the server has no job left to do and the backend has
    // written a new file; its path, or none with the reason in error (and the server's view
    // of its jobs).
    std::optional<QString> waitForPrinted(int timeoutMs = 30000, QString* error = nullptr);

private:
    QStringList newFiles() const;
    bool idle() const;

    QString folder_;
    QSet<QString> before_;
};
