#pragma once

#include <QCommandLineParser>
#include <QDate>
#include <QString>
#include <optional>

namespace cli {

// The numerology calculator's inputs as `analyze` takes them: the text prepared as the
// calculator prepares a handed-over text, its method and an optional date.
struct AnalysisInput
{
    int method = 0;
    QString text;
    std::optional<QDate> date;
};

// --method, --raw, --y-vowel, --date and TEXT, shared by every command that analyses a text.
struct AnalysisOptions
{
    AnalysisOptions();
    void addTo(QCommandLineParser& parser) const;
    // The inputs given; none, with the exit status in status, after saying what was wrong.
    std::optional<AnalysisInput> read(const QCommandLineParser& parser, const QString& command,
                                      int* status) const;

    QCommandLineOption method;
    QCommandLineOption raw;
    QCommandLineOption yVowel;
    QCommandLineOption date;
};

}  // namespace cli
