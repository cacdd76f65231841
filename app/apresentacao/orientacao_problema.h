#pragma once

#include <string>

#include "app/execucao/resumo_execucao.h"

namespace tessora::app {

// A kind of trouble told to the operator: what went wrong and what to check first, each short
// enough for a tray tooltip's line.
struct OrientacaoProblema {
    std::string descricao;
    std::string proximoPasso;
};

OrientacaoProblema Orientar(ProblemaExecucao problema);

}  // namespace tessora::app
