#include "support/documents.h"

#include <QProcess>
#include <QRegularExpression>
#include <cctype>

namespace documents {

namespace {

std::optional<QByteArray> runPdftotext(const QStringList& arguments, QString* error)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), arguments + QStringList{QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        if (error)
            *error = QStringLiteral("pdftotext %1 failed (scripts/install-deps installs it): %2 %3")
                         .arg(arguments.join(u' '), process.errorString(),
                              QString::fromLocal8Bit(process.readAllStandardError()));
        return std::nullopt;
    }
    return process.readAllStandardOutput();
}

QString unescapeHtml(QString text)
{
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    text.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    text.replace(QStringLiteral("&apos;"), QStringLiteral("'"));
    text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text;
}

}  // namespace

std::optional<QList<Paragraph>> rtfParagraphs(QByteArrayView document, QString* error)
{
    const QByteArray rtf = document.toByteArray();
    const auto fail = [error](const QString& why) -> std::optional<QList<Paragraph>> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    if (!rtf.startsWith("{\\rtf1"))
        return fail(QStringLiteral("no {\\rtf1 at the start"));

    QList<Paragraph> paragraphs{Paragraph{}};
    // Per group: whether its text is skipped (font table, \* destinations).
    QList<bool> skipping;
    int skipAfterUnicode = 0;
    int unicodeSkip = 1;
    const auto text = [&](QChar c) {
        if (!skipping.back())
            paragraphs.back().text += c;
    };
    qsizetype i = 0;
    while (i < rtf.size()) {
        const char c = rtf[i];
        if (c == '{') {
            skipping.append(!skipping.isEmpty() && skipping.back());
            ++i;
        } else if (c == '}') {
            skipping.removeLast();
            if (skipping.isEmpty()) {
                if (!rtf.mid(i + 1).trimmed().isEmpty())
                    return fail(QStringLiteral("text after the closing brace"));
                // The paragraph after the last \par holds nothing unless text follows it.
                if (paragraphs.back().text.isEmpty())
                    paragraphs.removeLast();
                return paragraphs;
            }
            ++i;
        } else if (c == '\r' || c == '\n') {
            ++i;
        } else if (c != '\\') {
            if (skipAfterUnicode > 0)
                --skipAfterUnicode;
            else
                text(QLatin1Char(c));
            ++i;
        } else if (i + 1 < rtf.size() && QByteArrayView("\\{}").contains(rtf[i + 1])) {
            if (skipAfterUnicode > 0)
                --skipAfterUnicode;
            else
                text(QLatin1Char(rtf[i + 1]));
            i += 2;
        } else if (i + 1 < rtf.size() && rtf[i + 1] == '*') {
            skipping.back() = true;
            i += 2;
        } else {
            qsizetype end = i + 1;
            while (end < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[end])))
                ++end;
            const QByteArray word = rtf.mid(i + 1, end - i - 1);
            qsizetype numberEnd = end;
            if (numberEnd < rtf.size() && rtf[numberEnd] == '-')
                ++numberEnd;
            while (numberEnd < rtf.size() &&
                   std::isdigit(static_cast<unsigned char>(rtf[numberEnd])))
                ++numberEnd;
            const int number = rtf.mid(end, numberEnd - end).toInt();
            i = numberEnd;
            if (i < rtf.size() && rtf[i] == ' ')
                ++i;
            if (word.isEmpty())
                return fail(QStringLiteral("a backslash before '%1'").arg(QLatin1Char(rtf[end])));
            if (word == "fonttbl" || word == "colortbl" || word == "stylesheet" || word == "info")
                skipping.back() = true;
            else if (word == "par") {
                if (!skipping.back())
                    paragraphs.append(Paragraph{});
            } else if (word == "tab")
                text(u'\t');
            else if (word == "tx")
                paragraphs.back().tabStops.append(number);
            else if (word == "sb")
                paragraphs.back().spaceBefore = number;
            else if (word == "uc")
                unicodeSkip = number;
            else if (word == "u") {
                text(QChar(char16_t(number < 0 ? number + 65536 : number)));
                skipAfterUnicode = unicodeSkip;
            }
        }
    }
    return fail(QStringLiteral("the outer group is not closed"));
}

std::optional<QString> unrtfText(const QString& path, QString* error)
{
    QProcess process;
    process.start(QStringLiteral("unrtf"), {QStringLiteral("--text"), path});
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        if (error)
            *error = QStringLiteral("unrtf --text %1 failed (scripts/install-deps installs it): "
                                    "%2 %3")
                         .arg(path, process.errorString(),
                              QString::fromLocal8Bit(process.readAllStandardError()));
        return std::nullopt;
    }
    QString text = QString::fromUtf8(process.readAllStandardOutput());
    // The banner: comment lines starting with "###", then a rule of dashes.
    if (text.startsWith(QLatin1String("###"))) {
        static const QRegularExpression rule(QStringLiteral("^-+$"),
                                             QRegularExpression::MultilineOption);
        const QRegularExpressionMatch match = rule.match(text);
        if (match.hasMatch())
            text.remove(0, match.capturedEnd());
    }
    return text.simplified();
}

std::optional<QString> pdfText(const QString& path, QString* error)
{
    const auto bytes = runPdftotext(
        {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), path}, error);
    if (!bytes)
        return std::nullopt;
    return QString::fromUtf8(*bytes);
}

std::optional<QList<PdfWord>> pdfWords(const QString& path, QString* error)
{
    const auto bytes = runPdftotext(
        {QStringLiteral("-bbox"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), path}, error);
    if (!bytes)
        return std::nullopt;
    static const QRegularExpression item(
        QStringLiteral("<page |<word xMin=\"([-0-9.]+)\" yMin=\"([-0-9.]+)\" "
                       "xMax=\"([-0-9.]+)\" yMax=\"([-0-9.]+)\">([^<]*)</word>"));
    QList<PdfWord> words;
    int page = 0;
    for (const QRegularExpressionMatch& match : item.globalMatch(QString::fromUtf8(*bytes))) {
        if (match.captured(0) == u"<page ") {
            ++page;
            continue;
        }
        const QPointF from(match.captured(1).toDouble(), match.captured(2).toDouble());
        const QPointF to(match.captured(3).toDouble(), match.captured(4).toDouble());
        words.append({unescapeHtml(match.captured(5)), page, QRectF(from, to)});
    }
    return words;
}

std::optional<QList<QSizeF>> pdfPageSizes(const QString& path, QString* error)
{
    const auto bytes = runPdftotext(
        {QStringLiteral("-bbox"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), path}, error);
    if (!bytes)
        return std::nullopt;
    static const QRegularExpression page(
        QStringLiteral("<page width=\"([-0-9.]+)\" height=\"([-0-9.]+)\">"));
    QList<QSizeF> sizes;
    for (const QRegularExpressionMatch& match : page.globalMatch(QString::fromUtf8(*bytes)))
        sizes.append(QSizeF(match.captured(1).toDouble(), match.captured(2).toDouble()));
    return sizes;
}

}  // namespace documents
