#!/usr/bin/env python3
"""A draft of dbase/Names.db from the month files of the menologion.

Reads data/dbase/January.db .. December.db (Windows-1251), finds the given
names of the saints in the entries (the capitalised words after a title such
as "Прп.", "Мчч.", "Сщмч.", after "и", "," or ":" in a list of saints, or
after a rank such as "схимонаха") and the icons of the Theotokos (entries
of the class "i" and the entries naming an "иконы Божией Матери"), proposes
the nominative and the kind (male, female) of each name and prints the
sections of Names.db with the forms found, one name a line, followed by the
words it could not place.

The draft is where the file starts, not the file: every line is checked by
hand (the nominative, the kind, and that each form is the name and not a
surname or a place), and the file is edited by hand from then on. Run it
again after the month files change and compare:

    python3 scripts/names_draft.py > /tmp/names.txt
    python3 scripts/names_draft.py --check data/dbase/Names.db

With --check, prints the name forms of the month files that Names.db lacks
and the forms of Names.db that no month file holds.
"""

import argparse
import collections
import os
import re
import sys

MONTHS = ["January", "February", "March", "April", "May", "June", "July",
          "August", "September", "October", "November", "December"]

# Titles of saints (lower case, without the dot) and the kind they give.
MALE_TITLES = {"ап", "апп", "кн", "вел", "свящ", "прор", "мч", "мчч", "сщмч", "сщмчч", "вмч", "свт",
               "свтт", "прмч", "прмчч", "исп", "свщисп", "прав", "блгв", "равноап",
               "прпп", "сщисп", "архиеп", "еп", "митр", "патр", "архим", "игум",
               "иером", "протоиер", "свв", "св", "прп", "блж", "страстотерпцев",
               "страстотерпца", "бессребреников", "юродивого"}
FEMALE_TITLES = {"мц", "мцц", "вмц", "прмц", "прмцц"}
# Words after which a given name stands.
RANKS = {"схимонаха", "схимонахини", "монахини", "монаха", "иеромонаха",
         "иеромонахов", "иеродиакона", "диакона", "пресвитера", "пресвитеров",
         "архиепископа", "епископа", "игумена", "игумении", "послушника",
         "послушницы", "инокини", "инока", "схиигумена", "схиархимандрита",
         "протоиерея", "царицы", "царя", "князя", "княгини", "княжны",
         "царевича", "отрока", "девы", "мученика", "мученицы", "иеросхимонаха",
         "архимандрита", "матери", "отца", "сына", "дочери", "сестры", "брата",
         "супруги", "жены", "ученика", "учеников", "сыновей", "дочерей",
         "сестер", "братьев", "родителей", "их", "его", "ее", "с", "со", "ним",
         "нею", "ней", "нимы"}
# Capitalised words that are never given names.
NOT_NAMES = {"Божией", "Матери", "Господня", "Господа", "Иисуса", "Христа",
             "Пресвятой", "Богородицы", "Собор", "Святых", "Святого", "Перенесение",
             "Обретение", "Воспоминание", "Преставление", "Память", "Иконы",
             "Икона", "Спаса", "Креста", "Руси", "России", "Церкви", "Русской",
             "Христова", "Предтечи", "Крестителя", "Богослова"}

CYRILLIC_UPPER = "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ"
# Endings of adjectives (places, epithets), not of given names.
ADJECTIVE = re.compile(r"(ого|его|ому|ему|ых|их|ой|ым|ими|ыми|ская|ский|цкий|ное|ные)$")


def read_month(path):
    """(day, code, text) of every entry line of a month file."""
    day = 0
    with open(path, "rb") as f:
        for raw in f.read().decode("cp1251").split("\r\n"):
            if not raw or raw[0] in " ;":
                continue
            if raw[0] == "[":
                m = re.match(r"\[(\d+)\]", raw)
                day = int(m.group(1)) if m else 0
                continue
            if "=" in raw:
                yield day, raw[0], raw[raw.index("=") + 1:]


def plain(text):
    """The entry text without its RTF markup."""
    return re.sub(r"\\[a-z]+-?\d* ?", "", text).replace("{", "").replace("}", "")


def tokens(text):
    """Words and the punctuation between them."""
    return re.findall(r"[A-Za-zА-Яа-яЁё]+(?:-[А-Яа-яЁё]+)*|[^\sA-Za-zА-Яа-яЁё]", text)


def nominative(form, female):
    """The nominative a genitive form of a given name most likely has."""
    vowels = "аеиоуыэюя"
    if female:
        if form.endswith("ии"):
            return form[:-1] + "я"
        if form.endswith("ви") and form[:-2].endswith("о"):   # Любови
            return form[:-3] + "овь"
        if form.endswith("ы"):
            return form[:-1] + "а"
        if form.endswith("и") and form[-2:-1] in "кгхжшчщ":
            return form[:-1] + "а"
        if form.endswith("и"):
            return form[:-1] + "я"
        return form
    if form.endswith("ии"):
        return form[:-1] + "я"                              # Илии, Захарии
    if form.endswith("ия"):
        return form[:-1] + "й"                              # Сергия
    if form.endswith(("ея", "ая", "оя", "уя")):
        return form[:-1] + "й"                              # Андрея, Николая
    if form.endswith("я"):
        return form[:-1] + "ь"                              # Игоря, Лазаря
    if form.endswith("ы"):
        return form[:-1] + "а"                              # Саввы
    if form.endswith("и") and form[-2:-1] in "кгхжшчщ":
        return form[:-1] + "а"                              # Луки
    if form.endswith("а") and len(form) > 3 and form[-2] not in vowels:
        return form[:-1]                                    # Петра, Иоанна
    return form


