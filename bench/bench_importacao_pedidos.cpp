// One synchronisation run that imports N new orders (three items each, every tenth with a new
// customer) from the substitute API into a fresh embedded database, against the floor of
// replaying the same HTTP requests and SQL statements back to back with no logic in between:
// recorded from a run through the statement trace and the API's request log, replayed with the
// HTTP client and the statement runners on a fresh copy of the database, with the same
// transaction boundaries (the order's reads, then its unit of work, committed before the
// acknowledgement).
//
// Memory: the heap the program's code takes through operator new (the engine and libcurl
// allocate through their own pools and malloc), apart for the listing, whose answer holds every
// order, and for the import loop; and the process's resident peak during the run (VmHWM, reset
// before each run), which includes the engine's page cache.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "api/cliente_http.h"
#include "api_substituta.h"
#include "app/execucao/execucao_sincronizacao.h"
#include "app/execucao/pedidos_via_api.h"
#include "avisos_gravados.h"
#include "comum/texto.h"
#include "db/consulta.h"
#include "estado_pedidos.h"
#include "instalacao_erp_teste.h"
#include "memoria_contada.h"
#include "painel_contado.h"

namespace {

using tessora::bench::Estado;
using tessora::bench::kToken;
using tessora::testes::ApiSubstituta;
using tessora::testes::InstalacaoErpTeste;
namespace app = tessora::app;
namespace db = tessora::db;

// One server for the whole benchmark; each run starts from a fresh state.
ApiSubstituta& Servidor() {
    static ApiSubstituta servidor("{}");
    return servidor;
}

// The statements of a run in order, split at its orders, and its requests, kept in one block of
// text: tens of thousands of small strings would leave the heap cluttered and slow down every
// allocation of the replay, which would then be no floor.
class Gravacao {
  public:
    struct Requisicao {
        bool patch;
        std::string_view caminho;  // below the API root
        std::string_view corpo;
    };

    void ComecarPedido() { pedidos_.push_back(comandos_.size()); }
    void AcrescentarComando(std::string_view comando) { comandos_.push_back(Guardar(comando)); }
    void AcrescentarRequisicao(bool patch, std::string_view caminho, std::string_view corpo) {
        requisicoes_.push_back({patch, Guardar(caminho), Guardar(corpo)});
    }

    size_t QuantidadeComandos() const { return comandos_.size(); }
    size_t QuantidadeRequisicoes() const { return requisicoes_.size(); }
    // The statements before the first order, then those of each order.
    std::vector<std::vector<std::string_view>> ComandosPorPedido() const {
        std::vector<std::vector<std::string_view>> grupos(1 + pedidos_.size());
        size_t grupo = 0;
        for (size_t i = 0; i < comandos_.size(); ++i) {
            while (grupo < pedidos_.size() && pedidos_[grupo] == i) ++grupo;
            grupos[grupo].push_back(Texto(comandos_[i]));
        }
        return grupos;
    }
    Requisicao RequisicaoNumero(size_t i) const {
        const auto& r = requisicoes_.at(i);
        return {r.patch, Texto(r.caminho), Texto(r.corpo)};
    }

  private:
    struct Trecho {
        size_t inicio, tamanho;
    };
    struct RequisicaoGuardada {
        bool patch;
        Trecho caminho, corpo;
    };
    Trecho Guardar(std::string_view texto) {
        texto_.append(texto);
        return {texto_.size() - texto.size(), texto.size()};
    }
    std::string_view Texto(Trecho trecho) const {
        return std::string_view(texto_).substr(trecho.inicio, trecho.tamanho);
    }

    std::string texto_;
    std::vector<Trecho> comandos_;
    std::vector<size_t> pedidos_;  // the first statement of each order
    std::vector<RequisicaoGuardada> requisicoes_;
};

// The program's order loop, with its heap accounted apart for the listing and for the imports
// (the caller ends the latter after the run), and its statements recorded when asked: from the
// listing on, so the one read of the enable flag before it is left out of the floor.
class PedidosMedidos : public app::PedidosAppForcaVenda {
  public:
    explicit PedidosMedidos(Gravacao* gravacao) : gravacao_(gravacao) {}

