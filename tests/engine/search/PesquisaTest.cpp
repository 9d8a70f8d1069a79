// The model search's rules: the number of models and the blocks, the ranking's entry and
// insertion rules, the count of listed models, interruption and continuation, the descriptive
// mode, the messages, the best-models table and the choice of a model.
#include "search/Pesquisa.h"
#include "search/GrauModelos.h"

#include "common/Numeros.h"
#include "significance/Significancias.h"

#include "PesquisaTeste.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zelto;
using namespace zelto::teste;

namespace {

// Collects the messages.
struct Avisos {
    std::vector<std::string> textos;
    void Liga(TPesquisa &p) {
        p.Aviso = [this](const std::string &t) { textos.push_back(t); };
    }
};

TModeloPesquisado Modelo(long double R, std::uint8_t codigoX1, unsigned g = 0,
                         long double r2a = 0) {
    TModeloPesquisado m;
    m.Ocupado = true;
    m.Codigos[1] = 1;
    m.Codigos[2] = codigoX1;
    m.R = R;
    m.F = R * 10;
    m.R2Ajustado = r2a ? r2a : R;
    m.Significativos = static_cast<std::uint16_t>(g);
    return m;
}

} // namespace

TEST(Pesquisa, TotalAndBlocks) {
    struct Caso {
        const char *nome;
        int regressores;
        int dicotomica; // column of a dichotomous regressor, 0 for none
        int bloco;      // rapid search's L, 0 without
        std::uint64_t total;
        int fimPrimeiroBloco;
    } casos[] = {
        // Three regressors under {0,1,2,8}, the dependent (last column) without 0: 4·4·4·3.
        {"standard masks", 3, 0, 0, 192, 4},
        // A dichotomous variable contributes codes 0 and 1 only.
        {"dichotomous", 3, 2, 0, 4 * 2 * 4 * 3, 4},
        // L = 1: after the first costly variable the block takes one more; blocks [1,2],
        // [3,4], [5,5].
        {"rapid search", 4, 0, 1, 16 + 16 + 3, 2},
        {"rapid search, L = 2", 4, 0, 2, 64 + 4 * 3, 3},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.nome);
        TGridzelto g;
        std::vector<std::string> nomes;
        std::vector<std::vector<double>> colunas;
        for (int k = 0; k <= c.regressores; ++k) {
            nomes.push_back(k == c.regressores ? "y" : "x" + std::to_string(k + 1));
            colunas.push_back({1, 2 + k * 0.5, 3, 5 - k * 0.25, 4, 7, 6, 9});
        }
        colunas[0] = {1, 0, 1, 1, 0, 0, 1, 0};
        Preenche(g, nomes, colunas, c.regressores + 1);
        if (c.dicotomica) g.Variavel(c.dicotomica)->Tipo = tvDicotomica;
        TSistema s(g);
        TPesquisa p(g, s);
        p.Configuracao.PesquisaRapida = c.bloco > 0;
        p.Configuracao.TamanhoBloco = static_cast<std::uint16_t>(c.bloco);
        p.Threads = 1;
        ASSERT_TRUE(p.Pesquisa());
        EXPECT_EQ(p.Total(), c.total);
        EXPECT_EQ(p.Examinados(), c.total);
        TEnumeracao e;
        e.Inicia(p.Configuracao.Vigentes(g, true));
        EXPECT_EQ(e.Primeiro(), 1);
        EXPECT_EQ(e.Ultimo(), c.fimPrimeiroBloco);
        // The starting vector: every variable at its first allowed code (0 when allowed, 1 for
        // the dependent variable).
        for (int k = 1; k <= c.regressores; ++k)
            EXPECT_EQ(e.Codigos[k], 0) << k;
        EXPECT_EQ(e.Codigos[c.regressores + 1], 1);
    }
}

