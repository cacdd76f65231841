#pragma once

#include <QIcon>

namespace tessora::ui {

// The program's own 48 x 48 icon, for the window and the notification area.
QIcon IconePrograma();

}  // namespace tessora::ui
