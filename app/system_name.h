#pragma once
// What the about box says of the system the program runs on: the name of the
// distribution from os-release (the freedesktop.org file /etc/os-release, or
// /usr/lib/os-release) and the kind of the graphical session.

#include <string>
#include <string_view>

namespace velmar {

// The system's name from the text of an os-release file: PRETTY_NAME, else
// NAME with VERSION, else "Linux". Values may be quoted in '"' or '\'', and
// within double quotes \" \\ \$ \` stand for the character; UTF-8.
std::string OsReleaseName(std::string_view osRelease);

// The text of /etc/os-release, or of /usr/lib/os-release when that one is
// missing; empty when neither can be read.
std::string ReadOsRelease();

// The graphical session as a user knows it, from Qt's platform plugin
// ("xcb", "wayland", "wayland-egl", ...) and $XDG_SESSION_TYPE: "X11",
// "Wayland", "X11 (XWayland)" for an X11 program in a Wayland session;
// empty for a platform without a screen (offscreen, minimal).
std::string SessionKind(std::string_view platformName, std::string_view sessionType);

// The about box's system line, "ОС: Debian GNU/Linux 12 (bookworm), сеанс
// X11", in Windows-1251 (characters the code page lacks become '?').
std::string SystemCaption(std::string_view osRelease, std::string_view platformName,
                          std::string_view sessionType);

}  // namespace velmar
