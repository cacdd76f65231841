#pragma once

#include <chrono>
#include <filesystem>
#include <string>

namespace tessora::testes {

// A self-signed certificate with a fresh EC key, written as PEM files: valid from `inicio` to
// `fim` (relative to now; both may lie in the past) for `nomes`, a subjectAltName value such
// as "IP:127.0.0.1,DNS:localhost".
void CriarCertificado(const std::filesystem::path& chave, const std::filesystem::path& certificado,
                      const std::string& nomes, std::chrono::seconds inicio,
                      std::chrono::seconds fim);

}  // namespace tessora::testes
