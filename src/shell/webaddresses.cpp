#include "shell/webaddresses.h"

#include "report/siteaddress.h"

namespace shell {

QString webAddress(WebPage page)
{
    const auto on = [](const char* path) { return report::SiteAddress + QLatin1String(path); };
    switch (page) {
    case WebPage::Update:
        return on("/update");
    case WebPage::Software:
        return on("/software");
    case WebPage::Home:
        return report::SiteAddress;
    case WebPage::DigitWheel:
        return on("/software/digit-wheel");
    case WebPage::LetterChart:
        return on("/software/letter-chart");
    case WebPage::ToneTable:
        return on("/software/tone-table");
    case WebPage::Donation:
        return on("/donate/pay?business=donations%40sonarith.org&item_name=Software+Donation"
                  "&item_number=DN-101&no_shipping=1&cn=Optional+Note&tax=0&currency_code=USD");
    case WebPage::Kindlyware:
        return on("/kindlyware");
    }
    return {};
}

}  // namespace shell
