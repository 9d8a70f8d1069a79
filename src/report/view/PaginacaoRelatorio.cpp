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
    itensInicio_.assign(itens_.size(), TInicioItem{});
    view_->TotalPages = -1;
}

void TPaginacao::RenderPage(int n, QPainter *pintor, TProgresso *progresso) {
    n = std::max(0, n);
    RenderPages(n, n, pintor, progresso, {});
}

bool TPaginacao::RenderPages(int de, int ate, QPainter *pintor, TProgresso *progresso,
                             const std::function<bool(int)> &fimDePagina) {
    if (!view_) return false;
    TViewRelat &v = *view_;
    const int n = de; // 0: every page, none drawn
    if (itensInicio_.size() != itens_.size()) itensInicio_.assign(itens_.size(), TInicioItem{});
    v.AreasGraficas.clear();
    v.TargetPage = de;
    v.TargetLastPage = n > 0 ? ate : 0;
    std::optional<QPainter> proprio;
    if (soMede_) pintor = nullptr;
    if (!pintor && n > 0 && v.Dispositivo() && !soMede_) {
        proprio.emplace(v.Dispositivo());
        pintor = &*proprio;
    }
    v.DefinePintor(n > 0 ? pintor : nullptr);

    // Resume at the start of the nearest cached page at or before the first page.
    const std::size_t k = std::min(paginas_.size(), static_cast<std::size_t>(n));
    std::size_t item = 0;
    v.Line.clear();
    v.LineWidth = v.LineHeight = v.LineBlanks = 0;
    v.InTable = false;
    v.AfterPageChange = nullptr;
    v.BeforePageChange = nullptr;
    if (k > 0) {
        const TInicioPagina &s = paginas_[k - 1];
        item = static_cast<std::size_t>(s.Item);
        v.CurrentPage = s.Pagina;
        v.Y = s.Y;
    } else {
        v.Reinicia();
    }

    // As each page begins, the item being written then and where it began are its start.
    std::size_t itemCorrente = item;
    TInicioItem inicioCorrente{v.CurrentPage, v.Y};
    bool pendente = false; // the current item begins on the page that is starting
    bool cancelado = false;
    v.AfterPageChange = [&](TViewRelat &w) {
        if (pendente) inicioCorrente = {w.CurrentPage, w.Y};
        const auto p = static_cast<std::size_t>(w.CurrentPage);
        if (paginas_.size() == p - 1)
            paginas_.push_back({static_cast<int>(itemCorrente), inicioCorrente.Pagina,
                                inicioCorrente.Y});
        if (n == 0 && progresso) progresso->TextoAuxiliar("(página " + std::to_string(p) + ")");
    };
    // A drawn page that ends gets its header and footer; the caller turns the device's page.
    v.BeforePageChange = [&](TViewRelat &w) {
        if (!w.Desenhando() || w.CurrentPage >= ate) return;
        w.DesenhaCabecalhoRodape();
        if (fimDePagina && !fimDePagina(w.CurrentPage)) {
            cancelado = true;
            w.TargetLastPage = w.CurrentPage; // nothing more is drawn or laid out
        }
    };

    const int ultima = n == 0 ? INT_MAX : ate;
    while (v.CurrentPage <= ultima && !cancelado && item < itens_.size()) {
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
            if (v.CurrentPage > ultima || cancelado) break;
        }
        inicioCorrente = {v.CurrentPage, v.Y};
        if (paginas_.empty())
            paginas_.push_back({static_cast<int>(item), inicioCorrente.Pagina, inicioCorrente.Y});
        itensInicio_[item] = inicioCorrente;
        v.ItemAtual = static_cast<int>(item);
        v.ParteAtual = -1;
        relatorio_.Conteudo(item).Escreve(v);
        ++item;
    }
    // A run that stopped after its last page (inside the last item) has not seen the end.
    const bool fim = item >= itens_.size() && !cancelado && !v.Encerrada();
    if (fim) v.TerminaLinha();
    v.AfterPageChange = nullptr;
    v.BeforePageChange = nullptr;
    if (fim) v.TotalPages = v.CurrentPage;
    // The header and the footer of the last page drawn, when the report has it.
    const int pagina = v.CurrentPage;
    const int ultimaDesenhada = std::min(ate, pagina);
    if (n > 0 && !soMede_ && !cancelado && ultimaDesenhada >= de) {
        v.CurrentPage = ultimaDesenhada;
        v.DesenhaCabecalhoRodape();
        v.CurrentPage = pagina;
    }
    v.TargetLastPage = 0;
    v.DefinePintor(nullptr);
    return !cancelado;
}

int TPaginacao::TotalPages(TProgresso *progresso) {
    if (!view_) return 0;
    if (view_->TotalPages < 0) RenderPage(0, nullptr, progresso);
    return view_->TotalPages;
}

bool TPaginacao::AvancaContagem(int paginas) {
    if (!view_) return true;
    TViewRelat &v = *view_;
    if (v.TotalPages >= 0) return true;
    const int alvo = v.TargetPage;
    std::vector<TAreaGrafico> areas = std::move(v.AreasGraficas);
    auto devolve = [&] {
        soMede_ = false;
        v.TargetPage = alvo;
        v.AreasGraficas = std::move(areas);
    };
    // The run resumes at the start of the last page laid out and stops after `ate`.
    const int ate = static_cast<int>(paginas_.size()) + std::max(1, paginas);
    soMede_ = true;
    try {
        RenderPages(ate, ate, nullptr, nullptr, {});
    } catch (...) {
        devolve();
        throw;
    }
    devolve();
    return v.TotalPages >= 0;
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
