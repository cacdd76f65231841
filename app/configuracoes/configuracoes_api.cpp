#include "app/configuracoes/configuracoes_api.h"

namespace tessora::app {

const char* UrlBaseApiPadrao() { return TESSORA_URL_BASE_API; }

}  // namespace tessora::app
