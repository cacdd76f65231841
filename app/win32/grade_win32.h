#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstddef>
#include <span>
#include <vector>

#include "app/apresentacao/colunas_historico.h"
#include "app/win32/controles_win32.h"

namespace tessora::win32 {

// A read-only list of whole rows, one selected at a time, with the given column titles;
// columns from `primeiraContagem` on are counts, aligned to the right.
HWND CriarGrade(HWND pai, int id, std::span<const char* const> colunas, size_t primeiraContagem,
                Retangulo lugar, HFONT fonte);
// Every column as wide as its widest text or its title; the last one also takes what the
// list's width leaves.
void AjustarColunasGrade(HWND grade, size_t colunas);
// The list's rows anew, its columns as wide as their widest text.
void PreencherGrade(HWND grade, const std::vector<app::LinhaGrade>& linhas, size_t colunas);
void SelecionarLinhaGrade(HWND grade, int linha);
// The list's NM_CUSTOMDRAW answer: each row in its colour.
LRESULT DesenharLinhaGrade(const std::vector<app::LinhaGrade>& linhas, NMLVCUSTOMDRAW& desenho);
// The list's LVN_GETINFOTIPW answer: the row's tooltip.
void MostrarDicaGrade(const std::vector<app::LinhaGrade>& linhas, NMLVGETINFOTIPW& dica);

}  // namespace tessora::win32
