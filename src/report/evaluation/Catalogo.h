// The catalogue of the 58 report items: number, class, kind, both titles, whether the item is
// offered in the descriptive mode, and the table format flags, in report order (which is not
// the order of the numbers: items added later take the next number).
//
// Each family of items (ItensModelo.cpp, ItensDados.cpp, ...) registers a builder per class it
// implements. CriaCatalogo makes one item of each class in catalogue order; a class no family
// implements yet gets an item of its kind that has no parts, so the report prints its title
// and "Não existem informações neste item do relatório." until its family exists.
#pragma once

#include "evaluation/ItemAvaliacao.h"

#include <array>
#include <memory>
#include <vector>

namespace zelto {

inline constexpr int kNumeroItens = 58;
extern const std::array<TDescricaoItem, kNumeroItens> kCatalogo;

using TConstrutorItem = std::unique_ptr<TItemAvaliacao> (*)(const TDescricaoItem &);
struct TRegistroItem {
    const char *Classe;
    TConstrutorItem Constroi;
};

// The families' registrations.
std::vector<TRegistroItem> ItensModelo(); // model, regressors and variance analysis
std::vector<TRegistroItem> ItensDados();  // data and descriptive tables
std::vector<TRegistroItem> ItensResiduos();     // residuals and outliers
std::vector<TRegistroItem> ItensNormalidade();  // normality, randomness, autocorrelation
std::vector<TRegistroItem> ItensEstimativa();   // estimate and intervals
std::vector<TRegistroItem> ItensExtrapolacao(); // extrapolation
std::vector<TRegistroItem> ItensEnquadramento(); // assumption tests and the standard's grades

using TListaItens = std::vector<std::unique_ptr<TItemAvaliacao>>;
TListaItens CriaCatalogo();

// The item of a class in a list, or null.
TItemAvaliacao *ItemDaClasse(const TListaItens &itens, std::string_view classe);

// Builder of an item class.
template <class T> std::unique_ptr<TItemAvaliacao> Constroi(const TDescricaoItem &d) {
    return std::make_unique<T>(d);
}

} // namespace zelto
