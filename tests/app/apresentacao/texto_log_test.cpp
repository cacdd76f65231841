// The processing log's line breaks, in the log control's own.
#include "app/apresentacao/texto_log.h"

#include <gtest/gtest.h>

namespace tessora::app {
namespace {

TEST(TextoLogTest, QuebrasDeQualquerTipoViramAsDoControle) {
    const struct {
        const char* linha;
        const char* comLf;
        const char* comCrLf;
    } casos[] = {
        {"uma linha", "uma linha", "uma linha"},
        {"a\r\nb\rc\nd", "a\nb\nc\nd", "a\r\nb\r\nc\r\nd"},
        {"a\n\r\nb", "a\n\nb", "a\r\n\r\nb"},  // LF then CR LF: two breaks
        {"a\n\rb", "a\n\nb", "a\r\n\r\nb"},    // LF CR is no pair
        {"\r\n", "\n", "\r\n"},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.linha);
        EXPECT_EQ(LinhaDoLog(caso.linha, "\n"), caso.comLf);
        EXPECT_EQ(LinhaDoLog(caso.linha, "\r\n"), caso.comCrLf);
    }
}

TEST(TextoLogTest, CopiaTemCadaLinhaComSeuFim) {
    EXPECT_EQ(CopiaDoLog("", "\r\n"), "");
    EXPECT_EQ(CopiaDoLog("a\r\nb", "\r\n"), "a\r\nb\r\n");
    EXPECT_EQ(CopiaDoLog("a\nb", "\n"), "a\nb\n");
}

}  // namespace
}  // namespace tessora::app
