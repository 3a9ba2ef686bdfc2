#include "report/reportfile.h"

#include "fileio/files.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace report {

namespace {

constexpr QByteArrayView kHeading = "Sonarith saved report ";

// Positions and sizes beyond these are not a report's: painting them would take the
// preview's memory or time.
constexpr double kMostUnits = 100000;
constexpr double kMostPoints = 1000;

const char* alignName(Align align)
{
    switch (align) {
    case Align::Left:
        return "left";
    case Align::Right:
        return "right";
    case Align::Centre:
        return "centre";
    }
    return "left";
}

QJsonArray numbers(std::initializer_list<double> values)
{
    QJsonArray array;
    for (const double value : values)
        array.append(value);
    return array;
}

QJsonObject textObject(const TextObject& text)
{
    const QRectF& box = text.box;
    return {
        {QStringLiteral("box"), numbers({box.x(), box.y(), box.width(), box.height()})},
        {QStringLiteral("text"), text.text},
        {QStringLiteral("font"), QJsonObject{{QStringLiteral("family"), text.font.family},
                                             {QStringLiteral("size"), text.font.pointSize},
                                             {QStringLiteral("bold"), text.font.bold}}},
        {QStringLiteral("align"), QLatin1String(alignName(text.align))},
    };
}

QJsonObject lineObject(const LineObject& line)
{
    const QLineF& l = line.line;
    return {{QStringLiteral("line"), numbers({l.x1(), l.y1(), l.x2(), l.y2()})},
            {QStringLiteral("width"), line.width}};
}

// Reads the JSON part, saying where a value is missing or wrong ("page 2, text 3: ...").
class Reader
{
public:
    std::optional<SavedReport> read(const QJsonObject& root)
    {
        SavedReport saved;
        if (!string(root, "title", saved.title))
            return std::nullopt;
        const QJsonObject paper = root.value(QLatin1String("paper")).toObject();
        double width = 0;
        double height = 0;
        if (!number(paper, "width", 1, 10000, width) || !number(paper, "height", 1, 10000, height))
            return std::nullopt;
        saved.report.setup.paper =
            QPageSize(QSizeF(width, height), QPageSize::Point, QString(), QPageSize::FuzzyMatch);
        QList<double> margins;
        if (!array(root, "margins", 4, 0, kMostUnits, margins))
            return std::nullopt;
        saved.report.setup.margins = QMarginsF(margins[0], margins[1], margins[2], margins[3]);

        const QJsonValue pages = root.value(QLatin1String("pages"));
        if (!pages.isArray() || pages.toArray().isEmpty()) {
            fail(QStringLiteral("it has no pages"));
            return std::nullopt;
        }
        int pageNumber = 0;
        for (const QJsonValue& pageValue : pages.toArray()) {
            ++pageNumber;
            const QJsonObject page = pageValue.toObject();
            if (!page.value(QLatin1String("texts")).isArray() ||
                !page.value(QLatin1String("lines")).isArray()) {
                place_ = QStringLiteral("page %1: ").arg(pageNumber);
                fail(QStringLiteral("\"texts\" or \"lines\" is missing"));
                return std::nullopt;
            }
            Page read;
            const QJsonArray texts = page.value(QLatin1String("texts")).toArray();
            for (int k = 0; k < texts.size(); ++k) {
                place_ = QStringLiteral("page %1, text %2: ").arg(pageNumber).arg(k + 1);
                const std::optional<TextObject> text = textObject(texts[k].toObject());
                if (!text)
                    return std::nullopt;
                read.texts.append(*text);
            }
            const QJsonArray lines = page.value(QLatin1String("lines")).toArray();
            for (int k = 0; k < lines.size(); ++k) {
                place_ = QStringLiteral("page %1, line %2: ").arg(pageNumber).arg(k + 1);
                QList<double> ends;
                LineObject line;
                const QJsonObject object = lines[k].toObject();
                if (!array(object, "line", 4, -kMostUnits, kMostUnits, ends) ||
                    !number(object, "width", 0, kMostUnits, line.width))
                    return std::nullopt;
                line.line = QLineF(ends[0], ends[1], ends[2], ends[3]);
                read.lines.append(line);
            }
            saved.report.pages.append(read);
        }
        return saved;
    }

    QString error;

private:
    std::optional<TextObject> textObject(const QJsonObject& object)
    {
        TextObject text;
        QList<double> box;
        const QJsonObject font = object.value(QLatin1String("font")).toObject();
        QString align;
        if (!array(object, "box", 4, -kMostUnits, kMostUnits, box) ||
            !string(object, "text", text.text) || !string(font, "family", text.font.family) ||
            !number(font, "size", 1, kMostPoints, text.font.pointSize) ||
            !string(object, "align", align))
            return std::nullopt;
        if (!font.value(QLatin1String("bold")).isBool()) {
            fail(QStringLiteral("\"bold\" is missing"));
            return std::nullopt;
        }
        text.font.bold = font.value(QLatin1String("bold")).toBool();
        text.box = QRectF(box[0], box[1], box[2], box[3]);
        if (align == u"left")
            text.align = Align::Left;
        else if (align == u"right")
            text.align = Align::Right;
        else if (align == u"centre")
            text.align = Align::Centre;
        else {
            fail(QStringLiteral("\"%1\" is no alignment").arg(align));
            return std::nullopt;
        }
        return text;
    }

