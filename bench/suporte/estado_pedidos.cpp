#include "estado_pedidos.h"

namespace tessora::bench {

namespace {
// One order as the app sends it: header, two notes and three items of products the ERP knows.
std::string Pedido(int i, size_t enchimento) {
    const std::string id = "ped-" + std::to_string(100000 + i);
    const std::string cliente = i % 10 == 0 ? "cli-b" + std::to_string(i) : "cli-2001";
    std::string json =
        R"({"id":")" + id + R"(","tipo":"Pedido","registrado_erp_em":null,"numero_seq":)" +
        std::to_string(100000 + i) + R"(,"created_at":"2024-03-15T14:32:05-03:00","cliente_id":")" +
        cliente +
        R"(","cliente_cnpj":"44.778.899/0001-43","cliente_nome":"Mercearia Santa Luzia Ltda")" +
        R"(,"vendedor_id":"vend-101","vendedor_nome":"João Batista Ribeiro")" +
        R"(,"enchimento":")" + std::string(enchimento, 'x') +
        R"(","tipo_frete":"CIF","dias_validade":10,"valor_produtos":291.25,"valor_ipi":0,"valor_icms":0)" +
        R"(,"anotacoes":[{"texto":"Entregar no período da manhã, das 7h às 11h."},)" +
        R"({"texto":"Conferir a validade dos lotes na entrega."}],"itens":[)";
    for (int item = 0; item < 3; ++item) {
        if (item) json += ',';
        json +=
            R"({"id_item":")" + id + '-' + std::to_string(item + 1) + R"(","produto_id":"prod-)" +
            std::to_string(501 + (i + item) % 4) +
            R"(","quantidade":10,"valor_unitario":24.9,"valor_produtos":249.0,"ipi":0,"valor_ipi":0,"valor_icms":0})";
    }
    return json + "]}";
}

std::string Cliente(int i) {
    const std::string n = std::to_string(i);
    return R"({"id":"cli-b)" + n + R"(","razao_social":"Empório )" + n +
           R"( Ltda","nome_fantasia":"Empório","cnpj":"61.524.387/0001-70","inscricao_estadual":"0620384570089",)" +
           R"("icms_sn":"S","uso_produtos":"R","cep":"30.130-010","rua":"Avenida Afonso Pena","numero":")" +
           n +
           R"(","bairro":"Centro","cidade":"Belo Horizonte","uf":"MG","cep_entrega":"35860-000",)" +
           R"("rua_entrega":"Rua Direita","numero_entrega":"45","bairro_entrega":"Centro",)" +
           R"("cidade_entrega":"Curitiba","uf_entrega":"PR","responsavel":"Maria Souza",)" +
           R"("contato_responsavel":"(31) 3222-1100","email":"compras@emporio.example",)" +
           R"("nome_financeiro":"José Lima","whats_financeiro":"(31) 99911-2233"})";
}

}  // namespace

std::string Estado(int pedidos, size_t enchimento) {
    std::string json = std::string(R"({"token":")") + kToken + R"(","pedidos":[)";
    for (int i = 1; i <= pedidos; ++i) {
        if (i > 1) json += ',';
        json += Pedido(i, enchimento);
    }
    json += R"(],"clientes":[)";
    for (int i = 10; i <= pedidos; i += 10) {
        if (i > 10) json += ',';
        json += Cliente(i);
    }
    return json + "]}";
}

}  // namespace tessora::bench
