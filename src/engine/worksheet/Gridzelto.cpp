#include "worksheet/Gridzelto.h"

#include "common/Datas.h"
#include "common/Numeros.h"
#include "common/Texto.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace zelto {

namespace {

int ParaInt(long double x) {
    if (!(x > -2e9L && x < 2e9L)) return 0;
    return static_cast<int>(std::lround(static_cast<double>(x)));
}

std::string PrimeiroRotulo(const std::string &rotulos) { return Divide(rotulos, '|')[0]; }

std::string SegundoRotulo(const std::string &rotulos) {
    auto p = Divide(rotulos, '|');
    return p.size() > 1 ? p[1] : std::string();
}

// Months since year 0 of a date serial.
long MesesDeSerial(long serial) {
    DataCivil d = DataDeSerial(serial);
    return static_cast<long>(d.ano) * 12 + d.mes;
}

} // namespace

TGridzelto::TGridzelto() {
    Inicializa();
    calc_.Resolvedor = [this](const std::string &nome, double &valor) {
        return ResolveNome(nome, valor);
    };
    calc_.AoErro = [this](std::uint8_t) { calcErro_ = true; };
}

void TGridzelto::Inicializa() {
    colunas_.assign(kColunasIniciais, Coluna{});
    linhas_.assign(kLinhasIniciais, Linha{});
    Celulas &cabecalho = CelulasMutaveis(0);
    for (int c = 1; c < kColunasIniciais; ++c) cabecalho[c] = RotuloPadraoColuna(c);
    for (int r = 1; r < kLinhasIniciais; ++r) CelulasUnicas(r).push_back(std::to_string(r));
}

std::string TGridzelto::RotuloPadraoColuna(int c) {
    std::string s;
    s += static_cast<char>('A' + (c - 1) % 26);
    s += static_cast<char>('0' + (c - 1) / 26);
    return s;
}

// ---- Listeners ---------------------------------------------------------------

int TGridzelto::AdicionaOuvinte(Ouvinte o) {
    ouvintes_.emplace_back(proximoOuvinte_, std::move(o));
    return proximoOuvinte_++;
}

void TGridzelto::RemoveOuvinte(int id) {
    std::erase_if(ouvintes_, [id](const auto &p) { return p.first == id; });
}

void TGridzelto::Notifica(TMudanca::Tipo t, int c0, int r0, int c1, int r1) {
    if (ouvintes_.empty()) return;
    TMudanca m{t, c0, r0, c1, r1};
    // A listener may add or remove listeners; work on a copy.
    auto copia = ouvintes_;
    for (auto &p : copia) p.second(m);
}

// ---- Extents and cells -------------------------------------------------------

const std::string &TGridzelto::Celula(int c, int r) const {
    static const std::string vazio;
    if (r < 0 || r >= RowCount() || c < 0 || c >= ColCount()) return vazio;
    const Celulas *cel = linhas_[r].celulas.get();
    if (!cel || c >= static_cast<int>(cel->size())) return vazio;
    return (*cel)[c];
}

TGridzelto::Celulas &TGridzelto::CelulasUnicas(int r) {
    std::shared_ptr<Celulas> &p = linhas_[r].celulas;
    if (!p)
        p = std::make_shared<Celulas>();
    else if (p.use_count() > 1)
        p = std::make_shared<Celulas>(*p); // a captured state keeps the old buffer
    return *p;
}

TGridzelto::Celulas &TGridzelto::CelulasMutaveis(int r) {
    Celulas &cel = CelulasUnicas(r);
    if (cel.size() < colunas_.size()) cel.resize(colunas_.size());
    return cel;
}

void TGridzelto::AtribuiCelula(int c, int r, std::string texto) {
    if (r < 0 || r >= RowCount() || c < 0 || c >= ColCount()) return;
    if (Celula(c, r) == texto) return;
    CelulasMutaveis(r)[c] = std::move(texto);
    Notifica(TMudanca::Celulas, c, r, c, r);
}

