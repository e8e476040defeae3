// Checks of the database files that ship with the program: data/dbase/, the
// documents Addition.db points to, and the additional classes listed in
// data/Velmar32.ini. Every fault is reported as "file:line: rule: detail".
//
// VELMAR_CHECK_DATA=FOLDER checks another folder laid out like data/ (dbase/,
// docs/, Velmar32.ini) instead, e.g. month files on their way in.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/settings.h"
#include "calendar/cp1251.h"
#include "day_test_support.h"
#include "platform/messages.h"
#include "platform/program_directory.h"
#include "reports/menologion_search.h"
#include "reports/name_search.h"
#include "texts/database.h"
#include "texts/line_reader.h"
#include "texts/names_db.h"
#include "texts/word_match.h"

namespace velmar {
namespace {

namespace fs = std::filesystem;

enum class Kind { Month, Easter, Epiphany, Addition };

struct Fault {
  std::string file;
  int line = 0;  // 0: the file as a whole
  std::string rule;
  std::string detail;
};

// Rules, as the reports name them.
const std::string kBytes = "Windows-1251 bytes";
const std::string kLineEnds = "CR LF line ends";
const std::string kLength = "line length";
const std::string kHeader = "section header";
const std::string kOutside = "entry outside a section";
const std::string kEquals = "entry without \"=\"";
const std::string kCode = "entry code";
const std::string kEmpty = "empty entry text";
const std::string kRtf = "RTF markup";
const std::string kReference = "Addition.db reference";
const std::string kDocument = "document";
const std::string kMissing = "missing file";
const std::string kNoEntries = "day without entries";
const std::string kFewEntries = "fewer than 4 entries";

// Old-style month lengths, February with its 29th.
constexpr int kMonthDays[13] = {0, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

bool RealOldStyleDate(long day, long month) {
  return month >= 1 && month <= 12 && day >= 1 && day <= kMonthDays[month];
}

std::string Hex(unsigned char byte) {
  static const char* digits = "0123456789ABCDEF";
  return std::string("0x") + digits[byte >> 4] + digits[byte & 15];
}

// "" when the entry text uses no RTF but balanced, unnested \b ... \b0, else
// what is wrong.
std::string RtfProblem(std::string_view text) {
  bool bold = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '{' || c == '}') return std::string("brace ") + c;
    if (c != '\\') continue;
    const std::string_view rest = text.substr(i);
    const auto delimited = [&](std::size_t n) {
      if (rest.size() == n) return true;
      const unsigned char next = static_cast<unsigned char>(rest[n]);
      return !(std::isalnum(next) && next < 0x80);
    };
    if (rest.starts_with("\\b ")) {
      if (bold) return "\\b inside \\b";
      bold = true;
      i += 2;
    } else if (rest.starts_with("\\b0") && delimited(3)) {
      if (!bold) return "\\b0 without \\b";
      bold = false;
      i += 2;
    } else {
      return "backslash other than \\b or \\b0";
    }
  }
  return bold ? "\\b without \\b0" : "";
}

// Problems of a document Addition.db points to: a page readable in any
// browser, UTF-8, Russian, with a title and nothing fetched from elsewhere.
std::string DocumentProblem(const std::string& bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    const unsigned char b = static_cast<unsigned char>(bytes[i]);
    const std::size_t extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2
                              : (b & 0xF8) == 0xF0 ? 3 : 9;
    if (extra == 9 || i + extra >= bytes.size()) return "not UTF-8";
    for (std::size_t k = 1; k <= extra; ++k)
      if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return "not UTF-8";
    i += extra + 1;
  }
  for (const char* needed : {"<!DOCTYPE html>", "<html lang=\"ru\">", "<meta charset=\"utf-8\">",
                             "<title>", "</html>"})
    if (bytes.find(needed) == std::string::npos) return std::string("no ") + needed;
  for (const char* outside : {"http:", "https:", "src=", "<link", "@import", "url("})
    if (bytes.find(outside) != std::string::npos) return std::string("external resource ") + outside;
  return "";
}

// One database file, read as bytes. faults gets what is wrong; entries the
// number of shown entries per day of a month file.
struct FileCheck {
  FileCheck(std::string fileName, Kind fileKind, int oldStyleMonth = 0)
      : name(std::move(fileName)), kind(fileKind), month(oldStyleMonth) {}

