#include "worksheet/DefinicaoVariavel.h"

#include "common/Datas.h"
#include "common/Numeros.h"
#include "common/Texto.h"

#include <algorithm>
#include <cmath>

namespace zelto {

namespace {

TipoTabela TipoDaTabela(TipoVariavel t) {
    return t == tvDicotomica ? TipoTabela::Dicotomica : TipoTabela::Qualitativa;
}

bool UsaTabela(TipoVariavel t) { return t == tvQualitativa || t == tvDicotomica; }

std::uint8_t LeCasas(const std::string &texto) {
    long long n = 0;
    if (Apara(texto).empty() || !ConverteInteiro(texto, n)) return 0;
    return static_cast<std::uint8_t>(std::clamp<long long>(n, 0, 18));
}

int AnoAtual() { return DataDeSerial(SerialHoje()).ano; }

std::string Rotulo(const std::string &rotulos, int i) {
    auto p = Divide(rotulos, '|');
    return i < static_cast<int>(p.size()) ? p[i] : std::string();
}

// The first 80 characters, upper-cased, for comparing a comment with labels.
std::string Chave80(std::string_view t) { return Maiusculas(CortaCp1252(t, 80)); }

bool FormulaHomogeneizado(const TVariavel &v) {
    return v.Tipo == tvCalculada && IguaisSemCaixa(Apara(v.Equacao), TGridzelto::kFormulaHomogeneizado);
}

// A comment read as a number: with both "." and ",", the points group
// thousands and the first comma is the decimal point; a lone "," is the
// decimal point; otherwise "." is.
bool NumeroDeComentario(const std::string &texto, long double &x) {
    std::string t = Apara(texto);
    bool ponto = t.find('.') != std::string::npos, virgula = t.find(',') != std::string::npos;
    if (ponto && virgula) std::erase(t, '.');
    if (!virgula) std::replace(t.begin(), t.end(), '.', ',');
    return ConverteNumero(t, x);
}

} // namespace

const char *TituloTipoVariavel(TipoVariavel tipo, bool modoInferencial) {
    switch (tipo) {
    case tvNumerica: return modoInferencial ? "Variável numérica" : "Coeficiente";
    case tvQualitativa: return modoInferencial ? "Variável qualitativa" : "Tabelas de coeficientes";
    case tvDicotomica: return "Variável dicotômica";
    case tvCalculada: return modoInferencial ? "Variável calculada" : "Coeficiente calculado";
    case tvData: return "Variável data";
    case tvComentario: return "Comentários";
    default: return "";
    }
}

std::uint8_t AlinhamentoPadrao(TipoVariavel tipo) {
    switch (tipo) {
    case tvNumerica:
    case tvCalculada: return alDireita;
    case tvComentario: return alEsquerda;
    default: return alCentro;
    }
}

TAtributosVariavel AtributosIniciais(const TGridzelto &g, int c, TTabelasVariaveis &tabelas) {
    TAtributosVariavel a;
    a.Nome = g.Celula(c, 0);
    const TVariavel *v = g.Variavel(c);
    if (!v) {
        DataCivil hoje = DataDeSerial(SerialHoje());
        a.DataReferencia = static_cast<double>(SerialDeData(hoje.ano, hoje.mes, 1));
        return a;
    }
    a.TinhaVariavel = true;
    a.Descricao = v->Descricao;
    a.Usada = v->Usada;
    a.Dependente = v->Dependente;
    a.CoeficienteHomogeneizacao = v->CoeficienteHomogeneizacao;
    a.Alinhamento = v->Alinhamento;
    a.Tipo = v->Tipo;
    a.CasasDecimais = std::to_string(v->CasasDecimais);
    a.PontosDeMilhar = v->PontosDeMilhar;
    a.Equacao = v->Equacao;
    a.TipoData = v->TipoData;
    a.DataReferencia = v->DataReferencia;
    if (UsaTabela(v->Tipo)) {
        TipoTabela tt = TipoDaTabela(v->Tipo);
        auto nomes = tabelas.Nomes(tt);
        if (std::find(nomes.begin(), nomes.end(), v->Tabela) != nomes.end())
            a.Tabela = v->Tabela;
        else if (!nomes.empty())
            a.Tabela = nomes.front();
    }
    if (FormulaHomogeneizado(*v)) {
        a.CoeficienteHomogeneizacao = false;
        a.CoeficienteHabilitado = false;
    }
    return a;
}

void AplicaRegras(TAtributosVariavel &a, bool modoInferencial) {
    (void)modoInferencial;
    if (a.Tipo == tvComentario) a.Usada = false;
    if (a.Tipo == tvQualitativa || a.Tipo == tvDicotomica || a.Tipo == tvData || a.Tipo == tvComentario)
        a.Dependente = false;
    if (!a.Usada) {
        a.Dependente = false;
        a.CoeficienteHomogeneizacao = false;
    }
    if (a.Dependente || !a.CoeficienteHabilitado || a.Tipo == tvComentario)
        a.CoeficienteHomogeneizacao = false;
}

std::vector<std::string> NomesParaFormula(const TGridzelto &g, bool modoInferencial) {
    std::vector<std::string> nomes;
    int n = std::min<int>(g.ColunasUsadas(), g.ColCount() - 1);
    for (int c = 1; c <= n; ++c) nomes.push_back(g.Celula(c, 0));
    if (!modoInferencial && g.ColunaValorHomogeneizado() == 0) nomes.emplace_back("Valor Homogeneizado");
    return nomes;
}

bool DefineVariavel(TGridzelto &g, int c, const TAtributosVariavel &a, TTabelasVariaveis &tabelas,
                    int larguraNome) {
    if (c < 1 || c >= g.ColCount()) return false;
    g.AtribuiCelula(c, 0, a.Nome);
    if (larguraNome > 0 && g.LarguraColuna(c) < larguraNome + 10) g.DefineLarguraColuna(c, larguraNome + 10);

    const TVariavel *atual = g.Variavel(c);
    std::optional<TVariavel> antiga;
    if (atual) antiga = *atual;
    TDataFormat formatoAntigo = g.Formato(c);
    bool mudou = !antiga;

    TVariavel nova = antiga.value_or(TVariavel{});
    nova.Nome = a.Nome;
    nova.Descricao = a.Descricao;
    if (nova.Usada != a.Usada || nova.Dependente != a.Dependente) mudou = true;
    nova.Usada = a.Usada;
    nova.Dependente = a.Dependente;
    nova.CoeficienteHomogeneizacao = a.CoeficienteHomogeneizacao;
    nova.Alinhamento = a.Alinhamento;
    nova.Tipo = a.Tipo;

    TDataFormat formato;
    std::uint8_t casas = LeCasas(a.CasasDecimais);
    switch (a.Tipo) {
    case tvNumerica:
        nova.CasasDecimais = casas;
        nova.PontosDeMilhar = a.PontosDeMilhar;
        formato.Editor = teReal;
        break;
    case tvQualitativa:
        if (nova.Tabela != a.Tabela) mudou = true;
        nova.Tabela = a.Tabela;
        formato.Editor = teLista;
        formato.Itens = tabelas.ListaRotulos(a.Tabela);
        break;
    case tvDicotomica:
        if (nova.Tabela != a.Tabela) mudou = true;
        nova.Tabela = a.Tabela;
        nova.Rotulos = tabelas.TextoRotulos(a.Tabela);
        formato.Editor = teCaixaMarcacao;
        break;
    case tvCalculada:
        if (nova.CasasDecimais != casas || nova.Equacao != a.Equacao) mudou = true;
        nova.CasasDecimais = casas;
        nova.PontosDeMilhar = a.PontosDeMilhar;
        nova.Equacao = a.Equacao;
        formato.Editor = teTexto;
        break;
    case tvData:
        if (nova.DataReferencia != a.DataReferencia || nova.TipoData != a.TipoData) mudou = true;
        nova.TipoData = a.TipoData;
        nova.DataReferencia = a.DataReferencia;
        formato.Editor = teData;
        break;
    default:
        formato.Editor = teTexto;
        break;
    }
    g.DefineFormato(c, std::move(formato));
    g.DefineVariavel(c, nova);
    if (antiga && ConverteCelulas(g, c, *antiga, formatoAntigo, tabelas)) mudou = true;
    if (c > g.ColunasUsadas()) g.DefineColunasUsadas(c);
    if (!g.Modo.Inferencial && g.Modo.CriarValorHomogeneizado && g.ColunasUsadas() > 2 &&
        g.ColunaValorHomogeneizado() == 0) {
        g.GaranteValorHomogeneizado();
        mudou = true;
    }
    g.RecalcularTudo();
    if (const TVariavel *v = g.Variavel(c); v && v->Dependente)
        for (int k = 1; k < g.ColCount(); ++k)
            if (TVariavel *o = g.Variavel(k); o && k != c && o->Dependente) {
                TVariavel copia = *o;
                copia.Dependente = false;
                g.DefineVariavel(k, std::move(copia));
            }
    g.DefineModificada(true);
    return mudou;
}

bool ConverteCelulas(TGridzelto &g, int c, const TVariavel &antiga, const TDataFormat &formatoAntigo,
                     TTabelasVariaveis &tabelas) {
    const TVariavel &nova = *g.Variavel(c);
    const TipoVariavel O = antiga.Tipo, N = nova.Tipo;
    const bool mesmaTabela = antiga.Tabela == nova.Tabela;
    const bool mesmaData = antiga.TipoData == nova.TipoData && antiga.DataReferencia == nova.DataReferencia;
    // Kinds whose cells stay as they are under a same-kind redefinition.
    if (O == N && !(N == tvQualitativa && !mesmaTabela) && !(N == tvData && !mesmaData)) return false;

    const int ultima = std::min<int>(g.LinhasUsadas(), g.RowCount() - 1);
    auto esvaziaTudo = [&] {
        // Every data cell of the column, also in rows below the used ones.
        for (int r = 1; r < g.RowCount(); ++r) g.AtribuiCelula(c, r, std::string());
        return true;
    };
    if (N == tvCalculada) return esvaziaTudo();
    if ((N == tvQualitativa || N == tvDicotomica) && O == tvData) return esvaziaTudo();
    if (N == tvData && (O == tvQualitativa || O == tvDicotomica)) return esvaziaTudo();

    const auto &itensNovos = g.Formato(c).Itens;
    auto rotuloNovoPorValor = [&](long double x, bool exato) -> std::string {
        for (const TObjetoValor &i : itensNovos)
            if (exato ? i.Valor == x : std::fabs(i.Valor - x) < 0.001L) return i.Rotulo;
        return "";
    };
    auto rotuloNovoPorNome = [&](std::string_view rotulo) -> std::optional<std::string> {
        std::string t = Apara(rotulo);
        for (const TObjetoValor &i : itensNovos)
            if (IguaisSemCaixa(Apara(i.Rotulo), t)) return i.Rotulo;
        return std::nullopt;
    };
    auto valorAntigo = [&](const std::string &t) { return TGridzelto::ValorDeTexto(&antiga, formatoAntigo, t); };
    const std::string verdadeiroNovo = Apara(Rotulo(nova.Rotulos, 0));
    const std::string falsoNovo = Apara(Rotulo(nova.Rotulos, 1));

    for (int r = 1; r <= ultima; ++r) {
        const std::string t = g.Celula(c, r);
        if (t.empty()) continue;
        std::string novo = t;
        switch (N) {
        case tvNumerica:
            if (O == tvQualitativa)
                novo = g.TextoCelulaDeValor(c, tabelas.ValorRotulo(antiga.Tabela, t));
            else if (O == tvDicotomica || O == tvData)
                novo = g.TextoCelulaDeValor(c, valorAntigo(t));
            else if (O == tvComentario) {
                long double x = 0;
                novo = NumeroDeComentario(t, x) ? g.TextoCelulaDeValor(c, x) : std::string();
            }
            break;
        case tvQualitativa:
            if (O == tvQualitativa) {
                if (auto n = rotuloNovoPorNome(t)) {
                    novo = *n;
                } else {
                    bool existe = std::any_of(formatoAntigo.Itens.begin(), formatoAntigo.Itens.end(),
                                              [&](const TObjetoValor &i) { return IguaisSemCaixa(i.Rotulo, t); });
                    novo = rotuloNovoPorValor(existe ? valorAntigo(t) : 1e25L, false);
                }
            } else if (O == tvDicotomica) {
                bool verdadeiro = t == "TRUE";
                if (auto n = rotuloNovoPorNome(Rotulo(antiga.Rotulos, verdadeiro ? 0 : 1)))
                    novo = *n;
                else
                    novo = rotuloNovoPorValor(verdadeiro ? 1 : 0, false);
            } else if (O == tvComentario) {
                novo.clear();
                for (const TObjetoValor &i : itensNovos)
                    if (Chave80(t) == Maiusculas(i.Rotulo)) {
                        novo = i.Rotulo;
                        break;
                    }
            } else { // numeric or calculated: only an exact value
                novo = rotuloNovoPorValor(valorAntigo(t), true);
            }
            break;
        case tvDicotomica:
            if (O == tvNumerica || O == tvCalculada) {
                novo = valorAntigo(t) != 0 ? "TRUE" : "FALSE";
            } else if (O == tvQualitativa) {
                std::string a = Apara(t);
                if (IguaisSemCaixa(a, verdadeiroNovo))
                    novo = "TRUE";
                else if (IguaisSemCaixa(a, falsoNovo))
                    novo = "FALSE";
                else {
                    auto it = std::find_if(formatoAntigo.Itens.begin(), formatoAntigo.Itens.end(),
                                           [&](const TObjetoValor &i) { return IguaisSemCaixa(i.Rotulo, t); });
                    long double v = it == formatoAntigo.Itens.end() ? 1e25L : it->Valor;
                    novo = v < 0.001L ? "FALSE" : v < 1.001L ? "TRUE" : "";
                }
            } else if (O == tvComentario) {
                std::string k = Chave80(t);
                novo = k == Maiusculas(verdadeiroNovo) ? "TRUE" : k == Maiusculas(falsoNovo) ? "FALSE" : "";
            }
            break;
        case tvData: {
            long ref = static_cast<long>(nova.DataReferencia);
            long serial = 0;
            if (O == tvNumerica || O == tvCalculada) {
                long double x = valorAntigo(t) * (nova.TipoData == tdMesAno ? 31 : 1);
                if (std::fabs(x) < 3e6L) serial = ref + std::lround(static_cast<double>(x));
            } else if (O == tvData) {
                serial = LeData(t, antiga.TipoData, AnoAtual());
            } else if (O == tvComentario) {
                serial = LeData(t, nova.TipoData, AnoAtual());
            }
            novo = TextoData(serial, nova.TipoData);
            break;
        }
        case tvComentario:
            if (O == tvDicotomica) {
                if (t == "TRUE")
                    novo = Rotulo(antiga.Rotulos, 0);
                else if (t == "FALSE")
                    novo = Rotulo(antiga.Rotulos, 1);
            }
            break;
        default: break;
        }
        g.AtribuiCelula(c, r, std::move(novo));
    }
    return true;
}

namespace {

// The evaluator hands a name without brackets over in capitals: the spelling of the column it
// stands for, else the one in the formula.
std::string GrafiaOriginal(const TGridzelto &g, const std::string &formula,
                           const std::string &nome) {
    if (nome.starts_with('[')) return nome;
    for (int k = 1; k < g.ColCount(); ++k)
        if (IguaisSemCaixa(g.Celula(k, 0), nome)) return g.Celula(k, 0);
    const std::size_t i = Maiusculas(formula).find(Maiusculas(nome));
    return i == std::string::npos ? nome : formula.substr(i, nome.size());
}

} // namespace

TFalhaFormula VerificaFormula(const TGridzelto &g, const std::string &formula, int linhas) {
    TFalhaFormula falha;
    TCalcEquacao calc;
    calc.Equacao = formula;
    int linha = 0;
    calc.Resolvedor = [&](const std::string &nome, double &valor) {
        valor = 1;
        if (IguaisSemCaixa(nome, TGridzelto::kFormulaHomogeneizado)) return true;
        if (nome.size() >= 2 && nome.front() == '[' && nome.back() == ']') {
            const std::string alvo = nome.substr(1, nome.size() - 2);
            for (int k = 1; k < g.ColCount(); ++k) {
                if (g.Celula(k, 0) != alvo) continue;
                if (linha > 0 && !g.Celula(k, linha).empty())
                    valor = static_cast<double>(g.ValorCelula(k, linha));
                return true;
            }
        }
        if (falha.NomeDesconhecido.empty())
            falha.NomeDesconhecido = GrafiaOriginal(g, formula, nome);
        return false;
    };
    const int ultima = std::min({static_cast<int>(g.LinhasUsadas()), linhas, g.RowCount() - 1});
    for (linha = ultima > 0 ? 1 : 0; linha <= ultima; ++linha) {
        calc.Avalia();
        if (calc.Erro() != SEM_ERRO) {
            falha.Codigo = calc.Erro();
            falha.Linha = linha;
            if (falha.Codigo != ERR_SYNTAXE_ERRADA) falha.NomeDesconhecido.clear();
            return falha;
        }
    }
    return falha;
}

} // namespace zelto
