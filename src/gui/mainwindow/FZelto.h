// The main window ("Zelto 32").
//
// `TFZELTO` composes the program's working parts, each a class of its own:
// the worksheet document (TDocumentoPlanilha: the grid with its mode, its
// file, the undo history), the file commands (TComandosArquivo), the model
// commands (TComandosModelo: the search, the regression system, the
// significance settings) and the report commands (TComandosRelatorio: the
// report document and page). The window keeps the general settings, which it
// writes back key by key as each option changes, the menus, the tool buttons,
// the shortcuts and the context menus of the grid, and wires them to those
// classes; it keeps the enabled, checked and visible state of the commands and
// the status texts in step with the worksheet (Atualiza). The worksheet's
// editing commands are a class too (TComandosEdicao); the options, the
// statistics mode and the worksheet's look are the window's own.
//
// The questions and notices go through replaceable callbacks, so that tests
// drive the real window and answer for the user: Confirma (yes, no or
// cancel), ConfirmaSimNao, Informa and Avisa (message boxes) here, and each
// command class's own dialogs there. Reading, writing and sorting run on
// another thread with the progress window shown (the worksheet is handed over
// and back, the views are told what changed afterwards).
#pragma once

#include "files/ArquivoIni.h"
#include "files/ConfiguracaoGeral.h"
#include "gui/mainwindow/ComandosArquivo.h"
#include "gui/mainwindow/ComandosEdicao.h"
#include "gui/mainwindow/ComandosModelo.h"
#include "gui/mainwindow/ComandosRelatorio.h"
#include "gui/mainwindow/DocumentoPlanilha.h"
#include "gui/mainwindow/ServicosJanela.h"
#include "gui/worksheet/AparenciaPlanilha.h"
#include "gui/worksheet/GradePlanilha.h"
#include "worksheet/DefinicaoVariavel.h"
#include "worksheet/TabelasVariaveis.h"

#include <QMainWindow>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QAction;
class QComboBox;
class QActionGroup;
class QLabel;
class QMenu;
class QPushButton;
class QTabWidget;
class QToolBar;

namespace zelto {

class TModeloPlanilha;

class TFZELTO : public QMainWindow, public TRespostasUsuario, private TServicosJanela {
    Q_OBJECT
  public:
    // ini: the open general settings file (ZERADE.INI); tabelas: the label-table store.
    TFZELTO(TArquivoIni &ini, TTabelasVariaveis &tabelas, QWidget *parent = nullptr);
    ~TFZELTO() override;

    // ---- State -----------------------------------------------------------------
    // The worksheet document: the grid, its file, the undo history.
    TDocumentoPlanilha &Documento() { return doc_; }
    TGridzelto &GridAmostra() { return doc_.Grid(); }
    const std::string &ArquivoAtual() const { return doc_.Arquivo(); }
    TGradePlanilha *Grade() const override { return grade_; }
    TModeloPlanilha *Modelo() const override { return modelo_; }
    THistorico &Historico() { return doc_.Historico(); }
    const TConfiguracaoGeral &Configuracao() const { return cfg_; }
    const std::string &ResumoTecnico() const { return doc_.Resumo(); }
    const std::string &Comentarios() const { return doc_.Comentarios(); }
    QTabWidget *Paginas() const { return paginas_; }
    // The model commands: the search, the regression system, the significance settings.
    TComandosModelo &ComandosModelo() { return modelos_; }
    // The report commands: the report document, the report page once there is one.
    TComandosRelatorio &Relatorio() { return *relatorio_; }
    QComboBox *CaixaZoom() const { return zoom_; }
    // The file commands: new, read, save, recent files, the closing question.
    TComandosArquivo &Arquivos() { return arquivos_; }
    // The worksheet's editing commands: samples, variables, clipboard, undo.
    TComandosEdicao &Edicao() { return edicao_; }

    // ---- Commands ------------------------------------------------------------------
    void Sair();