  std::string name;
  Kind kind;
  int month;
  std::vector<Fault> faults;
  std::map<long, int> entries;
  std::map<long, int> headerLine;

  void Add(int line, const std::string& rule, const std::string& detail) {
    faults.push_back({name, line, rule, detail});
  }

  void Run(const std::string& bytes, const std::string& menologion, const fs::path& dataDir) {
    CheckBytes(bytes);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
      std::size_t end = bytes.find('\n', start);
      if (end == std::string::npos) end = bytes.size();
      std::string line = bytes.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
      start = end + 1;
    }
    const std::size_t limit = kind == Kind::Month ? 1022 : 2046;
    // Entries before the first header belong to no section; those under an
    // invalid header are checked but not counted (the header is reported).
    enum { kNone, kValid, kInvalid } section = kNone;
    long day = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const int n = static_cast<int>(i) + 1;
      std::string line = lines[i];
      if (line.size() > limit)
        Add(n, kLength, std::to_string(line.size()) + " bytes, at most " + std::to_string(limit));
      const LineKind lineKind = ClassifyLine(line + '\n');  // as read: with its line feed
      if (lineKind == LineKind::Blank || lineKind == LineKind::Comment) continue;
      TrimLineEnd(line);
      if (lineKind == LineKind::Header) {
        section = CheckHeader(n, line, day) ? kValid : kInvalid;
        continue;
      }
      if (section == kNone) {
        Add(n, kOutside, "no section header above it");
        continue;
      }
      const std::size_t equals = line.find('=');
      if (kind == Kind::Addition) {
        CheckReference(n, line.substr(0, equals), dataDir);
        continue;
      }
      if (equals == std::string::npos) {
        Add(n, kEquals, line.substr(0, 40));
        continue;
      }
      const char code = line[0];
      const bool shown = (code >= '0' && code <= '6') || menologion.find(code) != std::string::npos;
      if (!shown) Add(n, kCode, std::string("'") + code + "' is neither 0..6 nor in Menologion=" + menologion);
      const std::string text = line.substr(equals + 1);
      if (text.find_first_not_of(' ') == std::string::npos) Add(n, kEmpty, "nothing after \"=\"");
      const std::string rtf = RtfProblem(text);
      if (!rtf.empty()) Add(n, kRtf, rtf);
      if (kind == Kind::Month && shown && section == kValid) ++entries[day];
    }
  }

  void CheckBytes(const std::string& bytes) {
    int line = 1;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      const unsigned char b = static_cast<unsigned char>(bytes[i]);
      if (Cp1251ToScalar(b) == 0xFFFD) Add(line, kBytes, Hex(b) + " has no Windows-1251 character");
      if ((b < 0x20 && b != '\r' && b != '\n') || b == 0x7F) Add(line, kBytes, "control byte " + Hex(b));
      if (b == '\n' && (i == 0 || bytes[i - 1] != '\r')) Add(line, kLineEnds, "LF without CR");
      if (b == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n')) Add(line, kLineEnds, "CR without LF");
      if (b == '\n') ++line;
    }
    if (!bytes.empty() && bytes.back() != '\n') Add(line, kLineEnds, "last line without CR LF");
  }

  // Whether the header opens a valid section; day gets a month file's day.
  bool CheckHeader(int n, const std::string& header, long& day) {
    std::string problem;
    switch (kind) {
      case Kind::Month:
        day = MonthSectionDay(header);
        if (!std::regex_match(header, std::regex(R"(\[\d{1,2}\])"))) problem = "not [N]";
        else if (day < 1 || day > kMonthDays[month]) problem = "no such day in the month";
        if (problem.empty() && !headerLine.count(day)) headerLine[day] = n;
        break;
      case Kind::Easter: {
        const EasterKey key = EasterSectionKey(header);
        if (!std::regex_match(header, std::regex(R"(\[[+-]\d{1,2}\])"))) problem = "not [-N] or [+N]";
        else if (key.sign == 0 || key.offset < 0 || key.offset > 99) problem = "no offset 0..99";
        break;
      }
      case Kind::Epiphany: {
        const EpiphanyKey key = EpiphanySectionKey(header);
        if (!std::regex_match(header, std::regex(R"(\[\d - \d\d\.\d\d\])"))) problem = "not [W - DD.MM]";
        else if (!key.valid || key.weekday < 1 || key.weekday > 7) problem = "no weekday 1..7";
        else if (!RealOldStyleDate(key.day, key.month)) problem = "no such date";
        break;
      }
      case Kind::Addition: {
        std::smatch m;
        if (!std::regex_match(header, m, std::regex(R"(\[(\d\d)\.(\d\d)\])"))) {
          problem = "not [DD.MM]";
        } else {
          const int d = std::stoi(m[1]), mo = std::stoi(m[2]);
          if (!RealOldStyleDate(d, mo)) problem = "no such date";
          else if (AdditionSectionHeader(d, mo) != header) problem = "not the program's form";
        }
        break;
      }
    }
    if (!problem.empty()) Add(n, kHeader, header.substr(0, 20) + ": " + problem);
    return problem.empty();
  }

  void CheckReference(int n, const std::string& reference, const fs::path& dataDir) {
    if (reference.empty() || reference.size() > 127 || reference[0] == '/' ||
        reference.find("..") != std::string::npos || reference.find('\\') != std::string::npos) {
      Add(n, kReference, "\"" + reference + "\" is not a relative path of at most 127 characters");
      return;
    }
    const fs::path file = dataDir / reference;
    if (!fs::is_regular_file(file)) {
      Add(n, kReference, reference + " is not shipped");
      return;
    }
    const std::string problem = DocumentProblem(testing::ReadFileBytes(file));
    if (!problem.empty()) Add(n, kDocument, reference + ": " + problem);
  }
};

