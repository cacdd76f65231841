#include "api/cliente_http.h"

#include "api_substituta.h"

#ifdef _WIN32
#include <winsock2.h>

#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <regex>
#include <set>
#include <string_view>

namespace tessora::api {
namespace {

using namespace std::chrono_literals;
using testes::ApiSubstituta;
using testes::OpcoesApiSubstituta;
using testes::RegraApiSubstituta;
using ::testing::HasSubstr;
using ::testing::Optional;

constexpr std::string_view kPedido =
    R"({"id": 17, "tipo": "Pedido", "registrado_erp_em": null, "valor": 12.50})";

std::string Estado(std::string_view token) {
    return R"({"token": ")" + std::string(token) + R"(", "pedidos": [)" + std::string(kPedido) +
           R"(], "clientes": []})";
}

ConfiguracaoApi ConfiguracaoPara(const ApiSubstituta& api, std::string token = "segredo") {
    return {api.UrlBase(), api.ArquivoCertificado(), [token] { return token; }, 60000ms};
}

// A loopback socket that owns a port; while it exists nothing else takes that port.
class SocketLocal {
  public:
    SocketLocal() : descritor_(Abrir()) {
        sockaddr_in endereco{};
        endereco.sin_family = AF_INET;
        endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t tamanho = sizeof endereco;
        if (bind(descritor_, reinterpret_cast<sockaddr*>(&endereco), sizeof endereco) != 0 ||
            getsockname(descritor_, reinterpret_cast<sockaddr*>(&endereco), &tamanho) != 0) {
            throw std::runtime_error("não reservou uma porta local");
        }
        porta_ = ntohs(endereco.sin_port);
    }
    ~SocketLocal() {
#ifdef _WIN32
        closesocket(descritor_);
        WSACleanup();
#else
        close(descritor_);
#endif
    }
    SocketLocal(const SocketLocal&) = delete;
    SocketLocal& operator=(const SocketLocal&) = delete;

    // The kernel completes TCP handshakes for it, but nobody ever reads or answers.
    void EscutarSemAtender() { listen(descritor_, 4); }
    std::string UrlBase() const { return "https://127.0.0.1:" + std::to_string(porta_) + "/api"; }

  private:
    using Descritor = decltype(socket(AF_INET, SOCK_STREAM, 0));
    static Descritor Abrir() {
#ifdef _WIN32
        WSADATA dados;
        WSAStartup(MAKEWORD(2, 2), &dados);
#endif
        return socket(AF_INET, SOCK_STREAM, 0);
    }

