#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "comum/erros.h"
#include "plataforma/arquivo_exclusivo.h"

namespace tessora::app {

// The lock file's path: the executable's file name, trimmed, cut before its last "."
// (a name without "." is its own base name), with ".lock", in the given folder.
std::filesystem::path CaminhoArquivoLock(const std::filesystem::path& executavel,
                                         const std::string& pasta);

// The lock file can be neither created nor taken over; the message says which file and why.
class ErroArquivoLock : public Erro {
  public:
    using Erro::Erro;
};

// This copy's lock file in the ERP data folder: written when no running copy holds one
// (a file that no process holds is a leftover and is taken over), held while this object
// lives, and removed when it goes.
class ArquivoLock {
  public:
    // Nothing when another running copy holds the lock file; raises ErroArquivoLock.
    static std::optional<ArquivoLock> Adquirir(const std::filesystem::path& executavel,
                                               const std::string& pasta);

    ArquivoLock(ArquivoLock&&) = default;
    ~ArquivoLock();

  private:
    explicit ArquivoLock(plataforma::ArquivoExclusivo arquivo) : arquivo_(std::move(arquivo)) {}
    std::optional<plataforma::ArquivoExclusivo> arquivo_;
};

// "O aplicativo <executavel> já está sendo executado em outra sessão de trabalho."
std::string MensagemOutraCopia(const std::filesystem::path& executavel);

}  // namespace tessora::app
