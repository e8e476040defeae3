#!/usr/bin/env python3
"""cubooks — the liturgical Gospel (1984) and Apostol (1989) of the Moscow Patriarchate,
read from the public digitised copy slavonic/cu-books (Church Slavonic, XML).

Standard library only.  The books are found in the folder given by the environment
variable CU_BOOKS (a checkout of slavonic/cu-books; default /work/notes/cu).

API (small and stable):

    books = cubooks.load()                 # cached; parses the 4 Gospels and Acts..Hebrews
    books.zachalo(book, n)  -> Zachalo     # book: 'Мф.' 'Мк.' 'Лк.' 'Ин.' or 'Ап.' (or any
                                           #   Apostol book abbreviation, e.g. 'Рим.')
        .book  .number  .start (ch, v)  .end (ch, v)  .range -> 'C:V-C:V'  .labels [Label]
    books.zachala(book) -> [Zachalo]       # 'Мф.' .. 'Ин.' or 'Ап.' (1..335 through the books)
    books.zachalo_at(book, (ch, v)) -> n   # the zachalo whose part of the text holds the verse
    books.labels(text, book=None) -> [Label]
        # the footnote labels of the text that name a day («Недѣлѧ в-ѧ по всѣхъ стыхъ»,
        # «Сꙋббѡта г недѣли», «Сїе же и преподобнымъ» ...), whose normalised text contains
        # `text` (accents and titlos stripped: see norm(); case-insensitive)
        Label: .text  .book  .verse (ch, v)  .zachalo (number of the zachalo it is in)
               .incipit  (the changed opening words the footnote gives)
    books.reading(label) -> Reading        # follows «Престꙋпи», «Чти», «Преиди ... зачало N»,
                                           #   «Стани здѣ ...» and ends at the matching «Конецъ»
        Reading: .pieces [Piece]   .text()  -> 'Мф. 38 10:32-33, 10:37-38, 19:27-30'
                 .certain  False where no rubric names the day itself and its end was taken
                           from a rubric naming its kind («Конецъ стомꙋ») or the saint: check it
        Piece:   .book  .zachalo  .spans [((c1, v1), (c2, v2))]   .range() -> '10:32-33, 10:37-38'
                 (a jump inside one book stays in its piece; another book begins a new one)
    books.day(text, book=None) -> Reading  # reading(the one label matching text); raises
                                           #   LookupError when none or several match
    books.verse_exists(book, ch, v) -> bool    books.chapter_len(book, ch) -> int
    books.verse_text(book, ch, v) -> str (normalised)
    fmt_range(spans) -> 'C:V-V, C:V-C:V'  parse_range('10:38-42, 11:27-28') -> spans
    norm(s)  : strips accents, titlos and breathing marks (for searching)
    slav_num(s) -> int : a Slavonic numeral (а҃=1, а҃і=11, рк҃д=124)

Book abbreviations are the Russian ones of church calendars: Мф. Мк. Лк. Ин. Деян. Иак.
1 Пет. 2 Пет. 1 Ин. 2 Ин. 3 Ин. Иуд. Рим. 1 Кор. 2 Кор. Гал. Еф. Флп. Кол. 1 Сол. 2 Сол.
1 Тим. 2 Тим. Тит. Флм. Евр.

The range of a zachalo (Zachalo.range) runs from its first verse to the end of the reading
the book marks for the first day named at its start (that reading's «Конецъ»); where that
reading leaves the zachalo (a jump to another zachalo) or no day is named, it ends with the
verse before the next zachalo.

Run `python3 cubooks.py labels TEXT`, `python3 cubooks.py zachalo BOOK N` or
`python3 cubooks.py problems` (what the reader had to mend in the digitised text).
"""
import os
import re
import sys
import unicodedata

CU_BOOKS = os.environ.get('CU_BOOKS', '/work/notes/cu')

GOSPELS = [('Мф.', '1mf'), ('Мк.', '2mk'), ('Лк.', '3lk'), ('Ин.', '4in')]
APOSTOL = [('Деян.', '05deyan'), ('Иак.', '06iak'), ('1 Пет.', '07pet1'), ('2 Пет.', '08pet2'),
           ('1 Ин.', '09in1'), ('2 Ин.', '10in2'), ('3 Ин.', '11in3'), ('Иуд.', '12iud'),
           ('Рим.', '13rim'), ('1 Кор.', '14kor1'), ('2 Кор.', '15kor2'), ('Гал.', '16gal'),
           ('Еф.', '17ef'), ('Флп.', '18flp'), ('Кол.', '19kol'), ('1 Сол.', '20sol1'),
           ('2 Сол.', '21sol2'), ('1 Тим.', '22tim1'), ('2 Тим.', '23tim2'), ('Тит.', '24tit'),
           ('Флм.', '25flm'), ('Евр.', '26evr')]
GOSPEL_BOOKS = [b for b, _ in GOSPELS]
APOSTOL_BOOKS = [b for b, _ in APOSTOL]

# how the rubrics name the books they send the reader to
BOOK_WORDS = {'матѳе': 'Мф.', 'марк': 'Мк.', 'лꙋк': 'Лк.', 'лꙋц': 'Лк.', 'іѡанн': 'Ин.'}

TITLO = '\u0483'
_COMBINING_EXTRA = '\u0483\u0484\u0485\u0486\u0487\ua67c\ua67d\u2e2f'


def norm(s):
    """Strips accents, titlos, breathings and superscript letters; keeps the base letters."""
    s = unicodedata.normalize('NFD', s)
    return unicodedata.normalize('NFC', ''.join(
        c for c in s if not unicodedata.combining(c) and c not in _COMBINING_EXTRA))


NUM = {'а': 1, 'в': 2, 'г': 3, 'д': 4, 'є': 5, 'е': 5, 'ѕ': 6, 'ꙅ': 6, 'з': 7, 'и': 8, 'ѳ': 9,
       'і': 10, 'ї': 10, 'к': 20, 'л': 30, 'м': 40, 'н': 50, 'ѯ': 60, 'ѻ': 70, 'о': 70, 'п': 80,
       'ч': 90, 'ꙁ': 90, 'р': 100, 'с': 200, 'т': 300, 'ѵ': 400, 'ф': 500, 'х': 600, 'ѱ': 700,
       'ѿ': 800, 'ц': 900}


NUMCH = ''.join(NUM)


def slav_num(s):
    """Value of a Slavonic numeral (titlo and accents are ignored); None if not a numeral."""
    t = norm(s).strip().lower().replace('҂', '')
    if not t or any(c not in NUM for c in t):
        return None
    return sum(NUM[c] for c in t)


