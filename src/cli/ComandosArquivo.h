// zelto-cli subcommands on worksheet files:
//   info FILE [--json]           what a worksheet file holds (ComandoInfo.cpp)
//   convert IN OUT               a worksheet file in another format (ComandoConvert.cpp)
//   exemplo NAME DATA OUT.QV3    a shipped example worksheet from its data (ComandoExemplo.cpp)
#pragma once

#include <CLI/CLI.hpp>

// Each adds its subcommand; the callback leaves the exit status in `status` (0 done, 1 a
// failure, with its one-line message on stderr, 2 bad usage).
void RegistraInfo(CLI::App &app, int &status);
void RegistraConvert(CLI::App &app, int &status);
void RegistraExemplo(CLI::App &app, int &status);
