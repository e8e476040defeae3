#include "texts/database.h"

#include <sys/stat.h>

#include <cstdio>

#include "calendar/cp1251.h"
#include "platform/messages.h"
#include "platform/program_directory.h"
#include "texts/line_reader.h"

namespace velmar {

const std::array<std::string_view, 13> MonthFileNames = {
    "",          "January.db", "February.db", "March.db",    "April.db",
    "May.db",    "June.db",    "July.db",     "August.db",   "September.db",
    "October.db", "November.db", "December.db",
};

std::string DatabaseDirectory() { return ProgramDirectory() + "dbase/"; }

bool DatabaseFolderExists() {
  struct stat info {};
  return ::stat(DatabaseDirectory().c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string MissingDatabaseFolderMessage() {
  std::string text("Не найдена папка базы данных:\n"_cp);
  text += Utf8ToCp1251(DatabaseDirectory());
  text += "\n\nБез нее дни показываются без памятей святых, указаний о посте и сведений "
          "о праздниках, а поиск по святцам ничего не находит; даты, седмицы, гласы и "
          "Пасхалия считаются как обычно.\n\nПапка dbase с файлами January.db ... "
          "December.db, Easter.db, Epiphany.db и Addition.db должна лежать рядом с "
          "программой."_cp;
  return text;
}

bool MissingDatabaseFolderSaid() {
  static std::string said;  // the folder last said to be missing
  const std::string folder = DatabaseDirectory();
  if (DatabaseFolderExists()) {
    said.clear();
    return false;
  }
  if (said != folder) {
    said = folder;
    ShowMessage(MissingDatabaseFolderMessage());
  }
  return true;
}

LineKind ClassifyLine(std::string_view line) {
  // A piece comes back empty only when its first byte is NUL (the reader ends
  // the text there): that first character makes an entry line without text.
  if (line.empty()) return LineKind::Entry;
  if (line[0] == '\n' || line[0] == ' ') return LineKind::Blank;
  if (line[0] == ';') return LineKind::Comment;
  if (line[0] == '[') return LineKind::Header;
  return LineKind::Entry;
}

long MonthSectionDay(std::string_view header) {
  // "[" becomes a blank and every "]" a line feed; the leading number counts.
  std::string text(header);
  if (!text.empty()) text[0] = ' ';
  for (char& c : text)
    if (c == ']') c = '\n';
  return LeadingInteger(text);
}

EasterKey EasterSectionKey(std::string_view header) {
  EasterKey key;
  if (header.size() < 2 || (header[1] != '-' && header[1] != '+')) return key;
  key.sign = header[1];
  std::string text(header);
  text[0] = ' ';
  text[1] = ' ';
  if (text.size() > 4) text[4] = '\n';
  key.offset = LeadingInteger(text);
  return key;
}

EpiphanyKey EpiphanySectionKey(std::string_view header) {
  // The positions are read in the line as read, trailing blanks and line feed
  // included: "[5 - 05.1 " reads as "[5 - 05.1]" does.
  EpiphanyKey key;
  if (header.size() < 10) return key;
  key.valid = true;
  key.weekday = LeadingInteger(header.substr(1, 1));
  key.day = LeadingInteger(header.substr(5, 2));
  key.month = LeadingInteger(header.substr(8, 2));
  return key;
}

std::string AdditionSectionHeader(int day, int month) {
  char text[32];
  std::snprintf(text, sizeof text, "[%02d.%02d]", day, month);
  return text;
}

}  // namespace velmar
