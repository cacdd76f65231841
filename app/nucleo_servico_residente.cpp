#include "app/nucleo_servico_residente.h"

#include <exception>
#include <utility>

#include "app/arquivo_lock.h"

namespace tessora::app {

// Notices of the run and of the watch. The run's come from its thread and go to the
// service's without waiting, so the run never blocks on a box.
class NucleoServicoResidente::AvisosDoServico : public Avisos {
  public:
    explicit AvisosDoServico(NucleoServicoResidente& servico) : servico_(servico) {}

    void MostrarMensagem(std::string_view texto, std::string_view titulo,
                         IconeAviso icone) override {
        servico_.NaThreadDoServico(
            [this, texto = std::string(texto), titulo = std::string(titulo), icone] {
                servico_.Mostrar([&] { servico_.avisos_.MostrarMensagem(texto, titulo, icone); });
            });
    }
    void ExibirAviso(std::string_view texto, ConfirmacaoAviso confirmacao,
                     FechamentoAviso fechamento) override {
        servico_.NaThreadDoServico([this, texto = std::string(texto), confirmacao, fechamento] {
            servico_.Mostrar([&] { servico_.avisos_.ExibirAviso(texto, confirmacao, fechamento); });
        });
    }
    void SolicitarEncerramento() override {
        servico_.NaThreadDoServico([this] { servico_.maquina_.SolicitarFim(MotivoFim::Aviso); });
    }

  private:
    NucleoServicoResidente& servico_;
};

NucleoServicoResidente::NucleoServicoResidente(Opcoes opcoes, Avisos& avisos,
                                               PainelExecucao& painel,
                                               PedidosAppForcaVenda& pedidos)
    : opcoes_(std::move(opcoes)),
      avisos_(avisos),
      painel_(painel),
      pedidos_(pedidos),
      avisosServico_(std::make_unique<AvisosDoServico>(*this)),
      historico_(LerConfiguracoesHistorico(opcoes_.executavel)),
      maquina_(*this, opcoes_.porMinuto),
      vigia_(opcoes_.executavel.parent_path(), *avisosServico_) {
    if (!opcoes_.executar) {
        opcoes_.executar = [](const AmbienteExecucao& ambiente) {
            return ProcessarAppForcaVenda(ambiente);
        };
    }
}

NucleoServicoResidente::~NucleoServicoResidente() = default;

bool NucleoServicoResidente::Iniciar() {
    try {
        switch (IniciarServico(opcoes_.executavel, *avisosServico_, caminhos_, estado_)) {
            case DesfechoInicio::Residente:
                break;
            case DesfechoInicio::Encerrar:
                maquina_.SolicitarFim(MotivoFim::Aviso);
                return false;
            case DesfechoInicio::Atualizar:
                maquina_.SolicitarFim(MotivoFim::Atualizacao);
                return false;
        }
        maquina_.CarregarConfiguracoes(*estado_.configuracoes, Agora());
    } catch (const ErroArquivoLock& e) {
        // Resident without its lock file, this copy could synchronise beside another one.
        maquina_.Falha(e.what());
        maquina_.SolicitarFim(MotivoFim::Aviso);
        return false;
    } catch (const std::exception& e) {
        maquina_.Falha(e.what());
    }
    return true;
}

std::chrono::system_clock::time_point NucleoServicoResidente::HoraDoSistema(Instante instante) {
    return std::chrono::system_clock::now() +
           std::chrono::duration_cast<std::chrono::system_clock::duration>(instante - Agora());
}

void NucleoServicoResidente::DefinirProcessoAtivo(bool ativo) {
    maquina_.DefinirProcessoAtivo(ativo);
}

void NucleoServicoResidente::AjustarIntervaloSincronizacao(const std::string& minutos) {
    maquina_.AjustarIntervaloSincronizacao(minutos, Agora());
}

void NucleoServicoResidente::SincronizarAgora() { maquina_.SincronizarAgora(); }

void NucleoServicoResidente::Fechar() { maquina_.SolicitarFim(MotivoFim::Fechamento); }

void NucleoServicoResidente::IniciarAtualizacaoPendente() const {
    app::IniciarAtualizacaoPendente(estado_);
}

std::function<void()> NucleoServicoResidente::PrepararExecucao(OrigemExecucao origem) {
    erroExecucao_.reset();
    fimExecucao_.reset();
    encerrarExecucao_ = false;
    inicioExecucao_ = std::chrono::system_clock::now();
    const AmbienteExecucao ambiente{opcoes_.executavel,
                                    estado_.configuracoesApi,
                                    *avisosServico_,
                                    painel_,
                                    pedidos_,
                                    caminhos_,
                                    origem,
                                    &historico_,
                                    &encerrarExecucao_};
    return [this, ambiente] {
        try {
            fimExecucao_ = opcoes_.executar(ambiente);
        } catch (const std::exception& e) {
            erroExecucao_ = e.what();
        } catch (...) {
            erroExecucao_ = "Erro desconhecido na sincronização.";
        }
    };
}

void NucleoServicoResidente::ConcluirExecucao() {
    maquina_.ExecucaoTerminada(std::exchange(erroExecucao_, std::nullopt), Agora());
}

void NucleoServicoResidente::InterromperExecucao() { encerrarExecucao_ = true; }

void NucleoServicoResidente::VerificarConexao() {
    maquina_.ResultadoVigia(vigia_.ConexaoLiberada());
}

void NucleoServicoResidente::ExibirErro(const std::string& mensagem) {
    avisos_.MostrarMensagem(mensagem, kTituloPrograma, IconeAviso::Erro);
}

void NucleoServicoResidente::FecharServico(const ConfiguracoesServico& atuais) {
    std::optional<std::string> erro;
    try {
        app::FecharServico(opcoes_.executavel, atuais, estado_);
    } catch (const std::exception& e) {
        erro = e.what();
    }
    if (erro) {
        maquina_.FechamentoRecusado(*erro);
    } else {
        maquina_.FechamentoConcluido();
    }
}

void NucleoServicoResidente::LiberarLock() { estado_.lock.reset(); }

void NucleoServicoResidente::Mostrar(const std::function<void()>& mostrar) {
    maquina_.AvisoAberto();
    try {
        mostrar();
    } catch (...) {
        maquina_.AvisoFechado();
        throw;
    }
    maquina_.AvisoFechado();
}

}  // namespace tessora::app
