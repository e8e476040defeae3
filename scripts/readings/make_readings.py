#!/usr/bin/env python3
"""Writes data/dbase/Readings.db: the readings of the moveable cycle, from the tables of the
year of the liturgical Gospel (1984) and Apostol (1989), the Lenten Triodion (1992) and the
rubrics in the text of the Gospel and the Apostol (cubooks.py).  Standard library only.

    python3 scripts/readings/make_readings.py [--report]

--report prints what was left out or taken without a rubric naming the day."""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import cubooks  # noqa: E402
import dbfile  # noqa: E402
import tables  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(HERE))
OUT = os.path.join(ROOT, 'data', 'dbase', 'Readings.db')

WD_KEYS = ['@пн', '@вт', '@ср', '@чт', '@пт', '@сб', '@вс']
WD_NAMES = ['Пн', 'Вт', 'Ср', 'Чт', 'Пт', 'Сб', 'Вс']
QUALS = {'пост', 'сыр', 'мясопуст', 'светл', 'велик', 'цвет', 'лазар', 'пасх'}
SERVICE = {'Утр': 'утрен', 'Ев': 'литург', 'Ап': 'литург', 'Веч': 'вечер'}

# the Sundays of the Pentecostarion by their names in the labels
PASCHAL_SUNDAY_NAMES = {7: ['фомин', 'антипас'], 14: ['миронос'], 21: ['разслаб'],
                        28: ['самарян'], 35: ['слеп'], 42: ['отц'], 49: ['пятидесятн']}


MATINS = {('Мф.', 116): 1, ('Мк.', 70): 2, ('Мк.', 71): 3, ('Лк.', 112): 4, ('Лк.', 113): 5,
           ('Лк.', 114): 6, ('Ин.', 63): 7, ('Ин.', 64): 8, ('Ин.', 65): 9, ('Ин.', 66): 10,
           ('Ин.', 67): 11}


def want(day, slot, note=''):
    """What a label naming this day holds: (weekday key or None, numbers (any of) or None,
    stems (any of) or None, qualifiers the day has, service stem or None)."""
    kind = day[0]
    service = SERVICE.get(slot)
    if slot in ('1ч', '3ч', '6ч', '9ч'):
        return (None, {'#%s' % slot[:-1]}, ['час'], {'велик'}, None)
    if kind == 'M':
        return (None, {'#%d' % day[1]}, ['воскрес'], set(), None)
    if kind == 'S':
        _, n, wd = day
        if (n, wd) == (1, 0):
            return ('@пн', None, ['дух', '#50'], set(), service)
        if (n, wd) == (1, 6):       # «Недѣлѧ всѣмъ стымъ»
            return ('@вс', {'#1'}, ['все', '#1'], set(), service)
        return (WD_KEYS[wd], {'#%d' % n}, None, set(), service)
    n = day[1]
    if kind == 'P':
        paschal = {'пасх'}           # «Недѣлѧ є по пасцѣ ...», «Сꙋббѡта г по пасцѣ»
        if n == 0 and slot == 'Веч':    # «въ недѣлю свѣтлꙋю вечеръ»
            return ('@вс', None, ['светл', 'пасх'], {'светл', 'пасх', 'велик'}, service)
        if n == 0:                     # «Во стꙋю и великꙋю недѣлю пасхи»
            return ('@вс', None, ['велик'], {'пасх', 'велик'}, service)
        if n == 39:
            return (None, None, ['вознес'], paschal, service)
        week, wd = n // 7 + 1, (n % 7) - 1
        if n in PASCHAL_SUNDAY_NAMES:
            return ('@вс', {'#%d' % week}, PASCHAL_SUNDAY_NAMES[n] + ['#%d' % week], paschal,
                    service)
        if week == 1:
            return (WD_KEYS[wd], None, ['светл'], {'светл'}, service)
        return (WD_KEYS[wd], {'#%d' % week}, None, paschal, service)
    # the Triodion
    if n == 70:
        return ('@вс', {'#33'}, ['мытар', '#33'], set(), service)
    if n == 63:
        return ('@вс', {'#34'}, ['блудн', '#34'], set(), service)
    if 64 <= n <= 69:
        return (WD_KEYS[69 - n], {'#34'}, None, set(), service)
    if 57 <= n <= 62:
        return (WD_KEYS[62 - n], {'#35'}, ['мясопуст', '#35'], {'мясопуст'}, service)
    if n == 56:
        return ('@вс', None, ['мясопуст'], {'мясопуст'}, service)
    if 50 <= n <= 55:
        return (WD_KEYS[55 - n], None, ['сыр'], {'сыр'}, service)
    if n == 49:
        return ('@вс', None, ['сыр'], {'сыр'}, service)
    if n == 8:
        return ('@сб', None, ['лазар', 'цвет'], {'лазар', 'пост', 'цвет'}, service)
    if n == 7:
        return ('@вс', None, ['цвет'], {'цвет'}, service)
    if 1 <= n <= 6:
        return (WD_KEYS[6 - n], None, ['велик'], {'велик'}, service)
    if n in (43, 36, 29, 22, 15, 42, 35, 28, 21, 14):
        week = (43 - n) // 7 + 1 if n % 7 == 1 else (42 - n) // 7 + 1
        return ('@сб' if n % 7 == 1 else '@вс', {'#%d' % week}, ['пост'], {'пост'}, service)
    raise ValueError('no label wanted for %r' % (day,))


