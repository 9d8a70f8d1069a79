// zelto-cli fit: fits one model to the active samples of a worksheet file and prints its
// statistics, as text or as JSON.
#pragma once

#include <CLI/CLI.hpp>

// Adds the subcommand; its callback leaves the exit status in `status` (0 fitted, 1 the file
// cannot be read or the model cannot be fitted, 2 a bad option value).
void RegistraFit(CLI::App &app, int &status);

namespace zelto {
class TSistema;
}
// The statistics of a fitted model as `fit` prints them, as text or as one JSON object. The fit
// must be built up to OrdenaResiduos (and CalculaAlavancas).
void ImprimeAjuste(const zelto::TSistema &s, long double confianca, bool json, std::ostream &out);
