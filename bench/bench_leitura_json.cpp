// Reading a large order listing: LerRespostaJson against a plain simdjson parse of the same
// bytes, in time and in peak heap.

#include <benchmark/benchmark.h>
#include <simdjson.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "api/json_leitura.h"
#include "api/texto_resposta.h"
#include "memoria_contada.h"
#include "piso_simdjson.h"

namespace {

// A listing answer as the HTTP layer hands it over (UTF-8), ~200 bytes per order.
std::string ListagemDePedidos(int64_t quantidade) {
    static const char* const kClientes[] = {"Padaria São João Ltda", "Mercearia Conceição",
                                            "Açougue Boi Gordo", "Supermercado Irmãos Araújo"};
    static const char* const kCidades[] = {"São Paulo", "Maringá", "Florianópolis", "Goiânia"};
    std::string json = R"({"success":true,"data":[)";
    json.reserve(static_cast<size_t>(quantidade) * 240);
    for (int64_t i = 0; i < quantidade; ++i) {
        if (i) json += ',';
        const auto n = static_cast<size_t>(i);
        json += R"({"id":)" + std::to_string(100000 + i);
        json +=
            R"(,"tipo":"Pedido","registrado_erp_em":null,"criado_em":"2024-03-15T10:20:30.000Z")";
        json += R"(,"cliente_id":)" + std::to_string(5000 + i % 977);
        json += R"(,"cliente_nome":")" + std::string(kClientes[n % 4]) + '"';
        json += R"(,"cidade":")" + std::string(kCidades[n % 4]) + '"';
        json +=
            R"(,"valor_produtos":)" + std::to_string(i % 9000) + "." + std::to_string(10 + i % 90);
        json += R"(,"itens":)" + std::to_string(1 + i % 12);
        json += R"(,"observacao":"Entregar após às 14h — portão lateral"})";
    }
    json += "]}";
    return json;
}

const std::string& Listagem(int64_t quantidade) {
    static int64_t guardada = -1;
    static std::string texto;
    if (guardada != quantidade) {
        texto.clear();
        texto.shrink_to_fit();
        texto = ListagemDePedidos(quantidade);
        guardada = quantidade;
    }
    return texto;
}

// Times the call; one more, untimed, call gives the peak heap it needs beyond what was in use.
template <typename Funcao>
void Medir(benchmark::State& estado, size_t bytesDeEntrada, Funcao&& funcao) {
    tessora::bench::IniciarContagemMemoria();
    funcao();
    const int64_t picoDeBytes = tessora::bench::EncerrarContagemMemoria();
    for (auto _ : estado) funcao();
    estado.SetBytesProcessed(static_cast<int64_t>(estado.iterations() * bytesDeEntrada));
    estado.counters["pedidos"] = static_cast<double>(estado.range(0));
    estado.counters["entrada_MB"] = static_cast<double>(bytesDeEntrada) / 1e6;
    estado.counters["pico_heap_MB"] = static_cast<double>(picoDeBytes) / 1e6;
}

void BM_LerRespostaJson(benchmark::State& estado) {
    const std::string& texto = Listagem(estado.range(0));
    Medir(estado, texto.size(), [&] {
        auto objeto = tessora::LerRespostaJson(texto);
        benchmark::DoNotOptimize(objeto);
    });
}

void BM_PassosDeCodigoDePagina(benchmark::State& estado) {
    const std::string& texto = Listagem(estado.range(0));
    Medir(estado, texto.size(), [&] {
        auto ascii = tessora::TextoRespostaParaAscii(texto);
        benchmark::DoNotOptimize(ascii);
    });
}

void BM_SimdjsonDom(benchmark::State& estado) {
    const std::string& texto = Listagem(estado.range(0));
    Medir(estado, texto.size(), [&] {
        const simdjson::padded_string preenchido(texto);
        simdjson::dom::parser parser;
        simdjson::dom::element raiz;
        if (parser.parse(preenchido).get(raiz) != simdjson::SUCCESS) estado.SkipWithError("parse");
        benchmark::DoNotOptimize(raiz);
    });
}

namespace od = simdjson::ondemand;
using tessora::bench::TocarObjeto;

void BM_SimdjsonOnDemandTocandoTudo(benchmark::State& estado) {
    const std::string& texto = Listagem(estado.range(0));
    Medir(estado, texto.size(), [&] {
        const simdjson::padded_string preenchido(texto);
        od::parser parser;
        od::document documento;
        od::object raiz;
        size_t contador = 0;
        if (parser.iterate(preenchido).get(documento) != simdjson::SUCCESS ||
            documento.get_object().get(raiz) != simdjson::SUCCESS || !TocarObjeto(raiz, contador)) {
            estado.SkipWithError("iterate");
        }
        benchmark::DoNotOptimize(contador);
    });
}

void Tamanhos(benchmark::internal::Benchmark* b) {
    b->Arg(10'000)->Arg(100'000)->Arg(200'000)->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_LerRespostaJson)->Apply(Tamanhos);
BENCHMARK(BM_PassosDeCodigoDePagina)->Apply(Tamanhos);
BENCHMARK(BM_SimdjsonDom)->Apply(Tamanhos);
BENCHMARK(BM_SimdjsonOnDemandTocandoTudo)->Apply(Tamanhos);

BENCHMARK_MAIN();
