#include "calendar/moveable_titles.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "calendar/cp1251.h"
#include "calendar/paschalion.h"

namespace velmar {
namespace {

// Fixed titles of the Triodion by days before Pascha; empty where the day takes
// the numbered Lenten week.
std::string_view TriodionTitle(int u) {
  if (u == 70) return "Неделя о мытаре и фарисее"_cp;
  if (u >= 64 && u <= 69) return "Седмица 1-я предуготовительная"_cp;
  if (u == 63) return "Неделя о блудном сыне"_cp;
  if (u >= 58 && u <= 62) return "Седмица 2-я предуготовительная"_cp;
  if (u == 57) return "Суббота мясопустная"_cp;
  if (u == 56) return "Неделя о Страшном Суде (мясопустная)"_cp;
  if (u >= 50 && u <= 55) return "Седмица 3-я предуготовительная (сырная)"_cp;
  switch (u) {
    case 49: return "Прощеное воскресенье"_cp;
    case 48: return "1-я седмица Великого поста, чистый понедельник"_cp;
    case 42: return "Неделя 1-я Великого поста, Торжество Православия"_cp;
    case 35: return "Неделя 2-я Великого поста"_cp;
    case 28: return "Неделя 3-я Великого поста, Крестопоклонная"_cp;
    case 21: return "Неделя 4-я Великого поста"_cp;
    case 15: return "Похвала Пресвятой Богородицы"_cp;
    case 14: return "Неделя 5-я Великого поста"_cp;
    case 8: return "Лазарева суббота, воскрешение прав.Лазаря"_cp;
    case 7: return "Неделя 6-я Великого поста, Вербное воскресенье"_cp;
    case 6: return "Страстная седмица, Великий Понедельник"_cp;
    case 5: return "Страстная седмица, Великий Вторник"_cp;
    case 4: return "Страстная седмица, Великая Среда"_cp;
    case 3: return "Великий Четверг, воспоминание Тайной Вечери"_cp;
    case 2: return "Великая Пятница, воспоминание Страстей Господних"_cp;
    case 1: return "Великая Суббота"_cp;
    default: break;
  }
  if (u >= 9 && u <= 13) return "6-я седмица Великого поста (ваий)"_cp;
  return {};
}

// Fixed titles of the Pentecostarion by days since Pascha (1..49).
std::string_view PentecostarionTitle(int c) {
  if (c >= 1 && c <= 6) return "Светлая седмица"_cp;
  switch (c) {
    case 7: return "Неделя 2-я по Пасхе, ап.Фомы"_cp;
    case 9: return "Радоница, поминовение усопших"_cp;
    case 14: return "Неделя 3-я по Пасхе, св.жен-мироносиц"_cp;
    case 21: return "Неделя 4-я по Пасхе,  о расслабленном"_cp;
    case 24: return "Преполовение Пятидесятницы"_cp;
    case 28: return "Неделя 5-я по Пасхе, о самаряныне"_cp;
    case 31: return "Отдание Преполовения"_cp;
    case 35: return "Неделя 6-я по Пасхе, о слепом"_cp;
    case 38: return "Отдание Пасхи"_cp;
    case 39: return "Вознесение Господне"_cp;
    case 42: return "Неделя 7-я по Пасхе, Отцев I Вс.Собора"_cp;
    case 48: return "Троицкая родительская суббота"_cp;
    case 49: return "День Святой Троицы. Пятидесятница"_cp;
    default: return {};
  }
}

// Fixed titles after Pentecost by days since Pascha (50 and on).
std::string_view AfterPentecostTitle(int c) {
  switch (c) {
    case 50: return "День Святого Духа"_cp;
    case 55: return "Отдание Пятидесятницы"_cp;
    case 56: return "Неделя 1-я по Пятидесятнице, всех святых"_cp;
    case 63: return "Неделя 2-я по Пятидесятнице, русских святых"_cp;
    default: return {};
  }
}

void Put(char (&buffer)[kTitleBufferSize], std::string_view text) {
  const std::size_t n = std::min(text.size(), kTitleBufferSize - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
}

// Writes format with its one "%d" replaced by the decimal number.
void PutNumbered(char (&buffer)[kTitleBufferSize], std::string_view format, int number) {
  const std::size_t at = format.find("%d");
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
  std::string_view parts[3] = {format.substr(0, at),
                               std::string_view(digits, static_cast<std::size_t>(end - digits)),
                               format.substr(at + 2)};
  std::size_t n = 0;
  for (const std::string_view part : parts) {
    const std::size_t take = std::min(part.size(), kTitleBufferSize - 1 - n);
    std::memcpy(buffer + n, part.data(), take);
    n += take;
  }
  buffer[n] = '\0';
}

}  // namespace

void MoveableDayTitle(u16 day, u16 month, u16 year, char (&buffer)[kTitleBufferSize]) {
  const int u = DaysBeforePascha(day, month, year);
  if (u >= 1 && u <= 70) {
    const std::string_view fixed = TriodionTitle(u);
    if (!fixed.empty()) Put(buffer, fixed);
    else PutNumbered(buffer, "%d-я седмица Великого поста"_cp, 7 - u / 7);
    return;
  }
  if (u == 0) {
    Put(buffer, "Пасха. Светлое Христово Воскресение"_cp);
    return;
  }
  const int c = DaysSincePascha(day, month, year);
  if (c < 50) {
    const std::string_view fixed = PentecostarionTitle(c);
    if (!fixed.empty()) Put(buffer, fixed);
    else PutNumbered(buffer, "Седмица %d-я по Пасхе"_cp, c / 7 + 1);
    return;
  }
  const std::string_view fixed = AfterPentecostTitle(c);
  if (!fixed.empty()) {
    Put(buffer, fixed);
    return;
  }
  const int n = (c - 50) / 7 + 1;
  if (c % 7 == 0) PutNumbered(buffer, "Неделя %d-я по Пятидесятнице"_cp, n);
  else PutNumbered(buffer, "Седмица %d-я по Пятидесятнице"_cp, n);
}

std::string MoveableDayTitle(u16 day, u16 month, u16 year) {
  char buffer[kTitleBufferSize] = {};
  MoveableDayTitle(day, month, year, buffer);
  return buffer;
}

}  // namespace velmar
