#include "common/Texto.h"
#include "worksheet/Gridzelto.h"
#include "PlanilhaTeste.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace zelto;
using namespace zelto::teste;

namespace {

std::vector<std::string> Coluna(const TGridzelto &g, int c, int r0, int r1) {
    std::vector<std::string> v;
    for (int r = r0; r <= r1; ++r)
        v.push_back(g.Celula(c, r));
    return v;
}

// ---- A trivial reference model of the worksheet's rows and columns ----------------

struct MLinha {
    std::vector<std::string> cel;
    std::optional<TAmostragem> a;
};
struct MColuna {
    std::optional<TVariavel> v;
    TDataFormat f;
    int largura = TGridzelto::kLarguraPadrao;
};

bool Inteiro(const std::string &s, long long &n) {
    if (s.empty() || s.size() > 9 || !std::all_of(s.begin(), s.end(), ::isdigit)) return false;
    n = std::stoll(s);
    return true;
}

struct Modelo {
    std::vector<MLinha> l;
    std::vector<MColuna> col;
    int lu = 0, cu = 0;
    bool mod = false;

    int rows() const { return static_cast<int>(l.size()); }
    int cols() const { return static_cast<int>(col.size()); }

    static Modelo De(const TGridzelto &g) {
        Modelo m;
        m.l.reserve(g.RowCount());
        for (int r = 0; r < g.RowCount(); ++r) {
            MLinha x;
            x.cel.reserve(g.ColCount());
            for (int c = 0; c < g.ColCount(); ++c)
                x.cel.push_back(g.Celula(c, r));
            if (g.Amostragem(r)) x.a = *g.Amostragem(r);
            m.l.push_back(x);
        }
        for (int c = 0; c < g.ColCount(); ++c) {
            MColuna x;
            if (g.Variavel(c)) x.v = *g.Variavel(c);
            x.f = g.Formato(c);
            x.largura = g.LarguraColuna(c);
            m.col.push_back(x);
        }
        m.lu = g.LinhasUsadas();
        m.cu = g.ColunasUsadas();
        m.mod = g.Modificada();
        return m;
    }

    // The worksheet against the model, without copying it.
    bool Igual(const TGridzelto &g) const {
        if (g.RowCount() != rows() || g.ColCount() != cols() || g.LinhasUsadas() != lu ||
            g.ColunasUsadas() != cu || g.Modificada() != mod)
            return false;
        for (int r = 0; r < rows(); ++r) {
            const TAmostragem *a = g.Amostragem(r);
            if (a ? !l[r].a || !(*a == *l[r].a) : l[r].a.has_value()) return false;
            for (int c = 0; c < cols(); ++c)
                if (g.Celula(c, r) != l[r].cel[c]) return false;
        }
        for (int c = 0; c < cols(); ++c) {
            const TVariavel *v = g.Variavel(c);
            if (v ? !col[c].v || !(*v == *col[c].v) : col[c].v.has_value()) return false;
            if (!(g.Formato(c) == col[c].f) || g.LarguraColuna(c) != col[c].largura) return false;
        }
        return true;
    }

    std::string numero() const {
        long long maior = 0, n = 0;
        for (int r = 1; r < rows(); ++r)
            if (Inteiro(l[r].cel[0], n)) maior = std::max(maior, n);
        return std::to_string(maior + 1);
    }
    std::string rotulo() const {
        std::vector<std::string> candidatos;
        for (char x = 'A'; x <= 'Z'; ++x)
            candidatos.push_back(std::string{x, '0'});
        for (char x = 'A'; x <= 'Z'; ++x)
            candidatos.push_back(std::string{'A', x, '0'});
        for (const auto &k : candidatos)
            if (std::find(l[0].cel.begin() + 1, l[0].cel.end(), k) == l[0].cel.end()) return k;
        return "AB0";
    }
    bool linhaCheia(int r) const {
        return l[r].a || std::any_of(l[r].cel.begin() + 1, l[r].cel.end(),
                                     [](const std::string &s) { return !s.empty(); });
    }
    bool colunaCheia(int c) const {
        if (col[c].v) return true;
        for (int r = 1; r < rows(); ++r)
            if (!l[r].cel[c].empty()) return true;
        return false;
    }
    template <class V> static void Move(V &v, int de, int para) {
        auto x = v[de];
        v.erase(v.begin() + de);
        v.insert(v.begin() + para, x);
    }

