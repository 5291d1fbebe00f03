#pragma once
// The program's icon on the window's title bar and task bar: the same picture as the Windows
// program's icon resource, from PNGs built into the program.

#include <QIcon>

namespace quorvane {

QIcon ApplicationIcon();

}  // namespace quorvane
