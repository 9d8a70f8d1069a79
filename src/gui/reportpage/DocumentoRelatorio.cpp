#include "gui/reportpage/DocumentoRelatorio.h"

#include "evaluation/ArquivoItens.h"
#include "evaluation/Avaliacao.h"
#include "export/Exportacao.h"
#include "gui/reportconfig/ConfiguraRelatorio.h"
#include "gui/reportpage/PaginaRelatorio.h"
#include "regression/Enquadramento.h"
#include "view/ImpressaoRelatorio.h"
#include "view/PaginacaoRelatorio.h"
#include "writer/Escritores.h"

#include <QRegularExpression>

#include <algorithm>

namespace zelto {

QString FiltroExportacao() { return FiltroDestinos(); }

QString ExtensaoDoFiltro(const QString &filtro) {
    static const QRegularExpression e(QStringLiteral("\\*(\\.[A-Za-z]+)\\)"));
    const QRegularExpressionMatch m = e.match(filtro);
    return m.hasMatch() ? m.captured(1) : QString();
}

TDocumentoRelatorio::TDocumentoRelatorio()
    : itens_(std::make_unique<TListaItens>(CriaCatalogo())),
      configuracao_(std::make_unique<TConfiguracaoRelatorio>()) {
    LeConfiguracaoRelatorio(ArquivoRelatorioUsuario(), *configuracao_, *itens_);
}

TDocumentoRelatorio::~TDocumentoRelatorio() = default;

TDeclaracoesEnquadramento TDocumentoRelatorio::Declaracoes() const {
    TDeclaracoesEnquadramento d;
    if (configuracao_->Caracterizacao) d.Caracterizacao = static_cast<TGrau>(*configuracao_->Caracterizacao);
    if (configuracao_->Identificacao) d.Identificacao = static_cast<TGrau>(*configuracao_->Identificacao);
    return d;
}

void TDocumentoRelatorio::GravaConfiguracao() {
    GravaConfiguracaoRelatorio(ArquivoRelatorioUsuario(), *configuracao_, *itens_);
}

double TDocumentoRelatorio::LarguraPapelMm() const { return configuracao_->LarguraPagina; }
double TDocumentoRelatorio::AlturaPapelMm() const { return configuracao_->AlturaPagina; }

bool TDocumentoRelatorio::DialogoConfiguracao(QWidget *pai, bool inferencial, int itemInicial) {
    return ConfiguraRelatorio(pai, *itens_, *configuracao_, inferencial, itemInicial);
}

int TDocumentoRelatorio::DialogoItem(QWidget *pai, int item, bool inferencial,
                                     const std::optional<QPointF> &ponto) {
    int primeiro = -1;
    return ConfiguraItem(pai, *itens_, item, inferencial, ponto, &primeiro) ? primeiro : -1;
}

bool TDocumentoRelatorio::DialogoCabecalhoRodape(QWidget *pai, bool rodape) {
    return ConfiguraCabecalhoRodape(pai, *configuracao_, rodape);
}

bool TDocumentoRelatorio::AlgumItemSelecionado(bool inferencial) const {
    for (const auto &item : *itens_)
        if (item->Incluido && (inferencial || item->OferecidoDescritivo)) return true;
    return false;
}

std::unique_ptr<TPaginaRelatorio> TDocumentoRelatorio::Constroi(
    TSistema &sistema, const TGridzelto &grid, const TPesquisa *pesquisa,
    const TSignificancias &significancias, int zoom, QWidget *pai, TProgresso *progresso) {
    const TContextoItem contexto = TContextoItem::Hoje(sistema, grid, significancias, pesquisa);
    auto pagina =
        std::make_unique<TPaginaRelatorio>(sistema, *itens_, *configuracao_, contexto, zoom, pai);
    if (!pagina->Constroi(progresso)) return nullptr;
    return pagina;
}

bool TDocumentoRelatorio::Exporta(TPaginaRelatorio &pagina, const QString &arquivo,
                                  TProgresso *progresso, QString &erro) {
    // The report on screen, its kept content, into the file: the same entry as the command
    // line's.
    // A PDF is drawn through the screen's pages, already laid out; the caller draws the
    // screen's page again after it.
    const TResultadoRelatorio r =
        ExportaRelatorio(pagina.Paginacao().Relatorio(), arquivo, progresso, &pagina.Paginacao());
    if (!r.Ok) erro = QString::fromStdString(r.Erro);
    return r.Ok;
}

bool TDocumentoRelatorio::Imprime(TPaginaRelatorio &pagina, QPagedPaintDevice *dispositivo, int de,
                                  int ate, int copia, TProgresso *progresso) {
    return ImprimePaginas(pagina.Paginacao(), dispositivo, de, ate, copia, progresso);
}

bool TDocumentoRelatorio::ImprimeItens(const std::vector<std::string> &classes, TSistema &sistema,
                                       const TGridzelto &grid, const TPesquisa *pesquisa,
                                       const TSignificancias &significancias,
                                       QPagedPaintDevice *dispositivo, TProgresso *progresso) {
    // The settings' choice of items is kept and given back whatever happens.
    std::vector<bool> incluidos;
    for (auto &item : *itens_) {
        incluidos.push_back(item->Incluido);
        item->Incluido = std::find(classes.begin(), classes.end(), item->Descricao().Classe) != classes.end();
    }
    struct TRestaura {
        TListaItens &itens;
        const std::vector<bool> &incluidos;
        ~TRestaura() {
            for (std::size_t i = 0; i < itens.size(); ++i) itens[i]->Incluido = incluidos[i];
        }
    } restaura{*itens_, incluidos};
    const TContextoItem contexto = TContextoItem::Hoje(sistema, grid, significancias, pesquisa);
    TAvaliacao avaliacao(sistema);
    TPaginacao paginacao(avaliacao, *itens_, contexto, *configuracao_);
    paginacao.NovaView(nullptr, 100);
    return ImprimePaginas(paginacao, dispositivo, 1, 1 << 30, 1, progresso);
}

int TDocumentoRelatorio::Paginas(TPaginaRelatorio &pagina, TProgresso *progresso) {
    return Repagina(pagina.Paginacao(), progresso);
}

} // namespace zelto
