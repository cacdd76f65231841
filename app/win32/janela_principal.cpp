#include "app/win32/janela_principal.h"

#include <commctrl.h>
#include <shellapi.h>

#include <exception>
#include <utility>

#include "app/apresentacao/apresentacao_pedidos_com_falha.h"
#include "app/apresentacao/cores.h"
#include "app/apresentacao/inicio_janela.h"
#include "app/apresentacao/progresso_execucao.h"
#include "app/apresentacao/regras_campo_minutos.h"
#include "app/apresentacao/texto_log.h"
#include "app/apresentacao/textos_janela.h"
#include "app/apresentacao/versao_programa.h"
#include "app/configuracoes/configuracoes_historico.h"
#include "app/win32/controles_win32.h"
#include "app/win32/recursos.h"
#include "app/win32/tarefas_janela.h"
#include "plataforma/texto_windows.h"

namespace tessora::win32 {

namespace {
constexpr wchar_t kClasse[] = L"TfrmPrincipal";
constexpr UINT kMensagemBandeja = WM_APP + 2;
constexpr UINT kIdBandeja = 1;

// The controls' and the tray menu's identifiers.
enum : int {
    idPcPrincipal = 100,
    idCkbProcessoAtivo,
    idBtnForcarAtualizacao,
    idSeEsperaAtualizacao,
    idUdEsperaAtualizacao,
    idMemLog,
    idBtnCopiarLog,
    idBtnPedidosComFalha,
    idLblUltimoProcessamento,
    idBtnMinimizarForaDeVista,
    idBtnMinimizar,
    idBtnEncerrarServicos,
    idMiAbrirtessoraService,
    idMiSincronizarAgora,
    idMiPedidosComFalha,
    idMiSair,
};

HICON CarregarIcone(int recurso, int tamanho) {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(recurso),
                                         IMAGE_ICON, tamanho, tamanho, 0));
}

template <size_t N>
void CopiarTexto(wchar_t (&destino)[N], const std::string& texto) {
    lstrcpynW(destino, plataforma::Utf16(texto).c_str(), static_cast<int>(N));
}
}  // namespace

TfrmPrincipal::TfrmPrincipal(app::ServicoResidente::Opcoes opcoes, Avisos& avisos,
                             app::PedidosAppForcaVenda& pedidos)
    : avisos_(avisos) {
    CriarControles(app::ObterArquivoHistorico(opcoes.executavel));
    app::EventosServico& eventos = *this;
    hospedeiro_.emplace(frmPrincipal);
    servico_ = std::make_unique<app::ServicoResidente>(std::move(opcoes), *hospedeiro_, eventos,
                                                       avisos, *this, pedidos);
}

TfrmPrincipal::~TfrmPrincipal() {
    servico_.reset();
    frmPedidosComFalha.reset();  // before the font and the icons that it borrows
    if (bandejaAdicionada_) {
        NOTIFYICONDATAW dados{};
        dados.cbSize = sizeof dados;
        dados.hWnd = frmPrincipal;
        dados.uID = kIdBandeja;
        Shell_NotifyIconW(NIM_DELETE, &dados);
    }
    frmHistorico.reset();
    DestroyWindow(frmPrincipal);
    DeleteObject(fonte_);
    DestroyIcon(icone_);
    DestroyIcon(iconePequeno_);
    for (const HICON icone : iconesBandeja_) DestroyIcon(icone);
}

