#include "catalogue/tonescursor.h"
#include "catalogue/tonesdatabase.h"
#include "cli/cliutil.h"
#include "cli/commands.h"

#include <cstdio>

namespace cli {

namespace {

using catalogue::Field;

QCommandLineOption dbOption(const QString& description)
{
    return QCommandLineOption(QStringLiteral("db"), description, QStringLiteral("FILE"),
                              QLatin1String(catalogue::kFileName));
}

int list(const QString& command, const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Prints every record of the tone catalogue, one a line, as tab-separated "
                       "CPS, Category, SubCategory and Source, in the order of an index."));
    const QCommandLineOption db =
        dbOption(QStringLiteral("The catalogue file (default Tones.abs in this folder)."));
    const QCommandLineOption order(
        QStringLiteral("order"), QStringLiteral("category (default), cps, subcategory or source."),
        QStringLiteral("ORDER"), QStringLiteral("category"));
    parser.addOptions({db, order});
    if (const auto done = parseCommand(parser, QStringList{command} + arguments))
        return *done;
    if (!parser.positionalArguments().isEmpty())
        return fail(BadInput, command + QStringLiteral(": unexpected argument '%1'")
                                            .arg(parser.positionalArguments().front()));
    const QString name = parser.value(order).toLower();
    const std::optional<catalogue::ToneIndex> index =
        name == QStringLiteral("category")      ? catalogue::ToneIndex::Category
        : name == QStringLiteral("cps")         ? catalogue::ToneIndex::Cps
        : name == QStringLiteral("subcategory") ? catalogue::ToneIndex::SubCategory
        : name == QStringLiteral("source")      ? catalogue::ToneIndex::Source
                                                : std::optional<catalogue::ToneIndex>();
    if (!index)
        return fail(BadInput, command + QStringLiteral(": unknown order '%1' (category, cps, "
                                                       "subcategory or source)")
                                            .arg(parser.value(order)));

    catalogue::TonesDatabase database;
    if (!database.open(parser.value(db), catalogue::TonesDatabase::Missing::Refuse))
        return fail(BadInput, command + QStringLiteral(": ") + database.errorString());
    catalogue::TonesCursor cursor(database);
    cursor.setIndex(*index);
    if (!cursor.open())
        return fail(BadInput, command + QStringLiteral(": ") + cursor.errorString());
    QByteArray out;
    for (int row = 0; row < cursor.rowCount(); ++row) {
        const catalogue::ToneRecord record = cursor.record(row);
        out +=
            QStringList{record.text(Field::Cps), record.category, record.subCategory, record.source}
                .join(u'\t')
                .toUtf8() +
            '\n';
    }
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    return Success;
}

