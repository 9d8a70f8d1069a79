#include "significance/Significancias.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <unistd.h>

using namespace zelto;
namespace fs = std::filesystem;

namespace {

std::string Le(const fs::path &p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void Escreve(const fs::path &p, const std::string &dados) {
    std::ofstream(p, std::ios::binary | std::ios::trunc) << dados;
}

// Every key with a value other than its default, in the order the record writes them.
const std::string kTodasAsChaves =
    "[Geral]\r\nDcr=NBR  Grau III\r\nstcc=10\r\nsfm=1\r\nstru=10\r\nstrb=20\r\nsseq=5\r\n"
    "sfo=12\r\nsk=15\r\nsdw=2\r\nctr=90\r\nctve=95\r\ncritSan=3\r\nparmSan=10\r\nmna=3\r\n"
    "sna=0\r\nntcc=1\r\nnfm=1\r\nntru=1\r\nntrb=1\r\nnseq=1\r\nnk=1\r\nndw=1\r\nnfo=1\r\n"
    "nctr=1\r\nncve=1\r\nnsan=1\r\nnnam=1\r\ncals=0,4\r\nnamp=1\r\nnasl=1\r\nnpef=1\r\n"
    "niaj=1\r\nciai=0,25\r\ncias=1,75\r\nnvia=1\r\nevaic=0,6\r\nevasc=1,4\r\ncena=1\r\n"
    "cext=1\r\nneav=2\r\nceav=1\r\ntneav=1\r\ntnpedq=0\r\nneva=0,5\r\nnevainf=0,3\r\n"
    "nela=1\r\nnelavs=0,2\r\nnelavi=0,1\r\nceba=1\r\nneelv=0,15\r\nneel=1\r\n";

class Sig : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
        pasta = fs::temp_directory_path() /
                ("zelto_sig_" + std::string(info->name()) + "_" + std::to_string(::getpid()));
        fs::remove_all(pasta);
        fs::create_directories(pasta);
        trabalho = ArquivoSignificancias(true, pasta);
    }
    void TearDown() override { fs::remove_all(pasta); }

    fs::path pasta, trabalho;
};

} // namespace

TEST_F(Sig, MissingWorkingFileGivesDefaultsAndIsCreated) {
    EXPECT_EQ(trabalho.filename(), "SIGNIINF.NR~");
    EXPECT_EQ(ArquivoSignificancias(false, pasta).filename(), "SIGNIDSC.NR~");
    TSignificancias s;
    s.TesteModelo = 0.5;
    ASSERT_TRUE(CarregaSignificancias(trabalho, trabalho, s));
    EXPECT_EQ(s, TSignificancias{});
    std::string texto = Le(trabalho);
    for (const char *linha :
         {"[Geral]\r\nDcr=Configura\xE7\xE3o Padr\xE3o\r\nstcc=20\r\nsfm=5\r\n", "sfo=5\r\n",
          "parmSan=200\r\nmna=1\r\nsna=5\r\n", "ciai=0,5\r\ncias=1,5\r\n", "evaic=0,5\r\nevasc=2\r\n",
          "cena=2\r\n", "tnpedq=1\r\n"})
        EXPECT_NE(texto.find(linha), std::string::npos) << linha;
}

