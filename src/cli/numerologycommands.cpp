#include "cli/analysisinput.h"
#include "cli/cliutil.h"
#include "cli/commands.h"
#include "numerology/analysis.h"
#include "numerology/datecalc.h"
#include "numerology/letters.h"
#include "numerology/reducesum.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <limits>

namespace cli {

namespace {

// Marks upper-case Ys as vowels: "all", or a comma list of 1-based Y numbers.
std::optional<QString> markYs(QString text, const QString& list, QString* error)
{
    QList<qsizetype> positions;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'Y')
            positions << i;
    }
    if (list == QStringLiteral("all")) {
        for (const qsizetype at : positions)
            text[at] = u'y';
        return text;
    }
    for (const QString& item : list.split(u',')) {
        const std::optional<qlonglong> number = wholeNumber(item);
        if (!number || *number < 1 || *number > positions.size()) {
            *error = positions.isEmpty()
                         ? QStringLiteral("--y-vowel: the text has no upper-case Y")
                         : QStringLiteral("--y-vowel takes 'all' or Y numbers 1..%1, not '%2'")
                               .arg(positions.size())
                               .arg(item);
            return std::nullopt;
        }
        text[positions[qsizetype(*number - 1)]] = u'y';
    }
    return text;
}

QJsonArray countsOf(const std::array<int, 9>& counts)
{
    QJsonArray array;
    for (const int count : counts)
        array.append(count);
    return array;
}

QString countsRow(const QString& name, const std::array<int, 9>& counts, int all)
{
    QString row = name.leftJustified(12);
    for (const int count : counts)
        row += QString::number(count).rightJustified(3);
    return row + QString::number(all).rightJustified(6);
}

// A number that starts with a minus sign is a display text, not an option.
QStringList displayArguments(const QStringList& arguments)
{
    static const QRegularExpression negative(QStringLiteral("^-[0-9.]"));
    QStringList options;
    QStringList displays;
    for (const QString& argument : arguments.mid(1)) {
        if (negative.match(argument).hasMatch())
            displays << argument;
        else
            options << argument;
    }
    if (displays.isEmpty() || arguments.contains(QStringLiteral("--")))
        return arguments;
    return QStringList{arguments.front()} + options + QStringList{QStringLiteral("--")} + displays;
}

int runDisplayButton(const QStringList& arguments, const QString& command, const QString& does,
                     numerology::DisplayResult (*press)(const QString&))
{
    QCommandLineParser parser;
    parser.setApplicationDescription(does);
    parser.addPositionalArgument(
        QStringLiteral("DISPLAY"),
        QStringLiteral("The calculator's display, such as 1234 or 15.00."));
    if (const auto done = parseCommand(parser, displayArguments(arguments)))
        return *done;
    const QStringList displays = parser.positionalArguments();
    if (displays.size() != 1)
        return fail(
            BadInput,
            QStringLiteral("%1: expected one DISPLAY, got %2").arg(command).arg(displays.size()));
    const numerology::DisplayResult result = press(displays.front());
    if (!result.error.isEmpty())
        return fail(BadInput, command + QStringLiteral(": ") + result.error);
    printLine(result.text);
    return Success;
}

}  // namespace

AnalysisOptions::AnalysisOptions()
    : method(QStringLiteral("method"),
             QStringLiteral("Letter table: pythagorean (default) or chaldean."),
             QStringLiteral("method"), QStringLiteral("pythagorean")),
      raw(QStringLiteral("raw"),
          QStringLiteral("Analyse TEXT exactly as given (a lower-case y is a vowel Y).")),
      yVowel(QStringLiteral("y-vowel"),
             QStringLiteral("Ys that count as vowels: all, or 1-based Y numbers (1,3)."),
             QStringLiteral("LIST")),
      date(QStringLiteral("date"), QStringLiteral("Adds the date calculator for this date."),
           QStringLiteral("YYYY-MM-DD"))
{}

