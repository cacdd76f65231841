#pragma once

#include <string>
#include <string_view>

namespace tessora::api {

// The charset parameter of a Content-Type value ("application/json; charset=utf-8"), without
// quotes; empty when there is none.
std::string_view CharsetDoTipoConteudo(std::string_view tipoConteudo);

// Decodes an answer's body to UTF-8 by the charset its Content-Type names: UTF-8 stays (each
// byte that is not part of a valid sequence becomes U+FFFD), Windows-1252 is converted, and
// ISO-8859-1 and US-ASCII read each byte as the character of its code. Without a charset, or
// with one we do not know, valid UTF-8 stays and every other byte is read as Windows-1252.
// A leading UTF-8 byte order mark is dropped.
std::string DecodificarCorpoResposta(std::string_view corpo, std::string_view tipoConteudo);

}  // namespace tessora::api
