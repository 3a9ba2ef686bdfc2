#pragma once

#include "catalogue/tonerecord.h"

#include <QByteArray>
#include <QByteArrayView>

// The catalogue's seed: UTF-8 comma-separated text, the header line
// "Category,SubCategory,CPS,Source", one record a line, fields quoted with double quotes
// where they need it ("" inside quotes is one quote). Lines end with LF or CR LF.
namespace catalogue {

inline constexpr char kSeedHeader[] = "Category,SubCategory,CPS,Source";

// The records of a seed, in file order. A seed with any bad line gives none, and error says
// which line and why ("line 7: ..."): a catalogue is never built from part of a file.
std::optional<QList<ToneRecord>> readSeed(QByteArrayView bytes, QString* error);

// The catalogue the program ships, built into the program.
QByteArray shippedSeed();

}  // namespace catalogue
