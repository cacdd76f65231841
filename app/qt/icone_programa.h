#pragma once

#include <QIcon>

#include "app/apresentacao/situacao_bandeja.h"

namespace tessora::qt {

// The program's own 48 x 48 icon, for the window.
QIcon IconePrograma();
// The same icon for the notification area, its signal light in the colour of the state.
QIcon IconeBandeja(app::EstadoBandeja estado);

}  // namespace tessora::qt