void TGridzelto::AcrescentaLinhas(int n) {
    if (n <= 0) return;
    int de = RowCount();
    linhas_.resize(linhas_.size() + n);
    Notifica(TMudanca::LinhasInseridas, 0, de, 0, de + n - 1);
    // Each new row takes the next sample number: one scan serves them all.
    int numero = ProximoNumeroAmostra();
    for (int r = de; r < de + n; ++r) {
        AtribuiCelula(0, r, std::to_string(numero));
        numero = std::min(numero, INT_MAX - 1) + 1;
    }
}

void TGridzelto::AcrescentaColunas(int n) {
    if (n <= 0) return;
    int de = ColCount();
    // The rows' buffers stay as they are: the new cells are empty.
    colunas_.resize(de + n);
    Celulas &cabecalho = CelulasMutaveis(0);
    for (int c = de; c < de + n; ++c) cabecalho[c] = RotuloPadraoColuna(c);
    Notifica(TMudanca::ColunasInseridas, de, 0, de + n - 1, 0);
}

void TGridzelto::NumeraLinha(int r) { AtribuiCelula(0, r, std::to_string(ProximoNumeroAmostra())); }

void TGridzelto::DefineLinhasUsadas(int n) {
    n = std::clamp(n, 0, 65535);
    if (n == linhasUsadas_) return;
    linhasUsadas_ = static_cast<std::uint16_t>(n);
    Notifica(TMudanca::Estado);
}

void TGridzelto::DefineColunasUsadas(int n) {
    n = std::clamp(n, 0, 65535);
    if (n == colunasUsadas_) return;
    colunasUsadas_ = static_cast<std::uint16_t>(n);
    Notifica(TMudanca::Estado);
}

void TGridzelto::DefineModificada(bool m) {
    modificada_ = m;
    if (m) Notifica(TMudanca::Estado);
}

void TGridzelto::InsereLinhaBruta(int pos) {
    linhas_.insert(linhas_.begin() + pos, Linha{});
    Notifica(TMudanca::LinhasInseridas, 0, pos, 0, pos);
}

void TGridzelto::InsereColunaBruta(int pos, std::string rotulo) {
    colunas_.insert(colunas_.begin() + pos, Coluna{});
    for (int r = 0; r < RowCount(); ++r) {
        const Celulas *cel = linhas_[r].celulas.get();
        if (!cel || static_cast<int>(cel->size()) <= pos) continue; // nothing to shift
        Celulas &unica = CelulasUnicas(r);
        unica.insert(unica.begin() + pos, std::string());
    }
    CelulasMutaveis(0)[pos] = std::move(rotulo);
    Notifica(TMudanca::ColunasInseridas, pos, 0, pos, 0);
}

// ---- Records -----------------------------------------------------------------

const TVariavel *TGridzelto::Variavel(int c) const {
    if (c < 1 || c >= ColCount() || !colunas_[c].variavel) return nullptr;
    return &*colunas_[c].variavel;
}

TVariavel *TGridzelto::Variavel(int c) {
    if (c < 1 || c >= ColCount() || !colunas_[c].variavel) return nullptr;
    return &*colunas_[c].variavel;
}

void TGridzelto::DefineVariavel(int c, std::optional<TVariavel> v) {
    colunas_[c].variavel = std::move(v);
    Notifica(TMudanca::Variavel, c, 0, c, 0);
}

void TGridzelto::DefineFormato(int c, TDataFormat f) {
    colunas_[c].formato = std::move(f);
    Notifica(TMudanca::Variavel, c, 0, c, 0);
}

void TGridzelto::DefineLarguraColuna(int c, int pixels) {
    colunas_[c].largura = std::max(0, pixels);
    Notifica(TMudanca::Aparencia, c, 0, c, 0);
}

void TGridzelto::DefineAlinhamento(int c, std::uint8_t alinhamento) {
    TVariavel *v = Variavel(c);
    if (!v) return;
    v->Alinhamento = alinhamento;
    Notifica(TMudanca::Aparencia, c, 0, c, 0);
}

