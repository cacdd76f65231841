#pragma once

#include <filesystem>

#include "app/execucao_sincronizacao.h"

namespace tessora::app {

// The API root built into the program.
const char* UrlBaseApiPadrao();

// Section "AppForcaVendas" of the service settings file (the executable's name with
// ".ini", in the program folder): "UrlBaseApi" overrides the built-in root,
// "ArquivoCertificados" names extra certificate authorities; absent keys change nothing.
ConfiguracoesApi LerConfiguracoesApi(const std::filesystem::path& executavel);

}  // namespace tessora::app
