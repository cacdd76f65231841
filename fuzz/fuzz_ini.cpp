// INI files as a crash or another program may leave them: reading never crashes, and a value
// written is the value read back, whatever else the file holds.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "comum/arquivo_ini.h"
#include "comum/gravacao_ini.h"

namespace {
std::filesystem::path ArquivoDoProcesso() {
    static const std::filesystem::path arquivo =
        std::filesystem::temp_directory_path() /
        ("tessora-fuzz-ini-" + std::to_string(getpid()) + ".ini");
    return arquivo;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho) {
    const auto arquivo = ArquivoDoProcesso();
    {
        std::ofstream saida(arquivo, std::ios::binary | std::ios::trunc);
        saida.write(reinterpret_cast<const char*>(dados), static_cast<std::streamsize>(tamanho));
    }
    const tessora::ArquivoIni antes(arquivo);
    static_cast<void>(antes.Ler("AppForcaVendas", "TempoEsperaAtualizacao"));
    static_cast<void>(antes.Procurar("Database", "path"));

    tessora::GravarValoresIni(arquivo, "AppForcaVendas",
                              {{"ProcessoAtivo", "S"}, {"TempoEsperaAtualizacao", "17"}});
    const tessora::ArquivoIni depois(arquivo);
    if (depois.Ler("AppForcaVendas", "ProcessoAtivo") != "S") std::abort();
    if (depois.Ler("appforcavendas", "TEMPOESPERAATUALIZACAO") != "17") std::abort();
    return 0;
}
