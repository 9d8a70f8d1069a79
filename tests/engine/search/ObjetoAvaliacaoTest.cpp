#include "search/ObjetoAvaliacao.h"

#include "../worksheet/PlanilhaTeste.h"

#include <gtest/gtest.h>

using namespace zelto;
using zelto::teste::Define;
using zelto::teste::Var;

namespace {

// Área (numeric), Estado (qualitative), Esquina (dichotomous), Total =
// [Área]*[Fator] (calculated), Obs (comment, unused), Valor (dependent).
void Planilha(TGridzelto &g) {
    Define(g, 1, Var(tvNumerica, "Área"));
    g.Variavel(1)->PontosDeMilhar = true;
    Define(g, 2, Var(tvQualitativa, "Estado"), TDataFormat{teLista, {{"Bom", 3}, {"Ruim", 1}}});
    TVariavel d = Var(tvDicotomica, "Esquina");
    d.Rotulos = "Sim|Não";
    Define(g, 3, d);
    TVariavel t = Var(tvCalculada, "Total");
    t.Equacao = "[Área]*[Fator]";
    Define(g, 4, t);
    Define(g, 5, Var(tvComentario, "Obs", false));
    Define(g, 6, Var(tvNumerica, "Valor"));
    g.Variavel(6)->Dependente = true;
}

TIdentificacaoObjeto::Nome Nome(std::string texto, std::string unidade, std::int16_t genero) {
    return {std::move(texto), std::move(unidade), genero, 0};
}

} // namespace

TEST(ValoresObjeto, LinesAreFoundByTheirWholeName) {
    std::vector<std::string> v = {"area=1", "Área=2,5", "A=B=7", "Vazio="};
    EXPECT_EQ(ValorObjeto(v, "Área"), "2,5");
    EXPECT_EQ(ValorObjeto(v, "ÁREA"), "2,5"); // differing only in case
    EXPECT_EQ(ValorObjeto(v, "area"), "1");   // the exact match wins
    EXPECT_EQ(ValorObjeto(v, "A=B"), "7");    // a name holding "="
    EXPECT_EQ(ValorObjeto(v, "Vazio"), "");
    EXPECT_EQ(ValorObjeto(v, "Ár"), std::nullopt);
    DefineValorObjeto(v, "Vazio", "3");
    DefineValorObjeto(v, "Novo", "4");
    EXPECT_EQ(v[3], "Vazio=3");
    EXPECT_EQ(v.back(), "Novo=4");
}

TEST(ValoresObjeto, ValueOfEachVariableFollowsItsKind) {
    TGridzelto g;
    Planilha(g);
    g.ValoresObjeto = {"Área=1.234,5", "Estado=bom", "Esquina=true"};
    EXPECT_EQ(ValorObjetoColuna(g, 1), 1234.5L);
    EXPECT_EQ(ValorObjetoColuna(g, 2), 3.0L);
    EXPECT_EQ(ValorObjetoColuna(g, 3), 0.0L); // only "TRUE" is 1
    EXPECT_EQ(ValorObjetoColuna(g, 4), 0.0L); // no line
}

TEST(IdentificacaoObjeto, ExplanatoryTexts) {
    TIdentificacaoObjeto id;
    EXPECT_EQ(RotuloValorCaracteristica(id), "Valor da característica multiplicativa");
    EXPECT_EQ(ResumoObjeto(id, "Valor"), "Os cálculos estatísticos fornecerão Valor do bem.  \r\n");

    id.Objeto = Nome("Casa", "R$/m²", 1);
    id.Caracteristica = Nome("área", "m²", 1);
    id.ValorAvaliado = Nome("Valor venal", "R$", 0);
    EXPECT_EQ(RotuloValorCaracteristica(id), "Valor da área da Casa (em m²)");
    EXPECT_EQ(ResumoObjeto(id, "Unitário"),
              "Os cálculos estatísticos fornecerão Unitário da Casa.  Unitário foi informado em "
              "R$/m².\r\nO valor da área será multiplicado pelo valor avaliado de Unitário da "
              "Casa.\r\nO resultado final será o Valor venal da Casa.");

    id.Objeto = Nome("", "", 0);
    id.Caracteristica = Nome("Terreno", "", 0);
    EXPECT_EQ(RotuloValorCaracteristica(id), "Valor do Terreno");
    EXPECT_EQ(ResumoObjeto(id, "V"),
              "Os cálculos estatísticos fornecerão V do bem.  \r\nO valor do Terreno será "
              "multiplicado pelo valor avaliado de V do bem.\r\nO resultado final será o Valor "
              "venal do bem.");
}

TEST(IdentificacaoObjeto, MultiplierAndFinalValue) {
    // Multiplier 0 shows an empty field and writes no final value.
    TIdentificacaoObjeto id;
    id.Caracteristica.Texto = "Área";
    EXPECT_EQ(TextoMultiplicador(id), "");
    EXPECT_FALSE(EscreveValorFinal(id));
    ASSERT_TRUE(LeMultiplicador("125,5", id));
    EXPECT_EQ(TextoMultiplicador(id), "125,5000");
    EXPECT_TRUE(EscreveValorFinal(id));
    EXPECT_FALSE(LeMultiplicador("abc", id));
    EXPECT_EQ(id.Multiplicador, 125.5L);
    id.Caracteristica.Texto = " ";
    EXPECT_FALSE(EscreveValorFinal(id));
}