def label_fits(lb, w, strict_service=False):
    wd, nums, anyof, quals, service = w
    st = set(lb.stems)
    if wd and wd not in st:
        return False
    if wd is None and st & set(WD_KEYS) and not (quals & {'велик', 'пасх'}) \
            and 'воскрес' not in (anyof or []):
        return False
    lnums = {s for s in st if s.startswith('#')}
    if nums and not (lnums & nums) and not (anyof and any(a in st for a in anyof)):
        return False
    if nums and lnums and not (lnums & nums):
        return False
    if anyof and not any(any(s.startswith(a) for s in st) for a in anyof):
        return False
    if (st & QUALS) - quals:
        return False
    if strict_service and service and service not in st:
        return False
    return True


class Builder:
    def __init__(self):
        self.books = cubooks.load()
        self.notes = []          # for the report
        self.sections = {}       # section name -> [(key, value)]
        self.comments = {}       # section name -> [comment lines]
        self.seconds = {}        # section name -> [(whose, slot, reading)]

    def apostol_book(self, word, n):
        found = self.books._zachala.get(('Ап.', n), [])
        if len(found) == 1:
            return found[0].book
        for z in found:
            if word and (z.book == word or z.book.endswith(' ' + word)):
                return z.book
        raise LookupError('Apostol zachalo %d (%s)' % (n, word))

    def resolve(self, day, slot, ref, note='', apostol=False):
        """The reading text of a table entry, or None (left out, with a note)."""
        word, n, half = ref
        if not apostol:
            book = word
        else:
            book = self.apostol_book(word, n)
        z = self.books.zachalo(book, n)
        if day[0] == 'S' and slot == 'Утр':
            return '%s %d' % (book, n)
        if slot == 'second':
            return self.second(book, n, half, note)
        w = want(day, slot, note)
        if day == ('T', 2) and slot == 'Утр':
            w = (None, {'#%d' % int(note.split(';')[0].split()[1])}, ['страст'], {'велик'}, None)
        cands = [lb for lb in self.books.labels(book=book) if lb.zachalo == n and label_fits(lb, w)]
        if not cands and slot == 'Утр' and (book, n) in MATINS:
            # a Sunday of the Pentecostarion read with a Gospel of the cycle of eleven
            w = want(('M', MATINS[(book, n)]), 'Утр')
            cands = [lb for lb in self.books.labels(book=book)
                     if lb.zachalo == n and label_fits(lb, w)]
        if len(cands) > 1:
            strict = [lb for lb in cands if label_fits(lb, w, strict_service=True)]
            if strict:
                cands = strict
        readings = {}
        for lb in cands:
            try:
                r = self.books.reading(lb)
            except LookupError as e:
                self.notes.append('%s %s: %s %d: the label «%s» has no end (%s)'
                                  % (fmt_day(day), slot, book, n, lb.text, e))
                continue
            readings.setdefault(r.text(), (lb, r))
        if len(readings) > 1:
            self.notes.append('%s %s: %s %d: labels disagree: %s — left out'
                              % (fmt_day(day), slot, book, n,
                                 '; '.join('«%s» %s' % (lb.text, t) for t, (lb, r) in readings.items())))
            return None
        if readings:
            text, (lb, r) = next(iter(readings.items()))
            if not r.certain:
                self.notes.append('%s %s: %s %d: «%s» — no rubric names the day itself, left out'
                                  % (fmt_day(day), slot, book, n, lb.text))
                return None
            return self.compact(r)
        if half:
            self.notes.append('%s %s: %s %d «ѿ полꙋ»: no label in the text names the day — left '
                              'out' % (fmt_day(day), slot, book, n))
            return None
        self.notes.append('%s %s: %s %d: no label names the day; the whole zachalo %s'
                          % (fmt_day(day), slot, book, n, z.range))
        return '%s %d' % (book, n)

    def second(self, book, n, half, whose):
        """A commemoration's reading (written as a comment): its range where the labels of the
        zachalo agree, or where one names the kind of day («мєртвымъ», «бцѣ»)."""
        prefer = {'за упокой': 'мертв', 'Богородицы': 'богород', 'преподобного': 'преподобн',
                  'преподобной': 'преподобн', 'преподобных': 'преподобн'}.get(whose)
        labels = [lb for lb in self.books.labels(book=book) if lb.zachalo == n]
        if prefer and any(prefer in lb.stems for lb in labels):
            labels = [lb for lb in labels if prefer in lb.stems]
        texts = set()
        for lb in labels:
            try:
                r = self.books.reading(lb)
            except LookupError:
                continue
            if r.certain:
                texts.add(self.compact(r))
        if len(texts) == 1 and not half:
            return texts.pop()
        return '%s %d' % (book, n) + (' (от полу)' if half else '')

    def compact(self, reading):
        """«Мф. 18» where the reading is the whole zachalo, else with its range."""
        if len(reading.pieces) == 1:
            p = reading.pieces[0]
            z = self.books.zachalo(p.book, p.zachalo)
            if p.spans == [(z.start, z.end)]:
                return '%s %d' % (p.book, p.zachalo)
        return reading.text()

    def add(self, section, key, value, rank=0):
        """rank orders the readings of one service: 0 prophecy, 1 Apostol, 2 Gospel."""
        if value is None:
            return
        self.sections.setdefault(section, []).append((key, value, rank))

    def comment(self, section, text):
        self.comments.setdefault(section, []).append(text)


