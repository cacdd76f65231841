#include "app/verificacao_atualizacao.h"

namespace tessora::app {

void VerificarAtualizacao(db::ConexaoErp&, int, const std::filesystem::path&, const db::CaminhosAtualizacao&,
                          Avisos&) {}

}  // namespace tessora::app
