#pragma once

#include "catalogue/tonesdatabase.h"

namespace bench {

constexpr int kLargeCatalogueRecords = 10000;

// One catalogue of 10,000 records for every benchmark of a run, made on first use in a
// temporary folder: categories in mixed letter case, some empty fields.
catalogue::TonesDatabase& largeCatalogue();

}  // namespace bench
