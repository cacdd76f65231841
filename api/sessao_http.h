#pragma once

#include <curl/curl.h>

#include <array>
#include <mutex>
#include <string>

#include "api/cliente_http.h"

namespace tessora::api {

// Once per process, before libcurl's first use; raises ErroTransporte when it failed.
void IniciarCurl();

// What the clients of one run share: the settings, the certificate file read once, and the
// TLS sessions, so that a new connection resumes one instead of a full handshake.
class SessaoHttp {
  public:
    explicit SessaoHttp(ConfiguracaoApi configuracao);
    ~SessaoHttp();
    SessaoHttp(const SessaoHttp&) = delete;
    SessaoHttp& operator=(const SessaoHttp&) = delete;

    const ConfiguracaoApi& Configuracao() const { return configuracao_; }
    // The trusted authorities' PEM text; nothing: the system's store. Raises ErroTransporte
    // when the file could not be read.
    const std::string* Certificados() const;
    // Nothing when libcurl could not make one: every connection then makes its own handshake.
    CURLSH* Compartilhamento() const { return compartilhamento_; }

  private:
    static void Travar(CURL*, curl_lock_data dado, curl_lock_access, void* sessao);
    static void Destravar(CURL*, curl_lock_data dado, void* sessao);

    ConfiguracaoApi configuracao_;
    std::string certificados_;
    std::string falhaCertificados_;
    CURLSH* compartilhamento_ = nullptr;
    // One per kind of shared data, as libcurl asks for them.
    mutable std::array<std::mutex, CURL_LOCK_DATA_LAST> travas_;
};

}  // namespace tessora::api
