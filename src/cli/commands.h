#pragma once

#include <QStringList>

namespace cli {

// Each command takes its own arguments, its name first, and returns the exit status.
int runDigits(const QStringList& arguments);
int runNote(const QStringList& arguments);
int runTone(const QStringList& arguments);
int runRender(const QStringList& arguments);
int runPlay(const QStringList& arguments);
int runAnalyze(const QStringList& arguments);
int runChain(const QStringList& arguments);
int runReduce(const QStringList& arguments);
int runSum(const QStringList& arguments);
int runCatalogue(const QStringList& arguments);
int runReport(const QStringList& arguments);

}  // namespace cli
