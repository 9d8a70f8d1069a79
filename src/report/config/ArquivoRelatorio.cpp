#include "config/ArquivoRelatorio.h"

#include "common/Caminhos.h"

#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <system_error>

namespace zelto {

namespace fs = std::filesystem;

namespace {

bool LeBytes(const fs::path &arquivo, std::string &bytes) {
    std::ifstream f(arquivo, std::ios::binary);
    if (!f) return false;
    std::ostringstream s;
    s << f.rdbuf();
    bytes = s.str();
    return !f.bad();
}

// A text that no settings file is: a NUL byte, or content without any section header.
bool ConteudoEstranho(const std::string &bytes) {
    if (bytes.find('\0') != std::string::npos) return true;
    if (bytes.find_first_not_of(" \t\r\n") == std::string::npos) return false;
    return bytes.find('[') == std::string::npos;
}

// Steps of a read before the items: the file, its text, the general settings.
constexpr int kPassosGerais = 8;

bool LeDeTexto(const std::string &bytes, TConfiguracaoRelatorio &c, const TRegistrosConfiguracao &itens,
               TProgresso *progresso = nullptr) {
    TProgresso nenhum;
    TProgresso &p = progresso ? *progresso : nenhum;
    TArquivoIni ini;
    ini.CarregaTexto(bytes);
    p.Avanca(kPassosGerais / 2);
    bool ok = c.Le(ini);
    p.Avanca(kPassosGerais);
    double passo = kPassosGerais;
    for (const auto &item : itens) {
        ok = LeConfiguracaoItem(ini, item) && ok;
        p.Avanca(++passo);
    }
    return ok;
}

// Inicia and Termina of a read around `le`, on every path.
bool ComProgresso(TProgresso *progresso, const std::string &titulo, const TRegistrosConfiguracao &itens,
                  const std::function<bool()> &le) {
    if (!progresso) return le();
    progresso->Inicia(titulo, 0, static_cast<double>(itens.size()) + kPassosGerais, false);
    struct TFim {
        TProgresso *p;
        ~TFim() { p->Termina(); }
    } fim{progresso};
    return le();
}

bool MesmoArquivo(const fs::path &a, const fs::path &b) {
    std::error_code e;
    return fs::exists(a, e) && fs::exists(b, e) && fs::equivalent(a, b, e);
}

// The copy is written as every file is (a link planted under the copy's name is not followed
// into another user's file).
bool Backup(const fs::path &arquivo) {
    std::string bytes;
    if (!LeBytes(arquivo, bytes)) return false;
    fs::path copia = arquivo;
    copia += ".bak";
    fs::path temporario = copia;
    temporario += ".tmp";
    return GravaPorTemporario(copia, temporario, bytes);
}

// The settings of a file (the defaults when it is missing; the defaults and false when it is
// damaged).
bool LeArquivo(const fs::path &arquivo, TConfiguracaoRelatorio &c, const TRegistrosConfiguracao &itens, TProgresso *progresso) {
    std::error_code e;
    if (!fs::exists(arquivo, e)) return LeDeTexto({}, c, itens, progresso);
    std::string bytes;
    if (!LeBytes(arquivo, bytes) || ConteudoEstranho(bytes)) {
        LeDeTexto({}, c, itens, progresso);
        return false;
    }
    return LeDeTexto(bytes, c, itens, progresso);
}

} // namespace

fs::path ArquivoRelatorioUsuario() { return PastaConfigUsuario() / kArquivoRelatorio; }

void PadroesConfiguracaoRelatorio(TConfiguracaoRelatorio &c, const TRegistrosConfiguracao &itens) {
    LeDeTexto({}, c, itens);
}

bool LeConfiguracaoRelatorio(const fs::path &arquivo, TConfiguracaoRelatorio &c, const TRegistrosConfiguracao &itens,
                             TProgresso *progresso, const std::string &titulo) {
    return ComProgresso(progresso, titulo, itens, [&] { return LeArquivo(arquivo, c, itens, progresso); });
}

bool ArquivoRelatorioDanificado(const fs::path &arquivo, const TRegistrosConfiguracao &itens) {
    std::error_code e;
    if (!fs::exists(arquivo, e)) return false;
    // Read into copies: the settings in memory stay as they are.
    std::vector<TConfigItem> gerais;
    std::vector<TConfigTabela> tabelas;
    std::vector<TConfigGrafico> graficos;
    gerais.reserve(itens.size());
    tabelas.reserve(itens.size());
    graficos.reserve(itens.size());
    TRegistrosConfiguracao copias;
    for (const TRegistroConfiguracao &r : itens) {
        TRegistroConfiguracao c = r;
        c.Item = &gerais.emplace_back(*r.Item);
        if (r.Tabela) c.Tabela = &tabelas.emplace_back(*r.Tabela);
        if (r.Grafico) c.Grafico = &graficos.emplace_back(*r.Grafico);
        copias.push_back(c);
    }
    TConfiguracaoRelatorio c;
    return !LeConfiguracaoRelatorio(arquivo, c, copias);
}

bool GravaConfiguracaoRelatorio(const fs::path &arquivo, const TConfiguracaoRelatorio &c,
                                const TRegistrosConfiguracao &itens) {
    std::string anterior;
    std::error_code e;
    if (fs::exists(arquivo, e)) {
        if (ArquivoRelatorioDanificado(arquivo, itens)) {
            if (!Backup(arquivo)) return false;
        } else {
            LeBytes(arquivo, anterior);
        }
    }
    TArquivoIni ini;
    ini.CarregaTexto(anterior);
    c.Grava(ini);
    for (const auto &item : itens)
        GravaConfiguracaoItem(ini, item);
    fs::path temporario = arquivo;
    temporario += ".tmp";
    return GravaPorTemporario(arquivo, temporario, ini.Conteudo());
}

bool GravaConfiguracaoNomeada(const fs::path &trabalho, const fs::path &destino,
                              const TConfiguracaoRelatorio &c, const TRegistrosConfiguracao &itens) {
    if (!GravaConfiguracaoRelatorio(trabalho, c, itens)) return false;
    if (MesmoArquivo(trabalho, destino)) return true;
    std::string bytes;
    if (!LeBytes(trabalho, bytes)) return false;
    fs::path temporario = destino;
    temporario += ".tmp";
    return GravaPorTemporario(destino, temporario, bytes);
}

bool LeConfiguracaoNomeada(const fs::path &origem, const fs::path &trabalho, TConfiguracaoRelatorio &c,
                           const TRegistrosConfiguracao &itens, TProgresso *progresso, const std::string &titulo) {
    return ComProgresso(progresso, titulo, itens, [&] {
        if (!MesmoArquivo(origem, trabalho)) {
            std::string bytes;
            if (!LeBytes(origem, bytes)) return false;
            if (ArquivoRelatorioDanificado(trabalho, itens) && !Backup(trabalho)) return false;
            fs::path temporario = trabalho;
            temporario += ".tmp";
            if (!GravaPorTemporario(trabalho, temporario, bytes)) return false;
        }
        if (progresso) progresso->Avanca(1);
        return LeArquivo(trabalho, c, itens, progresso);
    });
}

} // namespace zelto
