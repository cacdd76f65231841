// One synchronisation run of 100 new orders (three items each, every tenth with a new customer)
// through a latency relay in front of the substitute API, at 0 and 50 ms round trip, with the
// database's forced writes off and on: seconds per order and TCP connections per order, counted
// at the relay. Beside them the database's own floor: the run's statements replayed back to
// back, committed order by order as the run commits them, without the API. Then the heap that
// the program's code takes through operator new in a run of 50 and of 200 orders: the listing,
// whose answer holds every order, apart from the import loop, which should not grow with them.
// Last, the import loop's heap in a run of a few orders of some megabytes each, which shows the
// bound on what fetching ahead holds.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "api_substituta.h"
#include "app/execucao/execucao_sincronizacao.h"
#include "app/execucao/pedidos_via_api.h"
#include "avisos_gravados.h"
#include "comum/texto.h"
#include "db/consulta.h"
#include "db/firebird_interno.h"
#include "estado_pedidos.h"
#include "instalacao_erp_teste.h"
#include "memoria_contada.h"
#include "painel_contado.h"
#include "rele_latencia.h"

namespace {

namespace app = tessora::app;
namespace db = tessora::db;
using tessora::testes::ApiSubstituta;
using tessora::testes::InstalacaoErpTeste;

constexpr int kPedidos = 100;
constexpr int kPedidosMemoria[] = {50, 200};
constexpr int kPedidosGrandes = 8;
constexpr size_t kBytesPedidoGrande = 12u * 1024 * 1024;

// Forced writes are a property of the database file, set by an attachment that asks for it.
void DefinirEscritaForcada(const std::string& banco, bool ligada) {
    namespace interno = db::interno;
    interno::BlocoParametros dpb = interno::DpbCredenciais();
    dpb.Inteiro(isc_dpb_force_write, ligada ? 1 : 0);
    db::AlcaFirebird anexo = interno::Anexar(banco, dpb);
    interno::Chamar(interno::Cliente().isc_detach_database, &anexo);
}

// The run's statements, the ones before the first order and then each order's.
using Comandos = std::vector<std::vector<std::string>>;

// The program's order loop, its statements recorded from the listing on when asked, or its
// heap counted apart for the listing and for the import loop (the caller ends the latter after
// the run). Never both: the recording would count as the run's heap.
class PedidosMedidos : public app::PedidosAppForcaVenda {
  public:
    explicit PedidosMedidos(Comandos* comandos) : comandos_(comandos) {}

    tessora::api::ListagemPedidos ListarPedidosNovos(
        app::ContextoSincronizacao& contexto) override {
        if (comandos_) {
            comandos_->assign(1, {});
            contexto.conexao.DefinirRastro(
                [this](std::string_view comando) { comandos_->back().emplace_back(comando); });
            return programa_.ListarPedidosNovos(contexto);
        }
        tessora::bench::IniciarContagemMemoria();
        tessora::api::ListagemPedidos lista = programa_.ListarPedidosNovos(contexto);
        picoListagem = tessora::bench::EncerrarContagemMemoria();
        tessora::bench::IniciarContagemMemoria();
        return lista;
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
        if (comandos_) comandos_->emplace_back();
        return programa_.ImportarPedido(contexto, id, documento);
    }

    int64_t picoListagem = 0;  // bytes

  private:
    app::PedidosViaApi programa_;
    Comandos* comandos_;
};

struct Medida {
    double segundosPorPedido;
    double conexoesPorPedido;
    int64_t picoListagem;    // bytes; only without a recording
    int64_t picoImportacao;  // bytes; only without a recording
};

// A run of `quantidade` orders, each `enchimento` bytes larger than usual; with `comandos`, its
// statements are recorded there, without, its heap is counted.
Medida MedirExecucao(ApiSubstituta& servidor, int quantidade, bool escritaForcada, int idaEVoltaMs,
                     Comandos* comandos, size_t enchimento = 0) {
    const InstalacaoErpTeste erp;
    DefinirEscritaForcada(erp.Banco().Nome(), escritaForcada);
    servidor.DefinirEstado(tessora::bench::Estado(quantidade, enchimento));
    const tessora::rele::ReleLatencia rele(servidor.Porta(),
                                           std::chrono::microseconds(idaEVoltaMs * 500));

    tessora::testes::AvisosGravados avisos;
    tessora::bench::PainelContado painel;
    PedidosMedidos pedidos(comandos);
    db::CaminhosAtualizacao caminhos;
    const std::string url = "https://127.0.0.1:" + std::to_string(rele.Porta()) + "/api";
    const app::AmbienteExecucao ambiente{
        erp.Executavel(), {url, servidor.ArquivoCertificado()}, avisos, painel, pedidos, caminhos};

    const auto inicio = std::chrono::steady_clock::now();
    const app::ResumoExecucao resumo = app::ProcessarAppForcaVenda(ambiente);
    const double segundos =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
    const int64_t picoImportacao = comandos ? 0 : tessora::bench::EncerrarContagemMemoria();
    if (!resumo.Normal() || painel.incluidos != quantidade)
        throw std::runtime_error("a execução não incluiu todos os pedidos");
    return {segundos / quantidade, static_cast<double>(rele.Conexoes()) / quantidade,
            pedidos.picoListagem, picoImportacao};
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
            const Medida medida =
                MedirExecucao(servidor, kPedidos, escritaForcada, idaEVoltaMs, &comandos);
            const double piso = PisoBanco(comandos, escritaForcada);
            std::printf("%-15s %8d ms   %-10.4f %-15.2f %.4f\n", escritaForcada ? "sim" : "não",
                        idaEVoltaMs, medida.segundosPorPedido, medida.conexoesPorPedido, piso);
        }
    }

    std::printf("\nheap de uma execução (operator new), 0 ms, escrita forçada não\n");
    std::printf("%-8s %-14s %s\n", "pedidos", "listagem KB", "importação KB");
    int64_t importacao[std::size(kPedidosMemoria)];
    for (size_t i = 0; i < std::size(kPedidosMemoria); ++i) {
        const Medida medida = MedirExecucao(servidor, kPedidosMemoria[i], false, 0, nullptr);
        importacao[i] = medida.picoImportacao;
        std::printf("%-8d %-14.1f %.1f\n", kPedidosMemoria[i],
                    static_cast<double>(medida.picoListagem) / 1e3,
                    static_cast<double>(medida.picoImportacao) / 1e3);
    }
    std::printf("importação: %+.0f bytes por pedido a mais\n",
                static_cast<double>(importacao[1] - importacao[0]) /
                    (kPedidosMemoria[1] - kPedidosMemoria[0]));

    const Medida grandes =
        MedirExecucao(servidor, kPedidosGrandes, false, 0, nullptr, kBytesPedidoGrande);
    std::printf("\n%d pedidos de %.0f MB: pico da importação %.1f MB\n", kPedidosGrandes,
                static_cast<double>(kBytesPedidoGrande) / (1024 * 1024),
                static_cast<double>(grandes.picoImportacao) / (1024 * 1024));
    return 0;
}