    void insereLinha(int r) {
        if (r < 1 || r > rows()) return;
        MLinha x;
        x.cel.resize(cols());
        x.cel[0] = numero();
        l.insert(l.begin() + r, x);
        if (r <= lu) ++lu;
        mod = true;
    }
    void excluiLinha(int r) {
        if (r < 1 || r > lu || r >= rows()) return;
        l[r] = MLinha{std::vector<std::string>(cols()), std::nullopt};
        Move(l, r, rows() - 1);
        --lu;
        if (l[r].cel[0].empty()) l[r].cel[0] = numero();
        if (l.back().cel[0].empty()) l.back().cel[0] = numero();
        mod = true;
    }
    void insereColuna(int c) {
        if (c < 1 || c > cols()) return;
        std::string r = rotulo();
        col.insert(col.begin() + c, MColuna{});
        for (auto &x : l)
            x.cel.insert(x.cel.begin() + c, "");
        l[0].cel[c] = r;
        if (c <= cu) ++cu;
        mod = true;
    }
    void excluiColuna(int c) {
        if (c < 1 || c >= cols()) return;
        col.erase(col.begin() + c); // the test worksheet always has more than two columns
        for (auto &x : l)
            x.cel.erase(x.cel.begin() + c);
        if (c <= cu) --cu;
        mod = true;
    }
    void moveLinha(int de, int para) {
        if (de == para || de < 1 || para < 1 || de >= rows() || para >= rows()) return;
        bool cheia = linhaCheia(de);
        Move(l, de, para);
        if (cheia && para > lu)
            lu = para;
        else if (de > lu && para <= lu)
            ++lu;
        mod = true;
    }
    void moveColuna(int de, int para) {
        if (de == para || de < 1 || para < 1 || de >= cols() || para >= cols()) return;
        bool cheia = colunaCheia(de);
        Move(col, de, para);
        for (auto &x : l)
            Move(x.cel, de, para);
        if (cheia && para > cu)
            cu = para;
        else if (de > cu && para <= cu)
            ++cu;
        mod = true;
    }
    void ordena(int k, bool crescente) {
        int n = std::min(lu, rows() - 1);
        if (n <= 0 || k < 0 || k > std::min(cu, cols() - 1)) return;
        bool numero =
            k == 0 || (col[k].v && (col[k].v->Tipo == tvNumerica || col[k].v->Tipo == tvCalculada));
        std::vector<std::string> chaves(n + 1);
        for (int r = 1; r <= n; ++r) {
            chaves[r] = l[r].cel[k];
            while (numero && TamanhoCp1252(chaves[r]) < 30)
                chaves[r] = " " + chaves[r];
        }
        // Insertion sort: a later row passes an earlier one only on a strictly smaller key.
        std::vector<int> ordem;
        for (int r = 1; r <= n; ++r) {
            auto pos = ordem.end();
            while (pos != ordem.begin()) {
                int x = ComparaTextoLocal(chaves[r], chaves[*(pos - 1)]);
                if (crescente ? x < 0 : x > 0)
                    --pos;
                else
                    break;
            }
            ordem.insert(pos, r);
        }
        std::vector<MLinha> antes(l);
        for (int s = 1; s <= n; ++s)
            l[s] = antes[ordem[s - 1]];
        mod = true;
    }
};

// Follows the worksheet's notifications on its own copy of the texts; a view
// that does the same stays equal to the worksheet.
struct Espelho {
    const TGridzelto &g;
    std::vector<std::vector<std::string>> t;

