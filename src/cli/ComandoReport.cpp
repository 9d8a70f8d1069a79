// zelto-cli report FILE (--model "NAME=CODE,..." | --choose N [the search options])
//                       [--dependent NAME] [--use NAME,...] [--subject "NAME=VALUE,..."]
//                       [--mode inferencial|descritiva] [--factors NAME,...] [--config FILE.CNF]
//                       [--items all|N,N,...] [--sanitize] [--graphs DIR]
//                       [--caracterizacao III|II|I] [--identificacao III|II|I] -o OUT
//
// Reads any worksheet file, fits the model given by its codes (--model) or the model of row N
// of the best-models table after a search (--choose, with the options of `zelto-cli search`),
// optionally after the automatic outlier removal (--sanitize, with the significance settings'
// criterion), and writes the report into OUT, whose extension picks the writer. The report
// holds the items the settings include (all, by default), or those of --items (numbers of the
// catalogue, 1 to 58). The statistics mode is the file's unless --mode says otherwise. In the
// descriptive mode the worksheet is made ready as entering the mode makes it, with the
// homogenisation coefficients of --factors (FatoresCli.h), so the report values the homogenised
// sample; a worksheet whose used columns are not marked as coefficients needs --factors. A PDF
// holds the pages of the report view; their count is printed. With --graphs every graph
// picture is also written into DIR as a PNG named by item number and part ("33-1.png"), and
// their count is printed. --caracterizacao and --identificacao declare
// the grades of criteria 1 and 3 of the grading under the valuation standard over the settings'.
//
// Text is measured with the report's fonts, so this command (only this one) starts the Qt GUI
// layer on the offscreen platform.
#include "ComandoReport.h"

#include "FatoresCli.h"
#include "ModeloCli.h"
#include "PlanilhaCli.h"
#include "common/Numeros.h"
#include "common/Texto.h"
#include "config/ConfiguracaoRelatorio.h"
#include "items/Catalogo.h"
#include "export/Exportacao.h"
#include "writer/Escritores.h"
#include "files/LerArquivo.h"
#include "regression/Sistema.h"
#include "search/Pesquisa.h"
#include "significance/Significancias.h"
#include "worksheet/Gridzelto.h"

#include <QGuiApplication>

#include <climits>
#include <iostream>
#include <memory>

