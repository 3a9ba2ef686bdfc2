// Any text in a report exported as rich text: the export is well-formed and the tests' own
// reader finds the same text in it, line for line, less the control characters that a
// paragraph cannot hold.
#include "fuzzcheck.h"
#include "report/rtf.h"
#include "support/documents.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    // The first byte chooses how the rest is text: UTF-8 as typed and pasted, or UTF-16 units,
    // lone surrogates included; and whether the text is right-aligned at a tab stop.
    const QString text =
        data[0] % 2 == 0
            ? QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1))
            : fuzz::unitsOf(data + 1, size - 1);
    report::PreparedReport prepared;
    prepared.setup.margins = QMarginsF(36, 36, 36, 36);
    report::TextObject object;
    object.box = data[0] % 4 < 2 ? QRectF(36, 72, 400, 40) : QRectF(136, 72, 300, 40);
    object.align = data[0] % 4 < 2 ? report::Align::Left : report::Align::Right;
    object.text = text;
    prepared.pages.append(report::Page{{object}, {}});

    const QByteArray rtf = report::rtfDocument(prepared);
    for (const char c : rtf)
        fuzz::require(c == '\n' || (c >= 0x20 && c < 0x7f), "the export is not 7-bit text");
    QString error;
    const std::optional<QList<documents::Paragraph>> paragraphs =
        documents::rtfParagraphs(rtf, &error);
    fuzz::require(paragraphs.has_value(), "the export does not read", error);

    QStringList expected;
    for (QString line : text.split(u'\n')) {
        line.removeIf([](QChar c) { return (c < u' ' && c != u'\t') || c == u'\x7f'; });
        expected << (object.align == report::Align::Right ? u'\t' + line : line);
    }
    QStringList read;
    for (const documents::Paragraph& paragraph : *paragraphs)
        read << paragraph.text;
    // The reader drops a last paragraph that holds nothing.
    if (read.size() == expected.size() - 1 && expected.back().isEmpty())
        read << QString();
    fuzz::require(read == expected, "the export reads back as other text",
                  expected.join(u'|') + QStringLiteral(" -> ") + read.join(u'|'));
    return 0;
}