    Espelho(const TGridzelto &grade, const Modelo &m) : g(grade) {
        t.reserve(m.l.size() + 4);
        for (const auto &x : m.l)
            t.push_back(x.cel);
    }
    bool Igual() const {
        if (static_cast<int>(t.size()) != g.RowCount()) return false;
        for (int r = 0; r < g.RowCount(); ++r) {
            if (static_cast<int>(t[r].size()) != g.ColCount()) return false;
            for (int c = 0; c < g.ColCount(); ++c)
                if (t[r][c] != g.Celula(c, r)) return false;
        }
        return true;
    }
    template <class V> static void Gira(V &v, int de, int para) { Modelo::Move(v, de, para); }
    void operator()(const TMudanca &m) {
        switch (m.tipo) {
        case TMudanca::Celulas:
            for (int r = m.Linha0; r <= m.Linha1; ++r)
                for (int c = m.Coluna0; c <= m.Coluna1; ++c)
                    t[r][c] = g.Celula(c, r);
            break;
        case TMudanca::LinhasInseridas:
            for (int r = m.Linha0; r <= m.Linha1; ++r) {
                std::vector<std::string> x;
                for (int c = 0; c < g.ColCount(); ++c)
                    x.push_back(g.Celula(c, r));
                t.insert(t.begin() + r, x);
            }
            break;
        case TMudanca::LinhasRemovidas:
            t.erase(t.begin() + m.Linha0, t.begin() + m.Linha1 + 1);
            break;
        case TMudanca::LinhaMovida:
            Gira(t, m.Linha0, m.Linha1);
            break;
        case TMudanca::ColunasInseridas:
            for (int c = m.Coluna0; c <= m.Coluna1; ++c)
                for (int r = 0; r < static_cast<int>(t.size()); ++r)
                    t[r].insert(t[r].begin() + c, g.Celula(c, r));
            break;
        case TMudanca::ColunasRemovidas:
            for (auto &x : t)
                x.erase(x.begin() + m.Coluna0, x.begin() + m.Coluna1 + 1);
            break;
        case TMudanca::ColunaMovida:
            for (auto &x : t)
                Gira(x, m.Coluna0, m.Coluna1);
            break;
        default:
            break;
        }
    }
};

// Four samples in three columns; sample 2 is disregarded; column 2 is wider.
void Preenche(TGridzelto &g) {
    TVariavel preco = Var(tvNumerica, "Preço");
    preco.Alinhamento = alDireita;
    Define(g, 1, preco, {teReal, {}});
    Define(g, 2, Var(tvComentario, "Bairro", false));
    Define(g, 3, Var(tvNumerica, "Área"), {teReal, {}});
    const char *dados[4][3] = {{"1.500,00", "centro", "80"},
                               {"900,00", "Águas", "120"},
                               {"1.500,00", "Bela", "80"},
                               {"12.000,00", "Centro", "95"}};
    for (int r = 1; r <= 4; ++r)
        for (int c = 1; c <= 3; ++c)
            g.AtribuiCelula(c, r, dados[r - 1][c - 1]);
    g.AmostragemCriada(2).Desconsiderada = true;
    g.DefineLarguraColuna(2, 90);
    g.DefineLinhasUsadas(4);
    g.DefineModificada(false);
}

struct Operacao {
    const char *nome;
    std::function<void(TGridzelto &)> naGrade;
    std::function<void(Modelo &)> noModelo;
};

std::vector<Operacao> Operacoes() {
    std::vector<Operacao> ops;
    for (int r : {2, 5})
        ops.push_back({"InsereAmostragem", [r](TGridzelto &g) { g.InsereAmostragem(r); },
                       [r](Modelo &m) { m.insereLinha(r); }});
    for (int r : {1, 4, 6})
        ops.push_back({"ExcluiAmostragem", [r](TGridzelto &g) { g.ExcluiAmostragem(r); },
                       [r](Modelo &m) { m.excluiLinha(r); }});
    for (auto [de, para] : {std::pair{4, 1}, {2, 7}, {8, 2}})
        ops.push_back({"MoveLinha", [=](TGridzelto &g) { g.MoveLinha(de, para); },
                       [=](Modelo &m) { m.moveLinha(de, para); }});
    for (int c : {2, 4})
        ops.push_back({"InsereVariavel", [c](TGridzelto &g) { g.InsereVariavel(c); },
                       [c](Modelo &m) { m.insereColuna(c); }});
    for (int c : {1, 3})
        ops.push_back({"ExcluiVariavel", [c](TGridzelto &g) { g.ExcluiVariavel(c); },
                       [c](Modelo &m) { m.excluiColuna(c); }});
    for (auto [de, para] : {std::pair{1, 3}, {3, 5}, {6, 1}})
        ops.push_back({"MoveColuna", [=](TGridzelto &g) { g.MoveColuna(de, para); },
                       [=](Modelo &m) { m.moveColuna(de, para); }});
    for (auto [k, cresc] : {std::pair{0, false}, {1, true}, {3, true}})
        ops.push_back({"Ordena", [=](TGridzelto &g) { g.Ordena(k, cresc); },
                       [=](Modelo &m) { m.ordena(k, cresc); }});
    return ops;
}

} // namespace

