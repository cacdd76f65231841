// The notice dialog "Aviso do Sistema" of the Windows program in both its modes, driven
// through its controls as the operator would.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "app/win32/aviso_sistema.h"
#include "app/win32/controles_win32.h"
#include "plataforma/texto_windows.h"

namespace tessora::win32 {
namespace {

constexpr int ckbConcordo = 1;
constexpr int btnOk = 2;

HWND AvisoAberto() { return FindWindowW(L"TfrmMensagemConfirmarGenerica", L"Aviso do Sistema"); }

void Clicar(HWND botao) { SendMessageW(botao, BM_CLICK, 0, 0); }

SIZE AreaCliente(HWND janela) {
    RECT area;
    GetClientRect(janela, &area);
    return {area.right, area.bottom};
}

TEST(AvisoSistemaWindowsTest, ConfirmacaoSoFechaComACaixaMarcada) {
    ExibirAviso("Leia com atenção.", ConfirmacaoAviso::Exigida,
                FechamentoAviso::PeloOperador);  // returns at once
    const HWND aviso = AvisoAberto();
    ASSERT_NE(aviso, nullptr);
    EXPECT_TRUE(IsWindowVisible(aviso));
    EXPECT_EQ(AreaCliente(aviso).cx, Escalar(540));
    EXPECT_EQ(AreaCliente(aviso).cy, Escalar(200));
    const HWND caixa = GetDlgItem(aviso, ckbConcordo);
    const HWND ok = GetDlgItem(aviso, btnOk);
    ASSERT_TRUE(caixa && ok);
    EXPECT_EQ(LerTexto(caixa), "Estou ciente destas informações.");
    EXPECT_EQ(LerTexto(ok), "OK");

    EXPECT_FALSE(IsWindowEnabled(ok));
    Clicar(caixa);
    EXPECT_TRUE(IsWindowEnabled(ok));
    Clicar(caixa);
    EXPECT_FALSE(IsWindowEnabled(ok));
    SendMessageW(aviso, WM_CLOSE, 0, 0);  // the close box and Alt+F4 do not dismiss it
    EXPECT_TRUE(IsWindow(aviso));

    Clicar(caixa);
    Clicar(ok);
    EXPECT_FALSE(IsWindow(aviso));
    EXPECT_EQ(AvisoAberto(), nullptr);
}

TEST(AvisoSistemaWindowsTest, SemConfirmacaoMostraSoAMensagemEFechaSozinho) {
    ExibirAviso("Outra cópia em execução.", ConfirmacaoAviso::Dispensada,
                FechamentoAviso::PeloOperador);
    const HWND aviso = AvisoAberto();
    ASSERT_NE(aviso, nullptr);
    EXPECT_EQ(AreaCliente(aviso).cy, Escalar(80));
    EXPECT_EQ(GetDlgItem(aviso, ckbConcordo), nullptr);
    EXPECT_EQ(GetDlgItem(aviso, btnOk), nullptr);
    DestroyWindow(aviso);

    const ULONGLONG inicio = GetTickCount64();
    ExibirAviso("Fecha sozinho.", ConfirmacaoAviso::Dispensada, FechamentoAviso::Sozinho,
                std::chrono::milliseconds(300));
    EXPECT_GE(GetTickCount64() - inicio, 250u);
    EXPECT_EQ(AvisoAberto(), nullptr);
}

}  // namespace
}  // namespace tessora::win32
