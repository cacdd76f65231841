// The new-order listing end to end (HTTPS request to the substitute API, answer decoding and
// reading, the ids picked), against the floor of the same request made with plain libcurl and
// the answer parsed with plain simdjson. 10,000 orders of ~1.5 KB: none new, or all new.

#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <simdjson.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "api/cliente_http.h"
#include "api/listagem_pedidos.h"
#include "api_substituta.h"
#include "memoria_contada.h"
#include "piso_simdjson.h"

namespace {

using tessora::testes::ApiSubstituta;

constexpr int kPedidos = 10'000;
constexpr const char* kToken = "token-bench";

enum Caso : int64_t { kNenhumNovo = 0, kTodosNovos = 1 };

// One order as the app sends it: header, customer, two notes and three items.
std::string Pedido(int i, bool registrado) {
    static const char* const kClientes[] = {"Mercearia Santa Luzia Ltda", "Empório Conceição Ltda",
                                            "Açougue Boi Gordo", "Supermercado Irmãos Araújo"};
    static const char* const kProdutos[] = {"Café torrado e moído 500 g", "Feijão carioca 1 kg",
                                            "Açúcar cristal 1 kg", "Óleo de soja 900 ml"};
    const std::string id = "ped-" + std::to_string(100000 + i);
    std::string json = R"({"id":")" + id + R"(","tipo":"Pedido","registrado_erp_em":)";
    json += registrado ? R"("2024-03-15T14:40:00.000Z")" : "null";
    json += R"(,"numero_seq":)" + std::to_string(100000 + i);
    json += R"(,"created_at":"2024-03-15T14:32:05-03:00","cliente_id":"cli-)" +
            std::to_string(2000 + i % 977) + R"(","cliente_cnpj":"44.778.899/0001-43")";
    json += R"(,"cliente_nome":")" + std::string(kClientes[i % 4]) + '"';
    json += R"(,"vendedor_id":"vend-101","vendedor_nome":"João Batista Ribeiro")";
    json += R"(,"tipo_frete":"CIF","dias_validade":10,"valor_produtos":291.25)";
    json += R"(,"valor_ipi":0,"valor_icms":0,"anotacoes":[)";
    json += R"({"texto":"Entregar no período da manhã, das 7h às 11h."},)";
    json += R"({"texto":"Conferir a validade dos lotes na entrega — portão lateral."}],"itens":[)";
    for (int item = 0; item < 3; ++item) {
        if (item) json += ',';
        json += R"({"id_item":")" + id + '-' + std::to_string(item + 1) +
                R"(","produto_id":"prod-)" + std::to_string(500 + (i + item) % 40) +
                R"(","descricao":")" + kProdutos[(i + item) % 4] +
                R"(","quantidade":10,"valor_unitario":24.9)" +
                R"(,"valor_produtos":249.0,"ipi":0,"valor_ipi":0,"valor_icms":0})";
    }
    return json + "]}";
}

std::string Estado(Caso caso) {
    std::string json = std::string(R"({"token":")") + kToken + R"(","pedidos":[)";
    for (int i = 0; i < kPedidos; ++i) {
        if (i) json += ',';
        json += Pedido(i, caso == kNenhumNovo);
    }
    return json + R"(],"clientes":[]})";
}

// One server for the whole run; the state is swapped when a benchmark needs the other case.
ApiSubstituta& Servidor(Caso caso) {
    static ApiSubstituta servidor("{}");
    static int64_t casoAtual = -1;
    if (casoAtual != caso) {
        servidor.DefinirEstado(Estado(caso));
        casoAtual = caso;
    }
    return servidor;
}

// --- the floor: plain libcurl with the client's TLS and headers, then plain simdjson ---

struct LiberarCurl {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct LiberarLista {
    void operator()(curl_slist* lista) const { curl_slist_free_all(lista); }
};

size_t Acumular(char* dados, size_t, size_t tamanho, void* usuario) {
    static_cast<std::string*>(usuario)->append(dados, tamanho);
    return tamanho;
}

// The body with SIMDJSON_PADDING bytes of spare capacity, ready for an in-place parse.
std::string BaixarComCurl(const ApiSubstituta& servidor) {
    const std::unique_ptr<CURL, LiberarCurl> curl(curl_easy_init());
    std::unique_ptr<curl_slist, LiberarLista> cabecalhos(
        curl_slist_append(nullptr, "Accept: application/json"));
    curl_slist_append(cabecalhos.get(), "Content-Type: application/json; charset=utf-8");
    curl_slist_append(cabecalhos.get(), (std::string("Authorization: Bearer ") + kToken).c_str());
    const std::string url = servidor.UrlBase() + "/pedidos";
    const std::string certificado = servidor.ArquivoCertificado();
    std::string corpo;
    CURL* const c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, cabecalhos.get());
    const long tlsMinima = CURL_SSLVERSION_TLSv1_2;
    const long tlsMaxima = CURL_SSLVERSION_MAX_TLSv1_2;
    curl_easy_setopt(c, CURLOPT_SSLVERSION, tlsMinima | tlsMaxima);
    curl_easy_setopt(c, CURLOPT_CAINFO, certificado.c_str());
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &Acumular);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &corpo);
    long status = 0;
    if (curl_easy_perform(c) != CURLE_OK ||
        curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK || status != 200) {
        throw std::runtime_error("a requisição do piso falhou");
    }
    corpo.reserve(corpo.size() + simdjson::SIMDJSON_PADDING);
    return corpo;
}