def kind_of(title_words, form):
    """'m', 'f' or '?' from the title before the name and the form's ending."""
    for t in title_words:
        if t in FEMALE_TITLES:
            return "f"
    if form.endswith(("ы", "и")) and not form.endswith("ии"):
        return "?"
    if form.endswith("ии"):
        return "?"
    for t in title_words:
        if t in MALE_TITLES:
            return "m"
    return "m" if form.endswith(("а", "я")) else "?"


def person_names(entries):
    """{form: [(title words, kind hint)]} of the given names in the entries."""
    found = collections.defaultdict(list)
    for _, code, text in entries:
        if code == "i":
            continue
        words = tokens(plain(text))
        titles = []
        paren = 0
        for i, w in enumerate(words):
            if w == "(":
                paren += 1
                continue
            if w == ")":
                paren = max(0, paren - 1)
                continue
            if paren:
                continue
            low = w.lower()
            nxt = words[i + 1] if i + 1 < len(words) else ""
            if nxt == "." and (low in MALE_TITLES or low in FEMALE_TITLES):
                titles.append(low)
                continue
            if not (w[0] in CYRILLIC_UPPER and len(w) > 2) or w in NOT_NAMES:
                continue
            prev = words[i - 1] if i > 0 else ""
            prev2 = words[i - 2].lower() if i > 1 else ""
            after_title = prev == "." and (prev2 in MALE_TITLES or prev2 in FEMALE_TITLES)
            if after_title or prev in (",", ":") or prev.lower() in ("и",) or prev.lower() in RANKS:
                if "-" in w or ADJECTIVE.search(w):
                    continue
                found[w].append(tuple(titles[-2:]))
    return found


ICON = r"(?:иконы|иконе|икон) (?:Божией Матери|Пресвятой Богородицы)"


def icon_nominative(form):
    """Казанской -> Казанская, Курской-Коренной -> Курская-Коренная."""
    def one(p):
        if p.endswith("ой"):
            return p[:-2] + "ая"
        if p.endswith("ей"):
            return p[:-2] + "яя"
        return p
    return "-".join(one(p) for p in form.split("-"))


def icon_names(entries):
    """{nominative: set of forms} of the icons of the Theotokos: the entries
    of the class "i" and those that name an icon of the Theotokos."""
    icons = collections.defaultdict(set)
    for _, code, text in entries:
        t = plain(text)
        if code != "i" and not re.search(ICON, t):
            continue
        before = re.search(r"([А-ЯЁ][а-яё]+(?:-[А-ЯЁа-яё][а-яё]+)*)\s+" + ICON, t)
        quoted = re.search(ICON + r"(?:, именуемой)? «([^»]+)»", t, re.I)
        if before and before.group(1) not in ("Иконы", "Явление", "Сретение", "Празднование"):
            icons[icon_nominative(before.group(1))].add(before.group(1))
        elif quoted:
            icons[quoted.group(1)].add(quoted.group(1))
    return icons


def read_names_db(path):
    """{(section, name): forms} of an existing Names.db."""
    names = {}
    section = ""
    with open(path, "rb") as f:
        for raw in f.read().decode("cp1251").split("\r\n"):
            if not raw or raw[0] in " ;":
                continue
            if raw[0] == "[":
                section = raw[1:raw.index("]")].split()[0] if "]" in raw else ""
                continue
            if "=" in raw:
                name, forms = raw.split("=", 1)
                names[(section, name.strip())] = [x.strip() for x in forms.split(",") if x.strip()]
    return names


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--dbase", default=os.path.join(os.path.dirname(__file__), "..", "data", "dbase"))
    parser.add_argument("--check", metavar="NAMES_DB")
    args = parser.parse_args()
    entries = []
    for m in MONTHS:
        entries.extend(read_month(os.path.join(args.dbase, m + ".db")))

    persons = person_names(entries)
    icons = icon_names(entries)

    if args.check:
        names = read_names_db(args.check)
        listed = {f for forms in names.values() for f in forms}
        text = " ".join(plain(t) for _, _, t in entries)
        words = set(re.findall(r"[А-Яа-яЁё]+(?:-[А-Яа-яЁё]+)*|«[^»]+»", text))
        missing = sorted(f for f in persons if f not in listed)
        unused = sorted(f for f in listed if f not in words and f"«{f}»" not in words and f not in text)
        print("; forms of the month files that Names.db lacks:", len(missing))
        for f in missing:
            print(f"{f}\t{len(persons[f])}")
        print("; forms of Names.db no month file holds:", len(unused))
        for f in unused:
            print(f)
        return 0

    male = collections.defaultdict(set)
    female = collections.defaultdict(set)
    unsure = collections.defaultdict(set)
    for form, uses in persons.items():
        kinds = {kind_of(t, form) for t in uses}
        if kinds == {"f"}:
            female[nominative(form, True)].add(form)
        elif "f" not in kinds and "m" in kinds:
            male[nominative(form, False)].add(form)
        else:
            unsure[form].add(str(len(uses)))
    out = sys.stdout
    out.write("[Мужские имена]\n")
    for n in sorted(male):
        out.write(f"{n}={', '.join(sorted(male[n]))}\n")
    out.write("\n[Женские имена]\n")
    for n in sorted(female):
        out.write(f"{n}={', '.join(sorted(female[n]))}\n")
    out.write("\n[Иконы Божией Матери]\n")
    for n in sorted(icons):
        out.write(f"{n}={', '.join(sorted(icons[n]))}\n")
    out.write("\n; Не распознаны (муж. или жен.?):\n")
    for f in sorted(unsure):
        out.write(f";? {f} ({nominative(f, False)} / {nominative(f, True)})\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
