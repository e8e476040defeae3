"""The tables of the year in the Church's books, read into plain Python data.

    gospel_table()   the Gospel's «Сказаніе ... на всѧкъ день ... седмицъ всегѡ лѣта»
                     (Evangelie1984/chapters/5skazan.xml)
    apostol_table()  the Apostol's «Сказаніе ... єже какѡ на всѧкъ день должно єсть чести
                     апостолъ въ седмицахъ всегѡ лѣта» (Apostol1989/chapters/27anprap.xml)
    triodion_ot()    the Old Testament readings of the Lenten Triodion
                     (PostnayaTriod1992/chapters/*.xml), in the book's order

Days are keys:
    ('P', n)         n days after Pascha (0 = Pascha) up to Pentecost (49)
    ('T', n)         n days before Pascha (70 = the Sunday of the Publican .. 1)
    ('S', week, wd)  the week after Pentecost (1..33; week 1 = Monday of the Holy Spirit .. the
                     Sunday of All Saints), wd 0..6 = Monday .. Sunday
    ('M', n)         the n-th Sunday Matins Gospel (1..11)
Each table entry: (day, slot, ref, note) with slot 'Утр' 'Ев' 'Ап' 'Веч' or 'second'
(a second reading of the day's commemoration, with note saying whose), ref = (book or None,
zachalo, from_middle).  Standard library only."""
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import cubooks  # noqa: E402
from cubooks import norm, slav_num  # noqa: E402

GOSPEL_WORDS = [('матѳе', 'Мф.'), ('марк', 'Мк.'), ('лꙋк', 'Лк.'), ('іѡанн', 'Ин.')]
APOSTOL_WORDS = [('дѣѧні', 'Деян.'), ('іакѡвл', 'Иак.'), ('петров', 'Пет.'), ('іѡаннов', 'Ин.'),
                 ('іꙋдин', 'Иуд.'), ('римлѧн', 'Рим.'), ('корінѳѧн', 'Кор.'), ('галат', 'Гал.'),
                 ('єфесе', 'Еф.'), ('філіппис', 'Флп.'), ('колосса', 'Кол.'), ('солꙋнѧн', 'Сол.'),
                 ('тімоѳе', 'Тим.'), ('тіт', 'Тит.'), ('євре', 'Евр.')]
WEEKDAYS = [('понедѣльникъ', 0), ('пнльникъ', 0), ('вторникъ', 1), ('средꙋ', 2), ('четвертокъ', 3),
            ('пѧтокъ', 4), ('сꙋббѡтꙋ', 5)]


def _paragraphs(path):
    xml = open(path, encoding='utf-8').read()
    xml = re.sub(r'<footnote.*?</footnote>', '', xml, flags=re.S)
    out = []
    for p in re.findall(r'<p[^>]*>(.*?)</p>', xml, flags=re.S):
        t = re.sub(r'\s+', ' ', norm(re.sub(r'<[^>]*>', '', p))).strip()
        if t:
            out.append(t)
    return out


def _weekday(text):
    t = text.lower()
    for w, d in WEEKDAYS:
        if re.match(r'(въ|во)\.?\s+' + w, t) or t.startswith(w):
            return d
    return None


def _gospel_refs(text):
    """[(book, n, from_middle)] of «єѵліе матѳеа, зачало рѕі» / «лꙋки, зачало ма ѿ полꙋ»."""
    out = []
    for m in re.finditer(r'(матѳеа|марка|лꙋки|іѡанна)[,:]?\s*(?:зачало\s+|за\s+)?([%s]{1,4})\b'
                         r'(\s*,?\s*ѿ\s+полꙋ)?' % cubooks.NUMCH, text):
        n = slav_num(m.group(2))
        if n is None:
            continue
        book = dict(GOSPEL_WORDS)[[k for k, _ in GOSPEL_WORDS if m.group(1).startswith(k)][0]]
        out.append((book, n, bool(m.group(3)), m.start()))
    return out


