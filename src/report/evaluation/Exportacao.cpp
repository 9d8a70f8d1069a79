#include "evaluation/Exportacao.h"

#include "config/ArquivoRelatorio.h"
#include "evaluation/Avaliacao.h"
#include "view/ImpressaoRelatorio.h"
#include "view/PaginacaoRelatorio.h"
#include "writer/Escritores.h"

#include <QDate>

#include <algorithm>
#include <filesystem>
#include <memory>

namespace zelto {

namespace {

// The writer of the file's extension, from the writers' table.
std::unique_ptr<TArqEditor> Escritor(const QString &arquivo, std::string &erro) {
    std::unique_ptr<TArqEditor> e = CriaEscritor(arquivo);
    if (!e)
        erro = "Não há escritor de relatório para a extensão de " + arquivo.toStdString() + " (use " +
               ExtensoesEscritores(true).join(QStringLiteral(", ")).toStdString() + ").";
    return e;
}

} // namespace

TResultadoRelatorio ExportaRelatorio(const TPedidoRelatorio &pedido, TSistema &sistema,
                                     const TGridzelto &grid, const TPesquisa *pesquisa,
                                     const TSignificancias &significancias, TProgresso *progresso) {
    TResultadoRelatorio r;
    TConfiguracaoRelatorio configuracao;
    TListaItens itens = CriaCatalogo();
    if (!pedido.Configuracao.empty()) {
        std::error_code e;
        if (!std::filesystem::is_regular_file(pedido.Configuracao, e)) {
            r.Erro = "Não foi possível ler " + pedido.Configuracao + ".";
            return r;
        }
        if (!LeConfiguracaoRelatorio(pedido.Configuracao, configuracao, itens))
            r.Avisos.push_back("A configuração " + pedido.Configuracao +
                               " está danificada; o que não pôde ser lido segue o padrão.");
    }
    if (pedido.TodosItens || !pedido.Itens.empty())
        for (auto &item : itens)
            item->Incluido = pedido.TodosItens ||
                             std::count(pedido.Itens.begin(), pedido.Itens.end(), item->Descricao().Numero) > 0;

    const QString saida = QString::fromStdString(pedido.Saida);
    if (EscritorPaginado(saida)) {
        // Drawn by the report view: the pages are the screen's.
        TContextoItem contexto;
        contexto.Sistema = &sistema;
        contexto.Grid = &grid;
        contexto.Significancias = &significancias;
        contexto.Pesquisa = pesquisa;
        contexto.Data = QDate::currentDate();
        TAvaliacao avaliacao(sistema, pedido.Inferencial);
        TPaginacao paginacao(avaliacao, itens, contexto, configuracao);
        QString erro;
        r.Ok = paginacao.RefreshReport(nullptr, 100, progresso) &&
               ExportaPdf(paginacao, saida, progresso, &erro);
        if (!r.Ok) r.Erro = erro.isEmpty() ? "O relatório não foi completado." : erro.toStdString();
        else r.Paginas = paginacao.View()->TotalPages;
        return r;
    }
    std::unique_ptr<TArqEditor> escritor = Escritor(saida, r.Erro);
    if (!escritor) return r;
    if (!escritor->Valido()) {
        r.Erro = escritor->Erro().toStdString();
        return r;
    }
    TContextoItem contexto;
    contexto.Sistema = &sistema;
    contexto.Grid = &grid;
    contexto.Significancias = &significancias;
    contexto.Pesquisa = pesquisa;
    contexto.Data = QDate::currentDate();
    TAvaliacao avaliacao(sistema, pedido.Inferencial);
    r.Ok = avaliacao.Exporta(*escritor, itens, contexto, configuracao, progresso);
    if (!r.Ok) r.Erro = escritor->Erro().isEmpty() ? "O relatório não foi completado." : escritor->Erro().toStdString();
    return r;
}

} // namespace zelto
