#include "support/recordinguiservices.h"

RecordingUiServices::RecordingUiServices()
{
    UiServices::install(this);
}

RecordingUiServices::~RecordingUiServices()
{
    UiServices::install(nullptr);
}

void RecordingUiServices::showMessage(QWidget*, const QString& text, MessageKind kind)
{
    messages.append({text, kind});
}

QString RecordingUiServices::chooseSaveFile(QWidget*, const FileRequest& request)
{
    fileRequests.append(request);
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
}

QString RecordingUiServices::chooseOpenFile(QWidget*, const FileRequest& request)
{
    fileRequests.append(request);
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
}

void RecordingUiServices::clear()
{
    beeps = 0;
    messages.clear();
    fileRequests.clear();
    fileAnswers.clear();
}
