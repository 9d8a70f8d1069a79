// A fitted worksheet with the settings the report items read and a capturing writer: the
// common ground of the report-item tests.
#pragma once

#include "EscritorCaptura.h"
#include "PlanilhaTeste.h"

#include "config/ConfiguracaoRelatorio.h"
#include "evaluation/Avaliacao.h"
#include "regression/Sistema.h"
#include "significance/Significancias.h"

#include <QDate>

#include <memory>
#include <vector>

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
        c.Escritor = &e;
        c.Data = QDate(2026, 1, 2);
        return c;
    }
    // The export run of the items into the capturing writer.
    bool Exporta(const TListaItens &itens, TProgresso *p = nullptr, bool inferencial = true) {
        TAvaliacao av(*s, inferencial);
        return av.Exporta(e, itens, Contexto(inferencial), config, p);
    }
};

} // namespace zelto::teste
