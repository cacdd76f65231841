#include "plataforma/saida_console_windows.h"

#include "plataforma/texto_windows.h"

namespace tessora::plataforma {

namespace {
// The length of the text without a character cut short at its end.
size_t SemCaractereIncompleto(std::string_view texto) {
    for (size_t recuo = 1; recuo <= 3 && recuo <= texto.size(); ++recuo) {
        const auto byte = static_cast<unsigned char>(texto[texto.size() - recuo]);
        if ((byte & 0xC0) == 0x80) continue;  // a continuation byte: look further back
        const size_t comprimento = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return comprimento > recuo ? texto.size() - recuo : texto.size();
    }
    return texto.size();
}
}  // namespace

SaidaConsole::int_type SaidaConsole::overflow(int_type caractere) {
    if (traits_type::eq_int_type(caractere, traits_type::eof()))
        return traits_type::not_eof(caractere);
    const char byte = traits_type::to_char_type(caractere);
    xsputn(&byte, 1);
    return caractere;
}

std::streamsize SaidaConsole::xsputn(const char* texto, std::streamsize tamanho) {
    const std::string_view novo(texto, static_cast<size_t>(tamanho));
    pendente_ += novo;
    if (novo.find('\n') != std::string_view::npos) sync();
    return tamanho;
}

int SaidaConsole::sync() {
    const size_t completo = SemCaractereIncompleto(pendente_);
    if (completo > 0) escritor_(Utf16(std::string_view(pendente_).substr(0, completo)));
    pendente_.erase(0, completo);
    return 0;
}

}  // namespace tessora::plataforma
