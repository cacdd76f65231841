#include "app/ui/servico_residente.h"

#include <utility>

namespace tessora::ui {

ServicoResidente::ServicoResidente(Opcoes opcoes, Avisos& avisos, app::PainelExecucao& painel,
                                   app::PedidosAppForcaVenda& pedidos, QObject* parent)
    : QObject(parent),
      NucleoServicoResidente(std::move(opcoes), avisos, painel, pedidos),
      tmAppForcaVenda_(this),
      tmEncerramento_(this) {
    tmAppForcaVenda_.setObjectName("tmAppForcaVenda");
    tmAppForcaVenda_.setInterval(5000);
    connect(&tmAppForcaVenda_, &QTimer::timeout, this, &ServicoResidente::tmAppForcaVendaTimer);

    // The watch runs from the start until the program ends.
    tmEncerramento_.setObjectName("tmEncerramento");
    tmEncerramento_.setInterval(OpcoesServico().intervaloVigia);
    connect(&tmEncerramento_, &QTimer::timeout, this, &ServicoResidente::tmEncerramentoTimer);
    tmEncerramento_.start();
}

ServicoResidente::~ServicoResidente() {
    // The run reports to objects that are about to go.
    if (trabalhador_) trabalhador_->wait();
}

void ServicoResidente::NaThreadDoServico(std::function<void()> acao) {
    if (QThread::currentThread() == thread()) {
        acao();
    } else {
        QMetaObject::invokeMethod(this, std::move(acao), Qt::QueuedConnection);
    }
}

void ServicoResidente::IniciarExecucao(app::OrigemExecucao origem) {
    trabalhador_.reset(QThread::create(PrepararExecucao(origem)));
    // Emitted from the worker after its last log line, so it arrives after them.
    connect(trabalhador_.get(), &QThread::finished, this, &ServicoResidente::AoTerminarExecucao,
            Qt::QueuedConnection);
    emit ExecucaoIniciada();
    trabalhador_->start();
}

void ServicoResidente::AoTerminarExecucao() {
    trabalhador_->wait();
    trabalhador_.reset();
    emit ExecucaoTerminada(UltimaExecucao());
    ConcluirExecucao();
}

void ServicoResidente::ArmarTemporizador(std::chrono::milliseconds intervalo) {
    tmAppForcaVenda_.start(intervalo);
}

void ServicoResidente::PararTemporizador() { tmAppForcaVenda_.stop(); }

void ServicoResidente::AnunciarProximaExecucao(std::optional<app::Instante> quando) {
    std::optional<std::chrono::system_clock::time_point> hora;
    if (quando) hora = HoraDoSistema(*quando);
    emit ProximaExecucao(hora);
}

void ServicoResidente::EncerrarPrograma(int codigoSaida) {
    tmAppForcaVenda_.stop();
    tmEncerramento_.stop();
    emit Encerrar(codigoSaida);
}

}  // namespace tessora::ui