// add and delete: one record named by all four fields.
int change(const QString& command, const QStringList& arguments, bool add)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        add ? QStringLiteral("Adds one record to the tone catalogue. A record equal in all four "
                             "fields to one already there is refused. An empty value leaves "
                             "the field empty.")
            : QStringLiteral("Deletes the record equal in all four fields (letter case "
                             "included) to the one given."));
    const QCommandLineOption db = dbOption(QStringLiteral("The catalogue file."));
    const QList<std::pair<Field, QCommandLineOption>> fields{
        {Field::Cps,
         QCommandLineOption(QStringLiteral("cps"), QStringLiteral("The frequency, whole hertz."),
                            QStringLiteral("N"))},
        {Field::Category, QCommandLineOption(QStringLiteral("category"),
                                             QStringLiteral("Category, at most 40 characters."),
                                             QStringLiteral("C"))},
        {Field::SubCategory,
         QCommandLineOption(QStringLiteral("subcategory"),
                            QStringLiteral("SubCategory, at most 40 characters."),
                            QStringLiteral("S"))},
        {Field::Source,
         QCommandLineOption(QStringLiteral("source"),
                            QStringLiteral("Source, at most 60 characters."), QStringLiteral("R"))},
    };
    parser.addOption(db);
    for (const auto& [field, option] : fields)
        parser.addOption(option);
    if (const auto done = parseCommand(parser, QStringList{command} + arguments))
        return *done;
    const auto bad = [&](const QString& what) {
        return fail(BadInput, command + QStringLiteral(": ") + what);
    };
    if (!parser.positionalArguments().isEmpty())
        return bad(
            QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().front()));
    if (!parser.isSet(db))
        return bad(QStringLiteral("no catalogue file given (--db FILE)"));

    catalogue::ToneRecord record;
    for (const auto& [field, option] : fields) {
        if (!parser.isSet(option))
            return bad(QStringLiteral("--%1 is missing (an empty value leaves the field empty)")
                           .arg(option.names().front()));
        const QString text = parser.value(option);
        if (const QString problem = catalogue::textProblem(field, text); !problem.isEmpty())
            return bad(problem);
        switch (field) {
        case Field::Category:
            record.category = text;
            break;
        case Field::SubCategory:
            record.subCategory = text;
            break;
        case Field::Cps:
            catalogue::cpsOf(text, &record.cps, nullptr);
            break;
        case Field::Source:
            record.source = text;
            break;
        }
    }

    catalogue::TonesDatabase database;
    // A file another program holds is sound but could not be written, as when the lock comes
    // a moment later, between the opening and the write.
    if (!database.open(parser.value(db), catalogue::TonesDatabase::Missing::Refuse))
        return fail(database.wasLocked() ? IoFailure : BadInput,
                    command + QStringLiteral(": ") + database.errorString());
    if (database.isReadOnly())
        return fail(IoFailure, command + QStringLiteral(": ") + database.readOnlyMessage());
    catalogue::TonesCursor cursor(database);
    if (!cursor.open())
        return bad(cursor.errorString());

    if (!add) {
        if (!cursor.locate(record))
            return fail(NoResult, command + QStringLiteral(": ") + cursor.errorString());
        if (!cursor.deleteRecord())
            return fail(IoFailure, command + QStringLiteral(": ") + cursor.errorString());
        return Success;
    }
    bool written = cursor.append();
    for (const Field field : catalogue::kFields)
        written = written && cursor.setFieldText(field, record.text(field));
    if (written && cursor.post())
        return Success;
    // The store's own refusal is bad input; anything else is the file failing.
    const bool refused = cursor.errorString() == catalogue::messages::duplicate();
    return fail(refused ? BadInput : IoFailure,
                command + QStringLiteral(": ") + cursor.errorString());
}

}  // namespace

int runCatalogue(const QStringList& arguments)
{
    const QString action = arguments.value(1);
    if (action == QStringLiteral("list"))
        return list(QStringLiteral("catalogue list"), arguments.mid(2));
    if (action == QStringLiteral("add"))
        return change(QStringLiteral("catalogue add"), arguments.mid(2), true);
    if (action == QStringLiteral("delete"))
        return change(QStringLiteral("catalogue delete"), arguments.mid(2), false);
    if (action == QStringLiteral("--help") || action == QStringLiteral("-h")) {
        printLine(QStringLiteral(
            "Usage: sonarith-cli catalogue list|add|delete [options]\n"
            "The tone catalogue.\n\n"
            "  list [--db FILE] [--order category|cps|subcategory|source]\n"
            "      prints every record as tab-separated CPS, Category, SubCategory, Source\n"
            "  add --db FILE --cps N --category C --subcategory S --source R\n"
            "      adds one record\n"
            "  delete --db FILE --cps N --category C --subcategory S --source R\n"
            "      deletes the record equal in all four fields\n\n"
            "'sonarith-cli catalogue ACTION --help' describes one."));
        return Success;
    }
    return fail(BadInput, action.isEmpty()
                              ? QStringLiteral("catalogue: expected list, add or delete")
                              : QStringLiteral("catalogue: unknown action '%1' (list, add or "
                                               "delete)")
                                    .arg(action));
}

}  // namespace cli
