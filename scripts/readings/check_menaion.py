#!/usr/bin/env python3
"""Checks data/dbase/ReadingsMenaion.db and ReadingsSpecial.db: grammar, ranges, the
zachalo's book, references against data/dbase/Zachala.db (when it exists), the verses
against the books themselves (scripts/readings/cubooks.py, when the digitised books are
there) and the known answers of the Church's printed calendars.  Exit code 1 on any fault.

With Zachala.db every reference must name a zachalo of the index, of the book it names
(the Apostol numbers 50, 51 and 68 twice: the book decides), and an explicit range must
begin inside that zachalo: at or after its first verse and before the next zachalo of the
same book (a reading «от полу»)."""
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
DB = os.path.join(ROOT, 'data', 'dbase')

# Apostol zachala by book (numbering of the Apostol, 1989); used without Zachala.db
AP_BOOKS = [('Деян.', 1, 51), ('Иак.', 50, 57), ('1 Пет.', 58, 63), ('2 Пет.', 64, 68),
            ('1 Ин.', 68, 74), ('2 Ин.', 75, 75), ('3 Ин.', 76, 76), ('Иуд.', 77, 78),
            ('Рим.', 79, 121), ('1 Кор.', 122, 166), ('2 Кор.', 167, 197), ('Гал.', 198, 215),
            ('Еф.', 216, 234), ('Флп.', 235, 248), ('Кол.', 249, 261), ('1 Сол.', 262, 273),
            ('2 Сол.', 274, 279), ('1 Тим.', 280, 289), ('2 Тим.', 290, 299),
            ('Тит.', 300, 302), ('Евр.', 303, 335)]
GOSPELS = {'Мф.': 116, 'Мк.': 71, 'Лк.': 114, 'Ин.': 67}
OT_BOOKS = {'Быт.', 'Исх.', 'Лев.', 'Чис.', 'Втор.', 'Нав.', 'Суд.', 'Руф.', '1 Цар.', '2 Цар.',
            '3 Цар.', '4 Цар.', '1 Пар.', '2 Пар.', 'Иов.', 'Пс.', 'Притч.', 'Еккл.', 'Песн.',
            'Ис.', 'Иер.', 'Плач.', 'Вар.', 'Иез.', 'Дан.', 'Ос.', 'Иоил.', 'Ам.', 'Авд.',
            'Ион.', 'Мих.', 'Наум.', 'Авв.', 'Соф.', 'Агг.', 'Зах.', 'Мал.', 'Прем.', 'Сир.'}
READING_KEYS = ('Утр', 'Ап', 'Ев', 'Веч', '1ч', '3ч', '6ч', '9ч')
REPEATED_KEYS = ('Веч', '1ч', '3ч', '6ч', '9ч')
KNOWN = {
    ('08.09', 'Утр'): 'Лк. 4 1:39-49, 1:56', ('08.09', 'Ап'): 'Флп. 240',
    ('08.09', 'Ев'): 'Лк. 54 10:38-42, 11:27-28',
    ('25.12', 'Утр'): 'Мф. 2', ('25.12', 'Ап'): 'Гал. 209 4:4-7', ('25.12', 'Ев'): 'Мф. 3',
    ('06.01', 'Утр'): 'Мк. 2 1:9-11', ('06.01', 'Ап'): 'Тит. 302 2:11-14, 3:4-7',
    ('06.01', 'Ев'): 'Мф. 6',
    ('25.03', 'Утр'): 'Лк. 4 1:39-49, 1:56', ('25.03', 'Ап'): 'Евр. 306', ('25.03', 'Ев'): 'Лк. 3',
    ('14.09', 'Утр'): 'Ин. 42 12:28-36', ('14.09', 'Ап'): '1 Кор. 125 1:18-24',
    ('14.09', 'Ев'): 'Ин. 60 19:6-11, 19:13-20, 19:25-28, 19:30-35',
    ('01.01', 'Ев'): 'Лк. 6 2:20-21, 2:40-52', ('06.08', 'Ап'): '2 Пет. 65',
    ('06.08', 'Ев'): 'Мф. 70', ('29.06', 'Ап'): '2 Кор. 193', ('29.06', 'Ев'): 'Мф. 67',
    ('24.06', 'Ап'): 'Рим. 112',
}
KNOWN_SPECIAL = {
    ('Вс 11.12-17.12', 'Ряд'): 'нет', ('Вс 18.12-24.12', 'Ряд'): 'нет',
    ('Вс 18.12-24.12', 'Ап'): 'Евр. 328 11:9-10, 11:17-23, 11:32-40',
    ('Сб 07.09-13.09', 'Ряд'): None, ('Вс 07.09-13.09', 'Ряд'): None,
    ('-57', 'Ап'): '1 Сол. 270', ('-57', 'Ев'): 'Ин. 16', ('-22', 'Ап'): '1 Кор. 163',
}
SPAN = r'\d+:\d+(?:-\d+(?::\d+)?)?'
PIECE = re.compile(r'^((?:[123] )?[А-Я][а-я]+\.)(?: (\d+))?(?: (' + SPAN + r'(?:, ' + SPAN + r')*))?$')


