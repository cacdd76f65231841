#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "plataforma/texto_windows.h"

namespace tessora::testes {

// A cell of a list of this process.
inline std::string TextoCelula(HWND grade, int linha, int coluna) {
    wchar_t texto[512] = {};
    LVITEMW item{};
    item.iSubItem = coluna;
    item.pszText = texto;
    item.cchTextMax = 512;
    SendMessageW(grade, LVM_GETITEMTEXTW, static_cast<WPARAM>(linha),
                 reinterpret_cast<LPARAM>(&item));
    return plataforma::Utf8(texto);
}

// A column of every row.
inline std::vector<std::string> ColunaGrade(HWND grade, int coluna) {
    std::vector<std::string> textos;
    const auto linhas = static_cast<int>(SendMessageW(grade, LVM_GETITEMCOUNT, 0, 0));
    for (int linha = 0; linha < linhas; ++linha)
        textos.push_back(TextoCelula(grade, linha, coluna));
    return textos;
}

}  // namespace tessora::testes
