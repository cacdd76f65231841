#include "programa_com_api.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>

#include "arquivos_teste.h"

namespace tessora::testes {

void InstalarProgramaComApi(const InstalacaoErpTeste& erp, const ApiSubstituta& api) {
    std::filesystem::copy_file(TESSORA_DIR_BUILD "/app/tessoraService", erp.Executavel());
    GravarArquivo(erp.PastaPrograma() / "tessoraService.ini",
                  "[AppForcaVendas]\r\nUrlBaseApi=" + api.UrlBase() +
                      "\r\nArquivoCertificados=" + api.ArquivoCertificado() + "\r\n");
}

SaidaPrograma ExecutarPrograma(const InstalacaoErpTeste& erp, const std::string& argumentos) {
    const auto arquivoErros = erp.PastaPrograma() / "erros.txt";
    const std::string comando =
        "'" + erp.Executavel().string() + "' " + argumentos + " 2>'" + arquivoErros.string() + "'";
    FILE* saida = popen(comando.c_str(), "r");
    SaidaPrograma resultado;
    std::array<char, 4096> linha;
    while (fgets(linha.data(), linha.size(), saida)) {
        std::string texto(linha.data());
        if (!texto.empty() && texto.back() == '\n') texto.pop_back();
        resultado.linhas.push_back(texto);
    }
    resultado.codigo = WEXITSTATUS(pclose(saida));
    resultado.erros = LerArquivo(arquivoErros).value_or("");
    return resultado;
}

}  // namespace tessora::testes
