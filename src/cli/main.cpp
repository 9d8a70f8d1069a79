// zelto-cli: the program's work without a window, for scripts, tests and benchmarks.
#include <CLI/CLI.hpp>

int main(int argc, char **argv) {
    CLI::App app{"Zelto 32 - linha de comando"};
    app.require_subcommand(1);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError &e) {
        return app.exit(e) == 0 ? 0 : 2;
    }
    return 0;
}
