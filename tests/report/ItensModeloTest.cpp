// Every number the model items and the statistics tables print, against R.
//
// Three models of the Windsor house sales (the regression reference tests' models) and one of
// the Boston housing data (examples/boston.TXT) are fitted and their report items run into a
// capturing writer. Each printed number is read back and compared with the value R 4.2.2
// computed for it (tests/data/report/referencia.R, its output pasted in referencia-r.txt): it
// must be the reference rounded at the printed precision, within half a unit of its last
// printed digit. The verdicts and the accepted/rejected column are checked against R's critical
// values too, and the verdict rules at their boundaries.
#include "RelatorioTeste.h"

#include "items/ItensModelo.h"

#include <cmath>

using namespace zelto;
using namespace zelto::teste;

namespace {

class ItensModelo : public ::testing::TestWithParam<TModeloTeste> {};

TEST_P(ItensModelo, NumbersAgainstR) {
    const TModeloTeste &md = GetParam();
    const auto ref = Referencia();
    ASSERT_FALSE(ref.empty());
    const std::string p = std::string(md.nome) + ".";
    auto R = [&](const std::string &chave) {
        const auto it = ref.find(p + chave);
        EXPECT_NE(it, ref.end()) << p + chave;
        return it == ref.end() ? 0.0L : it->second;
    };
    TLaudoTeste r;
    ASSERT_TRUE(r.Ajusta(kDados + md.arquivo, md.termos));
    r.Executa();
    const int k = static_cast<int>(R("k")), m = k + 1;
    ASSERT_EQ(r.s->n(), static_cast<std::size_t>(R("n")));

    // Regressors with the 80 % interval.
    const TBlocoCaptura &reg = r.Tabela(15);
    ASSERT_EQ(reg.Celulas.size(), static_cast<std::size_t>(k + 1));
    for (int i = 1; i <= k; ++i) {
        const std::string s = std::to_string(i);
        const QStringList &c = reg.Celulas[static_cast<std::size_t>(i)];
        ASSERT_TRUE(c[1].startsWith(QStringLiteral("b%1 = ").arg(i)));
        Confere(c[1].mid(c[1].indexOf(QLatin1Char('=')) + 2), R("b." + s), p + "b." + s);
        Confere(c[2], R("se." + s), p + "se." + s);
        Confere(c[3], R("min." + s), p + "min." + s);
        Confere(c[4], R("max." + s), p + "max." + s);
    }

    // Correlation: r and r² with 4 decimals, t with 4 significant digits.
    const QString rLinha = r.Paragrafo(16, QStringLiteral("Coeficiente de correlação (r) "));
    EXPECT_EQ(ValorRotulado(rLinha).section(QLatin1Char(','), 1).size(), 4);
    Confere(ValorRotulado(rLinha), R("r"), p + "r");
    Confere(ValorRotulado(r.Paragrafo(16, QStringLiteral("Valor t calculado "))), R("tcor"), p + "tcor");
    Confere(ValorRotulado(r.Paragrafo(16, QStringLiteral("Valor t tabelado (t crítico) "))), R("tcritcor"),
            p + "tcritcor");
    Confere(ValorRotulado(r.Paragrafo(16, QStringLiteral("Coeficiente de determinação (r²) "))), R("r2"),
            p + "r2");
    Confere(ValorRotulado(r.Paragrafo(16, QStringLiteral("Coeficiente r² ajustado "))), R("r2a"), p + "r2a");
    EXPECT_TRUE(r.Paragrafo(16, QStringLiteral("Classificação: Correlação "))
                    .endsWith(QString::fromUtf8(ClassificaCorrelacao(R("r")))));

    // Sums of the transformed values and of their products.
    const TBlocoCaptura &somas = r.Tabela(17);
    ASSERT_EQ(somas.Celulas.size(), static_cast<std::size_t>(m + 1));
    for (int i = 1; i <= m; ++i) {
        const std::string s = std::to_string(i);
        const QStringList &c = somas.Celulas[static_cast<std::size_t>(i)];
        Confere(c[1], R("soma." + s), p + "soma." + s);
        for (int j = 1; j <= m; ++j)
            Confere(c[j + 1], R("prod." + s + "." + std::to_string(j)), p + "prod." + s + "." + std::to_string(j));
    }

    // Analysis of variance.
    const TBlocoCaptura &anova = r.Tabela(18);
    ASSERT_EQ(anova.Celulas.size(), 4u);
    const char *sq[] = {"", "SSR", "SSE", "SST"}, *mq[] = {"", "MSR", "MSE", "MST"};
    const long long gl[] = {0, k, static_cast<long long>(R("n")) - k - 1, static_cast<long long>(R("n")) - 1};
    for (int l = 1; l <= 3; ++l) {
        const QStringList &c = anova.Celulas[static_cast<std::size_t>(l)];
        Confere(c[1], R(sq[l]), p + sq[l]);
        EXPECT_EQ(c[2], QString::number(gl[l])) << p << l;
        Confere(c[3], R(mq[l]), p + mq[l]);
    }
    Confere(anova.Celulas[1][4], R("F"), p + "F (table)");
    Confere(ValorRotulado(r.Paragrafo(18, QStringLiteral("F Calculado "))), R("F"), p + "F");
    Confere(ValorRotulado(r.Paragrafo(18, QStringLiteral("F Tabelado "))), R("Ft"), p + "Ft");
    QString significancia = r.Paragrafo(18, QStringLiteral("Significância do modelo igual a "));
    significancia.remove(0, QStringLiteral("Significância do modelo igual a ").size());
    Confere(significancia, R("pF"), p + "pF");
    EXPECT_TRUE(r.Paragrafos(18).contains(QStringLiteral("Aceita-se a hipótese de existência da regressão.")));

    // Correlations of the model variables and their t.
    const TBlocoCaptura &cor = r.Tabela(19), &tc = r.Tabela(20);
    for (int i = 1; i <= m; ++i)
        for (int j = 1; j <= m; ++j) {
            const std::string s = std::to_string(i) + "." + std::to_string(j);
            Confere(cor.Celulas[static_cast<std::size_t>(i)][j], R("cor." + s), p + "cor." + s);
            const QString t = tc.Celulas[static_cast<std::size_t>(i)][j];
            if (i == j)
                EXPECT_EQ(t, QStringLiteral("∞")) << p << s;
            else
                Confere(t, R("tc." + s), p + "tc." + s);
        }
    Confere(r.Paragrafo(20, QStringLiteral("Valor t tabelado (t crítico): "))
                .mid(30)
                .section(QLatin1Char(' '), 0, 0),
            R("tcritcor"), p + "tcritcor (20)");
    // A pair is reported when |t| passes, with its r as the matrix prints it; it is called
    // strongly correlated only from |r| = 0,80.
    for (int i = 2; i <= m; ++i)
        for (int j = i + 1; j <= m; ++j) {
            const std::string s = std::to_string(i) + "." + std::to_string(j);
            const bool significativa = std::fabs(R("tc." + s)) > R("tcritcor");
            const QString inicio =
                QStringLiteral("As variáveis independentes %1 e %2 ").arg(tc.Celulas[0][i], tc.Celulas[0][j]);
            QString frase;
            for (const QString &l : r.Paragrafos(20))
                if (l.startsWith(inicio)) frase = l;
            EXPECT_EQ(!frase.isEmpty(), significativa) << p << s;
            if (frase.isEmpty()) continue;
            EXPECT_TRUE(frase.contains(QStringLiteral("(r = ") + cor.Celulas[static_cast<std::size_t>(i)][j] + ")"))
                << frase.toStdString();
            EXPECT_EQ(frase.contains(QStringLiteral("fortemente correlacionadas")), std::fabs(R("cor." + s)) >= 0.8L)
                << frase.toStdString();
        }

    // t tests of the regressors, both tails and one.
    const TBlocoCaptura &bi = r.Tabela(21), &uni = r.Tabela(22);
    Confere(r.Paragrafo(21, QStringLiteral("Coeficiente t de Student: t(crítico) = ")).mid(39), R("tcritbi"),
            p + "tcritbi");
    Confere(r.Paragrafo(22, QStringLiteral("Coeficiente t de Student: t(crítico) = ")).mid(39), R("tcritun"),
            p + "tcritun");
    int rejeitados = 0;
    for (int i = 1; i <= k; ++i) {
        const std::string s = std::to_string(i);
        const QStringList &c = bi.Celulas[static_cast<std::size_t>(i)];
        Confere(c[2], R("t." + s), p + "t." + s);
        Confere(c[3], R("p2." + s), p + "p2." + s);
        const bool aceito = std::fabs(R("t." + s)) > R("tcritbi");
        EXPECT_EQ(c[4], aceito ? QStringLiteral("Sim") : QStringLiteral("Não")) << p << s;
        rejeitados += !aceito;
        const QStringList &u = uni.Celulas[static_cast<std::size_t>(i)];
        ASSERT_EQ(u.size(), 4);
        Confere(u[2], R("t." + s), p + "t1." + s);
        Confere(u[3], R("p1." + s), p + "p1." + s);
    }
    const QStringList vereditos = r.Paragrafos(21);
    EXPECT_EQ(vereditos.contains(QStringLiteral("Os coeficientes são importantes na formação do modelo.")),
              rejeitados == 0);
    EXPECT_EQ(vereditos.contains(QStringLiteral("Um dos regressores não é importante na formação do modelo.")),
              rejeitados == 1);
    EXPECT_EQ(vereditos.contains(QStringLiteral("Alguns regressores não são importantes na formação do modelo.")),
              rejeitados > 1);

    // Basic statistics: counts, the regression's standard deviation, the transformed variables.
    EXPECT_EQ(ValorRotulado(r.Paragrafo(5, QStringLiteral("Nº de elementos da amostra "))),
              QString::number(static_cast<int>(R("n"))));
    EXPECT_EQ(ValorRotulado(r.Paragrafo(5, QStringLiteral("Nº de variáveis independentes "))), QString::number(k));
    EXPECT_EQ(ValorRotulado(r.Paragrafo(5, QStringLiteral("Nº de graus de liberdade "))),
              QString::number(static_cast<int>(R("n")) - k - 1));
    Confere(ValorRotulado(r.Paragrafo(5, QStringLiteral("Desvio padrão da regressão "))), R("sigma"), p + "sigma");
    const TBlocoCaptura &basicas = r.Tabela(5), &brutas = r.Tabela(7);
    ASSERT_EQ(basicas.Celulas.size(), static_cast<std::size_t>(m + 1));
    ASSERT_EQ(brutas.Celulas.size(), static_cast<std::size_t>(m + 1));
    const char *chavesBrutas[] = {"bmedia.", "bdp.", "bmin.", "bmax.", "bamp.", "bcv."};
    for (int j = 1; j <= m; ++j) {
        const std::string s = std::to_string(j);
        const QStringList &c = basicas.Celulas[static_cast<std::size_t>(j)];
        Confere(c[1], R("media." + s), p + "media." + s);
        Confere(c[2], R("dp." + s), p + "dp." + s);
        EXPECT_TRUE(c[3].endsWith(QLatin1Char('%')));
        Confere(c[3], R("cv." + s), p + "cv." + s);
        for (int col = 1; col <= 6; ++col)
            Confere(brutas.Celulas[static_cast<std::size_t>(j)][col], R(chavesBrutas[col - 1] + s),
                    p + chavesBrutas[col - 1] + s);
    }
}

INSTANTIATE_TEST_SUITE_P(WindsorBoston, ItensModelo, ::testing::ValuesIn(kModelos),
                         [](const auto &i) { return std::string(i.param.nome); });

// The verdicts at their boundaries.
TEST(ItensModeloVereditos, Boundaries) {
    EXPECT_STREQ(ClassificaCorrelacao(0.2999L), "Fraca");
    EXPECT_STREQ(ClassificaCorrelacao(0.3L), "Média");
    EXPECT_STREQ(ClassificaCorrelacao(0.6L), "Forte");
    EXPECT_STREQ(ClassificaCorrelacao(-0.9L), "Fortíssima");
    EXPECT_STREQ(ClassificaCorrelacao(0.9999L), "Fortíssima");
    EXPECT_STREQ(ClassificaCorrelacao(0.99990001L), "Perfeita");
    EXPECT_FALSE(RegressaoAceita(3.5L, 3.5L));
    EXPECT_TRUE(RegressaoAceita(3.5000001L, 3.5L));
    EXPECT_FALSE(RegressorAceito(-2.0L, 2.0L));
    EXPECT_FALSE(RegressorAceito(2.0L, 2.0L));
    EXPECT_TRUE(RegressorAceito(-2.0000001L, 2.0L));
}

// A model without regressors: the regressor items say so, the analysis of variance shows 0 for
// the tabulated F and the significance and the marker as the regression mean square, and the
// minimum-sample note gives the addend.
TEST(ItensModeloCasos, NoIndependentVariable) {
    TLaudoTeste r;
    r.grid = teste::PlanilhaDeColunas({"y", "x"}, {{3, 5, 4, 8, 9, 12}, {1, 2, 3, 4, 5, 6}});
    ASSERT_TRUE(r.grid && r.Modelo({{1, 1}}));
    r.Executa();
    EXPECT_TRUE(r.Paragrafos(15).contains(QStringLiteral("Não há variáveis independentes no modelo selecionado")));
    EXPECT_TRUE(r.Paragrafos(21).contains(
        QStringLiteral("Não existem variáveis independentes no modelo selecionado.")));
    const TBlocoCaptura &anova = r.Tabela(18);
    ASSERT_EQ(anova.Celulas.size(), 4u);
    EXPECT_EQ(anova.Celulas[1][2], QStringLiteral("0"));
    EXPECT_EQ(anova.Celulas[1][3], QStringLiteral("∞"));
    EXPECT_EQ(ValorRotulado(r.Paragrafo(18, QStringLiteral("F Tabelado "))), QStringLiteral("0"));
    EXPECT_EQ(r.Paragrafo(18, QStringLiteral("Significância do modelo igual a ")),
              QStringLiteral("Significância do modelo igual a 0%"));
    EXPECT_TRUE(r.Paragrafos(18).contains(QStringLiteral("Rejeita-se a hipótese de existência da regressão.")));
    EXPECT_TRUE(r.Paragrafos(5).contains(QStringLiteral("Número mínimo de amostragens: 5.")));
}

// Two regressors that are the same up to noise far below their spread are not independent; a
// strongly negative correlation is as strong as a positive one: its |t| passes and the pair is
// called strongly correlated, with its r.
TEST(ItensModeloCasos, DependentAndNegativelyCorrelatedRegressors) {
    TLaudoTeste r;
    std::vector<double> y, x1, x2, x3;
    for (int i = 1; i <= 12; ++i) {
        x1.push_back(i);
        x2.push_back(i + ((i % 2) ? 2e-5 : -2e-5));
        x3.push_back(-2.0 * i + ((i * 7) % 5) * 0.3);
        y.push_back(3 + 2 * i + ((i * 5) % 7) * 0.5);
    }
    r.grid = teste::PlanilhaDeColunas({"y", "x1", "x2", "x3"}, {y, x1, x2, x3});
    ASSERT_TRUE(r.grid);
    // Close enough for the test of independence, far enough for the fit to accept the design.
    ASSERT_TRUE(r.Modelo({{1, 1}, {2, 1}, {3, 1}, {4, 1}}));
    r.Executa();
    const QStringList p = r.Paragrafos(20);
    EXPECT_TRUE(p.contains(QStringLiteral("As variáveis [x1] e [x2] não são independentes. Os resultados deste "
                                          "modelo podem estar inconsistentes.")));
    for (const char *x : {"[x1]", "[x2]"})
        EXPECT_TRUE(p.contains(QStringLiteral("As variáveis independentes %1 e [x3] são fortemente correlacionadas "
                                              "(r = -0,9981). O modelo pode apresentar multicolinearidade.")
                                   .arg(QLatin1String(x))))
            << p.join(QLatin1Char('\n')).toStdString();
}

} // namespace
