#include "plataforma/area_trabalho.h"

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <memory>
#include <system_error>

#include "plataforma/texto_windows.h"

namespace tessora::plataforma {

namespace {
struct LiberarCom {
    void operator()(IUnknown* objeto) const { objeto->Release(); }
};
template <typename Interface>
using PonteiroCom = std::unique_ptr<Interface, LiberarCom>;

// COM for this thread for the length of one call, unless the thread already has it.
class UsoCom {
  public:
    UsoCom() : iniciado_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~UsoCom() {
        if (iniciado_) CoUninitialize();
    }
    UsoCom(const UsoCom&) = delete;
    UsoCom& operator=(const UsoCom&) = delete;

  private:
    bool iniciado_;
};
}  // namespace

std::filesystem::path PastaAreaTrabalho() {
    PIDLIST_ABSOLUTE local = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOPDIRECTORY, &local))) return {};
    wchar_t caminho[MAX_PATH] = {};
    const BOOL convertido = SHGetPathFromIDListW(local, caminho);
    CoTaskMemFree(local);
    return convertido ? std::filesystem::path(caminho) : std::filesystem::path();
}

std::string_view ExtensaoAtalho() { return ".lnk"; }

bool CriarAtalho(const std::filesystem::path& arquivo, const std::filesystem::path& alvo,
                 std::string_view descricao) {
    const UsoCom com;
    IShellLinkW* criado = nullptr;
    const HRESULT resultado = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                               IID_IShellLinkW, reinterpret_cast<void**>(&criado));
    if (FAILED(resultado)) {
        throw std::system_error(static_cast<int>(resultado), std::system_category(),
                                "CoCreateInstance(ShellLink)");
    }
    const PonteiroCom<IShellLinkW> link(criado);
    link->SetDescription(Utf16(descricao).c_str());
    link->SetPath(alvo.c_str());

    IPersistFile* persistencia = nullptr;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persistencia))))
        return false;
    const PonteiroCom<IPersistFile> arquivoLink(persistencia);
    return SUCCEEDED(arquivoLink->Save(arquivo.c_str(), FALSE));
}

}  // namespace tessora::plataforma
