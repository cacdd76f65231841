#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "db/caminhos_atualizacao.h"

namespace tessora::manutencao {

// The one-time marker beside the executable, "Exec-" with the executable's name, its
// ".exe" parts turned into ".ini" (a name without extension gets ".ini" appended).
std::string NomeMarcadorExec(std::string_view nomeExecutavel);

// The executable's name without a final ".exe" (in any case); other names stay whole.
std::string NomeSemExe(std::string_view nomeExecutavel);

// When the marker is there: a desktop shortcut to this program, and for the ERP's main
// executables the master folder filled from the marker's source folder; then the marker
// goes. The leftover "Exec-" copy of the executable is removed in every case. Failed
// deletions and copies are ignored.
void TratarArquivosExec(const std::filesystem::path& executavel,
                        const db::CaminhosAtualizacao& caminhos);

// "Novo " and the executable's name on the desktop, starting the running executable;
// an existing shortcut of that name is overwritten.
void CriarAtalhoAreaTrabalho(const std::filesystem::path& executavel,
                             std::string_view nomeExecutavel);

// The current user's desktop folder, ending with the folder separator.
std::string ObterPastaAreaTrabalho();

// Copies the executables of the marker's "pastamestre" folder that the master folder still
// lacks, keeping their last-write times; files already in the master folder are never
// replaced. Without a source folder (or a master folder) nothing is copied.
void CopiarExecutaveisPastaMestre(const std::filesystem::path& marcador,
                                  const db::CaminhosAtualizacao& caminhos);

}  // namespace tessora::manutencao
