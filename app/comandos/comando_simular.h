#pragma once

#include <filesystem>
#include <ostream>

namespace tessora::app {

// What a run would do with the new orders, order by order, on `saida`, and a summary: read
// through a read-only connection, writing nothing to the ERP nor to the API. It needs no lock
// file, since it imports nothing, and leaves no trace in the history of runs.
// Returns the exit status: 0 when everything could be read, 1 when the database could not be
// reached, an order could not be read or an error ended it, kSaidaSemListagem (3) when the
// API's list of new orders could not be had.
int ComandoSimular(const std::filesystem::path& executavel, std::ostream& saida,
                   std::ostream& erros);

}  // namespace tessora::app
