#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tessora {

using ValoresIni = std::vector<std::pair<std::string_view, std::string_view>>;

// Writes keys of one section the way Windows' private-profile writes do: the first key
// of that name in the first section of that name (names compared without regard to ASCII
// case) gets its new value, a missing key is added after the last line of its section, a
// missing section at the end of the file, and every other line stays byte for byte. The
// file is Windows-1252 with CR LF line ends; a missing file is created.
// Raises Erro("Unable to write to <path>") when the file cannot be read or written.
void GravarValoresIni(const std::filesystem::path& caminho, std::string_view secao,
                      const ValoresIni& valores);

// The same write on a file's whole content: the content the file would then hold.
std::string ComValoresIni(std::string_view conteudo, std::string_view secao,
                          const ValoresIni& valores);

}  // namespace tessora
