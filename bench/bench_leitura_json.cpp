// Reading a large order listing: LerRespostaJson against a plain simdjson parse of the same
// bytes, in time and in peak heap.

#include "api/json_leitura.h"
#include "api/texto_resposta.h"

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <simdjson.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>

// Heap accounting for the whole binary, shared libraries included; on only while `contando`,
// so that the timed runs pay nothing for it.
namespace {

bool contando = false;
int64_t bytesEmUso = 0;
int64_t picoDeBytes = 0;

void* Alocar(size_t tamanho, bool lancar) {
    void* p = std::malloc(tamanho == 0 ? 1 : tamanho);
    if (!p) {
        if (lancar) throw std::bad_alloc();
        return nullptr;
    }
    if (contando) {
        bytesEmUso += static_cast<int64_t>(malloc_usable_size(p));
        picoDeBytes = std::max(picoDeBytes, bytesEmUso);
    }
    return p;
}

void Liberar(void* p) {
    if (!p) return;
    if (contando) bytesEmUso -= static_cast<int64_t>(malloc_usable_size(p));
    std::free(p);
}

}  // namespace

void* operator new(size_t n) { return Alocar(n, true); }
void* operator new[](size_t n) { return Alocar(n, true); }
void* operator new(size_t n, const std::nothrow_t&) noexcept { return Alocar(n, false); }
void* operator new[](size_t n, const std::nothrow_t&) noexcept { return Alocar(n, false); }
void operator delete(void* p) noexcept { Liberar(p); }
void operator delete[](void* p) noexcept { Liberar(p); }
void operator delete(void* p, size_t) noexcept { Liberar(p); }
void operator delete[](void* p, size_t) noexcept { Liberar(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Liberar(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Liberar(p); }

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
    bytesEmUso = picoDeBytes = 0;
    contando = true;
    funcao();
    contando = false;
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

bool Tocar(od::value valor, size_t& contador);

bool TocarObjeto(od::object objeto, size_t& contador) {
    for (auto resultado : objeto) {
        od::field campo;
        if (std::move(resultado).get(campo) != simdjson::SUCCESS) return false;
        std::string_view nome;
        if (campo.unescaped_key().get(nome) != simdjson::SUCCESS) return false;
        contador += nome.size();
        if (!Tocar(campo.value(), contador)) return false;
    }
    return true;
}

bool Tocar(od::value valor, size_t& contador) {
    od::json_type tipo;
    if (valor.type().get(tipo) != simdjson::SUCCESS) return false;
    switch (tipo) {
        case od::json_type::object: {
            od::object objeto;
            return valor.get_object().get(objeto) == simdjson::SUCCESS &&
                   TocarObjeto(objeto, contador);
        }
        case od::json_type::array: {
            od::array lista;
            if (valor.get_array().get(lista) != simdjson::SUCCESS) return false;
            for (auto item : lista) {
                od::value v;
                if (std::move(item).get(v) != simdjson::SUCCESS || !Tocar(v, contador))
                    return false;
            }
            return true;
        }
        case od::json_type::string: {
            std::string_view texto;
            if (valor.get_string().get(texto) != simdjson::SUCCESS) return false;
            contador += texto.size();
            return true;
        }
        case od::json_type::number: {
            double numero;
            if (valor.get_double().get(numero) != simdjson::SUCCESS) return false;
            contador += numero > 0;
            return true;
        }
        case od::json_type::boolean: {
            bool booleano;
            return valor.get_bool().get(booleano) == simdjson::SUCCESS;
        }
        case od::json_type::null:
            return valor.is_null();
    }
    return false;
}

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
