#include "worksheet/Historico.h"
#include "PlanilhaTeste.h"
#include "worksheet/DefinicaoVariavel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>

using namespace zelto;
using namespace zelto::teste;
namespace fs = std::filesystem;

namespace {

// Everything a user can see of the worksheet, read through the public
// interface only, so the comparisons do not rest on the state's own equality.
struct Foto {
    std::vector<std::vector<std::string>> celulas;
    std::vector<std::optional<TVariavel>> variaveis;
    std::vector<TDataFormat> formatos;
    std::vector<int> larguras;
    std::vector<std::optional<TAmostragem>> amostragens;
    int linhasUsadas = 0, colunasUsadas = 0;
    std::vector<std::string> valoresObjeto;
    TIdentificacaoObjeto identificacao;
    int colunaAtual = 0, linhaAtual = 0;
    bool operator==(const Foto &) const = default;
};

Foto Fotografa(const TGridzelto &g, bool comCelulaAtual = true) {
    Foto f;
    for (int r = 0; r < g.RowCount(); ++r) {
        f.celulas.emplace_back();
        for (int c = 0; c < g.ColCount(); ++c)
            f.celulas.back().push_back(g.Celula(c, r));
        const TAmostragem *a = g.Amostragem(r);
        f.amostragens.push_back(a ? std::optional(*a) : std::nullopt);
    }
    for (int c = 0; c < g.ColCount(); ++c) {
        const TVariavel *v = g.Variavel(c);
        f.variaveis.push_back(v ? std::optional(*v) : std::nullopt);
        f.formatos.push_back(g.Formato(c));
        f.larguras.push_back(g.LarguraColuna(c));
    }
    f.linhasUsadas = g.LinhasUsadas();
    f.colunasUsadas = g.ColunasUsadas();
    f.valoresObjeto = g.ValoresObjeto;
    f.identificacao = g.IdentificacaoObjeto;
    if (comCelulaAtual) {
        f.colunaAtual = g.ColunaAtual;
        f.linhaAtual = g.LinhaAtual;
    }
    return f;
}

// Five variables of different kinds over eight samples, one of them disregarded.
void Preenche(TGridzelto &g) {
    Define(g, 1, Var(tvNumerica, "Area"), {teReal, {}});
    Define(g, 2, Var(tvQualitativa, "Estado"), {teLista, {{"Bom", 3}, {"Ruim", 1}}});
    TVariavel d = Var(tvDicotomica, "Piscina");
    d.Rotulos = "Sim|Não";
    Define(g, 3, d, {teCaixaMarcacao, {}});
    TVariavel calc = Var(tvCalculada, "Dobro");
    calc.Equacao = "[Area]*2";
    Define(g, 4, calc);
    Define(g, 5, Var(tvComentario, "Obs", false));
    const char *estados[] = {"Bom", "Ruim"};
    for (int r = 1; r <= 8; ++r) {
        g.AtribuiCelula(1, r, std::to_string(100 - 7 * r) + ",0");
        g.AtribuiCelula(2, r, estados[r % 2]);
        g.AtribuiCelula(3, r, r % 3 ? "TRUE" : "FALSE");
        g.AtribuiCelula(5, r, "obs " + std::to_string(r));
    }
    g.DefineLinhasUsadas(8);
    g.RecalcularTudo();
    g.AlternaDesconsiderada(3);
    g.ValoresObjeto = {"Area = 50"};
    g.DefineModificada(false);
}

class HistoricoTest : public ::testing::Test {
  public:
    void SetUp() override {
        pasta = fs::temp_directory_path() /
                ("zelto-hist-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                 "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(pasta);
        tabelas.emplace(pasta / "TAB_VAR.QVT");
        Preenche(g);
    }
    void TearDown() override { fs::remove_all(pasta); }

    // "Confirmar" of the definition dialog turning column c into a comment.
    void ParaComentario(int c) {
        TAtributosVariavel a = AtributosIniciais(g, c, *tabelas);
        a.Tipo = tvComentario;
        AplicaRegras(a, g.Modo.Inferencial);
        DefineVariavel(g, c, a, *tabelas);
    }

    fs::path pasta;
    std::optional<TTabelasVariaveis> tabelas;
    TGridzelto g;
};

using Operacao = std::function<void(HistoricoTest &, TGridzelto &)>;

} // namespace

TEST_F(HistoricoTest, EachOperationIsUndoneAndRedoneExactly) {
    struct Caso {
        const char *nome;
        Operacao op;
    } casos[] = {
        {"edição de célula", [](auto &, auto &g) { g.AceitaEdicao(1, 2, "999"); }},
        {"edição na última linha",
         [](auto &, auto &g) { g.AceitaEdicao(1, g.RowCount() - 1, "5"); }},
        {"edição na última coluna",
         [](auto &, auto &g) {
             int c = g.ColCount() - 1;
             g.DefinePorDigitacao(c, U'x');
             g.AceitaEdicao(c, 1, "x");
         }},
        {"colagem",
         [](auto &, auto &g) {
             g.ColaBloco({6, 7, 6, 7}, "1\t2\n3\t4\n5\t6\n");
         }},
        {"recorte", [](auto &, auto &g) { g.RecortaCelula(1, 1); }},
        {"limpeza de célula", [](auto &, auto &g) { g.LimpaCelula(2, 2); }},
        {"inclusão de amostragem", [](auto &, auto &g) { g.InsereAmostragem(2); }},
        {"exclusão de amostragem", [](auto &, auto &g) { g.ExcluiAmostragem(3); }},
        {"inclusão de variável", [](auto &, auto &g) { g.InsereVariavel(2); }},
        {"exclusão de variável", [](auto &, auto &g) { g.ExcluiVariavel(1); }},
        {"movimento de linha", [](auto &, auto &g) { g.MoveLinha(1, 6); }},
        {"movimento de coluna", [](auto &, auto &g) { g.MoveColuna(1, 4); }},
        {"ordenação", [](auto &, auto &g) { g.Ordena(1, true); }},
        {"renumeração", [](auto &, auto &g) { g.Renumera(); }},
        {"desconsiderar", [](auto &, auto &g) { g.AlternaDesconsiderada(3); }},
        {"variável usada", [](auto &, auto &g) { g.AlternaUsada(1); }},
        {"variável dependente", [](auto &, auto &g) { g.AlternaDependente(4); }},
        {"definição de variável", [](auto &t, auto &) { t.ParaComentario(1); }},
        {"largura", [](auto &, auto &g) { g.DefineLarguraColuna(2, 200); }},
        {"valores do objeto",
         [](auto &, auto &g) {
             g.ValoresObjeto.push_back("Estado = Bom");
             g.IdentificacaoObjeto.Multiplicador = 2;
         }},
        {"modo descritivo",
         [](auto &, auto &g) {
             g.Modo.Inferencial = false;
             g.GaranteValorHomogeneizado();
         }},
        {"nova planilha", [](auto &, auto &g) { g.Limpa(); }},
    };
    for (const auto &k : casos) {
        SCOPED_TRACE(k.nome);
        g.Limpa();
        Preenche(g);
        g.Modo.Inferencial = true;
        THistorico h(g);
        const Foto antes = Fotografa(g);
        const TEstadoPlanilha estadoAntes = g.Captura();
        h.Registra(k.nome);
        k.op(*this, g);
        const Foto depois = Fotografa(g);
        // The operation must change something for the case to mean anything.
        ASSERT_NE(antes, depois);
        EXPECT_TRUE(h.PodeDesfazer());
        EXPECT_EQ(h.DescricaoDesfazer(), k.nome);

        ASSERT_TRUE(h.Desfaz());
        EXPECT_EQ(Fotografa(g), antes);
        EXPECT_TRUE(g.Captura() == estadoAntes);
        EXPECT_FALSE(h.PodeDesfazer());
        EXPECT_EQ(h.DescricaoRefazer(), k.nome);

        ASSERT_TRUE(h.Refaz());
        EXPECT_EQ(Fotografa(g), depois);
        EXPECT_EQ(h.DescricaoDesfazer(), k.nome);
        EXPECT_FALSE(h.PodeRefazer());
    }
}

// The history against a reference model that keeps whole copies of the
// worksheet, over a long random mix of operations, undos and redos.
TEST_F(HistoricoTest, RandomSequencesMatchAStackOfCopies) {
    std::mt19937 rng(20240611);
    auto qualquer = [&rng](int de, int ate) {
        return std::uniform_int_distribution<int>(de, ate)(rng);
    };
    THistorico h(g, 30);
    std::vector<Foto> desfazer, refazer;
    for (int passo = 0; passo < 300; ++passo) {
        SCOPED_TRACE(passo);
        int acao = qualquer(0, 19);
        if (acao < 5) {
            auto &de = acao < 3 ? desfazer : refazer, &para = acao < 3 ? refazer : desfazer;
            Foto atual = Fotografa(g, false);
            bool ok = acao < 3 ? h.Desfaz() : h.Refaz();
            ASSERT_EQ(ok, !de.empty());
            if (ok) {
                ASSERT_EQ(Fotografa(g, false), de.back());
                de.pop_back();
                para.push_back(std::move(atual));
            }
            continue;
        }
        const int c = qualquer(1, g.ColCount() - 1), r = qualquer(1, g.RowCount() - 1);
        const Foto antes = Fotografa(g, false);
        h.Registra("operação");
        // A full history makes room for the new level before the operation runs.
        if (desfazer.size() == 30) desfazer.erase(desfazer.begin());
        switch (acao) {
        case 5:
            g.AceitaEdicao(c, r, std::to_string(qualquer(0, 99)));
            break;
        case 6:
            g.AceitaEdicao(c, g.RowCount() - 1, "1");
            break;
        case 7:
            g.DefinePorDigitacao(c, U'1');
            g.AceitaEdicao(c, r, "7");
            break;
        case 8:
            g.ColaBloco({c, r, c, r}, "1\t2\nx\ty\n");
            break;
        case 9:
            g.LimpaCelula(c, r);
            break;
        case 10:
            g.InsereAmostragem(r);
            break;
        case 11:
            g.ExcluiAmostragem(qualquer(1, 10));
            break;
        case 12:
            g.InsereVariavel(c);
            break;
        case 13:
            g.ExcluiVariavel(c);
            break;
        case 14:
            g.MoveLinha(r, qualquer(1, g.RowCount() - 1));
            break;
        case 15:
            g.MoveColuna(c, qualquer(1, g.ColCount() - 1));
            break;
        case 16:
            g.Ordena(qualquer(0, g.ColunasUsadas()), qualquer(0, 1));
            break;
        case 17:
            g.AlternaDesconsiderada(r);
            break;
        case 18:
            g.AlternaUsada(c);
            break;
        default:
            ParaComentario(c);
            break;
        }
        refazer.clear();
        if (Fotografa(g, false) != antes) desfazer.push_back(antes);
        ASSERT_EQ(h.PodeDesfazer(), !desfazer.empty());
        ASSERT_EQ(h.NiveisRefazer(), 0u);
    }
    while (h.Desfaz()) {
        ASSERT_FALSE(desfazer.empty());
        EXPECT_EQ(Fotografa(g, false), desfazer.back());
        desfazer.pop_back();
    }
    EXPECT_TRUE(desfazer.empty());
}

TEST_F(HistoricoTest, LevelsUndoAndRedoInOrderAndANewOperationClearsRedo) {
    THistorico h(g, 3);
    std::vector<Foto> fotos{Fotografa(g)};
    for (int i = 1; i <= 5; ++i) {
        h.Registra("edição " + std::to_string(i));
        g.AceitaEdicao(1, i, std::to_string(i));
        fotos.push_back(Fotografa(g));
    }
    // Three levels kept: the last undo reaches the state after the second edit.
    for (int i = 5; i >= 3; --i) {
        EXPECT_EQ(h.DescricaoDesfazer(), "edição " + std::to_string(i));
        ASSERT_TRUE(h.Desfaz());
        EXPECT_EQ(Fotografa(g), fotos[i - 1]);
    }
    EXPECT_FALSE(h.Desfaz());
    EXPECT_EQ(h.DescricaoDesfazer(), "");
    ASSERT_TRUE(h.Refaz());
    EXPECT_EQ(Fotografa(g), fotos[3]);
    EXPECT_EQ(h.DescricaoRefazer(), "edição 4");

    h.Registra("exclusão de amostragem");
    g.ExcluiAmostragem(1);
    EXPECT_FALSE(h.PodeRefazer());
    EXPECT_FALSE(h.Refaz());
    ASSERT_TRUE(h.Desfaz());
    EXPECT_EQ(Fotografa(g), fotos[3]);

    h.Limpa();
    EXPECT_FALSE(h.PodeDesfazer());
    EXPECT_FALSE(h.PodeRefazer());
}

TEST_F(HistoricoTest, RestoringPublishesEverythingAndMarksModified) {
    THistorico h(g);
    h.Registra("edição de célula");
    g.AceitaEdicao(1, 1, "1");
    g.DefineModificada(false); // saved
    std::vector<TMudanca> mudancas;
    g.AdicionaOuvinte([&](const TMudanca &m) { mudancas.push_back(m); });
    ASSERT_TRUE(h.Desfaz());
    ASSERT_EQ(mudancas.size(), 1u);
    EXPECT_EQ(mudancas[0].tipo, TMudanca::Tudo);
    EXPECT_TRUE(g.Modificada());
    ASSERT_TRUE(h.Refaz());
    EXPECT_EQ(mudancas.size(), 2u);
}

TEST_F(HistoricoTest, OperationsThatChangeNothingAreNotUndone) {
    THistorico h(g);
    h.Registra("edição de célula");
    g.AceitaEdicao(1, 1, "1");
    const Foto depois = Fotografa(g);
    h.Registra("limpeza de célula");
    g.LimpaCelula(9, 5); // already empty
    EXPECT_EQ(h.DescricaoDesfazer(), "edição de célula");
    h.Registra("exclusão de amostragem");
    g.Editavel = false;
    g.ExcluiAmostragem(1);          // refused
    EXPECT_FALSE(h.PodeDesfazer()); // nothing is undone while not editable
    EXPECT_FALSE(h.Desfaz());
    EXPECT_EQ(Fotografa(g), depois);
    g.Editavel = true;
    EXPECT_EQ(h.NiveisDesfazer(), 2u);
    EXPECT_EQ(h.DescricaoDesfazer(), "edição de célula");
    ASSERT_TRUE(h.Desfaz());
    EXPECT_EQ(g.Celula(1, 1), "93,0");
    EXPECT_FALSE(h.PodeDesfazer());
}

TEST_F(HistoricoTest, CapturedStatesAreNeverReachedByLaterChanges) {
    const Foto antes = Fotografa(g);
    TEstadoPlanilha e = g.Captura();
    // Every way of writing: cells, flags through the reference, the variable
    // through the pointer, rows and columns, subject values.
    g.AceitaEdicao(1, 1, "5");
    g.AmostragemCriada(2).Saneada = true;
    g.Variavel(2)->Nome = "Outro";
    g.InsereVariavel(1);
    g.MoveColuna(2, 6);
    g.Ordena(2, false);
    g.AcrescentaColunas(3);
    g.AceitaEdicao(g.ColCount() - 1, 4, "9");
    g.ValoresObjeto.clear();
    g.Restaura(e);
    EXPECT_EQ(Fotografa(g), antes);
    EXPECT_TRUE(g.MesmosDados(e));
}

TEST_F(HistoricoTest, LevelsShareTheRowsTheirOperationsDidNotChange) {
    for (int r = 9; r <= 40; ++r)
        g.AceitaEdicao(1, r, std::to_string(r));
    TEstadoPlanilha e = g.Captura();
    g.AceitaEdicao(2, 5, "Bom");
    // One row was copied; the other 41 are shared.
    EXPECT_GT(e.BytesExclusivos(g.Captura()), 0u);
    EXPECT_LT(e.BytesExclusivos(g.Captura()), 2000u);
    // Sorting moves rows without copying any.
    TEstadoPlanilha antesDeOrdenar = g.Captura();
    g.Ordena(1, false);
    EXPECT_FALSE(g.MesmosDados(antesDeOrdenar));
    EXPECT_EQ(antesDeOrdenar.BytesExclusivos(g.Captura()), 0u);
}

TEST_F(HistoricoTest, TheByteBudgetDropsTheOldestLevels) {
    for (int r = 1; r <= 400; ++r)
        g.AceitaEdicao(5, r, std::string(100, 'x'));
    THistorico h(g);
    for (int i = 0; i < 4; ++i) {
        h.Registra("inclusão de variável");
        g.InsereVariavel(1); // copies every row holding cells
    }
    // Each of the three older levels holds a copy of the 400 rows; the newest
    // counts only its own tables until the next operation.
    EXPECT_EQ(h.NiveisDesfazer(), 4u);
    const std::size_t total = h.BytesRetidos();
    EXPECT_GT(total, 3u * 400 * 100);
    h.DefineLimiteBytes(total / 2);
    EXPECT_EQ(h.NiveisDesfazer(), 2u);
    EXPECT_LE(h.BytesRetidos(), total / 2);
    h.DefineLimiteBytes(1);
    EXPECT_EQ(h.NiveisDesfazer(), 1u); // the last operation can always be undone
    ASSERT_TRUE(h.Desfaz());
    EXPECT_EQ(g.Celula(8, 1), std::string(100, 'x'));
}
