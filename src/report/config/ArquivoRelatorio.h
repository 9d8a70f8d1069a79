// The report settings file "RELATORI.CN%" and the named configurations (".CNF" copies of it).
//
// The file holds the section "Geral" (TConfiguracaoRelatorio) and one section per report item,
// named by the item's inferential title; the items' settings are handed in as the records of
// their values (config/ConfiguracaoItem.h), and evaluation/ArquivoItens.h takes a list of items.
// Reading never stops the report: a missing file, or a missing key, gives the defaults; a damaged file (unreadable, not a settings file, or with a
// key whose value cannot be decoded) gives the defaults for what cannot be read, and is copied
// to the same name with ".bak" appended before anything is written over it.
//
// Writing puts every setting in memory and writes the whole file once, through a temporary
// file renamed over the old one.
#pragma once

#include "common/Progresso.h"
#include "config/ConfiguracaoRelatorio.h"
#include "config/ConfiguracaoItem.h"

#include <filesystem>

namespace zelto {

inline constexpr const char *kArquivoRelatorio = "RELATORI.CN%";
inline constexpr const char *kExtensaoConfiguracaoRelatorio = ".CNF";

// The user's working copy: RELATORI.CN% in the user's settings folder.
std::filesystem::path ArquivoRelatorioUsuario();

// The settings and every item's settings as a missing settings file gives them (graphs in 256
// colours, for one, where a new item has the option byte 0).
void PadroesConfiguracaoRelatorio(TConfiguracaoRelatorio &c, const TRegistrosConfiguracao &itens);
// Reads the settings and every item's settings. False when the file was damaged (the defaults
// stand in for what could not be read); true also when the file is missing.
// With a progress sink, the read counts item count + 8 steps under the given title.
bool LeConfiguracaoRelatorio(const std::filesystem::path &arquivo, TConfiguracaoRelatorio &c,
                             const TRegistrosConfiguracao &itens, TProgresso *progresso = nullptr,
                             const std::string &titulo = {});
// Writes them all. A damaged file is first copied to arquivo + ".bak" and then written afresh.
// False when the file could not be written (or the backup not made; the file is then left).
bool GravaConfiguracaoRelatorio(const std::filesystem::path &arquivo, const TConfiguracaoRelatorio &c,
                                const TRegistrosConfiguracao &itens);
// True when the file exists and is damaged (read for the items' settings given, which stay as
// they are).
bool ArquivoRelatorioDanificado(const std::filesystem::path &arquivo, const TRegistrosConfiguracao &itens);

// Save configuration: the settings are written to the working file, which is then copied to
// the chosen name (unless it is the working file itself).
bool GravaConfiguracaoNomeada(const std::filesystem::path &trabalho, const std::filesystem::path &destino,
                              const TConfiguracaoRelatorio &c, const TRegistrosConfiguracao &itens);
// Read configuration: unless it is the working file, the chosen file is copied over the working
// file (a damaged working file is backed up first); then everything is read from it. False when
// the copy failed or the file read was damaged.
bool LeConfiguracaoNomeada(const std::filesystem::path &origem, const std::filesystem::path &trabalho,
                           TConfiguracaoRelatorio &c, const TRegistrosConfiguracao &itens,
                           TProgresso *progresso = nullptr, const std::string &titulo = {});

} // namespace zelto
