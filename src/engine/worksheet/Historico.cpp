#include "worksheet/Historico.h"

#include <utility>

namespace zelto {

THistorico::THistorico(TGridzelto &g, std::size_t maxNiveis) : g_(g), maxNiveis_(maxNiveis) {}

bool THistorico::TopoSemEfeito() const {
    return !desfazer_.empty() && g_.MesmosDados(desfazer_.back().estado);
}

void THistorico::AjustaBytes(Nivel &n, std::size_t bytes) {
    bytes_ = bytes_ - n.bytes + bytes;
    n.bytes = bytes;
}

void THistorico::RetiraMaisAntigos() {
    auto retira = [this] {
        bytes_ -= desfazer_.front().bytes;
        desfazer_.pop_front();
    };
    while (desfazer_.size() > maxNiveis_)
        retira();
    while (bytes_ > limiteBytes_ && desfazer_.size() > 1)
        retira();
}

void THistorico::Registra(const std::string &descricao) {
    refazer_.clear();
    // The operation recorded last changed nothing: this one takes its place.
    if (TopoSemEfeito()) {
        bytes_ -= desfazer_.back().bytes;
        desfazer_.pop_back();
    }
    Nivel novo{descricao, g_.Captura(), 0};
    if (!desfazer_.empty()) {
        // What the last operation replaced is now known: the rows that the
        // level before it holds and the worksheet no longer does.
        Nivel &anterior = desfazer_.back();
        AjustaBytes(anterior,
                    anterior.estado.BytesProprios() + anterior.estado.BytesExclusivos(novo.estado));
    }
    std::size_t proprios = novo.estado.BytesProprios();
    desfazer_.push_back(std::move(novo));
    AjustaBytes(desfazer_.back(), proprios);
    RetiraMaisAntigos();
}

bool THistorico::PodeDesfazer() const {
    if (!g_.Editavel || desfazer_.empty()) return false;
    return desfazer_.size() > 1 || !TopoSemEfeito();
}

bool THistorico::PodeRefazer() const {
    return g_.Editavel && !refazer_.empty();
}

std::string THistorico::DescricaoDesfazer() const {
    if (desfazer_.empty()) return "";
    if (!TopoSemEfeito()) return desfazer_.back().descricao;
    return desfazer_.size() > 1 ? desfazer_[desfazer_.size() - 2].descricao : std::string();
}

std::string THistorico::DescricaoRefazer() const {
    return refazer_.empty() ? std::string() : refazer_.back().descricao;
}

bool THistorico::Desfaz() {
    if (!g_.Editavel) return false;
    if (TopoSemEfeito()) {
        bytes_ -= desfazer_.back().bytes;
        desfazer_.pop_back();
    }
    if (desfazer_.empty()) return false;
    Nivel nivel = std::move(desfazer_.back());
    bytes_ -= nivel.bytes;
    desfazer_.pop_back();
    refazer_.push_back({nivel.descricao, g_.Captura(), 0});
    // The level below was measured against the state now put back.
    g_.Restaura(nivel.estado);
    return true;
}

bool THistorico::Refaz() {
    if (!g_.Editavel || refazer_.empty()) return false;
    Nivel nivel = std::move(refazer_.back());
    refazer_.pop_back();
    Nivel volta{nivel.descricao, g_.Captura(), 0};
    std::size_t bytes = volta.estado.BytesProprios() + volta.estado.BytesExclusivos(nivel.estado);
    desfazer_.push_back(std::move(volta));
    AjustaBytes(desfazer_.back(), bytes);
    g_.Restaura(nivel.estado);
    RetiraMaisAntigos();
    return true;
}

void THistorico::Limpa() {
    desfazer_.clear();
    refazer_.clear();
    bytes_ = 0;
}

void THistorico::DefineLimiteBytes(std::size_t bytes) {
    limiteBytes_ = bytes;
    RetiraMaisAntigos();
}

} // namespace zelto