void TfrmPrincipal::CriarControles(const std::filesystem::path& arquivoHistorico) {
    const HINSTANCE instancia = GetModuleHandleW(nullptr);
    const int pequeno = GetSystemMetrics(SM_CXSMICON);
    icone_ = CarregarIcone(kIconePrograma, GetSystemMetrics(SM_CXICON));
    iconePequeno_ = CarregarIcone(kIconePrograma, pequeno);
    iconesBandeja_ = {CarregarIcone(kIconeBandejaNormal, pequeno),
                      CarregarIcone(kIconeBandejaEmExecucao, pequeno),
                      CarregarIcone(kIconeBandejaPedidosComFalha, pequeno),
                      CarregarIcone(kIconeBandejaSemComunicacao, pequeno),
                      CarregarIcone(kIconeBandejaDesligada, pequeno),
                      CarregarIcone(kIconeBandejaIndefinido, pequeno)};
    RegistrarClasseJanela(kClasse, Procedimento, icone_, iconePequeno_);

    // Fixed size, with the close box only.
    CreateWindowExW(0, kClasse, plataforma::Utf16(kTituloPrograma).c_str(),
                    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, 0, 0, 0, 0, nullptr,
                    nullptr, instancia, this);
    CentrarComAreaCliente(frmPrincipal, 606, 351);
    fonte_ = CriarFonteMensagens();
    const HFONT f = fonte_;
    const HWND w = frmPrincipal;

    lblVersao = CriarControle(w, WC_STATIC, app::kVersaoInicial,
                              WS_VISIBLE | SS_CENTER | SS_NOPREFIX, {0, 4, 606, 18}, 0, f);
    pcPrincipal = CriarControle(w, WC_TABCONTROL, "", WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS,
                                {6, 26, 594, 282}, idPcPrincipal, f);
    TCITEMW aba{};
    aba.mask = TCIF_TEXT;
    std::wstring titulo = plataforma::Utf16(app::kAbaSincronizacao);
    aba.pszText = titulo.data();
    SendMessageW(pcPrincipal, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&aba));
    titulo = plataforma::Utf16(app::kAbaHistorico);
    aba.pszText = titulo.data();
    SendMessageW(pcPrincipal, TCM_INSERTITEMW, 1, reinterpret_cast<LPARAM>(&aba));
    RECT area{};
    GetClientRect(pcPrincipal, &area);
    TabCtrl_AdjustRect(pcPrincipal, FALSE, &area);
    MapWindowPoints(pcPrincipal, w, reinterpret_cast<POINT*>(&area), 2);
    tsAppForcaVendas = CriarPagina(w, area);
    const HWND p = tsAppForcaVendas;

    ckbProcessoAtivoAppForcaVenda = CriarControle(p, WC_BUTTON, app::kSincronizarAutomaticamente,
                                                  WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX,
                                                  {10, 10, 240, 22}, idCkbProcessoAtivo, f);
    btnForcarAtualizacaoAppForcaVenda =
        CriarControle(p, WC_BUTTON, app::kSincronizarAgora, WS_VISIBLE | WS_TABSTOP,
                      {436, 6, 142, 28}, idBtnForcarAtualizacao, f);
    CriarControle(p, WC_STATIC, app::kTituloUltimaAtualizacao, WS_VISIBLE | SS_NOPREFIX,
                  {10, 42, 200, 20}, 0, f);
    lblDataHoraUltimaAtualizacaoAppForcaVenda =
        CriarControle(p, WC_STATIC, app::kUltimaAtualizacaoInicial, WS_VISIBLE | SS_NOPREFIX,
                      {212, 42, 120, 20}, 0, f);
    CriarControle(p, WC_STATIC, app::kSincronizarACada, WS_VISIBLE | SS_NOPREFIX,
                  {348, 42, 118, 20}, 0, f);
    // Typing brings in digits only; a text from the settings file is kept as it is.
    seEsperaAtualizacaoAppForcaVenda = CriarControle(
        p, WC_EDIT, app::kMinutosIniciais, WS_VISIBLE | WS_TABSTOP | ES_NUMBER | ES_AUTOHSCROLL,
        {468, 40, 54, 24}, idSeEsperaAtualizacao, f, WS_EX_CLIENTEDGE);
    // The arrows only step the field: the control stays in the middle of a range of its own.
    const HWND setas = CriarControle(p, UPDOWN_CLASSW, "", WS_VISIBLE | UDS_ARROWKEYS,
                                     {522, 40, 18, 24}, idUdEsperaAtualizacao, f);
    SendMessageW(setas, UDM_SETRANGE32, static_cast<WPARAM>(-1), 1);
    CriarControle(p, WC_STATIC, app::kUnidadeMinutos, WS_VISIBLE | SS_NOPREFIX, {546, 42, 32, 20},
                  0, f);
    CriarControle(p, WC_STATIC, app::kLogProcessamento, WS_VISIBLE | SS_NOPREFIX, {10, 70, 200, 18},
                  0, f);
    // Skipped by the tab key; the scroll bar always shown.
    memLogProcessamentoAppForcaVenda = CriarControle(
        p, WC_EDIT, "", WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
        {10, 90, 568, 104}, idMemLog, f, WS_EX_CLIENTEDGE);
    SendMessageW(memLogProcessamentoAppForcaVenda, EM_SETLIMITTEXT, 0, 0);
    btnPedidosComFalha =
        CriarControle(p, WC_BUTTON, app::kTituloPedidosComFalha, WS_VISIBLE | WS_TABSTOP,
                      {352, 198, 120, 28}, idBtnPedidosComFalha, f);
    btnCopiarLogAppForcaVenda =
        CriarControle(p, WC_BUTTON, app::kCopiarLog, WS_VISIBLE | WS_TABSTOP, {478, 198, 100, 28},
                      idBtnCopiarLog, f);
    lblUltimoProcessamento = CriarControle(p, WC_STATIC, ultimoProcessamento_.texto,
                                           WS_VISIBLE | SS_NOPREFIX | SS_NOTIFY, {10, 230, 280, 18},
                                           idLblUltimoProcessamento, f);
    lbProximoProcessamento = CriarControle(p, WC_STATIC, app::ProximoProcessamentoInicial(),
                                           WS_VISIBLE | SS_NOPREFIX, {296, 230, 282, 18}, 0, f);
    // Below the page's visible part, as in the form it comes from.
    CriarControle(p, WC_BUTTON, app::kMinimizar, 0, {10, 300, 90, 26}, idBtnMinimizarForaDeVista,
                  f);

    // The tab keeps a compact view; the history's own window gives it room.
    frmHistorico = std::make_unique<JanelaHistorico>(f, arquivoHistorico, avisos_);
    tsHistorico = std::make_unique<PaginaHistorico>(w, area, f, arquivoHistorico, avisos_,
                                                    [this] { frmHistorico->Mostrar(); });
    ShowWindow(tsHistorico->Pagina(), SW_HIDE);

    btnMinimizar = CriarControle(w, WC_BUTTON, app::kMinimizar, WS_VISIBLE | WS_TABSTOP,
                                 {368, 316, 104, 28}, idBtnMinimizar, f);
    btnEncerrarServicos =
        CriarControle(w, WC_BUTTON, app::kEncerrarServicos, WS_VISIBLE | WS_TABSTOP,
                      {478, 316, 122, 28}, idBtnEncerrarServicos, f);

    // The failure of the last run, on the label's tooltip.
    dicaUltimoProcessamento_ =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0,
                        0, w, nullptr, instancia, nullptr);
    TTTOOLINFOW ferramenta{};
    ferramenta.cbSize = sizeof ferramenta;
    ferramenta.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ferramenta.hwnd = p;
    ferramenta.uId = reinterpret_cast<UINT_PTR>(lblUltimoProcessamento);
    ferramenta.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(dicaUltimoProcessamento_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ferramenta));
    SendMessageW(dicaUltimoProcessamento_, TTM_ACTIVATE, FALSE, 0);

    frmPedidosComFalha = std::make_unique<JanelaPedidosComFalha>(
        arquivoHistorico, f, icone_, iconePequeno_,
        [this](const std::string& idApp) { servico_->TentarNovamente(idApp); });

    mensagemBarraCriada_ = RegisterWindowMessageW(L"TaskbarCreated");
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
    SetWindowTextW(memLogProcessamentoAppForcaVenda, L"");
    tsHistorico->Atualizar();
    btnMinimizarClick();
    return true;
}

