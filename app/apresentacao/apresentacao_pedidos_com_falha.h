#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/apresentacao/colunas_historico.h"
#include "app/historico/leitura_historico.h"

namespace tessora::app {

// Where the view's orders come from, longest-failing first: nothing while no history has been
// recorded; an exception when it cannot be read.
using LeituraPedidosComFalha = std::function<std::optional<std::vector<PedidoEmFalha>>()>;
LeituraPedidosComFalha PedidosComFalhaDoArquivo(std::filesystem::path arquivo);

inline constexpr char kTituloPedidosComFalha[] = "Pedidos com falha";
inline constexpr char kTentarNovamente[] = "Tentar novamente";
inline constexpr char kCopiarMensagem[] = "Copiar mensagem";
inline constexpr char kFechar[] = "Fechar";
inline constexpr std::array<const char*, 5> kColunasPedidoComFalha{
    "Pedido", "Falhas seguidas", "Desde", "Última falha", "Mensagem"};
inline constexpr size_t kPrimeiraContagemPedidoComFalha = kColunasPedidoComFalha.size();

// The orders that failed in their latest attempt and are not in the ERP, apart from any
// toolkit: their rows, the whole message of the selected one (for an order that the ERP
// refused, the database's reason with it), and whether "Tentar novamente" can run it now.
class ApresentacaoPedidosComFalha {
  public:
    explicit ApresentacaoPedidosComFalha(LeituraPedidosComFalha leitura);

    // Reads the orders again and says which row to select: the order selected stays selected
    // while it still fails; otherwise the first row.
    std::optional<size_t> Atualizar();
    // The operator selected this row, or no row.
    void Selecionar(std::optional<size_t> linha);
    // A run began or ended: no retry while one goes.
    void DefinirEmExecucao(bool emExecucao) { emExecucao_ = emExecucao; }

    const std::vector<LinhaGrade>& Linhas() const { return linhas_; }
    std::optional<size_t> LinhaSelecionada() const { return selecionada_; }
    // The selected order's whole message, as the operator may copy it; empty without one.
    std::string Mensagem() const;
    // The order that "Tentar novamente" runs, when it can run one now.
    std::optional<std::string> PedidoParaTentarNovamente() const;
    // Empty while orders are shown, or why none are.
    const std::string& Situacao() const { return situacao_; }

  private:
    LeituraPedidosComFalha leitura_;
    std::vector<PedidoEmFalha> pedidos_;
    std::vector<LinhaGrade> linhas_;
    std::optional<size_t> selecionada_;
    std::string situacao_;
    bool emExecucao_ = false;
};

}  // namespace tessora::app
