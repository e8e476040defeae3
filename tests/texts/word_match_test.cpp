#include "texts/word_match.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calendar/cp1251.h"
#include "platform/messages.h"
#include "texts/names_db.h"

namespace velmar {
namespace {

std::string Fold(const char* utf8) { return Cp1251ToUtf8(FoldCase(Utf8ToCp1251(utf8))); }

std::vector<std::string> Words(const char* utf8) {
  const std::string text = Utf8ToCp1251(utf8);
  std::vector<std::string> out;
  for (const TextWord& w : SplitWords(text)) out.push_back(Cp1251ToUtf8(text.substr(w.begin, w.end - w.begin)));
  return out;
}

TEST(WordMatch, FoldsTheCyrillicOfTheCodePage) {
  EXPECT_EQ(Fold("НИКОЛАЯ Сергия"), "николая сергия");
  EXPECT_EQ(Fold("Ёлка ёж Е е"), "елка еж е е");          // Ё and ё are е
  EXPECT_EQ(Fold("ЂЃЄЅІЇЈЉЊЋЌЎЏҐ"), "ђѓєѕіїјљњћќўџґ");
  EXPECT_EQ(Fold("ABC xyz 09"), "abc xyz 09");
  EXPECT_EQ(Fold("«Я» — №1"), "«я» — №1");                // punctuation stays
  // Every byte: small letters and non-letters fold to themselves, and
  // folding twice changes nothing.
  for (int b = 0; b < 256; ++b) {
    const char c = static_cast<char>(b);
    EXPECT_EQ(FoldByte(FoldByte(c)), FoldByte(c)) << b;
    if (!IsWordByte(c)) {
      EXPECT_EQ(FoldByte(c), c) << b;
    }
  }
  EXPECT_FALSE(IsWordByte('\x98'));
  EXPECT_FALSE(IsWordByte('-'));
}

TEST(WordMatch, WordsSkipRtfAndKeepHyphenatedCompounds) {
  EXPECT_EQ(Words("\\b Обрезание\\b0. Свт. Василия"), (std::vector<std::string>{"Обрезание", "Свт", "Василия"}));
  EXPECT_EQ(Words("Псково-Печерских, 70-ти; -Мчч- «Знамение»"),
            (std::vector<std::string>{"Псково-Печерских", "70-ти", "Мчч", "Знамение"}));
  EXPECT_EQ(Words("\\'c8ван \\\\ x\\par y\\fs-20z"), (std::vector<std::string>{"ван", "x", "y", "z"}));
  EXPECT_EQ(Words("\\"), std::vector<std::string>{});
  EXPECT_EQ(Words("\\'"), std::vector<std::string>{});
}

TEST(WordMatch, StemsDropTheEnding) {
  struct Row { const char* word; const char* stem; };
  const Row rows[] = {
      {"радонежского", "радонежск"}, {"николай", "никола"},   {"сергий", "серг"},
      {"ольга", "ольг"},             {"ольги", "ольг"},        {"казанская", "казанск"},
      {"иконы", "икон"},             {"петр", "петр"},         {"ия", "ия"},
      {"лев", "лев"},                {"мучениками", "мученик"}, {"печерских", "печерск"},
  };
  for (const Row& r : rows) EXPECT_EQ(Cp1251ToUtf8(WordStem(Utf8ToCp1251(r.word))), r.stem) << r.word;
}

NamesFile Parse(const char* utf8) {
  NamesFile names;
  std::string text = Utf8ToCp1251(utf8);
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size() - 1;
    names.AddLine(text.substr(start, end - start + 1));
    start = end + 1;
  }
  return names;
}

TEST(NamesFile, ReadsSectionsSpellingsAndForms) {
  RecordingMessageSink messages;
  const NamesFile names = Parse(
      "; comment\n"
      "[Мужские имена]\n"
      "Николай=Николая, Николы\n"
      "Сергий, Сергей = Сергия ,Сергию\n"
      "Николай=Николаю\n"            // the same name: more forms
      "\n"
      "[ЖЕНСКИЕ]\r\n"
      "Иоанна=Иоанны\r\n"
      "[Иконы Божией Матери] label\n"
      "Всех скорбящих Радость=«Всех скорбящих Радость»\n"
      "Черниговская-Елецкая=Черниговской-Елецкой\n");
  EXPECT_EQ(names.BadLines(), 0);
  EXPECT_TRUE(messages.texts.empty());
  ASSERT_EQ(names.Names().size(), 5u);
  const NameRecord& nicholas = names.Names()[0];
  EXPECT_EQ(nicholas.kind, NameKind::Male);
  EXPECT_EQ(nicholas.forms.size(), 3u);
  EXPECT_EQ(Cp1251ToUtf8(nicholas.forms[2][0]), "Николаю");
  const NameRecord& sergius = names.Names()[1];
  ASSERT_EQ(sergius.spellings.size(), 2u);
  EXPECT_EQ(Cp1251ToUtf8(sergius.spellings[1]), "Сергей");
  EXPECT_EQ(Cp1251ToUtf8(sergius.forms[1][0]), "Сергию");
  EXPECT_EQ(names.Names()[2].kind, NameKind::Female);
  EXPECT_EQ(names.Names()[3].kind, NameKind::Icon);
  EXPECT_EQ(names.Names()[3].forms[0].size(), 3u);
  EXPECT_EQ(names.Names()[4].forms[0].size(), 1u);  // one hyphenated word

  EXPECT_EQ(names.OfKind(NameKind::Male).size(), 2u);
  EXPECT_EQ(names.BySpelling(FoldCase(Utf8ToCp1251("СЕРГЕЙ"))).size(), 1u);
  EXPECT_TRUE(names.BySpelling(FoldCase(Utf8ToCp1251("Сергия"))).empty());  // a form, not a spelling
  ASSERT_EQ(names.ByWord(FoldCase(Utf8ToCp1251("николы"))).size(), 1u);
  EXPECT_TRUE(names.ByWord(FoldCase(Utf8ToCp1251("скорбящих"))).empty());  // part of a form
}

TEST(NamesFile, BadLinesAreReportedAndPassedOver) {
  RecordingMessageSink messages;
  const NamesFile names = Parse(
      "Николай=Николая\n"        // before the first header
      "[Мужские]\n"
      "Петр Петра\n"             // no "="
      "=Павла\n"                 // no name
      "Лев=\n"                   // no form
      "Лука= , \n"               // no form either
      "Фома=Фомы\n"
      "[Святые]\n"               // names no section
      "Иов=Иова\n"               // under the bad header
      "[Женские]\n"
      "Анна=Анны\n");
  EXPECT_EQ(names.BadLines(), 6);
  EXPECT_EQ(messages.texts.size(), 6u);
  EXPECT_EQ(messages.texts.front(), "Error in input file Names.db.");
  ASSERT_EQ(names.Names().size(), 2u);
  EXPECT_EQ(Cp1251ToUtf8(names.Names()[0].spellings[0]), "Фома");
  EXPECT_EQ(Cp1251ToUtf8(names.Names()[1].spellings[0]), "Анна");
}

}  // namespace
}  // namespace velmar
