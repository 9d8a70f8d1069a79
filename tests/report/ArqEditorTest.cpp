// The helpers every writer shares: the text markup, header and footer texts, the table state
// and the units.
#include "EscritorRegistro.h"

#include "chart/GeometriaChart.h"
#include "writer/LayoutTabela.h"
#include "writer/TextoLiteral.h"

#include <gtest/gtest.h>

using namespace zelto;
using zelto::teste::TEscritorRegistro;

namespace {

QStringList Formata(const QString &texto, int tamanho = 10) {
    TEscritorRegistro w;
    w.CurrentFont.Tamanho = tamanho;
    w.WriteFormatted(texto);
    return w.Registro;
}

} // namespace

TEST(ArqEditor, MarcacaoDoTexto) {
    const struct {
        const char *texto;
        QStringList esperado;
    } casos[] = {
        {"sem marca", {"texto:sem marca"}},
        // mantissa, "x" at 0.8 of the size, "10", the exponent raised at 0.7 of the size
        {"1,23###-5% m²",
         {"texto:1,23", "tamanho~8", "texto:x", "restaura", "texto:10", "tamanho~7", "super+",
          "texto:-5", "super-", "restaura", "texto: m²"}},
        {"R%^%2% ajustado",
         {"texto:R", "tamanho~7", "super+", "texto:2", "super-", "restaura",
          "texto: ajustado"}},
        // the infinite marker: leading blanks and the infinity sign only, never the mantissa;
        // the font comes back for writers that ignore RestoreFont
        {"  1,18###4932%",
         {"texto:  ", "fonte:Symbol", "texto:\u00A5", "restaura", "fonte:Arial"}},
        {"-1,18###4932% b",
         {"texto:-", "fonte:Symbol", "texto:\u00A5", "restaura", "fonte:Arial", "texto: b"}},
        // a second marker keeps the words before its mantissa
        {"1###4932% e -2,5###4932%",
         {"fonte:Symbol", "texto:\u00A5", "restaura", "fonte:Arial", "texto: e -",
          "fonte:Symbol", "texto:\u00A5", "restaura", "fonte:Arial"}},
        // no closing "%": no marker, the rest is written as it stands
        {"2###10 fim", {"texto:2###10 fim"}},
        {"a 1###2% b%^%c", {"texto:a 1", "tamanho~8", "texto:x", "restaura", "texto:10",
                            "tamanho~7", "super+", "texto:2", "super-", "restaura",
                            "texto: b%^%c"}},
        // the earlier of two markers is taken first
        {"R%^%2% = 1###3%",
         {"texto:R", "tamanho~7", "super+", "texto:2", "super-", "restaura", "texto: = 1",
          "tamanho~8", "texto:x", "restaura", "texto:10", "tamanho~7", "super+", "texto:3",
          "super-", "restaura"}},
    };
    for (const auto &c : casos) EXPECT_EQ(Formata(QString::fromUtf8(c.texto)), c.esperado) << c.texto;
    EXPECT_EQ(Formata(QStringLiteral("1###2%"), 9).mid(1, 1), QStringList{"tamanho~7"});
}

// User text enters the report through Literal(): every renderer of the markup gives it back as
// typed, while the markup composed around it still applies.
TEST(ArqEditor, TextoDoUsuarioLiteral) {
    const QString esc{QChar(EscapeLiteral)};
    const QString casos[] = {
        QStringLiteral("Matrícula ### a confirmar; desconto de 10% sobre o valor"),
        QStringLiteral("Valor 1###4932% reais"), QStringLiteral("v###5%"), QStringLiteral("R%^%2%"),
        QStringLiteral("%"), QStringLiteral("###"),
        // a typed escape character, alone, before a pair's letter and at the end
        esc + QStringLiteral("h%") + esc + esc + QStringLiteral("p"), esc};
    for (const QString &t : casos) {
        EXPECT_EQ(Formata(Literal(t)), QStringList{"texto:" + t}) << t.toStdString();
        EXPECT_EQ(TextoVisivel(Literal(t)), t) << t.toStdString();
        const auto trechos = TrechosTexto(Literal(t.toStdString()));
        ASSERT_EQ(trechos.size(), 1u) << t.toStdString();
        EXPECT_EQ(trechos[0].Texto, t.toStdString());
        EXPECT_FALSE(trechos[0].Sobrescrito);
    }
    // A literal name inside composed markup: the name as typed, the square still raised.
    EXPECT_EQ(Formata(Literal(QStringLiteral("v###5%")) + QStringLiteral("%^%2%")),
              (QStringList{"texto:v###5%", "tamanho~7", "super+", "texto:2", "super-", "restaura"}));
    EXPECT_EQ(TextoVisivel(Literal(QStringLiteral("a%b")) + QStringLiteral(" 1###3%")),
              QStringLiteral("a%b 1x103"));
    // The header keeps its page field among literal text.
    TEscritorRegistro w;
    w.WriteHeaderFooterText({QStringLiteral("1###4932% (página) 10%^%2%"), TFonte{}, 0});
    EXPECT_EQ(w.Registro, (QStringList{"esquerda", "fonte:Arial", "texto:1###4932% ", "pagina",
                                       "texto: 10%^%2%", "par"}));
}