TAmostragem &TGridzelto::AmostragemCriada(int r) {
    if (!linhas_[r].amostragem) linhas_[r].amostragem.emplace();
    return *linhas_[r].amostragem;
}

void TGridzelto::LiberaAmostragem(int r) {
    if (!linhas_[r].amostragem) return;
    linhas_[r].amostragem.reset();
    Notifica(TMudanca::Amostragem, 0, r, 0, r);
}

bool TGridzelto::Desconsiderada(int r) const {
    const TAmostragem *a = Amostragem(r);
    return a && a->Desconsiderada;
}

bool TGridzelto::Ativa(int r) const {
    const TAmostragem *a = Amostragem(r);
    return !a || (!a->Desconsiderada && !a->Saneada);
}

// ---- Values and texts --------------------------------------------------------

long double TGridzelto::ValorCelula(int c, int r) const { return ValorTexto(c, Celula(c, r)); }

long double TGridzelto::ValorTexto(int c, std::string_view texto) const {
    return ValorDeTexto(Variavel(c), Formato(c), texto);
}

long double TGridzelto::ValorDeTexto(const TVariavel *v, const TDataFormat &f, std::string_view texto) {
    if (!v || texto.empty()) return 0;
    switch (v->Tipo) {
    case tvNumerica:
    case tvCalculada: {
        std::string t;
        t.reserve(texto.size());
        for (char ch : texto)
            if (ch != '.') t += ch;
        long double x = 0;
        return ConverteNumero(t, x) ? x : 0;
    }
    case tvQualitativa:
        for (const TObjetoValor &i : f.Itens)
            if (IguaisSemCaixa(i.Rotulo, texto)) return i.Valor;
        return 0;
    case tvDicotomica: return texto == "TRUE" ? 1 : 0;
    case tvData: {
        long ref = static_cast<long>(v->DataReferencia);
        int anoRef = DataDeSerial(ref).ano;
        long data = LeData(texto, v->TipoData, anoRef);
        if (data == 0) return 0;
        if (v->TipoData == tdMesAno) return MesesDeSerial(ref) - MesesDeSerial(data);
        return ref - data;
    }
    default: return 0;
    }
}

std::string TGridzelto::TextoCelulaDeValor(int c, long double x) const {
    const TVariavel *v = Variavel(c);
    if (!v) return "";
    switch (v->Tipo) {
    case tvNumerica:
    case tvCalculada:
        return v->PontosDeMilhar ? FormatoMilhar(x, v->CasasDecimais) : FormatoFixo(x, v->CasasDecimais);
    case tvQualitativa: {
        std::string r;
        for (const TObjetoValor &i : Formato(c).Itens)
            if (std::fabs(i.Valor - x) < 0.001L) r = i.Rotulo;
        return r;
    }
    case tvDicotomica: return x == 1 ? "TRUE" : x == 0 ? "FALSE" : "";
    case tvData: {
        int n = ParaInt(x);
        long serial = n > 32873 ? n : static_cast<long>(v->DataReferencia) + n;
        return TextoData(serial, v->TipoData);
    }
    case tvComentario: return FormatoGeral(x);
    default: return "";
    }
}

void TGridzelto::TextoDeValor(int c, int r, long double x) { AtribuiCelula(c, r, TextoCelulaDeValor(c, x)); }

