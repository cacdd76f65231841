#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "app/apresentacao/cores.h"

namespace tessora::win32 {

// A control's place in pixels of a 96-dpi screen, as the window is designed.
struct Retangulo {
    int x, y, largura, altura;
};

// Design pixels to the screen's: the program declares itself DPI-aware, so the system does
// not stretch it and it sizes itself.
int Escalar(int pixels);

// Registers a top-level window class of the program's: the dialogs' background, an arrow
// cursor. Registering a class again fails harmlessly.
void RegistrarClasseJanela(const wchar_t* nome, WNDPROC procedimento, HICON icone,
                           HICON iconePequeno);

// The object that a window of the program's belongs to, given to CreateWindowExW as its
// creation parameter: kept in the window's user data, and the window in the object's
// `membroJanela`, from WM_NCCREATE on; nothing before.
template <typename Dono>
Dono* DonoDaJanela(HWND janela, UINT mensagem, LPARAM lParam, HWND Dono::*membroJanela) {
    if (mensagem == WM_NCCREATE) {
        auto* dono = static_cast<Dono*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        dono->*membroJanela = janela;
        SetWindowLongPtrW(janela, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(dono));
    }
    return reinterpret_cast<Dono*>(GetWindowLongPtrW(janela, GWLP_USERDATA));
}

// A child control with the given font, placed at `retangulo` (design pixels).
HWND CriarControle(HWND pai, const wchar_t* classe, std::string_view texto, DWORD estilo,
                   Retangulo retangulo, int id, HFONT fonte, DWORD estiloEstendido = 0);

// A page of a tab control at `area` of `pai` (pixels): the controls made on it get the tab's
// background, and their commands and notifications go on to `pai`.
HWND CriarPagina(HWND pai, const RECT& area);

inline COLORREF CorWin32(app::Cor cor) { return RGB(cor.vermelho, cor.verde, cor.azul); }

// A window's text, UTF-8 inside the program.
void DefinirTexto(HWND janela, std::string_view texto);
std::string LerTexto(HWND janela);
// Puts the text on the clipboard, in `dono`'s name.
void Copiar(HWND dono, std::string_view texto);

// A font of `pontos` points of that face at the screen's DPI; owned by the caller.
HFONT CriarFonte(const wchar_t* face, int pontos);
// The system's font for messages and dialogs at the screen's DPI; owned by the caller.
HFONT CriarFonteMensagens();

// The window's outer size for a client area of `largura` x `altura` design pixels, centred
// on the work area of the primary screen.
void CentrarComAreaCliente(HWND janela, int largura, int altura);

}  // namespace tessora::win32
