// The file commands of the main window: new worksheet, read, save, save as, the recent files,
// the closing question, the hand-over from a companion program, the file named at start and
// the empty-cell check before saving.
//
// They work on the worksheet document; reading and writing run on another thread with the
// progress window shown. The recent files are kept here and written back to the general
// settings whenever the worksheet is closed.
#pragma once

#include "gui/dialogs/FormCelulaVazia.h"
#include "gui/mainwindow/DialogosArquivo.h"
#include "gui/mainwindow/ListaRecentes.h"
#include "gui/mainwindow/ServicosJanela.h"

#include <QStringList>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace zelto {

class TArquivoIni;
class TConfiguracaoGeral;
class TDocumentoPlanilha;
class TGridzelto;
class TTabelasVariaveis;

// The hand-over file a companion program leaves in the temporary folder.
inline constexpr const char *kArquivoTransferencia = "~~ZELTO~.~~~";

class TComandosArquivo {
  public:
    TComandosArquivo(TServicosJanela &janela, TRespostasUsuario &respostas, TDocumentoPlanilha &doc,
                     TConfiguracaoGeral &cfg, TArquivoIni &ini, TTabelasVariaveis &tabelas);

    // ---- What the user answers (tests replace these) -----------------------------
    // The file to read (empty: cancelled), the dialog starting as `inicio` says.
    std::function<std::string(const TInicioDialogo &inicio)> EscolheArquivoLeitura;
    // The file to write and its comments (nullopt: cancelled).
    std::function<std::optional<std::pair<std::string, std::string>>(const TInicioDialogo &inicio)>
        EscolheArquivoGravacao;
    std::function<TRespostaCelulaVazia(const std::string &variavel, const std::string &amostragem)>
        PerguntaCelulaVazia;

    // When the worksheet goes (after the closing question, or cleared without it): the search's
    // results and the report belong to the worksheet that went.
    std::function<void()> AoFechar;
    std::function<void()> AoLimpar;

    // ---- Commands ------------------------------------------------------------------
    void NovaPlanilha();
    bool GravaPlanilha();
    bool GravaComo();
    void LePlanilha();
    // Reads a file as "Ler planilha" does after its dialog.
    bool AbreArquivo(const std::string &nome);
    void AbreRecente(std::size_t i);
    // The empty-cell check before saving (true: go on).
    bool VerificaCelulasVazias();
    // The closing question; true when the worksheet may go.
    bool Fechamento();
    // The hand-over check (at start and whenever the program becomes active).
    void VerificaTransferencia();
    // The file named by the first program argument, when it exists.
    void AbreArquivoInicial(const QStringList &argumentos);

    TListaRecentes &Recentes() { return recentes_; }
    const TListaRecentes &Recentes() const { return recentes_; }

  private:
    bool LeArquivo(const std::string &nome);
    // Where the file dialogs start: the current file's folder, else the last one used (in
    // this session, else the most recent file's), else the home folder; the name proposed.
    TInicioDialogo InicioDialogo() const;
    bool GravaArquivo(const std::string &nome, const std::string &comentarios);
    void Limpou(); // after the worksheet was cleared
    void AposLeitura(const std::string &nome);
    void PerguntaDependenteAposLeitura();
    std::filesystem::path PastaTemporaria() const;

    TServicosJanela &janela_;
    TRespostasUsuario &r_;
    TDocumentoPlanilha &doc_;
    TGridzelto &grid_;
    TConfiguracaoGeral &cfg_;
    TArquivoIni &ini_;
    TTabelasVariaveis &tabelas_;
    TListaRecentes recentes_;
    bool semPerguntaFechamento_ = false;
    bool transferindo_ = false;
};

} // namespace zelto
