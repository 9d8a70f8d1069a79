// Pieces the worksheet subcommands of zelto-cli share (info, convert, exemplo): reading a
// worksheet file with everything the file holds besides the worksheet, the failure that ends a
// subcommand with its exit status, and the one-line form of the engine's message texts.
//
// Reading here never touches the label-table store: the tables a native file carries stay with
// the worksheet's columns (their list items and labels), so the commands read and write files
// the same way whatever the user's store holds.
#pragma once

#include "files/LerArquivo.h"
#include "worksheet/Gridzelto.h"

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zelto::cli {

// Ends a subcommand: status 2 for bad usage, 1 for a failure; the message is the one line
// printed on stderr.
struct TFalha {
    int status;
    std::string mensagem;
};

// A worksheet file as read: its format, the technical summary, the user comments (native files
// only; the other formats have none) and, when the file could be read only in part, the
// engine's message telling why (empty when it was read whole).
struct TPlanilhaLida {
    TFormatoArquivo formato = TFormatoArquivo::Desconhecido;
    std::string resumo;
    std::string comentarios;
    std::string aviso;
};

// The one check of a path every command makes before reading it: it must name a regular file
// (or a link to one) that can be read. Throws TFalha{1, message} with the real reason and the
// name as given otherwise: "Erro durante processamento do arquivo: NAME Arquivo não
// encontrado." (the folder missing, a folder, a device or a pipe, no permission likewise).
void ConfereArquivo(const std::filesystem::path &arquivo);

// Reads any supported worksheet file into `grid` (which must be fresh) through LerArquivo, so
// the statistics mode is set as opening the file sets it, after ConfereArquivo. Throws
// TFalha{1, message} when the file cannot be read at all.
TPlanilhaLida LePlanilha(const std::filesystem::path &arquivo, TGridzelto &grid);

// A file the command reads, with what it is for the message ("a planilha").
struct TEntrada {
    std::string arquivo;
    std::string papel;
};

// A command never writes over a file it reads: throws TFalha{2, message} when `saida` is the
// same file (device and inode, links followed) as one of the inputs. With `pasta` (the folder
// of --graphs), an input lying in that folder under a picture's name ("24-1.png") is refused
// the same way.
void RecusaSaidaSobreEntrada(const std::string &saida, const std::vector<TEntrada> &entradas,
                             const std::string &pasta = {});

// Line breaks of a message-box text ("\r\n", "\r", "\n", also repeated) become one blank.
std::string UmaLinha(std::string_view texto);

// Runs a subcommand's work: its result is the exit status; a TFalha prints its message on
// stderr as one line and gives its status.
int Executa(const std::function<int()> &trabalho);

} // namespace zelto::cli