    void DefineAvanco(DirecaoAvanco d);
    void AlternaModo();
    // Toggles one of the option items ("PdOA", "SnAu", "VCVz", "CrVH").
    void AlternaOpcao(const std::string &chave);
    void AspectoPlanilha();
    void DefineAparencia(const TAparenciaPlanilha &a);

    // The hand-over check (at start and whenever the program becomes active).
    void VerificaTransferencia() { arquivos_.VerificaTransferencia(); }
    // The file named by the first program argument, when it exists.
    void AbreArquivoInicial(const QStringList &argumentos) { arquivos_.AbreArquivoInicial(argumentos); }
    // Status texts, command states and captions.
    void Atualiza() override;
    // Leaves the grid: trailing empty rows stop counting as used.
    void AparaLinhas() override;

    // Status labels, for tests.
    QLabel *RotuloEstado() const { return estado_; }
    QLabel *RotuloLinhas() const { return linhas_; }
    QLabel *RotuloColunas() const { return colunas_; }
    QLabel *RotuloPosicao() const { return posicao_; }
    QPushButton *BotaoModo() const { return botaoModo_; }
    // An action by its object name (the settings key or command name).
    QAction *Acao(const QString &nome) const override;
    QMenu *MenuContexto(TAreaGrade area);

  protected:
    void closeEvent(QCloseEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;

  private:
    void CriaAcoes();
    void CriaMenus();
    void CriaBarra();
    void CriaStatus();
    void AplicaConfiguracao();
    void CriaComandosRelatorio(); // the report's actions, menu, bar and zoom box

    // ---- What the command classes ask of the window (TServicosJanela) -----------------
    QMainWindow *Janela() override { return this; }
    void Comando() override; // every command first accepts a pending edit
    void AtualizaModo() override;
    void AtualizaComandosRelatorio() override;
    void AtualizaRecentes() override;
    bool ExecutaLonga(const std::function<void(TProgresso &)> &trabalho, bool reinicia) override;
    bool Ocupado() const override { return ocupado_; }
    void GravaChave(const char *chave) override;
    bool VerificaCelulasVazias() override { return arquivos_.VerificaCelulasVazias(); }

    void AtualizaDesfazer();
    void AgendaAtualizacao();
    void MostraMenu(TAreaGrade area, const QPoint &global);
    void Registra(const std::string &descricao);
    // Runs `executa` with the worksheet handed to another thread (views suspended).
    bool ExecutaSuspenso(const std::function<bool()> &executa, bool reinicia);
    // While the search runs: the menus, the pages' tabs and the report take no input.
    void BloqueiaEntrada(bool bloqueia);

    TArquivoIni &ini_;
    TTabelasVariaveis &tabelas_;
    TConfiguracaoGeral cfg_;
    TDocumentoPlanilha doc_;
    TGridzelto &grid_ = doc_.Grid(); // the document's grid, which the editing commands change
    TComandosArquivo arquivos_{*this, *this, doc_, cfg_, ini_, tabelas_};
    TComandosModelo modelos_{*this, *this, doc_, cfg_, ini_};
    TComandosEdicao edicao_{*this, *this, doc_, cfg_, tabelas_};
    bool ocupado_ = false;
    bool atualizacaoPendente_ = false;
    int ouvinte_ = 0;

    TModeloPlanilha *modelo_ = nullptr;
    TGradePlanilha *grade_ = nullptr;
    QTabWidget *paginas_ = nullptr;
    // Made once the pages are: the report page is added to them.
    std::unique_ptr<TComandosRelatorio> relatorio_;
    QComboBox *zoom_ = nullptr;
    QLabel *estado_ = nullptr, *linhas_ = nullptr, *colunas_ = nullptr, *posicao_ = nullptr;
    QPushButton *botaoModo_ = nullptr;
    QToolBar *barra_ = nullptr;
    QMenu *menuArquivo_ = nullptr, *menuOpcoes_ = nullptr;
    std::map<QString, QAction *> acoes_;
    std::vector<QAction *> acoesRecentes_;
    QActionGroup *grupoAvanco_ = nullptr, *grupoAlinhamento_ = nullptr;
    std::map<TAreaGrade, QMenu *> menusContexto_;
};

} // namespace zelto
