#include "texts/names_db.h"

#include <sys/stat.h>

#include <algorithm>

#include "calendar/cp1251.h"
#include "platform/messages.h"
#include "texts/database.h"
#include "texts/line_reader.h"
#include "texts/word_match.h"

namespace velmar {
namespace {

// The words of a text as written (bytes of each word of SplitWords).
std::vector<std::string> WordsOf(std::string_view text) {
  std::vector<std::string> words;
  for (const TextWord& w : SplitWords(text)) words.emplace_back(text.substr(w.begin, w.end - w.begin));
  return words;
}

// The pieces of a text between commas, blanks around each trimmed; empty
// pieces left out.
std::vector<std::string> CommaList(std::string_view text) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(',', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view piece = text.substr(start, end - start);
    while (!piece.empty() && (piece.front() == ' ' || piece.front() == '\t')) piece.remove_prefix(1);
    while (!piece.empty() && (piece.back() == ' ' || piece.back() == '\t')) piece.remove_suffix(1);
    if (!piece.empty()) pieces.emplace_back(piece);
    start = end + 1;
  }
  return pieces;
}

// The kind a section header names by its first word, false for none.
bool SectionKind(const std::string& header, NameKind& kind) {
  const std::size_t close = header.find(']');
  if (close == std::string::npos) return false;
  const std::string_view inside = std::string_view(header).substr(1, close - 1);
  const std::vector<TextWord> words = SplitWords(inside);
  if (words.empty()) return false;
  const std::string first = FoldCase(inside.substr(words[0].begin, words[0].end - words[0].begin));
  if (first == "мужские"_cp) kind = NameKind::Male;
  else if (first == "женские"_cp) kind = NameKind::Female;
  else if (first == "иконы"_cp) kind = NameKind::Icon;
  else return false;
  return true;
}

}  // namespace

void NamesFile::Bad() {
  ++badLines_;
  ShowMessage("Error in input file Names.db.");
}

bool NamesFile::Read(const std::string& path) {
  TextFileReader file;
  if (!file.Open(path)) return false;
  std::string line;
  while (file.ReadLine(line, kDayViewLineChars)) AddLine(std::move(line));
  return true;
}

void NamesFile::AddLine(std::string line) {
  switch (ClassifyLine(line)) {
    case LineKind::Blank:
    case LineKind::Comment:
      return;
    case LineKind::Header:
      TrimLineEnd(line);
      if (SectionKind(line, kind_)) {
        state_ = State::InSection;
      } else {
        state_ = State::AfterBadHeader;
        Bad();
      }
      return;
    case LineKind::Entry:
      break;
  }
  if (state_ == State::AfterBadHeader) return;
  TrimLineEnd(line);
  const std::size_t equals = line.find('=');
  if (state_ == State::BeforeFirstHeader || equals == std::string::npos) {
    Bad();
    return;
  }
  const std::vector<std::string> spellings = CommaList(std::string_view(line).substr(0, equals));
  std::vector<std::vector<std::string>> forms;
  for (const std::string& form : CommaList(std::string_view(line).substr(equals + 1))) {
    std::vector<std::string> words = WordsOf(form);
    if (!words.empty()) forms.push_back(std::move(words));
  }
  if (spellings.empty() || forms.empty()) {
    Bad();
    return;
  }
  const auto [at, added] = index_.emplace(std::pair{kind_, spellings.front()}, names_.size());
  if (added) {
    names_.push_back({kind_, spellings, std::move(forms)});
    return;
  }
  // The same name again: its other spellings and forms join it (a repeated
  // one is harmless).
  NameRecord& name = names_[at->second];
  name.spellings.insert(name.spellings.end(), spellings.begin() + 1, spellings.end());
  for (auto& f : forms) name.forms.push_back(std::move(f));
}

std::vector<const NameRecord*> NamesFile::OfKind(NameKind kind) const {
  std::vector<const NameRecord*> out;
  for (const NameRecord& name : names_)
    if (name.kind == kind) out.push_back(&name);
  return out;
}

std::vector<const NameRecord*> NamesFile::BySpelling(std::string_view folded) const {
  std::vector<const NameRecord*> out;
  for (const NameRecord& name : names_) {
    for (const std::string& s : name.spellings) {
      if (FoldCase(s) == folded) {
        out.push_back(&name);
        break;
      }
    }
  }
  return out;
}

std::vector<const NameRecord*> NamesFile::ByWord(std::string_view folded) const {
  std::vector<const NameRecord*> out;
  for (const NameRecord& name : names_) {
    bool found = false;
    for (const std::string& s : name.spellings) found = found || FoldCase(s) == folded;
    for (const auto& form : name.forms) found = found || (form.size() == 1 && FoldCase(form[0]) == folded);
    if (found) out.push_back(&name);
  }
  return out;
}

bool NamesFilePresent() {
  struct stat info {};
  const std::string path = DatabaseDirectory() + kNamesFileName;
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

NamesFile LoadNamesFile() {
  NamesFile names;
  names.Read(DatabaseDirectory() + kNamesFileName);
  return names;
}

}  // namespace velmar
