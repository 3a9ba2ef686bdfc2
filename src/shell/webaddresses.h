#pragma once

#include <QString>

namespace shell {

// The publisher's name as the links window shows it.
inline constexpr char kPublisherName[] = "The Sonarith Project";

// The pages the links of the links window and the donation window open, all on the
// project's own site.
enum class WebPage {
    Update,      // the program's update page
    Software,    // the project's software page
    Home,        // this program's home page
    DigitWheel,  // the project's other free programs
    LetterChart,
    ToneTable,
    Donation,    // the donation page, with the request fields of a donation
    Kindlyware,  // the page about the donation scheme
};

QString webAddress(WebPage page);

}  // namespace shell