namespace {

using namespace zelto;
using cli::TFalha;
using cli::UmaLinha;

// --choose not given.
constexpr int kSemEscolha = INT_MIN;

struct TOpcoesReport {
    std::string arquivo, modelo, dependente, usar, sujeito, modo, configuracao, itens, saida, graficos;
    std::string fatores; // --factors
    std::string caracterizacao, identificacao;
    cli::TOpcoesPesquisa pesquisa;
    int escolha = kSemEscolha;
    bool saneia = false;
    bool itensDados = false, graficosDados = false; // --items, --graphs given (maybe empty)
};

// "all" or "N,N,...".
void Itens(const std::string &texto, TPedidoRelatorio &pedido) {
    if (texto.empty()) return;
    if (texto == "all") {
        pedido.TodosItens = true;
        return;
    }
    for (const std::string &parte : Divide(texto, ',')) {
        long long n = 0;
        if (!ConverteInteiro(Apara(parte), n) || n < 1 || n > kNumeroItens)
            throw TFalha{2, "Item inválido em --items: \"" + parte + "\" (use all ou números de 1 a " +
                                std::to_string(kNumeroItens) + ")."};
        pedido.Itens.push_back(static_cast<int>(n));
    }
}

// A declared grade of the grading: "III", "II" or "I".
std::optional<std::uint8_t> Grau(const std::string &texto, const char *opcao) {
    if (texto.empty()) return std::nullopt;
    const auto g = GrauDeclarado(texto);
    if (!g) throw TFalha{2, std::string("Grau inválido em ") + opcao + ": \"" + texto + "\" (use III, II ou I)."};
    return g;
}

int Relatorio(const TOpcoesReport &o) {
    if (o.modelo.empty() == (o.escolha == kSemEscolha))
        throw TFalha{2, "Indique o modelo com --model ou com --choose N."};
    if (o.escolha != kSemEscolha && o.escolha < 1)
        throw TFalha{2, "As linhas de --choose começam em 1: \"" + std::to_string(o.escolha) + "\"."};
    if (o.itensDados && o.itens.empty())
        throw TFalha{2, "--items vazio: use all ou números de 1 a " + std::to_string(kNumeroItens) + "."};
    if (o.graficosDados && o.graficos.empty()) throw TFalha{2, "--graphs vazio: indique uma pasta."};
    if (!o.modo.empty() && o.modo != "inferencial" && o.modo != "descritiva")
        throw TFalha{2, "Modo inválido: \"" + o.modo + "\" (use inferencial ou descritiva)."};
    cli::RecusaSaidaSobreEntrada(o.saida,
                                 {{o.arquivo, "a planilha"},
                                  {o.configuracao, "a configuração de --config"},
                                  {o.pesquisa.significancia, "o arquivo de --significance"}},
                                 o.graficos);
    TPedidoRelatorio pedido;
    pedido.Saida = o.saida;
    pedido.Configuracao = o.configuracao;
    pedido.PastaGraficos = o.graficos;
    Itens(o.itens, pedido);
    pedido.Caracterizacao = Grau(o.caracterizacao, "--caracterizacao");
    pedido.Identificacao = Grau(o.identificacao, "--identificacao");

    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char nome[] = "zelto-cli";
    static char *argv[] = {nome, nullptr};
    QGuiApplication aplicacao(argc, argv);

    TGridzelto grid;
    const cli::TPlanilhaLida lida = cli::LePlanilha(o.arquivo, grid);
    if (!lida.aviso.empty()) std::cerr << UmaLinha(lida.aviso) << '\n';
    if (grid.LinhasUsadas() == 0)
        throw TFalha{1, "A planilha " + o.arquivo + " não tem amostragens: não há relatório a fazer."};
    if (!o.modo.empty()) grid.Modo.Inferencial = o.modo == "inferencial";

    int dependente = cli::DefineVariaveis(grid, o.dependente, o.usar);
    if (!o.fatores.empty() && grid.Modo.Inferencial)
        throw TFalha{2, "--factors vale só no modo descritivo (--mode descritiva)."};
    if (!grid.Modo.Inferencial) {
        // The value evaluated becomes the "Valor Homog." column.
        cli::PreparaDescritiva(grid, o.fatores);
        dependente = 0;
    }
    cli::DefineObjeto(grid, o.sujeito);
    const TSignificancias sig = cli::SignificanciasCli(o.pesquisa.significancia);

    TSistema sistema(grid);
    std::unique_ptr<TPesquisa> pesquisa;
    if (!o.modelo.empty()) {
        if (dependente == 0) dependente = grid.ColunaDependente();
        if (dependente == 0)
            throw TFalha{1, "A planilha não tem variável dependente; indique-a com --dependent."};
        const std::vector<TTermo> termos = cli::TermosModelo(grid, o.modelo, dependente);
        sistema.CarregaDados();
        sistema.DefineTermos(termos);
        // The reason, when the regression system refused the model.
        auto motivo = [&] {
            return sistema.Recusa() == TRecusa::Nenhuma ? std::string(".")
                                                        : ": " + sistema.MotivoRecusa() + ".";
        };
        if (o.saneia && !sistema.Saneia(sig.Saneamento, sig.ParametroSaneamento))
            throw TFalha{1, "O modelo não pode ser ajustado depois do saneamento" + motivo()};
        if (sistema.n() == 0 || !sistema.MontaSistema() || !sistema.Resolve())
            throw TFalha{1, "O modelo não pode ser ajustado" + motivo()};
        sistema.CalculaEstatisticas();
    } else {
        pesquisa = std::make_unique<TPesquisa>(grid, sistema);
        pesquisa->Significancias = sig;
        std::vector<std::string> avisos;
        pesquisa->Aviso = [&](const std::string &t) { avisos.push_back(t); };
        cli::ConfiguraPesquisa(*pesquisa, grid, o.pesquisa);
        if (!pesquisa->Pesquisa() || pesquisa->Modelos() == 0)
            throw TFalha{1, avisos.empty() ? "Nada a pesquisar." : UmaLinha(avisos[0])};
        // "--criterion grau": row N of the order by grade (declarations as given here).
        int linha = o.escolha;
        std::optional<TGrausLista> graus;
        if (cli::CriterioGrau(o.pesquisa)) {
            TDeclaracoesEnquadramento d;
            if (pedido.Caracterizacao) d.Caracterizacao = static_cast<TGrau>(*pedido.Caracterizacao);
            if (pedido.Identificacao) d.Identificacao = static_cast<TGrau>(*pedido.Identificacao);
            graus = GrausDaLista(*pesquisa, sistema, d, true);
        }
        pesquisa->MontaTabela(true);
        const int linhas = static_cast<int>(pesquisa->Tabela().size()) - 1;
        if (o.escolha > linhas)
            throw TFalha{1, "A tabela dos melhores modelos não tem a linha " + std::to_string(o.escolha) + "."};
        if (graus) linha = LinhaDoSlot(*pesquisa, graus->Slots[static_cast<std::size_t>(o.escolha - 1)]);
        if (linha == 0) throw TFalha{1, "O modelo escolhido não pode ser ajustado."};
        TPesquisa::TJanelaEscolha janela;
        janela.Escolhe = [&](TPesquisa &, int) { return linha; };
        if (!pesquisa->EscolheModelo(o.saneia, sig.Saneamento, sig.ParametroSaneamento, janela)) {
            if (sistema.Recusa() != TRecusa::Nenhuma)
                throw TFalha{1, "O modelo escolhido não pode ser ajustado: " + sistema.MotivoRecusa() + "."};
            throw TFalha{1, avisos.empty() ? "O modelo escolhido não pode ser ajustado." : UmaLinha(avisos[0])};
        }
    }

    const TResultadoRelatorio r = ExportaRelatorio(pedido, sistema, grid, pesquisa.get(), sig, nullptr);
    for (const std::string &a : r.Avisos)
        std::cerr << UmaLinha(a) << '\n';
    if (!r.Ok) throw TFalha{1, r.Erro};
    if (r.Paginas > 0) std::cout << r.Paginas << " páginas\n";
    if (!o.graficos.empty()) std::cout << r.Graficos << " gráficos em " << o.graficos << '\n';
    return 0;
}

} // namespace