    Descritor descritor_;
    int porta_ = 0;
};

class ClienteHttpTest : public ::testing::Test {
  protected:
    ApiSubstituta api_{Estado("segredo")};
};

TEST_F(ClienteHttpTest, GetEnviaSoOsCabecalhosDaApiComTokenLidoACadaRequisicao) {
    ConfiguracaoApi configuracao = ConfiguracaoPara(api_);
    int leituras = 0;
    configuracao.obterToken = [&leituras] {
        return ++leituras == 1 ? "segredo" : "trocado no ERP";
    };
    ClienteHttp cliente(configuracao);

    EXPECT_EQ(cliente.Get("/pedidos"), R"({"success":true,"data":[)" + std::string(kPedido) + "]}");
    EXPECT_THROW(cliente.Get("/pedidos"), ErroHttp);  // the new token is not the API's

    const auto requisicoes = api_.Requisicoes();
    ASSERT_EQ(requisicoes.size(), 2u);
    const auto& primeira = requisicoes[0];
    EXPECT_EQ(primeira.metodo, "GET");
    EXPECT_EQ(primeira.caminho, "/api/pedidos");
    EXPECT_EQ(primeira.corpo, "");
    EXPECT_EQ(primeira.versaoTls, "TLSv1.2");
    EXPECT_THAT(primeira.Cabecalho("Accept"), Optional(std::string("application/json")));
    EXPECT_THAT(primeira.Cabecalho("Content-Type"),
                Optional(std::string("application/json; charset=utf-8")));
    EXPECT_THAT(primeira.Cabecalho("Authorization"), Optional(std::string("Bearer segredo")));
    // No user agent, compression, basic authentication or anything else of the library's own.
    std::set<std::string> nomes;
    for (const auto& [nome, valor] : primeira.cabecalhos) nomes.insert(nome);
    EXPECT_EQ(nomes, (std::set<std::string>{"Accept", "Authorization", "Content-Type", "Host"}));
    EXPECT_THAT(requisicoes[1].Cabecalho("Authorization"),
                Optional(std::string("Bearer trocado no ERP")));
}

TEST_F(ClienteHttpTest, TokenVazioAindaEnviaAutorizacaoBearer) {
    api_.DefinirEstado(Estado(""));
    ClienteHttp cliente(ConfiguracaoPara(api_, ""));

    EXPECT_NO_THROW(cliente.Get("/pedidos"));
    // The blank after "Bearer" ends the field value, which HTTP trims.
    EXPECT_THAT(api_.Requisicoes().at(0).Cabecalho("Authorization"),
                Optional(std::string("Bearer")));
}

TEST_F(ClienteHttpTest, TokenComQuebraDeLinhaNaoViraOutroCabecalho) {
    ClienteHttp cliente(ConfiguracaoPara(api_, "segredo\r\nX-Injetado: 1"));

    EXPECT_THROW(cliente.Get("/pedidos"), ErroTransporte);
    EXPECT_TRUE(api_.Requisicoes().empty());
}

TEST_F(ClienteHttpTest, PatchEnviaOCorpoComoDadoERegistraOPedido) {
    ClienteHttp cliente(ConfiguracaoPara(api_));
    const std::string corpo = "{\"nota\":\"a\xC3\xA7\xC3\xA3o\"}";

    EXPECT_EQ(cliente.Patch("/pedidos/17/erp-registro", corpo),
              R"({"success":true,"message":"Pedido registrado no ERP"})");

    const auto requisicoes = api_.Requisicoes();
    ASSERT_EQ(requisicoes.size(), 1u);
    EXPECT_EQ(requisicoes[0].metodo, "PATCH");
    EXPECT_EQ(requisicoes[0].caminho, "/api/pedidos/17/erp-registro");
    EXPECT_EQ(requisicoes[0].corpo, corpo);
    EXPECT_THAT(requisicoes[0].Cabecalho("Content-Type"),
                Optional(std::string("application/json; charset=utf-8")));
    // The API keeps the rest of the order as written and dates the registration.
    const std::string estado = api_.LerEstado();
    EXPECT_TRUE(
        std::regex_search(estado, std::regex(R"("registrado_erp_em": "\d{4}-\d\d-\d\dT\d\d:\d\d)")))
        << estado;
    EXPECT_THAT(estado, HasSubstr(R"("valor": 12.50})"));
}

TEST(ClienteHttpErroTest, StatusForaDe2xxViraErroHttpComLinhaDeStatusECorpo) {
    struct Caso {
        std::string descricao;
        std::function<void(ApiSubstituta&)> preparar;
        std::string token;
        int status;
        std::string linhaStatus;
        std::string textoErro;
    };
    const std::vector<Caso> casos = {
        {"pedido desconhecido", [](ApiSubstituta&) {}, "segredo", 404, "HTTP/1.1 404 Not Found",
         R"({"success":false,"message":"Pedido não encontrado"})"},
        {"token recusado", [](ApiSubstituta&) {}, "outro", 401, "HTTP/1.1 401 Unauthorized",
         R"({"success":false,"message":"Token inválido"})"},
        {"redirecionamento não seguido",
         [](ApiSubstituta& api) {
             api.DefinirRegra({.caminho = "/api/pedidos/99",
                               .status = 301,
                               .tipoConteudo = "text/html",
                               .corpo = "movido",
                               .cabecalhos = {{"Location", api.UrlBase() + "/pedidos/17"}}});
         },
         "segredo", 301, "HTTP/1.1 301 Moved Permanently", "movido"},
        {"corpo do erro decodificado pelo charset",
         [](ApiSubstituta& api) {
             api.DefinirRegra({.caminho = "/api/pedidos/99",
                               .status = 500,
                               .tipoConteudo = "text/plain; charset=iso-8859-1",
                               .corpo = "falha na conex\xE3o"});
         },
         "segredo", 500, "HTTP/1.1 500 Internal Server Error", "falha na conexão"},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.descricao);
        ApiSubstituta api(Estado("segredo"));
        caso.preparar(api);
        ClienteHttp cliente(ConfiguracaoPara(api, caso.token));
        try {
            cliente.Get("/pedidos/99");
            ADD_FAILURE() << "sem erro";
        } catch (const ErroHttp& erro) {
            EXPECT_EQ(erro.Status(), caso.status);
            EXPECT_STREQ(erro.what(), caso.linhaStatus.c_str());
            EXPECT_EQ(erro.TextoErro(), caso.textoErro);
        }
        EXPECT_EQ(api.Requisicoes().size(), 1u);
    }
}

// Wine's Schannel leaves the check against the system's store to Windows itself.
bool SobWine() {
#ifdef _WIN32
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
#else
    return false;
#endif
}

TEST(ClienteHttpTlsTest, RecusaServidorQueNaoProvaSerOEsperadoOuNaoFalaTls12) {
    struct Caso {
        std::string descricao;
        OpcoesApiSubstituta opcoes;
        // The certificate file the client trusts, given the server and an unrelated one.
        std::function<std::string(const ApiSubstituta&, const ApiSubstituta&)> confiavel;
    };
    std::vector<Caso> casos = {
        {"certificado de outro servidor",
         {},
         [](const ApiSubstituta&, const ApiSubstituta& outro) {
             return outro.ArquivoCertificado();
         }},
        {"certificado emitido para outro nome",
         {.nomesCertificado = "DNS:outro.exemplo"},
         [](const ApiSubstituta& api, const ApiSubstituta&) { return api.ArquivoCertificado(); }},
        {"servidor só com TLS 1.3",
         {.versaoTls = "1.3"},
         [](const ApiSubstituta& api, const ApiSubstituta&) { return api.ArquivoCertificado(); }},
    };
    if (!SobWine()) {
        casos.push_back({"autoassinado fora do repositório do sistema",
                         {},
                         [](const ApiSubstituta&, const ApiSubstituta&) { return std::string(); }});
    }
    const ApiSubstituta outro(Estado("segredo"));
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.descricao);
        const ApiSubstituta api(Estado("segredo"), caso.opcoes);
        ConfiguracaoApi configuracao = ConfiguracaoPara(api);
        configuracao.arquivoCertificados = caso.confiavel(api, outro);

        EXPECT_THROW(ClienteHttp(configuracao).Get("/pedidos"), ErroTransporte);
        EXPECT_TRUE(api.Requisicoes().empty());
    }
}

TEST_F(ClienteHttpTest, FalhaSemRespostaViraErroTransporteComMensagem) {
    const SocketLocal portaFechada;
    api_.DefinirRegra({.caminho = "/api/pedidos", .derrubarConexao = true});
    for (const std::string& urlBase : {portaFechada.UrlBase(), api_.UrlBase()}) {
        SCOPED_TRACE(urlBase);
        ConfiguracaoApi configuracao = ConfiguracaoPara(api_);
        configuracao.urlBase = urlBase;
        try {
            ClienteHttp(configuracao).Get("/pedidos");
            ADD_FAILURE() << "sem erro";
        } catch (const ErroTransporte& erro) {
            EXPECT_STRNE(erro.what(), "");
        }
    }
    EXPECT_EQ(api_.Requisicoes().size(), 1u);
}

TEST_F(ClienteHttpTest, LimiteDeLeituraContaDesdeOUltimoDadoRecebido) {
    SocketLocal semTls;
    semTls.EscutarSemAtender();
    api_.DefinirRegra({.caminho = "/api/pedidos/17", .atraso = 5000ms});
    api_.DefinirRegra({.caminho = "/api/pedidos/18", .corpo = "{}", .atraso = 300ms});
    struct Caso {
        std::string descricao;
        std::string url;
        bool responde;
    };
    const std::vector<Caso> casos = {
        {"resposta atrasada além do limite", api_.UrlBase() + "/pedidos/17", false},
        {"servidor que nunca conclui o TLS", semTls.UrlBase() + "/pedidos", false},
        {"resposta lenta dentro do limite", api_.UrlBase() + "/pedidos/18", true},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.descricao);
        ConfiguracaoApi configuracao = ConfiguracaoPara(api_);
        configuracao.urlBase = caso.url;
        configuracao.limiteLeitura = 1000ms;
        ClienteHttp cliente(configuracao);
        const auto inicio = std::chrono::steady_clock::now();
        if (caso.responde) {
            EXPECT_EQ(cliente.Get(""), "{}");
        } else {
            EXPECT_THROW(cliente.Get(""), ErroTransporte);
            const auto decorrido = std::chrono::steady_clock::now() - inicio;
            EXPECT_GE(decorrido, 1000ms);
            EXPECT_LT(decorrido, 3500ms);
        }
    }
}

