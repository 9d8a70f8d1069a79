// The paged report of the Windsor example (every item of the catalogue, the model of all eleven
// regressors): laying every page out, drawing one page from the cache, writing the PDF, and
// writing the RTF of the same report (for the comparison with a word processor's PDF
// conversion, bench/relatorio_pdf.sh), and drawing every graph item of the report alone (its
// parts computed, charted and painted into pictures that a writer without output receives). With ZELTO_BENCH_SAIDA set, the PDF and the RTF are
// also left in that folder.
#include "config/ConfiguracaoRelatorio.h"
#include "evaluation/Avaliacao.h"
#include "evaluation/Relatorio.h"
#include "items/Catalogo.h"
#include "items/GraficoItem.h"
#include "regression/Sistema.h"
#include "significance/Significancias.h"
#include "view/ImpressaoRelatorio.h"
#include "view/PaginacaoRelatorio.h"
#include "writer/RtfWriter.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <memory>

using namespace zelto;

// The worksheet's and the writer's alignments share names: the worksheet is read apart.
std::shared_ptr<TGridzelto> LeExemplo(const std::string &arquivo);

namespace {

struct TRelatorioWindsor {
    std::shared_ptr<TGridzelto> grid = LeExemplo(ZELTO_EXEMPLOS "/windsor.QV3");
    std::unique_ptr<TSistema> s;
    TListaItens itens = CriaCatalogo();
    TSignificancias sig;
    TConfiguracaoRelatorio config;
    std::unique_ptr<TAvaliacao> av;
    QImage imagem{794, 1123, QImage::Format_RGB32};

    TRelatorioWindsor() {
        if (!grid) return;
        s = std::make_unique<TSistema>(*grid);
        s->CarregaDados();
        std::vector<TTermo> termos{{1, 2}};
        for (std::uint16_t v = 2; v <= 12; ++v) termos.push_back({v, 1});
        s->DefineTermos(termos);
        if (!s->MontaSistema() || !s->Resolve()) return;
        s->CalculaEstatisticas();
        av = std::make_unique<TAvaliacao>(*s);
        config.Cabecalho = {QStringLiteral("Relatório de avaliação — página (página)"), TFonte{}, 2};
    }
    TContextoItem Contexto() {
        TContextoItem c;
        c.Sistema = s.get();
        c.Grid = grid.get();
        c.Significancias = &sig;
        c.Configuracao = &config;
        return c;
    }
    std::unique_ptr<TPaginacao> Paginacao() {
        auto p = std::make_unique<TPaginacao>(*av, itens, Contexto(), config);
        p->RefreshReport(&imagem, 100);
        return p;
    }
};

TRelatorioWindsor &Relatorio() {
    static TRelatorioWindsor r;
    return r;
}

QString Saida(const QString &nome) {
    const QByteArray pasta = qgetenv("ZELTO_BENCH_SAIDA");
    return pasta.isEmpty() ? QDir::temp().filePath(nome) : QDir(QString::fromLocal8Bit(pasta)).filePath(nome);
}

void BM_PaginaTodoRelatorio(benchmark::State &st) {
    auto p = Relatorio().Paginacao();
    for (auto _ : st) {
        p->Invalidate(0);
        p->RenderPage(0);
    }
    st.counters["paginas"] = p->View()->TotalPages;
}
BENCHMARK(BM_PaginaTodoRelatorio)->Unit(benchmark::kMillisecond);

void BM_DesenhaPaginaDoCache(benchmark::State &st) {
    auto p = Relatorio().Paginacao();
    const int total = p->TotalPages();
    const int pagina = st.range(0) == 0 ? total : std::min<int>(static_cast<int>(st.range(0)), total);
    for (auto _ : st) {
        Relatorio().imagem.fill(Qt::white);
        p->RenderPage(pagina);
    }
    st.counters["pagina"] = pagina;
}
// The first page, one inside the long sample table, the last page.
BENCHMARK(BM_DesenhaPaginaDoCache)->Arg(1)->Arg(8)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_EscrevePdf(benchmark::State &st) {
    const QString arquivo = Saida(QStringLiteral("windsor.pdf"));
    for (auto _ : st) {
        auto p = Relatorio().Paginacao();
        if (!ExportaPdf(*p, arquivo, nullptr)) st.SkipWithError("PDF not written");
    }
}
BENCHMARK(BM_EscrevePdf)->Unit(benchmark::kMillisecond);

void BM_EscreveRtf(benchmark::State &st) {
    const QString arquivo = Saida(QStringLiteral("windsor.rtf"));
    TRelatorioWindsor &r = Relatorio();
    for (auto _ : st) {
        tRTF_Writer rtf(arquivo);
        TRelatorio relatorio(*r.av, r.itens, r.Contexto(), r.config); // computed afresh each time
        if (!relatorio.Exporta(rtf, nullptr))
            st.SkipWithError("RTF not written");
    }
}
BENCHMARK(BM_EscreveRtf)->Unit(benchmark::kMillisecond);

// Every graph item of the catalogue (the series at their default limit of 10 parts): the
// pictures handed to a writer that keeps nothing.
void BM_DesenhaGraficos(benchmark::State &st) {
    TRelatorioWindsor &r = Relatorio();
    int figuras = 0;
    for (const auto &i : r.itens) {
        auto *g = dynamic_cast<TItemGrafico *>(i.get());
        i->Incluido = g != nullptr;
        if (g) g->GuardaFiguras = true;
    }
    for (auto _ : st) {
        TArqEditor nada; // writes no file: its closing reports failure, the items have drawn
        TRelatorio relatorio(*r.av, r.itens, r.Contexto(), r.config);
        relatorio.Exporta(nada, nullptr);
    }
    for (const auto &i : r.itens) {
        if (auto *g = dynamic_cast<TItemGrafico *>(i.get())) {
            figuras += static_cast<int>(g->Figuras.size());
            g->GuardaFiguras = false;
            g->Figuras.clear();
        }
        i->Incluido = true;
    }
    if (figuras == 0) st.SkipWithError("nothing drawn");
    st.counters["figuras"] = figuras;
}
BENCHMARK(BM_DesenhaGraficos)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (!Relatorio().av) return 1;
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
