#pragma once

#include <type_traits>

namespace tessora::db {

// A handle of Firebird's client library (attachment, transaction, statement, blob): 32 bits on
// 64-bit systems, a pointer on 32-bit ones, zero when it stands for nothing. Declared apart
// from the client's header so that the layer's users need not see the whole interface.
using AlcaFirebird = std::conditional_t<sizeof(void*) == 8, unsigned int, void*>;

}  // namespace tessora::db
