#pragma once

#include "controls/uiservices.h"

#include <QList>
#include <QStringList>
#include <functional>

// Stands in for the desktop while a test runs: counts beeps, keeps every message and
// answers questions and file dialogs from queues (an empty queue answers Cancel). Installs
// itself for its lifetime.
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
    bool ask(QWidget* parent, const QString& text) override;
    QString chooseSaveFile(QWidget* parent, const FileRequest& request) override;
    QString chooseOpenFile(QWidget* parent, const FileRequest& request) override;
    // Shows the window, runs whileShown on it (a test's user of a window that is destroyed as
    // soon as it closes) and answers Rejected without waiting.
    int execDialog(QDialog* dialog) override;
    // Answers drawAnswer, so that a test decides whether the donation window shows.
    int randomDraw(int) override { return drawAnswer; }

    void clear();

    int beeps = 0;
    QList<Message> messages;
    QStringList questions;
    QList<bool> answers;
    QList<FileRequest> fileRequests;
    QStringList fileAnswers;
    QList<QDialog*> dialogs;
    std::function<void(QDialog*)> whileShown;
    int drawAnswer = 0;
};
