#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "app/execucao_sincronizacao.h"
#include "app/painel_execucao.h"

namespace tessora::testes {

// Keeps what a window would show of a run; log lines apart from their time stamps.
class PainelGravado : public app::PainelExecucao {
  public:
    void HabilitarSincronizarAgora(bool habilitado) override { botao.push_back(habilitado); }
    void ExibirUltimaAtualizacao(const std::string& dataHora) override { rotulo = dataHora; }
    void LimparLog() override {
        linhas.clear();
        ++limpezas;
    }
    void AcrescentarLinhaLog(const std::string& linha) override {
        static const std::regex carimbo(R"(^\d\d/\d\d/\d{4} \d\d:\d\d:\d\d - )");
        EXPECT_TRUE(std::regex_search(linha, carimbo)) << linha;
        carimbos.push_back(linha.substr(0, 19));
        linhas.push_back(linha.substr(22));
    }
    void ExecucaoEncerrada(const app::ResumoExecucao& fim) override { resumo = fim; }

    std::vector<bool> botao;
    std::string rotulo;
    std::vector<std::string> linhas;
    std::vector<std::string> carimbos;  // each line's time stamp, "dd/mm/yyyy hh:mm:ss"
    int limpezas = 0;
    std::optional<app::ResumoExecucao> resumo;
};

}  // namespace tessora::testes
