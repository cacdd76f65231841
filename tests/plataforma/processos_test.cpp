#include "plataforma/processos.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>

#include "arquivos_teste.h"
#include "banco_teste.h"

namespace tessora::plataforma {
namespace {

using namespace std::chrono_literals;

bool Aguardar(const std::function<bool()>& condicao, std::chrono::milliseconds limite) {
    for (const auto fim = std::chrono::steady_clock::now() + limite; !condicao();) {
        if (std::chrono::steady_clock::now() > fim) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

TEST(ProcessosTest, ProgramaIniciadoRecebeOsParametrosSeparadosEmSessaoPropriaSemNossosArquivos) {
    testes::PastaTemporaria pasta("tessora-processos");
    const auto saida = pasta.Caminho() / "saida.txt";
    const auto script = pasta.Caminho() / "programa.sh";
    testes::GravarArquivo(
        script,
        "#!/bin/sh\n"
        "read -r pid comm estado pai grupo sessao resto < /proc/$$/stat\n"
        "herdado=nao; [ -e /proc/$$/fd/$1 ] && herdado=sim\n"
        "shift\n"
        "{ printf '%s|' \"$@\"; echo; [ \"$sessao\" = \"$$\" ] && echo sessao-propria; "
        "echo herdado=$herdado; } > \"" +
            (pasta.Caminho() / "parcial").string() +
            "\"\n"
            "mv \"" +
            (pasta.Caminho() / "parcial").string() + "\" \"" + saida.string() + "\"\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);

    const int aberto = ::open(script.c_str(), O_RDONLY);  // inheritable on purpose
    ASSERT_GE(aberto, 3);
    ASSERT_TRUE(
        IniciarPrograma(script, std::to_string(aberto) + " @F1 @M/srv/a§b  @EC:\\x @Anome"));
    ::close(aberto);
    ASSERT_TRUE(Aguardar([&] { return std::filesystem::exists(saida); }, 10s));
    EXPECT_EQ(testes::LerArquivo(saida),
              "@F1|@M/srv/a§b|@EC:\\x|@Anome|\nsessao-propria\nherdado=nao\n");

    EXPECT_FALSE(IniciarPrograma(pasta.Caminho() / "nao-existe", ""));
}

TEST(ProcessosTest, ExecutavelEmExecucaoAcompanhaOProcessoQueORoda) {
    testes::PastaTemporaria pasta("tessora-execucao");
    const auto programa = pasta.Caminho() / "espera";
    std::filesystem::copy_file("/bin/sleep", programa);
    EXPECT_FALSE(ExecutavelEmExecucao(programa));

    ASSERT_TRUE(IniciarPrograma(programa, "1"));
    EXPECT_TRUE(Aguardar([&] { return ExecutavelEmExecucao(programa); }, 5s));
    EXPECT_TRUE(Aguardar([&] { return !ExecutavelEmExecucao(programa); }, 10s));
}

}  // namespace
}  // namespace tessora::plataforma
