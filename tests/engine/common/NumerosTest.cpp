#include "common/Numeros.h"

#include <gtest/gtest.h>

using namespace zelto;

TEST(Numeros, FixedAndThousands) {
    struct Caso {
        long double x;
        int d;
        const char *fixo, *milhar;
    } casos[] = {
        {1234.5L, 2, "1234,50", "1.234,50"},
        {-1234567.891L, 1, "-1234567,9", "-1.234.567,9"},
        {0.125L, 2, "0,13", "0,13"}, // 0.125 is exact: rounds half away from zero
        {-0.001L, 2, "0,00", "0,00"},
        {999.996L, 2, "1000,00", "1.000,00"},
        {12.0L, -3, "12", "12"},
        {100.0L, 0, "100", "100"},
    };
    for (const auto &c : casos) {
        EXPECT_EQ(FormatoFixo(c.x, c.d), c.fixo) << static_cast<double>(c.x);
        EXPECT_EQ(FormatoMilhar(c.x, c.d), c.milhar) << static_cast<double>(c.x);
    }
    // Never more than 18 significant digits.
    EXPECT_EQ(FormatoFixo(1.0L / 3, 25), "0,333333333333333333");
    EXPECT_EQ(FormatoFixo(123456789.0L, 12), "123456789,000000000000");
    EXPECT_EQ(FormatoFixo(1234567890123.4567L, 9), "1234567890123,456700000");
}

TEST(Numeros, ScientificAndSignificant) {
    EXPECT_EQ(FormatoCientifico(0, 3), "0");
    EXPECT_EQ(FormatoCientifico(1500, 2), "1,50###3%");
    EXPECT_EQ(FormatoCientifico(-0.00025L, 1), "-2,5###-4%");
    EXPECT_EQ(FormatoSignificativo(0, 4), "0");
    EXPECT_EQ(FormatoSignificativo(1234.5678L, 4), "1235");
    EXPECT_EQ(FormatoSignificativo(12.345678L, 4), "12,35");
    EXPECT_EQ(FormatoSignificativo(0.5L, 3), "0,50");
    EXPECT_EQ(FormatoSignificativo(0.05L, 3), "0,050");
    EXPECT_EQ(FormatoSignificativo(123456789, 3), "1,23###8%");
    EXPECT_EQ(FormatoSignificativo(0.001234L, 3), "1,23###-3%");
    EXPECT_EQ(FormatoSignificativo(7, 0), "7");
}

TEST(Numeros, TrimTrailingZeros) {
    EXPECT_EQ(RemoveZerosFinais("12,500"), "12,5");
    EXPECT_EQ(RemoveZerosFinais("12,000"), "12");
    EXPECT_EQ(RemoveZerosFinais("1200"), "1200");
    EXPECT_EQ(RemoveZerosFinais("1,50###3%"), "1,5###3%");
    EXPECT_EQ(RemoveZerosFinais("1,00###-3%"), "1###-3%");
}

TEST(Numeros, GeneralRendering) {
    EXPECT_EQ(FormatoGeral(0.1L), "0,1");
    EXPECT_EQ(FormatoGeral(-2.5L), "-2,5");
    EXPECT_EQ(FormatoGeral(1e20L), "1E20");
    EXPECT_EQ(FormatoGeral(1.5e-7L), "1,5E-7");
    EXPECT_EQ(FormatoGeral(123456), "123456");
    EXPECT_EQ(FormatoGeral(1.0L / 3), "0,333333333333333");
}

TEST(Numeros, Reading) {
    long double x = -1;
    EXPECT_TRUE(ConverteNumero(" 1234,5 ", x));
    EXPECT_EQ(x, 1234.5L);
    EXPECT_TRUE(ConverteNumero("-,5", x));
    EXPECT_EQ(x, -0.5L);
    EXPECT_TRUE(ConverteNumero("+2,5e+3", x));
    EXPECT_EQ(x, 2500.0L);
    EXPECT_TRUE(ConverteNumero("1E-2", x));
    EXPECT_EQ(x, 0.01L);
    x = 7;
    for (const char *mau : {"", " ", "1.5", "1,2,3", "abc", "1e", ",", "1e99999", "12a"}) {
        EXPECT_FALSE(ConverteNumero(mau, x)) << mau;
        EXPECT_EQ(x, 7.0L);
    }
    long long n = 0;
    EXPECT_TRUE(ConverteInteiro(" -42", n));
    EXPECT_EQ(n, -42);
    EXPECT_FALSE(ConverteInteiro("4,2", n));
    EXPECT_FALSE(ConverteInteiro("99999999999999999999", n));
}
