#!/usr/bin/env python3
"""Mutation sweep over the Qt-free core (driven by tests/mutants/run.sh).

Each mutant is one small change to one source file: a comparison moved by one
(< to <=, == to !=), && and || swapped, an arithmetic or bit operator
swapped, a ! dropped, an integer or character constant one off, true and
false swapped, one character of a string literal changed, the number of an
RTF control word in a literal changed (a colour code \\cf0 becomes \\cf1), a
statement removed. The sweep applies the mutants one at a time, rebuilds the
test programs of the core in build-mutants/ (Qt off) and runs them; a mutant
is killed when a test program fails, crashes or runs out of time, and
survives when every test program passes. The source is restored after every
mutant, on Ctrl+C too.

Mutants are chosen deterministically: every possible mutant has an id, a
hash of its file, the text of its line and the change, so an id stays the
same while its line is unchanged. A run takes the N mutants whose hashes,
seeded, come first, each line of code weighing the same whatever the number
of mutants it offers. Survivors whose ids tests/mutants/equivalent.md lists
are equivalent mutants; any other survivor makes the run fail.
"""

import argparse
import hashlib
import math
import os
import re
import shutil
import signal
import subprocess
import sys
import time
from dataclasses import dataclass
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
BUILD = ROOT / "build-mutants"
RESTORE = BUILD / "restore"
EQUIVALENT = ROOT / "tests" / "mutants" / "equivalent.md"
DEFAULT_TARGETS = ["calendar", "texts", "reports", "app/settings"]

# The test programs of the core, the likeliest killers of a folder's mutants
# first; a mutant is built into one program at a time and stops at the first
# that fails.
TEST_PROGRAMS = ["calendar_tests", "texts_tests", "rtf_tests", "reports_tests", "ical_tests", "app_tests"]
FIRST_PROGRAMS = {
    "reports/ical_": ["ical_tests"],
    "calendar": ["calendar_tests", "reports_tests"],
    "texts/rtf_": ["rtf_tests"],
    "texts": ["texts_tests", "reports_tests"],
    "reports": ["reports_tests", "texts_tests"],
    "app": ["app_tests", "texts_tests"],
}


# ---------------------------------------------------------------------------
# Finding mutants

TOKEN = re.compile(
    r"""
    (?P<comment>//[^\n]*|/\*.*?\*/)
  | (?P<string>(?:u8|u|U|L)?"(?:\\.|[^"\\\n])*"(?:_[A-Za-z]\w*)?)
  | (?P<char>'(?:\\.|[^'\\\n])+')
  | (?P<number>0[xX][0-9A-Fa-f']+[uUlL]*|\d[\d']*(?:\.\d+)?(?:[eE][+-]?\d+)?[uUlLfF]*)
  | (?P<ident>[A-Za-z_]\w*)
  | (?P<op>\+\+|--|->|<<=|>>=|<=>|<<|>>|<=|>=|==|!=|&&|\|\||\+=|-=|\*=|/=|%=|&=|\|=|\^=|::
         |[-+*/%<>=!&|^~?:;,.(){}\[\]\#])
  | (?P<space>\s+)
  | (?P<other>.)
    """,
    re.S | re.X,
)

# Binary operators (written with a blank on each side) and their mutants.
BINARY = {
    "<": ["<="], "<=": ["<"], ">": [">="], ">=": [">"], "==": ["!="], "!=": ["=="],
    "&&": ["||"], "||": ["&&"], "+": ["-"], "-": ["+"], "*": ["/"], "/": ["*"], "%": ["/"],
    "<<": [">>"], ">>": ["<<"], "&": ["|"], "|": ["&"],
}
# Operators mutated wherever they stand.
ANYWHERE = {"++": ["--"], "--": ["++"], "+=": ["-="], "-=": ["+="]}

