#pragma once

#include <windows.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "app/apresentacao/situacao_bandeja.h"
#include "app/apresentacao/status_processamento.h"
#include "app/execucao/execucao_sincronizacao.h"
#include "app/execucao/painel_execucao.h"
#include "app/servico/servico_residente.h"
#include "app/win32/hospedeiro_win32.h"
#include "app/win32/janela_historico.h"
#include "app/win32/janela_pedidos_com_falha.h"
#include "app/win32/pagina_historico.h"
#include "comum/avisos.h"

namespace tessora::win32 {

// The main window: the settings, the processing log, the buttons and the tray icon, wired
// to the resident service. What a run reports (PainelExecucao, called on the run's thread)
// is posted to the window's thread.
class TfrmPrincipal : public app::PainelExecucao, private app::EventosServico {
  public:
    TfrmPrincipal(app::ServicoResidente::Opcoes opcoes, Avisos& avisos,
                  app::PedidosAppForcaVenda& pedidos);
    ~TfrmPrincipal() override;
    TfrmPrincipal(const TfrmPrincipal&) = delete;
    TfrmPrincipal& operator=(const TfrmPrincipal&) = delete;

    // The start-up sequence; false when the program ends instead.
    bool FormCreate();
    // Set once the service ended the program: its exit status.
    std::optional<int> CodigoSaida() const { return codigoSaida_; }
    HWND Janela() const { return frmPrincipal; }
    HWND Historico() const { return frmHistorico->Janela(); }  // the history's own window
    app::ServicoResidente& Servico() { return *servico_; }

    void ExibirUltimaAtualizacao(const std::string& dataHora) override;
    void LimparLog() override;
    void AcrescentarLinhaLog(const std::string& linha) override;
    void ExibirProgresso(int32_t atual, int32_t total) override;

  private:
    static LRESULT CALLBACK Procedimento(HWND janela, UINT mensagem, WPARAM wParam, LPARAM lParam);
    LRESULT Tratar(UINT mensagem, WPARAM wParam, LPARAM lParam);
    void Comando(int controle, int notificacao);
    LRESULT Notificacao(const NMHDR& cabecalho, LPARAM lParam);

    void CriarControles(const std::filesystem::path& arquivoHistorico);
    void MostrarAba(int aba);
    void AdicionarBandeja();
    void AplicarConfiguracoes();
    // The state the history leaves, until the first run of this program ends.
    void ExibirInicio();
    void ExibirVersao();
    void CopiarLog();
    void btnMinimizarClick();
    void SobreotessoraAssistente1Click();
    void seEsperaAtualizacaoAppForcaVendaChange();
    void AvancarMinutos(int passos);
    void AbrirMenuBandeja();
    void DesenharBandeja(const app::NotificacaoBandeja* notificacao = nullptr);
    HICON IconeBandeja() const;
    void ExibirUltimoProcessamento(const app::RotuloStatus& rotulo);
    void AbrirPedidosComFalha();
    void EncerrarSessao();

    void ExecucaoIniciada(app::OrigemExecucao origem) override;
    void ExecucaoTerminada(const app::ResumoExecucao& resumo) override;
    void ProximaExecucao(std::optional<std::chrono::system_clock::time_point> quando) override;
    void Encerrar(int codigoSaida) override;

    Avisos& avisos_;
    app::SituacaoBandeja situacaoBandeja_;
    std::optional<int> codigoSaida_;
    app::RotuloStatus ultimoProcessamento_ = app::UltimoProcessamentoInicial();
    bool aplicandoConfiguracoes_ = false;  // the field's changes come from the settings
    // The log holds the focus that "Sincronizar Agora" had when the run began.
    bool focoComOLog_ = false;
    bool bandejaAdicionada_ = false;
    UINT mensagemBarraCriada_ = 0;  // the taskbar came back: the tray icon must be added again

    HFONT fonte_ = nullptr;
    HICON icone_ = nullptr;
    HICON iconePequeno_ = nullptr;
    std::array<HICON, 6> iconesBandeja_{};  // by app::EstadoBandeja
    HWND frmPrincipal = nullptr;
    HWND lblVersao = nullptr;
    HWND pcPrincipal = nullptr;
    HWND tsAppForcaVendas = nullptr;
    std::unique_ptr<PaginaHistorico> tsHistorico;
    std::unique_ptr<JanelaHistorico> frmHistorico;
    HWND ckbProcessoAtivoAppForcaVenda = nullptr;
    HWND btnForcarAtualizacaoAppForcaVenda = nullptr;
    HWND lblDataHoraUltimaAtualizacaoAppForcaVenda = nullptr;
    HWND seEsperaAtualizacaoAppForcaVenda = nullptr;
    HWND memLogProcessamentoAppForcaVenda = nullptr;
    HWND btnCopiarLogAppForcaVenda = nullptr;
    HWND btnPedidosComFalha = nullptr;
    HWND lblUltimoProcessamento = nullptr;
    HWND lbProximoProcessamento = nullptr;
    HWND btnMinimizar = nullptr;
    HWND btnEncerrarServicos = nullptr;
    HWND dicaUltimoProcessamento_ = nullptr;
    std::unique_ptr<JanelaPedidosComFalha> frmPedidosComFalha;
    std::optional<HospedeiroWin32> hospedeiro_;  // once the window exists

    // Last, so that it goes first: its run may still report to this window.
    std::unique_ptr<app::ServicoResidente> servico_;
};

}  // namespace tessora::win32
