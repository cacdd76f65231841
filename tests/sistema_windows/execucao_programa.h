#pragma once

#include <filesystem>
#include <string>

namespace tessora::testes {

struct ResultadoPrograma {
    unsigned long codigo = 0;
    std::string saida;
    std::string erros;
};

// Runs a Windows program with the parameters as its command line and waits for it; its
// standard output and standard error are collected through files.
ResultadoPrograma ExecutarPrograma(const std::filesystem::path& programa,
                                   const std::wstring& parametros);

}  // namespace tessora::testes
