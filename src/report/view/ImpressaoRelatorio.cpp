#include "view/ImpressaoRelatorio.h"

#include "evaluation/Avaliacao.h"
#include "view/PaginacaoRelatorio.h"
#include "writer/SaidaArquivo.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace zelto {

QString TituloImpressao(const QString &legenda, int copia) {
    return QStringLiteral("Relatório de avaliação ") + legenda + QStringLiteral(" (cópia ") +
           QString::number(copia) + QStringLiteral(")");
}

int Repagina(TPaginacao &paginacao, TProgresso *progresso) {
    if (!paginacao.View()) return 0;
    if (paginacao.View()->TotalPages >= 0) return paginacao.View()->TotalPages;
    TProgresso nenhum;
    TProgresso &p = progresso ? *progresso : nenhum;
    p.Inicia(kTituloRepaginando, 0, 100, false);
    p.Avanca(50);
    const int total = paginacao.TotalPages(&p);
    p.Avanca(100);
    p.Termina();
    return total;
}

bool ImprimePaginas(TPaginacao &paginacao, QPagedPaintDevice *dispositivo, int de, int ate,
                    int copia, TProgresso *progresso, const QString &titulo) {
    TViewRelat *v = paginacao.View();
    if (!v || !dispositivo) return false;
    const int total = Repagina(paginacao, progresso);
    de = std::max(1, de);
    ate = std::min(ate, total);
    TProgresso nenhum;
    TProgresso &p = progresso ? *progresso : nenhum;
    p.Inicia(titulo.toStdString(), 0, std::max(1, ate - de + 1), true);

    QPaintDevice *tela = v->Dispositivo();
    const bool imprimindo = v->Printing;
    v->SetCanvas(dispositivo);
    v->Printing = true;
    QPainter pintor;
    bool ok = pintor.begin(dispositivo) && de <= ate && !p.Cancelado();
    // One run draws every page; at the end of each the device turns its page.
    auto texto = [&](int pagina) {
        p.TextoAuxiliar("(Cópia " + std::to_string(copia) + " / Página " + std::to_string(pagina) +
                        ")");
    };
    if (ok) {
        texto(de);
        ok = paginacao.RenderPages(de, ate, &pintor, nullptr, [&](int pagina) {
            p.Avanca(pagina - de + 1);
            if (p.Cancelado() || !dispositivo->newPage()) return false;
            texto(pagina + 1);
            return true;
        });
        p.Avanca(ate - de + 1);
    }
    if (pintor.isActive()) pintor.end();
    v->SetCanvas(tela);
    v->Printing = imprimindo;
    p.Termina();
    return ok && !p.Cancelado();
}

bool ExportaPdf(TPaginacao &paginacao, const QString &arquivo, TProgresso *progresso,
                QString *erro) {
    auto falha = [&](const QString &m) {
        if (erro) *erro = m;
        return false;
    };
    TViewRelat *v = paginacao.View();
    if (!v) return falha(QStringLiteral("Não há relatório para exportar."));
    // The file is opened first, so one that cannot be created is known before any work.
    TSaidaArquivo saida(arquivo);
    if (!saida.Aberta()) return falha(saida.Erro());
    QBuffer documento;
    documento.open(QIODevice::WriteOnly);
    bool ok = false;
    {
        QPdfWriter pdf(&documento);
        // One device unit per twip: the layout's own units.
        pdf.setResolution(1440);
        pdf.setPageLayout(QPageLayout(
            QPageSize(QSizeF(v->PaperWidth / 20.0, v->PaperHeight / 20.0), QPageSize::Point,
                      QString(), QPageSize::ExactMatch),
            QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        pdf.setTitle(QString::fromUtf8(kTituloDocumento));
        pdf.setCreator(QString::fromUtf8(kAutorDocumento));
        const int total = Repagina(paginacao, progresso);
        ok = total > 0 && ImprimePaginas(paginacao, &pdf, 1, total, 1, progresso,
                                         QString::fromUtf8(kTituloGerandoRelatorio));
    }
    if (!ok) return falha(QStringLiteral("A exportação do relatório foi interrompida."));
    if (!saida.Grava(documento.data()) || !saida.Conclui()) return falha(saida.Erro());
    return true;
}

} // namespace zelto
