// The Write document: the golden file of the fixed sequence, the runs and pages the format
// requires, the size limit, the closing progress and its cancel.
#include "ArquivosTeste.h"
#include "SequenciaPadrao.h"
#include "writer/ArquivoWrite.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace zelto;
using teste::GravaArquivo;
using teste::LeArquivo;

namespace {

// A Write file read back by the published layout: the text and the runs of each kind, checked
// to cover the text without gaps, page after page.
struct TLeitura {
    QByteArray Bytes, Texto;
    quint32 FcMac = 0;
    struct TRun {
        quint32 Inicio, Fim;
        QByteArray Propriedades;
    };
    std::vector<TRun> Caracteres, Paragrafos;
    int PaginasCaracteres = 0;
    QStringList Fontes;

    quint16 Palavra(int i) const { return qFromLittleEndian<quint16>(Bytes.constData() + 2 * i); }

    void Runs(int de, int ate, std::vector<TRun> &runs) {
        quint32 anterior = 128;
        for (int pn = de; pn < ate; ++pn) {
            const char *pagina = Bytes.constData() + pn * 128;
            EXPECT_EQ(qFromLittleEndian<quint32>(pagina), anterior) << "fcFirst, page " << pn;
            for (int i = 0; i < static_cast<uchar>(pagina[127]); ++i) {
                const quint32 lim = qFromLittleEndian<quint32>(pagina + 4 + 6 * i);
                const quint16 b = qFromLittleEndian<quint16>(pagina + 8 + 6 * i);
                runs.push_back({anterior, lim, QByteArray(pagina + 5 + b, static_cast<uchar>(pagina[4 + b]))});
                anterior = lim;
            }
        }
        EXPECT_EQ(anterior, FcMac) << "runs must end at the text end";
    }

    explicit TLeitura(const QByteArray &b) : Bytes(b) {
        FcMac = qFromLittleEndian<quint32>(b.constData() + 14);
        Texto = b.mid(128, FcMac - 128);
        const int pnChar = static_cast<int>((FcMac + 127) / 128);
        PaginasCaracteres = Palavra(9) - pnChar;
        Runs(pnChar, Palavra(9), Caracteres);
        Runs(Palavra(9), Palavra(10), Paragrafos);
        for (int o = Palavra(14) * 128 + 2;;) {
            const quint16 cb = qFromLittleEndian<quint16>(b.constData() + o);
            if (cb == 0) break;
            if (cb == 0xFFFF) {
                o = (o / 128 + 1) * 128;
                continue;
            }
            Fontes << QString::fromLatin1(b.constData() + o + 3);
            o += 2 + cb;
        }
        EXPECT_EQ(Palavra(48) * 128, b.size()) << "pnMac counts every page";
    }
};

class ArquivoWrite : public ::testing::Test {
  protected:
    QTemporaryDir pasta;
    QString Nome(const QString &n = QStringLiteral("r.wri")) const { return pasta.filePath(n); }
    // Writes with the writer and reads the completed file back.
    template <class F> TLeitura Escreve(F &&corpo) {
        TArquivoWrite w(Nome());
        corpo(w);
        EXPECT_TRUE(w.CloseDocument()) << qPrintable(w.Erro());
        return TLeitura(LeArquivo(Nome()));
    }
};

class TProgressoRegistro : public TProgresso {
  public:
    std::string Titulo;
    double Maximo = 0;
    std::vector<double> Passos;
    int CancelaNoPasso = 0;
    bool Terminou = false;
    void Inicia(const std::string &t, double, double maximo, bool) override {
        Titulo = t;
        Maximo = maximo;
    }
    void Avanca(double p) override {
        Passos.push_back(p);
        if (static_cast<int>(p) == CancelaNoPasso) Cancela();
    }
    void Termina() override { Terminou = true; }
};

} // namespace

