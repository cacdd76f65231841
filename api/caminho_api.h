#pragma once

#include <string>
#include <string_view>

namespace tessora::api {

// One path segment with every byte but ASCII letters, digits, "-" and "_" written as %XX
// (upper-case hex). The dot is encoded too, so that no id can become a "." or ".." segment
// that the client or a proxy would fold away; "/", "?", "#" and "%" can no more reach another
// resource, a query or a fragment.
std::string CodificarSegmentoCaminho(std::string_view segmento);

// Request paths below the API root, the id encoded as one segment.
std::string CaminhoPedido(std::string_view idPedido);       // "/pedidos/<id>"
std::string CaminhoRegistroErp(std::string_view idPedido);  // "/pedidos/<id>/erp-registro"
std::string CaminhoCliente(std::string_view idCliente);     // "/clientes/<id>"

}  // namespace tessora::api