std::string TGridzelto::TextoDoValor(int c, long double x) const {
    const TVariavel *v = Variavel(c);
    if (!v) return "";
    switch (v->Tipo) {
    case tvQualitativa: {
        std::string r;
        long double melhor = 1e38L;
        for (const TObjetoValor &i : Formato(c).Itens) {
            long double d = std::fabs(i.Valor - x);
            if (d < melhor) {
                melhor = d;
                r = i.Rotulo;
            }
        }
        return r;
    }
    case tvDicotomica: return x >= 1 ? PrimeiroRotulo(v->Rotulos) : SegundoRotulo(v->Rotulos);
    case tvData: {
        long ref = static_cast<long>(v->DataReferencia);
        if (v->TipoData != tdMesAno) return TextoData(ref - ParaInt(x), v->TipoData);
        long double m = MesesDeSerial(ref) - x;
        long double q = m / 12;
        long ano = static_cast<long>(std::trunc(q));
        int mes = static_cast<int>(std::lround(static_cast<double>((q - ano) * 12)));
        if (mes <= 0) {
            mes += 12;
            --ano;
        }
        if (!DataValida(static_cast<int>(ano), mes, 1)) return "";
        return TextoData(SerialDeData(static_cast<int>(ano), mes, 1), v->TipoData);
    }
    default: return TextoCelulaDeValor(c, x);
    }
}

std::string TGridzelto::TextoNormalizado(int c, std::string_view texto) const {
    const TVariavel *v = Variavel(c);
    if (!v) return "";
    std::string t = Apara(texto);
    switch (v->Tipo) {
    case tvQualitativa: {
        const auto &itens = Formato(c).Itens;
        for (const TObjetoValor &i : itens)
            if (IguaisSemCaixa(Apara(i.Rotulo), t)) return i.Rotulo;
        long double x = 0;
        if (!ConverteNumero(t, x)) return "";
        for (const TObjetoValor &i : itens)
            if (std::fabs(i.Valor - x) < 0.001L) return i.Rotulo;
        return "";
    }
    case tvDicotomica: {
        if (t == Apara(PrimeiroRotulo(v->Rotulos))) return "TRUE";
        if (t == Apara(SegundoRotulo(v->Rotulos))) return "FALSE";
        std::string u = Maiusculas(t);
        if (u == "VERDADEIRO" || u == "TRUE" || u == "1") return "TRUE";
        if (u == "FALSO" || u == "FALSE" || u == "0") return "FALSE";
        return "";
    }
    case tvData: {
        long ref = static_cast<long>(v->DataReferencia);
        long data = LeData(t, v->TipoData, DataDeSerial(ref).ano);
        if (data != 0) return TextoData(data, v->TipoData);
        long long n = 0;
        if (ConverteInteiro(t, n) && n > -3000000 && n < 3000000) return TextoData(ref + static_cast<long>(n), v->TipoData);
        return "";
    }
    case tvComentario: return std::string(texto);
    case tvNumerica:
    case tvCalculada: {
        // The worksheet's own notation: "." groups thousands, "," is the decimal separator.
        std::string s;
        for (char ch : t)
            if (ch != '.') s += ch;
        long double x = 0;
        if (!ConverteNumero(s, x)) return "";
        return TextoCelulaDeValor(c, x);
    }
    default: return "";
    }
}

void TGridzelto::AtribuiTexto(int c, int r, std::string_view texto) {
    AtribuiCelula(c, r, TextoNormalizado(c, texto));
}

std::string TGridzelto::TextoExibido(int c, int r) const {
    const TVariavel *v = Variavel(c);
    const std::string &t = Celula(c, r);
    if (r < 1 || !v || v->Tipo != tvDicotomica || t.empty()) return t;
    return t == "TRUE" ? PrimeiroRotulo(v->Rotulos) : SegundoRotulo(v->Rotulos);
}

int TGridzelto::ColunaDependente() const {
    int n = std::min<int>(colunasUsadas_, ColCount() - 1);
    for (int c = n; c >= 1; --c)
        if (const TVariavel *v = Variavel(c); v && v->Dependente) return c;
    for (int c = 1; c <= n; ++c)
        if (const TVariavel *v = Variavel(c); v && v->Usada) return c;
    return 0;
}

// ---- Calculated columns ------------------------------------------------------

