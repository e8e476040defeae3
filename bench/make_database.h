#pragma once
// A full-size synthetic database for the benchmarks, in the grammar of the
// real files: twelve month files of about 100 KB (every old-style day, 29
// February included, with 8 to 12 entries whose shown text is about 150 bytes,
// some with bold or italic RTF markup, codes "0".."6" and the additional
// classes "q" and "a", and search words before the "="), Easter.db with a
// section for every offset from [-70] to [-0] and [+0] to [+99], Epiphany.db
// with 200 sections "[W - DD.MM]" and Addition.db with a section "[DD.MM]" for
// each of the 366 old-style days. Windows-1251 text, CRLF line ends.
//
// The content comes from a fixed-seed generator of its own (not the standard
// library's distributions, whose output differs between implementations), so
// every run on every machine writes the same bytes.

#include <cstdint>
#include <string>

namespace velmar {

struct SyntheticDatabase {
  bool ok = false;             // false when a file could not be written
  std::uintmax_t bytes = 0;    // total size of the fifteen files
  std::uintmax_t monthBytes = 0;  // of which the twelve month files
  long entries = 0;            // entry lines of the month files
};

// Writes the fifteen database files into folder (created with its parents
// when missing), replacing files of the same names. Each file is written
// beside its target and renamed over it, so a failure leaves no half-written
// file behind.
SyntheticDatabase MakeSyntheticDatabase(const std::string& folder);

// A text (Windows-1251) that occurs in a few dozen entries of the month files,
// and so makes a search of ordinary size.
std::string SyntheticSearchText();

}  // namespace velmar
