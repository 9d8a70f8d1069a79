#include "config/ArquivoRelatorio.h"

#include "common/Caminhos.h"

#include <fstream>
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

bool LeDeTexto(const std::string &bytes, TConfiguracaoRelatorio &c, const TListaItens &itens) {
    TArquivoIni ini;
    ini.CarregaTexto(bytes);
    bool ok = c.Le(ini);
    for (const auto &item : itens)
        ok = item->LeConfiguracao(ini) && ok;
    return ok;
}

bool MesmoArquivo(const fs::path &a, const fs::path &b) {
    std::error_code e;
    return fs::exists(a, e) && fs::exists(b, e) && fs::equivalent(a, b, e);
}

bool Backup(const fs::path &arquivo) {
    std::error_code e;
    fs::path copia = arquivo;
    copia += ".bak";
    fs::copy_file(arquivo, copia, fs::copy_options::overwrite_existing, e);
    return !e;
}

} // namespace

fs::path ArquivoRelatorioUsuario() { return PastaConfigUsuario() / kArquivoRelatorio; }

void PadroesConfiguracaoRelatorio(TConfiguracaoRelatorio &c, const TListaItens &itens) {
    LeDeTexto({}, c, itens);
}

bool LeConfiguracaoRelatorio(const fs::path &arquivo, TConfiguracaoRelatorio &c, const TListaItens &itens) {
    std::error_code e;
    if (!fs::exists(arquivo, e)) return LeDeTexto({}, c, itens);
    std::string bytes;
    if (!LeBytes(arquivo, bytes)) {
        LeDeTexto({}, c, itens);
        return false;
    }
    if (ConteudoEstranho(bytes)) {
        LeDeTexto({}, c, itens);
        return false;
    }
    return LeDeTexto(bytes, c, itens);
}

bool ArquivoRelatorioDanificado(const fs::path &arquivo) {
    std::error_code e;
    if (!fs::exists(arquivo, e)) return false;
    TConfiguracaoRelatorio c;
    TListaItens itens = CriaCatalogo();
    return !LeConfiguracaoRelatorio(arquivo, c, itens);
}

bool GravaConfiguracaoRelatorio(const fs::path &arquivo, const TConfiguracaoRelatorio &c,
                                const TListaItens &itens) {
    std::string anterior;
    std::error_code e;
    if (fs::exists(arquivo, e)) {
        if (ArquivoRelatorioDanificado(arquivo)) {
            if (!Backup(arquivo)) return false;
        } else {
            LeBytes(arquivo, anterior);
        }
    }
    TArquivoIni ini;
    ini.CarregaTexto(anterior);
    c.Grava(ini);
    for (const auto &item : itens)
        item->GravaConfiguracao(ini);
    fs::path temporario = arquivo;
    temporario += ".tmp";
    return GravaPorTemporario(arquivo, temporario, ini.Conteudo());
}

bool GravaConfiguracaoNomeada(const fs::path &trabalho, const fs::path &destino,
                              const TConfiguracaoRelatorio &c, const TListaItens &itens) {
    if (!GravaConfiguracaoRelatorio(trabalho, c, itens)) return false;
    if (MesmoArquivo(trabalho, destino)) return true;
    std::string bytes;
    if (!LeBytes(trabalho, bytes)) return false;
    fs::path temporario = destino;
    temporario += ".tmp";
    return GravaPorTemporario(destino, temporario, bytes);
}

bool LeConfiguracaoNomeada(const fs::path &origem, const fs::path &trabalho, TConfiguracaoRelatorio &c,
                           const TListaItens &itens) {
    if (!MesmoArquivo(origem, trabalho)) {
        std::string bytes;
        if (!LeBytes(origem, bytes)) return false;
        if (ArquivoRelatorioDanificado(trabalho) && !Backup(trabalho)) return false;
        fs::path temporario = trabalho;
        temporario += ".tmp";
        if (!GravaPorTemporario(trabalho, temporario, bytes)) return false;
    }
    return LeConfiguracaoRelatorio(trabalho, c, itens);
}

} // namespace zelto