void AnalysisOptions::addTo(QCommandLineParser& parser) const
{
    parser.addOptions({method, raw, yVowel, date});
    parser.addPositionalArgument(QStringLiteral("TEXT"),
                                 QStringLiteral("The name or text to analyse."));
}

std::optional<AnalysisInput> AnalysisOptions::read(const QCommandLineParser& parser,
                                                   const QString& command, int* status) const
{
    const auto bad = [&](const QString& what) -> std::optional<AnalysisInput> {
        *status = fail(BadInput, command + QStringLiteral(": ") + what);
        return std::nullopt;
    };
    const std::optional<int> chosen = methodNamed(parser.value(method));
    if (!chosen)
        return bad(QStringLiteral("unknown method '%1' (pythagorean or chaldean)")
                       .arg(parser.value(method)));
    const QStringList texts = parser.positionalArguments();
    if (texts.size() != 1)
        return bad(QStringLiteral("expected one TEXT, got %1").arg(texts.size()));
    if (parser.isSet(raw) && parser.isSet(yVowel))
        return bad(QStringLiteral("--y-vowel does not go with --raw"));

    AnalysisInput input;
    input.method = *chosen;
    input.text = parser.isSet(raw) ? texts.front()
                                   : numerology::UpperLetters(numerology::Trimmed(texts.front()));
    if (parser.isSet(yVowel)) {
        QString error;
        const std::optional<QString> marked = markYs(input.text, parser.value(yVowel), &error);
        if (!marked)
            return bad(error);
        input.text = *marked;
    }
    if (parser.isSet(date)) {
        static const QRegularExpression iso(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
        const QDate read = QDate::fromString(parser.value(date), Qt::ISODate);
        if (!iso.match(parser.value(date)).hasMatch() || !read.isValid())
            return bad(QStringLiteral("'%1' is not a date in the form YYYY-MM-DD")
                           .arg(parser.value(date)));
        input.date = read;
    }
    return input;
}

int runAnalyze(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("The numerology calculator's analysis of TEXT."));
    const AnalysisOptions inputs;
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("Prints one JSON object."));
    inputs.addTo(parser);
    parser.addOption(json);
    if (const auto done = parseCommand(parser, arguments))
        return *done;
    int status = Success;
    const std::optional<AnalysisInput> input =
        inputs.read(parser, QStringLiteral("analyze"), &status);
    if (!input)
        return status;
    const int flag = input->method;
    const QString& text = input->text;
    const std::optional<QDate>& day = input->date;

    const numerology::NameAnalysis a = numerology::AnalyzeName(text, flag);
    const numerology::DigitCounts counts = numerology::CountDigits(a.vowels, a.consonants);
    std::optional<numerology::DateAnalysis> dated;
    if (day)
        dated = numerology::AnalyzeDate(*day);
    const QString nameAndDate =
        dated ? numerology::NameAndDate(a.nameTotal, dated->dateSum) : QString();

    if (parser.isSet(json)) {
        QJsonObject object{
            {QStringLiteral("method"), numerology::MethodName(flag)},
            {QStringLiteral("data"), text},
            {QStringLiteral("vowels"), a.vowels},
            {QStringLiteral("consonants"), a.consonants},
            {QStringLiteral("vowelSum"), a.vowelSum},
            {QStringLiteral("consonantSum"), a.consonantSum},
            {QStringLiteral("digitSum"), a.digitSum},
            {QStringLiteral("nameTotal"), a.nameTotal},
            {QStringLiteral("vowelTotal"), numerology::ReduceChain(std::uint64_t(a.vowelSum))},
            {QStringLiteral("consonantTotal"),
             numerology::ReduceChain(std::uint64_t(a.consonantSum))},
            {QStringLiteral("total"), numerology::ReduceChain(std::uint64_t(a.nameTotal))},
            {QStringLiteral("vowelCounts"), countsOf(counts.vowels)},
            {QStringLiteral("consonantCounts"), countsOf(counts.consonants)},
            {QStringLiteral("totalCounts"), countsOf(counts.totals)},
            {QStringLiteral("vowelCount"), counts.vowelCount},
            {QStringLiteral("consonantCount"), counts.consonantCount},
            {QStringLiteral("letterCount"), counts.letterCount},
            {QStringLiteral("date"), QJsonValue::Null}};
        if (dated) {
            object.insert(QStringLiteral("date"),
                          QJsonObject{{QStringLiteral("date"), day->toString(Qt::ISODate)},
                                      {QStringLiteral("dayTotal"), dated->dayTotal},
                                      {QStringLiteral("monthDayTotal"), dated->monthDayTotal},
                                      {QStringLiteral("dateTotal"), dated->dateTotal},
                                      {QStringLiteral("dateSum"), dated->dateSum},
                                      {QStringLiteral("nameAndDate"), nameAndDate}});
        }
        printLine(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)));
        return Success;
    }

    QStringList lines{
        QStringLiteral("Method            %1").arg(numerology::MethodName(flag)),
        QStringLiteral("Vowels            %1").arg(a.vowels),
        QStringLiteral("Data              %1").arg(text),
        QStringLiteral("Consonants        %1").arg(a.consonants),
        QString(),
        QStringLiteral("Vowel total       %1")
            .arg(numerology::ReduceChain(std::uint64_t(a.vowelSum))),
        QStringLiteral("Consonant total   %1")
            .arg(numerology::ReduceChain(std::uint64_t(a.consonantSum))),
        QStringLiteral("Digits written    %1").arg(a.digitSum),
        QStringLiteral("Total             %1")
            .arg(numerology::ReduceChain(std::uint64_t(a.nameTotal))),
        QString(),
        QStringLiteral("Digit        1  2  3  4  5  6  7  8  9   all"),
        countsRow(QStringLiteral("Vowels"), counts.vowels, counts.vowelCount),
        countsRow(QStringLiteral("Consonants"), counts.consonants, counts.consonantCount),
        countsRow(QStringLiteral("Total"), counts.totals, counts.letterCount)};
    if (dated) {
        lines << QString() << QStringLiteral("Date              %1").arg(day->toString(Qt::ISODate))
              << QStringLiteral("Day               %1").arg(dated->dayTotal)
              << QStringLiteral("Month and day     %1").arg(dated->monthDayTotal)
              << QStringLiteral("Whole date        %1").arg(dated->dateTotal)
              << QStringLiteral("Name and date     %1").arg(nameAndDate);
    }
    printLine(lines.join(u'\n'));
    return Success;
}