// Under each criterion: a new model goes before an older one with an equal key, unless that slot
// holds the same model; a full list drops its last model; keys below slot 50's never enter.
TEST(Pesquisa, RankingEntryAndInsertion) {
    TListaMelhores l;
    l.Prepara();
    for (long double R : {0.9L, 0.8L, 0.7L})
        EXPECT_TRUE(l.Insere(Modelo(R, 1), cpCorrelacao, 1));
    EXPECT_EQ(l.Contador(), 4);
    // Exactly the R of slot 3, another model: before slot 3.
    EXPECT_TRUE(l.Insere(Modelo(0.7L, 2), cpCorrelacao, 1));
    EXPECT_EQ(l.Slot(3).Codigos[2], 2);
    EXPECT_EQ(l.Slot(4).Codigos[2], 1);
    // The same model as slot 3: nothing.
    EXPECT_FALSE(l.Insere(Modelo(0.7L, 2), cpCorrelacao, 1));
    // Same codes for its terms but another R: a new entry.
    EXPECT_TRUE(l.Insere(Modelo(0.75L, 2), cpCorrelacao, 1));
    EXPECT_EQ(l.Modelos(), 5);

    // Filling the list: slot 50 holds the lowest key, the counter stays at 50.
    TListaMelhores cheia;
    cheia.Prepara();
    for (int i = 0; i < 50; ++i)
        cheia.Insere(Modelo(0.5L + i / 1000.0L, static_cast<std::uint8_t>(i % 15)), cpCorrelacao,
                     1);
    EXPECT_EQ(cheia.Contador(), 50);
    EXPECT_EQ(cheia.Slot(50).R, 0.5L);
    EXPECT_FALSE(cheia.Insere(Modelo(0.4999L, 3), cpCorrelacao, 1));
    EXPECT_DOUBLE_EQ(cheia.Limiar(cpCorrelacao), 0.5);
    // Equal to slot 50: enters before it and pushes it out.
    EXPECT_TRUE(cheia.Insere(Modelo(0.5L, 14), cpCorrelacao, 1));
    EXPECT_EQ(cheia.Slot(50).Codigos[2], 14);

    // "Sig. dos Regressores": the count first, then R among equal counts.
    TListaMelhores g;
    g.Prepara();
    g.Insere(Modelo(0.6L, 1, 2), cpRegressores, 1);
    g.Insere(Modelo(0.9L, 2, 1), cpRegressores, 1);
    g.Insere(Modelo(0.7L, 3, 2), cpRegressores, 1);
    g.Insere(Modelo(0.65L, 4, 2), cpRegressores, 1);
    const std::uint8_t ordem[] = {3, 4, 1, 2};
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(g.Slot(i).Codigos[2], ordem[i - 1]) << i;
    // The adjusted R²: a negative value never enters, not even an empty list.
    TListaMelhores a;
    a.Prepara();
    EXPECT_FALSE(a.Insere(Modelo(0.3L, 1, 0, -0.01L), cpR2Ajustado, 1));
    EXPECT_TRUE(a.Insere(Modelo(0.3L, 1, 0, 0.01L), cpR2Ajustado, 1));
}

// 7·7 models, every one fitted: 49 listed, and the counter says 49, not 50.
TEST(Pesquisa, FortyNineListedModels) {
    TGridzelto g;
    Preenche(g, {"y", "x"}, {{3, 5, 4, 8, 9, 7, 12}, {1, 2.5, 2, 4, 5, 3.5, 7}});
    for (bool sistema : {false, true}) {
        TSistema s(g);
        TPesquisa p(g, s);
        Mascaras(p, 0xFEu); // codes 1..7
        p.UsaSistema = sistema;
        ASSERT_TRUE(p.Pesquisa());
        EXPECT_EQ(p.Examinados(), 49u);
        EXPECT_EQ(p.Modelos(), 49);
        EXPECT_EQ(p.Lista().Contador(), 49);
        EXPECT_FALSE(p.Lista().Slot(50).Ocupado);
    }
}

