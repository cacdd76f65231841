#pragma once

#include <string>
#include <string_view>

namespace tessora::importacao {

// A CNPJ or CPF as the ERP keeps it: only the digits 0-9 and the capital letters A-Z, in
// their order; points, slashes, hyphens, blanks, small and accented letters are dropped.
std::string LimparCnpjCpf(std::string_view texto);

// A CEP trimmed, then without any ".", "-" or blank wherever they stand.
std::string LimparCep(std::string_view texto);

}  // namespace tessora::importacao
