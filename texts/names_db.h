#pragma once
// The names file dbase/Names.db: the given names of the saints of the
// menologion and the icons of the Theotokos, with the forms in which each
// stands in the month files. A hand-edited Windows-1251 file in the line
// grammar of the other database files (blank lines and lines starting with a
// blank skipped, ";" a comment, "[" a section header, other lines entries);
// its header documents it for the editor.
//
//   [Мужские имена]            the first word in the brackets names the
//   [Женские имена]            section: male names, female names, icons
//   [Иконы Божией Матери]
//   Николай=Николая, Николы    the nominative, "=", the forms, comma-separated
//   Сергий, Сергей=Сергия      other spellings of the name before the "="
//
// A form is one or more words; it matches a text where the words of the
// text equal its words, byte for byte (a name is written with its capital
// letter, "веры" is no form of Вера). The name itself is no form. A name
// given twice in a section gets the forms of both lines.
//
// A bad line (a header that names no section, an entry without "=", without
// a name or without a form, an entry before the first header) is reported as
// "Error in input file Names.db." and passed over; the entries under a bad
// header are passed over with it. Without the file, the name list, the name
// days and the search that ignores endings are off.

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmar {

inline constexpr const char* kNamesFileName = "Names.db";

enum class NameKind { Male, Female, Icon };

struct NameRecord {
  NameKind kind = NameKind::Male;
  // The name as the list shows it, then its other spellings; Windows-1251.
  std::vector<std::string> spellings;
  // Each form as its words, Windows-1251 as written in the file.
  std::vector<std::vector<std::string>> forms;
};

class NamesFile {
 public:
  // Reads a names file; each bad line is reported and passed over. false
  // (nothing reported, no names) when the file can't be opened.
  bool Read(const std::string& path);

  // Takes one line as read (with its line end); used by Read.
  void AddLine(std::string line);

  const std::vector<NameRecord>& Names() const { return names_; }
  int BadLines() const { return badLines_; }

  // The names of a kind, in file order.
  std::vector<const NameRecord*> OfKind(NameKind kind) const;

  // The names one of whose spellings folds (texts/word_match.h) to the
  // folded spelling given, of every kind.
  std::vector<const NameRecord*> BySpelling(std::string_view folded) const;

  // The names one of whose spellings or one-word forms folds to the folded
  // word given.
  std::vector<const NameRecord*> ByWord(std::string_view folded) const;

 private:
  enum class State { BeforeFirstHeader, InSection, AfterBadHeader };
  void Bad();

  std::vector<NameRecord> names_;
  std::map<std::pair<NameKind, std::string>, std::size_t> index_;  // first spelling -> name
  NameKind kind_ = NameKind::Male;
  State state_ = State::BeforeFirstHeader;
  int badLines_ = 0;
};

// Whether dbase/Names.db is there: the switch of the name list, the name days
// and the search that ignores endings.
bool NamesFilePresent();

// Reads dbase/Names.db afresh; an empty file when it isn't there. Bad lines
// are reported as messages.
NamesFile LoadNamesFile();

}  // namespace velmar
