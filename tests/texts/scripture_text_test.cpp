// The text of a reading from SWORD modules, against Debian's King James
// Version (sword-text-kjv, installed by scripts/deps.sh in /usr/share/sword):
// known verses, the Synodal numbering mapped to the KJV's, verses that don't
// exist, a book the KJV hasn't, a module that isn't there, and the order in
// which the installed Bibles are offered.
#include "texts/scripture_text.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "calendar/cp1251.h"

namespace velmar {
namespace {

namespace fs = std::filesystem;

constexpr const char* kDebianSword = "/usr/share/sword";
constexpr const char* kKjv = "engKJV2006eb";

const BibleBook& Book(const char* utf8) {
  const BibleBook* book = FindBibleBook(Utf8ToCp1251(utf8));
  EXPECT_NE(book, nullptr) << utf8;
  static const BibleBook kNone{"", "", BibleBook::Part::Gospel};
  return book != nullptr ? *book : kNone;
}

ScripturePiece Piece(const char* book, std::vector<VerseSpan> spans) {
  ScripturePiece piece;
  piece.book = &Book(book);
  piece.spans = std::move(spans);
  return piece;
}

// "chapter:verse" of each verse.
std::vector<std::string> Numbers(const ScripturePassage& p) {
  std::vector<std::string> out;
  for (const ScriptureVerse& v : p.verses) out.push_back(std::to_string(v.chapter) + ":" + std::to_string(v.verse));
  return out;
}

class KjvLibrary : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(fs::exists(fs::path(kDebianSword) / "mods.d" / "engKJV2006eb.conf"))
        << "the tests read Debian's sword-text-kjv: run scripts/deps.sh";
  }
  ScriptureLibrary library_{kDebianSword};
};

TEST_F(KjvLibrary, KnownVersesInOrderWithTheirNumbers) {
  ASSERT_FALSE(library_.Bibles().empty());
  EXPECT_EQ(library_.PreferredBible(), kKjv);
  EXPECT_EQ(library_.Bibles().front().versification, "KJV");
  EXPECT_EQ(library_.Bibles().front().description, "King James Version");

  const ScripturePassage john = library_.Passage(kKjv, Piece("Ин.", {{1, 1, 1, 3}}));
  ASSERT_TRUE(john.moduleFound);
  EXPECT_EQ(Numbers(john), (std::vector<std::string>{"1:1", "1:2", "1:3"}));
  EXPECT_EQ(john.verses[0].text, "In the beginning was the Word, and the Word was with God, and the Word was God.");
  EXPECT_TRUE(john.missing.empty());
  EXPECT_FALSE(john.renumbered);

  // Pieces of two chapters, and a span across a chapter's end: no Strong's
  // numbers, notes or markup in the text.
  const ScripturePassage luke = library_.Passage(kKjv, Piece("Лк.", {{10, 41, 10, 42}, {11, 27, 11, 28}}));
  EXPECT_EQ(Numbers(luke), (std::vector<std::string>{"10:41", "10:42", "11:27", "11:28"}));
  const ScripturePassage tim = library_.Passage(kKjv, Piece("2 Тим.", {{3, 16, 4, 4}}));
  EXPECT_EQ(Numbers(tim), (std::vector<std::string>{"3:16", "3:17", "4:1", "4:2", "4:3", "4:4"}));
  EXPECT_EQ(tim.verses[0].text.rfind("All scripture is given by inspiration of God", 0), 0u) << tim.verses[0].text;
  for (const ScriptureVerse& v : tim.verses) {
    EXPECT_EQ(v.text.find('<'), std::string::npos) << v.text;
    EXPECT_EQ(v.text.find("  "), std::string::npos) << v.text;
  }
  const ScripturePassage genesis = library_.Passage(kKjv, Piece("Быт.", {{3, 1, 3, 1}}));
  ASSERT_EQ(genesis.verses.size(), 1u);
  EXPECT_EQ(genesis.verses[0].text.find("Heb."), std::string::npos) << "a footnote in the text";
}

TEST_F(KjvLibrary, SynodalNumbersAreMappedToTheKjvs) {
  // Synodal Ps 50 is KJV Ps 51; its verses 1-2 are the KJV's title, verse 3
  // the KJV's first.
  const ScripturePassage psalm = library_.Passage(kKjv, Piece("Пс.", {{50, 1, 50, 5}}));
  EXPECT_TRUE(psalm.renumbered);
  EXPECT_EQ(Numbers(psalm), (std::vector<std::string>{"51:0", "51:1", "51:2", "51:3"}));
  ASSERT_EQ(psalm.verses.size(), 4u);
  EXPECT_EQ(psalm.verses[0].text.rfind("To the chief Musician", 0), 0u) << psalm.verses[0].text;
  EXPECT_EQ(psalm.verses[1].text.rfind("Have mercy upon me, O God", 0), 0u) << psalm.verses[1].text;
  EXPECT_TRUE(psalm.missing.empty());
  // The doxology that the Synodal Bible keeps at the end of Romans 14 is the
  // KJV's Romans 16:25-27.
  const ScripturePassage romans = library_.Passage(kKjv, Piece("Рим.", {{14, 24, 14, 26}}));
  EXPECT_EQ(Numbers(romans), (std::vector<std::string>{"16:25", "16:26", "16:27"}));
}