    tessora::api::ListagemPedidos ListarPedidosNovos(
        app::ContextoSincronizacao& contexto) override {
        if (gravacao_) {
            contexto.conexao.DefinirRastro(
                [this](std::string_view comando) { gravacao_->AcrescentarComando(comando); });
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
        if (gravacao_) gravacao_->ComecarPedido();
        return programa_.ImportarPedido(contexto, id, documento);
    }

    int64_t picoListagem = 0;

  private:
    app::PedidosViaApi programa_;
    Gravacao* gravacao_;
};

// A line of the process's status in kB ("VmRSS:" now, "VmHWM:" the peak since the last reset);
// 0 where the system does not tell.
int64_t StatusKb(std::string_view campo) {
    std::ifstream status("/proc/self/status");
    for (std::string linha; std::getline(status, linha);) {
        if (linha.starts_with(campo)) return std::stoll(linha.substr(campo.size()));
    }
    return 0;
}

// Hands freed heap back first, so that what earlier runs left does not count as this one's.
int64_t ReiniciarPicoResidente() {
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
    return StatusKb("VmRSS:");
}

struct Medida {
    double segundos = 0;
    int64_t picoListagem = 0;    // bytes
    int64_t picoImportacao = 0;  // bytes
    int64_t residenteInicialKb = 0;
    int64_t picoResidenteKb = 0;
    int incluidos = 0;
};

Medida ExecutarImportacao(int quantidade, Gravacao* gravacao) {
    const InstalacaoErpTeste erp;
    ApiSubstituta& servidor = Servidor();
    servidor.DefinirEstado(Estado(quantidade));
    const size_t requisicoesAntes = gravacao ? servidor.Requisicoes().size() : 0;

    tessora::testes::AvisosGravados avisos;
    tessora::bench::PainelContado painel;
    PedidosMedidos pedidos(gravacao);
    db::CaminhosAtualizacao caminhos;
    const app::AmbienteExecucao ambiente{
        erp.Executavel(), {servidor.UrlBase(), servidor.ArquivoCertificado()},
        avisos,           painel,
        pedidos,          caminhos};

    const int64_t residenteInicialKb = ReiniciarPicoResidente();
    const auto inicio = std::chrono::steady_clock::now();
    const app::ResumoExecucao resumo = app::ProcessarAppForcaVenda(ambiente);
    const auto fim = std::chrono::steady_clock::now();
    if (!resumo.Normal()) throw std::runtime_error("a execução não terminou normalmente");
    Medida medida;
    medida.picoImportacao = tessora::bench::EncerrarContagemMemoria();
    medida.segundos = std::chrono::duration<double>(fim - inicio).count();
    medida.picoListagem = pedidos.picoListagem;
    medida.residenteInicialKb = residenteInicialKb;
    medida.picoResidenteKb = StatusKb("VmHWM:");
    medida.incluidos = painel.incluidos;

    if (gravacao) {
        const auto requisicoes = servidor.Requisicoes();
        const std::string raiz = "/api";
        for (size_t i = requisicoesAntes; i < requisicoes.size(); ++i) {
            const auto& requisicao = requisicoes[i];
            gravacao->AcrescentarRequisicao(requisicao.metodo == "PATCH",
                                            requisicao.caminho.substr(raiz.size()),
                                            requisicao.corpo);
        }
    }
    return medida;
}

bool LeToken(std::string_view comando) {
    return comando.find("DS_TOKEN_APP_FORCA_VENDA") != std::string_view::npos;
}

bool DevolveLinhas(std::string_view comando) {
    while (!comando.empty() && comando.front() == ' ') comando.remove_prefix(1);
    const std::string_view palavra = comando.substr(0, comando.find(' '));
    return tessora::IguaisSemCaixaAscii(palavra, "select") ||
           tessora::IguaisSemCaixaAscii(palavra, "execute");
}

struct TempoPiso {
    double total = 0;
    double requisicoes = 0;  // of which waiting for the API
};

// The floor: the recorded statements and requests, back to back.
TempoPiso Reproduzir(const Gravacao& gravacao, int quantidade) {
    const InstalacaoErpTeste erp;
    ApiSubstituta& servidor = Servidor();
    servidor.DefinirEstado(Estado(quantidade));
    tessora::api::ClienteHttp cliente(
        {servidor.UrlBase(), servidor.ArquivoCertificado(), [] { return std::string(kToken); }});
    const auto comandos = gravacao.ComandosPorPedido();
    malloc_trim(0);

    TempoPiso tempo;
    const auto inicio = std::chrono::steady_clock::now();
    db::ConexaoErp conexao(erp.Banco().Nome());
    conexao.Abrir();
    size_t proxima = 0;
    const auto requisitar = [&] {
        const auto antes = std::chrono::steady_clock::now();
        const Gravacao::Requisicao requisicao = gravacao.RequisicaoNumero(proxima++);
        if (requisicao.patch) {
            benchmark::DoNotOptimize(cliente.Patch(requisicao.caminho, requisicao.corpo));
        } else {
            benchmark::DoNotOptimize(cliente.Get(requisicao.caminho));
        }
        tempo.requisicoes +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - antes).count();
    };
    const auto executar = [&](std::string_view comando) {
        db::Consulta consulta(conexao);
        if (DevolveLinhas(comando)) {
            db::AbrirConsulta(consulta, comando);
        } else {
            db::ExecutarComando(consulta, comando, db::Confirmacao::Nenhuma);
        }
    };

