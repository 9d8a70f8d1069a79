#include "search/ConfiguracaoPesquisa.h"

#include "../worksheet/PlanilhaTeste.h"

#include <gtest/gtest.h>

using namespace zelto;
using zelto::teste::Define;
using zelto::teste::Var;

namespace {

constexpr std::uint32_t M(std::initializer_list<int> codigos) {
    std::uint32_t m = 0;
    for (int k : codigos)
        m |= 1u << k;
    return m;
}

// Columns 1..n numeric and used; the last one dependent.
void Planilha(TGridzelto &g, int n) {
    for (int c = 1; c <= n; ++c)
        Define(g, c, Var(tvNumerica, "V" + std::to_string(c)));
    g.Variavel(n)->Dependente = true;
}

// The dialog opened on a configuration, with the message it showed.
struct Dialogo {
    TSelecaoPesquisa s;
    std::string aviso;
    int resultado;
    Dialogo(const TConfiguracaoPesquisa &cfg, const TGridzelto &g)
        : resultado(s.Abre(cfg, g, [this](const std::string &t) { aviso = t; })) {}
};

} // namespace

TEST(MascarasVigentes, FollowTheWorksheetWithoutChangingTheConfiguration) {
    TGridzelto g;
    Planilha(g, 4);
    TConfiguracaoPesquisa cfg;
    TMascarasVigentes m = cfg.Vigentes(g, true);
    EXPECT_EQ(m.D, 4);
    EXPECT_EQ(m.TamanhoBloco, 4);
    // Three regressors under {0,1,2,8} and the dependent without code 0: 4·4·4·3 models.
    long total = 1;
    for (int c = 1; c <= m.V; ++c)
        total *= m.NumeroCodigosPermitidos(c);
    EXPECT_EQ(total, 192);
    EXPECT_EQ(m.PrimeiroCodigoPermitido(4), 1);
    std::uint8_t k = 2;
    EXPECT_TRUE(m.ProximoCodigoPermitido(1, k));
    EXPECT_EQ(k, 8);
    EXPECT_FALSE(m.ProximoCodigoPermitido(1, k));

    // Unused, dichotomous, and a column without a variable.
    g.Variavel(1)->Usada = false;
    g.Variavel(2)->Tipo = tvDicotomica;
    Define(g, 6, Var(tvNumerica, "V6"));
    m = cfg.Vigentes(g, true);
    EXPECT_EQ(m.V, 6);
    EXPECT_EQ(m.Mascara(1), kMascaraNaoUsada);
    EXPECT_EQ(m.Mascara(2), kMascaraDicotomica);
    EXPECT_EQ(m.Mascara(5), kMascaraNaoUsada);
    EXPECT_EQ(m.Mascara(6), kMascaraPadrao);
    // Used again, the variable has its mask back.
    g.Variavel(1)->Usada = true;
    EXPECT_EQ(cfg.Vigentes(g, true).Mascara(1), kMascaraPadrao);
    // A dichotomous variable whose mask allows neither 0 nor 1 is proportional.
    cfg.Mascaras[2] = M({2, 8});
    EXPECT_EQ(cfg.Vigentes(g, true).Mascara(2), kMascaraProporcional);

    // Rapid search keeps its block size (at least 1).
    cfg.PesquisaRapida = true;
    cfg.TamanhoBloco = 0;
    EXPECT_EQ(cfg.Vigentes(g, true).TamanhoBloco, 1);

    // The descriptive mode: the dependent variable, proportional, alone; and
    // back in the inferential mode the configuration is as it was.
    cfg.Criterio = cpR2Ajustado;
    const TConfiguracaoPesquisa antes = cfg;
    m = cfg.Vigentes(g, false);
    EXPECT_TRUE(m.Descritiva);
    EXPECT_EQ(m.TamanhoBloco, 1);
    EXPECT_EQ(m.Criterio, cpCorrelacao);
    for (int c = 1; c <= 6; ++c)
        EXPECT_EQ(m.Mascara(c), c == 4 ? kMascaraProporcional : kMascaraNaoUsada) << c;
    EXPECT_EQ(cfg, antes);
    EXPECT_EQ(cfg.Vigentes(g, true).Criterio, cpR2Ajustado);
}

TEST(SelecaoPesquisa, NothingToConfigure) {
    TGridzelto g;
    Define(g, 1, Var(tvComentario, "Obs", false));
    Dialogo d(TConfiguracaoPesquisa{}, g);
    EXPECT_EQ(d.resultado, kResultadoCancela);
    EXPECT_EQ(d.aviso,
              "Não existem modelos a pesquisar.\r\n Verifique se existem variáveis ativas.");
}

