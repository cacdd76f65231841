#include "app/ui/servico_residente.h"

#include <exception>

#include "app/arquivo_lock.h"
#include "app/intervalo_sincronizacao.h"

namespace tessora::ui {

// Notices of the run and of the watch. The run's come from the worker thread and are
// posted to the service's thread without waiting, so the run never blocks on the window.
class ServicoResidente::AvisosDoServico : public Avisos {
  public:
    explicit AvisosDoServico(ServicoResidente& servico) : servico_(servico) {}

    void MostrarMensagem(std::string_view texto, std::string_view titulo,
                         IconeAviso icone) override {
        NaThreadDoServico([this, texto = std::string(texto), titulo = std::string(titulo), icone] {
            servico_.Mostrar([&] { servico_.avisos_.MostrarMensagem(texto, titulo, icone); });
        });
    }
    void ExibirAviso(std::string_view texto, bool confirmacao, bool fechaSozinho) override {
        NaThreadDoServico([this, texto = std::string(texto), confirmacao, fechaSozinho] {
            servico_.Mostrar(
                [&] { servico_.avisos_.ExibirAviso(texto, confirmacao, fechaSozinho); });
        });
    }
    void SolicitarEncerramento() override {
        NaThreadDoServico([this] { servico_.SolicitarFim(MotivoFim::Pedido); });
    }

  private:
    template <typename Acao>
    void NaThreadDoServico(Acao acao) {
        if (QThread::currentThread() == servico_.thread()) {
            acao();
        } else {
            QMetaObject::invokeMethod(&servico_, std::move(acao), Qt::QueuedConnection);
        }
    }

