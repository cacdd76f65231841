#include "script_sql.h"

#include <fstream>
#include <sstream>

#include "comum/erros.h"
#include "comum/texto.h"
#include "db/consulta.h"
#include "db/criacao_banco.h"

namespace tessora::ferramentas {

namespace {
bool ComecaCom(std::string_view texto, std::string_view prefixo) {
    return texto.size() >= prefixo.size() &&
           IguaisSemCaixaAscii(texto.substr(0, prefixo.size()), prefixo);
}

// isql's own commands; "SET GENERATOR" and "SET STATISTICS" are real statements.
bool ComandoDoIsql(std::string_view comando) {
    for (const std::string_view prefixo :
         {"SET SQL DIALECT", "SET NAMES", "SET AUTODDL", "SET ECHO", "SET LIST"}) {
        if (ComecaCom(comando, prefixo)) return true;
    }
    return IguaisSemCaixaAscii(comando, "COMMIT");
}

std::string SemComentarios(std::string_view script) {
    std::string limpo;
    std::istringstream linhas{std::string(script)};
    for (std::string linha; std::getline(linhas, linha);) {
        if (ComecaCom(AparaBrancos(linha), "--")) continue;
        limpo += linha;
        limpo += '\n';
    }
    return limpo;
}
}  // namespace

std::vector<std::string> DividirScriptSql(std::string_view script) {
    const std::string texto = SemComentarios(script);
    std::vector<std::string> comandos;
    std::string terminador = ";";
    std::string atual;
    bool emAspas = false;
    for (size_t i = 0; i < texto.size(); ++i) {
        if (texto[i] == '\'') emAspas = !emAspas;
        if (!emAspas && texto.compare(i, terminador.size(), terminador) == 0) {
            const std::string comando(AparaBrancos(atual));
            atual.clear();
            i += terminador.size() - 1;
            if (ComecaCom(comando, "SET TERM")) {
                terminador = std::string(AparaBrancos(std::string_view(comando).substr(8)));
            } else if (!comando.empty() && !ComandoDoIsql(comando)) {
                comandos.push_back(comando);
            }
            continue;
        }
        atual += texto[i];
    }
    if (!AparaBrancos(atual).empty()) throw Erro("Comando sem terminador no fim do script");
    return comandos;
}

void ExecutarScriptSql(db::ConexaoErp& conexao, const std::filesystem::path& arquivo) {
    std::ifstream entrada(arquivo, std::ios::binary);
    if (!entrada) throw Erro("Script não encontrado: " + arquivo.string());
    std::ostringstream conteudo;
    conteudo << entrada.rdbuf();
    db::Consulta consulta(conexao);
    for (const auto& comando : DividirScriptSql(conteudo.str())) {
        try {
            db::ExecutarComando(consulta, comando, db::Confirmacao::Retendo);
        } catch (const ErroBancoDados& e) {
            throw ErroBancoDados(arquivo.filename().string() + ": " + e.what() + "\n" + comando);
        }
    }
}

void CriarBancoErp(std::string_view nomeBanco, const std::vector<std::filesystem::path>& scripts) {
    db::CriarBancoDados(nomeBanco);
    db::ConexaoErp conexao(nomeBanco);
    conexao.Abrir();
    for (const auto& script : scripts) ExecutarScriptSql(conexao, script);
    conexao.Fechar();
}

}  // namespace tessora::ferramentas
