#include "banco_teste.h"

#include <cstdlib>
#include <mutex>
#include <stdexcept>

#include "db/consulta.h"
#include "script_sql.h"

namespace tessora::testes {

namespace fs = std::filesystem;

fs::path PastaFontes() { return TESSORA_DIR_FONTES; }

void PrepararFirebirdEmbarcado() {
    static std::once_flag feito;
    std::call_once(feito, [] {
        static PastaTemporaria travas("tessora-fblock");
        setenv("FIREBIRD_LOCK", travas.Caminho().c_str(), 1);
    });
}

namespace {
// The schema is built once per process and copied for each test.
const fs::path& Modelo() {
    static PastaTemporaria pasta("tessora-modelo");
    static const fs::path modelo = [] {
        PrepararFirebirdEmbarcado();
        const fs::path arquivo = pasta.Caminho() / "modelo.fdb";
        ferramentas::CriarBancoErp(arquivo.string(), {PastaFontes() / "erp/esquema.sql",
                                                      PastaFontes() / "erp/semente.sql"});
        return arquivo;
    }();
    return modelo;
}
}  // namespace

BancoTeste::BancoTeste(const fs::path& arquivo) : nome_(arquivo.string()) {
    fs::copy_file(Modelo(), arquivo, fs::copy_options::overwrite_existing);
}

void BancoTeste::Executar(std::string_view comando) const {
    db::ConexaoErp conexao(nome_);
    conexao.Abrir();
    db::Consulta consulta(conexao);
    db::ExecutarComando(consulta, comando, db::Confirmacao::Retendo);
    conexao.Fechar();
}

std::optional<std::string> BancoTeste::Ler(std::string_view comando,
                                           std::string_view coluna) const {
    db::ConexaoErp conexao(nome_);
    conexao.Abrir();
    db::Consulta consulta(conexao);
    db::AbrirConsulta(consulta, comando);
    auto valor = consulta.Valor(coluna);
    conexao.Fechar();
    return valor;
}

}  // namespace tessora::testes
