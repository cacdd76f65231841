#include "importacao/documento_app.h"

#include "api/erros_http.h"
#include "api/json_consulta.h"
#include "api/json_leitura.h"

namespace tessora::importacao {

DocumentoApp LerDocumentoApp(api::ClienteHttp& cliente, const std::string& caminho) {
    DocumentoApp documento;
    std::string corpo;
    try {
        corpo = cliente.Get(caminho);
    } catch (const api::ErroHttp& e) {
        documento.falha = FalhaDocumentoApp::StatusDeErro;
        documento.mensagem = e.what();
        documento.status = e.Status();
        return documento;
    } catch (const api::ErroTransporte& e) {
        documento.falha = FalhaDocumentoApp::Transporte;
        documento.mensagem = e.what();
        return documento;
    }
    documento.resposta = LerRespostaJson(corpo);
    if (!documento.resposta) {
        documento.falha = FalhaDocumentoApp::Ilegivel;
    } else if (!RespostaComSucesso(*documento.resposta)) {
        documento.falha = FalhaDocumentoApp::SemSucesso;
    } else {
        documento.dados = JsonValorPorNome(*documento.resposta, "data");
        if (!documento.dados) documento.falha = FalhaDocumentoApp::SemDados;
    }
    return documento;
}

bool DocumentoNaoObtido(const DocumentoApp& documento) {
    constexpr int kNaoEncontrado = 404;
    switch (documento.falha) {
        case FalhaDocumentoApp::Transporte:
        case FalhaDocumentoApp::Ilegivel:
            return true;
        case FalhaDocumentoApp::StatusDeErro:
            return documento.status != kNaoEncontrado;
        default:
            return false;
    }
}

std::string TextoFalhaDocumento(FalhaDocumentoApp falha, const std::string& mensagem) {
    switch (falha) {
        case FalhaDocumentoApp::Nenhuma:
            break;
        case FalhaDocumentoApp::SemId:
            return "não há id a consultar";
        case FalhaDocumentoApp::StatusDeErro:
        case FalhaDocumentoApp::Transporte:
            return mensagem;
        case FalhaDocumentoApp::Ilegivel:
            return "a resposta da API não é um JSON legível";
        case FalhaDocumentoApp::SemSucesso:
            return "a API não confirmou o sucesso da consulta";
        case FalhaDocumentoApp::SemDados:
            return "a resposta da API não traz os dados";
    }
    return {};
}

}  // namespace tessora::importacao
