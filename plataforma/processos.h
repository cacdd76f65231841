#pragma once

#include <filesystem>
#include <string_view>

namespace tessora::plataforma {

// Starts a program and does not wait for it. The parameters are one command line, split
// at blanks into the program's arguments as a Windows program receives them. The program
// runs apart from this process: its own session, none of this process's open files.
// False when it could not be started.
bool IniciarPrograma(const std::filesystem::path& programa, std::string_view parametros);

// Whether a running process, other than this one, executes this file.
bool ExecutavelEmExecucao(const std::filesystem::path& executavel);

}  // namespace tessora::plataforma
