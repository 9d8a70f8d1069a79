// The writer table, the text and structure writers, and what every file writer owes the user's
// file: a cancelled or failed export leaves it as it was, a file that cannot be created is
// named in the message.
#include "ArquivosTeste.h"
#include "SequenciaPadrao.h"
#include "writer/ArquivoWrite.h"
#include "writer/EscritorEstrutura.h"
#include "writer/EscritorTexto.h"
#include "writer/Escritores.h"
#include "writer/RtfWriter.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zelto;

using teste::GravaArquivo;
using teste::LeArquivo;

namespace {

QJsonArray Partes(const QJsonDocument &d, int item) {
    return d[QStringLiteral("items")][item][QStringLiteral("parts")].toArray();
}

} // namespace

TEST(Escritores, TabelaPorExtensao) {
    QTemporaryDir pasta;
    auto tipo = [&](const QString &nome) -> QString {
        const auto w = CriaEscritor(pasta.filePath(nome));
        if (!w) return QStringLiteral("nenhum");
        if (dynamic_cast<TEscritorTexto *>(w.get())) return QStringLiteral("texto");
        if (dynamic_cast<TEscritorEstrutura *>(w.get())) return QStringLiteral("estrutura");
        if (dynamic_cast<TArquivoWrite *>(w.get())) return QStringLiteral("write");
        if (dynamic_cast<tRTF_Writer *>(w.get())) return QStringLiteral("rtf");
        return QStringLiteral("outro");
    };
    EXPECT_EQ(tipo("a.rtf"), "rtf");
    EXPECT_EQ(tipo("a.Doc"), "rtf");
    EXPECT_EQ(tipo("a.wri"), "write");
    EXPECT_EQ(tipo("A.WRI"), "write");
    EXPECT_EQ(tipo("laudo.Txt"), "texto");
    EXPECT_EQ(tipo("laudo.json"), "estrutura");
    EXPECT_EQ(tipo("laudo.odt"), "nenhum");
    EXPECT_EQ(tipo("laudo"), "nenhum");
    EXPECT_EQ(tipo("laudo.json.bak"), "nenhum");
    EXPECT_EQ(ExtensoesEscritores(), (QStringList{"rtf", "doc", "wri", "txt", "json"}));
    EXPECT_TRUE(QDir(pasta.path()).entryList(QDir::Files).isEmpty());
    // The paged target is in the same table: the desktop's filter and the command line's help
    // are made from it.
    EXPECT_TRUE(EscritorPaginado(QStringLiteral("laudo.PDF")));
    EXPECT_EQ(CriaEscritor(QStringLiteral("laudo.pdf")), nullptr);
    EXPECT_EQ(FiltroDestinos(), QStringLiteral("Arquivos Microsoft WORD (*.DOC);;Arquivos Rich Text Format (*.RTF);;"
                                               "Arquivos Write (*.WRI);;Arquivos PDF (*.PDF);;Todos os arquivos (*.*)"));
    EXPECT_EQ(ListaExtensoes(QStringLiteral(".")), QStringLiteral(".rtf, .doc, .wri, .txt, .json ou .pdf"));
}

TEST(Escritores, SequenciaPadraoEmTextoEEstrutura) {
    QTemporaryDir pasta;
    for (const QString &nome : {QStringLiteral("sequencia.txt"), QStringLiteral("sequencia.json")}) {
        const auto w = CriaEscritor(pasta.filePath(nome));
        ASSERT_TRUE(w && w->Valido());
        teste::EscreveSequenciaPadrao(*w);
        ASSERT_TRUE(w->CloseDocument()) << qPrintable(w->Erro());
        // Read line by line: markup, accents, table columns, placeholders, page break, items
        // and parts, header and footer apart.
        const QByteArray feito = LeArquivo(pasta.filePath(nome));
        EXPECT_EQ(feito.toStdString(), teste::Referencia(nome, feito).toStdString());
    }
}

