#include "reports/name_search.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "calendar/cp1251.h"
#include "day_test_support.h"
#include "platform/messages.h"
#include "reports/menologion_search.h"
#include "texts/database.h"
#include "texts/names_db.h"
#include "texts/word_match.h"

namespace velmar {
namespace {

// A small menologion and names file written by the test, Windows-1251 with
// CRLF, as the shipped ones are.
class NameSearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir.path() / "dbase");
    for (int m = 1; m <= 12; ++m) Write(std::string(MonthFileNames[static_cast<std::size_t>(m)]), "");
    Write("January.db",
          "[1]\n6=\\b Обрезание Господне\\b0. Свт. Василия Великого\n"
          "[8]\n0=Св. Емилии, матери свт. Василия Великого\n"
          "[18]\n1=Прпп. Кирилла и Марии, родителей прп. Сергия Радонежского\n");
    Write("February.db",
          "[28]\n0=В невисокосные годы память прп. Иоанна Кассиана совершается в сей день\n"
          "1=Прп. Василия исп.\n[29]\n1=Прп. Иоанна Кассиана\n");
    Write("July.db", "[5]\n3=Обретение мощей прп. Сергия, игумена Радонежского\n"
                     "[8]\n4=Явление Казанской иконы Божией Матери\n");
    Write("September.db", "[25]\n5=Преставление прп. Сергия, игумена Радонежского\n");
    Write("November.db", "[17]\n3=Прп. Никона, игум. Радонежского, ученика прп. Сергия\n");
    Write("December.db",
          "[6]\n5=Свт. Николая, архиеп. Мир Ликийских\n"
          "[24]\n0=Навечерие Рождества Христова\n1=Сщмч. Николая Виноградова\n");
    Write("Names.db",
          "[Мужские имена]\nНиколай=Николая\nСергий, Сергей=Сергия\nВасилий=Василия\nИоанн, Иван=Иоанна\n"
          "[Женские имена]\nМария=Марии\nЕмилия=Емилии\n"
          "[Иконы Божией Матери]\nКазанская=Казанской\n");
    AppSettings.menologion = "i";
  }

  void Write(const std::string& name, const std::string& utf8) {
    std::string bytes;
    for (const char c : Utf8ToCp1251(utf8)) {
      if (c == '\n') bytes += '\r';
      bytes += c;
    }
    std::ofstream(dir.path() / "dbase" / name, std::ios::binary) << bytes;
  }

  static std::vector<std::string> Items(const SaintsSearchResult& r) {
    std::vector<std::string> out;
    for (const std::string& item : r.items) out.push_back(Cp1251ToUtf8(item));
    return out;
  }

  const NameRecord& Name(const char* spelling) {
    names = LoadNamesFile();
    const auto found = names.BySpelling(FoldCase(Utf8ToCp1251(spelling)));
    EXPECT_EQ(found.size(), 1u) << spelling;
    return *found.at(0);
  }

  testing::TempProgramDir dir;
  RecordingMessageSink messages;
  NamesFile names;
};

// What a new user types: a name in the nominative, in the wrong case, two
// words apart in the entry. The exact search finds nothing (or less); the
// search that ignores case and endings finds the days, and says so.
TEST_F(NameSearchTest, FindsWhatPeopleType) {
  SaintsSearchResult r = SearchSaints(Utf8ToCp1251("Николай"), 2024);
  EXPECT_EQ(r.count, 0);
  EXPECT_EQ(r.exactItems, 0u);
  EXPECT_EQ(Items(r), (std::vector<std::string>{"19 Декабря (6 Декабря ст.ст.)", "6 Января (24 Декабря ст.ст.)"}));
  EXPECT_EQ(r.looseCount, 2);
  ASSERT_EQ(r.details.size(), 2u);
  EXPECT_TRUE(r.details[0].loose);
  EXPECT_EQ(Cp1251ToUtf8(r.details[0].highlight), "Николая");
  EXPECT_EQ(Cp1251ToUtf8(r.details[1].entries), "Сщмч. Николая Виноградова");

  r = SearchSaints(Utf8ToCp1251("николая"), 2024);
  EXPECT_EQ(r.items.size(), 2u);
  r = SearchSaints(Utf8ToCp1251("СЕРГЕЙ"), 2024);  // another spelling of the name
  EXPECT_EQ(r.items.size(), 4u);
  r = SearchSaints(Utf8ToCp1251("Сергий"), 2024);
  EXPECT_EQ(r.items.size(), 4u);

  // The exact search finds the parents only; the other days follow them.
  r = SearchSaints(Utf8ToCp1251("Сергия Радонежского"), 2024);
  EXPECT_EQ(r.count, 1);
  EXPECT_EQ(r.exactItems, 1u);
  EXPECT_EQ(Items(r), (std::vector<std::string>{"31 Января (18 Января ст.ст.)", "18 Июля (5 Июля ст.ст.)",
                                                "8 Октября (25 Сентября ст.ст.)", "30 Ноября (17 Ноября ст.ст.)"}));
  EXPECT_EQ(Cp1251ToUtf8(r.details[0].highlight), "Сергия Радонежского");
  EXPECT_FALSE(r.details[0].loose);
  EXPECT_TRUE(r.details[1].loose);
  EXPECT_EQ(Cp1251ToUtf8(r.details[1].highlight), "Сергия, игумена Радонежского");
  // Words in any order; a word without a name by its stem ("игум." is no
  // "игумен").
  r = SearchSaints(Utf8ToCp1251("радонежский игумен"), 2024);
  EXPECT_EQ(Items(r), (std::vector<std::string>{"18 Июля (5 Июля ст.ст.)", "8 Октября (25 Сентября ст.ст.)"}));
  // Every word must be there.
  EXPECT_TRUE(SearchSaints(Utf8ToCp1251("Сергий Казанский"), 2024).items.empty());
  EXPECT_TRUE(messages.texts.empty());
}

