// The recent files of the "Arquivo" menu: up to four full names, most recent
// first, read from and written to the settings keys "ItMn1".."ItMn4".
#pragma once

#include "files/ConfiguracaoGeral.h"

#include <string>
#include <vector>

namespace zelto {

class TListaRecentes {
  public:
    static constexpr std::size_t kMaximo = 4;

    // Puts the name first: an entry of the same name (ignoring case) leaves
    // its place, the others shift down and the fifth drops out. The name of a
    // never-saved worksheet ("Planilha.QV3") is not kept.
    void Adiciona(const std::string &nome);
    // Removes the entry of that name (ignoring case).
    void Remove(const std::string &nome);
    const std::vector<std::string> &Itens() const { return itens_; }
    // The menu caption of entry i (0-based): "&1 " + name, "&2 " ...
    static std::string Legenda(std::size_t i, const std::string &nome);

    void Le(const TConfiguracaoGeral &cfg);
    void Grava(TConfiguracaoGeral &cfg) const;

  private:
    std::vector<std::string> itens_;
};

} // namespace zelto
