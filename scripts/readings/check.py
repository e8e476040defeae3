#!/usr/bin/env python3
"""Checks data/dbase/Zachala.db and data/dbase/Readings.db.  Standard library only.

    python3 scripts/readings/check.py [--verbose]

Without the books (CU_BOOKS, a checkout of slavonic/cu-books) the checks of the files alone
run: the grammar (Windows-1251, CR LF, line length, sections, keys), the well-formed ranges,
every zachalo a reference names is in Zachala.db, every day of the cycle is there, and the
known answers.  With the books: every verse of a New Testament range exists in the book, the
files agree with what the books give (a fresh build), and the tables of the year agree with
the footnotes that name days in the text.  Exit status 1 on an error."""
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import dbfile  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(HERE))
ZACHALA = os.path.join(ROOT, 'data', 'dbase', 'Zachala.db')
READINGS = os.path.join(ROOT, 'data', 'dbase', 'Readings.db')

NT_BOOKS = ['Мф.', 'Мк.', 'Лк.', 'Ин.', 'Деян.', 'Иак.', '1 Пет.', '2 Пет.', '1 Ин.', '2 Ин.',
            '3 Ин.', 'Иуд.', 'Рим.', '1 Кор.', '2 Кор.', 'Гал.', 'Еф.', 'Флп.', 'Кол.', '1 Сол.',
            '2 Сол.', '1 Тим.', '2 Тим.', 'Тит.', 'Флм.', 'Евр.']
OT_BOOKS = ['Быт.', 'Исх.', 'Лев.', 'Чис.', 'Втор.', 'Нав.', 'Суд.', 'Руф.', '1 Цар.', '2 Цар.',
            '3 Цар.', '4 Цар.', '1 Пар.', '2 Пар.', 'Иов.', 'Пс.', 'Притч.', 'Еккл.', 'Песн.',
            'Ис.', 'Иер.', 'Плач.', 'Вар.', 'Иез.', 'Дан.', 'Ос.', 'Иоил.', 'Ам.', 'Авд.', 'Ион.',
            'Мих.', 'Наум.', 'Авв.', 'Соф.', 'Агг.', 'Зах.', 'Мал.', 'Прем.', 'Сир.']
SLOTS = {'Утр', 'Ап', 'Ев', 'Веч', '1ч', '3ч', '6ч', '9ч'}
WEEK = ['Пн', 'Вт', 'Ср', 'Чт', 'Пт', 'Сб', 'Вс']

_BOOK = '|'.join(re.escape(b) for b in sorted(NT_BOOKS + OT_BOOKS, key=len, reverse=True))
PIECE = re.compile(r'^(%s)(?: (\d+))?(?: (\d+:\d+(?:-(?:\d+:)?\d+)?(?:, \d+:\d+(?:-(?:\d+:)?\d+)?)*))?$'
                   % _BOOK)

# Known answers: the Church's printed calendars and the readings of the issue.
KNOWN = [
    ('+0', 'Ап', 'Деян. 1 1:1-8'), ('+0', 'Ев', 'Ин. 1 1:1-17'),
    ('Ап 28', 'Вт', '2 Тим. 297 3:16-4:4'), ('Лк 27', 'Вт', 'Лк. 87 17:26-37'),
    ('Утр', '7', 'Ин. 63 20:1-10'), ('Утр', '1', 'Мф. 116 28:16-20'),
    ('Ап 32', 'Вс', '1 Тим. 285 4:9-15'), ('Лк 32', 'Вс', 'Лк. 94 19:1-10'),
    ('-70', 'Ап', '2 Тим. 296 3:10-15'), ('-70', 'Ев', 'Лк. 89 18:10-14'),
    ('-48', '6ч', 'Ис. 1:1-20'), ('-48', 'Веч', 'Быт. 1:1-13'), ('-48', 'Веч', 'Притч. 1:1-20'),
]
KNOWN_DAYS = [('На всѧ праздники бцы', 'Лк.', 'Лк. 54 10:38-42, 11:27-28'),
              ('на воздвиженіе крта на літꙋргіи', 'Ин.', 'Ин. 60 19:6-11, 19:13-20, 19:25-28, 19:30-35'),
              ('На ржтво чтнагѡ предтечи', 'Лк.', 'Лк. 1 1:1-25, 1:57-68, 1:76, 1:80'),
              ('Недѣлѧ а всѣхъ стыхъ', 'Мф.', 'Мф. 38 10:32-33, 10:37-38, 19:27-30'),
              ('Недѣлѧ лв', 'Лк.', 'Лк. 94 19:1-10')]
