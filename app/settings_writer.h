#pragma once
// Writing Velmar32.ini from the settings dialog. The file is the user's own
// text: only the values of the keys the dialog changed are replaced, on the
// lines the program reads them from; comments, blank lines, the order, other
// keys and unknown lines stay byte for byte. The file is written beside
// itself and renamed over it, so that it is never left half-written.

#include <string>
#include <string_view>
#include <vector>

#include "app/settings.h"

namespace velmar {

// A key of Velmar32.ini (as LoadSettings names it) and its new value,
// Windows-1251.
struct SettingChange {
  std::string key;
  std::string value;
  friend bool operator==(const SettingChange&, const SettingChange&) = default;
};

// The text of a settings file with the changes made: every line that
// LoadSettings takes for a changed key gets the new value after its first
// "=" (what stands between the key and the "=", and the line's end, kept; a
// line without "=" gets one); a key no line sets is added at the end, in
// the file's line ends. Everything else stays as it was.
std::string RewriteSettingsText(std::string_view text, const std::vector<SettingChange>& changes);

// Writes the changes into the settings file at path (following a symbolic
// link to the file it names): the new text into a file beside it, then
// renamed over it, with the old file's permissions. A missing file is made.
// Returns "" on success, else what went wrong in Russian (Windows-1251),
// naming the file; the old file is then as it was.
std::string WriteSettingsFile(const std::string& path, const std::vector<SettingChange>& changes);

// What the settings dialog changes.
struct EditableSettings {
  bool signs = true;          // AgiosLine: not "No"
  bool icons = false;         // Menologion holds 'i' (the icons of the Theotokos)
  bool grey = true;           // MenologGray
  bool fasting = true;        // Fasting
  bool readings = true;       // Readings
  bool readingsShort = false;  // ReadingsForm=Short
  int rtfSize = 20;           // RTFSize, half-points
  friend bool operator==(const EditableSettings&, const EditableSettings&) = default;
};

// The class of the icons of the Theotokos in the month files.
inline constexpr char kIconsClass = 'i';

// The range the dialog offers for RTFSize, in half-points (6 to 36 points).
inline constexpr int kLeastRtfSize = 12;
inline constexpr int kMostRtfSize = 72;

EditableSettings EditableFrom(const Settings& settings);

// The keys to write so that the file says `wanted` where it differs from
// what `settings` holds now, in the order of the dialog.
std::vector<SettingChange> ChangesFor(const Settings& settings, const EditableSettings& wanted);

// Puts `wanted` in force in `settings` (the menologion gains or loses its
// 'i' only; its other classes stay).
void ApplyEditable(Settings& settings, const EditableSettings& wanted);

}  // namespace velmar