def fmt_day(day):
    if day[0] == 'P':
        return '[+%d]' % day[1]
    if day[0] == 'T':
        return '[-%d]' % day[1]
    if day[0] == 'S':
        return '[week %d %s]' % (day[1], WD_NAMES[day[2]])
    return '[Утр %d]' % day[1]


def series_section(day, slot):
    """('Ап 5', 'Ср') for a day of the weeks after Pentecost."""
    _, n, wd = day
    if slot == 'Ап':
        return 'Ап %d' % n, WD_NAMES[wd]
    return ('Ев %d' if n <= 17 else 'Лк %d') % n, WD_NAMES[wd]


# Numbers the Gospel's table of the year misprints: (day, slot, table's ref) -> (ref, why)
TABLE_FIXES = {
    (('S', 5, 4), 'Ев', ('Мф.', 8, False)):
        (('Мф.', 50, False), 'the text names zachalo 50 «Пѧтокъ є недѣли»; zachalo 8 is read on '
                             'the Sunday after Theophany'),
    (('S', 20, 6), 'Ев', ('Лк.', 1, False)):
        (('Лк.', 30, False), 'the text names zachalo 30 «Недѣлѧ к»; zachalo 1 is the preface '
                             'read on the Nativity of the Forerunner'),
}

SECOND_LABELS = {'святого': 'Свт.', 'за упокой': 'За упокой', 'преподобного': 'Прп.',
                 'Богородицы': 'Богородицы', 'преподобной': 'Прп.', 'отцов': 'Прпп.',
                 'преподобных': 'Прпп.'}


