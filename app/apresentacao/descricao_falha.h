#pragma once

#include <string>

#include "app/execucao/resumo_execucao.h"

namespace tessora::app {

// Why a run did not end normally, in the program's words; empty for a normal end.
std::string DescreverFalha(const ResumoExecucao& resumo);
// What the operator should check first, for a run whose kind of trouble is known; empty otherwise.
std::string ProximoPasso(const ResumoExecucao& resumo);

}  // namespace tessora::app
