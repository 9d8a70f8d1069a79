#include "writer/EscritorTexto.h"

#include "writer/LayoutTabela.h"

#include <QStringList>

#include <algorithm>

namespace zelto {

namespace {

QStringList LinhasTabela(const TBlocoEstrutura &tabela) {
    // A cell with line breaks takes as many lines of text as it has lines; the row is as tall
    // as its tallest cell.
    std::vector<std::vector<QStringList>> celulas;
    std::vector<qsizetype> larguras;
    for (const auto &linha : tabela.Celulas) {
        if (larguras.size() < linha.size()) larguras.resize(linha.size(), 0);
        auto &partes = celulas.emplace_back();
        for (std::size_t j = 0; j < linha.size(); ++j) {
            partes.push_back(LinhasCelula(linha[j]));
            for (const QString &l : partes.back()) larguras[j] = std::max(larguras[j], l.size());
        }
    }
    QStringList linhas;
    for (std::size_t i = 0; i < celulas.size(); ++i) {
        qsizetype altura = 1;
        for (const QStringList &c : celulas[i]) altura = std::max(altura, c.size());
        for (qsizetype k = 0; k < altura; ++k) {
            QString texto;
            for (std::size_t j = 0; j < celulas[i].size(); ++j) {
                const QStringList &partes = celulas[i][j];
                const QString celula = k < partes.size() ? partes[k] : QString();
                const qsizetype folga = larguras[j] - celula.size();
                const std::uint8_t alinhamento = tabela.Alinhamentos[i][j];
                const qsizetype antes = alinhamento == apDireita ? folga
                                        : alinhamento == apCentro ? folga / 2
                                                                  : 0;
                if (j > 0) texto += QStringLiteral("  ");
                texto += QString(antes, QLatin1Char(' ')) + celula +
                         QString(folga - antes, QLatin1Char(' '));
            }
            while (texto.endsWith(QLatin1Char(' '))) texto.chop(1);
            linhas << texto;
        }
    }
    return linhas;
}

} // namespace

QByteArray TEscritorTexto::Conteudo() const {
    QStringList linhas;
    for (const TItemEstrutura &item : Itens())
        for (const auto &parte : item.Partes)
            for (const TBlocoEstrutura &bloco : parte) switch (bloco.Tipo) {
                case TBlocoEstrutura::Paragrafo: linhas << bloco.Texto; break;
                case TBlocoEstrutura::Tabela: linhas << LinhasTabela(bloco); break;
                case TBlocoEstrutura::Figura:
                    linhas << QStringLiteral("[figura %1 x %2]").arg(bloco.Largura).arg(bloco.Altura);
                    break;
                case TBlocoEstrutura::QuebraPagina: linhas << QStringLiteral("\f"); break;
                }
    QString texto = linhas.join(QLatin1Char('\n'));
    if (!linhas.isEmpty()) texto += QLatin1Char('\n');
    return texto.toUtf8();
}

} // namespace zelto
