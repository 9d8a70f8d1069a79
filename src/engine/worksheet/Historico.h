// Undo and redo of worksheet changes.
//
// `THistorico` keeps, for one worksheet, the states captured before the
// user's operations (a cell edit, a paste, a cut, clearing a cell, inserting,
// deleting, moving or sorting rows and columns, renumbering, a flag toggle, a
// variable definition, the worksheet effects of the mode command). The front
// end calls Registra just before each such operation, naming it; Desfaz puts
// the state before the last operation back and Refaz puts the undone change
// back again. A new operation clears the list of changes to redo.
//
// What a level holds is a TEstadoPlanilha: cells, records, formats, widths,
// used counts, current cell, subject values and identification. Its rows
// share their cells with the worksheet and with the other levels, so a level
// costs one pointer per row plus the rows that its operation changed.
//
// Not undone, because they are not the worksheet's:
// - the label-table store: a variable definition that created or changed a
//   table in the store is undone in the worksheet only; the table stays;
// - the worksheet's statistics mode (TGridzelto::Modo), a setting of the
//   document rather than data: a front end that records the mode command's
//   worksheet effects sets the mode back itself;
// - the grid's settings (Editavel, row heights, file name) and the modified
//   flag, which every restore sets.
//
// Bounds: at most `maxNiveis` levels to undo and an approximate byte budget
// (256 MiB by default) for what the levels hold apart from the worksheet; the
// oldest levels are dropped first, and the most recent one is always kept.
// Registra makes room at once: with the history full, the oldest level goes
// even when the operation being recorded turns out to change nothing.
//
// A level whose operation changed nothing is dropped when the next operation
// is recorded, and passed over by Desfaz, so an undo always changes
// something. Nothing is undone or redone while the worksheet is not editable.
#pragma once

#include "worksheet/Gridzelto.h"

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

namespace zelto {

class THistorico {
  public:
    static constexpr std::size_t kLimiteBytesPadrao = std::size_t{256} << 20;

    explicit THistorico(TGridzelto &g, std::size_t maxNiveis = 100);
    THistorico(const THistorico &) = delete;
    THistorico &operator=(const THistorico &) = delete;

    // Call before a user operation changes the worksheet. `descricao` is the
    // operation's name as the menu shows it after "Desfazer " ("edição de
    // célula", "exclusão de amostragem"). Records the worksheet's state and
    // clears the list of changes to redo.
    void Registra(const std::string &descricao);
    bool PodeDesfazer() const;
    bool PodeRefazer() const;
    // The name of the operation that Desfaz (Refaz) would take back; empty when none.
    std::string DescricaoDesfazer() const;
    std::string DescricaoRefazer() const;
    // Restores the state before the last operation; false when there is none.
    bool Desfaz();
    // Restores the state that the last Desfaz took back; false when there is none.
    bool Refaz();
    // Forgets every level: after reading a file or clearing the worksheet.
    void Limpa();

    // The byte budget of the levels to undo; levels beyond it are dropped at once.
    void DefineLimiteBytes(std::size_t bytes);
    // Approximate bytes the levels to undo hold apart from the worksheet.
    std::size_t BytesRetidos() const { return bytes_; }
    std::size_t NiveisDesfazer() const { return desfazer_.size(); }
    std::size_t NiveisRefazer() const { return refazer_.size(); }

  private:
    struct Nivel {
        std::string descricao;
        TEstadoPlanilha estado;
        // What this level holds that the state after it (the next level, or
        // the worksheet for the newest) does not; the newest level counts
        // only its own tables until the next operation is recorded.
        std::size_t bytes = 0;
    };

    // The newest level to undo, when its state holds the worksheet's data.
    bool TopoSemEfeito() const;
    void RetiraMaisAntigos();
    void AjustaBytes(Nivel &n, std::size_t bytes);

    TGridzelto &g_;
    std::size_t maxNiveis_;
    std::size_t limiteBytes_ = kLimiteBytesPadrao;
    std::size_t bytes_ = 0;
    std::deque<Nivel> desfazer_;
    std::vector<Nivel> refazer_;
};

} // namespace zelto
