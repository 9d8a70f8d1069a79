#include "common/Caminhos.h"

#include "common/GravacaoSegura.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <pwd.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace zelto {

namespace fs = std::filesystem;

namespace {

fs::path PastaPessoal() {
    const char *home = std::getenv("HOME");
    if (home && *home) return home;
    if (const passwd *pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return fs::path(".");
}

// $variavel when it holds an absolute path, else the home folder + padrao.
fs::path PastaXdg(const char *variavel, const char *padrao) {
    const char *v = std::getenv(variavel);
    fs::path base = (v && *v && fs::path(v).is_absolute()) ? fs::path(v) : PastaPessoal() / padrao;
    fs::path pasta = base / "zelto";
    std::error_code ec;
    fs::create_directories(pasta, ec);
    return pasta;
}

} // namespace

fs::path PastaConfigUsuario() {
    return PastaXdg("XDG_CONFIG_HOME", ".config");
}

fs::path PastaDadosUsuario() {
    return PastaXdg("XDG_DATA_HOME", ".local/share");
}

fs::path CaminhoTabelasPadrao() {
    return PastaDadosUsuario() / "TAB_VAR.QVT";
}

bool GravaPorTemporario(const fs::path &destino, const fs::path &temporario, std::string_view dados,
                        int *erro) {
    TGravacaoSegura g(destino, temporario.filename().string());
    const bool ok = g.Grava(dados) && g.Conclui();
    if (erro) *erro = ok ? 0 : (g.CodigoErro() ? g.CodigoErro() : EACCES);
    return ok;
}

bool AtualizaCopiaUsuario(const fs::path &instalado, const fs::path &usuario) {
    std::error_code ec;
    bool existe = fs::exists(usuario, ec);
    if (!fs::is_regular_file(instalado, ec)) return existe;
    if (existe) {
        std::error_code e1, e2;
        auto horaUsuario = fs::last_write_time(usuario, e1);
        auto horaInstalado = fs::last_write_time(instalado, e2);
        if (e1 || e2 || horaUsuario >= horaInstalado) return true;
    }
    std::ifstream in(instalado, std::ios::binary);
    if (!in) return existe;
    std::string dados((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return existe;
    fs::path pasta = usuario.parent_path();
    if (!pasta.empty()) fs::create_directories(pasta, ec);
    fs::path temp = usuario;
    temp += ".novo~";
    GravaPorTemporario(usuario, temp, dados);
    return fs::exists(usuario, ec);
}

} // namespace zelto
