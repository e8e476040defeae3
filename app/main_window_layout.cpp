#include "app/main_window_layout.h"

#include <array>

#include "calendar/cp1251.h"

namespace velmar {
namespace {

struct RowCaptions {
  std::string_view shortCaption;
  std::string_view longCaption;
};

// Rows 1..10 of the Paschalion grid: the days that hang on Pascha and the
// length of the Apostles' fast.
constexpr std::array<RowCaptions, 10> kRows = {{
    {"Мытаря"_cp, "Неделя о мытаре и фарисее"_cp},
    {"Мясопустная"_cp, "Неделя мясопустная"_cp},
    {"Прощенное"_cp, "Прощенное воскресенье"_cp},
    {"Вербное"_cp, "Вход Господень в Иерусалим"_cp},
    {"ПАСХА"_cp, "Св. ПАСХА"_cp},
    {"Преполовение"_cp, "Преполовение"_cp},
    {"Вознесение"_cp, "Вознесение Господне"_cp},
    {"Троица"_cp, "Св. Троица (Пятидесятница)"_cp},
    {"Всех Святых"_cp, "Неделя всех святых"_cp},
    {"Петров пост"_cp, "Длительность Петрова поста"_cp},
}};

}  // namespace

int PaschalionCaptionColumnWidth(int outerWidth) { return outerWidth - 265; }

bool LongPaschalionCaptions(int outerWidth) { return outerWidth >= 450; }

int PaschalionCaptionColumnWidth(int outerWidth, const PaschalionGridFit& fit) {
  return PaschalionCaptionColumnWidth(outerWidth) - fit.yearColumnsGrowth;
}

bool LongPaschalionCaptions(int outerWidth, const PaschalionGridFit& fit) {
  return LongPaschalionCaptions(outerWidth) && outerWidth >= fit.longCaptionsFrom;
}

std::string_view PaschalionRowCaption(int row, bool longCaption) {
  if (row < 1 || row > static_cast<int>(kRows.size())) return {};
  const RowCaptions& r = kRows[static_cast<std::size_t>(row - 1)];
  return longCaption ? r.longCaption : r.shortCaption;
}

}  // namespace velmar
