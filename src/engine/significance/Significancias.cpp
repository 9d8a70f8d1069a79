#include "significance/Significancias.h"

#include "common/Caminhos.h"
#include "common/Numeros.h"
#include "common/Texto.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>

namespace zelto {

namespace fs = std::filesystem;

namespace {

// How a key stores its field.
enum class Forma { Percentual, PorMil, Real, Inteiro, Booleano, Norma };

using T = TSignificancias;
struct Chave {
    const char *chave;
    Forma forma;
    double T::*real = nullptr;          // Percentual, PorMil, Real
    std::int32_t T::*inteiro = nullptr; // Inteiro
    bool T::*booleano = nullptr;        // Booleano
    int norma = 0;                      // Norma: index of the mark
};
constexpr Chave R(const char *c, Forma f, double T::*m) {
    return {c, f, m};
}
constexpr Chave I(const char *c, std::int32_t T::*m) {
    return {c, Forma::Inteiro, nullptr, m};
}
constexpr Chave B(const char *c, bool T::*m) {
    return {c, Forma::Booleano, nullptr, nullptr, m};
}
constexpr Chave N(const char *c, MarcaNorma i) {
    return {c, Forma::Norma, nullptr, nullptr, nullptr, i};
}
constexpr Forma P = Forma::Percentual, F = Forma::Real;

// Every key after "Dcr", in the order of the file.
constexpr Chave kChaves[] = {
    R("stcc", P, &T::TesteCorrelacao),
    R("sfm", P, &T::TesteModelo),
    R("stru", P, &T::TesteRegressoresUnicaudal),
    R("strb", P, &T::TesteRegressoresBicaudal),
    R("sseq", P, &T::TesteSequencias),
    R("sfo", Forma::PorMil, &T::TesteCook),
    R("sk", P, &T::KolmogorovSmirnov),
    R("sdw", P, &T::DurbinWatson),
    R("ctr", P, &T::ConfiancaRegressores),
    R("ctve", P, &T::ConfiancaEstimativa),
    I("critSan", &T::Saneamento),
    R("parmSan", P, &T::ParametroSaneamento),
    I("mna", &T::MultiplicadorAmostras),
    I("sna", &T::AdendoAmostras),
    N("ntcc", mnCorrelacao),
    N("nfm", mnModelo),
    N("ntru", mnUnicaudal),
    N("ntrb", mnBicaudal),
    N("nseq", mnSequencias),
    N("nk", mnKolmogorov),
    N("ndw", mnDurbinWatson),
    N("nfo", mnCook),
    N("nctr", mnConfiancaRegressores),
    N("ncve", mnConfiancaEstimativa),
    N("nsan", mnSaneamento),
    N("nnam", mnAmostragens),
    R("cals", F, &T::AmplitudeEstimativa),
    B("namp", &T::AmplitudeNormatizada),
    B("nasl", &T::AmplitudeIlimitada),
    B("npef", &T::ExtrapolacaoQualquerFator),
    B("niaj", &T::IntervaloFatorNormatizado),
    R("ciai", F, &T::IntervaloFatorInferior),
    R("cias", F, &T::IntervaloFatorSuperior),
    B("nvia", &T::IntervaloConjuntoNormatizado),
    R("evaic", F, &T::IntervaloConjuntoInferior),
    R("evasc", F, &T::IntervaloConjuntoSuperior),
    I("cena", &T::Extrapolacao),
    B("cext", &T::ExtrapolacaoNormatizada),
    I("neav", &T::VariaveisExtrapolando),
    B("ceav", &T::VariaveisExtrapolandoNormatizado),
    B("tneav", &T::TodasExtrapolam),
    B("tnpedq", &T::SemExtrapolarQualitativas),
    R("neva", F, &T::ExcessoSuperior),
    R("nevainf", F, &T::ExcessoInferior),
    B("nela", &T::ExcessoNormatizado),
    R("nelavs", F, &T::EstimativaSuperior),
    R("nelavi", F, &T::EstimativaInferior),
    B("ceba", &T::EstimativaNormatizada),
    R("neelv", F, &T::VariacaoNosLimites),
    B("neel", &T::VariacaoNormatizada),
};

double Escala(Forma f) {
    return f == Forma::PorMil ? 1000.0 : 100.0;
}

// The integer a whole-number key stores: rounded half to even, within int range.
int Inteiro(double x) {
    if (!std::isfinite(x)) return 0;
    double r = std::nearbyint(x);
    r = std::clamp(r, double(std::numeric_limits<int>::min()),
                   double(std::numeric_limits<int>::max()));
    return static_cast<int>(r);
}

bool LeReal(std::string_view texto, double &x) {
    long double v = 0;
    if (!ConverteNumero(texto, v)) {
        // A file written where "." is the decimal separator.
        std::string t(texto);
        if (t.find(',') != std::string::npos) return false;
        std::replace(t.begin(), t.end(), '.', ',');
        if (!ConverteNumero(t, v)) return false;
    }
    if (!std::isfinite(static_cast<double>(v))) return false;
    x = static_cast<double>(v);
    return true;
}

std::string LeArquivo(const fs::path &p, bool &ok) {
    std::ifstream in(p, std::ios::binary);
    std::string dados;
    ok = static_cast<bool>(in);
    if (!ok) return dados;
    dados.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    ok = !in.bad();
    return dados;
}

bool MesmoArquivo(const fs::path &a, const fs::path &b) {
    std::error_code ec;
    if (fs::exists(a, ec) && fs::exists(b, ec)) {
        bool igual = fs::equivalent(a, b, ec);
        if (!ec) return igual;
    }
    return fs::weakly_canonical(a, ec) == fs::weakly_canonical(b, ec);
}

bool CopiaSegura(const fs::path &origem, const fs::path &destino) {
    bool ok = false;
    std::string dados = LeArquivo(origem, ok);
    if (!ok) return false;
    fs::path temp = destino;
    temp += ".copia~";
    return GravaPorTemporario(destino, temp, dados);
}

} // namespace

// ---- The record ---------------------------------------------------------------------------

void TSignificancias::Le(const TArquivoIni &ini) {
    const TSignificancias padrao;
    const char *secao = kSecaoSignificancias;
    Descricao = ini.LeTexto(secao, "Dcr", padrao.Descricao);
    for (const Chave &k : kChaves) {
        switch (k.forma) {
        case Forma::Real: {
            double x = padrao.*k.real;
            LeReal(ini.LeTexto(secao, k.chave), x);
            this->*k.real = x;
            break;
        }
        case Forma::Percentual:
        case Forma::PorMil: {
            double escala = Escala(k.forma);
            this->*k.real =
                ini.LeInteiro(secao, k.chave, Inteiro(padrao.*k.real * escala)) / escala;
            break;
        }
        case Forma::Inteiro:
            this->*k.inteiro = ini.LeInteiro(secao, k.chave, padrao.*k.inteiro);
            break;
        case Forma::Booleano:
            this->*k.booleano = ini.LeBooleano(secao, k.chave, padrao.*k.booleano);
            break;
        case Forma::Norma:
            Normatizada[k.norma] = ini.LeBooleano(secao, k.chave, padrao.Normatizada[k.norma]);
            break;
        }
    }
    // 2.5 % is stored as 2 or 3 in a whole-percent key.
    if (DurbinWatson == 0.02 || DurbinWatson == 0.03) DurbinWatson = 0.025;
}

bool TSignificancias::Grava(TArquivoIni &ini) const {
    const char *secao = kSecaoSignificancias;
    bool ok = ini.EscreveTexto(secao, "Dcr", Descricao);
    for (const Chave &k : kChaves) {
        bool feito = true;
        switch (k.forma) {
        case Forma::Real:
            feito = ini.EscreveTexto(secao, k.chave, FormatoGeral(this->*k.real));
            break;
        case Forma::Percentual:
        case Forma::PorMil:
            feito = ini.EscreveInteiro(secao, k.chave, Inteiro(this->*k.real * Escala(k.forma)));
            break;
        case Forma::Inteiro:
            feito = ini.EscreveInteiro(secao, k.chave, this->*k.inteiro);
            break;
        case Forma::Booleano:
            feito = ini.EscreveBooleano(secao, k.chave, this->*k.booleano);
            break;
        case Forma::Norma:
            feito = ini.EscreveBooleano(secao, k.chave, Normatizada[k.norma]);
            break;
        }
        ok = feito && ok;
    }
    return ok;
}

int IndiceNivel(const double *niveis, int n, double valor) {
    for (int i = 0; i < n; ++i)
        if (std::fabs(niveis[i] - valor) < 1e-9) return i;
    return -1;
}

double NivelKolmogorovExibido(double valor) {
    return IndiceNivel(kNiveisKolmogorov, std::size(kNiveisKolmogorov), valor) >= 0 ? valor : 0.20;
}

// ---- Working files ----------------------------------------------------------------------

fs::path ArquivoSignificancias(bool modoInferencial, const fs::path &pasta) {
    fs::path base = pasta.empty() ? PastaConfigUsuario() : pasta;
    return base /
           (modoInferencial ? kArquivoSignificanciasInferencial : kArquivoSignificanciasDescritiva);
}

bool CarregaSignificancias(const fs::path &arquivo, const fs::path &trabalho,
                           TSignificancias &destino) {
    bool ok = true;
    if (!arquivo.empty() && !MesmoArquivo(arquivo, trabalho)) ok = CopiaSegura(arquivo, trabalho);
    std::error_code ec;
    bool existia = fs::exists(trabalho, ec);
    TArquivoIni ini(trabalho);
    destino.Le(ini);
    if (!existia) ok = destino.Grava(ini) && ok;
    return ok;
}

bool CarregaSignificanciasModo(bool modoInferencial, TSignificancias &destino) {
    fs::path trabalho = ArquivoSignificancias(modoInferencial);
    return CarregaSignificancias(trabalho, trabalho, destino);
}

bool GravaSignificancias(const fs::path &trabalho, const TSignificancias &origem) {
    TArquivoIni ini(trabalho);
    return origem.Grava(ini);
}

bool GravaSignificanciasModo(bool modoInferencial, const TSignificancias &origem) {
    return GravaSignificancias(ArquivoSignificancias(modoInferencial), origem);
}

// ---- Validation ---------------------------------------------------------------------------

const char *NomePaginaSignificancias(PaginaSignificancias p) {
    switch (p) {
    case pgSignificancias:
        return "Significâncias";
    case pgContinuacao:
        return "Signif. (Cont.)";
    case pgConfiancas:
        return "Confianças";
    case pgCriterios:
        return "Critérios";
    case pgExtrapolacoes:
        return "Extrapolações";
    }
    return "";
}

PaginaSignificancias PaginaDoCampo(CampoSignificancia c) {
    switch (c) {
    case sgSequencias:
    case sgCook:
        return pgContinuacao;
    case sgParametroDesvioPadrao:
    case sgParametroMedia:
        return pgCriterios;
    case sgConfiancaRegressores:
    case sgConfiancaEstimativa:
        return pgConfiancas;
    default:
        return pgSignificancias;
    }
}

CampoSignificancia CampoNulo(const TSignificancias &s) {
    // A value counts as zero when its key would store 0: it could not be kept.
    auto nulo = [](double x, double escala) { return Inteiro(x * escala) == 0; };
    if (nulo(s.TesteCorrelacao, 100)) return sgCorrelacao;
    if (nulo(s.TesteModelo, 100)) return sgModelo;
    if (nulo(s.TesteRegressoresUnicaudal, 100)) return sgUnicaudal;
    if (nulo(s.TesteRegressoresBicaudal, 100)) return sgBicaudal;
    if (nulo(s.TesteSequencias, 100)) return sgSequencias;
    if (nulo(s.TesteCook, 1000)) return sgCook;
    if (s.Saneamento == csDesvioPadrao && nulo(s.ParametroSaneamento, 100))
        return sgParametroDesvioPadrao;
    if (s.Saneamento == csMedia && nulo(s.ParametroSaneamento, 100)) return sgParametroMedia;
    if (nulo(s.ConfiancaRegressores, 100)) return sgConfiancaRegressores;
    if (nulo(s.ConfiancaEstimativa, 100)) return sgConfiancaEstimativa;
    return sgNenhum;
}

TResultadoValidacao ValidaSignificancias(const TSignificancias &s, const Pergunta &pergunta) {
    TResultadoValidacao r;
    CampoSignificancia c = CampoNulo(s);
    if (c == sgNenhum) return r;
    r.campo = c;
    r.pagina = PaginaDoCampo(c);
    Resposta resposta = pergunta ? pergunta(kPerguntaSignificanciaNula) : Resposta::Cancelar;
    r.resultado = resposta == Resposta::Sim ? Validacao::Corrigir : Validacao::Cancelada;
    return r;
}

// ---- Named configurations -----------------------------------------------------------------

std::vector<TConfiguracaoSignificancia> ListaConfiguracoes(const fs::path &pasta) {
    std::vector<TConfiguracaoSignificancia> lista;
    std::error_code ec;
    for (fs::directory_iterator it(pasta, ec), fim; !ec && it != fim; it.increment(ec)) {
        std::error_code e2;
        if (!it->is_regular_file(e2)) continue;
        if (Maiusculas(it->path().extension().string()) != kExtensaoConfiguracao) continue;
        TArquivoIni ini(it->path());
        TConfiguracaoSignificancia c;
        c.Arquivo = it->path();
        c.Descricao = ini.Existe(kSecaoSignificancias, "Dcr")
                          ? ini.LeTexto(kSecaoSignificancias, "Dcr")
                          : std::string(kSemDescricao);
        lista.push_back(std::move(c));
    }
    std::sort(lista.begin(), lista.end(), [](const auto &a, const auto &b) {
        int d = ComparaTextoLocal(a.Arquivo.filename().string(), b.Arquivo.filename().string());
        return d != 0 ? d < 0 : a.Arquivo.filename() < b.Arquivo.filename();
    });
    return lista;
}

int InstalaConfiguracoesPadrao(const fs::path &padroes, const fs::path &usuario) {
    int copiados = 0;
    std::error_code ec;
    for (const TConfiguracaoSignificancia &c : ListaConfiguracoes(padroes)) {
        const fs::path destino = usuario / c.Arquivo.filename();
        if (fs::exists(destino, ec)) continue;
        fs::create_directories(usuario, ec);
        if (fs::copy_file(c.Arquivo, destino, fs::copy_options::skip_existing, ec) && !ec) ++copiados;
    }
    return copiados;
}

std::string PerguntaSobrescrever(const std::string &nomeArquivo) {
    return "O arquivo \r\n" + Maiusculas(nomeArquivo) + " já existe.\r\n\r\n" +
           "Deseja gravar os dados sobre este arquivo?";
}

Gravacao GravaConfiguracao(const fs::path &trabalho, const fs::path &pasta, const std::string &nome,
                           const Pergunta &pergunta) {
    std::string t = Apara(nome);
    if (t.empty() || t.find_first_of("*?") != std::string::npos) return Gravacao::Abandonada;
    fs::path arquivo = fs::path(t).filename();
    if (arquivo.empty() || arquivo == "." || arquivo == "..") return Gravacao::Abandonada;
    arquivo.replace_extension(kExtensaoConfiguracao);
    fs::path destino = pasta / arquivo;
    std::error_code ec;
    if (fs::exists(destino, ec)) {
        Resposta r =
            pergunta ? pergunta(PerguntaSobrescrever(arquivo.string())) : Resposta::Cancelar;
        if (r != Resposta::Sim) return Gravacao::Abandonada;
    }
    return CopiaSegura(trabalho, destino) ? Gravacao::Gravada : Gravacao::Falhou;
}

} // namespace zelto