    for (const std::string_view comando : comandos.front()) {
        executar(comando);
        if (LeToken(comando)) requisitar();
    }
    for (size_t k = 1; k < comandos.size(); ++k) {
        int tokens = 0;
        for (const std::string_view comando : comandos[k]) tokens += LeToken(comando);
        int requisicoes = 0;
        for (const std::string_view comando : comandos[k]) {
            const bool token = LeToken(comando);
            // The order's unit of work is committed before its acknowledgement...
            if (token && requisicoes == tokens - 1 && tokens > 1) conexao.Confirmar();
            executar(comando);
            if (!token) continue;
            requisitar();
            // ...and starts afresh once the order has been fetched.
            if (++requisicoes == 1) conexao.Confirmar();
        }
    }
    conexao.Fechar();
    const auto fim = std::chrono::steady_clock::now();
    if (proxima != gravacao.QuantidadeRequisicoes())
        throw std::runtime_error("requisições não reproduzidas");
    tempo.total = std::chrono::duration<double>(fim - inicio).count();
    return tempo;
}

// The best time of each benchmark per order count, for the summary.
std::map<int, double> melhorExecucao, melhorPiso;

void Registrar(std::map<int, double>& melhores, int quantidade, double segundos) {
    const auto it = melhores.find(quantidade);
    if (it == melhores.end() || segundos < it->second) melhores[quantidade] = segundos;
}

void BM_ImportarPedidos(benchmark::State& estado) {
    const int quantidade = static_cast<int>(estado.range(0));
    Medida medida;
    for (auto _ : estado) {
        medida = ExecutarImportacao(quantidade, nullptr);
        estado.SetIterationTime(medida.segundos);
        Registrar(melhorExecucao, quantidade, medida.segundos);
    }
    if (medida.incluidos != quantidade)
        estado.SkipWithError("nem todos os pedidos foram incluídos");
    estado.counters["pedidos_por_s"] = benchmark::Counter(
        static_cast<double>(quantidade), benchmark::Counter::kIsIterationInvariantRate);
    estado.counters["heap_listagem_MB"] = static_cast<double>(medida.picoListagem) / 1e6;
    estado.counters["heap_importacao_KB"] = static_cast<double>(medida.picoImportacao) / 1e3;
    estado.counters["residente_inicio_MB"] = static_cast<double>(medida.residenteInicialKb) / 1e3;
    estado.counters["residente_pico_MB"] = static_cast<double>(medida.picoResidenteKb) / 1e3;
}

void BM_PisoReproducao(benchmark::State& estado) {
    const int quantidade = static_cast<int>(estado.range(0));
    Gravacao gravacao;
    ExecutarImportacao(quantidade, &gravacao);
    TempoPiso tempo;
    for (auto _ : estado) {
        tempo = Reproduzir(gravacao, quantidade);
        estado.SetIterationTime(tempo.total);
        Registrar(melhorPiso, quantidade, tempo.total);
    }
    estado.counters["pedidos_por_s"] = benchmark::Counter(
        static_cast<double>(quantidade), benchmark::Counter::kIsIterationInvariantRate);
    estado.counters["parte_api"] = tempo.requisicoes / tempo.total;
    estado.counters["comandos"] = static_cast<double>(gravacao.QuantidadeComandos());
    estado.counters["requisicoes"] = static_cast<double>(gravacao.QuantidadeRequisicoes());
}

}  // namespace

int main(int argc, char** argv) {
    // The run and its floor side by side for each order count, so that a change in the machine's
    // load between them weighs as little as possible.
    for (const int quantidade : {250, 500, 1000}) {
        for (const auto& [nome, funcao] : {std::pair{"BM_ImportarPedidos", &BM_ImportarPedidos},
                                           std::pair{"BM_PisoReproducao", &BM_PisoReproducao}}) {
            benchmark::RegisterBenchmark(nome, funcao)
                ->ArgName("pedidos")
                ->Arg(quantidade)
                ->UseManualTime()
                ->Iterations(3)
                ->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // The run against its floor, best time of each.
    for (const auto& [quantidade, execucao] : melhorExecucao) {
        const auto piso = melhorPiso.find(quantidade);
        if (piso == melhorPiso.end()) continue;
        std::cout << quantidade << " pedidos: execução " << execucao << " s, piso " << piso->second
                  << " s, razão " << execucao / piso->second << '\n';
    }
    return 0;
}