TEST(Escritores, EstruturaItensPartesEMarcacao) {
    QTemporaryDir pasta;
    TEscritorEstrutura w(pasta.filePath(QStringLiteral("e.json")));
    w.WriteLine(QStringLiteral("antes de tudo"));
    w.BeginItem(3, QStringLiteral("TIA_ANOVA"), QStringLiteral("Variância"));
    w.WriteLine(QStringLiteral("título"));
    w.BeginPart(); // the first part goes on
    w.WriteText(QStringLiteral("R%^%2% e 1###4932%"));
    w.WriteFormatted(QStringLiteral("R%^%2% = 2###-3% "));
    w.WritePageNumber();
    w.BeginPart(); // text without a NewParagraph ends with the part
    w.NewPage();
    w.WriteText(QStringLiteral("página "));
    w.WritePageNumber();
    w.WriteText(QString(300, QLatin1Char('w')));
    const QJsonDocument d = w.Documento();
    ASSERT_EQ(d[QStringLiteral("items")].toArray().size(), 2);
    EXPECT_EQ(d[QStringLiteral("items")][0][QStringLiteral("number")].toInt(), 0);
    EXPECT_EQ(Partes(d, 0)[0][0][QStringLiteral("paragraph")].toString(), "antes de tudo");
    EXPECT_EQ(d[QStringLiteral("items")][1][QStringLiteral("class")].toString(), "TIA_ANOVA");
    const QJsonArray partes = Partes(d, 1);
    ASSERT_EQ(partes.size(), 2);
    ASSERT_EQ(partes[0].toArray().size(), 2);
    // WriteText keeps the markup as written; WriteFormatted renders it.
    EXPECT_EQ(partes[0][1][QStringLiteral("paragraph")].toString(),
              QStringLiteral("R%^%2% e 1###4932%R^2 = 2x10^-3 1"));
    const QJsonArray runs = partes[0][1][QStringLiteral("runs")].toArray();
    EXPECT_TRUE(runs[1][QStringLiteral("superscript")].toBool());
    EXPECT_EQ(runs[1][QStringLiteral("text")].toString(), "2"); // runs hold the text as written
    EXPECT_EQ(partes[1][0][QStringLiteral("page_break")].toBool(), true);
    // Still pending: the last paragraph is not in the document until it ends.
    w.NewParagraph();
    const QString ultimo = Partes(w.Documento(), 1)[1][1][QStringLiteral("paragraph")].toString();
    EXPECT_EQ(ultimo, QStringLiteral("página 2") + QString(300, QLatin1Char('w')));
}

TEST(Escritores, TextoTabelaAlinhadaEInfinito) {
    QTemporaryDir pasta;
    const QString nome = pasta.filePath(QStringLiteral("t.txt"));
    TEscritorTexto w(nome);
    w.WriteLine(QStringLiteral("  1###4932%"));
    w.BeginTable(3, 3, 3000, atEsquerda);
    w.BeginRow();
    const char *celulas[] = {"Nome", "b", "Valor", "área total", "1,5", "12,25"};
    for (int i = 0; i < 6; ++i) {
        i % 3 == 2 ? w.AlignRight() : w.AlignLeft();
        w.WriteText(QString::fromUtf8(celulas[i]));
        w.NextCell();
        if (i == 2) w.EndRow();
    }
    w.EndRow();
    w.AlignLeft();
    w.WriteText(QStringLiteral("só"));
    w.EndTable();
    w.WritePicture(QImage(7, 5, QImage::Format_RGB32), 100, 16);
    ASSERT_TRUE(w.CloseDocument());
    EXPECT_EQ(QString::fromUtf8(LeArquivo(nome)), QStringLiteral("  ∞\n"
                                                        "Nome        b    Valor\n"
                                                        "área total  1,5  12,25\n"
                                                        "só\n"
                                                        "[figura 7 x 5]\n"));
}

// Every file writer: a writer dropped before CloseDocument, or a file that cannot be created,
// leaves the previous file and the folder as they were; a link is followed and the file's
// permissions are kept.
TEST(Escritores, ArquivoAnteriorPreservado) {
    for (const QString &extensao : ExtensoesEscritores()) {
        QTemporaryDir pasta;
        const QString nome = pasta.filePath(QStringLiteral("laudo.") + extensao);
        ASSERT_TRUE(GravaArquivo(nome, "anterior"));
        {
            const auto w = CriaEscritor(nome);
            ASSERT_TRUE(w && w->Valido()) << qPrintable(extensao);
            teste::EscreveSequenciaPadrao(*w);
        }
        EXPECT_EQ(LeArquivo(nome), QByteArray("anterior")) << qPrintable(extensao);
        EXPECT_EQ(QDir(pasta.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);

        const QString semPasta = pasta.filePath(QStringLiteral("falta/laudo.") + extensao);
        const auto falha = CriaEscritor(semPasta);
        ASSERT_TRUE(falha);
        EXPECT_FALSE(falha->Valido());
        EXPECT_TRUE(falha->Erro().startsWith(QStringLiteral("Não foi possível criar o arquivo \"%1\": ")
                                                 .arg(QDir::toNativeSeparators(semPasta))))
            << qPrintable(falha->Erro());
        teste::EscreveSequenciaPadrao(*falha);
        EXPECT_FALSE(falha->CloseDocument());

        // Through a link to a private file.
        QFile::setPermissions(nome, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        const QString link = pasta.filePath(QStringLiteral("atalho.") + extensao);
        ASSERT_TRUE(QFile::link(nome, link));
        {
            const auto w = CriaEscritor(link);
            teste::EscreveSequenciaPadrao(*w);
            EXPECT_TRUE(w->CloseDocument()) << qPrintable(w->Erro());
        }
        EXPECT_TRUE(QFileInfo(link).isSymLink());
        EXPECT_NE(LeArquivo(nome), QByteArray("anterior"));
        const QFileDevice::Permissions p = QFile::permissions(nome);
        EXPECT_TRUE(p.testFlags(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        EXPECT_EQ(p & 0x0077, 0) << "group and others get nothing"; // Group and Other bits
    }
}