def gospel_table(root=cubooks.CU_BOOKS):
    paras = _paragraphs(os.path.join(root, 'Evangelie1984', 'chapters', '5skazan.xml'))
    entries = []
    ctx = None          # the day a Sunday/feast heading names
    week = None         # ('P', k) Paschal week k / ('S', k) week k after Pentecost / ('T', -x)
    k = next(i for i, p in enumerate(paras) if p.startswith('Во стꙋю и великꙋю недѣлю пасхи'))
    lent = False
    prev_day = None

    def add(day, slot, ref, note=''):
        entries.append((day, slot, (ref[0], ref[1], ref[2]), note))

    while k < len(paras):
        t = paras[k]
        k += 1
        if t.startswith('СКАЗАНІЕ ЄѴЛІИ'):
            lent = True
            k += 1          # «стыѧ четыредесѧтницы и страстныѧ седмицы»
            break
        # ---- headings of Sundays and feasts -------------------------------------------
        if t.startswith('Во стꙋю и великꙋю недѣлю пасхи'):
            ctx, week = ('P', 0), ('P', 1)
            continue
        if t.startswith('Въ тꙋ же недѣлю вечера'):
            refs = _gospel_refs(paras[k])
            k += 1
            add(('P', 0), 'Веч', refs[0])
            continue
        m = re.match(r'Недѣлѧ ([%s]{1,3})(?:-ѧ)?\b(.*)$' % cubooks.NUMCH, t)
        if m and not lent:
            n = slav_num(m.group(1))
            rest = m.group(2)
            if week and week[0] == 'P' and n <= 8 and 'всѣхъ' not in rest:
                ctx = ('P', 7 * (n - 1))
                week = ('P', n)
            else:
                # «Недѣлѧ а всѣхъ стыхъ» = 1 .. «Недѣлѧ лв» = 32; 33 Publican, 34 Prodigal
                if n <= 32:
                    ctx = ('S', n, 6)
                    week = ('S', n + 1)
                elif n == 33:
                    ctx, week = ('T', 70), ('T', 69)
                elif n == 34:
                    ctx, week = ('T', 63), ('T', 62)
            continue
        if t.startswith('Недѣлѧ мѧсопꙋстнаѧ'):
            ctx, week = ('T', 56), ('T', 55)
            continue
        if t.startswith('Недѣлѧ сыропꙋстнаѧ'):
            ctx, week = ('T', 49), None
            continue
        if t.startswith('Въ четвертокъ ѕ недѣли, вознесеніе'):
            ctx = ('P', 39)
            continue
        # ---- the day's own readings ----------------------------------------------------
        if t.startswith('На ᲂутрени'):
            add(ctx, 'Утр', _gospel_refs(t)[0])
            continue
        if t.startswith('На літꙋргіи'):
            add(ctx, 'Ев', _gospel_refs(t)[0])
            continue
        if t.startswith('Єѵліе ᲂутреннее'):
            continue                # the Sunday Matins Gospel of the cycle
        if t.startswith('И за ᲂупокои'):
            add(prev_day, 'second', _gospel_refs(t)[0], 'за упокой')
            continue
        if t.startswith('И ѻцєвъ'):
            add(prev_day, 'second', _gospel_refs(t)[0], 'отцов')
            continue
        if t.startswith('Въ средꙋ же и пѧтокъ не бываетъ'):
            continue
        # ---- weekdays --------------------------------------------------------------------
        t2 = re.sub(r'^Сырнои недѣли:\s*', '', t)
        wd = _weekday(t2)
        if wd is None:
            raise ValueError('Gospel table: not understood: %s' % t)
        refs = _gospel_refs(t2)
        if len(refs) != 1:
            raise ValueError('Gospel table: %d readings in: %s' % (len(refs), t))
        day = _day_of(week, wd)
        prev_day = day
        add(day, 'Ев', refs[0])
    # ---- Lent and Holy Week ------------------------------------------------------------------
    lent_entries, k = _gospel_lent(paras, k)
    entries += lent_entries
    return entries


def _day_of(week, wd):
    kind, n = week
    if kind == 'P' and n == 8:
        return ('S', 1, wd)             # the week after Pentecost
    if kind == 'P':
        return ('P', 7 * (n - 1) + wd + 1)
    if kind == 'S':
        return ('S', n, wd)
    return ('T', n - wd)        # week ('T', 69): Monday = 69 .. Saturday = 64


