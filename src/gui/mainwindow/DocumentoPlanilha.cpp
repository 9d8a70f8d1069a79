#include "gui/mainwindow/DocumentoPlanilha.h"

#include "gui/mainwindow/TextosEstado.h"

namespace zelto {

TDocumentoPlanilha::TDocumentoPlanilha() : historico_(grid_), arquivo_(kPlanilhaNova) {}

bool TDocumentoPlanilha::SemArquivo() const {
    return arquivo_ == kPlanilhaNova;
}

void TDocumentoPlanilha::DefineArquivo(const std::string &nome) {
    arquivo_ = nome;
    grid_.NomeArquivo = nome;
}

void TDocumentoPlanilha::VinculaAoLido() {
    arquivo_ = grid_.NomeArquivo.empty() ? std::string(kPlanilhaNova) : grid_.NomeArquivo;
}

bool TDocumentoPlanilha::TemDados() const {
    return grid_.ColunasUsadas() > 0 && grid_.LinhasUsadas() > 0;
}

void TDocumentoPlanilha::Limpou() {
    DefineArquivo(kPlanilhaNova);
    resumo_.clear();
    comentarios_.clear();
    historico_.Limpa();
    grid_.DefineModificada(false);
}

} // namespace zelto
