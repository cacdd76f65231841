#pragma once

#include <string_view>

namespace tessora::app {

// The history's stored codes in the operator's words. A code this program does not know (a file
// written by a newer program) is shown as it is stored.
std::string_view RotuloOrigem(std::string_view codigo);
// Empty: the run has not ended, or its program ended during it.
std::string_view RotuloDesfechoExecucao(std::string_view codigo);
std::string_view RotuloDesfechoPedido(std::string_view codigo);

}  // namespace tessora::app