RTF_NUMBER = re.compile(r"\\\\([a-z]+)(-?\d+)")
CYRILLIC_CASE = {chr(c): chr(c + 32) for c in range(0x410, 0x430)}
CYRILLIC_CASE.update({v: k for k, v in CYRILLIC_CASE.items()})
CYRILLIC_CASE.update({"Ё": "ё", "ё": "Ё"})
DECLARATION = re.compile(
    r"^(?:const\s+|static\s+|constexpr\s+|thread_local\s+)*[A-Za-z_][\w:]*(?:<[^;()]*>)?[\s*&]+[A-Za-z_]\w*\s*(?:[=;({\[]|$)"
)
STATEMENT = re.compile(r"^(?:\+\+|--)?[A-Za-z_][\w:.\[\]>-]*\s*(?:\(|=|\+=|-=|\+\+|--|\[)|^(?:break|continue);$")


@dataclass
class Mutant:
    path: str      # relative to the source root
    line: int      # 1-based
    start: int     # offset in the file
    end: int
    replacement: str
    operator: str
    change: str    # what the report shows
    key: str = ""

    @property
    def id(self) -> str:
        return hashlib.sha1(self.key.encode()).hexdigest()[:8]


def source_files(targets):
    files = []
    for target in targets:
        target = target.rstrip("/")
        path = ROOT / target
        if path.is_dir():
            found = sorted(p for p in path.rglob("*") if p.suffix in (".cpp", ".h"))
        elif path.is_file():
            found = [path]
        else:
            found = sorted(p for p in path.parent.glob(path.name + "*") if p.suffix in (".cpp", ".h"))
        if not found:
            sys.exit(f"mutants: nothing to mutate in {target}")
        for p in found:
            text = p.read_text(encoding="utf-8")
            if "/forms/" in p.as_posix() or re.search(r"#include\s*<Q", text):  # Qt: not the core
                continue
            rel = p.relative_to(ROOT).as_posix()
            if rel not in files:
                files.append(rel)
    return files


