#include "texts/readings_tables.h"

#include <charconv>
#include <utility>

#include "app/settings.h"
#include "calendar/cp1251.h"
#include "platform/messages.h"
#include "texts/database.h"
#include "texts/database_cache.h"
#include "texts/line_reader.h"

namespace velmar {
namespace {

using Part = BibleBook::Part;

constexpr std::array<BibleBook, 70> kBooks = {{
    {"Быт."_cp, "Gen", Part::OldTestament},     {"Исх."_cp, "Exod", Part::OldTestament},
    {"Лев."_cp, "Lev", Part::OldTestament},     {"Чис."_cp, "Num", Part::OldTestament},
    {"Втор."_cp, "Deut", Part::OldTestament},   {"Нав."_cp, "Josh", Part::OldTestament},
    {"Суд."_cp, "Judg", Part::OldTestament},    {"Руф."_cp, "Ruth", Part::OldTestament},
    {"1 Цар."_cp, "1Sam", Part::OldTestament},  {"2 Цар."_cp, "2Sam", Part::OldTestament},
    {"3 Цар."_cp, "1Kgs", Part::OldTestament},  {"4 Цар."_cp, "2Kgs", Part::OldTestament},
    {"1 Пар."_cp, "1Chr", Part::OldTestament},  {"2 Пар."_cp, "2Chr", Part::OldTestament},
    {"Езд."_cp, "Ezra", Part::OldTestament},    {"Неем."_cp, "Neh", Part::OldTestament},
    {"Есф."_cp, "Esth", Part::OldTestament},    {"Иов."_cp, "Job", Part::OldTestament},
    {"Пс."_cp, "Ps", Part::OldTestament},       {"Притч."_cp, "Prov", Part::OldTestament},
    {"Еккл."_cp, "Eccl", Part::OldTestament},   {"Песн."_cp, "Song", Part::OldTestament},
    {"Ис."_cp, "Isa", Part::OldTestament},      {"Иер."_cp, "Jer", Part::OldTestament},
    {"Плач."_cp, "Lam", Part::OldTestament},    {"Вар."_cp, "Bar", Part::OldTestament},
    {"Иез."_cp, "Ezek", Part::OldTestament},    {"Дан."_cp, "Dan", Part::OldTestament},
    {"Ос."_cp, "Hos", Part::OldTestament},      {"Иоил."_cp, "Joel", Part::OldTestament},
    {"Ам."_cp, "Amos", Part::OldTestament},     {"Авд."_cp, "Obad", Part::OldTestament},
    {"Ион."_cp, "Jonah", Part::OldTestament},   {"Мих."_cp, "Mic", Part::OldTestament},
    {"Наум."_cp, "Nah", Part::OldTestament},    {"Авв."_cp, "Hab", Part::OldTestament},
    {"Соф."_cp, "Zeph", Part::OldTestament},    {"Агг."_cp, "Hag", Part::OldTestament},
    {"Зах."_cp, "Zech", Part::OldTestament},    {"Мал."_cp, "Mal", Part::OldTestament},
    {"Прем."_cp, "Wis", Part::OldTestament},    {"Сир."_cp, "Sir", Part::OldTestament},
    {"Тов."_cp, "Tob", Part::OldTestament},     {"Иудиф."_cp, "Jdt", Part::OldTestament},
    {"Мф."_cp, "Matt", Part::Gospel},
    {"Мк."_cp, "Mark", Part::Gospel},           {"Лк."_cp, "Luke", Part::Gospel},
    {"Ин."_cp, "John", Part::Gospel},           {"Деян."_cp, "Acts", Part::Apostol},
    {"Иак."_cp, "Jas", Part::Apostol},          {"1 Пет."_cp, "1Pet", Part::Apostol},
    {"2 Пет."_cp, "2Pet", Part::Apostol},       {"1 Ин."_cp, "1John", Part::Apostol},
    {"2 Ин."_cp, "2John", Part::Apostol},       {"3 Ин."_cp, "3John", Part::Apostol},
    {"Иуд."_cp, "Jude", Part::Apostol},         {"Рим."_cp, "Rom", Part::Apostol},
    {"1 Кор."_cp, "1Cor", Part::Apostol},       {"2 Кор."_cp, "2Cor", Part::Apostol},
    {"Гал."_cp, "Gal", Part::Apostol},          {"Еф."_cp, "Eph", Part::Apostol},
    {"Флп."_cp, "Phil", Part::Apostol},         {"Кол."_cp, "Col", Part::Apostol},
    {"1 Сол."_cp, "1Thess", Part::Apostol},     {"2 Сол."_cp, "2Thess", Part::Apostol},
    {"1 Тим."_cp, "1Tim", Part::Apostol},       {"2 Тим."_cp, "2Tim", Part::Apostol},
    {"Тит."_cp, "Titus", Part::Apostol},        {"Флм."_cp, "Phlm", Part::Apostol},
    {"Евр."_cp, "Heb", Part::Apostol},
}};

constexpr std::size_t kReadChars = kSearchLineChars;  // lines of at most 1022 characters

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A decimal number of 1..4 digits at i; false when there is none.
bool Number(std::string_view text, std::size_t& i, int& value) {
  const std::size_t from = i;
  value = 0;
  while (i < text.size() && IsDigit(text[i]) && i - from < 4) value = value * 10 + (text[i++] - '0');
  return i > from && (i == text.size() || !IsDigit(text[i]));
}

// "C:V", "C:V-V" or "C:V-C:V", the whole of text.
bool ParseSpan(std::string_view text, VerseSpan& span) {
  std::size_t i = 0;
  if (!Number(text, i, span.fromChapter) || i >= text.size() || text[i++] != ':' ||
      !Number(text, i, span.fromVerse)) {
    return false;
  }
  span.toChapter = span.fromChapter;
  span.toVerse = span.fromVerse;
  if (i < text.size()) {
    if (text[i++] != '-') return false;
    int a = 0;
    if (!Number(text, i, a)) return false;
    if (i < text.size() && text[i] == ':') {
      ++i;
      span.toChapter = a;
      if (!Number(text, i, span.toVerse)) return false;
    } else {
      span.toVerse = a;
    }
  }
  if (i != text.size() || span.fromChapter < 1 || span.fromVerse < 1) return false;
  return span.toChapter > span.fromChapter ||
         (span.toChapter == span.fromChapter && span.toVerse >= span.fromVerse);
}

bool ParseRange(std::string_view text, std::vector<VerseSpan>& spans) {
  spans.clear();
  while (true) {
    const std::size_t comma = text.find(", ");
    VerseSpan span;
    if (!ParseSpan(text.substr(0, comma), span)) return false;
    spans.push_back(span);
    if (comma == std::string_view::npos) return true;
    text.remove_prefix(comma + 2);
  }
}

bool ParsePiece(std::string_view text, ScripturePiece& piece) {
  // The book runs to its dot: "2 Тим." then a blank or the end.
  std::size_t dot = text.find('.');
  if (dot == std::string_view::npos) return false;
  piece.book = FindBibleBook(text.substr(0, dot + 1));
  if (piece.book == nullptr) return false;
  std::string_view rest = text.substr(dot + 1);
  if (rest.empty()) return false;  // a book alone says nothing
  if (rest[0] != ' ') return false;
  rest.remove_prefix(1);
  const std::size_t blank = rest.find(' ');
  const std::string_view first = rest.substr(0, blank);
  if (first.find(':') == std::string_view::npos) {
    std::size_t i = 0;
    if (!Number(first, i, piece.zachalo) || i != first.size() || piece.zachalo == 0) return false;
    if (piece.book->part == Part::OldTestament) return false;
    if (blank == std::string_view::npos) return true;
    rest.remove_prefix(blank + 1);
  } else if (piece.book->part != Part::OldTestament) {
    return false;  // a New Testament reading names its zachalo
  }
  return ParseRange(rest, piece.spans);
}

// Reads the entry lines of one file; calls header(text) for each section
// header and entry(key, value) for each entry (both trimmed). false when the
// file can't be opened.
template <typename Header, typename Entry>
bool ScanFile(const std::string& path, Header header, Entry entry) {
  TextFileReader file;
  if (!file.Open(path)) return false;
  std::string line;
  while (file.ReadLine(line, kReadChars)) {
    const LineKind kind = ClassifyLine(line);
    if (kind == LineKind::Blank || kind == LineKind::Comment) continue;
    TrimLineEnd(line);
    if (kind == LineKind::Header) {
      header(std::string_view(line));
      continue;
    }
    const std::size_t equals = line.find('=');
    entry(std::string_view(line).substr(0, equals == std::string::npos ? line.size() : equals),
          equals == std::string::npos ? std::string_view() : std::string_view(line).substr(equals + 1),
          equals != std::string::npos);
  }
  return true;
}

// "[" text "]" label: the text inside and the label after, trimmed of blanks.
bool SplitHeader(std::string_view header, std::string_view& inside, std::string_view& label) {
  const std::size_t close = header.find(']');
  if (close == std::string_view::npos || close < 2) return false;
  inside = header.substr(1, close - 1);
  label = header.substr(close + 1);
  while (!label.empty() && (label.front() == ' ' || label.front() == '\t')) label.remove_prefix(1);
  return true;
}

// A signed offset "+N" / "-N" with N of at most `most`.
bool Offset(std::string_view text, int most, int& value) {
  if (text.size() < 2 || (text[0] != '+' && text[0] != '-')) return false;
  std::size_t i = 1;
  int n = 0;
  if (!Number(text, i, n) || i != text.size() || n > most) return false;
  value = text[0] == '-' ? -n : n;
  return true;
}

bool SlotOfKey(std::string_view key, ReadingSlot& slot) {
  static constexpr std::array<std::pair<std::string_view, ReadingSlot>, 8> kSlots = {{
      {"Утр"_cp, ReadingSlot::Matins}, {"1ч"_cp, ReadingSlot::Hour1},
      {"3ч"_cp, ReadingSlot::Hour3},   {"6ч"_cp, ReadingSlot::Hour6},
      {"9ч"_cp, ReadingSlot::Hour9},   {"Веч"_cp, ReadingSlot::Vespers},
      {"Ап"_cp, ReadingSlot::Apostol}, {"Ев"_cp, ReadingSlot::Gospel},
  }};
  for (const auto& [name, s] : kSlots) {
    if (key == name) {
      slot = s;
      return true;
    }
  }
  return false;
}

int WeekdayOfKey(std::string_view key) {
  static constexpr std::array<std::string_view, 8> kDays = {
      "", "Вс"_cp, "Пн"_cp, "Вт"_cp, "Ср"_cp, "Чт"_cp, "Пт"_cp, "Сб"_cp};
  for (int w = 1; w <= 7; ++w)
    if (key == kDays[static_cast<std::size_t>(w)]) return w;
  return 0;
}

// An old-style "D.M" / "DD.MM" of a real day (29.02 allowed).
bool OldStyleDay(std::string_view text, int& day, int& month) {
  static constexpr std::array<int, 13> kDays = {0, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  std::size_t i = 0;
  if (!Number(text, i, day) || i >= text.size() || text[i++] != '.') return false;
  if (!Number(text, i, month) || i != text.size()) return false;
  return month >= 1 && month <= 12 && day >= 1 && day <= kDays[static_cast<std::size_t>(month)];
}

// The zachala of the index by their book and number (the Apostol numbers
// its zachala through all its books, a few numbers twice: 50, 51, 68).
struct ZachalaIndex {
  std::map<std::pair<std::string_view, int>, std::vector<VerseSpan>> zachala;

  const std::vector<VerseSpan>* Find(const ScripturePiece& piece) const {
    const auto it = zachala.find({piece.book->name, piece.zachalo});
    return it == zachala.end() ? nullptr : &it->second;
  }
};

class TablesReader {
 public:
  explicit TablesReader(std::string directory) : directory_(std::move(directory)) {}

  ReadingsTables Read() {
    if (!ReadZachala()) return std::move(tables_);
    tables_.available = true;
    ReadMoveable();
    ReadSpecial();
    ReadMenaion();
    return std::move(tables_);
  }

 private:
  void Bad(const char* file) {
    ++tables_.badLines;
    ShowMessage(std::string("Error in input file ") + file + ".");
  }

  bool ReadZachala() {
    const std::string_view gospels[] = {"Мф."_cp, "Мк."_cp, "Лк."_cp, "Ин."_cp};
    std::string_view book;  // the Gospel of the section, or "" for [Ап.], or none
    bool inSection = false;
    return ScanFile(
        directory_ + kZachalaFileName,
        [&](std::string_view header) {
          std::string_view inside, label;
          inSection = false;
          if (!SplitHeader(header, inside, label)) return Bad(kZachalaFileName);
          for (const std::string_view g : gospels) {
            if (inside == g) {
              book = g;
              inSection = true;
            }
          }
          if (inside == "Ап."_cp) {
            book = {};
            inSection = true;
          }
          if (!inSection) Bad(kZachalaFileName);
        },
        [&](std::string_view key, std::string_view value, bool hasEquals) {
          std::size_t i = 0;
          int number = 0;
          if (!inSection || !hasEquals || !Number(key, i, number) || i != key.size() || number == 0)
            return Bad(kZachalaFileName);
          if (!book.empty()) {
            std::vector<VerseSpan> spans;
            if (!ParseRange(value, spans)) return Bad(kZachalaFileName);
            index_.zachala[{FindBibleBook(book)->name, number}] = std::move(spans);
            return;
          }
          ScripturePiece piece;
          const std::size_t dot = value.find('.');
          if (dot == std::string_view::npos || dot + 2 > value.size()) return Bad(kZachalaFileName);
          piece.book = FindBibleBook(value.substr(0, dot + 1));
          if (piece.book == nullptr || piece.book->part != Part::Apostol || value[dot + 1] != ' ' ||
              !ParseRange(value.substr(dot + 2), piece.spans)) {
            return Bad(kZachalaFileName);
          }
          index_.zachala[{piece.book->name, number}] = std::move(piece.spans);
        });
  }

  // Parses and resolves a reading; false (and reported) when it can't be used.
  bool Resolve(std::string_view value, const char* file, Reading& reading) {
    if (!ParseReading(value, reading)) {
      Bad(file);
      return false;
    }
    for (ScripturePiece& piece : reading) {
      if (piece.zachalo == 0) continue;
      const std::vector<VerseSpan>* whole = index_.Find(piece);
      if (whole == nullptr || whole->empty()) {
        ShowMessage(std::string("Зачало "_cp) + std::string(piece.book->name) + " " + std::to_string(piece.zachalo) +
                    std::string(" из "_cp) + file + std::string(" не найдено в "_cp) + kZachalaFileName + ".");
        ++tables_.badLines;
        return false;
      }
      if (piece.spans.empty()) {
        piece.spans = *whole;
      } else {
        const VerseSpan& a = piece.spans.front();
        const VerseSpan& z = whole->front();
        piece.fromMiddle = a.fromChapter > z.fromChapter ||
                           (a.fromChapter == z.fromChapter && a.fromVerse > z.fromVerse);
      }
    }
    return true;
  }

  void ReadMoveable() {
    std::vector<SlotReading>* days = nullptr;            // a [+N] / [-N] section
    std::array<Reading, 8>* week = nullptr;              // a series section
    std::array<Reading, 12>* matins = nullptr;           // [Утр]
    bool open = false;
    ScanFile(
        directory_ + kReadingsFileName,
        [&](std::string_view header) {
          days = nullptr;
          week = nullptr;
          matins = nullptr;
          std::string_view inside, label;
          if (!SplitHeader(header, inside, label)) return Bad(kReadingsFileName);
          int n = 0;
          if (Offset(inside, 70, n)) {
            if (n >= 0 && n <= 49) days = &tables_.sincePascha[static_cast<std::size_t>(n)];
            else if (n < 0) days = &tables_.beforePascha[static_cast<std::size_t>(-n)];
          } else if (inside == "Утр"_cp) {
            matins = &tables_.sundayMatins;
          } else {
            const std::size_t blank = inside.find(' ');
            const std::string_view name = inside.substr(0, blank);
            std::size_t i = blank == std::string_view::npos ? inside.size() : blank + 1;
            if (blank != std::string_view::npos && Number(inside, i, n) && i == inside.size()) {
              if (name == "Ап"_cp && n >= 1 && n <= 33) week = &tables_.apostolWeeks[static_cast<std::size_t>(n)];
              if (name == "Ев"_cp && n >= 1 && n <= 17) week = &tables_.gospelWeeks[static_cast<std::size_t>(n)];
              if (name == "Лк"_cp && n >= 18 && n <= 33) week = &tables_.gospelWeeks[static_cast<std::size_t>(n)];
            }
          }
          open = days != nullptr || week != nullptr || matins != nullptr;
          if (!open) Bad(kReadingsFileName);
        },
        [&](std::string_view key, std::string_view value, bool hasEquals) {
          if (!open) return;  // under a bad header, passed over with it
          if (!hasEquals) return Bad(kReadingsFileName);
          Reading reading;
          if (days != nullptr) {
            ReadingSlot slot;
            if (!SlotOfKey(key, slot)) return Bad(kReadingsFileName);
            if (Resolve(value, kReadingsFileName, reading)) days->push_back({slot, std::move(reading)});
          } else if (week != nullptr) {
            const int w = WeekdayOfKey(key);
            if (w == 0) return Bad(kReadingsFileName);
            if (Resolve(value, kReadingsFileName, reading)) (*week)[static_cast<std::size_t>(w)] = std::move(reading);
          } else {
            std::size_t i = 0;
            int n = 0;
            if (!Number(key, i, n) || i != key.size() || n < 1 || n > 11) return Bad(kReadingsFileName);
            if (Resolve(value, kReadingsFileName, reading)) (*matins)[static_cast<std::size_t>(n)] = std::move(reading);
          }
        });
  }

  void ReadSpecial() {
    SpecialDayReadings* day = nullptr;
    ScanFile(
        directory_ + kSpecialReadingsFileName,
        [&](std::string_view header) {
          day = nullptr;
          std::string_view inside, label;
          SpecialDayReadings s;
          if (!SplitHeader(header, inside, label)) return Bad(kSpecialReadingsFileName);
          s.label = std::string(label);
          if (Offset(inside, 99, s.offset)) {
            s.moveable = true;
          } else {
            const std::size_t blank = inside.find(' ');
            const std::size_t dash = inside.find('-');
            s.weekday = WeekdayOfKey(inside.substr(0, blank));
            if (s.weekday == 0 || blank == std::string_view::npos || dash == std::string_view::npos ||
                dash < blank ||
                !OldStyleDay(inside.substr(blank + 1, dash - blank - 1), s.fromDay, s.fromMonth) ||
                !OldStyleDay(inside.substr(dash + 1), s.toDay, s.toMonth)) {
              return Bad(kSpecialReadingsFileName);
            }
          }
          tables_.special.push_back(std::move(s));
          day = &tables_.special.back();
        },
        [&](std::string_view key, std::string_view value, bool hasEquals) {
          if (day == nullptr) return;
          if (!hasEquals) return Bad(kSpecialReadingsFileName);
          if (key == "Ряд"_cp) {
            if (value == "нет"_cp) day->replacesOrdinary = true;
            else if (value == "без отступки"_cp) day->ordinaryOnlyWithoutStepBack = true;
            else if (value != "да"_cp) Bad(kSpecialReadingsFileName);
            return;
          }
          ReadingSlot slot;
          Reading reading;
          if (!SlotOfKey(key, slot)) return Bad(kSpecialReadingsFileName);
          if (Resolve(value, kSpecialReadingsFileName, reading)) day->readings.push_back({slot, std::move(reading)});
        });
  }

  void ReadMenaion() {
    CommemorationReadings* c = nullptr;
    ScanFile(
        directory_ + kMenaionReadingsFileName,
        [&](std::string_view header) {
          c = nullptr;
          std::string_view inside, label;
          int day = 0, month = 0;
          if (!SplitHeader(header, inside, label) || !OldStyleDay(inside, day, month))
            return Bad(kMenaionReadingsFileName);
          auto& list = tables_.menaion[month * 32 + day];
          list.push_back({std::string(label), FeastKind::None, 0, {}});
          c = &list.back();
        },
        [&](std::string_view key, std::string_view value, bool hasEquals) {
          if (c == nullptr) return;
          if (!hasEquals) return Bad(kMenaionReadingsFileName);
          if (key == "Праздник"_cp) {
            if (value == "Господский"_cp) c->feast = FeastKind::Lord;
            else if (value == "Богородичный"_cp) c->feast = FeastKind::Theotokos;
            else Bad(kMenaionReadingsFileName);
            return;
          }
          if (key == "Служба"_cp) {
            if (value.size() == 1 && value[0] >= '0' && value[0] <= '6') c->service = value[0] - '0';
            else Bad(kMenaionReadingsFileName);
            return;
          }
          ReadingSlot slot;
          Reading reading;
          if (!SlotOfKey(key, slot)) return Bad(kMenaionReadingsFileName);
          if (Resolve(value, kMenaionReadingsFileName, reading)) c->readings.push_back({slot, std::move(reading)});
        });
  }

  std::string directory_;
  ZachalaIndex index_;
  ReadingsTables tables_;
};

// The tables of the open snapshot scope, read on first use.
struct ScopeTables {
  std::uint64_t scope = 0;
  ReadingsTables tables;
};

}  // namespace

const BibleBook* FindBibleBook(std::string_view name) {
  for (const BibleBook& book : kBooks)
    if (book.name == name) return &book;
  return nullptr;
}

bool ParseReading(std::string_view text, Reading& reading) {
  reading.clear();
  if (text.empty()) return false;
  while (true) {
    const std::size_t semicolon = text.find("; ");
    ScripturePiece piece;
    if (!ParsePiece(text.substr(0, semicolon), piece)) return false;
    reading.push_back(std::move(piece));
    if (semicolon == std::string_view::npos) return true;
    text.remove_prefix(semicolon + 2);
  }
}

ReadingsTables ReadReadingsTables(const std::string& directory) {
  return TablesReader(directory).Read();
}

const ReadingsTables& CurrentReadingsTables() {
  static const ReadingsTables kNone;
  if (!AppSettings.readings) return kNone;
  static ScopeTables cached;
  static ReadingsTables fresh;
  if (const std::uint64_t scope = DatabaseSnapshotScope(); scope != 0) {
    if (cached.scope != scope) {
      cached.tables = ReadReadingsTables(DatabaseDirectory());
      cached.scope = scope;
    }
    return cached.tables;
  }
  cached = ScopeTables{};
  fresh = ReadReadingsTables(DatabaseDirectory());
  return fresh;
}

}  // namespace velmar
