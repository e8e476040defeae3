// The names file, the search that ignores case and endings and the name days
// with any Names.db over a fixed small menologion: the first byte splits the
// input into a search text and the names file.
#include <algorithm>

#include "fuzz_support.h"
#include "reports/menologion_search.h"
#include "reports/name_search.h"
#include "texts/database.h"
#include "texts/names_db.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace velmar;
  const auto& dir = fuzz::ProgramDir();
  static const bool menologion = [&] {
    const std::string january =
        "[1]\r\n6=\\b A\\b0. \xD1\xE2\xF2. \xC2\xE0\xF1\xE8\xEB\xE8\xFF\r\n"
        "0=\xCC\xE0\xF2\xE5\xF0\xE8 \xF1\xE2\xF2. \xC2\xE0\xF1\xE8\xEB\xE8\xFF\r\n[29]\r\ni=\xC8\xEA\xEE\xED\xFB\r\n";
    for (int m = 1; m <= 12; ++m) {
      const std::string bytes = m == 1 || m == 2 ? january : std::string("[5]\r\n1=x-y \\'e0\r\n");
      fuzz::WriteFile(dir / "dbase" / std::string(MonthFileNames[m]),
                      reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    return true;
  }();
  (void)menologion;
  if (size < 1) return 0;
  const size_t split = std::min<size_t>(data[0] % 64, size - 1);
  const std::string text(reinterpret_cast<const char*>(data + 1), split);
  fuzz::WriteFile(dir / "dbase" / kNamesFileName, data + 1 + split, size - 1 - split);
  ResetSettings();
  AppSettings.menologion = "i";
  fuzz::IntoMemory([&] { WriteSearchDocument(text, 2024); });
  (void)SearchSaints(text, 1800);
  const NamesFile names = LoadNamesFile();
  for (const NameRecord& name : names.Names()) {
    const SaintsSearchResult days = SearchName(name, 2100);
    for (const CivilDate birthday : {CivilDate{29, 2, 2000}, CivilDate{31, 12, 2100}, CivilDate{1, 1, 1800}})
      if (const auto nameday = NamedayAfter(days, birthday)) (void)NamedayHeading(*nameday);
  }
  return 0;
}
