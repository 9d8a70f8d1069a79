// zelto-cli fit FILE --model "NAME=CODE,..." [--dependent NAME] [--use NAME,...]
//                    [--subject "NAME=VALUE,..."] [--confidence P] [--json]
//
// Reads any worksheet file, builds the model (the dependent variable first, then every other
// variable with a non-zero code in column order; variables not named get code 0), fits it to
// the active samples and prints its statistics. Numbers are printed with 17 significant digits
// and "." as the decimal separator; the infinite marker prints as inf or -inf (in JSON, the
// strings "inf" and "-inf"); a value that cannot be computed at the subject is null.
#include "ComandoFit.h"

#include "ModeloCli.h"
#include "PlanilhaCli.h"
#include "common/Numeros.h"
#include "common/Texto.h"
#include "files/LerArquivo.h"
#include "regression/Sistema.h"
#include "regression/TextoAjuste.h"
#include "regression/Transformacoes.h"
#include "worksheet/Gridzelto.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace zelto;
using cli::TFalha;
using cli::UmaLinha;

struct TOpcoesFit {
    std::string arquivo, modelo, dependente, usar, sujeito, confianca;
    bool json = false;
};

// ---- Number and JSON texts ---------------------------------------------------------------

std::string Numero(long double x) {
    if (std::isnan(x)) return "nan";
    if (x >= Infinito) return "inf";
    if (x <= -Infinito) return "-inf";
    char texto[64];
    auto fim = std::to_chars(texto, texto + sizeof texto, x + 0.0L, // no "-0"
                             std::chars_format::general, 17)
                   .ptr;
    return std::string(texto, fim);
}

std::string NumeroJson(long double x) {
    if (std::isnan(x)) return "null";
    if (x >= Infinito) return "\"inf\"";
    if (x <= -Infinito) return "\"-inf\"";
    return Numero(x);
}

std::string NumeroJson(const std::optional<long double> &x) {
    return x ? NumeroJson(*x) : "null";
}

std::string TextoJson(std::string_view s) {
    std::string r = "\"";
    for (unsigned char c : s) {
        switch (c) {
        case '"':
            r += "\\\"";
            break;
        case '\\':
            r += "\\\\";
            break;
        case '\n':
            r += "\\n";
            break;
        case '\r':
            r += "\\r";
            break;
        case '\t':
            r += "\\t";
            break;
        default:
            if (c < 0x20) {
                char u[8];
                std::snprintf(u, sizeof u, "\\u%04x", c);
                r += u;
            } else {
                r += static_cast<char>(c);
            }
        }
    }
    return r + "\"";
}

template <class F> std::string ListaJson(std::size_t n, F item) {
    std::string r = "[";
    for (std::size_t i = 1; i <= n; ++i)
        r += (i > 1 ? ", " : "") + item(i);
    return r + "]";
}

// ---- The command --------------------------------------------------------------------------

void Imprime(const TSistema &s, long double confianca, bool json, std::ostream &out) {
    const std::size_t n = s.n(), m = s.m();
    const long double nn = static_cast<long double>(n);
    const bool objeto = s.ObjetoInformado();
    const TPonto ponto = s.PontoObjeto();
    const auto estimativaModelo = objeto ? s.EstimativaModelo(ponto) : std::nullopt;
    const auto estimativa = objeto ? s.Estimativa(ponto) : std::nullopt;
    const auto media = objeto ? s.IntervaloMedia(ponto, confianca) : std::nullopt;
    const auto predicao = objeto ? s.IntervaloPredicao(ponto, confianca) : std::nullopt;
    const auto nome = [&](std::size_t k) {
        return k == 1 ? std::string("(intercept)") : s.NomeTermo(k);
    };

    if (!json) {
        out << TextoAjuste(s, confianca, Numero);
        return;
    }

    auto intervalo = [](const std::optional<TIntervalo> &i) {
        return i ? "[" + NumeroJson(i->Inferior) + ", " + NumeroJson(i->Superior) + "]"
                 : std::string("null");
    };
    out << "{\n  \"n\": " << n << ",\n  \"m\": " << m
        << ",\n  \"dependent\": " << TextoJson(s.NomeTermo(1)) << ",\n  \"terms\": "
        << ListaJson(m,
                     [&](std::size_t k) {
                         return "{\"name\": " + TextoJson(s.NomeTermo(k)) +
                                ", \"code\": " + std::to_string(s.CodigoTermo(k)) + "}";
                     })
        << ",\n  \"coefficients\": "
        << ListaJson(m,
                     [&](std::size_t k) {
                         return "{\"name\": " + TextoJson(nome(k)) +
                                ", \"b\": " + NumeroJson(s.Coeficiente(k)) +
                                ", \"se\": " + NumeroJson(s.ErroPadrao(k)) +
                                ", \"t\": " + NumeroJson(s.TCoeficiente(k)) + "}";
                     })
        << ",\n  \"R\": " << NumeroJson(s.R()) << ",\n  \"R2\": " << NumeroJson(s.R2())
        << ",\n  \"R2_adjusted\": " << NumeroJson(s.R2Ajustado())
        << ",\n  \"F\": " << NumeroJson(s.F()) << ",\n  \"SSR\": " << NumeroJson(s.nSQR() / nn)
        << ",\n  \"SSE\": " << NumeroJson(s.nSQE() / nn)
        << ",\n  \"SST\": " << NumeroJson(s.nSQT() / nn)
        << ",\n  \"residual_variance\": " << NumeroJson(s.VarianciaResidual())
        << ",\n  \"residuals\": "
        << ListaJson(n, [&](std::size_t i) { return NumeroJson(s.Residuo(i)); }) << ",\n  \"hat\": "
        << ListaJson(n, [&](std::size_t i) { return NumeroJson(s.Alavanca(i)); })
        << ",\n  \"studentized\": "
        << ListaJson(n, [&](std::size_t i) { return NumeroJson(s.ResiduoStudentizado(i)); })
        << ",\n  \"cook\": "
        << ListaJson(n, [&](std::size_t i) { return NumeroJson(s.DistanciaCook(i)); })
        << ",\n  \"durbin_watson\": " << NumeroJson(s.DurbinWatson())
        << ",\n  \"ks_d\": " << NumeroJson(s.DistanciaNormalidade())
        << ",\n  \"significant_regressors\": " << s.RegressoresSignificativos(0.05L)
        << ",\n  \"equation\": " << TextoJson(s.Equacao())
        << ",\n  \"equation_original\": " << TextoJson(s.EquacaoOriginal());
    if (objeto)
        out << ",\n  \"subject\": {\"estimate\": " << NumeroJson(estimativa)
            << ", \"estimate_model_scale\": " << NumeroJson(estimativaModelo)
            << ", \"mean_interval\": " << intervalo(media)
            << ", \"prediction_interval\": " << intervalo(predicao)
            << ", \"confidence\": " << NumeroJson(confianca) << "}";
    out << "\n}\n";
}