// The golden file was checked by hand against the published Write layout field by field: the
// header words, the CHP and PAP pages (fcFirst chaining, FODs, shared FPROPs, the count byte),
// the picture paragraphs (flag 0x10, the 40-byte header, the static DIB objects with their colour
// tables, sizes 612 and 2052), the SEP and SETB records and the font table.
TEST_F(ArquivoWrite, SequenciaPadraoIgualAoArquivoDeReferencia) {
    TArquivoWrite w(Nome());
    teste::EscreveSequenciaPadrao(w);
    ASSERT_TRUE(w.CloseDocument()) << qPrintable(w.Erro());
    const QByteArray feito = LeArquivo(Nome());
    EXPECT_EQ(feito.toHex().toStdString(),
              teste::Referencia(QStringLiteral("sequencia.wri"), feito).toHex().toStdString());
    // Readable by the layout: runs cover the text; the header and footer are not in the body.
    const TLeitura l(feito);
    EXPECT_FALSE(l.Texto.contains("Avalia\xe7\xe3o de im\xf3vel"));
    EXPECT_EQ(l.Fontes, (QStringList{"Arial", "Times New Roman", "Symbol"}));
}

// Only a two-colour picture is written as a device-dependent bitmap: one of 16 or 256 colours
// needs the colour table that only the device-independent kind carries.
TEST_F(ArquivoWrite, FiguraMonocromaticaComoBitmapEColoridaComoDib) {
    for (const int cores : {2, 16, 256}) {
        TArquivoWrite w(Nome());
        w.WritePicture(teste::ImagemPadrao(), 100, cores);
        ASSERT_TRUE(w.CloseDocument());
        const QByteArray feito = LeArquivo(Nome());
        const qsizetype bitmap = feito.indexOf(QByteArray("BITMAP\0", 7));
        const qsizetype dib = feito.indexOf(QByteArray("DIB\0", 4));
        EXPECT_EQ(bitmap >= 0, cores == 2) << cores;
        EXPECT_EQ(dib >= 0, cores != 2) << cores;
        if (cores == 2) {
            // Type 0, 40 × 24 pixels, 8 bytes a row (padded), one plane of one bit.
            EXPECT_EQ(feito.mid(bitmap + 7 + 12, 10).toHex(), QByteArray("00002800180008000101"));
        } else {
            // The information header: 40 bytes, 40 × 24, one plane, 4 or 8 bits, then the table.
            EXPECT_EQ(feito.mid(dib + 4 + 12, 16).toHex(),
                      QByteArray("28000000280000001800000001000") + (cores == 16 ? "4" : "8") + "00");
        }
    }
}

TEST_F(ArquivoWrite, UmaLinhaTemFimDeLinhaEUmParagrafo) {
    const TLeitura l = Escreve([](TArquivoWrite &w) { w.WriteText(QStringLiteral("Só uma linha")); });
    EXPECT_EQ(l.Texto, QByteArray("S\xf3 uma linha\r\n"));
    ASSERT_EQ(l.Paragrafos.size(), 1u);
    EXPECT_EQ(l.Paragrafos[0].Propriedades, QByteArray("\x3d\x00", 2));
    ASSERT_EQ(l.Caracteres.size(), 1u);
    // Arial 10: the font's bytes, 20 half-points, no underline.
    EXPECT_EQ(l.Caracteres[0].Propriedades, QByteArray("\x01\x00\x14\x00", 4));
}

TEST_F(ArquivoWrite, TabelaEmLinhasComDuasTabulacoes) {
    const TLeitura l = Escreve([](TArquivoWrite &w) {
        w.AlignCenter();
        w.BeginTable(3, 2, 6000, atCentro);
        w.BeginRow();
        for (const char *c : {"a", "b", "c"}) {
            w.WriteText(QString::fromLatin1(c));
            w.NextCell();
        }
        w.EndRow();
        for (const char *c : {"d", "e", "f"}) {
            w.WriteText(QString::fromLatin1(c));
            w.NextCell();
        }
        w.EndTable();
        w.NewParagraph();
    });
    EXPECT_EQ(l.Texto, QByteArray("a\t\tb\t\tc\t\t\r\nd\t\te\t\tf\t\t\r\n\r\n"));
    ASSERT_EQ(l.Paragrafos.size(), 3u);
    EXPECT_EQ(l.Paragrafos[0].Propriedades, QByteArray("\x3d\x00", 2)); // rows are left aligned
}