def _is_numeral_token(raw):
    """A verse number: numeral letters carrying a titlo, nothing else."""
    if TITLO not in raw:
        return None
    core = raw.replace(TITLO, '')
    core = unicodedata.normalize('NFD', core)
    if any(unicodedata.combining(c) for c in core):
        return None
    return slav_num(core)


# The digitised text lacks the number of the last verse of these chapters (book, chapter,
# verse): the verse begins with these words.
LAST_VERSE_SPLITS = {('Мф.', 12, 50): 'иже бо аще сотворитъ', ('Деян.', 10, 48): 'Повелѣ',
                     ('1 Кор.', 5, 13): 'Внѣшнимъ', ('2 Кор.', 11, 33): 'и ѻконцемъ',
                     ('1 Сол.', 2, 20): 'В ы'}

INCIPIT_STOP = {'іисъ', 'іисꙋ', 'іисови', 'іиса', 'гдь', 'ѻно', 'времѧ', 'рече', 'во', 'въ', 'и', 'же',
                'ко', 'къ', 'братіе', 'дни', 'ѻны'}

# Days whose rubrics name them otherwise than their label: (book, label) -> extra stems
LABEL_ALIASES = {
    ('Деян.', 'Въ недѣлю и-ю'): ['пятидесятн'],                 # Pentecost: «Конецъ пѧтьдесѧтницы»
    ('Еф.', 'въ понедѣльникъ стагѡ дха'): ['#50'],               # «Конецъ ... понедѣльникꙋ н-мꙋ»
    ('Тит.', 'Аѵгꙋста кє'): ['тит', 'апостол'],                            # the apostle Titus: «Чти тітꙋ»
}

# Labels misprinted in the digitised text: (book, label) -> label.  Tuesday of week 30 reads
# Heb 321 by the Apostol's table (Tuesday of week 1 reads Rom 79).
LABEL_TEXT_FIXES = {('Евр.', 'Во вторникъ а-ѧ недѣли'): 'Во вторникъ л-ѧ недѣли'}

# Zachalo numbers misprinted in the digitised text: (book, first verse) -> number (the book's
# own table of the year gives it for that day).
ZACHALO_FIXES = {('1 Тим.', (1, 8)): 279}

# ---------------------------------------------------------------------------------------
# stems used to match the names of days between labels and rubrics

def _canon_letters(w):
    w = w.lower()
    for a, b in (('ѡ', 'о'), ('ѻ', 'о'), ('ꙋ', 'у'), ('ᲂу', 'у'), ('є', 'е'), ('ѣ', 'е'),
                 ('і', 'и'), ('ї', 'и'), ('ѵ', 'и'), ('ѳ', 'ф'), ('ѯ', 'кс'), ('ѱ', 'пс'),
                 ('ѕ', 'з'), ('ѧ', 'я'), ('ꙗ', 'я'), ('ѿ', 'от'), ('ᲂ', 'у'), ('ꙑ', 'ы')):
        w = w.replace(a, b)
    w = w.replace('уу', 'у')
    return w


WEEKDAYS = [('@пн', ('понедел', 'пнльник', 'пндел', 'пнлник')), ('@вт', ('вторник',)),
            ('@ср', ('сред',)), ('@чт', ('четверток', 'четвертк')), ('@пт', ('пяток', 'пятк')),
            ('@сб', ('субб', 'суббот')), ('@вс', ('недел', 'нли', 'нлю', 'нля'))]
WEEKDAY_KEYS = {k for k, _ in WEEKDAYS}
ORDINAL_WORDS = [('перв', 1), ('втор', 2), ('трет', 3), ('четверт', 4), ('пят', 5), ('шест', 6),
                 ('седм', 7), ('осм', 8), ('девят', 9), ('десят', 10)]
# whole stems for words the books spell or abbreviate in several ways
STEM_PREFIXES = [('великомуч', 'мученик'), ('великомч', 'мученик'), ('мчнц', 'мучениц'),
                 ('архагг', 'ангел'), ('крестит', 'предтеч'), ('кртит', 'предтеч'),
                 ('дх', 'дух'), ('дух', 'дух'),('пятьдес', 'пятидесятн'), ('пятидес', 'пятидесятн'), ('н-ц', 'пятидесятн'),
                 ('стрт', 'страст'), ('страст', 'страст'), ('воскр', 'воскрес'),
                 ('пареми', 'паремия'), ('час', 'час'), ('утрен', 'утрен'), ('литург', 'литург'),
                 ('вечер', 'вечер'), ('праздн', 'праздн'), ('преподобном', 'преподобномуч'),
                 ('преподобн', 'преподобн'), ('прпдбн', 'преподобн'), ('прпбн', 'преподобн'),
                 ('просвещ', 'просвещ'), ('ржтв', 'рождеств'), ('рожд', 'рождеств'),
                 ('богород', 'богород'), ('бц', 'богород'), ('крщ', 'крещ'), ('крещ', 'крещ'), ('крт', 'крест'),
                 ('крест', 'крест'), ('бгоявл', 'богоявл'), ('богоявл', 'богоявл'),
                 ('бгослов', 'богослов'), ('богослов', 'богослов'), ('пасц', 'пасх'),
                 ('пасх', 'пасх'), ('сыр', 'сыр'), ('мясопуст', 'мясопуст'), ('светл', 'светл'),
                 ('цвет', 'цвет'), ('велик', 'велик'), ('вознес', 'вознес'), ('сщен', 'освящ'),
                 ('осщен', 'освящ'), ('освящ', 'освящ'), ('стител', 'святител'),
                 ('святител', 'святител'), ('аплом', 'апостол'), ('апл', 'апостол'),
                 ('апостол', 'апостол'), ('мученик', 'мученик'), ('мчн', 'мученик'),
                 ('предтеч', 'предтеч'), ('оц', 'отц'), ('отц', 'отц'), ('отеч', 'отц'),
                 ('архагг', 'архангел'), ('аггл', 'ангел'), ('безплот', 'ангел'),
                 ('усекнов', 'усекнов'), ('ексеп', 'ексеп'), ('умерш', 'мертв'), ('мертв', 'мертв'),
                 ('упокои', 'мертв'), ('всем', 'все'), ('всех', 'все'), ('всяк', 'всяк')]
GENERIC = {'стому': '*свят', 'стым': '*свят', 'сте': '*свят', 'стем': '*свят', 'стых': '*свят',
           'святому': '*свят', 'стыя': '*свят', 'стои': '*свят'}
STOP = {'на', 'въ', 'во', 'в', 'по', 'пред', 'и', 'же', 'от', 'ко', 'къ', 'к', 'сие', 'а', 'паки',
        'здесь', 'евлие', 'еилие', 'евангелие', 'еилие', 'чти', 'день', 'мца', 'месяца', 'съ',
        'со', 'ст', 'сты', 'стыи', 'стая', 'стое', 'стую', 'стаго', 'святыи', 'честнаго',
        'чтнаго', 'стыхъ', 'иже', 'ино', 'тоже', 'ее', 'его', 'прочее', 'напредъ', 'напреди'}