LENT_DAYS = {  # «Сꙋббѡта перваѧ поста» ...: days before Pascha
    ('Сꙋббѡта', 'перв'): 43, ('Недѣлѧ', 'перв'): 42, ('Сꙋббѡта', 'втор'): 36,
    ('Недѣлѧ', 'втор'): 35, ('Сꙋббѡта', 'трет'): 29, ('Недѣлѧ', 'трет'): 28,
    ('Сꙋббѡта', 'четверт'): 22, ('Недѣлѧ', 'четверт'): 21, ('Сꙋббѡта', 'пѧт'): 15,
    ('Недѣлѧ', 'пѧт'): 14, ('Сꙋббѡта', 'шест'): 8}
SECOND = {'стомꙋ': 'святого', 'за ᲂупокои': 'за упокой', 'преподобномꙋ': 'преподобного',
          'бцѣ': 'Богородицы', 'преподобнѣи': 'преподобной'}


def _gospel_lent(paras, k):
    entries = []
    ctx = None
    passion = hours = False
    while k < len(paras):
        t = paras[k]
        k += 1
        m = re.match(r'(Сꙋббѡта|Недѣлѧ) (перв|втор|трет|четверт|пѧт|шест)\w* ', t)
        if m:
            ctx = ('T', LENT_DAYS[(m.group(1), m.group(2))])
            continue
        if t.startswith('Въ недѣлю цвѣтоноснꙋю'):
            ctx = ('T', 7)
            continue
        m = re.match(r'Во ст\S+ и велик\S+ (понедѣльникъ|вторникъ|средꙋ|четвертокъ|сꙋббѡтꙋ)', t)
        if m:
            ctx = ('T', {'понедѣльникъ': 6, 'вторникъ': 5, 'средꙋ': 4, 'четвертокъ': 3,
                         'сꙋббѡтꙋ': 1}[m.group(1)])
            passion = hours = False
            continue
        if t.startswith('Єѵліи ві, стыхъ стртеи'):
            ctx, passion = ('T', 2), True
            continue
        if t.startswith('Послѣдованіе часѡвъ'):
            ctx, passion, hours = ('T', 2), False, True
            continue
        if t.startswith('Во стыи и великіи пѧтокъ, вечеръ'):
            ctx, hours = ('T', 2), False
            refs = _gospel_refs(paras[k])
            k += 1
            entries.append((ctx, 'Веч', refs[0][:3], paras[k - 1]))
            continue
        if t.startswith('Єѵліа ᲂутреннѧѧ воскреснаѧ'):
            for n in range(1, 12):
                refs = _gospel_refs(paras[k])
                k += 1
                entries.append((('M', n), 'Утр', refs[0][:3], ''))
            break
        if passion:
            m = re.match(r'Єѵліе ([%s]{1,2}), ' % cubooks.NUMCH, t)
            if m:
                refs = _gospel_refs(t)
                end = paras[k]
                k += 1
                entries.append((ctx, 'Утр', refs[0][:3], 'Страстное %d; %s'
                                % (slav_num(m.group(1)), end)))
            continue
        if hours:
            m = re.match(r'Часъ ([%s]):' % cubooks.NUMCH, t)
            if m:
                refs = _gospel_refs(t)
                end = paras[k]
                k += 1
                entries.append((ctx, '%dч' % slav_num(m.group(1)), refs[0][:3], end))
            continue
        # the day's readings: «На ᲂутрени: ... На літꙋргіи: ... И стомꙋ: ...»
        for part in re.split(r'(?<=\.)\s+(?=[А-ЯЀ-ЯѠ-ҀꙀ-Ꙭ])', t):
            refs = _gospel_refs(part)
            if 'воскресное' in part or 'воскрное' in part:
                continue
            if not refs:
                continue
            p = part.lower()
            if p.startswith('на ᲂутрени') or p.startswith('на ᲂугрени'):
                slot = 'Утр'
            elif p.startswith('на ᲂумовеніи') or p.startswith('по ᲂумовеніи'):
                slot, note = 'second', 'умовение ног'
                entries.append((ctx, slot, refs[0][:3], note))
                continue
            elif p.startswith('и '):
                who = next((v for w, v in SECOND.items() if w in p), p)
                entries.append((ctx, 'second', refs[0][:3], who))
                continue
            else:
                slot = 'Ев'
            entries.append((ctx, slot, refs[0][:3], ''))
    return entries, k


