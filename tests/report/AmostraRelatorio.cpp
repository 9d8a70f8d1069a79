// Writes the fixed operation sequence of the golden tests into a file, through the writer that
// the file's extension selects: the file the real word processor is asked to open.
//
//   zelto_amostra_relatorio FILE            writes the sequence and completes the document
//   zelto_amostra_relatorio FILE --pausa    writes the sequence and many more lines, prints
//                                           "exportando" and waits (to be killed mid-export)
//   zelto_amostra_relatorio --cores IMAGEM...
//                                           checks that each picture, as a word processor read
//                                           it back, has the colours of the sequence's picture
#include "SequenciaPadrao.h"
#include "writer/Escritores.h"

#include <QGuiApplication>
#include <QThread>

#include <cstdio>
#include <cstdlib>

namespace {

// Every pixel within a palette step of the original: the 256-colour cube moves a channel by at
// most 25, while a wrong palette swaps whole colours.
int ConfereCores(int n, char **imagens) {
    const QImage original = zelto::teste::ImagemPadrao();
    int falhas = 0;
    for (int i = 0; i < n; ++i) {
        const QImage lida = QImage(QString::fromLocal8Bit(imagens[i])).convertToFormat(QImage::Format_RGB32);
        if (lida.size() != original.size()) {
            std::printf("FALHOU: %s tem %dx%d pixels\n", imagens[i], lida.width(), lida.height());
            ++falhas;
            continue;
        }
        int erradas = 0;
        for (int y = 0; y < lida.height(); ++y)
            for (int x = 0; x < lida.width(); ++x) {
                const QRgb a = original.pixel(x, y), b = lida.pixel(x, y);
                if (std::abs(qRed(a) - qRed(b)) > 26 || std::abs(qGreen(a) - qGreen(b)) > 26 ||
                    std::abs(qBlue(a) - qBlue(b)) > 26)
                    ++erradas;
            }
        if (erradas) {
            std::printf("FALHOU: %s com %d pixels de outra cor\n", imagens[i], erradas);
            ++falhas;
        }
    }
    return falhas ? 1 : 0;
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "uso: %s ARQUIVO [--pausa]\n", argv[0]);
        return 2;
    }
    if (QByteArray(argv[1]) == "--cores") return ConfereCores(argc - 2, argv + 2);
    const QString arquivo = QString::fromLocal8Bit(argv[1]);
    auto escritor = zelto::CriaEscritor(arquivo);
    if (!escritor) {
        std::fprintf(stderr, "extensão sem escritor: %s\n", argv[1]);
        return 2;
    }
    if (!escritor->Valido()) {
        std::fprintf(stderr, "%s\n", qPrintable(escritor->Erro()));
        return 1;
    }
    zelto::teste::EscreveSequenciaPadrao(*escritor);
    if (argc > 2 && QByteArray(argv[2]) == "--pausa") {
        for (int i = 0; i < 20000; ++i)
            escritor->WriteLine(QStringLiteral("Linha %1 de um relatório longo.").arg(i));
        std::printf("exportando\n");
        std::fflush(stdout);
        QThread::sleep(120);
    }
    if (!escritor->CloseDocument()) {
        std::fprintf(stderr, "%s\n", qPrintable(escritor->Erro()));
        return 1;
    }
    return 0;
}
