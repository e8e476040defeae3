#include "app/about_links.h"

#include "app/settings.h"
#include "calendar/cp1251.h"

namespace velmar {

std::string VersionCaption() {
  std::string text("Версия: "_cp);
  text += ProgramVersion;
  text += " сборка "_cp;
  text += ProgramBuild;
  return text;
}

std::string MailSubject() {
  std::string text("Днесловник_("_cp);
  text += ProgramVersion;
  text += " b.";
  text += ProgramBuild;
  text += ")";
  return text;
}

std::string MailLink(std::string_view address) {
  if (address.empty()) return {};
  std::string link = "mailto:";
  link += address;
  link += "?subject=";
  link += PercentEncode(Cp1251ToUtf8(MailSubject()));
  return link;
}

std::string PercentEncode(std::string_view utf8) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : utf8) {
    const auto b = static_cast<unsigned char>(c);
    const bool plain = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') ||
                       (b >= '0' && b <= '9') || b == '-' || b == '.' || b == '_' ||
                       b == '~' || b == '(' || b == ')';
    if (plain) {
      out += c;
    } else {
      out += '%';
      out += kHex[b >> 4];
      out += kHex[b & 0x0F];
    }
  }
  return out;
}

}  // namespace velmar
