#include "app/apresentacao/apresentacao_pedidos_com_falha.h"

#include <exception>
#include <utility>

#include "app/historico/instante_historico.h"
#include "comum/texto.h"

namespace tessora::app {

namespace {
std::string MensagemCompleta(const PedidoEmFalha& pedido) {
    return pedido.observacao.empty() ? pedido.mensagem : pedido.mensagem + "\n" + pedido.observacao;
}

LinhaGrade Linha(const PedidoEmFalha& pedido) {
    return {{pedido.idApp, std::to_string(pedido.falhasSeguidas), InstanteLocal(pedido.desde),
             InstanteLocal(pedido.ultimaFalha), NumaLinha(MensagemCompleta(pedido))},
            MensagemCompleta(pedido),
            kCorFalha};
}
}  // namespace

LeituraPedidosComFalha PedidosComFalhaDoArquivo(std::filesystem::path arquivo) {
    return [arquivo = std::move(arquivo)]() -> std::optional<std::vector<PedidoEmFalha>> {
        if (!std::filesystem::exists(arquivo)) return std::nullopt;
        return LeituraHistorico(arquivo).PedidosEmFalha();
    };
}

ApresentacaoPedidosComFalha::ApresentacaoPedidosComFalha(LeituraPedidosComFalha leitura)
    : leitura_(std::move(leitura)) {}

std::optional<size_t> ApresentacaoPedidosComFalha::Atualizar() {
    const std::string mantido = selecionada_ ? pedidos_.at(*selecionada_).idApp : std::string();
    pedidos_.clear();
    situacao_.clear();
    try {
        if (auto lidos = leitura_()) pedidos_ = std::move(*lidos);
    } catch (const std::exception& e) {
        situacao_ = "Histórico indisponível: " + std::string(e.what());
    }
    if (pedidos_.empty() && situacao_.empty()) situacao_ = "Nenhum pedido com falha.";

    linhas_.clear();
    selecionada_.reset();
    for (size_t i = 0; i < pedidos_.size(); ++i) {
        linhas_.push_back(Linha(pedidos_[i]));
        if (pedidos_[i].idApp == mantido) selecionada_ = i;
    }
    if (!selecionada_ && !pedidos_.empty()) selecionada_ = 0;
    return selecionada_;
}

void ApresentacaoPedidosComFalha::Selecionar(std::optional<size_t> linha) {
    selecionada_ = linha < pedidos_.size() ? linha : std::nullopt;
}

std::string ApresentacaoPedidosComFalha::Mensagem() const {
    return selecionada_ ? MensagemCompleta(pedidos_[*selecionada_]) : std::string();
}

std::optional<std::string> ApresentacaoPedidosComFalha::PedidoParaTentarNovamente() const {
    if (!selecionada_ || emExecucao_) return std::nullopt;
    return pedidos_[*selecionada_].idApp;
}

}  // namespace tessora::app
