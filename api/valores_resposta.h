#pragma once

#include <string_view>

#include "comum/data.h"
#include "comum/moeda.h"

namespace tessora {

// An amount read from an answer: every "." counts as the decimal separator ",", then blanks
// around, an optional sign, digits with at most one separator and an optional exponent
// ("1,5e3"); rounded half away from zero to four decimals, exactly. 0 when the text does not
// read; a number beyond Currency's range raises ErroConversao, since taking it as 0 would write
// a wrong amount.
Moeda TextoParaValor(std::string_view texto);

// A date read from an answer: day 0 when the text is blank; otherwise its first ten characters
// as year-month-day with "-" ("2024-03-15T10:20:30Z" and "2024-3-5" both read), day 0 when they
// do not name a real day.
Data TextoParaData(std::string_view texto);

}  // namespace tessora
