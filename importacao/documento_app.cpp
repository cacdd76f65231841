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

}  // namespace tessora::importacao
