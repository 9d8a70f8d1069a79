// The open and save dialogs of the worksheet files: titles, filters, the
// preview of the open dialog ("Conteúdo do arquivo :") and the comment box of
// the save dialog ("Comentários para o arquivo :").
//
// Filters are kept in the form "description|patterns|description|patterns",
// patterns separated by ";". On this platform names are case-sensitive, so
// each pattern also matches its lower-case form.
#pragma once

#include <QStringList>

#include <filesystem>
#include <optional>
#include <string>
#include <utility>

class QWidget;

namespace zelto {

inline constexpr const char *kFiltroLeitura =
    "Arquivos ZELTO (*.QV3;*.ZEL;*.DCR)|*.QV3;*.ZEL;*.DCR|Arquivos Texto (*.TXT)|*.TXT|"
    "Todos os arquivos (*.*)|*.*";
inline constexpr const char *kFiltroGravacao =
    "Arquivos ZELTO (*.QV3;*.ZEL;*.DCR)|*.QV3;*.ZEL;*.DCR|Arquivos Texto (*.TXT)|*.TXT";

// The Qt name filters of a filter text: the description, then the patterns
// in parentheses (which the dialogs hide).
QStringList FiltrosQt(const std::string &filtro);

// What the open dialog's preview shows for a file: for a native file its
// kind, the user comments (or "<em branco>") and the technical summary; for
// an older-format file its description; a text file's first lines.
std::string PreviaArquivo(const std::filesystem::path &arquivo);
// The user comments of a native file; empty for any other file.
std::string ComentariosArquivo(const std::filesystem::path &arquivo);

// Where a file dialog starts and what it proposes.
struct TInicioDialogo {
    std::string Pasta;       // the folder shown first
    std::string Nome;        // the file name proposed, without folder (may be empty)
    std::string Comentarios; // the save dialog's comment box: the worksheet's comments
};

// The temporary file of a save in progress ("NOME.~gravando"): never offered as a worksheet.
bool ArquivoDeGravacao(const QString &nome);

// "Ler planilha do Zelto": the chosen file, or empty.
std::string DialogoLeitura(QWidget *parent, const TInicioDialogo &inicio);
// "Gravar planilha do Zelto": the chosen file and the comments, or nothing. The comment box
// starts with the worksheet's comments; choosing an existing native file shows that file's
// comments, and leaving it for another name brings the worksheet's back (unless edited).
std::optional<std::pair<std::string, std::string>> DialogoGravacao(QWidget *parent,
                                                                   const TInicioDialogo &inicio);

} // namespace zelto
