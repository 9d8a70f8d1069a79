// Editing operations on the worksheet as a whole: inserting, deleting and
// moving samples and variables, renumbering, sorting, trimming trailing empty
// rows, clearing a cell and the one-cell clipboard. The records of a row or a
// column travel with it; the used counts follow; every real change marks the
// worksheet modified. Nothing here changes the worksheet while it is not
// editable.
#include "worksheet/Gridzelto.h"

#include "common/Numeros.h"
#include "common/Texto.h"

#include <algorithm>
#include <climits>

namespace zelto {

namespace {

constexpr int kLarguraChave = 30;
constexpr const char *kTituloOrdenacao = "Ordenando planilha . . .";

// A sort key: the text right-aligned in 30 characters (numbers), or as it stands.
std::string ChaveOrdenacao(const std::string &texto, bool alinhaDireita) {
    if (!alinhaDireita) return texto;
    std::size_t n = TamanhoCp1252(texto);
    if (n >= kLarguraChave) return texto;
    return std::string(kLarguraChave - n, ' ') + texto;
}

} // namespace

// ---- Raw row and column edits --------------------------------------------------

void TGridzelto::RemoveLinhasBrutas(int de, int ate) {
    linhas_.erase(linhas_.begin() + de, linhas_.begin() + ate + 1);
    Notifica(TMudanca::LinhasRemovidas, 0, de, 0, ate);
}

void TGridzelto::MoveLinhaBruta(int de, int para) {
    auto b = linhas_.begin();
    if (de < para)
        std::rotate(b + de, b + de + 1, b + para + 1);
    else
        std::rotate(b + para, b + de, b + de + 1);
    Notifica(TMudanca::LinhaMovida, 0, de, 0, para);
}

void TGridzelto::RemoveColunaBruta(int pos) {
    colunas_.erase(colunas_.begin() + pos);
    for (int r = 0; r < RowCount(); ++r) {
        const Celulas *cel = linhas_[r].celulas.get();
        if (!cel || static_cast<int>(cel->size()) <= pos) continue; // the cell was never there
        Celulas &unica = CelulasUnicas(r);
        unica.erase(unica.begin() + pos);
    }
    Notifica(TMudanca::ColunasRemovidas, pos, 0, pos, 0);
}

void TGridzelto::MoveColunaBruta(int de, int para) {
    auto gira = [de, para](auto &v) {
        auto b = v.begin();
        if (de < para)
            std::rotate(b + de, b + de + 1, b + para + 1);
        else
            std::rotate(b + para, b + de, b + de + 1);
    };
    gira(colunas_);
    // Rows whose cells between the two places are all empty stay as they are
    // (and keep sharing their buffers with captured states).
    const int menor = std::min(de, para), maior = std::max(de, para);
    for (int r = 0; r < RowCount(); ++r) {
        const Celulas *cel = linhas_[r].celulas.get();
        if (!cel) continue;
        const int fim = std::min(maior + 1, static_cast<int>(cel->size()));
        bool algo = false;
        for (int c = menor; c < fim && !algo; ++c)
            algo = !(*cel)[c].empty();
        if (!algo) continue;
        Celulas &unica = CelulasUnicas(r);
        if (static_cast<int>(unica.size()) <= maior) unica.resize(maior + 1);
        gira(unica);
    }
    Notifica(TMudanca::ColunaMovida, de, 0, para, 0);
}

bool TGridzelto::LinhaComConteudo(int r) const {
    return linhas_[r].amostragem.has_value() || !LinhaVazia(r);
}

bool TGridzelto::ColunaComConteudo(int c) const {
    if (colunas_[c].variavel) return true;
    for (int r = 1; r < RowCount(); ++r)
        if (!Celula(c, r).empty()) return true;
    return false;
}

void TGridzelto::AjustaCelulaAtual() {
    ColunaAtual = std::clamp(ColunaAtual, 1, std::max(1, ColCount() - 1));
    LinhaAtual = std::clamp(LinhaAtual, 1, std::max(1, RowCount() - 1));
}

// ---- Naming of new rows and columns --------------------------------------------

int TGridzelto::ProximoNumeroAmostra() const {
    long long maior = 0;
    for (int r = 1; r < RowCount(); ++r) {
        long long n = 0;
        if (ConverteInteiro(Celula(0, r), n)) maior = std::max(maior, n);
    }
    return static_cast<int>(std::min<long long>(maior, INT_MAX - 1) + 1);
}

std::string TGridzelto::ProximoRotuloColuna() const {
    auto existe = [this](const std::string &rotulo) {
        for (int c = 1; c < ColCount(); ++c)
            if (Celula(c, 0) == rotulo) return true;
        return false;
    };
    for (char l = 'A'; l <= 'Z'; ++l)
        if (std::string r{l, '0'}; !existe(r)) return r;
    for (char l = 'A'; l <= 'Z'; ++l)
        if (std::string r{'A', l, '0'}; !existe(r)) return r;
    return "AB0";
}

// ---- Samples -------------------------------------------------------------------

void TGridzelto::InsereAmostragem(int r) {
    if (!Editavel || r < 1 || r > RowCount()) return;
    std::string numero = std::to_string(ProximoNumeroAmostra());
    InsereLinhaBruta(r);
    AtribuiCelula(0, r, std::move(numero));
    if (r <= linhasUsadas_) DefineLinhasUsadas(linhasUsadas_ + 1);
    AjustaCelulaAtual();
    DefineModificada(true);
}

void TGridzelto::ExcluiAmostragem(int r) {
    if (!Editavel || r < 1 || r > linhasUsadas_ || r >= RowCount()) return;
    LiberaAmostragem(r);
    for (int c = 0; c < ColCount(); ++c)
        AtribuiCelula(c, r, std::string());
    int ultima = RowCount() - 1;
    if (r != ultima) MoveLinhaBruta(r, ultima);
    DefineLinhasUsadas(linhasUsadas_ - 1);
    // The row now at r and the emptied row at the bottom need numbers; the
    // other rows keep theirs.
    if (Celula(0, r).empty()) NumeraLinha(r);
    if (Celula(0, ultima).empty()) NumeraLinha(ultima);
    DefineModificada(true);
}

// ---- Variables -----------------------------------------------------------------

void TGridzelto::InsereVariavel(int c) {
    if (!Editavel || c < 1 || c > ColCount()) return;
    InsereColunaBruta(c, ProximoRotuloColuna());
    if (c <= colunasUsadas_) DefineColunasUsadas(colunasUsadas_ + 1);
    AjustaCelulaAtual();
    DefineModificada(true);
}

void TGridzelto::ExcluiVariavel(int c) {
    if (!Editavel || c < 1 || c >= ColCount()) return;
    if (ColCount() > 2) {
        // The emptied column would go to the end and be dropped there: drop it at once.
        RemoveColunaBruta(c);
    } else {
        colunas_[c].formato = TDataFormat{};
        colunas_[c].variavel.reset();
        for (int r = 0; r < RowCount(); ++r)
            if (!Celula(c, r).empty()) CelulasMutaveis(r)[c].clear();
        Notifica(TMudanca::Variavel, c, 0, c, 0);
        Notifica(TMudanca::Celulas, c, 0, c, RowCount() - 1);
        AtribuiCelula(c, 0, ProximoRotuloColuna());
    }
    if (c <= colunasUsadas_) DefineColunasUsadas(colunasUsadas_ - 1);
    AjustaCelulaAtual();
    RecalcularTudo();
    DefineModificada(true);
}

// ---- Renumbering and trimming --------------------------------------------------

void TGridzelto::Renumera() {
    if (!Editavel) return;
    for (int r = 1; r < RowCount(); ++r)
        AtribuiCelula(0, r, std::to_string(r));
    int sobra = RowCount() - 1 - linhasUsadas_;
    if (sobra > 2) {
        int alvo = linhasUsadas_ < 40 ? 41 : linhasUsadas_ + 2;
        // Rows below the used ones that still hold data or flags are kept.
        int ultimaOcupada = 0;
        for (int r = RowCount() - 1; r > 0 && ultimaOcupada == 0; --r)
            if (LinhaComConteudo(r)) ultimaOcupada = r;
        alvo = std::max(alvo, ultimaOcupada + 1);
        if (alvo < RowCount()) RemoveLinhasBrutas(alvo, RowCount() - 1);
    }
    AjustaCelulaAtual();
    DefineModificada(true);
}

void TGridzelto::AparaLinhasVazias() {
    if (!Editavel) return;
    int n = std::min<int>(colunasUsadas_, ColCount() - 1);
    int u = std::min<int>(linhasUsadas_, RowCount() - 1);
    auto vazia = [&](int r) {
        for (int c = 1; c <= n; ++c)
            if (!Apara(Celula(c, r)).empty()) return false;
        return true;
    };
    while (u > 0 && vazia(u))
        --u;
    DefineLinhasUsadas(u);
}

// ---- Sorting -------------------------------------------------------------------

void TGridzelto::Ordena(int k, bool crescente, TProgresso *progresso) {
    int n = std::min<int>(linhasUsadas_, RowCount() - 1);
    if (!Editavel || n <= 0 || k < 0 || k > std::min<int>(colunasUsadas_, ColCount() - 1)) return;
    TProgresso nulo;
    TProgresso &p = progresso ? *progresso : nulo;
    p.Inicia(kTituloOrdenacao, 0, 3.0 * n, true);
    bool direita = k == 0;
    if (const TVariavel *v = Variavel(k)) direita = v->Tipo == tvNumerica || v->Tipo == tvCalculada;

    std::vector<std::string> chaves(n + 1);
    for (int i = 1; i <= n; ++i) {
        if (p.Cancelado()) return p.Termina();
        chaves[i] = ChaveOrdenacao(Celula(k, i), direita);
        p.Avanca(i);
    }
    // Equal keys keep their original order in both directions.
    std::vector<int> ordem(n);
    for (int i = 0; i < n; ++i)
        ordem[i] = i + 1;
    std::stable_sort(ordem.begin(), ordem.end(), [&](int a, int b) {
        int x = ComparaTextoLocal(chaves[a], chaves[b]);
        return crescente ? x < 0 : x > 0;
    });
    if (p.Cancelado()) return p.Termina();
    p.Avanca(2.0 * n);

    // The new order is built apart and put in place at once, so a cancelled
    // sort leaves the worksheet as it was.
    std::vector<Linha> novas;
    novas.reserve(n);
    for (int s = 0; s < n; ++s) {
        if (p.Cancelado()) return p.Termina();
        novas.push_back(linhas_[ordem[s]]);
        p.Avanca(2.0 * n + s + 1);
    }
    for (int s = 1; s <= n; ++s) {
        bool flagsMudam = linhas_[s].amostragem != novas[s - 1].amostragem;
        linhas_[s] = std::move(novas[s - 1]);
        if (flagsMudam) Notifica(TMudanca::Amostragem, 0, s, 0, s);
    }
    Notifica(TMudanca::Celulas, 0, 1, ColCount() - 1, n);
    p.Termina();
    DefineModificada(true);
}

// ---- Moves ---------------------------------------------------------------------

void TGridzelto::MoveLinha(int de, int para) {
    if (!Editavel || de == para || de < 1 || para < 1 || de >= RowCount() || para >= RowCount())
        return;
    int u = linhasUsadas_;
    bool conteudo = LinhaComConteudo(de);
    MoveLinhaBruta(de, para);
    if (conteudo && para > u)
        u = para;
    else if (de > u && para <= u)
        ++u; // the used rows shift down one place; the last of them stays used
    DefineLinhasUsadas(u);
    DefineModificada(true);
}

void TGridzelto::MoveColuna(int de, int para) {
    if (!Editavel || de == para || de < 1 || para < 1 || de >= ColCount() || para >= ColCount())
        return;
    int u = colunasUsadas_;
    bool conteudo = ColunaComConteudo(de);
    MoveColunaBruta(de, para);
    if (conteudo && para > u)
        u = para;
    else if (de > u && para <= u)
        ++u;
    DefineColunasUsadas(u);
    DefineModificada(true);
}

// ---- Single cells --------------------------------------------------------------

void TGridzelto::LimpaCelula(int c, int r) {
    if (!Editavel || c < 1 || r < 1 || c >= ColCount() || r >= RowCount()) return;
    AtribuiCelula(c, r, std::string());
    RecalcularLinha(r);
    DefineModificada(true);
}

TCelulaCopiada TGridzelto::CopiaCelula(int c, int r) const {
    if (c < 0 || r < 0 || c >= ColCount() || r >= RowCount()) return {};
    return {Celula(c, r), Formato(c).Editor};
}

bool TGridzelto::ColaCelula(const TCelulaCopiada &copia, int c, int r) {
    if (!Editavel || copia.Texto.empty() || c < 1 || r < 1 || c >= ColCount() || r >= RowCount())
        return false;
    TipoEditor destino = Formato(c).Editor;
    bool cabe = false;
    switch (destino) {
    case teTexto:
        cabe = true;
        break;
    case teLista:
    case teCaixaMarcacao:
    case teReal:
    case teData:
        cabe = copia.Editor == destino;
        break;
    }
    if (!cabe) return false;
    // The pasted text is an edit of the cell: a column without a variable
    // becomes a comment column, and the text takes the column's form.
    if (!Variavel(c)) DefinePorDigitacao(c, U'a');
    AceitaEdicao(c, r, copia.Texto);
    return true;
}

TCelulaCopiada TGridzelto::RecortaCelula(int c, int r) {
    TCelulaCopiada copia = CopiaCelula(c, r);
    LimpaCelula(c, r);
    return copia;
}

} // namespace zelto
