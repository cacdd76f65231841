#pragma once

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "app/execucao/painel_execucao.h"

namespace tessora::testes {

// Keeps what a window would show of a run; log lines apart from their time stamps.
class PainelGravado : public app::PainelExecucao {
  public:
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

    std::string rotulo;
    std::vector<std::string> linhas;
    std::vector<std::string> carimbos;  // each line's time stamp, "dd/mm/yyyy hh:mm:ss"
    int limpezas = 0;
};

}  // namespace tessora::testes
