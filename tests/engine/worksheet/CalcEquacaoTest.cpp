#include "worksheet/CalcEquacao.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <map>
#include <set>
#include <stdexcept>
#include <vector>

using namespace zelto;

namespace {

struct Caso {
    const char *formula;
    double valor;        // expected value when codigo is 0
    std::uint8_t codigo; // expected error code
};

void Confere(TCalcEquacao &calc, const Caso &c) {
    calc.Equacao = c.formula;
    double x = calc.Avalia();
    EXPECT_EQ(calc.Erro(), c.codigo) << c.formula << " -> " << NomeErroEquacao(calc.Erro());
    if (c.codigo == SEM_ERRO)
        EXPECT_NEAR(x, c.valor, 1e-14 * std::max(1.0, std::fabs(c.valor))) << c.formula;
    else
        EXPECT_EQ(x, 0.0) << c.formula;
}

constexpr double Pi = 3.141592653589793;

} // namespace

TEST(CalcEquacao, FormulasWithoutWorksheet) {
    const Caso casos[] = {
        // Numbers and the decimal comma.
        {"2,5*2", 5, 0},
        {"2.5*2", 5, 0},
        {",5", 0.5, 0},
        {"1,2,3", 0, ERRO_DUPLO_DECIMAL},
        {"1.2,3", 0, ERRO_DUPLO_DECIMAL},
        {"1E5", 0, ERR_SYNTAXE_ERRADA}, // no exponent notation
        {" 1 + 2 ", 3, 0},
        {"2 × 3 ÷ 4", 1.5, 0},
        // Splitting and precedence.
        {"1-2-3", -4, 0},
        {"-2^2", -4, 0},
        {"2*3^2", 18, 0},
        {"2^3^2", 0, ERR_SYNTAXE_ERRADA},
        {"4/2/2", 1, 0},
        {"(2+3)*(4-1)", 15, 0},
        {"10-(2-3)", 11, 0},
        {"-(2+3)", -5, 0},
        {"2*-3", 0, ERR_SYNTAXE_ERRADA},
        {"1+2>2", 1, 0},
        {"2*3>5", 1, 0},
        {"2*3*1>5", 0, ERR_SYNTAXE_ERRADA},
        {"(1>0)*2*3", 6, 0},
        // Comparisons.
        {"2<3", 1, 0},
        {"2>3", 0, 0},
        {"2=2", 1, 0},
        {"1<=2", 1, 0},
        {"3<=2", 0, 0},
        {"2>=3", 0, 0},
        {"3>=3", 1, 0},
        {"1<>2", 1, 0},
        {"1><1", 0, 0},
        {"2>1=1", 1, 0},
        {"1=<2", 0, ERR_SYNTAXE_ERRADA},
        {"1=>2", 0, ERR_SYNTAXE_ERRADA},
        {"1==2", 0, ERR_SYNTAXE_ERRADA},
        // Faults.
        {"(1+2", 0, ERR_PARENTESE_ERRADO},
        {"2*(3", 0, ERR_PARENTESE_ERRADO},
        {"1)", 0, ERR_PARENTESE_ERRADO},
        {")(", 0, ERR_PARENTESE_ERRADO},
        {"", 0, ERRO_EXPRESSAO_VAZIA},
        {"   ", 0, ERRO_EXPRESSAO_VAZIA},
        {"3*", 0, ERR_SYNTAXE_ERRADA},
        {"1+", 0, ERR_SYNTAXE_ERRADA},
        {"1/0", 0, ERRO_DIVISAO_POR_ZERO},
        {"1/(2-2)", 0, ERRO_DIVISAO_POR_ZERO},
        {"0^(0-1)", 0, ERRO_DIVISAO_POR_ZERO},
        {"(0-8)^(1/3)", 0, ERRO_OP_INVALIDO},
        {"10^400", 0, ERRO_OVERFLOW},
        {"10^300*10^300/10^300", 1e300, 0}, // the product fits the extended intermediate
        {"1/0+SQR(0-1)", 0, ERRO_DIVISAO_POR_ZERO},
        {"SQR(0-1)+1/0", 0, ERRO_OP_INVALIDO},
        {"X+1", 0, ERR_SYNTAXE_ERRADA}, // no resolver
        {"ABS", 0, ERR_SYNTAXE_ERRADA},
        {"PI(2)", 0, ERR_SYNTAXE_ERRADA},
        {"SQR(4)2", 0, ERR_SYNTAXE_ERRADA},
        {"SQR()", 0, ERRO_EXPRESSAO_VAZIA},
        // Every function and constant.
        {"MSGBOX(oi)+1", 1, 0},
        {"MSGBOXCALC(2)+1", 1, 0},
        {"ABS(-3)", 3, 0},
        {"ATN(1)", Pi / 4, 0},
        {"COS(0)", 1, 0},
        {"SIN(PI/2)", 1, 0},
        {"SENO(PI/6)", 0.5, 0},
        {"TAN(PI/4)", 1, 0},
        {"COTAN(PI/4)", 1, 0},
        {"COTAN(0)", 0, ERRO_DIVISAO_POR_ZERO},
        {"SEC(0)", 1, 0},
        {"COSEC(PI/2)", 1, 0},
        {"COSEC(0)", 0, ERRO_DIVISAO_POR_ZERO},
        {"ARCSIN(1)", Pi / 2, 0},
        {"ARCSENO(0,5)", 0.5235987755982988, 0},
        {"ARCSIN(2)", 0, ERRO_OP_INVALIDO},
        {"ARCCOS(0)", Pi / 2, 0},
        {"ARCCOSSENO(1)", 0, 0},
        {"ARCSEC(2)", 1.0471975511965976, 0},
        {"ARCSEC(-2)", 2.0943951023931953, 0},
        {"ARCSEC(0,5)", 0, ERRO_OP_INVALIDO},
        {"ARCCOSEC(2)", 0.5235987755982988, 0},
        {"ARCCOSEC(-2)", -0.5235987755982988, 0},
        {"ARCCOTAN(1)", Pi / 4, 0},
        {"ARCCOTAN(-1)", 2.356194490192345, 0},
        {"HSIN(1)", 1.1752011936438014, 0},
        {"HCOS(1)", 1.5430806348152437, 0},
        {"HTAN(1)", 0.7615941559557649, 0},
        {"HARCSIN(1)", 0.881373587019543, 0},
        {"HARCCOS(2)", 1.3169578969248166, 0},
        {"HARCCOS(0,5)", 0, ERRO_OP_INVALIDO},
        {"HARCTAN(0,5)", 0.5493061443340548, 0},
        {"HARCTAN(1)", 0, ERRO_DIVISAO_POR_ZERO},
        {"HSEC(1)", 0.6480542736638855, 0},
        {"HCOSEC(1)", 0.8509181282393216, 0},
        {"HCOSEC(0)", 0, ERRO_DIVISAO_POR_ZERO},
        {"HCOTAN(1)", 1.3130352854993315, 0},
        {"HARCSEC(0,5)", 1.3169578969248166, 0},
        {"HARCSEC(2)", 0, ERRO_OP_INVALIDO},
        {"HARCSEC(0)", 0, ERRO_DIVISAO_POR_ZERO},
        {"HARCCOSEC(1)", 0.881373587019543, 0},
        {"HARCCOSEC(-1)", -0.881373587019543, 0},
        {"HARCCOTAN(2)", 0.5493061443340548, 0},
        {"HARCCOTAN(1)", 0, ERRO_DIVISAO_POR_ZERO},
        {"EXP(1)", 2.718281828459045, 0},
        {"EXP(1000)", 0, ERRO_OVERFLOW},
        {"LOG(1000)", 3, 0},
        {"LOG(0)", 0, ERRO_OP_INVALIDO},
        {"SQR(4)", 2, 0},
        {"sqr(4)", 2, 0},
        {"SQRT(2)", 1.4142135623730951, 0},
        {"RAIZ(9)", 3, 0},
        {"SQR(-1)", 0, ERRO_OP_INVALIDO},
        {"ROUND(2,5)", 2, 0},
        {"ROUND(3,5)", 4, 0},
        {"ROUND(2,6)", 3, 0},
        {"ARREDONDAR(-2,5)", -2, 0},
        {"ARREDONDAR(-2,6)", -3, 0},
        {"INT(2,7)", 2, 0},
        {"INT(-2,7)", -2, 0},
        {"FRAC(2,75)", 0.75, 0},
        {"FRAC(-2,75)", -0.75, 0},
        {"RANDOM(1)", 0, 0},
        {"SGN(-5)", -1, 0},
        {"SGN(0)", 0, 0},
        {"SGN(0,1)", 1, 0},
        {"PI", Pi, 0},
        {"pi^2", Pi * Pi, 0},
        {"E", 2.718281828459045, 0},
        {"ZERO+1", 1, 0},
    };
    TCalcEquacao calc;
    for (const auto &c : casos)
        Confere(calc, c);
}

