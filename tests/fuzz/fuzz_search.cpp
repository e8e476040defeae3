// The menologion search with any search text over a fixed small menologion:
// the first byte splits the input into the text and a month file.
#include <algorithm>

#include "fuzz_support.h"
#include "reports/menologion_search.h"
#include "texts/database.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace velmar;
  const auto& dir = fuzz::ProgramDir();
  if (size < 1) return 0;
  const size_t split = std::min<size_t>(data[0] % 64, size - 1);
  const std::string text(reinterpret_cast<const char*>(data + 1), split);
  for (int m = 1; m <= 12; ++m)
    fuzz::WriteFile(dir / "dbase" / std::string(MonthFileNames[m]), data + 1 + split,
                    size - 1 - split);
  ResetSettings();
  AppSettings.menologion = text.substr(0, 9);
  fuzz::IntoMemory([&] { WriteSearchDocument(text, static_cast<u16>(1800 + split)); });
  (void)SearchSaints(text, 2100);
  return 0;
}
