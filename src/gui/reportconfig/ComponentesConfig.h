// Pieces shared by the report settings dialogs: a font button, the named colour and border
// kind lists of table cells, a colour button, and the writing of the settings file after a
// confirmed change.
#pragma once

#include "config/ConfiguracaoRelatorio.h"
#include "items/Catalogo.h"

#include <QComboBox>
#include <QPushButton>

#include <array>
#include <string>

namespace zelto {

// The font of the writers from a Qt font (colour kept apart), as picked in a dialog: when the
// picked face is the one that stands in on this machine for `nomeAnterior` (the name before the
// dialog, e.g. Liberation Sans for Arial), that name is kept.
TFonte FonteDeQFont(const QFont &f, TCor cor, const QString &nomeAnterior = {});

// A button that shows a font ("Arial, 10") and opens the font dialog when clicked.
class TBotaoFonte : public QPushButton {
    Q_OBJECT
  public:
    explicit TBotaoFonte(const TFonte &f, QWidget *pai = nullptr);
    const TFonte &Fonte() const { return fonte_; }
    void DefineFonte(const TFonte &f); // emits Mudou when it differs
  signals:
    void Mudou();

  private:
    void Mostra();
    TFonte fonte_;
};

// A button that shows a colour and opens the colour dialog when clicked.
class TBotaoCor : public QPushButton {
    Q_OBJECT
  public:
    TBotaoCor(const QString &texto, TCor cor, QWidget *pai = nullptr);
    TCor Cor() const { return cor_; }
    void DefineCor(TCor c);
  signals:
    void Mudou();

  private:
    void Mostra();
    TCor cor_;
};

// The colours offered for table cells, in the order shown (value as blue-green-red).
struct TCorNomeada {
    const char *Nome;
    TCor Valor;
};
extern const std::array<TCorNomeada, 20> kCoresCelula;
// The name of a colour: the last entry with its value; empty when none has it.
QString NomeCor(TCor c);

// A list of the named colours. A value outside the list is kept and shown by its
// hexadecimal value, so opening and confirming a dialog never changes a stored colour.
class TComboCor : public QComboBox {
    Q_OBJECT
  public:
    explicit TComboCor(TCor c, QWidget *pai = nullptr);
    TCor Cor() const;
    void DefineCor(TCor c);
};

// The border line kinds of table cells and their stored bytes (kind, multiplicity, width).
struct TTipoBorda {
    const char *Nome;
    std::uint8_t Tipo, Multiplicidade, Espessura;
};
extern const std::array<TTipoBorda, 7> kTiposBorda;
// The entry that shows a stored border; -1 when none matches exactly.
int IndiceTipoBorda(std::uint8_t tipo, std::uint8_t multiplicidade, std::uint8_t espessura);

// A list of the border kinds; a stored border that matches none is kept as "(outra)".
class TComboBorda : public QComboBox {
    Q_OBJECT
  public:
    TComboBorda(std::uint8_t tipo, std::uint8_t multiplicidade, std::uint8_t espessura, QWidget *pai = nullptr);
    // Writes the chosen kind into the three bytes (left as they were for "(outra)").
    void Aplica(std::uint8_t &tipo, std::uint8_t &multiplicidade, std::uint8_t &espessura) const;

  private:
    std::array<std::uint8_t, 3> original_;
};

// Writes the report settings file after a confirmed change: `cfg` and every item. With no
// `cfg`, the general settings already in the file are kept. False when the file could not
// be written.
bool GravaArquivoRelatorio(const TConfiguracaoRelatorio *cfg, const TListaItens &itens);

// Every item's settings as the settings file would hold them, followed by what each holds for
// the session only (to tell whether any changed).
std::string TextoConfiguracaoItens(const TListaItens &itens);

} // namespace zelto
