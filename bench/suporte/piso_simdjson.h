#pragma once

#include <simdjson.h>

#include <cstddef>

namespace tessora::bench {

// The floor of reading a JSON answer: simdjson's on-demand parser walking every value
// (names, strings and numbers read), adding their sizes to `contador`. False when the
// text is not valid JSON.
bool Tocar(simdjson::ondemand::value valor, size_t& contador);
bool TocarObjeto(simdjson::ondemand::object objeto, size_t& contador);

}  // namespace tessora::bench
