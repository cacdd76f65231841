#pragma once

#include <string>
#include <vector>

#include "api_substituta.h"
#include "instalacao_erp_teste.h"

namespace tessora::testes {

// What a run of the program printed, and its exit status.
struct SaidaPrograma {
    int codigo = 0;
    std::vector<std::string> linhas;  // standard output, line by line
    std::string erros;                // standard error, whole
};

// The built program in the installation's program folder, its settings pointing at `api`.
void InstalarProgramaComApi(const InstalacaoErpTeste& erp, const ApiSubstituta& api);

// Runs the installed program with these arguments (words of the shell), as a user would.
SaidaPrograma ExecutarPrograma(const InstalacaoErpTeste& erp, const std::string& argumentos);

}  // namespace tessora::testes
