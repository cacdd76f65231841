#pragma once

#include <QString>
#include <QWidget>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "app/apresentacao/situacao_bandeja.h"
#include "app/apresentacao/status_processamento.h"
#include "app/execucao/painel_execucao.h"
#include "app/qt/hospedeiro_qt.h"
#include "app/servico/servico_residente.h"
#include "comum/avisos.h"

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSystemTrayIcon;
class QTabWidget;

namespace tessora::qt {

class CampoMinutos;
class JanelaHistorico;
class JanelaPedidosComFalha;
class PaginaHistorico;

// The main window: the settings, the processing log, the buttons and the tray icon, wired
// to the resident service that it holds. It shows what a run reports (PainelExecucao, called
// on the run's thread, reaches the widgets through queued signals) and what the service tells.
class TfrmPrincipal : public QWidget, public app::PainelExecucao, private app::EventosServico {
    Q_OBJECT

  public:
    // Without a notification area (`bandejaDisponivel` false) the window is the only way
    // to the program: it starts shown and "Minimizar" minimises it instead of hiding it.
    TfrmPrincipal(app::ServicoResidente::Opcoes opcoes, Avisos& avisos,
                  app::PedidosAppForcaVenda& pedidos, bool bandejaDisponivel,
                  QWidget* parent = nullptr);
    ~TfrmPrincipal() override;

    // The start-up sequence; false when the program ends instead.
    bool FormCreate();
    app::ServicoResidente& Servico() { return *servico_; }
    HospedeiroQt& Hospedeiro() { return hospedeiro_; }

    void ExibirUltimaAtualizacao(const std::string& dataHora) override;
    void LimparLog() override;
    void AcrescentarLinhaLog(const std::string& linha) override;
    void ExibirProgresso(int32_t atual, int32_t total) override;

  signals:
    // The program is to end now with this exit status: the lock file is already gone.
    void ProgramaEncerrado(int codigoSaida);
    void LinhaLogRecebida(const QString& linha);
    void LogLimpoRecebido();
    void UltimaAtualizacaoRecebida(const QString& dataHora);
    void ProgressoRecebido(int atual, int total);

  protected:
    void closeEvent(QCloseEvent* evento) override;

  private:
    void CriarControles(const std::filesystem::path& arquivoHistorico);
    void CriarBandeja();
    void Conectar();
    void AplicarConfiguracoes();
    // The state the history leaves, until the first run of this program ends.
    void ExibirInicio();

    void ExibirVersao();
    void CopiarLog();
    void btnMinimizarClick();
    void btnEncerrarServicosClick();
    void SobreotessoraAssistente1Click();
    void seEsperaAtualizacaoAppForcaVendaChange(const QString& texto);
    void ExibirUltimoProcessamento(const app::RotuloStatus& rotulo);
    void ExibirProgressoRecebido(int atual, int total);
    void AbrirPedidosComFalha();
    void DesenharBandeja();

    void ExecucaoIniciada(app::OrigemExecucao origem) override;
    void ExecucaoTerminada(const app::ResumoExecucao& resumo) override;
    void ProximaExecucao(std::optional<std::chrono::system_clock::time_point> quando) override;
    void Encerrar(int codigoSaida) override { emit ProgramaEncerrado(codigoSaida); }

    Avisos& avisos_;
    const bool bandejaDisponivel_;
    app::SituacaoBandeja situacaoBandeja_;
    // The log holds the focus that "Sincronizar Agora" had when the run began.
    bool focoComOLog_ = false;

    // Children of the window, which owns them; each keeps its component name as objectName.
    QLabel* lblVersao;
    QTabWidget* pcPrincipal;
    QWidget* tsAppForcaVendas;
    PaginaHistorico* tsHistorico;
    JanelaHistorico* frmHistorico;
    QCheckBox* ckbProcessoAtivoAppForcaVenda;
    QPushButton* btnForcarAtualizacaoAppForcaVenda;
    QLabel* lblTituloUltimaAtualizacao;
    QLabel* lblDataHoraUltimaAtualizacaoAppForcaVenda;
    QLabel* lblSincronizarACada;
    CampoMinutos* seEsperaAtualizacaoAppForcaVenda;
    QLabel* lblMinutos;
    QLabel* lblLogProcessamento;
    QPlainTextEdit* memLogProcessamentoAppForcaVenda;
    QPushButton* btnCopiarLogAppForcaVenda;
    QLabel* lblUltimoProcessamento;
    QLabel* lbProximoProcessamento;
    QPushButton* btnPedidosComFalha;
    QPushButton* btnMinimizarForaDeVista;
    QPushButton* btnMinimizar;
    QPushButton* btnEncerrarServicos;
    QSystemTrayIcon* tiBandeja;
    QMenu* pmBandeja;
    QAction* miAbrirtessoraService;
    QAction* miSincronizarAgora;
    QAction* miPedidosComFalha;
    QAction* miSeparador;
    QAction* miSair;
    JanelaPedidosComFalha* frmPedidosComFalha;

    HospedeiroQt hospedeiro_;
    // Last, so that it goes first: its run may still report to this window.
    std::unique_ptr<app::ServicoResidente> servico_;
};

}  // namespace tessora::qt
