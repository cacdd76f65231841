#pragma once

#include <string>

namespace tessora::bench {

inline constexpr const char* kToken = "token-demonstracao";  // the seed's token

// The substitute API's state with `pedidos` new orders of three items each, every tenth with a
// customer the ERP does not know yet.
std::string Estado(int pedidos);

}  // namespace tessora::bench
