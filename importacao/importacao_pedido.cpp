#include "importacao/importacao_pedido.h"

#include <chrono>
#include <optional>
#include <utility>

#include "api/caminho_api.h"
#include "api/json_consulta.h"
#include "api/json_leitura.h"
#include "api/registro_erp.h"
#include "comum/data_hora.h"
#include "comum/erros.h"
#include "db/consulta.h"
#include "db/consultas_erp.h"
#include "db/guarda_importacao.h"
#include "db/procedimentos.h"
#include "db/unidade_de_trabalho.h"
#include "db/valores_sql.h"
#include "importacao/cabecalho_pedido.h"
#include "importacao/cliente_app.h"
#include "importacao/decisoes_pedido.h"
#include "importacao/itens_pedido.h"
#include "importacao/notas_operacao.h"

namespace tessora::importacao {

namespace {
TDadosOperacaoComercialApp MontarOperacao(db::ConexaoErp& conexao, api::ClienteHttp& cliente,
                                          const std::string& id, const JsonObjeto& dados,
                                          OperacaoGravada& gravada) {
    TDadosOperacaoComercialApp op = LerCabecalhoDoPedido(id, dados);
    op.ID_EMPRESA = EmpresaDosPedidos(conexao);

    const ClientePedido escolhido = EscolherCliente(
        conexao, JsonTextoPorNome(dados, "cliente_id"), op.ID_EMPRESA,
        [&](const std::string& idCliente) {
            // A customer that the API does not have, or whose rows the ERP refused, leaves the
            // order to the company.
            const Resultado<int32_t> registro = ImportarClienteApp(conexao, cliente, idCliente);
            if (registro.Aceito()) return registro.Valor();
            gravada.motivoClienteRecusado = registro.Motivo();
            return 0;
        });
    gravada.clienteCadastrado = escolhido.origem == OrigemCliente::Cadastro;
    gravada.empresaNoLugarDoCliente = escolhido.origem == OrigemCliente::Empresa;
    const int32_t pessoa = escolhido.idPessoa;
    op.ID_DESTINATARIO_REMETENTE = pessoa;

    op.ID_VENDEDOR = db::PessoaPorVendedorApp(conexao, JsonTextoPorNome(dados, "vendedor_id"));
    op.ID_NAT_OPERACAO = NaturezaDosPedidos(conexao);
    op.DS_SERIE_NF = db::SeriePedidoDoVendedor(conexao, op.ID_VENDEDOR);
    op.ID_TP_MOV_ESTOQUE = db::TipoMovEstoqueDaNatureza(conexao, op.ID_NAT_OPERACAO);

    op.ID_CIDADE_FATURAMENTO = db::CidadeDoEndereco(conexao, pessoa, "st_fatura");
    op.ID_END_FATURAMENTO = db::EnderecoDaPessoa(conexao, pessoa, "st_fatura");
    op.SG_ESTADO_FATURAMENTO = db::EstadoDoEndereco(conexao, pessoa, "st_fatura");
    op.ID_CIDADE_ENTREGA = db::CidadeDoEndereco(conexao, pessoa, "st_entrega");
    op.ID_END_ENTREGA = db::EnderecoDaPessoa(conexao, pessoa, "st_entrega");
    op.SG_ESTADO_ENTREGA = db::EstadoDoEndereco(conexao, pessoa, "st_entrega");

    op.ID_PLANO_PAGAMENTO = db::PlanoPagtoDaPessoa(conexao, pessoa);
    op.ID_FORMA_PAGTO = db::TipoPagtoDaPessoa(conexao, pessoa);
    op.ID_TP_FRETE = db::TipoFretePorDescricao(conexao, JsonTextoPorNome(dados, "tipo_frete"));

    const SituacaoPedido situacao =
        SituacaoDoPedido(conexao, pessoa == op.ID_EMPRESA, op.ID_NAT_OPERACAO,
                         JsonTextoPorNome(dados, "cliente_cnpj"));
    op.ID_ST_NF = situacao.idStNf;
    if (situacao.ClienteNaoEncontrado()) op.TX_OBS_NF += kNotaClienteNaoEncontrado;
    return op;
}

// The app's name of the customer with its CNPJ or CPF, whichever the order carries.
std::string ClienteNomeado(const JsonObjeto& dados) {
    const std::string nome = JsonTextoPorNome(dados, "cliente_nome");
    const std::string documento = JsonTextoPorNome(dados, "cliente_cnpj");
    if (nome.empty() || documento.empty()) return nome + documento;
    return nome + " (" + documento + ")";
}

std::string ChaveOuNulo(int32_t valor, std::string_view substituto) {
    return db::EscolherTexto(valor != 0, db::InteiroSql(valor), substituto);
}

std::string DescreverCopia(const db::CopiaImportando& copia) {
    std::string texto = "processo " + (copia.pid.empty() ? "desconhecido" : copia.pid);
    if (!copia.endereco.empty()) texto += " em " + copia.endereco;
    return texto;
}

}  // namespace

// The order's database work as one unit of work, ended before the function returns. Of two
// copies of the program on one database, only the one that attached first imports, so the
// check for an earlier import and the writes of one order never interleave with another copy's.
ResultadoImportacao GravarPedido(db::ConexaoErp& conexao, api::ClienteHttp& cliente,
                                 const std::string& id, const DocumentoPedido& documento) {
    using enum DesfechoImportacao;
    db::UnidadeDeTrabalho unidade(conexao);
    const Resultado<db::ColunaTexto> coluna = ColunaDoIdPedido(conexao, id);
    if (!coluna.Aceito()) return {IdInexato, coluna.Motivo()};
    if (const auto copia = db::CopiaAnteriorImportando(conexao)) {
        return {OutraCopiaImportando, DescreverCopia(*copia)};
    }
    // An order already in the ERP whose acknowledgement was lost: acknowledged again only.
    if (db::PedidoJaIncluido(conexao, id, coluna.Valor())) return {JaIncluido};

    const std::string* corpo = nullptr;
    try {
        corpo = &documento.Corpo();
    } catch (const api::ErroRespostaGrandeDemais&) {
        throw;  // logged with the limit it names, where "not included" would not say why
    } catch (const api::ErroHttp& e) {
        return {PedidoNaoObtido, e.TextoErro()};
    } catch (const api::ErroTransporte& e) {
        return {PedidoNaoObtido, e.what()};
    }
    const auto resposta = LerRespostaJson(*corpo);
    if (!resposta || !RespostaComSucesso(*resposta)) return {PedidoNaoObtido};
    const JsonValor* valorDados = JsonValorPorNome(*resposta, "data");
    if (!valorDados) return {PedidoNaoObtido};
    const JsonObjeto* dados = valorDados->ComoObjeto();
    if (!dados) throw ErroTipoInvalido();

    const std::string clienteNomeado = ClienteNomeado(*dados);
    OperacaoGravada gravada;
    TDadosOperacaoComercialApp operacao;
    try {
        operacao = MontarOperacao(conexao, cliente, id, *dados, gravada);
    } catch (const ErroClienteIndisponivel& e) {
        // The unit of work undoes what was written.
        return {ClienteIndisponivel, e.what(), {}, clienteNomeado};
    }
    const Resultado<int32_t> cabecalho = IncluirOperacaoComercialApp(conexao, operacao);
    // The unit of work undoes the customer too.
    if (!cabecalho.Aceito()) return {CabecalhoRecusado, cabecalho.Motivo(), {}, clienteNomeado};
    operacao.ID_NF_COMERCIO = cabecalho.Valor();

    // An order without an "itens" array is kept as its header alone.
    static_cast<void>(ImportarItensPedido(conexao, operacao, *dados, gravada.avisosItens));
    // The note only tells when the order came; the order stands without it.
    static_cast<void>(AnotarPedidoCapturado(conexao, operacao));
    gravada.idNfComercio = operacao.ID_NF_COMERCIO;
    gravada.nrNotaFiscal = operacao.NR_NOTA_FISCAL;
    gravada.totais = ConferirTotaisDoPedido(*dados);
    unidade.Confirmar();
    return {Incluido, {}, std::move(gravada), clienteNomeado};
}

Resultado<int32_t> IncluirOperacaoComercialApp(db::ConexaoErp& conexao,
                                               const TDadosOperacaoComercialApp& op) {
    const int32_t chave = db::IdDoProcedimento(conexao, db::kProcedimentoIdOperacao);
    const Moeda zero;
    const std::string comando = db::ComandoComValores(
        " INSERT INTO MOV_NF_COMERCIO(ID_NF_COMERCIO, ID_EMPRESA, ID_ST_NF, "
        "ID_DESTINATARIO_REMETENTE, DT_EMISSAO, "
        "ID_NAT_OPERACAO, ID_TP_MOV_ESTOQUE, NR_NOTA_FISCAL, DS_SERIE_NF, DT_SAIDA_ENTRADA, "
        "ID_PLANO_PAGTO, "
        "VL_TOTAL_NF, ID_VENDEDOR, ID_TP_PAGTO, TX_OBS_NF, ID_APP_FORCA_VENDA, VL_IPI, "
        "VL_PRODUTOS, "
        "ID_END_FATURAMENTO, ID_END_ENTREGA, SG_ESTADO, SG_ESTADO_ENTREGA, ID_TP_FRETE, ID_CIDADE, "
        "ID_CIDADE_ENTREGA, VL_BASE_ICMS, VL_ICMS, VL_BASE_ICMS_SUBST, VL_ICMS_SUBST, VL_FRETE, "
        "VL_SEGURO, "
        "VL_OUT_DESPESAS, VL_SERVICO, VL_DESCONTO, CT_CALCULAR_PESO, QT_DIAS_VALIDADE) VALUES (",
        {
            db::InteiroSql(chave),
            db::InteiroSql(op.ID_EMPRESA),
            db::InteiroSql(op.ID_ST_NF),
            db::InteiroSql(op.ID_DESTINATARIO_REMETENTE),
            db::DataSql(op.DT_EMISSAO),
            db::InteiroSql(op.ID_NAT_OPERACAO),
            db::InteiroSql(op.ID_TP_MOV_ESTOQUE),
            db::InteiroSql(op.NR_NOTA_FISCAL),
            db::TextoSql(op.DS_SERIE_NF),
            db::DataSql(op.DT_SAIDA_ENTRADA),
            ChaveOuNulo(op.ID_PLANO_PAGAMENTO, "null"),
            db::DecimalSql2(op.VL_TOTAL_NF),
            ChaveOuNulo(op.ID_VENDEDOR, "null"),
            ChaveOuNulo(op.ID_FORMA_PAGTO, "0"),
            db::TextoSql(op.TX_OBS_NF),
            db::TextoSql(op.ID_APP_FORCA_VENDA),
            db::DecimalSql2(op.VL_IPI),
            db::DecimalSql2(op.VL_PRODUTOS),
            db::InteiroSql(op.ID_END_FATURAMENTO),
            db::InteiroSql(op.ID_END_ENTREGA),
            db::TextoSql(op.SG_ESTADO_FATURAMENTO),
            db::TextoSql(op.SG_ESTADO_ENTREGA),
            ChaveOuNulo(op.ID_TP_FRETE, "null"),
            db::InteiroSql(op.ID_CIDADE_FATURAMENTO),
            db::InteiroSql(op.ID_CIDADE_ENTREGA),
            db::DecimalSql2(zero),  // VL_BASE_ICMS
            db::DecimalSql2(zero),  // VL_ICMS
            db::DecimalSql2(zero),  // VL_BASE_ICMS_SUBST
            db::DecimalSql2(zero),  // VL_ICMS_SUBST
            db::DecimalSql2(zero),  // VL_FRETE
            db::DecimalSql2(zero),  // VL_SEGURO
            db::DecimalSql2(zero),  // VL_OUT_DESPESAS
            db::DecimalSql2(zero),  // VL_SERVICO
            db::DecimalSql2(zero),  // VL_DESCONTO
            db::FlagSql(false),     // CT_CALCULAR_PESO
            db::InteiroSql(op.QT_DIAS_VALIDADE),
        });
    return db::ExecutarSeAceito(conexao, comando).ComValor(chave);
}

Resultado<> AnotarPedidoCapturado(db::ConexaoErp& conexao,
                                  const TDadosOperacaoComercialApp& operacao) {
    try {
        AnotarOperacao(
            conexao, operacao.ID_NF_COMERCIO,
            "Pedido capturado do APP em " + DataHoraSegundos(std::chrono::system_clock::now()),
            Pendencia::Nenhuma);
        return {};
    } catch (const ErroBancoDados& e) {
        return Recusa{e.what()};
    }
}

DocumentoPedido DocumentoPedido::Buscar(api::ClienteHttp& cliente, const std::string& id) {
    DocumentoPedido documento;
    try {
        documento.corpo_ = cliente.Get(api::CaminhoPedido(id));
    } catch (...) {
        documento.erro_ = std::current_exception();
    }
    return documento;
}

DocumentoPedido DocumentoPedido::QuandoPedido(api::ClienteHttp& cliente, const std::string& id) {
    DocumentoPedido documento;
    documento.clienteAdiado_ = &cliente;
    documento.id_ = id;
    return documento;
}

DocumentoPedido DocumentoPedido::ComErro(std::exception_ptr erro) {
    DocumentoPedido documento;
    documento.erro_ = std::move(erro);
    return documento;
}

const std::string& DocumentoPedido::Corpo() const {
    if (clienteAdiado_ != nullptr) {
        DocumentoPedido buscado = Buscar(*std::exchange(clienteAdiado_, nullptr), id_);
        corpo_ = std::move(buscado.corpo_);
        erro_ = std::move(buscado.erro_);
    }
    if (erro_) std::rethrow_exception(erro_);
    return corpo_;
}

bool RegistrarNaApi(const ResultadoImportacao& resultado) {
    return resultado.desfecho == DesfechoImportacao::Incluido ||
           resultado.desfecho == DesfechoImportacao::JaIncluido;
}

ResultadoImportacao ImportarPedido(db::ConexaoErp& conexao, api::ClienteHttp& cliente,
                                   const std::string& id) {
    const ResultadoImportacao resultado =
        GravarPedido(conexao, cliente, id, DocumentoPedido::QuandoPedido(cliente, id));
    if (RegistrarNaApi(resultado)) {
        // The order is in the ERP whatever the API answers: one left unacknowledged is listed
        // again and then acknowledged as already included.
        static_cast<void>(api::RegistrarPedidoNoErp(cliente, id));
    }
    return resultado;
}

}  // namespace tessora::importacao
