// The readings tables under their reader and the rules of a day: the input
// is one of the four files (the first byte chooses which), the others small
// and sound; the day's readings are written as the documents write them, in
// both forms, for a date chosen by the next bytes and its neighbours.
#include "fuzz_support.h"
#include "texts/day_entries.h"
#include "texts/day_readings.h"

namespace {

void WriteText(const std::filesystem::path& path, const char* text) {
  velmar::fuzz::WriteFile(path, reinterpret_cast<const uint8_t*>(text), std::char_traits<char>::length(text));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace velmar;
  const auto& dir = fuzz::ProgramDir();
  if (size < 4) return 0;
  // Windows-1251: "[Ап.]" "[Ин.]" "Деян." "Ин." "Ап" "Ев" "Вс" "Богородицы".
  WriteText(dir / "dbase" / "Zachala.db",
            "[\xC0\xEF.]\n1=\xC4\xE5\xFF\xED. 1:1-8\n[\xC8\xED.]\n1=1:1-17\n65=20:19-25\n");
  WriteText(dir / "dbase" / "Readings.db",
            "[+0]\n\xC0\xEF=\xC4\xE5\xFF\xED. 1\n\xC5\xE2=\xC8\xED. 1\n[\xC0\xEF 5]\n\xC2\xF1=\xC4\xE5\xFF\xED. 1\n");
  WriteText(dir / "dbase" / "ReadingsSpecial.db", "[-57] x\n\xC5\xE2=\xC8\xED. 65\n");
  WriteText(dir / "dbase" / "ReadingsMenaion.db", "[25.03] \xC1\xEE\xE3\xEE\xF0\xEE\xE4\xE8\xF6\xFB\n\xC5\xE2=\xC8\xED. 1\n");
  static const char* const kFiles[] = {"Zachala.db", "Readings.db", "ReadingsSpecial.db", "ReadingsMenaion.db"};
  fuzz::WriteFile(dir / "dbase" / kFiles[data[0] % 4], data + 4, size - 4);
  const auto day = static_cast<uint16_t>(1 + data[1] % 28);
  const auto month = static_cast<uint16_t>(1 + data[2] % 12);
  const auto year = static_cast<uint16_t>(1800 + data[3] % 250);
  ResetSettings();
  AppSettings.readingsShort = (data[3] & 1) != 0;
  fuzz::IntoMemory([&] { WriteReadingsEntries(day, month, year); });
  const ReadingsTables tables = ReadReadingsTables((dir / "dbase").string() + "/");
  for (const ReadingGroup& g : DayReadings(tables, day, month, year))
    for (const SlotReading& r : g.readings)
      for (const ScripturePiece& p : r.reading) (void)RangeText(p.spans);
  return 0;
}
