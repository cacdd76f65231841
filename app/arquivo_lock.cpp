#include "app/arquivo_lock.h"

#include "comum/codigo_pagina.h"
#include "comum/texto.h"

namespace tessora::app {

std::filesystem::path CaminhoArquivoLock(const std::filesystem::path& executavel, const std::string& pasta) {
    std::string nome(AparaBrancos(executavel.filename().string()));
    if (const size_t ponto = nome.rfind('.'); ponto != std::string::npos) nome.erase(ponto);
    return std::filesystem::path(pasta + nome + ".lock");
}

std::optional<ArquivoLock> ArquivoLock::Adquirir(const std::filesystem::path& executavel, const std::string& pasta) {
    auto arquivo = plataforma::ArquivoExclusivo::Abrir(CaminhoArquivoLock(executavel, pasta));
    if (!arquivo) return std::nullopt;
    arquivo->Gravar(Utf8ParaWin1252("Este arquivo indica que o monitor " + executavel.string() +
                                    " está em execução.\r\n"));
    return ArquivoLock(std::move(*arquivo));
}

ArquivoLock::~ArquivoLock() {
    if (arquivo_) arquivo_->Apagar();
}

std::string MensagemOutraCopia(const std::filesystem::path& executavel) {
    return "O aplicativo " + executavel.string() + " já está sendo executado em outra sessão de trabalho.";
}

}  // namespace tessora::app