TEST_F(NameSearchTest, WithoutNamesDbTheSearchIsExactOnly) {
  std::filesystem::remove(dir.path() / "dbase" / "Names.db");
  EXPECT_TRUE(SearchSaints(Utf8ToCp1251("Николай"), 2024).items.empty());
  const SaintsSearchResult r = SearchSaints(Utf8ToCp1251("Сергия Радонежского"), 2024);
  EXPECT_EQ(r.items.size(), 1u);
  EXPECT_EQ(r.details.size(), 1u);
  const std::string report = testing::Capture([] { WriteSearchDocument(Utf8ToCp1251("Николай"), 2024); });
  EXPECT_EQ(report.find("Найдено"), std::string::npos);
  EXPECT_NE(report.find("Всего: 0 совпадений"), std::string::npos);
}

// The report keeps its bytes when the exact search finds something; when it
// finds nothing, it lists what the other search finds, under a line that
// says so, the matched words marked.
TEST_F(NameSearchTest, ReportFallsBackOnlyWhenNothingIsFound) {
  const auto report = [](const char* text) {
    return testing::Capture([&] { WriteSearchDocument(Utf8ToCp1251(text), 2024); });
  };
  const std::string exact = report("Сергия Радонежского");
  std::filesystem::rename(dir.path() / "dbase" / "Names.db", dir.path() / "Names.db");
  EXPECT_EQ(report("Сергия Радонежского"), exact);
  std::filesystem::rename(dir.path() / "Names.db", dir.path() / "dbase" / "Names.db");
  EXPECT_EQ(exact.find("Найдено без учета падежа"), std::string::npos);
  EXPECT_EQ(testing::Count(exact, "\\b0\\par\\f3"), 1u);

  const std::string loose = report("николай");
  EXPECT_NE(loose.find("  ——————————————————————————————\\par\n\\par"
                       "\n\\par\n  \\i Найдено без учета падежа\\i0\\par"
                       "\n\\par\n  \\b 19 Декабря (6 Декабря ст.ст.)\\b0\\par"),
            std::string::npos)
      << loose;
  EXPECT_NE(loose.find("Свт. \\cf1 \\b Николая\\b0 \\cf0 , архиеп. Мир Ликийских\\par"), std::string::npos);
  EXPECT_NE(loose.find("\n  Всего: 2 совпадения\\par"), std::string::npos);
  EXPECT_NE(report("игумен радонежский").find("прп. Сергия, \\cf1 \\b игумена\\b0 \\cf0  "
                                                "\\cf1 \\b Радонежского\\b0 \\cf0 \\par"),
            std::string::npos);
}

