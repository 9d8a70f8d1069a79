// Options the model commands of zelto-cli share (fit, search, report): the variable named on
// the command line, "NAME=VALUE" lists, the variables in use (--use), the subject property's
// values (--subject), the model's codes (--model), and the search's configuration and
// significance levels (--type, --mask, --criterion, --rapid, --threads, --significance).
// Bad usage throws TFalha{2, …}; failures TFalha{1, …}.
#pragma once

#include "PlanilhaCli.h"
#include "regression/Sistema.h"

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

// --use: marks exactly these variables as used (nothing when the list is empty); the column
// `manter` (the dependent variable; 0 none) stays used.
void MarcaUsadas(TGridzelto &g, const std::string &usar, int manter = 0);

// --dependent and --use as the search takes them: the variable named becomes the dependent one,
// the variables in use are those of the list, and the dependent variable (the one named, else
// the one the worksheet marks) stays used. Returns the column named (0 when none was).
int DefineVariaveis(TGridzelto &g, const std::string &dependente, const std::string &usar);

// --subject: sets (or adds) the subject property's value of each variable named.
void DefineObjeto(TGridzelto &g, const std::string &sujeito);

// --model: the terms of the model, the dependent variable (column `dependente`) first, then
// every other variable with a non-zero code, in column order.
std::vector<TTermo> TermosModelo(const TGridzelto &g, const std::string &modelo, int dependente);

// The search's options, as `search` and `report --choose` take them.
struct TOpcoesPesquisa {
    std::string tipo, criterio, significancia;
    std::vector<std::string> mascaras;
    int rapida = 0;
    int threads = 0;
};
void RegistraOpcoesPesquisa(CLI::App &cmd, TOpcoesPesquisa &o);
// The configuration dialog, driven by the options.
void ConfiguraPesquisa(TPesquisa &p, const TGridzelto &g, const TOpcoesPesquisa &o);
// The process-wide significance settings: the defaults, or those of a named configuration.
void CarregaSignificanciasCli(const std::string &arquivo);

} // namespace zelto::cli
