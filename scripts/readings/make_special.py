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
import re
import sys

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


def convert(lines):
    out, dropped = [], []
    section = None
    for n, raw in enumerate(lines, 1):
        line = raw.rstrip('\n')
        if not line or line[0] in ' ;':
            if line.startswith(';') and section is None:
                continue          # the table's own header stays in the table
            out.append(line)
            continue
        if line.startswith('['):
            if not re.match(r'^\[((Пн|Вт|Ср|Чт|Пт|Сб|Вс) \d\d\.\d\d-\d\d\.\d\d|[-+]\d+)\] \S', line):
                raise SystemExit(f'special.txt:{n}: bad section header: {line}')
            section = line
            out.append(line)
            continue
        key, sep, value = line.partition('=')
        if not sep or key not in KEYS or section is None:
            raise SystemExit(f'special.txt:{n}: bad entry: {line}')
        if '~' in value:
            dropped.append(f'{section} {line}')
            continue
        out.append(line)
    return out, dropped


def main():
    with open(SRC, encoding='utf-8') as f:
        lines = f.readlines()
    out, dropped = convert(lines)
    for line in out:
        try:
            line.encode('cp1251')
        except UnicodeEncodeError as e:
            raise SystemExit(f'{os.path.basename(SRC)}: a character Windows-1251 lacks '
                             f'({line[e.start]!r}) in: {line}')
    text = HEADER + '\n' + '\n'.join(out).strip('\n') + '\n'
    data = text.replace('\n', '\r\n').encode('cp1251')
    for line in data.split(b'\r\n'):
        if len(line) > 1022:
            raise SystemExit('line longer than 1022 bytes: %r' % line[:60])
    tmp = OUT + '.tmp'
    with open(tmp, 'wb') as f:
        f.write(data)
    os.replace(tmp, OUT)
    print(f'{OUT}: {sum(1 for l in out if l.startswith("["))} sections')
    for d in dropped:
        print('left out (from half, not checked):', d, file=sys.stderr)


if __name__ == '__main__':
    main()
