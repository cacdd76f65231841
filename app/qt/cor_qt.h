#pragma once

#include <QColor>

#include "app/apresentacao/cores.h"

namespace tessora::qt {

inline QColor CorQt(app::Cor cor) { return {cor.vermelho, cor.verde, cor.azul}; }

}  // namespace tessora::qt