def build():
    b = Builder()
    gospel = tables.gospel_table()
    apostol = tables.apostol_table()

    def place(day, slot, ref, note='', apostol=False):
        text = b.resolve(day, slot, ref, note, apostol)
        if text is None:
            return
        rank = 1 if apostol else 2
        if day[0] == 'S':
            if slot == 'Утр':
                return              # the Sunday Matins Gospel of the cycle of eleven
            sec, key = series_section(day, slot)
            b.add(sec, key, text, rank)
        elif day[0] == 'M':
            b.add('Утр', str(day[1]), text, rank)
        elif day[0] == 'P' and day[1] > 49:
            return
        else:
            sec = '+%d' % day[1] if day[0] == 'P' else '-%d' % day[1]
            if slot == 'second':
                b.seconds.setdefault(sec, []).append((note, 'Ап.' if apostol else 'Ев.', text))
            else:
                b.add(sec, slot, text, rank)

    for day, slot, ref, note in gospel:
        fix = TABLE_FIXES.get((day, slot, ref))
        if fix:
            b.notes.append('%s %s: the table prints %s %d; read as %s %d: %s'
                           % (fmt_day(day), slot, ref[0], ref[1], fix[0][0], fix[0][1], fix[1]))
            ref = fix[0]
        place(day, slot, ref, note)
    for day, slot, ref, note in apostol:
        place(day, slot, ref, note, apostol=True)
    ot_days(b)
    return b


def ot_days(b):
    """The Old Testament readings of the Triodion, put to their days and Hours."""
    ot = tables.triodion_ot()
    by_file = {}
    for f, book, spans, bracket, first, last in ot:
        by_file.setdefault(f, []).append('%s %s' % (book, cubooks.fmt_range(spans)))
    # Cheesefare Wednesday and Friday
    sf = by_file.pop('05sedmsyrn.xml')
    b.add('-53', '6ч', sf[0])          # Wednesday
    b.add('-53', 'Веч', sf[1])
    b.add('-51', '6ч', sf[2])          # Friday
    b.add('-51', 'Веч', by_file.pop('06subsyrn.xml')[0])
    # the weeks of Lent: each weekday Isaiah at the 6th Hour, Genesis and Proverbs at Vespers
    weeks = {1: ['08pnd1.xml', '09vt1.xml', '10srd1.xml', '11cht1.xml', '12pt1.xml'],
             2: ['15sdm2.xml'], 3: ['18sedm3.xml'], 4: ['21sedm4.xml'], 5: ['24sed5.xml'],
             6: ['28sedmv.xml']}
    for week, files in weeks.items():
        seq = []
        for f in files:
            seq += by_file.pop(f)
        if len(seq) != 15:
            raise ValueError('week %d of Lent: %d readings' % (week, len(seq)))
        if week == 5:
            week5 = seq
        for d in range(5):
            day = 48 - 7 * (week - 1) - d
            isa, gen, prov = seq[3 * d:3 * d + 3]
            assert isa.startswith('Ис.') and gen.startswith('Быт.') and prov.startswith('Притч.')
            b.add('-%d' % day, '6ч', isa)
            b.add('-%d' % day, 'Веч', gen)
            b.add('-%d' % day, 'Веч', prov)
    canon = by_file.pop('25mar.xml')          # the Great Canon's week: Wednesday and Thursday
    if canon != week5[6:12]:
        raise ValueError('the Great Canon chapter reads otherwise than the fifth week')
    for t in by_file.pop('30palm.xml'):       # Lazarus Saturday evening: Palm Sunday's Vespers
        b.add('-8', 'Веч', t)
    for f, day in (('31grmon.xml', 6), ('32grtue.xml', 5), ('33grwed.xml', 4)):
        ez, ex, job = by_file.pop(f)
        b.add('-%d' % day, '6ч', ez)
        b.add('-%d' % day, 'Веч', ex)
        b.add('-%d' % day, 'Веч', job)
    jer, ex, job, isa = by_file.pop('34grthu.xml')
    b.add('-3', '1ч', jer)
    for t in (ex, job, isa):
        b.add('-3', 'Веч', t)
    zech, isa50, isa52, ex, job, isa52v = by_file.pop('35grfr.xml')
    for hour, t in (('1ч', zech), ('3ч', isa50), ('6ч', isa52), ('9ч', jer)):
        b.add('-2', hour, t)
    for t in (ex, job, isa52v):
        b.add('-2', 'Веч', t)
    sat = by_file.pop('36grsat.xml')
    matins_ap = b.books.reading(b.books.labels('великꙋю сꙋббѡтꙋ на ᲂутрени', '1 Кор.')[0])
    b.comment('-1', 'На утрени по великом славословии: прор. %s; Ап. %s; Ев. — Утр'
              % (sat[0], matins_ap.text()))
    for t in sat[1:]:
        b.add('-1', 'Веч', t)
    if by_file:
        raise ValueError('Old Testament readings not placed: %r' % by_file)


