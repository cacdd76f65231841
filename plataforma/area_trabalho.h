#pragma once

#include <filesystem>
#include <string_view>

namespace tessora::plataforma {

// The current user's desktop folder: on Windows the shell's file-system desktop folder,
// here the XDG_DESKTOP_DIR of the user-dirs configuration, ~/Desktop when it names none.
std::filesystem::path PastaAreaTrabalho();

// The file extension of desktop shortcuts: ".lnk" on Windows, ".desktop" here.
std::string_view ExtensaoAtalho();

// Writes, or overwrites, a desktop shortcut that starts `alvo`, carrying `descricao`
// (a launcher's name here). False when the file could not be written; on Windows a
// shell-link object that cannot be created raises std::system_error.
bool CriarAtalho(const std::filesystem::path& arquivo, const std::filesystem::path& alvo,
                 std::string_view descricao);

}  // namespace tessora::plataforma