    bool fail(const QString& what)
    {
        error = place_ + what;
        return false;
    }
    bool string(const QJsonObject& object, const char* name, QString& value)
    {
        const QJsonValue found = object.value(QLatin1String(name));
        if (!found.isString())
            return fail(QStringLiteral("\"%1\" is missing").arg(QLatin1String(name)));
        value = found.toString();
        return true;
    }
    bool number(const QJsonObject& object, const char* name, double least, double most,
                double& value)
    {
        const QJsonValue found = object.value(QLatin1String(name));
        if (!found.isDouble())
            return fail(QStringLiteral("\"%1\" is missing").arg(QLatin1String(name)));
        value = found.toDouble();
        if (!(value >= least && value <= most))
            return fail(QStringLiteral("\"%1\" is out of range").arg(QLatin1String(name)));
        return true;
    }
    bool array(const QJsonObject& object, const char* name, int count, double least, double most,
               QList<double>& values)
    {
        const QJsonArray found = object.value(QLatin1String(name)).toArray();
        values.clear();
        for (const QJsonValue& value : found) {
            if (!value.isDouble() || !(value.toDouble() >= least && value.toDouble() <= most))
                break;
            values.append(value.toDouble());
        }
        if (found.size() != count || values.size() != count)
            return fail(QStringLiteral("\"%1\" is not %2 numbers in range")
                            .arg(QLatin1String(name))
                            .arg(count));
        return true;
    }

    QString place_;
};

}  // namespace

QByteArray reportFileContent(const SavedReport& saved)
{
    const PreparedReport& report = saved.report;
    const QSizeF paper = report.setup.paper.size(QPageSize::Point);
    const QMarginsF& margins = report.setup.margins;
    QJsonArray pages;
    for (const Page& page : report.pages) {
        QJsonArray texts;
        for (const TextObject& text : page.texts)
            texts.append(textObject(text));
        QJsonArray lines;
        for (const LineObject& line : page.lines)
            lines.append(lineObject(line));
        pages.append(
            QJsonObject{{QStringLiteral("texts"), texts}, {QStringLiteral("lines"), lines}});
    }
    const QJsonObject root{
        {QStringLiteral("title"), saved.title},
        {QStringLiteral("paper"), QJsonObject{{QStringLiteral("width"), paper.width()},
                                              {QStringLiteral("height"), paper.height()}}},
        {QStringLiteral("margins"),
         numbers({margins.left(), margins.top(), margins.right(), margins.bottom()})},
        {QStringLiteral("pages"), pages},
    };
    return kHeading.toByteArray() + QByteArray::number(kReportFileVersion) + '\n' +
           QJsonDocument(root).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<SavedReport> parseReportFile(QByteArrayView content, QString* error)
{
    const auto fail = [error](const QString& why) -> std::optional<SavedReport> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    const qsizetype end = content.indexOf('\n');
    const QByteArrayView heading = content.first(end < 0 ? content.size() : end);
    if (!heading.startsWith(kHeading))
        return fail(QStringLiteral("not a saved report"));
    bool isNumber = false;
    const int version = heading.sliced(kHeading.size()).toByteArray().toInt(&isNumber);
    if (!isNumber || version < 1)
        return fail(QStringLiteral("not a saved report"));
    if (version > kReportFileVersion)
        return fail(QStringLiteral("saved by a later version of Sonarith"));
    if (end < 0)
        return fail(QStringLiteral("damaged: it ends after its first line"));

    QJsonParseError parsed;
    const QJsonDocument document =
        QJsonDocument::fromJson(content.sliced(end + 1).toByteArray(), &parsed);
    if (parsed.error != QJsonParseError::NoError)
        return fail(QStringLiteral("damaged: %1 at byte %2")
                        .arg(parsed.errorString())
                        .arg(end + 1 + parsed.offset));
    if (!document.isObject())
        return fail(QStringLiteral("damaged: it holds no report"));
    Reader reader;
    std::optional<SavedReport> saved = reader.read(document.object());
    if (!saved)
        return fail(QStringLiteral("damaged: ") + reader.error);
    return saved;
}

bool saveReportFile(const SavedReport& saved, const QString& path, QString* error)
{
    return fileio::saveFile(path, reportFileContent(saved), error);
}

std::optional<SavedReport> openReportFile(const QString& path, QString* error)
{
    const std::optional<QByteArray> content = fileio::readFile(path, error);
    if (!content)
        return std::nullopt;
    return parseReportFile(*content, error);
}

}  // namespace report
