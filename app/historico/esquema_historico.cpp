#include "app/historico/esquema_historico.h"

#include <string>

#include "app/execucao/execucao_sincronizacao.h"
#include "comum/erros.h"

namespace tessora::app {

namespace {
constexpr std::string_view kEsquemaVersao1 = R"(
create table execucao (
    id integer primary key,
    origem text not null,
    inicio integer not null,
    termino integer,
    desfecho text,
    motivo text not null default ''
);
create index execucao_por_inicio on execucao (inicio);
create table pedido (
    id integer primary key,
    execucao integer not null references execucao (id),
    id_app text not null,
    desfecho text not null,
    mensagem text not null,
    id_nf_comercio integer,
    nr_nota_fiscal integer,
    cliente_cadastrado integer,
    falhas_seguidas integer not null
);
create index pedido_por_execucao on pedido (execucao);
create index pedido_por_id_app on pedido (id_app, id);
)";

constexpr std::string_view kEsquemaVersao2 = R"(
alter table pedido add column observacao text not null default '';
)";

// The kind of trouble that ended a run, and the order's customer as the order names it.
constexpr std::string_view kEsquemaVersao3 = R"(
alter table execucao add column problema text not null default '';
alter table pedido add column cliente text not null default '';
)";

int Versao(BancoSqlite& banco) {
    ComandoSqlite comando(banco, "pragma user_version");
    return comando.Proximo() ? static_cast<int>(comando.Inteiro(0)) : 0;
}

std::string VersaoDesconhecida(int versao) {
    return "versão " + std::to_string(versao) + " do histórico desconhecida (esperada " +
           std::to_string(kVersaoEsquemaHistorico) + ")";
}
}  // namespace

std::string_view CodigoOrigem(OrigemExecucao origem) {
    switch (origem) {
        case OrigemExecucao::Temporizador:
            return "temporizador";
        case OrigemExecucao::Botao:
            return "botao";
        case OrigemExecucao::LinhaComando:
            return "linha_comando";
        case OrigemExecucao::Repeticao:
            return "repeticao";
    }
    return {};
}

std::string_view CodigoDesfecho(DesfechoPedido desfecho) {
    switch (desfecho) {
        case DesfechoPedido::Incluido:
            return "incluido";
        case DesfechoPedido::IncluidoComAviso:
            return "incluido_com_aviso";
        case DesfechoPedido::JaIncluido:
            return "ja_incluido";
        case DesfechoPedido::Adiado:
            return "adiado";
        case DesfechoPedido::NaoIncluido:
            return "nao_incluido";
        case DesfechoPedido::Erro:
            return "erro";
    }
    return {};
}

std::string_view CodigoFim(const ResumoExecucao& resumo) {
    if (!resumo.fim) return "erro";
    switch (*resumo.fim) {
        case FimExecucao::Concluida:
            return "normal";
        case FimExecucao::SemConexao:
            return "sem_conexao";
        case FimExecucao::SemListagem:
            return "sem_listagem";
    }
    return {};
}

std::string_view CodigoProblema(std::optional<ProblemaExecucao> problema) {
    if (!problema) return {};
    switch (*problema) {
        case ProblemaExecucao::TokenRecusado:
            return "token_recusado";
        case ProblemaExecucao::CertificadoRecusado:
            return "certificado_recusado";
        case ProblemaExecucao::CertificadoForaDoPrazo:
            return "certificado_fora_do_prazo";
        case ProblemaExecucao::ApiInacessivel:
            return "api_inacessivel";
        case ProblemaExecucao::ErroApi:
            return "erro_api";
        case ProblemaExecucao::BancoInacessivel:
            return "banco_inacessivel";
        case ProblemaExecucao::Configuracao:
            return "configuracao";
    }
    return {};
}

std::optional<ProblemaExecucao> ProblemaDoCodigo(std::string_view codigo) {
    for (const ProblemaExecucao problema :
         {ProblemaExecucao::TokenRecusado, ProblemaExecucao::CertificadoRecusado,
          ProblemaExecucao::CertificadoForaDoPrazo, ProblemaExecucao::ApiInacessivel,
          ProblemaExecucao::ErroApi, ProblemaExecucao::BancoInacessivel,
          ProblemaExecucao::Configuracao}) {
        if (!codigo.empty() && CodigoProblema(problema) == codigo) return problema;
    }
    return std::nullopt;  // none, or a code of a newer program
}

void PrepararEsquemaHistorico(BancoSqlite& banco) {
    TransacaoSqlite transacao(banco);
    const int versao = Versao(banco);
    if (versao > kVersaoEsquemaHistorico) throw Erro(VersaoDesconhecida(versao));
    // Each later version adds its step here, from the version before it.
    if (versao < 1) banco.Executar(kEsquemaVersao1);
    if (versao < 2) banco.Executar(kEsquemaVersao2);
    if (versao < 3) banco.Executar(kEsquemaVersao3);
    if (versao < kVersaoEsquemaHistorico) {
        banco.Executar("pragma user_version = " + std::to_string(kVersaoEsquemaHistorico));
    }
    transacao.Confirmar();
}

void VerificarEsquemaHistorico(BancoSqlite& banco) {
    const int versao = Versao(banco);
    if (versao != kVersaoEsquemaHistorico) throw Erro(VersaoDesconhecida(versao));
}

}  // namespace tessora::app
