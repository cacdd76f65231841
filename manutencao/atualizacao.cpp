#include "manutencao/atualizacao.h"

#include <optional>
#include <system_error>

#include "db/versao_erp.h"
#include "manutencao/arquivos_exec.h"
#include "manutencao/data_arquivo.h"
#include "plataforma/sistema.h"

namespace tessora::manutencao {

namespace {
constexpr std::string_view kTitulo = "Aviso do Sistema";

// A file of the master folder, found whatever its case; nothing without a master folder.
std::optional<std::filesystem::path> NaPastaMestre(const db::CaminhosAtualizacao& caminhos,
                                                   const std::string& nome) {
    if (caminhos.pastaMestre.empty()) return std::nullopt;
    return plataforma::LocalizarArquivo(std::filesystem::path(caminhos.pastaMestre) / nome);
}

void CriarPastaMestre(const std::string& pastaMestre) {
    if (pastaMestre.empty()) return;
    std::error_code ignorado;
    if (!std::filesystem::is_directory(pastaMestre, ignorado))
        std::filesystem::create_directory(pastaMestre, ignorado);
}

std::string TextoAviso(const std::string& nomeExecutavel) {
    return "AVISO: Existe uma nova versão do aplicativo " +
           nomeExecutavel.substr(0, nomeExecutavel.find('.')) +
           ". A atualização será feita automaticamente. Aguarde...";
}
}  // namespace

std::string NomeAtualizador() {
    return "tessoraAtualizador" + std::string(plataforma::SufixoExecutavel());
}

std::string LinhaComandoAtualizador(const db::CaminhosAtualizacao& caminhos) {
    return "@F1 @M" + caminhos.pastaMestreCodificada + " @E" + caminhos.pastaProgramaCodificada +
           " @A" + caminhos.nomeExecutavel;
}

DesfechoAtualizacao VerificarAtualizacao(db::ConexaoErp& conexao, ModoAtualizacao modo,
                                         const AmbienteAtualizacao& ambiente) {
    using Acao = DesfechoAtualizacao::Acao;
    const db::CaminhosAtualizacao& caminhos = ambiente.caminhos;
    Avisos& avisos = ambiente.avisos;
    const auto pastaPrograma = ambiente.executavel.parent_path();

    if (plataforma::LocalizarArquivo(pastaPrograma / "DebugarDelphi.tmp")) {
        avisos.MostrarMensagem("O aplicativo " + caminhos.nomeExecutavel +
                                   " não será atualizado. A pasta " + pastaPrograma.string() +
                                   " está com o arquivo DebugarDelphi.tmp",
                               kTitulo, IconeAviso::Advertencia);
        return {};
    }

    CriarPastaMestre(caminhos.pastaMestre);
    TratarArquivosExec(ambiente.executavel, caminhos);
    // Without the updater the program ends, but only after the version columns.
    Acao semAtualizador = Acao::Prosseguir;
    if (!NaPastaMestre(caminhos, NomeAtualizador())) {
        avisos.MostrarMensagem(
            "Não foi encontrado o tessora Atualizador no Servidor. Entre em contato com o suporte "
            "técnico da tessora.",
            kTitulo, IconeAviso::Nenhum);
        semAtualizador = Acao::Encerrar;
    }
    db::VerificarVersaoErp(conexao);
    if (modo != ModoAtualizacao::CompararComCopiaMestre) return {semAtualizador};

    const auto copiaMestre = NaPastaMestre(caminhos, caminhos.nomeExecutavel);
    if (!copiaMestre) {
        avisos.MostrarMensagem("Falha na atualização do aplicativo. Não foi encontrado o arquivo " +
                                   caminhos.nomeExecutavel + " na pasta " + caminhos.pastaMestre +
                                   ".\rO Sistema será finalizado.",
                               kTitulo, IconeAviso::Advertencia);
        return {Acao::Encerrar};
    }
    if (TextoDataArquivo(ambiente.executavel) == TextoDataArquivo(*copiaMestre)) {
        return {semAtualizador};
    }

    const auto atualizador = NaPastaMestre(caminhos, NomeAtualizador());
    if (!atualizador) {
        // Without the updater nothing would replace this copy: no notice of an update that
        // cannot happen; the program ends through the request like after any failure.
        avisos.MostrarMensagem("Falha na atualização do aplicativo. Não foi encontrado o arquivo " +
                                   NomeAtualizador() + " na pasta " + caminhos.pastaMestre +
                                   ".\rO Sistema será finalizado.",
                               kTitulo, IconeAviso::Advertencia);
        return {Acao::Encerrar};
    }

    avisos.ExibirAviso(TextoAviso(caminhos.nomeExecutavel), ConfirmacaoAviso::Dispensada,
                       FechamentoAviso::Sozinho);
    return {Acao::Atualizar, *atualizador, LinhaComandoAtualizador(caminhos)};
}

}  // namespace tessora::manutencao