HEADER = """\
; Велмар32 «Днесловник» — чтения Священного Писания подвижного круга
;   (Пасха и Пятидесятница, седмицы по Пятидесятнице, Триодь: Неделя о мытаре и фарисее,
;   Великий пост, Страстная седмица).
; Кодировка Windows-1251, концы строк CR LF. Файл пишет scripts/readings/make_readings.py;
; правка руками возможна, но генератор ее затрет.
; Источники: Евангелие, М.: Издание Московской Патриархии, 1984 («Сказание, еже како на
; всякий день должно есть чести Евангелие седмиц всего лета», пометы в тексте: сноски
; с днями чтений, «Преступи», «Чти», «Преиди», «Конец»); Апостол, М.: Издание Московской
; Патриархии, 1989 («Сказание ... еже како на всякий день должно есть чести апостол»,
; пометы в тексте); Триодь Постная, 1992 (паремии часов и вечерни с главами и стихами);
; цифровая копия slavonic/cu-books. Таблицы написаны по этим книгам; где книга печатает
; число с ошибкой, исправление сверено с текстом самой книги (см. scripts/readings).
;
; Правила строк: пустая строка или строка с пробела — пропускается; «;» — комментарий;
; «[» — заголовок раздела (после «]» — подпись для людей, программа ее не читает);
; иное — запись «ключ=чтение».
;
; Разделы:
;   [+N]   N = 0..49 — дни от Пасхи (0) до Пятидесятницы (49);
;   [-N]   N = 1..70 — дни до Пасхи, от Недели о мытаре и фарисее (70) до Великой
;          субботы (1);
;   [Ап N] N = 1..33 — Апостол N-й седмицы по Пятидесятнице (1-я седмица — от понедельника
;          Святого Духа до Недели всех святых; N-я кончается N-й Неделей по Пятидесятнице);
;   [Ев N] N = 1..17 — Евангелие тех же седмиц (от Матфея; по будням 12..17-й — от Марка);
;   [Лк N] N = 18..33 — Лукино Евангелие (18-я — первая седмица Луки);
;          в седмицах ключи Пн Вт Ср Чт Пт Сб Вс (Вс — N-я Неделя); в [Ап 33] и [Лк 33]
;          только Пн..Сб (их Неделя — о мытаре и фарисее, [-70]);
;   [Утр]  ключи 1..11 — одиннадцать воскресных утренних Евангелий.
; Ключи дней: Утр — Евангелие утрени (у Великого пятка — двенадцать Евангелий святых
;   Страстей по порядку); Ап, Ев — Апостол и Евангелие литургии; 1ч 3ч 6ч 9ч — чтения
;   часа по порядку (пророчество, Апостол, Евангелие); Веч — чтения вечерни, служимой
;   вечером этого дня, по порядку (паремии; у Великого пятка еще Апостол и Евангелие);
;   Веч, записанные после Ап и Ев, печатаются после чтений литургии (вечерня Пасхи),
;   записанные прежде — перед ними (вечерня, с которой начинается литургия).
; Неделя без Утр берет утреннее Евангелие круга одиннадцати.
;
; Чтение: куски через «; », кусок — «КНИГА [ЗАЧАЛО] [ДИАПАЗОН]»:
;   КНИГА — сокращение, как в церковных календарях, с точкой (Мф. Рим. 1 Кор. Ис. Быт.);
;   ЗАЧАЛО — номер зачала (у Ветхого Завета нет), см. Zachala.db;
;   ДИАПАЗОН — «глава:стих», «глава:стих-стих» или «глава:стих-глава:стих» через «, »,
;   каждый кусок со своей главой; без диапазона читается все зачало, как в Zachala.db.
; Например: «Лк. 54 10:38-42, 11:27-28», «Мф. 107 26:1-20; Ин. 44 13:3-17».
;
;
; Вторые чтения памятей Триоди (святого, преподобного, Богородицы, за упокой) стоят в
; ReadingsSpecial.db (разделы [-N], [+N]); здесь они — комментарии при своих днях. Чтения
; утрени Великой субботы, кроме Евангелия, — тоже только комментарий: у формата нет для
; них ключа.
"""

