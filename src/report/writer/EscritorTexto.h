// TEscritorTexto: the report as plain text (UTF-8, extension .txt), for reading in a terminal,
// mailing or comparing.
//
// The document is the one the structure writer records (see EscritorEstrutura.h), rendered as
// lines: each paragraph is a line of its joined text (so markup reads "1,23x10^-5", "R^2",
// "∞"); a table is a block of columns padded to their widest cell and two blanks apart, each
// cell aligned as it was written; a picture is the line "[figura W x H]" (pixels); a page break
// is a line holding a form feed. The running header and footer are not written.
#pragma once

#include "writer/EscritorEstrutura.h"

namespace zelto {

class TEscritorTexto : public TEscritorEstrutura {
  public:
    explicit TEscritorTexto(const QString &arquivo) : TEscritorEstrutura(arquivo) {}

  protected:
    QByteArray Conteudo() const override;
};

} // namespace zelto