    ServicoResidente& servico_;
};

ServicoResidente::ServicoResidente(Opcoes opcoes, Avisos& avisos, app::PainelExecucao& painel,
                                   app::PedidosAppForcaVenda& pedidos, QObject* parent)
    : QObject(parent),
      opcoes_(std::move(opcoes)),
      avisos_(avisos),
      painel_(painel),
      pedidos_(pedidos),
      avisosServico_(std::make_unique<AvisosDoServico>(*this)),
      historico_(app::LerConfiguracoesHistorico(opcoes_.executavel)),
      vigia_(opcoes_.executavel.parent_path(), *avisosServico_),
      tmAppForcaVenda_(this),
      tmEncerramento_(this) {
    if (!opcoes_.executar) {
        opcoes_.executar = [](const app::AmbienteExecucao& ambiente) {
            return app::ProcessarAppForcaVenda(ambiente);
        };
    }
    tmAppForcaVenda_.setObjectName("tmAppForcaVenda");
    tmAppForcaVenda_.setInterval(5000);
    connect(&tmAppForcaVenda_, &QTimer::timeout, this, &ServicoResidente::tmAppForcaVendaTimer);

    // The watch runs from the start until the process ends.
    tmEncerramento_.setObjectName("tmEncerramento");
    tmEncerramento_.setInterval(opcoes_.intervaloVigia);
    connect(&tmEncerramento_, &QTimer::timeout, this, &ServicoResidente::tmEncerramentoTimer);
    tmEncerramento_.start();
}

ServicoResidente::~ServicoResidente() {
    // The run reports to objects that are about to go.
    if (trabalhador_) trabalhador_->wait();
}

bool ServicoResidente::Iniciar() {
    try {
        switch (app::IniciarServico(opcoes_.executavel, *avisosServico_, caminhos_, estado_)) {
            case app::DesfechoInicio::Residente:
                break;
            case app::DesfechoInicio::Encerrar:
                SolicitarFim(MotivoFim::Pedido);
                return false;
            case app::DesfechoInicio::Atualizar:
                SolicitarFim(MotivoFim::Atualizacao);
                return false;
        }
        atuais_ = *estado_.configuracoes;
        AjustarIntervaloSincronizacao(atuais_.tempoEsperaAtualizacao);
    } catch (const app::ErroArquivoLock& e) {
        // Resident without its lock file, this copy could synchronise beside another one.
        MostrarErro(e.what());
        SolicitarFim(MotivoFim::Pedido);
        return false;
    } catch (const std::exception& e) {
        MostrarErro(e.what());
    }
    return true;
}

void ServicoResidente::DefinirProcessoAtivo(bool ativo) {
    atuais_.processoAtivo = ativo;
    AnunciarProximaExecucao();
}

void ServicoResidente::AjustarIntervaloSincronizacao(const std::string& minutos) {
    atuais_.tempoEsperaAtualizacao = minutos;
    tmAppForcaVenda_.stop();
    AnunciarProximaExecucao();
    // A text the timer cannot take leaves it stopped with the interval it had, which the
    // end of a run that the timer started arms again.
    intervalo_ = app::IntervaloSincronizacao(minutos, opcoes_.porMinuto);
    RearmarSincronizacao();
}

void ServicoResidente::RearmarSincronizacao() {
    if (intervalo_ && !encerrado_) tmAppForcaVenda_.start(static_cast<int>(intervalo_->count()));
    AnunciarProximaExecucao();
}

void ServicoResidente::AnunciarProximaExecucao() {
    // A tick with automatic runs off does nothing, and a timer-started run has stopped it:
    // no automatic run is due then.
    std::optional<std::chrono::system_clock::time_point> proxima;
    if (atuais_.processoAtivo && tmAppForcaVenda_.isActive()) {
        proxima = std::chrono::system_clock::now() +
                  std::chrono::milliseconds(tmAppForcaVenda_.remainingTime());
    }
    emit ProximaExecucao(proxima);
}

void ServicoResidente::SincronizarAgora() {
    if (EmExecucao() || fimPendente_ || encerrado_) return;
    IniciarExecucao(false);
}

void ServicoResidente::tmAppForcaVendaTimer() {
    // A tick that falls due during any run does nothing; the countdown goes on.
    if (EmExecucao() || fimPendente_ || encerrado_) return;
    tmAppForcaVenda_.stop();
    if (!atuais_.processoAtivo) {
        RearmarSincronizacao();
        return;
    }
    // The timer stays stopped until the run ends: the minutes are the pause between runs.
    AnunciarProximaExecucao();
    IniciarExecucao(true);
}

void ServicoResidente::IniciarExecucao(bool peloTemporizador) {
    execucaoPeloTemporizador_ = peloTemporizador;
    encerrarExecucao_ = false;
    erroExecucao_.reset();
    fimExecucao_.reset();
    inicioExecucao_ = std::chrono::system_clock::now();
    const app::AmbienteExecucao ambiente{
        opcoes_.executavel,
        estado_.configuracoesApi,
        *avisosServico_,
        painel_,
        pedidos_,
        caminhos_,
        peloTemporizador ? app::OrigemExecucao::Temporizador : app::OrigemExecucao::Botao,
        &historico_,
        &encerrarExecucao_};
    trabalhador_.reset(QThread::create([this, ambiente] {
        try {
            fimExecucao_ = opcoes_.executar(ambiente);
        } catch (const std::exception& e) {
            erroExecucao_ = e.what();
        } catch (...) {
            erroExecucao_ = "Erro desconhecido na sincronização.";
        }
    }));
    // Emitted from the worker after its last log line, so it arrives after them.
    connect(trabalhador_.get(), &QThread::finished, this, &ServicoResidente::AoTerminarExecucao,
            Qt::QueuedConnection);
    emit ExecucaoIniciada();
    trabalhador_->start();
}

void ServicoResidente::AoTerminarExecucao() {
    trabalhador_->wait();
    trabalhador_.reset();
    if (execucaoPeloTemporizador_) RearmarSincronizacao();
    emit ExecucaoTerminada({inicioExecucao_, fimExecucao_});
    if (const auto erro = std::exchange(erroExecucao_, std::nullopt)) MostrarErro(*erro);
    ConcluirFimPendente();
}

void ServicoResidente::tmEncerramentoTimer() {
    // A tick while the previous one still shows its message waits for the next.
    if (encerrado_ || vigiando_) return;
    vigiando_ = true;
    const bool liberada = vigia_.ConexaoLiberada();
    vigiando_ = false;
    if (!liberada) SolicitarFim(MotivoFim::Desconexao);
}

void ServicoResidente::Fechar() { SolicitarFim(MotivoFim::Fechamento); }

void ServicoResidente::IniciarAtualizacaoPendente() const {
    app::IniciarAtualizacaoPendente(estado_);
}

void ServicoResidente::SolicitarFim(MotivoFim motivo) {
    if (encerrado_) return;
    // The operator's close and the ERP's request do not wait for a box to be read.
    if (!fimPendente_ || fimPendente_ == MotivoFim::Pedido) fimPendente_ = motivo;
    // The end waits for the run, which stops after the order it is writing.
    if (EmExecucao()) encerrarExecucao_ = true;
    ConcluirFimPendente();
}

void ServicoResidente::ConcluirFimPendente() {
    if (!fimPendente_ || EmExecucao() || encerrado_) return;
    // The end that a notice's situation asked for waits until the operator closed it: the
    // end of the event loop would close it unread.
    if (fimPendente_ == MotivoFim::Pedido && avisosAbertos_ > 0) return;
    const MotivoFim motivo = *std::exchange(fimPendente_, std::nullopt);
    if (motivo == MotivoFim::Fechamento) {
        try {
            app::FecharServico(opcoes_.executavel, atuais_, estado_);
        } catch (const std::exception& e) {
            MostrarErro(e.what());  // the program stays, with its lock file
            return;
        }
    } else {
        // The ERP's request and the end requests of failed look-ups leave the settings alone.
        estado_.lock.reset();
    }
    encerrado_ = true;
    tmAppForcaVenda_.stop();
    tmEncerramento_.stop();
    emit Encerrar(motivo == MotivoFim::Pedido ? 1 : 0);
}

void ServicoResidente::Mostrar(const std::function<void()>& mostrar) {
    ++avisosAbertos_;
    try {
        mostrar();
    } catch (...) {
        --avisosAbertos_;
        throw;
    }
    --avisosAbertos_;
    ConcluirFimPendente();
}

void ServicoResidente::MostrarErro(const std::string& mensagem) {
    Mostrar([&] { avisos_.MostrarMensagem(mensagem, kTituloPrograma, IconeAviso::Erro); });
}

}  // namespace tessora::ui
