#include "calendar/cp1251.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace velmar {
namespace {

TEST(Cp1251, LiteralsAreEncodedAtCompileTime) {
  constexpr std::string_view word = "Днесловник"_cp;
  static_assert(word.size() == 10);
  EXPECT_EQ(static_cast<unsigned char>(word[0]), 0xC4);
  EXPECT_EQ("Ёё№—·•ш"_cp, std::string_view("\xA8\xB8\xB9\x97\xB7\x95\xF8"));
  EXPECT_EQ("plain"_cp, "plain");
}

TEST(Cp1251, EveryByteRoundTripsExceptTheUnassignedOne) {
  for (int b = 1; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    const std::string utf8 = Cp1251ToUtf8(byte);
    if (b == 0x98) {
      EXPECT_EQ(utf8, "\xEF\xBF\xBD");  // U+FFFD
      EXPECT_EQ(Utf8ToCp1251(utf8), "?");
    } else {
      EXPECT_EQ(Utf8ToCp1251(utf8), byte) << b;
    }
  }
}

// The upper half of Windows-1251 as the code page defines it: 0x80..0xBF
// one by one, then the 64 letters А..я in alphabetical order.
TEST(Cp1251, EveryByteDecodesToItsCharacter) {
  const char32_t upper[64] = {
      0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80: Ђ Ѓ ‚ ѓ „ … † ‡
      0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88: € ‰ Љ ‹ Њ Ќ Ћ Џ
      0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90: ђ ‘ ’ “ ” • – —
      0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98: (none) ™ љ › њ ќ ћ џ
      0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0: nbsp Ў ў Ј ¤ Ґ ¦ §
      0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8: Ё © Є « ¬ shy ® Ї
      0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0: ° ± І і ґ µ ¶ ·
      0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8: ё № є » ј Ѕ ѕ ї
  };
  for (int b = 0; b < 0x80; ++b) EXPECT_EQ(Cp1251ToScalar(static_cast<unsigned char>(b)), char32_t(b));
  for (int b = 0x80; b < 0xC0; ++b)
    EXPECT_EQ(Cp1251ToScalar(static_cast<unsigned char>(b)), upper[b - 0x80]) << b;
  const std::string letters = "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмнопрстуфхцчшщъыьэюя";
  std::string bytes;
  for (int b = 0xC0; b <= 0xFF; ++b) bytes += static_cast<char>(b);
  EXPECT_EQ(Cp1251ToUtf8(bytes), letters);
  EXPECT_EQ(Utf8ToCp1251(letters), bytes);
  EXPECT_EQ(Cp1251ToUtf8("\x96\x97\xB9"), "–—№");
}

// UTF-8 of every length, at the boundaries of each; surrogates and values
// past U+10FFFF become U+FFFD.
TEST(Cp1251, AppendUtf8) {
  struct Row { char32_t scalar; const char* utf8; };
  const Row rows[] = {
      {0x41, "A"},                          {0x7F, "\x7F"},
      {0x80, "\xC2\x80"},                   {0x7FF, "\xDF\xBF"},  {0x800, "\xE0\xA0\x80"},
      {0xD7FF, "\xED\x9F\xBF"},             {0xD800, "\xEF\xBF\xBD"}, {0xDFFF, "\xEF\xBF\xBD"},
      {0xE000, "\xEE\x80\x80"},             {0xFFFF, "\xEF\xBF\xBF"}, {0x10000, "\xF0\x90\x80\x80"},
      {0x10FFFF, "\xF4\x8F\xBF\xBF"},       {0x110000, "\xEF\xBF\xBD"},
  };
  for (const Row& r : rows) {
    std::string out;
    AppendUtf8(out, r.scalar);
    EXPECT_EQ(out, r.utf8) << std::hex << static_cast<std::uint32_t>(r.scalar);
  }
}

TEST(Cp1251, UnmappableAndMalformedInputBecomesQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1251("a\xE2\x82"), "a??");        // truncated sequence
  EXPECT_EQ(Utf8ToCp1251("\xFF" "b"), "?b");          // invalid lead byte
  EXPECT_EQ(Utf8ToCp1251("日本"), "??");              // outside the code page
  EXPECT_EQ(Utf8ToCp1251("Ω"), "?");
  // Four-byte sequences are never in the code page, whatever their low bits.
  EXPECT_EQ(Utf8ToCp1251("\xF1\x80\x90\x81"), "?");  // U+40401, not Ё (U+0401)
  EXPECT_EQ(Utf8ToCp1251("\xF0\x9F\x98\x80" "x"), "?x");
  EXPECT_EQ(Utf8ToCp1251("\xE2\x80\x94\xC2\xA0"), "\x97\xA0");  // — and a no-break space
  EXPECT_EQ(Utf8ToCp1251("\xC2"), "?");                            // cut after its lead byte
  EXPECT_EQ(Utf8ToCp1251("\xD0\x41"), "?A");                       // a lead without its tail
  EXPECT_EQ(Cp1251ToUtf8(std::string("\0x", 2)), std::string("\0x", 2));
}

}  // namespace
}  // namespace velmar
