#!/usr/bin/env python3
"""Writes data/dbase/Zachala.db: every zachalo of the liturgical Gospel (1984) and Apostol
(1989) with its range, read from the books by cubooks.py.  Standard library only.

    python3 scripts/readings/make_zachala.py [--list]

--list prints the zachala whose range is not that of a day named at their start (their
range then ends with the verse before the next zachalo)."""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import cubooks  # noqa: E402
import dbfile  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(HERE))
OUT = os.path.join(ROOT, 'data', 'dbase', 'Zachala.db')

HEADER = """\
; Велмар32 «Днесловник» — указатель зачал Евангелия и Апостола
;   (богослужебное Евангелие и Апостол Русской Православной Церкви).
; Кодировка Windows-1251, концы строк CR LF. Файл пишет scripts/readings/make_zachala.py
; из текста самих книг; правка руками возможна, но генератор ее затрет.
; Источники: Евангелие, М.: Издание Московской Патриархии, 1984; Апостол, М.: Издание
; Московской Патриархии, 1989 (цифровая копия slavonic/cu-books). Указатель написан по
; этим книгам: начало зачала — помета «(зач. N)» в тексте, конец — помета «Конец»
; того дня, который книга называет в начале зачала (в сноске: «Неделя 3-я», «Суббота 2-я
; по Пятидесятнице» ...). Где чтение этого дня уходит в другое зачало («Преиди ...
; в зачало N») или книга не называет дня, зачало кончается стихом перед следующим.
;
; Правила строк: пустая строка или строка с пробела — пропускается; «;» — комментарий;
; «[» — заголовок раздела; иное — запись «ключ=значение».
;
; Разделы [Мф.] [Мк.] [Лк.] [Ин.] — зачала Евангелия, у каждого евангелиста свой счет:
;   N=ДИАПАЗОН          например 18=6:22-33
; Раздел [Ап.] — зачала Апостола, сквозной счет 1..335 по Деяниям и Посланиям:
;   N=КНИГА ДИАПАЗОН    например 1=Деян. 1:1-8
; Номера 50 и 51 (Деяния и Послание Иакова) и 68 (2-е Петра и 1-е Иоанна) книга дает
; дважды: у них две записи, какую имеет в виду ссылка, говорит ее книга («Иак. 50»).
; ДИАПАЗОН — «глава:стих-стих» или «глава:стих-глава:стих» (арабскими цифрами, стихи
; по славянской Библии, как их печатают церковные календари).
; Ссылка в других файлах («Лк. 87») без диапазона значит все зачало, как оно здесь.
"""

SERIES = [('Мф.', 'Евангелие от Матфея'), ('Мк.', 'Евангелие от Марка'),
          ('Лк.', 'Евангелие от Луки'), ('Ин.', 'Евангелие от Иоанна'),
          ('Ап.', 'Апостол: Деяния и Послания')]


def build(books):
    lines = HEADER.rstrip('\n').split('\n')
    counts = {}
    for series, title in SERIES:
        lines += ['', '[%s] %s' % (series, title)]
        zs = books.zachala(series)
        counts[series] = len(zs)
        book = None
        for z in zs:
            if series == 'Ап.':
                if z.book != book:
                    lines.append('; %s' % z.book)
                    book = z.book
                lines.append('%d=%s %s' % (z.number, z.book, z.range))
            else:
                lines.append('%d=%s' % (z.number, z.range))
    return lines, counts


def main(argv):
    books = cubooks.load()
    lines, counts = build(books)
    dbfile.write(OUT, lines)
    print('Zachala.db: %s' % ', '.join('%s %d' % kv for kv in counts.items()))
    if '--list' in argv:
        for series, _ in SERIES:
            for z in books.zachala(series):
                if not z.labels:
                    print('no day named at %s %d %s' % (z.book, z.number, z.range))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
