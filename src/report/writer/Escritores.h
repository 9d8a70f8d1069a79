// The targets of the report, chosen by the extension of the file name, in one table.
//
//   .rtf, .doc  RTF (tRTF_Writer)          .wri   Write 3.0 (TArquivoWrite)
//   .txt        plain text (TEscritorTexto)  .json  the structure (TEscritorEstrutura)
//   .pdf        the report view's pages, drawn page by page (a paged target)
//
// A stream target has a writer here (CriaEscritor). A paged target (.pdf) is drawn by the report
// view: it lays the report out in pages as on screen and draws every page into the file, so the
// file holds the screen's pages; the export entry (export/Exportacao.h) sends it there. Both
// kinds write the same content. The desktop's file filter and the command line's help are made
// from this table.
//
// Extensions are compared without regard to case. A name with another extension has no target
// (the caller names the extensions that exist).
#pragma once

#include "writer/ArqEditor.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <span>

namespace zelto {

enum class TTipoDestino : std::uint8_t { Fluxo, Paginado };

struct TDestinoRelatorio {
    const char *Extensao;  // lower case, without the dot
    TTipoDestino Tipo;
    const char *Descricao; // the desktop's filter entry; nullptr: not offered there
    int OrdemFiltro;       // place in the desktop's filter
    std::unique_ptr<TArqEditor> (*Cria)(const QString &arquivo); // stream targets
};

// The table, in its order.
std::span<const TDestinoRelatorio> DestinosRelatorio();
// The target of the file's extension; null for an extension without one.
const TDestinoRelatorio *DestinoDoArquivo(const QString &arquivo);

// The writer for the file's extension, with the file opened (see Valido()/Erro()); null for an
// extension without a stream writer.
std::unique_ptr<TArqEditor> CriaEscritor(const QString &arquivo);
// The extensions of the table's writers, lower case, without the dot, in table order; with
// the paged formats too when asked.
QStringList ExtensoesEscritores(bool comPaginados = false);
// True for a file whose format the report view draws page by page (.pdf).
bool EscritorPaginado(const QString &arquivo);
// The desktop's filter: "Arquivos Microsoft WORD (*.DOC);;…;;Todos os arquivos (*.*)".
QString FiltroDestinos();
// "rtf, doc, wri, txt, json ou pdf" (each after `prefixo`): the extensions for a help or an
// error text.
QString ListaExtensoes(const QString &prefixo = QString());

} // namespace zelto
