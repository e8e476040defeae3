#include "app/help_text.h"

#include <gtest/gtest.h>

#include "texts/sign_legend.h"

namespace velmar {
namespace {

TEST(HelpText, HasEverySectionTheSignsAndThePlaces) {
  const std::string html = HelpHtml({"/opt/velmar32/dbase/", "/home/a&b/.config/velmar32/Velmar32.ini", false});
  for (const std::string_view anchor : {kHelpPages, kHelpReports, kHelpSigns, kHelpKeys, kHelpFiles, kHelpSettings}) {
    SCOPED_TRACE(std::string(anchor));
    EXPECT_NE(html.find("<a name=\"" + std::string(anchor) + "\"></a>"), std::string::npos);
  }
  for (const ServiceSign& s : ServiceSigns()) EXPECT_NE(html.find(std::string(s.meaning)), std::string::npos);
  EXPECT_NE(html.find("<b>/opt/velmar32/dbase/</b>"), std::string::npos);
  EXPECT_NE(html.find("/home/a&amp;b/.config/velmar32/Velmar32.ini"), std::string::npos);  // escaped
  for (const char* file : {"January.db", "Easter.db", "Epiphany.db", "Addition.db", "Fasting.db", "Zachala.db",
                           "Readings.db", "Names.db", "Windows-1251"})
    EXPECT_NE(html.find(file), std::string::npos) << file;
  // The red of the signs reads on the page's background.
  EXPECT_NE(html.find("color:#c00000"), std::string::npos);
  EXPECT_NE(HelpHtml({"", "", true}).find("color:#ff9e96"), std::string::npos);
  EXPECT_EQ(HelpHtml({"", "", true}).find("color:#c00000"), std::string::npos);
  EXPECT_EQ(HtmlEscape("<a href=\"x\">&</a>"), "&lt;a href=&quot;x&quot;&gt;&amp;&lt;/a&gt;");
}

}  // namespace
}  // namespace velmar