TEST_F(KjvLibrary, VersesThatAreNotThereAreNamed) {
  // Matthew 28 has 20 verses and the book 28 chapters.
  const ScripturePassage end = library_.Passage(kKjv, Piece("Мф.", {{28, 19, 28, 25}, {29, 1, 29, 3}}));
  EXPECT_EQ(Numbers(end), (std::vector<std::string>{"28:19", "28:20"}));
  EXPECT_EQ(end.missing, (std::vector<VerseSpan>{{28, 21, 28, 25}, {29, 1, 29, 3}}));
  // A span whose end comes before its start, and a huge one, end quickly.
  const ScripturePassage odd = library_.Passage(kKjv, Piece("Мф.", {{5, 9, 5, 3}, {28, 20, 28, 2000000000}}));
  EXPECT_EQ(Numbers(odd), (std::vector<std::string>{"28:20"}));
  EXPECT_EQ(odd.missing, (std::vector<VerseSpan>{{5, 9, 5, 3}, {28, 21, 28, 2000000000}}));
  // The KJV has no Wisdom of Solomon.
  const ScripturePassage wisdom = library_.Passage(kKjv, Piece("Прем.", {{3, 1, 3, 3}}));
  EXPECT_TRUE(wisdom.moduleFound);
  EXPECT_TRUE(wisdom.bookMissing);
  EXPECT_FALSE(end.bookMissing);
  EXPECT_TRUE(wisdom.verses.empty());
  EXPECT_EQ(wisdom.missing, (std::vector<VerseSpan>{{3, 1, 3, 3}}));
}

TEST(ScriptureLibrary, NoModulesAndAModuleThatIsNotThere) {
  const fs::path empty = fs::temp_directory_path() / ("velmar_sword_" + std::to_string(::getpid()));
  fs::create_directories(empty);
  {
    const ScriptureLibrary none(empty.string());
    EXPECT_TRUE(none.Bibles().empty());
    EXPECT_EQ(none.PreferredBible(), "");
    EXPECT_FALSE(none.Passage(kKjv, Piece("Ин.", {{1, 1, 1, 1}})).moduleFound);
  }
  // The default library reads the folder set for it.
  SetScriptureFolder(empty.string());
  EXPECT_TRUE(ScriptureLibrary().Bibles().empty());
  SetScriptureFolder(kDebianSword);
  EXPECT_EQ(ScriptureLibrary().PreferredBible(), kKjv);
  SetScriptureFolder(std::nullopt);
  fs::remove_all(empty);

  const ScriptureLibrary kjv(kDebianSword);
  EXPECT_FALSE(kjv.Passage("RusSynodal", Piece("Ин.", {{1, 1, 1, 1}})).moduleFound);
}

// A folder of modules that all read the KJV's data under other names and
// languages: the Russian Synodal comes first, then the Church Slavonic; a
// locked module and a commentary are no Bibles to offer; a module of the
// Synodal versification reads the tables' numbers as they are.
TEST(ScriptureLibrary, TheRussianSynodalAndTheSlavonicComeFirst) {
  const fs::path dir = fs::temp_directory_path() / ("velmar_sword_mods_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "mods.d");
  fs::create_directory_symlink(fs::path(kDebianSword) / "modules", dir / "modules");
  const auto conf = [&](const char* name, const std::string& extra, const char* driver = "zText") {
    std::ofstream(dir / "mods.d" / (std::string(name) + ".conf"))
        << "[" << name << "]\nDescription=" << name << " Bible\nModDrv=" << driver << "\n"
        << "DataPath=./modules/texts/ztext/engKJV2006eb/\nSourceType=OSIS\nEncoding=UTF-8\n"
        << "CompressType=ZIP\nBlockType=BOOK\n" << extra;
  };
  conf("AEnglish", "Lang=en\nVersification=KJV\n");
  conf("CSlTest", "Lang=cu\nVersification=Synodal\n");
  conf("RusSynodal", "Lang=ru\nVersification=Synodal\n");
  conf("RusOther", "Lang=ru\nVersification=KJV\n");
  conf("Locked", "Lang=ru\nVersification=Synodal\nCipherKey=\n");
  conf("AComm", "Lang=ru\n", "zCom");
  {
    const ScriptureLibrary library(dir.string());
    std::vector<std::string> names;
    for (const BibleInfo& b : library.Bibles()) names.push_back(b.name);
    EXPECT_EQ(names, (std::vector<std::string>{"RusSynodal", "CSlTest", "RusOther", "AEnglish"}));
    EXPECT_EQ(library.PreferredBible(), "RusSynodal");
    EXPECT_EQ(library.Bibles()[1].language, "cu");
    const ScripturePassage same = library.Passage("RusSynodal", Piece("Быт.", {{1, 1, 1, 2}}));
    EXPECT_FALSE(same.renumbered);
    EXPECT_EQ(Numbers(same), (std::vector<std::string>{"1:1", "1:2"}));
    EXPECT_FALSE(library.Passage("Locked", Piece("Ин.", {{1, 1, 1, 1}})).moduleFound);
  }
  fs::remove_all(dir);
}

}  // namespace
}  // namespace velmar
