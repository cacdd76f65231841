#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <thread>

#include "app/execucao_sincronizacao.h"
#include "app/nucleo_servico_residente.h"

namespace tessora::win32 {

// What the service tells the window, on the window's thread.
class EventosServico {
  public:
    virtual void ExecucaoIniciada() = 0;
    virtual void ExecucaoTerminada(const app::ResumoExecucao& resumo) = 0;
    // When the next automatic run is due; nothing when none is.
    virtual void ProximaExecucao(std::optional<std::chrono::system_clock::time_point> quando) = 0;
    // The program is to end now with this exit status: the lock file is already gone.
    virtual void Encerrar(int codigoSaida) = 0;

  protected:
    ~EventosServico() = default;
};

// The resident service behind the window: the synchronisation timer `tmAppForcaVenda` and
// the shutdown watch `tmEncerramento` as the window's timers, one run at a time on a thread
// of its own that posts its end back to the window. Lives on the window's thread.
class ServicoJanela : private app::NucleoServicoResidente {
  public:
    // `janela` receives the timers and the posted tasks, and hands them to TratarMensagem.
    ServicoJanela(HWND janela, Opcoes opcoes, Avisos& avisos, app::PainelExecucao& painel,
                  app::PedidosAppForcaVenda& pedidos, EventosServico& eventos);
    ~ServicoJanela() override;

    using NucleoServicoResidente::AjustarIntervaloSincronizacao;
    using NucleoServicoResidente::Configuracoes;
    using NucleoServicoResidente::DefinirProcessoAtivo;
    using NucleoServicoResidente::Executavel;
    using NucleoServicoResidente::Fechar;
    using NucleoServicoResidente::Iniciar;
    using NucleoServicoResidente::IniciarAtualizacaoPendente;
    using NucleoServicoResidente::SincronizarAgora;

    // Serves the service's timer ticks; false for any other timer.
    bool TratarTemporizador(WPARAM temporizador);

  private:
    void AoTerminarExecucao();

    void NaThreadDoServico(std::function<void()> acao) override;
    void IniciarExecucao(app::OrigemExecucao origem) override;
    void ArmarTemporizador(std::chrono::milliseconds intervalo) override;
    void PararTemporizador() override;
    void AnunciarProximaExecucao(std::optional<app::Instante> quando) override;
    void EncerrarPrograma(int codigoSaida) override;

    const HWND janela_;
    const DWORD thread_;
    EventosServico& eventos_;
    std::thread trabalhador_;
};

}  // namespace tessora::win32
