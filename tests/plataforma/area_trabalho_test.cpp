#include "plataforma/area_trabalho.h"

#include <gtest/gtest.h>

#include <optional>

#include "arquivos_teste.h"
#include "banco_teste.h"

namespace tessora::plataforma {
namespace {

TEST(AreaTrabalhoTest, PastaVemDaConfiguracaoDoUsuarioOuEhDesktop) {
    testes::PastaTemporaria pasta("tessora-desktop");
    const auto casa = pasta.Caminho() / "casa";
    testes::VariavelAmbiente home("HOME", casa.string());
    testes::VariavelAmbiente config("XDG_CONFIG_HOME", std::nullopt);
    const auto dirs = casa / ".config" / "user-dirs.dirs";

    struct Caso {
        std::optional<std::string> conteudo;
        std::filesystem::path esperada;
    };
    const Caso casos[] = {
        {std::nullopt, casa / "Desktop"},
        {"# gerado\nXDG_DOCUMENTS_DIR=\"$HOME/Documentos\"\nXDG_DESKTOP_DIR=\"$HOME/Área de "
         "trabalho\"\n",
         casa / "Área de trabalho"},
        {"XDG_DESKTOP_DIR=\"/srv/mesa\"\n", "/srv/mesa"},
        {"XDG_DESKTOP_DIR=\"$HOME/Mesa \\\"1\\\"\"\n", casa / "Mesa \"1\""},
        {"XDG_DESKTOP_DIR=\"$HOME\"\n", casa},
        {"XDG_DESKTOP_DIR=\"relativa\"\n", casa / "Desktop"},  // neither $HOME nor absolute
        {"XDG_DESKTOP_DIR=\"$HOME/sem fim\n", casa / "Desktop"},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.conteudo.value_or("(sem arquivo)"));
        std::filesystem::remove(dirs);
        if (caso.conteudo) testes::GravarArquivo(dirs, *caso.conteudo);
        EXPECT_EQ(PastaAreaTrabalho(), caso.esperada);
    }

    testes::VariavelAmbiente outraConfig("XDG_CONFIG_HOME", (pasta.Caminho() / "cfg").string());
    testes::GravarArquivo(pasta.Caminho() / "cfg" / "user-dirs.dirs",
                          "XDG_DESKTOP_DIR=\"$HOME/Outra\"\n");
    EXPECT_EQ(PastaAreaTrabalho(), casa / "Outra");
}

TEST(AreaTrabalhoTest, AtalhoEhUmLancadorExecutavelQueProtegeOCaminho) {
    testes::PastaTemporaria pasta("tessora-atalho");
    const auto arquivo = pasta.Caminho() / ("Novo tessoraService" + std::string(ExtensaoAtalho()));
    testes::GravarArquivo(arquivo, "atalho antigo");

    ASSERT_TRUE(CriarAtalho(arquivo, "/opt/ERP \"$x\" 100%/a\\b/tessoraService", "tessoraService"));
    EXPECT_EQ(
        testes::LerArquivo(arquivo),
        "[Desktop Entry]\nType=Application\nName=tessoraService\n"
        "Exec=\"/opt/ERP \\\\\"\\\\$x\\\\\" 100%%/a\\\\\\\\b/tessoraService\"\nTerminal=false\n");
    const auto permissoes = std::filesystem::status(arquivo).permissions();
    EXPECT_NE(permissoes & std::filesystem::perms::owner_exec, std::filesystem::perms::none);

    EXPECT_FALSE(CriarAtalho(pasta.Caminho() / "nao-existe" / "x.desktop", "/bin/true", "x"));
}

}  // namespace
}  // namespace tessora::plataforma
