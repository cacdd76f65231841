#include "comum/inteiros.h"

#include <gtest/gtest.h>

#include <string>

#include "comum/erros.h"

namespace tessora {
namespace {

constexpr std::optional<int32_t> nada = std::nullopt;

TEST(InteirosTest, CadaRegraSoDifereNosBrancosEmVolta) {
    struct Caso {
        const char* texto;
        std::optional<int32_t> decimal, aposBrancos, entreBrancos;
    };
    const Caso casos[] = {
        {"5", 5, 5, 5},
        {"05", 5, 5, 5},
        {"+2", 2, 2, 2},
        {"-7", -7, -7, -7},
        {"2147483647", 2147483647, 2147483647, 2147483647},
        {"-2147483648", -2147483647 - 1, -2147483647 - 1, -2147483647 - 1},
        {" 7", nada, 7, 7},
        {"\t 0", nada, 0, 0},
        {"42   ", nada, nada, 42},
        {" 9\r\n", nada, nada, 9},
        // Never a value cut to fit, nor a number read from what only begins like one.
        {"2147483648", nada, nada, nada},
        {"-2147483649", nada, nada, nada},
        {"", nada, nada, nada},
        {"  ", nada, nada, nada},
        {"-", nada, nada, nada},
        {"+-1", nada, nada, nada},
        {"++1", nada, nada, nada},
        {"+ 1", nada, nada, nada},
        {"1,5", nada, nada, nada},
        {"12.5000", nada, nada, nada},
        {"1e3", nada, nada, nada},
        {"0x10", nada, nada, nada},
        {"4 2", nada, nada, nada},
        {"abc", nada, nada, nada},
    };
    for (const Caso& caso : casos) {
        EXPECT_EQ(InteiroDecimal(caso.texto), caso.decimal) << '"' << caso.texto << '"';
        EXPECT_EQ(InteiroAposBrancos(caso.texto), caso.aposBrancos) << '"' << caso.texto << '"';
        EXPECT_EQ(InteiroEntreBrancos(caso.texto), caso.entreBrancos) << '"' << caso.texto << '"';
    }
}

TEST(InteirosTest, ExigirInteiroNomeiaOTextoRecusado) {
    EXPECT_EQ(ExigirInteiro(" 42 ", InteiroEntreBrancos), 42);
    try {
        static_cast<void>(ExigirInteiro("7 ", InteiroAposBrancos));
        ADD_FAILURE() << "a blank after the number was taken";
    } catch (const ErroConversao& e) {
        EXPECT_STREQ(e.what(), "'7 ' is not a valid integer value");
    }
}

}  // namespace
}  // namespace tessora
