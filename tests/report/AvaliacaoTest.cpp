// The evaluation's run of the items and its export, and the data items: what an empty report
// holds, items without parts, the descriptive mode's list and titles, failures caught per part
// (the export and the screen differ), cells that fail, cancelling, and the sample table with its
// marks, dichotomous cells and the factor checks of the descriptive mode.
#include "RelatorioTeste.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace zelto;
using teste::TBlocoCaptura;
using teste::TEscritorCaptura;

namespace {

const std::string kDados = ZELTO_DADOS_TESTE;

class TProgressoTeste : public TProgresso {
  public:
    double Maximo = 0;
    int Passos = 0;
    int CancelaNoPasso = -1;
    std::vector<std::string> Textos;
    void Inicia(const std::string &, double, double maximo, bool) override { Maximo = maximo; }
    void Avanca(double) override {
        if (++Passos == CancelaNoPasso) Cancela();
    }
    void TextoAuxiliar(const std::string &t) override { Textos.push_back(t); }
};

// A small fitted worksheet: y on x1 and x2, eight samples.
struct TCaso : teste::TRelatorioTeste {
    TCaso() {
        grid = teste::PlanilhaDeColunas({"y", "x1", "x2"}, {{10, 12, 15, 14, 18, 21, 20, 25},
                                                            {1, 2, 3, 4, 5, 6, 7, 8},
                                                            {3, 1, 4, 1, 5, 9, 2, 6}});
        EXPECT_TRUE(Modelo({{1, 1}, {2, 1}, {3, 1}}));
    }
};

QStringList Textos(const std::vector<TBlocoCaptura> &parte) {
    QStringList l;
    for (const TBlocoCaptura &b : parte)
        if (!b.Tabela && !b.Texto.isEmpty()) l << b.Texto;
    return l;
}

TEST(Avaliacao, NoItemIncludedGivesHeaderAndFooterOnly) {
    TCaso caso;
    caso.config.Cabecalho.Texto = QStringLiteral("Laudo (página)");
    caso.config.Rodape.Texto = QStringLiteral("Fim");
    TListaItens itens = CriaCatalogo();
    for (auto &i : itens)
        i->Incluido = false;
    TProgressoTeste p;
    ASSERT_TRUE(caso.Exporta(itens, &p));
    EXPECT_TRUE(caso.e.Fechado);
    EXPECT_TRUE(caso.e.Itens.empty());
    EXPECT_EQ(caso.e.Cabecalhos, 1);
    EXPECT_EQ(caso.e.Rodapes, 1);
    EXPECT_EQ(Textos(caso.e.ForaDeItens), (QStringList{QStringLiteral("Laudo #"), QStringLiteral("Fim")}));
    EXPECT_EQ(p.Maximo, kNumeroItens + 7);
    EXPECT_EQ(p.Passos, 7);
    // The document information and the page of the settings.
    EXPECT_EQ(caso.e.Title, QStringLiteral("ZELTO Plus - módulo de estatística. Revisão 32.65"));
    EXPECT_EQ(caso.e.Subject, QStringLiteral("Relatório de avaliação"));
    EXPECT_EQ(caso.e.LeftMargin, ParaTwips(25));
    EXPECT_EQ(caso.e.TextWidth, ParaTwips(210 - 25 - 17));
}

TEST(Avaliacao, ItemsWithoutPartsAndTheDescriptiveMode) {
    TCaso caso;
    TListaItens itens = CriaCatalogo();
    TProgressoTeste p;
    ASSERT_TRUE(caso.Exporta(itens, &p));
    EXPECT_EQ(caso.e.Itens.size(), static_cast<std::size_t>(kNumeroItens));
    // Every worksheet variable is in the model: no variable is left out to plot residuals on.
    const auto *residuos = caso.e.Item(48);
    ASSERT_NE(residuos, nullptr);
    ASSERT_EQ(residuos->Partes.size(), 1u);
    EXPECT_EQ(Textos(residuos->Partes[0]),
              (QStringList{QStringLiteral("Resíduos x Variáveis Omitidas"),
                           QStringLiteral("Não existem informações neste item do relatório.")}));
    // Progress steps follow report order: item 57 stands before item 48.
    EXPECT_EQ(p.Textos[48], "(Resíduos x Variáveis Omitidas)");
    EXPECT_EQ(p.Passos, kNumeroItens + 7);

    TCaso descritivo;
    ASSERT_TRUE(descritivo.Exporta(itens, nullptr, false));
    std::vector<int> numeros;
    for (const auto &i : descritivo.e.Itens)
        numeros.push_back(i.Numero);
    for (int ausente : {3, 6, 7, 8, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 24, 38, 39, 45, 46, 47, 49, 57, 58})
        EXPECT_EQ(std::count(numeros.begin(), numeros.end(), ausente), 0) << ausente;
    EXPECT_EQ(descritivo.e.Item(23)->Titulo, QStringLiteral("Tabela de Desvios"));
    EXPECT_EQ(descritivo.e.Item(30)->Titulo, QStringLiteral("Estatísticas Gerais"));
    EXPECT_TRUE(Textos(descritivo.e.Item(1)->Partes[0]).contains(QStringLiteral("Zelto 32 - Modo de Estatística Descritiva.")));
}

// Items that fail on purpose.
class TItemFalho : public TItemAvaliacaoTab {
  public:
    TItemFalho(const TDescricaoItem &d, bool calculo, bool impressao, bool celula)
        : TItemAvaliacaoTab(d), calculo_(calculo), impressao_(impressao), celula_(celula) {}
    int NumeroPartes() const override { return 2; }
    void Calcula(int parte) override {
        if (calculo_ && parte == 0) throw TErroCalculo("cálculo");
    }
    void Imprime(int parte) override {
        Linha("parte " + std::to_string(parte));
        if (impressao_) throw TErroCalculo("impressão");
        EscreveTabela(2, 2);
    }
    std::string TextoCelula(int l, int c) const override {
        if (celula_ && l == 1 && c == 1) throw TErroCalculo("célula");
        return std::to_string(l) + std::to_string(c);
    }

