// The catalogue of the 58 report items: number, class, kind, both titles, whether the item is
// offered in the descriptive mode, the table format flags and the builder of the class, in
// report order (which is not the order of the numbers: items added later take the next
// number).
//
// A new item is one class (in its family's file, followed by ZELTO_CONSTRUTOR_ITEM(class)) and
// one row of the catalogue. A row whose class has no builder does not link.
#pragma once

#include "evaluation/ItemAvaliacao.h"

#include <array>
#include <memory>
#include <vector>

namespace zelto {

inline constexpr int kNumeroItens = 58;
extern const std::array<TDescricaoItem, kNumeroItens> kCatalogo;

// Makes one item of each class, in catalogue order.
TListaItens CriaCatalogo();

// The item of a class in a list, or null.
TItemAvaliacao *ItemDaClasse(const TListaItens &itens, std::string_view classe);

// Defines the builder of an item class, in namespace zelto, for its catalogue row.
#define ZELTO_CONSTRUTOR_ITEM(Classe)                                                              \
    std::unique_ptr<TItemAvaliacao> Cria##Classe(const TDescricaoItem &d) {                        \
        return std::make_unique<Classe>(d);                                                        \
    }

} // namespace zelto