TEST_F(Sig, EveryKeyIsReadAndWrittenInItsForm) {
    fs::path origem = pasta / "ORIGEM.NRM";
    Escreve(origem, kTodasAsChaves);
    TSignificancias s;
    ASSERT_TRUE(CarregaSignificancias(origem, trabalho, s));
    EXPECT_EQ(s.Descricao, "NBR  Grau III");
    EXPECT_DOUBLE_EQ(s.TesteCook, 0.012); // per mille
    EXPECT_DOUBLE_EQ(s.KolmogorovSmirnov, 0.15);
    EXPECT_DOUBLE_EQ(s.DurbinWatson, 0.025);      // 2.5 % does not fit a whole percent
    EXPECT_DOUBLE_EQ(s.ParametroSaneamento, 0.1); // Arley at 0,1 %
    EXPECT_DOUBLE_EQ(s.IntervaloFatorSuperior, 1.75);
    EXPECT_TRUE(s.Normatizada[mnAmostragens]);
    EXPECT_FALSE(s.SemExtrapolarQualitativas);

    // Written to a new file, the record gives the same bytes back, and reads back equal.
    fs::path copia = pasta / "COPIA.NRM";
    ASSERT_TRUE(GravaSignificancias(copia, s));
    EXPECT_EQ(Le(copia), kTodasAsChaves);
    TSignificancias relido;
    CarregaSignificancias(copia, copia, relido);
    EXPECT_EQ(relido, s);

    // Unreadable keys take their defaults; a real with "." is read; rounding on writing.
    Escreve(trabalho, "[Geral]\r\nctr=abc\r\nciai=0.25\r\ncias=x\r\n");
    CarregaSignificancias(trabalho, trabalho, s);
    EXPECT_DOUBLE_EQ(s.ConfiancaRegressores, 0.80);
    EXPECT_DOUBLE_EQ(s.IntervaloFatorInferior, 0.25);
    EXPECT_DOUBLE_EQ(s.IntervaloFatorSuperior, 1.5);
    s.TesteCook = 0.0074;
    s.TesteModelo = 0.0549;
    GravaSignificancias(trabalho, s);
    EXPECT_NE(Le(trabalho).find("sfm=5\r\n"), std::string::npos);
    EXPECT_NE(Le(trabalho).find("sfo=7\r\n"), std::string::npos);

    // The levels the dialog offers.
    EXPECT_DOUBLE_EQ(NivelKolmogorovExibido(0.15), 0.15);
    EXPECT_DOUBLE_EQ(NivelKolmogorovExibido(0.12), 0.20);
    EXPECT_EQ(IndiceNivel(kNiveisDurbinWatson, 3, 0.025), 1);
}

TEST_F(Sig, LoadingANamedConfigurationReplacesTheWorkingFile) {
    fs::path nomeada = pasta / "ABNT.NRM";
    Escreve(nomeada, kTodasAsChaves);
    GravaSignificancias(trabalho, TSignificancias{});
    TSignificancias emVigor;
    ASSERT_TRUE(CarregaSignificancias(nomeada, trabalho, emVigor));
    EXPECT_EQ(emVigor.Descricao, "NBR  Grau III");
    EXPECT_EQ(Le(trabalho), kTodasAsChaves);

    // A configuration that is gone leaves the working file as it was.
    TSignificancias s;
    EXPECT_FALSE(CarregaSignificancias(pasta / "SUMIU.NRM", trabalho, s));
    EXPECT_EQ(Le(trabalho), kTodasAsChaves);
    EXPECT_EQ(s.Descricao, "NBR  Grau III");
}

TEST_F(Sig, NamedConfigurationsAreListedByDescription) {
    Escreve(pasta / "b.NRM", kTodasAsChaves);
    Escreve(pasta / "a.nrm", "[Geral]\r\nstcc=10\r\n");
    Escreve(pasta / "c.txt", "[Geral]\r\nDcr=Outro\r\n");
    fs::create_directories(pasta / "d.NRM");
    auto lista = ListaConfiguracoes(pasta);
    ASSERT_EQ(lista.size(), 2u);
    EXPECT_EQ(lista[0].Descricao, "NENHUM");
    EXPECT_EQ(lista[0].Arquivo.filename(), "a.nrm");
    EXPECT_EQ(lista[1].Descricao, "NBR  Grau III");
}

