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

// Conversions between the font of the settings files and the font of the writers.
TFonte FonteDeIni(const TFonteIni &f);
TFonteIni FonteParaIni(const TFonte &f);
// The font under a prefix of a section; false when its "In" key is present but damaged (the
// default font is then returned).
// "III", "II", "I" for 3, 2, 1; nothing for another text.
std::optional<std::uint8_t> GrauDeclarado(std::string_view texto);
const char *TextoGrauDeclarado(std::uint8_t grau);
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
    // Writes the section into `ini` (in memory or on disk; see TArquivoIni).
    void Grava(TArquivoIni &ini) const;

    bool operator==(const TConfiguracaoRelatorio &o) const;
};

} // namespace zelto
