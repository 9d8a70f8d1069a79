// Every number the estimate items print, against R (predict with interval = "confidence" and
// "prediction", the interval due to each regressor from solve(crossprod(X)), the derivative of
// the estimate and the estimates at the sample limits), for the Windsor and Boston models with
// a property inside the sample (w1, w3), one whose lot extrapolates the sample (w2) and one
// whose lstat does (b1); the cases of the estimate: missing values, a value at the sample
// maximum, a characteristic 10 % above it, an estimate of 0, an observed value of 0; and the
// sentences of the extrapolation rules under the combinations of the settings.
#include "RelatorioTeste.h"

#include <cmath>

using namespace zelto;
using namespace zelto::teste;

namespace {

using TValores = std::vector<std::pair<std::string, double>>;

const TValores kCasa = {{"lotsize", 6000}, {"bedrooms", 3},   {"bathrooms", 2}, {"stories", 2},
                        {"driveway", 1},   {"recreation", 0}, {"fullbase", 1},  {"gasheat", 0},
                        {"aircon", 1},     {"garage", 1},     {"prefer", 0}};

TValores Sujeito(const std::string &modelo) {
    if (modelo == "b1")
        return {{"crim", 0.1}, {"chas", 0},     {"nox", 0.5}, {"rm", 6.5},
                {"dis", 4},    {"ptratio", 18}, {"lstat", 40}};
    TValores v = kCasa;
    if (modelo == "w2") v[0].second = 18000;
    return v;
}

class ItensEstimativa : public ::testing::TestWithParam<TModeloTeste> {};

TEST_P(ItensEstimativa, NumbersAgainstR) {
    const TModeloTeste &md = GetParam();
    const auto ref = Referencia();
    const std::string p = std::string(md.nome) + ".";
    auto R = [&](const std::string &chave) {
        const auto it = ref.find(p + chave);
        EXPECT_NE(it, ref.end()) << p + chave;
        return it == ref.end() ? 0.0L : it->second;
    };
    TLaudoTeste r;
    r.config.Numero.Digitos = 12;
    r.config.Numero.Decimais = 6;
    r.grid = LePlanilhaTeste(kDados + md.arquivo);
    ASSERT_TRUE(r.grid);
    DefineObjeto(*r.grid, Sujeito(md.nome));
    ASSERT_TRUE(r.Modelo(md.termos));
    r.Executa();
    const std::size_t m = md.termos.size(), k = m - 1;

    // Observed and estimated values of the samples.
    const TBlocoCaptura &valores = r.Tabela(11);
    ASSERT_EQ(valores.Celulas.size(), r.s->n() + 1);
    for (std::size_t i = 1; i <= r.s->n(); ++i) {
        const std::string s = std::to_string(i);
        if (!ref.count(p + "est." + s)) continue;
        const QStringList &c = valores.Celulas[i];
        Confere(c[1], R("obs." + s), p + "obs." + s);
        Confere(c[2], R("est." + s), p + "est." + s);
        // The difference is printed with the dependent variable's decimals, from the printed
        // estimate's value.
        EXPECT_LE(std::fabs(Le(c[3]).valor - (R("est." + s) - R("obs." + s))), 1.0L) << p << s;
        Confere(c[4], (R("est." + s) - R("obs." + s)) * 100 / R("obs." + s), p + "var%." + s);
    }

    // The property against the sample ranges.
    const TBlocoCaptura &faixa = r.Tabela(49);
    ASSERT_EQ(faixa.Celulas.size(), k + 1);
    for (std::size_t j = 2; j <= m; ++j) {
        Confere(faixa.Celulas[j - 1][1], R("bmin." + std::to_string(j)), p + "bmin");
        Confere(faixa.Celulas[j - 1][2], R("bmax." + std::to_string(j)), p + "bmax");
    }

    // Confidence intervals: each regressor's, the prediction ("Valor estimado") and the mean
    // ("E(…)"), with amplitude and precision.
    const TBlocoCaptura &ic = r.Tabela(52);
    ASSERT_EQ(ic.Celulas.size(), k + 3);
    auto ConfereIntervalo = [&](const QStringList &c, long double inf, long double sup,
                                const std::string &o) {
        Confere(c[1], inf, o + ".inf");
        Confere(c[2], sup, o + ".sup");
        EXPECT_LE(std::fabs(Le(c[3]).valor - (sup - inf)), 1.0L) << o;
        Confere(c[4], (sup - inf) * 100 / ((sup + inf) / 2), o + ".precisao");
    };
    for (std::size_t j = 2; j <= m; ++j)
        ConfereIntervalo(ic.Celulas[j - 1], R("itinf." + std::to_string(j)),
                         R("itsup." + std::to_string(j)), p + "it" + std::to_string(j));
    EXPECT_EQ(ic.Celulas[k + 1][0], QStringLiteral("Valor estimado (predição)"));
    ConfereIntervalo(ic.Celulas[k + 1], R("ipinf"), R("ipsup"), p + "ip");
    EXPECT_TRUE(ic.Celulas[k + 2][0].startsWith(QStringLiteral("E(")));
    ConfereIntervalo(ic.Celulas[k + 2], R("icinf"), R("icsup"), p + "ic");

    // Rate of change at the property's point.
    EXPECT_TRUE(r.Paragrafo(53, QStringLiteral("Variação da variável dependente ("))
                    .endsWith(QStringLiteral("tomada no ponto de estimativa.")));
    const TBlocoCaptura &der = r.Tabela(53);
    for (std::size_t j = 2; j <= m; ++j) {
        Confere(der.Celulas[j - 1][1], R("dydx." + std::to_string(j)), p + "dydx");
        Confere(der.Celulas[j - 1][2], R("elast." + std::to_string(j)), p + "elast");
    }

    // The formation of the value: the estimate and the mean interval.
    const QString estima = r.Paragrafo(50, QStringLiteral("Estima-se "));
    Confere(estima.mid(estima.lastIndexOf(QStringLiteral(": ")) + 2), R("yhat"), p + "yhat");
    Confere(r.Paragrafo(50, QStringLiteral("Mínimo: ")).mid(8), R("icinf"), p + "icinf (50)");
    Confere(r.Paragrafo(50, QStringLiteral("Máximo: ")).mid(8), R("icsup"), p + "icsup (50)");

    // Extrapolation: the estimate, and the estimates at each variable's sample limits.
    Confere(r.Tabela(51, 1).Celulas[1][3], R("yhat"), p + "yhat (51)");
    const TBlocoCaptura &limites = r.Tabela(51, 2);
    ASSERT_EQ(limites.Celulas.size(), k + 1);
    for (std::size_t j = 2; j <= m; ++j) {
        Confere(limites.Celulas[j - 1][1], R("ymin." + std::to_string(j)), p + "ymin");
        Confere(limites.Celulas[j - 1][2], R("ymax." + std::to_string(j)), p + "ymax");
    }
    // w2's lot of 18000 lies 11.11 % above the largest lot (16200); b1's lstat of 40, 5.35 %
    // above 37.97.
    const TBlocoCaptura &carac = r.Tabela(51, 0);
    const std::string nomeModelo = md.nome;
    const int fora = nomeModelo == "w2" ? 1 : nomeModelo == "b1" ? 7 : 0;
    for (std::size_t j = 1; j <= k; ++j) {
        if (static_cast<int>(j) == fora) {
            EXPECT_TRUE(carac.Celulas[j][4].endsWith(QStringLiteral("% acima do lim. superior")))
                << p << j;
            EXPECT_EQ(carac.Celulas[j][5], QStringLiteral("Sim"));
        } else {
            EXPECT_EQ(carac.Celulas[j][4], QStringLiteral("Dentro dos limites amostrais"))
                << p << j;
        }
    }
    if (fora)
        Confere(carac.Celulas[static_cast<std::size_t>(fora)][4].section(QLatin1Char('%'), 0, 0),
                nomeModelo == "w2" ? 100 * (18000.0L / 16200 - 1) : 100 * (40 / 37.97L - 1),
                p + "variacao");
    // No item of the estimate reported a calculation error.
    for (int item : {11, 49, 50, 51, 52, 53})
        EXPECT_FALSE(r.Paragrafos(item).contains(QStringLiteral(">>> ATENÇÃO <<<"))) << item;
}

INSTANTIATE_TEST_SUITE_P(WindsorBoston, ItensEstimativa, ::testing::ValuesIn(kModelos),
                         [](const auto &i) { return std::string(i.param.nome); });

// A small model y = b0 + b1·x over x = 1..10 for the cases of one characteristic.
bool Pequeno(TLaudoTeste &r, double objeto) {
    r.grid = PlanilhaDeColunas(
        {"y", "x"}, {{3, 5.5, 6, 9, 10.5, 12, 15, 15.5, 18, 21}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}});
    if (!r.grid) return false;
    DefineObjeto(*r.grid, {{"x", objeto}});
    DefineIdentificacao(*r.grid, "casa", true, "R$");
    return r.Modelo({{1, 1}, {2, 1}});
}

