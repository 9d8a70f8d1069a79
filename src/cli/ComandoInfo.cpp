// zelto-cli info FILE [--json]
//
// What a worksheet file of any supported format holds: the format, the statistics mode opening
// it sets, the user comments, the technical summary, the variables with their settings, the
// numbers of samples and of disregarded samples, the subject property's values and the words
// that identify it. Human text by default; with --json one object whose keys stay stable:
//   format       "native", "older" or "text"
//   mode         "inferencial" or "descritiva" (a text file keeps the program's mode, the
//                inferential one at start)
//   comments, summary, samples, disregarded
//   variables    [{name, kind (0..5, null for a column without a variable), used, dependent,
//                coefficient, decimals, thousands, table, formula, description, labels,
//                date_form, date_reference}]
//   subject      {variable name: value text as the worksheet stores it}
//   identification {object, characteristic, final_value: {name, unit, gender, unit_position},
//                multiplier}
//   complete     false when the file could be read only in part
// A file read only in part is shown as far as it was read, and the engine's message goes to
// stderr with exit status 1.
#include "ComandosArquivo.h"
#include "PlanilhaCli.h"

#include "common/Datas.h"
#include "common/Texto.h"
#include "search/ObjetoAvaliacao.h"
#include "worksheet/DefinicaoVariavel.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace zelto;
using namespace zelto::cli;
using Json = nlohmann::ordered_json;

struct TOpcoesInfo {
    std::string arquivo;
    bool json = false;
};

const char *NomeFormato(TFormatoArquivo f) {
    switch (f) {
    case TFormatoArquivo::Nativo:
        return "native";
    case TFormatoArquivo::Antigo:
        return "older";
    default:
        return "text";
    }
}

const char *TextoFormato(TFormatoArquivo f) {
    switch (f) {
    case TFormatoArquivo::Nativo:
        return "planilha nativa";
    case TFormatoArquivo::Antigo:
        return "planilha do formato antigo";
    default:
        return "texto separado por tabulações";
    }
}

int UltimaColuna(const TGridzelto &g) {
    return std::min<int>(g.ColunasUsadas(), g.ColCount() - 1);
}

// The labels of a column's table: a qualitative column's list items, a dichotomous column's
// true and false labels.
std::vector<std::string> Rotulos(const TGridzelto &g, int c, const TVariavel &v) {
    std::vector<std::string> r;
    if (v.Tipo == tvQualitativa)
        for (const TObjetoValor &i : g.Formato(c).Itens)
            r.push_back(i.Rotulo);
    if (v.Tipo == tvDicotomica) {
        r = Divide(v.Rotulos, '|');
        r.resize(2);
    }
    return r;
}

// The subject's lines as (name, value): a line opens with the longest variable name followed
// by "=", so names that hold "=" split right; other lines split at their first "=".
std::vector<std::pair<std::string, std::string>> LinhasObjeto(const TGridzelto &g) {
    std::vector<std::pair<std::string, std::string>> r;
    for (const std::string &linha : g.ValoresObjeto) {
        std::size_t corte = std::string::npos;
        for (int c = 1; c <= UltimaColuna(g); ++c) {
            const std::string &nome = g.Celula(c, 0);
            if (linha.size() > nome.size() && linha.starts_with(nome) &&
                linha[nome.size()] == '=' && (corte == std::string::npos || nome.size() > corte))
                corte = nome.size();
        }
        if (corte == std::string::npos) corte = linha.find('=');
        if (corte == std::string::npos)
            r.emplace_back(linha, "");
        else
            r.emplace_back(linha.substr(0, corte), linha.substr(corte + 1));
    }
    return r;
}

int Desconsideradas(const TGridzelto &g) {
    int n = 0;
    for (int r = 1; r <= std::min<int>(g.LinhasUsadas(), g.RowCount() - 1); ++r)
        n += g.Desconsiderada(r) ? 1 : 0;
    return n;
}

std::string NomeDependente(const TGridzelto &g) {
    const int d = g.ColunaDependente();
    return d > 0 ? g.Celula(d, 0) : std::string();
}

// ---- JSON -------------------------------------------------------------------------------------

