#pragma once
// The pieces our writers put into every document, byte for byte, for the
// tests of the RTF reader and of the rich-text control. Windows-1251.

#include <string>
#include <string_view>

#include "calendar/cp1251.h"

namespace velmar::test_rtf {

// The prologue of every document, with the text font and size.
inline std::string Prologue(std::string_view font = "Times New Roman Cyr", int size = 20) {
  std::string s = "{\\rtf1\\ansi\\deff0\\deftab720";
  s += "\n{\\fonttbl{\\f0\\fnil MS Sans Serif;}{\\f1\\froman\\fcharset2 Symbol;}"
       "{\\f2\\froman\\fprq2\\fcharset204 ";
  s += font;
  s += ";}{\\f3\\fmodern\\fprq1\\fcharset204 Courier New Cyr;}}";
  s += "\n{\\colortbl\\red0\\green0\\blue0;";
  s += "\n\\red255\\green0\\blue0;";
  s += "\n\\red112\\green0\\blue112;";
  s += "\n\\red128\\green0\\blue0;";
  s += "\n\\red128\\green128\\blue128;}";
  s += "\n\\deflang1049\\pard\\plain\\f2\\fs" + std::to_string(size / 10) +
       std::to_string(size % 10) + "\\cf0";
  return s;
}

inline std::string EmDashes(int count) { return std::string(static_cast<std::size_t>(count), '\x97'); }

// The credits block of the reports.
inline std::string Credits() {
  std::string s;
  s += "\n  "; s += "Составлено при помощи Днесловник для Windows"_cp; s += "\\par";
  s += "\n  https://velmar32.example.org/, "; s += "версия"_cp; s += " 2.0 pre-release 278\\par";
  s += "\n  " + EmDashes(30) + "\\par";
  s += "\n\\par";
  return s;
}

// The legend of the seven signs, at size - 1.
inline std::string SignLegend(int size = 20) {
  std::string s = "\n\\fs" + std::to_string((size - 1) / 10) + std::to_string((size - 1) % 10) + "\\cf0";
  s += "\n  "; s += "Условные обозначения:"_cp; s += "\\par";
  s += "\n  " + EmDashes(32) + "\\par";
  s += "\n\\f3  \xB7 \\f2   "; s += "Календарное указание или память святого, не имеющего службы"_cp; s += "\\par";
  s += "\n\\f3  \x95 \\f2   "; s += "Совершается рядовая служба (без знака типикона)"_cp; s += "\\par";
  s += "\n\\f3  \xF8 \\f2   "; s += "Совершается служба на шесть"_cp; s += "\\par";
  s += "\n\\f3\\cf1\\b  c \\b0\\cf0\\f2   "; s += "Совершается служба со славословием"_cp; s += "\\par";
  s += "\n\\f3\\cf1  + \\cf0\\f2   "; s += "Совершается служба с полиелеем"_cp; s += "\\par";
  s += "\n\\f3\\cf1  +)\\cf0\\f2   "; s += "Совершается всенощное бдение"_cp; s += "\\par";
  s += "\n\\f3\\cf1 (+)\\cf0\\f2   "; s += "Совершается великое всенощное бдение"_cp; s += "\\par";
  s += "\n\\par";
  return s;
}

// A Paschalion report of the years 2000 and 2001, new style.
inline std::string PaschalionReport() {
  std::string s = Prologue();
  s += "\n\\b1   "; s += "Православная Пасхалия"_cp; s += "\\b0  (2000 - 2001 "; s += "гг.) по Григорианскому календарю (н.ст.)"_cp; s += "\\par";
  s += Credits();
  s += "\n\\par";
  s += "\n\\trowd\\trgaph100\\cellx900\\cellx1800\\cellx2700\\cellx3600\\cellx4500\\cellx5400"
       "\\cellx6300\\cellx7200\\cellx8100\\cellx9000";
  s += "\n\\pard";
  s += "\n\\intbl \\b "; s += "гг."_cp; s += "\\cell "; s += "Мыт."_cp; s += "\\cell ";
  s += "Мясоп."_cp; s += "\\cell "; s += "Прощ."_cp; s += "\\cell "; s += "Ваий"_cp;
  s += "\\cell \\cf1"; s += "Пасха"_cp; s += "\\cf0\\cell "; s += "Преп."_cp; s += "\\cell ";
  s += "Возн."_cp; s += "\\cell "; s += "Пятид."_cp; s += "\\cell \\cf0 "; s += "П.пост"_cp;
  s += "\\b0\\cell\\row";
  s += "\n\\intbl\\b 2000\\b0\\cell "; s += "20 Фв\\cell 5 Мр\\cell 12 Мр\\cell 23 Ап\\cell "_cp;
  s += "\\cf1 "; s += "30 Ап"_cp; s += "\\cf0\\cell "; s += "24 Мая\\cell 8 Ин\\cell 18 Ин\\cell "_cp;
  s += "\\cf0 "; s += "16 дн."_cp; s += "\\cell\\row";
  s += "\n\\intbl\\b 2001\\b0\\cell "; s += "4 Фв\\cell 18 Фв\\cell 25 Фв\\cell 8 Ап\\cell "_cp;
  s += "\\cf1 "; s += "15 Ап"_cp; s += "\\cf0\\cell "; s += "9 Мая\\cell 24 Мая\\cell 3 Ин\\cell "_cp;
  s += "\\cf0 "; s += "31 дн."_cp; s += "\\cell\\row";
  s += "\n\\pard";
  s += "\n\\par";
  s += "\n\\fs19";
  s += "\n  \\b "; s += "Мыт."_cp; s += "\\b0  - "; s += "Неделя о Мытаре и фарисее"_cp; s += "\\par";
  s += "\n  \\cf1\\b "; s += "Пасха"_cp; s += "\\b  - "; s += "Светлое Христово Воскресение"_cp; s += "\\cf0\\par";
  s += "\n  \\b "; s += "Преп."_cp; s += "\\b0  - "; s += "Преполовение Пятидесятницы"_cp; s += "\\par";
  s += "\n\\par";
  s += "\n}";
  return s;
}

// A Calendar-page day document: a Sunday (day colour \cf3) with a red sign,
// a black sign and a grey entry.
inline std::string SundayDocument() {
  std::string s = Prologue();
  s += "\n\\cf3\\b1   "; s += "Воскресенье, 7 Января 2001 г. (25 Дек ст.ст.)"_cp; s += "\\par";
  s += "\n  "; s += "Неделя 29-я по Пятидесятнице, глас 4"_cp; s += "\\b0\\par";
  s += "\n\\par";
  s += "\n\\f3\\cf1 (+)\\cf3\\f2 "; s += "Рождество Господа Бога и Спаса нашего Иисуса Христа"_cp; s += "\\par";
  s += "\n\\f3\\cf1  + \\cf3\\f2 "; s += "Свт. Николая"_cp; s += "\\par";
  s += "\n\\f3  \x95 \\f2 "; s += "Мц. Анисии"_cp; s += "\\par";
  s += "\n\\cf4\\f3  \xB7 \\f2 "; s += "Прп. Феодоры"_cp; s += "\\cf3\\par";
  s += "\n}";
  return s;
}

// A long period calendar as our writer lays it out: `days` day blocks of
// nine paragraphs (heading, title, rule, four entries, two empty ones), some
// 240 bytes a day; the heading of day n reads "День n" (n from 1), its first
// entry "Запись n". Ends with the legend.
inline std::string LongCalendar(int days) {
  std::string s = Prologue();
  s += "\n\\b1   "; s += "Днесловник"_cp; s += "\\b0\\par";
  s += Credits();
  s.reserve(s.size() + static_cast<std::size_t>(days) * 250 + 2000);
  for (int day = 1; day <= days; ++day) {
    const std::string n = std::to_string(day);
    s += day % 7 == 0 ? "\n\\cf3" : "\n\\cf0";
    s += "\n\\b   "; s += "День "_cp; s += n; s += "\\par";
    s += "\n  "; s += "Седмица по Пятидесятнице, глас 4"_cp; s += "\\b0\\par";
    s += "\n  ================================================\\par";
    s += "\n\\f3\\cf1  + \\cf0\\f2 "; s += "Запись "_cp; s += n; s += "\\par";
    s += "\n\\f3  \x95 \\f2 "; s += "Мц. Анисии"_cp; s += "\\par";
    s += "\n\\f3  \xB7 \\f2 "; s += "Прп. Феодоры"_cp; s += "\\par";
    s += "\n\\f3  \xB7 \\f2 "; s += "Свт. Николая, архиеп. Мирликийского"_cp; s += "\\par";
    s += "\n\\par\\par";
  }
  s += SignLegend();
  s += "\n}";
  return s;
}

}  // namespace velmar::test_rtf