// The shipped configurations of the valuation standard's grades: their levels, their marks, and
// their copy into a user's folder that keeps the user's own file of the same name.
TEST_F(Sig, ShippedGradeConfigurationsAreInstalledOnce) {
    const fs::path share = fs::path(ZELTO_TEST_DATA) / ".." / ".." / "share";
    struct TGrau {
        const char *descricao;
        double bicaudal, modelo, amplitude;
        int multiplo;
    };
    const TGrau graus[] = {{"NBR 14653-2 Grau I", 0.30, 0.05, 0.50, 3},
                           {"NBR 14653-2 Grau II", 0.20, 0.02, 0.40, 4},
                           {"NBR 14653-2 Grau III", 0.10, 0.01, 0.30, 6}};
    const auto lista = ListaConfiguracoes(share);
    ASSERT_EQ(lista.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(lista[i].Descricao, graus[i].descricao);
        TSignificancias s;
        s.Le(TArquivoIni(lista[i].Arquivo));
        EXPECT_DOUBLE_EQ(s.TesteRegressoresBicaudal, graus[i].bicaudal) << i;
        EXPECT_DOUBLE_EQ(s.TesteModelo, graus[i].modelo) << i;
        EXPECT_DOUBLE_EQ(s.AmplitudeEstimativa, graus[i].amplitude) << i;
        EXPECT_DOUBLE_EQ(s.ConfiancaEstimativa, 0.80) << i;
        // At least multiplo·(k + 1) samples.
        EXPECT_EQ(s.MultiplicadorAmostras, graus[i].multiplo);
        EXPECT_EQ(s.AdendoAmostras, graus[i].multiplo);
        EXPECT_TRUE(s.Normatizada[mnBicaudal] && s.Normatizada[mnModelo] &&
                    s.Normatizada[mnConfiancaEstimativa] && s.Normatizada[mnAmostragens] &&
                    s.AmplitudeNormatizada)
            << i;
    }

    const fs::path usuario = pasta / "usuario";
    EXPECT_EQ(InstalaConfiguracoesPadrao(share, usuario), 3);
    EXPECT_EQ(ListaConfiguracoes(usuario).size(), 3u);
    const fs::path meu = usuario / lista[2].Arquivo.filename();
    Escreve(meu, "[Geral]\r\nDcr=Minha\r\n");
    EXPECT_EQ(InstalaConfiguracoesPadrao(share, usuario), 0);
    EXPECT_EQ(Le(meu), "[Geral]\r\nDcr=Minha\r\n");
}

TEST_F(Sig, SavingAConfigurationAsksBeforeOverwriting) {
    Escreve(trabalho, kTodasAsChaves);
    std::vector<std::string> perguntas;
    Resposta resposta = Resposta::Nao;
    Pergunta pergunta = [&](const std::string &t) {
        perguntas.push_back(t);
        return resposta;
    };
    EXPECT_EQ(GravaConfiguracao(trabalho, pasta, "minha.cfg", pergunta), Gravacao::Gravada);
    EXPECT_EQ(Le(pasta / "minha.NRM"), kTodasAsChaves);
    EXPECT_TRUE(perguntas.empty());

    const std::string antiga = "[Geral]\r\nDcr=antiga\r\n";
    Escreve(pasta / "Norma.NRM", antiga);
    for (Resposta r : {Resposta::Nao, Resposta::Cancelar}) {
        resposta = r;
        EXPECT_EQ(GravaConfiguracao(trabalho, pasta, "Norma", pergunta), Gravacao::Abandonada);
    }
    EXPECT_EQ(GravaConfiguracao(trabalho, pasta, "Norma", Pergunta{}), Gravacao::Abandonada);
    EXPECT_EQ(Le(pasta / "Norma.NRM"), antiga);
    ASSERT_EQ(perguntas.size(), 2u);
    EXPECT_EQ(perguntas[0], "O arquivo \r\nNORMA.NRM já existe.\r\n\r\nDeseja gravar os dados "
                            "sobre este arquivo?");
    resposta = Resposta::Sim;
    EXPECT_EQ(GravaConfiguracao(trabalho, pasta, "Norma", pergunta), Gravacao::Gravada);
    EXPECT_EQ(Le(pasta / "Norma.NRM"), kTodasAsChaves);

    // Empty names and the field's pattern stop; a path keeps only its name.
    EXPECT_EQ(GravaConfiguracao(trabalho, pasta, "  ", pergunta), Gravacao::Abandonada);
    EXPECT_EQ(GravaConfiguracao(trabalho, pasta, "*.NRM", pergunta), Gravacao::Abandonada);
    fs::create_directories(pasta / "sub");
    EXPECT_EQ(GravaConfiguracao(trabalho, pasta / "sub", "../fora", pergunta), Gravacao::Gravada);
    EXPECT_TRUE(fs::exists(pasta / "sub" / "fora.NRM"));
    EXPECT_EQ(GravaConfiguracao(pasta / "nada", pasta, "x", pergunta), Gravacao::Falhou);
    EXPECT_FALSE(fs::exists(pasta / "x.NRM"));
}