// Every sequence of up to three operations agrees with the reference model in
// cells, records, widths, counts and the modified flag, and a copy kept up to
// date from the notifications alone agrees with the worksheet.
TEST(OperacoesPlanilha, SequencesAgreeWithTheReferenceModel) {
    const auto ops = Operacoes();
    const int n = static_cast<int>(ops.size());
    std::vector<int> seq;
    int casos = 0;
    TGridzelto inicial;
    Preenche(inicial);
    const Modelo m0 = Modelo::De(inicial);
    std::function<void()> percorre = [&] {
        if (!seq.empty()) {
            TGridzelto g;
            Preenche(g);
            Modelo m = m0;
            Espelho e(g, m0);
            g.AdicionaOuvinte(std::ref(e));
            for (int i : seq) {
                ops[i].naGrade(g);
                ops[i].noModelo(m);
            }
            ++casos;
            auto nomes = [&] {
                std::string s;
                for (int i : seq)
                    s += std::string(ops[i].nome) + "#" + std::to_string(i) + " ";
                return s;
            };
            ASSERT_TRUE(m.Igual(g)) << nomes();
            ASSERT_TRUE(e.Igual()) << nomes();
        }
        if (seq.size() == 3) return;
        for (int i = 0; i < n; ++i) {
            seq.push_back(i);
            percorre();
            seq.pop_back();
            if (::testing::Test::HasFatalFailure()) return;
        }
    };
    percorre();
    EXPECT_EQ(casos, n + n * n + n * n * n);
}

TEST(OperacoesPlanilha, NextSampleNumberAndColumnLabel) {
    TGridzelto g;
    EXPECT_EQ(g.ProximoNumeroAmostra(), 42); // spare rows carry numbers too
    g.AtribuiCelula(0, 41, "x7");
    g.AtribuiCelula(0, 40, "2,5");
    EXPECT_EQ(g.ProximoNumeroAmostra(), 40); // texts that are no integers count as 0
    g.AtribuiCelula(0, 3, "977");
    EXPECT_EQ(g.ProximoNumeroAmostra(), 978);

    EXPECT_EQ(g.ProximoRotuloColuna(), "V0"); // A0..U0 stand in the 21 columns
    g.AtribuiCelula(3, 0, "Preço");
    EXPECT_EQ(g.ProximoRotuloColuna(), "C0");
    g.AtribuiCelula(3, 0, "C0");
    g.AcrescentaColunas(31); // up to column 52: A0..Z0, then A1..Z1
    EXPECT_EQ(g.ProximoRotuloColuna(), "AA0");
    for (int c = 27; c <= 51; ++c)
        g.AtribuiCelula(c, 0, std::string{'A', char('A' + c - 27), '0'});
    EXPECT_EQ(g.ProximoRotuloColuna(), "AZ0");
    g.AtribuiCelula(52, 0, "AZ0");
    EXPECT_EQ(g.ProximoRotuloColuna(), "AB0"); // every label taken: AB0 although it exists
}

