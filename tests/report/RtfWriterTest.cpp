// The RTF writer: the fixed sequence against a hand-checked golden file, the formatting words
// that depend on the tracked state, the body appended at close, and the output's safety
// (cancel, uncreatable file, symbolic link).
#include "SequenciaPadrao.h"

#include "chart/Chart.h"
#include "writer/RtfWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace zelto;

namespace {

QByteArray Le(const QString &arquivo) {
    QFile f(arquivo);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Grava(const QString &arquivo, const QByteArray &dados) {
    QFile f(arquivo);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(dados);
}

const QDateTime RelogioFixo(QDate(2024, 3, 5), QTime(9, 7, 3));

// Writes a document with the given operations and returns the whole file.
QByteArray Documento(const std::function<void(tRTF_Writer &)> &operacoes) {
    QTemporaryDir pasta;
    const QString arquivo = pasta.filePath(QStringLiteral("doc.rtf"));
    tRTF_Writer w(arquivo);
    w.DataHora = RelogioFixo;
    operacoes(w);
    EXPECT_TRUE(w.CloseDocument()) << w.Erro().toStdString();
    return Le(arquivo);
}

// The body of a document: what follows the information group, without the closing line
// break, brace and end byte.
QByteArray CorpoDe(const QByteArray &doc) {
    const qsizetype fimCabecalho = doc.indexOf("}}\r", doc.indexOf("{\\info")) + 3;
    return doc.mid(fimCabecalho, doc.size() - fimCabecalho - 4);
}

} // namespace

TEST(RtfWriter, SequenciaPadraoIgualAoArquivoDeReferencia) {
    QTemporaryDir pasta;
    const QString arquivo = pasta.filePath(QStringLiteral("sequencia.rtf"));
    {
        tRTF_Writer w(arquivo);
        w.DataHora = RelogioFixo;
        teste::EscreveSequenciaPadrao(w);
        ASSERT_TRUE(w.CloseDocument()) << w.Erro().toStdString();
    }
    const QByteArray obtido = Le(arquivo);
    const QByteArray esperado = Le(QStringLiteral(ZELTO_DADOS_TESTE "/report/sequencia.rtf"));
    if (obtido != esperado) {
        const QString copia = QDir::temp().filePath(QStringLiteral("sequencia-obtida.rtf"));
        Grava(copia, obtido);
        FAIL() << "differs from the golden file; written to " << copia.toStdString();
    }
    EXPECT_EQ(QDir(pasta.path()).entryList(QDir::Files), QStringList{"sequencia.rtf"});
}

TEST(RtfWriter, PalavrasConformeOEstado) {
    TFonte arial;
    TFonte vermelha = arial;
    vermelha.Cor = Cor(200, 0, 0);
    const double tab[1] = {40};
    const std::uint8_t esquerda[1] = {0};
    const struct {
        const char *caso;
        std::function<void(tRTF_Writer &)> operacoes;
        QByteArray corpo;
    } casos[] = {
        {"bold twice writes once",
         [](tRTF_Writer &w) {
             w.BoldOn();
             w.BoldOn();
             w.BoldOff();
             w.BoldOff();
         },
         "\\b \\b0 "},
        {"same superscript and alignment twice",
         [](tRTF_Writer &w) {
             w.SuperscriptOn();
             w.SuperscriptOn();
             w.SuperscriptOff();
             w.SuperscriptOff();
             w.AlignJustify();
             w.AlignJustify();
             w.AlignLeft();
         },
         "\\super \\nosupersub \\ql \\qj \\ql "},
        {"escapes", [](tRTF_Writer &w) { w.WriteText(QStringLiteral("{ç}\\\tÂ€\u221E\r\nx")); },
         "\\{\\'e7\\}\\\\ \\tab \\'c2\\'80\\u8734?\\line x"},
        {"the first font is always written, the same font again is not, the size always",
         [arial](tRTF_Writer &w) {
             w.SetFont(arial);
             w.SetFont(arial);
             w.SetFontSize(10);
             w.SetFontSize(10);
         },
         "\\f0 \\fs20 \\fs20 \\fs20 "},
        {"a colour used twice is one entry",
         [vermelha](tRTF_Writer &w) {
             w.SetTextColor(vermelha.Cor);
             w.SetTextColor(CorPreta);
             w.SetTextColor(vermelha.Cor);
             w.SetBackColor(vermelha.Cor);
         },
         "\\cf2 \\cf1 \\cf2 \\cb2 "},
        {"a header group gives the state back at its end",
         [arial](tRTF_Writer &w) {
             w.SetFont(arial);
             w.BeginHeader();
             w.AlignLeft();
             w.SetFont(arial);
             w.BoldOn();
             w.EndHeader();
             w.BoldOn();
             w.AlignLeft();
         },
         "\\f0 \\fs20 {\\header\\ql \\f0 \\fs20 \\b }\r\n\\b "},
        {"a digit or a blank after a tab stop is not taken into its number",
         [&](tRTF_Writer &w) {
             w.SetTabs(tab, 0, esquerda);
             w.WriteText(QStringLiteral("12"));
             w.SetTabs(tab, 0, esquerda);
             w.WriteText(QStringLiteral(" a"));
             w.SetTabs(tab, 0, esquerda);
             w.WriteText(QStringLiteral("b"));
         },
         "\\tx2268 12\\tx2268  a\\tx2268b"},
        {"paragraph format and the default tab stops",
         [](tRTF_Writer &w) {
             w.SetParagraph(apJustificado, 150, 10, -5, 0);
             w.ApplyTabs();
             w.WriteText(QStringLiteral("1"));
         },
         "\\ql \\qj \\li567\\ri0\\fi-283\\slmult2"
         "\\tx227\\tx340\\tx454\\tx567\\tx680\\tx794\\tx907\\tx1020 1"},
        {"a last row with one cell of three gets the two missing cells",
         [](tRTF_Writer &w) {
             w.BeginTable(3, 1, 3000, atEsquerda);
             w.BeginRow();
             w.WriteText(QStringLiteral("a"));
             w.NextCell();
             w.EndTable();
         },
         "\\trowd\\trgaph108\\trpaddl108\\trpaddr108\\trpaddfl3\\trpaddfr3\\trql\\clvertalt\r\n"
         "\\clbrdrt\\brdrs\\clbrdrb\\brdrs\\clbrdrl\\brdrs\\clbrdrr\\brdrs\\clcbpat2\\cellx1000\r\n"
         "\\clvertalt\r\n"
         "\\clbrdrt\\brdrs\\clbrdrb\\brdrs\\clbrdrl\\brdrs\\clbrdrr\\brdrs\\clcbpat2\\cellx2000\r\n"
         "\\clvertalt\r\n"
         "\\clbrdrt\\brdrs\\clbrdrb\\brdrs\\clbrdrl\\brdrs\\clbrdrr\\brdrs\\clcbpat2\\cellx3000\r\n"
         "\\ql \\intbl a\\intbl \\cell\r\n\\ql \\intbl \\cell \\intbl \\cell \\intbl \\row "
         "\\pard\\sb120 \r\n"
         "\\ql "},
        {"a complete last row gets no extra cell",
         [](tRTF_Writer &w) {
             w.BeginTable(2, 1, 2000, atDireita);
             w.BeginRow();
             w.NextCell();
             w.NextCell();
             w.EndTable();
         },
         "\\trowd\\trgaph108\\trpaddl108\\trpaddr108\\trpaddfl3\\trpaddfr3\\trqr\\clvertalt\r\n"
         "\\clbrdrt\\brdrs\\clbrdrb\\brdrs\\clbrdrl\\brdrs\\clbrdrr\\brdrs\\clcbpat2\\cellx1000\r\n"
         "\\clvertalt\r\n"
         "\\clbrdrt\\brdrs\\clbrdrb\\brdrs\\clbrdrl\\brdrs\\clbrdrr\\brdrs\\clcbpat2\\cellx2000\r\n"
         "\\ql \\intbl \\intbl \\cell\r\n\\ql \\intbl \\cell\r\n\\ql \\intbl \\row "
         "\\pard\\sb120 \r\n\\ql "},
    };
    for (const auto &c : casos)
        EXPECT_EQ(CorpoDe(Documento(c.operacoes)), c.corpo) << c.caso;

    const QByteArray doc = Documento(casos[4].operacoes);
    EXPECT_TRUE(
        doc.contains("{\\colortbl;\\red0\\green0\\blue0;\r\n\\red200\\green0\\blue0;\r\n}\r\n"))
        << doc.left(300).toStdString();
}

TEST(RtfWriter, CorpoAcrescentadoInteiro) {
    // The body is appended in blocks of 32000 bytes; its first byte replaces the head's final
    // line feed and the file ends with the body's brace and 0x1A.
    for (const int tamanho : {31999, 32000, 32001, 64000, 64001}) {
        // The body holds the text, then CR LF and the closing brace.
        const QString texto(tamanho - 3, QLatin1Char('a'));
        const QByteArray doc = Documento([&](tRTF_Writer &w) { w.WriteText(texto); });
        const QByteArray corpo = texto.toLatin1() + "\r\n}\x1A";
        EXPECT_TRUE(doc.endsWith(corpo)) << tamanho;
        EXPECT_TRUE(doc.chopped(corpo.size()).endsWith("\\sec3}}\r")) << tamanho;
    }
    // Long accented texts are escaped whole, never cut.
    const QString longo(300, QChar(0xE7));
    EXPECT_EQ(CorpoDe(Documento([&](tRTF_Writer &w) { w.WriteText(longo); })),
              QByteArray("\\'e7").repeated(300));
}

TEST(RtfWriter, SaidaSegura) {
    QTemporaryDir pasta;
    const QString arquivo = pasta.filePath(QStringLiteral("laudo.doc"));
    Grava(arquivo, "anterior");
    const auto arquivos = [&] { return QDir(pasta.path()).entryList(QDir::Files | QDir::System); };

    // A cancelled export: the body's scratch file lives beside the output while writing; the
    // previous file is untouched and nothing is left behind.
    {
        tRTF_Writer w(arquivo);
        ASSERT_TRUE(w.Valido());
        w.WriteText(QStringLiteral("novo"));
        EXPECT_EQ(QFileInfo(w.BodyName()).absolutePath(), QFileInfo(arquivo).absolutePath());
        EXPECT_TRUE(QFileInfo(w.BodyName()).fileName().startsWith(QStringLiteral("Rtf_")));
    }
    EXPECT_EQ(Le(arquivo), "anterior");
    EXPECT_EQ(arquivos(), QStringList{"laudo.doc"});

    // A file that cannot be created: the message names it, and the export is not completed.
    const QString semPasta = pasta.filePath(QStringLiteral("falta/laudo.rtf"));
    {
        tRTF_Writer w(semPasta);
        w.WriteText(QStringLiteral("x"));
        EXPECT_FALSE(w.Valido());
        EXPECT_FALSE(w.CloseDocument());
        EXPECT_TRUE(w.Erro().startsWith(QStringLiteral("Não foi possível criar o arquivo \"") +
                                        QDir::toNativeSeparators(semPasta) + "\": "))
            << w.Erro().toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(semPasta));

    // A symbolic link is followed, and the file keeps its permissions.
    const QString ligacao = pasta.filePath(QStringLiteral("ligacao.rtf"));
    ASSERT_TRUE(QFile::link(arquivo, ligacao));
    const auto permissoes = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(arquivo, permissoes));
    {
        tRTF_Writer w(ligacao);
        w.WriteText(QStringLiteral("novo"));
        ASSERT_TRUE(w.CloseDocument());
    }
    EXPECT_TRUE(QFileInfo(ligacao).isSymLink());
    EXPECT_TRUE(Le(arquivo).startsWith("{\\rtf1"));
    EXPECT_EQ(QFile::permissions(arquivo) & ~(QFile::ReadUser | QFile::WriteUser), permissoes);
    EXPECT_EQ(arquivos(), (QStringList{"laudo.doc", "ligacao.rtf"}));
}