// A search interrupted after its first model continues with the next one; confirming the
// configuration, Reinicia or a change of the worksheet in between start afresh.
TEST(Pesquisa, InterruptionAndContinuation) {
    TGridzelto g;
    Aleatoria(g, "ppp", 12, 3);
    struct Sink : TProgresso {
        void Avanca(double) override { Cancela(); }
    } sink;
    TSistema s(g), sr(g);
    TPesquisa p(g, s), corrida(g, sr);
    p.UsaSistema = true;
    p.IntervaloProgresso = 0;
    ASSERT_TRUE(corrida.Pesquisa());
    ASSERT_TRUE(p.Pesquisa(&sink));
    EXPECT_TRUE(p.Interrompida());
    EXPECT_EQ(p.Examinados(), 1u);
    EXPECT_EQ(p.ModeloAtual()[1], 2); // y, the first variable, turns fastest: code 1, then 2
    EXPECT_EQ(p.ModeloAtual()[4], 0);
    ASSERT_TRUE(p.Pesquisa(&sink));
    EXPECT_EQ(p.Examinados(), 2u);

    auto afresh = [&](const char *como, auto &&acao) {
        SCOPED_TRACE(como);
        ASSERT_TRUE(p.Pesquisa(&sink));
        EXPECT_GT(p.Examinados(), 1u);
        acao();
        ASSERT_TRUE(p.Pesquisa(&sink));
        EXPECT_EQ(p.Examinados(), 1u);
    };
    afresh("configuration",
           [&] { p.Configura([](TSelecaoPesquisa &) { return kResultadoConfirma; }); });
    afresh("Reinicia", [&] { p.Reinicia(); });
    afresh("worksheet", [&] { p.PlanilhaAlterada(); });
    // Cancelling the dialog keeps the interrupted search.
    EXPECT_EQ(p.Configura([](TSelecaoPesquisa &) { return kResultadoCancela; }), kResultadoCancela);
    ASSERT_TRUE(p.Pesquisa(&sink));
    EXPECT_EQ(p.Examinados(), 2u);

    // Continuing to the end gives the list of the search never interrupted.
    ASSERT_TRUE(p.Pesquisa());
    EXPECT_FALSE(p.Interrompida());
    EXPECT_EQ(p.Examinados(), p.Total());
    MesmaLista(p.Lista(), corrida.Lista(), "continued");
    // A finished search starts afresh.
    ASSERT_TRUE(p.Pesquisa(&sink));
    EXPECT_EQ(p.Examinados(), 1u);
}

// The descriptive mode: one model, the dependent variable proportional and alone, listed with
// R = 0; the choice takes it without a window.
TEST(Pesquisa, DescriptiveModeSingleModel) {
    TGridzelto g;
    g.Modo.Inferencial = false;
    Aleatoria(g, "pp", 10, 8);
    TSistema s(g);
    TPesquisa p(g, s);
    Avisos avisos;
    avisos.Liga(p);
    p.Configuracao.Criterio = cpR2Ajustado; // ignored in this mode
    ASSERT_TRUE(p.Pesquisa());
    EXPECT_EQ(p.Total(), 1u);
    EXPECT_EQ(p.Examinados(), 1u);
    ASSERT_EQ(p.Modelos(), 1);
    const TModeloPesquisado &m = p.Lista().Slot(1);
    EXPECT_EQ(m.R, 0);
    EXPECT_EQ(m.Codigos[1], 1);
    EXPECT_EQ(m.Codigos[2], 0);
    EXPECT_EQ(m.Codigos[3], 0);
    EXPECT_TRUE(avisos.textos.empty());
    ASSERT_TRUE(p.EscolheModelo(false, 0, 2, {}));
    EXPECT_EQ(s.m(), 1u);
    EXPECT_EQ(p.UltimaLinha, 1);
}