// Days of a month file with no entries or fewer than four.
std::vector<Fault> CheckDays(const FileCheck& file) {
  std::vector<Fault> faults;
  for (long day = 1; day <= kMonthDays[file.month]; ++day) {
    const auto count = file.entries.find(day);
    const auto header = file.headerLine.find(day);
    const int line = header == file.headerLine.end() ? 0 : header->second;
    if (count == file.entries.end() || count->second == 0)
      faults.push_back({file.name, line, kNoEntries, "day " + std::to_string(day)});
    else if (count->second < 4)
      faults.push_back({file.name, line, kFewEntries,
                        "day " + std::to_string(day) + ": " + std::to_string(count->second)});
  }
  return faults;
}

struct Report {
  fs::path dataDir;
  std::string menologion;
  std::vector<std::string> settingsMessages;
  std::vector<Fault> faults;
  int entries = 0;  // shown entries of the month files
};

const Report& Shipped() {
  static const Report report = [] {
    Report r;
    const char* other = std::getenv("VELMAR_CHECK_DATA");
    r.dataDir = other != nullptr && *other != '\0' ? fs::path(other) : fs::path(VELMAR_SOURCE_DIR) / "data";
    {
      // The classes the program itself reads from the shipped settings file.
      RecordingMessageSink messages;
      SetProgramDirectory(r.dataDir.string());
      SetProgramDirectoryWritable(true);
      ResetSettings();
      LoadSettings();
      r.menologion = AppSettings.menologion;
      r.settingsMessages = messages.texts;
      ResetSettings();
      SetProgramDirectoryWritable(std::nullopt);
      SetProgramDirectory(std::nullopt);
    }
    std::vector<FileCheck> files;
    for (int m = 1; m <= 12; ++m) files.push_back({std::string(MonthFileNames[m]), Kind::Month, m});
    files.push_back({"Easter.db", Kind::Easter});
    files.push_back({"Epiphany.db", Kind::Epiphany});
    files.push_back({"Addition.db", Kind::Addition});
    for (FileCheck& file : files) {
      const fs::path path = r.dataDir / "dbase" / file.name;
      if (!fs::is_regular_file(path)) {
        r.faults.push_back({file.name, 0, kMissing, path.string()});
        continue;
      }
      file.Run(testing::ReadFileBytes(path), r.menologion, r.dataDir);
      r.faults.insert(r.faults.end(), file.faults.begin(), file.faults.end());
      if (file.kind != Kind::Month) continue;
      const std::vector<Fault> days = CheckDays(file);
      r.faults.insert(r.faults.end(), days.begin(), days.end());
      for (const auto& [day, count] : file.entries)
        if (day >= 1 && day <= kMonthDays[file.month]) r.entries += count;
    }
    return r;
  }();
  return report;
}

