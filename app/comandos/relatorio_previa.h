#pragma once

#include <ostream>
#include <string>

#include "importacao/previa_pedido.h"

namespace tessora::app {

// The counts of a preview, for its summary line.
struct ResumoPrevia {
    int pedidos = 0;
    int jaIncluidos = 0;
    int naoLidos = 0;   // the order's document could not be had, or an error left its reading
    int recusados = 0;  // the import would refuse it and leave it in the listing
    int clientesACadastrar = 0;
    int comEmpresa = 0;
    int comProdutoNaoEncontrado = 0;
    int comTotaisDivergentes = 0;

    void Contar(const importacao::PreviaPedido& previa);
    void ContarErro() {
        ++pedidos;
        ++naoLidos;
    }
};

// One order's preview as lines of text, beginning with "Pedido " and its id.
void EscreverPrevia(const importacao::PreviaPedido& previa, std::ostream& saida);
// An order whose reading an error ended.
void EscreverErroPrevia(const std::string& id, const std::string& mensagem, std::ostream& saida);
void EscreverResumoPrevia(const ResumoPrevia& resumo, std::ostream& saida);

}  // namespace tessora::app
