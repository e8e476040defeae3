#include "texts/rtf_html.h"

#include <cstdio>
#include <variant>

namespace velmar {
namespace {

void AppendEscaped(std::string& out, std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\n': out += "<br>"; break;
      default: out += c; break;
    }
  }
}

// A CSS font list: the face, the free face a browser is likelier to have
// for the Windows faces of our documents ("Times New Roman Cyr" is
// "Times New Roman"), and the generic family.
std::string FontList(const RtfDocument& document, const RtfCharFormat& format) {
  std::string list;
  const std::string_view face = document.FontName(format);
  const auto add = [&](std::string_view name) {
    if (name.empty()) return;
    if (!list.empty()) list += ",";
    list += "'";
    for (const char c : name)
      if (c != '\'' && c != '"' && c != '<' && c != '>' && c != '&' && c != ';') list += c;
    list += "'";
  };
  add(face);
  if (face.size() > 4 && face.ends_with(" Cyr")) add(face.substr(0, face.size() - 4));
  RtfFontFamily family = RtfFontFamily::Nil;
  int pitch = 0;
  if (format.font >= 0 && static_cast<std::size_t>(format.font) < document.fonts.size()) {
    family = document.fonts[static_cast<std::size_t>(format.font)].family;
    pitch = document.fonts[static_cast<std::size_t>(format.font)].pitch;
  }
  const char* generic = "serif";
  if (family == RtfFontFamily::Modern || pitch == 1) generic = "monospace";
  else if (family == RtfFontFamily::Swiss) generic = "sans-serif";
  else if (family == RtfFontFamily::Script) generic = "cursive";
  else if (family == RtfFontFamily::Decor) generic = "fantasy";
  if (!list.empty()) list += ",";
  list += generic;
  return list;
}

std::string RunStyle(const RtfDocument& document, const RtfCharFormat& format) {
  std::string style = "font-family:" + FontList(document, format);
  char size[32];
  std::snprintf(size, sizeof size, ";font-size:%d%spt", format.halfPoints / 2, format.halfPoints % 2 ? ".5" : "");
  style += size;
  if (format.colour) {
    char colour[16];
    std::snprintf(colour, sizeof colour, ";color:#%02x%02x%02x", format.colour->red, format.colour->green,
                  format.colour->blue);
    style += colour;
  }
  if (format.bold) style += ";font-weight:bold";
  if (format.italic) style += ";font-style:italic";
  if (format.underline) style += ";text-decoration:underline";
  return style;
}

void AppendParagraph(std::string& out, const RtfDocument& document, const RtfParagraph& paragraph,
                     const char* tag, bool lineEnd = true) {
  out += "<";
  out += tag;
  switch (paragraph.alignment) {
    case RtfAlignment::Centre: out += " style=\"text-align:center\""; break;
    case RtfAlignment::Right: out += " style=\"text-align:right\""; break;
    case RtfAlignment::Justify: out += " style=\"text-align:justify\""; break;
    case RtfAlignment::Left: break;
  }
  out += ">";
  if (paragraph.runs.empty()) {
    // An empty paragraph keeps its line, in the height of its mark.
    out += "<span style=\"" + RunStyle(document, paragraph.mark) + "\"><br></span>";
  }
  for (const RtfRun& run : paragraph.runs) {
    out += "<span style=\"" + RunStyle(document, run.format) + "\">";
    AppendEscaped(out, run.text);
    out += "</span>";
  }
  out += "</";
  out += tag;
  out += ">";
  if (lineEnd) out += "\n";
}

void AppendTable(std::string& out, const RtfDocument& document, const RtfTable& table) {
  out += "<table>\n";
  for (const RtfTableRow& row : table.rows) {
    out += "<tr>";
    for (const RtfTableCell& cell : row.cells) {
      out += "<td>";
      for (const RtfParagraph& paragraph : cell.paragraphs) AppendParagraph(out, document, paragraph, "div", false);
      out += "</td>";
    }
    out += "</tr>\n";
  }
  out += "</table>\n";
}

std::string ParagraphText(const RtfParagraph& paragraph) {
  std::string text;
  for (const RtfRun& run : paragraph.runs) text += run.text;
  return text;
}

}  // namespace

std::string FirstParagraphText(const RtfDocument& document) {
  for (const RtfBlock& block : document.blocks) {
    const auto* paragraph = std::get_if<RtfParagraph>(&block);
    if (paragraph == nullptr) continue;
    std::string text = ParagraphText(*paragraph);
    std::string title;
    for (const char c : text) {
      const char blank = c == '\t' || c == '\n' ? ' ' : c;
      if (blank == ' ' && (title.empty() || title.back() == ' ')) continue;
      title += blank;
    }
    while (!title.empty() && title.back() == ' ') title.pop_back();
    if (!title.empty()) return title;
  }
  return {};
}

std::string RtfToHtml(const RtfDocument& document, std::string_view title) {
  std::string out =
      "<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n<title>";
  AppendEscaped(out, title.empty() ? std::string_view(FirstParagraphText(document)) : title);
  out += "</title>\n<style>\n"
         "body { background: #ffffff; color: #000000; }\n"
         "p, td div { margin: 0; white-space: pre-wrap; tab-size: 8; }\n"
         "table { border-collapse: collapse; margin: 0.3em 0; }\n"
         "td { padding: 0.1em 0.6em; vertical-align: top; white-space: nowrap; }\n"
         "</style>\n</head>\n<body>\n";
  for (const RtfBlock& block : document.blocks) {
    if (const auto* paragraph = std::get_if<RtfParagraph>(&block)) {
      AppendParagraph(out, document, *paragraph, "p");
    } else {
      AppendTable(out, document, std::get<RtfTable>(block));
    }
  }
  out += "</body>\n</html>\n";
  return out;
}

}  // namespace velmar