def parse_span(span):
    m = re.match(r'^(\d+):(\d+)(?:-(\d+)(?::(\d+))?)?$', span)
    c1, v1 = int(m.group(1)), int(m.group(2))
    if m.group(4):
        c2, v2 = int(m.group(3)), int(m.group(4))
    elif m.group(3):
        c2, v2 = c1, int(m.group(3))
    else:
        c2, v2 = c1, v1
    return (c1, v1), (c2, v2)


class Index:
    """Zachala.db: (series, number) -> [(book, start, end)]; series 'Мф.'..'Ин.' or 'Ап.'."""

    def __init__(self, path):
        self.z = {}
        sec = None
        for line in open(path, encoding='cp1251'):
            line = line.rstrip('\r\n')
            if not line or line[0] in ' ;':
                continue
            if line.startswith('['):
                sec = line[1:line.index(']')]
                continue
            k, _, v = line.partition('=')
            if sec == 'Ап.':
                m = re.match(r'^((?:[123] )?\S+\.) (.*)$', v)
                book, rng = m.group(1), m.group(2)
            else:
                book, rng = sec, v
            start, _ = parse_span(rng.split(', ')[0])
            _, end = parse_span(rng.split(', ')[-1])
            self.z.setdefault((sec, int(k)), []).append((book, start, end))

    def entry(self, book, n):
        series = book if book in GOSPELS else 'Ап.'
        for b, start, end in self.z.get((series, n), []):
            if b == book:
                return start, end
        return None

    def next_start(self, book, n):
        """First verse of the next zachalo of the same book, or None at the book's end."""
        series = book if book in GOSPELS else 'Ап.'
        starts = [s for (ser, _), es in self.z.items() if ser == series
                  for b, s, _ in es if b == book]
        own = self.entry(book, n)[0]
        later = [s for s in starts if s > own]
        return min(later) if later else None


def load_books():
    """cubooks when the digitised books are there, else None (the verse check is skipped)."""
    try:
        sys.path.insert(0, HERE)
        import cubooks
        if not os.path.isdir(cubooks.CU_BOOKS):
            return None
        return cubooks.load()
    except Exception:       # no books, or a book that fails to parse: say so, do not crash
        return None


