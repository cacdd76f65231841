#include "app/ui/servico_residente.h"

#include <exception>
#include <utility>

#include "app/arquivo_lock.h"

namespace tessora::ui {

namespace {
app::Instante Agora() { return std::chrono::steady_clock::now(); }
}  // namespace

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
        NaThreadDoServico([this] { servico_.maquina_.SolicitarFim(app::MotivoFim::Pedido); });
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
      maquina_(*this, opcoes_.porMinuto),
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

    // The watch runs from the start until the program ends.
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
                maquina_.SolicitarFim(app::MotivoFim::Pedido);
                return false;
            case app::DesfechoInicio::Atualizar:
                maquina_.SolicitarFim(app::MotivoFim::Atualizacao);
                return false;
        }
        maquina_.CarregarConfiguracoes(*estado_.configuracoes, Agora());
    } catch (const app::ErroArquivoLock& e) {
        // Resident without its lock file, this copy could synchronise beside another one.
        maquina_.Falha(e.what());
        maquina_.SolicitarFim(app::MotivoFim::Pedido);
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

void ServicoResidente::Fechar() { maquina_.SolicitarFim(app::MotivoFim::Fechamento); }

void ServicoResidente::IniciarAtualizacaoPendente() const {
    app::IniciarAtualizacaoPendente(estado_);
}

void ServicoResidente::tmAppForcaVendaTimer() { maquina_.TiqueSincronizacao(Agora()); }

void ServicoResidente::tmEncerramentoTimer() { maquina_.TiqueVigia(); }

void ServicoResidente::IniciarExecucao(app::OrigemExecucao origem) {
    erroExecucao_.reset();
    fimExecucao_.reset();
    inicioExecucao_ = std::chrono::system_clock::now();
    const app::AmbienteExecucao ambiente{opcoes_.executavel,
                                         estado_.configuracoesApi,
                                         *avisosServico_,
                                         painel_,
                                         pedidos_,
                                         caminhos_,
                                         origem,
                                         &historico_};
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
    emit ExecucaoTerminada({inicioExecucao_, fimExecucao_});
    maquina_.ExecucaoTerminada(std::exchange(erroExecucao_, std::nullopt), Agora());
}

void ServicoResidente::ArmarTemporizador(std::chrono::milliseconds intervalo) {
    tmAppForcaVenda_.start(intervalo);
}

void ServicoResidente::PararTemporizador() { tmAppForcaVenda_.stop(); }

void ServicoResidente::AnunciarProximaExecucao(std::optional<app::Instante> quando) {
    std::optional<std::chrono::system_clock::time_point> hora;
    if (quando) {
        hora = std::chrono::system_clock::now() +
               std::chrono::duration_cast<std::chrono::system_clock::duration>(*quando - Agora());
    }
    emit ProximaExecucao(hora);
}

void ServicoResidente::VerificarConexao() { maquina_.ResultadoVigia(vigia_.ConexaoLiberada()); }

void ServicoResidente::ExibirErro(const std::string& mensagem) {
    avisos_.MostrarMensagem(mensagem, kTituloPrograma, IconeAviso::Erro);
}

void ServicoResidente::FecharServico(const app::ConfiguracoesServico& atuais) {
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

void ServicoResidente::EncerrarPrograma(int codigoSaida) {
    tmAppForcaVenda_.stop();
    tmEncerramento_.stop();
    emit Encerrar(codigoSaida);
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

}  // namespace tessora::ui
