// The writers of the report, chosen by the extension of the file name, in one table.
//
//   .rtf, .doc  RTF (tRTF_Writer)          .wri   Write 3.0 (TArquivoWrite)
//   .txt        plain text (TEscritorTexto)  .json  the structure (TEscritorEstrutura)
//
// Extensions are compared without regard to case. A name with another extension has no writer
// (CriaEscritor gives null and the caller names the extensions that exist); the desktop's save
// dialog, where any other extension writes a Write document, uses CriaEscritorExportacao.
#pragma once

#include "writer/ArqEditor.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace zelto {

// The writer for the file's extension, with the file opened (see Valido()/Erro()); null for an
// extension without a writer.
std::unique_ptr<TArqEditor> CriaEscritor(const QString &arquivo);
// The same, with every extension outside the table written as a Write document.
std::unique_ptr<TArqEditor> CriaEscritorExportacao(const QString &arquivo);
// The extensions of the table, lower case, without the dot, in table order.
QStringList ExtensoesEscritores();

} // namespace zelto
