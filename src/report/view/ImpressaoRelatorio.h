// Printing and PDF: the report's pages drawn onto a paged device (a printer's, a PDF writer's)
// by the same paging run and painting as the screen, one device page per report page.
//
// The desktop owns the printer, its dialog and the copies: for each copy it names the job
// (TituloImpressao), begins it on its QPagedPaintDevice (in full-page mode: the origin is the
// paper's corner) and calls ImprimePaginas, aborting the job when that returns false
// (cancelled). The PDF export needs no desktop: ExportaPdf writes the file at the report's
// paper size, text as text with its fonts embedded, pictures at their full resolution.
#pragma once

#include "common/Progresso.h"

#include <QString>

class QPagedPaintDevice;

namespace zelto {

class TPaginacao;

inline constexpr const char *kTituloImprimindo = "Imprimindo relatório...";
inline constexpr const char *kTituloRepaginando = "Repaginando o relatório ...";

// "Relatório de avaliação " + the caption of the window's first tab + " (cópia " + k + ")".
QString TituloImpressao(const QString &legenda, int copia);

// The page count, laying the whole report out first when it is unknown, under the progress
// title "Repaginando o relatório ..." (shown at 50 % and then at 100 %).
int Repagina(TPaginacao &paginacao, TProgresso *progresso);

// Draws pages de..ate (limited to the report's pages) of copy `copia` onto the device, with
// the progress title, one step a page and the text "(Cópia k / Página p)". False when the
// sink cancelled (the caller aborts the job) or the device could not be painted on. The view
// draws on its own canvas again afterwards.
bool ImprimePaginas(TPaginacao &paginacao, QPagedPaintDevice *dispositivo, int de, int ate,
                    int copia, TProgresso *progresso,
                    const QString &titulo = QString::fromUtf8(kTituloImprimindo));

// The whole report as a PDF file. The file is replaced only when every page was written; a
// cancelled or failed export leaves a previous file untouched. False with the reason in
// `erro` (Portuguese) on failure.
bool ExportaPdf(TPaginacao &paginacao, const QString &arquivo, TProgresso *progresso,
                QString *erro = nullptr);

} // namespace zelto
