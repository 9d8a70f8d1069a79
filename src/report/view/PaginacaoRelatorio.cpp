#include "view/PaginacaoRelatorio.h"

#include "config/ConfiguracaoRelatorio.h"

#include <QPainter>

#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>

namespace zelto {

void AplicaPaginaConfiguracao(TArqEditor &e, const TConfiguracaoRelatorio &c) {
    const TConfiguracaoRelatorio::TMargens m = c.MargensDaPagina();
    e.SetPage(c.LarguraPagina - m.Esquerda - m.Direita, m.Esquerda,
              c.AlturaPagina - m.Superior - m.Inferior, m.Superior, c.LarguraPagina, c.AlturaPagina);
}

TPaginacao::TPaginacao(TAvaliacao &avaliacao, const TListaItens &itens, TContextoItem contexto,
                       const TConfiguracaoRelatorio &configuracao)
    : proprio_(std::make_unique<TRelatorio>(avaliacao, itens, contexto, configuracao)), relatorio_(*proprio_),
      itens_(itens), configuracao_(configuracao) {}

TPaginacao::TPaginacao(TRelatorio &relatorio)
    : relatorio_(relatorio), itens_(relatorio.Itens()), configuracao_(relatorio.Configuracao()) {}

TPaginacao::~TPaginacao() = default;

bool TPaginacao::RefreshReport(QPaintDevice *canvas, int zoom, TProgresso *progresso) {
    double passo = 0;
    if (!relatorio_.Avaliacao().CompletaCalculos(progresso, passo)) return false;
    relatorio_.EsqueceTudo();
    NovaView(canvas, zoom);
    RenderPage(1);
    return true;
}

void TPaginacao::NovaView(QPaintDevice *canvas, int zoom) {
    view_ = std::make_unique<TViewRelat>(canvas, zoom);
    AplicaConfiguracao();
}

void TPaginacao::ConfiguracaoMudou() {
    relatorio_.EsqueceTudo();
    AplicaConfiguracao();
}

void TPaginacao::AplicaConfiguracao() {
    if (!view_) return;
    AplicaPaginaConfiguracao(*view_, configuracao_);
    const TConfiguracaoRelatorio &c = configuracao_;
    view_->DefineCabecalho(c.Cabecalho.Texto.isEmpty()
                               ? std::function<void(TArqEditor &)>()
                               : [&c](TArqEditor &e) { e.WriteHeaderFooterText(c.Cabecalho); });
    view_->DefineRodape(c.Rodape.Texto.isEmpty()
                            ? std::function<void(TArqEditor &)>()
                            : [&c](TArqEditor &e) { e.WriteHeaderFooterText(c.Rodape); });
    paginas_.clear();
    desenhos_.clear();
    itensInicio_.assign(itens_.size(), TInicioItem{});
    view_->TotalPages = -1;
}

void TPaginacao::RenderPage(int n, QPainter *pintor, TProgresso *progresso) {
    n = std::max(0, n);
    RenderPages(n, n, pintor, progresso, {});
}

void TPaginacao::Dispoe(int ate, TProgresso *progresso) {
    if (!view_) return;
    TViewRelat &v = *view_;
    if (itensInicio_.size() != itens_.size()) itensInicio_.assign(itens_.size(), TInicioItem{});
    if (v.TotalPages >= 0) ate = std::min(ate, v.TotalPages);
    const int primeira = static_cast<int>(desenhos_.size()) + 1; // the first page not recorded
    if (primeira > ate) return;

    // Resume at a cached start from which page `primeira` is laid out whole: one whose item
    // began on an earlier page, or at the top of that page; else at the beginning.
    std::size_t item = 0;
    bool doInicio = true;
    TInicioPagina inicio;
    for (std::size_t j = std::min(paginas_.size(), static_cast<std::size_t>(primeira)); j-- > 0;) {
        const TInicioPagina &s = paginas_[j];
        if (s.Pagina < primeira || (s.Pagina == primeira && s.Y <= v.TopoTexto())) {
            inicio = s;
            doInicio = false;
            break;
        }
    }
    const int alvo = v.TargetPage, alvoFinal = v.TargetLastPage;
    v.TargetLastPage = ate == INT_MAX ? 0 : ate;
    v.Line.clear();
    v.LineWidth = v.LineHeight = v.LineBlanks = 0;
    v.InTable = false;
    v.Grava(true);
    if (!doInicio) {
        item = static_cast<std::size_t>(inicio.Item);
        v.CurrentPage = inicio.Pagina;
        v.Y = inicio.Y;
    } else {
        v.Reinicia();
    }
    v.PaginaGravada = [&](int pagina, TDesenhoPagina desenho) {
        if (pagina == static_cast<int>(desenhos_.size()) + 1 && pagina >= primeira)
            desenhos_.push_back(std::make_shared<const TDesenhoPagina>(std::move(desenho)));
    };

    // As each page begins, the item being written then and where it began are its start.
    std::size_t itemCorrente = item;
    TInicioItem inicioCorrente{v.CurrentPage, v.Y};
    bool pendente = false; // the current item begins on the page that is starting
    v.AfterPageChange = [&](TViewRelat &w) {
        if (pendente) inicioCorrente = {w.CurrentPage, w.Y};
        const auto p = static_cast<std::size_t>(w.CurrentPage);
        if (paginas_.size() == p - 1)
            paginas_.push_back({static_cast<int>(itemCorrente), inicioCorrente.Pagina,
                                inicioCorrente.Y});
        if (progresso) progresso->TextoAuxiliar("(página " + std::to_string(p) + ")");
    };
    // A page that ends gets its header and footer and is kept.
    v.BeforePageChange = [&](TViewRelat &w) {
        w.DesenhaCabecalhoRodape();
        w.EntregaPagina();
    };

    while (!v.Encerrada() && item < itens_.size()) {
        TItemAvaliacao &it = *itens_[item];
        if (!relatorio_.NoRelatorio(item)) {
            itensInicio_[item] = {};
            ++item;
            continue;
        }
        // Every item starts on a line of its own, in the same writer state.
        v.TerminaLinha();
        v.SetFont(TFonte{});
        v.AlignLeft();
        v.ClearTabs();
        itemCorrente = item;
        if (!v.Fits(it.AlturaMinima()) && v.Y > v.TopoTexto()) {
            pendente = true;
            v.NewPage();
            pendente = false;
            if (v.Encerrada()) break;
        }
        inicioCorrente = {v.CurrentPage, v.Y};
        if (paginas_.empty())
            paginas_.push_back({static_cast<int>(item), inicioCorrente.Pagina, inicioCorrente.Y});
        itensInicio_[item] = inicioCorrente;
        v.ItemAtual = static_cast<int>(item);
        v.ParteAtual = -1;
        v.AlturaParte = it.AlturaMinima();
        relatorio_.Conteudo(item).Escreve(v);
        v.AlturaParte = 0;
        ++item;
    }
    // A run that stopped after its last page (inside the last item) has not seen the end.
    if (item >= itens_.size() && !v.Encerrada()) {
        v.TerminaLinha();
        v.DesenhaCabecalhoRodape();
        v.EntregaPagina();
        v.TotalPages = v.CurrentPage;
    }
    v.AfterPageChange = nullptr;
    v.BeforePageChange = nullptr;
    v.PaginaGravada = nullptr;
    v.Grava(false);
    v.TargetPage = alvo;
    v.TargetLastPage = alvoFinal;
}

bool TPaginacao::RenderPages(int de, int ate, QPainter *pintor, TProgresso *progresso,
                             const std::function<bool(int)> &fimDePagina) {
    if (!view_) return false;
    TViewRelat &v = *view_;
    if (de <= 0) {
        // Every page laid out, none drawn: the page count.
        Dispoe(INT_MAX, progresso);
        return true;
    }
    Dispoe(ate, nullptr);
    v.AreasGraficas.clear();
    v.TargetPage = de;
    const int ultima = std::min(ate, static_cast<int>(desenhos_.size()));
    if (de > ultima) return true; // beyond the end: nothing to draw
    std::optional<QPainter> proprio;
    if (!pintor && v.Dispositivo()) {
        proprio.emplace(v.Dispositivo());
        pintor = &*proprio;
    }
    if (!pintor) return true;
    for (int p = de; p <= ultima; ++p) {
        v.TargetPage = p;
        v.DefinePintor(pintor);
        v.PintaDesenho(*desenhos_[static_cast<std::size_t>(p - 1)]);
        v.DefinePintor(nullptr);
        if (p < ultima && fimDePagina && !fimDePagina(p)) return false;
    }
    return true;
}

int TPaginacao::TotalPages(TProgresso *progresso) {
    if (!view_) return 0;
    if (view_->TotalPages < 0) RenderPage(0, nullptr, progresso);
    return view_->TotalPages;
}

bool TPaginacao::AvancaContagem(int paginas) {
    if (!view_) return true;
    if (view_->TotalPages >= 0) return true;
    // Lays out a few more pages after the last one laid out; the drawn page stays as it is.
    Dispoe(static_cast<int>(desenhos_.size()) + std::max(1, paginas), nullptr);
    return view_->TotalPages >= 0;
}

int TPaginacao::ItemAtPosition(int y) const {
    if (!view_) return -1;
    if (y < view_->TopoTexto()) return kAcimaDoTexto;
    if (y > view_->FundoTexto()) return kAbaixoDoTexto;
    const int pagina = view_->TargetPage;
    int achado = -1;
    for (std::size_t i = 0; i < itensInicio_.size(); ++i) {
        const TInicioItem &s = itensInicio_[i];
        if (s.Pagina == 0) continue;
        if (s.Pagina < pagina || (s.Pagina == pagina && s.Y <= y))
            achado = static_cast<int>(i);
        else
            break;
    }
    return achado;
}

void TPaginacao::Invalidate(int item) {
    item = std::max(0, item);
    for (std::size_t j = static_cast<std::size_t>(item); j < itens_.size(); ++j) relatorio_.Esquece(j);
    int corte = INT_MAX;
    for (std::size_t j = static_cast<std::size_t>(item); j < itensInicio_.size(); ++j) {
        if (itensInicio_[j].Pagina > 0) corte = std::min(corte, itensInicio_[j].Pagina);
        itensInicio_[j] = {};
    }
    for (std::size_t i = 0; i < paginas_.size(); ++i) {
        if (paginas_[i].Item >= item || static_cast<int>(i) + 1 > corte) {
            paginas_.resize(i);
            break;
        }
    }
    // The pages from the changed item's first page on are laid out again; so is the last page
    // whose start is kept, which may take what the item now writes at its end.
    std::size_t manter = paginas_.empty() ? 0 : paginas_.size() - 1;
    if (corte != INT_MAX) manter = std::min(manter, static_cast<std::size_t>(corte - 1));
    if (desenhos_.size() > manter) desenhos_.resize(manter);
    if (view_) view_->TotalPages = -1;
}

TInicioItem TPaginacao::InicioDoItem(int item) {
    if (item < 0 || static_cast<std::size_t>(item) >= itens_.size()) return {};
    if (itensInicio_.size() > static_cast<std::size_t>(item) &&
        itensInicio_[static_cast<std::size_t>(item)].Pagina == 0 &&
        relatorio_.NoRelatorio(static_cast<std::size_t>(item)))
        RenderPage(0);
    return itensInicio_[static_cast<std::size_t>(item)];
}

std::optional<TPontoGrafico> TPaginacao::PontoGrafico(QPoint pixel) const {
    if (!view_) return std::nullopt;
    for (const TAreaGrafico &a : view_->AreasGraficas) {
        if (!a.Retangulo.contains(pixel) || !a.TemMapa || a.Item < 0 ||
            static_cast<std::size_t>(a.Item) >= itens_.size())
            continue;
        // The pixel of the picture under the click, then chart units.
        const double bx = (pixel.x() - a.Retangulo.left()) * static_cast<double>(a.TamanhoImagem.width()) /
                          std::max(1, a.Retangulo.width());
        const double by = (pixel.y() - a.Retangulo.top()) * static_cast<double>(a.TamanhoImagem.height()) /
                          std::max(1, a.Retangulo.height());
        const TMapaEixos &m = a.Mapa;
        TPontoGrafico p;
        p.Item = a.Item;
        p.Parte = a.Parte;
        p.X = m.EscalaX != 0 ? (bx - m.OrigemX) / m.EscalaX + m.MinimoX : m.MinimoX;
        p.Y = m.EscalaY != 0 ? (by - m.OrigemY) / m.EscalaY + m.MinimoY : m.MinimoY;
        // Three pixels of the picture either side.
        constexpr double tolerancia = 3;
        p.ToleranciaX = m.EscalaX != 0 ? tolerancia / std::fabs(m.EscalaX) : 0;
        p.ToleranciaY = m.EscalaY != 0 ? tolerancia / std::fabs(m.EscalaY) : 0;
        return p;
    }
    return std::nullopt;
}

std::vector<std::string> TPaginacao::GraphClick(QPoint pixel) {
    const std::optional<TPontoGrafico> p = PontoGrafico(pixel);
    if (!p) return {};
    TItemAvaliacao &item = *itens_[static_cast<std::size_t>(p->Item)];
    // The part is computed again for its point descriptions; what it writes is not kept.
    TContextoItem contexto = relatorio_.Contexto();
    TConteudo rascunho;
    contexto.Conteudo = &rascunho;
    item.DefineContexto(&contexto);
    std::vector<std::string> linhas;
    try {
        item.Calcula(std::max(0, p->Parte));
        linhas = item.CliqueGrafico(p->X, p->Y, p->ToleranciaX, p->ToleranciaY);
    } catch (...) {
        linhas.clear();
    }
    item.DefineContexto(nullptr);
    if (linhas.size() > 3) linhas.resize(3);
    return linhas;
}

} // namespace zelto