// The faults of the given rules, one a line (the first fifty and a count).
std::string FaultsOf(const std::vector<Fault>& faults, const std::set<std::string>& rules) {
  std::ostringstream out;
  int count = 0;
  for (const Fault& f : faults) {
    if (!rules.count(f.rule)) continue;
    if (++count <= 50) out << "\n  " << f.file << ":" << f.line << ": " << f.rule << ": " << f.detail;
  }
  if (count > 50) out << "\n  ... " << count - 50 << " more";
  return count == 0 ? "" : std::to_string(count) + " fault(s) in " + Shipped().dataDir.string() + out.str();
}

TEST(ShippedDatabase, SettingsAndAllFifteenFilesAreThere) {
  EXPECT_TRUE(Shipped().settingsMessages.empty()) << Shipped().settingsMessages.front();
  const std::string f = FaultsOf(Shipped().faults, {kMissing});
  EXPECT_TRUE(f.empty()) << f;
}

TEST(ShippedDatabase, Windows1251BytesAndCrLfLineEnds) {
  const std::string f = FaultsOf(Shipped().faults, {kBytes, kLineEnds});
  EXPECT_TRUE(f.empty()) << f;
}

TEST(ShippedDatabase, LinesWithinTheirLength) {
  const std::string f = FaultsOf(Shipped().faults, {kLength});
  EXPECT_TRUE(f.empty()) << f;
}

TEST(ShippedDatabase, SectionHeadersHaveValidKeys) {
  const std::string f = FaultsOf(Shipped().faults, {kHeader});
  EXPECT_TRUE(f.empty()) << f;
}

TEST(ShippedDatabase, EntryLinesAreWellFormed) {
  const std::string f = FaultsOf(Shipped().faults, {kOutside, kEquals, kCode, kEmpty, kRtf});
  EXPECT_TRUE(f.empty()) << f;
}

TEST(ShippedDatabase, AdditionReferencesAreShippedPages) {
  const std::string f = FaultsOf(Shipped().faults, {kReference, kDocument});
  EXPECT_TRUE(f.empty()) << f;
}

TEST(ShippedDatabase, EveryOldStyleDayHasEntries) {
  const std::string f = FaultsOf(Shipped().faults, {kNoEntries});
  EXPECT_TRUE(f.empty()) << f;
}

// The goal of the shipped menologion: a printed church calendar lists about
// six to twelve commemorations a day, and at least four. A few days stand
// nearly alone in the calendar (a great feast, or a great saint, with little
// else kept that day): they are listed here, so that any other day that
// falls below four is caught.
TEST(ShippedDatabase, AtLeastFourEntriesEveryDayAndSixOnAverage) {
  const std::set<std::string> shortDays = {
      "February.db day 2",   // the Meeting of the Lord
      "August.db day 6",     // the Transfiguration
      "August.db day 29",    // the Beheading of the Forerunner
      "October.db day 6",    // the Apostle Thomas
      "November.db day 13",  // St John Chrysostom
      "November.db day 21",  // the Entry of the Theotokos
      "November.db day 30",  // the Apostle Andrew
      "December.db day 1",
      "December.db day 6",   // St Nicholas
      "December.db day 25",  // the Nativity of Christ
  };
  std::vector<Fault> unexpected;
  for (const Fault& fault : Shipped().faults) {
    if (fault.rule != kFewEntries) continue;
    const std::string day = fault.file + " " + fault.detail.substr(0, fault.detail.find(':'));
    if (shortDays.count(day) == 0) unexpected.push_back(fault);
  }
  EXPECT_TRUE(unexpected.empty()) << FaultsOf(unexpected, {kFewEntries});
  EXPECT_GE(Shipped().entries, 6 * 366) << "month-file entries for the 366 old-style days";
}