# ---------------------------------------------------------------------------------------
# the Apostol

def _apostol_refs(text):
    out = []
    for m in re.finditer(r'(?:(дѣѧні|іакѡвл|петров|іѡаннов|іꙋдин|римлѧн|корінѳѧн|галат|єфесе|'
                         r'філіппис|колосса|солꙋнѧн|тімоѳе|тіт|євре)\w*[,:]?\s*)?'
                         r'(?:зачало|за)\s+([%s]{1,4})\b(\s*,?\s*ѿ\s+полꙋ)?' % cubooks.NUMCH, text):
        n = slav_num(m.group(2))
        if n is None:
            continue
        word = m.group(1)
        book = dict(APOSTOL_WORDS)[word] if word else None
        out.append((book, n, bool(m.group(3)), m.start(), m.end()))
    return out


def apostol_table(root=cubooks.CU_BOOKS):
    paras = _paragraphs(os.path.join(root, 'Apostol1989', 'chapters', '27anprap.xml'))
    entries = []
    week = ('P', 1)
    lent = False

    def add(day, slot, ref, note=''):
        entries.append((day, slot, ref[:3], note))

    def liturgy_refs(t):
        """The Apostol at the Liturgy of a heading paragraph (not the evening's)."""
        cut = re.search(r'(Въ т[ꙋо]же?\s*\S*\s*вечера|Въ тоиже [^.]* вечера)', t)
        body = t[:cut.start()] if cut else t
        return _apostol_refs(body)

    first = next(i for i, p in enumerate(paras) if p.startswith('Въ недѣлю пасхи'))
    for k, t in enumerate(paras[first:]):
        if t.startswith('Послѣдованіе стыѧ четыредесѧтницы'):
            lent = True
            continue
        if lent:
            entries += _apostol_lent(t)
            continue
        if t.startswith('Въ недѣлю пасхи'):
            add(('P', 0), 'Ап', liturgy_refs(t)[0])
            continue
        m = re.match(r'Въ (понедѣльникъ|вторникъ|средꙋ|четвертокъ|пѧтокъ|сꙋббѡтꙋ) свѣтлыѧ', t)
        if m:
            wd = _weekday('Въ ' + m.group(1))
            refs = liturgy_refs(t)
            add(('P', wd + 1), 'Ап', refs[0])
            if len(refs) > 1:
                add(('P', wd + 1), 'second', refs[1], 'Богородицы')
            continue
        if t.startswith('Недѣлѧ лє, мѧсопꙋстнаѧ'):
            add(('T', 56), 'Ап', liturgy_refs(t)[0])
            week = ('T', 55)
            continue
        m = re.match(r'Недѣлѧ ([%s]{1,2})(?:-ѧ)?\b' % cubooks.NUMCH, t)
        if m:
            n = slav_num(m.group(1))
            refs = liturgy_refs(t)
            if week[0] == 'P' and 'всѣхъ' not in t[:40]:
                day = ('P', 7 * (n - 1))
                week = ('P', n)
            elif n <= 32:
                day = ('S', n, 6)
            elif n == 33:
                day = ('T', 70)
            elif n == 34:
                day = ('T', 63)
            else:
                day = ('T', 56)
            add(day, 'Ап', refs[0])
            if week[0] == 'P' and n == 8:
                week = ('S', 1)
            continue
        m = re.match(r'Седмица ([%s]{1,2})\.' % cubooks.NUMCH, t)
        if m:
            n = slav_num(m.group(1))
            week = ('S', n) if n <= 33 else ('T', 69 if n == 34 else 62)
            continue
        if t.startswith('Въ четвертокъ вознесеніѧ'):
            add(('P', 39), 'Ап', liturgy_refs(t)[0])
            continue
        if t.startswith('Въ средꙋ преполовеніѧ'):
            add(('P', 24), 'Ап', liturgy_refs(t)[0])
            continue
        if t.startswith('Въ понедѣльникъ стагѡ дха'):
            add(('S', 1, 0), 'Ап', liturgy_refs(t)[0])
            week = ('S', 1)
            continue
        m = re.match(r'Въ сꙋббѡтꙋ (лє|лѕ),', t)
        if m:
            day = ('T', 57) if m.group(1) == 'лє' else ('T', 50)
            refs = liturgy_refs(t)
            add(day, 'Ап', refs[0])
            add(day, 'second', refs[1], 'за упокой' if day == ('T', 57) else 'преподобных')
            continue
        if t.startswith('Въ недѣлю сырнꙋю'):
            add(('T', 49), 'Ап', liturgy_refs(t)[0])
            continue
        wd = _weekday(t)
        if wd is None:
            raise ValueError('Apostol table: not understood: %s' % t[:80])
        refs = liturgy_refs(t)
        day = _day_of(week, wd)
        add(day, 'Ап', refs[0])
        if 'за ᲂупокои' in t and len(refs) > 1:
            add(day, 'second', refs[1], 'за упокой')
    return entries


