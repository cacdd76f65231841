#include "importacao/previa_pedido.h"

#include <algorithm>

#include "api/caminho_api.h"
#include "api/json_consulta.h"
#include "comum/erros.h"
#include "db/consultas_erp.h"
#include "importacao/cabecalho_pedido.h"
#include "importacao/cliente_app.h"
#include "importacao/cliente_indisponivel.h"
#include "importacao/itens_pedido.h"

namespace tessora::importacao {

namespace {
// Stands for the key of a customer that the import would register.
constexpr int32_t kPessoaACadastrar = -1;

std::vector<PreviaItem> LerItens(db::ConexaoErp& conexao,
                                 const TDadosOperacaoComercialApp& operacao,
                                 const JsonObjeto& dados) {
    std::vector<PreviaItem> previas;
    const JsonValor* const valor = JsonValorPorNome(dados, "itens");
    const JsonLista* const itens = valor ? valor->ComoLista() : nullptr;
    if (!itens) return previas;
    for (const JsonValor& elemento : *itens) {
        const JsonObjeto* const objeto = elemento.ComoObjeto();
        if (!objeto) throw ErroTipoInvalido();
        const auto numero = static_cast<int32_t>(previas.size() + 1);
        previas.push_back({LerItemPedido(conexao, operacao, *objeto, numero),
                           JsonTextoPorNome(*objeto, "produto_id")});
    }
    return previas;
}
}  // namespace

bool PreviaPedido::ProdutoNaoEncontrado() const {
    return std::any_of(itens.begin(), itens.end(),
                       [](const PreviaItem& previa) { return previa.item.ID_PRODUTO == 0; });
}

PreviaPedido PreverPedido(db::ConexaoErp& conexao, api::ClienteHttp& cliente, const std::string& id,
                          GravacoesPrevistas& anteriores) {
    PreviaPedido previa;
    previa.idApp = id;
    const Resultado<db::ColunaTexto> coluna = ColunaDoIdPedido(conexao, id);
    if (!coluna.Aceito()) {
        previa.recusa = coluna.Motivo();
        return previa;
    }
    previa.jaIncluido =
        anteriores.pedidos.contains(id) || db::PedidoJaIncluido(conexao, id, coluna.Valor());
    if (previa.jaIncluido) return previa;

    const DocumentoApp documento = LerDocumentoApp(cliente, api::CaminhoPedido(id));
    if (!documento.dados) {
        previa.falhaLeitura = documento.falha;
        previa.mensagemLeitura = documento.mensagem;
        return previa;
    }
    const JsonObjeto* const dados = documento.dados->ComoObjeto();
    if (!dados) throw ErroTipoInvalido();

    previa.nrNotaFiscal = LerCabecalhoDoPedido(id, *dados).NR_NOTA_FISCAL;
    previa.idClienteApp = JsonTextoPorNome(*dados, "cliente_id");
    previa.cnpjCpf = JsonTextoPorNome(*dados, "cliente_cnpj");
    previa.idEmpresa = EmpresaDosPedidos(conexao);
    try {
        previa.cliente = EscolherCliente(
            conexao, previa.idClienteApp, previa.idEmpresa, [&](const std::string& idCliente) {
                if (anteriores.clientes.contains(idCliente)) {
                    previa.clienteDePedidoAnterior = true;
                    return kPessoaACadastrar;
                }
                const DocumentoApp dadosCliente = LerClienteApp(cliente, idCliente);
                previa.falhaCliente = dadosCliente.falha;
                previa.mensagemCliente = dadosCliente.mensagem;
                return dadosCliente.dados ? kPessoaACadastrar : 0;
            });
    } catch (const ErroClienteIndisponivel& e) {
        previa.recusa = e.what();
        return previa;
    }
    previa.idNatOperacao = NaturezaDosPedidos(conexao);
    const bool clienteEhEmpresa = previa.cliente.origem != OrigemCliente::Cadastro &&
                                  previa.cliente.idPessoa == previa.idEmpresa;
    previa.situacao =
        SituacaoDoPedido(conexao, clienteEhEmpresa, previa.idNatOperacao, previa.cnpjCpf);

    TDadosOperacaoComercialApp operacao;
    operacao.ID_DESTINATARIO_REMETENTE = previa.cliente.idPessoa;
    previa.itens = LerItens(conexao, operacao, *dados);
    previa.totais = ConferirTotaisDoPedido(*dados);

    anteriores.pedidos.insert(id);
    if (previa.cliente.origem == OrigemCliente::Cadastro) {
        anteriores.clientes.insert(previa.idClienteApp);
    }
    return previa;
}

}  // namespace tessora::importacao
