#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "pasta_temporaria.h"

namespace tessora::testes {

// Replaces the normal answer for one method and path of the substitute API.
struct RegraApiSubstituta {
    std::string metodo{};  // empty: every method
    // Exactly as the client sends it: before percent-decoding, without the query.
    std::string caminho{};
    int status = 200;
    std::string tipoConteudo = "application/json; charset=utf-8";
    std::string corpo{};  // bytes as they go on the wire
    std::vector<std::pair<std::string, std::string>> cabecalhos{};
    std::chrono::milliseconds atraso{0};
    bool derrubarConexao = false;  // close the connection without any answer, after the delay
    // The same, but only on a kept-alive connection that carried an earlier request; on a fresh
    // one the rule answers.
    bool derrubarConexaoReutilizada = false;
    // Above zero: the body goes one byte at a time, each after this pause.
    std::chrono::milliseconds gotejamento{0};
};

// One request as the substitute API received it.
struct RequisicaoRecebida {
    std::string metodo;
    std::string caminho;  // as sent, before percent-decoding
    std::string consulta;
    std::string versaoTls;  // as OpenSSL names it: "TLSv1.2"
    std::string corpo;
    // As the server parsed them: blanks at the end of a value are gone.
    std::vector<std::pair<std::string, std::string>> cabecalhos;

    // The first header of that name, ASCII letter case ignored.
    std::optional<std::string> Cabecalho(std::string_view nome) const;
};

// A fixed-seed random share of the answers fails: an error status (500 or 503), a body cut
// short, a connection dropped without answer (none of these carry the request out), or an
// answer that comes only `atraso` late (carried out all the same). The same seed gives the same
// failures for the same sequence of requests; a rule's answer is never replaced.
struct FalhasAleatorias {
    uint64_t semente = 0;
    int percentual = 0;  // 0: none
    std::chrono::milliseconds atraso{0};
};

struct OpcoesApiSubstituta {
    // "1.2" or "1.3" makes the server accept only that TLS version; empty accepts both.
    std::string versaoTls{};
    // How long the server keeps an idle kept-alive connection before it closes it; nothing:
    // its default of some seconds.
    std::optional<std::chrono::seconds> conexaoOciosa{};
    // subjectAltName of the server's fresh certificate.
    std::string nomesCertificado = "IP:127.0.0.1,DNS:localhost";
    // When the certificate is valid, relative to now: from a day ago for two days by default.
    std::pair<std::chrono::seconds, std::chrono::seconds> validade{-std::chrono::hours(24),
                                                                   std::chrono::hours(48)};
};

// The substitute API running on a free loopback port with a certificate of its own, for the
// life of the object. The state is the API's JSON document:
// {"token": "...", "pedidos": [...], "clientes": [...]}.
class ApiSubstituta {
  public:
    explicit ApiSubstituta(std::string_view estadoJson, OpcoesApiSubstituta opcoes = {});
    ~ApiSubstituta();
    ApiSubstituta(const ApiSubstituta&) = delete;
    ApiSubstituta& operator=(const ApiSubstituta&) = delete;

    int Porta() const { return porta_; }
    // "https://127.0.0.1:PORT/api"; under Wine "https://localhost:PORT/api"
    std::string UrlBase() const;
    // The PEM file that a client must trust to talk to this server.
    std::string ArquivoCertificado() const;

    // The server reads the state afresh for every request.
    void DefinirEstado(std::string_view estadoJson) const;
    std::string LerEstado() const;
    // Every request so far, oldest first.
    std::vector<RequisicaoRecebida> Requisicoes() const;
    // A rule for the same method and path as an earlier one replaces it.
    void DefinirRegra(RegraApiSubstituta regra);
    void RemoverRegras();
    // Applies from the next request on; the draws start afresh with every change.
    void DefinirFalhas(const FalhasAleatorias& falhas) const;

  private:
    void GravarRegras() const;
    void Encerrar() noexcept;

    std::filesystem::path pasta_;
#ifdef _WIN32
    // Under Wine a Linux helper runs the server for as long as this folder's file "ativo"
    // is renewed.
    std::unique_ptr<PastaTemporaria> canal_;
    std::jthread renovacao_;
#else
    pid_t processo_ = -1;
#endif
    int porta_ = 0;
    std::vector<RegraApiSubstituta> regras_;
};

}  // namespace tessora::testes
