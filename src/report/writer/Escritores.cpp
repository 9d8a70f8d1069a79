#include "writer/Escritores.h"

#include "writer/ArquivoWrite.h"
#include "writer/EscritorEstrutura.h"
#include "writer/EscritorTexto.h"
#include "writer/RtfWriter.h"

#include <QFileInfo>

#include <algorithm>
#include <vector>

namespace zelto {

namespace {

template <class T> std::unique_ptr<TArqEditor> Cria(const QString &arquivo) {
    return std::make_unique<T>(arquivo);
}

constexpr TDestinoRelatorio Tabela[] = {
    {"rtf", TTipoDestino::Fluxo, "Arquivos Rich Text Format", 2, Cria<tRTF_Writer>},
    {"doc", TTipoDestino::Fluxo, "Arquivos Microsoft WORD", 1, Cria<tRTF_Writer>},
    {"wri", TTipoDestino::Fluxo, "Arquivos Write", 3, Cria<TArquivoWrite>},
    {"txt", TTipoDestino::Fluxo, nullptr, 0, Cria<TEscritorTexto>},
    {"json", TTipoDestino::Fluxo, nullptr, 0, Cria<TEscritorEstrutura>},
    {"pdf", TTipoDestino::Paginado, "Arquivos PDF", 4, nullptr},
};

} // namespace

std::span<const TDestinoRelatorio> DestinosRelatorio() { return Tabela; }

const TDestinoRelatorio *DestinoDoArquivo(const QString &arquivo) {
    const QString extensao = QFileInfo(arquivo).suffix();
    for (const TDestinoRelatorio &d : Tabela)
        if (extensao.compare(QLatin1String(d.Extensao), Qt::CaseInsensitive) == 0) return &d;
    return nullptr;
}

std::unique_ptr<TArqEditor> CriaEscritor(const QString &arquivo) {
    const TDestinoRelatorio *d = DestinoDoArquivo(arquivo);
    return d && d->Cria ? d->Cria(arquivo) : nullptr;
}

bool EscritorPaginado(const QString &arquivo) {
    const TDestinoRelatorio *d = DestinoDoArquivo(arquivo);
    return d && d->Tipo == TTipoDestino::Paginado;
}

QStringList ExtensoesEscritores(bool comPaginados) {
    QStringList extensoes;
    for (const TDestinoRelatorio &d : Tabela)
        if (d.Tipo == TTipoDestino::Fluxo || comPaginados) extensoes << QString::fromLatin1(d.Extensao);
    return extensoes;
}

QString FiltroDestinos() {
    std::vector<const TDestinoRelatorio *> oferecidos;
    for (const TDestinoRelatorio &d : Tabela)
        if (d.Descricao) oferecidos.push_back(&d);
    std::stable_sort(oferecidos.begin(), oferecidos.end(),
                     [](const TDestinoRelatorio *a, const TDestinoRelatorio *b) { return a->OrdemFiltro < b->OrdemFiltro; });
    QStringList filtros;
    for (const TDestinoRelatorio *d : oferecidos)
        filtros << QString::fromUtf8(d->Descricao) + QStringLiteral(" (*.") +
                       QString::fromLatin1(d->Extensao).toUpper() + QLatin1Char(')');
    filtros << QStringLiteral("Todos os arquivos (*.*)");
    return filtros.join(QStringLiteral(";;"));
}

QString ListaExtensoes(const QString &prefixo) {
    QStringList e;
    for (const QString &x : ExtensoesEscritores(true)) e << prefixo + x;
    if (e.size() < 2) return e.join(QString());
    return QStringList(e.mid(0, e.size() - 1)).join(QStringLiteral(", ")) + QStringLiteral(" ou ") + e.last();
}

} // namespace zelto
