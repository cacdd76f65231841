#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace tessora::plataforma {

// Starts a program and does not wait for it: on Windows through the shell's "open" verb
// with the parameters as its command line, here with the parameters split at blanks into
// its arguments, as a Windows program receives them, in a session of its own and without
// this process's open files. False when it could not be started.
bool IniciarPrograma(const std::filesystem::path& programa, std::string_view parametros);

// This process's id, as the system's process list shows it.
uint32_t IdProcessoAtual();

// Whether a running process, other than this one, executes this file.
bool ExecutavelEmExecucao(const std::filesystem::path& executavel);

}  // namespace tessora::plataforma
