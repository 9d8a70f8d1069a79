// A writer that records the operations it receives as short texts ("texto:ab", "super+",
// "fonte:Symbol", "tamanho~8", "restaura", "pagina", "par"), to check what the helpers of the
// writer interface ask of a writer. It keeps the current font as a file writer does.
#pragma once

#include "writer/ArqEditor.h"

#include <QStringList>

namespace zelto::teste {

class TEscritorRegistro : public TArqEditor {
  public:
    QStringList Registro;

    void SetFont(const TFonte &f) override {
        CurrentFont = f;
        Registro << QStringLiteral("fonte:") + f.Nome;
    }
    void SetFontName(const QString &nome) override {
        TFonte f = CurrentFont;
        f.Nome = nome;
        SetFont(f);
    }
    void RestoreFont(const TFonte &) override { Registro << QStringLiteral("restaura"); }
    void SetFontSizeRaw(int n) override { Registro << QStringLiteral("tamanho~%1").arg(n); }
    void SuperscriptOn() override { Registro << QStringLiteral("super+"); }
    void SuperscriptOff() override { Registro << QStringLiteral("super-"); }
    void WriteText(const QString &t) override { Registro << QStringLiteral("texto:") + t; }
    void WritePageNumber() override { Registro << QStringLiteral("pagina"); }
    void NewParagraph() override { Registro << QStringLiteral("par"); }
    void AlignLeft() override { Registro << QStringLiteral("esquerda"); }
    void AlignRight() override { Registro << QStringLiteral("direita"); }
    void AlignCenter() override { Registro << QStringLiteral("centro"); }
};

} // namespace zelto::teste
