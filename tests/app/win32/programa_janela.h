#pragma once

#include <windows.h>

#include <filesystem>
#include <string>

namespace tessora::testes {

// Asked of the window itself: GetWindowText does not reach another program's controls.
std::wstring Texto(HWND janela);

// Whether the window's tray icon comes to be there (or gone): only an icon that is there can
// be changed.
bool AguardarIconeBandeja(HWND janela, bool presente);

// The window program started from an ERP's program folder, as a user starts it; ended by the
// destructor if a failed expectation left it running.
class ProgramaJanela {
  public:
    explicit ProgramaJanela(const std::filesystem::path& pastaPrograma);
    ~ProgramaJanela();
    ProgramaJanela(const ProgramaJanela&) = delete;
    ProgramaJanela& operator=(const ProgramaJanela&) = delete;

    // The program's top-level window of that class, once it exists (shown or not).
    HWND AguardarJanela(const std::wstring& classe) const;
    DWORD AguardarFim();

  private:
    PROCESS_INFORMATION processo_{};
};

}  // namespace tessora::testes
