// The report settings (section "Geral" of the report settings file "RELATORI.CN%"): copies,
// margins, the number format, the user information and unused-data options (all packed in the
// hexadecimal key "Info"), the running header and footer (text "Cab"/"Rod" as lines, fonts
// "FCab"/"FRod", alignments "ACab"/"ARod") and the technical summary "Lcm".
//
// "Info" is 42 hexadecimal digits, each value as its bytes low byte first: copies, right,
// left, top and bottom margins (mm), maximum digits, decimal places (16 bits each), then one
// byte each for: show unused variables, show unused samples, include the print date, include
// the file name, complete decimals with zeros, do not limit decimals, do not convert to
// scientific notation. A missing key, or one that is not exactly that, gives the defaults
// below (and Le reports it, so the file is backed up before it is written over).
//
// Values are bounded as the settings dialog bounds them: copies 1 to 999, margins 0 to 150 mm
// and together leaving at least kTextoMinimoMm of text across and down the page, 1 to 30
// digits, 0 to 20 decimals, fonts of 4 to 96 points with names of at most 63 characters, the
// header and the footer at most 255 characters in at most 10 lines, the lines times the font
// size at most 120 points, the technical summary at most 50 lines of 255 characters. A value out of its bounds takes its default and counts as damage, as an
// undecodable one does.
//
// The valuer's declarations for the grading under the valuation standard (criteria 1,
// caracterização do imóvel avaliando, and 3, identificação dos dados de mercado) are the keys
// "EnqCaracterizacao" and "EnqIdentificacao", "III", "II" or "I"; a missing key is a grade not
// declared (a file written before they existed reads so), another text is damage.
//
// The paper size is not stored: it comes from the printer (A4, 210 x 297 mm, by default).
// A plain record; whoever changes it calls Notifica so that listeners (the report page)
// redraw.
#pragma once

#include "config/FormatoNumero.h"
#include "files/ArquivoIni.h"
#include "writer/ArqEditor.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelto {

inline constexpr const char *kSecaoGeralRelatorio = "Geral";
inline constexpr const char *kInfoPadrao = "010011001900070012000700030001000101010000";
// Bounds of the values read from a settings file.
inline constexpr int kFonteMinima = 4, kFonteMaxima = 96;
inline constexpr int kNomeFonteMaximo = 63;
inline constexpr int kMargemMaxima = 150;
inline constexpr double kTextoMinimoMm = 40;
inline constexpr int kCabecalhoMaximo = 255;
// Lines of a header or footer, and their height in points (lines x font size).
inline constexpr int kLinhasCabecalhoMaximo = 10, kAlturaCabecalhoMaxima = 120;
inline constexpr std::size_t kLinhasResumoMaximo = 50, kLinhaResumoMaxima = 255;

// Conversions between the font of the settings files and the font of the writers.
TFonte FonteDeIni(const TFonteIni &f);
TFonteIni FonteParaIni(const TFonte &f);
// "III", "II", "I" for 3, 2, 1; nothing for another text.
std::optional<std::uint8_t> GrauDeclarado(std::string_view texto);
const char *TextoGrauDeclarado(std::uint8_t grau);
// The font under a prefix of a section; false when its "In" key is present but damaged, or the
// font is out of bounds (the default font is then returned).
bool LeFonteRelatorio(const TArquivoIni &ini, std::string_view secao, std::string_view prefixo,
                      TFonte &fonte);

struct TConfiguracaoRelatorio {
    std::uint16_t Copias = 1;
    std::uint16_t MargemDireita = 17, MargemEsquerda = 25, MargemSuperior = 7, MargemInferior = 18;
    TFormatoNumero Numero;
    bool VariaveisNaoUsadas = true;
    bool AmostragensNaoUsadas = false;
    bool IncluirData = true;
    bool IncluirNomeArquivo = true;
    TCabecalhoRodape Cabecalho{QString(), TFonte(), 0};
    TCabecalhoRodape Rodape{QString(), TFonte(), 0};
    std::vector<std::string> ResumoTecnico; // "Lcm"
    // Grades 1..3 (I..III) the valuer declares for criteria 1 and 3; nothing: not declared.
    std::optional<std::uint8_t> Caracterizacao, Identificacao;
    double LarguraPagina = 210, AlturaPagina = 297; // mm, from the printer

    std::string CodificaInfo() const;
    // False (and nothing changed) when the text is not 42 hexadecimal digits.
    bool DecodificaInfo(std::string_view texto);

    // Reads the section; keys that are missing take the defaults. False when some key was
    // present but damaged (it takes its default too).
    bool Le(const TArquivoIni &ini);
    // Puts every value out of its bounds back to its default; false when one was.
    bool LimitaValores();
    // Writes the section into `ini` (in memory or on disk; see TArquivoIni).
    void Grava(TArquivoIni &ini) const;

    // The margins a page is laid out with: the stored ones, or the defaults when the stored
    // ones leave less than kTextoMinimoMm of text on this paper.
    struct TMargens {
        double Esquerda, Direita, Superior, Inferior;
    };
    TMargens MargensDaPagina() const;

    bool operator==(const TConfiguracaoRelatorio &o) const;
};

} // namespace zelto
