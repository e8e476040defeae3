#pragma once
// The program's short help, in Russian: the pages, the reports, the signs,
// the keys, the files of dbase/ and how to edit them, and the settings. One
// HTML page (UTF-8) with a section per subject, each with an anchor, so that
// the help opens where it is asked for.

#include <string>
#include <string_view>

namespace velmar {

// Anchors of the sections.
inline constexpr std::string_view kHelpPages = "pages";
inline constexpr std::string_view kHelpReports = "reports";
inline constexpr std::string_view kHelpSigns = "signs";
inline constexpr std::string_view kHelpKeys = "keys";
inline constexpr std::string_view kHelpFiles = "files";
inline constexpr std::string_view kHelpSettings = "settings";

struct HelpPlaces {
  std::string databaseFolder;  // where dbase/ is, UTF-8
  std::string settingsFile;    // the Velmar32.ini the program reads, UTF-8
  bool darkBase = false;       // the page's background is dark: the red signs lighter
};

// The help page. Paths are escaped for HTML; the colours other than the red
// of the signs are left to the viewer's palette.
std::string HelpHtml(const HelpPlaces& places);

// The colour of the links of the help page, that reads on its background.
std::string_view HelpLinkColour(bool darkBase);

// Text escaped for HTML: & < > and ".
std::string HtmlEscape(std::string_view utf8);

}  // namespace velmar
