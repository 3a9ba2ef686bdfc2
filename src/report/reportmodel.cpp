#include "report/reportmodel.h"

namespace report {

QSizeF PageSetup::sizeInUnits() const
{
    return paper.size(QPageSize::Millimeter) * kUnitsPerMm;
}

}  // namespace report