// A property with a value missing: the intervals stop with their two sentences, the formation
// of the value says what is missing and prints no estimate, the rate of change is taken at the
// sample's mean point, the extrapolation checks only the characteristics; nothing fails.
TEST(ItensEstimativaCasos, MissingValues) {
    TLaudoTeste r;
    r.grid = LePlanilhaTeste(kDados + kModelos[0].arquivo);
    ASSERT_TRUE(r.grid);
    TValores v = kCasa;
    v.erase(v.begin() + 2); // bathrooms
    DefineObjeto(*r.grid, v);
    DefineIdentificacao(*r.grid, "casa", true, "$");
    ASSERT_TRUE(r.Modelo(kModelos[0].termos));
    r.Executa();
    EXPECT_EQ(
        r.Paragrafos(52).mid(3),
        QStringList(
            {QStringLiteral(
                 "Não foram indicadas algumas características para a casa sob avaliação."),
             QStringLiteral("Não é possível estabelecer os limites do intervalo de confiança.")}));
    const QStringList formacao = r.Paragrafos(50);
    EXPECT_TRUE(formacao.contains(QStringLiteral(
        "Falta informar o valor de uma das variáveis independentes da casa sob avaliação: bathrooms.")));
    EXPECT_TRUE(r.Paragrafo(50, QStringLiteral("Estima-se")).isEmpty());
    EXPECT_TRUE(formacao.contains(QStringLiteral("O modelo utilizado foi:")));
    EXPECT_TRUE(r.Paragrafo(53, QStringLiteral("Variação da variável dependente ("))
                    .endsWith(QStringLiteral("tomada no ponto médio da amostra.")));
    EXPECT_TRUE(r.Paragrafos(51).contains(
        QStringLiteral("Não foram indicadas algumas características para a casa sob avaliação.")));
    EXPECT_EQ(r.Tabela(51, 0).Celulas[3][3], QString());
    for (int item : {49, 50, 51, 52, 53})
        EXPECT_FALSE(r.Paragrafos(item).contains(QStringLiteral(">>> ATENÇÃO <<<"))) << item;
}

