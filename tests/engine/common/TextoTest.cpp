#include "common/Texto.h"

#include <gtest/gtest.h>

using namespace zelto;

TEST(Texto, Cp1252RoundTripsEveryByte) {
    std::string todos;
    for (int b = 0; b < 256; ++b) todos += static_cast<char>(b);
    EXPECT_EQ(ParaCp1252(DeCp1252(todos)), todos);
    EXPECT_EQ(DeCp1252("\xB1"), "±");
    EXPECT_EQ(DeCp1252("\x80"), "€");
    EXPECT_EQ(ParaCp1252("Área ×÷"), "\xC1rea \xD7\xF7");
    EXPECT_EQ(ParaCp1252("日"), "?");
    // Invalid UTF-8 is taken as Windows-1252, never dropped.
    EXPECT_EQ(DeCp1252(ParaCp1252("\xE9t\xE9")), "été");
}

TEST(Texto, LengthsAndCutsCountCharacters) {
    EXPECT_EQ(TamanhoCp1252("Ação"), 4u);
    EXPECT_EQ(CortaCp1252("Ação", 2), "Aç");
    EXPECT_EQ(CortaCp1252("ab", 10), "ab");
}

TEST(Texto, CaseOfAccentedLetters) {
    EXPECT_EQ(Maiusculas("mês çã ÿ ÷"), "MÊS ÇÃ Ÿ ÷");
    EXPECT_EQ(Minusculas("ÁREA"), "área");
    EXPECT_TRUE(IguaisSemCaixa("Área", "ÁREA"));
    EXPECT_FALSE(IguaisSemCaixa("Área", "AREA"));
    EXPECT_FALSE(IguaisSemCaixa("ab", "abc"));
}

TEST(Texto, LocalOrderIgnoresCaseAndPlacesAccentsWithTheirLetter) {
    EXPECT_EQ(ComparaTextoLocal("casa", "CASA"), 0);
    EXPECT_LT(ComparaTextoLocal("Ágil", "bola"), 0);
    EXPECT_LT(ComparaTextoLocal("agil", "ágil"), 0); // the accent breaks the tie only
    EXPECT_LT(ComparaTextoLocal("ágil", "agilidade"), 0);
    EXPECT_LT(ComparaTextoLocal("  12", " 100"), 0); // blanks before digits
    EXPECT_LT(ComparaTextoLocal("9", "A"), 0);
    EXPECT_LT(ComparaTextoLocal("abc", "abcd"), 0);
}

TEST(Texto, TrimAndSplit) {
    EXPECT_EQ(Apara("  a b\t\r\n"), "a b");
    EXPECT_EQ(Divide("a|b||", '|'), (std::vector<std::string>{"a", "b", "", ""}));
    EXPECT_EQ(Divide("", '|').size(), 1u);
}
