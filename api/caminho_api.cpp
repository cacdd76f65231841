#include "api/caminho_api.h"

namespace tessora::api {

namespace {
bool PassaSemCodificar(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_';
}
}  // namespace

std::string CodificarSegmentoCaminho(std::string_view segmento) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string codificado;
    codificado.reserve(segmento.size());
    for (const char caractere : segmento) {
        const auto c = static_cast<unsigned char>(caractere);
        if (PassaSemCodificar(c)) {
            codificado += caractere;
        } else {
            codificado += '%';
            codificado += kHex[c >> 4];
            codificado += kHex[c & 0x0F];
        }
    }
    return codificado;
}

std::string CaminhoPedido(std::string_view idPedido) {
    return "/pedidos/" + CodificarSegmentoCaminho(idPedido);
}

std::string CaminhoRegistroErp(std::string_view idPedido) {
    return CaminhoPedido(idPedido) + "/erp-registro";
}

std::string CaminhoCliente(std::string_view idCliente) {
    return "/clientes/" + CodificarSegmentoCaminho(idCliente);
}

}  // namespace tessora::api
