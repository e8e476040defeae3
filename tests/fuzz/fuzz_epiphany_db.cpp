// Epiphany.db under the day renderer for a weekday and old-style date.
#include "fuzz_support.h"
#include "texts/day_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace velmar;
  const auto& dir = fuzz::ProgramDir();
  if (size < 3) return 0;
  fuzz::WriteFile(dir / "dbase" / "Epiphany.db", data + 3, size - 3);
  ResetSettings();
  fuzz::IntoMemory([&] {
    WriteEpiphanyEntries(data[0] % 9, static_cast<uint16_t>(data[1] % 32),
                         static_cast<uint16_t>(data[2] % 13));
  });
  return 0;
}