bool TGridzelto::ResolveNome(const std::string &nome, double &valor) const {
    if (IguaisSemCaixa(nome, kFormulaHomogeneizado)) {
        long double p = 1;
        int n = std::min<int>(colunasUsadas_, ColCount() - 1);
        for (int c = 1; c <= n; ++c)
            if (const TVariavel *v = Variavel(c); v && v->Usada && c != calcColuna_)
                p *= ValorCelula(c, calcLinha_);
        valor = static_cast<double>(p);
        return true;
    }
    // Columns are named in square brackets; any other name is unknown.
    if (nome.size() < 2 || nome.front() != '[' || nome.back() != ']') return false;
    std::string_view alvo = std::string_view(nome).substr(1, nome.size() - 2);
    for (int c = 1; c < ColCount(); ++c) {
        if (Celula(c, 0) != alvo) continue;
        if (Celula(c, calcLinha_).empty()) return false;
        valor = static_cast<double>(ValorCelula(c, calcLinha_));
        return true;
    }
    return false;
}

void TGridzelto::RecalcularLinha(int r) {
    if (r < 1 || r >= RowCount()) return;
    int n = std::min<int>(colunasUsadas_, ColCount() - 1);
    for (int c = 1; c <= n; ++c) {
        const TVariavel *v = Variavel(c);
        if (!v || v->Tipo != tvCalculada) continue;
        calcColuna_ = c;
        calcLinha_ = r;
        calcErro_ = false;
        calc_.Equacao = v->Equacao;
        double x = calc_.Avalia();
        AtribuiCelula(c, r, calcErro_ ? std::string("???") : TextoCelulaDeValor(c, x));
    }
}

void TGridzelto::RecalcularTudo() {
    bool algum = false;
    int n = std::min<int>(colunasUsadas_, ColCount() - 1);
    for (int c = 1; c <= n && !algum; ++c)
        if (const TVariavel *v = Variavel(c); v && v->Tipo == tvCalculada) algum = true;
    if (!algum) return;
    for (int r = 1; r <= linhasUsadas_ && r < RowCount(); ++r) RecalcularLinha(r);
}

// ---- Data block --------------------------------------------------------------

bool TGridzelto::LinhaVazia(int r) const {
    const Celulas *cel = linhas_[r].celulas.get();
    if (!cel) return true;
    for (std::size_t c = 1; c < cel->size(); ++c)
        if (!(*cel)[c].empty()) return false;
    return true;
}

TBlocoDados TGridzelto::BlocoDeDados() const {
    TBlocoDados b;
    for (int r = 1; r < RowCount(); ++r) {
        const Celulas *p = linhas_[r].celulas.get();
        if (!p) continue;
        const Celulas &cel = *p;
        for (int c = static_cast<int>(cel.size()) - 1; c > b.Colunas; --c)
            if (!cel[c].empty()) {
                b.Colunas = c;
                break;
            }
    }
    b.Linhas = RowCount() - 1;
    for (int r = 1; r < RowCount(); ++r)
        if (!Desconsiderada(r) && LinhaVazia(r)) {
            b.Linhas = r - 1;
            break;
        }
    for (int r = 1; r <= b.Linhas; ++r)
        if (Ativa(r)) b.Ativas.push_back(r);
    return b;
}

std::vector<long double> TGridzelto::MatrizDados(const TBlocoDados &b) const {
    std::vector<long double> m;
    m.reserve(static_cast<std::size_t>(b.Colunas) * b.Linhas);
    for (int c = 1; c <= b.Colunas; ++c)
        for (int r = 1; r <= b.Linhas; ++r) m.push_back(ValorCelula(c, r));
    return m;
}

// ---- Flags -------------------------------------------------------------------

void TGridzelto::AlternaDesconsiderada(int r) {
    TAmostragem &a = AmostragemCriada(r);
    a.Desconsiderada = !a.Desconsiderada;
    Notifica(TMudanca::Amostragem, 0, r, 0, r);
    DefineModificada(true);
}

void TGridzelto::AlternaUsada(int c) {
    TVariavel *v = Variavel(c);
    if (!v || v->Tipo == tvComentario || (v->Tipo == tvData && !Modo.Inferencial)) return;
    v->Usada = !v->Usada;
    if (!v->Usada) v->Dependente = false;
    Notifica(TMudanca::Variavel, c, 0, c, 0);
    RecalcularTudo();
    DefineModificada(true);
}

