// The worksheet's editing commands: samples (insert, delete, ignore), variables (define,
// insert, delete, use, dependent, alignment), sorting and renumbering, the one-cell and block
// clipboards, and undo and redo. Every command first accepts a pending cell edit, records an
// undo level before it changes the worksheet and ends with a refresh.
#pragma once

#include "gui/mainwindow/ServicosJanela.h"
#include "worksheet/DefinicaoVariavel.h"
#include "worksheet/Gridzelto.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

namespace zelto {

class TConfiguracaoGeral;
class TDocumentoPlanilha;
class TTabelasVariaveis;

// The undo level of the mode command: undoing it also sets the mode back.
inline constexpr const char *kDescricaoModo = "mudança do modo estatístico";

class TComandosEdicao {
  public:
    TComandosEdicao(TServicosJanela &janela, TRespostasUsuario &respostas, TDocumentoPlanilha &doc,
                    TConfiguracaoGeral &cfg, TTabelasVariaveis &tabelas);

    // ---- What the user answers (tests replace these) -----------------------------
    // The variable definition dialog on column c; true when accepted with
    // attributes in `a`.
    std::function<bool(int c, TAtributosVariavel &a)> EditaVariavel;
    // The sort dialog: the column (0: sample numbers) and the direction.
    std::function<std::optional<std::pair<int, bool>>()> EscolheOrdenacao;

    // ---- Commands ------------------------------------------------------------------
    void AlternaAmostragem();
    void InsereAmostragem();
    void ExcluiAmostragem();
    void ExcluiAmostragensAbaixo();
    void DefineVariavelAtual(int c = 0);
    void InsereVariavel();
    void ExcluiVariavel();
    void ExcluiVariaveisDireita();
    void AlternaUsada();
    void AlternaDependente();
    void Alinha(std::uint8_t alinhamento);
    void Ordena();
    void Renumera();
    void Recorta();
    void Copia();
    void Cola();
    void LimpaCelula();
    void Desfaz();
    void Refaz();
    void PercorreHistorico(bool desfazer);

  private:
    void Registra(const std::string &descricao);

    TServicosJanela &janela_;
    TRespostasUsuario &r_;
    TDocumentoPlanilha &doc_;
    TGridzelto &grid_;
    TConfiguracaoGeral &cfg_;
    TTabelasVariaveis &tabelas_;
    TCelulaCopiada celulaCopiada_;
    bool temCelulaCopiada_ = false;
};

} // namespace zelto
