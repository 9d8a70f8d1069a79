#include "evaluation/ItemAvaliacao.h"

#include "config/ConfiguracaoRelatorio.h"
#include "config/Hexadecimal.h"
#include "common/Numeros.h"
#include "common/Texto.h"
#include "worksheet/Gridzelto.h"
#include "writer/LayoutTabela.h"

#include <algorithm>
#include <cstdio>
#include <climits>
#include <cmath>

namespace zelto {

namespace {

constexpr double kTwipsPorMm = 56.69291338582677;

} // namespace

// ---- TItemAvaliacao ---------------------------------------------------------------------

TContextoItem TContextoItem::Hoje(TSistema &sistema, const TGridzelto &grid,
                                  const TSignificancias &significancias,
                                  const TPesquisa *pesquisa) {
    TContextoItem c;
    c.Sistema = &sistema;
    c.Grid = &grid;
    c.Significancias = &significancias;
    c.Pesquisa = pesquisa;
    c.Inferencial = grid.Modo.Inferencial;
    c.Data = QDate::currentDate();
    return c;
}

TItemAvaliacao::TItemAvaliacao(const TDescricaoItem &d)
    : Titulo(d.Titulo), TituloDescritivo(d.TituloDescritivo ? d.TituloDescritivo : d.Titulo),
      Tipo(d.Tipo), OferecidoDescritivo(d.TituloDescritivo != nullptr), descricao_(d) {}

TItemAvaliacao::~TItemAvaliacao() = default;

void TItemAvaliacao::Calcula(int /*parte*/) {}

void TItemAvaliacao::Imprime(int /*parte*/) {}

void TItemAvaliacao::Copia(const TItemAvaliacao &outro) {
    FonteTitulo = outro.FonteTitulo;
    FonteCorpo = outro.FonteCorpo;
    FonteComentario = outro.FonteComentario;
    Espacamento = outro.Espacamento;
    Comentarios = outro.Comentarios;
}

TRegistroConfiguracao TItemAvaliacao::Registro() {
    TRegistroConfiguracao r;
    r.Secao = Titulo;
    r.Item = this;
    return r;
}

int TItemAvaliacao::AlturaMinima() const { return 2 * FonteTitulo.Tamanho * 20 + FonteCorpo.Tamanho * 20; }

TFonte TItemAvaliacao::FonteCelula(int /*linha*/, int /*coluna*/) const { return FonteCorpo; }

// ---- Helpers ------------------------------------------------------------------------------

const TContextoItem &TItemAvaliacao::Ctx() const {
    if (!ctx_) throw TErroCalculo("item sem contexto");
    return *ctx_;
}

TSistema &TItemAvaliacao::Sistema() const {
    if (!Ctx().Sistema) throw TErroCalculo("sem sistema de regressão");
    return *ctx_->Sistema;
}

const TGridzelto &TItemAvaliacao::Grid() const {
    if (!Ctx().Grid) throw TErroCalculo("sem planilha");
    return *ctx_->Grid;
}

const TSignificancias &TItemAvaliacao::Sig() const {
    if (!Ctx().Significancias) throw TErroCalculo("sem significâncias");
    return *ctx_->Significancias;
}

const TConfiguracaoRelatorio &TItemAvaliacao::Config() const {
    static const TConfiguracaoRelatorio padrao;
    return Ctx().Configuracao ? *ctx_->Configuracao : padrao;
}

TConteudo &TItemAvaliacao::E() const {
    if (!Ctx().Conteudo) throw TErroCalculo("sem conteúdo");
    return *ctx_->Conteudo;
}

std::string TItemAvaliacao::Num(long double x) const {
    int usados = -1;
    std::string r = Config().Numero.Formata(x, limiteDecimais_ < 0 ? 18 : limiteDecimais_, &usados);
    if (usados >= 0) decimaisUsados_ = std::min(decimaisUsados_, usados);
    return r;
}

void TItemAvaliacao::Corpo() const { E().SetFont(FonteCorpo); }

void TItemAvaliacao::Comentario() const { E().SetFont(FonteComentario); }

void TItemAvaliacao::Linha(const std::string &texto) const {
    Corpo();
    E().WriteLine(QString::fromStdString(texto));
}

void TItemAvaliacao::LinhaVazia() const { E().NewParagraph(); }

void TItemAvaliacao::LinhaComentario(const std::string &texto) const {
    if (!Comentarios) return;
    Comentario();
    E().WriteLine(QString::fromStdString(texto));
}

namespace {

template <class L> std::vector<TLinhaConteudo> LinhasDoConteudo(const std::vector<L> &linhas) {
    std::vector<TLinhaConteudo> r;
    r.reserve(linhas.size());
    for (const auto &l : linhas) r.push_back({QString::fromStdString(l.Rotulo), QString::fromStdString(l.Valor)});
    return r;
}

} // namespace

void TItemAvaliacao::LinhasRotuladas(const std::vector<TLinhaRotulada> &linhas, const char *separador) const {
    Corpo();
    E().LinhasRotuladas(LinhasDoConteudo(linhas), QString::fromUtf8(separador));
}

void TItemAvaliacao::LinhasTabuladas(const std::vector<TLinhaRotulada> &linhas) const {
    Corpo();
    E().LinhasTabuladas(LinhasDoConteudo(linhas));
}

void TItemAvaliacao::EscreveTabela(int linhas, int colunas) const {
    const auto *tab = dynamic_cast<const TItemAvaliacaoTab *>(this);
    if (linhas <= 0 || colunas <= 0) return;

    // Every cell first: the layout is decided from all of them.
    struct TCelula {
        QString Texto;
        TFonte Fonte;
        int Alinhamento = apEsquerda;
        int Decimais = INT_MAX; // fewest decimals a number of the cell was written with
    };
    const auto celula = [&](int l, int c) {
        TCelula r;
        r.Fonte = FonteCorpo;
        decimaisUsados_ = INT_MAX;
        try {
            r.Texto = QString::fromStdString(TextoCelula(l, c));
            r.Fonte = FonteCelula(l, c);
            r.Alinhamento = AlinhamentoCelula(l, c);
        } catch (...) {
            r.Texto = QString::fromUtf8(kValorInvalido);
        }
        r.Decimais = decimaisUsados_;
        return r;
    };
    std::vector<std::vector<TCelula>> celulas(static_cast<std::size_t>(linhas));
    for (int l = 0; l < linhas; ++l)
        for (int c = 0; c < colunas; ++c) celulas[l].push_back(celula(l, c));
    // One count of decimals per column: a value with many integer digits loses decimals to the
    // format's digit limit, and the rest of its column then shows as many as it does.
    for (int c = 0; c < colunas; ++c) {
        int menor = INT_MAX;
        for (int l = 0; l < linhas; ++l) menor = std::min(menor, celulas[l][c].Decimais);
        if (menor == INT_MAX) continue;
        limiteDecimais_ = menor;
        for (int l = 0; l < linhas; ++l)
            if (celulas[l][c].Decimais != INT_MAX && celulas[l][c].Decimais > menor)
                celulas[l][c] = celula(l, c);
        limiteDecimais_ = -1;
    }

    std::vector<TCelulaConteudo> conteudo;
    conteudo.reserve(static_cast<std::size_t>(linhas) * static_cast<std::size_t>(colunas));
    for (int l = 0; l < linhas; ++l)
        for (const TCelula &x : celulas[l]) conteudo.push_back({x.Texto, x.Fonte, x.Alinhamento});
    E().Tabela(linhas, colunas, std::move(conteudo), FonteCorpo,
               tab ? std::optional<TConfigTabela>(*tab) : std::nullopt);
}

// ---- TItemAvaliacaoTab --------------------------------------------------------------------

TItemAvaliacaoTab::TItemAvaliacaoTab(const TDescricaoItem &d) : TItemAvaliacao(d) {
    FlagsFormato = d.Flags;
}

void TItemAvaliacaoTab::Copia(const TItemAvaliacao &outro) {
    TItemAvaliacao::Copia(outro);
    if (const auto *t = dynamic_cast<const TItemAvaliacaoTab *>(&outro)) Formatos = t->Formatos;
}

TRegistroConfiguracao TItemAvaliacaoTab::Registro() {
    TRegistroConfiguracao r = TItemAvaliacao::Registro();
    r.Tabela = this;
    return r;
}

int TItemAvaliacaoTab::AlturaMinima() const {
    // The title block (a blank line, the title, a blank line), a heading of up to three lines
    // and a row below it: a title never stays alone at the foot of a page.
    return 3 * FonteTitulo.Tamanho * 23 + 3 * Formatos[rtPrimeiraLinha].Fonte.Tamanho * 23 +
           2 * FonteCorpo.Tamanho * 23;
}

TFonte TItemAvaliacaoTab::FonteCelula(int linha, int coluna) const {
    if (linha == 0) return Formatos[rtPrimeiraLinha].Fonte;
    if (coluna == 0) return Formatos[rtPrimeiraColuna].Fonte;
    return Formatos[rtCorpo].Fonte;
}

// ---- TItemAvaliacaoGraf -------------------------------------------------------------------

TItemAvaliacaoGraf::TItemAvaliacaoGraf(const TDescricaoItem &d) : TItemAvaliacao(d) {}

void TItemAvaliacaoGraf::Copia(const TItemAvaliacao &outro) {
    TItemAvaliacao::Copia(outro);
    const auto *g = dynamic_cast<const TItemAvaliacaoGraf *>(&outro);
    if (!g) return;
    Cores = g->Cores;
    EstiloCaneta = g->EstiloCaneta;
    LarguraCaneta = g->LarguraCaneta;
    FonteSeries = g->FonteSeries;
    FonteEscalaX = g->FonteEscalaX;
    FonteEscalaY = g->FonteEscalaY;
    Eixos = g->Eixos;
    OpcoesSerie = g->OpcoesSerie;
    LarguraGrafico = g->LarguraGrafico;
    AlturaGrafico = g->AlturaGrafico;
    OpcoesMGr = g->OpcoesMGr;
    ValorMGr = g->ValorMGr;
}

std::string TItemAvaliacaoGraf::EstadoDaSessao() const {
    // Exact values (hexadecimal floating point); a NaN reads the same each time.
    std::string s;
    char b[64];
    for (const TEixo &e : Eixos) {
        std::snprintf(b, sizeof b, "%a;%a;", e.Minimo, e.Maximo);
        s += b;
    }
    return s;
}

TRegistroConfiguracao TItemAvaliacaoGraf::Registro() {
    TRegistroConfiguracao r = TItemAvaliacao::Registro();
    r.Grafico = this;
    r.Series = Tipo == tiSeries;
    return r;
}

int TItemAvaliacaoGraf::AlturaMinima() const {
    return 2 * FonteTitulo.Tamanho * 20 +
           static_cast<int>(std::lround(AlturaGrafico * kTwipsPorMm));
}

} // namespace zelto
