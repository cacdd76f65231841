#include "execucao_programa.h"

#include <windows.h>

#include <stdexcept>

#include "arquivos_teste.h"
#include "pasta_temporaria.h"

namespace tessora::testes {

namespace {
class ArquivoHerdado {
  public:
    explicit ArquivoHerdado(const std::filesystem::path& caminho) {
        SECURITY_ATTRIBUTES herdavel{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        handle_ = CreateFileW(caminho.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &herdavel,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle_ == INVALID_HANDLE_VALUE) throw std::runtime_error("sem " + caminho.string());
    }
    ~ArquivoHerdado() { CloseHandle(handle_); }
    ArquivoHerdado(const ArquivoHerdado&) = delete;
    ArquivoHerdado& operator=(const ArquivoHerdado&) = delete;
    HANDLE Handle() const { return handle_; }

  private:
    HANDLE handle_;
};
}  // namespace

ResultadoPrograma ExecutarPrograma(const std::filesystem::path& programa,
                                   const std::wstring& parametros) {
    const PastaTemporaria pasta("tessora-saidas");
    ResultadoPrograma resultado;
    {
        const ArquivoHerdado saida(pasta.Caminho() / "saida.txt");
        const ArquivoHerdado erros(pasta.Caminho() / "erros.txt");
        STARTUPINFOW inicio{};
        inicio.cb = sizeof inicio;
        inicio.dwFlags = STARTF_USESTDHANDLES;
        inicio.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        inicio.hStdOutput = saida.Handle();
        inicio.hStdError = erros.Handle();
        std::wstring linha = L"\"" + programa.wstring() + L"\" " + parametros;
        PROCESS_INFORMATION processo{};
        if (!CreateProcessW(programa.c_str(), linha.data(), nullptr, nullptr, TRUE, 0, nullptr,
                            nullptr, &inicio, &processo)) {
            throw std::runtime_error("não foi possível iniciar " + programa.string());
        }
        WaitForSingleObject(processo.hProcess, INFINITE);
        DWORD codigo = 0;
        GetExitCodeProcess(processo.hProcess, &codigo);
        resultado.codigo = codigo;
        CloseHandle(processo.hThread);
        CloseHandle(processo.hProcess);
    }
    resultado.saida = LerArquivo(pasta.Caminho() / "saida.txt").value_or("");
    resultado.erros = LerArquivo(pasta.Caminho() / "erros.txt").value_or("");
    return resultado;
}

}  // namespace tessora::testes
