// Code-page conversions: Windows-1252 text survives the trip through UTF-8 byte for byte, and
// what goes to the database never carries more than the code page holds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "comum/codigo_pagina.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho) {
    const std::string_view bytes(reinterpret_cast<const char*>(dados), tamanho);
    if (tessora::Utf8ParaWin1252(tessora::Win1252ParaUtf8(bytes)) != bytes) std::abort();

    // Any bytes as UTF-8: one Windows-1252 byte per character or per invalid byte.
    const std::string win1252 = tessora::Utf8ParaWin1252(bytes);
    if (win1252.size() > bytes.size()) std::abort();
    const std::string volta = tessora::Win1252ParaUtf8(win1252);
    if (tessora::Utf8ParaWin1252(volta) != win1252) std::abort();
    static_cast<void>(tessora::Latin1ParaUtf8(bytes));
    return 0;
}
