// The example worksheet of the report benchmark, read where the worksheet's headers are
// included.
#include "files/LerArquivo.h"
#include "worksheet/Gridzelto.h"

#include <memory>
#include <string>

std::shared_ptr<zelto::TGridzelto> LeExemplo(const std::string &arquivo) {
    auto g = std::make_shared<zelto::TGridzelto>();
    std::string resumo;
    if (!zelto::LerArquivo(arquivo, *g, 1000, resumo, nullptr).ok) return nullptr;
    return g;
}
