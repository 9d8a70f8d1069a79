// The table editor as a model: the rows a dialog shows for one label table of
// the table store, the editing commands and the rules for saving it.
//
// A qualitative table has rows of (label, value text); values are shown with
// 3 decimals and thousands separators. A row keeps the exact value it was
// loaded or typed with, so saving a table that was only looked at does not
// round its values to the 3 decimals on screen. A dichotomous table has
// exactly two rows of labels, and a missing label is saved as "Positivo" or
// "Negativo".
//
// Saving asks before replacing a table of the same name and kind (ignoring
// case), also when that table is the one being edited; the replacement is one
// rewrite of the store, so a failed write loses neither table. The editor only
// refers to the store it was given; the store must outlive it.
#pragma once

#include "common/Perguntas.h"
#include "worksheet/TabelasVariaveis.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace zelto {

struct TLinhaEdicao {
    std::string Rotulo;
    std::string Valor; // text in the value column (qualitative tables only)
    // The value behind the text while the text is still the one shown for it.
    std::optional<long double> ValorExato;
};

enum class ResultadoGravacao {
    Gravada,  // the table is in the store
    Voltar,   // the user chose not to replace an existing table: back to the editor
    Desistiu, // the user cancelled: the editor ends without saving
    Falhou,   // the store could not be rewritten; it is unchanged
};

enum class ResultadoExclusao { Apagada, NaoConfirmada, Falhou };

class TEdicaoTabela {
  public:
    // An empty editor for a new table: one empty row, or two for a dichotomous table.
    TEdicaoTabela(TTabelasVariaveis &tabelas, TipoTabela tipo);
    // The editor on a table of the store; nullopt when it is not there.
    static std::optional<TEdicaoTabela> Abre(TTabelasVariaveis &tabelas, TipoTabela tipo,
                                             const std::string &nome);

    TipoTabela Tipo() const { return tipo_; }
    // "Tabela de variável qualitativa" or "Tabela de variável dicotômica".
    std::string Titulo() const;
    // Column headings: "Característica" and "Valor", or "Opções".
    std::vector<std::string> Colunas() const;

    // The name the table had when the editor opened (none for a new table).
    const std::optional<std::string> &NomeOriginal() const { return original_; }
    const std::string &Nome() const { return nome_; }
    void DefineNome(const std::string &nome) { nome_ = nome; }

    std::size_t NumeroLinhas() const { return linhas_.size(); }
    const TLinhaEdicao &Linha(std::size_t i) const { return linhas_.at(i); }
    void DefineRotulo(std::size_t i, const std::string &texto);
    void DefineValor(std::size_t i, const std::string &texto);

    // The cursor. Leaving a qualitative row that has a label or a value but no
    // convertible value fills it: 1 in the first row, the previous value + 1
    // elsewhere; a value is shown again in the 3-decimal form. Leaving the
    // last row, unless it is blank, adds an empty row below it.
    std::size_t LinhaAtual() const { return atual_; }
    void MudaLinha(std::size_t nova);

    // Qualitative commands ("Inserir", "Excluir", "Ordenar por nome",
    // "Ordenar por valor", "Inverte ordem"); they do nothing on a dichotomous
    // table. Excluir on the only row empties it. Both sorts compare the cell
    // texts as case-sensitive strings, ascending ("10,000" before "9,000").
    void Insere();
    void Exclui();
    void OrdenaPorNome();
    void OrdenaPorValor();
    void InverteOrdem();

    // The content that saving writes: every qualitative row that has a label
    // or a value, values filled as when leaving each row; the two dichotomous
    // labels with their defaults. The editor's rows show the fills afterwards.
    TConteudoTabela Conteudo();

    // Saves into the store: asks pergunta when the name exists for the kind.
    ResultadoGravacao Grava(const Pergunta &pergunta);

  private:
    bool ValorDaLinha(std::size_t i, long double &v) const;
    void SaiDaLinha(std::size_t i);
    bool Vazia(std::size_t i) const;

    TTabelasVariaveis *tabelas_;
    TipoTabela tipo_;
    std::optional<std::string> original_;
    std::string nome_;
    std::vector<TLinhaEdicao> linhas_;
    std::size_t atual_ = 0;
};

// "Apagar tabela": asks for confirmation, then deletes the table.
ResultadoExclusao ApagaTabela(TTabelasVariaveis &tabelas, TipoTabela tipo, const std::string &nome,
                              const Pergunta &pergunta);

} // namespace zelto
