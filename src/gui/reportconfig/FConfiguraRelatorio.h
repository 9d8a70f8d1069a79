// "Configurar Relatório": the page tab (header and footer, margins, orientation, first page
// number, copies, printer and paper, a miniature of the page), the items tab (the report
// items with their check marks and counts, the item dialogs, one kind at a time) and the
// general tab (number format, user information, unused data); "Confirma", "Cancelar", save
// and read named configurations (.CNF).
//
// The dialog edits a copy of the settings; the items' selection and formats are edited in
// place and put back from a snapshot when the dialog is cancelled. Saving or reading a named
// configuration writes the working settings file at once; a cancelled dialog writes it back
// as it was, so the file always agrees with the items in memory.
#pragma once

#include "config/ConfiguracaoRelatorio.h"
#include "items/Catalogo.h"
#include "files/ArquivoIni.h"

#include <QDialog>
#include <QPointF>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QRadioButton;
class QSpinBox;

namespace zelto {

class TEditorCabecalho;

// The file chosen to save (gravar true) or read a named configuration; empty when the
// valuer gave up. Replaceable so that tests answer without a file dialog.
extern std::function<QString(QWidget *pai, bool gravar)> EscolheArquivoConfiguracao;

// The first page number chosen on the page tab (kept for the printing run).
int PrimeiraPaginaRelatorio();
void DefinePrimeiraPaginaRelatorio(int n);

// The item dialog by kind: text, table or graph; `todos` makes "Confirma" apply to every item
// of the kind. A graph's dialog opened from a click on the chart names the clicked point (chart
// units) in its title. True when confirmed.
bool AbreDialogoItem(QWidget *pai, TListaItens &itens, int indice, bool todos, bool inferencial = true,
                     const std::optional<QPointF> &ponto = std::nullopt);
// The title's note of a clicked chart point: "  -  ponto clicado: X = 1,5   Y = -0,25".
QString TextoPontoClicado(QPointF ponto);

// The progress window's title while a named configuration is read.
inline constexpr const char *kLendoConfiguracao = "Lendo configuração de relatório ...";

class TFConfiguraRelatorio : public QDialog {
    Q_OBJECT
  public:
    TFConfiguraRelatorio(TListaItens &itens, const TConfiguracaoRelatorio &cfg, bool inferencial,
                         int itemInicial, QWidget *pai = nullptr);
    // The settings as the dialog shows them.
    TConfiguracaoRelatorio Configuracao() const;
    // True when the items' selection or formats differ from those at opening.
    bool ItensMudaram() const;
    // Counts of the selected items: total, graphs, tables, others.
    struct TContagem {
        int Total = 0, Graficos = 0, Tabelas = 0, Outros = 0;
    };
    TContagem Contagem() const;
    // Configures the current item, or all items of a kind (tiTexto, tiTabela, tiGrafico).
    bool ConfiguraAtual();
    bool ConfiguraTodos(TTipoItem tipo);
    bool GravaConfiguracao();
    bool LeConfiguracao();

    void reject() override;

  private:
    QWidget *MontaPagina();
    QWidget *MontaItens();
    QWidget *MontaGeral();
    void Mostra(const TConfiguracaoRelatorio &c);
    void MostraItens();
    void MostraContagem();
    void MostraPapel();
    void Marca(QListWidgetItem *w, bool incluido);

    TListaItens &itens_;
    TConfiguracaoRelatorio cfg_, original_;
    bool inferencial_;
    TArquivoIni instantaneo_; // the items' settings at opening
    std::string textoInicial_; // the same with what they hold for the session only
    // The graphs' axes at opening: their manual ranges and modes are not in the settings text.
    std::vector<std::optional<std::array<TItemAvaliacaoGraf::TEixo, 2>>> eixos_;
    bool arquivoMexido_ = false;

    TEditorCabecalho *cabecalho_ = nullptr, *rodape_ = nullptr;
    QSpinBox *margens_[4] = {}; // top, bottom, left, right
    QRadioButton *retrato_ = nullptr, *paisagem_ = nullptr;
    QSpinBox *primeira_ = nullptr, *copias_ = nullptr;
    QLabel *papel_ = nullptr;
    QWidget *miniatura_ = nullptr;

    QListWidget *lista_ = nullptr;
    QLabel *contagem_[4] = {};

    QSpinBox *digitos_ = nullptr, *decimais_ = nullptr;
    QCheckBox *completar_ = nullptr, *naoLimitar_ = nullptr, *naoCientifica_ = nullptr;
    QCheckBox *data_ = nullptr, *nomeArquivo_ = nullptr, *variaveis_ = nullptr, *amostragens_ = nullptr;
    QPlainTextEdit *resumo_ = nullptr;
    // The grades the valuer declares for criteria 1 and 3 of the grading: "Não declarado",
    // "III", "II", "I".
    QComboBox *caracterizacao_ = nullptr, *identificacao_ = nullptr;
};

} // namespace zelto