def check_ref(ref, index, books):
    faults = []
    for piece in ref.split('; '):
        m = PIECE.match(piece)
        if not m:
            faults.append(f'bad reference «{piece}»')
            continue
        book, num, rng = m.group(1), m.group(2), m.group(3)
        spans = [parse_span(s) for s in rng.split(', ')] if rng else []
        for (c1, v1), (c2, v2) in spans:
            if not ((c1, v1) <= (c2, v2) and c1 > 0 and v1 > 0):
                faults.append(f'bad range in «{piece}»')
        if any(a[1] > b[0] for a, b in zip(spans, spans[1:])):
            faults.append(f'spans out of order or overlapping in «{piece}»')
        if book in OT_BOOKS:
            if num:
                faults.append(f'an Old Testament reading has no zachalo: «{piece}»')
            if not rng:
                faults.append(f'an Old Testament reading needs its range: «{piece}»')
            continue
        if num is None:
            faults.append(f'no zachalo in «{piece}»')
            continue
        n = int(num)
        if book in GOSPELS:
            if not 1 <= n <= GOSPELS[book]:
                faults.append(f'no zachalo {n} in {book}')
        elif not any(b == book and lo <= n <= hi for b, lo, hi in AP_BOOKS):
            faults.append(f'Apostol zachalo {n} is not in {book}')
        if books is not None:
            for (c1, v1), (c2, v2) in spans:
                for c, v in ((c1, v1), (c2, v2)):
                    if not books.verse_exists(book, c, v):
                        faults.append(f'no verse {book} {c}:{v} in the book («{piece}»)')
        if index is None:
            continue
        own = index.entry(book, n)
        if own is None:
            faults.append(f'zachalo {book} {n} is not in Zachala.db')
            continue
        if spans:
            first = spans[0][0]
            nxt = index.next_start(book, n)
            if first < own[0] or (nxt is not None and first >= nxt):
                faults.append(f'«{piece}» does not begin inside zachalo {n} '
                              f'({own[0][0]}:{own[0][1]} .. before the next zachalo)')
    return faults


def check_file(name, index, books, known=None):
    path = os.path.join(DB, name)
    raw = open(path, 'rb').read()
    faults = []
    if b'\n' in raw.replace(b'\r\n', b''):
        faults.append('a line ends without CR LF')
    text = raw.decode('cp1251')
    sec = None
    seen = {}
    headers = set()
    keys = set()
    for n, line in enumerate(text.split('\r\n'), 1):
        if len(line.encode('cp1251')) > 1022:
            faults.append(f'{n}: line longer than 1022 bytes')
        if not line or line[0] in ' ;':
            continue
        if line.startswith('['):
            if line in headers:
                faults.append(f'{n}: section {line} twice')
            headers.add(line)
            sec = line[1:line.index(']')]
            keys = set()
            continue
        k, sep, v = line.partition('=')
        if not sep or sec is None:
            faults.append(f'{n}: not an entry: {line}')
            continue
        if k in keys and k not in REPEATED_KEYS:
            faults.append(f'{n}: [{sec}] {k}= twice')
        keys.add(k)
        if k in READING_KEYS:
            faults += [f'{n}: [{sec}] {f}' for f in check_ref(v, index, books)]
            seen.setdefault((sec, k), v)
        elif k == 'Служба' and v not in ('2', '3', '4', '5', '6'):
            faults.append(f'{n}: bad rank {v}')
        elif k == 'Праздник' and v not in ('Господский', 'Богородичный'):
            faults.append(f'{n}: bad feast kind {v}')
        elif k == 'Ряд':
            if v not in ('нет', 'без отступки'):
                faults.append(f'{n}: bad Ряд={v}')
            seen[(sec, k)] = v
        elif k not in ('Служба', 'Праздник'):
            faults.append(f'{n}: unknown key {k}')
    for key, want in (known or {}).items():
        if seen.get(key) != want:
            faults.append(f'known answer {key}: file has «{seen.get(key)}», calendars print «{want}»')
    return faults


def main():
    zpath = os.path.join(DB, 'Zachala.db')
    index = Index(zpath) if os.path.exists(zpath) else None
    if index is None:
        print('Zachala.db not found: zachalo numbers checked against the book table only')
    books = load_books()
    if books is None:
        print('the digitised books are not there: verses not checked')
    faults = check_file('ReadingsMenaion.db', index, books, KNOWN)
    if os.path.exists(os.path.join(DB, 'ReadingsSpecial.db')):
        faults += ['ReadingsSpecial.db ' + f
                   for f in check_file('ReadingsSpecial.db', index, books, KNOWN_SPECIAL)]
    for f in faults:
        print(f)
    print(f'{len(faults)} faults')
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main())
