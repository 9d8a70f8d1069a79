#include "evaluation/Exportacao.h"

#include "config/ArquivoRelatorio.h"
#include "evaluation/Avaliacao.h"
#include "writer/RtfWriter.h"

#include <QDate>
#include <QFileInfo>

#include <algorithm>
#include <filesystem>
#include <memory>

namespace zelto {

namespace {

std::unique_ptr<TArqEditor> CriaEscritor(const QString &arquivo, std::string &erro) {
    const QString extensao = QFileInfo(arquivo).suffix().toUpper();
    if (extensao == QLatin1String("RTF") || extensao == QLatin1String("DOC"))
        return std::make_unique<tRTF_Writer>(arquivo);
    erro = "Não há escritor de relatório para a extensão \"" + extensao.toStdString() + "\".";
    return nullptr;
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
    std::unique_ptr<TArqEditor> escritor = CriaEscritor(saida, r.Erro);
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
