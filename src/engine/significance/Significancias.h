// The significance and confidence settings: test levels, confidence levels,
// the outlier criterion, the minimum-sample rule and the extrapolation rules
// that every statistical verdict uses.
//
// A record is a plain value: the front end keeps the one in force and passes
// it to the search and the report. Each statistics mode keeps its working
// copy in the user's settings folder, "SIGNIINF.NR~" for the inferential mode
// and "SIGNIDSC.NR~" for the descriptive one; loading a missing working file gives the defaults and
// creates the file with them. Named configurations are further copies with
// the extension ".NRM", listed under their description.
//
// All keys live in the section "Geral". Levels are held as fractions (0.05
// for 5 %); a percent key stores the fraction × 100 rounded to an integer, a
// per-mille key the fraction × 1000, a real key the fraction itself written
// with "," as the decimal separator; booleans are 0 and 1. A key that is
// missing or unreadable takes its default. The Durbin-Watson level 2.5 % does
// not survive a whole-percent key, so a stored 2 or 3 reads back as 2.5 %.
//
// Writing goes through the settings-file layer: only the keys whose values
// changed reach the disk, each write safe against a failure half-way.
#pragma once

#include "common/Perguntas.h"
#include "files/ArquivoIni.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zelto {

inline constexpr const char *kArquivoSignificanciasInferencial = "SIGNIINF.NR~";
inline constexpr const char *kArquivoSignificanciasDescritiva = "SIGNIDSC.NR~";
inline constexpr const char *kExtensaoConfiguracao = ".NRM";
inline constexpr const char *kSecaoSignificancias = "Geral";
inline constexpr const char *kDescricaoPadrao = "Configuração Padrão";
inline constexpr const char *kSemDescricao = "NENHUM";
inline constexpr const char *kPerguntaSignificanciaNula =
    "Os valores de significâncias ou confianças não podem ser nulos.\r\nDeseja corrigir ?";

// Outlier (sanitation) criteria.
enum CriterioSaneamento : std::int32_t {
    csDesvioPadrao = 0,
    csMedia = 1,
    csChauvenet = 2,
    csArley = 3,
};

// Extrapolation modes.
enum ModoExtrapolacao : std::int32_t {
    meNaoAdmitida = 0,
    meAdmitidaComLimites = 1,
    meAdmitida = 2,
};

// The "Normatizada" marks, in their stored order.
enum MarcaNorma : int {
    mnCorrelacao,
    mnModelo,
    mnUnicaudal,
    mnBicaudal,
    mnSequencias,
    mnKolmogorov,
    mnDurbinWatson,
    mnCook,
    mnConfiancaRegressores,
    mnConfiancaEstimativa,
    mnSaneamento,
    mnAmostragens,
    kNumeroMarcasNorma
};

struct TSignificancias {
    std::string Descricao = kDescricaoPadrao; // "Dcr"
    double TesteCorrelacao = 0.20;            // "stcc", %: t test of the correlation coefficient
    double TesteModelo = 0.05;                // "sfm", %: F test of the model
    double TesteRegressoresUnicaudal = 0.05;  // "stru", %
    double TesteRegressoresBicaudal = 0.05;   // "strb", %
    double TesteSequencias = 0.20;            // "sseq", %: z test of sequences
    double TesteCook = 0.005;                 // "sfo", per mille: F level of Cook's distance
    double KolmogorovSmirnov = 0.20;          // "sk", %: 20, 15, 10, 5 or 1 %
    double DurbinWatson = 0.05;               // "sdw", %: 1, 2.5 or 5 %
    double ConfiancaRegressores = 0.80;       // "ctr", %
    double ConfiancaEstimativa = 0.80;        // "ctve", %
    std::int32_t Saneamento = csDesvioPadrao; // "critSan"
    double ParametroSaneamento =
        2.0; // "parmSan", %: deviations, percent of the mean, Arley percent
    std::int32_t MultiplicadorAmostras = 1; // "mna": minimum samples = this × independent variables
    std::int32_t AdendoAmostras = 5;        // "sna":   + this
    bool Normatizada[kNumeroMarcasNorma] = {}; // "ntcc", "nfm", ... "nnam"
    double AmplitudeEstimativa = 1.0;          // "cals": precision limit of the estimate's interval
    bool AmplitudeNormatizada = false;         // "namp"
    bool AmplitudeIlimitada = false;           // "nasl"
    // Descriptive mode.
    bool ExtrapolacaoQualquerFator = false;    // "npef"
    bool IntervaloFatorNormatizado = false;    // "niaj"
    double IntervaloFatorInferior = 0.5;       // "ciai"
    double IntervaloFatorSuperior = 1.5;       // "cias"
    bool IntervaloConjuntoNormatizado = false; // "nvia"
    // The product of a sample's factors. A file without the keys gets a band that a
    // homogenised sample can meet; a file that stores its bounds keeps them.
    double IntervaloConjuntoInferior = 0.5; // "evaic"
    double IntervaloConjuntoSuperior = 2.0; // "evasc"
    // Extrapolation.
    std::int32_t Extrapolacao = meAdmitida;        // "cena"
    bool ExtrapolacaoNormatizada = false;          // "cext"
    std::int32_t VariaveisExtrapolando = 0;        // "neav"
    bool VariaveisExtrapolandoNormatizado = false; // "ceav"
    bool TodasExtrapolam = false;                  // "tneav"
    bool SemExtrapolarQualitativas = true;         // "tnpedq"
    double ExcessoSuperior = 1.0;       // "neva": characteristics above the sample maximum
    double ExcessoInferior = 1.0;       // "nevainf": below the sample minimum
    bool ExcessoNormatizado = false;    // "nela"
    double EstimativaSuperior = 1.0;    // "nelavs": estimate above the dependent's maximum
    double EstimativaInferior = 1.0;    // "nelavi": below its minimum
    bool EstimativaNormatizada = false; // "ceba"
    double VariacaoNosLimites = 1.0;    // "neelv": estimate at each variable's sample limits
    bool VariacaoNormatizada = false;   // "neel"