Json VariavelJson(const TGridzelto &g, int c) {
    Json j;
    j["name"] = g.Celula(c, 0);
    const TVariavel *v = g.Variavel(c);
    if (!v) {
        j["kind"] = nullptr;
        return j;
    }
    j["kind"] = static_cast<int>(v->Tipo);
    j["used"] = v->Usada;
    j["dependent"] = v->Dependente;
    j["coefficient"] = v->CoeficienteHomogeneizacao;
    j["decimals"] = v->CasasDecimais;
    j["thousands"] = v->PontosDeMilhar;
    j["table"] = v->Tabela;
    j["formula"] = v->Equacao;
    j["description"] = v->Descricao;
    j["labels"] = Rotulos(g, c, *v);
    j["date_form"] = v->TipoData;
    j["date_reference"] = TextoData(static_cast<long>(v->DataReferencia), tdDiaMesAno);
    return j;
}

Json NomeJson(const TIdentificacaoObjeto::Nome &n) {
    return Json{{"name", n.Texto},
                {"unit", n.Unidade},
                {"gender", n.Genero},
                {"unit_position", n.PosicaoUnidade}};
}

std::string JsonInfo(const TGridzelto &g, const TPlanilhaLida &lida, const std::string &arquivo) {
    Json j;
    j["file"] = arquivo;
    j["format"] = NomeFormato(lida.formato);
    j["mode"] = g.Modo.Inferencial ? "inferencial" : "descritiva";
    j["comments"] = lida.comentarios;
    j["summary"] = lida.resumo;
    j["samples"] = g.LinhasUsadas();
    j["disregarded"] = Desconsideradas(g);
    j["dependent_variable"] = NomeDependente(g);
    j["variables"] = Json::array();
    for (int c = 1; c <= UltimaColuna(g); ++c)
        j["variables"].push_back(VariavelJson(g, c));
    j["subject"] = Json::object();
    for (const auto &[nome, valor] : LinhasObjeto(g))
        if (!j["subject"].contains(nome)) j["subject"][nome] = valor; // the first line counts
    const TIdentificacaoObjeto &id = g.IdentificacaoObjeto;
    j["identification"] = Json{{"object", NomeJson(id.Objeto)},
                               {"characteristic", NomeJson(id.Caracteristica)},
                               {"final_value", NomeJson(id.ValorAvaliado)},
                               {"multiplier", static_cast<double>(id.Multiplicador)}};
    j["complete"] = lida.aviso.empty();
    return j.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

// ---- Human text --------------------------------------------------------------------------------

// A text of the file, its line breaks as line breaks, continuation lines indented.
std::string Paragrafo(std::string_view texto) {
    if (texto.empty()) return "(vazio)";
    std::string r;
    for (std::size_t i = 0; i < texto.size(); ++i) {
        const char c = texto[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < texto.size() && texto[i + 1] == '\n') ++i;
            r += "\n  ";
        } else {
            r += c;
        }
    }
    return r;
}

const char *SimNao(bool b) {
    return b ? "sim" : "não";
}

std::string DetalheVariavel(const TGridzelto &g, int c, const TVariavel &v) {
    std::ostringstream s;
    switch (v.Tipo) {
    case tvNumerica:
        s << +v.CasasDecimais << " casas decimais"
          << (v.PontosDeMilhar ? ", pontos de milhar" : "");
        break;
    case tvQualitativa:
    case tvDicotomica: {
        s << "tabela \"" << v.Tabela << "\" (";
        const auto rotulos = Rotulos(g, c, v);
        for (std::size_t i = 0; i < rotulos.size(); ++i)
            s << (i ? " | " : "") << rotulos[i];
        s << ")";
        break;
    }
    case tvCalculada:
        s << "fórmula " << v.Equacao << "; " << +v.CasasDecimais << " casas decimais"
          << (v.PontosDeMilhar ? ", pontos de milhar" : "");
        break;
    case tvData: {
        static const char *const formas[] = {"dia/mês/ano", "dia/mês", "mês/ano"};
        s << "forma " << (v.TipoData <= tdMesAno ? formas[v.TipoData] : "?") << ", referência "
          << TextoData(static_cast<long>(v.DataReferencia), tdDiaMesAno);
        break;
    }
    default:
        break;
    }
    return s.str();
}

