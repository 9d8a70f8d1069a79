// Zelto 32: the desktop program.
#include "gui/app/Aplicacao.h"

int main(int argc, char **argv) {
    return zelto::ExecutaPrograma(argc, argv);
}
