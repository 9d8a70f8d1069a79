// Tables as the writers lay them out: columns from their measured cells (a number is never
// broken), a heading in two lines, a table too wide for the page shrunk and then split into
// blocks of columns after "(continuação)", the heading row repeated on every page of a long
// table; the same table read from the paged view and from the RTF. One count of decimals per
// column, and a 100,000-character line that the view breaks without stalling.
#include "view/DispositivoRegistro.h"

#include "evaluation/ItemAvaliacao.h"
#include "view/ViewRelat.h"
#include "writer/LayoutTabela.h"
#include "writer/RtfWriter.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <map>
#include <set>

using namespace zelto;
using teste::TDispositivoRegistro;

namespace {

const TDescricaoItem kDescricao{99, "TIA_Teste", tiTabela, "Tabela de teste", nullptr, 15};

// A table item whose cells are given: row 0 is the heading.
class TItemTabela : public TItemAvaliacaoTab {
  public:
    std::vector<std::vector<std::string>> Celulas;
    std::vector<std::vector<long double>> Valores; // when given: cells formatted by Num
    TItemTabela() : TItemAvaliacaoTab(kDescricao) {}
    std::string TextoCelula(int l, int c) const override {
        if (!Valores.empty() && l > 0) return Num(Valores[l - 1][c]);
        return Celulas[l][c];
    }
    int AlinhamentoCelula(int l, int /*c*/) const override { return l == 0 ? apCentro : apDireita; }
    void Escreve(TArqEditor &e, int linhas, int colunas) {
        TContextoItem ctx;
        TConteudo conteudo;
        ctx.Conteudo = &conteudo;
        DefineContexto(&ctx);
        EscreveTabela(linhas, colunas);
        DefineContexto(nullptr);
        conteudo.Escreve(e);
    }
};

// `linhas` body rows under a heading: a row label, then `colunas` - 1 columns of prices; the
// second heading is in two lines.
void TabelaDePrecos(TItemTabela &t, int linhas, int colunas) {
    std::vector<std::string> titulo{"Nº Am."};
    for (int c = 1; c < colunas; ++c)
        titulo.push_back(c == 1 ? "Valor\rmédio" : "Preço " + std::to_string(c));
    t.Celulas.push_back(titulo);
    for (int l = 1; l <= linhas; ++l) {
        std::vector<std::string> linha{std::to_string(l)};
        for (int c = 1; c < colunas; ++c) linha.push_back(std::to_string(100 + c) + ".000,00");
        t.Celulas.push_back(linha);
    }
}

struct TVista {
    TDispositivoRegistro dispositivo;
    TViewRelat v{&dispositivo};
    QPainter pintor;
    explicit TVista(int alvo) {
        v.SetPage(160, 25, 247, 25, 210, 297);
        v.TargetPage = alvo;
        v.Reinicia();
        pintor.begin(&dispositivo);
        v.DefinePintor(&pintor);
    }
    ~TVista() {
        v.DefinePintor(nullptr);
        pintor.end();
    }
    std::multiset<QString> Textos() const {
        std::multiset<QString> r;
        for (const auto &t : dispositivo.Motor.Textos) r.insert(t.Texto);
        return r;
    }
    std::map<double, QString> PorBase() const {
        std::map<double, QString> r;
        for (const auto &t : dispositivo.Motor.Textos) r[t.Base.y()] += t.Texto + QLatin1Char('|');
        return r;
    }
};

TEST(LayoutTabela, ColumnsHoldTheirWidestWordAndAWideTableShrinksThenSplits) {
    const TFonte fonte;
    const auto celula = [&](const char *t) { return TCelulaLayout{QString::fromUtf8(t), fonte}; };
    // Fits: every column holds its whole lines plus the padding, and the table fills the width.
    const TLayoutTabela estreita = CalculaLayoutTabela(
        {{celula("Nº"), celula("Valor\rmédio")}, {celula("1"), celula("163.000,00")}}, 9000);
    ASSERT_EQ(estreita.Blocos.size(), 1u);
    EXPECT_EQ(estreita.Reducao, 0);
    const auto &l = estreita.Blocos[0].Larguras;
    EXPECT_EQ(l[0] + l[1], 9000);
    EXPECT_GE(l[1], LarguraTwips(fonte, QStringLiteral("163.000,00")) + 2 * TLayoutTabela::PaddingCelula);

    // Too wide even at the smallest size: blocks of consecutive columns, each after the first
    // column, every other column exactly once, each within the text width, each column at
    // least its widest word.
    std::vector<std::vector<TCelulaLayout>> larga(2);
    for (int c = 0; c < 30; ++c) {
        larga[0].push_back(celula(c == 0 ? "Nº Am." : "Preço\rmédio"));
        larga[1].push_back(celula("1.163.000,00"));
    }
    const TLayoutTabela dividida = CalculaLayoutTabela(larga, 9000);
    EXPECT_EQ(dividida.Reducao, fonte.Tamanho - TLayoutTabela::TamanhoMinimo);
    ASSERT_GT(dividida.Blocos.size(), 1u);
    TFonte pequena = fonte;
    pequena.Tamanho = TLayoutTabela::TamanhoMinimo;
    const double numero = LarguraTwips(pequena, QStringLiteral("1.163.000,00"));
    int proxima = 1;
    for (const auto &b : dividida.Blocos) {
        ASSERT_GE(b.Colunas.size(), 2u);
        EXPECT_EQ(b.Colunas[0], 0);
        int soma = 0;
        for (std::size_t i = 0; i < b.Colunas.size(); ++i) {
            if (i > 0) {
                EXPECT_EQ(b.Colunas[i], proxima++);
            }
            EXPECT_GE(b.Larguras[i], numero + 2 * TLayoutTabela::PaddingCelula);
            soma += b.Larguras[i];
        }
        EXPECT_LE(soma, 9000);
    }
    EXPECT_EQ(proxima, 30);

    // A word wider than the page: its column gets what the page leaves, every block fits it.
    const QString longa(3000, QLatin1Char('x'));
    for (int coluna : {0, 1}) {
        std::vector<std::vector<TCelulaLayout>> palavra{{celula("Nome"), celula("Valor")},
                                                        {celula("a"), celula("1,00")}};
        palavra[1][static_cast<std::size_t>(coluna)].Texto = longa;
        for (const auto &b : CalculaLayoutTabela(palavra, 9000).Blocos) {
            int soma = 0;
            for (int w : b.Larguras) soma += w;
            EXPECT_LE(soma, 9000) << "the long word in column " << coluna;
        }
    }
}

TEST(Tabelas, TheViewNeverBreaksANumberAndSplitsAWideTableIntoBlocks) {
    TItemTabela t;
    TabelaDePrecos(t, 3, 40);
    TVista vista(1);
    t.Escreve(vista.v, 4, 40);
    const auto textos = vista.Textos();
    // Every price whole, each drawn once per row; the labels repeated in every block.
    EXPECT_EQ(textos.count(QStringLiteral("105.000,00")), 3u);
    EXPECT_EQ(textos.count(QStringLiteral("139.000,00")), 3u);
    const auto blocos = textos.count(QStringLiteral("(continuação)"));
    EXPECT_GE(blocos, 1u);
    EXPECT_EQ(textos.count(QStringLiteral("2")), blocos + 1);
    // The two-line heading: "Valor" and "médio" on two baselines, never glued.
    EXPECT_EQ(textos.count(QStringLiteral("Valor")), 1u);
    EXPECT_EQ(textos.count(QStringLiteral("médio")), 1u);
    EXPECT_EQ(textos.count(QStringLiteral("Valormédio")), 0u);
    for (const auto &[y, linha] : vista.PorBase()) EXPECT_FALSE(linha.contains(QStringLiteral("Valor|médio")));
}

TEST(Tabelas, ALongTableRepeatsItsHeadingRowOnEveryPage) {
    TItemTabela t;
    TabelaDePrecos(t, 150, 4);
    for (int pagina = 1; pagina <= 3; ++pagina) {
        TVista vista(pagina);
        t.Escreve(vista.v, 151, 4);
        ASSERT_GE(vista.v.CurrentPage, 3);
        const auto textos = vista.Textos();
        EXPECT_EQ(textos.count(QStringLiteral("Preço 3")), 1u) << "page " << pagina;
        EXPECT_EQ(textos.count(QStringLiteral("médio")), 1u) << "page " << pagina;
        // The heading stands above the rows of the page.
        double titulo = 0, primeira = 1e9;
        for (const auto &x : vista.dispositivo.Motor.Textos) {
            if (x.Texto == QStringLiteral("Preço 3")) titulo = x.Base.y();
            if (x.Texto.endsWith(QStringLiteral(".000,00"))) primeira = std::min(primeira, x.Base.y());
        }
        EXPECT_LT(titulo, primeira) << "page " << pagina;
    }
}

TEST(Tabelas, TheRtfCarriesTheSameBlocksPaddingAndRepeatedHeading) {
    QTemporaryDir pasta;
    const QString arquivo = pasta.filePath(QStringLiteral("t.rtf"));
    {
        tRTF_Writer w(arquivo);
        w.SetPage(160, 25, 247, 25, 210, 297);
        w.BeginDocument();
        TItemTabela t;
    TabelaDePrecos(t, 3, 40);
        t.Escreve(w, 4, 40);
        ASSERT_TRUE(w.CloseDocument());
    }
    QFile f(arquivo);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString rtf = QString::fromLatin1(f.readAll());
    const auto conta = [&](const QString &s) { return rtf.count(s); };
    // The same blocks as the view: as many tables as "(continuação)" + 1, each with its heading
    // row repeated on every page and the padding written out; the heading in two lines.
    const qsizetype blocos = conta(QStringLiteral("(continua\\'e7\\'e3o)")) + 1;
    EXPECT_GE(blocos, 2);
    EXPECT_EQ(conta(QStringLiteral("\\row \\pard")), blocos);
    EXPECT_EQ(conta(QStringLiteral("\\trhdr")), blocos);
    EXPECT_EQ(conta(QStringLiteral("\\trowd")), conta(QStringLiteral("\\trpaddl108\\trpaddr108\\trpaddfl3\\trpaddfr3")));
    EXPECT_EQ(conta(QStringLiteral("Valor\\line m\\'e9dio")), 1);
    EXPECT_EQ(conta(QStringLiteral("139.000,00")), 3);
    // No block wider than the text width (160 mm).
    static const QRegularExpression cellx(QStringLiteral("\\\\cellx(\\d+)"));
    for (auto it = cellx.globalMatch(rtf); it.hasNext();) EXPECT_LE(it.next().captured(1).toInt(), ParaTwips(160));
}

TEST(Tabelas, AColumnShowsOneCountOfDecimals) {
    TItemTabela t;
    t.Celulas = {{"Nº", "Preço", "Taxa"}};
    t.Valores = {{1, 43000, 0.5}, {2, 163000, 0.25}, {3, 1500, 0.125}, {4, 0, 0.75}};
    TVista vista(1);
    t.Escreve(vista.v, 5, 3);
    const auto textos = vista.Textos();
    // 163.000 keeps one decimal under the digit limit: its column shows one, a zero too.
    EXPECT_EQ(textos.count(QStringLiteral("163.000,0")), 1u);
    EXPECT_EQ(textos.count(QStringLiteral("43.000,0")), 1u);
    EXPECT_EQ(textos.count(QStringLiteral("1.500,0")), 1u);
    EXPECT_EQ(textos.count(QStringLiteral("0,0")), 1u);
    EXPECT_EQ(textos.count(QStringLiteral("0,125")), 1u); // another column keeps its own
}

TEST(Tabelas, AVeryLongLineLosesNoCharacter) {
    // A 100,000-character text, with and without blanks: every character arrives (the time is
    // measured in bench/).
    for (const bool brancos : {true, false}) {
        QString texto;
        for (int i = 0; i < 100000; ++i) texto += (brancos && i % 9 == 8) ? QChar(' ') : QChar('a' + i % 26);
        TVista vista(1);
        vista.v.TargetLastPage = 1000;
        vista.v.WriteText(texto);
        vista.v.NewParagraph();
        qsizetype letras = 0;
        for (const auto &x : vista.dispositivo.Motor.Textos) letras += x.Texto.size() - x.Texto.count(QChar(' '));
        EXPECT_EQ(letras, texto.size() - texto.count(QChar(' ')));
    }
}

TEST(Tabelas, AWordWiderThanThePageBreaksInsideItsCell) {
    // Every character of the word is drawn, and none outside the page.
    TItemTabela t;
    const std::string longa(3000, 'x');
    t.Celulas = {{"Nome", "Valor"}, {longa, "1,00"}, {"b", "2,00"}};
    TVista vista(1);
    vista.v.TargetLastPage = 100;
    t.Escreve(vista.v, 3, 2);
    qsizetype xs = 0;
    for (const auto &x : vista.dispositivo.Motor.Textos) {
        xs += x.Texto.count(QLatin1Char('x'));
        EXPECT_GE(x.Base.x(), 0) << x.Texto.left(20).toStdString();
        EXPECT_LE(x.Base.x() + x.Largura, vista.v.PaperWidth) << x.Texto.left(20).toStdString();
    }
    EXPECT_EQ(xs, 3000);
}

} // namespace
