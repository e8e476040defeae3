#pragma once
// Words of Windows-1251 texts, for the searches that ignore case and endings.
//
// Case folding works on the bytes of the code page: Latin A..Z, Cyrillic
// А..Я and the other Cyrillic capitals of Windows-1251 (Ђ Ѓ Є Ѕ І Ї Ј Љ Њ Ћ
// Ќ Ў Џ Ґ) become small letters, and Ё and ё both become е, as a reader
// takes them for one letter. Every other byte stays as it is.
//
// A word is a run of letters (Latin, Cyrillic) and digits; a hyphen between
// two of them joins them into one word ("Псково-Печерских", "70-ти"). An RTF
// control word of a database text ("\b", "\b0", "\par"), an escaped byte
// ("\'e0") and an escaped character ("\\", "\{") are no part of any word.

#include <string>
#include <string_view>
#include <vector>

namespace velmar {

// The folded byte (see above).
char FoldByte(char c);

// The text with every byte folded.
std::string FoldCase(std::string_view cp1251);

// Whether a byte is a letter or a digit of Windows-1251.
bool IsWordByte(char c);

// A word of a text: its bytes [begin, end).
struct TextWord {
  std::size_t begin = 0;
  std::size_t end = 0;
};

// The words of a text, in order.
std::vector<TextWord> SplitWords(std::string_view cp1251);

// The stem of a folded Russian word: the word without its inflectional
// ending (the longest of the usual noun and adjective endings that leaves at
// least three letters: "радонежского" -> "радонежск", "николай" -> "никола",
// "ольга" -> "ольг"); a word of three letters or fewer is its own stem. A
// word of the text "matches" a stem when its folded form starts with it.
std::string WordStem(std::string_view folded);

}  // namespace velmar
