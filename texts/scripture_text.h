#pragma once
// The text of a reading from the user's own SWORD Bible modules (libsword):
// the modules that BibleTime, Xiphos or a distribution's sword-text-*
// packages installed, found where SWORD itself looks (SWORD_PATH, the working
// folder, /etc/sword.conf's DataPath, usually /usr/share/sword, and
// ~/.sword). The readings' tables number the verses as the Russian Synodal
// Bible does; a module of another versification (KJV, NRSV, ...) gets them
// mapped through SWORD's own versification tables, so that Synodal Пс. 50:3
// is read as KJV Ps 51:1.
//
// Everything here is plain UTF-8: no Qt, and no libsword header, so that only
// this library links libsword.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "texts/readings_tables.h"

namespace velmar {

// A Bible module the user has installed.
struct BibleInfo {
  std::string name;           // the module's name: "RusSynodal", "engKJV2006eb"
  std::string description;    // its description (UTF-8): "King James Version"
  std::string language;       // its language code: "ru", "cu", "en"
  std::string versification;  // "Synodal", "KJV", ...
  std::string font;           // the font the module recommends, "" when none
};

// One verse of a module, numbered as the module numbers it.
struct ScriptureVerse {
  int chapter = 0;
  int verse = 0;     // 0: a psalm's title, which the module keeps before verse 1
  std::string text;  // plain text, UTF-8, without notes, Strong's numbers or markup
};

// The text of one piece of a reading in one module.
struct ScripturePassage {
  bool moduleFound = false;             // the module is an installed Bible
  std::vector<ScriptureVerse> verses;   // in order, each verse once
  // The piece's verses, numbered as the tables number them, that the
  // module lacks (a book it hasn't, an empty verse) or that don't exist at
  // all (a chapter or verse beyond the book's end): runs of verses.
  std::vector<VerseSpan> missing;
  bool renumbered = false;  // some verse has another number in the module
  bool bookMissing = false; // the module's versification has no such book
};

// The Bible modules of one SWORD installation, opened once.
class ScriptureLibrary {
 public:
  // The modules where SWORD looks, or, when SetScriptureFolder has set one,
  // those of that folder only.
  ScriptureLibrary();
  // The modules of one folder (holding mods.d/) only; none when it has none.
  explicit ScriptureLibrary(const std::string& folder);
  ~ScriptureLibrary();
  ScriptureLibrary(const ScriptureLibrary&) = delete;
  ScriptureLibrary& operator=(const ScriptureLibrary&) = delete;

  // The installed Bibles (locked ones left out), the preferred first: a
  // Russian Synodal module, then a Church Slavonic one, then other Russian
  // ones, then the rest; each group by name.
  const std::vector<BibleInfo>& Bibles() const;

  // The name of the first of Bibles(), "" when there is none.
  std::string PreferredBible() const;

  // The verses of a piece (its book's OSIS name, its spans in the Synodal
  // numbering) in the module of that name.
  ScripturePassage Passage(std::string_view module, const ScripturePiece& piece) const;

 private:
  struct Impl;
  void Open(const std::optional<std::string>& folder);
  std::unique_ptr<Impl> impl_;
};

// For tests and odd installations: the folder the default ScriptureLibrary
// reads instead of SWORD's own places; std::nullopt returns to those.
void SetScriptureFolder(std::optional<std::string> folder);

}  // namespace velmar
