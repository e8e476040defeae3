#include "texts/cp1251.h"

#include <gtest/gtest.h>

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

TEST(Cp1251, UnmappableAndMalformedInputBecomesQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1251("a\xE2\x82"), "a??");        // truncated sequence
  EXPECT_EQ(Utf8ToCp1251("\xFF" "b"), "?b");          // invalid lead byte
  EXPECT_EQ(Utf8ToCp1251("日本"), "??");              // outside the code page
  EXPECT_EQ(Utf8ToCp1251("Ω"), "?");
  EXPECT_EQ(Cp1251ToUtf8(std::string("\0x", 2)), std::string("\0x", 2));
}

}  // namespace
}  // namespace velmar