void TGridzelto::AlternaDependente(int c) {
    TVariavel *v = Variavel(c);
    if (!v || v->Tipo == tvComentario) return;
    v->Dependente = !v->Dependente;
    Notifica(TMudanca::Variavel, c, 0, c, 0);
    if (v->Dependente)
        for (int k = 1; k < ColCount(); ++k)
            if (TVariavel *o = Variavel(k); o && k != c && o->Dependente) {
                o->Dependente = false;
                Notifica(TMudanca::Variavel, k, 0, k, 0);
            }
    DefineModificada(true);
}

// ---- Clearing, typing, editing ----------------------------------------------

bool TGridzelto::Limpa() {
    if (AoLimparGrid && !AoLimparGrid()) return false;
    Inicializa();
    linhasUsadas_ = colunasUsadas_ = 0;
    ValoresObjeto.clear();
    IdentificacaoObjeto = {};
    modificada_ = false;
    Editavel = true;
    ColunaAtual = LinhaAtual = 1;
    Notifica(TMudanca::Tudo);
    return true;
}

void TGridzelto::DefinePorDigitacao(int c, char32_t tecla) {
    if (c < 1 || c >= ColCount() || Variavel(c)) return;
    TVariavel v;
    v.Nome = Celula(c, 0);
    TDataFormat f;
    if (tecla >= '0' && tecla <= '9') {
        v.Tipo = tvNumerica;
        v.Usada = true;
        v.Alinhamento = alDireita;
        v.CasasDecimais = 2;
        v.PontosDeMilhar = true;
        f.Editor = teReal;
    } else if (tecla >= 32 && tecla <= 126) {
        v.Tipo = tvComentario;
        v.Usada = false;
        v.Alinhamento = alEsquerda;
        f.Editor = teTexto;
    } else {
        return;
    }
    colunas_[c].formato = std::move(f);
    DefineVariavel(c, std::move(v));
}

void TGridzelto::AceitaEdicao(int c, int r, std::string_view texto) {
    if (c < 1 || r < 1 || c >= ColCount() || r >= RowCount()) return;
    AtribuiTexto(c, r, texto);
    if (r > linhasUsadas_) DefineLinhasUsadas(r);
    if (c > colunasUsadas_) DefineColunasUsadas(c);
    if (!Modo.Inferencial && Modo.CriarValorHomogeneizado && colunasUsadas_ > 1) GaranteValorHomogeneizado();
    if (r == RowCount() - 1) AcrescentaLinhas(5);
    if (c == ColCount() - 1) AcrescentaColunas(5);
    DefineModificada(true);
    RecalcularLinha(r);
}

// ---- "Valor Homog." ------------------------------------------------------------

int TGridzelto::ColunaValorHomogeneizado() const {
    for (int c = 1; c < ColCount(); ++c)
        if (const TVariavel *v = Variavel(c);
            v && v->Tipo == tvCalculada && IguaisSemCaixa(Apara(v->Equacao), kFormulaHomogeneizado))
            return c;
    return 0;
}

void TGridzelto::GaranteValorHomogeneizado() {
    if (ColunaValorHomogeneizado() != 0) return;
    // A new column right after the last used one; whatever stood there moves
    // one place to the right, so nothing is overwritten.
    int c = colunasUsadas_ + 1;
    InsereColunaBruta(c, ProximoRotuloColuna());
    TVariavel v;
    v.Nome = "Valor Homog.";
    v.Usada = true;
    v.Alinhamento = alDireita;
    v.Tipo = tvCalculada;
    v.PontosDeMilhar = true;
    v.CasasDecimais = 2;
    v.Equacao = kFormulaHomogeneizado;
    for (int k = 1; k < ColCount(); ++k)
        if (TVariavel *o = Variavel(k); o && (o->Dependente || o->DependenteAnterior)) {
            o->DependenteAnterior = o->Dependente;
            o->Dependente = false;
            Notifica(TMudanca::Variavel, k, 0, k, 0);
        }
    v.Dependente = true;
    DefineVariavel(c, std::move(v));
    AtribuiCelula(c, 0, "Valor Homog.");
    DefineColunasUsadas(c);
    RecalcularTudo();
    DefineModificada(true);
}