namespace od = simdjson::ondemand;
using tessora::bench::TocarObjeto;

// --- measuring ---

// Times the step; one more, untimed, run gives the peak heap it needs beyond what was in use.
template <typename Funcao>
void Medir(benchmark::State& estado, Funcao&& passo) {
    tessora::bench::IniciarContagemMemoria();
    const size_t bytesResposta = passo();
    const int64_t picoDeBytes = tessora::bench::EncerrarContagemMemoria();
    for (auto _ : estado) benchmark::DoNotOptimize(passo());
    estado.SetBytesProcessed(static_cast<int64_t>(estado.iterations() * bytesResposta));
    estado.counters["pedidos"] = kPedidos;
    estado.counters["resposta_MB"] = static_cast<double>(bytesResposta) / 1e6;
    estado.counters["pico_heap_MB"] = static_cast<double>(picoDeBytes) / 1e6;
}

void BM_ListarPedidosNovos(benchmark::State& estado) {
    const Caso caso = static_cast<Caso>(estado.range(0));
    ApiSubstituta& servidor = Servidor(caso);
    const size_t bytesResposta = BaixarComCurl(servidor).size();
    tessora::api::ClienteHttp cliente(
        {servidor.UrlBase(), servidor.ArquivoCertificado(), [] { return std::string(kToken); }});
    size_t novos = 0;
    Medir(estado, [&] {
        novos = tessora::api::ListarPedidosNovos(cliente).Valor().size();
        return bytesResposta;
    });
    if (novos != (caso == kTodosNovos ? kPedidos : 0)) estado.SkipWithError("lista errada");
    estado.counters["novos"] = static_cast<double>(novos);
}

void BM_PisoCurlSimdjsonOnDemand(benchmark::State& estado) {
    const ApiSubstituta& servidor = Servidor(static_cast<Caso>(estado.range(0)));
    Medir(estado, [&] {
        const std::string corpo = BaixarComCurl(servidor);
        od::parser parser;
        od::document documento;
        od::object raiz;
        size_t contador = 0;
        if (parser.iterate(corpo.data(), corpo.size(), corpo.capacity()).get(documento) !=
                simdjson::SUCCESS ||
            documento.get_object().get(raiz) != simdjson::SUCCESS || !TocarObjeto(raiz, contador)) {
            estado.SkipWithError("iterate");
        }
        benchmark::DoNotOptimize(contador);
        return corpo.size();
    });
}

void BM_PisoCurlSimdjsonDom(benchmark::State& estado) {
    const ApiSubstituta& servidor = Servidor(static_cast<Caso>(estado.range(0)));
    Medir(estado, [&] {
        const std::string corpo = BaixarComCurl(servidor);
        simdjson::dom::parser parser;
        simdjson::dom::element raiz;
        if (parser.parse(corpo.data(), corpo.size(), false).get(raiz) != simdjson::SUCCESS) {
            estado.SkipWithError("parse");
        }
        benchmark::DoNotOptimize(raiz);
        return corpo.size();
    });
}

// The request alone: the server's and the transfer's share of every figure above.
void BM_SoTransferenciaCurl(benchmark::State& estado) {
    const ApiSubstituta& servidor = Servidor(static_cast<Caso>(estado.range(0)));
    Medir(estado, [&] { return BaixarComCurl(servidor).size(); });
}

// Wall time: most of a request is spent waiting for the server process.
void Casos(benchmark::internal::Benchmark* b) {
    b->ArgName("todos_novos")->Arg(kNenhumNovo)->Arg(kTodosNovos);
    b->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
}

}  // namespace

BENCHMARK(BM_ListarPedidosNovos)->Apply(Casos);
BENCHMARK(BM_PisoCurlSimdjsonOnDemand)->Apply(Casos);
BENCHMARK(BM_PisoCurlSimdjsonDom)->Apply(Casos);
BENCHMARK(BM_SoTransferenciaCurl)->Apply(Casos);

BENCHMARK_MAIN();
