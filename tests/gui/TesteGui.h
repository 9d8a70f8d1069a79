// Shared pieces of the desktop tests: the registry of test classes (one
// executable runs them, CTest names one class per entry), a main window on
// throw-away settings with the user's answers scripted, and worksheet builders.
#pragma once

#include "files/ArquivoIni.h"
#include "gui/mainwindow/FZelto.h"
#include "worksheet/Gridzelto.h"
#include "worksheet/TabelasVariaveis.h"

#include <QApplication>
#include <QObject>
#include <QTemporaryDir>
#include <QTimer>

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zelto::teste {

using Fabrica = std::function<std::unique_ptr<QObject>()>;
int RegistraClasse(const char *nome, Fabrica f);

#define ZELTO_TESTE_GUI(Classe)                                                                    \
    static const int registro##Classe =                                                            \
        ::zelto::teste::RegistraClasse(#Classe, [] { return std::make_unique<Classe>(); });

// A main window on settings and a table store in a folder of its own. The
// questions it asks are answered from queues (an empty queue answers cancel)
// and recorded, like its notices.
struct TJanelaTeste {
    QTemporaryDir pasta;
    TArquivoIni ini;
    std::unique_ptr<TTabelasVariaveis> tabelas;
    std::unique_ptr<TFZELTO> janela;
    std::deque<Resposta> respostas;
    std::vector<std::string> perguntas, avisos;
    std::deque<std::string> arquivosLeitura;
    std::deque<std::pair<std::string, std::string>> arquivosGravacao;
    // The stale-report question: how often it was asked, and the answer ("Atualizar").
    int atualizacoes = 0;
    bool atualiza = true;
    // How each file dialog was asked to start.
    std::vector<TInicioDialogo> iniciosLeitura, iniciosGravacao;

    TJanelaTeste();
    TFZELTO &J() { return *janela; }
    TGridzelto &G() { return janela->GridAmostra(); }
    std::filesystem::path Caminho(const std::string &nome) const;
    // The settings file as written on disk, read afresh.
    TArquivoIni IniNoDisco() const;
};

// The report shown, as plain text (through "&Exportar relatório" into a .txt file).
QString TextoRelatorio(TJanelaTeste &w);

// A variable as a definition leaves it, with its format's editor.
void Define(TGridzelto &g, int c, const std::string &nome, TipoVariavel tipo, bool usada = true);
// Fills rows 1.. of column c with the texts (through the column's rule).
void Preenche(TGridzelto &g, int c, const std::vector<std::string> &textos);

// Runs f on the modal dialog of type D as soon as it shows (gives up after ten seconds).
template <class D> void QuandoAbrir(std::function<void(D &)> f) {
    auto *t = new QTimer;
    auto tentativas = std::make_shared<int>(0);
    QObject::connect(t, &QTimer::timeout, [t, f, tentativas] {
        auto *d = qobject_cast<D *>(QApplication::activeModalWidget());
        if (!d && ++*tentativas < 1000) return;
        t->stop();
        t->deleteLater();
        if (d) f(*d);
    });
    t->start(10);
}

} // namespace zelto::teste
