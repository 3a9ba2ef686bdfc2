#include "app/program.h"

#include "console/ui/toneform.h"
#include "numerology/ui/calcform.h"
#include "numerology/ui/calculatorform.h"
#include "numerology/ui/yform.h"
#include "shell/ui/donateform.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>

Program::Program()
    : toneFrm_(std::make_unique<TToneFrm>()), calcFrm_(std::make_unique<TCalcFrm>()),
      yFrm_(std::make_unique<TYFrm>()), calculatorFrm_(std::make_unique<TCalculatorFrm>()),
      donateFrm_(std::make_unique<TDonateFrm>())
{}

Program::~Program() = default;

QList<QWidget*> Program::windows() const
{
    return {toneFrm_.get(), calcFrm_.get(), yFrm_.get(), calculatorFrm_.get(), donateFrm_.get()};
}

bool Program::saveScreenshots(const QString& folder, QString* error) const
{
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("Cannot create folder %1").arg(folder);
        return false;
    }
    const QDir dir(folder);
    for (QWidget* window : windows()) {
        const bool wasVisible = window->isVisible();
        window->show();
        QApplication::processEvents();
        const QString path = dir.filePath(QString::fromLatin1(window->metaObject()->className()) +
                                          QStringLiteral(".png"));
        const bool saved = window->grab().save(path, "PNG");
        if (!wasVisible)
            window->hide();
        if (!saved) {
            *error = QStringLiteral("Cannot create file %1").arg(path);
            return false;
        }
    }
    return true;
}
