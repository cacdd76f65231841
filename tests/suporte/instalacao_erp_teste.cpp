#include "instalacao_erp_teste.h"

#include "arquivos_teste.h"

namespace tessora::testes {

namespace {
std::filesystem::path CriarPastas(const std::filesystem::path& raiz) {
    std::filesystem::create_directories(raiz / "Servico");
    std::filesystem::create_directories(raiz / "Dados");
    return raiz / "Dados" / "ERP.FDB";
}
}  // namespace

InstalacaoErpTeste::InstalacaoErpTeste()
    : programa_(raiz_.Caminho() / "Servico"), dados_(raiz_.Caminho() / "Dados"), banco_(CriarPastas(raiz_.Caminho())) {
    GravarArquivo(programa_ / "tessoraempresa.ini",
                  "[IniServidor]\r\nnomearquivo=" + (dados_ / "servidor.ini").string() + "\r\n");
    DefinirBanco("", dados_.string() + "/", "ERP.FDB");
}

void InstalacaoErpTeste::DefinirBanco(const std::string& servidor, const std::string& path,
                                      const std::string& name) const {
    GravarArquivo(dados_ / "servidor.ini",
                  "[Database]\r\nServidor=" + servidor + "\r\npath=" + path + "\r\nname=" + name + "\r\n");
}

}  // namespace tessora::testes
