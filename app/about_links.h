#pragma once
// What the about box shows and links to: the version line, the project's web
// site and its mirror, and the mail link whose subject names the release.

#include <string>
#include <string_view>

namespace velmar {

// The project's web site, its mirror and its contact address. The project
// has none of them yet: the about box hides a link whose target is empty.
inline constexpr std::string_view kSiteLink = "";
inline constexpr std::string_view kMirrorLink = "";
inline constexpr std::string_view kContactAddress = "";

// "Версия: " + ProgramVersion + " сборка " + ProgramBuild, in Windows-1251.
std::string VersionCaption();

// "Днесловник_(" + ProgramVersion + " b." + ProgramBuild + ")", in Windows-1251.
std::string MailSubject();

// mailto: link to a contact address with the subject above, encoded as
// UTF-8 and percent-escaped (RFC 6068); plain ASCII. Empty for an empty
// address.
std::string MailLink(std::string_view address = kContactAddress);

// Percent-escapes every byte of a UTF-8 text except letters, digits,
// "-._~" and the parentheses.
std::string PercentEncode(std::string_view utf8);

}  // namespace velmar
