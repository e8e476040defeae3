#include "texts/database_cache.h"

#include <array>
#include <functional>
#include <memory>

#include "texts/database.h"
#include "texts/line_reader.h"

namespace velmar {
namespace {

int g_depth = 0;
std::uint64_t g_scope = 0;  // number of the outermost scope opened last
// Month files 1..12, then Easter.db (13) and Epiphany.db (14).
std::array<std::unique_ptr<ParsedDatabaseFile>, 15> g_files;

ParsedDatabaseFile Parse(DatabaseKind kind, const std::string& name) {
  ParsedDatabaseFile parsed;
  parsed.opened = ScanDatabaseFile(kind, name, [&](std::int64_t key, std::string& line) {
    parsed.Add(key, static_cast<std::uint32_t>(parsed.lines.size()));
    TrimLineEnd(line);
    const std::size_t equals = line.find('=');
    parsed.lines.push_back({line, equals});
  });
  return parsed;
}

}  // namespace

bool ScanDatabaseFile(DatabaseKind kind, const std::string& name,
                      const std::function<void(std::int64_t key, std::string& line)>& entry) {
  TextFileReader file;
  if (!file.Open(DatabaseDirectory() + name)) return false;
  bool inSection = false;
  std::int64_t key = 0;
  std::string line;
  while (file.ReadLine(line, kDayViewLineChars)) {
    switch (ClassifyLine(line)) {
      case LineKind::Blank:
      case LineKind::Comment:
        continue;
      case LineKind::Header:
        switch (kind) {
          case DatabaseKind::Month:
            inSection = true;
            key = MonthKey(MonthSectionDay(line));
            break;
          case DatabaseKind::Easter: {
            const EasterKey k = EasterSectionKey(line);
            if (k.sign != 0) {  // other headers keep the section before them
              inSection = true;
              key = EasterIndexKey(k.sign, k.offset);
            }
            break;
          }
          case DatabaseKind::Epiphany: {
            const EpiphanyKey k = EpiphanySectionKey(line);
            inSection = k.valid;  // a short header opens a section matching no day
            key = EpiphanyIndexKey(k.weekday, k.day, k.month);
            break;
          }
        }
        continue;
      case LineKind::Entry:
        break;
    }
    if (inSection) entry(key, line);
  }
  return true;
}

const std::vector<std::uint32_t>& ParsedDatabaseFile::Lines(std::int64_t key) const {
  if (key >= 0 && key < kDirectKeys) return direct_[static_cast<std::size_t>(key)];
  static const std::vector<std::uint32_t> kNone;
  const auto found = byKey_.find(key);
  return found == byKey_.end() ? kNone : found->second;
}

void ParsedDatabaseFile::Add(std::int64_t key, std::uint32_t index) {
  if (key >= 0 && key < kDirectKeys) direct_[static_cast<std::size_t>(key)].push_back(index);
  else byKey_[key].push_back(index);
}

std::int64_t MonthKey(long day) { return day; }

std::int64_t EasterIndexKey(char sign, long offset) {
  // A header's number can be huge (blanks and line ends before the digits are
  // skipped, so digits past the fourth character are read too); such an
  // offset matches no day, and is held within bounds so the key can't overflow.
  constexpr long kBound = 1L << 30;
  const long bounded = offset < -kBound ? -kBound : (offset > kBound ? kBound : offset);
  return (sign == '-' ? 0 : (std::int64_t{1} << 40)) + bounded;
}

std::int64_t EpiphanyIndexKey(long weekday, long day, long month) {
  // Each part is what a one- or two-character decimal field can hold.
  return (static_cast<std::int64_t>(weekday) * 1000 + day) * 1000 + month;
}

DatabaseSnapshot::DatabaseSnapshot() : outer_(g_depth == 0) {
  if (outer_) ++g_scope;
  ++g_depth;
}

DatabaseSnapshot::~DatabaseSnapshot() {
  --g_depth;
  if (outer_)
    for (auto& file : g_files) file.reset();
}

std::uint64_t DatabaseSnapshotScope() { return g_depth == 0 ? 0 : g_scope; }

const ParsedDatabaseFile* ParsedDatabase(DatabaseKind kind, int month) {
  if (g_depth == 0) return nullptr;
  std::size_t index = 0;
  std::string name;
  switch (kind) {
    case DatabaseKind::Month:
      if (month < 1 || month > 12) return nullptr;
      index = static_cast<std::size_t>(month);
      name = MonthFileNames[index];
      break;
    case DatabaseKind::Easter:
      index = 13;
      name = "Easter.db";
      break;
    case DatabaseKind::Epiphany:
      index = 14;
      name = "Epiphany.db";
      break;
  }
  auto& slot = g_files[index];
  if (!slot) slot = std::make_unique<ParsedDatabaseFile>(Parse(kind, name));
  return slot.get();
}

}  // namespace velmar
