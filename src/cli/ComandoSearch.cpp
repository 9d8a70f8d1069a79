// zelto-cli search FILE [--type padrao|completa|manual|usuario|dirigida] [--mask "NAME=0,1,2,8"]...
//                       [--criterion r|f|sig|r2adj|grau] [--rapid L] [--threads N] [--dependent NAME]
//                       [--use NAME,...] [--significance FILE.NRM] [--table]
//                       [--choose N [--sanitize]] [--caracterizacao III|II|I]
//                       [--identificacao III|II|I] [--json]
//
// Runs the model search on the worksheet and prints the best models. The configuration is made
// as the configuration dialog makes it: the type button first, then the check boxes: "--mask
// NAME=codes" sets one variable's codes (types "dirigida", the default with such masks, and
// "manual", which takes one code), "--mask *=codes" the codes every variable takes (the type
// becomes "usuario"). "--rapid L" turns rapid search on with blocks of L variables. The
// significance levels are the defaults, or those of a named configuration file.
//
// With --table the detailed best-models table follows; with --choose N the model of table row N
// is fitted as "Escolher Modelo" fits it (after the automatic outlier removal with --sanitize,
// with the significance settings' criterion) and printed as `zelto-cli fit` prints a model.
// With --criterion grau, --table or a declaration, every listed model is refitted and graded
// (fundamentação: criteria 1 and 3 as declared with
// --caracterizacao and --identificacao, else at I, criterion 4
// from the subject when the worksheet gives one, otherwise counted at III); "--criterion grau"
// lists the 50 best by R in the order of that grade, III first, by R within a grade, and
// --choose N takes the N-th model of that order.
// Ctrl+C interrupts the search: what was found so far is printed, "interrupted" is true.
//
// JSON keys: total, examined, listed, interrupted, seconds, models_per_second, threads, best
// [{rank, codes {name: code, non-zero only}, R, F, R2_adjusted, regressors, significant (null
// when not computed), equation, and when graded grau ("III", "II", "I" or "sem enquadramento")
// and grau_extrapolation (false: no subject, criterion 4 not evaluated)}], table (with --table:
// rows of 12 texts and the grade, "Fund.", the headings first),
// chosen (with --choose: the `fit` object). Numbers as `fit` writes them ("inf" for the infinite
// marker).
#include "ComandoSearch.h"
#include "ComandoFit.h"

#include "ModeloCli.h"
#include "PlanilhaCli.h"
#include "common/Marcacao.h"
#include "common/Numeros.h"
#include "common/Texto.h"
#include "files/ArquivoIni.h"
#include "files/LerArquivo.h"
#include "regression/Sistema.h"
#include "regression/TextoAjuste.h"
#include "regression/Transformacoes.h"
#include "search/Pesquisa.h"
#include "significance/Significancias.h"
#include "worksheet/Gridzelto.h"

#include <nlohmann/json.hpp>

#include <atomic>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace zelto;
using cli::TFalha;
using cli::UmaLinha;
using Json = nlohmann::ordered_json;

struct TOpcoesSearch {
    std::string arquivo, dependente, usar;
    cli::TOpcoesPesquisa pesquisa;
    std::string escolha; // a table row, 1 to 50
    bool tabela = false, saneia = false, json = false;
    std::string caracterizacao, identificacao; // declared grades of criteria 1 and 3
};

std::optional<TGrau> GrauOpcao(const std::string &texto, const char *opcao) {
    if (texto.empty()) return std::nullopt;
    if (texto == "III") return TGrau::III;
    if (texto == "II") return TGrau::II;
    if (texto == "I") return TGrau::I;
    throw TFalha{2, std::string("Grau inválido em ") + opcao + ": \"" + texto +
                        "\" (use III, II ou I)."};
}

Json Numero(long double x) {
    if (std::isnan(x)) return nullptr;
    if (x >= Infinito) return "inf";
    if (x <= -Infinito) return "-inf";
    return static_cast<double>(x);
}

std::string Texto(long double x) {
    std::ostringstream s;
    s.precision(17);
    if (x >= Infinito) return "inf";
    if (x <= -Infinito) return "-inf";
    s << static_cast<double>(x);
    return s.str();
}

// Ctrl+C while the search runs.
std::atomic<TProgresso *> progressoAtivo{nullptr};
extern "C" void Interrompe(int) {
    if (TProgresso *p = progressoAtivo.load()) p->Cancela();
}

