#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "comum/avisos.h"
#include "db/caminhos_atualizacao.h"
#include "db/conexao_erp.h"
#include "plataforma/processos.h"
#include "plataforma/sistema.h"

namespace tessora::manutencao {

// What the self-update check works with. The start of the updater and the end of the
// process are replaceable so that the update's way out can be watched.
struct AmbienteAtualizacao {
    std::filesystem::path executavel;  // full path of the running executable
    db::CaminhosAtualizacao caminhos;
    Avisos& avisos;
    // Called right before the process ends for an update: removes this copy's lock file,
    // so that the updated program can start.
    std::function<void()> liberarLock = [] {};
    std::function<bool(const std::filesystem::path& programa, std::string_view parametros)>
        iniciarAtualizador = plataforma::IniciarPrograma;
    std::function<void()> encerrarProcesso = [] { plataforma::EncerrarProcesso(0); };
};

// The updater's name in the master folder: "tessoraAtualizador" with the system's suffix.
std::string NomeAtualizador();

// "@F1 @M<master folder> @E<program folder> @A<executable>", the folders with blanks as "§".
std::string LinhaComandoAtualizador(const db::CaminhosAtualizacao& caminhos);

// The self-update check of start-up, on the open connection. Suppressed by the file
// "DebugarDelphi.tmp" beside the executable; otherwise creates the master folder when
// missing, handles the "Exec-" files, checks for the updater, makes sure of the version
// columns and, in mode 1, compares this executable with the master copy: when their
// last-write times differ, shows the notice, starts the updater and ends the process.
// Missing files are reported through `avisos` with an end request. Database errors pass.
void VerificarAtualizacao(db::ConexaoErp& conexao, int modo, const AmbienteAtualizacao& ambiente);

}  // namespace tessora::manutencao
