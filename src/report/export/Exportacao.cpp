#include "export/Exportacao.h"

#include "evaluation/ArquivoItens.h"
#include "evaluation/Avaliacao.h"
#include "evaluation/Relatorio.h"
#include "items/Catalogo.h"
#include "items/GraficoItem.h"
#include "view/ImpressaoRelatorio.h"
#include "view/PaginacaoRelatorio.h"
#include "writer/Escritores.h"
#include "writer/SaidaArquivo.h"

#include <QBuffer>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <memory>
#include <optional>

namespace zelto {

namespace {

// The kept pictures of the graph items as "item-part.png" files, each written whole (a complete
// new file or the previous one untouched). A failure stops the pictures and says which files
// were written and which was not.
void GravaFiguras(const TPedidoRelatorio &pedido, const TListaItens &itens, TResultadoRelatorio &r) {
    const std::filesystem::path pasta(pedido.PastaGraficos);
    int total = 0;
    for (const auto &item : itens)
        if (const auto *g = dynamic_cast<const TItemGrafico *>(item.get()))
            total += static_cast<int>(g->Figuras.size());
    for (const auto &item : itens) {
        const auto *g = dynamic_cast<const TItemGrafico *>(item.get());
        if (!g) continue;
        for (const TItemGrafico::TFigura &f : g->Figuras) {
            const std::string nome =
                std::to_string(item->Descricao().Numero) + "-" + std::to_string(f.Parte + 1) + ".png";
            const QString caminho = QString::fromStdString((pasta / nome).string());
            QBuffer png;
            png.open(QIODevice::WriteOnly);
            QString erro;
            if (!f.Imagem.save(&png, "PNG")) {
                erro = QStringLiteral("Não foi possível compor a figura \"%1\".").arg(caminho);
            } else {
                TSaidaArquivo saida(caminho);
                if (!saida.Grava(png.data()) || !saida.Conclui()) erro = saida.Erro();
            }
            if (!erro.isEmpty()) {
                r.Ok = false;
                r.Erro = "O relatório foi gravado em " + pedido.Saida + ", mas as figuras não: " +
                         std::to_string(r.Graficos) + " de " + std::to_string(total) +
                         " foram gravadas em " + pedido.PastaGraficos + " e as demais não, a partir de " +
                         nome + ". " + erro.toStdString();
                return;
            }
            ++r.Graficos;
        }
    }
}

} // namespace

TResultadoRelatorio ExportaRelatorio(TRelatorio &relatorio, const QString &arquivo, TProgresso *progresso,
                                     TPaginacao *paginas) {
    TResultadoRelatorio r;
    const TDestinoRelatorio *destino = DestinoDoArquivo(arquivo);
    if (!destino) {
        r.Erro = "Não há escritor de relatório para a extensão de " + arquivo.toStdString() + " (use " +
                 ListaExtensoes().toStdString() + ").";
        return r;
    }
    if (destino->Tipo == TTipoDestino::Paginado) {
        // Drawn by the report view: the pages are the screen's.
        std::optional<TPaginacao> propria;
        if (!paginas) {
            double passo = 0;
            if (!relatorio.Avaliacao().CompletaCalculos(progresso, passo)) {
                r.Erro = "O relatório não foi completado.";
                return r;
            }
            paginas = &propria.emplace(relatorio);
            paginas->NovaView(nullptr, 100);
        }
        TPaginacao &paginacao = *paginas;
        QString erro;
        r.Ok = ExportaPdf(paginacao, arquivo, progresso, &erro);
        if (!r.Ok) r.Erro = erro.isEmpty() ? "O relatório não foi completado." : erro.toStdString();
        else r.Paginas = paginacao.View()->TotalPages;
        return r;
    }
    std::unique_ptr<TArqEditor> escritor = destino->Cria(arquivo);
    if (!escritor->Valido()) {
        r.Erro = escritor->Erro().toStdString();
        return r;
    }
    r.Ok = relatorio.Exporta(*escritor, progresso);
    if (!r.Ok)
        r.Erro = escritor->Erro().isEmpty() ? "O relatório não foi completado." : escritor->Erro().toStdString();
    return r;
}

TResultadoRelatorio ExportaRelatorio(const TPedidoRelatorio &pedido, TSistema &sistema,
                                     const TGridzelto &grid, const TPesquisa *pesquisa,
                                     const TSignificancias &significancias, TProgresso *progresso) {
    TResultadoRelatorio r;
    if (!pedido.PastaGraficos.empty()) {
        // The pictures' folder is made (or found wanting) before the report is written.
        std::error_code e, e2;
        std::filesystem::create_directories(pedido.PastaGraficos, e);
        if (!std::filesystem::is_directory(pedido.PastaGraficos, e2)) {
            r.Erro = "Não foi possível criar a pasta das figuras " + pedido.PastaGraficos + ": " +
                     (e ? TextoErroSistema(e.value()) : TextoErroSistema(ENOTDIR)) + " Nada foi gravado.";
            return r;
        }
    }
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
    } else {
        PadroesConfiguracaoRelatorio(configuracao, itens);
    }
    if (pedido.Caracterizacao) configuracao.Caracterizacao = pedido.Caracterizacao;
    if (pedido.Identificacao) configuracao.Identificacao = pedido.Identificacao;
    if (pedido.TodosItens || !pedido.Itens.empty())
        for (auto &item : itens)
            item->Incluido = pedido.TodosItens ||
                             std::count(pedido.Itens.begin(), pedido.Itens.end(), item->Descricao().Numero) > 0;

    if (!pedido.PastaGraficos.empty())
        for (auto &item : itens)
            if (auto *g = dynamic_cast<TItemGrafico *>(item.get())) g->GuardaFiguras = true;
    TAvaliacao avaliacao(sistema);
    TRelatorio relatorio(avaliacao, itens, TContextoItem::Hoje(sistema, grid, significancias, pesquisa),
                         configuracao);
    const std::vector<std::string> avisos = std::move(r.Avisos);
    r = ExportaRelatorio(relatorio, QString::fromStdString(pedido.Saida), progresso);
    r.Avisos = avisos;
    if (r.Ok && !pedido.PastaGraficos.empty()) GravaFiguras(pedido, itens, r);
    return r;
}

} // namespace zelto
