#include "reports/paschalion_table.h"

#include "app/settings.h"
#include "calendar/cp1251.h"
#include "calendar/paschalion.h"
#include "texts/rtf_writer.h"

namespace velmar {

const std::array<std::string_view, 13> PaschalionMonthAbbreviations = {
    "",       "Ян"_cp, "Фв"_cp, "Мр"_cp, "Ап"_cp,  "Мая"_cp, "Ин"_cp,
    "Ил"_cp,  "Ав"_cp, "Ст"_cp, "Окт"_cp, "Нб"_cp, "Дк"_cp,
};

PaschalionYear PaschalionDates(u16 year, bool oldStyle) {
  PaschalionYear result;
  const DayMonth oldPascha = PaschaOldStyle(year);
  const DayMonth pascha = oldStyle ? oldPascha : OldToNewStyle(oldPascha.day, oldPascha.month, year);
  for (std::size_t i = 0; i < kPaschalionOffsets.size(); ++i) {
    result.dates[i] = oldStyle ? ShiftOldStyleDate(pascha.day, pascha.month, year, kPaschalionOffsets[i])
                               : ShiftDate(pascha.day, pascha.month, year, kPaschalionOffsets[i]);
  }
  // From the Monday after All Saints (Pascha + 57) to 28 June old style, the
  // eve of the Apostles' feast, both included; counted in true days.
  const long monday = JulianToSerial(year, oldPascha.month, oldPascha.day) + 57;
  result.fastLength = static_cast<int>(JulianToSerial(year, 6, 28) - monday + 1);
  return result;
}

std::string PaschalionDateText(const DayMonth& date) {
  std::string text = std::to_string(date.day) + " ";
  if (date.month >= 1 && date.month <= 12) text += PaschalionMonthAbbreviations[date.month];
  return text;
}

std::array<std::string, 11> PaschalionGridColumn(u16 year, bool oldStyle) {
  std::array<std::string, 11> rows;
  const PaschalionYear y = PaschalionDates(year, oldStyle);
  rows[0] = std::to_string(year) + std::string(" г."_cp);
  for (std::size_t i = 0; i < y.dates.size(); ++i) rows[i + 1] = PaschalionDateText(y.dates[i]);
  rows[10] = std::to_string(y.fastLength) + std::string(" дн."_cp);
  return rows;
}

int ClampGridYear(int year) { return year < 1800 ? 1800 : (year > 2097 ? 2097 : year); }

void ClampPaschalionYears(int& first, int& last, bool oldStyle) {
  const int low = oldStyle ? 326 : 1800;
  const int high = oldStyle ? 2326 : 2100;
  if (first < low) first = low;
  if (first > high) first = high;
  if (last < first) last = first;
  if (last > high) last = high;
}

void WritePaschalionDocument(u16 first, u16 last, bool oldStyle) {
  WriteReportHeader();
  ReportWrite("\n\\b1   Православная Пасхалия\\b0  ("_cp);
  ReportWriteNumber(first);
  ReportWrite(" - ");
  ReportWriteNumber(last);
  ReportWrite(" гг.) "_cp);
  ReportWrite(oldStyle ? "по Юлианскому календарю (ст.ст.)\\par"_cp
                       : "по Григорианскому календарю (н.ст.)\\par"_cp);
  WriteCredits();
  ReportWrite("\n\\par");
  ReportWrite("\n\\trowd\\trgaph100\\cellx900\\cellx1800\\cellx2700\\cellx3600\\cellx4500"
              "\\cellx5400\\cellx6300\\cellx7200\\cellx8100\\cellx9000");
  ReportWrite("\n\\pard");
  ReportWrite("\n\\intbl \\b гг.\\cell Мыт.\\cell Мясоп.\\cell Прощ.\\cell Ваий\\cell "
              "\\cf1Пасха\\cf0\\cell Преп.\\cell Возн.\\cell Пятид.\\cell \\cf0 П.пост\\b0\\cell\\row"_cp);
  for (long year = first; year <= last; ++year) {
    const PaschalionYear y = PaschalionDates(static_cast<u16>(year), oldStyle);
    ReportWrite("\n\\intbl\\b ");
    ReportWriteNumber(year);
    ReportWrite("\\b0\\cell ");
    for (std::size_t i = 0; i < 8; ++i) {
      if (i == 4) ReportWrite("\\cf1 ");
      ReportWrite(PaschalionDateText(y.dates[i]));
      ReportWrite(i == 4 ? "\\cf0\\cell " : "\\cell ");
    }
    ReportWrite("\\cf0 ");
    ReportWriteNumber(y.fastLength);
    ReportWrite(" дн.\\cell\\row"_cp);
  }
  ReportWrite("\n\\pard");
  ReportWrite("\n\\par");
  ReportWrite("\n\\fs");
  ReportWriteNumber2(AppSettings.rtfSize - 1);
  ReportWrite("\n  \\b Мыт.\\b0  - Неделя о Мытаре и фарисее\\par"_cp);
  ReportWrite("\n  \\b Мясоп.\\b0  - Неделя мясопустная\\par"_cp);
  ReportWrite("\n  \\b Прощ.\\b0  - Прощенное воскресенье\\par"_cp);
  ReportWrite("\n  \\b Ваий\\b0  - Неделя Ваий (Цветоносная), вход Господень в Иерусалим\\par"_cp);
  ReportWrite("\n  \\cf1\\b Пасха\\b  - Светлое Христово Воскресение\\cf0\\par"_cp);
  ReportWrite("\n  \\b Преп.\\b0  - Преполовение Пятидесятницы\\par"_cp);
  ReportWrite("\n  \\b Возн.\\b0  - Вознесение Господне\\par"_cp);
  ReportWrite("\n  \\b Пятид.\\b0  - Пятидесятница, день Святой Троицы\\par"_cp);
  ReportWrite("\n  \\cf0\\b П.пост\\b0  - продолжительность Петрова поста\\par"_cp);
  ReportWrite("\n\\par");
  ReportWrite("\n}");
}

void WritePaschalionReport(u16 first, u16 last, bool oldStyle) {
  if (!OpenReportFile()) return;
  WritePaschalionDocument(first, last, oldStyle);
  CloseReportFile();
}

}  // namespace velmar