TEST(Pesquisa, Messages) {
    {
        // No dependent variable: no variable is used.
        TGridzelto g;
        Aleatoria(g, "pp", 8, 1);
        for (int c = 1; c <= 3; ++c)
            *g.Variavel(c) = Var(tvNumerica, g.Celula(c, 0), false);
        TSistema s(g);
        TPesquisa p(g, s);
        Avisos a;
        a.Liga(p);
        EXPECT_FALSE(p.Pesquisa());
        EXPECT_EQ(a.textos, std::vector<std::string>{kMensagemSemModelos});
    }
    {
        // Every model fails: the dependent variable has a zero and only its logarithm is allowed.
        TGridzelto g;
        Preenche(g, {"y", "x"}, {{0, 1, 2, 3}, {1, 2, 3, 5}});
        TSistema s(g);
        TPesquisa p(g, s);
        Avisos a;
        a.Liga(p);
        Mascaras(p, 1u << 2);
        EXPECT_TRUE(p.Pesquisa());
        EXPECT_EQ(p.Examinados(), 1u);
        EXPECT_EQ(p.Modelos(), 0);
        EXPECT_FALSE(p.ResultadosValidos);
        EXPECT_EQ(a.textos, std::vector<std::string>{kMensagemNenhumModelo});
        EXPECT_FALSE(p.EscolheModelo(false, 0, 2, {}));
    }
    {
        // An empty worksheet: nothing happens.
        TGridzelto g;
        TSistema s(g);
        TPesquisa p(g, s);
        Avisos a;
        a.Liga(p);
        EXPECT_FALSE(p.Pesquisa());
        EXPECT_TRUE(a.textos.empty());
        EXPECT_EQ(p.Configura([](TSelecaoPesquisa &) { return kResultadoConfirma; }),
                  kResultadoCancela);
        EXPECT_EQ(a.textos, std::vector<std::string>{kMensagemSemModelos});
    }
}

// The terms of a code vector and the symbolic equation of a slot.
TEST(Pesquisa, ModelTermsAndSymbolicEquation) {
    TGridzelto g;
    Preenche(g, {"x1", "x2", "Área", "Valor"},
             {{1, 2, 3, 4, 5, 7}, {2, 1, 4, 3, 6, 5}, {5, 3, 4, 8, 9, 6}, {10, 12, 15, 14, 20, 21}},
             4);
    TSistema s(g);
    TPesquisa p(g, s);
    p.Configuracao.Criterio = cpCorrelacao;
    ASSERT_TRUE(p.Pesquisa());
    TCodigos codigos{};
    codigos[1] = 8;
    codigos[3] = 2;
    codigos[4] = 2;
    p.DefineModelo(codigos);
    EXPECT_EQ(s.Termos[0].Coluna, 4);
    EXPECT_EQ(s.Termos[0].Codigo, 2);
    EXPECT_EQ(s.Termos[1].Coluna, 1);
    EXPECT_EQ(s.Termos[1].Codigo, 8);
    EXPECT_EQ(s.Termos[2].Coluna, 3);
    EXPECT_EQ(s.Termos[3].Coluna, 0);

    TModeloPesquisado &m = p.Lista().Slot(1);
    m.Codigos = codigos;
    m.Sinais.reset();
    m.Sinais[0] = true; // b0 >= 0, b1 < 0, b2 >= 0
    m.Sinais[2] = true;
    EXPECT_EQ(p.EquacaoSimbolica(1), "Ln([Valor]) = b0 - b1x1/[x1] + b2xLn([Área])");
    m.Sinais.reset();
    m.Codigos[1] = 0;
    EXPECT_EQ(p.EquacaoSimbolica(1), "Ln([Valor]) = -b0 - b1xLn([Área])");
    m.Codigos[4] = 0;
    EXPECT_EQ(p.EquacaoSimbolica(1), "");
    EXPECT_EQ(p.EquacaoSimbolica(51), "");
}