WEAK = {'литург', 'утрен', 'вечер', 'час', 'праздн', '*свят', 'паремия', 'чтен'}
KIND_WORDS = {'*свят', 'апостол', 'мученик', 'мучениц', 'святител', 'преподобн', 'предтеч',
              'пророк', 'праздн', 'ангел', 'отц', 'богород', 'преподобномуч', 'бессребр'}
PREPOSITIONS = {'на', 'въ', 'во', 'по', 'ко', 'къ', 'же', 'от', 'со', 'съ'}


def _stem(word):
    raw = norm(word).lower().strip('.,:;[]()!?*꙳꙾ ')
    w = _canon_letters(raw)
    if not w:
        return None
    m = re.match(r'^([%s]{1,3})-\s?(м|мъ|му|мꙋ|ю|я|ѧ|ы|е|и|го|й|мъ|ѧ)$' % NUMCH, raw)
    if m and slav_num(m.group(1)) is not None:
        return '#%d' % slav_num(m.group(1))
    if len(raw) <= 3 and _valid_numeral(raw) and raw not in ('и', 'а', 'в', 'ѿ', 'ко'):
        return '#%d' % slav_num(raw)
    if w.rstrip('ъь') in GENERIC:
        return GENERIC[w.rstrip('ъь')]
    for key, prefixes in WEEKDAYS:
        if any(w.startswith(p) for p in prefixes):
            return key
    for p, n in ORDINAL_WORDS:
        if w.startswith(p) and len(w) - len(p) <= 3 and not w.startswith('пятидес'):
            return '#%d' % n
    for p, stem in STEM_PREFIXES:
        if w.startswith(p):
            return stem
    while len(w) > 3 and w[-1] in 'ъьйаеиоуыюяэ':
        w = w[:-1]
    if len(w) > 3 and w[-1] in 'мхвг' and w[-2] in 'аеиоуыюяэ':
        w = w[:-2]
        while len(w) > 3 and w[-1] in 'ъьйаеиоуыюяэ':
            w = w[:-1]
    return w[:7]


def _valid_numeral(t):
    """Letters of a numeral: hundreds, tens, units in falling order (teens: units before і)."""
    if not t or any(c not in NUM for c in t):
        return False
    vals = [NUM[c] for c in t]
    if len(vals) >= 2 and vals[-1] == 10 and vals[-2] < 10:
        vals = vals[:-2] + [vals[-2] + 10]
    return all(a > b for a, b in zip(vals, vals[1:]))


COUNT_NOUNS = WEEKDAY_KEYS | {'воскрес', 'страст', 'час', 'паремия', 'чтен', '@евл'}


def _stems(text):
    text = re.sub(r'-\s+', '-', text)              # «ла- ѧ недѣли»
    words = re.findall(r'[^\s,.:;]+', text)
    out = []
    prev = None
    stems_of = [_stem(w) for w in words]
    for k, w in enumerate(words):
        raw = norm(w).lower().strip('.,:;')
        c = _canon_letters(raw)
        nxt = _canon_letters(norm(words[k + 1]).lower()) if k + 1 < len(words) else ''
        near = {prev, stems_of[k + 1] if k + 1 < len(words) else None}
        num = raw.split('-')[0].strip()
        if c.startswith('евл') or c.startswith('еил') or c.startswith('еванг'):
            prev = '@евл'                       # «Єѵлїе г стыхъ стртеи»: the Gospel, counted
            continue
        if near & COUNT_NOUNS and raw not in PREPOSITIONS \
                and re.fullmatch(r'[%s]{1,3}(-\s?[а-яѧ]{1,2})?' % NUMCH, raw) \
                and _valid_numeral(num) \
                and (raw != 'и' or nxt.startswith('недел') or nxt.startswith('нли') or not nxt
                     or prev in ('воскрес', 'страст', '@евл')):
            s = '#%d' % slav_num(num)     # «вторникъ а недѣли», «Єѵлїе воскресное а»
        elif c in STOP or raw in STOP:
            continue
        else:
            s = stems_of[k]
        if s and s not in out:
            out.append(s)
        if s:
            prev = s
    # «вторникъ а недѣли»: the week, not a Sunday
    if out and out[0] in WEEKDAY_KEYS - {'@вс'}:
        out = [s for s in out if s != '@вс']
    return out


def _nums(stems):
    return {s for s in stems if s.startswith('#')}


def _key_matches(label_stems, item_stems):
    """A rubric's item (e.g. «сꙋббѡтѣ з») names a label (e.g. «Сꙋббѡта з, и сꙋббѡта ...»)."""
    if not item_stems:
        return False
    ls, its = set(label_stems), set(item_stems)
    lw, iw = ls & WEEKDAY_KEYS, its & WEEKDAY_KEYS
    if iw:
        # a weekday: the label's, with nothing the label lacks (its week, «великомꙋ» ...)
        if not its <= ls:
            return False
        if 'велик' in ls and 'велик' not in its:
            return False
        return True
    if not _nums(its) <= _nums(ls):
        return False
    strong = its - WEAK - _nums(its)
    weak = its & WEAK
    if strong and not strong <= ls:
        return False
    if weak and (ls & WEAK) and not (weak & ls):
        return False            # «на літꙋргіи» is not «на ᲂутрени»
    return bool(strong) or bool(weak & ls)


def _split_items(text):
    """«пѧткꙋ и сꙋббѡтѣ з, и пред воздвиженіемъ» -> [stems of each day named];
    «понедѣльника великагѡ, на літꙋргіи» is one day."""
    text = re.sub(r'\s+', ' ', text).strip(' .:')
    parts = re.split(r',\s*и\s+|,\s*|\s+и\s+', text)
    merged = []
    for p in parts:
        if merged and re.match(r'(на|въ|во)\s+(літꙋргі|ᲂу?тре|вечер|а-|г-|ѕ-|ѳ-)|вечеръ', p):
            merged[-1] += ' ' + p
        else:
            merged.append(p)
    return [s for s in (_stems(p) for p in merged) if s]


# ---------------------------------------------------------------------------------------

class Label:
    def __init__(self, text, book, verse, zachalo, incipit, index):
        self.text, self.book, self.verse, self.zachalo = text, book, verse, zachalo
        self.incipit, self.index = incipit, index
        self.stems = _stems(text)
        self.main = True
        self.clause = [self]
        self.group = [self]

    def __repr__(self):
        return 'Label(%r, %s %d:%d, zach %s)' % (self.text, self.book, self.verse[0],
                                                 self.verse[1], self.zachalo)


