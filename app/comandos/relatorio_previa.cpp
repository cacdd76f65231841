#include "app/comandos/relatorio_previa.h"

#include "app/execucao/texto_totais.h"
#include "importacao/itens_pedido.h"

namespace tessora::app {

namespace {
using importacao::FalhaDocumentoApp;
using importacao::OrigemCliente;
using importacao::PreviaPedido;

std::string Motivo(FalhaDocumentoApp falha, const std::string& mensagem) {
    if (falha == FalhaDocumentoApp::SemId) return "o pedido não informa o cliente";
    return importacao::TextoFalhaDocumento(falha, mensagem);
}

void EscreverCliente(const PreviaPedido& previa, std::ostream& saida) {
    switch (previa.cliente.origem) {
        case OrigemCliente::IdApp:
            saida << "  Cliente: pessoa " << previa.cliente.idPessoa
                  << ", encontrada pelo id do APP " << previa.idClienteApp << '\n';
            return;
        case OrigemCliente::Cadastro:
            saida << "  Cliente: " << previa.idClienteApp
                  << (previa.clienteDePedidoAnterior ? ", cadastrado por um pedido anterior\n"
                                                     : " seria cadastrado a partir do APP\n");
            return;
        case OrigemCliente::Empresa:
            saida << "  Cliente: a empresa (pessoa " << previa.idEmpresa << "), pois o cliente "
                  << previa.idClienteApp << " do APP não pode ser cadastrado: "
                  << Motivo(previa.falhaCliente, previa.mensagemCliente) << '\n';
            break;
    }
    if (previa.situacao.ClienteNaoEncontrado()) {
        saida << "  CNPJ/CPF " << previa.cnpjCpf
              << ": de nenhuma pessoa do sistema; as observações terminariam com \""
              << importacao::kNotaClienteNaoEncontrado << "\"\n";
    } else if (previa.situacao.pessoaPorCnpjCpf) {
        saida << "  CNPJ/CPF " << previa.cnpjCpf << ": da pessoa "
              << *previa.situacao.pessoaPorCnpjCpf << ", mas o pedido ficaria com a empresa\n";
    }
}

void EscreverItens(const PreviaPedido& previa, std::ostream& saida) {
    if (previa.itens.empty()) saida << "  Sem itens\n";
    for (const importacao::PreviaItem& previaItem : previa.itens) {
        const auto& item = previaItem.item;
        saida << "  Item " << item.NO_ITEM << " (" << item.CD_PRODUTO_APP << "): produto "
              << previaItem.produtoApp;
        if (item.ID_PRODUTO != 0) {
            saida << " é o produto " << item.ID_PRODUTO << " do sistema, " << item.NM_PRODUTO
                  << '\n';
        } else {
            saida << " não encontrado; seria gravado como o produto "
                  << importacao::kProdutoNaoCadastrado << '\n';
        }
    }
}

void EscreverSituacao(const PreviaPedido& previa, std::ostream& saida) {
    saida << "  Situação: " << previa.SituacaoFinal();
    std::string motivos;
    if (previa.cliente.origem == OrigemCliente::Empresa) motivos = "a empresa como cliente";
    if (previa.ProdutoNaoEncontrado()) {
        motivos += (motivos.empty() ? "" : "; ") + std::string("produto não encontrado");
    }
    if (previa.SituacaoFinal() == 1 && !motivos.empty()) saida << " (" << motivos << ")";
    saida << '\n';
}

}  // namespace

void ResumoPrevia::Contar(const PreviaPedido& previa) {
    ++pedidos;
    if (!previa.recusa.empty()) {
        ++recusados;
        return;
    }
    if (previa.jaIncluido) {
        ++jaIncluidos;
        return;
    }
    if (previa.falhaLeitura != FalhaDocumentoApp::Nenhuma) {
        ++naoLidos;
        return;
    }
    if (previa.cliente.origem == OrigemCliente::Cadastro && !previa.clienteDePedidoAnterior) {
        ++clientesACadastrar;
    }
    if (previa.cliente.origem == OrigemCliente::Empresa) ++comEmpresa;
    if (previa.ProdutoNaoEncontrado()) ++comProdutoNaoEncontrado;
    if (!previa.totais.Confere()) ++comTotaisDivergentes;
}

void EscreverPrevia(const PreviaPedido& previa, std::ostream& saida) {
    saida << "Pedido " << previa.idApp << '\n';
    if (!previa.recusa.empty()) {
        saida << "  Não seria incluído nem confirmado à API: " << previa.recusa << '\n';
        return;
    }
    if (previa.jaIncluido) {
        saida << "  Já incluído no sistema: nada seria gravado, só a confirmação à API\n";
        return;
    }
    if (previa.falhaLeitura != FalhaDocumentoApp::Nenhuma) {
        saida << "  Não foi possível ler o pedido: "
              << Motivo(previa.falhaLeitura, previa.mensagemLeitura) << '\n';
        return;
    }
    saida << "  Ainda não incluído no sistema; número " << previa.nrNotaFiscal << '\n';
    EscreverCliente(previa, saida);
    saida << "  Natureza de operação: " << previa.idNatOperacao << '\n';
    EscreverItens(previa, saida);
    EscreverSituacao(previa, saida);
    saida << "  Totais: " << TextoConferenciaTotais(previa.totais) << '\n';
}

void EscreverErroPrevia(const std::string& id, const std::string& mensagem, std::ostream& saida) {
    saida << "Pedido " << id << '\n' << "  Erro na leitura do pedido: " << mensagem << '\n';
}

void EscreverResumoPrevia(const ResumoPrevia& resumo, std::ostream& saida) {
    saida << "Resumo: " << resumo.pedidos << " pedido(s); " << resumo.jaIncluidos
          << " já incluído(s); " << resumo.naoLidos << " não lido(s); " << resumo.recusados
          << " recusado(s); " << resumo.clientesACadastrar << " cliente(s) a cadastrar; "
          << resumo.comEmpresa << " com a empresa como cliente; " << resumo.comProdutoNaoEncontrado
          << " com produto não encontrado; " << resumo.comTotaisDivergentes
          << " com totais que não conferem\n";
}

}  // namespace tessora::app