TEST(CalcEquacao, ColumnsThroughTheResolver) {
    std::map<std::string, double> colunas{{"[Área]", 50},       {"[Preço-unit]", 3}, {"[A*B]", 7},
                                          {"[Área (m2)]", 120}, {"[a b]", 5},        {"X", 4}};
    std::vector<std::string> pedidos;
    TCalcEquacao calc;
    calc.Resolvedor = [&](const std::string &nome, double &valor) {
        pedidos.push_back(nome);
        auto it = colunas.find(nome);
        if (it == colunas.end()) return false;
        valor = it->second;
        return true;
    };
    const Caso casos[] = {
        {"[Área]*2", 100, 0},
        {"[Preço-unit]-1", 2, 0},
        {"[A*B]+1", 8, 0},
        {"[Área (m2)]/2", 60, 0},
        {"[Área]*[Preço-unit]>100", 1, 0},
        {"SQR([Área]*2)", 10, 0},
        {"x*2", 8, 0},
        {"[a b] * 2", 10, 0},
        {"[Vazio]*2", 0, ERR_SYNTAXE_ERRADA},
        {"[ÁREA]", 0, ERR_SYNTAXE_ERRADA}, // the column title is matched as written
        {"[Área", 0, ERR_SYNTAXE_ERRADA},
        {"[Área](2)", 0, ERR_SYNTAXE_ERRADA},
    };
    for (const auto &c : casos)
        Confere(calc, c);
    EXPECT_EQ(pedidos, (std::vector<std::string>{"[Área]", "[Preço-unit]", "[A*B]", "[Área (m2)]",
                                                 "[Área]", "[Preço-unit]", "[Área]", "X", "[a b]",
                                                 "[Vazio]", "[ÁREA]"}));

    // Whatever the resolver throws stays inside the evaluator.
    calc.Resolvedor = [](const std::string &, double &) -> bool {
        throw std::runtime_error("falha");
    };
    Confere(calc, {"[Área]+1", 0, ERRO_NAO_IDENTIFICADO});
}

