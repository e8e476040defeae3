#pragma once
// The program's icon: a calendar leaf with an eight-pointed cross, drawn at
// the sizes the desktop asks for (16 to 64 pixels).

#include <QIcon>

namespace velmar {

QIcon ProgramIcon();

}  // namespace velmar
