#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/apresentacao/cores.h"
#include "app/historico/leitura_historico.h"

namespace tessora::app {

// The history page's columns, for every front end: their titles and the texts of their cells,
// stored codes in the operator's words.
inline constexpr std::array<const char*, 8> kColunasExecucao{
    "Início", "Término", "Origem", "Desfecho", "Falhas", "Incluídos", "Já incluídos", "Adiados"};
inline constexpr std::array<const char*, 7> kColunasPedido{
    "Pedido", "Desfecho", "Falhas seguidas", "Chave ERP", "Número", "Cliente", "Mensagem"};
// A list's columns from this one on are counts, aligned to the right; an order's are all left.
inline constexpr size_t kPrimeiraContagemExecucao = 4;
inline constexpr size_t kPrimeiraContagemPedido = kColunasPedido.size();

// A row of either list as the windows draw it.
struct LinhaGrade {
    std::vector<std::string> celulas;  // one per column
    std::string dica;                  // the row's tooltip; empty: none
    std::optional<Cor> cor;            // kCorFalha, kCorAviso; nothing: the list's own
};

// A run's row: its tooltip the reason it did not end normally.
LinhaGrade LinhaExecucao(const ExecucaoRegistrada& execucao);
// An order's row: its tooltip the whole message, which its cell may cut.
LinhaGrade LinhaPedido(const PedidoRegistrado& pedido);

}  // namespace tessora::app
