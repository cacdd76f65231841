// The white space that the order search leaves out around the text typed or pasted.
#include "app/apresentacao/aparar_espacos.h"

#include <gtest/gtest.h>

namespace tessora::app {
namespace {

TEST(AparaEspacosTest, TiraOsEspacosDeQualquerTipoSoDasPontas) {
    const struct {
        const char* texto;
        const char* aparado;
    } casos[] = {
        {"", ""},
        {"p-1", "p-1"},
        {" \t p-1 \t ", "p-1"},
        {"\r\np-1\n\v\f", "p-1"},
        {"p 1", "p 1"},                          // inside, kept
        {"\u00a0p-1\u00a0", "p-1"},              // no-break space
        {"\u2003\u202fp-1\u3000", "p-1"},        // em, narrow no-break, ideographic
        {"\u2028p-1\u2029\u0085", "p-1"},        // line and paragraph separators
        {"\u200bp-1\ufeff", "\u200bp-1\ufeff"},  // zero width: no white space
        {"\x01p-1\x1f", "\x01p-1\x1f"},          // other controls are kept
        {" \u00a0 ", ""},
        {" p-\xc3", "p-\xc3"},  // a byte that is no UTF-8 stops the removal
        {"\xa0 p-1", "\xa0 p-1"},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.texto);
        EXPECT_EQ(AparaEspacos(caso.texto), caso.aparado);
    }
}

}  // namespace
}  // namespace tessora::app