    // Reads every key; missing or unreadable keys take the defaults above.
    void Le(const TArquivoIni &ini);
    // Writes every key; true when the file holds them all afterwards.
    bool Grava(TArquivoIni &ini) const;

    bool operator==(const TSignificancias &) const = default;
};

// The levels the dialog offers for Kolmogorov-Smirnov and Durbin-Watson, and
// the Arley significance (a percentage) for the Arley criterion.
inline constexpr double kNiveisKolmogorov[] = {0.20, 0.15, 0.10, 0.05, 0.01};
inline constexpr double kNiveisDurbinWatson[] = {0.01, 0.025, 0.05};
inline constexpr double kNiveisArley[] = {10, 5, 1, 0.1};
// Position of a level among the offered ones; -1 when it is none of them.
int IndiceNivel(const double *niveis, int n, double valor);
// The Kolmogorov-Smirnov level the dialog shows: the stored one when offered, else 20 %.
double NivelKolmogorovExibido(double valor);

// The working file of a mode in a folder (the user's settings folder by default).
std::filesystem::path ArquivoSignificancias(bool modoInferencial,
                                            const std::filesystem::path &pasta = {});

// Load: when `arquivo` is not the working file, it is copied over the working
// file first; then the working file is read into `destino` (defaults for what
// is missing). A missing working file is created with the defaults. False
// when the copy or the creation failed (the record is read all the same).
bool CarregaSignificancias(const std::filesystem::path &arquivo,
                           const std::filesystem::path &trabalho, TSignificancias &destino);
// Load the working file of a mode from the user's settings folder.
bool CarregaSignificanciasModo(bool modoInferencial, TSignificancias &destino);
// Save: writes every field to the working file.
bool GravaSignificancias(const std::filesystem::path &trabalho, const TSignificancias &origem);
bool GravaSignificanciasModo(bool modoInferencial, const TSignificancias &origem);

// ---- Validation ------------------------------------------------------------------------

// The fields that may not be zero, in the order they are checked.
enum CampoSignificancia : int {
    sgNenhum = -1,
    sgCorrelacao,
    sgModelo,
    sgUnicaudal,
    sgBicaudal,
    sgSequencias,
    sgCook,
    sgParametroDesvioPadrao, // the parameter under "Desvio Padrão"
    sgParametroMedia,        // the parameter under "Média"
    sgConfiancaRegressores,
    sgConfiancaEstimativa,
};

// The dialog's pages.
enum PaginaSignificancias : int {
    pgSignificancias = 0, // "Significâncias"
    pgContinuacao = 1,    // "Signif. (Cont.)"
    pgConfiancas = 2,     // "Confianças"
    pgCriterios = 3,      // "Critérios"
    pgExtrapolacoes = 4,  // "Extrapolações"
};
const char *NomePaginaSignificancias(PaginaSignificancias p);
PaginaSignificancias PaginaDoCampo(CampoSignificancia c);

// The first field that is zero, or sgNenhum.
CampoSignificancia CampoNulo(const TSignificancias &s);

enum class Validacao { Valida, Corrigir, Cancelada };
struct TResultadoValidacao {
    Validacao resultado = Validacao::Valida;
    CampoSignificancia campo = sgNenhum; // with Corrigir: the field to focus
    PaginaSignificancias pagina = pgSignificancias;
};
// On "&Fechar" and before saving: a zero field asks kPerguntaSignificanciaNula;
// yes keeps the dialog open on that field (Corrigir), anything else closes it
// as cancelled. Without a zero field the answer is Valida and the caller
// stores the values and writes the working file.
TResultadoValidacao ValidaSignificancias(const TSignificancias &s, const Pergunta &pergunta);

// ---- Named configurations ----------------------------------------------------------------

struct TConfiguracaoSignificancia {
    std::string Descricao; // "Dcr" of the file, kSemDescricao when it has none
    std::filesystem::path Arquivo;
};
// Every "*.NRM" file of the folder (the extension in any case), by file name.
std::vector<TConfiguracaoSignificancia> ListaConfiguracoes(const std::filesystem::path &pasta);

// The named configurations shipped with the program (among them the levels of the valuation
// standard's grades, "NBR 14653-2 Grau III", "... Grau II", "... Grau I"): every "*.NRM" of
// the installed defaults' folder is copied into the user's folder where the user has no file
// of that name, so a fresh installation lists them and the user's own edits are kept. The
// number of files copied.
int InstalaConfiguracoesPadrao(const std::filesystem::path &padroes,
                               const std::filesystem::path &usuario);

// The question asked before a named configuration is overwritten.
std::string PerguntaSobrescrever(const std::string &nomeArquivo);

enum class Gravacao { Gravada, Abandonada, Falhou };
// Saving a configuration: `nome` is what the user typed (only its file name
// counts; the extension becomes ".NRM"). An empty name, or one with wildcard
// characters, is abandoned. An existing file is overwritten only when
// `pergunta` answers yes. The working file is then copied to the
// configuration safely; the caller has validated and written it before.
Gravacao GravaConfiguracao(const std::filesystem::path &trabalho,
                           const std::filesystem::path &pasta, const std::string &nome,
                           const Pergunta &pergunta);

} // namespace zelto
