// The program's icon, embedded in every size the desktop's icon theme gets, so the
// windows show it whether or not the program is installed.
#pragma once

#include <QIcon>

namespace app {

QIcon programIcon();

}  // namespace app
