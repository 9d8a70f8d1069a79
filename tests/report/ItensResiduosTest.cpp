// Every number the residual, outlier and normality items print, against R; their verdicts at the
// boundaries; the descriptive mode's texts; an exact fit.
//
// The models are the model items' (three Windsor, one Boston). R's values (lm, rstandard,
// rstudent, hatvalues, cooks.distance, influence()$sigma, pnorm, qf) come from
// tests/data/report/referencia-residuos.R, pasted into referencia-r.txt; per-sample values for
// a fixed subset of samples. The report prints with 6 decimals here, so that each number is
// checked to 5e-7.
#include "RelatorioTeste.h"

#include "items/ItensResiduos.h"
#include "regression/LimitesDW.h"
#include "regression/TabelasCriticas.h"
#include "regression/TestesResiduos.h"
#include "worksheet/Gridzelto.h"

#include <cmath>

using namespace zelto;
using namespace zelto::teste;

namespace {

class ItensResiduos : public ::testing::TestWithParam<TModeloTeste> {};

TEST_P(ItensResiduos, NumbersAgainstR) {
    const TModeloTeste &md = GetParam();
    const auto ref = Referencia();
    const std::string p = std::string(md.nome) + ".";
    auto R = [&](const std::string &chave) {
        const auto it = ref.find(p + chave);
        EXPECT_NE(it, ref.end()) << p + chave;
        return it == ref.end() ? 0.0L : it->second;
    };
    auto Tem = [&](const std::string &chave) { return ref.count(p + chave) > 0; };
    TLaudoTeste r;
    r.config.Numero.Digitos = 12;
    r.config.Numero.Decimais = 6;
    ASSERT_TRUE(r.Ajusta(kDados + md.arquivo, md.termos));
    r.Executa();
    const std::size_t n = r.s->n();

    // Per sample: residuals and their variants, deleted residuals, influence.
    const TBlocoCaptura &res = r.Tabela(23), &del = r.Tabela(26), &cook = r.Tabela(38);
    ASSERT_EQ(res.Celulas.size(), n + 1);
    ASSERT_EQ(del.Celulas.size(), n + 1);
    ASSERT_EQ(cook.Celulas.size(), n + 1);
    const long double Ft = R("Ftcook");
    Confere(
        r.Paragrafo(38, QStringLiteral("    F tabelado: ")).mid(16).section(QLatin1Char(' '), 0, 0),
        Ft, p + "Ftcook");
    int conferidas = 0;
    for (std::size_t i = 1; i <= n; ++i) {
        const std::string s = std::to_string(i);
        if (!Tem("res." + s)) continue;
        ++conferidas;
        const QStringList &c = res.Celulas[i], &d = del.Celulas[i], &k = cook.Celulas[i];
        EXPECT_EQ(c[0], QString::number(i));
        const char *chaves[] = {"obs.", "est.", "res.", "nor.", "stu.", "quad."};
        for (int j = 0; j < 6; ++j)
            Confere(c[j + 1], R(chaves[j] + s), p + chaves[j] + s);
        const char *chavesDel[] = {"del.", "delvar.", "delnor.", "delstu."};
        for (int j = 0; j < 4; ++j)
            Confere(d[j + 1], R(chavesDel[j] + s), p + chavesDel[j] + s);
        Confere(k[1], R("cook." + s), p + "cook." + s);
        Confere(k[2], R("hii." + s), p + "hii." + s);
        EXPECT_EQ(k[3], Ft > R("cook." + s) ? QStringLiteral("Sim") : QStringLiteral("Não"))
            << p << s;
    }
    EXPECT_GT(conferidas, 20);

    // Summary statistics.
    const char *rotulos[][2] = {{"Variância ", "var"},
                                {"Desvio padrão ", "dp"},
                                {"Desvio médio ", "dm"},
                                {"Variância (não tendenciosa) ", "s2"},
                                {"Desvio padrão (não tend.) ", "s"},
                                {"Valor mínimo ", "emin"},
                                {"Valor máximo ", "emax"},
                                {"Amplitude ", "amp"},
                                {"Número de classes ", "nclasses"},
                                {"Intervalo de classes ", "wclasse"}};
    for (const auto &[rotulo, chave] : rotulos)
        Confere(ValorRotulado(r.Paragrafo(30, QString::fromUtf8(rotulo))), R(chave), p + chave);

    // Class intervals: the counts add up to n, the largest residual included.
    const TBlocoCaptura &classes = r.Tabela(32);
    const auto nc = static_cast<std::size_t>(R("nclasses"));
    ASSERT_EQ(classes.Celulas.size(), nc + 1);
    for (std::size_t j = 1; j <= nc; ++j) {
        const std::string s = std::to_string(j);
        EXPECT_EQ(classes.Celulas[j][3].toLongLong(), static_cast<long long>(R("freq." + s)))
            << p << s;
        Confere(classes.Celulas[j][5], R("cmedia." + s), p + "cmedia." + s);
    }

    // Central moments.
    Confere(ValorRotulado(r.Paragrafo(31, QStringLiteral("Momento central de 2ª ordem "))), R("m2"),
            p + "m2");
    Confere(ValorRotulado(r.Paragrafo(31, QStringLiteral("Momento central de 3ª ordem "))), R("m3"),
            p + "m3");
    Confere(ValorRotulado(r.Paragrafo(31, QStringLiteral("Momento central de 4ª ordem "))), R("m4"),
            p + "m4");
    Confere(r.Tabela(31).Celulas[1][1], R("assim"), p + "assim");
    Confere(r.Tabela(31).Celulas[2][1], R("curt"), p + "curt");

    // Share of normalised residuals within ±1, ±1.64, ±1.96.
    const TBlocoCaptura &dist = r.Tabela(40);
    const char *faixas[] = {"dist.1", "dist.1.64", "dist.1.96"};
    for (int j = 0; j < 3; ++j)
        Confere(dist.Celulas[static_cast<std::size_t>(j) + 1][2], R(faixas[j]), p + faixas[j]);

    // Kolmogorov-Smirnov: D, and the verdict against the printed critical value.
    const QString dLinha = r.Paragrafo(41, QStringLiteral("Maior diferença obtida: "));
    Confere(dLinha.mid(24), R("D"), p + "D");
    const long double critico = CriticoKS(20, static_cast<unsigned>(n));
    const bool rejeita = R("D") >= critico;
    EXPECT_EQ(r.Paragrafo(41, QStringLiteral("Segundo o teste de Kolmogorov-Smirnov"))
                  .contains(QStringLiteral("não se rejeita")),
              !rejeita);

    // Runs and signs.
    const char *seq[][2] = {{"Número de elementos positivos ", "P"},
                            {"Número de elementos negativos ", "N"},
                            {"Número de sequências ", "R"},
                            // The reference's zs = (R − 0.5 − μ)/σ is the lower end of the
                            // band, its zi = (R + 0.5 − μ)/σ the upper.
                            {"Limite inferior ", "zs"},
                            {"Limite superior ", "zi"},
                            {"Valor z (calculado) ", "zsinais"},
                            {"Valor z (crítico) ", "zc"}};
    for (const auto &[rotulo, chave] : seq)
        Confere(ValorRotulado(r.Paragrafo(43, QString::fromUtf8(rotulo))), R(chave), p + chave);
    const bool aleatorio = R("zi") > -R("zc") && R("zs") < R("zc");
    EXPECT_EQ(r.Paragrafo(43, QStringLiteral("Pelo teste de sequências, "))
                  .contains(QStringLiteral("aceita-se")),
              aleatorio);

    // Durbin-Watson.
    Confere(ValorRotulado(r.Paragrafo(45, QStringLiteral("Estatística de Durbin-Watson (DW) "))),
            R("dw"), p + "dw");
    // Its bounds for n samples and the model's regressors at 5 %, computed beyond the stored
    // table (w1: 546 samples and 11 regressors, DL 1,82 and DU 1,90 where the table's last cell,
    // 100 samples and 5 regressors, gave 1,57 and 1,78), and the exact probability of DW under
    // independence, below 0,0001 for each model here (R: 5,2e-9 for w1).
    const auto limites =
        LimitesDWCalculados(static_cast<unsigned>(n), static_cast<unsigned>(r.s->m() - 1), 0.05L);
    ASSERT_TRUE(limites);
    Confere(r.Paragrafo(45, QStringLiteral("Autocorrelação positiva (DW < DL) "))
                .section(QStringLiteral("= "), 1),
            limites->Inferior, p + "DL");
    Confere(r.Paragrafo(45, QStringLiteral("DU = ")).mid(5).section(QLatin1Char(' '), 0, 0),
            limites->Superior, p + "DU");
    EXPECT_EQ(ValorRotulado(r.Paragrafo(45, QStringLiteral("p-valor exato (unilateral, d ≤ DW) "))),
              QStringLiteral("< 0,0001"));
}

INSTANTIATE_TEST_SUITE_P(WindsorBoston, ItensResiduos, ::testing::ValuesIn(kModelos),
                         [](const auto &i) { return std::string(i.param.nome); });

// The verdicts at their boundaries.
TEST(ItensResiduosVereditos, Boundaries) {
    struct {
        long double cv;
        const char *classe;
    } cvs[] = {{9.999L, "ótima"},     {10, "boa- classe 1"}, {-13.99L, "boa- classe 1"},
               {14, "boa- classe 2"}, {18, "boa- classe 3"}, {21.999L, "boa- classe 3"},
               {22, "razoável."}};
    for (const auto &c : cvs)
        EXPECT_STREQ(ClassificaCoeficienteVariacao(c.cv), c.classe) << static_cast<double>(c.cv);
    EXPECT_FALSE(ForaDoLimite(-2.5L, 2.5L));
    EXPECT_TRUE(ForaDoLimite(2.5000001L, 2.5L));
    EXPECT_FALSE(CookAceito(3.2L, 3.2L));
    EXPECT_TRUE(CookAceito(3.1999L, 3.2L));
    EXPECT_TRUE(NormalidadeRejeitada(0.2L, 0.2L));
    EXPECT_FALSE(NormalidadeRejeitada(0.1999L, 0.2L));
    // Durbin-Watson at DL, DU and 4 − DL (n = 15, one regressor, 5 %: DL 1.08, DU 1.36).
    const long double dl = LimiteBaixoDW(15, 1, 0.05L), du = LimiteAltoDW(15, 1, 0.05L);
    EXPECT_EQ(ClassificaDW(dl, 15, 1, 0.05L), 1);
    EXPECT_EQ(ClassificaDW(du, 15, 1, 0.05L), 0);
    EXPECT_EQ(ClassificaDW(4 - dl, 15, 1, 0.05L), -1);
    EXPECT_EQ(ClassificaDW((dl + du) / 2, 15, 1, 0.05L), 2);
}

// A perfect fit: its residuals are rounding noise, so every normalised and studentised column
// is 0, no sample is an outlier, and all residuals count as positive: one run, no negative, σ of
// the runs 0, so only the signs test is written.
TEST(ItensResiduosCasos, ExactFit) {
    TLaudoTeste r;
    r.grid = PlanilhaDeColunas({"y", "x"}, {{3, 5, 7, 9, 11, 13, 15}, {1, 2, 3, 4, 5, 6, 7}});
    ASSERT_TRUE(r.grid && r.Modelo({{1, 1}, {2, 1}}));
    r.Executa();
    const TBlocoCaptura &t = r.Tabela(23);
    ASSERT_EQ(t.Celulas.size(), 8u);
    for (std::size_t i = 1; i < t.Celulas.size(); ++i) {
        EXPECT_EQ(t.Celulas[i][4], QStringLiteral("0,000")) << i;
        EXPECT_EQ(t.Celulas[i][5], QStringLiteral("0,000")) << i;
    }
    EXPECT_TRUE(r.Paragrafo(36, QStringLiteral("Nenhuma amostragem"))
                    .endsWith(QStringLiteral("Não existem outliers.")));
    const QStringList seq = r.Paragrafos(43);
    EXPECT_EQ(ValorRotulado(r.Paragrafo(43, QStringLiteral("Número de elementos negativos "))),
              QStringLiteral("0"));
    EXPECT_EQ(ValorRotulado(r.Paragrafo(43, QStringLiteral("Número de sequências "))),
              QStringLiteral("1"));
    EXPECT_FALSE(seq.contains(QStringLiteral("Teste de Sequências")));
    EXPECT_TRUE(seq.contains(QStringLiteral("Teste de Sinais")));
    EXPECT_EQ(r.Tabela(31).Celulas[1][1], QStringLiteral("0,000"));
    // No probability of a statistic made of rounding noise.
    EXPECT_FALSE(r.Paragrafos(45).join(QLatin1Char('\n')).contains(QStringLiteral("p-valor")));
}

// The descriptive mode: deviations around the mean, its titles and headings, the coefficient of
// variation and its class at the boundaries (exact arithmetic: {90, 100, 110} has mean 100 and
// s = 10; {78, 100, 122} has s = 22), the percentage-of-the-mean criterion with a deviation
// exactly at the limit, and a mean of 0.
TEST(ItensResiduosCasos, DescriptiveMode) {
    struct {
        std::vector<double> y;
        double parametro;
        const char *cv, *classe;
        std::size_t foras;
    } casos[] = {
        {{90, 100, 110}, 10, "10,00%", "boa- classe 1", 0},
        {{90, 100, 110}, 9.99, "10,00%", "boa- classe 1", 2},
        {{78, 100, 122}, 22, "22,00%", "razoável.", 0},
        {{-1, 0, 1}, 10, nullptr, nullptr, 2},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.y[0]);
        TLaudoTeste r;
        // A factor of 1 leaves the unit values as they are in the homogenised column.
        r.grid = PlanilhaDeColunas({"unitario", "fator"}, {c.y, {1, 1, 1}});
        ASSERT_TRUE(r.grid);
        r.grid->Modo.Inferencial = false;
        MarcaVariavel(*r.grid, 1, true, true);
        MarcaVariavel(*r.grid, 2, true, false, true);
        r.grid->GaranteValorHomogeneizado();
        ASSERT_TRUE(r.Modelo({{3, 1}}));
        r.sig.Saneamento = csMedia;
        r.sig.ParametroSaneamento = c.parametro;
        r.sig.AmplitudeEstimativa = 0.2;
        r.Executa(false);
        EXPECT_EQ(r.e.Item(23)->Titulo, QStringLiteral("Tabela de Desvios"));
        EXPECT_EQ(r.e.Item(30)->Titulo, QStringLiteral("Estatísticas Gerais"));
        EXPECT_EQ(r.e.Item(38), nullptr);
        EXPECT_EQ(r.Tabela(23).Celulas[0][2], QStringLiteral("Média"));
        EXPECT_EQ(r.Tabela(23).Celulas[0][3], QStringLiteral("Desvio"));
        EXPECT_TRUE(r.Paragrafos(23).contains(QStringLiteral("Desvios em torno da média.")));
        const QString cv = ValorRotulado(r.Paragrafo(30, QStringLiteral("Coef. de variação ")));
        const QString classe =
            r.Paragrafo(30, QStringLiteral("Sob o aspecto do coeficiente de variação"));
        if (c.cv) {
            EXPECT_EQ(cv, QString::fromUtf8(c.cv));
            EXPECT_TRUE(classe.endsWith(QString::fromUtf8(c.classe))) << classe.toStdString();
        } else {
            EXPECT_EQ(cv, QStringLiteral("indefinido"));
            EXPECT_TRUE(classe.isEmpty());
        }
        EXPECT_TRUE(r.Paragrafos(36).contains(QStringLiteral("Critério de saneamento:")));
        if (c.foras == 0)
            EXPECT_TRUE(r.Paragrafos(36).contains(
                QStringLiteral("Nenhuma amostragem foi encontrada fora do intervalo. ")));
        else
            EXPECT_EQ(r.Tabela(36).Celulas.size(), c.foras + 1);
        // The precision of the mean's 80 % interval: 100 ± 1.885618·10/√3 is 21.8 % wide.
        EXPECT_TRUE(r.Paragrafo(50, QStringLiteral("Estima-se Valor Homog. do objeto: ")).size() > 30);
        EXPECT_TRUE(r.Paragrafos(50).contains(
            QStringLiteral("A amplitude do intervalo de confiança em torno do valor estimado não "
                           "pode ultrapassar 20,0%.")));
        EXPECT_TRUE(r.Paragrafo(43, QStringLiteral("Pelo teste de sequências")).isEmpty() ||
                    r.Paragrafo(43, QStringLiteral("Pelo teste de sequências"))
                        .endsWith(QStringLiteral("desvios.")));
    }
}