TEST_F(ArquivoWrite, FontesEstilosENumeroDePagina) {
    TFonte times;
    times.Nome = QStringLiteral("Times New Roman");
    const TLeitura l = Escreve([&](TArquivoWrite &w) {
        w.SetFont(times);
        w.SetFont(times);
        w.SetFontName(QStringLiteral("times new roman")); // the same face: one table entry
        w.WriteText(QStringLiteral("x"));
        w.SubscriptOn();
        w.WriteText(QStringLiteral("i"));
        w.SubscriptOff();
        w.StrikeOutOn(); // Write has no strike-out: no new run
        w.WritePageNumber();
        w.SetFontSize(12);
        w.WriteText(QStringLiteral("y"));
    });
    EXPECT_EQ(l.Fontes, (QStringList{"Arial", "Times New Roman"}));
    EXPECT_EQ(l.Texto, QByteArray("xi\x01y\r\n"));
    ASSERT_EQ(l.Caracteres.size(), 4u);
    EXPECT_EQ(l.Caracteres[0].Propriedades, QByteArray("\x01\x04\x14\x00", 4));
    EXPECT_EQ(l.Caracteres[1].Propriedades, QByteArray("\x01\x04\x14\x00\x00\xf6", 6)); // -10
    EXPECT_EQ(l.Caracteres[2].Propriedades, QByteArray("\x01\x04\x14\x40", 4)); // special
    EXPECT_EQ(l.Caracteres[3].Propriedades, QByteArray("\x01\x04", 2)); // 12 points: default size
}

TEST_F(ArquivoWrite, PaginasDePropriedadesEncadeadas) {
    // 300 bold changes need several character pages; a text longer than 255 characters is
    // written whole.
    const QString longo(700, QLatin1Char('z'));
    const TLeitura l = Escreve([&](TArquivoWrite &w) {
        for (int i = 0; i < 300; ++i) {
            if (i % 2) w.BoldOn();
            else w.BoldOff();
            w.WriteText(QStringLiteral("ab"));
        }
        w.WriteLine(longo);
    });
    EXPECT_GT(l.PaginasCaracteres, 10);
    EXPECT_EQ(l.Caracteres.size(), 300u);
    EXPECT_TRUE(l.Texto.endsWith(longo.toLatin1() + "\r\n\r\n"));
}

TEST_F(ArquivoWrite, LimiteDeTamanho) {
    EXPECT_EQ(TArquivoWrite(Nome(QStringLiteral("x.wri"))).LimiteTamanho, 8380001);
    // Output, character pages and paragraph pages: 128 + 3 bytes before closing.
    for (const qint64 limite : {qint64(132), qint64(131)}) {
        ASSERT_TRUE(GravaArquivo(Nome(), "anterior"));
        TArquivoWrite w(Nome());
        w.LimiteTamanho = limite;
        w.WriteText(QStringLiteral("abc"));
        const bool completou = w.CloseDocument();
        EXPECT_EQ(completou, limite == 132) << limite;
        EXPECT_EQ(w.Erro(), completou ? QString() : TArquivoWrite::MensagemTamanho);
        if (!completou) {
            EXPECT_EQ(LeArquivo(Nome()), QByteArray("anterior"));
        }
    }
    EXPECT_TRUE(TArquivoWrite::MensagemTamanho.startsWith(
        QStringLiteral("O arquivo gerado ficou maior que a capacidade do programa.\r\n\r\n")));
}

TEST_F(ArquivoWrite, ProgressoECancelamento) {
    for (const int cancela : {0, 1, 5, 7}) {
        ASSERT_TRUE(GravaArquivo(Nome(), "anterior"));
        TProgressoRegistro p;
        p.CancelaNoPasso = cancela;
        {
            TArquivoWrite w(Nome());
            w.SetProgress(&p);
            teste::EscreveSequenciaPadrao(w);
            EXPECT_EQ(w.CloseDocument(), cancela == 0) << cancela;
        }
        EXPECT_EQ(p.Titulo, "Compondo relatório...");
        EXPECT_EQ(p.Maximo, 8);
        EXPECT_EQ(p.Passos.size(), cancela ? std::size_t(cancela) : 8u);
        EXPECT_TRUE(p.Terminou);
        if (cancela) {
            EXPECT_EQ(LeArquivo(Nome()), QByteArray("anterior")) << cancela;
        }
        EXPECT_EQ(QDir(pasta.path()).entryList(QDir::Files), QStringList{"r.wri"});
    }
}
