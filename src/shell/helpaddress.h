#pragma once

#include <QString>

namespace shell {

// The help file's name in the data folder.
inline constexpr char kHelpFileName[] = "Velnora.chm";

// What a help request names: a help file and, after "::", the path of one page inside it
// ("<file>::/html/veln7lf6.htm"). The file alone names its default page.
struct HelpAddress
{
    QString file;
    QString page;  // "html/veln7lf6.htm", without the leading "/"; empty for the default page

    // "<file>" + topic path, the way every window addresses a page.
    static HelpAddress parse(const QString& address);
};

}  // namespace shell
