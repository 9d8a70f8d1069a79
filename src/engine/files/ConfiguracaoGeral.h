// The general settings of the program: sections "Geral" and "FntPlan" of
// ZERADE.INI.
//
// `TConfiguracaoGeral` is the record the main window reads once after creating
// its worksheet (Le) and writes back key by key as each option changes
// (Grava with the key's name). A key missing from the file, or holding no
// integer where one is expected, takes its default: the member initialisers
// below. Colours are 32-bit values 0x00BBGGRR; the window and button-face
// defaults stand for the system colours of the original platform, and a file
// that holds such a system colour (high byte set, index 5 or 15) reads as the
// matching default.
#pragma once

#include "files/ArquivoIni.h"
#include "worksheet/Gridzelto.h"

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

namespace zelto {

inline constexpr const char *kArquivoConfiguracaoGeral = "ZERADE.INI";
inline constexpr const char *kSecaoGeral = "Geral";
inline constexpr const char *kSecaoFontePlanilha = "FntPlan";

inline constexpr int kCorJanela = 0xFFFFFF;    // white
inline constexpr int kCorFaceBotao = 0xF0F0F0; // light grey
inline constexpr int kAlturaLinhaPadrao = 24;  // the grid's default row height, pixels

// The user's copy of ZERADE.INI, in the user's settings folder.
std::filesystem::path CaminhoConfiguracaoGeral();

struct TConfiguracaoGeral {
    // Section "Geral".
    bool AvancoVertical = true;           // "AvVert": the cursor moves down after an edit
    bool AvancoHorizontal = false;        // "AvHorz": moves right (wins over "AvVert")
    bool ListaItens = true;               // "LocIt": the report page shows its item list
    bool DetalharModelos = true;          // "DetMod": option of the best-models list
    bool Inferencial = true;              // "AvalInf": the worksheet's Modo.Inferencial
    bool CriarHomogeneizado = true;       // "CrVH": its Modo.CriarValorHomogeneizado
    bool PedirObjeto = true;              // "PdOA": always ask the subject property
    bool SaneamentoAutomatico = false;    // "SnAu"
    bool VerificarCelulasVazias = false;  // "VCVz"
    int CorGrade = kCorJanela;            // "GrC": grid background
    int CorFixa = kCorFaceBotao;          // "GrFC": fixed row and column
    int ZoomRelatorio = 100;              // "ZRl": percent
    int AlturaLinha = kAlturaLinhaPadrao; // "AltLnPlan": data rows, pixels
    std::array<std::string, 4> Recentes;  // "ItMn1".."ItMn4": most recent first

    // Section "FntPlan": "nm" name, "tm" size, "cr" colour, "ng" bold,
    // "it" italic, "sb" underline, "so" strike-out.
    TFonteIni FontePlanilha;

    // Reads every key of both sections (defaults for what is missing).
    void Le(const TArquivoIni &ini);
    // Writes the key of that name ("AvVert", "ItMn3", "tm" ...) with the
    // record's value. False for an unknown key or when the file cannot be written.
    bool Grava(TArquivoIni &ini, std::string_view chave) const;
    // Writes every key of "FntPlan" / "ItMn1".."ItMn4" / both sections.
    bool GravaFonte(TArquivoIni &ini) const;
    bool GravaRecentes(TArquivoIni &ini) const;
    bool GravaTudo(TArquivoIni &ini) const;

    // Where the cursor goes after an edit: right when "AvHorz", else down when
    // "AvVert", else nowhere; and the pair of keys for a direction.
    DirecaoAvanco Avanco() const;
    void DefineAvanco(DirecaoAvanco d);

    bool operator==(const TConfiguracaoGeral &) const = default;
};

} // namespace zelto
