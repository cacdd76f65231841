#include "app/servico/vigia_encerramento.h"

#include <fstream>

#include "db/locais_erp.h"
#include "plataforma/sistema.h"

namespace tessora::app {

SituacaoConexao LerSituacaoConexao(const std::string& pastaDados) {
    std::error_code erro;
    if (pastaDados.empty() || !std::filesystem::is_directory(pastaDados, erro))
        return SituacaoConexao::Liberada;
    const auto arquivo =
        plataforma::LocalizarArquivo(std::filesystem::path(pastaDados) / "Conectado.txt");
    if (!arquivo) return SituacaoConexao::Liberada;

    std::ifstream entrada(*arquivo, std::ios::binary);
    std::string linha;
    // The line ends at CR or LF, whichever comes first.
    for (char c; entrada.get(c) && c != '\r' && c != '\n';) linha += c;
    if (entrada.bad() || (!entrada && !entrada.eof())) return SituacaoConexao::Inacessivel;
    return linha == "DESCONECTAR" ? SituacaoConexao::Desconectar : SituacaoConexao::Liberada;
}

VigiaEncerramento::VigiaEncerramento(std::filesystem::path pastaPrograma, Avisos& avisos,
                                     Leitor leitor)
    : pastaPrograma_(std::move(pastaPrograma)), avisos_(avisos), leitor_(std::move(leitor)) {}

bool VigiaEncerramento::ConexaoLiberada() {
    const SituacaoConexao situacao = leitor_(db::ObterPastaDados(pastaPrograma_, avisos_));
    if (situacao != SituacaoConexao::Inacessivel) {
        falhaAvisada_ = false;
        return situacao != SituacaoConexao::Desconectar;
    }
    // A box every few seconds would bury the desktop while the share is away.
    if (!falhaAvisada_) {
        falhaAvisada_ = true;
        avisos_.MostrarMensagem("Não foi possível acessar a pasta Dados no Servidor.",
                                "Aviso do Sistema", IconeAviso::Erro);
    }
    return true;
}

}  // namespace tessora::app
