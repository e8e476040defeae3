#pragma once
// What the service-rank signs of the day texts mean, in the words of the
// reports' legend, for the places that explain them outside a report: the
// tooltip over a sign and the help.

#include <array>
#include <string_view>

namespace velmar {

struct ServiceSign {
  char code;                 // entry code '0'..'6'
  std::string_view sign;     // as drawn, UTF-8: "·", "•", "ш", "c", "+", "+)", "(+)"
  std::string_view meaning;  // the legend's words, UTF-8
  bool red;                  // drawn in red
};

// The seven signs in the order of their codes.
const std::array<ServiceSign, 7>& ServiceSigns();

// The sign drawn as text (the blanks of its four cells around it allowed),
// or nullptr when the text is no sign.
const ServiceSign* SignOf(std::string_view drawnUtf8);

}  // namespace velmar
