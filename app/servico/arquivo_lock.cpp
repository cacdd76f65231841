#include "app/servico/arquivo_lock.h"

#include <system_error>

#include "comum/codigo_pagina.h"
#include "comum/texto.h"

namespace tessora::app {

std::filesystem::path CaminhoArquivoLock(const std::filesystem::path& executavel,
                                         const std::string& pasta) {
    std::string nome(AparaBrancos(executavel.filename().string()));
    if (const size_t ponto = nome.rfind('.'); ponto != std::string::npos) nome.erase(ponto);
    return std::filesystem::path(pasta + nome + ".lock");
}

std::optional<ArquivoLock> ArquivoLock::Adquirir(const std::filesystem::path& executavel,
                                                 const std::string& pasta) {
    const auto caminho = CaminhoArquivoLock(executavel, pasta);
    try {
        auto arquivo = plataforma::ArquivoExclusivo::Abrir(caminho);
        if (!arquivo) return std::nullopt;
        arquivo->Gravar(Utf8ParaWin1252("Este arquivo indica que o monitor " + executavel.string() +
                                        " está em execução.\r\n"));
        return ArquivoLock(std::move(*arquivo));
    } catch (const std::system_error& e) {
        throw ErroArquivoLock("Não foi possível criar o arquivo " + caminho.string() + ": " +
                              e.code().message() + ".");
    }
}

ArquivoLock::~ArquivoLock() {
    if (arquivo_) arquivo_->Apagar();
}

std::string MensagemOutraCopia(const std::filesystem::path& executavel) {
    return "O aplicativo " + executavel.string() +
           " já está sendo executado em outra sessão de trabalho.";
}

}  // namespace tessora::app
