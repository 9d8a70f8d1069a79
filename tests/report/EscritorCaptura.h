// A writer that keeps what the report items write as plain structure: items, their parts, and
// in each part the paragraphs (text, font, alignment) and tables (cell texts and alignments),
// so the tests read the numbers a report prints. Markup is rendered by the writer interface
// itself: "1,5###3%" arrives as "1,5", "x", "10", "3" and the infinite marker as the character
// 165 of the "Symbol" face, which is kept here as "∞".
#pragma once

#include "writer/ArqEditor.h"

#include <QStringList>

#include <vector>

namespace zelto::teste {

struct TBlocoCaptura {
    bool Tabela = false;
    QString Texto; // paragraph
    TFonte Fonte;
    int Alinhamento = apEsquerda;
    std::vector<QStringList> Celulas; // table rows
    std::vector<std::vector<int>> Alinhamentos;
};

struct TItemCaptura {
    int Numero = 0;
    QString Classe, Titulo;
    std::vector<std::vector<TBlocoCaptura>> Partes;
};

class TEscritorCaptura : public TArqEditor {
  public:
    std::vector<TItemCaptura> Itens;
    std::vector<TBlocoCaptura> ForaDeItens; // header, footer, text before the first item
    bool Fechado = false;
    int Cabecalhos = 0, Rodapes = 0;

    bool CloseDocument() override {
        Fecha();
        Fechado = true;
        return true;
    }
    void SetFont(const TFonte &f) override { CurrentFont = f; }
    void SetFontName(const QString &nome) override { CurrentFont.Nome = nome; }
    void WriteText(const QString &t) override {
        if (CurrentFont.Nome == QLatin1String("Symbol") && t == QString(QChar(165)))
            texto_ += QStringLiteral("∞");
        else
            texto_ += t;
        if (!emTabela_) fonte_ = CurrentFont;
    }
    void WritePageNumber() override { texto_ += QStringLiteral("#"); }
    void NewParagraph() override {
        if (emTabela_) {
            texto_ += QLatin1Char('\r');
            return;
        }
        TBlocoCaptura b;
        b.Texto = texto_;
        b.Fonte = texto_.isEmpty() ? CurrentFont : fonte_;
        b.Alinhamento = Alignment;
        Destino().push_back(b);
        texto_.clear();
    }
    void AlignLeft() override { Alignment = apEsquerda; }
    void AlignCenter() override { Alignment = apCentro; }
    void AlignRight() override { Alignment = apDireita; }
    void AlignJustify() override { Alignment = apJustificado; }
    void BeginHeader() override { ++Cabecalhos; }
    void BeginFooter() override { ++Rodapes; }
    void BeginTable(int colunas, int linhas, int largura, int alinhamento) override {
        TArqEditor::BeginTable(colunas, linhas, largura, alinhamento);
        Fecha();
        emTabela_ = true;
        tabela_ = TBlocoCaptura{};
        tabela_.Tabela = true;
        tabela_.Celulas.emplace_back();
        tabela_.Alinhamentos.emplace_back();
    }
    void NextCell() override {
        tabela_.Celulas.back() << texto_;
        tabela_.Alinhamentos.back().push_back(Alignment);
        texto_.clear();
    }
    void EndRow() override {
        TArqEditor::EndRow();
        tabela_.Celulas.emplace_back();
        tabela_.Alinhamentos.emplace_back();
    }
    void EndTable() override {
        emTabela_ = false;
        Destino().push_back(tabela_);
    }
    void BeginItem(int numero, const QString &classe, const QString &titulo) override {
        Fecha();
        Itens.push_back(TItemCaptura{numero, classe, titulo, {}});
    }
    void BeginPart() override {
        Fecha();
        if (!Itens.empty()) Itens.back().Partes.emplace_back();
    }

    // The item of a number, or null.
    const TItemCaptura *Item(int numero) const {
        for (const TItemCaptura &i : Itens)
            if (i.Numero == numero) return &i;
        return nullptr;
    }

  private:
    std::vector<TBlocoCaptura> &Destino() {
        if (Itens.empty() || Itens.back().Partes.empty()) return ForaDeItens;
        return Itens.back().Partes.back();
    }
    // Text left without a paragraph end becomes a paragraph of its own.
    void Fecha() {
        if (!texto_.isEmpty() && !emTabela_) NewParagraph();
    }

    QString texto_;
    TFonte fonte_;
    bool emTabela_ = false;
    TBlocoCaptura tabela_;
};

} // namespace zelto::teste
