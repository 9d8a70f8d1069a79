// Options the model commands of zelto-cli share (fit, search, report): the variable named on
// the command line, "NAME=VALUE" lists, the variables in use (--use), the subject property's
// values (--subject), the model's codes (--model), and the search's configuration and
// significance levels (--type, --mask, --criterion, --rapid, --threads, --significance).
// Bad usage throws TFalha{2, …}; failures TFalha{1, …}.
#pragma once

#include "PlanilhaCli.h"
#include "regression/Sistema.h"
#include "search/GrauModelos.h"
#include "significance/Significancias.h"

#include <CLI/CLI.hpp>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zelto {
class TPesquisa;
}

namespace zelto::cli {

// The column of a variable name: the header cell equal to it, else equal but for case.
int Coluna(const TGridzelto &g, const std::string &nome);

// "NAME=VALUE,NAME=VALUE": a piece without "=" belongs to the value before it, so values may
// hold the worksheet's decimal comma ("Área=2,5").
std::vector<std::pair<std::string, std::string>> Pares(std::string_view texto);

// --use: marks exactly these variables as used (nothing when the option was not given; a list
// without names is bad usage); the column `manter` (the dependent variable; 0 none) stays used.
void MarcaUsadas(TGridzelto &g, const std::string &usar, int manter = 0);

// --dependent and --use as the search takes them: the variable named becomes the dependent one,
// the variables in use are those of the list, and the dependent variable (the one named, else
// the one the worksheet marks) stays used. Returns the column named (0 when none was).
int DefineVariaveis(TGridzelto &g, const std::string &dependente, const std::string &usar);

// --subject: sets (or adds) the subject property's value of each variable named. A value that
// does not convert under its variable's kind, or a variable named twice, is bad usage; labels
// and dates are kept in their cell form ("Sim" as TRUE), numbers as typed.
void DefineObjeto(TGridzelto &g, const std::string &sujeito);
// The subject property's values of the columns as the worksheet keeps them: TFalha{1} for one
// that does not convert under its variable's kind, naming the variable and the value.
void ConfereValoresObjeto(const TGridzelto &g, const std::vector<int> &colunas);

// A whole number given to an option, within [minimo, maximo]; TFalha{2} saying the range
// otherwise.
long long InteiroOpcao(std::string_view opcao, std::string_view texto, long long minimo,
                       long long maximo);

// --model: the terms of the model, the dependent variable (column `dependente`) first, then
// every other variable with a non-zero code, in column order; a variable named twice is bad
// usage.
std::vector<TTermo> TermosModelo(const TGridzelto &g, const std::string &modelo, int dependente);

// The search's options, as `search` and `report --choose` take them. --rapid takes 1 to 65535,
// --threads 1 to MaximoThreads() (four per core).
struct TOpcoesPesquisa {
    std::string tipo, criterio, significancia;
    std::vector<std::string> mascaras;
    std::string rapida, threads; // whole numbers, checked with their ranges
};
void RegistraOpcoesPesquisa(CLI::App &cmd, TOpcoesPesquisa &o);
// "--criterion grau": the search runs by R, then its listed models are graded and re-ordered.
inline bool CriterioGrau(const TOpcoesPesquisa &o) { return o.criterio == "grau"; }
// The configuration dialog, driven by the options.
void ConfiguraPesquisa(TPesquisa &p, const TGridzelto &g, const TOpcoesPesquisa &o);
// The significance settings of a run: the defaults, or those of a named configuration (a file
// that is none is bad usage).
TSignificancias SignificanciasCli(const std::string &arquivo);

} // namespace zelto::cli
