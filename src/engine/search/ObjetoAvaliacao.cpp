#include "search/ObjetoAvaliacao.h"

#include "common/Numeros.h"
#include "common/Texto.h"
#include "files/LeituraGravacaoDados.h"
#include "worksheet/CalcEquacao.h"

#include <algorithm>
#include <cmath>

namespace zelto {

namespace {

constexpr std::size_t kMaximoTexto = 255;

bool Preenchido(const std::string &t) {
    return !Apara(t).empty();
}

// A stored value read as a number in the worksheet's form ("1.234,5").
bool NumeroDeTexto(std::string_view texto, double &valor) {
    std::string t;
    for (char ch : texto)
        if (ch != '.') t += ch;
    long double x = 0;
    if (!ConverteNumero(t, x)) return false;
    valor = static_cast<double>(x);
    return true;
}

int UltimaColuna(const TGridzelto &g) {
    return std::min<int>(g.ColunasUsadas(), g.ColCount() - 1);
}

} // namespace

// ---- The lines ----------------------------------------------------------------------------

std::optional<std::string> ValorObjeto(const std::vector<std::string> &valores,
                                       std::string_view nome) {
    int i = IndiceValorObjeto(valores, nome);
    if (i < 0) return std::nullopt;
    return valores[i].substr(nome.size() + 1);
}

std::string LinhaObjeto(std::string_view nome, std::string_view texto) {
    std::string s(nome);
    s += '=';
    s += texto;
    return s;
}

void DefineValorObjeto(std::vector<std::string> &valores, std::string_view nome,
                       std::string_view texto) {
    int i = IndiceValorObjeto(valores, nome);
    if (i >= 0)
        valores[i] = LinhaObjeto(valores[i].substr(0, nome.size()), texto);
    else
        valores.push_back(LinhaObjeto(nome, texto));
}

std::string TextoObjetoColuna(const TGridzelto &g, int c) {
    if (c < 1 || c >= g.ColCount()) return "";
    return ValorObjeto(g.ValoresObjeto, g.Celula(c, 0)).value_or("");
}

std::string RecusaValorObjeto(const TGridzelto &g, int c, std::string_view texto) {
    const TVariavel *v = c >= 1 && c < g.ColCount() ? g.Variavel(c) : nullptr;
    if (!v || v->Tipo == tvComentario || Apara(texto).empty()) return {};
    std::string r = "O valor \"" + std::string(texto) + "\" da variável \"" + g.Celula(c, 0) +
                    "\" não é ";
    if (!g.TextoNormalizado(c, texto).empty()) {
        // A number no worksheet cell can hold is no real number for the program.
        const long double x = g.ValorTexto(c, texto);
        if (v->Tipo == tvNumerica && (!std::isfinite(x) || std::fabs(x) > MaximoReal6))
            return "O valor \"" + std::string(texto) + "\" da variável \"" + g.Celula(c, 0) +
                   "\" está fora do intervalo dos números reais que a planilha guarda.";
        return {};
    }
    switch (v->Tipo) {
    case tvData:
        return r + "uma data.";
    case tvQualitativa:
    case tvDicotomica: {
        std::string rotulos;
        if (v->Tipo == tvDicotomica) {
            rotulos = g.TextoDoValor(c, 1) + ", " + g.TextoDoValor(c, 0);
        } else {
            for (const TObjetoValor &i : g.Formato(c).Itens)
                rotulos += (rotulos.empty() ? "" : ", ") + i.Rotulo;
        }
        return r + "um dos rótulos da sua tabela" + (rotulos.empty() ? "" : ": " + rotulos) + ".";
    }
    default:
        return r + "um número.";
    }
}

long double ValorObjetoColuna(const TGridzelto &g, int c) {
    return g.ValorTexto(c, TextoObjetoColuna(g, c));
}

// ---- Identification --------------------------------------------------------------------------

const char *Artigo(std::int16_t genero) {
    return genero == 1 ? "a" : "o";
}

const char *LegendaUnidadeDependente(bool modoInferencial) {
    return modoInferencial ? "(da var. dependente)" : "(da variável a avaliar)";
}

void NormalizaIdentificacao(TIdentificacaoObjeto &id) {
    for (TIdentificacaoObjeto::Nome *n : {&id.Objeto, &id.Caracteristica, &id.ValorAvaliado}) {
        n->Texto = CortaCp1252(n->Texto, kMaximoTexto);
        n->Unidade = CortaCp1252(n->Unidade, kMaximoTexto);
        if (n->Genero != 1) n->Genero = 0;
        if (n->PosicaoUnidade != 1) n->PosicaoUnidade = 0;
    }
}

std::string RotuloValorCaracteristica(const TIdentificacaoObjeto &id) {
    const auto &car = id.Caracteristica;
    if (!Preenchido(car.Texto)) return "Valor da característica multiplicativa";
    std::string s = "Valor d" + std::string(Artigo(car.Genero)) + " " + car.Texto;
    if (Preenchido(id.Objeto.Texto))
        s += " d" + std::string(Artigo(id.Objeto.Genero)) + " " + id.Objeto.Texto;
    if (Preenchido(car.Unidade)) s += " (em " + car.Unidade + ")";
    return s;
}

std::string ResumoObjeto(const TIdentificacaoObjeto &id, std::string_view tituloDependente) {
    const std::string dep(tituloDependente);
    const auto &obj = id.Objeto;
    const std::string bem =
        Preenchido(obj.Texto) ? "d" + std::string(Artigo(obj.Genero)) + " " + obj.Texto : "do bem";
    std::string s = "Os cálculos estatísticos fornecerão " + dep + " " + bem + ".  ";
    if (Preenchido(obj.Unidade))
        s += dep + " foi informado em " + obj.Unidade + ".\r\n";
    else
        s += "\r\n";
    if (Preenchido(id.Caracteristica.Texto))
        s += "O valor d" + std::string(Artigo(id.Caracteristica.Genero)) + " " +
             id.Caracteristica.Texto + " será multiplicado pelo valor avaliado de " + dep + " " +
             bem + ".\r\n";
    // Without an object name the final sentence speaks "do bem", as the first does.
    if (Preenchido(id.ValorAvaliado.Texto))
        s += "O resultado final será " + std::string(Artigo(id.ValorAvaliado.Genero)) + " " +
             id.ValorAvaliado.Texto + " " + bem + ".";
    return s;
}

std::string TextoMultiplicador(const TIdentificacaoObjeto &id) {
    return id.Multiplicador == 0 ? std::string() : FormatoFixo(id.Multiplicador, 4);
}

bool LeMultiplicador(std::string_view texto, TIdentificacaoObjeto &id) {
    std::string t = Apara(texto);
    if (t.empty()) {
        id.Multiplicador = 0;
        return true;
    }
    long double x = 0;
    if (!ConverteNumero(t, x)) return false;
    id.Multiplicador = x;
    return true;
}

bool EscreveValorFinal(const TIdentificacaoObjeto &id) {
    return Preenchido(id.Caracteristica.Texto) && id.Multiplicador != 0;
}

long double ValorFinal(const TIdentificacaoObjeto &id, long double estimativa) {
    return estimativa * id.Multiplicador;
}

void TOpcoesObjeto::Le(const TArquivoIni &ini) {
    OcultarNaoUsadas = ini.LeBooleano("Geral", kChaveOcultarNaoUsadas, false);
    Alfabetica = ini.LeBooleano("Geral", kChaveOrdemAlfabetica, false);
}

bool TOpcoesObjeto::Grava(TArquivoIni &ini) const {
    bool ok = ini.EscreveBooleano("Geral", kChaveOcultarNaoUsadas, OcultarNaoUsadas);
    return ini.EscreveBooleano("Geral", kChaveOrdemAlfabetica, Alfabetica) && ok;
}

// ---- Editing --------------------------------------------------------------------------------

TEdicaoObjeto::TEdicaoObjeto(const TGridzelto &g, bool modoInferencial, TOpcoesObjeto opcoes)
    : Identificacao(g.IdentificacaoObjeto), g_(g), inferencial_(modoInferencial), opcoes_(opcoes) {
    int d = g.ColunaDependente();
    for (int c = 1; c <= UltimaColuna(g); ++c) {
        if (!g.Variavel(c) || c == d) continue;
        valores_.push_back({c, g.Celula(c, 0), TextoObjetoColuna(g, c)});
    }
    if (inferencial_) Recalcula();
}

std::vector<int> TEdicaoObjeto::ordem(bool todas) const {
    std::vector<int> r;
    for (int i = 0; i < static_cast<int>(valores_.size()); ++i)
        if (todas || !opcoes_.OcultarNaoUsadas || g_.Variavel(valores_[i].Coluna)->Usada)
            r.push_back(i);
    if (opcoes_.Alfabetica)
        std::stable_sort(r.begin(), r.end(), [&](int a, int b) {
            return ComparaTextoLocal(valores_[a].Nome, valores_[b].Nome) < 0;
        });
    return r;
}

std::vector<int> TEdicaoObjeto::Visiveis() const {
    return inferencial_ ? ordem(false) : std::vector<int>{};
}

int TEdicaoObjeto::Indice(std::string_view nome) const {
    for (int i = 0; i < static_cast<int>(valores_.size()); ++i)
        if (valores_[i].Nome == nome) return i;
    return -1;
}

std::string TEdicaoObjeto::AtribuiTexto(int i, std::string_view texto) {
    if (i < 0 || i >= static_cast<int>(valores_.size())) return {};
    TValorEditado &v = valores_[i];
    if (g_.Variavel(v.Coluna)->Tipo == tvCalculada) return {};
    std::string recusa = RecusaValorObjeto(g_, v.Coluna, texto);
    if (!recusa.empty()) return recusa;
    v.Texto = g_.TextoNormalizado(v.Coluna, texto);
    Recalcula();
    return {};
}

std::string TEdicaoObjeto::Recusa() const {
    for (const TValorEditado &v : valores_) {
        if (g_.Variavel(v.Coluna)->Tipo == tvCalculada) continue;
        if (std::string r = RecusaValorObjeto(g_, v.Coluna, v.Texto); !r.empty()) return r;
    }
    return {};
}

void TEdicaoObjeto::Limpa(int i) {
    if (i < 0 || i >= static_cast<int>(valores_.size())) return;
    if (g_.Variavel(valores_[i].Coluna)->Tipo == tvCalculada) return;
    valores_[i].Texto.clear();
    Recalcula();
}

void TEdicaoObjeto::Recalcula() {
    TCalcEquacao calc;
    bool erro = false;
    calc.AoErro = [&](std::uint8_t) { erro = true; };
    calc.Resolvedor = [this](const std::string &nome, double &valor) {
        if (nome.size() < 2 || nome.front() != '[' || nome.back() != ']') return false;
        std::string_view alvo = std::string_view(nome).substr(1, nome.size() - 2);
        if (int i = Indice(alvo); i >= 0) {
            const TValorEditado &v = valores_[i];
            if (v.Texto.empty()) return false;
            valor = static_cast<double>(g_.ValorTexto(v.Coluna, v.Texto));
            return true;
        }
        std::optional<std::string> guardado = ValorObjeto(g_.ValoresObjeto, alvo);
        return guardado && NumeroDeTexto(*guardado, valor);
    };
    for (TValorEditado &v : valores_) {
        const TVariavel *var = g_.Variavel(v.Coluna);
        if (var->Tipo != tvCalculada) continue;
        erro = false;
        calc.Equacao = var->Equacao;
        double x = calc.Avalia();
        v.Texto = erro ? std::string("???") : g_.TextoCelulaDeValor(v.Coluna, x);
    }
}

std::string TEdicaoObjeto::TituloDependente() const {
    int d = g_.ColunaDependente();
    return d > 0 ? g_.Celula(d, 0) : std::string();
}

bool TEdicaoObjeto::Confirma(TGridzelto &g) const {
    TIdentificacaoObjeto id = Identificacao;
    NormalizaIdentificacao(id);
    bool mudou = !(id == g.IdentificacaoObjeto);
    g.IdentificacaoObjeto = id;
    // The descriptive mode edits the description only; the values stay.
    if (inferencial_) {
        std::vector<std::string> linhas;
        for (int i : ordem(true))
            linhas.push_back(LinhaObjeto(valores_[i].Nome, valores_[i].Texto));
        // The order of the lines means nothing; only other lines are a change.
        std::vector<std::string> a = linhas, b = g.ValoresObjeto;
        std::sort(a.begin(), a.end());
        std::sort(b.begin(), b.end());
        mudou = mudou || a != b;
        g.ValoresObjeto = std::move(linhas);
    }
    if (mudou) g.DefineModificada(true);
    return mudou;
}

// ---- Missing values -------------------------------------------------------------------------

std::vector<int> VariaveisSemValor(const TGridzelto &g) {
    std::vector<int> r;
    int d = g.ColunaDependente();
    for (int c = 1; c <= UltimaColuna(g); ++c) {
        const TVariavel *v = g.Variavel(c);
        if (!v || !v->Usada || c == d) continue;
        if (!Preenchido(TextoObjetoColuna(g, c))) r.push_back(c);
    }
    return r;
}

bool DevePedirObjeto(const TGridzelto &g, bool modoInferencial, bool pedirSempre) {
    if (pedirSempre) return true;
    if (!modoInferencial) return g.IdentificacaoObjeto.Multiplicador == 0;
    return g.ValoresObjeto.empty() || !VariaveisSemValor(g).empty();
}

bool ConfereObjeto(const TGridzelto &g, bool modoInferencial, bool pedirSempre,
                   const std::function<bool()> &informa, const Pergunta &pergunta) {
    if (DevePedirObjeto(g, modoInferencial, pedirSempre) && !(informa && informa())) return false;
    if (!modoInferencial) return true;
    while (!VariaveisSemValor(g).empty()) {
        Resposta r = pergunta ? pergunta(kPerguntaObjetoIncompleto) : Resposta::Cancelar;
        if (r == Resposta::Nao) return true;
        if (r == Resposta::Cancelar) return false;
        if (!(informa && informa())) return false;
    }
    return true;
}

} // namespace zelto