def _apostol_lent(t):
    """«Сꙋббѡта а поста ... Аплъ къ євреємъ, зачало тг, и стомꙋ ...» (a paragraph may hold
    two days: «... Недѣлѧ г поста ...»)."""
    out = []
    parts = re.split(r'(?=(?:Сꙋббѡта|Недѣлѧ) [%s] поста\.)' % cubooks.NUMCH, t)
    for part in parts:
        m = re.match(r'(Сꙋббѡта|Недѣлѧ) ([%s]) поста\.' % cubooks.NUMCH, part)
        if m:
            n = slav_num(m.group(2))
            day = ('T', (43 if m.group(1) == 'Сꙋббѡта' else 42) - 7 * (n - 1))
        elif part.startswith('Сꙋббѡта ѕ, лазарева'):
            day = ('T', 8)
        elif part.startswith('Въ недѣлю цвѣтоноснꙋю'):
            day = ('T', 7)
        elif part.startswith('Во стыи и великіи четвертокъ'):
            day = ('T', 3)
        elif part.startswith('Во стыи великіи пѧтокъ'):
            refs = _apostol_refs(part)
            for (h, r) in zip((1, 3, 6, 9), refs[:4]):
                out.append((('T', 2), '%dч' % h, r[:3], ''))
            out.append((('T', 2), 'Веч', refs[4][:3], ''))
            continue
        elif part.startswith('Во стꙋю и великꙋю сꙋббѡтꙋ'):
            refs = _apostol_refs(part)
            out.append((('T', 1), 'second', refs[0][:3], 'на утрени; конец в 206-м зачале'))
            out.append((('T', 1), 'Ап', refs[-1][:3], ''))
            continue
        else:
            if part.strip():
                raise ValueError('Apostol table (Lent): not understood: %s' % part[:80])
            continue
        refs = _apostol_refs(part)
        if not refs:
            raise ValueError('Apostol table (Lent): no reading in: %s' % part[:80])
        out.append((day, 'Ап', refs[0][:3], ''))
        for r in refs[1:]:
            before = part[max(0, r[3] - 40):r[3]].lower()
            who = next((v for w, v in (('за ᲂупокои', 'за упокой'), ('стомꙋ', 'святого'),
                                      ('стагѡ', 'святого'), ('бцѣ', 'Богородицы'),
                                      ('прпбныѧ', 'преподобной'), ('преподобн', 'преподобного'))
                        if w in before), 'второе')
            out.append((day, 'second', r[:3], who))
    return out


# ---------------------------------------------------------------------------------------
# the Old Testament readings of the Lenten Triodion