void TGridzelto::RemoveValorHomogeneizado() {
    const int c = ColunaValorHomogeneizado();
    if (c == 0) return;
    ExcluiVariavel(c);
    // The variable that was dependent before the column came takes the mark back, unless
    // another one took it meanwhile or it stopped being used.
    bool algum = false;
    for (int k = 1; k < ColCount(); ++k)
        if (const TVariavel *o = Variavel(k); o && o->Dependente) algum = true;
    for (int k = 1; k < ColCount(); ++k) {
        TVariavel *o = Variavel(k);
        if (!o || !o->DependenteAnterior) continue;
        o->DependenteAnterior = false;
        if (!algum && o->Usada) {
            o->Dependente = true;
            algum = true;
        }
        Notifica(TMudanca::Variavel, k, 0, k, 0);
    }
}

// ---- Captured states -------------------------------------------------------------

namespace {

// Heap bytes of a text beyond the string object itself (short texts live inside it).
std::size_t BytesTexto(const std::string &t) {
    return t.capacity() > std::string().capacity() ? t.capacity() + 1 : 0;
}

} // namespace

TEstadoPlanilha TGridzelto::Captura() const {
    TEstadoPlanilha e;
    e.linhas_ = linhas_;
    e.colunas_ = colunas_;
    e.linhasUsadas_ = linhasUsadas_;
    e.colunasUsadas_ = colunasUsadas_;
    e.colunaAtual_ = ColunaAtual;
    e.linhaAtual_ = LinhaAtual;
    e.valoresObjeto_ = ValoresObjeto;
    e.identificacao_ = IdentificacaoObjeto;
    return e;
}

void TGridzelto::Restaura(const TEstadoPlanilha &e) {
    linhas_ = e.linhas_;
    colunas_ = e.colunas_;
    linhasUsadas_ = e.linhasUsadas_;
    colunasUsadas_ = e.colunasUsadas_;
    ColunaAtual = e.colunaAtual_;
    LinhaAtual = e.linhaAtual_;
    ValoresObjeto = e.valoresObjeto_;
    IdentificacaoObjeto = e.identificacao_;
    if (linhas_.empty() || colunas_.empty()) Inicializa(); // a default-made state holds no worksheet
    modificada_ = true;
    Notifica(TMudanca::Tudo);
}

bool TGridzelto::TabelasIguais(const std::vector<Linha> &la, const std::vector<Linha> &lb,
                               const std::vector<Coluna> &ca, const std::vector<Coluna> &cb) {
    if (la.size() != lb.size() || ca != cb) return false;
    static const Celulas nenhuma;
    for (std::size_t r = 0; r < la.size(); ++r) {
        const Linha &a = la[r], &b = lb[r];
        if (a.amostragem != b.amostragem) return false;
        if (a.celulas == b.celulas) continue; // the same buffer
        const Celulas &x = a.celulas ? *a.celulas : nenhuma;
        const Celulas &y = b.celulas ? *b.celulas : nenhuma;
        const std::size_t n = std::max(x.size(), y.size());
        for (std::size_t c = 0; c < n; ++c) {
            const std::string &tx = c < x.size() ? x[c] : std::string();
            const std::string &ty = c < y.size() ? y[c] : std::string();
            if (tx != ty) return false;
        }
    }
    return true;
}

bool TGridzelto::MesmosDados(const TEstadoPlanilha &e) const {
    return linhasUsadas_ == e.linhasUsadas_ && colunasUsadas_ == e.colunasUsadas_ &&
           ValoresObjeto == e.valoresObjeto_ && IdentificacaoObjeto == e.identificacao_ &&
           TabelasIguais(linhas_, e.linhas_, colunas_, e.colunas_);
}

