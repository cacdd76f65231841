#include "api/cliente_http.h"

#include <curl/curl.h>
#ifndef _WIN32
#include <poll.h>
#include <sys/socket.h>
#endif

#include <memory>

#include "api/decodificacao_resposta.h"
#include "api/sessao_http.h"

namespace tessora::api {

namespace {
using Relogio = std::chrono::steady_clock;

struct LiberarListaCurl {
    void operator()(curl_slist* lista) const { curl_slist_free_all(lista); }
};
using ListaCurl = std::unique_ptr<curl_slist, LiberarListaCurl>;

// What the callbacks gather during one transfer.
struct Transferencia {
    std::string corpo;
    std::string linhaStatus;
    std::chrono::milliseconds limite{0};
    std::chrono::milliseconds limiteTotal{0};
    size_t tamanhoMaximo = 0;
    const Relogio::time_point inicio = Relogio::now();
    Relogio::time_point ultimaAtividade = inicio;
    curl_off_t recebidos = 0;
    curl_off_t enviados = 0;
    bool tempoEsgotado = false;
    bool prazoEsgotado = false;
    bool grandeDemais = false;
    const std::atomic<bool>* interrupcao = nullptr;
    bool interrompida = false;
    // A GET changes nothing on the server: it may go out once more (see AbrirSocket).
    bool repetivel = false;
    // The request went out on a connection, and since then whether any of the answer came.
    bool pedidoEnviado = false;
    bool respostaIniciada = false;
    bool repetida = false;
    bool repeticaoRecusada = false;
};

size_t ReceberCorpo(char* dados, size_t, size_t tamanho, void* usuario) {
    auto& transferencia = *static_cast<Transferencia*>(usuario);
    if (tamanho > transferencia.tamanhoMaximo - transferencia.corpo.size()) {
        transferencia.grandeDemais = true;
        return 0;  // anything short of `tamanho` ends the transfer
    }
    transferencia.corpo.append(dados, tamanho);
    transferencia.ultimaAtividade = Relogio::now();
    return tamanho;
}

size_t ReceberCabecalho(char* dados, size_t, size_t tamanho, void* usuario) {
    auto& transferencia = *static_cast<Transferencia*>(usuario);
    std::string_view linha(dados, tamanho);
    // Each answer starts with its status line; after a 100 Continue the final one replaces it.
    if (linha.substr(0, 5) == "HTTP/") {
        while (!linha.empty() && (linha.back() == '\r' || linha.back() == '\n'))
            linha.remove_suffix(1);
        transferencia.linhaStatus = std::string(linha);
    }
    transferencia.ultimaAtividade = Relogio::now();
    return tamanho;
}

// Whether the server sent anything on the kept-alive connection since its last answer: its end,
// a TLS close alert or an error. An idle HTTP/1.1 connection carries nothing until the next
// request, so anything there means that the server is closing it; libcurl, which takes pending
// bytes for a sign of life, would send the request into it.
bool ServidorEncerrando(curl_socket_t socket) {
#ifdef _WIN32
    WSAPOLLFD espera{socket, POLLRDNORM, 0};
    return WSAPoll(&espera, 1, 0) > 0;
#else
    pollfd espera{socket, POLLIN, 0};
    return poll(&espera, 1, 0) > 0;
#endif
}

// libcurl tells here what it sent and received; the request's headers go out first.
int AcompanharEnvio(CURL*, curl_infotype tipo, char*, size_t, void* usuario) {
    auto& transferencia = *static_cast<Transferencia*>(usuario);
    if (tipo == CURLINFO_HEADER_OUT) transferencia.pedidoEnviado = true;
    if (tipo == CURLINFO_HEADER_IN || tipo == CURLINFO_DATA_IN)
        transferencia.respostaIniciada = true;
    return 0;
}

// libcurl repeats a request on a fresh connection when a kept-alive one died before any byte of
// the answer, also when the request had already gone out on it. A server that closes idle
// connections does so just as a request arrives now and then: a GET, which changes nothing, goes
// once more then. Any other request may have been carried out and never goes out again.
curl_socket_t AbrirSocket(void* usuario, curlsocktype, curl_sockaddr* endereco) {
    auto& transferencia = *static_cast<Transferencia*>(usuario);
    if (transferencia.pedidoEnviado) {
        if (!transferencia.repetivel || transferencia.repetida || transferencia.respostaIniciada) {
            transferencia.repeticaoRecusada = true;
            return CURL_SOCKET_BAD;
        }
        transferencia.repetida = true;
        transferencia.pedidoEnviado = false;
    }
    return socket(endereco->family, endereco->socktype, endereco->protocol);
}

// The read limit counts from the last byte that moved in either direction, like a socket's
// read timeout, and also covers the connection and the TLS handshake. The overall limit counts
// from the start, so that a server trickling a byte now and then cannot hold the run for ever.
int VerificarAtividade(void* usuario, curl_off_t, curl_off_t recebidos, curl_off_t,
                       curl_off_t enviados) {
    auto& transferencia = *static_cast<Transferencia*>(usuario);
    if (transferencia.interrupcao != nullptr && transferencia.interrupcao->load()) {
        transferencia.interrompida = true;
        return 1;
    }
    const auto agora = Relogio::now();
    if (transferencia.limiteTotal.count() > 0 &&
        agora - transferencia.inicio > transferencia.limiteTotal) {
        transferencia.prazoEsgotado = true;
        return 1;
    }
    if (recebidos != transferencia.recebidos || enviados != transferencia.enviados) {
        transferencia.recebidos = recebidos;
        transferencia.enviados = enviados;
        transferencia.ultimaAtividade = agora;
    }
    if (transferencia.limite.count() > 0 &&
        agora - transferencia.ultimaAtividade > transferencia.limite) {
        transferencia.tempoEsgotado = true;
        return 1;
    }
    return 0;
}

// A libcurl that refuses an option (one built without it, say) must not send the request
// with a weaker setting than asked.
template <typename T>
void Opcao(CURL* curl, CURLoption opcao, T valor) {
    const CURLcode resultado = curl_easy_setopt(curl, opcao, valor);
    if (resultado != CURLE_OK) throw ErroTransporte(curl_easy_strerror(resultado));
}

// OpenSSL's verification results X509_V_ERR_CERT_NOT_YET_VALID and X509_V_ERR_CERT_HAS_EXPIRED,
// by number: the Windows build has no OpenSSL headers.
constexpr long kCertificadoAindaNaoValido = 9;
constexpr long kCertificadoExpirado = 10;

// A certificate refused only for its dates, which is most often the PC's clock being wrong.
bool CertificadoForaDoPrazo(CURL* curl, std::string_view mensagem) {
    long verificacao = 0;
    if (curl_easy_getinfo(curl, CURLINFO_SSL_VERIFYRESULT, &verificacao) == CURLE_OK &&
        (verificacao == kCertificadoAindaNaoValido || verificacao == kCertificadoExpirado)) {
        return true;
    }
    // Schannel gives no verification result, only its own words in the message.
    for (const std::string_view sinal :
         {"CERT_TRUST_IS_NOT_TIME_VALID", "SEC_E_CERT_EXPIRED", "CERT_E_EXPIRED"}) {
        if (mensagem.find(sinal) != std::string_view::npos) return true;
    }
    return false;
}

CausaTransporte CausaDoResultado(CURL* curl, CURLcode resultado, std::string_view mensagem) {
    switch (resultado) {
        case CURLE_PEER_FAILED_VERIFICATION:
            return CertificadoForaDoPrazo(curl, mensagem) ? CausaTransporte::CertificadoForaDoPrazo
                                                          : CausaTransporte::CertificadoRecusado;
        case CURLE_SSL_CONNECT_ERROR:  // where Schannel reports some refusals of the certificate
            return CertificadoForaDoPrazo(curl, mensagem) ? CausaTransporte::CertificadoForaDoPrazo
                                                          : CausaTransporte::SemResposta;
        case CURLE_UNSUPPORTED_PROTOCOL:
        case CURLE_URL_MALFORMAT:
        case CURLE_SSL_CACERT_BADFILE:
            return CausaTransporte::Configuracao;
        default:
            return CausaTransporte::SemResposta;
    }
}

bool TemQuebraOuNulo(std::string_view texto) {
    return texto.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

ListaCurl CabecalhosDaApi(const std::string& token) {
    ListaCurl lista;
    for (const std::string& cabecalho :
         {std::string("Accept: application/json"),
          std::string("Content-Type: application/json; charset=utf-8"),
          // Sent even for an empty token: curl drops only a bare "Name:" without value.
          "Authorization: Bearer " + token}) {
        // Appending returns the list's first node, or nothing when it failed (the list stays).
        curl_slist* const primeiro = curl_slist_append(lista.get(), cabecalho.c_str());
        if (primeiro == nullptr) throw ErroTransporte("Não foi possível montar os cabeçalhos HTTP");
        static_cast<void>(lista.release());
        lista.reset(primeiro);
    }
    return lista;
}
}  // namespace

void ClienteHttp::LiberarCurl::operator()(void* curl) const { curl_easy_cleanup(curl); }

ClienteHttp::ClienteHttp(ConfiguracaoApi configuracao)
    : ClienteHttp(std::make_shared<const SessaoHttp>(configuracao), configuracao.obterToken,
                  nullptr) {}

ClienteHttp::ClienteHttp(std::shared_ptr<const SessaoHttp> sessao,
                         std::function<std::string()> obterToken,
                         const std::atomic<bool>* interrupcao)
    : sessao_(std::move(sessao)), obterToken_(std::move(obterToken)), interrupcao_(interrupcao) {}

ClienteHttp::~ClienteHttp() = default;
ClienteHttp::ClienteHttp(ClienteHttp&&) noexcept = default;
ClienteHttp& ClienteHttp::operator=(ClienteHttp&&) noexcept = default;

ClienteHttp ClienteHttp::OutroCliente(std::function<std::string()> obterToken,
                                      const std::atomic<bool>* interrupcao) const {
    return ClienteHttp(sessao_, std::move(obterToken), interrupcao);
}

std::string ClienteHttp::Get(std::string_view caminho, LimiteResposta limite) {
    return Executar("GET", caminho, std::nullopt, limite);
}

std::string ClienteHttp::Patch(std::string_view caminho, std::string_view corpo) {
    return Executar("PATCH", caminho, corpo, LimiteResposta::Documento);
}

std::string ClienteHttp::Executar(const char* metodo, std::string_view caminho,
                                  std::optional<std::string_view> corpo, LimiteResposta limite) {
    IniciarCurl();
    const ConfiguracaoApi& configuracao = sessao_->Configuracao();
    const std::string* const certificados = sessao_->Certificados();
    const std::string token = obterToken_ ? obterToken_() : std::string();
    // A line break would end the header early and let the token's rest become headers of its own.
    if (TemQuebraOuNulo(token)) {
        throw ErroTransporte("O token da API contém quebra de linha ou caractere nulo",
                             CausaTransporte::TokenInvalido);
    }
    if (!curl_) {
        curl_.reset(curl_easy_init());
        if (!curl_) throw ErroTransporte("Não foi possível iniciar a requisição HTTP");
    }
    // The handle keeps its connection for the next request, but no option of this one, which
    // point at this call's buffers.
    struct Reiniciar {
        CURL* curl;
        ~Reiniciar() { curl_easy_reset(curl); }
    } const reiniciar{curl_.get()};

    const ListaCurl cabecalhos = CabecalhosDaApi(token);

    Transferencia transferencia;
    transferencia.limite = configuracao.limiteLeitura;
    transferencia.limiteTotal = configuracao.limiteTotal;
    transferencia.tamanhoMaximo = limite == LimiteResposta::Listagem
                                      ? configuracao.tamanhoMaximoListagem
                                      : configuracao.tamanhoMaximoResposta;
    transferencia.interrupcao = interrupcao_;
    transferencia.repetivel = std::string_view(metodo) == "GET";
    char mensagemErro[CURL_ERROR_SIZE] = {};
    const std::string url = configuracao.urlBase + std::string(caminho);
    CURL* const c = curl_.get();

    Opcao(c, CURLOPT_URL, url.c_str());
    Opcao(c, CURLOPT_PROTOCOLS_STR, "https");
    Opcao(c, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    Opcao(c, CURLOPT_HTTPHEADER, cabecalhos.get());
    Opcao(c, CURLOPT_FOLLOWLOCATION, 0L);
    Opcao(c, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_NONE));
    const long tlsMinima = CURL_SSLVERSION_TLSv1_2;
    const long tlsMaxima = CURL_SSLVERSION_MAX_TLSv1_2;
    Opcao(c, CURLOPT_SSLVERSION, tlsMinima | tlsMaxima);
    Opcao(c, CURLOPT_SSL_VERIFYPEER, 1L);
    Opcao(c, CURLOPT_SSL_VERIFYHOST, 2L);
    // Schannel would refuse a certificate whose revocation status it cannot learn, as one of a
    // private CA without a revocation list; best effort lets that pass and still refuses a
    // certificate found revoked. OpenSSL checks no revocation and ignores the option.
    Opcao(c, CURLOPT_SSL_OPTIONS, static_cast<long>(CURLSSLOPT_REVOKE_BEST_EFFORT));
    if (certificados != nullptr) {
        // The file replaces the system's authorities, as Schannel does with it on Windows:
        // without clearing the built-in file and folder, OpenSSL would still trust every
        // system CA. Read once per run; libcurl uses the text in place.
        curl_blob blob{const_cast<char*>(certificados->data()), certificados->size(),
                       CURL_BLOB_NOCOPY};
        Opcao(c, CURLOPT_CAINFO_BLOB, &blob);
        Opcao(c, CURLOPT_CAINFO, static_cast<const char*>(nullptr));
        // Schannel has no such folder: there is none to clear.
        const CURLcode semPasta =
            curl_easy_setopt(c, CURLOPT_CAPATH, static_cast<const char*>(nullptr));
        if (semPasta != CURLE_OK && semPasta != CURLE_NOT_BUILT_IN)
            throw ErroTransporte(curl_easy_strerror(semPasta));
    }
    if (sessao_->Compartilhamento() != nullptr) {
        Opcao(c, CURLOPT_SHARE, sessao_->Compartilhamento());
    }
    Opcao(c, CURLOPT_NOSIGNAL, 1L);
    Opcao(c, CURLOPT_ERRORBUFFER, mensagemErro);
    Opcao(c, CURLOPT_WRITEFUNCTION, &ReceberCorpo);
    Opcao(c, CURLOPT_WRITEDATA, &transferencia);
    Opcao(c, CURLOPT_HEADERFUNCTION, &ReceberCabecalho);
    Opcao(c, CURLOPT_HEADERDATA, &transferencia);
    Opcao(c, CURLOPT_NOPROGRESS, 0L);
    Opcao(c, CURLOPT_XFERINFOFUNCTION, &VerificarAtividade);
    Opcao(c, CURLOPT_XFERINFODATA, &transferencia);
    Opcao(c, CURLOPT_DEBUGFUNCTION, &AcompanharEnvio);
    Opcao(c, CURLOPT_DEBUGDATA, &transferencia);
    Opcao(c, CURLOPT_VERBOSE, 1L);  // the debug function is called only then
    curl_socket_t mantida = CURL_SOCKET_BAD;
    if (curl_easy_getinfo(c, CURLINFO_ACTIVESOCKET, &mantida) == CURLE_OK &&
        mantida != CURL_SOCKET_BAD && ServidorEncerrando(mantida)) {
        Opcao(c, CURLOPT_FRESH_CONNECT, 1L);
    }
    Opcao(c, CURLOPT_OPENSOCKETFUNCTION, &AbrirSocket);
    Opcao(c, CURLOPT_OPENSOCKETDATA, &transferencia);
    if (corpo) {
        Opcao(c, CURLOPT_CUSTOMREQUEST, metodo);
        Opcao(c, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(corpo->size()));
        Opcao(c, CURLOPT_POSTFIELDS, corpo->data());
    } else {
        Opcao(c, CURLOPT_HTTPGET, 1L);
    }

    const CURLcode resultado = curl_easy_perform(c);
    if (transferencia.tempoEsgotado) {
        throw ErroTransporte("Tempo limite de leitura esgotado: nenhum dado em " +
                             std::to_string(configuracao.limiteLeitura.count()) + " ms");
    }
    if (transferencia.prazoEsgotado) {
        throw ErroTransporte("Tempo limite da requisição esgotado: " +
                             std::to_string(configuracao.limiteTotal.count()) + " ms");
    }
    if (transferencia.interrompida) throw ErroTransporte("Requisição interrompida");
    if (transferencia.repeticaoRecusada) {
        throw ErroTransporte("A conexão foi encerrada sem resposta depois do envio da requisição");
    }
    if (transferencia.grandeDemais) throw ErroRespostaGrandeDemais(transferencia.tamanhoMaximo);
    if (resultado != CURLE_OK) {
        const std::string mensagem =
            mensagemErro[0] != '\0' ? mensagemErro : curl_easy_strerror(resultado);
        throw ErroTransporte(mensagem, CausaDoResultado(c, resultado, mensagem));
    }

    long status = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    const char* tipoConteudo = nullptr;
    curl_easy_getinfo(c, CURLINFO_CONTENT_TYPE, &tipoConteudo);
    std::string texto =
        DecodificarCorpoResposta(transferencia.corpo, tipoConteudo ? tipoConteudo : "");
    // Decoding one byte may give up to three: the limit holds for what the caller keeps, too.
    if (texto.size() > transferencia.tamanhoMaximo)
        throw ErroRespostaGrandeDemais(transferencia.tamanhoMaximo);
    if (status >= 200 && status < 300) return texto;
    const std::string linhaStatus = transferencia.linhaStatus.empty()
                                        ? "HTTP " + std::to_string(status)
                                        : transferencia.linhaStatus;
    throw ErroHttp(linhaStatus, static_cast<int>(status), std::move(texto));
}

}  // namespace tessora::api
