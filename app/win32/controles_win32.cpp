#include "app/win32/controles_win32.h"

#include <uxtheme.h>

#include "plataforma/texto_windows.h"

namespace tessora::win32 {

namespace {
int PontosPorPolegada() {
    static const int dpi = [] {
        const HDC tela = GetDC(nullptr);
        const int valor = GetDeviceCaps(tela, LOGPIXELSY);
        ReleaseDC(nullptr, tela);
        return valor > 0 ? valor : USER_DEFAULT_SCREEN_DPI;
    }();
    return dpi;
}

// The page of the tab: a dialog without template items, so that the system paints the
// tab's background behind its controls. It hands the controls' messages to the window.
INT_PTR CALLBACK ProcedimentoPagina(HWND pagina, UINT mensagem, WPARAM wParam, LPARAM lParam) {
    switch (mensagem) {
        case WM_INITDIALOG:
            EnableThemeDialogTexture(pagina, ETDT_ENABLETAB);
            return TRUE;
        case WM_COMMAND:
        case WM_NOTIFY:
            SetWindowLongPtrW(pagina, DWLP_MSGRESULT,
                              SendMessageW(GetParent(pagina), mensagem, wParam, lParam));
            return TRUE;
        case WM_CTLCOLORSTATIC:
            // The window answers for the labels it colours; the dialog for the rest.
            return static_cast<INT_PTR>(SendMessageW(GetParent(pagina), mensagem, wParam, lParam));
    }
    return FALSE;
}
}  // namespace

HWND CriarPagina(HWND pai, const RECT& area) {
    struct alignas(DWORD) {
        DLGTEMPLATE modelo{WS_CHILD | WS_VISIBLE | DS_CONTROL, WS_EX_CONTROLPARENT, 0, 0, 0, 0, 0};
        WORD menu = 0, classe = 0, titulo = 0;
    } modelo;
    const HWND pagina = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &modelo.modelo, pai,
                                                   ProcedimentoPagina, 0);
    SetWindowPos(pagina, HWND_TOP, area.left, area.top, area.right - area.left,
                 area.bottom - area.top, 0);
    return pagina;
}

int Escalar(int pixels) { return MulDiv(pixels, PontosPorPolegada(), USER_DEFAULT_SCREEN_DPI); }

void RegistrarClasseJanela(const wchar_t* nome, WNDPROC procedimento, HICON icone,
                           HICON iconePequeno) {
    WNDCLASSEXW classe{};
    classe.cbSize = sizeof classe;
    classe.lpfnWndProc = procedimento;
    classe.hInstance = GetModuleHandleW(nullptr);
    classe.hIcon = icone;
    classe.hIconSm = iconePequeno;
    classe.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    classe.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    classe.lpszClassName = nome;
    RegisterClassExW(&classe);
}

HWND CriarControle(HWND pai, const wchar_t* classe, std::string_view texto, DWORD estilo,
                   Retangulo retangulo, int id, HFONT fonte, DWORD estiloEstendido) {
    const HWND controle = CreateWindowExW(
        estiloEstendido, classe, plataforma::Utf16(texto).c_str(), WS_CHILD | estilo,
        Escalar(retangulo.x), Escalar(retangulo.y), Escalar(retangulo.largura),
        Escalar(retangulo.altura), pai, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        GetModuleHandleW(nullptr), nullptr);
    SendMessageW(controle, WM_SETFONT, reinterpret_cast<WPARAM>(fonte), FALSE);
    return controle;
}

void DefinirTexto(HWND janela, std::string_view texto) {
    SetWindowTextW(janela, plataforma::Utf16(texto).c_str());
}

std::string LerTexto(HWND janela) {
    std::wstring texto(static_cast<size_t>(GetWindowTextLengthW(janela)) + 1, L'\0');
    texto.resize(
        static_cast<size_t>(GetWindowTextW(janela, texto.data(), static_cast<int>(texto.size()))));
    return plataforma::Utf8(texto);
}

void Copiar(HWND dono, std::string_view texto) {
    if (!OpenClipboard(dono)) return;
    EmptyClipboard();
    const std::wstring largo = plataforma::Utf16(texto);
    const size_t bytes = (largo.size() + 1) * sizeof(wchar_t);
    if (const HGLOBAL memoria = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        CopyMemory(GlobalLock(memoria), largo.c_str(), bytes);
        GlobalUnlock(memoria);
        if (!SetClipboardData(CF_UNICODETEXT, memoria)) GlobalFree(memoria);
    }
    CloseClipboard();
}

HFONT CriarFonte(const wchar_t* face, int pontos) {
    LOGFONTW descricao{};
    descricao.lfHeight = -MulDiv(pontos, PontosPorPolegada(), 72);
    descricao.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(descricao.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirectW(&descricao);
}

HFONT CriarFonteMensagens() {
    NONCLIENTMETRICSW metricas{};
    metricas.cbSize = sizeof metricas;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metricas, &metricas, 0)) {
        return CriarFonte(L"Segoe UI", 9);
    }
    return CreateFontIndirectW(&metricas.lfMessageFont);
}

void CentrarComAreaCliente(HWND janela, int largura, int altura) {
    RECT externo{0, 0, Escalar(largura), Escalar(altura)};
    AdjustWindowRectEx(&externo, static_cast<DWORD>(GetWindowLongPtrW(janela, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(janela, GWL_EXSTYLE)));
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    const int w = externo.right - externo.left;
    const int h = externo.bottom - externo.top;
    SetWindowPos(janela, nullptr, area.left + (area.right - area.left - w) / 2,
                 area.top + (area.bottom - area.top - h) / 2, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tessora::win32