class Zachalo:
    def __init__(self, book, number, start, index):
        self.book, self.number, self.start, self.index = book, number, start, index
        self.end = None
        self.labels = []
        self.first_label_item = None

    @property
    def range(self):
        return fmt_range([(self.start, self.end)])

    def __repr__(self):
        return 'Zachalo(%s %d %s)' % (self.book, self.number, self.range)


class Piece:
    def __init__(self, book, zachalo, spans):
        self.book, self.zachalo, self.spans = book, zachalo, spans
        self.jumps = []      # indexes of the spans a rubric sent the reader to

    def range(self):
        return fmt_range(self.spans)

    def text(self):
        z = ' %d' % self.zachalo if self.zachalo else ''
        return '%s%s %s' % (self.book, z, self.range())


class Reading:
    def __init__(self, label, pieces):
        self.label, self.pieces = label, pieces
        self.certain = True

    def text(self):
        return '; '.join(p.text() for p in self.pieces)

    def __repr__(self):
        return 'Reading(%s)' % self.text()


def fmt_range(spans):
    out = []
    for (c1, v1), (c2, v2) in spans:
        if (c1, v1) == (c2, v2):
            out.append('%d:%d' % (c1, v1))
        elif c1 == c2:
            out.append('%d:%d-%d' % (c1, v1, v2))
        else:
            out.append('%d:%d-%d:%d' % (c1, v1, c2, v2))
    return ', '.join(out)


def parse_range(text):
    spans = []
    for part in text.split(', '):
        m = re.fullmatch(r'(\d+):(\d+)(?:-(?:(\d+):)?(\d+))?', part.strip())
        if not m:
            raise ValueError('bad range %r' % text)
        c1, v1 = int(m.group(1)), int(m.group(2))
        if m.group(4):
            c2 = int(m.group(3)) if m.group(3) else c1
            v2 = int(m.group(4))
        else:
            c2, v2 = c1, v1
        spans.append(((c1, v1), (c2, v2)))
    return spans


# ---------------------------------------------------------------------------------------
# reading one book file into a stream of items

_TOKEN = re.compile(r'<footnote[^>]*>.*?</footnote>|<disp[^>]*>.*?</disp>|<[^>]+>|[^<]+', re.S)


def _segments(xml):
    """[(kind, text)]: kind 'red' 'blk' 'fn' 'par' (paragraph break)."""
    segs = []
    red = False
    for m in _TOKEN.finditer(xml):
        t = m.group(0)
        if t.startswith('<footnote'):
            segs.append(('fn', t))
        elif t.startswith('<disp'):
            continue
        elif t == '<red>':
            red = True
        elif t == '</red>':
            red = False
        elif t.startswith('<p') and (len(t) == 3 or t[2] in ' >'):
            segs.append(('par', ''))
        elif t.startswith('<'):
            continue
        else:
            kind = 'red' if red else 'blk'
            if segs and segs[-1][0] == kind:
                segs[-1] = (kind, segs[-1][1] + t)
            else:
                segs.append((kind, t))
    return segs


_ZACH = re.compile(r'\(заⷱ҇(?:\s+([^)]*))?\)')
_MARKER = re.compile(r'\([^)]{1,8}\)')       # (пнⷣе) (втоⷬ҇) ...: the four Gospels at the Hours
_BRACKET = re.compile(r'\[[^\]]*\]')


def _bracket_text(m):
    """[ѳі] (a chapter of the old division) goes; words added in brackets stay."""
    inner = m.group(0)[1:-1].strip()
    if slav_num(inner) is not None or not inner:
        return ' '
    return ' ' + inner + ' '
COMMANDS = ('Конецъ', 'Престꙋпи', 'Чти', 'Преиди', 'Стани', 'И паки', 'Здѣ', 'А ', 'Тамѡ')


def _parse_footnote(raw):
    """(clauses, incipit) of a footnote naming days, or None for a textual note; clauses:
    [[the label], [the days of «Сїе же и ...»], ...]."""
    inner = re.sub(r'^<footnote[^>]*>|</footnote>$', '', raw).strip()
    if not inner.startswith('<red>'):
        return None
    parts = re.findall(r'<red>(.*?)</red>|([^<]+)', inner, re.S)
    segs = [(('red', a) if a else ('blk', b)) for a, b in parts if (a or b)]
    first = norm(segs[0][1]).strip()
    if not first or not first[0].isupper() or first[0] in '꙾꙳':
        return None
    labels = []
    incipit = []
    for i, (k, t) in enumerate(segs):
        n = norm(t)
        if i == 0:
            main = n
            extra = ''
            m = re.search(r'[.:,]\s*((Сіе|сіе|И на)\s.*)$', main)
            if m:
                main, extra = main[:m.start()], m.group(1)
            main = main.strip().rstrip(':.').strip()
            if main.startswith('Сіе'):
                main = re.sub(r'^Сіе\s+(же\s+)?(и\s+)?', '', main)
            labels.append([main])
            if extra:
                labels.append(_extra_labels(extra))
            continue
        if k == 'red' and '꙳' in n:
            before, _, after = n.partition('꙳')
            incipit.append(before)
            after = after.strip('꙳ ')
            if after.startswith('Сіе'):
                labels.append(_extra_labels(after))
        elif k == 'red' and n.strip().startswith('Сіе'):
            labels.append(_extra_labels(n))
        else:
            incipit.append(n)
    return labels, re.sub(r'\s+', ' ', ''.join(incipit)).strip()


def _extra_labels(text):
    """«Сїе́ же декемвріа въ кѕ день, и недѣлѧ по ржтвѣ хртовѣ, и стымъ младенцємъ.»"""
    text = re.sub(r'^([Сс]іе\s+(же\s+)?(и\s+)?|И\s+)', '', text.strip()).strip(' .')
    parts = re.split(r',\s*и\s+|\.\s*И\s+', text)
    return [p.strip(' .,') for p in parts if p.strip(' .,')]