bool TEstadoPlanilha::MesmosDados(const TEstadoPlanilha &o) const {
    return linhasUsadas_ == o.linhasUsadas_ && colunasUsadas_ == o.colunasUsadas_ &&
           valoresObjeto_ == o.valoresObjeto_ && identificacao_ == o.identificacao_ &&
           TGridzelto::TabelasIguais(linhas_, o.linhas_, colunas_, o.colunas_);
}

bool TEstadoPlanilha::operator==(const TEstadoPlanilha &o) const {
    return colunaAtual_ == o.colunaAtual_ && linhaAtual_ == o.linhaAtual_ && MesmosDados(o);
}

std::size_t TEstadoPlanilha::BytesProprios() const {
    std::size_t n = sizeof(*this) + linhas_.capacity() * sizeof(TGridzelto::Linha) +
                    colunas_.capacity() * sizeof(TGridzelto::Coluna);
    for (const TGridzelto::Coluna &c : colunas_) {
        n += c.formato.Itens.capacity() * sizeof(TObjetoValor);
        for (const TObjetoValor &i : c.formato.Itens) n += BytesTexto(i.Rotulo);
        if (const auto &v = c.variavel)
            for (const std::string *t : {&v->Nome, &v->Descricao, &v->Tabela, &v->Rotulos, &v->Equacao,
                                         &v->EquacaoAuxiliar})
                n += BytesTexto(*t);
    }
    n += valoresObjeto_.capacity() * sizeof(std::string);
    for (const std::string &t : valoresObjeto_) n += BytesTexto(t);
    return n;
}

std::size_t TEstadoPlanilha::BytesExclusivos(const TEstadoPlanilha &outro) const {
    // Rows at the same place holding the same buffer are the common case (an
    // edit copies one row); only the others are looked up among all of the
    // other state's buffers.
    using Celulas = TGridzelto::Celulas;
    std::vector<const Celulas *> meus, deles;
    const std::size_t n = std::min(linhas_.size(), outro.linhas_.size());
    for (std::size_t r = 0; r < linhas_.size(); ++r) {
        const Celulas *p = linhas_[r].celulas.get();
        if (p && (r >= n || p != outro.linhas_[r].celulas.get())) meus.push_back(p);
    }
    if (meus.empty()) return 0;
    std::sort(meus.begin(), meus.end());
    meus.erase(std::unique(meus.begin(), meus.end()), meus.end());
    std::function<bool(const Celulas *)> dele;
    if (meus.size() <= 8) {
        dele = [&outro](const Celulas *p) {
            return std::any_of(outro.linhas_.begin(), outro.linhas_.end(),
                               [p](const TGridzelto::Linha &l) { return l.celulas.get() == p; });
        };
    } else {
        for (const TGridzelto::Linha &l : outro.linhas_)
            if (l.celulas) deles.push_back(l.celulas.get());
        std::sort(deles.begin(), deles.end());
        dele = [&deles](const Celulas *p) { return std::binary_search(deles.begin(), deles.end(), p); };
    }
    std::size_t bytes = 0;
    for (const Celulas *p : meus) {
        if (dele(p)) continue;
        bytes += sizeof(Celulas) + 32 + p->capacity() * sizeof(std::string); // 32: the shared count
        for (const std::string &t : *p) bytes += BytesTexto(t);
    }
    return bytes;
}

int IndiceValorObjeto(const std::vector<std::string> &valores, std::string_view nome) {
    auto casa = [&](const std::string &linha, bool exato) {
        if (linha.size() <= nome.size() || linha[nome.size()] != '=') return false;
        std::string_view cabeca(linha.data(), nome.size());
        return exato ? cabeca == nome : IguaisSemCaixa(cabeca, nome);
    };
    for (bool exato : {true, false})
        for (std::size_t i = 0; i < valores.size(); ++i)
            if (casa(valores[i], exato)) return static_cast<int>(i);
    return -1;
}

} // namespace zelto
