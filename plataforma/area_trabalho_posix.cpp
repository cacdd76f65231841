#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>

#include "plataforma/area_trabalho.h"

namespace tessora::plataforma {

namespace {
std::filesystem::path PastaPessoal() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* conta = ::getpwuid(::getuid()); conta && conta->pw_dir) return conta->pw_dir;
    return "/";
}

// XDG_DESKTOP_DIR of a user-dirs.dirs file: a quoted path that starts with "$HOME/" or is
// absolute; backslash escapes the next character.
std::optional<std::filesystem::path> PastaConfigurada(const std::filesystem::path& arquivo,
                                                      const std::filesystem::path& pessoal) {
    std::ifstream entrada(arquivo);
    std::string linha;
    std::optional<std::filesystem::path> pasta;
    while (std::getline(entrada, linha)) {
        constexpr std::string_view kChave = "XDG_DESKTOP_DIR=\"";
        if (linha.rfind(kChave, 0) != 0) continue;
        std::string valor;
        bool fechado = false;
        for (size_t i = kChave.size(); i < linha.size(); ++i) {
            if (linha[i] == '\\' && i + 1 < linha.size()) {
                valor += linha[++i];
            } else if (linha[i] == '"') {
                fechado = true;
                break;
            } else {
                valor += linha[i];
            }
        }
        if (!fechado) continue;
        if (valor == "$HOME" || valor.rfind("$HOME/", 0) == 0) {
            const auto resto = std::filesystem::path(valor.substr(5)).relative_path();
            pasta = resto.empty() ? pessoal : pessoal / resto;
        } else if (!valor.empty() && valor.front() == '/') {
            pasta = std::filesystem::path(valor);
        }
    }
    return pasta;
}

// Desktop-entry string values escape backslashes; inside Exec's quotes the characters
// that the shell-like parsing treats specially are escaped too, and "%" is doubled.
std::string ArgumentoExec(const std::string& caminho) {
    std::string argumento = "\"";
    for (const char c : caminho) {
        if (c == '"' || c == '`' || c == '$') {
            argumento += "\\\\";
            argumento += c;
        } else if (c == '\\') {
            argumento += "\\\\\\\\";
        } else if (c == '%') {
            argumento += "%%";
        } else {
            argumento += c;
        }
    }
    return argumento + "\"";
}

std::string ValorTexto(std::string_view texto) {
    std::string valor;
    for (const char c : texto) {
        if (c == '\\') {
            valor += "\\\\";
        } else if (c == '\n') {
            valor += "\\n";
        } else if (c != '\r') {
            valor += c;
        }
    }
    return valor;
}
}  // namespace

std::filesystem::path PastaAreaTrabalho() {
    const auto pessoal = PastaPessoal();
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const std::filesystem::path pastaConfig =
        config && *config == '/' ? std::filesystem::path(config) : pessoal / ".config";
    return PastaConfigurada(pastaConfig / "user-dirs.dirs", pessoal).value_or(pessoal / "Desktop");
}

std::string_view ExtensaoAtalho() { return ".desktop"; }

bool CriarAtalho(const std::filesystem::path& arquivo, const std::filesystem::path& alvo,
                 std::string_view descricao) {
    {
        std::ofstream saida(arquivo, std::ios::binary | std::ios::trunc);
        saida << "[Desktop Entry]\nType=Application\nName=" << ValorTexto(descricao)
              << "\nExec=" << ArgumentoExec(alvo.string()) << "\nTerminal=false\n";
        if (!saida.flush()) return false;
    }
    // Desktops start only launchers that are marked executable.
    std::error_code erro;
    std::filesystem::permissions(arquivo,
                                 std::filesystem::perms::owner_exec |
                                     std::filesystem::perms::group_exec |
                                     std::filesystem::perms::others_exec,
                                 std::filesystem::perm_options::add, erro);
    return !erro;
}

}  // namespace tessora::plataforma
