#pragma once
// The file types the report viewer saves, and how each is written.
//
// - RTF: the document as it stands (the loaded bytes unchanged, or RTF made
//   from the edited text), as always;
// - PDF: the very pages the print command gives, through QPrinter in PDF
//   mode, on A4 (Letter where the system's locale measures in inches), with
//   the print job's title as the PDF's title and the fonts embedded;
// - HTML: Qt's own HTML of the document (it keeps the faces, sizes, colours,
//   bold and the tables), made a UTF-8 HTML5 page in Russian with a title;
// - text: UTF-8, as velmar32-cli prints a document (the signs, the table
//   cells in aligned columns), read from the document's RTF;
// - iCalendar: for a period calendar, the period built afresh from the
//   database (reports/ical_export.h), not read from the document.
// Edits made in the viewer are in every type but iCalendar. Every file is
// written beside its name and renamed over it once complete, so a failed
// save leaves an existing file whole.

#include <QString>
#include <optional>

#include "reports/period_calendar.h"

namespace velmar {

class RichEdit;

enum class ReportFileType { Rtf, Pdf, Html, Text, ICalendar };

// The save dialog's filter of a type ("PDF (*.pdf)") and its suffix ("pdf").
QString FileTypeFilter(ReportFileType type);
QString FileTypeSuffix(ReportFileType type);

// The type a filter names; nullopt for "All Files (*)" and unknown ones.
std::optional<ReportFileType> FileTypeOfFilter(const QString& filter);

// The type a file name's suffix names (".pdf", ".htm"/".html", ".txt",
// ".ics"); RTF for any other.
ReportFileType FileTypeOfName(const QString& path);

// The type a save writes: the filter's type, unless the name's own suffix
// names another type ("week.pdf" typed with the RTF filter is a PDF; a name
// without a suffix, or with one of no type, follows the filter); with "All
// Files" the name's type.
ReportFileType ChosenFileType(const QString& filter, const QString& path);

// The path with ".suffix" appended when its file name has no suffix
// ("report" -> "report.pdf", "report." -> "report.pdf").
QString WithDefaultSuffix(const QString& path, const QString& suffix);

// The page that Qt's HTML writer makes of the viewer's text, as a UTF-8
// HTML5 page in Russian titled title.
QByteArray ReportHtml(RichEdit& text, const QString& title);

// The viewer's text as velmar32-cli prints it (UTF-8, no colours).
QByteArray ReportText(RichEdit& text);

// Writes the viewer's text (or, for iCalendar, the period) as type to path,
// atomically. jobTitle: the print job's title (PDF) and the page's title
// when the text gives none (HTML). false, with *error set to the reason, when
// it couldn't be written. Covers what the control has loaded: a caller with a
// load still going on waits for it first (RichEdit::FinishLoading), as the
// viewer does; RTF and PDF wait by themselves.
bool SaveReport(RichEdit& text, ReportFileType type, const QString& path, const QString& jobTitle,
                const std::optional<Period>& period, QString* error);

}  // namespace velmar
