#include "texts/word_match.h"

#include <algorithm>
#include <array>

#include "calendar/cp1251.h"

namespace velmar {
namespace {

// Capital and small letters of Windows-1251 outside A..Z and А..Я.
constexpr std::array<std::pair<unsigned char, unsigned char>, 14> kOtherCyrillic = {{
    {0x80, 0x90},  // Ђ ђ
    {0x81, 0x83},  // Ѓ ѓ
    {0x8A, 0x9A},  // Љ љ
    {0x8C, 0x9C},  // Њ њ
    {0x8D, 0x9D},  // Ќ ќ
    {0x8E, 0x9E},  // Ћ ћ
    {0x8F, 0x9F},  // Џ џ
    {0xA1, 0xA2},  // Ў ў
    {0xA3, 0xBC},  // Ј ј
    {0xA5, 0xB4},  // Ґ ґ
    {0xAA, 0xBA},  // Є є
    {0xAF, 0xBF},  // Ї ї
    {0xB2, 0xB3},  // І і
    {0xBD, 0xBE},  // Ѕ ѕ
}};

constexpr unsigned char kSmallYe = 0xE5;  // е

struct Tables {
  std::array<unsigned char, 256> fold{};
  std::array<bool, 256> letter{};
};

constexpr Tables MakeTables() {
  Tables t;
  for (int b = 0; b < 256; ++b) t.fold[static_cast<std::size_t>(b)] = static_cast<unsigned char>(b);
  for (int b = 'A'; b <= 'Z'; ++b) {
    t.fold[static_cast<std::size_t>(b)] = static_cast<unsigned char>(b + 32);
    t.letter[static_cast<std::size_t>(b)] = t.letter[static_cast<std::size_t>(b + 32)] = true;
  }
  for (int b = '0'; b <= '9'; ++b) t.letter[static_cast<std::size_t>(b)] = true;
  for (int b = 0xC0; b <= 0xDF; ++b) {
    t.fold[static_cast<std::size_t>(b)] = static_cast<unsigned char>(b + 32);
    t.letter[static_cast<std::size_t>(b)] = t.letter[static_cast<std::size_t>(b + 32)] = true;
  }
  for (const auto& [capital, small] : kOtherCyrillic) {
    t.fold[capital] = small;
    t.letter[capital] = t.letter[small] = true;
  }
  t.fold[0xA8] = t.fold[0xB8] = kSmallYe;  // Ё ё
  t.letter[0xA8] = t.letter[0xB8] = true;
  return t;
}

constexpr Tables kTables = MakeTables();

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// Inflectional endings, longest first within the list the stemmer tries.
constexpr std::array<std::string_view, 54> kEndings = {
    "иями"_cp, "ами"_cp, "ями"_cp, "ого"_cp, "его"_cp, "ому"_cp, "ему"_cp, "ыми"_cp, "ими"_cp,
    "ией"_cp,  "иям"_cp, "иях"_cp, "иев"_cp, "ая"_cp,  "яя"_cp,  "ую"_cp,  "юю"_cp,  "ой"_cp,
    "ей"_cp,   "ий"_cp,  "ый"_cp,  "ое"_cp,  "ее"_cp,  "ые"_cp,  "ие"_cp,  "ых"_cp,  "их"_cp,
    "ом"_cp,   "ем"_cp,  "ам"_cp,  "ям"_cp,  "ах"_cp,  "ях"_cp,  "ов"_cp,  "ев"_cp,  "ия"_cp,
    "ии"_cp,   "ию"_cp,  "ья"_cp,  "ью"_cp,  "ье"_cp,  "ьи"_cp,  "ею"_cp,  "ою"_cp,  "а"_cp,
    "я"_cp,    "ы"_cp,   "и"_cp,   "у"_cp,   "ю"_cp,   "е"_cp,   "о"_cp,   "ь"_cp,   "й"_cp,
};

constexpr std::size_t kShortestStem = 3;

}  // namespace

char FoldByte(char c) { return static_cast<char>(kTables.fold[static_cast<unsigned char>(c)]); }

std::string FoldCase(std::string_view cp1251) {
  std::string out(cp1251);
  for (char& c : out) c = FoldByte(c);
  return out;
}

bool IsWordByte(char c) { return kTables.letter[static_cast<unsigned char>(c)]; }

std::vector<TextWord> SplitWords(std::string_view text) {
  std::vector<TextWord> words;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '\\') {
      // A control word with its numeric parameter, an escaped byte or an
      // escaped character.
      ++i;
      if (i < text.size() && IsAsciiLetter(text[i])) {
        while (i < text.size() && IsAsciiLetter(text[i])) ++i;
        if (i < text.size() && text[i] == '-') ++i;
        while (i < text.size() && IsAsciiDigit(text[i])) ++i;
      } else if (i < text.size() && text[i] == '\'') {
        i = std::min(text.size(), i + 3);
      } else if (i < text.size()) {
        ++i;
      }
      continue;
    }
    if (!IsWordByte(c)) {
      ++i;
      continue;
    }
    TextWord word{i, i};
    while (i < text.size()) {
      if (IsWordByte(text[i])) {
        ++i;
      } else if (text[i] == '-' && i + 1 < text.size() && IsWordByte(text[i + 1])) {
        i += 2;
      } else {
        break;
      }
    }
    word.end = i;
    words.push_back(word);
  }
  return words;
}

std::string WordStem(std::string_view folded) {
  if (folded.size() <= kShortestStem) return std::string(folded);
  for (const std::string_view ending : kEndings) {
    if (folded.size() >= ending.size() + kShortestStem && folded.ends_with(ending))
      return std::string(folded.substr(0, folded.size() - ending.size()));
  }
  return std::string(folded);
}

}  // namespace velmar
