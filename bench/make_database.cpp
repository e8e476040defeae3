#include "bench/make_database.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "calendar/calendar_arithmetic.h"
#include "calendar/cp1251.h"
#include "texts/database.h"

namespace velmar {
namespace {

// xorshift64*: small, fast and the same everywhere.
class Rng {
 public:
  explicit Rng(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return state_ * 0x2545F4914F6CDD1DULL;
  }
  // Uniform enough in [0, n) for n far below 2^32.
  int Below(int n) { return static_cast<int>((Next() >> 32) % static_cast<std::uint64_t>(n)); }
  // [low, high]
  int Between(int low, int high) { return low + Below(high - low + 1); }
  template <typename T, std::size_t N>
  const T& Pick(const std::array<T, N>& pool) {
    return pool[static_cast<std::size_t>(Below(static_cast<int>(N)))];
  }

 private:
  std::uint64_t state_;
};

constexpr std::uint64_t kSeed = 0x5EED0278DB0CA1E0ULL;

constexpr std::array kRanks = {
    "Прп."_cp, "Мч."_cp,   "Мц."_cp,   "Свт."_cp,     "Сщмч."_cp, "Ап."_cp,
    "Прав."_cp, "Вмч."_cp, "Вмц."_cp,  "Блж."_cp,     "Исп."_cp,  "Прор."_cp,
    "Прмч."_cp, "Прмц."_cp, "Равноап."_cp, "Блгв. кн."_cp, "Бессрр."_cp, "Свв. мчч."_cp,
};

constexpr std::array kNames = {
    "Николая"_cp,  "Феодора"_cp,  "Иоанна"_cp,    "Василия"_cp,   "Григория"_cp,
    "Сергия"_cp,   "Серафима"_cp, "Антония"_cp,   "Симеона"_cp,   "Макария"_cp,
    "Алексия"_cp,  "Димитрия"_cp, "Пантелеимона"_cp, "Георгия"_cp, "Евфимия"_cp,
    "Саввы"_cp,    "Марии"_cp,    "Анны"_cp,      "Параскевы"_cp, "Ксении"_cp,
    "Татианы"_cp,  "Екатерины"_cp, "Варвары"_cp,  "Ирины"_cp,     "Пелагии"_cp,
    "Иулиании"_cp, "Афанасия"_cp, "Кирилла"_cp,   "Мефодия"_cp,   "Пимена"_cp,
    "Ефрема"_cp,   "Исаакия"_cp,  "Игнатия"_cp,   "Тихона"_cp,    "Зосимы"_cp,
    "Савватия"_cp, "Германа"_cp,  "Нила"_cp,      "Паисия"_cp,    "Арсения"_cp,
};

constexpr std::array kEpithets = {
    "Великого"_cp,      "чудотворца"_cp,     "исповедника"_cp,   "затворника"_cp,
    "столпника"_cp,     "Нового"_cp,         "Радонежского"_cp,  "Саровского"_cp,
    "Печерского"_cp,    "Мирликийского"_cp,  "Студита"_cp,       "Кесарийского"_cp,
    "Константинопольского"_cp, "Александрийского"_cp, "Антиохийского"_cp,
    "Новгородского"_cp, "Ростовского"_cp,    "Вологодского"_cp,  "Псковского"_cp,
    "Соловецкого"_cp,   "Сирина"_cp,         "Богоносца"_cp,     "Палестинского"_cp,
};

constexpr std::array kRoles = {
    "еп."_cp, "архиеп."_cp, "митр."_cp, "игумена"_cp, "пресвитера"_cp, "диакона"_cp,
    "инока"_cp, "отшельника"_cp, "патриарха"_cp, "воина"_cp,
};

constexpr std::array kTails = {
    "и иже с ним"_cp,
    "и учеников его"_cp,
    "пострадавших в Никомидии"_cp,
    "и с ними 40 мучеников"_cp,
    "(IV)"_cp,
    "(ок. 305)"_cp,
    "(1392)"_cp,
    "(XVII)"_cp,
    "и матери его"_cp,
    "в Вифинии подвизавшегося"_cp,
    "обретение мощей"_cp,
    "перенесение мощей"_cp,
};

constexpr std::array kIcons = {
    "Казанской"_cp, "Владимирской"_cp, "Тихвинской"_cp, "Смоленской"_cp, "Иверской"_cp,
    "Почаевской"_cp, "Курской-Коренной"_cp, "Федоровской"_cp, "Толгской"_cp,
};

constexpr std::array kMoveable = {
    "Седмица"_cp, "Неделя"_cp, "Суббота"_cp, "Пяток"_cp, "Среда"_cp, "Четверг"_cp,
};

constexpr std::array kMoveableTails = {
    "по Пасхе"_cp, "Великого поста"_cp, "о мытаре и фарисее"_cp, "о блудном сыне"_cp,
    "мясопустная"_cp, "сыропустная"_cp, "по Пятидесятнице"_cp, "Светлой седмицы"_cp,
};

// Search words (nominative forms) that stand between the entry code and "=".
constexpr std::array kSearchWords = {
    "Николай"_cp,  "Никола"_cp,  "Феодор"_cp,  "Иоанн"_cp,   "Василий"_cp, "Григорий"_cp,
    "Сергий"_cp,   "Серафим"_cp, "Антоний"_cp, "Симеон"_cp,  "Макарий"_cp, "Алексий"_cp,
    "Димитрий"_cp, "Георгий"_cp, "Савва"_cp,   "Мария"_cp,   "Анна"_cp,    "Параскева"_cp,
    "Ксения"_cp,   "Татиана"_cp, "Екатерина"_cp, "Варвара"_cp, "Ирина"_cp,  "Пелагия"_cp,
    "мученик"_cp,  "преподобный"_cp, "святитель"_cp, "апостол"_cp, "икона"_cp, "мощи"_cp,
};

void Append(std::string& out, std::string_view text) { out.append(text); }

void AppendNumber(std::string& out, int n) { out += std::to_string(n); }

void AppendTwoDigits(std::string& out, int n) {
  out += static_cast<char>('0' + n / 10);
  out += static_cast<char>('0' + n % 10);
}

// One clause: a saint with rank and epithets, an icon of the Mother of God,
// or a tail that continues the clause before it.
void AppendClause(Rng& rng, std::string& out) {
  const int kind = rng.Below(10);
  if (kind == 0) {
    Append(out, "Икона Божией Матери, именуемая "_cp);
    Append(out, rng.Pick(kIcons));
    return;
  }
  Append(out, rng.Pick(kRanks));
  out += ' ';
  Append(out, rng.Pick(kNames));
  if (rng.Below(3) == 0) {
    out += ' ';
    Append(out, rng.Pick(kNames));
  }
  if (rng.Below(2) == 0) {
    out += ", ";
    Append(out, rng.Pick(kRoles));
  }
  out += ' ';
  Append(out, rng.Pick(kEpithets));
  if (rng.Below(3) == 0) {
    out += ' ';
    Append(out, rng.Pick(kTails));
  }
}

// The shown text of an entry: about 150 bytes (at least 95..160), sometimes with its
// first clause in bold or the whole text in italics.
std::string EntryText(Rng& rng, std::string_view lead) {
  const std::size_t target = static_cast<std::size_t>(rng.Between(95, 160));
  const int markup = rng.Below(100);  // < 15: bold first clause; < 23: italics
  std::string text;
  if (markup < 23 && markup >= 15) Append(text, "{\\i "_cp);
  if (markup < 15) Append(text, "\\b "_cp);
  if (!lead.empty()) {
    Append(text, lead);
  } else {
    AppendClause(rng, text);
  }
  if (markup < 15) Append(text, "\\b0"_cp);
  while (text.size() < target) {
    Append(text, rng.Below(3) == 0 ? ". "_cp : ", "_cp);
    AppendClause(rng, text);
  }
  if (markup < 23 && markup >= 15) text += '}';
  return text;
}

char MonthEntryCode(Rng& rng) {
  const int r = rng.Below(100);
  if (r < 8) return 'q';   // additional class shown by default ("qqq"), in grey
  if (r < 14) return 'a';  // additional class hidden by default
  if (r < 40) return '0';
  if (r < 70) return '1';
  if (r < 80) return '2';
  if (r < 87) return '3';
  if (r < 93) return '4';
  if (r < 97) return '5';
  return '6';
}

char MoveableEntryCode(Rng& rng) { return static_cast<char>('0' + rng.Below(7)); }

void AppendSearchWords(Rng& rng, std::string& line, std::size_t bytes) {
  const std::size_t stop = line.size() + bytes;
  while (line.size() < stop) {
    Append(line, rng.Pick(kSearchWords));
    line += ' ';
  }
}

void AppendComments(std::string& out, std::string_view what) {
  Append(out, "; Велмар32 «Днесловник» — синтетическая база данных для замеров скорости.\r\n"_cp);
  Append(out, "; Создана генератором с постоянным зерном; тексты вымышлены.\r\n"_cp);
  out += "; ";
  Append(out, what);
  out += "\r\n\r\n";
}

// A month file: every old-style day of the month (29 days for February),
// 8..12 entries a day; the lines carry search words before the "=" (about
// 120..270 bytes, never shown), so that a file comes to about 100 KB.
std::string MonthFile(Rng& rng, int month, long& entries) {
  std::string out;
  out.reserve(128 * 1024);
  AppendComments(out, "Месяцеслов: разделы [N] — числа месяца по старому стилю."_cp);
  const int days = month == 2 ? 29 : MonthLengths[static_cast<std::size_t>(month)];
  for (int day = 1; day <= days; ++day) {
    out += '[';
    // Some months write the first nine days with a leading zero: [07].
    if (month % 3 == 0 && day < 10) out += '0';
    AppendNumber(out, day);
    out += "]\r\n";
    const int count = rng.Between(8, 12);
    for (int i = 0; i < count; ++i) {
      if (rng.Below(40) == 0) Append(out, "; примечание составителя: сверить по Минее\r\n"_cp);
      std::string line(1, MonthEntryCode(rng));
      AppendSearchWords(rng, line, static_cast<std::size_t>(rng.Between(120, 270)));
      line += '=';
      line += EntryText(rng, {});
      out += line;
      out += "\r\n";
      ++entries;
    }
    out += "\r\n";
  }
  return out;
}

// Easter.db: [-70]..[-1], [-0], [+0]..[+99], 2..5 entries each.
std::string EasterFile(Rng& rng) {
  std::string out;
  AppendComments(out, "Подвижные дни: [-N] за N дней до Пасхи, [+N] через N дней после."_cp);
  auto section = [&](char sign, int offset) {
    out += '[';
    out += sign;
    AppendNumber(out, offset);
    out += "]\r\n";
    const int count = rng.Between(2, 5);
    for (int i = 0; i < count; ++i) {
      std::string lead(rng.Pick(kMoveable));
      lead += ' ';
      lead += rng.Pick(kMoveableTails);
      out += MoveableEntryCode(rng);
      out += '=';
      out += EntryText(rng, lead);
      out += "\r\n";
    }
  };
  for (int offset = 70; offset >= 0; --offset) section('-', offset);
  for (int offset = 0; offset <= 99; ++offset) section('+', offset);
  return out;
}

// Epiphany.db: 200 sections "[W - DD.MM]", the seven weekdays of each
// old-style date from 11 December on, 1..3 entries each.
std::string EpiphanyFile(Rng& rng) {
  std::string out;
  AppendComments(out, "Дни, зависящие от дня недели: [Д - ЧЧ.ММ]."_cp);
  int sections = 0;
  int day = 11, month = 12;
  while (sections < 200) {
    for (int weekday = 1; weekday <= 7 && sections < 200; ++weekday, ++sections) {
      out += '[';
      AppendNumber(out, weekday);
      out += " - ";
      AppendTwoDigits(out, day);
      out += '.';
      AppendTwoDigits(out, month);
      out += "]\r\n";
      const int count = rng.Between(1, 3);
      for (int i = 0; i < count; ++i) {
        out += MoveableEntryCode(rng);
        out += '=';
        out += EntryText(rng, rng.Below(2) == 0 ? "Суббота пред Богоявлением"_cp
                                                : "Неделя по Рождестве Христовом"_cp);
        out += "\r\n";
      }
    }
    if (++day > MonthLengths[static_cast<std::size_t>(month)]) {
      day = 1;
      month = month == 12 ? 1 : month + 1;
    }
  }
  return out;
}

// Addition.db: "[DD.MM]" for every old-style day, one reference each.
std::string AdditionFile(Rng& rng) {
  std::string out;
  AppendComments(out, "Дополнительные сведения: [ЧЧ.ММ] и ссылка=подсказка."_cp);
  for (int month = 1; month <= 12; ++month) {
    const int days = month == 2 ? 29 : MonthLengths[static_cast<std::size_t>(month)];
    for (int day = 1; day <= days; ++day) {
      out += '[';
      AppendTwoDigits(out, day);
      out += '.';
      AppendTwoDigits(out, month);
      out += "]\r\ndocs/day_";
      AppendTwoDigits(out, month);
      AppendTwoDigits(out, day);
      out += ".html=";
      Append(out, "О памяти дня: "_cp);
      Append(out, rng.Pick(kNames));
      out += "\r\n";
    }
  }
  return out;
}

bool WriteFileAtomically(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::path temporary = path;
  temporary += ".new";
  std::FILE* f = std::fopen(temporary.c_str(), "wb");
  if (f == nullptr) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = std::fclose(f) == 0 && ok;
  std::error_code error;
  if (ok) std::filesystem::rename(temporary, path, error);
  if (!ok || error) {
    std::filesystem::remove(temporary, error);
    return false;
  }
  return true;
}

}  // namespace

SyntheticDatabase MakeSyntheticDatabase(const std::string& folder) {
  SyntheticDatabase result;
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) return result;
  const std::filesystem::path dir(folder);
  Rng rng(kSeed);
  result.ok = true;
  auto put = [&](std::string_view name, const std::string& bytes) {
    if (!result.ok) return;
    result.ok = WriteFileAtomically(dir / std::string(name), bytes);
    result.bytes += bytes.size();
  };
  for (int month = 1; month <= 12; ++month) {
    const std::string bytes = MonthFile(rng, month, result.entries);
    result.monthBytes += bytes.size();
    put(MonthFileNames[static_cast<std::size_t>(month)], bytes);
  }
  put("Easter.db", EasterFile(rng));
  put("Epiphany.db", EpiphanyFile(rng));
  put("Addition.db", AdditionFile(rng));
  return result;
}

std::string SyntheticSearchText() { return std::string("Серафима"_cp); }

}  // namespace velmar
