#pragma once

#include <QObject>
#include <QWidget>

// The child of owner with the object name given; a test that names a missing control stops.
template <typename T = QWidget> T* findControl(const QObject& owner, const char* name)
{
    T* control = owner.findChild<T*>(QLatin1String(name));
    if (!control)
        qFatal("no control %s", name);
    return control;
}