int Ajusta(const TOpcoesFit &o) {
    TGridzelto grid;
    const cli::TPlanilhaLida lida = cli::LePlanilha(o.arquivo, grid);
    if (!lida.aviso.empty()) std::cerr << UmaLinha(lida.aviso) << '\n';

    // Confidence of the intervals: the estimate confidence of the significance defaults.
    long double confianca = 0.80L;
    if (!o.confianca.empty()) {
        std::string t = o.confianca;
        for (char &c : t)
            if (c == '.') c = ',';
        if (!ConverteNumero(t, confianca) || !(confianca > 0 && confianca < 1))
            throw TFalha{2, "A confiança deve estar entre 0 e 1: \"" + o.confianca + "\"."};
    }

    cli::MarcaUsadas(grid, o.usar);
    cli::DefineObjeto(grid, o.sujeito);

    const int dependente =
        o.dependente.empty() ? grid.ColunaDependente() : cli::Coluna(grid, o.dependente);
    if (dependente == 0)
        throw TFalha{1, "A planilha não tem variável dependente; indique-a com --dependent."};
    const std::vector<TTermo> termos = cli::TermosModelo(grid, o.modelo, dependente);
    std::vector<int> regressores;
    for (std::size_t k = 1; k < termos.size(); ++k)
        regressores.push_back(termos[k].Coluna);
    cli::ConfereValoresObjeto(grid, regressores);

    TSistema s(grid);
    s.CarregaDados();
    s.DefineTermos(termos);
    const std::string falha = "O modelo não pode ser ajustado: ";
    if (s.n() == 0) throw TFalha{1, falha + "não há amostras ativas."};
    if (!s.MontaSistema() || !s.Resolve()) throw TFalha{1, falha + s.MotivoRecusa() + "."};
    s.CalculaEstatisticas();
    if (!s.CompletaAjuste()) throw TFalha{1, falha + s.MotivoRecusa() + "."};
    std::ostringstream out;
    Imprime(s, confianca, o.json, out);
    std::cout << out.str();
    return 0;
}

} // namespace

void ImprimeAjuste(const zelto::TSistema &s, long double confianca, bool json, std::ostream &out) {
    Imprime(s, confianca, json, out);
}

void RegistraFit(CLI::App &app, int &status) {
    auto o = std::make_shared<TOpcoesFit>();
    auto *cmd = app.add_subcommand("fit", "Ajusta um modelo às amostras ativas de uma planilha");
    cmd->add_option("FILE", o->arquivo, "A planilha (qualquer formato)")->required();
    cmd->add_option("--model", o->modelo,
                    "Código de transformação por variável: \"NOME=CÓDIGO,NOME=CÓDIGO,...\" "
                    "(as variáveis não citadas ficam fora do modelo)")
        ->required();
    cmd->add_option("--dependent", o->dependente, "A variável dependente (padrão: a da planilha)");
    cmd->add_option("--use", o->usar,
                    "Marca como usadas exatamente estas variáveis: NOME,NOME,...");
    cmd->add_option("--subject", o->sujeito,
                    "Valores do objeto sob avaliação, como na planilha: \"NOME=VALOR,...\"");
    cmd->add_option("--confidence", o->confianca, "Confiança dos intervalos (padrão 0.80)");
    cmd->add_flag("--json", o->json, "Saída em JSON");
    cmd->callback([o, &status] { status = cli::Executa([o] { return Ajusta(*o); }); });
}