KNOWN_ZACHALA = [('Ап.', 297, '2 Тим. 3:16-4:4'), ('Лк.', 87, '17:26-37'),
                 ('Ап.', 320, 'Евр. 9:1-7'), ('Лк.', 54, '10:38-42'), ('Ап.', 1, 'Деян. 1:1-8'),
                 ('Ин.', 1, '1:1-17'), ('Ап.', 296, '2 Тим. 3:10-15'), ('Лк.', 89, '18:10-14'),
                 ('Ин.', 63, '20:1-10'), ('Мф.', 116, '28:16-20'), ('Лк.', 94, '19:1-10')]


class Checker:
    def __init__(self, verbose=False):
        self.errors = []
        self.infos = []
        self.verbose = verbose

    def error(self, msg):
        self.errors.append(msg)

    def info(self, msg):
        self.infos.append(msg)


def parse_range(text):
    spans = []
    for part in text.split(', '):
        m = re.fullmatch(r'(\d+):(\d+)(?:-(?:(\d+):)?(\d+))?', part)
        c1, v1 = int(m.group(1)), int(m.group(2))
        c2 = int(m.group(3)) if m.group(3) else c1
        v2 = int(m.group(4)) if m.group(4) else v1
        spans.append(((c1, v1), (c2, v2)))
    return spans


def well_formed(spans):
    """Each span goes forward; the spans go forward and do not overlap."""
    last = None
    for a, b in spans:
        if min(a + b) < 1 or a > b:
            return False
        if last and a <= last:
            return False
        last = b
    return True


def raw_checks(path, ck):
    raw = open(path, 'rb').read()
    try:
        raw.decode('cp1251')
    except UnicodeDecodeError as e:
        ck.error('%s: not Windows-1251: %s' % (path, e))
    if b'\n' in raw.replace(b'\r\n', b''):
        ck.error('%s: a line end other than CR LF' % path)
    if not raw.endswith(b'\r\n'):
        ck.error('%s: the last line has no CR LF' % path)
    for n, line in enumerate(raw.split(b'\r\n'), 1):
        if len(line) > 1022:
            ck.error('%s:%d: %d bytes' % (path, n, len(line)))
    if not raw.startswith(b';'):
        ck.error('%s: no header of comments' % path)


def read_zachala(ck):
    raw_checks(ZACHALA, ck)
    entries, sections = dbfile.read(ZACHALA)
    names = [s for _, s, _ in sections]
    if names != ['Мф.', 'Мк.', 'Лк.', 'Ин.', 'Ап.']:
        ck.error('Zachala.db: sections %r' % names)
    index = {}              # (series, n) -> [(book, spans)]
    for n, sec, key, value in entries:
        if not key.isdigit():
            ck.error('Zachala.db:%d: key %r' % (n, key))
            continue
        if sec == 'Ап.':
            m = re.fullmatch(r'(%s) (\S+)' % _BOOK, value)
            if not m or m.group(1) not in NT_BOOKS[4:]:
                ck.error('Zachala.db:%d: %r' % (n, value))
                continue
            book, rng = m.group(1), m.group(2)
        else:
            book, rng = sec, value
        try:
            spans = parse_range(rng)
        except (AttributeError, ValueError):
            ck.error('Zachala.db:%d: range %r' % (n, rng))
            continue
        if not well_formed(spans):
            ck.error('Zachala.db:%d: range %r not well formed' % (n, rng))
        if any(b == book for b, _ in index.get((sec, int(key)), [])):
            ck.error('Zachala.db:%d: %s %s twice' % (n, book, key))
        index.setdefault((sec, int(key)), []).append((book, spans))
    counts = {s: len([1 for k in index if k[0] == s]) for s in names}
    expect = {'Мф.': 116, 'Мк.': 71, 'Лк.': 114, 'Ин.': 67, 'Ап.': 335}
    for s, c in expect.items():
        if counts.get(s) != c:
            ck.error('Zachala.db: %s has %s zachala, the books %d' % (s, counts.get(s), c))
        if s in index and sorted(k for ser, k in index if ser == s) != list(range(1, c + 1)):
            ck.error('Zachala.db: %s is not numbered 1..%d' % (s, c))
    return index


def zachalo_of(index, book, n):
    series = book if book in NT_BOOKS[:4] else 'Ап.'
    for b, spans in index.get((series, n), []):
        if b == book:
            return spans
    return None


