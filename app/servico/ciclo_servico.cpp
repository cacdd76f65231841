#include "app/servico/ciclo_servico.h"

#include <memory>

#include "app/configuracoes/configuracoes_api.h"
#include "comum/erros.h"
#include "db/conectar_banco.h"
#include "db/locais_erp.h"
#include "manutencao/atualizacao.h"
#include "plataforma/processos.h"

namespace tessora::app {

namespace {
// Passes messages on and keeps end requests to itself: start-up stops at the first one.
class AvisosInicio : public Avisos {
  public:
    explicit AvisosInicio(Avisos& avisos) : avisos_(avisos) {}
    void MostrarMensagem(std::string_view texto, std::string_view titulo,
                         IconeAviso icone) override {
        avisos_.MostrarMensagem(texto, titulo, icone);
    }
    void ExibirAviso(std::string_view texto, ConfirmacaoAviso confirmacao,
                     FechamentoAviso fechamento) override {
        avisos_.ExibirAviso(texto, confirmacao, fechamento);
    }
    void SolicitarEncerramento() override { encerrar = true; }

    bool encerrar = false;

  private:
    Avisos& avisos_;
};

DesfechoInicio Encerrar(EstadoServico& estado) {
    estado.lock.reset();
    return DesfechoInicio::Encerrar;
}
}  // namespace

DesfechoInicio IniciarServico(const std::filesystem::path& executavel,
                              const ConfiguracoesPrograma& configuracoes, Avisos& avisos,
                              db::CaminhosAtualizacao& caminhos, EstadoServico& estado) {
    AvisosInicio avisosInicio(avisos);
    const auto pastaPrograma = executavel.parent_path();

    const std::string pastaDados = db::ObterPastaDados(pastaPrograma, avisosInicio);
    if (avisosInicio.encerrar) return Encerrar(estado);

    auto lock = ArquivoLock::Adquirir(executavel, pastaDados);
    if (!lock) {
        // A copy that will not run has no business connecting or updating itself.
        avisos.ExibirAviso(MensagemOutraCopia(executavel), ConfirmacaoAviso::Dispensada,
                           FechamentoAviso::Sozinho);
        return Encerrar(estado);
    }
    estado.lock.emplace(std::move(*lock));

    const auto local = db::ObterCaminhoBancoDados(pastaPrograma, avisosInicio);
    if (avisosInicio.encerrar) return Encerrar(estado);
    std::unique_ptr<db::ConexaoErp> conexao;
    try {
        conexao = db::ConectarBancoDados(local, executavel, caminhos);
    } catch (const ErroBancoDados& e) {
        // Started from its icon or at logon, the program would otherwise just never appear.
        // The lock goes first: the box may stay open for long.
        const DesfechoInicio desfecho = Encerrar(estado);
        avisos.MostrarMensagem(
            "Não foi possível conectar ao banco de dados: " + std::string(e.what()),
            kTituloPrograma, IconeAviso::Erro);
        return desfecho;
    }
    manutencao::DesfechoAtualizacao atualizacao;
    try {
        atualizacao = manutencao::VerificarAtualizacao(
            *conexao, manutencao::ModoAtualizacao::CompararComCopiaMestre,
            {.executavel = executavel, .caminhos = caminhos, .avisos = avisosInicio});
    } catch (...) {
        try {
            db::DesconectarBancoDados(conexao);
        } catch (...) {
            // the first error is the one to show
        }
        throw;
    }
    db::DesconectarBancoDados(conexao);
    switch (atualizacao.acao) {
        case manutencao::DesfechoAtualizacao::Acao::Prosseguir:
            break;
        case manutencao::DesfechoAtualizacao::Acao::Encerrar:
            return Encerrar(estado);
        case manutencao::DesfechoAtualizacao::Acao::Atualizar:
            // The updated program takes over this copy's place: the lock file goes now, the
            // updater starts once the program has let go of everything else.
            estado.atualizacao = std::move(atualizacao);
            estado.lock.reset();
            return DesfechoInicio::Atualizar;
    }
    if (avisosInicio.encerrar) return Encerrar(estado);

    estado.configuracoesApi = configuracoes.api;
    estado.configuracoes = configuracoes.servico;
    return DesfechoInicio::Residente;
}

void IniciarAtualizacaoPendente(const EstadoServico& estado) {
    if (!estado.atualizacao) return;
    // Whether it started is not looked at: nothing is left here that could still help.
    static_cast<void>(plataforma::IniciarPrograma(estado.atualizacao->atualizador,
                                                  estado.atualizacao->parametros));
}

void FecharServico(const std::filesystem::path& executavel, const ConfiguracoesServico& atuais,
                   EstadoServico& estado) {
    // Start-up that never loaded the settings would overwrite the operator's with the
    // window's initial values.
    if (estado.configuracoes) GravarConfiguracoes(ObterArquivoIni(executavel), atuais);
    estado.lock.reset();
}

}  // namespace tessora::app
