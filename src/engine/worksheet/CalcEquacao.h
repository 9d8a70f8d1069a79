// Formula evaluator of the calculated variables.
//
// TCalcEquacao evaluates one formula text (UTF-8) to one number. The language
// follows the Brazilian convention: "," is the decimal separator (a "." is read
// as "," as well), there is no exponent notation, function names are
// Portuguese or English and their case does not matter, "×" and "÷" may stand
// for "*" and "/". A name that is neither a function nor a constant (the
// worksheet's columns, written in square brackets) is asked of Resolvedor.
//
// The text is evaluated by repeated splitting, without a token stream: an
// expression is cut at "+" and "-", each piece at one class of comparison or
// else at "*" and "/", and each resulting sub-piece holds at most one binary
// operation ("*", "/", "^" or a comparison). So comparisons bind tighter than
// "+" and "-" (1+2>2 is 1 + (2>2)), an operand of a comparison holds a single
// operation ("2^3^2" and "A*B*C>D" are syntax errors), and a leading "-"
// negates its whole sub-piece (-2^2 is -4). Text inside square brackets or
// double quotes is never cut, so "[Preço-unit]" or "[A*B]" name a column.
//
// Failures: Avalia never throws. The first fault sets the error code (the
// table of NomeErroEquacao), every later step does nothing, the result is 0
// and AoErro has been told the code. Values are doubles at the boundaries;
// the arithmetic in between is done in long double.
#pragma once

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <string_view>

namespace zelto {

inline constexpr std::uint8_t SEM_ERRO = 0;
inline constexpr std::uint8_t ERRO_DIVISAO_POR_ZERO = 1;
inline constexpr std::uint8_t ERRO_OVERFLOW = 2;
inline constexpr std::uint8_t ERRO_OP_INVALIDO = 3;
inline constexpr std::uint8_t ERRO_DUPLO_DECIMAL = 4;
inline constexpr std::uint8_t ERR_SYNTAXE_ERRADA = 5;
inline constexpr std::uint8_t ERR_PARENTESE_ERRADO = 6;
inline constexpr std::uint8_t ERRO_EXPRESSAO_VAZIA = 7;
inline constexpr std::uint8_t ERRO_NAO_IDENTIFICADO = 8;

// "SEM_ERRO", "ERRO_DIVISAO_POR_ZERO", ...; codes above 8 give "ERRO_NAO_IDENTIFICADO".
const char *NomeErroEquacao(std::uint8_t codigo);

class TCalcEquacao {
  public:
    // The formula text, UTF-8.
    std::string Equacao;

    // Value of a name that is neither a function nor a constant; a bracketed
    // name is handed over with its brackets ("[Área]"). False: unknown name.
    std::function<bool(const std::string &nome, double &valor)> Resolvedor;
    // Told the error code whenever an evaluation step ends in a fault.
    std::function<void(std::uint8_t codigo)> AoErro;
    // Shows the text of "MSGBOX" and "MSGBOXCALC" (the desktop: a message box
    // captioned "Message Box"). Nothing is shown while it is empty.
    std::function<void(const std::string &texto)> AoMensagem;

    // Clears the error code and evaluates Equacao; 0 when the code ends non-zero.
    double Avalia();
    std::uint8_t Erro() const { return erro_; }

  private:
    std::uint8_t erro_ = SEM_ERRO;
    int nivel_ = 0; // nesting of groups and function arguments being evaluated
    std::mt19937_64 gerador_;

    void Falha(std::uint8_t codigo);
    long double Verifica(long double x);
    long double Divide(long double a, long double b);

    std::u32string Normaliza(std::u32string_view texto);
    long double Expressao(std::u32string_view texto);
    long double Parcela(std::u32string_view parcela);
    long double SubParcela(std::u32string_view sub, int &operador);
    long double Primario(std::u32string_view sub, std::size_t &i);
    long double Nome(std::u32string_view nome, const std::u32string_view *argumento);
    long double Funcao(int funcao, long double x);
    long double Combina(int operador, long double a, long double b);
};

} // namespace zelto
