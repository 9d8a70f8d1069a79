// The writers of the report, chosen by the extension of the file name, in one table.
//
//   .rtf, .doc  RTF (tRTF_Writer)          .wri   Write 3.0 (TArquivoWrite)
//   .txt        plain text (TEscritorTexto)  .json  the structure (TEscritorEstrutura)
//   .pdf        the report view's pages (view/ImpressaoRelatorio.h)
//
// A paged format (.pdf) is not written through the export run: the report view lays the
// report out in pages as on screen and draws every page into the file, so the file holds the
// screen's pages. It has no writer here (CriaEscritor gives null); EscritorPaginado tells the
// caller to export through the view.
//
// Extensions are compared without regard to case. A name with another extension has no writer
// (CriaEscritor gives null and the caller names the extensions that exist).
#pragma once

#include "writer/ArqEditor.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace zelto {

// The writer for the file's extension, with the file opened (see Valido()/Erro()); null for an
// extension without a writer.
std::unique_ptr<TArqEditor> CriaEscritor(const QString &arquivo);
// The extensions of the table's writers, lower case, without the dot, in table order; with
// the paged formats too when asked.
QStringList ExtensoesEscritores(bool comPaginados = false);
// True for a file whose format the report view draws page by page (.pdf).
bool EscritorPaginado(const QString &arquivo);

} // namespace zelto
