"""Writing and reading the dbase files: Windows-1251 text with CR LF line ends, lines of at
most 1022 bytes; the file is written whole to a temporary file and then put in place.
Standard library only."""
import os
import re
import tempfile

MAX_LINE = 1022


def write(path, lines):
    """Writes the lines (str, without line ends) as Windows-1251 with CR LF."""
    data = bytearray()
    for n, line in enumerate(lines, 1):
        if '\r' in line or '\n' in line:
            raise ValueError('%s: line %d holds a line end' % (path, n))
        b = line.encode('cp1251')      # raises on a character the code page lacks
        if len(b) > MAX_LINE:
            raise ValueError('%s: line %d is %d bytes long' % (path, n, len(b)))
        data += b + b'\r\n'
    folder = os.path.dirname(os.path.abspath(path))
    fd, tmp = tempfile.mkstemp(dir=folder, prefix='.tmp-')
    try:
        with os.fdopen(fd, 'wb') as f:
            f.write(data)
        os.chmod(tmp, 0o644)
        os.replace(tmp, path)
    except BaseException:
        if os.path.exists(tmp):
            os.unlink(tmp)
        raise


def read(path):
    """[(line number, section header or None, key, value)] of a dbase file's entries, and
    the list of its section headers in order: [(line number, name, label)]."""
    raw = open(path, 'rb').read()
    text = raw.decode('cp1251')
    entries, sections = [], []
    section = None
    for n, line in enumerate(text.split('\r\n'), 1):
        if not line or line[0] == ' ' or line[0] == ';':
            continue
        if line[0] == '[':
            m = re.match(r'^\[([^\]]*)\]\s*(.*)$', line)
            if not m:
                raise ValueError('%s:%d: bad section header' % (path, n))
            section = m.group(1)
            sections.append((n, section, m.group(2)))
            continue
        if '=' not in line:
            raise ValueError('%s:%d: an entry without «=»' % (path, n))
        key, value = line.split('=', 1)
        entries.append((n, section, key, value))
    return entries, sections


def write_table(src, out_path, header, keys, section_re):
    """Writes a dbase file from one of our hand-checked UTF-8 tables (src): its own comment
    header (before the first section) gives way to header; sections must match section_re,
    entries have a key of keys; a line with a piece marked "~" (a reading «от полу» whose
    first verse is not yet checked) is left out and listed on stderr."""
    import sys
    name = os.path.basename(src)
    out, dropped = [], []
    section = None
    with open(src, encoding='utf-8') as f:
        lines = f.read().split('\n')
    for n, line in enumerate(lines, 1):
        if not line or line[0] in ' ;':
            if line.startswith(';') and section is None:
                continue          # the table's own header stays in the table
            out.append(line)
            continue
        if line.startswith('['):
            if not re.match(section_re, line):
                raise SystemExit(f'{name}:{n}: bad section header: {line}')
            section = line
            out.append(line)
            continue
        key, sep, value = line.partition('=')
        if not sep or key not in keys or section is None:
            raise SystemExit(f'{name}:{n}: bad entry: {line}')
        if '~' in value:
            dropped.append(f'{section} {line}')
            continue
        out.append(line)
    for line in out:
        try:
            line.encode('cp1251')
        except UnicodeEncodeError as e:
            raise SystemExit(f'{name}: a character Windows-1251 lacks ({line[e.start]!r}) in: {line}')
    text = header + '\n' + '\n'.join(out).strip('\n')
    write(out_path, text.split('\n'))
    print(f'{out_path}: {sum(1 for l in out if l.startswith("["))} sections')
    for d in dropped:
        print('left out (from half, not checked):', d, file=sys.stderr)