  private:
    bool calculo_, impressao_, celula_;
};

TEST(Avaliacao, FailuresAreCaughtPerPart) {
    // Every writer gets the same content: a part whose computation or writing fails gets the
    // error block, and the next part goes on under its own title.
    const QString bloco = QStringLiteral(">>> ATENÇÃO <<<");
    const QStringList erro{bloco, QStringLiteral("Ocorreram erros de cálculo nesta etapa."),
                           QStringLiteral("\"Amostra\" não pode ser completamente calculado."),
                           QStringLiteral("O modelo selecionado parece ser inadequado à amostra e/ou o bem avaliando informado."),
                           QStringLiteral("-> Recomenda-se trocar o modelo e/ou revisar os dados da amostra ou do bem avaliando.")};
    struct Caso {
        bool calculo, impressao;
        QStringList parte0;
    };
    const QString titulo = QStringLiteral("Amostra");
    const Caso casos[] = {
        {true, false, QStringList{titulo} + erro},
        {false, true, QStringList{titulo, QStringLiteral("parte 0")} + erro},
    };
    for (const Caso &c : casos) {
        TCaso caso;
        TListaItens itens;
        itens.push_back(std::make_unique<TItemFalho>(kCatalogo[1], c.calculo, c.impressao, false));
        TAvaliacao av(*caso.s);
        double passo = 0;
        av.ExecutaItens(itens, caso.Contexto(), caso.e, nullptr, passo);
        ASSERT_EQ(caso.e.Itens.size(), 1u);
        const auto &partes = caso.e.Itens[0].Partes;
        ASSERT_EQ(partes.size(), 2u);
        EXPECT_EQ(Textos(partes[0]), c.parte0) << c.calculo << c.impressao;
        QStringList segunda = Textos(partes[1]);
        EXPECT_TRUE(segunda.contains(titulo));
        EXPECT_TRUE(segunda.contains(QStringLiteral("parte 1")));
    }
    // A cell that fails is shown as "«valor inválido»"; the rest of the table stands.
    TCaso caso;
    TListaItens itens;
    itens.push_back(std::make_unique<TItemFalho>(kCatalogo[1], false, false, true));
    TAvaliacao av(*caso.s);
    double passo = 0;
    av.ExecutaItens(itens, caso.Contexto(), caso.e, nullptr, passo);
    const TBlocoCaptura *tabela = nullptr;
    for (const TBlocoCaptura &b : caso.e.Itens[0].Partes[0])
        if (b.Tabela) tabela = &b;
    ASSERT_NE(tabela, nullptr);
    EXPECT_EQ(tabela->Celulas[1], (QStringList{QStringLiteral("10"), QStringLiteral("«valor inválido»")}));
    EXPECT_EQ(tabela->Celulas[0], (QStringList{QStringLiteral("00"), QStringLiteral("01")}));
}

TEST(Avaliacao, CancelledExportLeavesNoDocument) {
    for (int passo : {2, 9}) {
        TCaso caso;
        TListaItens itens = CriaCatalogo();
        TProgressoTeste p;
        p.CancelaNoPasso = passo;
        EXPECT_FALSE(caso.Exporta(itens, &p)) << passo;
        EXPECT_FALSE(caso.e.Fechado) << passo;
        EXPECT_EQ(p.Passos, passo);
    }
}

// ---- The data items ---------------------------------------------------------------------------

const TBlocoCaptura *Tabela(const TEscritorCaptura &e, int numero) {
    const auto *item = e.Item(numero);
    if (!item || item->Partes.empty()) return nullptr;
    for (const TBlocoCaptura &b : item->Partes[0])
        if (b.Tabela) return &b;
    return nullptr;
}

TEST(ItensDados, SampleTableMarksAndNotes) {
    TCaso caso;
    teste::Desconsidera(*caso.grid, 2);
    teste::Saneia(*caso.grid, 5);
    ASSERT_TRUE(caso.Modelo({{1, 1}, {2, 1}, {3, 1}}));
    TListaItens itens = CriaCatalogo();
    for (auto &i : itens)
        i->Incluido = i->Descricao().Numero == 2;

    // Both options off: the used samples and the model's variables, no notes.
    caso.config.VariaveisNaoUsadas = caso.config.AmostragensNaoUsadas = false;
    ASSERT_TRUE(caso.Exporta(itens));
    const TBlocoCaptura *t = Tabela(caso.e, 2);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->Celulas.size(), 7u);
    EXPECT_EQ(t->Celulas[0], (QStringList{QStringLiteral("Nº Am."), QStringLiteral("y"), QStringLiteral("x1"),
                                          QStringLiteral("x2")}));
    EXPECT_EQ(t->Celulas[2][0], QStringLiteral("3"));
    EXPECT_EQ(Textos(caso.e.Item(2)->Partes[0]), QStringList{QStringLiteral("Amostra")});

