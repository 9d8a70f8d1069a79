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

// A twip length as the millimetres the writers take.
double Milimetros(int twips) { return twips / kTwipsPorMm; }

// Reads a hexadecimal key: `le` takes the fields from the reader; the fields are kept only when
// the key is whole. A missing key reads `padrao`. False when the key was present but damaged
// (the default is read then).
template <class F>
bool LeChaveHex(const TArquivoIni &ini, const std::string &secao, const std::string &chave,
                const char *padrao, F le) {
    const bool existe = ini.Existe(secao, chave);
    if (existe) {
        const std::string texto = ini.LeTexto(secao, chave);
        TLeitorHex h(AparaBrancos(texto));
        if (le(h) && h.Completo()) return true;
    }
    TLeitorHex h(padrao);
    le(h);
    return !existe;
}

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

bool TItemAvaliacao::LeConfiguracao(const TArquivoIni &ini) {
    bool ok = LeFonteRelatorio(ini, Titulo, "Tit", FonteTitulo);
    ok = LeFonteRelatorio(ini, Titulo, "Crp", FonteCorpo) && ok;
    ok = LeFonteRelatorio(ini, Titulo, "Cmn", FonteComentario) && ok;
    ok = LeChaveHex(ini, Titulo, "InT", "01640001",
                    [&](TLeitorHex &h) {
                        const bool incluido = h.Byte() != 0;
                        const std::uint16_t espacamento = h.Palavra();
                        const bool comentarios = h.Byte() != 0;
                        // Line spacing: single, one and a half or double (in percent).
                        if (!h.Ok() || espacamento < 100 || espacamento > 200) return false;
                        Incluido = incluido;
                        Espacamento = espacamento;
                        Comentarios = comentarios;
                        return true;
                    }) &&
         ok;
    return ok;
}

