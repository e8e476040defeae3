// Addition.db lookups for an old-style date.
#include "fuzz_support.h"
#include "texts/day_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace velmar;
  const auto& dir = fuzz::ProgramDir();
  if (size < 2) return 0;
  fuzz::WriteFile(dir / "dbase" / "Addition.db", data + 2, size - 2);
  LoadAdditionalInfo(ViewKind::Calendar, static_cast<uint16_t>(data[0] % 100),
                     static_cast<uint16_t>(data[1] % 100));
  return 0;
}