// Each check finds its fault in a broken copy, and a sound line passes.
TEST(ShippedDatabaseChecks, EachRuleCatchesItsFault) {
  struct Row {
    Kind kind;
    int month;
    std::string bytes;
    std::string rule;  // "" for none
  };
  const std::string x1021(1021, 'x'), x2045(2045, 'x');
  const Row rows[] = {
      {Kind::Month, 1, "[1]\r\n0=A\r\n", ""},
      {Kind::Month, 1, "[1]\r\n0=A\x98\r\n", kBytes},
      {Kind::Month, 1, "[1]\r\n0=A\tB\r\n", kBytes},
      {Kind::Month, 1, "[1]\r\n0=A\n", kLineEnds},
      {Kind::Month, 1, "[1]\r\n0=A\rB\r\n", kLineEnds},
      {Kind::Month, 1, "[1]\r\n0=A", kLineEnds},
      {Kind::Month, 1, "[1]\r\n0=" + x1021.substr(1) + "\r\n", ""},
      {Kind::Month, 1, "[1]\r\n0=" + x1021 + "\r\n", kLength},
      {Kind::Easter, 0, "[+1]\r\n0=" + x2045.substr(1) + "\r\n", ""},
      {Kind::Easter, 0, "[+1]\r\n0=" + x2045 + "\r\n", kLength},
      {Kind::Month, 2, "[29]\r\n0=A\r\n", ""},
      {Kind::Month, 2, "[30]\r\n0=A\r\n", kHeader},
      {Kind::Month, 1, "[32]\r\n0=A\r\n", kHeader},
      {Kind::Month, 1, "[0]\r\n0=A\r\n", kHeader},
      {Kind::Month, 1, "[5] x\r\n0=A\r\n", kHeader},
      {Kind::Easter, 0, "[-0]\r\n0=A\r\n[+99]\r\n0=B\r\n", ""},
      {Kind::Easter, 0, "[+100]\r\n0=A\r\n", kHeader},
      {Kind::Easter, 0, "[*5]\r\n0=A\r\n", kHeader},
      {Kind::Epiphany, 0, "[7 - 29.02]\r\n0=A\r\n", ""},
      {Kind::Epiphany, 0, "[8 - 11.12]\r\n0=A\r\n", kHeader},
      {Kind::Epiphany, 0, "[0 - 11.12]\r\n0=A\r\n", kHeader},
      {Kind::Epiphany, 0, "[1 - 31.11]\r\n0=A\r\n", kHeader},
      {Kind::Epiphany, 0, "[1 - 1.12]\r\n0=A\r\n", kHeader},
      {Kind::Addition, 0, "[07.01]\r\ndocs/nativity.html=Hint\r\n", ""},
      {Kind::Addition, 0, "[07.01]\r\ndocs/nativity.html\r\n", ""},
      {Kind::Addition, 0, "[7.01]\r\ndocs/nativity.html=Hint\r\n", kHeader},
      {Kind::Addition, 0, "[31.04]\r\ndocs/nativity.html=Hint\r\n", kHeader},
      {Kind::Addition, 0, "[07.01]\r\ndocs/none.html=Hint\r\n", kReference},
      {Kind::Addition, 0, "[07.01]\r\n../data/docs/nativity.html=Hint\r\n", kReference},
      {Kind::Addition, 0, "[07.01]\r\ndbase/Easter.db=Hint\r\n", kDocument},
      {Kind::Month, 1, "0=A\r\n[1]\r\n0=B\r\n", kOutside},
      {Kind::Easter, 0, "[x]\r\n0=A\r\n", kHeader},
      {Kind::Month, 1, "[1]\r\n0 A\r\n", kEquals},
      {Kind::Month, 1, "[1]\r\nq=A\r\n", kCode},
      {Kind::Month, 1, "[1]\r\ni=A\r\n", ""},
      {Kind::Epiphany, 0, "[1 - 11.12]\r\na=B\r\n", kCode},
      {Kind::Month, 1, "[1]\r\n0=\r\n", kEmpty},
      {Kind::Month, 1, "[1]\r\n6=\\b A\\b0, B \\b C\\b0\r\n", ""},
      {Kind::Month, 1, "[1]\r\n6=\\b A\r\n", kRtf},
      {Kind::Month, 1, "[1]\r\n6=A\\b0\r\n", kRtf},
      {Kind::Month, 1, "[1]\r\n6=\\b \\b A\\b0\\b0\r\n", kRtf},
      {Kind::Month, 1, "[1]\r\n6=\\i A\\i0\r\n", kRtf},
      {Kind::Month, 1, "[1]\r\n6=\\b A\\b0x\r\n", kRtf},
      {Kind::Month, 1, "[1]\r\n0={A}\r\n", kRtf},
      {Kind::Month, 1, "[1]\r\n0=C:\\dos\r\n", kRtf},
  };
  const fs::path data = fs::path(VELMAR_SOURCE_DIR) / "data";
  for (const Row& row : rows) {
    SCOPED_TRACE(row.bytes.substr(0, 60));
    FileCheck check{"test.db", row.kind, row.month};
    check.Run(row.bytes, "i", data);
    std::set<std::string> rules;
    for (const Fault& f : check.faults) rules.insert(f.rule);
    EXPECT_EQ(rules, row.rule.empty() ? std::set<std::string>{} : std::set<std::string>{row.rule});
  }

  // Days: February's 29th is a day of its own; three entries are too few.
  FileCheck february{"February.db", Kind::Month, 2};
  std::string bytes;
  for (int day = 1; day <= 28; ++day) bytes += "[" + std::to_string(day) + "]\r\n0=A\r\n1=B\r\n2=C\r\ni=D\r\n";
  bytes += "[29]\r\n0=A\r\n0=B\r\n0=C\r\n";
  february.Run(bytes, "i", data);
  EXPECT_TRUE(february.faults.empty());
  const std::vector<Fault> days = CheckDays(february);
  ASSERT_EQ(days.size(), 1u);
  EXPECT_EQ(days[0].rule, kFewEntries);
  EXPECT_EQ(days[0].line, 141);
  february.entries.erase(29);
  EXPECT_EQ(CheckDays(february).at(0).rule, kNoEntries);
}