def read_readings(ck, index):
    raw_checks(READINGS, ck)
    entries, sections = dbfile.read(READINGS)
    names = [s for _, s, _ in sections]
    if len(names) != len(set(names)):
        ck.error('Readings.db: a section twice')
    want = (['+%d' % i for i in range(50)] + ['-%d' % i for i in range(70, 0, -1)]
            + ['Ап %d' % i for i in range(1, 34)] + ['Ев %d' % i for i in range(1, 18)]
            + ['Лк %d' % i for i in range(18, 34)] + ['Утр'])
    if sorted(names) != sorted(want):
        ck.error('Readings.db: sections missing %s, unknown %s'
                 % (sorted(set(want) - set(names)), sorted(set(names) - set(want))))
    table = {}
    for n, sec, key, value in entries:
        if sec is None:
            ck.error('Readings.db:%d: an entry before the first section' % n)
            continue
        if sec[0] in '+-':
            ok = key in SLOTS
        elif sec == 'Утр':
            ok = key.isdigit() and 1 <= int(key) <= 11
        else:
            ok = key in (WEEK if not sec.endswith(' 33') else WEEK[:6])
        if not ok:
            ck.error('Readings.db:%d: key %r in [%s]' % (n, key, sec))
        if sec[0] not in '+-' and (sec, key) in table:
            ck.error('Readings.db:%d: [%s] %s twice' % (n, sec, key))
        table.setdefault((sec, key), []).append(value)
        for piece in value.split('; '):
            check_piece(ck, index, 'Readings.db:%d' % n + ('; ' if '; ' in value else ''), piece)
    for sec in names:
        if sec.startswith(('Ап', 'Ев', 'Лк')):
            keys = [k for (s, k) in table if s == sec]
            need = WEEK if not sec.endswith(' 33') else WEEK[:6]
            if sorted(keys, key=WEEK.index) != need:
                ck.error('Readings.db: [%s] has %s' % (sec, keys))
    return table, entries


def check_piece(ck, index, where, piece):
    m = PIECE.match(piece)
    if not m:
        ck.error('%s: reading %r not understood' % (where, piece))
        return
    book, zach, rng = m.group(1), m.group(2), m.group(3)
    if book in NT_BOOKS:
        if not zach:
            ck.error('%s: %r without its zachalo' % (where, piece))
            return
        spans = zachalo_of(index, book, int(zach))
        if spans is None:
            ck.error('%s: %s %s is not in Zachala.db' % (where, book, zach))
            return
        if rng and '; ' not in where:
            own = parse_range(rng)
            if own == spans:
                ck.info('%s: %r gives the range of the whole zachalo' % (where, piece))
    else:
        if zach or not rng:
            ck.error('%s: an Old Testament reading %r needs a range and no zachalo' % (where, piece))
            return
    if rng and not well_formed(parse_range(rng)):
        ck.error('%s: range of %r not well formed' % (where, piece))


def expand(index, value):
    """A reading with every piece's range made explicit."""
    out = []
    for piece in value.split('; '):
        m = PIECE.match(piece)
        book, zach, rng = m.group(1), m.group(2), m.group(3)
        if not rng:
            spans = zachalo_of(index, book, int(zach)) if zach else None
            if spans is None:
                out.append(piece)       # reported where the piece is checked
                continue
            rng = ', '.join('%d:%d-%d:%d' % (a + b) if a[0] != b[0] else
                            ('%d:%d-%d' % (a[0], a[1], b[1]) if a != b else '%d:%d' % a)
                            for a, b in spans)
        out.append(' '.join(x for x in (book, zach, rng) if x))
    return '; '.join(out)


def known_answers(ck, index, table):
    for sec, key, answer in KNOWN:
        got = [expand(index, v) for v in table.get((sec, key), [])]
        if answer not in got:
            ck.error('known answer: [%s] %s should read %s, the file has %s' % (sec, key, answer, got))
    for series, n, answer in KNOWN_ZACHALA:
        found = index.get((series, n), [])
        texts = [('%s ' % b if series == 'Ап.' else '') +
                 expand(index, '%s %d' % (b, n))[len('%s %d ' % (b, n)):] for b, _ in found]
        if answer not in texts:
            ck.error('known answer: zachalo %s %d should be %s, Zachala.db has %s'
                     % (series, n, answer, texts))