TEST(CalcEquacao, HooksAndErrorCodes) {
    TCalcEquacao calc;
    std::vector<int> erros;
    std::vector<std::string> mensagens;
    calc.AoErro = [&](std::uint8_t codigo) { erros.push_back(codigo); };

    // Messages are dropped while no one listens.
    calc.Equacao = "MSGBOX(oi)";
    EXPECT_EQ(calc.Avalia(), 0.0);
    EXPECT_TRUE(erros.empty());

    calc.AoMensagem = [&](const std::string &t) { mensagens.push_back(t); };
    for (const char *f : {"MSGBOX(Olá, mundo! 1.5)", "msgbox([A]*2)", "MSGBOXCALC(1/4)",
                          "MSGBOXCALC(1/3)", "MSGBOXCALC(2,5*10^20)"}) {
        calc.Equacao = f;
        EXPECT_EQ(calc.Avalia(), 0.0) << f;
    }
    EXPECT_EQ(mensagens, (std::vector<std::string>{"Olá, mundo! 1.5", "[A]*2", "0,25",
                                                   "0,333333333333333", "2,5E20"}));
    EXPECT_TRUE(erros.empty());

    // The hook hears the code that stays set; the next evaluation starts clean.
    calc.Equacao = "1/0+LOG(0)";
    calc.Avalia();
    ASSERT_FALSE(erros.empty());
    for (int e : erros)
        EXPECT_EQ(e, ERRO_DIVISAO_POR_ZERO);
    erros.clear();
    calc.Equacao = "1+1";
    EXPECT_EQ(calc.Avalia(), 2.0);
    EXPECT_EQ(calc.Erro(), SEM_ERRO);
    EXPECT_TRUE(erros.empty());

    // A hook that throws changes nothing.
    calc.AoErro = [](std::uint8_t) { throw std::runtime_error("falha"); };
    Confere(calc, {"2*(3", 0, ERR_PARENTESE_ERRADO});

    // Nesting is bounded: deep enough for any stored formula, never a stack overflow.
    std::string raso = std::string(100, '(') + "1" + std::string(100, ')');
    std::string fundo = std::string(5000, '(') + "1" + std::string(5000, ')');
    Confere(calc, {raso.c_str(), 1, 0});
    Confere(calc, {fundo.c_str(), 0, ERRO_NAO_IDENTIFICADO});

    const char *nomes[] = {"SEM_ERRO",
                           "ERRO_DIVISAO_POR_ZERO",
                           "ERRO_OVERFLOW",
                           "ERRO_OP_INVALIDO",
                           "ERRO_DUPLO_DECIMAL",
                           "ERR_SYNTAXE_ERRADA",
                           "ERR_PARENTESE_ERRADO",
                           "ERRO_EXPRESSAO_VAZIA",
                           "ERRO_NAO_IDENTIFICADO"};
    for (int k = 0; k <= 8; ++k)
        EXPECT_STREQ(NomeErroEquacao(k), nomes[k]);
}

