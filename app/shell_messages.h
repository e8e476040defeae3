#pragma once
// Results of asking the desktop shell to open a document, a link or the text
// editor, in the numbers of the Windows shell's "open" (32 and below are
// errors), and the messages the program shows for them (Windows-1251).

#include <string>
#include <string_view>

namespace velmar {

inline constexpr int kShellFileNotFound = 2;   // the folder exists, the file doesn't
inline constexpr int kShellPathNotFound = 3;   // the folder doesn't exist
inline constexpr int kShellBadFormat = 11;
inline constexpr int kShellNoAssociation = 31; // no application to open it with
inline constexpr int kShellSuccess = 33;       // anything above 32 is success

// Message for opening a page's additional-information document: "File " +
// fileName + " not found" for 2, and the common texts for 3, 11 and 31;
// empty (no message) for any other result. fileName is the name as stored in
// Addition.db, without the program directory.
std::string DocumentOpenMessage(int result, std::string_view fileName);

// Message for opening a link or the settings file in the editor: "File not
// found" for 2, the common texts for 3, 11 and 31, otherwise empty.
std::string ShellOpenMessage(int result);

// What the window says when a page's additional-information document could
// not be opened: what went wrong in Russian, naming the document by its full
// path, then the message of DocumentOpenMessage on a line of its own; empty
// when that is empty. path: Windows-1251, as shown.
std::string DocumentOpenReport(int result, std::string_view fileName, std::string_view path);

// The same for the settings file handed to the text editor ("&Настройка",
// F9), with the message of ShellOpenMessage.
std::string SettingsEditReport(int result, std::string_view path);

}  // namespace velmar
