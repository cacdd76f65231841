#include "app/apresentacao/orientacao_problema.h"

namespace tessora::app {

OrientacaoProblema Orientar(ProblemaExecucao problema) {
    switch (problema) {
        case ProblemaExecucao::TokenRecusado:
            return {"token recusado pela API", "Confira o token do APP no sistema."};
        case ProblemaExecucao::CertificadoRecusado:
            return {"certificado recusado", "Confira o arquivo de certificados."};
        case ProblemaExecucao::CertificadoForaDoPrazo:
            // A certificate seen as expired or not yet valid says more about this PC's clock
            // than about the server, which would fail every client alike.
            return {"certificado fora da validade", "Confira a data e a hora do PC."};
        case ProblemaExecucao::ApiInacessivel:
            return {"API inacessível", "Confira a conexão com a internet."};
        case ProblemaExecucao::ErroApi:
            return {"erro na API", "Se continuar, avise o suporte do APP."};
        case ProblemaExecucao::BancoInacessivel:
            return {"sem conexão com o banco de dados", "Confira o servidor do banco."};
        case ProblemaExecucao::Configuracao:
            return {"API mal configurada", "Confira o endereço e os certificados."};
    }
    return {};
}

}  // namespace tessora::app