std::string NomeTexto(const TIdentificacaoObjeto::Nome &n) {
    if (n.Texto.empty() && n.Unidade.empty()) return "(vazio)";
    return n.Texto + " (" + kGeneros[n.Genero == 1 ? 1 : 0] + "), unidade \"" + n.Unidade + "\" (" +
           kPosicoesUnidade[n.PosicaoUnidade == 1 ? 1 : 0] + ")";
}

std::string TextoInfo(const TGridzelto &g, const TPlanilhaLida &lida, const std::string &arquivo) {
    std::ostringstream s;
    s << "Arquivo: " << arquivo << "\nFormato: " << TextoFormato(lida.formato) << "\nModo: "
      << (g.Modo.Inferencial ? "Estatística Inferencial  (Análise por Regressão)"
                          : "Estatística Descritiva  (Análise por Fatores)")
      << "\nComentários: " << Paragrafo(lida.comentarios)
      << "\nResumo técnico: " << Paragrafo(lida.resumo) << "\nAmostragens: " << g.LinhasUsadas()
      << " (" << Desconsideradas(g) << " desconsideradas)\nVariáveis: " << UltimaColuna(g) << "\n";
    for (int c = 1; c <= UltimaColuna(g); ++c) {
        s << "  " << c << ". " << g.Celula(c, 0) << ": ";
        const TVariavel *v = g.Variavel(c);
        if (!v) {
            s << "sem variável\n";
            continue;
        }
        s << TituloTipoVariavel(v->Tipo, g.Modo.Inferencial) << "; usada " << SimNao(v->Usada)
          << ", dependente " << SimNao(v->Dependente) << ", coeficiente "
          << SimNao(v->CoeficienteHomogeneizacao);
        if (const std::string d = DetalheVariavel(g, c, *v); !d.empty()) s << "; " << d;
        if (!v->Descricao.empty()) s << "\n     " << v->Descricao;
        s << "\n";
    }
    const auto linhas = LinhasObjeto(g);
    s << "Objeto sob avaliação:" << (linhas.empty() ? " (sem valores)" : "") << "\n";
    for (const auto &[nome, valor] : linhas) {
        // A dichotomous value shows as its label, as the subject dialog shows it.
        std::string texto = valor;
        for (int c = 1; c <= UltimaColuna(g); ++c)
            if (const TVariavel *v = g.Variavel(c); v && v->Tipo == tvDicotomica &&
                                                    g.Celula(c, 0) == nome &&
                                                    (valor == "TRUE" || valor == "FALSE"))
                texto = Rotulos(g, c, *v)[valor == "TRUE" ? 0 : 1];
        s << "  " << nome << " = " << texto << "\n";
    }
    const TIdentificacaoObjeto &id = g.IdentificacaoObjeto;
    s << "Identificação:\n  objeto: " << NomeTexto(id.Objeto)
      << "\n  característica multiplicativa: " << NomeTexto(id.Caracteristica)
      << "\n  valor final: " << NomeTexto(id.ValorAvaliado) << "\n  valor da característica: "
      << (id.Multiplicador == 0 ? "(vazio)" : TextoMultiplicador(id)) << "\n";
    return s.str();
}

int Info(const TOpcoesInfo &o) {
    TGridzelto grid;
    const TPlanilhaLida lida = LePlanilha(o.arquivo, grid);
    std::cout << (o.json ? JsonInfo(grid, lida, o.arquivo) : TextoInfo(grid, lida, o.arquivo));
    if (!lida.aviso.empty()) throw TFalha{1, lida.aviso};
    return 0;
}

} // namespace

void RegistraInfo(CLI::App &app, int &status) {
    auto o = std::make_shared<TOpcoesInfo>();
    auto *cmd = app.add_subcommand("info", "Mostra o que uma planilha guarda");
    cmd->add_option("FILE", o->arquivo, "A planilha (qualquer formato)")->required();
    cmd->add_flag("--json", o->json, "Saída em JSON");
    cmd->callback([o, &status] { status = Executa([&] { return Info(*o); }); });
}
