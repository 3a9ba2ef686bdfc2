#pragma once

#include <QLineF>
#include <QList>
#include <QMarginsF>
#include <QPageSize>
#include <QRectF>
#include <QString>

// A prepared report: pages of positioned texts and lines, ready to be painted or exported.
// Positions are template units, 18 to 5 mm, measured from the top left corner of the paper.
namespace report {

constexpr double kUnitsPerMm = 18.0 / 5.0;
constexpr double kUnitsPerInch = 25.4 * kUnitsPerMm;

constexpr double unitsFromMm(double mm)
{
    return mm * kUnitsPerMm;
}

enum class Align { Left, Right, Centre };

struct TextFont
{
    QString family = QStringLiteral("Arial");
    double pointSize = 10;
    bool bold = false;

    bool operator==(const TextFont&) const = default;
};

// A text in its box; "\n" starts a new line. The text starts at the top of the box and is
// aligned within its width; it is never wrapped nor clipped.
struct TextObject
{
    QRectF box;
    QString text;
    TextFont font;
    Align align = Align::Left;

    bool operator==(const TextObject&) const = default;
};

struct LineObject
{
    QLineF line;
    double width = 1;  // units

    bool operator==(const LineObject&) const = default;
};

struct Page
{
    QList<TextObject> texts;
    QList<LineObject> lines;
};

struct PageSetup
{
    QPageSize paper{QPageSize::Letter};  // portrait
    QMarginsF margins;                   // units: left, top, right, bottom

    QSizeF sizeInUnits() const;
};

struct PreparedReport
{
    PageSetup setup;
    QList<Page> pages;
};

}  // namespace report
