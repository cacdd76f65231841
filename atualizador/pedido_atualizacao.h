#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tessora::atualizador {

// What the program asks of the updater.
struct PedidoAtualizacao {
    std::filesystem::path pastaMestre;    // where the published build lies
    std::filesystem::path pastaPrograma;  // where the program runs from
    std::string nomeExecutavel;           // the program's file name in both folders
};

// Reads "@F1 @M<master folder> @E<program folder> @A<executable>" (the arguments after the
// updater's own name). The folders carry their blanks as "§"; the executable's name does
// not protect its blanks, so every argument after "@A" belongs to it. Nothing when the
// arguments are not of that form.
std::optional<PedidoAtualizacao> LerPedido(const std::vector<std::string>& argumentos);

}  // namespace tessora::atualizador