TEST(SelecaoPesquisa, TypeButtonsAndBoxes) {
    TGridzelto g;
    Planilha(g, 3);
    g.Variavel(2)->Tipo = tvDicotomica;

    // "&Padrão": the dichotomous variable ends with {0, 1}, the others {0, 1, 2, 8}.
    TConfiguracaoPesquisa cfg;
    cfg.Tipo = tpDirigida;
    Dialogo p(cfg, g);
    p.s.PressionaTipo(tpPadrao);
    EXPECT_FALSE(p.s.AbasVisiveis());
    p.s.Confirma(cfg);
    EXPECT_EQ(cfg.Mascara(1), kMascaraPadrao);
    EXPECT_EQ(cfg.Mascara(2), kMascaraDicotomica);
    EXPECT_EQ(cfg.Vigentes(g, true).Mascara(3), M({1, 2, 8}));

    // "&Dirigida": each tab keeps its boxes; a tab left empty stores {1}; the
    // dichotomous tab offers codes 0 and 1 only.
    Dialogo d(cfg, g);
    d.s.PressionaTipo(tpDirigida);
    for (std::uint8_t k = 0; k <= 14; ++k)
        d.s.MarcaCaixa(k, false);
    d.s.MudaPagina(1);
    EXPECT_FALSE(d.s.CaixaHabilitada(2));
    d.s.MarcaCaixa(2, true);
    EXPECT_EQ(d.s.Caixas(), kMascaraDicotomica);
    d.s.MudaPagina(2);
    d.s.MarcaCaixa(5, true);
    d.s.MudaPagina(0);
    EXPECT_EQ(d.s.Caixas(), 0u);
    d.s.Confirma(cfg);
    EXPECT_EQ(cfg.Mascara(1), kMascaraProporcional);
    EXPECT_EQ(cfg.Mascara(3), kMascaraPadrao | M({5}));
    EXPECT_EQ(cfg.Mascara(4), kMascaraNaoUsada);

    // "&Manual" then "Logarítmica" on one tab: that variable {2}, the others {1}.
    Dialogo m(cfg, g);
    m.s.PressionaTipo(tpManual);
    EXPECT_FALSE(m.s.RapidaOferecida());
    m.s.MudaPagina(2);
    m.s.MarcaCaixa(2, true);
    EXPECT_EQ(m.s.Caixas(), M({2}));
    m.s.Confirma(cfg);
    EXPECT_EQ(cfg.Mascara(1), M({1}));
    EXPECT_EQ(cfg.Mascara(3), M({2}));

    // A click under "&Padrão" or "&Completa" switches to "&Usuário"; the
    // common mask is not limited by the first tab being dichotomous.
    g.Variavel(1)->Tipo = tvDicotomica;
    for (TipoPesquisa t : {tpPadrao, tpCompleta}) {
        Dialogo u(cfg, g);
        u.s.PressionaTipo(t);
        u.s.MarcaCaixa(9, true);
        EXPECT_EQ(u.s.Tipo(), tpUsuario);
        u.s.Confirma(cfg);
        std::uint32_t esperada = (t == tpPadrao ? kMascaraPadrao : kMascaraCompleta) | M({9});
        EXPECT_EQ(cfg.Mascara(1), kMascaraDicotomica);
        EXPECT_EQ(cfg.Mascara(3), esperada);
    }
}

TEST(SelecaoPesquisa, ReopeningAndConfirmingKeepsTheConfiguration) {
    // With a dichotomous first variable, opening the dialog on a confirmed
    // configuration and confirming again changes nothing, for every type.
    TGridzelto g;
    Planilha(g, 3);
    g.Variavel(1)->Tipo = tvDicotomica;
    for (TipoPesquisa t : {tpManual, tpPadrao, tpCompleta, tpUsuario, tpDirigida}) {
        TConfiguracaoPesquisa cfg;
        Dialogo d(cfg, g);
        d.s.PressionaTipo(t);
        d.s.MudaPagina(2);
        if (t != tpPadrao && t != tpCompleta) d.s.MarcaCaixa(11, true);
        d.s.DefineCriterio(cpRegressores);
        d.s.Confirma(cfg);
        const TConfiguracaoPesquisa primeira = cfg;
        Dialogo de_novo(cfg, g);
        EXPECT_EQ(de_novo.s.Tipo(), t);
        de_novo.s.Confirma(cfg);
        EXPECT_EQ(cfg, primeira) << NomeTipoPesquisa(t);
    }
}

TEST(SelecaoPesquisa, RapidSearchAndColumns) {
    TGridzelto g;
    Planilha(g, 4);
    g.AtribuiCelula(2, 0, "V1"); // two columns with one title
    g.Variavel(3)->Usada = false;
    TConfiguracaoPesquisa cfg;
    Dialogo d(cfg, g);
    EXPECT_EQ(d.s.DeslizadorMaximo(), 3);
    EXPECT_EQ(d.s.Deslizador(), 3);
    d.s.DefinePesquisaRapida(true);
    d.s.DefineDeslizador(1);
    d.s.PressionaTipo(tpDirigida);
    d.s.MudaPagina(1);
    d.s.MarcaCaixa(6, true);
    d.s.Confirma(cfg);
    EXPECT_TRUE(cfg.PesquisaRapida);
    EXPECT_EQ(cfg.TamanhoBloco, 1);
    EXPECT_EQ(cfg.Mascara(1), kMascaraPadrao);
    EXPECT_EQ(cfg.Mascara(2), kMascaraPadrao | M({6}));

    // Without rapid search the block is every tab; under a common mask a
    // variable unused at confirmation gets that mask when it is used later.
    Dialogo c(cfg, g);
    EXPECT_EQ(c.s.Deslizador(), 1);
    c.s.DefinePesquisaRapida(false);
    c.s.PressionaTipo(tpCompleta);
    c.s.Confirma(cfg);
    EXPECT_EQ(cfg.TamanhoBloco, 3);
    g.Variavel(3)->Usada = true;
    EXPECT_EQ(cfg.Vigentes(g, true).Mascara(3), kMascaraCompleta);
}
