#pragma once

#include <windows.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "app/execucao_sincronizacao.h"
#include "app/painel_execucao.h"
#include "app/situacao_bandeja.h"
#include "app/win32/pagina_historico.h"
#include "app/win32/servico_janela.h"
#include "comum/avisos.h"

namespace tessora::win32 {

// The main window: the settings, the processing log, the buttons and the tray icon, wired
// to the resident service. What a run reports (PainelExecucao, called on the run's thread)
// is posted to the window's thread.
class TfrmPrincipal : public app::PainelExecucao, private EventosServico {
  public:
    TfrmPrincipal(app::NucleoServicoResidente::Opcoes opcoes, Avisos& avisos,
                  app::PedidosAppForcaVenda& pedidos);
    ~TfrmPrincipal() override;
    TfrmPrincipal(const TfrmPrincipal&) = delete;
    TfrmPrincipal& operator=(const TfrmPrincipal&) = delete;

    // The start-up sequence; false when the program ends instead.
    bool FormCreate();
    // Set once the service ended the program: its exit status.
    std::optional<int> CodigoSaida() const { return codigoSaida_; }
    HWND Janela() const { return frmPrincipal; }
    ServicoJanela& Servico() { return *servico_; }

    void HabilitarSincronizarAgora(bool habilitado) override;
    void ExibirUltimaAtualizacao(const std::string& dataHora) override;
    void LimparLog() override;
    void AcrescentarLinhaLog(const std::string& linha) override;
    void ExecucaoEncerrada(const app::ResumoExecucao& resumo) override;

  private:
    static LRESULT CALLBACK Procedimento(HWND janela, UINT mensagem, WPARAM wParam, LPARAM lParam);
    LRESULT Tratar(UINT mensagem, WPARAM wParam, LPARAM lParam);
    void Comando(int controle, int notificacao);
    LRESULT Notificacao(const NMHDR& cabecalho, LPARAM lParam);

    void CriarControles(const std::filesystem::path& arquivoHistorico);
    void MostrarAba(int aba);
    void AdicionarBandeja();
    void AplicarConfiguracoes();
    void ExibirVersao();
    void CopiarLog();
    void btnMinimizarClick();
    void SobreotessoraAssistente1Click();
    void seEsperaAtualizacaoAppForcaVendaChange();
    void AvancarMinutos(int passos);
    void AbrirMenuBandeja();
    void DesenharBandeja(const app::NotificacaoBandeja* notificacao = nullptr);
    HICON IconeBandeja() const;
    void ExibirUltimoProcessamento(const app::ResumoExecucao& resumo);
    void EncerrarSessao();

    void ExecucaoIniciada() override;
    void ExecucaoTerminada(const app::ResumoExecucao& resumo) override;
    void ProximaExecucao(std::optional<std::chrono::system_clock::time_point> quando) override;
    void Encerrar(int codigoSaida) override;

    Avisos& avisos_;
    app::SituacaoBandeja situacaoBandeja_;
    // The run's own summary, with its counts, which reaches the window just before the
    // service's end of the run.
    std::optional<app::ResumoExecucao> resumoDaExecucao_;
    std::optional<int> codigoSaida_;
    std::string falhaUltimoProcessamento_;  // empty: the last run did not fail as a whole
    bool aplicandoConfiguracoes_ = false;   // the field's changes come from the settings
    // The log holds the focus that "Sincronizar Agora" had when the run began.
    bool focoComOLog_ = false;
    bool bandejaAdicionada_ = false;
    UINT mensagemBarraCriada_ = 0;  // the taskbar came back: the tray icon must be added again

    HFONT fonte_ = nullptr;
    HICON icone_ = nullptr;
    HICON iconePequeno_ = nullptr;
    std::array<HICON, 4> iconesBandeja_{};  // by app::EstadoBandeja
    HWND frmPrincipal = nullptr;
    HWND lblVersao = nullptr;
    HWND pcPrincipal = nullptr;
    HWND tsAppForcaVendas = nullptr;
    std::unique_ptr<PaginaHistorico> tsHistorico;
    HWND ckbProcessoAtivoAppForcaVenda = nullptr;
    HWND btnForcarAtualizacaoAppForcaVenda = nullptr;
    HWND lblDataHoraUltimaAtualizacaoAppForcaVenda = nullptr;
    HWND seEsperaAtualizacaoAppForcaVenda = nullptr;
    HWND memLogProcessamentoAppForcaVenda = nullptr;
    HWND btnCopiarLogAppForcaVenda = nullptr;
    HWND lblUltimoProcessamento = nullptr;
    HWND lbProximoProcessamento = nullptr;
    HWND btnMinimizar = nullptr;
    HWND btnEncerrarServicos = nullptr;
    HWND dicaUltimoProcessamento_ = nullptr;

    // Last, so that it goes first: its run may still report to this window.
    std::unique_ptr<ServicoJanela> servico_;
};

}  // namespace tessora::win32
