#include "cli/nameday_command.h"

#include <cstdio>
#include <optional>

#include "app/settings.h"
#include "calendar/cp1251.h"
#include "cli/cli_commands.h"
#include "platform/clock.h"
#include "reports/menologion_search.h"
#include "reports/name_search.h"
#include "texts/names_db.h"
#include "texts/rtf_text.h"
#include "texts/word_match.h"

namespace velmar::cli {
namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "velmar32-cli: %s\n", message.c_str());
  return 2;
}

const char* KindWord(NameKind kind) {
  switch (kind) {
    case NameKind::Male: return "мужское имя";
    case NameKind::Female: return "женское имя";
    case NameKind::Icon: return "икона Божией Матери";
  }
  return "";
}

}  // namespace

int NamedayCommand(const std::vector<std::string>& args) {
  std::vector<std::string> words;
  std::optional<int> year;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--year" && i + 1 < args.size()) {
      const std::string& y = args[++i];
      if (y.size() != 4 || y.find_first_not_of("0123456789") != std::string::npos ||
          std::stoi(y) < 1800 || std::stoi(y) > 2100)
        return Fail("--year takes a year of 1800..2100");
      year = std::stoi(y);
    } else {
      words.push_back(args[i]);
    }
  }
  if (words.empty() || words.size() > 2) return Fail("nameday needs NAME and an optional BIRTHDATE (YYYY-MM-DD)");
  std::optional<CivilDate> birthday;
  if (words.size() == 2) {
    birthday = ParseDate(words[1]);
    if (!birthday) return Fail("bad date " + words[1] + " (YYYY-MM-DD within 1800-01-01..2100-12-31)");
  }
  if (!NamesFilePresent()) return Fail("dbase/Names.db is missing: the name days need it");
  LoadSettings();
  const NamesFile names = LoadNamesFile();
  const std::vector<const NameRecord*> found = names.BySpelling(FoldCase(Utf8ToCp1251(words[0])));
  if (found.empty()) return Fail("no name " + words[0] + " in dbase/Names.db");
  const u16 listYear = static_cast<u16>(year ? *year : birthday ? birthday->year : Today().year);

  std::string out;
  for (const NameRecord* name : found) {
    if (!out.empty()) out += "\n";
    out += Cp1251ToUtf8(name->spellings.front()) + " (" + KindWord(name->kind) + ")\n";
    const SaintsSearchResult days = SearchName(*name, listYear);
    for (std::size_t i = 0; i < days.items.size() && i < days.details.size(); ++i)
      out += Cp1251ToUtf8(days.items[i]) + "\t" + FragmentPlainText(days.details[i].entries) + "\n";
    out += "Всего: " + std::to_string(days.items.size()) + " дн.\n";
    if (birthday && name->kind != NameKind::Icon) {
      const std::optional<Nameday> nameday = NamedayAfter(days, *birthday);
      if (nameday) {
        out += "Именины: " + Cp1251ToUtf8(NamedayHeading(*nameday)) + "\t" +
               FragmentPlainText(days.details[nameday->item].entries) + "\n";
      } else {
        out += "Именины: нет дня памяти святого с этим именем\n";
      }
    }
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace velmar::cli