SECOND_WHOSE = {'святого': 'святому', 'за упокой': 'за упокой', 'преподобного': 'преподобному',
                'Богородицы': 'Богородице', 'преподобной': 'преподобной', 'отцов': 'преподобным',
                'преподобных': 'преподобным', 'умовение ног': 'на умовении ног'}

DAY_LABELS = {0: 'Пасха', 7: 'Антипасха, Неделя 2-я по Пасхе', 14: 'Неделя 3-я, жен-мироносиц',
              21: 'Неделя 4-я, о расслабленном', 24: 'Преполовение', 28: 'Неделя 5-я, о самаряныне',
              35: 'Неделя 6-я, о слепом', 39: 'Вознесение', 42: 'Неделя 7-я, святых отцов',
              48: 'Троицкая родительская суббота', 49: 'Пятидесятница'}
TRIOD_LABELS = {70: 'Неделя о мытаре и фарисее', 63: 'Неделя о блудном сыне',
                57: 'Суббота мясопустная', 56: 'Неделя мясопустная', 50: 'Суббота сырная',
                49: 'Неделя сыропустная', 48: 'Понедельник 1-й седмицы поста',
                43: 'Суббота 1-я поста', 42: 'Неделя 1-я поста', 36: 'Суббота 2-я поста',
                35: 'Неделя 2-я поста', 29: 'Суббота 3-я поста', 28: 'Неделя 3-я поста',
                22: 'Суббота 4-я поста', 21: 'Неделя 4-я поста', 15: 'Суббота 5-я поста',
                14: 'Неделя 5-я поста', 8: 'Лазарева суббота', 7: 'Вход Господень в Иерусалим',
                6: 'Великий понедельник', 5: 'Великий вторник', 4: 'Великая среда',
                3: 'Великий четверг', 2: 'Великий пяток', 1: 'Великая суббота'}
WEEKDAY_RU = ['Понедельник', 'Вторник', 'Среда', 'Четверг', 'Пятница', 'Суббота', 'Неделя']


def section_label(sec):
    if sec[0] == '+':
        n = int(sec[1:])
        if n in DAY_LABELS:
            return DAY_LABELS[n]
        week, wd = n // 7 + 1, n % 7 - 1
        return '%s %s седмицы по Пасхе' % (WEEKDAY_RU[wd], 'Светлой' if week == 1 else '%d-й' % week)
    if sec[0] == '-':
        n = int(sec[1:])
        if n in TRIOD_LABELS:
            return TRIOD_LABELS[n]
        name = WEEKDAY_RU[(6 - n) % 7]     # 69 is a Monday
        if n > 56:
            return '%s седмицы %s' % (name, 'о мытаре' if n > 63 else 'мясопустной')
        if n > 49:
            return '%s сырной седмицы' % name
        week = (48 - n) // 7 + 1
        return '%s %d-й седмицы поста' % (name, week)
    if sec == 'Утр':
        return 'Утренние воскресные Евангелия'
    kind, n = sec.split()
    return {'Ап': 'Апостол %s-й седмицы по Пятидесятнице',
            'Ев': 'Евангелие %s-й седмицы по Пятидесятнице',
            'Лк': 'Евангелие %s-й седмицы по Пятидесятнице (Лукино)'}[kind] % n


