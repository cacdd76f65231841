#pragma once

#include <filesystem>
#include <string>

#include "comum/avisos.h"
#include "db/caminhos_atualizacao.h"
#include "db/conexao_erp.h"

namespace tessora::manutencao {

// What the self-update check works with.
struct AmbienteAtualizacao {
    std::filesystem::path executavel;  // full path of the running executable
    db::CaminhosAtualizacao caminhos;
    Avisos& avisos;
};

enum class ModoAtualizacao {
    SemComparacao,           // housekeeping and version columns only
    CompararComCopiaMestre,  // also replace this executable by a different master copy
};

// What start-up does after the check.
struct [[nodiscard]] DesfechoAtualizacao {
    enum class Acao {
        Prosseguir,
        Encerrar,   // a file the program needs is missing; the reason was shown
        Atualizar,  // end, and start the updater once everything is let go
    };
    Acao acao = Acao::Prosseguir;
    // For Atualizar: the updater in the master folder and its command line. It waits for
    // this process to end, so it is started last.
    std::filesystem::path atualizador{};
    std::string parametros{};
};

// The updater's name in the master folder: "tessoraAtualizador" with the system's suffix.
std::string NomeAtualizador();

// "@F1 @M<master folder> @E<program folder> @A<executable>", the folders with blanks as "§".
std::string LinhaComandoAtualizador(const db::CaminhosAtualizacao& caminhos);

// The self-update check of start-up, on the open connection. Suppressed by the file
// "DebugarDelphi.tmp" beside the executable; otherwise creates the master folder when
// missing, handles the "Exec-" files, checks for the updater, makes sure of the version
// columns and, when comparing, compares this executable with the master copy: when their
// last-write times differ, shows the notice and answers Atualizar. Missing files are shown
// through `avisos` and answer Encerrar. Database errors pass.
DesfechoAtualizacao VerificarAtualizacao(db::ConexaoErp& conexao, ModoAtualizacao modo,
                                         const AmbienteAtualizacao& ambiente);

}  // namespace tessora::manutencao
