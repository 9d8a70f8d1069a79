#include "files/ArquivoTxt.h"

#include "common/Numeros.h"
#include "common/Texto.h"
#include "worksheet/Gridzelto.h"

#include <algorithm>
#include <vector>

namespace zelto {

namespace fs = std::filesystem;

namespace {

constexpr int kMaximoCasas = 18; // the most decimals a number text shows

bool Digito(char c) {
    return c >= '0' && c <= '9';
}

// The lines of a text: CR LF, LF and CR all end a line.
std::vector<std::string_view> Linhas(std::string_view dados) {
    std::vector<std::string_view> linhas;
    std::size_t inicio = 0;
    for (std::size_t i = 0; i < dados.size(); ++i) {
        if (dados[i] != '\r' && dados[i] != '\n') continue;
        linhas.push_back(dados.substr(inicio, i - inicio));
        if (dados[i] == '\r' && i + 1 < dados.size() && dados[i + 1] == '\n') ++i;
        inicio = i + 1;
    }
    if (inicio < dados.size()) linhas.push_back(dados.substr(inicio));
    return linhas;
}

// A line that holds nothing but tabs and blanks.
bool LinhaVazia(std::string_view linha) {
    return AparaBrancos(linha).empty();
}

// The k-th field of a line (k from 0), or an empty view past the last one.
class Campos {
  public:
    explicit Campos(std::string_view linha) : resto_(linha), fim_(false) {}
    // The next field; false after the last one.
    bool Proximo(std::string_view &campo) {
        if (fim_) return false;
        std::size_t tab = resto_.find('\t');
        campo = resto_.substr(0, tab);
        if (tab == std::string_view::npos)
            fim_ = true;
        else
            resto_.remove_prefix(tab + 1);
        return true;
    }

