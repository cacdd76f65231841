#include "app/win32/servico_janela.h"

#include <utility>

#include "app/win32/tarefas_janela.h"

namespace tessora::win32 {

namespace {
constexpr UINT_PTR tmAppForcaVenda = 1;
constexpr UINT_PTR tmEncerramento = 2;

UINT Milissegundos(std::chrono::milliseconds intervalo) {
    return static_cast<UINT>(intervalo.count());  // the rules keep it below USER_TIMER_MAXIMUM
}
}  // namespace

ServicoJanela::ServicoJanela(HWND janela, Opcoes opcoes, Avisos& avisos,
                             app::PainelExecucao& painel, app::PedidosAppForcaVenda& pedidos,
                             EventosServico& eventos)
    : NucleoServicoResidente(std::move(opcoes), avisos, painel, pedidos),
      janela_(janela),
      thread_(GetCurrentThreadId()),
      eventos_(eventos) {
    // The watch runs from the start until the program ends.
    SetTimer(janela_, tmEncerramento, Milissegundos(OpcoesServico().intervaloVigia), nullptr);
}

ServicoJanela::~ServicoJanela() {
    // The run reports to objects that are about to go.
    if (trabalhador_.joinable()) trabalhador_.join();
}

bool ServicoJanela::TratarTemporizador(WPARAM temporizador) {
    if (temporizador == tmAppForcaVenda) {
        TiqueSincronizacao();
    } else if (temporizador == tmEncerramento) {
        TiqueVigia();
    } else {
        return false;
    }
    return true;
}

void ServicoJanela::NaThreadDoServico(std::function<void()> acao) {
    if (GetCurrentThreadId() == thread_) {
        acao();
    } else {
        PostarTarefa(janela_, std::move(acao));
    }
}

void ServicoJanela::IniciarExecucao(app::OrigemExecucao origem) {
    eventos_.ExecucaoIniciada();
    trabalhador_ = std::thread([this, trabalho = PrepararExecucao(origem)] {
        trabalho();
        // Posted after the run's last log line, so it arrives after them.
        PostarTarefa(janela_, [this] { AoTerminarExecucao(); });
    });
}

void ServicoJanela::AoTerminarExecucao() {
    trabalhador_.join();
    eventos_.ExecucaoTerminada(UltimaExecucao());
    ConcluirExecucao();
}

void ServicoJanela::ArmarTemporizador(std::chrono::milliseconds intervalo) {
    SetTimer(janela_, tmAppForcaVenda, Milissegundos(intervalo), nullptr);  // restarts it
}

void ServicoJanela::PararTemporizador() { KillTimer(janela_, tmAppForcaVenda); }

void ServicoJanela::AnunciarProximaExecucao(std::optional<app::Instante> quando) {
    std::optional<std::chrono::system_clock::time_point> hora;
    if (quando) hora = HoraDoSistema(*quando);
    eventos_.ProximaExecucao(hora);
}

void ServicoJanela::EncerrarPrograma(int codigoSaida) {
    KillTimer(janela_, tmAppForcaVenda);
    KillTimer(janela_, tmEncerramento);
    eventos_.Encerrar(codigoSaida);
}

}  // namespace tessora::win32
