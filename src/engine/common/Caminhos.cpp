#include "common/Caminhos.h"

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

bool EscreveTudo(int fd, std::string_view dados) {
    std::size_t feito = 0;
    while (feito < dados.size()) {
        ssize_t n = ::write(fd, dados.data() + feito, dados.size() - feito);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        feito += static_cast<std::size_t>(n);
    }
    return true;
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
    int codigo = 0;
    auto falha = [&](int e) {
        if (codigo == 0) codigo = e ? e : EIO;
        return false;
    };
    // A leftover file or link under the temporary name is removed first; the
    // new one is created exclusively, so no link is ever followed.
    std::error_code ec;
    fs::file_status st = fs::symlink_status(temporario, ec);
    bool ok = true;
    if (st.type() == fs::file_type::directory) {
        ok = falha(EISDIR);
    } else if (st.type() != fs::file_type::not_found && st.type() != fs::file_type::none) {
        if (!fs::remove(temporario, ec) || ec) ok = falha(ec.value());
    }
    int fd = -1;
    if (ok) {
        fd = ::open(temporario.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) ok = falha(errno);
    }
    if (fd >= 0) {
        // The replaced file's permissions (a shared worksheet stays shared).
        struct stat alvo {};
        if (::stat(destino.c_str(), &alvo) == 0 && S_ISREG(alvo.st_mode)) {
            // Giving the file back to another owner needs rights this user may not have.
            [[maybe_unused]] const int dono = ::fchown(fd, alvo.st_uid, alvo.st_gid);
            if (::fchmod(fd, alvo.st_mode & 07777) != 0) ok = falha(errno);
        }
        if (ok && !EscreveTudo(fd, dados)) ok = falha(errno);
        if (ok && ::fsync(fd) != 0) ok = falha(errno);
        if (::close(fd) != 0 && ok) ok = falha(errno);
        if (ok) {
            fs::rename(temporario, destino, ec);
            if (ec) ok = falha(ec.value());
        }
        if (!ok) fs::remove(temporario, ec);
    }
    if (erro) *erro = codigo;
    return ok;
}

fs::path SegueLigacoes(const fs::path &caminho) {
    fs::path atual = caminho;
    for (int i = 0; i < 40; ++i) {
        std::error_code ec;
        if (!fs::is_symlink(atual, ec)) return atual;
        fs::path alvo = fs::read_symlink(atual, ec);
        if (ec) return caminho;
        atual = alvo.is_absolute() ? alvo : atual.parent_path() / alvo;
    }
    return caminho;
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
