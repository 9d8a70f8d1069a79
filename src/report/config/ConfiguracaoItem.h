// The settings of one report item as plain values, and how the settings file holds them.
//
// Every item has the settings of TConfigItem; a table item adds the formats of its cells
// (TConfigTabela), a graph item its chart options (TConfigGrafico). The file keeps each item's
// settings in a section named by its inferential title: fonts "Tit", "Crp", "Cmn" and "InT"
// (included, line spacing, comments) for every item; the five cell formats for tables; the
// chart keys for graphs. These are values: the report items are built over them, and the
// settings file, the settings dialogs and the evaluation read and write them without knowing
// the items.
#pragma once

#include "files/ArquivoIni.h"
#include "writer/ArqEditor.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zelto {

struct TConfigItem {
    bool Incluido = true;
    bool Comentarios = true;
    TFonte FonteTitulo, FonteCorpo, FonteComentario;
    std::uint16_t Espacamento = 100; // percent: 100, 150 or 200
};

// A cell format of a table: font, four border sides (each three line bytes and a colour; the
// fifth side copies the third and the sixth the first), background colour.
struct TLadoCelula {
    std::uint8_t Tipo = 1, Multiplicidade = 1, Espessura = 1;
    TCor Cor = CorPreta;
    bool operator==(const TLadoCelula &) const = default;
};
struct TFormatoCelula {
    TFonte Fonte;
    std::array<TLadoCelula, 6> Lados{};
    TCor Fundo = CorBranca;
    bool operator==(const TFormatoCelula &) const = default;
};
enum TRegiaoTabela : int { rtPrimeiraLinha, rtUltimaLinha, rtPrimeiraColuna, rtUltimaColuna, rtCorpo };
inline constexpr const char *kEtiquetasRegiao[5] = {"1aL", "ulL", "1aC", "ulC", "Tab"};
inline constexpr const char *kBordasPadrao = "01010100000000010101000000000101010000000001010100000000";

struct TConfigTabela {
    std::array<TFormatoCelula, 5> Formatos{};
    std::uint8_t FlagsFormato = 15; // 1 first row, 2 last row, 4 first column, 8 last column
    std::uint8_t Layout = 1;
    // The format region of a cell of a table with the given size.
    TRegiaoTabela Regiao(int linha, int coluna, int linhas, int colunas) const;
};

struct TConfigGrafico {
    // Colours: chart background, legend background, axes, two series, the sixth colour, the
    // line pen's colour.
    std::array<TCor, 7> Cores{12632256, 12632256, 16777215, 16711680, 255, 255, 255};
    std::uint8_t EstiloCaneta = 0;
    std::uint8_t LarguraCaneta = 1;
    TFonte FonteSeries, FonteEscalaX, FonteEscalaY;
    // One axis: scale mode (0 automatic, 1 manual range, 2 automatic and hidden, 3 manual and
    // hidden), grid line kind, divisions, centring on zero; and the manual range, which lives
    // for the session only: the settings file keeps the four stored fields, not the range, and
    // reading it keeps the range in memory.
    struct TEixo {
        std::uint8_t Modo = 0, Grade = 0;
        std::uint16_t Divisoes = 10;
        std::uint8_t Extra = 0;
        double Minimo = 0, Maximo = 0;
        bool operator==(const TEixo &) const = default;
    };
    std::array<TEixo, 2> Eixos{};
    std::array<std::uint8_t, 2> OpcoesSerie{};
    std::uint8_t LarguraGrafico = 100, AlturaGrafico = 100; // height in mm
    std::array<std::uint8_t, 6> OpcoesMGr{1, 1, 0, 0, 0, 1}; // series graphs only
    std::uint16_t ValorMGr = 10;
};

// Where one item's settings live: its section and the parts it has (null when it lacks one).
struct TRegistroConfiguracao {
    std::string Secao;
    TConfigItem *Item = nullptr;
    TConfigTabela *Tabela = nullptr;
    TConfigGrafico *Grafico = nullptr;
    bool Series = false; // a series graph: the "MGr" key too
};
using TRegistrosConfiguracao = std::vector<TRegistroConfiguracao>;

// Reads an item's settings; false when some key was present but damaged (it takes its default).
bool LeConfiguracaoItem(const TArquivoIni &ini, const TRegistroConfiguracao &r);
void GravaConfiguracaoItem(TArquivoIni &ini, const TRegistroConfiguracao &r);

} // namespace zelto
