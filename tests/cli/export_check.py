#!/usr/bin/python3
"""Checks the exports of velmar32-cli with independent readers.

  export_check.py CLI PROGRAM_DIR WORK_DIR

- `calendar --ics`: parsed by python3-icalendar: one event a day over a leap
  year and across a year end, unique UIDs, consecutive all-day dates,
  CRLF lines of at most 75 octets, a summary and a description on every day.
- `--html` of the document commands: parsed by html5lib as HTML5 without a
  parse error, lang="ru", a title, and the same text as the text output.
Exit status 0 passed, 1 failed, 77 skipped (a reader is missing).
"""
import datetime
import re
import subprocess
import sys

try:
    import html5lib
    import icalendar
except ImportError as missing:
    print("SKIP:", missing)
    sys.exit(77)

cli, program, work = sys.argv[1:4]
failures = []


def run(*args):
    result = subprocess.run([cli, "--dir", program, *args], capture_output=True)
    if result.returncode != 0:
        raise SystemExit("velmar32-cli %s: status %d\n%s" % (" ".join(args), result.returncode,
                                                            result.stderr.decode(errors="replace")))
    return result.stdout


def check(condition, message):
    if not condition:
        failures.append(message)


def check_ics(first, last):
    path = "%s/export_%s.ics" % (work, first)
    run("calendar", first, last, "--ics", "-o", path)
    data = open(path, "rb").read()
    lines = data.split(b"\r\n")
    check(lines[-1] == b"", "the file does not end with CRLF")
    check(b"\n" not in data.replace(b"\r\n", b""), "a line ends without CR")
    check(max(len(line) for line in lines) <= 75, "a line is longer than 75 octets")
    calendar = icalendar.Calendar.from_ical(data)
    events = list(calendar.walk("VEVENT"))
    start = datetime.date.fromisoformat(first)
    end = datetime.date.fromisoformat(last)
    days = (end - start).days + 1
    check(len(events) == days, "%d events for %d days" % (len(events), days))
    check(len({str(e["UID"]) for e in events}) == len(events), "UIDs repeat")
    for n, event in enumerate(events):
        day = start + datetime.timedelta(days=n)
        check(event["DTSTART"].dt == day and type(event["DTSTART"].dt) is datetime.date,
              "event %d starts %s, not on the all-day date %s" % (n, event["DTSTART"].dt, day))
        check(event["DTEND"].dt == day + datetime.timedelta(days=1), "event %d ends %s" % (n, event["DTEND"].dt))
        check(str(event["UID"]) == "velmar32-%s@velmar32.example.org" % day.strftime("%Y%m%d"),
              "UID of %s is %s" % (day, event["UID"]))
        check(str(event["SUMMARY"]).strip() != "", "no summary on %s" % day)
        check(re.match(r"\d{1,2} \w+ ст\.ст\.\n", str(event["DESCRIPTION"])) is not None,
              "the description of %s does not start with the old-style date" % day)
        check("\\" not in str(event["SUMMARY"]) + str(event["DESCRIPTION"]), "RTF markup left on %s" % day)
    return events


events = check_ics("2024-01-01", "2024-12-31")
check(any(e["DTSTART"].dt == datetime.date(2024, 2, 29) for e in events), "no event on 29 February 2024")
by_day = {e["DTSTART"].dt: e for e in events}
nativity = by_day[datetime.date(2024, 1, 7)]
check(str(nativity["SUMMARY"]).startswith("Рождество Господа Бога"), "7 January: %s" % nativity["SUMMARY"])
check("25 Декабря ст.ст." in str(nativity["DESCRIPTION"]), "7 January is not 25 December old style")
pascha = by_day[datetime.date(2024, 5, 5)]
check(str(pascha["SUMMARY"]) == "Пасха. Светлое Христово Воскресение", "Pascha 2024: %s" % pascha["SUMMARY"])
def categories(event):
    found = event.get("CATEGORIES")
    if found is None:
        return []
    return [str(c) for one in (found if isinstance(found, list) else [found]) for c in one.cats]


lent = [e for e in events if "Великий пост" in categories(e)]
check(len(lent) == 48, "%d days of Great Lent in 2024" % len(lent))
check_ics("2023-12-25", "2024-01-10")

# HTML of the document commands.
for args, text_args in [
    (("calendar", "2024-03-18", "2024-03-24", "--html"), ("calendar", "2024-03-18", "2024-03-24")),
    (("paschalion", "2020", "2030", "--html"), ("paschalion", "2020", "2030")),
    (("day", "2024-01-07", "--html"), ("day", "2024-01-07")),
    (("search", "Николая", "--year", "2024", "--html"), ("search", "Николая", "--year", "2024")),
]:
    page = run(*args)
    parser = html5lib.HTMLParser(strict=True, namespaceHTMLElements=False)
    try:
        tree = parser.parse(page)
    except Exception as error:  # html5lib raises ParseError in strict mode
        failures.append("%s: not HTML5: %s" % (" ".join(args), error))
        continue
    check(tree.get("lang") == "ru", "%s: no lang=ru" % args[0])
    title = tree.find("head/title")
    check(title is not None and title.text, "%s: no title" % args[0])
    body = "".join(tree.find("body").itertext())
    text = run(*text_args).decode()
    squash = lambda s: re.sub(r"\s+", "", s)
    check(squash(body) == squash(text), "%s: the page's text differs from the text output" % args[0])
    if args[0] == "calendar":
        check(b"color:#700070" in page and b"color:#800000" in page and b"color:#ff0000" in page,
              "calendar: the Lenten, Sunday and sign colours are missing")
        check(b"font-weight:bold" in page, "calendar: no bold")
    if args[0] == "paschalion":
        check(tree.find("body/table") is not None, "paschalion: no table")

for failure in failures[:30]:
    print("FAIL:", failure)
print("%d failure(s)" % len(failures) if failures else "PASS")
sys.exit(1 if failures else 0)
