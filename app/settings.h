#pragma once
// The settings file Velmar32.ini (hand-edited key=value lines, read once at
// start) and the window-position file Position.ini (written on an ordinary
// close, read at the next start), both in the program directory.

#include <string>
#include <string_view>

namespace velmar {

inline constexpr std::string_view ProgramVersion = "2.0 pre-release";
inline constexpr std::string_view ProgramBuild = "278";

// The program's settings; texts are Windows-1251.
struct Settings {
  short startOfWeek = 1;                     // 1: Monday first in the month grid; 7: Sunday
  std::string mainFont = "Times New Roman Cyr";
  std::string sysFont = "Arial Cyr";
  std::string rtfFont = "Times New Roman Cyr";
  int rtfSize = 20;                          // RTF font size in half-points
  std::string agiosLine = "Yes";             // "No": entries run on, no · and • signs
  std::string menologion = "qqq";            // additional entry classes shown
  bool menologGray = true;                   // those entries in grey
  bool windowsNT = true;                     // reports are loaded twice into the viewer
  bool fasting = true;                       // the fast note of every day (dbase/Fasting.db)
  bool readings = true;                      // the day's scripture readings (dbase/Readings*.db)
  bool readingsShort = false;                // ReadingsForm=Short: "2 Тим. 3:16–4:4; Лк. 17:26–37"
};

// The one settings record of the program: defaults until LoadSettings.
extern Settings AppSettings;

// Pages of the main window's page control, in order.
enum class Page { Today = 0, Tomorrow = 1, Calendar = 2, Easter = 3, Search = 4 };

// What the settings files need of the main window.
class SettingsWindow {
 public:
  virtual ~SettingsWindow() = default;
  virtual int OuterWidth() const = 0;
  virtual int OuterHeight() const = 0;
  virtual int Left() const = 0;
  virtual int Top() const = 0;
  virtual void SetOuterWidth(int width) = 0;
  virtual void SetOuterHeight(int height) = 0;
  virtual void SetLeft(int left) = 0;
  virtual void SetTop(int top) = 0;
  virtual void SelectPage(Page page) = 0;
};

// Reads Velmar32.ini into AppSettings and applies ActivePage to the window.
// Problems are shown as messages; every bad line is ignored.
void LoadSettings(SettingsWindow& window);
// The same for a program without a window (velmar32-cli): ActivePage has
// nothing to select.
void LoadSettings();

// Reads Position.ini and applies its values to the window; a missing file is
// silently ignored.
void LoadWindowPosition(SettingsWindow& window);

// Writes Position.ini from the window's bounds. The file is written beside
// its target and renamed over it, so a failure never leaves it half-written.
void SaveWindowPosition(const SettingsWindow& window);

// Settings as they are at program start (for tests and a second load).
void ResetSettings();

// The key a line of Velmar32.ini sets, as LoadSettings reads it ("RTFSize"
// for "RTFSize=24" and for "RTFSizeOf=24"); empty for a line it passes over
// (a comment, a line starting with a blank, an unknown key).
std::string_view SettingsKeyOfLine(std::string_view line);

}  // namespace velmar
