#include "plataforma/console.h"

namespace tessora::plataforma {

// Terminals here take UTF-8 as it is.
void PrepararConsole() {}

}  // namespace tessora::plataforma
