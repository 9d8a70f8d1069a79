// The report settings dialogs, as the report page and the main window call them.
//
// Each function shows its dialog modally and returns true when the valuer confirmed a change;
// the caller then invalidates the laid-out report and repaginates. On a confirmed change the
// dialog itself writes the report settings file (RELATORI.CN% in the user's settings folder,
// ArquivoRelatorioUsuario()): the general settings and every item's settings, so the file
// always holds what the report shows. A cancelled dialog changes neither the settings nor the
// items nor the file.
//
// - ConfiguraRelatorio: "Configurar Relatório" (page, items, general tabs), optionally with
//   an item made current in the items list (itemInicial: index into `itens`).
// - ConfiguraItem: the dialog of one item by its kind (text, table, graph); a graph's dialog
//   opened from a click on its chart is given the clicked point (chart units). The first item
//   whose settings changed is told back ("Aplicar a Todos" may change items before this one).
// - ConfiguraCabecalhoRodape: the running header (rodape false) or footer text, font and
//   alignment.
#pragma once

#include "config/ConfiguracaoRelatorio.h"
#include "items/Catalogo.h"

#include <QPointF>

#include <optional>

class QWidget;

namespace zelto {

bool ConfiguraRelatorio(QWidget *pai, TListaItens &itens, TConfiguracaoRelatorio &cfg, bool inferencial, int itemInicial = -1);
bool ConfiguraItem(QWidget *pai, TListaItens &itens, int indice, bool inferencial,
                   const std::optional<QPointF> &ponto = std::nullopt, int *primeiroMudado = nullptr);
bool ConfiguraCabecalhoRodape(QWidget *pai, TConfiguracaoRelatorio &cfg, bool rodape);

} // namespace zelto
