#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace tessora::plataforma {

// A file held open with an exclusive OS lock for as long as this object lives; the lock
// goes with the process, so a file that nobody holds is known to be left over.
class ArquivoExclusivo {
  public:
    // Opens (creating it when missing) and locks without waiting; nothing when another
    // process holds the lock. Raises std::system_error when the file cannot be opened;
    // on POSIX systems a leftover that this account may not write (another account made
    // it) is first replaced when the folder allows.
    static std::optional<ArquivoExclusivo> Abrir(const std::filesystem::path& caminho);

    ArquivoExclusivo(ArquivoExclusivo&& outro) noexcept;
    ArquivoExclusivo& operator=(ArquivoExclusivo&&) = delete;
    ~ArquivoExclusivo();

    // Replaces the file's content.
    void Gravar(std::string_view conteudo);
    // Deletes the file while still holding it, then lets it go.
    void Apagar();

  private:
    ArquivoExclusivo(std::filesystem::path caminho, int descritor)
        : caminho_(std::move(caminho)), descritor_(descritor) {}

    std::filesystem::path caminho_;
    int descritor_;
};

}  // namespace tessora::plataforma
