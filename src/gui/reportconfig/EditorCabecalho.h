// The editor of the running header or footer: its text (lines), the left, centre and right
// alignment buttons, a font button and "#", which inserts "(página)" at the caret (the page
// number when printed). Used on the page tab of "Configurar Relatório" and alone in the
// header/footer dialog.
#pragma once

#include "writer/ArqEditor.h"

#include <QDialog>
#include <QWidget>

class QPlainTextEdit;
class QToolButton;

namespace zelto {

class TBotaoFonte;

// Stored alignments of the header and footer: 0 left, 1 right, 2 centre.
enum TAlinhamentoCabecalho : std::uint8_t { acEsquerda = 0, acDireita = 1, acCentro = 2 };

class TEditorCabecalho : public QWidget {
    Q_OBJECT
  public:
    TEditorCabecalho(const QString &titulo, const TCabecalhoRodape &c, QWidget *pai = nullptr);
    TCabecalhoRodape Valor() const;
    void DefineValor(const TCabecalhoRodape &c);
    QPlainTextEdit *Texto() const { return texto_; }
  signals:
    void Mudou();

  private:
    QPlainTextEdit *texto_;
    QToolButton *alinhamento_[3];
    TBotaoFonte *fonte_;
};

class TDlgCabecalhoRodape : public QDialog {
    Q_OBJECT
  public:
    TDlgCabecalhoRodape(const TCabecalhoRodape &c, bool rodape, QWidget *pai = nullptr);
    TCabecalhoRodape Valor() const { return editor_->Valor(); }
    TEditorCabecalho *Editor() const { return editor_; }

  private:
    TEditorCabecalho *editor_;
};

} // namespace zelto
