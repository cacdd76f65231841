#include "certificado_teste.h"

#include <openssl/bn.h>
#include <openssl/ec.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace tessora::testes {

namespace {
template <typename T, void (*Liberar)(T*)>
struct Liberador {
    void operator()(T* objeto) const { Liberar(objeto); }
};
using Chave = std::unique_ptr<EVP_PKEY, Liberador<EVP_PKEY, EVP_PKEY_free>>;
using Certificado = std::unique_ptr<X509, Liberador<X509, X509_free>>;
using Extensao = std::unique_ptr<X509_EXTENSION, Liberador<X509_EXTENSION, X509_EXTENSION_free>>;
using AssinaturaEcdsa = std::unique_ptr<ECDSA_SIG, Liberador<ECDSA_SIG, ECDSA_SIG_free>>;

void Exigir(bool ok, const char* passo) {
    if (!ok) throw std::runtime_error(std::string("certificado de teste: falhou ") + passo);
}

// Wine checks a certificate's ECDSA signature with r and s laid end to end at their encoded
// lengths, so a valid signature whose r or s came out shorter than the curve's 32 bytes fails
// there (about one in a hundred). Signing again draws a new random nonce.
bool InteirosComOTamanhoDaCurva(const X509* x509) {
    const ASN1_BIT_STRING* assinatura = nullptr;
    X509_get0_signature(&assinatura, nullptr, x509);
    const unsigned char* bytes = assinatura->data;
    const AssinaturaEcdsa ecdsa(d2i_ECDSA_SIG(nullptr, &bytes, assinatura->length));
    Exigir(ecdsa != nullptr, "ao ler a assinatura");
    return BN_num_bytes(ECDSA_SIG_get0_r(ecdsa.get())) == 32 &&
           BN_num_bytes(ECDSA_SIG_get0_s(ecdsa.get())) == 32;
}

void GravarPem(const std::filesystem::path& caminho, const auto& gravar) {
    std::unique_ptr<FILE, int (*)(FILE*)> arquivo(std::fopen(caminho.c_str(), "wb"), &std::fclose);
    Exigir(arquivo != nullptr, "ao abrir o arquivo PEM");
    Exigir(gravar(arquivo.get()) == 1, "ao gravar o arquivo PEM");
}
}  // namespace

void CriarCertificado(const std::filesystem::path& chave, const std::filesystem::path& certificado,
                      const std::string& nomes, std::chrono::seconds inicio,
                      std::chrono::seconds fim) {
    // An EC key takes milliseconds; RSA would take far longer.
    const Chave par(EVP_EC_gen("P-256"));
    Exigir(par != nullptr, "ao gerar a chave");
    const Certificado x509(X509_new());
    Exigir(x509 != nullptr, "ao criar o certificado");
    Exigir(X509_set_version(x509.get(), 2) == 1, "na versão");
    Exigir(ASN1_INTEGER_set(X509_get_serialNumber(x509.get()), 1) == 1, "no número de série");
    Exigir(X509_gmtime_adj(X509_getm_notBefore(x509.get()), static_cast<long>(inicio.count())) !=
               nullptr,
           "no início da validade");
    Exigir(
        X509_gmtime_adj(X509_getm_notAfter(x509.get()), static_cast<long>(fim.count())) != nullptr,
        "no fim da validade");
    X509_NAME* nome = X509_get_subject_name(x509.get());
    Exigir(X509_NAME_add_entry_by_txt(nome, "CN", MBSTRING_ASC,
                                      reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1,
                                      0) == 1,
           "no nome");
    Exigir(X509_set_issuer_name(x509.get(), nome) == 1, "no emissor");
    Exigir(X509_set_pubkey(x509.get(), par.get()) == 1, "na chave pública");
    const Extensao nomesAlternativos(
        X509V3_EXT_conf_nid(nullptr, nullptr, NID_subject_alt_name, nomes.c_str()));
    Exigir(
        nomesAlternativos != nullptr && X509_add_ext(x509.get(), nomesAlternativos.get(), -1) == 1,
        "nos nomes alternativos");
    do {
        Exigir(X509_sign(x509.get(), par.get(), EVP_sha256()) > 0, "na assinatura");
    } while (!InteirosComOTamanhoDaCurva(x509.get()));

    GravarPem(chave, [&](FILE* f) {
        return PEM_write_PrivateKey(f, par.get(), nullptr, nullptr, 0, nullptr, nullptr);
    });
    GravarPem(certificado, [&](FILE* f) { return PEM_write_X509(f, x509.get()); });
}

}  // namespace tessora::testes