    // Both on: every sample, marked, and the notes.
    TCaso todos;
    teste::Desconsidera(*todos.grid, 2);
    teste::Saneia(*todos.grid, 5);
    todos.config.VariaveisNaoUsadas = todos.config.AmostragensNaoUsadas = true;
    ASSERT_TRUE(todos.Exporta(itens));
    t = Tabela(todos.e, 2);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->Celulas.size(), 9u);
    EXPECT_EQ(t->Celulas[2][0], QStringLiteral("«2»"));
    EXPECT_EQ(t->Celulas[5][0], QStringLiteral("»5«"));
    const QStringList notas = Textos(todos.e.Item(2)->Partes[0]);
    EXPECT_TRUE(notas.contains(QStringLiteral("Amostragens marcadas com \"«\" e \"»\" não serão usadas nos cálculos.")));
    EXPECT_TRUE(notas.contains(QStringLiteral("Amostragens marcadas com \"»\" e \"«\" foram eliminadas pelo saneamento automático.")));
}

TEST(ItensDados, DichotomousCellsAndUnusedVariables) {
    teste::TRelatorioTeste r;
    r.grid = teste::LePlanilhaTeste(kDados + "/../../examples/windsor.QV3");
    ASSERT_TRUE(r.Modelo({{1, 2}, {2, 2}, {3, 1}}));
    TListaItens itens = CriaCatalogo();
    for (auto &i : itens)
        i->Incluido = i->Descricao().Numero == 2 || i->Descricao().Numero == 4;
    ASSERT_TRUE(r.Exporta(itens));
    const TEscritorCaptura &e = r.e;
    const TBlocoCaptura *t = Tabela(e, 2);
    ASSERT_NE(t, nullptr);
    const int driveway = static_cast<int>(t->Celulas[0].indexOf(QStringLiteral("«driveway»")));
    ASSERT_GT(driveway, 0);
    EXPECT_EQ(t->Celulas[1][driveway], QStringLiteral("[x]Sim"));
    EXPECT_EQ(t->Celulas[0][1], QStringLiteral("price"));
    const int recreation = static_cast<int>(t->Celulas[0].indexOf(QStringLiteral("«recreation»")));
    EXPECT_EQ(t->Celulas[1][recreation], QStringLiteral("[ ]Não"));
    EXPECT_TRUE(Textos(e.Item(2)->Partes[0])
                    .contains(QStringLiteral("Variáveis marcadas com \"«\" e \"»\" não serão usadas nos cálculos.")));
    const QStringList variaveis = Textos(e.Item(4)->Partes[0]);
    EXPECT_TRUE(variaveis.contains(QStringLiteral("Variáveis Independentes:")));
    EXPECT_TRUE(variaveis.contains(QStringLiteral("• garage (variável não utilizada no modelo): Número de vagas de garagem.")));
}

