#include "manutencao/arquivos_exec.h"

#include <algorithm>
#include <array>
#include <system_error>

#include "comum/arquivo_ini.h"
#include "comum/texto.h"
#include "plataforma/area_trabalho.h"
#include "plataforma/sistema.h"

namespace tessora::manutencao {

namespace {
// The ERP's own executables, whose marker also names where the master folder's
// executables come from. Compared with the exact case.
constexpr std::array<std::string_view, 2> kExecutaveisErp = {"tessoraEmpresa.exe",
                                                             "tessoraEmpresa4.exe"};

void Apagar(const std::filesystem::path& caminho) {
    if (const auto arquivo = plataforma::LocalizarArquivo(caminho)) {
        std::error_code ignorado;
        std::filesystem::remove(*arquivo, ignorado);
    }
}

// Windows file-name patterns do not look at case: "*.exe" also finds "SETUP.EXE".
bool ExtensaoExe(const std::filesystem::path& arquivo) {
    return IguaisSemCaixaAscii(arquivo.extension().string(), ".exe");
}

// The extension replaces what follows the last "." of the name, or is appended.
std::string TrocarExtensao(std::string nome, std::string_view extensao) {
    if (const size_t ponto = nome.rfind('.'); ponto != std::string::npos) nome.erase(ponto);
    return nome + std::string(extensao);
}
}  // namespace

std::string NomeMarcadorExec(std::string_view nomeExecutavel) {
    std::string nome = TrocarTodos(std::string(nomeExecutavel), ".exe", ".ini");
    if (nomeExecutavel.find('.') == std::string_view::npos) nome += ".ini";
    return "Exec-" + nome;
}

std::string NomeSemExe(std::string_view nomeExecutavel) {
    constexpr std::string_view kExe = ".exe";
    if (nomeExecutavel.size() >= kExe.size() &&
        IguaisSemCaixaAscii(nomeExecutavel.substr(nomeExecutavel.size() - kExe.size()), kExe)) {
        nomeExecutavel.remove_suffix(kExe.size());
    }
    return std::string(nomeExecutavel);
}

void TratarArquivosExec(const std::filesystem::path& executavel,
                        const db::CaminhosAtualizacao& caminhos) {
    const auto pastaPrograma = executavel.parent_path();
    const auto sobra = pastaPrograma / ("Exec-" + caminhos.nomeExecutavel);
    if (const auto marcador = plataforma::LocalizarArquivo(
            pastaPrograma / NomeMarcadorExec(caminhos.nomeExecutavel))) {
        CriarAtalhoAreaTrabalho(executavel, caminhos.nomeExecutavel);
        Apagar(sobra);
        if (std::ranges::find(kExecutaveisErp, caminhos.nomeExecutavel) != kExecutaveisErp.end()) {
            CopiarExecutaveisPastaMestre(*marcador, caminhos);
        }
        Apagar(*marcador);
    }
    Apagar(sobra);
}

void CriarAtalhoAreaTrabalho(const std::filesystem::path& executavel,
                             std::string_view nomeExecutavel) {
    const std::string descricao = NomeSemExe(nomeExecutavel);
    const std::string arquivo = TrocarExtensao("Novo " + descricao, plataforma::ExtensaoAtalho());
    plataforma::CriarAtalho(ObterPastaAreaTrabalho() + arquivo,
                            executavel.parent_path() / std::string(nomeExecutavel), descricao);
}

std::string ObterPastaAreaTrabalho() { return (plataforma::PastaAreaTrabalho() / "").string(); }

void CopiarExecutaveisPastaMestre(const std::filesystem::path& marcador,
                                  const db::CaminhosAtualizacao& caminhos) {
    const std::string origem = ArquivoIni(marcador).Ler("configuracao", "pastamestre");
    // An empty source would search the root of the drive, and an empty master folder
    // would put the copies there: neither is where the master folder's executables live.
    if (origem.empty() || caminhos.pastaMestreCodificada.empty()) return;
    const std::filesystem::path destino = TrocarTodos(caminhos.pastaMestreCodificada, "§", " ");

    std::error_code erro;
    for (std::filesystem::directory_iterator it(origem, erro), fim; !erro && it != fim;
         it.increment(erro)) {
        std::error_code ignorado;
        if (!ExtensaoExe(it->path()) || !it->is_regular_file(ignorado)) continue;
        const auto arquivoDestino = destino / it->path().filename();
        if (plataforma::LocalizarArquivo(arquivoDestino)) continue;
        // A copy dated now would look newer than the installed programs and update them
        // for nothing: it keeps the source's last-write time, as a Windows copy does.
        if (std::filesystem::copy_file(it->path(), arquivoDestino,
                                       std::filesystem::copy_options::overwrite_existing,
                                       ignorado)) {
            const auto data = std::filesystem::last_write_time(it->path(), ignorado);
            if (!ignorado) std::filesystem::last_write_time(arquivoDestino, data, ignorado);
        }
    }
}

}  // namespace tessora::manutencao