TEST(ArqEditor, CabecalhoComNumeroDaPagina) {
    TEscritorRegistro w;
    TFonte f;
    f.Nome = QStringLiteral("Times New Roman");
    w.WriteHeaderFooterText({QStringLiteral("Folha (página) de 3\r\nLaudo\r\n"), f, 2});
    EXPECT_EQ(w.Registro, (QStringList{"centro", "fonte:Times New Roman", "texto:Folha ", "pagina",
                                       "texto: de 3", "par", "texto:Laudo", "par"}));
    TEscritorRegistro vazio;
    vazio.WriteHeaderFooterText({QString(), f, 0});
    EXPECT_TRUE(vazio.Registro.isEmpty());
    TEscritorRegistro so;
    so.WriteHeaderFooterText({QStringLiteral("(página)"), f, 0});
    EXPECT_EQ(so.Registro, (QStringList{"esquerda", "fonte:Times New Roman", "pagina", "par"}));
}

TEST(ArqEditor, TabelaColunasEBordas) {
    TArqEditor w;
    w.BeginTable(5, 3, 10001, atDireita);
    EXPECT_EQ(w.Columns[0].Largura, 10001);
    EXPECT_EQ(w.GetColumn(1).Largura, 2000);
    EXPECT_EQ(&w.GetColumn(7), &w.GetColumn(5));
    EXPECT_EQ(&w.GetColumn(0), &w.GetColumn(1));
    EXPECT_EQ(w.GetColumn(2).Margens, (std::array<int, 4>{0, 0, 113, 113}));
    EXPECT_EQ(w.CurrentColumn, 1);
    EXPECT_EQ(w.CurrentRow, 1);
    w.GetColumn(2).Bordas[bdEsquerda] = TBorda{3, 2, 20, true, Cor(1, 2, 3)};
    w.GetColumn(2).Bordas[bdTopo] = TBorda{0, 1, 1, false, 0};
    w.EndRow();
    EXPECT_EQ(w.GetColumn(2).Bordas[bdInternaVertical], (TBorda{3, 2, 20, true, Cor(1, 2, 3)}));
    EXPECT_FALSE(w.GetColumn(2).Bordas[bdInternaHorizontal].Visivel());
}

TEST(ArqEditor, UnidadesEPagina) {
    EXPECT_EQ(ParaTwips(2), 113);
    EXPECT_EQ(ParaTwips(210), 11906);
    EXPECT_EQ(ParaTwips(2.1, TUnidade::Centimetros), 1191);
    EXPECT_EQ(ParaTwips(1, TUnidade::Polegadas), 1440);
    TArqEditor w;
    w.SetPage(170, 25, 247, 20, 210, 297);
    EXPECT_EQ(w.PaperWidth, 11906);
    EXPECT_EQ(w.RightMargin, ParaTwips(15));
    EXPECT_EQ(w.BottomMargin, ParaTwips(30));
    // text measured on a 96-pixel-per-inch image: 15 twips per pixel, a blank of Arial 10 is
    // 2.78 pixels wide at 13.33 pixels per em
    EXPECT_EQ(w.FatorX, 15);
    EXPECT_NEAR(w.MeasureSpace(), 0.2778 * 13.333 * 15, 15);
}