// Samples excluded by the user and eliminated by the sanitation: both tables, the criterion
// text, and the standardised error of each against the final model (R: lm on the remaining
// samples, (y − predict − mean residual)/σ).
TEST(ItensResiduosCasos, ExcludedAndEliminatedSamples) {
    TLaudoTeste r;
    r.grid = PlanilhaDeColunas({"y", "x"}, {{2.1, 9.5, 6.2, 7.8, 30, 12.1, 14.2, 15.8, 18.1, 20.3},
                                            {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}});
    ASSERT_TRUE(r.grid);
    Desconsidera(*r.grid, 2);
    Saneia(*r.grid, 5);
    ASSERT_TRUE(r.Modelo({{1, 1}, {2, 1}}));
    r.Executa();
    const TBlocoCaptura &naoUsadas = r.Tabela(35, 0), &eliminadas = r.Tabela(35, 1);
    ASSERT_EQ(naoUsadas.Celulas.size(), 2u);
    ASSERT_EQ(eliminadas.Celulas.size(), 2u);
    EXPECT_EQ(naoUsadas.Celulas[1][0], QStringLiteral("2"));
    EXPECT_EQ(eliminadas.Celulas[0][2], QStringLiteral("Erro/Desvio Padrão(*)"));
    // R: d <- data.frame(y = c(2.1, 6.2, 7.8, 12.1, 14.2, 15.8, 18.1, 20.3), x = c(1, 3, 4, 6:10));
    // f <- lm(y ~ x, d); (c(9.5, 30) - predict(f, data.frame(x = c(2, 5))) - mean(residuals(f))) /
    // sigma(f)
    Confere(naoUsadas.Celulas[1][2], 27.906514913236681L, "excluded");
    Confere(eliminadas.Celulas[1][2], 101.87794496335123L, "eliminated");
    EXPECT_TRUE(r.Paragrafos(35).contains(
        QStringLiteral("Amostragens eliminadas automaticamente (\"outliers\"): ")));
    EXPECT_TRUE(r.Paragrafos(35).contains(QStringLiteral("Critério de identificação de outlier:")));
}

} // namespace
