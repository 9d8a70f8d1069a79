#include "gui/app/Aplicacao.h"

#include "common/Caminhos.h"
#include "files/ArquivoIni.h"
#include "files/ConfiguracaoGeral.h"
#include "gui/app/InstanciaUnica.h"
#include "gui/dialogs/DlgErroFatal.h"
#include "gui/dialogs/FAbertura.h"
#include "gui/dialogs/FProgressao.h"
#include "gui/dialogs/FProgressoPesquisa.h"
#include "gui/mainwindow/FZelto.h"
#include "significance/Significancias.h"
#include "worksheet/TabelasVariaveis.h"

#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QStyleFactory>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <exception>
#include <unistd.h>

namespace zelto {

TAplicacao::TAplicacao(int &argc, char **argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Zelto 32"));
    // Qt's own dialogs and buttons (files, printing, standard buttons) speak Portuguese, and
    // show dates and sizes as Brazil writes them.
    const QLocale brasil(QLocale::Portuguese, QLocale::Brazil);
    QLocale::setDefault(brasil);
    auto *traducao = new QTranslator(this);
    if (traducao->load(brasil, QStringLiteral("qt"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(traducao);
    PerguntaErro = [](const QString &detalhe) {
        TDlgErroFatal d(detalhe, QApplication::activeWindow());
        d.exec();
        return d.Resultado() == TDlgErroFatal::Encerrar ? EscolhaErro::Encerrar
                                                        : EscolhaErro::Prosseguir;
    };
    Encerra = [] {
        std::fflush(nullptr);
        ::_exit(1);
    };
}

bool TAplicacao::notify(QObject *o, QEvent *e) {
    try {
        return QApplication::notify(o, e);
    } catch (const std::exception &x) {
        TrataFalha(QString::fromUtf8(x.what()));
    } catch (...) {
        TrataFalha(QString());
    }
    return false;
}

void TAplicacao::TrataFalha(const QString &detalhe) {
    if (tratando_) return; // a failure inside the dialog itself
    tratando_ = true;
    // The command is abandoned: its progress window goes.
    for (QWidget *w : QApplication::topLevelWidgets())
        if (qobject_cast<TFProgressao *>(w) || qobject_cast<TFProgressoPesquisa *>(w)) w->hide();
    EscolhaErro escolha = PerguntaErro ? PerguntaErro(detalhe) : EscolhaErro::Prosseguir;
    tratando_ = false;
    if (escolha == EscolhaErro::Encerrar && Encerra) Encerra();
}

std::filesystem::path PastaPadroes() {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (QString env = qEnvironmentVariable("ZELTO_SHARE"); !env.isEmpty())
        return fs::path(env.toStdString());
    fs::path instalada =
        fs::path(QCoreApplication::applicationDirPath().toStdString()) / ".." / "share" / "zelto";
    if (fs::is_directory(instalada, ec)) return instalada;
#ifdef ZELTO_PASTA_SHARE
    return fs::path(ZELTO_PASTA_SHARE);
#else
    return instalada;
#endif
}

int ExecutaPrograma(int argc, char **argv) {
    TAplicacao app(argc, argv);
    TInstanciaUnica guarda;
    if (!guarda.Primeira()) {
        // Another copy runs: bring it forward and end without any window.
        guarda.AtivaOutra();
        return 0;
    }
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    TFAbertura abertura;
    abertura.Mostra();

    const std::filesystem::path padroes = PastaPadroes();
    TArquivoIni ini;
    ini.AbreCopiaUsuario(padroes / kArquivoConfiguracaoGeral, CaminhoConfiguracaoGeral());
    AtualizaCopiaUsuario(padroes / "TAB_VAR.QVT", CaminhoTabelasPadrao());
    InstalaConfiguracoesPadrao(padroes, PastaConfigUsuario());
    TTabelasVariaveis tabelas(CaminhoTabelasPadrao());

    TFZELTO janela(ini, tabelas);
    QObject::connect(&guarda, &TInstanciaUnica::ativacaoPedida, &janela, [&janela] {
        if (janela.isMinimized()) janela.showNormal();
        janela.showMaximized();
        janela.raise();
        janela.activateWindow();
    });
    // Without a window manager "maximised" means nothing: take the screen first.
    if (QScreen *tela = QApplication::primaryScreen())
        janela.setGeometry(tela->availableGeometry());
    janela.showMaximized();
    abertura.hide();
    janela.VerificaTransferencia();
    const QStringList argumentos = app.arguments();
    QTimer::singleShot(0, &janela,
                       [&janela, argumentos] { janela.AbreArquivoInicial(argumentos); });
    return app.exec();
}

} // namespace zelto