int Pesquisa(const TOpcoesSearch &o) {
    const int escolha =
        o.escolha.empty() ? 0
                          : static_cast<int>(cli::InteiroOpcao("--choose", o.escolha, 1,
                                                               kSlotsMelhores));
    if (o.saneia && escolha == 0) throw TFalha{2, "--sanitize acompanha --choose."};
    TDeclaracoesEnquadramento declaracoes;
    declaracoes.Caracterizacao = GrauOpcao(o.caracterizacao, "--caracterizacao");
    declaracoes.Identificacao = GrauOpcao(o.identificacao, "--identificacao");
    TGridzelto grid;
    const cli::TPlanilhaLida lida = cli::LePlanilha(o.arquivo, grid);
    if (!lida.aviso.empty()) std::cerr << UmaLinha(lida.aviso) << '\n';

    cli::DefineVariaveis(grid, o.dependente, o.usar);

    const TSignificancias sig = cli::SignificanciasCli(o.pesquisa.significancia);

    // The table and the chosen model estimate at the subject: its values must convert.
    if (o.tabela || escolha) {
        std::vector<int> usadas;
        for (int c = 1; c < grid.ColCount(); ++c)
            if (const TVariavel *v = grid.Variavel(c);
                v && v->Usada && c != grid.ColunaDependente())
                usadas.push_back(c);
        cli::ConfereValoresObjeto(grid, usadas);
    }

    TSistema sistema(grid);
    TPesquisa p(grid, sistema);
    p.Significancias = sig;
    std::vector<std::string> avisos;
    p.Aviso = [&](const std::string &t) { avisos.push_back(t); };
    cli::ConfiguraPesquisa(p, grid, o.pesquisa);

    TProgressoPesquisa progresso;
    progressoAtivo = &progresso;
    auto anterior = std::signal(SIGINT, Interrompe);
    const bool pesquisou = p.Pesquisa(&progresso);
    std::signal(SIGINT, anterior);
    progressoAtivo = nullptr;
    for (const std::string &a : avisos)
        std::cerr << UmaLinha(a) << '\n';
    if (!pesquisou) throw TFalha{1, avisos.empty() ? "Nada a pesquisar." : UmaLinha(avisos[0])};
    avisos.clear();

    // Grading refits each listed model: only when the order, the table or the declarations ask
    // for it, so a plain search costs what the search costs.
    const bool avalia = cli::CriterioGrau(o.pesquisa) || o.tabela || !o.caracterizacao.empty() ||
                        !o.identificacao.empty();
    const TGrausLista graus =
        GrausDaLista(p, sistema, declaracoes, cli::CriterioGrau(o.pesquisa), avalia);
    if (o.tabela || escolha) p.MontaTabela(true);
    std::string escolhido;
    if (escolha) {
        const int linhas = static_cast<int>(p.Tabela().size()) - 1;
        if (escolha > linhas)
            throw TFalha{1, "A tabela dos melhores modelos não tem a linha " +
                                std::to_string(escolha) + "."};
        TPesquisa::TJanelaEscolha janela;
        const int linha = cli::CriterioGrau(o.pesquisa)
                              ? (escolha <= static_cast<int>(graus.Slots.size())
                                     ? LinhaDoSlot(p, graus.Slots[static_cast<std::size_t>(escolha - 1)])
                                     : 0)
                              : escolha;
        if (linha == 0)
            throw TFalha{1, "O modelo " + std::to_string(escolha) + " não pode ser ajustado."};
        janela.Escolhe = [&](TPesquisa &, int) { return linha; };
        const std::string falha = "O modelo escolhido não pode ser ajustado";
        if (!p.EscolheModelo(o.saneia, sig.Saneamento, sig.ParametroSaneamento, janela)) {
            if (sistema.Recusa() != TRecusa::Nenhuma)
                throw TFalha{1, falha + ": " + sistema.MotivoRecusa() + "."};
            throw TFalha{1, avisos.empty() ? falha + "." : UmaLinha(avisos[0])};
        }
        if (!sistema.CompletaAjuste()) throw TFalha{1, falha + ": " + sistema.MotivoRecusa() + "."};
        std::ostringstream out;
        ImprimeAjuste(sistema, sig.ConfiancaEstimativa, o.json, out);
        escolhido = out.str();
    }

    const double segundos = p.Segundos();
    const double porSegundo =
        segundos > 0 ? static_cast<double>(p.ExaminadosNaExecucao()) / segundos : 0;
    auto nomes = [&](const TModeloPesquisado &m) {
        Json codigos = Json::object();
        for (int c = 1; c <= p.V(); ++c)
            if (m.Codigos[static_cast<std::size_t>(c)] != 0)
                codigos[grid.Celula(c, 0)] = m.Codigos[static_cast<std::size_t>(c)];
        return codigos;
    };

    // The best-models table with the column "Fund.", each row's fundamentação grade, last.
    auto tabela = [&] {
        std::vector<std::vector<std::string>> t;
        for (std::size_t r = 0; r < p.Tabela().size(); ++r) {
            const int slot = r == 0 ? 0 : p.SlotDaLinha(static_cast<int>(r));
            t.emplace_back(p.Tabela()[r].begin(), p.Tabela()[r].end());
            t.back().push_back(r == 0 ? std::string("Fund.")
                           : slot > 0 ? TextoGrau(graus.Graus[static_cast<std::size_t>(slot - 1)].Grau)
                                      : std::string());
        }
        return t;
    };

    if (o.json) {
        Json j;
        j["total"] = p.Total();
        j["examined"] = p.Examinados();
        j["listed"] = p.Modelos();
        j["interrupted"] = p.Interrompida();
        j["seconds"] = segundos;
        j["models_per_second"] = porSegundo;
        j["threads"] = p.ThreadsUsadas();
        Json melhores = Json::array();
        for (int rank = 1; rank <= p.Modelos(); ++rank) {
            const int i = graus.Slots[static_cast<std::size_t>(rank - 1)];
            const TModeloPesquisado &m = p.Lista().Slot(i);
            Json x;
            x["rank"] = rank;
            x["codes"] = nomes(m);
            x["R"] = Numero(m.R);
            x["F"] = Numero(m.F);
            x["R2_adjusted"] = Numero(m.R2Ajustado);
            x["regressors"] = m.Regressores;
            x["significant"] = m.SignificativosCalculados ? Json(m.Significativos) : Json(nullptr);
            x["equation"] = p.EquacaoSimbolica(i);
            if (avalia) {
                const TGrauModelo &g = graus.Graus[static_cast<std::size_t>(i - 1)];
                x["grau"] = TextoGrau(g.Grau);
                x["grau_extrapolation"] = g.ExtrapolacaoAvaliada;
            }
            melhores.push_back(std::move(x));
        }
        j["best"] = std::move(melhores);
        if (o.tabela) j["table"] = tabela();
        if (escolha) j["chosen"] = Json::parse(escolhido);
        std::cout << j.dump(2) << '\n';
        return 0;
    }

    std::cout << "Modelos: " << p.Total() << " no total, " << p.Examinados() << " examinados, "
              << p.Modelos() << " listados" << (p.Interrompida() ? " (pesquisa interrompida)" : "")
              << "\nTempo: " << segundos << " s, " << static_cast<long long>(porSegundo)
              << " modelos/s, " << p.ThreadsUsadas() << " threads\n";
    for (int rank = 1; rank <= p.Modelos(); ++rank) {
        const int i = graus.Slots[static_cast<std::size_t>(rank - 1)];
        const TModeloPesquisado &m = p.Lista().Slot(i);
        std::cout << rank;
        if (avalia) std::cout << "\tFund. " << TextoGrau(graus.Graus[static_cast<std::size_t>(i - 1)].Grau);
        std::cout << "\tR " << Texto(m.R) << "\tF " << Texto(m.F) << "\tR2aj "
                  << Texto(m.R2Ajustado) << '\t'
                  // Names as typed: the markup is the program's (powers in transformations) only.
                  << TextoSimples(p.EquacaoSimbolica(i, [](const std::string &n) { return Literal(n); }))
                  << '\n';
    }
    if (o.tabela) {
        std::cout << "Tabela:\n";
        for (const std::vector<std::string> &linha : tabela()) {
            for (std::size_t k = 0; k < linha.size(); ++k)
                std::cout << (k ? "\t" : "") << linha[k];
            std::cout << '\n';
        }
    }
    if (escolha) std::cout << "Modelo escolhido (linha " << escolha << "):\n" << escolhido;
    return 0;
}

} // namespace

