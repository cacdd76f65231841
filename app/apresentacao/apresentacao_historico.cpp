#include "app/apresentacao/apresentacao_historico.h"

#include <exception>
#include <fstream>
#include <utility>

#include "api/texto_resposta.h"
#include "app/apresentacao/aparar_espacos.h"
#include "app/apresentacao/planilha_historico.h"
#include "comum/texto.h"

namespace tessora::app {

LeituraPaginaHistorico LeituraDoArquivo(std::filesystem::path arquivo) {
    return [arquivo = std::move(arquivo)](
               const FiltroHistorico& filtro) -> std::optional<std::vector<ExecucaoRegistrada>> {
        if (!std::filesystem::exists(arquivo)) return std::nullopt;
        return LeituraHistorico(arquivo).Execucoes(filtro);
    };
}

ApresentacaoHistorico::ApresentacaoHistorico(LeituraPaginaHistorico leitura)
    : leitura_(std::move(leitura)) {}

void ApresentacaoHistorico::DefinirPesquisa(std::string_view digitado) {
    // The app's texts reach the history folded to ASCII ("Conceicao"): what is typed is folded
    // the same way, so that "Conceição" finds them.
    pesquisa_ = TextoRespostaParaAscii(AparaEspacos(digitado));
}

const ExecucaoRegistrada& ApresentacaoHistorico::Execucao(size_t linha) const {
    return execucoes_.at(execucoes_.size() - 1 - linha);
}

std::optional<size_t> ApresentacaoHistorico::Atualizar() {
    // Row ids start at 1: 0 keeps no run.
    const int64_t mantida = selecionada_.value_or(0) > 0 ? Execucao(*selecionada_).id : 0;
    execucoes_.clear();
    situacao_.clear();
    try {
        auto lidas = leitura_({.soFalhas = falhasEAvisos_,
                               .comAvisos = falhasEAvisos_,
                               .pesquisa = pesquisa_,
                               .ultimas = kExecucoesMostradas});
        if (lidas) {
            execucoes_ = std::move(*lidas);
        } else {
            situacao_ = "Nenhuma execução registrada.";
        }
    } catch (const std::exception& e) {
        situacao_ = "Histórico indisponível: " + std::string(e.what());
    }

    linhasExecucoes_.clear();
    std::optional<size_t> linha;
    for (size_t i = 0; i < execucoes_.size(); ++i) {
        linhasExecucoes_.push_back(LinhaExecucao(Execucao(i)));
        if (Execucao(i).id == mantida) linha = i;
    }
    if (!linha && !execucoes_.empty()) linha = 0;
    selecionada_.reset();
    linhasPedidos_.clear();
    Selecionar(linha);
    return selecionada_;
}

bool ApresentacaoHistorico::Selecionar(std::optional<size_t> linha) {
    if (linha >= execucoes_.size()) linha.reset();
    if (linha == selecionada_) return false;
    selecionada_ = linha;
    linhasPedidos_.clear();
    if (selecionada_) {
        for (const auto& pedido : Execucao(*selecionada_).pedidos) {
            linhasPedidos_.push_back(LinhaPedido(pedido));
        }
    }
    return true;
}

bool ApresentacaoHistorico::Desmarcar(size_t linha) {
    return selecionada_ == linha && Selecionar(std::nullopt);
}

std::optional<std::string> ApresentacaoHistorico::ExportarCsv(
    const std::filesystem::path& arquivo) const {
    std::ofstream saida(arquivo, std::ios::binary);
    if (saida) EscreverPlanilhaHistorico(execucoes_, saida);
    if (saida.flush()) return std::nullopt;
    return "Não foi possível gravar o arquivo " + TextoCaminho(arquivo) + ".";
}

}  // namespace tessora::app
