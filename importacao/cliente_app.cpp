#include "importacao/cliente_app.h"

#include <string_view>

#include "api/caminho_api.h"
#include "api/json_consulta.h"
#include "comum/texto.h"
#include "db/unidade_de_trabalho.h"
#include "importacao/cidade.h"
#include "importacao/limpeza_documentos.h"
#include "importacao/pessoa_app.h"

namespace tessora::importacao {

namespace {

bool Preenchido(std::string_view texto) { return !AparaBrancos(texto).empty(); }

std::string Flag(bool ligado) { return ligado ? "S" : "N"; }

TDadosPessoaApp LerPessoa(const JsonObjeto& dados) {
    TDadosPessoaApp pessoa;
    pessoa.ID_APP_FORCA_VENDA = JsonTextoPorNome(dados, "id");
    pessoa.NM_PESSOA = JsonTextoPorNome(dados, "razao_social");
    pessoa.NM_PESQUISA = JsonTextoPorNome(dados, "nome_fantasia");
    const std::string cnpj = JsonTextoPorNome(dados, "cnpj");
    if (Preenchido(cnpj)) {
        pessoa.TP_PESSOA = "J";
        pessoa.NO_CNPJ_CPF = LimparCnpjCpf(AparaBrancos(cnpj));
    } else {
        pessoa.TP_PESSOA = "F";
        pessoa.NO_CNPJ_CPF = LimparCnpjCpf(AparaBrancos(JsonTextoPorNome(dados, "cpf")));
    }
    pessoa.NO_IE_RG = JsonTextoPorNome(dados, "inscricao_estadual");

    // A small "s" is kept as it came: the ERP receives what the app sent when it means yes.
    std::string icms = JsonTextoPorNome(dados, "icms_sn");
    pessoa.CT_CONTRIBUINTE_ICMS = IguaisSemCaixaAscii(icms, "S") ? std::move(icms) : "N";

    const std::string uso = JsonTextoPorNome(dados, "uso_produtos");
    pessoa.CT_CATEGORIA = IguaisSemCaixaAscii(uso, "R")   ? "R"
                          : IguaisSemCaixaAscii(uso, "I") ? "I"
                                                          : "C";
    return pessoa;
}

// The address whose members carry `sufixo` ("" for billing, "_entrega" for delivery); the city
// is looked up (and inserted when missing) here.
TDadosEnderecoPessoaApp LerEndereco(db::ConexaoErp& conexao, const JsonObjeto& dados,
                                    const std::string& sufixo) {
    TDadosEnderecoPessoaApp endereco;
    endereco.NO_CEP = LimparCep(JsonTextoPorNome(dados, "cep" + sufixo));
    endereco.NM_LOGRADOURO = JsonTextoPorNome(dados, "rua" + sufixo);
    endereco.DS_NUMERO = JsonTextoPorNome(dados, "numero" + sufixo);
    endereco.DS_COMPLEMENTO = JsonTextoPorNome(dados, "complemento" + sufixo);
    endereco.NM_BAIRRO = JsonTextoPorNome(dados, "bairro" + sufixo);
    endereco.ID_CIDADE = ObterCidade(conexao, JsonTextoPorNome(dados, "cidade" + sufixo),
                                     JsonTextoPorNome(dados, "uf" + sufixo));
    return endereco;
}

bool TemEnderecoEntrega(const JsonObjeto& dados) {
    for (const char* membro :
         {"cep_entrega", "rua_entrega", "numero_entrega", "complemento_entrega", "bairro_entrega",
          "cidade_entrega", "uf_entrega"}) {
        if (Preenchido(JsonTextoPorNome(dados, membro))) return true;
    }
    return false;
}

bool TemDados(const TDadosContatoPessoaApp& contato) {
    return Preenchido(contato.NM_CONTATO) || Preenchido(contato.NO_FONE) ||
           Preenchido(contato.NM_E_MAIL);
}

// Fills and writes the customer; the first refusal of an insert ends it.
Resultado<int32_t> RegistrarCliente(db::ConexaoErp& conexao, const JsonObjeto& dados) {
    TDadosPessoaApp pessoa = LerPessoa(dados);

    TDadosEnderecoPessoaApp cobranca = LerEndereco(conexao, dados, "");
    TDadosEnderecoPessoaApp entrega = LerEndereco(conexao, dados, "_entrega");
    const bool temEntrega = TemEnderecoEntrega(dados);
    cobranca.ST_FATURA = cobranca.ST_COBRANCA = cobranca.ST_CORRESP = "S";
    cobranca.ST_ENTREGA = Flag(!temEntrega);
    entrega.ST_FATURA = entrega.ST_COBRANCA = entrega.ST_CORRESP = "N";
    entrega.ST_ENTREGA = "S";

    TDadosContatoPessoaApp responsavel;
    responsavel.NM_CONTATO = JsonTextoPorNome(dados, "responsavel");
    const std::string whatsapp = JsonTextoPorNome(dados, "whatsapp");
    responsavel.NO_FONE =
        Preenchido(whatsapp) ? whatsapp : JsonTextoPorNome(dados, "contato_responsavel");
    responsavel.NM_E_MAIL = JsonTextoPorNome(dados, "email");

    TDadosContatoPessoaApp financeiro;
    financeiro.NM_CONTATO = JsonTextoPorNome(dados, "nome_financeiro");
    financeiro.NO_FONE = JsonTextoPorNome(dados, "whats_financeiro");
    financeiro.NM_E_MAIL = JsonTextoPorNome(dados, "email_financeiro");
    const bool temFinanceiro = TemDados(financeiro);

    // The financial contact, when there is one, takes the collection role.
    responsavel.ST_FONE_PRINCIPAL = "S";
    responsavel.ST_EMAIL_PRINCIPAL = "S";
    responsavel.ST_CONTATO_COBRANCA = Flag(!temFinanceiro);
    responsavel.ST_CONTATO_COMERCIAL = "S";
    responsavel.ST_CONTATO_ENTREGA = "S";
    responsavel.ST_EMAIL_NFE = "S";
    financeiro.ST_FONE_PRINCIPAL = "N";
    financeiro.ST_EMAIL_PRINCIPAL = "N";
    financeiro.ST_CONTATO_COBRANCA = "S";
    financeiro.ST_CONTATO_COMERCIAL = "N";
    financeiro.ST_CONTATO_ENTREGA = "N";
    financeiro.ST_EMAIL_NFE = "N";

    const Resultado<int32_t> inclusao = IncluirPessoaApp(conexao, pessoa);
    if (!inclusao.Aceito()) return inclusao;
    pessoa.ID_PESSOA = inclusao.Valor();
    cobranca.ID_PESSOA = entrega.ID_PESSOA = pessoa.ID_PESSOA;
    responsavel.ID_PESSOA = financeiro.ID_PESSOA = pessoa.ID_PESSOA;

    // The first refused row ends the registration.
    Resultado<int32_t> linha = IncluirEnderecoPessoaApp(conexao, cobranca);
    if (linha.Aceito() && temEntrega) linha = IncluirEnderecoPessoaApp(conexao, entrega);
    if (linha.Aceito() && TemDados(responsavel)) {
        linha = IncluirContatoPessoaApp(conexao, responsavel);
    }
    if (linha.Aceito() && temFinanceiro) linha = IncluirContatoPessoaApp(conexao, financeiro);
    return linha.ComValor(pessoa.ID_PESSOA);
}

}  // namespace

DocumentoApp LerClienteApp(api::ClienteHttp& cliente, const std::string& idCliente) {
    if (!Preenchido(idCliente)) return {.falha = FalhaDocumentoApp::SemId};
    DocumentoApp documento = LerDocumentoApp(cliente, api::CaminhoCliente(idCliente));
    if (DocumentoNaoObtido(documento)) {
        throw ErroClienteIndisponivel(
            "não foi possível obter o cliente " + idCliente +
            " da API: " + TextoFalhaDocumento(documento.falha, documento.mensagem));
    }
    if (documento.dados && !documento.dados->ComoObjeto()) {
        documento.dados = nullptr;
        documento.falha = FalhaDocumentoApp::SemDados;
    }
    return documento;
}

Resultado<int32_t> ImportarClienteApp(db::ConexaoErp& conexao, api::ClienteHttp& cliente,
                                      const std::string& idCliente) {
    const DocumentoApp documento = LerClienteApp(cliente, idCliente);
    if (!documento.dados) return Recusa{documento.mensagem};
    const JsonObjeto& dados = *documento.dados->ComoObjeto();

    // Taken before the first write (a city may be inserted while the addresses are read), so
    // that a refused insert, or an error, leaves no row of this customer behind.
    db::PontoDeSalvamento ponto(conexao, "CLIENTE_APP");
    Resultado<int32_t> registro = RegistrarCliente(conexao, dados);
    if (registro.Aceito()) {
        ponto.Manter();
    } else {
        ponto.Desfazer();
    }
    return registro;
}

}  // namespace tessora::importacao
