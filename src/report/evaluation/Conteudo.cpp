#include "evaluation/Conteudo.h"

#include "chart/Chart.h"
#include "writer/LayoutTabela.h"

#include <algorithm>
#include <cmath>

namespace zelto {

namespace {

constexpr double kTwipsPorMm = 56.69291338582677;

// A twip length as the millimetres the writers take.
double Milimetros(int twips) { return twips / kTwipsPorMm; }

// A paragraph alignment (TAlinhamento) into a writer.
void AlinhaEm(TArqEditor &e, int alinhamento) {
    switch (alinhamento) {
    case apCentro: e.AlignCenter(); break;
    case apDireita: e.AlignRight(); break;
    case apJustificado: e.AlignJustify(); break;
    default: e.AlignLeft(); break;
    }
}

template <class... F> struct TVisita : F... {
    using F::operator()...;
};
template <class... F> TVisita(F...) -> TVisita<F...>;

} // namespace

void TConteudo::SetFont(const TFonte &fonte) { operacoes_.emplace_back(TFonteOp{fonte}); }
void TConteudo::Alinha(int alinhamento) { operacoes_.emplace_back(TAlinhaOp{alinhamento}); }
void TConteudo::WriteText(const QString &texto) { operacoes_.emplace_back(TTextoOp{texto, TTextoOp::Simples}); }
void TConteudo::WriteFormatted(const QString &texto) {
    operacoes_.emplace_back(TTextoOp{texto, TTextoOp::Formatado});
}
void TConteudo::WriteLine(const QString &texto) { operacoes_.emplace_back(TTextoOp{texto, TTextoOp::Linha}); }
void TConteudo::NewParagraph() { operacoes_.emplace_back(TParagrafoOp{}); }
void TConteudo::KeepWithNext(bool ligado) { operacoes_.emplace_back(TManterOp{ligado}); }
void TConteudo::SetChartMapping(const TMapaEixos &mapa) { operacoes_.emplace_back(TMapaOp{mapa}); }
void TConteudo::WriteChart(const TChart &chart, int cores) {
    operacoes_.emplace_back(TGraficoOp{std::make_shared<const TChart>(chart), cores});
}
void TConteudo::WritePicture(const QImage &imagem, int escala, int cores) {
    operacoes_.emplace_back(TFiguraOp{imagem, escala, cores});
}
void TConteudo::LinhasRotuladas(std::vector<TLinhaConteudo> linhas, const QString &separador) {
    operacoes_.emplace_back(TLinhasOp{std::move(linhas), separador, true});
}
void TConteudo::LinhasTabuladas(std::vector<TLinhaConteudo> linhas) {
    operacoes_.emplace_back(TLinhasOp{std::move(linhas), QString(), false});
}
void TConteudo::Tabela(int linhas, int colunas, std::vector<TCelulaConteudo> celulas, const TFonte &corpo,
                       std::optional<TConfigTabela> formatos) {
    if (linhas <= 0 || colunas <= 0 ||
        celulas.size() != static_cast<std::size_t>(linhas) * static_cast<std::size_t>(colunas))
        return;
    operacoes_.emplace_back(TTabelaOp{linhas, colunas, std::move(celulas), corpo, std::move(formatos)});
}
void TConteudo::BeginItem(int numero, const QString &classe, const QString &titulo) {
    operacoes_.emplace_back(TItemOp{numero, classe, titulo});
}
void TConteudo::BeginPart() { operacoes_.emplace_back(TParteOp{}); }

void TConteudo::Escreve(TArqEditor &e) const {
    for (const TOperacao &op : operacoes_)
        std::visit(TVisita{
                       [&](const TFonteOp &o) { e.SetFont(o.Fonte); },
                       [&](const TAlinhaOp &o) { AlinhaEm(e, o.Alinhamento); },
                       [&](const TTextoOp &o) {
                           switch (o.Modo) {
                           case TTextoOp::Simples: e.WriteText(o.Texto); break;
                           case TTextoOp::Formatado: e.WriteFormatted(o.Texto); break;
                           case TTextoOp::Linha: e.WriteLine(o.Texto); break;
                           }
                       },
                       [&](const TParagrafoOp &) { e.NewParagraph(); },
                       [&](const TManterOp &o) { e.KeepWithNext(o.Ligado); },
                       [&](const TMapaOp &o) { e.SetChartMapping(o.Mapa); },
                       [&](const TGraficoOp &o) { e.WriteChart(*o.Chart, o.Cores); },
                       [&](const TFiguraOp &o) { e.WritePicture(o.Imagem, o.Escala, o.Cores); },
                       [&](const TLinhasOp &o) { EscreveLinhas(e, o); },
                       [&](const TTabelaOp &o) { EscreveTabela(e, o); },
                       [&](const TItemOp &o) { e.BeginItem(o.Numero, o.Classe, o.Titulo); },
                       [&](const TParteOp &) { e.BeginPart(); },
                   },
                   op);
}

void TConteudo::EscreveLinhas(TArqEditor &e, const TLinhasOp &op) {
    if (!op.Rotuladas) {
        // One stop for all, on the 720-twip grid, two blanks clear of the widest label: a
        // reader that measures a little wider still reaches it.
        int maior = 0;
        for (const TLinhaConteudo &l : op.Linhas) maior = std::max(maior, e.MeasureText(l.Rotulo));
        const double posicao = Milimetros(((maior + 2 * e.MeasureSpace()) / 720 + 1) * 720);
        const std::uint8_t tipo = 0;
        e.SetTabs(&posicao, 0, &tipo);
        for (const TLinhaConteudo &l : op.Linhas) e.WriteLine(l.Rotulo + QLatin1Char('\t') + l.Valor);
        e.ClearTabs();
        return;
    }
    // Label, dots up to a common tab stop, tab, the separator, value. The dots end a blank
    // short of the first multiple of 720 twips beyond the widest label plus 2 twips, less one
    // dot; the tab stop is that multiple.
    const int ponto = std::max(1, e.MeasureText(QStringLiteral(".")));
    int maior = 0;
    for (const TLinhaConteudo &l : op.Linhas) maior = std::max(maior, e.MeasureText(l.Rotulo));
    const int parada = ((maior + 2) / 720 + 1) * 720 - ponto;
    // The stop itself is set a dot further, on the grid: a reader that measures the label and
    // its dots a little wider than this writer did still reaches the same stop.
    const double posicao = Milimetros(parada + ponto);
    const std::uint8_t tipo = 0;
    e.SetTabs(&posicao, 0, &tipo);
    for (const TLinhaConteudo &l : op.Linhas) {
        // The dots leave room for the blank that writers put before a tab after a word.
        const int pontos = std::max(0, (parada - e.MeasureText(l.Rotulo) - e.MeasureSpace()) / ponto);
        e.WriteText(l.Rotulo + QString(pontos, QLatin1Char('.')) + QLatin1Char('\t') + op.Separador);
        e.WriteLine(l.Valor);
    }
    e.ClearTabs();
}

void TConteudo::EscreveTabela(TArqEditor &e, const TTabelaOp &op) {
    const int linhas = op.Linhas, colunas = op.Colunas;
    const auto celula = [&](int l, int c) -> const TCelulaConteudo & {
        return op.Celulas[static_cast<std::size_t>(l) * static_cast<std::size_t>(colunas) +
                          static_cast<std::size_t>(c)];
    };
    std::vector<std::vector<TCelulaLayout>> medidas(static_cast<std::size_t>(linhas));
    for (int l = 0; l < linhas; ++l)
        for (int c = 0; c < colunas; ++c) medidas[l].push_back({celula(l, c).Texto, celula(l, c).Fonte});
    const TLayoutTabela layout = CalculaLayoutTabela(medidas, e.TextWidth);

    for (std::size_t b = 0; b < layout.Blocos.size(); ++b) {
        const TLayoutTabela::TBloco &bloco = layout.Blocos[b];
        const int n = static_cast<int>(bloco.Colunas.size());
        if (b > 0) {
            // The next block of the columns, headed as the rest of the same table.
            e.SetFont(op.Corpo);
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
                const TCelulaConteudo &x = celula(l, bloco.Colunas[static_cast<std::size_t>(i)]);
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
        if (op.Formatos) {
            // Each cell takes the background and borders of its region in the whole table: the
            // heading row, the last row, the first and last columns, or the body.
            const TConfigTabela &tab = *op.Formatos;
            const std::vector<int> origem = bloco.Colunas;
            e.FormatoLinha = [&tab, &e, linhas, colunas, origem](int linha) {
                for (std::size_t i = 0; i < origem.size(); ++i) {
                    TColuna &col = e.GetColumn(static_cast<int>(i) + 1);
                    const TFormatoCelula &f = tab.Formatos[tab.Regiao(linha - 1, origem[i], linhas, colunas)];
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
                const TCelulaConteudo &x = celula(l, c);
                TFonte fonte = x.Fonte;
                fonte.Tamanho = layout.Tamanho(fonte);
                e.SetFont(fonte);
                AlinhaEm(e, x.Alinhamento);
                // A carriage return inside the text breaks the cell into lines (the writers do it).
                e.WriteFormatted(x.Texto);
                e.NextCell();
            }
        }
        e.EndTable();
        e.FormatoLinha = nullptr;
    }
    e.SetFont(op.Corpo);
    e.AlignLeft();
}

} // namespace zelto