// The table: the summary's columns, the detailed columns, the estimate columns without the
// subject's values. Three samples and two regressors: a model with both would have no residual
// degree of freedom (an "exact fit" with n = m) and is never listed.
TEST(Pesquisa, BestModelsTable) {
    TGridzelto g;
    Preenche(g, {"y", "a", "b"}, {{3, 3, 7}, {1, 2, 4}, {2, 1, 3}});
    TSistema s(g);
    TPesquisa p(g, s);
    ASSERT_TRUE(p.Pesquisa());
    ASSERT_GT(p.Modelos(), 0);
    for (int i = 1; i <= p.Modelos(); ++i) {
        const TModeloPesquisado &m = p.Lista().Slot(i);
        EXPECT_FALSE(m.Codigos[2] && m.Codigos[3]) << i;
        EXPECT_LT(m.R, 1) << i;
        EXPECT_LT(m.F, Infinito) << i;
    }

    p.MontaTabela(false);
    ASSERT_EQ(p.Tabela().size(), static_cast<std::size_t>(p.Modelos()) + 1);
    EXPECT_EQ(p.Tabela()[0], kTitulosTabela);
    const TLinhaTabela &resumo = p.Tabela()[1];
    const TModeloPesquisado &primeiro = p.Lista().Slot(1);
    EXPECT_EQ(resumo[0], "1");
    EXPECT_EQ(resumo[1], FormatoFixo(primeiro.R, 4));
    EXPECT_EQ(resumo[2], FormatoFixo(primeiro.R2Ajustado, 4));
    EXPECT_EQ(resumo[3], FormatoFixo(primeiro.F, 4));
    EXPECT_EQ(resumo[4], "");
    EXPECT_EQ(resumo[5], "");
    EXPECT_EQ(p.SlotDaLinha(1), 1);

    // Detailed: every listed model is fitted again; none loses its row.
    p.MontaTabela(true);
    const auto &t = p.Tabela();
    ASSERT_EQ(t.size(), static_cast<std::size_t>(p.Modelos()) + 1);
    for (std::size_t r = 1; r < t.size(); ++r) {
        const int slot = p.SlotDaLinha(static_cast<int>(r));
        EXPECT_EQ(slot, static_cast<int>(r));
        const TModeloPesquisado &m = p.Lista().Slot(slot);
        EXPECT_EQ(t[r][0], std::to_string(r));
        EXPECT_EQ(t[r][1], FormatoFixo(m.R, 4)) << r;
        EXPECT_EQ(t[r][4], std::to_string(m.Significativos) + " em 1") << r;
        EXPECT_TRUE(m.SignificativosCalculados);
        EXPECT_FALSE(t[r][5].empty());
        EXPECT_TRUE(t[r][6] == "Sim" || t[r][6] == "Não") << r;
        EXPECT_TRUE(t[r][7] == "Positiva" || t[r][7] == "Negativa" || t[r][7] == "Não há" ||
                    t[r][7] == "Inconclusivo")
            << r;
        EXPECT_EQ(t[r][8], "------");
        EXPECT_EQ(t[r][11], "------");
    }
    EXPECT_EQ(p.SlotDaLinha(0), 0);
    EXPECT_EQ(p.SlotDaLinha(static_cast<int>(t.size())), 0);
}