class Book:
    def __init__(self, abbr, path):
        self.abbr, self.path = abbr, path
        self.items = []          # dicts: t = verse | zach | label | rub
        self.verses = {}         # (c, v) -> item index
        self.text = {}           # (c, v) -> normalised text
        self.chapters = {}       # c -> last verse
        self.problems = []
        self._parse(open(path, encoding='utf-8').read())
        for (b, c, v), words in LAST_VERSE_SPLITS.items():
            if b == abbr:
                self._split_last(c, v, words)

    # -- parsing ------------------------------------------------------------------------
    def _parse(self, xml):
        segs = _segments(xml)
        # the text begins with the chapter heading before the first zachalo mark
        first_z = next(i for i, (k, t) in enumerate(segs) if k == 'red' and _ZACH.search(t))
        start = max(i for i in range(first_z) if segs[i][0] == 'red'
                    and norm(segs[i][1]).strip().startswith('Глава'))
        chapter, verse = 0, 0
        pending_zach = []     # zachalo marks waiting for their verse
        text_since_verse = True
        cur_fn_pending = []   # labels seen while a zachalo mark waits
        candidate = cap = None
        for kind, t in segs[start:]:
            if kind == 'par':
                continue
            if kind == 'fn':
                fn = _parse_footnote(t)
                if not fn:
                    continue
                labels, incipit = fn
                item = {'t': 'label', 'labels': labels, 'incipit': incipit}
                if pending_zach:
                    cur_fn_pending.append(item)
                else:
                    item['verse'] = (chapter, verse)
                    self.items.append(item)
                continue
            if kind == 'red':
                n = norm(t).strip()
                if n.startswith('Глава'):
                    chapter += 1
                    verse = 0
                    w = norm(t).split()
                    num = slav_num(w[1].strip('.')) if len(w) > 1 else None
                    if num is not None and num != chapter:
                        self.problems.append('chapter heading %s read as %d' % (n, chapter))
                    self.chapters[chapter] = 0
                    text_since_verse = False
                    continue
                if n.startswith('послѣдꙋющ') or n.startswith('без червлен'):
                    break       # the end of the book: the count of the rubrics
                zs = list(_ZACH.finditer(t))
                rest = t
                for z in zs:
                    num = slav_num(z.group(1)) if z.group(1) else None
                    pending_zach.append({'t': 'zach', 'n': num})
                if zs:
                    rest = _ZACH.sub('', rest)
                rest = _BRACKET.sub('', _MARKER.sub('', rest))
                rn = norm(rest).strip(' ꙳')
                if not rn:
                    continue
                if any(rn.startswith(c) for c in COMMANDS) and len(rn) > 3:
                    self._flush_pending(pending_zach, cur_fn_pending, chapter, verse, mid=True)
                    self.items.append({'t': 'rub', 'text': rn, 'verse': (chapter, verse),
                                       'after_text': text_since_verse})
                    continue
                if len(re.sub(r'[^\w]', '', rn)) <= 3:
                    # a red initial letter: the verse's text
                    if chapter and text_since_verse and cap is None:
                        cap = (len(self.items), len(self.text.get((chapter, verse), '')), rn)
                    self._text(chapter, verse, rn)
                    continue
                self.problems.append('red text not understood at %d:%d: %s' % (chapter, verse, rn))
                continue
            # black text: verse numbers and words
            br = re.match(r'\s*(\[[^\]]*\])', t)
            if br and self.items and self.items[-1]['t'] == 'rub' and '[' not in self.items[-1]['text'] \
                    and slav_num(br.group(1)[1:-1]) is None:
                self.items[-1]['text'] += ' ' + norm(br.group(1))
                t = t[br.end():]
            t = _BRACKET.sub(_bracket_text, t)
            for tok in re.findall(r'\S+', t):
                num = _is_numeral_token(tok)
                if num is not None and chapter and num == verse + 1:
                    candidate = cap = None
                    verse = self._new_verse(chapter, verse + 1, pending_zach, cur_fn_pending)
                    text_since_verse = False
                    continue
                if num is not None and chapter and num == verse + 2 and cap:
                    # the number of the verse begun at a capital letter is missing
                    self._insert_verse(chapter, verse + 1, cap)
                    self.problems.append('verse number %d:%d missing, taken at «%s»'
                                         % (chapter, verse + 1, cap[2]))
                    verse = self._new_verse(chapter, verse + 2, pending_zach, cur_fn_pending)
                    candidate = cap = None
                    text_since_verse = False
                    continue
                if num is not None and chapter:
                    candidate = (tok, num)
                    continue
                word = norm(tok).lstrip('꙾꙳(')
                if not re.search(r'\w', word) or word in ('с',):
                    continue
                if chapter and candidate and word[0].isupper():
                    # a misprinted verse number before the capital letter of a verse
                    self.problems.append('verse number %s at %d:%d read as %d'
                                         % (norm(candidate[0]), chapter, verse + 1, verse + 1))
                    verse = self._new_verse(chapter, verse + 1, pending_zach, cur_fn_pending)
                    text_since_verse = False
                    cap = None
                elif chapter and word[0].isupper() and text_since_verse and cap is None:
                    cap = (len(self.items), len(self.text.get((chapter, verse), '')), word)
                candidate = None
                if pending_zach:
                    self._flush_pending(pending_zach, cur_fn_pending, chapter, verse, mid=True)
                text_since_verse = True
                self._text(chapter, verse, tok)
                # rubrics standing inside this verse: the verse goes on after them
                for it in reversed(self.items):
                    if it['t'] == 'verse':
                        break
                    if it['t'] == 'rub':
                        it['text_after'] = True

    def _insert_verse(self, chapter, verse, cap):
        pos, tlen, _ = cap
        for k, i in self.verses.items():
            if i >= pos:
                self.verses[k] = i + 1
        self.items.insert(pos, {'t': 'verse', 'verse': (chapter, verse)})
        for it in self.items[pos + 1:]:
            if it['t'] != 'verse' and it.get('verse') == (chapter, verse - 1):
                it['verse'] = (chapter, verse)
        self.verses[(chapter, verse)] = pos
        prev = self.text.get((chapter, verse - 1), '')
        self.text[(chapter, verse - 1)] = prev[:tlen].strip()
        self.text[(chapter, verse)] = prev[tlen:].strip()

    def _new_verse(self, chapter, verse, pending_zach, cur_fn_pending):
        self.chapters[chapter] = verse
        idx = len(self.items)
        self.items.append({'t': 'verse', 'verse': (chapter, verse)})
        self.verses[(chapter, verse)] = idx
        self._flush_pending(pending_zach, cur_fn_pending, chapter, verse, mid=False)
        return verse

    def _flush_pending(self, pending, fns, chapter, verse, mid):
        """Zachalo marks (and the labels given with them) take the verse now known: the one
        just begun, or for a mark in the middle of a verse that verse."""
        if not pending:
            return
        v = (chapter, verse)
        idx = self.verses.get(v, len(self.items))
        ins = []
        for z in pending:
            z['verse'] = v
            ins.append(z)
        for f in fns:
            f['verse'] = v
            ins.append(f)
        # put the marks right after the verse item (before anything that follows it)
        if not mid and idx < len(self.items) and self.items[idx]['t'] == 'verse':
            self.items[idx + 1:idx + 1] = ins
        else:
            self.items.extend(ins)
        pending.clear()
        fns.clear()
        # indexes of verses after the insertion point have not changed (insertion at the end
        # or right after the last verse item)

    def _split_last(self, c, v, words):
        """The digitised text lacks the number of the last verse of a chapter."""
        if self.chapters.get(c) != v - 1:
            self.problems.append('split of %d:%d not needed' % (c, v))
            return
        prev = self.text[(c, v - 1)]
        k = prev.find(words)
        if k <= 0:
            self.problems.append('split of %d:%d: «%s» not found' % (c, v, words))
            return
        self.text[(c, v - 1)], self.text[(c, v)] = prev[:k].strip(), prev[k:].strip()
        pos = self.verses[(c, v - 1)] + 1
        while pos < len(self.items) and self.items[pos]['t'] in ('label', 'zach'):
            pos += 1
        for key, i in self.verses.items():
            if i >= pos:
                self.verses[key] = i + 1
        self.items.insert(pos, {'t': 'verse', 'verse': (c, v)})
        self.verses[(c, v)] = pos
        self.chapters[c] = v
        self.problems.append('verse number %d:%d missing, taken at «%s»' % (c, v, words))

    def _text(self, chapter, verse, word):
        k = (chapter, verse)
        self.text[k] = (self.text.get(k, '') + ' ' + norm(word)).strip()


