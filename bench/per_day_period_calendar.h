#pragma once
// The period calendar as it was written before a report read each database
// file once: the same document, byte for byte, but every day reads Easter.db,
// Epiphany.db and its month file afresh (no DatabaseSnapshot scope). The
// benchmarks time it as the "before" figure and compare its output with the
// report's to show that the documents are identical.

#include "reports/period_calendar.h"

namespace velmar {

// Writes the calendar of start..end (new style, a valid range as
// WritePeriodCalendarDocument takes it) into the open report stream.
void WritePeriodCalendarDocumentPerDay(const Period& period);

// Opens the report file, writes the document and closes the file.
void WritePeriodCalendarPerDay(const Period& period);

}  // namespace velmar
