#!/usr/bin/env python3
"""Writes data/dbase/ReadingsMenaion.db from scripts/readings/menaion.txt.

menaion.txt is our hand-checked table (UTF-8) of the readings of the fixed-date
commemorations, written from the Gospel (1984) and the Apostol (1989) of the Moscow
Patriarchate and the Typikon (ranks).  A piece marked "~" is a reading «от полу» whose
first verse is not yet checked against the books; its line is left out of the .db.
The output is Windows-1251 with CRLF line ends.  Standard library only.
"""
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
SRC = os.path.join(HERE, 'menaion.txt')
OUT = os.path.join(ROOT, 'data', 'dbase', 'ReadingsMenaion.db')

HEADER = """\
; Велмар32 «Днесловник» — чтения Священного Писания неподвижных памятей
;   (праздники, предпразднства и отдания, навечерия, святые с бдением и полиелеем
;   и иные святые, у которых книги дают свои чтения).
; Кодировка Windows-1251, концы строк CR LF. Файл пишет scripts/readings/make_menaion.py
; из таблицы scripts/readings/menaion.txt; правьте таблицу и запускайте генератор.
; Источники: Евангелие, М.: Издание Московской Патриархии, 1984 («Собрание евангелий
; на вся праздники месяцеслова» и пометы в тексте: «Преступи», «Чти», «Конец»);
; Апостол, М.: Издание Московской Патриархии, 1989 («Соборник двунадесяти месяцей»);
; общие чтения святым обеих книг (где книга отсылает к «службе святительской» и т. п.);
; Типикон, гл. 48 (знаки служб; его указания «Апостол ... зачало N: начальные слова»
; решают, где в Соборнике опечатка в числе). Таблицы написаны по этим книгам.
;
; Правила строк: пустая строка или строка с пробела — пропускается; «;» — комментарий;
; «[ДД.ММ] подпись» — память этого дня по старому стилю; подпись печатается перед ее
; чтениями (как в церковных календарях: «Богородицы», «Креста», «Свт.», «Прп.», «Мчч.»);
; в один день может быть несколько разделов — в порядке чтения.
; Записи раздела:
;   Праздник=Господский — праздник Господень (его чтения заменяют рядовые);
;   Праздник=Богородичный — великий праздник Богородицы;
;   Служба=N — знак службы по Типикону: 2 на шесть, 3 славословная, 4 полиелейная,
;     5 бдение, 6 великий праздник (нет записи — служба без знака);
;   Утр= Евангелие утрени; Ап= Апостол и Ев= Евангелие литургии;
;   1ч= 3ч= 6ч= 9ч= чтения Царских часов по порядку (Апостол, Евангелие).
; Ссылка: КНИГА [ЗАЧАЛО] [ДИАПАЗОН], куски через «; »; диапазон — «глава:стих»,
; «глава:стих-стих» или «глава:стих-глава:стих» через «, », каждый кусок со своей главой
; («Лк. 54 10:38-42, 11:27-28»). Без диапазона читается все зачало (по Zachala.db).
"""

KEYS = {'Праздник', 'Служба', 'Утр', 'Ап', 'Ев', 'Веч', '1ч', '3ч', '6ч', '9ч'}


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
            if not re.match(r'^\[(0[1-9]|[12]\d|3[01])\.(0[1-9]|1[0-2])\] \S', line):
                raise SystemExit(f'menaion.txt:{n}: bad section header: {line}')
            section = line
            out.append(line)
            continue
        key, sep, value = line.partition('=')
        if not sep or key not in KEYS or section is None:
            raise SystemExit(f'menaion.txt:{n}: bad entry: {line}')
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