TEST_F(NameSearchTest, NameListsAndTheirNamedays) {
  const SaintsSearchResult sergius = SearchName(Name("Сергий"), 2024);
  ASSERT_EQ(sergius.items.size(), 4u);
  // The parents and the disciple name him, but they are not his days.
  EXPECT_FALSE(sergius.details[0].nameday);  // 18 January
  EXPECT_TRUE(sergius.details[1].nameday);   // 5 July
  EXPECT_TRUE(sergius.details[2].nameday);   // 25 September
  EXPECT_FALSE(sergius.details[3].nameday);  // 17 November

  struct Row {
    const char* name;
    CivilDate birthday;
    Date nameday;
  };
  const Row rows[] = {
      {"Сергий", {1, 1, 2024}, {18, 7, 2024}},    // past his parents' day
      {"Сергий", {18, 7, 2024}, {18, 7, 2024}},   // the day itself
      {"Сергий", {19, 7, 2024}, {8, 10, 2024}},
      {"Сергий", {9, 10, 2024}, {18, 7, 2025}},   // across the year's end
      {"Николай", {20, 12, 2024}, {6, 1, 2025}},  // 24 December old style is 6 January
      {"Николай", {7, 1, 2024}, {19, 12, 2024}},
      {"Николай", {20, 12, 1850}, {5, 1, 1851}},  // twelve days in the 19th century
      {"Мария", {1, 1, 2024}, {31, 1, 2024}},     // one saint
      {"Мария", {1, 2, 2024}, {31, 1, 2025}},
      // 29 February old style: in a leap year its own day (13 March), in a
      // common year on the 28th (13 March as well, in the 20th century).
      {"Иоанн", {1, 3, 2024}, {13, 3, 2024}},
      {"Иоанн", {1, 3, 2025}, {13, 3, 2025}},
      {"Иоанн", {14, 3, 2024}, {13, 3, 2025}},
      {"Иоанн", {29, 2, 2024}, {13, 3, 2024}},    // born on 29 February
      {"Василий", {29, 2, 2024}, {12, 3, 2024}},  // 28 February old style
      {"Василий", {2, 1, 2024}, {14, 1, 2024}},
      {"Василий", {15, 1, 2024}, {12, 3, 2024}},  // not 21 January, his mother's day
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.name) + " " + std::to_string(row.birthday.day) + "." +
                 std::to_string(row.birthday.month) + "." + std::to_string(row.birthday.year));
    const SaintsSearchResult days = SearchName(Name(row.name), row.birthday.year);
    const auto nameday = NamedayAfter(days, row.birthday);
    ASSERT_TRUE(nameday.has_value());
    EXPECT_EQ(nameday->date, row.nameday);
  }
  const SaintsSearchResult nicholas = SearchName(Name("Николай"), 2024);
  const auto nameday = NamedayAfter(nicholas, {20, 12, 2024});
  ASSERT_TRUE(nameday.has_value());
  EXPECT_EQ(Cp1251ToUtf8(NamedayHeading(*nameday)), "6 Января 2025 г. (24 Декабря ст.ст.)");
  const SaintsSearchResult cassian = SearchName(Name("Иоанн"), 2025);
  const auto common = NamedayAfter(cassian, {1, 3, 2025});
  ASSERT_TRUE(common.has_value());
  EXPECT_EQ(Cp1251ToUtf8(NamedayHeading(*common)), "13 Марта 2025 г. (28 Февраля ст.ст.)");
  // Emilia is the saint of that entry.
  const auto emilia = NamedayAfter(SearchName(Name("Емилия"), 2024), {2, 1, 2024});
  ASSERT_TRUE(emilia.has_value());
  EXPECT_EQ(emilia->date, (Date{21, 1, 2024}));
  // An icon's list: the icon lines count; no saint.
  const SaintsSearchResult kazan = SearchName(Name("Казанская"), 2024);
  EXPECT_EQ(Items(kazan), std::vector<std::string>{"21 Июля (8 Июля ст.ст.)"});
  EXPECT_TRUE(messages.texts.empty());
}

TEST(LooseMatch, FormsAreExactWordsAndStemsArePrefixes) {
  LooseQuery query;
  query.terms.push_back({{{Utf8ToCp1251("Веры")}}, {}});
  EXPECT_TRUE(MatchLoose(query, Utf8ToCp1251("1=Мцц. Веры, Надежды")).has_value());
  EXPECT_FALSE(MatchLoose(query, Utf8ToCp1251("0=Исповедников веры")).has_value());
  EXPECT_FALSE(MatchLoose(query, Utf8ToCp1251("0=Мц. Веронии")).has_value());
  LooseQuery stem;
  stem.terms.push_back({{}, Utf8ToCp1251("печерск")});
  const auto m = MatchLoose(stem, Utf8ToCp1251("0=Прп. Псково-Печерских отцов"));
  ASSERT_TRUE(m.has_value());
  EXPECT_EQ(m->spans.size(), 1u);
  EXPECT_TRUE(m->commemorated);
  EXPECT_FALSE(MatchLoose(LooseQuery{}, "0=x").has_value());
}

}  // namespace
}  // namespace velmar
