#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <random>

namespace tessora::api_substituta {

// Random failures of the answers, for fault-injection tests, set through a JSON file that is read
// afresh for every request: {"semente": 7, "percentual": 30, "atraso_ms": 1500}. A missing file or
// a percentage of 0 fails nothing. "atraso_ms" is how late a delayed answer comes.
struct ConfiguracaoFalhas {
    uint64_t semente = 0;
    int percentual = 0;
    std::chrono::milliseconds atraso{0};

    bool operator==(const ConfiguracaoFalhas&) const = default;
};

// Raises std::runtime_error when the file is unreadable.
std::optional<ConfiguracaoFalhas> LerConfiguracaoFalhas(const std::filesystem::path& arquivo);

enum class Falha {
    Nenhuma,
    Status500,         // an error answer with a JSON body; the request is not carried out
    Status503,         // an error answer with an HTML body; not carried out
    CorpoInvalido,     // status 200 with a body cut short; not carried out
    ConexaoDerrubada,  // no answer at all; not carried out
    RespostaAtrasada,  // carried out and answered normally, but only after the delay
};

// The fate of each answer in turn. A given configuration always gives the same sequence of
// fates from its first draw: the generator starts afresh whenever the configuration changes.
// Not thread-safe.
class SorteioFalhas {
  public:
    Falha Sortear(const std::optional<ConfiguracaoFalhas>& configuracao);

  private:
    std::optional<ConfiguracaoFalhas> atual_;
    // Its output is fixed by the standard, so a seed means the same failures on every platform.
    std::mt19937_64 gerador_;
};

}  // namespace tessora::api_substituta
