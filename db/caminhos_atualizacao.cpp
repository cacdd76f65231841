#include "db/caminhos_atualizacao.h"

#include "comum/texto.h"
#include "plataforma/sistema.h"

namespace tessora::db {

namespace {
std::string CodificarBrancos(std::string texto) { return TrocarTodos(std::move(texto), " ", "§"); }

std::string PastaMestre(std::string_view local) {
    if (local.empty()) return {};
    const std::string_view varrido = local.substr(0, local.size() - 1);
    const size_t ultimo = varrido.find_last_of(plataforma::SeparadoresPasta());
    if (ultimo == std::string_view::npos) return {};
    const size_t penultimo = ultimo == 0
                                 ? std::string_view::npos
                                 : varrido.find_last_of(plataforma::SeparadoresPasta(), ultimo - 1);
    const size_t corte = penultimo == std::string_view::npos ? ultimo : penultimo;
    return std::string(local.substr(0, corte + 1)) + "Update";
}
}  // namespace

CaminhosAtualizacao DefinirCaminhosAtualizacao(std::string_view localIniServidor,
                                               const std::filesystem::path& executavel) {
    CaminhosAtualizacao caminhos;
    caminhos.nomeExecutavel = executavel.filename().string();
    caminhos.pastaMestre = PastaMestre(localIniServidor);
    caminhos.pastaMestreCodificada = CodificarBrancos(caminhos.pastaMestre);
    caminhos.pastaProgramaCodificada = CodificarBrancos(executavel.parent_path().string());
    return caminhos;
}

}  // namespace tessora::db
