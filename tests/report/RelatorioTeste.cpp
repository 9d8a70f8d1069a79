#include "RelatorioTeste.h"

#include <QRegularExpression>

#include <cmath>
#include <fstream>

namespace zelto::teste {

std::map<std::string, long double> Referencia() {
    std::map<std::string, long double> r;
    std::ifstream f(kDados + "/report/referencia-r.txt");
    std::string chave, valor;
    while (f >> chave >> valor)
        r[chave] = std::stold(valor);
    return r;
}

TImpresso Le(QString t) {
    TImpresso r;
    t = t.trimmed();
    if (t.endsWith(QLatin1Char('%'))) t = t.chopped(1).trimmed();
    if (t == QStringLiteral("∞") || t == QStringLiteral("-∞")) {
        r.ok = r.infinito = true;
        return r;
    }
    static const QRegularExpression numero(
        QStringLiteral("^(-?[0-9.]+)(?:,([0-9]+))?(?:x10(-?[0-9]+))?$"));
    const auto m = numero.match(t);
    if (!m.hasMatch()) return r;
    QString inteiro = m.captured(1);
    inteiro.remove(QLatin1Char('.'));
    const QString decimais = m.captured(2);
    const int expoente = m.captured(3).isEmpty() ? 0 : m.captured(3).toInt();
    r.valor = std::stold((inteiro + QLatin1Char('.') +
                          (decimais.isEmpty() ? QStringLiteral("0") : decimais))
                             .toStdString()) *
              std::pow(10.0L, expoente);
    r.meia = 0.5L * std::pow(10.0L, expoente - static_cast<int>(decimais.size()));
    r.ok = true;
    return r;
}

void Confere(const QString &texto, long double ref, const std::string &o) {
    const TImpresso p = Le(texto);
    ASSERT_TRUE(p.ok) << o << ": \"" << texto.toStdString() << "\" is no number";
    ASSERT_FALSE(p.infinito) << o;
    EXPECT_LE(std::fabs(p.valor - ref), p.meia * (1 + 1e-9L) + 1e-13L * std::fabs(ref))
        << o << ": printed \"" << texto.toStdString() << "\", R gives " << static_cast<double>(ref);
}

QString ValorRotulado(const QString &linha) {
    QString v = linha.mid(linha.lastIndexOf(QStringLiteral("\t: ")) + 3);
    const qsizetype p = v.indexOf(QStringLiteral(" ("));
    return p >= 0 ? v.left(p) : v;
}

const TModeloTeste kModelos[4] = {
    {"w1",
     "/regression/windsor-houses.txt",
     {{1, 2},
      {2, 2},
      {3, 1},
      {4, 8},
      {5, 5},
      {6, 1},
      {7, 1},
      {8, 1},
      {9, 1},
      {10, 1},
      {11, 1},
      {12, 1}}},
    {"w2", "/regression/windsor-houses.txt", {{1, 8}, {2, 8}, {3, 4}, {4, 1}, {5, 7}, {10, 1}}},
    {"w3", "/regression/windsor-houses.txt", {{1, 5}, {2, 1}, {3, 3}, {4, 12}, {5, 2}, {11, 6}}},
    {"b1",
     "/../../examples/boston.TXT",
     {{1, 2}, {2, 1}, {5, 1}, {6, 1}, {7, 4}, {9, 2}, {12, 1}, {14, 2}}},
};

bool TLaudoTeste::Ajusta(const std::string &arquivo, const std::vector<TTermo> &termos) {
    grid = LePlanilhaTeste(arquivo);
    return grid && Modelo(termos);
}

void TLaudoTeste::Executa(bool inferencial) {
    TAvaliacao av(*s);
    double passo = 0;
    av.CompletaCalculos(nullptr, passo);
    av.ExecutaItens(itens, Contexto(inferencial), e, nullptr, passo);
}

const std::vector<TBlocoCaptura> &TLaudoTeste::Parte(int numero) const {
    const auto *item = e.Item(numero);
    static const std::vector<TBlocoCaptura> vazio;
    return item && !item->Partes.empty() ? item->Partes[0] : vazio;
}

const TBlocoCaptura &TLaudoTeste::Tabela(int numero, int indice) const {
    const std::vector<TBlocoCaptura> &blocos = Parte(numero);
    for (std::size_t i = 0; i < blocos.size(); ++i) {
        if (!blocos[i].Tabela) continue;
        // The next blocks of the same table: "(continuação)", then its columns after the first.
        TBlocoCaptura junta = blocos[i];
        std::size_t fim = i + 1;
        for (std::size_t j = i + 1;;) {
            while (j < blocos.size() && !blocos[j].Tabela && blocos[j].Texto.isEmpty()) ++j;
            if (j + 1 >= blocos.size() || blocos[j].Texto != QStringLiteral("(continuação)") ||
                !blocos[j + 1].Tabela)
                break;
            const TBlocoCaptura &mais = blocos[j + 1];
            for (std::size_t l = 0; l < junta.Celulas.size() && l < mais.Celulas.size(); ++l) {
                junta.Celulas[l] += mais.Celulas[l].mid(1);
                junta.Alinhamentos[l].insert(junta.Alinhamentos[l].end(),
                                             mais.Alinhamentos[l].begin() + 1,
                                             mais.Alinhamentos[l].end());
            }
            j += 2;
            fim = j;
        }
        if (indice-- == 0)
            return fim == i + 1 ? blocos[i] : juntas.emplace_back(std::move(junta));
        i = fim - 1;
    }
    static const TBlocoCaptura vazio;
    return vazio;
}

QStringList TLaudoTeste::Paragrafos(int numero) const {
    QStringList l;
    for (const TBlocoCaptura &b : Parte(numero))
        if (!b.Tabela) l << b.Texto;
    return l;
}

QString TLaudoTeste::Paragrafo(int numero, const QString &inicio) const {
    for (const QString &p : Paragrafos(numero))
        if (p.startsWith(inicio)) return p;
    return {};
}

} // namespace zelto::teste
