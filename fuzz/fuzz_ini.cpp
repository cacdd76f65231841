// INI files as a crash or another program may leave them: reading never crashes, and a value
// written is the value read back, whatever else the file holds. The file's content stays in
// memory: the reader and the writer parse it as they parse a file's.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "comum/arquivo_ini.h"
#include "comum/gravacao_ini.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t tamanho) {
    const std::string_view conteudo(reinterpret_cast<const char*>(dados), tamanho);
    const auto antes = tessora::ArquivoIni::DoConteudo(conteudo);
    static_cast<void>(antes.Ler("AppForcaVendas", "TempoEsperaAtualizacao"));
    static_cast<void>(antes.Procurar("Database", "path"));

    const std::string gravado = tessora::ComValoresIni(
        conteudo, "AppForcaVendas", {{"ProcessoAtivo", "S"}, {"TempoEsperaAtualizacao", "17"}});
    const auto depois = tessora::ArquivoIni::DoConteudo(gravado);
    if (depois.Ler("AppForcaVendas", "ProcessoAtivo") != "S") std::abort();
    if (depois.Ler("appforcavendas", "TEMPOESPERAATUALIZACAO") != "17") std::abort();
    return 0;
}
