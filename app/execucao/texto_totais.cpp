#include "app/execucao/texto_totais.h"

namespace tessora::app {

namespace {
std::string Valor(const std::optional<Moeda>& valor) {
    return valor ? valor->Formatar(2, ',') : "fora do limite";
}

// Quantities and unit prices with their decimals, but no trailing zeros.
std::string Numero(Moeda valor) {
    std::string texto = valor.Formatar(4, ',');
    while (texto.back() == '0') texto.pop_back();
    if (texto.back() == ',') texto.pop_back();
    return texto;
}
}  // namespace

std::string TextoConferenciaTotais(const importacao::ConferenciaTotais& totais) {
    std::string texto = std::string(totais.Confere() ? "conferem" : "não conferem") +
                        " (produtos " + Valor(totais.produtos) + ", soma dos itens " +
                        Valor(totais.somaItens) + ")";
    for (const importacao::DivergenciaItem& divergencia : totais.itens) {
        texto += "; item " + std::to_string(divergencia.noItem) + " (" + divergencia.codigoApp +
                 "): " + Numero(divergencia.quantidade) + " x " + Numero(divergencia.unitario) +
                 " = " + Valor(divergencia.calculado) + ", total informado " +
                 Valor(divergencia.informado);
    }
    return texto;
}

}  // namespace tessora::app