TEST(OperacoesPlanilha, DeletingASampleKeepsTheOtherNumbers) {
    TGridzelto g;
    Define(g, 1, Var(tvNumerica, "X"));
    for (int r = 1; r <= 5; ++r)
        g.AtribuiCelula(1, r, std::to_string(10 * r));
    g.DefineLinhasUsadas(5);
    g.AmostragemCriada(3).Desconsiderada = true;
    g.ExcluiAmostragem(3);
    EXPECT_EQ(Coluna(g, 0, 1, 5), (std::vector<std::string>{"1", "2", "4", "5", "6"}));
    EXPECT_EQ(Coluna(g, 1, 1, 5), (std::vector<std::string>{"10", "20", "40", "50", ""}));
    EXPECT_EQ(g.LinhasUsadas(), 4);
    EXPECT_EQ(g.RowCount(), 42);
    EXPECT_EQ(g.Celula(0, 41), "42"); // the emptied row, at the bottom, numbered after all rows
    EXPECT_EQ(g.Amostragem(41), nullptr);
    EXPECT_EQ(g.Amostragem(3), nullptr);
    EXPECT_TRUE(g.Modificada());

    g.ExcluiAmostragem(5); // beyond the used rows: nothing
    EXPECT_EQ(g.LinhasUsadas(), 4);
    EXPECT_EQ(g.Celula(0, 5), "6");
}

TEST(OperacoesPlanilha, InsertingAndDeletingVariables) {
    TGridzelto g;
    Define(g, 1, Var(tvNumerica, "Área"));
    TVariavel calc = Var(tvCalculada, "Dobro");
    calc.Equacao = "[Área]*2";
    calc.CasasDecimais = 0;
    Define(g, 2, calc);
    g.AtribuiCelula(1, 1, "21");
    g.DefineLinhasUsadas(1);
    g.RecalcularTudo();
    ASSERT_EQ(g.Celula(2, 1), "42");

    g.DefineLarguraColuna(1, 120);
    g.InsereVariavel(1);
    EXPECT_EQ(g.ColCount(), 23);
    EXPECT_EQ(g.Celula(1, 0), "A0"); // the next free label
    EXPECT_EQ(g.LarguraColuna(1), TGridzelto::kLarguraPadrao);
    EXPECT_EQ(g.LarguraColuna(2), 120); // widths travel with their columns
    EXPECT_EQ(g.Variavel(1), nullptr);
    EXPECT_EQ(g.Variavel(2)->Nome, "Área");
    EXPECT_EQ(g.ColunasUsadas(), 3);

    g.ExcluiVariavel(2); // "Área": the calculated column loses its operand
    EXPECT_EQ(g.ColCount(), 22);
    EXPECT_EQ(g.ColunasUsadas(), 2);
    EXPECT_EQ(g.Variavel(2)->Nome, "Dobro");
    EXPECT_EQ(g.Celula(2, 1), "???");

    TGridzelto h;
    Define(h, 1, Var(tvNumerica, "Só"));
    h.ExcluiVariavel(1);
    EXPECT_EQ(h.ColunasUsadas(), 0);
    EXPECT_EQ(h.Variavel(1), nullptr);
    EXPECT_EQ(h.Celula(1, 0), "B0");
}