// The names file: Windows-1251 with CR LF, lines within the day views'
// buffer, no bad line.
TEST(ShippedNames, Windows1251CrLfAndNoBadLine) {
  const fs::path path = Shipped().dataDir / "dbase" / kNamesFileName;
  ASSERT_TRUE(fs::is_regular_file(path)) << path;
  const std::string bytes = testing::ReadFileBytes(path);
  FileCheck check{kNamesFileName, Kind::Addition};
  check.CheckBytes(bytes);
  int line = 1;
  std::size_t start = 0;
  for (std::size_t end = bytes.find('\n'); end != std::string::npos; end = bytes.find('\n', start), ++line) {
    if (end - start > 2047) check.Add(line, kLength, std::to_string(end - start) + " bytes");
    start = end + 1;
  }
  const std::string f = FaultsOf(check.faults, {kBytes, kLineEnds, kLength});
  EXPECT_TRUE(f.empty()) << f;
  RecordingMessageSink messages;
  NamesFile names;
  ASSERT_TRUE(names.Read(path.string()));
  EXPECT_EQ(names.BadLines(), 0);
  EXPECT_TRUE(messages.texts.empty());
}

// Every name of the file: several hundred of each kind of person, every
// spelling once in its section, every form a word (or words) of the shipped
// month files; and the names a user types first, with their days.
TEST(ShippedNames, EveryFormStandsInTheMonthFiles) {
  RecordingMessageSink messages;
  NamesFile names;
  ASSERT_TRUE(names.Read((Shipped().dataDir / "dbase" / kNamesFileName).string()));
  EXPECT_GE(names.OfKind(NameKind::Male).size(), 500u);
  EXPECT_GE(names.OfKind(NameKind::Female).size(), 150u);
  EXPECT_GE(names.OfKind(NameKind::Icon).size(), 100u);

  // The words of every entry text, and each entry's words joined by blanks.
  std::set<std::string> words;
  std::string joined;
  for (int m = 1; m <= 12; ++m) {
    const std::string bytes = testing::ReadFileBytes(Shipped().dataDir / "dbase" / std::string(MonthFileNames[m]));
    std::size_t start = 0;
    while (start < bytes.size()) {
      std::size_t end = bytes.find('\n', start);
      if (end == std::string::npos) end = bytes.size();
      const std::string line = bytes.substr(start, end - start);
      start = end + 1;
      if (ClassifyLine(line + '\n') != LineKind::Entry || line.find('=') == std::string::npos) continue;
      const std::string text = line.substr(line.find('=') + 1);
      joined += " ";
      for (const TextWord& w : SplitWords(text)) {
        words.insert(text.substr(w.begin, w.end - w.begin));
        joined += text.substr(w.begin, w.end - w.begin) + " ";
      }
    }
  }
  std::vector<Fault> faults;
  std::map<std::pair<int, std::string>, int> spellings;
  for (const NameRecord& name : names.Names()) {
    for (const std::string& spelling : name.spellings)
      if (++spellings[{static_cast<int>(name.kind), FoldCase(spelling)}] == 2)
        faults.push_back({kNamesFileName, 0, "spelling", Cp1251ToUtf8(spelling) + " twice"});
    for (const auto& form : name.forms) {
      std::string text;
      for (const std::string& w : form) text += (text.empty() ? "" : " ") + w;
      const bool found = form.size() == 1 ? words.count(form[0]) != 0 : joined.find(" " + text + " ") != std::string::npos;
      if (!found)
        faults.push_back({kNamesFileName, 0, "form", Cp1251ToUtf8(name.spellings[0]) + ": " + Cp1251ToUtf8(text)});
    }
  }
  const std::string f = FaultsOf(faults, {"spelling", "form"});
  EXPECT_TRUE(f.empty()) << f;
  EXPECT_TRUE(messages.texts.empty());
}

