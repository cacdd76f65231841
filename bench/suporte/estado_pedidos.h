#pragma once

#include <cstddef>
#include <string>

namespace tessora::bench {

inline constexpr const char* kToken = "token-demonstracao";  // the seed's token

// The substitute API's state with `pedidos` new orders of three items each, every tenth with a
// customer the ERP does not know yet; each order carries `enchimento` more bytes in a member that
// the import ignores, to stand for a large order.
std::string Estado(int pedidos, size_t enchimento = 0);

}  // namespace tessora::bench