TEST(OperacoesPlanilha, RenumberingTrimsSpareRows) {
    struct Caso {
        int acrescenta, usadas, dadosEm, linhas;
    } casos[] = {
        {0, 10, 0, 41},   // more than two spare rows: cut to 41 rows
        {0, 39, 0, 42},   // exactly two spare rows: no cut
        {20, 50, 0, 52},  // 50 used rows: cut to 52
        {20, 50, 57, 58}, // rows that still hold data stay
        {0, 10, 35, 41},
    };
    for (const auto &k : casos) {
        TGridzelto g;
        g.AcrescentaLinhas(k.acrescenta);
        g.DefineLinhasUsadas(k.usadas);
        g.AtribuiCelula(0, 2, "77");
        if (k.dadosEm) g.AtribuiCelula(3, k.dadosEm, "x");
        g.Renumera();
        EXPECT_EQ(g.RowCount(), k.linhas) << k.usadas << " " << k.dadosEm;
        EXPECT_EQ(g.Celula(0, 2), "2");
        EXPECT_EQ(g.Celula(0, g.RowCount() - 1), std::to_string(g.RowCount() - 1));
        EXPECT_TRUE(g.Modificada());
    }
}

TEST(OperacoesPlanilha, ClearingAndTrimming) {
    TGridzelto g;
    Define(g, 1, Var(tvNumerica, "A"));
    TVariavel calc = Var(tvCalculada, "B");
    calc.Equacao = "[A]+1";
    calc.CasasDecimais = 0;
    Define(g, 2, calc);
    Define(g, 3, Var(tvComentario, "C", false));
    g.AtribuiCelula(1, 1, "1");
    g.AtribuiCelula(1, 2, "2");
    g.AtribuiCelula(3, 3, "  ");
    g.AtribuiCelula(5, 4, "fora"); // outside the used columns
    g.DefineLinhasUsadas(2);
    g.RecalcularTudo();
    ASSERT_EQ(g.Celula(2, 2), "3");
    g.DefineLinhasUsadas(4);

    g.DefineModificada(false);
    g.LimpaCelula(1, 2);
    EXPECT_EQ(g.Celula(1, 2), "");
    EXPECT_EQ(g.Celula(2, 2), "???"); // the row is recalculated
    EXPECT_TRUE(g.Modificada());

    g.AparaLinhasVazias(); // rows 4 and 3 are empty in the used columns; row 2 holds "???"
    EXPECT_EQ(g.LinhasUsadas(), 2);

    TGridzelto h;
    h.DefineLinhasUsadas(3);
    h.AparaLinhasVazias(); // no used columns: every row counts as empty
    EXPECT_EQ(h.LinhasUsadas(), 0);
}

