#include "report/rtf.h"

#include "fileio/files.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

namespace report {

namespace {

constexpr double kTwipsPerUnit = 1440.0 / kUnitsPerInch;
// Texts whose tops lie this close belong to one row.
constexpr double kRowTolerance = 4;
constexpr double kLineSpacing = 1.15;  // of the font size

int twips(double units)
{
    return int(std::lround(units * kTwipsPerUnit));
}

// RTF is 7-bit: its own control characters are escaped and everything beyond ASCII is written as
// UTF-16 units, "\uN?" with N signed, "?" standing in for readers that know no Unicode.
QByteArray escaped(QStringView text)
{
    QByteArray out;
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if (unit == u'\\' || unit == u'{' || unit == u'}') {
            out += '\\';
            out += char(unit);
        } else if (unit == u'\t') {
            out += "\\tab ";
        } else if (unit >= 0x20 && unit < 0x7f) {
            out += char(unit);
        } else if (unit >= 0x80) {
            out += "\\u" + QByteArray::number(qint16(unit)) + '?';
        }
    }
    return out;
}

struct Column
{
    const TextObject* text;
    int tab;  // twips from the left margin; 0 for none
    QStringList lines;
};

int tabOf(const TextObject& text, double leftMargin)
{
    const QRectF& box = text.box;
    switch (text.align) {
    case Align::Right:
        return twips(box.right() - leftMargin);
    case Align::Centre:
        return twips(box.center().x() - leftMargin);
    case Align::Left:
        break;
    }
    return std::max(0, twips(box.left() - leftMargin));
}

QByteArray tabStop(const Column& column)
{
    const QByteArray kind = column.text->align == Align::Right    ? "\\tqr"
                            : column.text->align == Align::Centre ? "\\tqc"
                                                                  : "";
    return kind + "\\tx" + QByteArray::number(column.tab);
}

}  // namespace

QByteArray rtfDocument(const PreparedReport& report)
{
    QStringList fonts;
    for (const Page& page : report.pages) {
        for (const TextObject& text : page.texts) {
            if (!fonts.contains(text.font.family))
                fonts << text.font.family;
        }
    }
    if (fonts.isEmpty())
        fonts << QStringLiteral("Arial");

    const QMarginsF& margins = report.setup.margins;
    const QSizeF paper = report.setup.sizeInUnits();
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl";
    for (qsizetype i = 0; i < fonts.size(); ++i)
        rtf += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset0 " + escaped(fonts[i]) + ";}";
    rtf += "}\n\\paperw" + QByteArray::number(twips(paper.width())) + "\\paperh" +
           QByteArray::number(twips(paper.height())) + "\\margl" +
           QByteArray::number(twips(margins.left())) + "\\margr" +
           QByteArray::number(twips(margins.right())) + "\\margt" +
           QByteArray::number(twips(margins.top())) + "\\margb" +
           QByteArray::number(twips(margins.bottom())) + "\n";

    for (const Page& page : report.pages) {
        QList<const TextObject*> texts;
        for (const TextObject& text : page.texts)
            texts << &text;
        std::stable_sort(texts.begin(), texts.end(), [](const TextObject* a, const TextObject* b) {
            return a->box.top() < b->box.top();
        });
        double cursor = margins.top();  // where the text above ends
        for (qsizetype first = 0; first < texts.size();) {
            const double top = texts[first]->box.top();
            qsizetype end = first;
            while (end < texts.size() && texts[end]->box.top() - top <= kRowTolerance)
                ++end;

            QList<Column> row;
            qsizetype lineCount = 1;
            double pointSize = 0;
            for (qsizetype i = first; i < end; ++i) {
                const TextObject& text = *texts[i];
                row.append({&text, tabOf(text, margins.left()), text.text.split(u'\n')});
                lineCount = std::max(lineCount, row.back().lines.size());
                pointSize = std::max(pointSize, text.font.pointSize);
            }
            std::stable_sort(row.begin(), row.end(),
                             [](const Column& a, const Column& b) { return a.tab < b.tab; });
            QByteArray stops;
            for (const Column& column : row) {
                if (column.tab > 0)
                    stops += tabStop(column);
            }
            const double lineHeight = pointSize * kLineSpacing / 72 * kUnitsPerInch;
            for (qsizetype line = 0; line < lineCount; ++line) {
                const double above = line == 0 ? std::max(0.0, top - cursor) : 0;
                rtf += "\\pard\\plain" + stops + "\\sb" + QByteArray::number(twips(above)) +
                       "\\sl-" + QByteArray::number(twips(lineHeight)) + "\\slmult0 ";
                for (const Column& column : row) {
                    if (column.tab > 0)
                        rtf += "\\tab ";
                    const QString part =
                        line < column.lines.size() ? column.lines[line] : QString();
                    if (part.isEmpty())
                        continue;
                    const TextFont& font = column.text->font;
                    rtf += "{\\f" + QByteArray::number(fonts.indexOf(font.family)) + "\\fs" +
                           QByteArray::number(std::lround(font.pointSize * 2)) +
                           (font.bold ? "\\b " : " ") + escaped(part) + "}";
                }
                rtf += "\\par\n";
            }
            cursor = top + double(lineCount) * lineHeight;
            first = end;
        }
    }
    rtf += "}\n";
    return rtf;
}

bool writeRtf(const PreparedReport& report, const QString& path, QString* error)
{
    return fileio::saveFile(path, rtfDocument(report), error);
}

}  // namespace report
