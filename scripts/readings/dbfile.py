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
