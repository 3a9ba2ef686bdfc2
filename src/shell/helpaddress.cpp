#include "shell/helpaddress.h"

namespace shell {

HelpAddress HelpAddress::parse(const QString& address)
{
    const qsizetype separator = address.indexOf(QLatin1String("::"));
    if (separator < 0)
        return {address, {}};
    QString page = address.mid(separator + 2);
    while (page.startsWith(u'/') || page.startsWith(u'\\'))
        page.remove(0, 1);
    return {address.left(separator), page.replace(u'\\', u'/')};
}

}  // namespace shell
