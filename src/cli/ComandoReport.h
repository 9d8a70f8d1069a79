// zelto-cli report: the report of a model into a file (built when the desktop layers are).
#pragma once

#include <CLI/CLI.hpp>

// Adds the subcommand; its callback leaves the exit status in `status` (0 written, 1 the file
// cannot be read, the model cannot be fitted or the report not written, 2 bad usage).
void RegistraReport(CLI::App &app, int &status);
