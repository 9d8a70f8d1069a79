// Worksheets for the report tests, made where the worksheet's headers are included: the
// worksheet's alignments and the writer's share enumerator names, so a test that speaks to a
// writer holds the worksheet only through this opaque pointer.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace zelto {
class TGridzelto;
}

namespace zelto::teste {

// A worksheet file as read (null when it cannot be read).
std::shared_ptr<TGridzelto> LePlanilhaTeste(const std::string &arquivo);
// A worksheet of numeric columns with their names.
std::shared_ptr<TGridzelto> PlanilhaDeColunas(const std::vector<std::string> &nomes,
                                              const std::vector<std::vector<double>> &colunas);

// The property under evaluation: its values by variable name (written with a decimal comma),
// and how the report names it.
void DefineObjeto(TGridzelto &g, const std::vector<std::pair<std::string, double>> &valores);
void DefineIdentificacao(TGridzelto &g, const std::string &objeto, bool feminino, const std::string &unidade);

} // namespace zelto::teste

namespace zelto::teste {

// The flags of a column's variable and of a sample row.
void MarcaVariavel(TGridzelto &g, int coluna, bool usada, bool dependente, bool coeficiente = false);
// A numeric column's format (decimals, thousands dots); gives back the format it had.
std::pair<int, bool> FormataVariavel(TGridzelto &g, int coluna, int casas, bool milhar);
void Desconsidera(TGridzelto &g, int linha);
void Saneia(TGridzelto &g, int linha);

} // namespace zelto::teste
