#pragma once
// An RtfDocument as text: for a terminal, or plain.
//
// RenderRtfForTerminal prints every paragraph as one line (a \line break
// starts a new one) and a table's rows with their cells aligned in columns,
// padded by display width; with ansi set, bold, italic, underline and the
// text colours become SGR escapes (256-colour palette, black left to the
// terminal's own colour), reset at the end of each line. Control characters
// of the document never reach the terminal. PlainText is the bare text.

#include <cstddef>
#include <string>
#include <string_view>

#include "texts/rtf_reader.h"

namespace velmar {

// UTF-8 text for a terminal, every line ending in '\n'. Tabs are expanded to
// stops every 8 columns; table columns are separated by two blanks.
std::string RenderRtfForTerminal(const RtfDocument& document, bool ansi);

// UTF-8 text of the document: each paragraph followed by '\n' (with its
// tabs and line breaks as they are), each table row as one line of cells
// separated by '\t' (the paragraphs of a cell joined by a blank).
std::string PlainText(const RtfDocument& document);

// Plain UTF-8 text of an RTF fragment as the database files hold it
// (Windows-1251 with RTF markup, "\\b Обрезание\\b0"): the markup read,
// line breaks and tabs made blanks, trailing blanks dropped.
std::string FragmentPlainText(std::string_view cp1251Rtf);

// Columns a UTF-8 text takes in a terminal: one for most characters
// (Cyrillic included), none for combining marks and controls, two for East
// Asian wide characters. A malformed byte counts as one column.
std::size_t DisplayWidth(std::string_view utf8);

}  // namespace velmar