def string_mutants(literal):
    """(replacement literal, change) pairs for one string literal token."""
    m = re.match(r'((?:u8|u|U|L)?")(.*)("(?:_[A-Za-z]\w*)?)$', literal, re.S)
    prefix, body, suffix = m.group(1), m.group(2), m.group(3)
    units = re.findall(r"\\.|.", body, re.S)  # an escape sequence is one unit
    out = []
    letters = [i for i, u in enumerate(units) if len(u) == 1 and (u.isalnum())]
    if letters:
        picks = [letters[len(letters) // 2]]
        if len(units) > 16 and letters[-1] != picks[0]:
            picks.append(letters[-1])
        for i in picks:
            u = units[i]
            if u.isdigit():
                new = str((int(u) + 1) % 10)
            elif u in CYRILLIC_CASE:
                new = CYRILLIC_CASE[u]
            elif u.isascii():
                new = u.swapcase()
            else:
                continue
            changed = units[:i] + [new] + units[i + 1:]
            out.append(prefix + "".join(changed) + suffix)
    elif units:
        out.append(prefix + "".join(units[1:]) + suffix)
    else:
        out.append(prefix + "x" + suffix)
    for m in RTF_NUMBER.finditer(body):
        word, number = m.group(1), int(m.group(2))
        new = (number + 1) % 5 if word == "cf" else number + 1
        changed = body[: m.start(2)] + str(new) + body[m.end(2):]
        out.append(prefix + changed + suffix)
    return [(r, f"{literal} -> {r}") for r in dict.fromkeys(out) if r != literal]


def char_mutant(literal):
    body = literal[1:-1]
    swaps = {"\\n": "\\r", "\\r": "\\n", "\\0": "\\1", "\\t": " ", "\\\\": "/", "\\'": '"'}
    if body in swaps:
        new = swaps[body]
    elif len(body) == 1 and 32 <= ord(body) < 126:
        new = chr(ord(body) + 1)
        if new in "\\'":
            new = chr(ord(body) + 2)
    else:
        return None
    return f"'{new}'"


def number_mutants(text):
    m = re.match(r"(0[xX][0-9A-Fa-f']+|\d[\d']*)([uUlL]*)$", text)
    if not m:
        return []  # floating point: none in the core
    digits, suffix = m.group(1).replace("'", ""), m.group(2)
    value = int(digits, 16) if digits[:2] in ("0x", "0X") else int(digits, 8 if len(digits) > 1 and digits[0] == "0" else 10)
    width = len(digits) - 2
    fmt = (lambda v: "0x%0*X" % (width, v)) if digits[:2] in ("0x", "0X") else str
    out = [fmt(value + 1) + suffix]
    if value > 0:
        out.append(fmt(value - 1) + suffix)
    return out


def find_mutants(rel):
    text = (ROOT / rel).read_text(encoding="utf-8")
    line_starts = [0] + [m.end() for m in re.finditer("\n", text)]
    lines = text.split("\n")

    def line_of(offset):
        lo, hi = 0, len(line_starts) - 1
        while lo < hi:
            mid = (lo + hi + 1) // 2
            if line_starts[mid] <= offset:
                lo = mid
            else:
                hi = mid - 1
        return lo + 1

    tokens = [(m.lastgroup, m.start(), m.end(), m.group()) for m in TOKEN.finditer(text)]
    preprocessor = {i + 1 for i, l in enumerate(lines) if l.lstrip().startswith("#")}
    code = [t for t in tokens if t[0] not in ("comment", "space")]
    found = []

    def add(start, end, replacement, operator, change):
        found.append(Mutant(rel, line_of(start), start, end, replacement, operator, change))

    for k, (kind, start, end, value) in enumerate(code):
        if line_of(start) in preprocessor:
            continue
        before = text[start - 1] if start > 0 else "\n"
        after = text[end] if end < len(text) else "\n"
        spaced = before in " \t\n" and after in " \t\n"
        previous = code[k - 1][3] if k > 0 else ""
        following = code[k + 1][3] if k + 1 < len(code) else ""
        if kind == "op":
            if value in BINARY and spaced and previous not in ("operator", "template"):
                for r in BINARY[value]:
                    add(start, end, r, "operator", f"'{value}' -> '{r}'")
            elif value in ANYWHERE:
                for r in ANYWHERE[value]:
                    add(start, end, r, "operator", f"'{value}' -> '{r}'")
            elif value == "!" and following not in ("=",):
                add(start, end, "", "negation", "'!' removed")
        elif kind == "number":
            if k >= 3 and previous == "[" and following == "]" and code[k - 3][3] == "char":
                continue  # the size of a character buffer
            if value == "0" and previous == "=" and code[k - 2][3] in (")", "const", "override"):
                continue  # a pure virtual function
            for r in number_mutants(value):
                add(start, end, r, "constant", f"{value} -> {r}")
        elif kind == "char":
            r = char_mutant(value)
            if r:
                add(start, end, r, "constant", f"{value} -> {r}")
        elif kind == "ident" and value in ("true", "false"):
            r = "false" if value == "true" else "true"
            add(start, end, r, "constant", f"{value} -> {r}")
        elif kind == "string":
            if previous in ("throw", "static_assert", "extern", "operator") or \
                    (k >= 2 and code[k - 2][3] == "static_assert"):
                continue
            for r, change in string_mutants(value):
                add(start, end, r, "literal", change)

    # Removed statements: whole single-line statements that are no
    # declaration, return or body of a braceless if/for/while.
    previous_code = ""
    depth = 0
    for number, raw in enumerate(lines, start=1):
        stripped = re.sub(r"//.*$", "", raw).strip() if '"' not in raw else raw.strip()
        if number in preprocessor or not stripped:
            continue
        starts_fresh = depth == 0 and (previous_code.endswith((";", "{", "}", ":")) or previous_code == "")
        balanced = stripped.count("(") == stripped.count(")") and stripped.count("{") == stripped.count("}")
        if starts_fresh and balanced and stripped.endswith(";") and "{" not in stripped and \
                not stripped.startswith(("return", "case ", "default", "const ", "static ", "using ")) and \
                not re.match(r"^(void|int|long|bool|char|short|unsigned|auto|double|float)\b", stripped) and \
                not DECLARATION.match(stripped) and \
                (STATEMENT.match(stripped) or re.match(r"^(if|for|while) \(.*\) [^{]*;$", stripped)):
            start = line_starts[number - 1] + (len(raw) - len(raw.lstrip()))
            add(start, line_starts[number - 1] + len(raw), "", "statement", f"removed: {stripped}")
        depth += stripped.count("(") - stripped.count(")")
        if not stripped.startswith("//"):
            previous_code = stripped

    # Keys: file, operator, the text of the line (numbered among equal lines
    # of the file), the place in the line and the replacement.
    seen = {}
    occurrence = {}
    for number, raw in enumerate(lines, start=1):
        s = raw.strip()
        seen[s] = seen.get(s, 0) + 1
        occurrence[number] = seen[s]
    for m in found:
        raw = lines[m.line - 1]
        indent = len(raw) - len(raw.lstrip())
        column = m.start - line_starts[m.line - 1] - indent
        m.key = f"{rel}|{m.operator}|{raw.strip()}|{occurrence[m.line]}|{column}|{m.replacement}"
    return found


def choose(mutants, count, seed):
    """The count mutants whose seeded hashes come first, every line weighing
    the same (weighted sampling without replacement, Efraimidis-Spirakis)."""
    per_line = {}
    for m in mutants:
        per_line[(m.path, m.line)] = per_line.get((m.path, m.line), 0) + 1

    def score(m):
        h = int(hashlib.sha1(f"{seed}|{m.key}".encode()).hexdigest(), 16)
        u = (h + 1) / (2 ** 160 + 2)
        return -math.log(u) * per_line[(m.path, m.line)]

    chosen = sorted(mutants, key=score)[:count]
    return sorted(chosen, key=lambda m: (m.path, m.start, m.replacement))


# ---------------------------------------------------------------------------
# Running mutants

class Interrupted(Exception):
    pass


current_child = None


def run(command, cwd, timeout=None, log=None):
    """Runs a command in its own process group; (exit code or None on time-out, output)."""
    global current_child
    env = dict(os.environ, GTEST_COLOR="no", HOME=str(BUILD / "home"),
               XDG_STATE_HOME=str(BUILD / "home" / "state"), XDG_CONFIG_HOME=str(BUILD / "home" / "config"),
               TMPDIR=str(BUILD / "tmp"))
    current_child = subprocess.Popen(command, cwd=cwd, env=env, stdout=subprocess.PIPE,
                                     stderr=subprocess.STDOUT, start_new_session=True)
    try:
        output, _ = current_child.communicate(timeout=timeout)
        code = current_child.returncode
    except subprocess.TimeoutExpired:
        os.killpg(current_child.pid, signal.SIGKILL)
        output, _ = current_child.communicate()
        code = None
    finally:
        child, current_child = current_child, None
        if child.poll() is None:
            os.killpg(child.pid, signal.SIGKILL)
            child.wait()
    text = output.decode("utf-8", "replace")
    if log is not None:
        log.write(text)
    return code, text


def restore_all():
    """Puts back every source file that a mutant left changed."""
    if not RESTORE.is_dir():
        return
    for backup in sorted(p for p in RESTORE.rglob("*") if p.is_file()):
        target = ROOT / backup.relative_to(RESTORE)
        shutil.copyfile(backup, target)
        backup.unlink()
        print(f"mutants: restored {target.relative_to(ROOT)}", file=sys.stderr)


def apply(m):
    target = ROOT / m.path
    backup = RESTORE / m.path
    backup.parent.mkdir(parents=True, exist_ok=True)
    shutil.copyfile(target, backup)
    text = target.read_text(encoding="utf-8")
    target.write_text(text[: m.start] + m.replacement + text[m.end:], encoding="utf-8")


def restore(m):
    backup = RESTORE / m.path
    if backup.exists():
        shutil.copyfile(backup, ROOT / m.path)
        backup.unlink()


def configure(jobs):
    BUILD.mkdir(exist_ok=True)
    for d in ("home", "tmp"):
        (BUILD / d).mkdir(exist_ok=True)
    code, out = run(["nice", "-n", "15", "cmake", "-S", str(ROOT), "-B", str(BUILD), "-DVELMAR_GUI=OFF",
                     "-DVELMAR_TESTS=ON", "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
                     "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -DNDEBUG",
                     "-DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST"], ROOT)
    if code != 0:
        sys.exit("mutants: cmake failed\n" + out)


def build(program, jobs, log):
    code, out = run(["nice", "-n", "15", "cmake", "--build", str(BUILD), "--target", program,
                     "-j", str(jobs)], ROOT, log=log)
    return code == 0


def run_tests(program, timeout, log):
    """'passed', 'failed: <first failed test>', 'timeout' or 'crashed'."""
    code, out = run(["nice", "-n", "15", str(BUILD / "bin" / program), "--gtest_brief=1",
                     "--gtest_fail_fast"], BUILD / "tmp", timeout=timeout, log=log)
    if code is None:
        return "timeout"
    if code == 0:
        return "passed"
    failed = re.search(r"^\[  FAILED  \] ([\w/.]+)", out, re.M)
    if failed:
        return "failed: " + failed.group(1)
    return f"crashed (exit {code})"


def programs_for(path):
    for prefix, first in FIRST_PROGRAMS.items():
        if path.startswith(prefix):
            return first + [p for p in TEST_PROGRAMS if p not in first]
    return list(TEST_PROGRAMS)


def equivalent_ids():
    if not EQUIVALENT.exists():
        return {}
    ids = {}
    for line in EQUIVALENT.read_text(encoding="utf-8").splitlines():
        m = re.match(r"^\|\s*`?([0-9a-f]{8})`?\s*\|", line)
        if m:
            ids[m.group(1)] = line
    return ids


def sweep(chosen, args, log):
    """Runs the chosen mutants; the results and the minutes it took."""
    print("mutants: building and running the tests without mutants", flush=True)
    times = {}
    for program in TEST_PROGRAMS:
        if not build(program, args.jobs, log):
            sys.exit(f"mutants: {program} does not build without mutants (see {BUILD / 'mutants.log'})")
        began = time.monotonic()
        result = run_tests(program, None, log)
        times[program] = time.monotonic() - began
        if result != "passed":
            sys.exit(f"mutants: {program} fails without mutants: {result}")
    timeout = {p: args.timeout or max(30.0, 10 * t) for p, t in times.items()}

    equivalent = equivalent_ids()
    results = []
    began = time.monotonic()
    for number, m in enumerate(chosen, start=1):
        log.write(f"\n==== {m.id} {m.path}:{m.line} {m.change}\n")
        apply(m)
        try:
            status, detail = "survived", ""
            for program in programs_for(m.path):
                if not build(program, args.jobs, log):
                    status, detail = "stillborn", "does not build"
                    break
                outcome = run_tests(program, timeout[program], log)
                if outcome != "passed":
                    status, detail = "killed", f"{program}: {outcome}"
                    break
        finally:
            restore(m)
        if status == "survived" and m.id in equivalent:
            status = "equivalent"
        results.append((m, status, detail))
        print(f"[{number:3}/{len(chosen)}] {status:10} {m.id} {m.path}:{m.line}  {m.change}"
              + (f"  ({detail})" if detail else ""), flush=True)
    return results, (time.monotonic() - began) / 60


def main():
    parser = argparse.ArgumentParser(
        prog="tests/mutants/run.sh",
        description="Mutation sweep over the Qt-free core: applies small single changes one at a "
                    "time, rebuilds and runs the core's test programs, and reports the mutants "
                    "that survive.")
    parser.add_argument("targets", nargs="*", metavar="FOLDER|FILE",
                        help="folders, files or file prefixes to mutate (default: calendar texts "
                             "reports app/settings; Qt files are left out)")
    parser.add_argument("-n", "--count", type=int, default=250, help="number of mutants (default 250)")
    parser.add_argument("--all", action="store_true", help="every possible mutant of the targets")
    parser.add_argument("--seed", default="1", help="seed of the selection (default 1)")
    parser.add_argument("--only", default="", help="run only these mutant ids (comma-separated)")
    parser.add_argument("--list", action="store_true", help="list the chosen mutants and stop")
    parser.add_argument("-j", "--jobs", type=int, default=2, help="build jobs (default 2)")
    parser.add_argument("--timeout", type=float, default=0,
                        help="seconds a test program may run (default: ten times its time "
                             "without mutants, at least 30)")
    parser.add_argument("--restore-only", action="store_true", help=argparse.SUPPRESS)
    args = parser.parse_args()

    restore_all()
    if args.restore_only:
        return 0

    targets = args.targets or DEFAULT_TARGETS
    files = source_files(targets)
    every = [m for f in files for m in find_mutants(f)]
    if args.only:
        wanted = set(args.only.split(","))
        chosen = [m for m in every if m.id in wanted]
        missing = wanted - {m.id for m in chosen}
        if missing:
            sys.exit("mutants: no such mutant: " + ", ".join(sorted(missing)))
    elif args.all:
        chosen = every
    else:
        chosen = choose(every, args.count, args.seed)
    lines = len({(m.path, m.line) for m in every})
    print(f"mutants: {len(chosen)} of {len(every)} possible mutants on {lines} lines of {len(files)} files"
          f" (seed {args.seed})", flush=True)
    if args.list:
        for m in chosen:
            print(f"{m.id}  {m.path}:{m.line}  {m.change}")
        return 0

    configure(args.jobs)
    log = open(BUILD / "mutants.log", "w", encoding="utf-8")
    try:
        results, minutes = sweep(chosen, args, log)
    except KeyboardInterrupt:
        print("\nmutants: interrupted; the source is restored", file=sys.stderr)
        return 130
    finally:
        restore_all()
        log.close()

    count = {s: sum(1 for _, st, _ in results if st == s) for s in
             ("killed", "survived", "equivalent", "stillborn")}
    mutants = len(results) - count["stillborn"]
    report = BUILD / "mutants-report.txt"
    with open(report, "w", encoding="utf-8") as out:
        for m, status, detail in results:
            out.write(f"{status}\t{m.id}\t{m.path}:{m.line}\t{m.change}\t{detail}\n")
    print(f"\nmutants: {mutants} mutants ({count['stillborn']} more did not build and are not counted), "
          f"{count['killed']} killed, {count['equivalent']} equivalent, {count['survived']} survived "
          f"({minutes:.0f} min); every result in {report.relative_to(ROOT)}")
    if count["survived"]:
        print("Survivors (no test fails with the change; tests/mutants/equivalent.md doesn't list them):")
        for m, status, _ in results:
            if status == "survived":
                print(f"  {m.id}  {m.path}:{m.line}  {m.change}")
        return 1
    return 0


def interrupt(*_):
    raise KeyboardInterrupt


if __name__ == "__main__":
    signal.signal(signal.SIGTERM, interrupt)
    signal.signal(signal.SIGINT, signal.default_int_handler)  # even when started ignoring it
    sys.exit(main())