def book_checks(ck, index, entries):
    """With the books: verses exist, the files are what the books give, the tables agree with
    the footnotes of the text."""
    import cubooks
    import make_readings
    import make_zachala
    books = cubooks.load()
    # known readings of named days, as the rubrics of the text give them
    for text, book, answer in KNOWN_DAYS:
        try:
            got = books.day(text, book).text()
        except LookupError as e:
            got = str(e)
        if got != answer:
            ck.error('known answer: «%s» should read %s, cubooks gives %s' % (text, answer, got))
    # every verse of every New Testament range exists
    for n, sec, key, value in entries:
        for piece in expand(index, value).split('; '):
            m = PIECE.match(piece)
            if not m or m.group(1) not in NT_BOOKS or not m.group(3):
                continue
            for (c1, v1), (c2, v2) in parse_range(m.group(3)):
                for c in range(c1, c2 + 1):
                    lo = v1 if c == c1 else 1
                    hi = v2 if c == c2 else books.chapter_len(m.group(1), c)
                    for v in (lo, hi):
                        if not books.verse_exists(m.group(1), c, v):
                            ck.error('Readings.db:%d: %s %d:%d is not in the book'
                                     % (n, m.group(1), c, v))
    for (series, z), lst in index.items():
        for book, spans in lst:
            for (c1, v1), (c2, v2) in spans:
                if not books.verse_exists(book, c1, v1) or not books.verse_exists(book, c2, v2):
                    ck.error('Zachala.db: %s %d %r: a verse not in the book' % (book, z, spans))
    # the files are what the generators write today
    zlines, _ = make_zachala.build(books)
    if zlines != open(ZACHALA, 'rb').read().decode('cp1251').split('\r\n')[:-1]:
        ck.error('Zachala.db differs from what make_zachala.py writes')
    b = make_readings.build()
    if make_readings.lines_of(b) != open(READINGS, 'rb').read().decode('cp1251').split('\r\n')[:-1]:
        ck.error('Readings.db differs from what make_readings.py writes')
    for note in b.notes:
        ck.info('build: ' + note)
    # the tables of the year against the footnotes naming days in the text
    table_vs_labels(ck, books, make_readings)


def table_vs_labels(ck, books, mr):
    import tables
    days = {}
    for day, slot, ref, note in tables.gospel_table():
        if slot in ('Ев', 'Утр') and day[0] in 'PTS':
            days.setdefault((day, slot, 'Ев'), []).append(ref)
    for day, slot, ref, note in tables.apostol_table():
        if slot == 'Ап' and day[0] in 'PTS':
            days.setdefault((day, slot, 'Ап'), []).append(ref)
    fixes = {(d, s): r for (d, s, _), (r, why) in mr.TABLE_FIXES.items()}
    agree = differ = 0
    for lb in books.labels():
        apostol = lb.book in cubooks_apostol()
        for (day, slot, kind), refs in days.items():
            if (kind == 'Ап') != apostol:
                continue
            # the weeks after Pentecost read Mt/Mk/Lk and the Epistles; the Pentecostarion
            # John and Acts (its Sundays also Mark and Luke)
            if day[0] == 'S' and lb.book in ('Ин.', 'Деян.'):
                continue
            if day[0] == 'P' and lb.book not in ('Ин.', 'Деян.') and not (
                    set(lb.stems) & {'пасх', 'миронос', 'вознес'}):
                continue
            if set(lb.stems) & {'мертв', 'умовен'} or (slot in ('Ев', 'Ап') and 'утрен' in lb.stems):
                continue
            try:
                w = mr.want(day, slot)
            except ValueError:
                continue
            if not mr.label_fits(lb, w, strict_service=(slot == 'Утр')):
                continue
            if slot == 'Утр' and 'утрен' not in lb.stems:
                continue
            ref = fixes.get((day, slot), refs[0])
            if ref[1] == lb.zachalo or any(r[1] == lb.zachalo for r in refs):
                agree += 1
            else:
                differ += 1
                ck.info('label «%s» (%s %d) names %s %s; the table reads zachalo %d'
                        % (lb.text, lb.book, lb.zachalo, mr.fmt_day(day), slot, ref[1]))
    ck.info('tables against labels: %d agree, %d differ' % (agree, differ))
    ck.label_counts = (agree, differ)


def cubooks_apostol():
    import cubooks
    return set(cubooks.APOSTOL_BOOKS)


def main(argv):
    ck = Checker('--verbose' in argv)
    index = read_zachala(ck)
    table, entries = read_readings(ck, index)
    known_answers(ck, index, table)
    import cubooks
    if os.path.isdir(os.path.join(cubooks.CU_BOOKS, 'Evangelie1984')):
        book_checks(ck, index, entries)
    else:
        print('the books are not at %s: the checks against them are skipped' % cubooks.CU_BOOKS)
    n_ent = len(entries)
    print('Zachala.db: %s zachala; Readings.db: %d entries' % (sum(len(v) for v in index.values()), n_ent))
    if ck.verbose:
        for i in ck.infos:
            print('info:', i)
    else:
        print('%d notes (--verbose shows them)' % len(ck.infos))
    for e in ck.errors:
        print('ERROR:', e)
    print('%d errors' % len(ck.errors))
    return 1 if ck.errors else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
