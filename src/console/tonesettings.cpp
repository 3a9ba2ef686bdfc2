#include "console/tonesettings.h"

#include <QStringDecoder>
#include <algorithm>
#include <cmath>

namespace tonesettings {

QStringList readLines(const QByteArray& bytes)
{
    QByteArray readable = bytes;
    if (const qsizetype end = readable.indexOf('\x1a'); end >= 0)
        readable.truncate(end);
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(readable);
    if (utf8.hasError())
        text = QString::fromLatin1(readable);

    QStringList lines;
    QString line;
    for (qsizetype i = 0; i < text.size() && lines.size() < kLineCount; ++i) {
        if (text[i] == u'\r') {
            lines << line;
            line.clear();
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else {
            line += text[i];
        }
    }
    if (!line.isEmpty() && lines.size() < kLineCount)
        lines << line;
    while (lines.size() < kLineCount)
        lines << QString();
    return lines;
}

QByteArray fileBytes(const QStringList& lines)
{
    QByteArray bytes;
    for (QString line : lines) {
        // A carriage return would end the line early and Ctrl-Z the whole text: each is
        // written as a blank.
        line.replace(u'\r', u' ').replace(QChar(0x1a), u' ');
        bytes += line.toUtf8() + "\r\n";
    }
    return bytes;
}

int wholeNumber(const QString& line)
{
    bool ok = false;
    const int value = line.trimmed().toInt(&ok);
    return ok ? value : 0;
}

std::optional<double> seconds(const QString& line)
{
    const QString number = line.trimmed();
    bool ok = false;
    // Either separator; then the user's locale, which may write digits of its own.
    double value = QLocale::c().toDouble(QString(number).replace(u',', u'.'), &ok);
    if (!ok) {
        QLocale locale;
        locale.setNumberOptions(QLocale::RejectGroupSeparator);
        value = locale.toDouble(number, &ok);
    }
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString notAFloat(const QString& line)
{
    return QStringLiteral("'%1' is not a valid floating point value").arg(line);
}

QString durationText(double seconds, const QLocale& locale)
{
    QString text = locale.toString(seconds, 'f', 3);
    text.remove(locale.groupSeparator());
    return text;
}

QStringList linesOf(const ConsoleSettings& s, const QLocale& locale)
{
    QStringList lines{QStringLiteral("1"), s.dataText, s.numerologyText, QString::number(s.method)};
    for (const int frequency : s.frequencies)
        lines << QString::number(frequency);
    lines << durationText(s.durationSeconds, locale);
    for (const int position : s.sliders)
        lines << QString::number(position);
    lines << QString::number(s.waveItem) << s.octave << QString::number(s.loop ? 1 : 0)
          << QString::number(s.spaceAsZero ? 1 : 0);
    return lines;
}

std::optional<ConsoleSettings> settingsOf(const QStringList& lines, QString* error)
{
    const auto line = [&](int number) { return lines.value(number - 1); };
    ConsoleSettings s;
    s.dataText = line(DataText);
    s.numerologyText = line(NumerologyText);
    s.method = wholeNumber(line(Method));
    for (int i = 0; i < 10; ++i)
        s.frequencies[std::size_t(i)] = wholeNumber(line(FirstFrequency + i));
    const std::optional<double> duration = seconds(line(Duration));
    if (!duration) {
        *error = notAFloat(line(Duration));
        return std::nullopt;
    }
    s.durationSeconds = *duration;
    for (int i = 0; i < ConsoleSettings::SliderCount; ++i)
        s.sliders[std::size_t(i)] = std::clamp(wholeNumber(line(FirstSlider + i)), 0, 100);
    s.waveItem = std::clamp(wholeNumber(line(WaveItem)), -1, 3);
    s.octave = line(Octave);
    s.loop = wholeNumber(line(Loop)) != 0;
    s.spaceAsZero = wholeNumber(line(SpaceAsZero)) != 0;
    return s;
}

}  // namespace tonesettings