TEST_F(ClienteHttpTest, RespostaSemFimOuGrandeDemaisViraErroTransporte) {
    // A byte every 100 ms keeps the read limit from ever running out.
    api_.DefinirRegra({.caminho = "/api/pedidos/gotejada",
                       .corpo = std::string(40, ' ') + "{}",
                       .gotejamento = 100ms});
    api_.DefinirRegra({.caminho = "/api/pedidos/curta", .corpo = "{}", .gotejamento = 100ms});
    const std::string grande = "[" + std::string(2046, ' ') + "]";
    api_.DefinirRegra({.caminho = "/api/pedidos/grande", .corpo = grande});
    // 1500 bytes that decode to twice as many.
    api_.DefinirRegra({.caminho = "/api/pedidos/latina",
                       .tipoConteudo = "application/json; charset=iso-8859-1",
                       .corpo = std::string(1500, '\xE3')});
    using enum LimiteResposta;
    struct Caso {
        std::string caminho;
        LimiteResposta limite;  // set to `tamanhoMaximo`; the other one refuses every answer
        size_t tamanhoMaximo;
        std::optional<std::string> erro;  // nothing: answered
    };
    const std::vector<Caso> casos = {
        {"/pedidos/gotejada", Documento, 2048, "Tempo limite da requisição esgotado: 1500 ms"},
        {"/pedidos/curta", Documento, 2048, std::nullopt},
        {"/pedidos/grande", Documento, 2047, "Resposta da API maior que o limite de 2047 bytes"},
        {"/pedidos/grande", Documento, 2048, std::nullopt},
        {"/pedidos/grande", Listagem, 2047, "Resposta da API maior que o limite de 2047 bytes"},
        {"/pedidos/grande", Listagem, 2048, std::nullopt},
        {"/pedidos/latina", Documento, 2048, "Resposta da API maior que o limite de 2048 bytes"},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.caminho + (caso.limite == Listagem ? " listagem " : " documento ") +
                     std::to_string(caso.tamanhoMaximo));
        ConfiguracaoApi configuracao = ConfiguracaoPara(api_);
        configuracao.limiteLeitura = 1000ms;
        configuracao.limiteTotal = 1500ms;
        configuracao.tamanhoMaximoResposta = caso.limite == Documento ? caso.tamanhoMaximo : 1;
        configuracao.tamanhoMaximoListagem = caso.limite == Listagem ? caso.tamanhoMaximo : 1;
        ClienteHttp cliente(configuracao);
        try {
            const std::string corpo = cliente.Get(caso.caminho, caso.limite);
            EXPECT_FALSE(caso.erro) << corpo;
        } catch (const ErroTransporte& erro) {
            EXPECT_EQ(std::optional<std::string>(erro.what()), caso.erro);
            // The import tells a refused size apart from the other transport failures.
            EXPECT_EQ(dynamic_cast<const ErroRespostaGrandeDemais*>(&erro) != nullptr,
                      std::string_view(erro.what()).starts_with("Resposta da API maior"));
        }
    }
}

