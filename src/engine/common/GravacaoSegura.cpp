#include "common/GravacaoSegura.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelto {

namespace fs = std::filesystem;

namespace {

constexpr int kMaximoLigacoes = 40;
// Longest file name of the usual file systems, in bytes.
constexpr std::size_t kNomeMaximo = 255;

fs::path PastaDe(const fs::path &p) {
    fs::path pasta = p.parent_path();
    return pasta.empty() ? fs::path(".") : pasta;
}

// A link in a folder that everyone may write and that has the sticky bit is followed only by
// its owner or the folder's owner.
bool LigacaoProtegida(const struct stat &ligacao, const fs::path &pasta) {
    struct stat p {};
    if (::stat(pasta.c_str(), &p) != 0) return false;
    const bool compartilhada = (p.st_mode & S_ISVTX) && (p.st_mode & S_IWOTH);
    return compartilhada && ligacao.st_uid != ::geteuid() && ligacao.st_uid != p.st_uid;
}

bool EscreveTudo(int fd, const char *dados, std::size_t n, off_t posicao, bool emPosicao) {
    std::size_t feito = 0;
    while (feito < n) {
        const ssize_t k =
            emPosicao ? ::pwrite(fd, dados + feito, n - feito, posicao + static_cast<off_t>(feito))
                      : ::write(fd, dados + feito, n - feito);
        if (k < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (k == 0) {
            errno = ENOSPC;
            return false;
        }
        feito += static_cast<std::size_t>(k);
    }
    return true;
}

// Removes a leftover file or link under the temporary name; a folder there is an error.
int LiberaNome(const fs::path &nome) {
    struct stat st {};
    if (::lstat(nome.c_str(), &st) != 0) return errno == ENOENT ? 0 : errno;
    if (S_ISDIR(st.st_mode)) return EISDIR;
    return ::unlink(nome.c_str()) == 0 || errno == ENOENT ? 0 : errno;
}

} // namespace

TDestinoGravacao ResolveDestino(const fs::path &pedido) {
    TDestinoGravacao d;
    d.Pedido = pedido;
    auto sistema = [&](int e) {
        d.Recusa = TRecusaDestino::Sistema;
        d.Erro = e ? e : EIO;
        return d;
    };
    if (pedido.empty() || pedido.filename().empty() || pedido.filename() == "." ||
        pedido.filename() == "..") {
        struct stat st {};
        if (!pedido.empty() && ::stat(pedido.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
            d.Recusa = TRecusaDestino::Pasta;
            return d;
        }
        return sistema(pedido.empty() ? ENOENT : EISDIR);
    }
    fs::path atual = pedido;
    struct stat st {};
    for (int i = 0;; ++i) {
        if (i > kMaximoLigacoes) return sistema(ELOOP);
        if (::lstat(atual.c_str(), &st) != 0) {
            if (errno != ENOENT) return sistema(errno);
            // A new name: its folder must exist.
            struct stat p {};
            if (::stat(PastaDe(atual).c_str(), &p) != 0) return sistema(errno);
            if (!S_ISDIR(p.st_mode)) return sistema(ENOTDIR);
            d.Real = atual;
            return d;
        }
        if (!S_ISLNK(st.st_mode)) break;
        if (LigacaoProtegida(st, PastaDe(atual))) {
            d.Real = atual;
            d.Recusa = TRecusaDestino::LigacaoAlheia;
            return d;
        }
        std::error_code ec;
        const fs::path alvo = fs::read_symlink(atual, ec);
        if (ec) return sistema(ec.value());
        atual = alvo.is_absolute() ? alvo : PastaDe(atual) / alvo;
    }
    d.Real = atual;
    if (S_ISDIR(st.st_mode)) {
        d.Recusa = TRecusaDestino::Pasta;
    } else if (!S_ISREG(st.st_mode)) {
        d.Recusa = TRecusaDestino::Especial;
    } else if ((st.st_mode & 0222) == 0) {
        d.Recusa = TRecusaDestino::SomenteLeitura;
    } else if (::access(atual.c_str(), W_OK) != 0) {
        return sistema(errno);
    } else {
        d.Existe = true;
    }
    return d;
}

std::string TextoErroSistema(int erro) {
    switch (erro) {
    case ENOSPC:
        return "Sem espaço no disco.";
    case EDQUOT:
        return "A cota de disco do usuário se esgotou.";
    case EACCES:
    case EPERM:
        return "Permissão negada.";
    case EROFS:
        return "Sistema de arquivos somente leitura.";
    case ENAMETOOLONG:
        return "Nome de arquivo longo demais.";
    case ENOENT:
    case ENOTDIR:
        return "A pasta não existe.";
    case EISDIR:
        return "É uma pasta, não um arquivo.";
    case EIO:
        return "Erro de entrada e saída no disco.";
    case EFBIG:
        return "O arquivo excede o tamanho que o sistema permite.";
    case ELOOP:
        return "Ligações simbólicas demais (ou em ciclo).";
    case EMFILE:
    case ENFILE:
        return "Arquivos abertos em quantidade excessiva.";
    case ETXTBSY:
    case EBUSY:
        return "O arquivo está em uso.";
    default:
        return "Erro " + std::to_string(erro) + " do sistema.";
    }
}

std::string TextoRecusa(const TDestinoGravacao &d) {
    switch (d.Recusa) {
    case TRecusaDestino::Nenhuma:
        return {};
    case TRecusaDestino::Pasta:
        return "É uma pasta, não um arquivo.";
    case TRecusaDestino::Especial:
        return "Não é um arquivo comum (é um dispositivo, uma fila ou um soquete).";
    case TRecusaDestino::LigacaoAlheia:
        return "É uma ligação simbólica de outro usuário numa pasta compartilhada; ela não é "
               "seguida.";
    case TRecusaDestino::SomenteLeitura:
        return "O arquivo está marcado como somente leitura.";
    case TRecusaDestino::Sistema:
        break;
    }
    return TextoErroSistema(d.Erro);
}

bool MesmoArquivoFisico(const fs::path &a, const fs::path &b) {
    struct stat sa {
    }, sb{};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

TGravacaoSegura::TGravacaoSegura(const fs::path &destino, std::string temporario) {
    destino_ = ResolveDestino(destino);
    if (!destino_.Aceito()) {
        Recusa(destino_);
        return;
    }
    const fs::path pasta = PastaDe(destino_.Real);
    if (temporario.empty()) {
        std::string nome = destino_.Real.filename().string();
        // A long name must not make its temporary name too long.
        if (nome.size() + kSufixoGravacao.size() > kNomeMaximo)
            nome.resize(kNomeMaximo - kSufixoGravacao.size() - 8);
        temporario = nome + std::string(kSufixoGravacao);
    }
    temporario_ = pasta / fs::path(temporario).filename();
#ifdef O_TMPFILE
    fd_ = ::open(pasta.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd_ >= 0) {
        anonimo_ = true;
        return;
    }
    // File systems without unnamed files answer one of these; any other error is the folder's.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
        Falha(errno);
        return;
    }
#endif
    if (const int e = LiberaNome(temporario_)) {
        Falha(e);
        return;
    }
    // Created exclusively: no link is ever followed.
    fd_ = ::open(temporario_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0) {
        Falha(errno);
        return;
    }
    nomeado_ = true;
}

TGravacaoSegura::~TGravacaoSegura() {
    Descarta();
}

bool TGravacaoSegura::Falha(int erro) {
    if (erro_.empty()) {
        codigo_ = erro ? erro : EIO;
        erro_ = TextoErroSistema(codigo_);
    }
    return false;
}

bool TGravacaoSegura::Recusa(const TDestinoGravacao &d) {
    if (erro_.empty()) {
        codigo_ = d.Recusa == TRecusaDestino::Sistema ? d.Erro : 0;
        erro_ = TextoRecusa(d);
    }
    return false;
}

bool TGravacaoSegura::Grava(const void *dados, std::size_t n) {
    if (!Aberta()) return false;
    if (!EscreveTudo(fd_, static_cast<const char *>(dados), n, 0, false)) return Falha(errno);
    tamanho_ += n;
    return true;
}

bool TGravacaoSegura::GravaEm(std::uint64_t posicao, const void *dados, std::size_t n) {
    if (!Aberta()) return false;
    if (posicao + n > tamanho_) return Falha(EINVAL);
    if (!EscreveTudo(fd_, static_cast<const char *>(dados), n, static_cast<off_t>(posicao), true))
        return Falha(errno);
    return true;
}

bool TGravacaoSegura::Conclui() {
    if (!Aberta()) {
        Descarta();
        return false;
    }
    bool ok = ::fsync(fd_) == 0 || Falha(errno);
    // What the target is now: another program may have put something else in its place.
    TDestinoGravacao agora = ResolveDestino(destino_.Pedido);
    if (ok && !agora.Aceito()) {
        ok = Recusa(agora);
    } else if (ok && agora.Real != destino_.Real) {
        erro_ = "O caminho passou a levar a outro arquivo durante a gravação.";
        ok = false;
    }
    if (ok && agora.Existe) {
        struct stat alvo {};
        if (::stat(agora.Real.c_str(), &alvo) == 0) {
            // Giving the file back to another owner needs rights this user may not have.
            [[maybe_unused]] const int dono = ::fchown(fd_, alvo.st_uid, alvo.st_gid);
            if (::fchmod(fd_, alvo.st_mode & 07777) != 0) ok = Falha(errno);
        }
    }
    if (ok && anonimo_) {
        if (const int e = LiberaNome(temporario_)) {
            ok = Falha(e);
        } else {
            const std::string proc = "/proc/self/fd/" + std::to_string(fd_);
            if (::linkat(AT_FDCWD, proc.c_str(), AT_FDCWD, temporario_.c_str(),
                         AT_SYMLINK_FOLLOW) == 0 ||
                ::linkat(fd_, "", AT_FDCWD, temporario_.c_str(), AT_EMPTY_PATH) == 0)
                nomeado_ = true;
            else
                ok = Falha(errno);
        }
    }
    if (::close(fd_) != 0 && ok) ok = Falha(errno);
    fd_ = -1;
    if (ok && ::rename(temporario_.c_str(), destino_.Real.c_str()) != 0) ok = Falha(errno);
    if (ok) nomeado_ = false;
    Descarta();
    return ok;
}

void TGravacaoSegura::Descarta() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (nomeado_) ::unlink(temporario_.c_str());
    nomeado_ = false;
}

bool GravaArquivoSeguro(const fs::path &destino, std::string_view dados, std::string *motivo,
                        const std::string &temporario) {
    TGravacaoSegura g(destino, temporario);
    const bool ok = g.Grava(dados) && g.Conclui();
    if (!ok && motivo) *motivo = g.Motivo();
    return ok;
}

} // namespace zelto