void TItemAvaliacao::GravaConfiguracao(TArquivoIni &ini) const {
    ini.EscreveFonte("Tit", Titulo, FonteParaIni(FonteTitulo));
    ini.EscreveFonte("Crp", Titulo, FonteParaIni(FonteCorpo));
    ini.EscreveFonte("Cmn", Titulo, FonteParaIni(FonteComentario));
    TEscritorHex h;
    h.Byte(Incluido).Palavra(Espacamento).Byte(Comentarios);
    ini.EscreveTexto(Titulo, "InT", h.Texto());
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

TArqEditor &TItemAvaliacao::E() const {
    if (!Ctx().Escritor) throw TErroCalculo("sem escritor");
    return *ctx_->Escritor;
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

void TItemAvaliacao::LinhasRotuladas(const std::vector<TLinhaRotulada> &linhas, const char *separador) const {
    TArqEditor &e = E();
    Corpo();
    const int ponto = std::max(1, e.MeasureText(QStringLiteral(".")));
    int maior = 0;
    for (const TLinhaRotulada &l : linhas)
        maior = std::max(maior, e.MeasureText(QString::fromStdString(l.Rotulo)));
    const int parada = ((maior + 2) / 720 + 1) * 720 - ponto;
    // The stop itself is set a dot further, on the grid: a reader that measures the label and
    // its dots a little wider than this writer did still reaches the same stop.
    const double posicao = Milimetros(parada + ponto);
    const std::uint8_t tipo = 0;
    e.SetTabs(&posicao, 0, &tipo);
    for (const TLinhaRotulada &l : linhas) {
        const QString rotulo = QString::fromStdString(l.Rotulo);
        // The dots leave room for the blank that writers put before a tab after a word.
        const int pontos =
            std::max(0, (parada - e.MeasureText(rotulo) - e.MeasureSpace()) / ponto);
        e.WriteText(rotulo + QString(pontos, QLatin1Char('.')) + QLatin1Char('\t') + QString::fromUtf8(separador));
        e.WriteLine(QString::fromStdString(l.Valor));
    }
    e.ClearTabs();
}

void TItemAvaliacao::LinhasTabuladas(const std::vector<TLinhaRotulada> &linhas) const {
    TArqEditor &e = E();
    Corpo();
    // One stop for all, on the 720-twip grid, two blanks clear of the widest label: a reader
    // that measures a little wider still reaches it.
    int maior = 0;
    for (const TLinhaRotulada &l : linhas)
        maior = std::max(maior, e.MeasureText(QString::fromStdString(l.Rotulo)));
    const double posicao = Milimetros(((maior + 2 * e.MeasureSpace()) / 720 + 1) * 720);
    const std::uint8_t tipo = 0;
    e.SetTabs(&posicao, 0, &tipo);
    for (const TLinhaRotulada &l : linhas) e.WriteLine(QString::fromStdString(l.Rotulo + "\t" + l.Valor));
    e.ClearTabs();
}

void TItemAvaliacao::EscreveTabela(int linhas, int colunas) const {
    TArqEditor &e = E();
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

    std::vector<std::vector<TCelulaLayout>> medidas(static_cast<std::size_t>(linhas));
    for (int l = 0; l < linhas; ++l)
        for (const TCelula &x : celulas[l]) medidas[l].push_back({x.Texto, x.Fonte});
    const TLayoutTabela layout = CalculaLayoutTabela(medidas, e.TextWidth);

    for (std::size_t b = 0; b < layout.Blocos.size(); ++b) {
        const TLayoutTabela::TBloco &bloco = layout.Blocos[b];
        const int n = static_cast<int>(bloco.Colunas.size());
        if (b > 0) {
            // The next block of the columns, headed as the rest of the same table.
            e.SetFont(FonteCorpo);
            e.AlignLeft();
            e.NewParagraph();
            e.KeepWithNext(true);
            e.WriteLine(QStringLiteral("(continuação)"));
            e.KeepWithNext(false);
        }
        int total = 0;
        for (int w : bloco.Larguras) total += w;
        e.BeginTable(n, linhas, total, atCentro);
        for (int i = 0; i < n; ++i) e.GetColumn(i + 1).Largura = bloco.Larguras[static_cast<std::size_t>(i)];
        // The heading row repeats on every page a long table crosses, and is kept with the
        // first row below it: the room both take, roughly, in lines of their fonts.
        e.LinhasTitulo = linhas > 2 ? 1 : 0;
        int inicio = 0;
        for (int l = 0; l < std::min(linhas, 2); ++l) {
            int altura = 0;
            for (int i = 0; i < n; ++i) {
                const TCelula &x = celulas[l][bloco.Colunas[static_cast<std::size_t>(i)]];
                TFonte f = x.Fonte;
                f.Tamanho = layout.Tamanho(f);
                const double util = std::max(1, bloco.Larguras[static_cast<std::size_t>(i)] -
                                                     2 * TLayoutTabela::PaddingCelula);
                int quantas = 0;
                for (const QString &linha : LinhasCelula(TextoVisivel(x.Texto)))
                    quantas += std::max(1, static_cast<int>(std::ceil(LarguraTwips(f, linha) / util)));
                altura = std::max(altura, quantas * f.Tamanho * 23);
            }
            inicio += altura;
        }
        e.AlturaInicioTabela = inicio;
        if (tab) {
            // Each cell takes the background and borders of its region in the whole table: the
            // heading row, the last row, the first and last columns, or the body.
            const std::vector<int> origem = bloco.Colunas;
            e.FormatoLinha = [tab, &e, linhas, colunas, origem](int linha) {
                for (std::size_t i = 0; i < origem.size(); ++i) {
                    TColuna &col = e.GetColumn(static_cast<int>(i) + 1);
                    const TFormatoCelula &f = tab->Formatos[tab->Regiao(linha - 1, origem[i], linhas, colunas)];
                    col.CorFundo = f.Fundo;
                    col.BordasProprias = true;
                    for (int lado = 0; lado < 6; ++lado) {
                        const TLadoCelula &l = f.Lados[static_cast<std::size_t>(lado)];
                        col.Bordas[static_cast<std::size_t>(lado)] =
                            TBorda{l.Tipo, l.Multiplicidade, l.Espessura, false, l.Cor};
                    }
                }
            };
            e.FormatoLinha(1);
        }
        e.BeginRow();
        for (int l = 0; l < linhas; ++l) {
            if (l > 0) e.EndRow();
            for (int c : bloco.Colunas) {
                const TCelula &x = celulas[l][c];
                TFonte fonte = x.Fonte;
                fonte.Tamanho = layout.Tamanho(fonte);
                e.SetFont(fonte);
                switch (x.Alinhamento) {
                case apCentro: e.AlignCenter(); break;
                case apDireita: e.AlignRight(); break;
                case apJustificado: e.AlignJustify(); break;
                default: e.AlignLeft(); break;
                }
                // A carriage return inside the text breaks the cell into lines (the writers do it).
                e.WriteFormatted(x.Texto);
                e.NextCell();
            }
        }
        e.EndTable();
        e.FormatoLinha = nullptr;
    }
    e.SetFont(FonteCorpo);
    e.AlignLeft();
}

// ---- TItemAvaliacaoTab --------------------------------------------------------------------

TItemAvaliacaoTab::TItemAvaliacaoTab(const TDescricaoItem &d) : TItemAvaliacao(d) {
    FlagsFormato = d.Flags;
}

void TItemAvaliacaoTab::Copia(const TItemAvaliacao &outro) {
    TItemAvaliacao::Copia(outro);
    if (const auto *t = dynamic_cast<const TItemAvaliacaoTab *>(&outro)) Formatos = t->Formatos;
}

bool TItemAvaliacaoTab::LeConfiguracao(const TArquivoIni &ini) {
    bool ok = TItemAvaliacao::LeConfiguracao(ini);
    for (int r = 0; r < 5; ++r) {
        TFormatoCelula &f = Formatos[static_cast<std::size_t>(r)];
        const std::string tag = kEtiquetasRegiao[r];
        ok = LeFonteRelatorio(ini, Titulo, "F" + tag, f.Fonte) && ok;
        ok = LeChaveHex(ini, Titulo, "B" + tag, kBordasPadrao,
                        [&](TLeitorHex &h) {
                            std::array<TLadoCelula, 6> lados{};
                            for (int i = 0; i < 4; ++i) {
                                TLadoCelula &l = lados[static_cast<std::size_t>(i)];
                                l.Tipo = h.Byte();
                                l.Multiplicidade = h.Byte();
                                l.Espessura = h.Byte();
                                l.Cor = h.PalavraDupla();
                            }
                            if (!h.Ok()) return false;
                            lados[4] = lados[2];
                            lados[5] = lados[0];
                            f.Lados = lados;
                            return true;
                        }) &&
             ok;
        const std::string chave = "C" + tag;
        f.Fundo = CorBranca;
        if (ini.Existe(Titulo, chave)) {
            long long cor = -1;
            if (ConverteInteiro(ini.LeTexto(Titulo, chave), cor) && cor >= 0 && cor <= 0xFFFFFFFFLL)
                f.Fundo = static_cast<TCor>(cor);
            else
                ok = false;
        }
    }
    return ok;
}

void TItemAvaliacaoTab::GravaConfiguracao(TArquivoIni &ini) const {
    TItemAvaliacao::GravaConfiguracao(ini);
    for (int r = 0; r < 5; ++r) {
        const TFormatoCelula &f = Formatos[static_cast<std::size_t>(r)];
        const std::string tag = kEtiquetasRegiao[r];
        ini.EscreveFonte("F" + tag, Titulo, FonteParaIni(f.Fonte));
        TEscritorHex h;
        for (int i = 0; i < 4; ++i) {
            const TLadoCelula &l = f.Lados[static_cast<std::size_t>(i)];
            h.Byte(l.Tipo).Byte(l.Multiplicidade).Byte(l.Espessura).PalavraDupla(l.Cor);
        }
        ini.EscreveTexto(Titulo, "B" + tag, h.Texto());
        ini.EscreveTexto(Titulo, "C" + tag, std::to_string(f.Fundo));
    }
}

int TItemAvaliacaoTab::AlturaMinima() const {
    // The title block (a blank line, the title, a blank line), a heading of up to three lines
    // and a row below it: a title never stays alone at the foot of a page.
    return 3 * FonteTitulo.Tamanho * 23 + 3 * Formatos[rtPrimeiraLinha].Fonte.Tamanho * 23 +
           2 * FonteCorpo.Tamanho * 23;
}

TRegiaoTabela TItemAvaliacaoTab::Regiao(int linha, int coluna, int linhas, int colunas) const {
    if (linha == 0 && (FlagsFormato & 1)) return rtPrimeiraLinha;
    if (linha == linhas - 1 && (FlagsFormato & 2)) return rtUltimaLinha;
    if (coluna == 0 && (FlagsFormato & 4)) return rtPrimeiraColuna;
    if (coluna == colunas - 1 && (FlagsFormato & 8)) return rtUltimaColuna;
    return rtCorpo;
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

// The chart settings keep the memory of their origin: "Dados" holds the line pen's width in
// four bytes whose three upper bytes are the three low bytes of the sixth colour, so "Dados"
// is read after "Cores" and overwrites them, and writing stores the same bytes back.
bool TItemAvaliacaoGraf::LeConfiguracao(const TArquivoIni &ini) {
    bool ok = TItemAvaliacao::LeConfiguracao(ini);
    ok = LeFonteRelatorio(ini, Titulo, "FEX", FonteEscalaX) && ok;
    ok = LeFonteRelatorio(ini, Titulo, "FEY", FonteEscalaY) && ok;
    ok = LeFonteRelatorio(ini, Titulo, "FMR", FonteSeries) && ok;
    ok = LeChaveHex(ini, Titulo, "Cores", "FFFFFF00C0C0C000C0C0C0000000FF00FF000000D0D0D0D00000FF00",
                    [&](TLeitorHex &h) {
                        std::array<TCor, 7> cores{};
                        for (TCor &c : cores)
                            c = h.PalavraDupla();
                        if (!h.Ok()) return false;
                        Cores = cores;
                        return true;
                    }) &&
         ok;
    ok = LeChaveHex(ini, Titulo, "Eixos", "00020A000100020A0001",
                    [&](TLeitorHex &h) {
                        std::array<TEixo, 2> eixos = Eixos; // the manual ranges stay
                        for (TEixo &e : eixos) {
                            e.Modo = h.Byte();
                            e.Grade = h.Byte();
                            e.Divisoes = h.Palavra();
                            e.Extra = h.Byte();
                            if (e.Modo == 1) e.Modo = 0;
                            if (e.Divisoes > 100) return false;
                        }
                        if (!h.Ok()) return false;
                        Eixos = eixos;
                        return true;
                    }) &&
         ok;
    ok = LeChaveHex(ini, Titulo, "Dados", "03D00001D0D0D06464",
                    [&](TLeitorHex &h) {
                        const std::uint8_t o0 = h.Byte(), o1 = h.Byte(), estilo = h.Byte();
                        const std::uint32_t largura = h.PalavraDupla();
                        const std::uint8_t lg = h.Byte(), ag = h.Byte();
                        // The dialog's bounds: pens 1 to 10 wide, pictures 20 % to 255 %.
                        if (!h.Ok() || (largura & 0xFF) < 1 || (largura & 0xFF) > 10 || lg < 20 || ag < 20)
                            return false;
                        OpcoesSerie = {o0, o1};
                        EstiloCaneta = estilo;
                        LarguraCaneta = static_cast<std::uint8_t>(largura & 0xFF);
                        Cores[5] = (Cores[5] & 0xFF000000u) | (largura >> 8);
                        LarguraGrafico = lg;
                        AlturaGrafico = ag;
                        return true;
                    }) &&
         ok;
    if (Tipo == tiSeries)
        ok = LeChaveHex(ini, Titulo, "MGr", "0101000000010A00",
                        [&](TLeitorHex &h) {
                            std::array<std::uint8_t, 6> opcoes{};
                            for (std::uint8_t &o : opcoes)
                                o = h.Byte();
                            const std::uint16_t valor = h.Palavra();
                            if (!h.Ok()) return false;
                            OpcoesMGr = opcoes;
                            ValorMGr = valor;
                            return true;
                        }) &&
             ok;
    return ok;
}

void TItemAvaliacaoGraf::GravaConfiguracao(TArquivoIni &ini) const {
    TItemAvaliacao::GravaConfiguracao(ini);
    ini.EscreveFonte("FEX", Titulo, FonteParaIni(FonteEscalaX));
    ini.EscreveFonte("FEY", Titulo, FonteParaIni(FonteEscalaY));
    ini.EscreveFonte("FMR", Titulo, FonteParaIni(FonteSeries));
    TEscritorHex cores;
    for (TCor c : Cores)
        cores.PalavraDupla(c);
    ini.EscreveTexto(Titulo, "Cores", cores.Texto());
    TEscritorHex eixos;
    for (const TEixo &e : Eixos)
        eixos.Byte(e.Modo).Byte(e.Grade).Palavra(e.Divisoes).Byte(e.Extra);
    ini.EscreveTexto(Titulo, "Eixos", eixos.Texto());
    TEscritorHex dados;
    dados.Byte(OpcoesSerie[0])
        .Byte(OpcoesSerie[1])
        .Byte(EstiloCaneta)
        .PalavraDupla(LarguraCaneta | ((Cores[5] & 0x00FFFFFFu) << 8))
        .Byte(LarguraGrafico)
        .Byte(AlturaGrafico);
    ini.EscreveTexto(Titulo, "Dados", dados.Texto());
    if (Tipo == tiSeries) {
        TEscritorHex mgr;
        for (std::uint8_t o : OpcoesMGr)
            mgr.Byte(o);
        mgr.Palavra(ValorMGr);
        ini.EscreveTexto(Titulo, "MGr", mgr.Texto());
    }
}

int TItemAvaliacaoGraf::AlturaMinima() const {
    return 2 * FonteTitulo.Tamanho * 20 +
           static_cast<int>(std::lround(AlturaGrafico * kTwipsPorMm));
}

} // namespace zelto