def section_order(sec):
    if sec[0] == '+':
        return (0, int(sec[1:]))
    if sec[0] == '-':
        return (1, -int(sec[1:]))
    kind, n = (sec.split() + ['0'])[:2]
    return ({'Ап': 2, 'Ев': 3, 'Лк': 4, 'Утр': 5}[kind], int(n))


def entry_order(sec, entries):
    if sec[0] not in '+-':
        order = WD_NAMES if sec != 'Утр' else [str(i) for i in range(1, 12)]
        return sorted(entries, key=lambda e: order.index(e[0]))
    vespers_liturgy = sec in ('-3', '-1')           # the Liturgy joined to Vespers
    slots = ['Утр', '1ч', '3ч', '6ч', '9ч'] + (['Веч', 'Ап', 'Ев'] if vespers_liturgy
                                              else ['Ап', 'Ев', 'Веч'])
    # stable: the Passion Gospels and the paremias keep the books' order
    return sorted(entries, key=lambda e: (slots.index(e[0]), e[2] if e[0] != 'Утр' else 0))


def lines_of(b):
    out = HEADER.rstrip('\n').split('\n')
    groups = [('+', '; ---- Пасха и Пятидесятница (Цветная Триодь) ----'),
              ('-', '; ---- Триодь: от Недели о мытаре до Великой субботы ----'),
              ('Ап', '; ---- Апостол седмиц по Пятидесятнице ----'),
              ('Ев', '; ---- Евангелие седмиц по Пятидесятнице (Матфей, Марк) ----'),
              ('Лк', '; ---- Лукино Евангелие ----'),
              ('Утр', '; ---- Утренние воскресные Евангелия ----')]
    done = set()
    for sec in sorted(b.sections, key=section_order):
        g = next(x for x in groups if sec.startswith(x[0]))
        if g[0] not in done:
            out += ['', g[1]]
            done.add(g[0])
        label = section_label(sec)
        out.append('[%s]%s' % (sec, ' ' + label if label else ''))
        for c in b.comments.get(sec, []):
            out.append('; ' + c)
        for key, value, rank in entry_order(sec, b.sections[sec]):
            out.append('%s=%s' % (key, value))
        seconds = b.seconds.get(sec, [])
        seconds = [(SECOND_WHOSE.get(w, w), slot, t) for w, slot, t in seconds
                   if not w.startswith('на утрени')]
        whoses = {w for w, _, _ in seconds} - {'за упокой', 'на умовении ног'}
        if len(whoses) == 2 and len(seconds) == 2:
            # one commemoration: the Apostol's table says «стагѡ», the Gospel's «преподобномꙋ»
            gw = next(w for w, slot, _ in seconds if slot == 'Ев.')
            seconds = [(gw, slot, t) for _, slot, t in seconds]
        for whose in dict.fromkeys(w for w, _, _ in seconds):
            parts = ['%s %s' % (slot, t) for w, slot, t in
                     sorted((x for x in seconds if x[0] == whose), key=lambda x: x[1] != 'Ап.')]
            out.append('; и %s: %s' % (whose, '; '.join(parts)))
    return out


def main(argv):
    b = build()
    lines = lines_of(b)
    dbfile.write(OUT, lines)
    n_sec = len(b.sections)
    n_ent = sum(len(v) for v in b.sections.values())
    print('Readings.db: %d sections, %d entries' % (n_sec, n_ent))
    if '--report' in argv:
        for n in b.notes:
            print(n)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