// A value exactly at the sample maximum is within the range; 10 % above it is approved under a
// limit of 10 % and not under 9.99 %.
TEST(ItensEstimativaCasos, SampleLimits) {
    {
        TLaudoTeste r;
        ASSERT_TRUE(Pequeno(r, 10));
        r.Executa();
        EXPECT_TRUE(
            r.Paragrafos(49).contains(QStringLiteral("Nenhuma característica da casa sob avaliação "
                                                     "encontra-se fora do intervalo da amostra.")));
        EXPECT_EQ(r.Tabela(51, 0).Celulas[1][4], QStringLiteral("Dentro dos limites amostrais"));
        EXPECT_TRUE(r.Paragrafos(51).contains(
            QStringLiteral("Todas as características do objeto sob avaliação se encontram dentro "
                           "do limite amostral.")));
    }
    for (const auto &[limite, situacao] :
         {std::pair{0.10, "Aprovada"}, std::pair{0.0999, "Não aprovada"}}) {
        TLaudoTeste r;
        ASSERT_TRUE(Pequeno(r, 11));
        r.sig.Extrapolacao = meAdmitidaComLimites;
        r.sig.VariaveisExtrapolando = 1;
        r.sig.ExcessoSuperior = limite;
        r.Executa();
        EXPECT_TRUE(r.Paragrafos(49).contains(
            QStringLiteral("Uma das características da casa sob avaliação encontra-se fora do "
                           "intervalo da amostra.")));
        const QStringList &c = r.Tabela(51, 0).Celulas[1];
        EXPECT_EQ(c[4], QStringLiteral("10,00% acima do lim. superior"));
        EXPECT_EQ(c[5], QString::fromUtf8(situacao));
        EXPECT_TRUE(r.Paragrafos(51).contains(
            QStringLiteral("Os parâmetros de extrapolação das características do "
                           "objeto sob avaliação ") +
            (limite == 0.10 ? QStringLiteral("foram atendidos.")
                            : QStringLiteral("não foram plenamente atendidos."))));
        EXPECT_TRUE(r.Paragrafos(50).contains(
            QStringLiteral("A variável x extrapolou o limite amostral.")));
    }
}

// An estimate of 0 makes the elasticity "infinita"; an observed value of 0 has a variation of 0.
TEST(ItensEstimativaCasos, ZeroEstimateAndObservation) {
    TLaudoTeste r;
    r.grid = PlanilhaDeColunas({"y", "x"}, {{-5, -1, 0, 1, 5}, {-2, -1, 0, 1, 2}});
    ASSERT_TRUE(r.grid);
    DefineObjeto(*r.grid, {{"x", 0}});
    ASSERT_TRUE(r.Modelo({{1, 1}, {2, 1}}));
    r.Executa();
    EXPECT_EQ(r.Tabela(53).Celulas[1][2], QStringLiteral("infinita"));
    Confere(r.Tabela(53).Celulas[1][1], 2.2L, "dy/dx");
    EXPECT_EQ(r.Tabela(11).Celulas[3][4], QStringLiteral("0,0000 %"));
}

