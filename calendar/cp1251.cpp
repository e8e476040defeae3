#include "calendar/cp1251.h"

namespace velmar {

void AppendUtf8(std::string& out, char32_t c) {
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string Cp1251ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (const char ch : text) AppendUtf8(out, Cp1251ToScalar(static_cast<unsigned char>(ch)));
  return out;
}

std::string Utf8ToCp1251(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    std::size_t extra = 0;
    char32_t c = 0;
    if (b0 < 0x80) { c = b0; }
    else if ((b0 & 0xE0) == 0xC0) { c = b0 & 0x1F; extra = 1; }
    else if ((b0 & 0xF0) == 0xE0) { c = b0 & 0x0F; extra = 2; }
    else if ((b0 & 0xF8) == 0xF0) { c = b0 & 0x07; extra = 3; }
    else { out += '?'; ++i; continue; }
    bool ok = i + extra < n;
    for (std::size_t k = 1; ok && k <= extra; ++k) {
      const auto b = static_cast<unsigned char>(text[i + k]);
      if ((b & 0xC0) != 0x80) ok = false;
      else c = (c << 6) | (b & 0x3F);
    }
    if (!ok) { out += '?'; ++i; continue; }
    i += extra + 1;
    const int byte = cp1251_detail::EncodeScalar(c);
    out += byte < 0 ? '?' : static_cast<char>(byte);
  }
  return out;
}

}  // namespace velmar
