#pragma once
// The desktop shell: opening a document with the application the desktop
// associates with its type, a web or mail link with the browser or mail
// program, and a text file in the desktop's editor. Results are the numbers
// of the Windows shell (app/shell_messages.h): 2 the file is missing, 3 its
// folder is missing, 31 nothing could open it, 33 it was handed over. None of
// them waits for the application.

#include <QString>
#include <QUrl>
#include <functional>

namespace velmar {

class Shell {
 public:
  // What hands a URL to the desktop; true when something took it.
  using Opener = std::function<bool(const QUrl&)>;

  // Opens a document given by its full path. Backslashes count as folder
  // separators, so references written for Windows work too.
  static int Open(const QString& path);
  // Opens a web page or a mail link.
  static int OpenLink(const QUrl& url);
  // Opens a text file in the desktop's text editor.
  static int Edit(const QString& path);

  // Whether the desktop has an application for a local file, as far as it
  // tells: with xdg-open, whose own answer says only that it started, xdg-mime
  // must name the default application of the file's type or of a type it
  // belongs to (text/plain for the settings file), unless $BROWSER stands in
  // for one. Without xdg-open, true: QDesktopServices answers for itself.
  static bool DesktopHasApplicationFor(const QString& path);

  // Replaces what hands URLs to the desktop (QDesktopServices); an empty
  // opener restores it. Returns the previous one. For tests.
  static Opener SetOpener(Opener opener);
};

}  // namespace velmar
