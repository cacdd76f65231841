#include "app/qt/frm_principal.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTabWidget>

#include <exception>
#include <utility>

#include "app/apresentacao/apresentacao_pedidos_com_falha.h"
#include "app/apresentacao/cores.h"
#include "app/apresentacao/inicio_janela.h"
#include "app/apresentacao/progresso_execucao.h"
#include "app/apresentacao/status_processamento.h"
#include "app/apresentacao/texto_log.h"
#include "app/apresentacao/textos_janela.h"
#include "app/apresentacao/versao_programa.h"
#include "app/configuracoes/configuracoes_historico.h"
#include "app/qt/campo_minutos.h"
#include "app/qt/cor_qt.h"
#include "app/qt/icone_programa.h"
#include "app/qt/janela_historico.h"
#include "app/qt/janela_pedidos_com_falha.h"
#include "app/qt/pagina_historico.h"

namespace tessora::qt {

namespace {

template <typename Controle>
Controle* Criar(QWidget* pai, const char* nome, QRect geometria) {
    auto* controle = new Controle(pai);
    controle->setObjectName(nome);
    controle->setGeometry(geometria);
    return controle;
}

QLabel* Rotulo(QWidget* pai, const char* nome, const QString& texto, QRect geometria) {
    auto* rotulo = Criar<QLabel>(pai, nome, geometria);
    rotulo->setText(texto);
    return rotulo;
}

QPushButton* Botao(QWidget* pai, const char* nome, const QString& texto, QRect geometria) {
    auto* botao = Criar<QPushButton>(pai, nome, geometria);
    botao->setText(texto);
    return botao;
}

QString Texto(const std::string& texto) { return QString::fromStdString(texto); }
}  // namespace

TfrmPrincipal::TfrmPrincipal(app::ServicoResidente::Opcoes opcoes, Avisos& avisos,
                             app::PedidosAppForcaVenda& pedidos, bool bandejaDisponivel,
                             QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      avisos_(avisos),
      bandejaDisponivel_(bandejaDisponivel) {
    CriarControles(app::ObterArquivoHistorico(opcoes.executavel));
    CriarBandeja();
    app::EventosServico& eventos = *this;
    servico_ = std::make_unique<app::ServicoResidente>(std::move(opcoes), hospedeiro_, eventos,
                                                       avisos, *this, pedidos);
    Conectar();
}

TfrmPrincipal::~TfrmPrincipal() = default;

void TfrmPrincipal::CriarControles(const std::filesystem::path& arquivoHistorico) {
    setObjectName("frmPrincipal");
    setWindowTitle(Texto(std::string(kTituloPrograma)));
    setWindowIcon(IconePrograma());
    setFixedSize(606, 351);
    if (const QScreen* tela = QGuiApplication::primaryScreen()) {
        move(tela->availableGeometry().center() - rect().center());
    }

    lblVersao = Rotulo(this, "lblVersao", app::kVersaoInicial, {0, 4, 606, 18});
    lblVersao->setAlignment(Qt::AlignCenter);

    pcPrincipal = Criar<QTabWidget>(this, "pcPrincipal", {6, 26, 594, 282});
    tsAppForcaVendas = new QWidget;
    tsAppForcaVendas->setObjectName("TabSheet1");
    pcPrincipal->addTab(tsAppForcaVendas, app::kAbaSincronizacao);

    ckbProcessoAtivoAppForcaVenda =
        Criar<QCheckBox>(tsAppForcaVendas, "ckbProcessoAtivoAppForcaVenda", {10, 10, 240, 22});
    ckbProcessoAtivoAppForcaVenda->setText(app::kSincronizarAutomaticamente);
    btnForcarAtualizacaoAppForcaVenda = Botao(tsAppForcaVendas, "btnForcarAtualizacaoAppForcaVenda",
                                              app::kSincronizarAgora, {436, 6, 142, 28});
    lblTituloUltimaAtualizacao =
        Rotulo(tsAppForcaVendas, "Label2", app::kTituloUltimaAtualizacao, {10, 42, 200, 20});
    lblDataHoraUltimaAtualizacaoAppForcaVenda =
        Rotulo(tsAppForcaVendas, "lblDataHoraUltimaAtualizacaoAppForcaVenda",
               app::kUltimaAtualizacaoInicial, {212, 42, 120, 20});
    lblSincronizarACada =
        Rotulo(tsAppForcaVendas, "Label10", app::kSincronizarACada, {348, 42, 118, 20});
    seEsperaAtualizacaoAppForcaVenda = Criar<CampoMinutos>(
        tsAppForcaVendas, "seEsperaAtualizacaoAppForcaVenda", {468, 40, 72, 24});
    seEsperaAtualizacaoAppForcaVenda->DefinirTexto(app::kMinutosIniciais);
    lblMinutos = Rotulo(tsAppForcaVendas, "Label1", app::kUnidadeMinutos, {546, 42, 32, 20});
    lblLogProcessamento =
        Rotulo(tsAppForcaVendas, "Label3", app::kLogProcessamento, {10, 70, 200, 18});
    memLogProcessamentoAppForcaVenda = Criar<QPlainTextEdit>(
        tsAppForcaVendas, "memLogProcessamentoAppForcaVenda", {10, 90, 568, 104});
    memLogProcessamentoAppForcaVenda->setReadOnly(true);
    memLogProcessamentoAppForcaVenda->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memLogProcessamentoAppForcaVenda->setFocusPolicy(Qt::ClickFocus);  // skipped by the tab key
    btnPedidosComFalha = Botao(tsAppForcaVendas, "btnPedidosComFalha", app::kTituloPedidosComFalha,
                               {352, 198, 120, 28});
    btnCopiarLogAppForcaVenda =
        Botao(tsAppForcaVendas, "btnCopiarLogAppForcaVenda", app::kCopiarLog, {478, 198, 100, 28});
    lblUltimoProcessamento =
        Rotulo(tsAppForcaVendas, "lblUltimoProcessamento", "", {10, 230, 280, 18});
    ExibirUltimoProcessamento(app::UltimoProcessamentoInicial());
    lbProximoProcessamento = Rotulo(tsAppForcaVendas, "lbProximoProcessamento",
                                    Texto(app::ProximoProcessamentoInicial()), {296, 230, 282, 18});
    btnMinimizarForaDeVista = Botao(tsAppForcaVendas, "BitBtn1", app::kMinimizar,
                                    {10, 300, 90, 26});  // below the page's visible part

    // The tab keeps a compact view; the history's own window gives it room.
    frmHistorico = new JanelaHistorico(arquivoHistorico, avisos_, this);
    tsHistorico =
        new PaginaHistorico(arquivoHistorico, avisos_, [this] { frmHistorico->Mostrar(); });
    tsHistorico->setObjectName("tsHistorico");
    pcPrincipal->addTab(tsHistorico, app::kAbaHistorico);

    btnMinimizar = Botao(this, "btnMinimizar", app::kMinimizar, {368, 316, 104, 28});
    btnEncerrarServicos =
        Botao(this, "btnEncerrarServicos", app::kEncerrarServicos, {478, 316, 122, 28});

    frmPedidosComFalha = new JanelaPedidosComFalha(
        arquivoHistorico, [this](const std::string& idApp) { servico_->TentarNovamente(idApp); },
        this);
}

void TfrmPrincipal::CriarBandeja() {
    pmBandeja = new QMenu(this);
    pmBandeja->setObjectName("PopupMenu1");
    miAbrirtessoraService = pmBandeja->addAction(app::kMenuAbrir);
    miAbrirtessoraService->setObjectName("SobreotessoraAssistente1");
    miSincronizarAgora = pmBandeja->addAction(app::kSincronizarAgora);
    miSincronizarAgora->setObjectName("miSincronizarAgora");
    miPedidosComFalha = pmBandeja->addAction(app::kTituloPedidosComFalha);
    miPedidosComFalha->setObjectName("miPedidosComFalha");
    miSeparador = pmBandeja->addSeparator();
    miSeparador->setObjectName("N1");
    miSair = pmBandeja->addAction(app::kMenuSair);
    miSair->setObjectName("Sair1");

    // The menu opens on a right click; other clicks on the icon do nothing.
    tiBandeja = new QSystemTrayIcon(this);
    tiBandeja->setObjectName("TrayIcon1");
    tiBandeja->setContextMenu(pmBandeja);
    DesenharBandeja();
}

void TfrmPrincipal::Conectar() {
    connect(btnForcarAtualizacaoAppForcaVenda, &QPushButton::clicked, this,
            [this] { servico_->SincronizarAgora(); });
    connect(miSincronizarAgora, &QAction::triggered, this,
            [this] { servico_->SincronizarAgora(); });
    connect(btnPedidosComFalha, &QPushButton::clicked, this, &TfrmPrincipal::AbrirPedidosComFalha);
    connect(miPedidosComFalha, &QAction::triggered, this, &TfrmPrincipal::AbrirPedidosComFalha);
    // Every notice is about the runs' trouble, or its end: the failing orders are what to see.
    connect(tiBandeja, &QSystemTrayIcon::messageClicked, this,
            &TfrmPrincipal::AbrirPedidosComFalha);
    connect(btnCopiarLogAppForcaVenda, &QPushButton::clicked, this, &TfrmPrincipal::CopiarLog);
    connect(btnMinimizar, &QPushButton::clicked, this, &TfrmPrincipal::btnMinimizarClick);
    connect(btnEncerrarServicos, &QPushButton::clicked, this,
            &TfrmPrincipal::btnEncerrarServicosClick);
    connect(miSair, &QAction::triggered, this, &TfrmPrincipal::btnEncerrarServicosClick);
    connect(miAbrirtessoraService, &QAction::triggered, this,
            &TfrmPrincipal::SobreotessoraAssistente1Click);
    connect(ckbProcessoAtivoAppForcaVenda, &QCheckBox::toggled, this, [this](bool ativo) {
        servico_->DefinirProcessoAtivo(ativo);
        situacaoBandeja_.DefinirSincronizacaoAutomatica(ativo);
        DesenharBandeja();
    });
    connect(&hospedeiro_, &HospedeiroQt::Tique, this,
            [this](app::Temporizador temporizador) { servico_->Tique(temporizador); });
    connect(seEsperaAtualizacaoAppForcaVenda, &CampoMinutos::TextoAlterado, this,
            &TfrmPrincipal::seEsperaAtualizacaoAppForcaVendaChange);

    connect(this, &TfrmPrincipal::LinhaLogRecebida, memLogProcessamentoAppForcaVenda,
            &QPlainTextEdit::appendPlainText, Qt::QueuedConnection);
    connect(this, &TfrmPrincipal::LogLimpoRecebido, memLogProcessamentoAppForcaVenda,
            &QPlainTextEdit::clear, Qt::QueuedConnection);
    connect(this, &TfrmPrincipal::UltimaAtualizacaoRecebida,
            lblDataHoraUltimaAtualizacaoAppForcaVenda, &QLabel::setText, Qt::QueuedConnection);
    connect(this, &TfrmPrincipal::ProgressoRecebido, this, &TfrmPrincipal::ExibirProgressoRecebido,
            Qt::QueuedConnection);
}

bool TfrmPrincipal::FormCreate() {
    try {
        ExibirVersao();
    } catch (const std::exception& e) {
        avisos_.MostrarMensagem(e.what(), kTituloPrograma, IconeAviso::Erro);
    }
    if (!servico_->Iniciar()) return false;
    AplicarConfiguracoes();
    ExibirInicio();
    memLogProcessamentoAppForcaVenda->clear();
    tsHistorico->Atualizar();
    if (bandejaDisponivel_) {
        btnMinimizarClick();
    } else {
        show();
    }
    return true;
}

void TfrmPrincipal::AplicarConfiguracoes() {
    // The service already armed its timer from these values.
    const QSignalBlocker bloqueioCaixa(ckbProcessoAtivoAppForcaVenda);
    const QSignalBlocker bloqueioMinutos(seEsperaAtualizacaoAppForcaVenda);
    const auto& configuracoes = servico_->Configuracoes();
    ckbProcessoAtivoAppForcaVenda->setChecked(configuracoes.processoAtivo);
    seEsperaAtualizacaoAppForcaVenda->DefinirTexto(Texto(configuracoes.tempoEsperaAtualizacao));
}

void TfrmPrincipal::ExibirInicio() {
    app::InicioJanela inicio =
        app::InicioDoHistorico(app::ObterArquivoHistorico(servico_->Executavel()),
                               servico_->Configuracoes().processoAtivo);
    situacaoBandeja_ = std::move(inicio.bandeja);
    ExibirUltimoProcessamento(inicio.ultimoProcessamento);
    lblDataHoraUltimaAtualizacaoAppForcaVenda->setText(Texto(inicio.ultimaAtualizacao));
    DesenharBandeja();
}

void TfrmPrincipal::ExibirVersao() {
    lblVersao->setText(Texto(app::TextoVersao(servico_->Executavel())));
}

void TfrmPrincipal::CopiarLog() {
    QGuiApplication::clipboard()->setText(Texto(
        app::CopiaDoLog(memLogProcessamentoAppForcaVenda->toPlainText().toStdString(), "\n")));
    memLogProcessamentoAppForcaVenda->moveCursor(QTextCursor::Start);
}

void TfrmPrincipal::btnMinimizarClick() {
    tiBandeja->show();
    if (bandejaDisponivel_) {
        hide();
    } else {
        showMinimized();
    }
}

void TfrmPrincipal::btnEncerrarServicosClick() { servico_->Fechar(); }

void TfrmPrincipal::AbrirPedidosComFalha() { frmPedidosComFalha->Abrir(); }

void TfrmPrincipal::SobreotessoraAssistente1Click() {
    showNormal();
    raise();
    activateWindow();
}

void TfrmPrincipal::seEsperaAtualizacaoAppForcaVendaChange(const QString& texto) {
    try {
        servico_->AjustarIntervaloSincronizacao(texto.toStdString());
    } catch (const std::exception& e) {
        avisos_.MostrarMensagem(e.what(), kTituloPrograma, IconeAviso::Erro);
    }
}

void TfrmPrincipal::closeEvent(QCloseEvent* evento) {
    // The window goes with the process, once the close handling has done its part.
    evento->ignore();
    servico_->Fechar();
}

void TfrmPrincipal::ExibirUltimoProcessamento(const app::RotuloStatus& rotulo) {
    lblUltimoProcessamento->setText(Texto(rotulo.texto));
    lblUltimoProcessamento->setToolTip(Texto(rotulo.dica));
    lblUltimoProcessamento->setStyleSheet(
        rotulo.falha ? "color: " + CorQt(app::kCorFalha).name() + ";" : QString());
}

void TfrmPrincipal::ProximaExecucao(std::optional<std::chrono::system_clock::time_point> quando) {
    lbProximoProcessamento->setText(Texto(app::ProximoProcessamento(quando)));
}

void TfrmPrincipal::ExecucaoIniciada(app::OrigemExecucao) {
    // The button follows the run's thread, so it is off for the whole run. Disabled, it would
    // hand its focus on to the minutes field, where the next key typed changes the interval:
    // the read-only log holds the focus for the run and gives it back.
    focoComOLog_ = focusWidget() == btnForcarAtualizacaoAppForcaVenda;
    if (focoComOLog_) memLogProcessamentoAppForcaVenda->setFocus();
    btnForcarAtualizacaoAppForcaVenda->setEnabled(false);
    miSincronizarAgora->setEnabled(false);
    frmPedidosComFalha->DefinirEmExecucao(true);
    ExibirUltimoProcessamento(app::RotuloEmExecucao(std::nullopt));
    situacaoBandeja_.ExecucaoIniciada();
    DesenharBandeja();
}

void TfrmPrincipal::ExibirProgressoRecebido(int atual, int total) {
    const app::ProgressoExecucao progresso{atual, total};
    ExibirUltimoProcessamento(app::RotuloEmExecucao(progresso));
    situacaoBandeja_.Progresso(progresso);
    DesenharBandeja();
}

void TfrmPrincipal::ExecucaoTerminada(const app::ResumoExecucao& resumo) {
    btnForcarAtualizacaoAppForcaVenda->setEnabled(true);
    miSincronizarAgora->setEnabled(true);
    frmPedidosComFalha->DefinirEmExecucao(false);
    frmPedidosComFalha->Atualizar();
    if (std::exchange(focoComOLog_, false) && focusWidget() == memLogProcessamentoAppForcaVenda) {
        btnForcarAtualizacaoAppForcaVenda->setFocus();
    }
    ExibirUltimoProcessamento(app::UltimoProcessamento(resumo));
    const auto notificacao = situacaoBandeja_.ExecucaoTerminada(resumo);
    DesenharBandeja();
    if (notificacao) {
        tiBandeja->showMessage(
            Texto(std::string(kTituloPrograma)), Texto(notificacao->texto),
            notificacao->falha ? QSystemTrayIcon::Warning : QSystemTrayIcon::Information);
    }
    tsHistorico->Atualizar();
    frmHistorico->Atualizar();
}

void TfrmPrincipal::DesenharBandeja() {
    tiBandeja->setIcon(IconeBandeja(situacaoBandeja_.Estado()));
    tiBandeja->setToolTip(Texto(situacaoBandeja_.Dica()));
}

void TfrmPrincipal::ExibirUltimaAtualizacao(const std::string& dataHora) {
    emit UltimaAtualizacaoRecebida(Texto(dataHora));
}

void TfrmPrincipal::LimparLog() { emit LogLimpoRecebido(); }

void TfrmPrincipal::ExibirProgresso(int32_t atual, int32_t total) {
    emit ProgressoRecebido(atual, total);
}

void TfrmPrincipal::AcrescentarLinhaLog(const std::string& linha) {
    emit LinhaLogRecebida(Texto(app::LinhaDoLog(linha, "\n")));
}

}  // namespace tessora::qt
