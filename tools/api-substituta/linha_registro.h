#pragma once

#include <string>
#include <string_view>
#include <vector>

// The request log that the substitute API writes and the test fixture reads: one request per
// line, fields separated by tabs: method, path as the client sent it, query, negotiated TLS
// version, body, then one field "Name: value" per header. Inside a field "%", control bytes and
// DEL are written as %XX, so tabs, line breaks and any other byte survive.
namespace tessora::api_substituta {

inline std::string EscaparCampoRegistro(std::string_view campo) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string saida;
    for (const char c : campo) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '%') {
            saida += '%';
            saida += kHex[byte >> 4];
            saida += kHex[byte & 0x0F];
        } else {
            saida += c;
        }
    }
    return saida;
}

inline std::string DesescaparCampoRegistro(std::string_view campo) {
    const auto valor = [](char c) { return c <= '9' ? c - '0' : c - 'A' + 10; };
    std::string saida;
    for (size_t i = 0; i < campo.size(); ++i) {
        if (campo[i] == '%' && i + 2 < campo.size()) {
            saida += static_cast<char>(valor(campo[i + 1]) * 16 + valor(campo[i + 2]));
            i += 2;
        } else {
            saida += campo[i];
        }
    }
    return saida;
}

inline std::vector<std::string_view> DividirLinhaRegistro(std::string_view linha) {
    std::vector<std::string_view> campos;
    for (size_t inicio = 0;;) {
        const size_t fim = linha.find('\t', inicio);
        campos.push_back(linha.substr(inicio, fim == std::string_view::npos ? fim : fim - inicio));
        if (fim == std::string_view::npos) break;
        inicio = fim + 1;
    }
    return campos;
}

}  // namespace tessora::api_substituta
