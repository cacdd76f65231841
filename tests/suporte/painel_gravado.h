#pragma once

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "app/painel_execucao.h"

namespace tessora::testes {

// Keeps what a window would show of a run; log lines without their time stamp.
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
        linhas.push_back(linha.substr(22));
    }

    std::vector<bool> botao;
    std::string rotulo;
    std::vector<std::string> linhas;
    int limpezas = 0;
};

}  // namespace tessora::testes
