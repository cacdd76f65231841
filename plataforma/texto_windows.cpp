#include "plataforma/texto_windows.h"

#include <windows.h>

namespace tessora::plataforma {

std::wstring Utf16(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int tamanho =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring texto(static_cast<size_t>(tamanho), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), texto.data(),
                        tamanho);
    return texto;
}

std::string Utf8(std::wstring_view utf16) {
    if (utf16.empty()) return {};
    const int tamanho = WideCharToMultiByte(
        CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), nullptr, 0, nullptr, nullptr);
    std::string texto(static_cast<size_t>(tamanho), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), texto.data(),
                        tamanho, nullptr, nullptr);
    return texto;
}

}  // namespace tessora::plataforma
