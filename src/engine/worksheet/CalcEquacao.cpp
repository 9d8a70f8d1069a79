#include "worksheet/CalcEquacao.h"

#include "common/Numeros.h"
#include "common/Texto.h"

#include <chrono>
#include <cmath>
#include <ctime>
#include <iterator>

namespace zelto {

namespace {

using Vista = std::u32string_view;
constexpr std::size_t npos = Vista::npos;

constexpr long double Pi = 3.141592653589793238462643383279502884L;
constexpr long double EulerE = 2.718281828459045235360287471352662498L;

// Deeper nesting of groups and arguments is refused, so that no text can
// exhaust the stack.
constexpr int NivelMaximo = 200;

// State of a left-to-right scan: parenthesis depth, bracket depth, quotes.
struct Varredura {
    int parenteses = 0;
    int colchetes = 0;
    bool aspas = false;

    bool Opaco() const { return aspas || colchetes > 0; }
    // Takes one character. True when it stands outside brackets and quotes and
    // is not itself a bracket or quote that opens or closes such a span.
    bool Avanca(char32_t c) {
        if (aspas) {
            if (c == U'"') aspas = false;
            return false;
        }
        if (colchetes > 0) {
            if (c == U'[')
                ++colchetes;
            else if (c == U']')
                --colchetes;
            return false;
        }
        if (c == U'"') {
            aspas = true;
            return false;
        }
        if (c == U'[') {
            colchetes = 1;
            return false;
        }
        if (c == U'(')
            ++parenteses;
        else if (c == U')')
            --parenteses;
        return true;
    }
};

// Position of the ")" that closes the "(" at position i, or npos.
std::size_t FechaParentese(Vista s, std::size_t i) {
    Varredura v;
    for (std::size_t k = i; k < s.size(); ++k)
        if (v.Avanca(s[k]) && s[k] == U')' && v.parenteses == 0) return k;
    return npos;
}

// Operators that combine a sub-piece with what stands before it.
enum Operador {
    opSoma,
    opMultiplica,
    opDivide,
    opPotencia,
    opMenor,
    opMaior,
    opIgual,
    opDiferente,
    opMenorIgual,
    opMaiorIgual,
    opNenhum,
};

// A two-character comparison at position i, or opNenhum.
Operador ComparacaoDupla(Vista s, std::size_t i) {
    if (i + 1 >= s.size()) return opNenhum;
    char32_t a = s[i], b = s[i + 1];
    if ((a == U'<' && b == U'=') || (a == U'=' && b == U'<')) return opMenorIgual;
    if ((a == U'>' && b == U'=') || (a == U'=' && b == U'>')) return opMaiorIgual;
    if ((a == U'<' && b == U'>') || (a == U'>' && b == U'<')) return opDiferente;
    if (a == U'=' && b == U'=') return opIgual;
    return opNenhum;
}

Operador ComparacaoSimples(char32_t c) {
    switch (c) {
    case U'<':
        return opMenor;
    case U'>':
        return opMaior;
    case U'=':
        return opIgual;
    default:
        return opNenhum;
    }
}

// Characters that end a name (besides "(" and "^"): the binary operators.
bool TerminaNome(char32_t c) {
    switch (c) {
    case U'(':
    case U'^':
    case U'*':
    case U'/':
    case U'<':
    case U'>':
    case U'=':
    case U'\u00D7': // ×
    case U'\u00F7': // ÷
        return true;
    default:
        return false;
    }
}

// clang-format off
enum Funcoes {
    fnMsgBoxCalc, fnAbs, fnAtn, fnCos, fnSin, fnTan, fnCotan, fnSec, fnCosec, fnArcSin,
    fnArcCos, fnArcSec, fnArcCosec, fnArcCotan, fnHSin, fnHCos, fnHTan, fnHArcSin, fnHArcCos,
    fnHArcTan, fnHSec, fnHCosec, fnHCotan, fnHArcSec, fnHArcCosec, fnHArcCotan, fnExp, fnLog,
    fnRaiz, fnArredonda, fnInt, fnFrac, fnRandom, fnSgn,
};

struct NomeFuncao {
    std::string_view nome;
    Funcoes funcao;
};

constexpr NomeFuncao TabelaFuncoes[] = {
    {"MSGBOXCALC", fnMsgBoxCalc}, {"ABS", fnAbs}, {"ATN", fnAtn}, {"COS", fnCos},
    {"SIN", fnSin}, {"SENO", fnSin}, {"TAN", fnTan}, {"COTAN", fnCotan}, {"SEC", fnSec},
    {"COSEC", fnCosec}, {"ARCSIN", fnArcSin}, {"ARCSENO", fnArcSin}, {"ARCCOS", fnArcCos},
    {"ARCCOSSENO", fnArcCos}, {"ARCSEC", fnArcSec}, {"ARCCOSEC", fnArcCosec},
    {"ARCCOTAN", fnArcCotan}, {"HSIN", fnHSin}, {"HCOS", fnHCos}, {"HTAN", fnHTan},
    {"HARCSIN", fnHArcSin}, {"HARCCOS", fnHArcCos}, {"HARCTAN", fnHArcTan}, {"HSEC", fnHSec},
    {"HCOSEC", fnHCosec}, {"HCOTAN", fnHCotan}, {"HARCSEC", fnHArcSec},
    {"HARCCOSEC", fnHArcCosec}, {"HARCCOTAN", fnHArcCotan}, {"EXP", fnExp}, {"LOG", fnLog},
    {"SQR", fnRaiz}, {"SQRT", fnRaiz}, {"RAIZ", fnRaiz}, {"ROUND", fnArredonda},
    {"ARREDONDAR", fnArredonda}, {"INT", fnInt}, {"FRAC", fnFrac}, {"RANDOM", fnRandom},
    {"SGN", fnSgn},
};
// clang-format on

int ProcuraFuncao(std::string_view chave) {
    if (chave.empty()) return -1;
    for (const auto &f : TabelaFuncoes)
        if (f.nome == chave) return f.funcao;
    return -1;
}

// Constants and the parts of the current date and time; false for other names.
bool Constante(std::string_view chave, long double &x) {
    if (chave == "PI")
        x = Pi;
    else if (chave == "E")
        x = EulerE;
    else if (chave == "ZERO")
        x = 0;
    else {
        static constexpr std::string_view tempo[] = {
            "ANO", "MES", "MÊS", "DIA", "DIASEMANA", "HORA", "MINUTO", "SEGUNDO", "MILISEGUNDO"};
        std::size_t k = 0;
        while (k < std::size(tempo) && tempo[k] != chave)
            ++k;
        if (k == std::size(tempo)) return false;
        auto agora = std::chrono::system_clock::now();
        std::time_t t = std::chrono::system_clock::to_time_t(agora);
        std::tm tm{};
        localtime_r(&t, &tm);
        switch (k) {
        case 0:
            x = tm.tm_year + 1900;
            break;
        case 1:
        case 2:
            x = tm.tm_mon + 1;
            break;
        case 3:
            x = tm.tm_mday;
            break;
        case 4:
            x = tm.tm_wday + 1;
            break; // 1 = Sunday
        case 5:
            x = tm.tm_hour;
            break;
        case 6:
            x = tm.tm_min;
            break;
        case 7:
            x = tm.tm_sec;
            break;
        default: {
            auto ms =
                std::chrono::duration_cast<std::chrono::milliseconds>(agora.time_since_epoch())
                    .count() %
                1000;
            x = static_cast<long double>(ms < 0 ? ms + 1000 : ms);
        }
        }
    }
    return true;
}

long double Sinal(long double x) {
    return x > 0 ? 1 : (x < 0 ? -1 : 0);
}

// Nearest integer, halves to the even neighbour.
long double ArredondaPar(long double x) {
    long double piso = std::floor(x);
    long double resto = x - piso;
    if (resto > 0.5L) return piso + 1;
    if (resto < 0.5L) return piso;
    return std::fmod(piso, 2.0L) == 0 ? piso : piso + 1;
}

// Guards the nesting counter of one group or argument evaluation.
struct Nivel {
    int &n;
    explicit Nivel(int &contador) : n(contador) { ++n; }
    ~Nivel() { --n; }
    Nivel(const Nivel &) = delete;
    Nivel &operator=(const Nivel &) = delete;
};

} // namespace

const char *NomeErroEquacao(std::uint8_t codigo) {
    static constexpr const char *nomes[] = {"SEM_ERRO",
                                            "ERRO_DIVISAO_POR_ZERO",
                                            "ERRO_OVERFLOW",
                                            "ERRO_OP_INVALIDO",
                                            "ERRO_DUPLO_DECIMAL",
                                            "ERR_SYNTAXE_ERRADA",
                                            "ERR_PARENTESE_ERRADO",
                                            "ERRO_EXPRESSAO_VAZIA",
                                            "ERRO_NAO_IDENTIFICADO"};
    return codigo <= ERRO_NAO_IDENTIFICADO ? nomes[codigo] : nomes[ERRO_NAO_IDENTIFICADO];
}

double TCalcEquacao::Avalia() {
    erro_ = SEM_ERRO;
    nivel_ = 0;
    double resultado = 0;
    try {
        auto semente = std::chrono::high_resolution_clock::now().time_since_epoch().count();
        gerador_.seed(static_cast<std::uint64_t>(semente));
        long double x = Expressao(DecodificaUtf8(Equacao));
        if (erro_ == SEM_ERRO) {
            resultado = static_cast<double>(x);
            if (std::isinf(resultado)) Falha(ERRO_OVERFLOW);
        }
    } catch (...) {
        Falha(ERRO_NAO_IDENTIFICADO);
    }
    return erro_ == SEM_ERRO ? resultado : 0.0;
}

void TCalcEquacao::Falha(std::uint8_t codigo) {
    if (erro_ != SEM_ERRO || codigo == SEM_ERRO) return;
    erro_ = codigo;
    if (!AoErro) return;
    try {
        AoErro(erro_);
    } catch (...) {
        // The hook's own failure cannot change the outcome of the formula.
    }
}

long double TCalcEquacao::Verifica(long double x) {
    if (std::isnan(x))
        Falha(ERRO_OP_INVALIDO);
    else if (std::isinf(x))
        Falha(ERRO_OVERFLOW);
    return erro_ == SEM_ERRO ? x : 0;
}

long double TCalcEquacao::Divide(long double a, long double b) {
    if (b == 0) {
        Falha(ERRO_DIVISAO_POR_ZERO);
        return 0;
    }
    return Verifica(a / b);
}

// Outside parentheses, brackets and quotes: "." becomes ",", spaces go, "×" and
// "÷" become "*" and "/", letters are upper-cased. Groups are normalised when
// they are evaluated themselves.
std::u32string TCalcEquacao::Normaliza(std::u32string_view texto) {
    std::u32string r;
    r.reserve(texto.size());
    Varredura v;
    for (char32_t c : texto) {
        bool dentro = v.parenteses > 0;
        bool livre = v.Avanca(c);
        if (v.parenteses < 0) {
            Falha(ERR_PARENTESE_ERRADO);
            return {};
        }
        if (dentro || !livre)
            r += c;
        else if (c == U'.')
            r += U',';
        else if (c == U' ')
            continue;
        else if (c == U'\u00D7')
            r += U'*';
        else if (c == U'\u00F7')
            r += U'/';
        else
            r += MaiusculaCp(c);
    }
    if (v.Opaco())
        Falha(ERR_SYNTAXE_ERRADA); // an unclosed "[" or '"'
    else if (v.parenteses != 0)
        Falha(ERR_PARENTESE_ERRADO);
    else if (r.empty())
        Falha(ERRO_EXPRESSAO_VAZIA);
    return r;
}

// Sum of the pieces cut at every "+" and "-" outside groups (but not at the start).
long double TCalcEquacao::Expressao(std::u32string_view texto) {
    if (erro_ != SEM_ERRO) return 0;
    Nivel nivel(nivel_);
    if (nivel_ > NivelMaximo) {
        Falha(ERRO_NAO_IDENTIFICADO);
        return 0;
    }
    std::u32string t = Normaliza(texto);
    if (erro_ != SEM_ERRO) return 0;
    Vista s(t);
    long double soma = 0;
    std::size_t inicio = 0;
    Varredura v;
    for (std::size_t i = 0; i < s.size(); ++i) {
        bool livre = v.Avanca(s[i]);
        if (i > 0 && livre && v.parenteses == 0 && (s[i] == U'+' || s[i] == U'-')) {
            soma = Verifica(soma + Parcela(s.substr(inicio, i - inicio)));
            inicio = i;
        }
    }
    soma = Verifica(soma + Parcela(s.substr(inicio)));
    return erro_ == SEM_ERRO ? soma : 0;
}

// A piece is cut at one class of operator: ">" or "<" (whichever occurs first
// outside groups), else "=", else "*" and "/". The sub-pieces combine from
// left to right with a running value that starts at 0.
long double TCalcEquacao::Parcela(std::u32string_view p) {
    if (erro_ != SEM_ERRO) return 0;
    std::size_t maior = npos, menor = npos;
    bool igual = false;
    {
        Varredura v;
        for (std::size_t i = 0; i < p.size(); ++i) {
            if (!v.Avanca(p[i]) || v.parenteses != 0) continue;
            if (p[i] == U'>' && maior == npos)
                maior = i;
            else if (p[i] == U'<' && menor == npos)
                menor = i;
            else if (p[i] == U'=')
                igual = true;
        }
    }
    auto corta = [&](char32_t c) {
        if (maior != npos && (menor == npos || maior < menor)) return c == U'>';
        if (menor != npos) return c == U'<';
        if (igual) return c == U'=';
        return c == U'*' || c == U'/';
    };
    long double valor = 0;
    std::size_t inicio = 0;
    Varredura v;
    for (std::size_t i = 0; i <= p.size() && erro_ == SEM_ERRO; ++i) {
        bool fim = i == p.size();
        if (!fim) {
            bool livre = v.Avanca(p[i]);
            if (i == 0 || !livre || v.parenteses != 0 || !corta(p[i])) continue;
        }
        int operador = opSoma;
        long double x = SubParcela(p.substr(inicio, i - inicio), operador);
        if (erro_ == SEM_ERRO) valor = Combina(operador, valor, x);
        inicio = i;
    }
    return erro_ == SEM_ERRO ? valor : 0;
}

// At most one binary operation, after an optional leading operator. A leading
// "-" negates the result instead of becoming the operator.
long double TCalcEquacao::SubParcela(std::u32string_view s, int &operador) {
    operador = opSoma;
    if (erro_ != SEM_ERRO) return 0;
    std::size_t i = 0;
    bool nega = false;
    bool lido = true;
    if (Operador d = ComparacaoDupla(s, 0); d != opNenhum) {
        operador = d;
        i = 2;
    } else if (!s.empty()) {
        switch (s[0]) {
        case U'*':
            operador = opMultiplica;
            break;
        case U'/':
            operador = opDivide;
            break;
        case U'+':
            break;
        case U'-':
            nega = true;
            break;
        default:
            operador = ComparacaoSimples(s[0]);
            if (operador == opNenhum) {
                operador = opSoma;
                lido = false;
            }
        }
        if (lido) i = 1;
    }
    if (i > 0 && i == s.size()) {
        Falha(ERR_SYNTAXE_ERRADA);
        return 0;
    }
    long double x = Primario(s, i);
    if (erro_ == SEM_ERRO && i < s.size()) {
        Operador binario = ComparacaoDupla(s, i);
        if (binario != opNenhum) {
            i += 2;
        } else {
            switch (s[i]) {
            case U'*':
            case U'\u00D7':
                binario = opMultiplica;
                break;
            case U'/':
            case U'\u00F7':
                binario = opDivide;
                break;
            case U'^':
                binario = opPotencia;
                break;
            default:
                binario = ComparacaoSimples(s[i]);
            }
            if (binario == opNenhum) {
                Falha(ERR_SYNTAXE_ERRADA);
                return 0;
            }
            ++i;
        }
        long double y = Primario(s, i);
        if (erro_ == SEM_ERRO) x = Combina(binario, x, y);
    }
    if (erro_ == SEM_ERRO && i < s.size()) Falha(ERR_SYNTAXE_ERRADA);
    if (erro_ != SEM_ERRO) return 0;
    return nega ? -x : x;
}

long double TCalcEquacao::Combina(int operador, long double a, long double b) {
    if (erro_ != SEM_ERRO) return 0;
    switch (operador) {
    case opSoma:
        return Verifica(a + b);
    case opMultiplica:
        return Verifica(a * b);
    case opDivide:
        return Divide(a, b);
    case opPotencia:
        if (a == 0 && b < 0) return Divide(1, 0);
        return Verifica(std::pow(a, b));
    case opMenor:
        return a < b ? 1 : 0;
    case opMaior:
        return a > b ? 1 : 0;
    case opIgual:
        return a == b ? 1 : 0;
    case opDiferente:
        return a != b ? 1 : 0;
    case opMenorIgual:
        return a <= b ? 1 : 0;
    case opMaiorIgual:
        return a >= b ? 1 : 0;
    default:
        Falha(ERRO_NAO_IDENTIFICADO);
        return 0;
    }
}

// A group, a number, or a name with an optional parenthesised argument.
long double TCalcEquacao::Primario(std::u32string_view s, std::size_t &i) {
    if (erro_ != SEM_ERRO) return 0;
    if (i >= s.size()) {
        Falha(ERR_SYNTAXE_ERRADA);
        return 0;
    }
    char32_t c = s[i];
    if (c == U'(') {
        std::size_t fim = FechaParentese(s, i);
        if (fim == npos) {
            Falha(ERR_PARENTESE_ERRADO);
            return 0;
        }
        long double x = Expressao(s.substr(i + 1, fim - i - 1));
        i = fim + 1;
        return x;
    }
    if ((c >= U'0' && c <= U'9') || c == U',') {
        std::string numero = c == U',' ? "0" : "";
        int virgulas = 0;
        for (; i < s.size() && ((s[i] >= U'0' && s[i] <= U'9') || s[i] == U','); ++i) {
            if (s[i] == U',' && ++virgulas > 1) {
                Falha(ERRO_DUPLO_DECIMAL);
                return 0;
            }
            numero += static_cast<char>(s[i]);
        }
        long double x = 0;
        if (!ConverteNumero(numero, x)) Falha(ERRO_OVERFLOW); // too many digits
        return erro_ == SEM_ERRO ? x : 0;
    }
    std::size_t inicio = i;
    Varredura v;
    for (; i < s.size(); ++i) {
        if (!v.Opaco() && TerminaNome(s[i])) break;
        v.Avanca(s[i]);
    }
    Vista nome = s.substr(inicio, i - inicio);
    if (i < s.size() && s[i] == U'(') {
        std::size_t fim = FechaParentese(s, i);
        if (fim == npos) {
            Falha(ERR_PARENTESE_ERRADO);
            return 0;
        }
        Vista argumento = s.substr(i + 1, fim - i - 1);
        i = fim + 1;
        return Nome(nome, &argumento);
    }
    return Nome(nome, nullptr);
}

long double TCalcEquacao::Nome(std::u32string_view nome, const std::u32string_view *argumento) {
    if (erro_ != SEM_ERRO) return 0;
    std::string texto = CodificaUtf8(nome);
    std::string chave = Maiusculas(texto);
    if (chave == "MSGBOX") {
        if (!argumento) {
            Falha(ERR_SYNTAXE_ERRADA);
            return 0;
        }
        if (AoMensagem) AoMensagem(CodificaUtf8(*argumento));
        return 0;
    }
    if (int funcao = ProcuraFuncao(chave); funcao >= 0) {
        if (!argumento) {
            Falha(ERR_SYNTAXE_ERRADA);
            return 0;
        }
        long double x = Expressao(*argumento);
        return erro_ == SEM_ERRO ? Funcao(funcao, x) : 0;
    }
    // Constants and column names take no argument.
    if (argumento || chave.empty()) {
        Falha(ERR_SYNTAXE_ERRADA);
        return 0;
    }
    long double x = 0;
    if (Constante(chave, x)) return x;
    double valor = 0;
    if (!Resolvedor || !Resolvedor(texto, valor)) {
        Falha(ERR_SYNTAXE_ERRADA);
        return 0;
    }
    return Verifica(valor);
}

long double TCalcEquacao::Funcao(int funcao, long double x) {
    if (erro_ != SEM_ERRO) return 0;
    auto raiz = [this](long double a) -> long double {
        if (a < 0) {
            Falha(ERRO_OP_INVALIDO);
            return 0;
        }
        return std::sqrt(a);
    };
    auto ln = [this](long double a) -> long double {
        if (erro_ == SEM_ERRO && a <= 0) Falha(ERRO_OP_INVALIDO);
        return erro_ == SEM_ERRO ? std::log(a) : 0;
    };
    auto dominio = [this](bool ok) {
        if (!ok) Falha(ERRO_OP_INVALIDO);
        return ok;
    };
    long double r = 0;
    switch (funcao) {
    case fnMsgBoxCalc:
        if (AoMensagem) AoMensagem(FormatoGeral(x));
        return 0;
    case fnAbs:
        r = std::fabs(x);
        break;
    case fnAtn:
        r = std::atan(x);
        break;
    case fnCos:
        r = std::cos(x);
        break;
    case fnSin:
        r = std::sin(x);
        break;
    case fnTan:
        r = std::tan(x);
        break;
    case fnCotan:
        return Divide(1, std::tan(x));
    case fnSec:
        return Divide(1, std::cos(x));
    case fnCosec:
        return Divide(1, std::sin(x));
    case fnArcSin:
        return dominio(std::fabs(x) <= 1) ? std::asin(x) : 0;
    case fnArcCos:
        return dominio(std::fabs(x) <= 1) ? std::acos(x) : 0;
    // Principal values: arcsec in [0, pi], arccosec in [-pi/2, pi/2], arccotan in (0, pi).
    case fnArcSec:
        return dominio(std::fabs(x) >= 1) ? std::acos(1 / x) : 0;
    case fnArcCosec:
        return dominio(std::fabs(x) >= 1) ? std::asin(1 / x) : 0;
    case fnArcCotan:
        r = Pi / 2 - std::atan(x);
        break;
    case fnHSin:
        r = std::sinh(x);
        break;
    case fnHCos:
        r = std::cosh(x);
        break;
    case fnHTan:
        r = std::tanh(x);
        break;
    case fnHArcSin:
        r = std::asinh(x);
        break;
    case fnHArcCos:
        return dominio(x >= 1) ? std::acosh(x) : 0;
    case fnHArcTan:
        if (!dominio(std::fabs(x) <= 1)) return 0;
        if (std::fabs(x) == 1) return Divide(1, 0); // ln((1 + x) / (1 - x)) / 2
        r = std::atanh(x);
        break;
    case fnHSec:
        return Divide(1, std::cosh(x)); // 2 / (e^x + e^-x)
    case fnHCosec:
        return Divide(1, std::sinh(x)); // 2 / (e^x - e^-x)
    case fnHCotan:
        return Divide(1, std::tanh(x)); // (e^x + e^-x) / (e^x - e^-x)
    case fnHArcSec: {
        long double q = raiz(1 - x * x);
        return erro_ == SEM_ERRO ? ln(Divide(q + 1, x)) : 0;
    }
    case fnHArcCosec:
        return ln(Divide(Sinal(x) * std::sqrt(x * x + 1) + 1, x));
    case fnHArcCotan:
        return ln(Divide(x + 1, x - 1)) / 2;
    case fnExp:
        r = std::exp(x);
        break;
    case fnLog:
        return dominio(x > 0) ? std::log10(x) : 0;
    case fnRaiz:
        return raiz(x);
    case fnArredonda:
        r = ArredondaPar(x);
        break;
    case fnInt:
        r = std::trunc(x);
        break;
    case fnFrac:
        r = x - std::trunc(x);
        break;
    case fnRandom: {
        long double n = std::trunc(x);
        if (n > 9.0e18L) {
            Falha(ERRO_OVERFLOW);
            return 0;
        }
        if (n <= 1) return 0;
        std::uniform_int_distribution<std::uint64_t> d(0, static_cast<std::uint64_t>(n) - 1);
        return static_cast<long double>(d(gerador_));
    }
    case fnSgn:
        r = Sinal(x);
        break;
    default:
        Falha(ERRO_NAO_IDENTIFICADO);
        return 0;
    }
    return Verifica(r);
}

} // namespace zelto