void TfrmPrincipal::AplicarConfiguracoes() {
    // The service already armed its timer from these values.
    aplicandoConfiguracoes_ = true;
    const auto& configuracoes = servico_->Configuracoes();
    SendMessageW(ckbProcessoAtivoAppForcaVenda, BM_SETCHECK,
                 configuracoes.processoAtivo ? BST_CHECKED : BST_UNCHECKED, 0);
    DefinirTexto(seEsperaAtualizacaoAppForcaVenda, configuracoes.tempoEsperaAtualizacao);
    aplicandoConfiguracoes_ = false;
}

void TfrmPrincipal::ExibirInicio() {
    app::InicioJanela inicio =
        app::InicioDoHistorico(app::ObterArquivoHistorico(servico_->Executavel()),
                               servico_->Configuracoes().processoAtivo);
    situacaoBandeja_ = std::move(inicio.bandeja);
    ExibirUltimoProcessamento(inicio.ultimoProcessamento);
    DefinirTexto(lblDataHoraUltimaAtualizacaoAppForcaVenda, inicio.ultimaAtualizacao);
    DesenharBandeja();
}

void TfrmPrincipal::ExibirVersao() {
    DefinirTexto(lblVersao, app::TextoVersao(servico_->Executavel()));
}

void TfrmPrincipal::CopiarLog() {
    Copiar(frmPrincipal, app::CopiaDoLog(LerTexto(memLogProcessamentoAppForcaVenda), "\r\n"));
    SendMessageW(memLogProcessamentoAppForcaVenda, EM_SETSEL, 0, 0);
    SendMessageW(memLogProcessamentoAppForcaVenda, EM_SCROLLCARET, 0, 0);
}

