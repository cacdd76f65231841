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
    : programa_(raiz_.Caminho() / "Servico"),
      dados_(raiz_.Caminho() / "Dados"),
      banco_(CriarPastas(raiz_.Caminho())) {
    GravarArquivo(programa_ / "tessoraempresa.ini",
                  "[IniServidor]\r\nnomearquivo=" + (dados_ / "servidor.ini").string() + "\r\n");
    DefinirBanco("", dados_.string() + "/", "ERP.FDB");
}

void InstalacaoErpTeste::DefinirBanco(const std::string& servidor, const std::string& path,
                                      const std::string& name) const {
    GravarArquivo(dados_ / "servidor.ini", "[Database]\r\nServidor=" + servidor +
                                               "\r\npath=" + path + "\r\nname=" + name + "\r\n");
}

void InstalacaoErpTeste::InstalarPrograma(const std::filesystem::path& origem) const {
    namespace fs = std::filesystem;
    if (origem.empty()) {
        GravarArquivo(Executavel(), "programa");
    } else {
        fs::copy_file(origem, Executavel(), fs::copy_options::overwrite_existing);
    }
    fs::create_directories(PastaMestre());
    const auto copia = PastaMestre() / Executavel().filename();
    fs::copy_file(Executavel(), copia, fs::copy_options::overwrite_existing);
    fs::last_write_time(copia, fs::last_write_time(Executavel()));
    GravarArquivo(PastaMestre() / "tessoraAtualizador", "atualizador");
}

}  // namespace tessora::testes