TEST(ShippedNames, KnownNamesTheirDaysAndNamedays) {
  testing::TempProgramDir dir(Shipped().dataDir);
  fs::copy_file(Shipped().dataDir / "Velmar32.ini", dir.path() / "Velmar32.ini");
  RecordingMessageSink messages;
  LoadSettings();
  const NamesFile names = LoadNamesFile();
  struct Row {
    const char* name;
    std::vector<std::pair<int, int>> days;  // old-style day and month among the name's days
    CivilDate birthday;
    Date nameday;
  };
  const Row rows[] = {
      {"Николай", {{6, 12}, {9, 5}}, {18, 12, 2024}, {19, 12, 2024}},
      {"Сергий", {{25, 9}, {5, 7}}, {1, 10, 2024}, {8, 10, 2024}},
      {"Сергей", {{25, 9}}, {9, 10, 2024}, {20, 10, 2024}},   // the Martyrs Sergius and Bacchus
      {"Ольга", {{11, 7}}, {18, 7, 2024}, {24, 7, 2024}},
      {"Ксения", {{24, 1}}, {1, 1, 2024}, {6, 2, 2024}},
      {"Ксения", {{24, 1}}, {7, 2, 2024}, {6, 2, 2025}},      // one day a year: the next year's
      {"Татьяна", {{12, 1}}, {1, 1, 2024}, {25, 1, 2024}},
      {"Иоанн", {{24, 6}, {29, 8}, {26, 9}, {29, 2}}, {20, 1, 2024}, {20, 1, 2024}},  // the Synaxis of the Forerunner
      // St John Cassian, 29 February: in a leap year his own day, in a common
      // year 28 February (the note of that day counts then only).
      {"Кассиан", {{29, 2}, {28, 2}}, {29, 2, 2024}, {13, 3, 2024}},
      {"Кассиан", {{29, 2}}, {1, 3, 2025}, {13, 3, 2025}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto found = names.BySpelling(FoldCase(Utf8ToCp1251(row.name)));
    ASSERT_EQ(found.size(), 1u);
    const SaintsSearchResult days = SearchName(*found[0], 2024);
    for (const auto& [day, month] : row.days) {
      bool listed = false;
      for (const SaintsItemDetail& d : days.details) listed = listed || (d.oldDay == day && d.oldMonth == month);
      EXPECT_TRUE(listed) << day << "." << month;
    }
    const auto nameday = NamedayAfter(days, row.birthday);
    ASSERT_TRUE(nameday.has_value());
    EXPECT_EQ(nameday->date, row.nameday);
  }
  // The icons come with the menologion's days of each.
  const auto kazan = names.BySpelling(FoldCase(Utf8ToCp1251("Казанская")));
  ASSERT_EQ(kazan.size(), 1u);
  EXPECT_EQ(SearchName(*kazan[0], 2024).items.size(), 2u);  // 8 July and 22 October
  EXPECT_TRUE(messages.texts.empty()) << messages.texts.front();
}

}  // namespace
}  // namespace velmar