TEST(Pesquisa, EstimateColumnsAndChoiceOfAModel) {
    TGridzelto g;
    Aleatoria(g, "pzp", 30, 17);
    g.ValoresObjeto = {"x1=0", "x2=1", "x3=4"};
    TSistema s(g);
    TPesquisa p(g, s);
    Avisos a;
    a.Liga(p);
    p.Threads = 2;
    ASSERT_TRUE(p.Pesquisa());
    ASSERT_EQ(p.Modelos(), kSlotsMelhores);

    int linhaInicial = -1;
    TPesquisa::TJanelaEscolha janela;
    janela.Escolhe = [&](TPesquisa &q, int inicial) {
        linhaInicial = inicial;
        EXPECT_TRUE(q.TabelaMontada());
        return 3;
    };
    ASSERT_TRUE(p.EscolheModelo(false, 0, 2, janela));
    EXPECT_EQ(linhaInicial, 1);
    EXPECT_EQ(p.UltimaLinha, 3);
    const TModeloPesquisado &m = p.Lista().Slot(p.SlotDaLinha(3));
    EXPECT_EQ(s.R(), m.R);
    EXPECT_EQ(s.n(), 30u);

    // A model with x1 under a logarithm or an inverse cannot be estimated at x1 = 0: "???" in
    // the estimate columns; the others show the estimate and the interval around it.
    int comFalha = 0, comEstimativa = 0;
    for (std::size_t r = 1; r < p.Tabela().size(); ++r) {
        const auto &linha = p.Tabela()[r];
        const std::uint8_t x1 = p.Lista().Slot(p.SlotDaLinha(static_cast<int>(r))).Codigos[2];
        if (x1 == 2 || x1 == 8) {
            ++comFalha;
            EXPECT_EQ(linha[8], "???") << r;
            EXPECT_EQ(linha[11], "???") << r;
        } else {
            ++comEstimativa;
            long double estimativa = 0, inferior = 0, superior = 0;
            ASSERT_TRUE(ConverteNumero(linha[8], estimativa)) << linha[8];
            if (ConverteNumero(linha[9], inferior) && ConverteNumero(linha[10], superior)) {
                EXPECT_LE(inferior, estimativa) << r;
                EXPECT_GE(superior, estimativa) << r;
                EXPECT_EQ(linha[11].substr(linha[11].size() - 2), " %");
            }
        }
    }
    EXPECT_GT(comFalha, 0);
    EXPECT_GT(comEstimativa, 0);
    EXPECT_EQ(comFalha + comEstimativa, static_cast<int>(p.Tabela().size()) - 1);

    // New subject values: the table is kept until it is discarded, then built with the new
    // estimates (x1 = 1 makes every model estimable).
    const auto antes = p.Tabela();
    g.ValoresObjeto = {"x1=1", "x2=1", "x3=4"};
    p.MontaTabela(true);
    EXPECT_EQ(p.Tabela(), antes);
    p.DescartaTabela();
    EXPECT_FALSE(p.TabelaMontada());
    p.MontaTabela(true);
    EXPECT_NE(p.Tabela(), antes);
    for (std::size_t r = 1; r < p.Tabela().size(); ++r)
        EXPECT_NE(p.Tabela()[r][8], "???") << r;

    // Next time the window opens on row 3; with sanitation the model is refitted without its
    // outliers; "&Cancelar" chooses nothing.
    janela.Escolhe = [&](TPesquisa &, int inicial) {
        linhaInicial = inicial;
        return 1;
    };
    ASSERT_TRUE(p.EscolheModelo(true, csDesvioPadrao, 1.0L, janela));
    EXPECT_EQ(linhaInicial, 3);
    EXPECT_LT(s.n(), 30u);
    janela.Escolhe = [](TPesquisa &, int) { return 0; };
    EXPECT_FALSE(p.EscolheModelo(false, 0, 2, janela));
    EXPECT_EQ(p.UltimaLinha, 1);
    EXPECT_TRUE(a.textos.empty());
}

// "grau de fundamentação, depois R": III before II before I before no grade; within a grade the
// list's order (by R) stays, however the grades interleave.
TEST(Pesquisa, OrderByGradeKeepsROrderWithinAGrade) {
    using G = zelto::TGrau;
    const std::vector<G> graus{G::II, G::I, G::III, G::Nenhum, G::II, G::III, G::I, G::III};
    EXPECT_EQ(zelto::OrdemPorGrau(graus), (std::vector<int>{2, 5, 7, 0, 4, 1, 6, 3}));
    const std::vector<G> iguais(5, G::II);
    EXPECT_EQ(zelto::OrdemPorGrau(iguais), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_TRUE(zelto::OrdemPorGrau(std::vector<G>{}).empty());
}
