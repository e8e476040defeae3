#pragma once
// Menus as lines of text, for comparing them with their design in tests.

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <string>
#include <vector>

namespace velmar::testing {

// A menu as lines: the caption with its shortcut and a check mark; "-" for a
// separator; a submenu's caption ends in ">" and its items follow, indented.
inline std::vector<std::string> MenuLayout(const QMenu* menu, const std::string& indent = "") {
  std::vector<std::string> lines;
  for (const QAction* action : menu->actions()) {
    if (action->isSeparator()) {
      lines.push_back(indent + "-");
      continue;
    }
    std::string line = indent + action->text().toStdString();
    const QString keys = action->shortcut().toString(QKeySequence::PortableText);
    if (!keys.isEmpty()) line += " [" + keys.toStdString() + "]";
    if (action->isCheckable()) line += " (check)";
    if (action->menu() != nullptr) {
      lines.push_back(line + " >");
      for (const std::string& sub : MenuLayout(action->menu(), indent + "  ")) lines.push_back(sub);
      continue;
    }
    lines.push_back(line);
  }
  return lines;
}

}  // namespace velmar::testing