class Books:
    def __init__(self, root=CU_BOOKS):
        self.root = root
        self.books = {}
        for abbr, f in GOSPELS:
            self.books[abbr] = Book(abbr, os.path.join(root, 'Evangelie1984', 'chapters', f + '.xml'))
        for abbr, f in APOSTOL:
            self.books[abbr] = Book(abbr, os.path.join(root, 'Apostol1989', 'chapters', f + '.xml'))
        self._zachala = {}       # ('Мф.', n) / ('Ап.', n) -> Zachalo
        self._order = {}         # 'Мф.' / 'Ап.' -> [Zachalo]
        self._labels = []
        self._index()
        self._ends()

    # -- zachala and labels ---------------------------------------------------------------
    def _index(self):
        for series, books in [(b, [b]) for b in GOSPEL_BOOKS] + [('Ап.', APOSTOL_BOOKS)]:
            order = []
            for abbr in books:
                bk = self.books[abbr]
                cur = None
                last_mark = None
                for i, it in enumerate(bk.items):
                    if it['t'] == 'zach':
                        last_mark = it
                    if it['t'] == 'zach' and it['n'] is not None:
                        fix = ZACHALO_FIXES.get((abbr, it['verse']))
                        if fix:
                            bk.problems.append('zachalo %d at %d:%d read as %d'
                                               % (it['n'], it['verse'][0], it['verse'][1], fix))
                            it['n'] = fix
                        same = [o for o in self._zachala.get((series, it['n']), [])]
                        if any(o.book == abbr for o in same):
                            # the number again in the same book: the zachalo read from the middle
                            it['n'] = None
                            continue
                        if same:
                            bk.problems.append('zachalo %d also in %s' % (it['n'], same[0].book))
                        z = Zachalo(abbr, it['n'], it['verse'], i)
                        self._zachala.setdefault((series, it['n']), []).append(z)
                        order.append(z)
                        cur = z
                    elif it['t'] == 'label':
                        it['verse'] = self._incipit_start(bk, it, last_mark)
                        group = []
                        for ci, clause in enumerate(it['labels']):
                            members = []
                            for text in clause:
                                text = LABEL_TEXT_FIXES.get((abbr, text), text)
                                lb = Label(text, abbr, it['verse'], cur.number if cur else None,
                                           it['incipit'], i)
                                lb.main = ci == 0 and not members
                                lb.stems += LABEL_ALIASES.get((abbr, text), [])
                                members.append(lb)
                            for lb in members:
                                lb.clause = members
                            group.extend(members)
                        for lb in group:
                            lb.group = group
                            self._labels.append(lb)
                            if cur and cur.first_label_item in (None, i) and (
                                    it['verse'] == cur.start or
                                    self._next_verse(bk, cur.start) == it['verse']):
                                # the day named at the start (or in the next verse, when the
                                # mark's verse only leads into it: «(зач. 56)» at 13:53, the
                                # day's reading 13:54-58)
                                cur.first_label_item = i
                                cur.labels.append(lb)
                                cur.start = it['verse']
            self._order[series] = order

    @staticmethod
    def _incipit_start(bk, it, mark):
        """The verse a reading begins with.  The footnote stands where the changed opening
        words end; where they retell the verse of the zachalo's mark before it («совѣтъ пріемше
        ... посылаютъ»), the reading begins with that verse."""
        if not mark or mark['verse'] == it['verse'] or mark['verse'] > it['verse']:
            return it['verse']
        words = lambda t: {w.strip('.,:;') for w in t.lower().split()}
        inc = words(it['incipit']) - INCIPIT_STOP
        shared = (inc & words(bk.text.get(mark['verse'], ''))) - words(bk.text.get(it['verse'], ''))
        return mark['verse'] if len(shared) >= 2 else it['verse']

    def _ends(self):
        for series, order in self._order.items():
            for k, z in enumerate(order):
                nxt = order[k + 1] if k + 1 < len(order) else None
                bk = self.books[z.book]
                if nxt and nxt.book == z.book:
                    before = self._verse_before(bk, nxt.start)
                else:
                    last_c = max(bk.chapters)
                    before = (last_c, bk.chapters[last_c])
                end = None
                if z.labels:
                    try:
                        r = self.reading(z.labels[0])
                        p = r.pieces[0]
                        if p.book == z.book and r.certain:
                            # up to where a rubric sends the reader elsewhere; a part read
                            # after a skip that lies in the next zachalo is not this one's
                            own = p.spans[:p.jumps[0]] if p.jumps else p.spans
                            dropped = False
                            while len(own) > 1 and nxt and nxt.book == z.book \
                                    and own[-1][0] >= nxt.start:
                                own = own[:-1]
                                dropped = True
                            end = max(own[-1][1], before) if dropped else own[-1][1]
                            if p.jumps and not dropped and end > before:
                                end = before
                    except LookupError:
                        end = None
                z.end = end or before

    @staticmethod
    def _next_verse(bk, v):
        c, n = v
        if n < bk.chapters.get(c, 0):
            return (c, n + 1)
        return (c + 1, 1)

    @staticmethod
    def _verse_before(bk, v):
        c, n = v
        if n > 1:
            return (c, n - 1)
        return (c - 1, bk.chapters[c - 1])

    def series_of(self, book):
        return book if book in GOSPEL_BOOKS else 'Ап.'

    def zachalo(self, book, n):
        """The zachalo n of a Gospel, or of the Apostol ('Ап.' or a book of it).  The Apostol
        numbers 50, 51 (Acts and James) and 68 (2 Peter and 1 John) twice, as the book does:
        name the book to get the one you mean ('Ап.' gives the first)."""
        found = self._zachala.get((self.series_of(book), n), [])
        if book not in ('Ап.',) and book not in GOSPEL_BOOKS:
            found = [z for z in found if z.book == book]
        if not found:
            raise LookupError('no zachalo %s %s' % (book, n))
        return found[0]

    def zachala(self, book):
        return list(self._order[self.series_of(book)])

    def zachalo_at(self, book, verse):
        """Number of the zachalo whose region holds the verse (the last begun at or before it)."""
        best = None
        for z in self._order[self.series_of(book)]:
            if z.book == book and z.start <= verse:
                best = z.number
        return best

    def labels(self, text=None, book=None):
        t = norm(text).lower() if text else None
        out = []
        for lb in self._labels:
            if book and lb.book != book:
                continue
            if t is None or t in norm(lb.text).lower():
                out.append(lb)
        return out

    def day(self, text, book=None):
        found = self.labels(text, book)
        if len(found) != 1:
            raise LookupError('%d labels match %r%s' % (len(found), text,
                                                       ': ' + '; '.join(map(repr, found)) if found else ''))
        return self.reading(found[0])

    def verse_exists(self, book, c, v):
        return (c, v) in self.books[book].verses

    def chapter_len(self, book, c):
        return self.books[book].chapters.get(c, 0)

    def verse_text(self, book, c, v):
        return self.books[book].text.get((c, v), '')

    # -- following a named day's reading ------------------------------------------------
    def reading(self, label):
        """The reading of a named day.  Reading.certain is False where no rubric names the day
        itself (a saint's or a feast's day named by its kind, «Конецъ стомꙋ», or by the other
        days of its footnote, or only its end by the saint's name)."""
        whole = 'без престꙋпки' in label.text       # «до зачала N без престꙋпки»: read on
        if not label.main:
            # a day of «Сїе же и ...»: its own rubrics, else those of the days named with it
            for scope in ('self', 'clause', 'group'):
                try:
                    return Reading(label, self._walk(label, 0, scope,
                                                     limit=None if whole else 2))
                except LookupError:
                    pass
        try:
            return Reading(label, self._walk(label, 0, 'self'))
        except LookupError:
            if label.stems and set(label.stems) & WEEKDAY_KEYS:
                raise
        for level in (1, 2, 3):
            try:
                r = Reading(label, self._walk(label, level, 'self', limit=1))
            except LookupError:
                continue
            r.certain = False
            return r
        raise LookupError('no rubric names the end of %r' % label)

    def _walk(self, label, lenient, scope, limit=None):
        if scope == 'self':
            own = [label.stems]
        elif scope == 'clause':
            own = [o.stems for o in label.clause]
        else:
            own = [o.stems for o in label.group]
        others = [o.stems for o in label.group if o not in label.clause]
        if lenient == 2:
            own = own + [o.stems for o in label.group if o is not label]

        def names(sets, items, end=False):
            if any(_key_matches(st, it) for st in sets for it in items):
                return True
            if lenient not in (1, 3):
                return False
            # a saint's or a feast's day: its rubrics name it by its kind («стомꙋ», «аплꙋ»),
            # its end perhaps by the saint's name (not by a weekday, nor by another day here)
            for it in items:
                if set(it) & WEEKDAY_KEYS or _nums(it):
                    continue
                if any(_key_matches(st, it) for st in others):
                    continue
                if set(it) <= KIND_WORDS or (end and lenient == 3):
                    return True
            return False

        book = label.book
        bk = self.books[book]
        i = label.index
        pieces = []
        spans = []
        open_start = label.verse
        last = label.verse
        skipping = False
        returns = []          # (book, item index, zachalo) to come back to
        steps = crossed = 0
        passed = False
        seg_start = i
        piece_book, piece_zach = book, self.zachalo_at(book, label.verse)

        def close():
            if open_start is not None and last is not None and open_start <= last:
                spans.append((open_start, last))

        jumps = []

        def new_piece():
            nonlocal spans, jumps
            if spans:
                p = Piece(piece_book, piece_zach, spans)
                p.jumps = jumps
                pieces.append(p)
            spans = []
            jumps = []

        i += 1
        while True:
            steps += 1
            if steps > 20000:
                raise LookupError('no end of the reading of %r' % label)
            if i >= len(bk.items):
                raise LookupError('the reading of %r runs past the end of %s' % (label, book))
            it = bk.items[i]
            if it['t'] == 'zach' and it['n'] is not None:
                crossed += 1
                if limit is not None and crossed > limit:
                    raise LookupError('no rubric names the end of %r' % label)
            if it['t'] == 'verse':
                passed = True
                if not skipping:
                    if open_start is None:
                        open_start = it['verse']
                    last = it['verse']
                i += 1
                continue
            if it['t'] != 'rub':
                i += 1
                continue
            jumped = False
            for kind, items, target in _commands(it['text']):
                if kind == 'end':
                    if not names(own, items, end=True) and \
                            not (_book_end(it['text']) and not crossed):
                        continue
                    if not passed and not pieces and not spans:
                        continue    # the end of the reading before, in the verse this one begins
                    if not label.main and self._claimed(label, bk, seg_start, i,
                                                        [x for x in items if names(own, [x], True)]):
                        continue    # the end of a day named later, not of this «Сїе же и»
                    if not skipping:
                        close()
                    new_piece()
                    return pieces
                if not names(own, items) or ('без престꙋпки' in label.text and kind != 'read'):
                    continue
                if kind == 'skip' and target is None:
                    if not skipping:
                        close()
                    skipping = True
                    open_start = None
                elif kind == 'read':
                    if skipping:
                        skipping = False
                        mid = it.get('text_after') or not it['after_text']
                        open_start = it['verse'] if mid and it['verse'][1] else None
                        if open_start is not None:
                            last = open_start
                elif kind in ('skip', 'go'):
                    if not skipping:
                        close()
                    # where to come back: the «И паки чти здѣ» right after this rubric
                    for j in range(i + 1, min(i + 4, len(bk.items))):
                        if bk.items[j]['t'] == 'rub' and re.match(r'И паки (чти здѣ|здѣ чти)',
                                                                   bk.items[j]['text']):
                            returns.append((book, j, piece_zach))
                            break
                    nbook, i, zach = self._target(target, label.stems, book, returns)
                    if nbook != book:
                        # another book: a new piece (a jump inside a book stays in its piece)
                        new_piece()
                        piece_book, piece_zach = nbook, zach
                    else:
                        jumps.append(len(spans))
                    book = nbook
                    bk = self.books[book]
                    seg_start = i
                    skipping = False
                    open_start = None
                    if bk.items[i]['t'] == 'verse':
                        open_start = last = bk.items[i]['verse']
                    jumped = True
                    break
            i += 1

    def _claimed(self, label, bk, start, i, items):
        """Another day, named after this one began and before rubric i, ends at rubric i:
        each item of the rubric that names this day names that one too."""
        if not items:
            return False
        for lb in self._labels:
            if lb.book == bk.abbr and start < lb.index < i and lb not in label.group:
                if all(_key_matches(lb.stems, it) for it in items):
                    return True
        return False

    def _target(self, target, stems, book, returns):
        """(book, item index) where a jump lands."""
        tbook, tnum, incipit, half = target
        if tbook is None:
            tbook = book if book in GOSPEL_BOOKS else 'Ап.'
        # back to the place we came from
        for k in range(len(returns) - 1, -1, -1):
            rb, ri, rz = returns[k]
            if rb == tbook or (tbook == 'Ап.' and rb in APOSTOL_BOOKS):
                returns.pop(k)
                return rb, ri, (tnum or rz)
        if tnum is None:
            raise LookupError('nowhere to return in %s' % tbook)
        z = self.zachalo(tbook, tnum)
        bk = self.books[z.book]
        # a «Чти ...» / «Здѣ чти ...» for this day inside the zachalo
        nxt = [o for o in self._order[self.series_of(z.book)] if o.book == z.book and o.index > z.index]
        stop = nxt[0].index if nxt else len(bk.items)
        for j in range(z.index, min(stop + 1, len(bk.items))):
            it = bk.items[j]
            if it['t'] == 'rub':
                for kind, items, tg in _commands(it['text']):
                    if kind == 'read' and any(_key_matches(stems, s) for s in items):
                        return z.book, j, tnum
        if incipit:
            want = [w.strip('.,:;') for w in _canon_letters(norm(incipit)).lower().split()[:2]]
            for j in range(z.index, len(bk.items)):
                it = bk.items[j]
                if it['t'] == 'verse':
                    words = [w.strip('.,:;') for w in
                             _canon_letters(bk.text.get(it['verse'], '')).lower().split()[:2]]
                    if words == want:
                        return z.book, j, tnum
                    if j > stop + 200:
                        break
            raise LookupError('incipit %r not found in %s %d' % (incipit, z.book, tnum))
        return z.book, self.books[z.book].verses[z.start], tnum


