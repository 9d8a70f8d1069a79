// The report settings: the "Info" text, the report number format, every item's stored settings
// with their key encodings, a file written and read back, damaged files, named configurations.
#include "evaluation/ArquivoItens.h"
#include "config/ConfiguracaoRelatorio.h"
#include "config/FormatoNumero.h"
#include "common/Numeros.h"
#include "items/Catalogo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include <unistd.h>

using namespace zelto;
namespace fs = std::filesystem;

namespace {

std::string Bytes(const fs::path &p) {
    std::ifstream f(p, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

fs::path Pasta(const std::string &nome) {
    const fs::path p =
        fs::path(::testing::TempDir()) / ("relatorio-" + nome + "-" + std::to_string(::getpid()));
    fs::remove_all(p);
    fs::create_directories(p);
    return p;
}

TEST(ConfiguracaoRelatorio, DefaultInfoGivesTheMargins) {
    TConfiguracaoRelatorio c;
    c.MargemDireita = 1;
    ASSERT_TRUE(c.DecodificaInfo(kInfoPadrao));
    EXPECT_EQ(c.MargemDireita, 17);
    EXPECT_EQ(c.MargemEsquerda, 25);
    EXPECT_EQ(c.MargemSuperior, 7);
    EXPECT_EQ(c.MargemInferior, 18);
    EXPECT_EQ(c.Copias, 1);
    EXPECT_EQ(c.Numero, TFormatoNumero{});
    EXPECT_TRUE(c.VariaveisNaoUsadas && !c.AmostragensNaoUsadas && c.IncluirData && c.IncluirNomeArquivo);
    EXPECT_EQ(TConfiguracaoRelatorio{}.CodificaInfo(), kInfoPadrao);
    // Short, long or non-hexadecimal texts change nothing.
    for (const char *ruim : {"0100", "010011001900070012000700030001000101010000FF", "0100110019000700120007000300010001010100ZZ"})
        EXPECT_FALSE(c.DecodificaInfo(ruim)) << ruim;
    EXPECT_EQ(c.MargemDireita, 17);
}

TEST(ConfiguracaoRelatorio, NumberFormat) {
    const TFormatoNumero padrao;
    EXPECT_EQ(padrao.Formata(1234.5678L), "1.234,568");
    EXPECT_EQ(padrao.Formata(123456.789L), "123.456,8"); // 7 digits in all
    EXPECT_EQ(padrao.Formata(-0.5L), "-0,500");
    EXPECT_EQ(padrao.Formata(0), "0,000");
    EXPECT_EQ(padrao.Formata(12345678.9L), "1,235###7%");   // more integer digits than allowed
    EXPECT_EQ(padrao.Formata(0.0000225L), "2,250###-5%");   // would print as zero
    EXPECT_EQ(padrao.Formata(Infinito).find("###4932%") != std::string::npos, true);
    TFormatoNumero f;
    f.CompletarZeros = false;
    EXPECT_EQ(f.Formata(2.5L), "2,5");
    EXPECT_EQ(f.Formata(3), "3");
    f.NaoLimitarDecimais = true;
    EXPECT_EQ(f.Formata(123456.789L), "123.456,789");
    f.NaoConverterCientifica = true;
    EXPECT_EQ(f.Formata(12345678.9L), "12.345.678,9");
    EXPECT_EQ(f.Formata(0.0000225L), "0");
    // Past the digits an extended real holds: powers of ten even so, never hundreds of digits.
    EXPECT_EQ(f.Formata(123456789012345678.0L), "123.456.789.012.345.678");
    EXPECT_EQ(f.Formata(1.5e300L), "1,5###300%");
}

// Values out of the bounds the dialog allows take their defaults and count as damage: margins
// that leave no room for text on the page, 65535 digits, a header of 20,000 characters, a
// footer of 11 lines, a font of 32767 points; margins stored in range but too wide for a narrower paper fall back when
// the page is laid out.
TEST(ConfiguracaoRelatorio, ValuesOutOfBoundsTakeTheirDefaults) {
    TArquivoIni ini;
    ini.CarregaTexto("[Geral]\r\nInfo=01009600960007001200FFFFFFFF01010101010000\r\nCab0=" +
                     std::string(20000, 'x') + "\r\nFCabNm=Arial\r\nFCabIn=FF7F0000000000000000\r\n" +
                     "Rod0=1\r\nRod1=2\r\nRod2=3\r\nRod3=4\r\nRod4=5\r\nRod5=6\r\nRod6=7\r\n" +
                     "Rod7=8\r\nRod8=9\r\nRod9=10\r\nRod:=11\r\n");
    TConfiguracaoRelatorio c;
    EXPECT_FALSE(c.Le(ini));
    const TConfiguracaoRelatorio padrao;
    EXPECT_TRUE(c.AmostragensNaoUsadas); // the rest of "Info" was read
    EXPECT_EQ(c.MargemEsquerda, padrao.MargemEsquerda);
    EXPECT_EQ(c.MargemDireita, padrao.MargemDireita);
    EXPECT_EQ(c.Numero, padrao.Numero);
    EXPECT_TRUE(c.Cabecalho.Texto.isEmpty());
    EXPECT_EQ(c.Cabecalho.Fonte.Tamanho, 10);
    EXPECT_TRUE(c.Rodape.Texto.isEmpty()); // 11 lines

    TConfiguracaoRelatorio estreito;
    estreito.MargemEsquerda = estreito.MargemDireita = 90;
    EXPECT_FALSE(estreito.LimitaValores());
    EXPECT_EQ(estreito.MargemEsquerda, padrao.MargemEsquerda);
    estreito.MargemEsquerda = estreito.MargemDireita = 80;
    estreito.LarguraPagina = 148;
    const auto m = estreito.MargensDaPagina();
    EXPECT_GE(estreito.LarguraPagina - m.Esquerda - m.Direita, kTextoMinimoMm);
}

// Every kind of item reads the settings it wrote, and a file the program wrote is written again
// byte for byte: the graph keys' shared bytes ("Dados" over "Cores") survive the round trip.
TEST(ConfiguracaoRelatorio, WrittenFileReadsBackIdentical) {
    const fs::path pasta = Pasta("ida-volta");
    const fs::path arquivo = pasta / kArquivoRelatorio;
    TConfiguracaoRelatorio c;
    c.MargemEsquerda = 30;
    c.Numero.Decimais = 5;
    c.AmostragensNaoUsadas = true;
    c.Cabecalho.Texto = QStringLiteral("Laudo nº 12\r\nPágina (página)");
    c.Cabecalho.Alinhamento = 2;
    c.Cabecalho.Fonte.Negrito = true;
    c.Rodape.Texto = QStringLiteral("Rodapé");
    c.ResumoTecnico = {"Resumo técnico", "segunda linha"};
    TListaItens itens = CriaCatalogo();
    itens[0]->Incluido = false;
    itens[0]->FonteTitulo.Tamanho = 14;
    itens[0]->FonteComentario.Italico = true;
    itens[1]->Espacamento = 150;
    auto *tab = dynamic_cast<TItemAvaliacaoTab *>(itens[17].get());
    ASSERT_NE(tab, nullptr);
    tab->Formatos[rtCorpo].Fundo = 0xC0C0C0;
    tab->Formatos[rtPrimeiraLinha].Lados[0] = TLadoCelula{2, 1, 3, 0x0000FF};
    tab->Formatos[rtPrimeiraLinha].Lados[5] = tab->Formatos[rtPrimeiraLinha].Lados[0];
    auto *graf = dynamic_cast<TItemAvaliacaoGraf *>(itens[55].get());
    ASSERT_NE(graf, nullptr);
    graf->Cores[5] = 0x12345678;
    graf->LarguraCaneta = 3;
    graf->AlturaGrafico = 80;
    graf->Eixos[1].Divisoes = 7;
    graf->OpcoesMGr[2] = 1;
    ASSERT_TRUE(GravaConfiguracaoRelatorio(arquivo, c, itens));
    const std::string primeira = Bytes(arquivo);

    TConfiguracaoRelatorio lida;
    TListaItens itensLidos = CriaCatalogo();
    ASSERT_TRUE(LeConfiguracaoRelatorio(arquivo, lida, itensLidos));
    EXPECT_EQ(lida, c);
    EXPECT_FALSE(itensLidos[0]->Incluido);
    EXPECT_EQ(itensLidos[0]->FonteTitulo.Tamanho, 14);
    EXPECT_TRUE(itensLidos[0]->FonteComentario.Italico);
    EXPECT_EQ(itensLidos[1]->Espacamento, 150);
    EXPECT_EQ(dynamic_cast<TItemAvaliacaoTab &>(*itensLidos[17]).Formatos, tab->Formatos);
    const auto &g = dynamic_cast<TItemAvaliacaoGraf &>(*itensLidos[55]);
    EXPECT_EQ(g.Cores, graf->Cores);
    EXPECT_EQ(g.LarguraCaneta, 3);
    EXPECT_EQ(g.AlturaGrafico, 80);
    EXPECT_EQ(g.Eixos, graf->Eixos);
    EXPECT_EQ(g.OpcoesMGr, graf->OpcoesMGr);

    ASSERT_TRUE(GravaConfiguracaoRelatorio(arquivo, lida, itensLidos));
    EXPECT_EQ(Bytes(arquivo), primeira);
}

// A missing section: the item is included, Arial 10, spacing 100, comments on; the graph keys
// take the file's defaults, whose colours share bytes as the program writes them.
TEST(ConfiguracaoRelatorio, MissingFileGivesDefaults) {
    TConfiguracaoRelatorio c;
    TListaItens itens = CriaCatalogo();
    ASSERT_TRUE(LeConfiguracaoRelatorio(Pasta("nenhum") / kArquivoRelatorio, c, itens));
    EXPECT_EQ(c, TConfiguracaoRelatorio{});
    for (const auto &i : itens) {
        EXPECT_TRUE(i->Incluido);
        EXPECT_TRUE(i->Comentarios);
        EXPECT_EQ(i->Espacamento, 100);
        EXPECT_EQ(i->FonteCorpo, TFonte{});
    }
    const auto &g = dynamic_cast<TItemAvaliacaoGraf &>(*itens[5]);
    EXPECT_EQ(g.Cores[0], 0x00FFFFFFu);
    EXPECT_EQ(g.Cores[5], 0xD0D0D0D0u);
    EXPECT_EQ(g.LarguraCaneta, 1);
    EXPECT_EQ(g.AlturaGrafico, 100);
    EXPECT_EQ(g.Eixos[0].Divisoes, 10);
    const auto &t = dynamic_cast<TItemAvaliacaoTab &>(*itens[1]);
    EXPECT_EQ(t.Formatos[rtCorpo].Lados[4], t.Formatos[rtCorpo].Lados[2]);
    EXPECT_EQ(t.Formatos[rtCorpo].Fundo, CorBranca);
}

// A damaged file never stops the report: what cannot be read takes its default, and the file is
// copied aside before it is written over.
TEST(ConfiguracaoRelatorio, DamagedFileFallsBackAndIsKept) {
    const fs::path pasta = Pasta("danificado");
    const fs::path arquivo = pasta / kArquivoRelatorio;
    struct Caso {
        const char *nome;
        std::string bytes;
    };
    const Caso casos[] = {
        {"info", "[Geral]\r\nInfo=0100XX\r\n[Amostra]\r\nInT=00640001\r\n"},
        {"item", "[Geral]\r\nInfo=010011001E00070012000700030001000101010000\r\n[Amostra]\r\nInT=0064\r\n"},
        {"binario", std::string("\x00\x01\x02garbage\xff", 12)},
    };
    for (const Caso &caso : casos) {
        std::ofstream(arquivo, std::ios::binary) << caso.bytes;
        TConfiguracaoRelatorio c;
        TListaItens itens = CriaCatalogo();
        EXPECT_FALSE(LeConfiguracaoRelatorio(arquivo, c, itens)) << caso.nome;
        EXPECT_TRUE(ArquivoRelatorioDanificado(arquivo, itens)) << caso.nome;
        if (std::string(caso.nome) == "item") {
            EXPECT_EQ(c.MargemEsquerda, 30) << "the sound key is read";
            EXPECT_TRUE(itens[1]->Incluido) << "the damaged key takes its default";
        } else {
            EXPECT_EQ(c.MargemEsquerda, 25) << caso.nome;
        }
        ASSERT_TRUE(GravaConfiguracaoRelatorio(arquivo, c, itens)) << caso.nome;
        fs::path copia = arquivo;
        copia += ".bak";
        EXPECT_EQ(Bytes(copia), caso.bytes) << caso.nome;
        EXPECT_FALSE(ArquivoRelatorioDanificado(arquivo, itens)) << caso.nome;
    }
}

TEST(ConfiguracaoRelatorio, NamedConfigurations) {
    const fs::path pasta = Pasta("nomeadas");
    const fs::path trabalho = pasta / kArquivoRelatorio, nomeada = pasta / "LAUDO.CNF";
    TConfiguracaoRelatorio c;
    c.Numero.Digitos = 9;
    TListaItens itens = CriaCatalogo();
    ASSERT_TRUE(GravaConfiguracaoNomeada(trabalho, nomeada, c, itens));
    EXPECT_EQ(Bytes(nomeada), Bytes(trabalho));
    // Saving under the working file's own name copies nothing onto itself.
    ASSERT_TRUE(GravaConfiguracaoNomeada(trabalho, trabalho, c, itens));
    EXPECT_EQ(Bytes(nomeada), Bytes(trabalho));

    c.Numero.Digitos = 4;
    ASSERT_TRUE(GravaConfiguracaoRelatorio(trabalho, c, itens));
    TConfiguracaoRelatorio lida;
    ASSERT_TRUE(LeConfiguracaoNomeada(nomeada, trabalho, lida, itens));
    EXPECT_EQ(lida.Numero.Digitos, 9);
    EXPECT_EQ(Bytes(nomeada), Bytes(trabalho));
}

} // namespace

namespace {

// Section → key → value of a settings file's text.
std::map<std::string, std::map<std::string, std::string>> Chaves(const std::string &texto) {
    std::map<std::string, std::map<std::string, std::string>> r;
    std::istringstream in(texto);
    std::string linha, secao;
    while (std::getline(in, linha)) {
        if (!linha.empty() && linha.back() == '\r') linha.pop_back();
        if (linha.size() > 1 && linha.front() == '[' && linha.back() == ']')
            secao = linha.substr(1, linha.size() - 2);
        else if (const auto igual = linha.find('='); igual != std::string::npos)
            r[secao][linha.substr(0, igual)] = linha.substr(igual + 1);
    }
    return r;
}

} // namespace

// A settings file written before the assumption and grading items existed (by the program as it
// was then; it leaves out items 21 and 52 and changes a font and the decimals) reads as then,
// undamaged, with the new items included and the declarations not made; written back, it keeps
// every key it had.
TEST(ConfiguracaoRelatorio, FileWrittenBeforeTheGradingItemsReadsUnchanged) {
    const fs::path anterior = fs::path(ZELTO_DADOS_TESTE) / "report" / "configuracao-anterior.CNF";
    TListaItens itens = CriaCatalogo();
    TConfiguracaoRelatorio c;
    ASSERT_TRUE(LeConfiguracaoRelatorio(anterior, c, itens));
    EXPECT_EQ(c.Numero.Decimais, 4);
    EXPECT_FALSE(c.Caracterizacao || c.Identificacao);
    for (const auto &i : itens) {
        const int n = i->Descricao().Numero;
        EXPECT_EQ(i->Incluido, n != 21 && n != 52) << n;
        if (n == 45) {
            EXPECT_EQ(i->FonteCorpo.Tamanho, 12);
            EXPECT_FALSE(i->Comentarios);
        }
    }

    const fs::path p = Pasta("anterior") / "RELATORI.CN%";
    fs::copy_file(anterior, p);
    ASSERT_TRUE(GravaConfiguracaoRelatorio(p, c, itens));
    const auto antes = Chaves(Bytes(anterior)), depois = Chaves(Bytes(p));
    for (const auto &[secao, chaves] : antes)
        for (const auto &[chave, valor] : chaves) {
            ASSERT_TRUE(depois.count(secao) && depois.at(secao).count(chave)) << secao << " " << chave;
            EXPECT_EQ(depois.at(secao).at(chave), valor) << secao << " " << chave;
        }
    EXPECT_EQ(depois.size(), antes.size() + 2);
    EXPECT_TRUE(depois.count("Enquadramento na NBR 14653-2"));

    // The declarations: written as the grade, read back; another text is damage.
    c.Caracterizacao = 3;
    c.Identificacao = 1;
    ASSERT_TRUE(GravaConfiguracaoRelatorio(p, c, itens));
    TConfiguracaoRelatorio lida;
    TListaItens lidos = CriaCatalogo();
    ASSERT_TRUE(LeConfiguracaoRelatorio(p, lida, lidos));
    EXPECT_TRUE(lida == c);
    EXPECT_EQ(Chaves(Bytes(p))["Geral"]["EnqCaracterizacao"], "III");
    TArquivoIni ini;
    ini.CarregaTexto("[Geral]\r\nEnqIdentificacao=IV\r\n");
    EXPECT_FALSE(lida.Le(ini));
    EXPECT_FALSE(lida.Identificacao);
}
