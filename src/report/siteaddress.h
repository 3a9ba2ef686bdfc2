#pragma once

#include <QString>

namespace report {

// Sonarith's own web address, printed in the footer of every report as "[nameftr]".
inline const QString SiteAddress = QStringLiteral("https://sonarith.org");

}  // namespace report
