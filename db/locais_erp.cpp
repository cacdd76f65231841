#include "db/locais_erp.h"

#include <system_error>

#include "comum/arquivo_ini.h"
#include "comum/texto.h"
#include "plataforma/sistema.h"

namespace tessora::db {

namespace {
constexpr std::string_view kTituloAviso = "Aviso do Sistema";

void Avisar(Avisos& avisos, std::string_view texto) {
    avisos.MostrarMensagem(texto, kTituloAviso, IconeAviso::Erro);
    avisos.SolicitarEncerramento();
}

std::filesystem::path IniErp(const std::filesystem::path& pastaPrograma) {
    const auto caminho = pastaPrograma / (NomeBaseErp(pastaPrograma) + ".ini");
    return plataforma::LocalizarArquivo(caminho).value_or(caminho);
}

// Up to and including the last separator; empty when there is none.
std::string PastaDoCaminho(const std::string& caminho) {
    const size_t pos = caminho.find_last_of(plataforma::SeparadoresPasta());
    return pos == std::string::npos ? std::string() : caminho.substr(0, pos + 1);
}

std::optional<std::filesystem::path> LocalizarIniServidor(const std::string& caminho) {
    if (caminho.empty()) return std::nullopt;
    return plataforma::LocalizarArquivo(caminho);
}
}  // namespace

std::string NomeBaseErp(const std::filesystem::path& pastaPrograma) {
    return plataforma::LocalizarArquivo(pastaPrograma / "tessoraempresa4.exe") ? "tessoraempresa4"
                                                                               : "tessoraempresa";
}

std::string ObterPastaDados(const std::filesystem::path& pastaPrograma, Avisos& avisos) {
    const auto iniErp = IniErp(pastaPrograma);
    std::error_code erro;
    if (std::filesystem::is_regular_file(iniErp, erro)) {
        const std::string iniServidor = ArquivoIni(iniErp).Ler("IniServidor", "nomearquivo");
        if (!LocalizarIniServidor(iniServidor)) {
            Avisar(avisos,
                   "Não foi encontrado o arquivo de inicialização dentro da pasta tessora Empresa");
        }
        return PastaDoCaminho(iniServidor);
    }
    const std::string pasta =
        PastaDoCaminho(pastaPrograma.string()) + "Dados" + plataforma::SeparadorPasta();
    if (!std::filesystem::is_directory(pasta, erro)) {
        Avisar(avisos, "Não foi encontrado a pasta Dados no servidor");
    }
    return pasta;
}

LocalBancoDados ObterCaminhoBancoDados(const std::filesystem::path& pastaPrograma, Avisos& avisos) {
    LocalBancoDados local;
    local.localIniServidor = ArquivoIni(IniErp(pastaPrograma)).Ler("IniServidor", "nomearquivo");
    const auto iniServidor = LocalizarIniServidor(local.localIniServidor);
    if (!iniServidor) Avisar(avisos, "Não foi encontrado o arquivo de inicialização");

    const ArquivoIni servidor(iniServidor.value_or(std::filesystem::path()));
    const std::string host = servidor.Ler("Database", "Servidor");
    const std::string caminho = servidor.Ler("Database", "path") + servidor.Ler("Database", "name");
    local.nomeBanco = AparaBrancos(host).empty() ? caminho : host + ":" + caminho;
    return local;
}

}  // namespace tessora::db
