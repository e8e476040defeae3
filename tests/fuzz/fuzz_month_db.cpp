// A month file: the day renderer under varied settings, the search report and
// the Saints-page scan. The first two bytes choose the day and the settings.
#include "fuzz_support.h"
#include "reports/menologion_search.h"
#include "texts/database.h"
#include "texts/day_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace velmar;
  const auto& dir = fuzz::ProgramDir();
  if (size < 2) return 0;
  const uint16_t day = static_cast<uint16_t>(data[0] % 33);
  const uint8_t flags = data[1];
  for (int m = 1; m <= 12; ++m)
    fuzz::WriteFile(dir / "dbase" / std::string(MonthFileNames[m]), data + 2, size - 2);
  ResetSettings();
  if (flags & 1) AppSettings.agiosLine = "No";
  if (flags & 2) AppSettings.menologion = "a=[ ;";
  AppSettings.menologGray = (flags & 4) != 0;
  SearchHighlight = (flags & 8) != 0;
  HighlightText = (flags & 16) ? "=" : "ab";
  fuzz::IntoMemory([&] { WriteMonthEntries(day, static_cast<uint16_t>(1 + flags % 12)); });
  SearchHighlight = false;
  const std::string text = (flags & 32) ? "1=" : "a";
  fuzz::IntoMemory([&] { WriteSearchDocument(text.size() < 2 ? "ab" : text, 2000); });
  (void)SearchSaints("[1", 1900);
  return 0;
}
