// Where and how every file of the program is written: worksheets, settings, the label-table
// store, report exports and graph pictures all go through TGravacaoSegura.
//
// The target. A path is followed through its symbolic links to the file it names, and that
// file must be a regular file or a name not yet taken: a folder, a device, a FIFO or a socket
// is refused, never replaced. In a folder that everyone may write and that has the sticky bit
// (a shared temporary folder), a link owned by someone other than the user and the folder's
// owner is not followed (the rule of the kernel's protected symlinks): another user could have
// planted it to make the program overwrite a file of the user's. An existing file marked
// read-only (no write bit at all) is refused, also for the superuser; one this user may not
// write is refused too.
//
// The bytes. They go into an unnamed file in the target's folder (a named one where the file
// system has no unnamed files), flushed to the disk and only then given the temporary name and
// renamed over the target: the target is either the complete new file or the previous one,
// whatever happens (a full disk, a kill, a crash). The replaced file's permission bits (and,
// where the system allows, its owner) pass to the new one.
//
// Failures are told in Portuguese, without the file's name: the caller names the file the user
// asked for, never the temporary one. Nothing here throws.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace zelto {

// The ending of the temporary files of saves (hidden by the file dialogs; a save removes those
// that a kill left in its folder).
inline constexpr std::string_view kSufixoGravacao = ".~gravando";

enum class TRecusaDestino {
    Nenhuma,
    Pasta,          // the path names a folder
    Especial,       // a device, a FIFO or a socket
    LigacaoAlheia,  // another user's link in a shared sticky folder
    SomenteLeitura, // a file marked read-only
    Sistema,        // the system refused (Erro holds the error number)
};

struct TDestinoGravacao {
    std::filesystem::path Pedido; // as given
    std::filesystem::path Real;   // the file the links lead to
    bool Existe = false;          // Real is an existing regular file
    TRecusaDestino Recusa = TRecusaDestino::Nenhuma;
    int Erro = 0; // the system's error number, for Sistema
    bool Aceito() const { return Recusa == TRecusaDestino::Nenhuma; }
};

// Follows the path's links and checks the file they lead to, as above.
TDestinoGravacao ResolveDestino(const std::filesystem::path &pedido);

// Why a target was refused, one sentence in Portuguese ("Sem espaço no disco.").
std::string TextoRecusa(const TDestinoGravacao &d);
// A system error number as one sentence in Portuguese.
std::string TextoErroSistema(int erro);

// True when both paths name one existing file (same device and inode, links followed).
bool MesmoArquivoFisico(const std::filesystem::path &a, const std::filesystem::path &b);

class TGravacaoSegura {
  public:
    // Resolves the target and opens the unnamed file in its folder at once, so that a target
    // that cannot be written is known before any work. The temporary name, in the target's
    // folder, is the target's name + kSufixoGravacao unless one is given (a file name only).
    explicit TGravacaoSegura(const std::filesystem::path &destino, std::string temporario = {});
    ~TGravacaoSegura();
    TGravacaoSegura(const TGravacaoSegura &) = delete;
    TGravacaoSegura &operator=(const TGravacaoSegura &) = delete;

    bool Aberta() const { return fd_ >= 0 && erro_.empty(); }
    // Appends bytes; false once anything failed.
    bool Grava(const void *dados, std::size_t n);
    bool Grava(std::string_view dados) { return Grava(dados.data(), dados.size()); }
    // Writes over bytes already written, from the start of the file.
    bool GravaEm(std::uint64_t posicao, const void *dados, std::size_t n);
    std::uint64_t Tamanho() const { return tamanho_; }
    // Puts the complete file in place of the target. False when it could not (the target is
    // then as it was).
    bool Conclui();
    // Throws the new bytes away; the target stays as it was.
    void Descarta();

    // The reason of the first failure, in Portuguese; empty while there is none.
    const std::string &Motivo() const { return erro_; }
    // The system's error number of that failure (0 for a refused target).
    int CodigoErro() const { return codigo_; }
    const TDestinoGravacao &Destino() const { return destino_; }

  private:
    bool Falha(int erro);
    bool Recusa(const TDestinoGravacao &d);

    TDestinoGravacao destino_;
    std::filesystem::path temporario_;
    int fd_ = -1;
    bool anonimo_ = false; // an unnamed file, linked only at Conclui()
    bool nomeado_ = false; // the temporary name exists on disk
    std::uint64_t tamanho_ = 0;
    std::string erro_;
    int codigo_ = 0;
};

// The whole of `dados` through TGravacaoSegura. *motivo (when given) gets the reason of a
// failure.
bool GravaArquivoSeguro(const std::filesystem::path &destino, std::string_view dados,
                        std::string *motivo = nullptr, const std::string &temporario = {});

} // namespace zelto
