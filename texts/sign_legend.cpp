#include "texts/sign_legend.h"

namespace velmar {

const std::array<ServiceSign, 7>& ServiceSigns() {
  static constexpr std::array<ServiceSign, 7> kSigns = {{
      {'0', "·", "Календарное указание или память святого, не имеющего службы", false},
      {'1', "•", "Совершается рядовая служба (без знака типикона)", false},
      {'2', "ш", "Совершается служба на шесть", false},
      {'3', "c", "Совершается служба со славословием", true},
      {'4', "+", "Совершается служба с полиелеем", true},
      {'5', "+)", "Совершается всенощное бдение", true},
      {'6', "(+)", "Совершается великое всенощное бдение", true},
  }};
  return kSigns;
}

const ServiceSign* SignOf(std::string_view drawn) {
  while (!drawn.empty() && drawn.front() == ' ') drawn.remove_prefix(1);
  while (!drawn.empty() && drawn.back() == ' ') drawn.remove_suffix(1);
  for (const ServiceSign& s : ServiceSigns())
    if (drawn == s.sign) return &s;
  return nullptr;
}

}  // namespace velmar