TEST(CalcEquacao, ClockAndRandom) {
    TCalcEquacao calc;
    auto avalia = [&](const char *f) {
        calc.Equacao = f;
        double x = calc.Avalia();
        EXPECT_EQ(calc.Erro(), SEM_ERRO) << f;
        return x;
    };
    bool conferido = false;
    for (int tentativa = 0; tentativa < 5 && !conferido; ++tentativa) {
        std::time_t antes = std::time(nullptr);
        double valores[] = {avalia("ANO"),    avalia("MES"),       avalia("mês"),
                            avalia("DIA"),    avalia("diasemana"), avalia("HORA"),
                            avalia("MINUTO"), avalia("SEGUNDO")};
        if (std::time(nullptr) != antes) continue; // the second changed meanwhile
        std::tm tm{};
        localtime_r(&antes, &tm);
        double esperados[] = {tm.tm_year + 1900.0, tm.tm_mon + 1.0,  tm.tm_mon + 1.0,
                              double(tm.tm_mday),  tm.tm_wday + 1.0, double(tm.tm_hour),
                              double(tm.tm_min),   double(tm.tm_sec)};
        for (int k = 0; k < 8; ++k)
            EXPECT_EQ(valores[k], esperados[k]) << k;
        conferido = true;
    }
    EXPECT_TRUE(conferido);
    double ms = avalia("MILISEGUNDO");
    EXPECT_TRUE(ms >= 0 && ms <= 999 && ms == std::floor(ms)) << ms;

    std::set<double> vistos;
    for (int k = 0; k < 500; ++k) {
        double x = avalia("RANDOM(10)");
        EXPECT_TRUE(x >= 0 && x <= 9 && x == std::floor(x)) << x;
        vistos.insert(x);
    }
    EXPECT_GT(vistos.size(), 5u);
}
