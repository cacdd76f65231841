#include "app/win32/grade_win32.h"

#include <string>

#include "plataforma/texto_windows.h"

namespace tessora::win32 {

namespace {
void DefinirCelula(HWND grade, int linha, size_t coluna, const std::string& texto) {
    std::wstring largo = plataforma::Utf16(texto);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = linha;
    item.iSubItem = static_cast<int>(coluna);
    item.pszText = largo.data();
    SendMessageW(grade, coluna == 0 ? LVM_INSERTITEMW : LVM_SETITEMW, 0,
                 reinterpret_cast<LPARAM>(&item));
}
}  // namespace

void AjustarColunasGrade(HWND grade, size_t colunas) {
    for (size_t coluna = 0; coluna < colunas; ++coluna) {
        SendMessageW(grade, LVM_SETCOLUMNWIDTH, coluna, LVSCW_AUTOSIZE_USEHEADER);
    }
}

HWND CriarGrade(HWND pai, int id, std::span<const char* const> colunas, size_t primeiraContagem,
                Retangulo lugar, HFONT fonte) {
    const HWND grade = CriarControle(
        pai, WC_LISTVIEWW, "",
        WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
        lugar, id, fonte, WS_EX_CLIENTEDGE);
    SendMessageW(grade, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_INFOTIP);
    for (size_t i = 0; i < colunas.size(); ++i) {
        std::wstring titulo = plataforma::Utf16(colunas[i]);
        LVCOLUMNW coluna{};
        coluna.mask = LVCF_TEXT | LVCF_FMT;
        coluna.fmt = i >= primeiraContagem ? LVCFMT_RIGHT : LVCFMT_LEFT;
        coluna.pszText = titulo.data();
        SendMessageW(grade, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&coluna));
    }
    AjustarColunasGrade(grade, colunas.size());
    return grade;
}

void PreencherGrade(HWND grade, const std::vector<app::LinhaGrade>& linhas, size_t colunas) {
    SendMessageW(grade, WM_SETREDRAW, FALSE, 0);
    SendMessageW(grade, LVM_DELETEALLITEMS, 0, 0);
    for (size_t linha = 0; linha < linhas.size(); ++linha) {
        for (size_t coluna = 0; coluna < colunas; ++coluna) {
            DefinirCelula(grade, static_cast<int>(linha), coluna, linhas[linha].celulas[coluna]);
        }
    }
    AjustarColunasGrade(grade, colunas);
    SendMessageW(grade, WM_SETREDRAW, TRUE, 0);
}

void SelecionarLinhaGrade(HWND grade, int linha) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(grade, LVM_SETITEMSTATE, static_cast<WPARAM>(linha),
                 reinterpret_cast<LPARAM>(&item));
    SendMessageW(grade, LVM_ENSUREVISIBLE, static_cast<WPARAM>(linha), FALSE);
}

LRESULT DesenharLinhaGrade(const std::vector<app::LinhaGrade>& linhas, NMLVCUSTOMDRAW& desenho) {
    if (desenho.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (desenho.nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
    const auto linha = static_cast<size_t>(desenho.nmcd.dwItemSpec);
    if (linha < linhas.size() && linhas[linha].cor) desenho.clrText = CorWin32(*linhas[linha].cor);
    return CDRF_DODEFAULT;
}

void MostrarDicaGrade(const std::vector<app::LinhaGrade>& linhas, NMLVGETINFOTIPW& dica) {
    if (dica.cchTextMax <= 0) return;
    const std::string texto = dica.iItem >= 0 && static_cast<size_t>(dica.iItem) < linhas.size()
                                  ? linhas[static_cast<size_t>(dica.iItem)].dica
                                  : std::string();
    lstrcpynW(dica.pszText, plataforma::Utf16(texto).c_str(), dica.cchTextMax);
}

}  // namespace tessora::win32