// The rule of the characteristics and the summary of the findings under combinations of the
// settings: one coherent sentence each.
TEST(ItensEstimativaCasos, ExtrapolationSentences) {
    struct TCaso {
        int modo;
        bool todas;
        int N;
        bool contaMarcada, limitesMarcados;
        double objeto, excesso;
        const char *regra, *resumo;
    };
    const TCaso casos[] = {
        {meNaoAdmitida, false, 0, false, false, 11, 0.1, nullptr,
         "1 característica do objeto sob avaliação extrapolou os limites amostrais, excedendo os "
         "limites de "
         "extrapolação permitidos, de forma que as extrapolações das características do objeto sob "
         "avaliação "
         "não atendem aos parâmetros selecionados."},
        {meAdmitida, false, 0, false, false, 11, 0.1, nullptr,
         "1 característica do objeto sob avaliação extrapolou os limites amostrais, de forma que "
         "as "
         "extrapolações das características do objeto sob avaliação atendem aos parâmetros "
         "selecionados."},
        {meAdmitidaComLimites, false, 1, false, false, 10.5, 0.1,
         "Até 1 característica do objeto sob avaliação pode extrapolar os limites amostrais com as "
         "seguintes "
         "restrições:",
         nullptr},
        {meAdmitidaComLimites, false, 2, true, true, 5, 0.1,
         "De acordo com NBR, até 2 características do objeto sob avaliação podem extrapolar os "
         "limites amostrais "
         "com as seguintes restrições:",
         "Todas as características do objeto sob avaliação se encontram dentro do limite "
         "amostral."},
        {meAdmitidaComLimites, false, 0, false, false, 5, 0.1,
         "Nenhuma característica do objeto sob avaliação pode extrapolar os limites amostrais.",
         nullptr},
        {meAdmitidaComLimites, false, 0, false, true, 12, 0.1,
         "Nenhuma característica do objeto sob avaliação pode extrapolar os limites amostrais. De "
         "acordo com NBR, "
         "há as seguintes restrições para a extrapolação:",
         nullptr},
        {meAdmitidaComLimites, true, 0, true, false, 10.5, 0.1,
         "De acordo com NBR, todas as característica do objeto sob avaliação podem extrapolar os "
         "limites "
         "amostrais. Serão consideradas as seguintes restrições para a extrapolação:",
         "1 característica do objeto sob avaliação extrapolou os limites amostrais, de forma que "
         "as "
         "extrapolações das características do objeto sob avaliação atendem aos parâmetros "
         "selecionados."},
        {meAdmitidaComLimites, false, 0, false, false, 10.5, 0.1, nullptr,
         "1 característica do objeto sob avaliação extrapolou os limites amostrais, de forma que "
         "as extrapolações "
         "das características do objeto sob avaliação excedem os parâmetros selecionados."},
    };
    for (const TCaso &c : casos) {
        SCOPED_TRACE(testing::Message()
                     << c.modo << " " << c.todas << " " << c.N << " " << c.objeto);
        TLaudoTeste r;
        ASSERT_TRUE(Pequeno(r, c.objeto));
        DefineIdentificacao(*r.grid, "", false, "");
        r.sig.Descricao = "NBR";
        r.sig.Extrapolacao = c.modo;
        r.sig.TodasExtrapolam = c.todas;
        r.sig.VariaveisExtrapolando = c.N;
        r.sig.VariaveisExtrapolandoNormatizado = c.contaMarcada;
        r.sig.ExcessoNormatizado = c.limitesMarcados;
        r.sig.ExcessoSuperior = c.excesso;
        r.Executa();
        const QStringList p = r.Paragrafos(51);
        const std::string texto = p.join(QLatin1Char('\n')).toStdString();
        if (c.regra) {
            EXPECT_TRUE(p.contains(QString::fromUtf8(c.regra))) << texto;
        }
        if (c.resumo) {
            EXPECT_TRUE(p.contains(QString::fromUtf8(c.resumo))) << texto;
        }
        EXPECT_EQ(p.filter(QStringLiteral("Os parâmetros de extrapolação")).size(), 1);
        EXPECT_FALSE(p.contains(QStringLiteral(">>> ATENÇÃO <<<")));
    }
}

} // namespace
