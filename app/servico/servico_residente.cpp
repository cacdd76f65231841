#include "app/servico/servico_residente.h"

#include <exception>
#include <utility>

#include "app/servico/arquivo_lock.h"

namespace tessora::app {

// Notices of the run and of the watch. The run's come from its thread and go to the
// service's without waiting, so the run never blocks on a box.
class ServicoResidente::AvisosDoServico : public Avisos {
  public:
    explicit AvisosDoServico(ServicoResidente& servico) : servico_(servico) {}

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
    ServicoResidente& servico_;
};

ServicoResidente::ServicoResidente(Opcoes opcoes, HospedeiroServico& hospedeiro,
                                   EventosServico& eventos, Avisos& avisos, PainelExecucao& painel,
                                   PedidosAppForcaVenda& pedidos)
    : opcoes_(std::move(opcoes)),
      hospedeiro_(hospedeiro),
      eventos_(eventos),
      avisos_(avisos),
      painel_(painel),
      pedidos_(pedidos),
      threadServico_(std::this_thread::get_id()),
      avisosServico_(std::make_unique<AvisosDoServico>(*this)),
      configuracoes_(LerConfiguracoes(opcoes_.executavel)),
      historico_(configuracoes_.historico),
      maquina_(*this, opcoes_.porMinuto),
      vigia_(opcoes_.executavel.parent_path(), *avisosServico_) {
    if (!opcoes_.executar) opcoes_.executar = ProcessarAppForcaVenda;
    // The watch runs from the start until the program ends.
    hospedeiro_.ArmarTemporizador(Temporizador::Vigia, opcoes_.intervaloVigia);
}

ServicoResidente::~ServicoResidente() {
    if (execucao_.joinable()) execucao_.join();
}

bool ServicoResidente::Iniciar() {
    try {
        switch (IniciarServico(opcoes_.executavel, configuracoes_, *avisosServico_, caminhos_,
                               estado_)) {
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

void ServicoResidente::DefinirProcessoAtivo(bool ativo) { maquina_.DefinirProcessoAtivo(ativo); }

void ServicoResidente::AjustarIntervaloSincronizacao(const std::string& minutos) {
    maquina_.AjustarIntervaloSincronizacao(minutos, Agora());
}

void ServicoResidente::SincronizarAgora() { maquina_.SincronizarAgora(); }

void ServicoResidente::TentarNovamente(const std::string& idApp) {
    pedidoRepetido_ = idApp;
    maquina_.RepetirPedido();
    pedidoRepetido_.reset();  // taken by the run, or left for none
}

void ServicoResidente::Fechar() { maquina_.SolicitarFim(MotivoFim::Fechamento); }

void ServicoResidente::Tique(Temporizador temporizador) {
    switch (temporizador) {
        case Temporizador::Sincronizacao:
            maquina_.TiqueSincronizacao(Agora());
            break;
        case Temporizador::Vigia:
            maquina_.TiqueVigia();
            break;
    }
}

void ServicoResidente::IniciarAtualizacaoPendente() const {
    app::IniciarAtualizacaoPendente(estado_);
}

void ServicoResidente::NaThreadDoServico(std::function<void()> acao) {
    if (std::this_thread::get_id() == threadServico_) {
        acao();
    } else {
        hospedeiro_.Postar(std::move(acao));
    }
}

void ServicoResidente::IniciarExecucao(OrigemExecucao origem) {
    encerrarExecucao_ = false;
    const AmbienteExecucao ambiente{
        opcoes_.executavel,
        estado_.configuracoesApi,
        *avisosServico_,
        painel_,
        pedidos_,
        caminhos_,
        origem,
        &historico_,
        &encerrarExecucao_,
        origem == OrigemExecucao::Repeticao ? pedidoRepetido_ : std::nullopt};
    eventos_.ExecucaoIniciada(origem);
    execucao_ = std::thread([this, ambiente] {
        const auto inicio = std::chrono::system_clock::now();
        try {
            resumoExecucao_ = opcoes_.executar(ambiente);
        } catch (const std::exception& e) {
            resumoExecucao_ = {inicio, std::nullopt, std::chrono::system_clock::now(), e.what()};
        } catch (...) {
            resumoExecucao_ = {inicio, std::nullopt, std::chrono::system_clock::now(),
                               "Erro desconhecido na sincronização."};
        }
        // Posted after the run's last log line, so it arrives after them.
        hospedeiro_.Postar([this] { ConcluirExecucao(); });
    });
}

void ServicoResidente::ConcluirExecucao() {
    execucao_.join();
    const ResumoExecucao resumo = std::exchange(resumoExecucao_, {});
    eventos_.ExecucaoTerminada(resumo);
    std::optional<std::string> erro;
    if (!resumo.fim) erro = resumo.motivo;
    maquina_.ExecucaoTerminada(erro, Agora());
}

void ServicoResidente::ArmarTemporizador(std::chrono::milliseconds intervalo) {
    hospedeiro_.ArmarTemporizador(Temporizador::Sincronizacao, intervalo);
}

void ServicoResidente::PararTemporizador() {
    hospedeiro_.PararTemporizador(Temporizador::Sincronizacao);
}

void ServicoResidente::AnunciarProximaExecucao(std::optional<Instante> quando) {
    std::optional<std::chrono::system_clock::time_point> hora;
    if (quando) {
        // A steady clock's time as the wall clock would show it.
        hora = std::chrono::system_clock::now() +
               std::chrono::duration_cast<std::chrono::system_clock::duration>(*quando - Agora());
    }
    eventos_.ProximaExecucao(hora);
}

void ServicoResidente::VerificarConexao() { maquina_.ResultadoVigia(vigia_.ConexaoLiberada()); }

void ServicoResidente::ExibirErro(const std::string& mensagem) {
    avisos_.MostrarMensagem(mensagem, kTituloPrograma, IconeAviso::Erro);
}

void ServicoResidente::FecharServico(const ConfiguracoesServico& atuais) {
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

void ServicoResidente::LiberarLock() { estado_.lock.reset(); }

void ServicoResidente::InterromperExecucao() { encerrarExecucao_ = true; }

void ServicoResidente::EncerrarPrograma(int codigoSaida) {
    hospedeiro_.PararTemporizador(Temporizador::Sincronizacao);
    hospedeiro_.PararTemporizador(Temporizador::Vigia);
    eventos_.Encerrar(codigoSaida);
}

void ServicoResidente::Mostrar(const std::function<void()>& mostrar) {
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
