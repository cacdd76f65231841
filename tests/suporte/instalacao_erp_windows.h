#pragma once

#include <gtest/gtest.h>

#include <filesystem>

#include "arquivos_teste.h"
#include "pasta_temporaria.h"

#ifndef TESSORA_SERVICO_WINDOWS
#error "TESSORA_SERVICO_WINDOWS names the built Windows program"
#endif

namespace tessora::testes {

// A Windows installation of the ERP without its database: the program folder "Servico" with
// the built program and the ERP's INI, naming the server INI of the data folder "Dados" in
// Windows form, as the ERP writes them.
class InstalacaoErpWindowsTest : public ::testing::Test {
  protected:
    PastaTemporaria raiz{"tessora-erp"};
    std::filesystem::path programa = raiz.Caminho() / "Servico";
    std::filesystem::path dados = raiz.Caminho() / "Dados";

    void SetUp() override {
        std::filesystem::create_directories(programa);
        std::filesystem::create_directories(dados);
        std::filesystem::copy_file(TESSORA_SERVICO_WINDOWS, programa / "tessoraService.exe");
        GravarArquivo(programa / "tessoraempresa.ini",
                      "[IniServidor]\r\nnomearquivo=" + (dados / "servidor.ini").string() + "\r\n");
        GravarArquivo(dados / "servidor.ini", "[Database]\r\nServidor=\r\npath=" + dados.string() +
                                                  "\\\r\nname=ERP.FDB\r\n");
    }
};

}  // namespace tessora::testes
