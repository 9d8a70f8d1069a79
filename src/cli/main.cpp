// zelto-cli: the program's work without a window, for scripts, tests and benchmarks.
#include "ComandoFit.h"
#ifdef ZELTO_COM_RELATORIO
#include "ComandoReport.h"
#endif
#include "ComandoSearch.h"
#include "ComandosArquivo.h"
#include "worksheet/CalcEquacao.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <iostream>
#include <memory>
#include <string>

namespace {

// Evaluates one formula without a worksheet, so every name that is not a
// function or a constant is an error. Prints the value (17 significant digits,
// "." as decimal separator) and returns 0, or prints the error's name and
// returns 1. Message-box texts go to stderr.
int Calcula(const std::string &formula) {
    zelto::TCalcEquacao calc;
    calc.Equacao = formula;
    calc.AoMensagem = [](const std::string &texto) { std::cerr << texto << '\n'; };
    double valor = calc.Avalia();
    if (calc.Erro() != zelto::SEM_ERRO) {
        std::cout << zelto::NomeErroEquacao(calc.Erro()) << '\n';
        return 1;
    }
    char texto[64];
    auto fim = std::to_chars(texto, texto + sizeof texto, valor + 0.0, // no "-0"
                             std::chars_format::general, 17)
                   .ptr;
    std::cout << std::string_view(texto, fim - texto) << '\n';
    return 0;
}

void RegistraCalc(CLI::App &app, int &status) {
    auto *cmd = app.add_subcommand(
        "calc", "Avalia uma fórmula (use -- antes de uma fórmula que começa com \"-\")");
    auto formula = std::make_shared<std::string>();
    cmd->add_option("FORMULA", *formula, "A fórmula, por exemplo \"2,5*2\"")->required();
    cmd->callback([formula, &status] { status = Calcula(*formula); });
}

} // namespace

int main(int argc, char **argv) {
    CLI::App app{"Zelto 32 - linha de comando"};
    app.require_subcommand(1);
    int status = 0;
    RegistraCalc(app, status);
    RegistraFit(app, status);
    RegistraSearch(app, status);
    RegistraInfo(app, status);
    RegistraConvert(app, status);
    RegistraExemplo(app, status);
#ifdef ZELTO_COM_RELATORIO
    RegistraReport(app, status);
#endif
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError &e) {
        return app.exit(e) == 0 ? 0 : 2;
    }
    return status;
}
