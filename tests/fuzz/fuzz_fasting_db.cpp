// Fasting.db under the rules reader and the fast note of a day chosen by the
// first bytes.
#include "fuzz_support.h"
#include "texts/day_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace velmar;
  const auto& dir = fuzz::ProgramDir();
  if (size < 3) return 0;
  fuzz::WriteFile(dir / "dbase" / "Fasting.db", data + 3, size - 3);
  const auto day = static_cast<uint16_t>(1 + data[0] % 28);
  const auto month = static_cast<uint16_t>(1 + data[1] % 12);
  const auto year = static_cast<uint16_t>(1800 + data[2] % 250);
  ResetSettings();
  fuzz::IntoMemory([&] { WriteFastNoteEntry(day, month, year); });
  return 0;
}
