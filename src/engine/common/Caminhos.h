// Where the program's per-user files live, and the safe way to write a file.
//
// Defaults ship read-only with the program; each user works on a copy in the
// XDG base directories: settings under $XDG_CONFIG_HOME/zelto (~/.config/zelto
// when the variable is unset, empty or not an absolute path) and data such as
// the table store under $XDG_DATA_HOME/zelto (~/.local/share/zelto). The
// folders are created when missing; a folder that cannot be created is still
// returned, and the first write there fails.
//
// GravaPorTemporario writes a whole file through a temporary file in the same
// folder, flushed to the disk and renamed over the target, so that a failed
// write never destroys the previous file (TGravacaoSegura does the work). Nothing
// here throws.
#pragma once

#include <filesystem>
#include <string_view>

namespace zelto {

std::filesystem::path PastaConfigUsuario();
std::filesystem::path PastaDadosUsuario();

// The user's table store: TAB_VAR.QVT in the user's data folder.
std::filesystem::path CaminhoTabelasPadrao();

// Copies the installed default over the user's copy when the user's copy is
// missing or older than the installed one. True when the user's copy exists
// afterwards (also when there was nothing to copy from).
bool AtualizaCopiaUsuario(const std::filesystem::path &instalado,
                          const std::filesystem::path &usuario);

// Writes `dados` over `destino` through TGravacaoSegura (common/GravacaoSegura.h): links
// followed under its rules, only a regular file or a new name replaced, the temporary file
// named as `temporario`'s file name in the target's folder (a file or link left under that name
// is replaced, a folder there fails the write). An existing target keeps its permission bits.
// On failure the target is untouched, no temporary file stays, the result is false and *erro
// (when given) the system's error number (EACCES for a target that was refused).
bool GravaPorTemporario(const std::filesystem::path &destino,
                        const std::filesystem::path &temporario, std::string_view dados,
                        int *erro = nullptr);

} // namespace zelto