// The descriptive mode checks the factors: a product equal to the upper bound is within it.
TEST(ItensDados, FactorChecksOfTheDescriptiveMode) {
    teste::TRelatorioTeste r;
    r.grid = teste::PlanilhaDeColunas({"v", "f1", "f2"}, {{100, 120, 90, 80}, {0.75, 1.2, 0.5, 0.4}, {2, 1, 1.1, 1}});
    ASSERT_NE(r.grid, nullptr);
    teste::MarcaVariavel(*r.grid, 1, true, true);
    teste::MarcaVariavel(*r.grid, 2, true, false, true);
    teste::MarcaVariavel(*r.grid, 3, true, false, true);
    ASSERT_TRUE(r.Modelo({{1, 1}}));
    TListaItens itens = CriaCatalogo();
    for (auto &i : itens)
        i->Incluido = i->Descricao().Numero == 2;
    r.sig.IntervaloFatorInferior = r.sig.IntervaloConjuntoInferior = 0.5;
    r.sig.IntervaloFatorSuperior = r.sig.IntervaloConjuntoSuperior = 1.5;
    r.sig.IntervaloConjuntoNormatizado = true;
    r.sig.Descricao = "NBR";
    ASSERT_TRUE(r.Exporta(itens, nullptr, false));
    const TEscritorCaptura &e = r.e;
    const QStringList l = Textos(e.Item(2)->Partes[0]);
    EXPECT_TRUE(l.contains(QStringLiteral("Os fatores individuais devem ficar entre 0,50 e 1,50.")));
    EXPECT_TRUE(l.contains(QStringLiteral("Os seguintes fatores estão fora dos limites de 0,50 a 1,50: ")));
    EXPECT_TRUE(l.contains(QStringLiteral("• f1")));
    EXPECT_TRUE(l.contains(QStringLiteral("• f2")));
    EXPECT_TRUE(l.contains(QStringLiteral(
        "Para atender aos critérios da NBR, o conjunto de fatores utilizados na avaliação deve ficar entre 0,50 e 1,50.")));
    EXPECT_TRUE(l.contains(QStringLiteral("A seguinte amostragem extrapolou este limite:")));
    EXPECT_TRUE(l.contains(QStringLiteral("· Amostragem [4]: Conjunto de fatores é 0,400 - inferior ao limite mínimo.")));
    for (const QString &linha : l)
        EXPECT_FALSE(linha.contains(QStringLiteral("Amostragem [1]"))) << "0,75 x 2 equals the upper bound";
}

// The descriptive mode values the homogenised sample only: with no coefficient column, or a
// used column left unmarked, or factors that never reach the value evaluated, the formation of
// values says what is missing and values nothing, and the sample item claims nothing about
// factors that do not exist.
TEST(ItensDados, DescriptiveModeValuesOnlyAHomogenisedSample) {
    const QString nenhum = QStringLiteral("Nenhuma variável está marcada como coeficiente de homogeneização.");
    const QString semMarca =
        QStringLiteral("A variável f está em uso sem estar marcada como coeficiente de homogeneização.");
    const QString bruto = QStringLiteral(
        "O valor a avaliar, v, não é o valor homogeneizado pelos coeficientes (uma coluna calculada como "
        "\"Valor Homog.\").");
    const QString fim = QStringLiteral("Sem a amostra homogeneizada, o valor do objeto não é estimado.");
    const QString titulo = QStringLiteral("Formação dos Valores");
    struct Caso {
        bool marcado;
        QStringList formacao;
    } casos[] = {{false, {titulo, nenhum, semMarca, fim}}, {true, {titulo, bruto, fim}}};
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.marcado);
        teste::TRelatorioTeste r;
        r.grid = teste::PlanilhaDeColunas({"v", "f"}, {{100, 120, 90}, {0.9, 1.1, 1}});
        ASSERT_NE(r.grid, nullptr);
        teste::MarcaVariavel(*r.grid, 1, true, true);
        teste::MarcaVariavel(*r.grid, 2, true, false, c.marcado);
        ASSERT_TRUE(r.Modelo({{1, 1}}));
        TListaItens itens = CriaCatalogo();
        for (auto &i : itens)
            i->Incluido = i->Descricao().Numero == 2 || i->Descricao().Numero == 50;
        ASSERT_TRUE(r.Exporta(itens, nullptr, false));
        EXPECT_EQ(Textos(r.e.Item(50)->Partes[0]), c.formacao);
        const QStringList amostra = Textos(r.e.Item(2)->Partes[0]);
        EXPECT_EQ(amostra.contains(QStringLiteral(
                      "Nenhuma variável está marcada como coeficiente de homogeneização: não há fatores a verificar.")),
                  !c.marcado);
        EXPECT_EQ(amostra.contains(QStringLiteral("O fator individual deve ficar entre 0,50 e 1,50.")), c.marcado);
    }
}

} // namespace
