#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tessora::app {

// The minutes field keeps any text it is given: the settings file may hold anything, and what
// the field holds is saved back unchanged. Its arrows and what the operator types follow these
// rules.

// The field's number; a text that is no whole number counts as 0.
int32_t MinutosDoCampo(std::string_view texto);
// The text after `passos` steps of the arrows (below 0: down), within the range the
// synchronisation timer takes.
std::string MinutosAposPassos(std::string_view texto, int passos);
bool PodeSubirMinutos(std::string_view texto);
bool PodeDescerMinutos(std::string_view texto);

// An edit may add digits and remove anything, so that a text from the settings file that is no
// number can still be corrected, but it never brings in another character.
bool EdicaoMinutosAceita(std::string_view anterior, std::string_view editado);

}  // namespace tessora::app
