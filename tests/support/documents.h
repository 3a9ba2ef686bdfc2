#pragma once

#include <QByteArrayView>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <optional>

// Reading written reports back: rich text through a small reader of our own and through
// unrtf (package unrtf), PDF through poppler's pdftotext (package poppler-utils).
namespace documents {

struct Paragraph
{
    QString text;         // tabs kept
    QList<int> tabStops;  // twips, as written (\txN)
    int spaceBefore = 0;  // twips (\sbN)
};

// The paragraphs of a rich-text document: groups, escapes, \tab, \par and \uN (skipping the
// stand-in character after it) are understood, font tables and other destinations skipped.
// None when the text is not RTF or its braces do not balance.
std::optional<QList<Paragraph>> rtfParagraphs(QByteArrayView rtf, QString* error = nullptr);

// unrtf --text: the document's text, its banner left out, with every run of blanks, tabs and
// line ends collapsed to one space (unrtf ends a line at each tab).
std::optional<QString> unrtfText(const QString& path, QString* error = nullptr);

// pdftotext -layout: each page's text as laid out, pages ending with a form feed.
std::optional<QString> pdfText(const QString& path, QString* error = nullptr);

struct PdfWord
{
    QString text;
    int page = 0;  // from 1
    QRectF box;    // points from the page's top left corner
};

// pdftotext -bbox: every word with its place.
std::optional<QList<PdfWord>> pdfWords(const QString& path, QString* error = nullptr);

// The size of every page, in points.
std::optional<QList<QSizeF>> pdfPageSizes(const QString& path, QString* error = nullptr);

}  // namespace documents
