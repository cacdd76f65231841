#pragma once

#include <string>
#include <string_view>

namespace tessora::plataforma {

// UTF-8, the program's text, to and from the UTF-16 of the Windows calls.
std::wstring Utf16(std::string_view utf8);
std::string Utf8(std::wstring_view utf16);

}  // namespace tessora::plataforma
