#pragma once

#include <functional>
#include <streambuf>
#include <string>
#include <string_view>

namespace tessora::plataforma {

// A stream buffer that hands UTF-8 text on as UTF-16, whole lines (or what a flush asks
// for) at a time. A character whose bytes arrive in separate writes is handed on whole.
class SaidaConsole : public std::streambuf {
  public:
    using Escritor = std::function<void(std::wstring_view)>;
    explicit SaidaConsole(Escritor escritor) : escritor_(std::move(escritor)) {}

  protected:
    int_type overflow(int_type caractere) override;
    std::streamsize xsputn(const char* texto, std::streamsize tamanho) override;
    int sync() override;

  private:
    Escritor escritor_;
    std::string pendente_;
};

}  // namespace tessora::plataforma