def _book_end(text):
    """«Конецъ єже ѿ лꙋки стагѡ єѵліа», «Конецъ посланіѧ ...»: the book ends here."""
    t = norm(text)
    return bool(re.match(r'Конецъ (єже ѿ|соборнагѡ посланіѧ|посланіѧ|вторагѡ посланіѧ|дѣѧніи стыхъ)', t))


def _commands(text):
    """[(kind, [stems of each day named], target)] of a rubric's sentences.
    kind: end (Конецъ), skip (Престꙋпи), read (Чти, Здѣ чти, И паки чти здѣ), go (Преиди,
    Стани здѣ ... поими, А ... возвратисѧ); target = (book, zachalo, incipit, from_middle)."""
    out = []
    text = re.sub(r'\s+', ' ', text)
    incipit = None
    m = re.search(r'\[([^\]]*)\]', text)
    if m:
        incipit = m.group(1).strip(' :')
        text = text[:m.start()] + text[m.end():]
    for sent in re.split(r'(?<=[.:])\s+(?=[А-ЯЀ-ЯѠ-ҀꙀ-Ꙭ])', text.strip()):
        s = sent.strip()
        if not s:
            continue
        target = None
        tm = re.search(r'(?:въ|во|къ|ко|на)?\s*(матѳе\w*|марк\w*|лꙋ[кц]\w*|іѡанн\w*)?\s*,?\s*'
                       r'(?:въ|на|ко)?\s*(?:зачала|зачало|за)\s+([^\s,.:]+)(\s+ѿ\s+полꙋ)?', s)
        if tm and slav_num(tm.group(2)) is not None:
            bw = tm.group(1)
            tb = None
            if bw:
                tb = next(v for k, v in BOOK_WORDS.items() if bw.startswith(k))
            target = (tb, slav_num(tm.group(2)), incipit, bool(tm.group(3)))
            s_days = s[:tm.start()]
        else:
            s_days = s
            bm = re.search(r'(?:въ|во|къ|ко)\s+(матѳе\w*|марк\w*|лꙋ[кц]\w*|іѡанн\w*)', s)
            if bm:
                tb = next(v for k, v in BOOK_WORDS.items() if bm.group(1).startswith(k))
                target = (tb, None, incipit, False)
                s_days = s[:bm.start()]
        if s.startswith('Конецъ'):
            out.append(('end', _split_items(s_days[len('Конецъ'):]), None))
        elif s.startswith('Престꙋпи'):
            d = re.sub(r'^Престꙋпи\s+(паки\s+)?', '', s_days)
            d = re.sub(r'\s+(напредъ|на конецъ.*)$', '', d.strip(' .:'))
            out.append(('skip', _split_items(d), target))
        elif s.startswith('Преиди'):
            out.append(('go', _split_items(s_days[len('Преиди'):]), target))
        elif s.startswith('Стани'):
            d = re.sub(r'^Стани здѣ (паки )?', '', s_days)
            d = re.sub(r',?\s*и поими.*$', '', d)
            out.append(('go', _split_items(d), target))
        elif s.startswith('А ') and 'возвратисѧ' in s:
            d = s[2:s.index('возвратисѧ')]
            out.append(('go', _split_items(d), target))
        elif s.startswith('Чти') or s.startswith('Здѣ чти'):
            d = re.sub(r'^(Здѣ )?Чти\s+|^Здѣ чти\s+', '', s_days)
            d = re.sub(r',?\s*на літꙋргіи.*$', ' літꙋргіи', d) if 'бгослов' in d else d
            out.append(('read', _split_items(d), None))
    return out


_CACHE = {}


def load(root=CU_BOOKS):
    if root not in _CACHE:
        _CACHE[root] = Books(root)
    return _CACHE[root]


def _main(argv):
    b = load()
    if len(argv) >= 2 and argv[0] == 'labels':
        for lb in b.labels(' '.join(argv[1:])):
            try:
                r = b.reading(lb).text()
            except LookupError as e:
                r = 'ERROR %s' % e
            print('%s %d:%d [%s] %s  ->  %s' % (lb.book, lb.verse[0], lb.verse[1], lb.zachalo,
                                                lb.text, r))
    elif len(argv) == 3 and argv[0] == 'zachalo':
        z = b.zachalo(argv[1], int(argv[2]))
        print(z.book, z.number, z.range, [l.text for l in z.labels])
    elif argv and argv[0] == 'problems':
        for abbr, bk in b.books.items():
            for p in bk.problems:
                print(abbr, p)
    else:
        print(__doc__)
        return 2
    return 0


if __name__ == '__main__':
    sys.exit(_main(sys.argv[1:]))
