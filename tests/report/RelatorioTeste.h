// A fitted worksheet with the settings the report items read and a capturing writer: the
// common ground of the report-item tests. Also what the item tests against R share: the
// reference values, the reading of a printed number and its comparison at the printed
// precision, the Windsor and Boston models, and a report whose items run the export's way.
#pragma once

#include <deque>

#include "EscritorCaptura.h"
#include "PlanilhaTeste.h"

#include "config/ConfiguracaoRelatorio.h"
#include "evaluation/Avaliacao.h"
#include "evaluation/Relatorio.h"
#include "items/Catalogo.h"
#include "regression/Sistema.h"
#include "significance/Significancias.h"

#include <QDate>
#include <QStringList>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

// Failures show a QString as its text.
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

namespace zelto::teste {

struct TRelatorioTeste {
    std::shared_ptr<TGridzelto> grid;
    std::unique_ptr<TSistema> s;
    TSignificancias sig;
    TConfiguracaoRelatorio config;
    TEscritorCaptura e;

    // Fits the model to the worksheet's active samples, up to CalculaEstatisticas.
    bool Modelo(const std::vector<TTermo> &termos) {
        if (!grid) return false;
        s = std::make_unique<TSistema>(*grid);
        s->CarregaDados();
        s->DefineTermos(termos);
        if (!s->MontaSistema() || !s->Resolve()) return false;
        s->CalculaEstatisticas();
        return true;
    }
    TContextoItem Contexto(bool inferencial = true) {
        TContextoItem c;
        c.Sistema = s.get();
        c.Grid = grid.get();
        c.Significancias = &sig;
        c.Configuracao = &config;
        c.Inferencial = inferencial;
        c.Data = QDate(2026, 1, 2);
        return c;
    }
    // The export run of the items into the capturing writer.
    bool Exporta(const TListaItens &itens, TProgresso *p = nullptr, bool inferencial = true) {
        TAvaliacao av(*s);
        zelto::TRelatorio relatorio(av, itens, Contexto(inferencial), config);
        return relatorio.Exporta(e, p);
    }
};

inline const std::string kDados = ZELTO_DADOS_TESTE;

// The values of tests/data/report/referencia-r.txt by key.
std::map<std::string, long double> Referencia();

// A printed number: its value and half a unit of its last digit.
struct TImpresso {
    bool ok = false, infinito = false;
    long double valor = 0, meia = 0;
};
TImpresso Le(QString t);
// The printed text holds the reference rounded at its precision.
void Confere(const QString &texto, long double ref, const std::string &o);
// The value after the last "\t: " of a labelled line, up to " (".
QString ValorRotulado(const QString &linha);

struct TModeloTeste {
    const char *nome;
    const char *arquivo;
    std::vector<TTermo> termos;
};
inline void PrintTo(const TModeloTeste &m, std::ostream *os) { *os << m.nome; }
// Three Windsor models and one Boston model (the R reference's).
extern const TModeloTeste kModelos[4];

// Fits the model and runs every item of the catalogue into the capturing writer, the export's
// way (the title block before every part).
struct TLaudoTeste : TRelatorioTeste {
    TListaItens itens = CriaCatalogo();

    bool Ajusta(const std::string &arquivo, const std::vector<TTermo> &termos);
    void Executa(bool inferencial = true);
    const std::vector<TBlocoCaptura> &Parte(int numero) const;
    // The indice-th table of an item's first part; a table too wide for the page, written in
    // blocks of columns after "(continuação)", comes back whole.
    const TBlocoCaptura &Tabela(int numero, int indice = 0) const;
    mutable std::deque<TBlocoCaptura> juntas;
    QStringList Paragrafos(int numero) const;
    QString Paragrafo(int numero, const QString &inicio) const;
};

} // namespace zelto::teste