TEST_F(ClienteHttpTest, DecodificaOCorpoPeloCharsetDaResposta) {
    struct Caso {
        std::string tipoConteudo;
        std::string corpo;
        std::string esperado;
    };
    const std::vector<Caso> casos = {
        {"application/json; charset=utf-8", "S\xC3\xA3o", "São"},
        {"application/json;Charset=\"UTF-8\"", "S\xC3\xA3o", "São"},
        {"application/json; charset=utf-8", "S\xE3o", "S\uFFFDo"},
        // Undeclared: UTF-8 where it is valid, any other byte as Windows-1252.
        {"application/json", "A\xC3\x87\xC3\x9A S\xC3\xA3o", "AÇÚ São"},
        {"application/json", "S\xE3o \x93\xC3\x87\x94 \xC3", "São “Ç” Ã"},
        {"application/json; charset=x-desconhecido", "S\xE3o \xC3\x8D", "São Í"},
        {"application/json; charset=iso-8859-1", "S\xE3o \x80", "São \u0080"},
        {"application/json; charset=windows-1252", "\x80 \x93S\xE3o\x94", "€ “São”"},
        // A byte order mark is dropped, whatever the charset.
        {"application/json; charset=utf-8", "\xEF\xBB\xBF{}", "{}"},
        {"application/json", "\xEF\xBB\xBF{\"a\":\"\xC3\x87\"}", "{\"a\":\"Ç\"}"},
        {"application/json; charset=windows-1252", "\xEF\xBB\xBF{}", "{}"},
    };
    ClienteHttp cliente(ConfiguracaoPara(api_));
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.tipoConteudo + " " + caso.esperado);
        api_.DefinirRegra(
            {.caminho = "/api/pedidos", .tipoConteudo = caso.tipoConteudo, .corpo = caso.corpo});
        EXPECT_EQ(cliente.Get("/pedidos"), caso.esperado);
    }
}

}  // namespace
}  // namespace tessora::api