TEST(EdicaoObjeto, CalculatedVariablesOfTheSubject) {
    TGridzelto g;
    Planilha(g);
    // "Fator" is no variable of the worksheet: it is read from the stored lines.
    g.ValoresObjeto = {"Fator=1.000,5", "Área=2"};
    TEdicaoObjeto e(g, true);
    int area = e.Indice("Área"), total = e.Indice("Total");
    ASSERT_GE(area, 0);
    ASSERT_GE(total, 0);
    EXPECT_EQ(e.Indice("Valor"), -1); // the dependent variable is not asked
    EXPECT_EQ(e.Valores()[total].Texto, "2001,00");

    e.AtribuiTexto(area, "3");
    EXPECT_EQ(e.Valores()[area].Texto, "3,00");
    EXPECT_EQ(e.Valores()[total].Texto, "3001,50");
    e.AtribuiTexto(total, "9"); // not typed into
    EXPECT_EQ(e.Valores()[total].Texto, "3001,50");
    e.Limpa(area);
    EXPECT_EQ(e.Valores()[total].Texto, "???");

    // A stored value that is no number leaves the name unresolved.
    g.ValoresObjeto = {"Fator=muito", "Área=2"};
    TEdicaoObjeto f(g, true);
    EXPECT_EQ(f.Valores()[total].Texto, "???");

    // Typed texts take the column's form.
    f.AtribuiTexto(f.Indice("Estado"), " ruim ");
    f.AtribuiTexto(f.Indice("Esquina"), "Sim");
    EXPECT_EQ(f.Valores()[f.Indice("Estado")].Texto, "Ruim");
    EXPECT_EQ(f.Valores()[f.Indice("Esquina")].Texto, "TRUE");
}

// A value that does not convert for its variable's kind is refused with a message naming the
// variable and the value, never taken as 0 or as "Não".
TEST(EdicaoObjeto, ValuesThatDoNotConvertAreRefused) {
    TGridzelto g;
    Planilha(g);
    Define(g, 7, Var(tvData, "Data"));
    const struct {
        int coluna;
        const char *texto, *recusa;
    } casos[] = {
        {1, "abc", "O valor \"abc\" da variável \"Área\" não é um número."},
        {1, "12,5x", "O valor \"12,5x\" da variável \"Área\" não é um número."},
        {2, "Ótimo", "O valor \"Ótimo\" da variável \"Estado\" não é um dos rótulos da sua tabela: "
                     "Bom, Ruim."},
        {3, "Talvez", "O valor \"Talvez\" da variável \"Esquina\" não é um dos rótulos da sua "
                      "tabela: Sim, Não."},
        {7, "31/13/2020", "O valor \"31/13/2020\" da variável \"Data\" não é uma data."},
        {1, "1.234,5", ""}, {1, "", ""},       {2, "bom", ""},  {2, "1", ""},
        {3, "Não", ""},     {3, "TRUE", ""},   {5, "qualquer", ""}, {7, "15/01/2019", ""},
    };
    for (const auto &c : casos)
        EXPECT_EQ(RecusaValorObjeto(g, c.coluna, c.texto), c.recusa) << c.texto;

    // The dialog's entry keeps its value when a text is refused.
    g.ValoresObjeto = {"Área=2", "Esquina=Talvez"};
    TEdicaoObjeto e(g, true);
    EXPECT_EQ(e.Recusa(), "O valor \"Talvez\" da variável \"Esquina\" não é um dos rótulos da "
                          "sua tabela: Sim, Não.");
    const int area = e.Indice("Área");
    EXPECT_EQ(e.AtribuiTexto(area, "dois"), "O valor \"dois\" da variável \"Área\" não é um número.");
    EXPECT_EQ(e.Valores()[area].Texto, "2");
    EXPECT_EQ(e.AtribuiTexto(e.Indice("Esquina"), "Não"), "");
    EXPECT_EQ(e.Recusa(), "");
}