void RegistraSearch(CLI::App &app, int &status) {
    auto o = std::make_shared<TOpcoesSearch>();
    auto *cmd = app.add_subcommand("search", "Pesquisa os melhores modelos de uma planilha");
    cmd->add_option("FILE", o->arquivo, "A planilha (qualquer formato)")->required();
    cli::RegistraOpcoesPesquisa(*cmd, o->pesquisa);
    cmd->add_option("--dependent", o->dependente, "A variável dependente (padrão: a da planilha)");
    cmd->add_option("--use", o->usar,
                    "Marca como usadas exatamente estas variáveis: NOME,NOME,...");
    cmd->add_flag("--table", o->tabela, "Mostra a tabela detalhada dos melhores modelos");
    cmd->add_option("--choose", o->escolha, "Ajusta o modelo da linha N da tabela (com --criterion grau, o N-ésimo modelo na ordem do "
                    "grau de fundamentação)");
    cmd->add_flag("--sanitize", o->saneia, "Saneia a amostra do modelo escolhido");
    cmd->add_option("--caracterizacao", o->caracterizacao,
                    "Enquadramento: grau declarado da caracterização do imóvel avaliando (III, II ou I)");
    cmd->add_option("--identificacao", o->identificacao,
                    "Enquadramento: grau declarado da identificação dos dados de mercado (III, II ou I)");
    cmd->add_flag("--json", o->json, "Saída em JSON");
    cmd->callback([o, &status] { status = cli::Executa([o] { return Pesquisa(*o); }); });
}
