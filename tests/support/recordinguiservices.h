#pragma once

#include "controls/uiservices.h"

#include <QList>
#include <QStringList>

// Stands in for the desktop while a test runs: counts beeps, keeps every message and
// answers file dialogs from a queue (an empty queue answers Cancel). Installs itself for
// its lifetime.
class RecordingUiServices final : public UiServices
{
public:
    struct Message
    {
        QString text;
        MessageKind kind;
    };

    RecordingUiServices();
    ~RecordingUiServices() override;

    void beep() override { ++beeps; }
    void showMessage(QWidget* parent, const QString& text, MessageKind kind) override;
    QString chooseSaveFile(QWidget* parent, const FileRequest& request) override;
    QString chooseOpenFile(QWidget* parent, const FileRequest& request) override;
    // Shows the window without waiting and answers Rejected.
    int execDialog(QDialog* dialog) override;
    // Answers drawAnswer, so that a test decides whether the donation window shows.
    int randomDraw(int) override { return drawAnswer; }

    void clear();

    int beeps = 0;
    QList<Message> messages;
    QList<FileRequest> fileRequests;
    QStringList fileAnswers;
    QList<QDialog*> dialogs;
    int drawAnswer = 0;
};
