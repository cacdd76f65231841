#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "app/historico/leitura_historico.h"

namespace tessora::app {

// The history page's columns, for every front end: their titles and the texts of their cells.
inline constexpr std::array<const char*, 8> kColunasExecucao{
    "Início", "Término", "Origem", "Desfecho", "Falhas", "Incluídos", "Já incluídos", "Adiados"};
inline constexpr std::array<const char*, 6> kColunasPedido{
    "Pedido", "Desfecho", "Falhas seguidas", "Chave ERP", "Número", "Mensagem"};
// A run's columns from this one on are counts.
inline constexpr size_t kPrimeiraContagemExecucao = 4;

std::string CelulaExecucao(const ExecucaoRegistrada& execucao, size_t coluna);
std::string CelulaPedido(const PedidoRegistrado& pedido, size_t coluna);

}  // namespace tessora::app
