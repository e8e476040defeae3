#pragma once
// Within one report, each database file is read and parsed once: a
// DatabaseSnapshot scope makes the day renderers take their lines from an
// index of the file built on first use, instead of reading the file again for
// every day. Outside a scope (the day views) every call reads the file afresh,
// so an edited file takes effect with the next view or report.
//
// The index keeps every entry line of a section (trimmed later, as the readers
// do), in file order, under the key of its section, so the renderers see the
// very lines, in the very order, that reading the file would give them.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace velmar {

// Entry lines of one database file grouped by section key.
struct ParsedDatabaseFile {
  struct Line {
    std::string text;    // trimmed as the readers trim it
    std::size_t equals;  // position of the first "=", or npos
  };
  bool opened = false;
  std::vector<Line> lines;                                       // entry lines in file order
  // Indices of the lines under a key, in file order (empty when none).
  const std::vector<std::uint32_t>& Lines(std::int64_t key) const;
  void Add(std::int64_t key, std::uint32_t index);

 private:
  // Keys 0..127 (the days of a month file, most offsets of Easter.db) are
  // looked up directly; others through the map.
  static constexpr std::int64_t kDirectKeys = 128;
  std::vector<std::vector<std::uint32_t>> direct_ =
      std::vector<std::vector<std::uint32_t>>(kDirectKeys);
  std::unordered_map<std::int64_t, std::vector<std::uint32_t>> byKey_;
};

enum class DatabaseKind { Month, Easter, Epiphany };

// Reads a database file (a name within dbase/) line by line and calls entry
// with every entry line that stands in a section, untrimmed, and its
// section's key, in file order; false when the file can't be opened.
bool ScanDatabaseFile(DatabaseKind kind, const std::string& name,
                      const std::function<void(std::int64_t key, std::string& line)>& entry);

// Section keys of the index.
std::int64_t MonthKey(long day);
std::int64_t EasterIndexKey(char sign, long offset);
std::int64_t EpiphanyIndexKey(long weekday, long day, long month);

// While an instance lives, ParsedDatabase() returns parsed snapshots that are
// read once; scopes nest.
class DatabaseSnapshot {
 public:
  DatabaseSnapshot();
  ~DatabaseSnapshot();
  DatabaseSnapshot(const DatabaseSnapshot&) = delete;
  DatabaseSnapshot& operator=(const DatabaseSnapshot&) = delete;

 private:
  bool outer_;
};

// The number of the outermost snapshot scope now open (each outermost scope
// gets a new one), or 0 outside any scope: a reader of another file keeps
// its parse for as long as this number stays the same.
std::uint64_t DatabaseSnapshotScope();

// The parsed file inside a snapshot scope, nullptr outside one: Easter.db,
// Epiphany.db, or the month file of month 1..12.
const ParsedDatabaseFile* ParsedDatabase(DatabaseKind kind, int month);

}  // namespace velmar
