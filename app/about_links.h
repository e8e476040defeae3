#pragma once
// What the about box shows and links to: the version line, the project's web
// site and its mirror, and the mail link whose subject names the release.

#include <string>
#include <string_view>

namespace velmar {

inline constexpr std::string_view kSiteLink = "https://velmar32.example.org/velmar32/";
inline constexpr std::string_view kMirrorLink = "https://mirror.example.org/velmar32/";
inline constexpr std::string_view kContactAddress = "velmar32@example.org";

// "Версия: " + ProgramVersion + " сборка " + ProgramBuild, in Windows-1251.
std::string VersionCaption();

// "Днесловник_(" + ProgramVersion + " b." + ProgramBuild + ")", in Windows-1251.
std::string MailSubject();

// mailto: link to the contact address with the subject above, encoded as
// UTF-8 and percent-escaped (RFC 6068); plain ASCII.
std::string MailLink();

// Percent-escapes every byte of a UTF-8 text except letters, digits,
// "-._~" and the parentheses.
std::string PercentEncode(std::string_view utf8);

}  // namespace velmar