int runChain(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Prints the reduction chain of N, such as 38 / 11 / 2."));
    parser.addPositionalArgument(QStringLiteral("N"), QStringLiteral("A whole number, 0 or more."));
    if (const auto done = parseCommand(parser, displayArguments(arguments)))
        return *done;
    const QStringList numbers = parser.positionalArguments();
    bool ok = numbers.size() == 1;
    const qulonglong n = ok ? numbers.front().toULongLong(&ok) : 0;
    if (!ok || numbers.front().startsWith(u'+') || numbers.front().trimmed() != numbers.front())
        return fail(BadInput, QStringLiteral("chain: expected one whole number from 0 to %1")
                                  .arg(std::numeric_limits<qulonglong>::max()));
    printLine(numerology::ReduceChain(n));
    return Success;
}

int runReduce(const QStringList& arguments)
{
    return runDisplayButton(arguments, QStringLiteral("reduce"),
                            QStringLiteral("One press of the calculator's Reduce on DISPLAY."),
                            numerology::ReduceDisplay);
}

int runSum(const QStringList& arguments)
{
    return runDisplayButton(arguments, QStringLiteral("sum"),
                            QStringLiteral("One press of the calculator's Sum on DISPLAY."),
                            numerology::SumDisplay);
}

}  // namespace cli