OT_BOOKS = [('исаіин', 'Ис.'), ('Бытіѧ', 'Быт.'), ('Притчеи', 'Притч.'), ('іѡилев', 'Иоил.'),
            ('захаріин', 'Зах.'), ('софѡніев', 'Соф.'), ('софоніев', 'Соф.'),
            ('іезекіилев', 'Иез.'), ('Исхода', 'Исх.'), ('Іѡва', 'Иов.'), ('іереміин', 'Иер.'),
            ('іѡнин', 'Ион.'), ('Іисꙋса наѵина', 'Нав.'), ('Царствъ третіихъ', '3 Цар.'),
            ('Царствъ четвертыхъ', '4 Цар.'), ('даніилов', 'Дан.')]
_OT_HEAD = re.compile(r'(Пр?р?о?рочества \S+|Бытіѧ|Притчеи|Исхода|Іѡва|Іисꙋса наѵина|'
                      r'Царствъ третіихъ|Царствъ четвертыхъ) чтені[ея]\.?')


# Brackets of the digitised Triodion whose numbers are misprinted: (file, bracket) ->
# (spans, why); each checked against the text printed under it.
def _s(c1, v1, c2, v2):
    return ((c1, v1), (c2, v2))


OT_FIXES = {
    ('11cht1.xml', 'Глава в, ст. а- ка.'):
        ([_s(2, 11, 2, 21)], 'the text begins «Вознесетсѧ гдь єдинъ въ день ѻныи» (2:11)'),
    ('15sdm2.xml', 'Гл. д, ст. а-ѕ. Гл. є, ст. а-з.'):
        ([_s(4, 2, 4, 6), _s(5, 1, 5, 7)], 'the text begins «Въ день ѻныи возсіѧетъ бгъ» (4:2)'),
    ('15sdm2.xml', 'Глава є, ст. а-є'):
        ([_s(5, 1, 5, 15)], 'the text ends «ѿ твоихъ кладенцєвъ источника» (5:15)'),
    ('15sdm2.xml', 'Глава є, ст. є-кг. глава ѕ, ст. а-г.'):
        ([_s(5, 15, 5, 23), _s(6, 1, 6, 3)], 'the text begins «Сыне, піи воды ѿ своихъ сосꙋдѡвъ» (5:15)'),
    ('21sedm4.xml', 'Глава кѳ, ст. гі-кв.'):
        ([_s(29, 13, 29, 23)], 'the text ends «и бга іилева ᲂубоѧтсѧ» (29:23)'),
    ('24sed5.xml', 'Глава мє, ст. аі-з'):
        ([_s(45, 11, 45, 17)], 'the text ends «не постыдѧтсѧ ... даже до вѣка ктомꙋ» (45:17)'),
    ('28sedmv.xml', 'Глава мг, ст. кѕ-ла, глава мѕ, ст. а-ѕі.'):
        ([_s(43, 26, 43, 31), _s(45, 1, 45, 16)], 'the text ends «возрадовасѧ же фараѡнъ, и раби єгѡ» (45:16)'),
    ('34grthu.xml', 'Глава и, ст. д- аі.'):
        ([_s(50, 4, 50, 11)], 'the text is «Гдь даетъ мнѣ ѧзыкъ наꙋченіѧ» .. (50:4-11)'),
    ('35grfr.xml', 'Глава и, ст. д- аі.'):
        ([_s(50, 4, 50, 11)], 'the text is «Гдь даетъ мнѣ ѧзыкъ наꙋченіѧ» .. (50:4-11)'),
    ('36grsat.xml', 'Гл. а, ст. а- ѕі. Гл. в, ст. а-г.'):
        ([_s(1, 1, 1, 16), _s(2, 1, 2, 11), _s(3, 1, 3, 10), _s(4, 1, 4, 11)],
         'the text runs on after «Млтва: [Гл. в, ст. д-аі. Гл. г, ст. а-і. Гл. д, ст. а-аі.]» '
         'to the end of the book (4:11)'),
}


