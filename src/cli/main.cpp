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

// What was wrong with the command line, in Portuguese, on one line. The parser's own texts are in
// English; the names they quote (options, arguments) are kept.
std::string MensagemUso(const CLI::App &app, const CLI::ParseError &e) {
    const std::string texto = e.what();
    std::string comandos;
    const auto lista = app.get_subcommands({});
    for (std::size_t i = 0; i < lista.size(); ++i)
        comandos += (i == 0 ? "" : i + 1 == lista.size() ? " ou " : ", ") + lista[i]->get_name();
    auto depois = [&](const std::string &inicio) {
        return texto.rfind(inicio, 0) == 0 ? texto.substr(inicio.size()) : std::string();
    };
    auto antes = [&](const std::string &fim) {
        return texto.size() > fim.size() && texto.ends_with(fim)
                   ? texto.substr(0, texto.size() - fim.size())
                   : std::string();
    };
    std::string r;
    if (dynamic_cast<const CLI::RequiredError *>(&e)) {
        const std::string falta = antes(" is required");
        r = falta.empty() || falta == "A subcommand"
                ? "Falta o comando: " + comandos + "."
                : "Falta " + falta + ".";
    } else if (dynamic_cast<const CLI::ExtrasError *>(&e)) {
        std::string extras = depois("The following arguments were not expected: ");
        if (extras.empty()) extras = depois("The following argument was not expected: ");
        r = "Argumento inesperado: " + (extras.empty() ? texto : extras) + ".";
    } else if (dynamic_cast<const CLI::ArgumentMismatch *>(&e)) {
        const auto doisPontos = texto.find(':');
        r = doisPontos != std::string::npos && doisPontos < texto.find(' ')
                ? "Falta o valor de " + texto.substr(0, doisPontos) + "."
                : "Número errado de valores numa opção.";
    } else if (dynamic_cast<const CLI::ConversionError *>(&e) ||
               dynamic_cast<const CLI::ValidationError *>(&e)) {
        const std::string valor = depois("Could not convert: ");
        r = "Valor inválido" + (valor.empty() ? std::string(".") : ": " + valor + ".");
    } else {
        r = "Linha de comando inválida.";
    }
    return r + " Use --help para ver as opções.";
}

// The help in Portuguese: the labels of its layout, its groups and the help option.
void AjudaEmPortugues(CLI::App &app) {
    auto f = app.get_formatter();
    for (const auto &[chave, valor] :
         {std::pair{"Usage", "Uso"}, {"OPTIONS", "OPÇÕES"}, {"SUBCOMMAND", "COMANDO"},
          {"SUBCOMMANDS", "COMANDOS"}, {"REQUIRED", "OBRIGATÓRIO"}, {"Positionals", "Argumentos"},
          {"TEXT", "TEXTO"}, {"INT", "INTEIRO"}, {"Needs", "Requer"}, {"Excludes", "Exclui"}})
        f->label(chave, valor);
    app.option_defaults()->group("Opções");
    app.set_help_flag("-h,--help", "Mostra esta ajuda e termina");
}

} // namespace

int main(int argc, char **argv) {
    CLI::App app{"Zelto 32 - linha de comando"};
    AjudaEmPortugues(app);
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
    for (CLI::App *c : app.get_subcommands({})) {
        c->group("Comandos");
        if (CLI::Option *ajuda = c->get_help_ptr()) ajuda->group("Opções");
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError &e) {
        // --help prints the help and ends well; every other parse error is bad usage.
        if (e.get_exit_code() == 0) return app.exit(e);
        std::cerr << MensagemUso(app, e) << '\n';
        return 2;
    }
    return status;
}
