// Writes the fixed operation sequence of the golden tests into a file, through the writer that
// the file's extension selects: the file the real word processor is asked to open.
//
//   zelto_amostra_relatorio FILE            writes the sequence and completes the document
//   zelto_amostra_relatorio FILE --pausa    writes the sequence and many more lines, prints
//                                           "exportando" and waits (to be killed mid-export)
#include "SequenciaPadrao.h"
#include "writer/Escritores.h"

#include <QGuiApplication>
#include <QThread>

#include <cstdio>

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "uso: %s ARQUIVO [--pausa]\n", argv[0]);
        return 2;
    }
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
