#!/usr/bin/env python3
"""Writes data/dbase/ReadingsSpecial.db from scripts/readings/special.txt.

special.txt is our hand-checked table (UTF-8) of the special Saturdays and Sundays (before
and after the Exaltation, the Nativity and Theophany, the Forefathers, the Holy Fathers, the
Fathers of the Councils) and of the memorial Saturdays, written from the Gospel (1984), the
Apostol (1989) and the Typikon (whether the ordinary reading of the day is read too).
A piece marked "~" is a reading «от полу» whose first verse is not yet checked against the
books; its line is left out of the .db.  The output is Windows-1251 with CRLF line ends.
Standard library only.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import dbfile  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
SRC = os.path.join(HERE, 'special.txt')
OUT = os.path.join(ROOT, 'data', 'dbase', 'ReadingsSpecial.db')

HEADER = """\
; Велмар32 «Днесловник» — чтения особых суббот и недель (пред и по Воздвижении,
;   Рождестве Христовом и Богоявлении, Праотец, св. отец, отцев Соборов) и заупокойных
;   (родительских) суббот.
; Кодировка Windows-1251, концы строк CR LF. Файл пишет scripts/readings/make_special.py
; из таблицы scripts/readings/special.txt; правьте таблицу и запускайте генератор.
; Источники: Евангелие, М.: Издание Московской Патриархии, 1984 («Собрание евангелий
; на вся праздники месяцеслова», «Сказание» евангелий на всякий день, общие и заупокойные
; евангелия); Апостол, М.: Издание Московской Патриархии, 1989 («Соборник двунадесяти
; месяцев», «Сказание» апостолов на весь год, общие апостолы); Типикон, гл. 48-50 (читается
; ли рядовое чтение дня). Таблицы написаны по этим книгам.
;
; Правила строк: пустая строка или строка с пробела — пропускается; «;» — комментарий;
; «[» — заголовок раздела; иное — запись «ключ=значение».
; Раздел: [Сб ДД.ММ-ДД.ММ] или [Вс ДД.ММ-ДД.ММ] — суббота или неделя (воскресенье),
; приходящаяся на эти числа по старому стилю (и иной день недели — Пн Вт Ср Чт Пт —
; для чтений, перенесенных на него); [-N] или [+N] — день за N дней до Пасхи
; или через N дней после нее. Подпись после «]» печатается перед чтениями дня.
; Записи: Ап= Ев= Утр= — чтения дня (ссылки как в ReadingsMenaion.db: КНИГА ЗАЧАЛО
; [ДИАПАЗОН], без диапазона — все зачало по Zachala.db);
; Ряд=нет — рядовое чтение дня в этот день не читается (без этой записи читается
; сначала рядовое, затем особое); Ряд=без отступки — рядовое читается только в год без
; зимней отступки (в год, когда недель до Недели о мытаре и фарисее больше, чем чтений,
; оно не читается). У каждого дня в комментарии — место Типикона.
"""

KEYS = {'Ряд', 'Праздник', 'Служба', 'Утр', 'Ап', 'Ев', 'Веч', '1ч', '3ч', '6ч', '9ч'}


def main():
    dbfile.write_table(SRC, OUT, HEADER, KEYS, r'^\[((Пн|Вт|Ср|Чт|Пт|Сб|Вс) \d\d\.\d\d-\d\d\.\d\d|[-+]\d+)\] \S')


if __name__ == '__main__':
    main()
