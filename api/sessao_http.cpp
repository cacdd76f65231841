#include "api/sessao_http.h"

#include <curl/curl.h>

#include <fstream>
#include <iterator>

namespace tessora::api {

void IniciarCurl() {
    // A function-local static makes the first call thread-safe.
    static const CURLcode resultado = curl_global_init(CURL_GLOBAL_DEFAULT);
    if (resultado != CURLE_OK) throw ErroTransporte(curl_easy_strerror(resultado));
}

SessaoHttp::SessaoHttp(ConfiguracaoApi configuracao) : configuracao_(std::move(configuracao)) {
    if (!configuracao_.arquivoCertificados.empty()) {
        std::ifstream arquivo(configuracao_.arquivoCertificados, std::ios::binary);
        certificados_.assign(std::istreambuf_iterator<char>(arquivo),
                             std::istreambuf_iterator<char>());
        // An empty file would trust nothing: refused as clearly as a missing one.
        if (!arquivo.is_open() || arquivo.bad() || certificados_.empty()) {
            falhaCertificados_ = "Não foi possível ler o arquivo de certificados " +
                                 configuracao_.arquivoCertificados;
        }
    }
    try {
        IniciarCurl();
    } catch (const ErroTransporte&) {
        return;  // every request raises it again
    }
    compartilhamento_ = curl_share_init();
    if (compartilhamento_ == nullptr) return;
    const bool configurado =
        curl_share_setopt(compartilhamento_, CURLSHOPT_LOCKFUNC, &SessaoHttp::Travar) ==
            CURLSHE_OK &&
        curl_share_setopt(compartilhamento_, CURLSHOPT_UNLOCKFUNC, &SessaoHttp::Destravar) ==
            CURLSHE_OK &&
        curl_share_setopt(compartilhamento_, CURLSHOPT_USERDATA, this) == CURLSHE_OK &&
        curl_share_setopt(compartilhamento_, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION) ==
            CURLSHE_OK;
    if (!configurado) {
        curl_share_cleanup(compartilhamento_);
        compartilhamento_ = nullptr;
    }
}

SessaoHttp::~SessaoHttp() {
    if (compartilhamento_ != nullptr) curl_share_cleanup(compartilhamento_);
}

const std::string* SessaoHttp::Certificados() const {
    if (!falhaCertificados_.empty())
        throw ErroTransporte(falhaCertificados_, CausaTransporte::Configuracao);
    return configuracao_.arquivoCertificados.empty() ? nullptr : &certificados_;
}

void SessaoHttp::Travar(CURL*, curl_lock_data dado, curl_lock_access, void* sessao) {
    static_cast<SessaoHttp*>(sessao)->travas_.at(static_cast<size_t>(dado)).lock();
}

void SessaoHttp::Destravar(CURL*, curl_lock_data dado, void* sessao) {
    static_cast<SessaoHttp*>(sessao)->travas_.at(static_cast<size_t>(dado)).unlock();
}

}  // namespace tessora::api
