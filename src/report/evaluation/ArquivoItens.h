// The report settings file read into and written from a list of report items: the records of
// the items' settings values, handed to config/ArquivoRelatorio.h.
#pragma once

#include "config/ArquivoRelatorio.h"
#include "evaluation/ItemAvaliacao.h"

namespace zelto {

// Where each item's settings live, in list order.
inline TRegistrosConfiguracao Registros(const TListaItens &itens) {
    TRegistrosConfiguracao r;
    r.reserve(itens.size());
    for (const auto &item : itens) r.push_back(item->Registro());
    return r;
}

inline void PadroesConfiguracaoRelatorio(TConfiguracaoRelatorio &c, const TListaItens &itens) {
    PadroesConfiguracaoRelatorio(c, Registros(itens));
}
inline bool LeConfiguracaoRelatorio(const std::filesystem::path &arquivo, TConfiguracaoRelatorio &c,
                                    const TListaItens &itens, TProgresso *progresso = nullptr,
                                    const std::string &titulo = {}) {
    return LeConfiguracaoRelatorio(arquivo, c, Registros(itens), progresso, titulo);
}
inline bool GravaConfiguracaoRelatorio(const std::filesystem::path &arquivo, const TConfiguracaoRelatorio &c,
                                       const TListaItens &itens) {
    return GravaConfiguracaoRelatorio(arquivo, c, Registros(itens));
}
inline bool ArquivoRelatorioDanificado(const std::filesystem::path &arquivo, const TListaItens &itens) {
    return ArquivoRelatorioDanificado(arquivo, Registros(itens));
}
inline bool GravaConfiguracaoNomeada(const std::filesystem::path &trabalho, const std::filesystem::path &destino,
                                     const TConfiguracaoRelatorio &c, const TListaItens &itens) {
    return GravaConfiguracaoNomeada(trabalho, destino, c, Registros(itens));
}
inline bool LeConfiguracaoNomeada(const std::filesystem::path &origem, const std::filesystem::path &trabalho,
                                  TConfiguracaoRelatorio &c, const TListaItens &itens,
                                  TProgresso *progresso = nullptr, const std::string &titulo = {}) {
    return LeConfiguracaoNomeada(origem, trabalho, c, Registros(itens), progresso, titulo);
}

} // namespace zelto
