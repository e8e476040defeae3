#pragma once
// An RtfDocument as one HTML page: UTF-8, in Russian (lang="ru"), readable
// in any browser without the program and without anything fetched from
// elsewhere. Every paragraph becomes a <p>, every table a <table>; a run
// keeps its face (with the usual free faces and the generic family after
// it, for the Windows faces our documents name), size, colour, bold, italic
// and underline as inline styles; blanks are kept as they stand, so the
// service-rank signs line up as in the document.

#include <string>
#include <string_view>

#include "texts/rtf_reader.h"

namespace velmar {

// The page. title: UTF-8, for <title>; when empty, the text of the
// document's first paragraph that has any.
std::string RtfToHtml(const RtfDocument& document, std::string_view title = {});

// The text of the document's first paragraph that holds more than blanks,
// trimmed, every run of blanks made one (UTF-8); empty when there is none.
std::string FirstParagraphText(const RtfDocument& document);

}  // namespace velmar
