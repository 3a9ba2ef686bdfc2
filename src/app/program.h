#pragma once

#include <QList>
#include <QString>
#include <memory>

class QWidget;
class TToneFrm;
class TCalcFrm;
class TYFrm;
class TCalculatorFrm;
class TDonateFrm;

// The windows that live as long as the program, created in this order: the tone console
// first (it is the main window), then the four secondary windows, hidden until called,
// each handed to the windows that open it.
class Program
{
public:
    Program();
    ~Program();

    TToneFrm& ToneFrm() const { return *toneFrm_; }
    TCalcFrm& CalcFrm() const { return *calcFrm_; }
    TYFrm& YFrm() const { return *yFrm_; }
    TCalculatorFrm& CalculatorFrm() const { return *calculatorFrm_; }
    TDonateFrm& DonateFrm() const { return *donateFrm_; }

    // Every window, in the order of creation.
    QList<QWidget*> windows() const;

    // Grabs every window at its natural size into "<class name>.png" in folder: the windows
    // above, the links window, the report chooser, the help window on the numerology page
    // (only when the data folder holds the help file), and then the catalogue's maintenance
    // and delete windows and the preview of its listing by source (these only when the
    // catalogue can be opened). On failure returns false and says why in error.
    bool saveScreenshots(const QString& folder, QString* error) const;

    // What the console says, once each time, when the sound server goes away while it plays.
    static QString soundLostMessage();

private:
    void prepareScreenshots() const;

    std::unique_ptr<TToneFrm> toneFrm_;
    std::unique_ptr<TCalcFrm> calcFrm_;
    std::unique_ptr<TYFrm> yFrm_;
    std::unique_ptr<TCalculatorFrm> calculatorFrm_;
    std::unique_ptr<TDonateFrm> donateFrm_;
};