TEST(EdicaoObjeto, ConfirmingRebuildsTheValuesAndAbandoningChangesNothing) {
    TGridzelto g;
    Planilha(g);
    g.ValoresObjeto = {"Obs=esquina nobre", "Área=100,00", "Valor=9"};
    g.DefineModificada(false);
    {
        TEdicaoObjeto abandonada(g, true, {true, false});
        abandonada.AtribuiTexto(abandonada.Indice("Área"), "5");
        abandonada.Identificacao.Objeto.Texto = "Casa";
    }
    EXPECT_EQ(g.ValoresObjeto.size(), 3u);
    EXPECT_FALSE(g.Modificada());

    // Hidden and alphabetical: the grid shows the used variables by title;
    // confirming keeps the hidden ones' values too.
    TEdicaoObjeto e(g, true, {true, true});
    std::vector<std::string> vistos;
    for (int i : e.Visiveis())
        vistos.push_back(e.Valores()[i].Nome);
    EXPECT_EQ(vistos, (std::vector<std::string>{"Área", "Esquina", "Estado", "Total"}));
    e.AtribuiTexto(e.Indice("Estado"), "3");
    EXPECT_TRUE(e.Confirma(g));
    EXPECT_TRUE(g.Modificada());
    EXPECT_EQ(g.ValoresObjeto, (std::vector<std::string>{"Área=100,00", "Esquina=", "Estado=Bom",
                                                         "Obs=esquina nobre", "Total=???"}));

    // The same values in another order are no change.
    g.DefineModificada(false);
    TEdicaoObjeto igual(g, true);
    EXPECT_FALSE(igual.Confirma(g));
    EXPECT_FALSE(g.Modificada());

    // The descriptive mode edits the description only.
    TEdicaoObjeto d(g, false);
    EXPECT_TRUE(d.Visiveis().empty());
    EXPECT_EQ(d.LegendaUnidade(), "(da variável a avaliar)");
    d.Identificacao.Multiplicador = 2;
    EXPECT_TRUE(d.Confirma(g));
    EXPECT_EQ(g.ValoresObjeto.size(), 5u);
    EXPECT_EQ(g.IdentificacaoObjeto.Multiplicador, 2.0L);
}

TEST(EdicaoObjeto, MissingValuesBeforeAModelIsChosen) {
    struct Caso {
        std::vector<std::string> valores;
        long double multiplicador;
        bool inferencial, pedirSempre;
        bool deve;
        std::vector<int> faltam;
    };
    const std::vector<std::string> completos = {"Área=1", "Estado=Bom", "Esquina=FALSE", "Total=2"};
    const Caso casos[] = {
        {completos, 0, true, false, false, {}},
        {completos, 0, true, true, true, {}}, // "PdOA" asks always
        {{}, 0, true, false, true, {1, 2, 3, 4}},
        {{"Área=  ", "Estado=Bom", "Esquina=FALSE", "Total=2"}, 0, true, false, true, {1}},
        {{"ÁREA=1", "Estado=Bom", "Esquina=FALSE", "Total=2"}, 0, true, false, false, {}},
        {{}, 0, false, false, true, {1, 2, 3, 4}},
        {{}, 1.5, false, false, false, {1, 2, 3, 4}},
    };
    for (const Caso &c : casos) {
        TGridzelto g;
        Planilha(g); // Obs is unused, Valor dependent: neither is ever missing
        g.ValoresObjeto = c.valores;
        g.IdentificacaoObjeto.Multiplicador = c.multiplicador;
        EXPECT_EQ(DevePedirObjeto(g, c.inferencial, c.pedirSempre), c.deve);
        EXPECT_EQ(VariaveisSemValor(g), c.faltam);
    }
}

TEST(EdicaoObjeto, CheckBeforeChoosingAModel) {
    TGridzelto g;
    Planilha(g);
    const std::vector<std::string> completos = {"Área=1", "Estado=Bom", "Esquina=FALSE", "Total=2"};
    struct Caso {
        bool inferencial;
        std::vector<Resposta> respostas;
        int preencheNaAbertura; // 0: never
        bool abandona;
        bool segue;
        int aberturas, perguntas;
    };
    const Caso casos[] = {
        {true, {Resposta::Nao}, 0, false, true, 1, 1},                // goes on with zeros
        {true, {Resposta::Cancelar}, 0, false, false, 1, 1},          // abandons the choice
        {true, {Resposta::Sim, Resposta::Sim}, 2, false, true, 2, 1}, // yes opens it again
        {true, {}, 1, false, true, 1, 0},                             // filled: nothing asked
        {true, {}, 0, true, false, 1, 0},                             // dialog abandoned
        {false, {}, 0, false, true, 1, 0}, // descriptive: multiplier 0 opens the dialog only
    };
    for (const Caso &c : casos) {
        g.ValoresObjeto.clear();
        std::vector<Resposta> respostas = c.respostas;
        int aberturas = 0, perguntas = 0;
        auto informa = [&] {
            if (++aberturas == c.preencheNaAbertura) g.ValoresObjeto = completos;
            return !c.abandona;
        };
        auto pergunta = [&](const std::string &t) {
            ++perguntas;
            EXPECT_EQ(t, kPerguntaObjetoIncompleto);
            Resposta r = respostas.front();
            respostas.erase(respostas.begin());
            return r;
        };
        EXPECT_EQ(ConfereObjeto(g, c.inferencial, false, informa, pergunta), c.segue);
        EXPECT_EQ(aberturas, c.aberturas);
        EXPECT_EQ(perguntas, c.perguntas);
    }
    EXPECT_STREQ(kPerguntaObjetoIncompleto,
                 "Algumas variáveis do objeto sob avaliação não estão com seus valores "
                 "informados.\r\n\r\nVariáveis não preenchidas são consideradas com valor 0 "
                 "(zero). Isso pode inviabilizar alguns modelos, caso exista transformação inversa "
                 "ou logarítmica para a variável não preenchida.\r\n\r\nDeseja informar os dados "
                 "não preenchidos?");
}
