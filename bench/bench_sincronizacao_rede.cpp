// One synchronisation run of 100 new orders (three items each, every tenth with a new customer)
// through a latency relay in front of the substitute API, at 0 and 50 ms round trip, with the
// database's forced writes off and on: seconds per order and TCP connections per order, counted
// at the relay. Beside them the database's own floor: the run's statements replayed back to
// back, committed order by order as the run commits them, without the API.

#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "api_substituta.h"
#include "app/execucao_sincronizacao.h"
#include "app/pedidos_via_api.h"
#include "avisos_gravados.h"
#include "comum/texto.h"
#include "db/consulta.h"
#include "db/firebird_interno.h"
#include "estado_pedidos.h"
#include "instalacao_erp_teste.h"
#include "rele_latencia.h"

namespace {

namespace app = tessora::app;
namespace db = tessora::db;
using tessora::testes::ApiSubstituta;
using tessora::testes::InstalacaoErpTeste;

constexpr int kPedidos = 100;

// Forced writes are a property of the database file, set by an attachment that asks for it.
void DefinirEscritaForcada(const std::string& banco, bool ligada) {
    namespace interno = db::interno;
    const auto dpb = interno::NovoXpb(Firebird::IXpbBuilder::DPB);
    interno::Chamar([&](Firebird::ThrowStatusWrapper* st) {
        interno::InserirCredenciais(st, *dpb);
        dpb->insertInt(st, isc_dpb_force_write, ligada ? 1 : 0);
        interno::Ref<Firebird::IAttachment> anexo(interno::Provedor()->attachDatabase(
            st, banco.c_str(), dpb->getBufferLength(st), dpb->getBuffer(st)));
        interno::Encerrar(anexo, [](auto& a, auto* s) { a.detach(s); });
    });
}

// The run's statements, the ones before the first order and then each order's.
using Comandos = std::vector<std::vector<std::string>>;

class PainelContado : public app::PainelExecucao {
  public:
    void HabilitarSincronizarAgora(bool) override {}
    void ExibirUltimaAtualizacao(const std::string&) override {}
    void LimparLog() override {}
    void AcrescentarLinhaLog(const std::string& linha) override {
        if (linha.ends_with(" - Pedido incluído no sistema.")) ++incluidos;
    }
    int incluidos = 0;
};

// The program's order loop, its statements recorded from the listing on.
class PedidosGravados : public app::PedidosAppForcaVenda {
  public:
    explicit PedidosGravados(Comandos& comandos) : comandos_(comandos) {}

    tessora::api::ListagemPedidos ListarPedidosNovos(
        app::ContextoSincronizacao& contexto) override {
        comandos_.assign(1, {});
        contexto.conexao.DefinirRastro(
            [this](std::string_view comando) { comandos_.back().emplace_back(comando); });
        return programa_.ListarPedidosNovos(contexto);
    }
    tessora::importacao::DocumentoPedido BuscarPedido(tessora::api::ClienteHttp& cliente,
                                                      const std::string& id) override {
        return programa_.BuscarPedido(cliente, id);
    }
    void RegistrarPedido(tessora::api::ClienteHttp& cliente, const std::string& id) override {
        programa_.RegistrarPedido(cliente, id);
    }
    tessora::importacao::ResultadoImportacao ImportarPedido(
        app::ContextoSincronizacao& contexto, const std::string& id,
        const tessora::importacao::DocumentoPedido& documento) override {
        comandos_.emplace_back();
        return programa_.ImportarPedido(contexto, id, documento);
    }

  private:
    app::PedidosViaApi programa_;
    Comandos& comandos_;
};

struct Medida {
    double segundosPorPedido;
    double conexoesPorPedido;
};

Medida MedirExecucao(ApiSubstituta& servidor, bool escritaForcada, int idaEVoltaMs,
                     Comandos& comandos) {
    const InstalacaoErpTeste erp;
    DefinirEscritaForcada(erp.Banco().Nome(), escritaForcada);
    servidor.DefinirEstado(tessora::bench::Estado(kPedidos));
    const tessora::rele::ReleLatencia rele(servidor.Porta(),
                                           std::chrono::microseconds(idaEVoltaMs * 500));

    tessora::testes::AvisosGravados avisos;
    PainelContado painel;
    PedidosGravados pedidos(comandos);
    db::CaminhosAtualizacao caminhos;
    const std::string url = "https://127.0.0.1:" + std::to_string(rele.Porta()) + "/api";
    const app::AmbienteExecucao ambiente{
        erp.Executavel(), {url, servidor.ArquivoCertificado()}, avisos, painel, pedidos, caminhos};

    const auto inicio = std::chrono::steady_clock::now();
    const app::FimExecucao fim = app::ProcessarAppForcaVenda(ambiente);
    const double segundos =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
    if (fim != app::FimExecucao::Concluida || painel.incluidos != kPedidos)
        throw std::runtime_error("a execução não incluiu todos os pedidos");
    return {segundos / kPedidos, static_cast<double>(rele.Conexoes()) / kPedidos};
}

bool DevolveLinhas(std::string_view comando) {
    while (!comando.empty() && comando.front() == ' ') comando.remove_prefix(1);
    const std::string_view palavra = comando.substr(0, comando.find(' '));
    return tessora::IguaisSemCaixaAscii(palavra, "select") ||
           tessora::IguaisSemCaixaAscii(palavra, "execute");
}

// The recorded statements on a fresh database, one commit after each order's.
double PisoBanco(const Comandos& comandos, bool escritaForcada) {
    const InstalacaoErpTeste erp;
    DefinirEscritaForcada(erp.Banco().Nome(), escritaForcada);
    const auto inicio = std::chrono::steady_clock::now();
    db::ConexaoErp conexao(erp.Banco().Nome());
    conexao.Abrir();
    for (const auto& grupo : comandos) {
        for (const std::string& comando : grupo) {
            db::Consulta consulta(conexao);
            if (DevolveLinhas(comando)) {
                db::AbrirConsulta(consulta, comando);
            } else {
                db::ExecutarComando(consulta, comando, db::Confirmacao::Nenhuma);
            }
        }
        conexao.Confirmar();
    }
    conexao.Fechar();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count() /
           kPedidos;
}

}  // namespace

int main() {
    ApiSubstituta servidor("{}");
    std::printf("%d pedidos de 3 itens, um cliente novo a cada 10\n", kPedidos);
    std::printf("%-16s %-12s %-10s %-16s %s\n", "escrita forçada", "ida e volta", "s/pedido",
                "conexões/pedido", "piso do banco s/pedido");
    for (const bool escritaForcada : {false, true}) {
        for (const int idaEVoltaMs : {0, 50}) {
            Comandos comandos;
            const Medida medida = MedirExecucao(servidor, escritaForcada, idaEVoltaMs, comandos);
            const double piso = PisoBanco(comandos, escritaForcada);
            std::printf("%-15s %8d ms   %-10.4f %-15.2f %.4f\n", escritaForcada ? "sim" : "não",
                        idaEVoltaMs, medida.segundosPorPedido, medida.conexoesPorPedido, piso);
        }
    }
    return 0;
}