def parse_ot_bracket(text):
    """«Глава а, ст. ѳі -ла. Глава в, ст. а-г.» -> [((1, 19), (1, 31)), ((2, 1), (2, 3))]."""
    spans = []
    for m in re.finditer(r'(?:Глава|Гл\.|глава|гл\.)\s*([%s\-]{1,4})\s*,?\s*(?:ст\.?)?\s*'
                         r'([%s]{1,3})(?:\s*-\s*([%s]{1,3}))?'
                         % ((cubooks.NUMCH,) * 3), text):
        ch = slav_num(m.group(1).replace('-', ''))
        v1 = slav_num(m.group(2))
        v2 = slav_num(m.group(3)) if m.group(3) else v1
        if None in (ch, v1, v2) or v2 < v1:
            raise ValueError('bracket not understood: %r' % text)
        if spans and spans[-1][1][0] == ch and spans[-1][1][1] + 1 == v1:
            spans[-1] = (spans[-1][0], (ch, v2))     # «2:1-3», «2:4-11» are 2:1-11
        else:
            spans.append(((ch, v1), (ch, v2)))
    return spans


def _triod_paragraphs(path):
    """[(text, starts_with_rubric)] of a Triodion chapter: the text of each paragraph with
    its footnotes left out; a paragraph «starts with a rubric» when its first red text is
    more than an initial letter."""
    xml = open(path, encoding='utf-8').read()
    xml = re.sub(r'<footnote.*?</footnote>', '', xml, flags=re.S)
    out = []
    for p in re.findall(r'<p[^>]*>(.*?)</p>', xml, flags=re.S):
        first = re.match(r'\s*<red>(.*?)</red>', p, flags=re.S)
        rubric = bool(first and len(norm(re.sub(r'<[^>]*>', '', first.group(1))).strip()) > 2)
        t = re.sub(r'\s+', ' ', norm(re.sub(r'<[^>]*>', '', p))).strip()
        if t:
            out.append((t, rubric))
    return out


def triodion_ot(root=cubooks.CU_BOOKS):
    """[(file, book, spans, bracket text, opening words, closing words)] in the book's order."""
    folder = os.path.join(root, 'PostnayaTriod1992', 'chapters')
    out = []
    for f in sorted(os.listdir(folder)):
        paras = _triod_paragraphs(os.path.join(folder, f))
        for i, (t, rubric) in enumerate(paras):
            for h in _OT_HEAD.finditer(t):
                rest = t[h.end():]
                brackets = re.findall(r'\[([^\]]*(?:Глава|Гл\.)[^\]]*)\]', rest)
                body = []
                j = i + 1
                if j < len(paras):      # the reading's first paragraph (its incipit may be red)
                    body.append(paras[j][0])
                    j += 1
                while j < len(paras) and not paras[j][1]:
                    body.append(paras[j][0])
                    j += 1
                if j < len(paras) and not brackets:
                    # «Чтецъ: Притчеи чтеніе. Діаконъ: Вонмемъ. [Глава в, ст. а-кв]»
                    brackets = re.findall(r'\[([^\]]*(?:Глава|Гл\.)[^\]]*)\]', rest)
                text = ' '.join(body)
                brackets += re.findall(r'\[([^\]]*(?:Глава|Гл\.)[^\]]*)\]', text)
                if not brackets:
                    continue    # a reading «писанъ» elsewhere, or one without a reference
                name = h.group(1)
                book = next(v for k, v in OT_BOOKS if k in name)
                spans = []
                for b in brackets:
                    fixed = OT_FIXES.get((f, b))
                    for s in (fixed[0] if fixed else parse_ot_bracket(b)):
                        if spans and spans[-1][1][0] == s[0][0] and spans[-1][1][1] + 1 == s[0][1]:
                            spans[-1] = (spans[-1][0], s[1])
                        elif spans and spans[-1][1][0] + 1 == s[0][0] and s[0][1] == 1:
                            # «Глава мз, ст. зі-кв. Глава мѳ, ст. а-д»: the book names
                            # the next chapter because the reading runs on into it.
                            spans[-1] = (spans[-1][0], s[1])
                        else:
                            spans.append(s)
                words = re.sub(r'\[[^\]]*\]', ' ', text).split()
                out.append((f, book, spans, '; '.join(brackets), ' '.join(words[:10]),
                            ' '.join(words[-10:])))
    return out
