// The worksheet document: the grid with the statistics mode it carries, the file it was read
// from or saved to, the technical summary and the comments of that file, the folder of the
// last file read or written, and the undo history of the grid.
//
// It holds state only; the commands that read, write and edit it are elsewhere. The grid is
// the one the views, the regression system and the search refer to for the whole life of the
// main window.
#pragma once

#include "worksheet/Gridzelto.h"
#include "worksheet/Historico.h"

#include <string>

namespace zelto {

class TDocumentoPlanilha {
  public:
    TDocumentoPlanilha();
    TDocumentoPlanilha(const TDocumentoPlanilha &) = delete;
    TDocumentoPlanilha &operator=(const TDocumentoPlanilha &) = delete;

    TGridzelto &Grid() { return grid_; }
    const TGridzelto &Grid() const { return grid_; }
    THistorico &Historico() { return historico_; }
    // The statistics mode the worksheet carries.
    TModoPlanilha &Modo() { return grid_.Modo; }
    bool Inferencial() const { return grid_.Modo.Inferencial; }

    // The file's name, kPlanilhaNova for a worksheet bound to no file.
    const std::string &Arquivo() const { return arquivo_; }
    bool SemArquivo() const;
    // Binds the worksheet to a file (kPlanilhaNova: to none); the grid keeps the same name.
    void DefineArquivo(const std::string &nome);
    // After a read: bound to the file the reader named in the grid (none when it named none).
    void VinculaAoLido();
    const std::string &Resumo() const { return resumo_; }
    void DefineResumo(std::string r) { resumo_ = std::move(r); }
    // The comments of the file it was read from or last saved to.
    const std::string &Comentarios() const { return comentarios_; }
    void DefineComentarios(std::string c) { comentarios_ = std::move(c); }
    // The folder of the last file read or written (empty: none yet in this session).
    const std::string &PastaArquivos() const { return pasta_; }
    void DefinePastaArquivos(std::string p) { pasta_ = std::move(p); }

    bool Modificada() const { return grid_.Modificada(); }
    // Used columns and used rows: what the model commands need.
    bool TemDados() const;
    // After the grid was cleared: a new worksheet, bound to no file, nothing to undo.
    void Limpou();

  private:
    TGridzelto grid_;
    THistorico historico_;
    std::string arquivo_;
    std::string resumo_;
    std::string comentarios_;
    std::string pasta_;
};

} // namespace zelto
