#include "writer/Escritores.h"

#include "writer/ArquivoWrite.h"
#include "writer/EscritorEstrutura.h"
#include "writer/EscritorTexto.h"
#include "writer/RtfWriter.h"

#include <QFileInfo>

namespace zelto {

namespace {

template <class T> std::unique_ptr<TArqEditor> Cria(const QString &arquivo) {
    return std::make_unique<T>(arquivo);
}

const struct {
    const char *extensao;
    std::unique_ptr<TArqEditor> (*cria)(const QString &);
} Tabela[] = {
    {"rtf", Cria<tRTF_Writer>},
    {"doc", Cria<tRTF_Writer>},
    {"wri", Cria<TArquivoWrite>},
    {"txt", Cria<TEscritorTexto>},
    {"json", Cria<TEscritorEstrutura>},
    {"pdf", nullptr}, // drawn by the report view
};

} // namespace

std::unique_ptr<TArqEditor> CriaEscritor(const QString &arquivo) {
    const QString extensao = QFileInfo(arquivo).suffix();
    for (const auto &e : Tabela)
        if (extensao.compare(QLatin1String(e.extensao), Qt::CaseInsensitive) == 0)
            return e.cria ? e.cria(arquivo) : nullptr;
    return nullptr;
}

bool EscritorPaginado(const QString &arquivo) {
    const QString extensao = QFileInfo(arquivo).suffix();
    for (const auto &e : Tabela)
        if (extensao.compare(QLatin1String(e.extensao), Qt::CaseInsensitive) == 0) return !e.cria;
    return false;
}

QStringList ExtensoesEscritores(bool comPaginados) {
    QStringList extensoes;
    for (const auto &e : Tabela)
        if (e.cria || comPaginados) extensoes << QString::fromLatin1(e.extensao);
    return extensoes;
}

} // namespace zelto