void RegistraReport(CLI::App &app, int &status) {
    auto o = std::make_shared<TOpcoesReport>();
    auto *cmd = app.add_subcommand("report", "Escreve o relatório de um modelo num arquivo");
    cmd->add_option("FILE", o->arquivo, "A planilha (qualquer formato)")->required();
    cmd->add_option("--model", o->modelo, "Código de transformação por variável: \"NOME=CÓDIGO,...\"");
    cmd->add_option("--choose", o->escolha, "Pesquisa e escolhe o modelo da linha N da tabela");
    cli::RegistraOpcoesPesquisa(*cmd, o->pesquisa);
    cmd->add_option("--dependent", o->dependente, "A variável dependente (padrão: a da planilha)");
    cmd->add_option("--use", o->usar, "Marca como usadas exatamente estas variáveis: NOME,NOME,...");
    cmd->add_option("--subject", o->sujeito, "Valores do objeto sob avaliação: \"NOME=VALOR,...\"");
    cmd->add_option("--mode", o->modo, "Modo de estatística: inferencial ou descritiva (padrão: o do arquivo)");
    cmd->add_option("--factors", o->fatores,
                    "Modo descritivo: os coeficientes de homogeneização: NOME,NOME,...");
    cmd->add_option("--config", o->configuracao, "Configuração de relatório (.CNF)");
    cmd->add_option("--items", o->itens, "Itens do relatório: all ou N,N,... (1 a " + std::to_string(kNumeroItens) + ")");
    cmd->add_option("--graphs", o->graficos, "Grava também cada gráfico como PNG nesta pasta");
    cmd->add_flag("--sanitize", o->saneia, "Saneia a amostra antes do relatório");
    cmd->add_option("--caracterizacao", o->caracterizacao,
                    "Enquadramento: grau declarado da caracterização do imóvel avaliando (III, II ou I)");
    cmd->add_option("--identificacao", o->identificacao,
                    "Enquadramento: grau declarado da identificação dos dados de mercado (III, II ou I)");
    cmd->add_option("-o,--output", o->saida, "O relatório: " + ListaExtensoes(QStringLiteral(".")).toStdString())->required();
    cmd->callback([o, cmd, &status] {
        o->itensDados = cmd->count("--items") > 0;
        o->graficosDados = cmd->count("--graphs") > 0;
        status = cli::Executa([o] { return Relatorio(*o); });
    });
}