void TfrmPrincipal::btnMinimizarClick() {
    AdicionarBandeja();
    ShowWindow(frmPrincipal, SW_HIDE);
}

void TfrmPrincipal::SobreotessoraAssistente1Click() {
    ShowWindow(frmPrincipal, SW_SHOWNORMAL);
    SetForegroundWindow(frmPrincipal);
}

void TfrmPrincipal::seEsperaAtualizacaoAppForcaVendaChange() {
    if (aplicandoConfiguracoes_) return;
    try {
        servico_->AjustarIntervaloSincronizacao(LerTexto(seEsperaAtualizacaoAppForcaVenda));
    } catch (const std::exception& e) {
        avisos_.MostrarMensagem(e.what(), kTituloPrograma, IconeAviso::Erro);
    }
}

void TfrmPrincipal::AvancarMinutos(int passos) {
    DefinirTexto(seEsperaAtualizacaoAppForcaVenda,
                 app::MinutosAposPassos(LerTexto(seEsperaAtualizacaoAppForcaVenda), passos));
}

void TfrmPrincipal::AdicionarBandeja() {
    if (bandejaAdicionada_) return;
    NOTIFYICONDATAW dados{};
    dados.cbSize = sizeof dados;
    dados.hWnd = frmPrincipal;
    dados.uID = kIdBandeja;
    dados.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    dados.uCallbackMessage = kMensagemBandeja;
    dados.hIcon = IconeBandeja();
    CopiarTexto(dados.szTip, situacaoBandeja_.Dica());
    bandejaAdicionada_ = Shell_NotifyIconW(NIM_ADD, &dados) != FALSE;
}

void TfrmPrincipal::DesenharBandeja(const app::NotificacaoBandeja* notificacao) {
    if (!bandejaAdicionada_) return;
    NOTIFYICONDATAW dados{};
    dados.cbSize = sizeof dados;
    dados.hWnd = frmPrincipal;
    dados.uID = kIdBandeja;
    dados.uFlags = NIF_ICON | NIF_TIP;
    dados.hIcon = IconeBandeja();
    CopiarTexto(dados.szTip, situacaoBandeja_.Dica());
    if (notificacao) {
        dados.uFlags |= NIF_INFO;
        CopiarTexto(dados.szInfoTitle, std::string(kTituloPrograma));
        CopiarTexto(dados.szInfo, notificacao->texto);
        dados.dwInfoFlags = notificacao->falha ? NIIF_WARNING : NIIF_INFO;
    }
    Shell_NotifyIconW(NIM_MODIFY, &dados);
}