TEST(OperacoesPlanilha, OneCellClipboard) {
    struct Caso {
        TipoVariavel origem, destino;
        const char *texto;
        const char *resultado; // nullptr: nothing pasted
    } casos[] = {
        {tvData, tvNumerica, "15/Mar/2020", nullptr},
        {tvNumerica, tvNumerica, "1.234,5", "1.234,50"},
        {tvNumerica, tvData, "12", nullptr},
        {tvData, tvData, "15/03/2020", "15/Mar/2020"},
        {tvNumerica, tvComentario, "1.234,5", "1.234,5"},
        {tvData, tvComentario, "15/Mar/2020", "15/Mar/2020"},
        {tvQualitativa, tvQualitativa, "bom", "Bom"},
        {tvDicotomica, tvQualitativa, "TRUE", nullptr},
        {tvQualitativa, tvDicotomica, "Bom", nullptr},
        {tvDicotomica, tvDicotomica, "TRUE", "TRUE"},
        {tvComentario, tvNumerica, "5", nullptr},
        {tvNumerica, tvNumerica, "", nullptr}, // an empty copy pastes nothing
    };
    auto editor = [](TipoVariavel t) {
        const TipoEditor e[] = {teReal, teLista, teCaixaMarcacao, teTexto, teData, teTexto};
        return e[t];
    };
    for (const auto &k : casos) {
        TGridzelto g;
        for (int c : {1, 2}) {
            TipoVariavel t = c == 1 ? k.origem : k.destino;
            TVariavel v = Var(t, "V" + std::to_string(c));
            v.CasasDecimais = 2;
            v.PontosDeMilhar = true;
            v.Rotulos = "Sim|Não";
            Define(g, c, v, {editor(t), {{"Bom", 3}, {"Ruim", 1}}});
        }
        g.AtribuiCelula(1, 1, k.texto);
        g.AtribuiCelula(2, 2, "antes");
        g.DefineModificada(false);
        TCelulaCopiada copia = g.CopiaCelula(1, 1);
        EXPECT_EQ(copia.Editor, editor(k.origem));
        bool colou = g.ColaCelula(copia, 2, 2);
        EXPECT_EQ(colou, k.resultado != nullptr) << k.origem << "->" << k.destino;
        EXPECT_EQ(g.Celula(2, 2), k.resultado ? k.resultado : "antes")
            << k.origem << "->" << k.destino;
        EXPECT_EQ(g.Modificada(), colou);
    }

    TGridzelto g; // cutting empties the cell and recalculates its row; pasting into
                  // a column without a variable makes it a comment column
    Define(g, 1, Var(tvNumerica, "A"), {teReal, {}});
    TVariavel calc = Var(tvCalculada, "B");
    calc.Equacao = "[A]";
    Define(g, 2, calc);
    g.AtribuiCelula(1, 3, "7,00");
    g.DefineLinhasUsadas(3);
    g.RecalcularTudo();
    TCelulaCopiada copia = g.RecortaCelula(1, 3);
    EXPECT_EQ(copia.Texto, "7,00");
    EXPECT_EQ(g.Celula(1, 3), "");
    EXPECT_EQ(g.Celula(2, 3), "???");
    EXPECT_TRUE(g.ColaCelula(copia, 4, 6));
    EXPECT_EQ(g.Variavel(4)->Tipo, tvComentario);
    EXPECT_EQ(g.Celula(4, 6), "7,00");
    EXPECT_EQ(g.LinhasUsadas(), 6);
    EXPECT_EQ(g.ColunasUsadas(), 4);
}

// ---- Sorting ---------------------------------------------------------------------

namespace {

// Rows whose cells in column 1 are the given texts; column 2 keeps each row's
// original index, so the order after sorting can be read back.
void Linhas(TGridzelto &g, TVariavel v, TDataFormat f, const std::vector<std::string> &textos) {
    Define(g, 1, v, f);
    Define(g, 2, Var(tvComentario, "Origem", false));
    for (int i = 0; i < static_cast<int>(textos.size()); ++i) {
        g.AtribuiCelula(1, i + 1, textos[i]);
        g.AtribuiCelula(2, i + 1, std::to_string(i + 1));
    }
    g.DefineLinhasUsadas(static_cast<int>(textos.size()));
    g.DefineModificada(false);
}

// Column 2 of the used rows, joined by blanks.
std::string Origens(const TGridzelto &g) {
    std::string s;
    for (int r = 1; r <= g.LinhasUsadas(); ++r)
        s += (r > 1 ? " " : "") + g.Celula(2, r);
    return s;
}

} // namespace

// The texts of column 1 are separated by "|"; the order is read back as the
// original row indexes.
TEST(OperacoesPlanilha, SortOrders) {
    const TDataFormat lista{teLista, {{"Alto", 3}, {"baixo", 1}, {"Médio", 2}}};
    const TDataFormat real{teReal, {}};
    const TVariavel qual = Var(tvQualitativa, "Q"), num = Var(tvNumerica, "N");
    const TVariavel com = Var(tvComentario, "C", false);
    struct Caso {
        TVariavel v;
        TDataFormat f;
        const char *textos;
        bool crescente;
        const char *ordem;
    } casos[] = {
        {qual, lista, "médio|Baixo|alto|ALTO", true, "3 4 2 1"},       // by label, case ignored
        {num, real, "10,00|9,00|1.000,00||100,00", true, "4 2 1 5 3"}, // right-aligned
        {num, real, "10,00|9,00|1.000,00|100,00", false, "3 4 1 2"},
        {com, {}, "10|9|b|Á|a", true, "1 2 5 4 3"}, // texts as they stand
        // Equal keys keep their original order, past row 9 and in both directions.
        {com, {}, "x|x|a|x|x|x|x|x|x|x|x|a", true, "3 12 1 2 4 5 6 7 8 9 10 11"},
        {com, {}, "x|x|a|x|x|x|x|x|x|x|x|a", false, "1 2 4 5 6 7 8 9 10 11 3 12"},
    };
    for (const auto &k : casos) {
        TGridzelto g;
        Linhas(g, k.v, k.f, Divide(k.textos, '|'));
        g.Ordena(1, k.crescente);
        EXPECT_EQ(Origens(g), k.ordem) << k.textos;
        EXPECT_TRUE(g.Modificada()) << k.textos;
    }
}

