#include "common/Marcacao.h"

#include <gtest/gtest.h>

using namespace zelto;

namespace {

// The runs in short: "T:" plain, "S:" superscript, "P:" mantissa "^" exponent, "I:" infinity
// (with the mantissa it replaces), joined by "|".
std::string Runs(std::string_view texto) {
    std::string r;
    for (const TTrechoMarcacao &t : DivideMarcacao(texto)) {
        if (!r.empty()) r += '|';
        switch (t.Tipo) {
        case TTrechoMarcacao::Simples: r += "T:" + t.Texto; break;
        case TTrechoMarcacao::Sobrescrito: r += "S:" + t.Texto; break;
        case TTrechoMarcacao::Potencia: r += "P:" + t.Texto + "^" + t.Expoente; break;
        case TTrechoMarcacao::Infinito: r += "I:" + t.Texto; break;
        }
    }
    return r;
}

} // namespace

// One line per rule: the runs, the plain text and the text shown (for measuring).
TEST(Marcacao, Regras) {
    const std::string lit = Literal(std::string_view("v###5%")), pct = Literal(std::string_view("a%"));
    struct Caso {
        std::string texto, runs, simples, visivel;
    } casos[] = {
        {"", "", "", ""},
        {"sem marca", "T:sem marca", "sem marca", "sem marca"},
        {"[Área]%^%1/2%", "T:[Área]|S:1/2", "[Área]^(1/2)", "[Área]1/2"},
        {"Valor 1,50###3% reais", "T:Valor |P:1,50^3|T: reais", "Valor 1,50x10^3 reais", "Valor 1,50x103 reais"},
        {"2.5###-2%", "P:2.5^-2", "2.5x10^-2", "2.5x10-2"},
        // the infinite marker: the sign and the words before it stay, the mantissa goes
        {"Valor -1,18###4932% reais", "T:Valor -|I:1,18|T: reais", "Valor -∞ reais", "Valor -1,18x104932 reais"},
        {"1###49320%", "P:1^49320", "1x10^49320", "1x1049320"}, // only 4932 itself is infinite
        // a mantissa is the digits, "," and "." just before, never past the previous mark
        {"x###2%", "T:x|P:^2", "xx10^2", "xx102"},
        {"%^%2%3###4%", "S:2|P:3^4", "^(2)3x10^4", "23x104"},
        {"a 1###4932% b 2###5%", "T:a |I:1|T: b |P:2^5", "a ∞ b 2x10^5", "a 1x104932 b 2x105"},
        // empty contents stay marks
        {"1###%", "P:1^", "1x10^", "1x10"},
        {"a%^%%b", "T:a|S:|T:b", "a^()b", "ab"},
        // "%" and "#" outside a mark are text; the first "%" after a mark closes it
        {"10% de 1###2%", "T:10% de |P:1^2", "10% de 1x10^2", "10% de 1x102"},
        {"50%", "T:50%", "50%", "50%"},
        {"%", "T:%", "%", "%"},
        {"# 1", "T:# 1", "# 1", "# 1"},
        {"1###2%%", "P:1^2|T:%", "1x10^2%", "1x102%"},
        {"1###%^%2%", "P:1^|T:^%2%", "1x10^^%2%", "1x10^%2%"},
        // marks do not nest
        {"%^%a###2%b%", "S:a###2|T:b%", "^(a###2)b%", "a###2b%"},
        {"####5%", "P:^#5", "x10^#5", "x10#5"},
        // a mark never closed is text, literally, to the end
        {"1,23###7", "T:1,23###7", "1,23###7", "1,23###7"},
        {"a%^%b", "T:a%^%b", "a%^%b", "a%^%b"},
        {"a###-3%b%^%x", "T:a|P:^-3|T:b%^%x", "ax10^-3b%^%x", "ax10-3b%^%x"},
        {"1###2%^%x", "P:1^2|T:^%x", "1x10^2^%x", "1x102^%x"},
        // typed text inside composed marks: as typed, while the marks around it still apply
        {lit + "%^%2%", "T:v###5%|S:2", "v###5%^(2)", "v###5%2"},
        {"1###" + pct + "%", "P:1^a%", "1x10^a%", "1x10a%"},
        {lit, "T:v###5%", "v###5%", "v###5%"},
    };
    for (const Caso &c : casos) {
        EXPECT_EQ(Runs(c.texto), c.runs) << c.texto;
        EXPECT_EQ(TextoSimples(c.texto), c.simples) << c.texto;
        EXPECT_EQ(TextoVisivel(c.texto), c.visivel) << c.texto;
    }
}

// Literal text holds no mark character and comes back as typed, the escape character included.
TEST(Marcacao, LiteralVoltaComoDigitado) {
    const std::string esc(EscapeLiteralUtf8);
    for (const std::string &t : {std::string("Matrícula ### a confirmar; 10%"), std::string("%^%"),
                                 esc + "h%" + esc + esc + "p", esc, std::string("ação")}) {
        const std::string l = Literal(t);
        EXPECT_EQ(l.find_first_of("#%"), std::string::npos) << t;
        EXPECT_EQ(Desfaz(l), t) << t;
        EXPECT_EQ(TextoSimples(l), t) << t;
    }
    EXPECT_EQ(Desfaz(esc + "x" + esc), esc + "x" + esc); // a stray escape stays
}
