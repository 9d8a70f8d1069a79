// Records of the worksheet: the variable of a column, the flags of a sample,
// the display format of a column, the subject property's identification.
//
// A column without a variable has no `TVariavel` (std::nullopt in the grid);
// a row without flags has no `TAmostragem` and behaves as one whose flags are
// all false.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zelto {

enum TipoVariavel : std::uint8_t {
    tvNumerica = 0,
    tvQualitativa = 1,
    tvDicotomica = 2,
    tvCalculada = 3,
    tvData = 4,
    tvComentario = 5,
    // Used only by a working copy of the definition dialog: the column had no variable.
    tvSemVariavel = 6,
};

// Cell alignment of a column.
enum Alinhamento : std::uint8_t { alEsquerda = 0, alDireita = 1, alCentro = 2 };

// In-cell editor of a column.
enum TipoEditor : std::uint8_t {
    teTexto = 1,
    teLista = 4,
    teCaixaMarcacao = 5,
    teReal = 6,
    teData = 9,
};

struct TVariavel {
    std::string Nome;
    std::string Descricao;
    bool Usada = false;
    bool Dependente = false;
    bool CoeficienteHomogeneizacao = false;
    std::uint8_t Alinhamento = alEsquerda;
    TipoVariavel Tipo = tvNumerica;
    // Numeric and calculated.
    std::uint8_t CasasDecimais = 2;
    bool PontosDeMilhar = false;
    // Qualitative and dichotomous: the table's name; dichotomous: "true label|false label".
    std::string Tabela;
    std::string Rotulos;
    // Calculated.
    std::string Equacao;
    std::string EquacaoAuxiliar;
    // Date: the form (TipoDataForma) and the reference date as a day serial.
    std::uint8_t TipoData = 0;
    double DataReferencia = 0;
    // Held the dependent mark until the "Valor Homog." column took it; removing that column
    // gives the mark back. Never stored in a file.
    bool DependenteAnterior = false;

    bool operator==(const TVariavel &) const = default;
};

struct TAmostragem {
    bool Desconsiderada = false;
    bool Saneada = false; // removed as an outlier by the automatic sanitation; never stored

    bool operator==(const TAmostragem &) const = default;
};

// One label of a qualitative table, carrying its value.
struct TObjetoValor {
    std::string Rotulo;
    long double Valor = 0;

    bool operator==(const TObjetoValor &) const = default;
};

// Display format of a column: editor kind and, for the list editor, the labels
// of the column's table with their values (the values qualitative cells take).
struct TDataFormat {
    TipoEditor Editor = teTexto;
    std::vector<TObjetoValor> Itens;

    bool operator==(const TDataFormat &) const = default;
};

// The words the report uses to speak of the subject property.
struct TIdentificacaoObjeto {
    struct Nome {
        std::string Texto;
        std::string Unidade;
        std::int16_t Genero = 0;          // 0 masculine, 1 feminine
        std::int16_t PosicaoUnidade = 0;  // 0 before the number, 1 after
        bool operator==(const Nome &) const = default;
    };
    Nome Objeto;           // the object and the unit of the dependent variable
    Nome Caracteristica;   // the multiplicative characteristic
    Nome ValorAvaliado;    // the evaluated value
    long double Multiplicador = 0;

    bool operator==(const TIdentificacaoObjeto &) const = default;
};

} // namespace zelto