  private:
    std::string_view resto_;
    bool fim_;
};

// Decimals a number needs to be shown whole: the digits after its separator,
// less its power of ten.
int Casas(int digitosFracao, long long expoente) {
    long long k = digitosFracao - expoente;
    return static_cast<int>(std::clamp<long long>(k, 0, kMaximoCasas));
}

// Splits "[sign] mantissa [e[sign]digits]"; false when the exponent is malformed.
bool SeparaExpoente(std::string_view t, std::string_view &mantissa, long long &expoente) {
    if (!t.empty() && (t.front() == '+' || t.front() == '-')) t.remove_prefix(1);
    std::size_t e = t.find_first_of("eE");
    mantissa = t.substr(0, e);
    expoente = 0;
    if (e == std::string_view::npos) return true;
    std::string_view ex = t.substr(e + 1);
    bool negativo = !ex.empty() && ex.front() == '-';
    if (!ex.empty() && (ex.front() == '+' || ex.front() == '-')) ex.remove_prefix(1);
    if (ex.empty()) return false;
    for (char c : ex) {
        if (!Digito(c)) return false;
        expoente = std::min<long long>(expoente * 10 + (c - '0'), 100000);
    }
    if (negativo) expoente = -expoente;
    return true;
}

// Digits with "." grouping thousands: 1 to 3 digits (not a lone leading 0
// before a group), then groups of exactly 3.
bool MilharesValidos(std::string_view s) {
    std::size_t ponto = s.find('.');
    if (ponto == std::string_view::npos) return std::all_of(s.begin(), s.end(), Digito);
    std::string_view primeiro = s.substr(0, ponto);
    if (primeiro.empty() || primeiro.size() > 3 || primeiro.front() == '0') return false;
    if (!std::all_of(primeiro.begin(), primeiro.end(), Digito)) return false;
    s.remove_prefix(ponto);
    while (!s.empty()) {
        if (s.size() < 4 || s[0] != '.' || !Digito(s[1]) || !Digito(s[2]) || !Digito(s[3]))
            return false;
        s.remove_prefix(4);
    }
    return true;
}

// The cell text of a numeric field in the notation chosen: trimmed, and with
// "." turned into "," when the field uses "." as its decimal separator.
std::string TextoNumero(std::string_view campo, bool ponto) {
    std::string t(AparaBrancos(campo));
    if (ponto) std::replace(t.begin(), t.end(), '.', ',');
    return t;
}

// The worksheet's own reading of a cell text: dots removed, "," decimal.
bool PlanilhaLe(std::string_view texto) {
    std::string s;
    for (char c : texto)
        if (c != '.') s += c;
    long double x = 0;
    return ConverteNumero(s, x);
}

std::string SemSeparadores(std::string_view texto) {
    std::string s(texto);
    for (char &c : s)
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return s;
}

} // namespace

TCampoNumerico AnalisaCampo(std::string_view campo) {
    TCampoNumerico r;
    std::string_view t = AparaBrancos(campo);
    std::string_view mantissa;
    long long expoente = 0;
    if (t.empty() || !SeparaExpoente(t, mantissa, expoente)) return r;
    const bool temVirgula = mantissa.find(',') != std::string_view::npos;
    const bool temDigito = std::any_of(mantissa.begin(), mantissa.end(), Digito);
    if (!temDigito) return r;

    // "." as the decimal separator: digits and at most one "."; no ",".
    if (!temVirgula && std::count(mantissa.begin(), mantissa.end(), '.') <= 1 &&
        std::all_of(mantissa.begin(), mantissa.end(),
                    [](char c) { return Digito(c) || c == '.'; }) &&
        PlanilhaLe(TextoNumero(t, true))) {
        std::size_t p = mantissa.find('.');
        int fracao = p == std::string_view::npos ? 0 : static_cast<int>(mantissa.size() - p - 1);
        r.ponto = true;
        r.casasPonto = Casas(fracao, expoente);
    }
    // The worksheet's notation: thousands groups, then at most one ",".
    std::size_t v = mantissa.find(',');
    std::string_view inteira = mantissa.substr(0, v);
    std::string_view fracao =
        v == std::string_view::npos ? std::string_view() : mantissa.substr(v + 1);
    if (MilharesValidos(inteira) && std::all_of(fracao.begin(), fracao.end(), Digito) &&
        PlanilhaLe(TextoNumero(t, false))) {
        r.virgula = true;
        r.casasVirgula = Casas(static_cast<int>(fracao.size()), expoente);
    }
    return r;
}

TArquivoTxt::TArquivoTxt(TProgresso *progresso) : TLeituraGravacaoDados(progresso) {}

bool TArquivoTxt::VerificaFormato(const fs::path &arquivo) {
    const std::string ext = Maiusculas(arquivo.extension().string());
    if (ext != ".TXT" && ext != ".PRN") return false;
    std::string inicio;
    return LeInicio(arquivo, 0, inicio);
}

bool TArquivoTxt::LerComentarios(const fs::path &arquivo, std::string &texto) {
    std::string inicio;
    const bool ok = LeInicio(arquivo, 0, inicio);
    texto = ok ? "Arquivo de texto." : "Não foi possível ler arquivo.";
    return ok;
}

bool TArquivoTxt::Ler(const fs::path &arquivo, TGridzelto &grid, std::size_t /*maximoResumo*/,
                      std::string &resumo) {
    LimpaErro();
    resumo.clear();
    const std::string nome = NomeExibido(arquivo);
    const std::string maiusculo = Maiusculas(nome);
    if (!AbreLeitura(arquivo)) {
        std::error_code ec;
        if (Erro() == ErroArquivoGrande) {
            // The message already says why.
        } else if (fs::exists(arquivo, ec)) {
            DefineErro(Erro(),
                       "O arquivo " + maiusculo + " está sendo utilizado por outro programa. " +
                           "Feche o outro programa ou desconecte-o do arquivo " + maiusculo);
        } else {
            DefineErro(Erro(), "Não foi possível abrir o arquivo " + maiusculo + ".");
        }
        return false;
    }
    const std::string dados(Dados());
    Fecha();
    Progresso().Inicia("Lendo e convertendo planilha. . .", 0, 100, false);
    Progresso().TextoAuxiliar("(" + nome + ")");
    if (!grid.Limpa()) {
        Progresso().Termina();
        return false;
    }
    // Nothing has been written into the worksheet when the text cannot be
    // interpreted: it stays as cleared.
    auto falha = [&] {
        DefineErro(ErroFormato, "O formato do arquivo de texto " + nome +
                                    " não pode ser interpretado pelo ZELTO como uma planilha.");
        Progresso().Termina();
        return false;
    };

    std::vector<std::string_view> linhas = Linhas(dados);
    std::erase_if(linhas, LinhaVazia);
    if (linhas.empty()) return falha();
    std::vector<std::string_view> nomes;
    {
        Campos cs(linhas.front());
        for (std::string_view campo; cs.Proximo(campo);)
            nomes.push_back(campo);
    }
    const std::size_t colunas = nomes.size();
    const std::size_t amostras = linhas.size() - 1;
    if (colunas > MaximoColunasTexto || amostras > MaximoLinhasTexto ||
        colunas * amostras > MaximoCelulasTexto)
        return falha();

    // First pass: what each column holds.
    struct Coluna {
        bool comentario = false;
        bool soVirgula = false; // some field reads only in the worksheet's notation
        bool soPonto = false;   // some field reads only with "." as the decimal separator
        bool ponto = false;     // the notation chosen for fields that read in both
        int casas = 0;
    };
    std::vector<Coluna> cols(colunas);
    for (std::size_t i = 1; i < linhas.size(); ++i) {
        Campos cs(linhas[i]);
        std::string_view campo;
        for (std::size_t k = 0; k < colunas && cs.Proximo(campo); ++k) {
            Coluna &col = cols[k];
            if (col.comentario || AparaBrancos(campo).empty()) continue;
            TCampoNumerico a = AnalisaCampo(campo);
            if (!a.ponto && !a.virgula) col.comentario = true;
            if (a.virgula && !a.ponto) col.soVirgula = true;
            if (a.ponto && !a.virgula) col.soPonto = true;
        }
        Progresso().Avanca(50.0 * static_cast<double>(i) / static_cast<double>(linhas.size()));
    }
    // A field that reads in both notations ("42", "1.234") follows its column's
    // evidence, else the file's, else the worksheet's notation.
    bool arquivoVirgula = false, arquivoPonto = false;
    for (const Coluna &col : cols)
        if (!col.comentario) {
            arquivoVirgula = arquivoVirgula || col.soVirgula;
            arquivoPonto = arquivoPonto || col.soPonto;
        }
    for (Coluna &col : cols)
        col.ponto = col.soVirgula ? false : col.soPonto ? true : !arquivoVirgula && arquivoPonto;

    // The grid and the variables.
    const int nLinhas = static_cast<int>(amostras);
    const int nColunas = static_cast<int>(colunas);
    if (int falta = std::max(nLinhas + 2, 41) - grid.RowCount(); falta > 0)
        grid.AcrescentaLinhas(falta);
    if (int falta = std::max(nColunas + 2, 21) - grid.ColCount(); falta > 0)
        grid.AcrescentaColunas(falta);

    // Second pass: the cells, in the chosen notation for numbers, as they
    // stand for comments.
    for (std::size_t i = 1; i < linhas.size(); ++i) {
        Campos cs(linhas[i]);
        std::string_view campo;
        const int r = static_cast<int>(i);
        for (std::size_t k = 0; k < colunas && cs.Proximo(campo); ++k) {
            Coluna &col = cols[k];
            const int c = static_cast<int>(k) + 1;
            if (col.comentario) {
                grid.AtribuiCelula(c, r, DeCp1252(campo));
                continue;
            }
            if (AparaBrancos(campo).empty()) continue;
            TCampoNumerico a = AnalisaCampo(campo);
            bool ponto = col.ponto ? a.ponto : !a.virgula;
            col.casas = std::max(col.casas, ponto ? a.casasPonto : a.casasVirgula);
            grid.AtribuiCelula(c, r, DeCp1252(TextoNumero(campo, ponto)));
        }
        Progresso().Avanca(50.0 +
                           50.0 * static_cast<double>(i) / static_cast<double>(linhas.size()));
    }

    for (std::size_t k = 0; k < colunas; ++k) {
        const Coluna &col = cols[k];
        const int c = static_cast<int>(k) + 1;
        TVariavel v;
        v.Nome = DeCp1252(nomes[k]);
        TDataFormat f;
        if (col.comentario) {
            v.Tipo = tvComentario;
            v.Alinhamento = alEsquerda;
            v.Usada = false;
            v.PontosDeMilhar = false;
            f.Editor = teTexto;
        } else {
            v.Tipo = tvNumerica;
            v.Alinhamento = alDireita;
            v.Usada = true;
            v.Dependente = k == 0;
            v.PontosDeMilhar = true;
            v.CasasDecimais = static_cast<std::uint8_t>(col.casas);
            f.Editor = teReal;
        }
        grid.AtribuiCelula(c, 0, v.Nome);
        grid.DefineVariavel(c, std::move(v));
        grid.DefineFormato(c, std::move(f));
    }
    grid.DefineLinhasUsadas(nLinhas);
    grid.DefineColunasUsadas(nColunas);
    grid.Renumera();
    grid.RecalcularTudo();
    grid.NomeArquivo = nome;
    grid.DefineModificada(false);
    Progresso().Termina();
    return true;
}

std::string TArquivoTxt::TextoPlanilha(const TGridzelto &grid) {
    const int colunas = std::min<int>(grid.ColunasUsadas(), grid.ColCount() - 1);
    const int linhas = std::min<int>(grid.LinhasUsadas(), grid.RowCount() - 1);
    std::string s;
    for (int r = 0; r <= linhas; ++r) {
        for (int c = 1; c <= colunas; ++c) {
            const std::string texto = r == 0 ? grid.Celula(c, 0) : grid.TextoExibido(c, r);
            s += ParaCp1252(SemSeparadores(texto));
            if (c < colunas) s += '\t';
        }
        s += "\r\n";
    }
    return s;
}

bool TArquivoTxt::Gravar(const fs::path &arquivo, TGridzelto &grid, const std::string & /*resumo*/,
                         const std::string & /*comentarios*/) {
    LimpaErro();
    const std::string nome = NomeExibido(arquivo);
    if (!CriaGravacao(arquivo)) {
        DefineErro(Erro(), Mensagem() + "\r\n\r\nNão foi possível criar o arquivo " +
                               Maiusculas(nome) + ".");
        return false;
    }
    Progresso().Inicia("Gravando planilha . . .", 0, grid.LinhasUsadas(), false);
    Progresso().TextoAuxiliar("(" + nome + ")");
    GravaBytes(TextoPlanilha(grid));
    Progresso().Avanca(grid.LinhasUsadas());
    const bool ok = Fecha();
    Progresso().Termina();
    return ok;
}

} // namespace zelto
