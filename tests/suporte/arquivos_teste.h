#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tessora::testes {

// Writes the bytes as given, creating the folders on the way.
void GravarArquivo(const std::filesystem::path& caminho, std::string_view conteudo);

// The file's bytes; nothing when it cannot be read.
std::optional<std::string> LerArquivo(const std::filesystem::path& caminho);

// Sets the file's last-write time to this moment of the machine's local time.
void DefinirHoraLocal(const std::filesystem::path& caminho, int ano, int mes, int dia, int hora,
                      int minuto, int segundo, int milissegundo = 0);

// Sets an environment variable (or removes it, with nothing) for the object's lifetime.
class VariavelAmbiente {
  public:
    VariavelAmbiente(std::string nome, const std::optional<std::string>& valor);
    ~VariavelAmbiente();
    VariavelAmbiente(const VariavelAmbiente&) = delete;
    VariavelAmbiente& operator=(const VariavelAmbiente&) = delete;

  private:
    std::string nome_;
    std::optional<std::string> anterior_;
};

}  // namespace tessora::testes