TEST(Significancias, ValidationFindsTheFirstZeroField) {
    struct Caso {
        void (*altera)(TSignificancias &);
        CampoSignificancia campo;
        PaginaSignificancias pagina;
    };
    const Caso casos[] = {
        {[](TSignificancias &) {}, sgNenhum, pgSignificancias},
        {[](TSignificancias &s) { s.TesteCorrelacao = 0; }, sgCorrelacao, pgSignificancias},
        {[](TSignificancias &s) { s.TesteModelo = s.TesteCook = 0; }, sgModelo, pgSignificancias},
        {[](TSignificancias &s) { s.TesteRegressoresBicaudal = 0; }, sgBicaudal, pgSignificancias},
        {[](TSignificancias &s) { s.TesteSequencias = 0; }, sgSequencias, pgContinuacao},
        // A level too small for its key would be stored as 0.
        {[](TSignificancias &s) { s.TesteCook = 0.0004; }, sgCook, pgContinuacao},
        {[](TSignificancias &s) { s.ParametroSaneamento = 0; }, sgParametroDesvioPadrao,
         pgCriterios},
        {[](TSignificancias &s) { s.Saneamento = csMedia, s.ParametroSaneamento = 0; },
         sgParametroMedia, pgCriterios},
        {[](TSignificancias &s) { s.Saneamento = csChauvenet, s.ParametroSaneamento = 0; },
         sgNenhum, pgSignificancias},
        {[](TSignificancias &s) { s.ConfiancaRegressores = s.ConfiancaEstimativa = 0; },
         sgConfiancaRegressores, pgConfiancas},
        {[](TSignificancias &s) { s.ConfiancaEstimativa = 0; }, sgConfiancaEstimativa,
         pgConfiancas},
        {[](TSignificancias &s) { s.KolmogorovSmirnov = s.AmplitudeEstimativa = 0; }, sgNenhum,
         pgSignificancias},
    };
    for (const Caso &c : casos) {
        TSignificancias s;
        c.altera(s);
        std::string perguntado;
        auto r = ValidaSignificancias(s, [&](const std::string &t) {
            perguntado = t;
            return Resposta::Sim;
        });
        EXPECT_EQ(r.campo, c.campo);
        if (c.campo == sgNenhum) {
            EXPECT_EQ(r.resultado, Validacao::Valida);
            EXPECT_TRUE(perguntado.empty());
            continue;
        }
        EXPECT_EQ(r.resultado, Validacao::Corrigir);
        EXPECT_EQ(r.pagina, c.pagina);
        EXPECT_EQ(perguntado, "Os valores de significâncias ou confianças não podem ser "
                              "nulos.\r\nDeseja corrigir ?");
        r = ValidaSignificancias(s, [](const std::string &) { return Resposta::Nao; });
        EXPECT_EQ(r.resultado, Validacao::Cancelada);
    }
}
