#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tessora {

// Read-only view of an INI file kept in Windows-1252, with the semantics of Windows
// private-profile files: section and key names compared without regard to case, values
// trimmed and one pair of surrounding quotes dropped, the first of repeated sections and keys
// read, and a missing file, section or key reading as empty text.
class ArquivoIni {
  public:
    explicit ArquivoIni(const std::filesystem::path& caminho);
    // The same view of a file's whole content.
    static ArquivoIni DoConteudo(std::string_view conteudo);
    // UTF-8 value, or empty text.
    std::string Ler(std::string_view secao, std::string_view chave) const;
    // UTF-8 value, or nothing when the key is absent (an empty value is present).
    std::optional<std::string> Procurar(std::string_view secao, std::string_view chave) const;

  private:
    ArquivoIni() = default;
    void Interpretar(std::string_view conteudo);

    std::map<std::string, std::string> valores_;  // "secao\nchave" in lower case -> value
};

}  // namespace tessora
