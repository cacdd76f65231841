// The minutes field's arrows and the edits it lets through.
#include "app/apresentacao/regras_campo_minutos.h"

#include <gtest/gtest.h>

namespace tessora::app {
namespace {

TEST(RegrasCampoMinutosTest, SetasAndamDentroDoQueOTemporizadorAceita) {
    const struct {
        const char* texto;
        int passos;
        const char* depois;
        bool sobe, desce;  // the arrows enabled before the steps
    } casos[] = {
        {"5", 1, "6", true, true},
        {"5", -2, "3", true, true},
        {"0", -1, "0", true, false},
        {"1", -5, "0", true, true},
        {"35790", 3, "35791", true, true},
        {"35791", 1, "35791", false, true},
        {"99999", -1, "35791", false, true},  // a settings file's number beyond the range
        {"-4", 1, "0", true, false},
        {"  7", 1, "8", true, true},  // blanks before a number, as the timer reads it
        {"7 ", 1, "1", true, false},  // no whole number: counts as 0
        {"abc", -1, "0", true, false},
        {"", 1, "1", true, false},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(std::string(caso.texto) + " by " + std::to_string(caso.passos));
        EXPECT_EQ(MinutosAposPassos(caso.texto, caso.passos), caso.depois);
        EXPECT_EQ(PodeSubirMinutos(caso.texto), caso.sobe);
        EXPECT_EQ(PodeDescerMinutos(caso.texto), caso.desce);
    }
}

TEST(RegrasCampoMinutosTest, EdicaoSoAcrescentaAlgarismos) {
    const struct {
        const char* anterior;
        const char* editado;
        bool aceita;
    } casos[] = {
        {"5", "56", true},     {"5", "5a", false},
        {"5", "-5", false},    {"5", "", true},
        {"1x0", "10", true},  // a text from the settings file corrected
        {"1x0", "1x09", true}, {"1x0", "1y0", false},
        {"x-y", "y-x", false},  // its other characters never change order
        {"x-y", "x9y", true},  {"é5", "é", true},
        {"é5", "e5", false},   {"Ã©", "é", false},  // characters, not their bytes
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(std::string(caso.anterior) + " -> " + caso.editado);
        EXPECT_EQ(EdicaoMinutosAceita(caso.anterior, caso.editado), caso.aceita);
    }
}

}  // namespace
}  // namespace tessora::app