HICON TfrmPrincipal::IconeBandeja() const {
    return iconesBandeja_[static_cast<size_t>(situacaoBandeja_.Estado())];
}

void TfrmPrincipal::AbrirMenuBandeja() {
    const HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, idMiAbrirtessoraService,
                plataforma::Utf16(app::kMenuAbrir).c_str());
    AppendMenuW(menu, MF_STRING | (servico_->EmExecucao() ? MF_GRAYED : 0), idMiSincronizarAgora,
                plataforma::Utf16(app::kSincronizarAgora).c_str());
    AppendMenuW(menu, MF_STRING, idMiPedidosComFalha,
                plataforma::Utf16(app::kTituloPedidosComFalha).c_str());
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, idMiSair, plataforma::Utf16(app::kMenuSair).c_str());
    POINT ponto{};
    GetCursorPos(&ponto);
    // The menu closes when the operator clicks elsewhere only while the window is in front.
    SetForegroundWindow(frmPrincipal);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, ponto.x, ponto.y, 0, frmPrincipal, nullptr);
    PostMessageW(frmPrincipal, WM_NULL, 0, 0);
    DestroyMenu(menu);
}

void TfrmPrincipal::ExibirUltimoProcessamento(const app::RotuloStatus& rotulo) {
    ultimoProcessamento_ = rotulo;
    DefinirTexto(lblUltimoProcessamento, rotulo.texto);
    const std::wstring dica = plataforma::Utf16(rotulo.dica);
    TTTOOLINFOW ferramenta{};
    ferramenta.cbSize = sizeof ferramenta;
    ferramenta.hwnd = tsAppForcaVendas;
    ferramenta.uId = reinterpret_cast<UINT_PTR>(lblUltimoProcessamento);
    ferramenta.lpszText = const_cast<wchar_t*>(dica.c_str());
    SendMessageW(dicaUltimoProcessamento_, TTM_UPDATETIPTEXTW, 0,
                 reinterpret_cast<LPARAM>(&ferramenta));
    SendMessageW(dicaUltimoProcessamento_, TTM_ACTIVATE, !dica.empty(), 0);
    // The page paints again under the label, which leaves its background to it when red.
    RECT lugar{};
    GetWindowRect(lblUltimoProcessamento, &lugar);
    MapWindowPoints(nullptr, tsAppForcaVendas, reinterpret_cast<POINT*>(&lugar), 2);
    RedrawWindow(tsAppForcaVendas, &lugar, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TfrmPrincipal::ExecucaoIniciada(app::OrigemExecucao) {
    // The button follows the worker's life on this thread, so it is off for the whole run.
    // Disabled, it would lose the focus: the read-only log holds it for the run and gives it
    // back, so that it never lands on the minutes field, where a key typed changes the interval.
    focoComOLog_ = GetFocus() == btnForcarAtualizacaoAppForcaVenda;
    if (focoComOLog_) SetFocus(memLogProcessamentoAppForcaVenda);
    EnableWindow(btnForcarAtualizacaoAppForcaVenda, FALSE);
    frmPedidosComFalha->DefinirEmExecucao(true);
    ExibirUltimoProcessamento(app::RotuloEmExecucao(std::nullopt));
    situacaoBandeja_.ExecucaoIniciada();
    DesenharBandeja();
}

void TfrmPrincipal::ExecucaoTerminada(const app::ResumoExecucao& resumo) {
    EnableWindow(btnForcarAtualizacaoAppForcaVenda, TRUE);
    frmPedidosComFalha->DefinirEmExecucao(false);
    frmPedidosComFalha->Atualizar();
    if (std::exchange(focoComOLog_, false) && GetFocus() == memLogProcessamentoAppForcaVenda) {
        SetFocus(btnForcarAtualizacaoAppForcaVenda);
    }
    ExibirUltimoProcessamento(app::UltimoProcessamento(resumo));
    const auto notificacao = situacaoBandeja_.ExecucaoTerminada(resumo);
    DesenharBandeja(notificacao ? &*notificacao : nullptr);
    tsHistorico->Atualizar();
    frmHistorico->Atualizar();
}

void TfrmPrincipal::AbrirPedidosComFalha() { frmPedidosComFalha->Abrir(); }

void TfrmPrincipal::MostrarAba(int aba) {
    ShowWindow(tsAppForcaVendas, aba == 0 ? SW_SHOW : SW_HIDE);
    ShowWindow(tsHistorico->Pagina(), aba == 1 ? SW_SHOW : SW_HIDE);
}

void TfrmPrincipal::ProximaExecucao(std::optional<std::chrono::system_clock::time_point> quando) {
    DefinirTexto(lbProximoProcessamento, app::ProximoProcessamento(quando));
}

void TfrmPrincipal::Encerrar(int codigoSaida) {
    codigoSaida_ = codigoSaida;
    PostQuitMessage(codigoSaida);
}

// The session ends once this returns: the close handling goes first, serving the window
// until the service ended the program.
void TfrmPrincipal::EncerrarSessao() {
    servico_->Fechar();
    MSG mensagem;
    while (!codigoSaida_ && GetMessageW(&mensagem, nullptr, 0, 0) > 0) {
        TranslateMessage(&mensagem);
        DispatchMessageW(&mensagem);
    }
}

void TfrmPrincipal::ExibirUltimaAtualizacao(const std::string& dataHora) {
    PostarTarefa(frmPrincipal, [this, dataHora] {
        DefinirTexto(lblDataHoraUltimaAtualizacaoAppForcaVenda, dataHora);
    });
}

void TfrmPrincipal::LimparLog() {
    PostarTarefa(frmPrincipal, [this] { SetWindowTextW(memLogProcessamentoAppForcaVenda, L""); });
}

void TfrmPrincipal::AcrescentarLinhaLog(const std::string& linha) {
    PostarTarefa(frmPrincipal, [this, linha] {
        const HWND log = memLogProcessamentoAppForcaVenda;
        const int fim = GetWindowTextLengthW(log);
        const std::wstring texto =
            (fim > 0 ? L"\r\n" : L"") + plataforma::Utf16(app::LinhaDoLog(linha, "\r\n"));
        SendMessageW(log, EM_SETSEL, static_cast<WPARAM>(fim), fim);
        SendMessageW(log, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(texto.c_str()));
    });
}

void TfrmPrincipal::ExibirProgresso(int32_t atual, int32_t total) {
    PostarTarefa(frmPrincipal, [this, atual, total] {
        const app::ProgressoExecucao progresso{atual, total};
        ExibirUltimoProcessamento(app::RotuloEmExecucao(progresso));
        situacaoBandeja_.Progresso(progresso);
        DesenharBandeja();
    });
}

LRESULT CALLBACK TfrmPrincipal::Procedimento(HWND janela, UINT mensagem, WPARAM wParam,
                                             LPARAM lParam) {
    auto* formulario = DonoDaJanela(janela, mensagem, lParam, &TfrmPrincipal::frmPrincipal);
    if (!formulario || !formulario->servico_) {
        return DefWindowProcW(janela, mensagem, wParam, lParam);
    }
    return formulario->Tratar(mensagem, wParam, lParam);
}

LRESULT TfrmPrincipal::Tratar(UINT mensagem, WPARAM wParam, LPARAM lParam) {
    if (ExecutarTarefa(mensagem, lParam)) return 0;
    switch (mensagem) {
        case WM_TIMER:
            if (const auto temporizador = HospedeiroWin32::TemporizadorDoServico(wParam)) {
                servico_->Tique(*temporizador);
                return 0;
            }
            break;
        case WM_COMMAND:
            Comando(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_NOTIFY:
            return Notificacao(*reinterpret_cast<const NMHDR*>(lParam), lParam);
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lParam) == lblUltimoProcessamento &&
                ultimoProcessamento_.falha) {
                // Drawn over the page's own background, which themes paint as a texture.
                const HDC contexto = reinterpret_cast<HDC>(wParam);
                SetTextColor(contexto, CorWin32(app::kCorFalha));
                SetBkMode(contexto, TRANSPARENT);
                return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
            }
            return 0;
        case kMensagemBandeja:
            // The menu opens on a right click; other clicks on the icon do nothing. Every
            // notice is about the runs' trouble, or its end: the failing orders are what to see.
            if (LOWORD(lParam) == WM_RBUTTONUP || LOWORD(lParam) == WM_CONTEXTMENU) {
                AbrirMenuBandeja();
            } else if (LOWORD(lParam) == NIN_BALLOONUSERCLICK) {
                AbrirPedidosComFalha();
            }
            return 0;
        case WM_CLOSE:
            // The window goes with the process, once the close handling has done its part.
            servico_->Fechar();
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            if (wParam) EncerrarSessao();
            return 0;
        default:
            if (mensagem == mensagemBarraCriada_ && bandejaAdicionada_) {
                bandejaAdicionada_ = false;
                AdicionarBandeja();
                return 0;
            }
    }
    return DefWindowProcW(frmPrincipal, mensagem, wParam, lParam);
}

void TfrmPrincipal::Comando(int controle, int notificacao) {
    switch (controle) {
        case idBtnForcarAtualizacao:
        case idMiSincronizarAgora:
            servico_->SincronizarAgora();
            break;
        case idBtnPedidosComFalha:
        case idMiPedidosComFalha:
            AbrirPedidosComFalha();
            break;
        case idBtnCopiarLog:
            CopiarLog();
            break;
        case idBtnMinimizar:
        case idBtnMinimizarForaDeVista:
            btnMinimizarClick();
            break;
        case idBtnEncerrarServicos:
        case idMiSair:
            servico_->Fechar();
            break;
        case idMiAbrirtessoraService:
            SobreotessoraAssistente1Click();
            break;
        case idCkbProcessoAtivo:
            if (notificacao == BN_CLICKED) {
                const bool ativo =
                    SendMessageW(ckbProcessoAtivoAppForcaVenda, BM_GETCHECK, 0, 0) == BST_CHECKED;
                servico_->DefinirProcessoAtivo(ativo);
                situacaoBandeja_.DefinirSincronizacaoAutomatica(ativo);
                DesenharBandeja();
            }
            break;
        case idSeEsperaAtualizacao:
            if (notificacao == EN_CHANGE) seEsperaAtualizacaoAppForcaVendaChange();
            break;
        default:
            tsHistorico->Comando(controle, notificacao);
    }
}

LRESULT TfrmPrincipal::Notificacao(const NMHDR& cabecalho, LPARAM lParam) {
    if (cabecalho.idFrom == idUdEsperaAtualizacao && cabecalho.code == UDN_DELTAPOS) {
        AvancarMinutos(reinterpret_cast<const NMUPDOWN*>(lParam)->iDelta);
        return TRUE;  // the control's own position stays
    }
    if (cabecalho.idFrom == idPcPrincipal && cabecalho.code == TCN_SELCHANGE) {
        MostrarAba(static_cast<int>(SendMessageW(pcPrincipal, TCM_GETCURSEL, 0, 0)));
        return 0;
    }
    LRESULT resultado = 0;
    tsHistorico->Notificacao(cabecalho, lParam, resultado);
    return resultado;
}

}  // namespace tessora::win32
