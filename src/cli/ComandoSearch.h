// zelto-cli search: the model search on a worksheet file, its best models, their table and the
// choice of one, as text or as JSON.
#pragma once

#include <CLI/CLI.hpp>

// Adds the subcommand; its callback leaves the exit status in `status` (0 searched, also when
// interrupted with Ctrl+C; 1 the file cannot be read or there is nothing to search; 2 a bad
// option value).
void RegistraSearch(CLI::App &app, int &status);
