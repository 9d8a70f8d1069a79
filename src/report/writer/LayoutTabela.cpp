#include "writer/LayoutTabela.h"
#include "writer/AvancosTexto.h"
#include "writer/TextoLiteral.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace zelto {

namespace {

// What a column needs beyond its text: the padding of both sides, room for the borders, and a
// margin for readers that measure text a little wider than we do.
int Necessario(double texto) {
    return static_cast<int>(std::ceil(texto * 1.03)) + 2 * TLayoutTabela::PaddingCelula + 40;
}

// Measures in the fonts of the table (each character's advance measured once per font).
class TMedidor {
  public:
    double Largura(const TFonte &fonte, const QString &texto) { return AvancosDe(fonte).Largura(texto); }
};

// Widest word and widest line of a cell, in twips at the cell's own size.
struct TMedidaCelula {
    double Palavra = 0, Linha = 0;
    int Tamanho = 10;
};

struct TColunaMedida {
    std::vector<TMedidaCelula> Celulas;
    // Widest word and widest line with `reducao` points taken from every size.
    std::pair<int, int> Larguras(int reducao) const {
        double palavra = 0, linha = 0;
        for (const TMedidaCelula &m : Celulas) {
            const int tamanho = m.Tamanho <= TLayoutTabela::TamanhoMinimo
                                    ? m.Tamanho
                                    : std::max(TLayoutTabela::TamanhoMinimo, m.Tamanho - reducao);
            const double fator = static_cast<double>(tamanho) / std::max(1, m.Tamanho);
            palavra = std::max(palavra, m.Palavra * fator);
            linha = std::max(linha, m.Linha * fator);
        }
        return {Necessario(palavra), Necessario(linha)};
    }
};

// Widths of the columns `colunas` sharing `largura`: see the header.
std::vector<int> Distribui(const std::vector<std::pair<int, int>> &medidas,
                           const std::vector<int> &colunas, int largura) {
    long long minimo = 0, desejado = 0;
    for (int c : colunas) {
        minimo += medidas[c].first;
        desejado += std::max(medidas[c].first, medidas[c].second);
    }
    std::vector<int> r;
    const auto n = static_cast<long long>(colunas.size());
    if (desejado <= largura) {
        long long sobra = largura - desejado;
        for (std::size_t i = 0; i < colunas.size(); ++i) {
            const int c = colunas[i];
            const long long parte = sobra / (n - static_cast<long long>(i));
            sobra -= parte;
            r.push_back(static_cast<int>(std::max(medidas[c].first, medidas[c].second) + parte));
        }
        return r;
    }
    const double fracao =
        minimo >= largura ? 0.0 : static_cast<double>(largura - minimo) / static_cast<double>(desejado - minimo);
    for (int c : colunas) {
        const int falta = std::max(0, medidas[c].second - medidas[c].first);
        r.push_back(medidas[c].first + static_cast<int>(std::floor(falta * fracao)));
    }
    return r;
}

} // namespace

int TLayoutTabela::Tamanho(const TFonte &f) const {
    if (f.Tamanho <= TamanhoMinimo) return f.Tamanho;
    return std::max(TamanhoMinimo, f.Tamanho - Reducao);
}

QStringList LinhasCelula(const QString &texto) {
    static const QRegularExpression quebra(QStringLiteral("\r\n|\r|\n"));
    return texto.split(quebra);
}

QString TextoVisivel(const QString &texto) {
    if (!texto.contains(QLatin1Char('%'))) return Desfaz(texto);
    return QString::fromStdString(TextoVisivel(texto.toStdString()));
}

double LarguraTwips(const TFonte &fonte, const QString &texto) {
    return AvancosDe(fonte).Largura(texto);
}

TLayoutTabela CalculaLayoutTabela(const std::vector<std::vector<TCelulaLayout>> &celulas,
                                  int larguraTexto) {
    TLayoutTabela r;
    std::size_t n = 0;
    for (const auto &linha : celulas) n = std::max(n, linha.size());
    if (n == 0) return r;
    TMedidor medidor;
    std::vector<TColunaMedida> colunas(n);
    int maiorTamanho = 0;
    for (const auto &linha : celulas)
        for (std::size_t c = 0; c < linha.size(); ++c) {
            const TCelulaLayout &celula = linha[c];
            TMedidaCelula m;
            m.Tamanho = std::max(1, celula.Fonte.Tamanho);
            maiorTamanho = std::max(maiorTamanho, m.Tamanho);
            for (const QString &l : LinhasCelula(TextoVisivel(celula.Texto))) {
                // A long line only tells that the column wants more than the page: its width
                // is estimated from its start, so the layout stays linear in the text's length.
                constexpr qsizetype longa = 256;
                const double largura = l.size() <= longa
                                           ? medidor.Largura(celula.Fonte, l)
                                           : medidor.Largura(celula.Fonte, l.left(longa)) *
                                                 static_cast<double>(l.size()) / longa;
                m.Linha = std::max(m.Linha, largura);
                for (const QString &palavra : l.split(QLatin1Char(' '), Qt::SkipEmptyParts))
                    m.Palavra = std::max(m.Palavra, medidor.Largura(celula.Fonte, palavra));
            }
            colunas[c].Celulas.push_back(m);
        }

    const int maiorReducao = std::max(0, maiorTamanho - TLayoutTabela::TamanhoMinimo);
    std::vector<std::pair<int, int>> medidas(n);
    const auto mede = [&](int reducao) {
        long long soma = 0;
        for (std::size_t c = 0; c < n; ++c) medidas[c] = colunas[c].Larguras(reducao);
        // A word wider than the page cannot keep its column whole: the row label takes at most
        // half the text width and any other column the rest, so every block fits the page and
        // the word breaks inside its cell instead of running off the paper.
        const int rotulo = n > 1 ? std::max(1, larguraTexto / 2) : std::max(1, larguraTexto);
        medidas[0].first = std::min(medidas[0].first, rotulo);
        for (std::size_t c = 1; c < n; ++c)
            medidas[c].first = std::min(medidas[c].first, std::max(1, larguraTexto - medidas[0].first));
        for (const auto &m : medidas) soma += m.first;
        return soma;
    };
    std::vector<int> todas(n);
    for (std::size_t c = 0; c < n; ++c) todas[c] = static_cast<int>(c);
    for (int reducao = 0; reducao <= maiorReducao; ++reducao) {
        if (mede(reducao) <= larguraTexto || reducao == maiorReducao) {
            r.Reducao = reducao;
            break;
        }
    }
    long long soma = 0;
    for (const auto &m : medidas) soma += m.first;
    std::vector<std::vector<int>> blocos;
    if (soma <= larguraTexto || n == 1) {
        blocos.push_back(todas);
    } else {
        // Blocks of consecutive columns, each after the first column.
        std::vector<int> bloco{0};
        long long ocupado = medidas[0].first;
        for (std::size_t c = 1; c < n; ++c) {
            if (bloco.size() > 1 && ocupado + medidas[c].first > larguraTexto) {
                blocos.push_back(bloco);
                bloco = {0};
                ocupado = medidas[0].first;
            }
            bloco.push_back(static_cast<int>(c));
            ocupado += medidas[c].first;
        }
        blocos.push_back(bloco);
    }
    for (std::vector<int> &b : blocos) {
        std::vector<int> larguras = Distribui(medidas, b, larguraTexto);
        r.Blocos.push_back({std::move(b), std::move(larguras)});
    }
    return r;
}

} // namespace zelto
