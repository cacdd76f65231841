#pragma once

#include <cstdint>

namespace tessora::bench {

// Heap accounting for the whole binary through a replaced operator new (libraries that call
// malloc directly, such as libcurl, are not counted). Off unless started, so that timed runs
// pay nothing for it.
void IniciarContagemMemoria();
// Stops counting and returns the peak of bytes in use since the start.
int64_t EncerrarContagemMemoria();

}  // namespace tessora::bench
