// Runs the substitute API for a test program under Wine. Wine starts Linux programs, but
// without a handle to wait for or end them and without the standard handles it was given,
// so the two talk through files in a folder of the test's:
//
//   tessoraApiSubstitutaAuxiliar CANAL [--tls 1.2|1.3] [--nomes SUBJECT_ALT_NAMES]
//                                [--inicio SECONDS] [--fim SECONDS]
//
// Once the server listens it writes CANAL/apresentacao with "porta=N" and "pasta=FOLDER" (the
// folder of the state, rules and request log files that the test reads and writes), and it
// serves while the test keeps renewing CANAL/ativo: a test that ended, however it ended, stops
// renewing it within seconds.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>

#include "api_substituta.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "uso: tessoraApiSubstitutaAuxiliar CANAL [opções]\n";
        return 2;
    }
    const fs::path canal = argv[1];
    tessora::testes::OpcoesApiSubstituta opcoes;
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string nome = argv[i];
        const std::string valor = argv[i + 1];
        if (nome == "--tls") {
            opcoes.versaoTls = valor;
        } else if (nome == "--nomes") {
            opcoes.nomesCertificado = valor;
        } else if (nome == "--inicio") {
            opcoes.validade.first = std::chrono::seconds(std::stoll(valor));
        } else if (nome == "--fim") {
            opcoes.validade.second = std::chrono::seconds(std::stoll(valor));
        } else {
            std::cerr << "tessoraApiSubstitutaAuxiliar: argumento inesperado: " << nome << "\n";
            return 2;
        }
    }
    const tessora::testes::ApiSubstituta api("{}", opcoes);
    {
        std::ofstream(canal / "apresentacao.tmp")
            << "porta=" << api.Porta()
            << "\npasta=" << fs::path(api.ArquivoCertificado()).parent_path().string() << "\n";
    }
    fs::rename(canal / "apresentacao.tmp", canal / "apresentacao");
    for (;;) {
        std::error_code erro;
        const auto renovado = fs::last_write_time(canal / "ativo", erro);
        if (erro || fs::file_time_type::clock::now() - renovado > std::chrono::seconds(5)) return 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}