TEST(OperacoesPlanilha, SortReportsProgressAndCanBeCancelled) {
    struct Registro : TProgresso {
        std::string titulo;
        double maximo = 0, ultima = 0;
        int passos = 0, termina = 0, cancelaEm = -1;
        void Inicia(const std::string &t, double, double m, bool) override {
            titulo = t;
            maximo = m;
        }
        void Avanca(double p) override {
            ultima = p;
            if (++passos == cancelaEm) Cancela();
        }
        void Termina() override { ++termina; }
    };
    const std::vector<std::string> textos{"c", "a", "b", "d"};
    for (int cancelaEm : {-1, 1, 4, 5, 8}) {
        TGridzelto g;
        Linhas(g, Var(tvComentario, "C", false), {}, textos);
        Registro p;
        p.cancelaEm = cancelaEm;
        g.Ordena(1, true, &p);
        EXPECT_EQ(p.titulo, "Ordenando planilha . . .");
        EXPECT_EQ(p.maximo, 12);
        EXPECT_EQ(p.termina, 1);
        if (cancelaEm < 0) {
            EXPECT_EQ(p.ultima, 12);
            EXPECT_EQ(Origens(g), "2 3 1 4");
            EXPECT_TRUE(g.Modificada());
        } else {
            EXPECT_EQ(Origens(g), "1 2 3 4") << cancelaEm;
            EXPECT_FALSE(g.Modificada()) << cancelaEm;
        }
    }
}

TEST(OperacoesPlanilha, NothingChangesWhileNotEditable) {
    std::vector<std::pair<const char *, std::function<void(TGridzelto &)>>> ops = {
        {"InsereAmostragem", [](TGridzelto &g) { g.InsereAmostragem(1); }},
        {"ExcluiAmostragem", [](TGridzelto &g) { g.ExcluiAmostragem(1); }},
        {"InsereVariavel", [](TGridzelto &g) { g.InsereVariavel(1); }},
        {"ExcluiVariavel", [](TGridzelto &g) { g.ExcluiVariavel(1); }},
        {"Renumera", [](TGridzelto &g) { g.Renumera(); }},
        {"Ordena", [](TGridzelto &g) { g.Ordena(1, false); }},
        {"MoveLinha", [](TGridzelto &g) { g.MoveLinha(1, 3); }},
        {"MoveColuna", [](TGridzelto &g) { g.MoveColuna(1, 3); }},
        {"LimpaCelula", [](TGridzelto &g) { g.LimpaCelula(1, 1); }},
        {"AparaLinhasVazias", [](TGridzelto &g) { g.AparaLinhasVazias(); }},
        {"ColaCelula",
         [](TGridzelto &g) {
             g.ColaCelula({"9", teTexto}, 2, 1);
         }},
        {"RecortaCelula", [](TGridzelto &g) { g.RecortaCelula(1, 1); }},
        {"ColaBloco",
         [](TGridzelto &g) {
             g.ColaBloco({1, 1, 1, 1}, "x\ty");
         }},
    };
    for (const auto &[nome, op] : ops) {
        TGridzelto g;
        Preenche(g);
        g.DefineLinhasUsadas(8);
        const Modelo antes = Modelo::De(g);
        g.Editavel = false;
        op(g);
        EXPECT_TRUE(antes.Igual(g)) << nome;
    }
}