// A chart goes as a PNG picture at print resolution: \pngblip with its pixel size and its
// printed size (15 twips per layout unit), at least 200 pixels per inch of that size, the PNG
// of those pixels; two colours as a one-bit picture.
TEST(RtfWriter, GraficoComoPngNaResolucaoDeImpressao) {
    TChart c;
    c.Largura = 200, c.Altura = 150;
    c.Titulo = "Dispersão";
    c.PlotPoint("1", 50, 50);
    const QByteArray corpo = CorpoDe(Documento([&](tRTF_Writer &w) {
        w.WriteChart(c, 256);
        w.WriteChart(c, 2);
    }));
    const QRegularExpression figura(
        QStringLiteral(R"(\{\\pict\\pngblip\\picw(\d+)\\pich(\d+)\\picwgoal(\d+)\\pichgoal(\d+)\r\n([0-9a-f\r\n]+)\})"));
    auto it = figura.globalMatch(QString::fromLatin1(corpo));
    int n = 0;
    for (const int bits : {8, 1}) {
        ASSERT_TRUE(it.hasNext()) << bits;
        const auto m = it.next();
        ++n;
        const int pw = m.captured(1).toInt(), ph = m.captured(2).toInt();
        EXPECT_EQ(m.captured(3).toInt(), 3000);
        EXPECT_EQ(m.captured(4).toInt(), 2250);
        EXPECT_GE(pw * 1440.0 / 3000, 200);
        EXPECT_GE(ph * 1440.0 / 2250, 200);
        const QByteArray png = QByteArray::fromHex(m.captured(5).remove(QRegularExpression("[\r\n]")).toLatin1());
        EXPECT_EQ(png[24], static_cast<char>(bits));
        const QImage lida = QImage::fromData(png, "PNG");
        EXPECT_EQ(lida.size(), QSize(pw, ph));
    }
    EXPECT_EQ(n, 2);
    EXPECT_FALSE(corpo.contains("wmetafile"));
}
