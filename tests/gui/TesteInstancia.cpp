// One running copy per user session: a second start of the program
// activates the first and ends without a window; a lock left by a copy that
// died does not block the next start.
#include "TesteGui.h"

#include "gui/app/InstanciaUnica.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

using namespace zelto;

namespace {

QString NomeUnico(const char *sufixo) {
    return QStringLiteral("ZELTO32-teste-%1-%2")
        .arg(QCoreApplication::applicationPid())
        .arg(QLatin1String(sufixo));
}

QProcessEnvironment Ambiente(const QString &nome) {
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert(QStringLiteral("ZELTO_INSTANCIA"), nome);
    e.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return e;
}

} // namespace

class TesteInstancia : public QObject {
    Q_OBJECT
  private slots:
    // This process holds the guard; the real program started again only
    // sends the activation request and ends (a file named to it is ignored).
    void segundaCopiaAtivaAPrimeira() {
        const QString nome = NomeUnico("a");
        TInstanciaUnica primeira(nome);
        QVERIFY(primeira.Primeira());
        QSignalSpy pedidos(&primeira, &TInstanciaUnica::ativacaoPedida);
        TInstanciaUnica outra(nome);
        QVERIFY(!outra.Primeira());

        QProcess segunda;
        segunda.setProcessEnvironment(Ambiente(nome));
        segunda.start(QStringLiteral(ZELTO_PROGRAMA), {QStringLiteral("/tmp/qualquer.QV3")});
        QVERIFY(segunda.waitForFinished(30000));
        QCOMPARE(segunda.exitStatus(), QProcess::NormalExit);
        QCOMPARE(segunda.exitCode(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(pedidos.count(), 1, 5000);
    }

    // Two copies of the program: the second ends at once, the first keeps running.
    void duasCopiasDoPrograma() {
        const QString nome = NomeUnico("b");
        QProcess primeira;
        primeira.setProcessEnvironment(Ambiente(nome));
        primeira.start(QStringLiteral(ZELTO_PROGRAMA), {});
        QVERIFY(primeira.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(TInstanciaUnica::CaminhoSocket(nome)), 30000);
        QProcess segunda;
        segunda.setProcessEnvironment(Ambiente(nome));
        segunda.start(QStringLiteral(ZELTO_PROGRAMA), {});
        QVERIFY(segunda.waitForFinished(30000));
        QCOMPARE(segunda.exitCode(), 0);
        QCOMPARE(primeira.state(), QProcess::Running);
        primeira.kill();
        primeira.waitForFinished();
        // The copy that died left its lock behind; the next start takes it over.
        TInstanciaUnica depois(nome);
        QVERIFY(depois.Primeira());
    }
};

ZELTO_TESTE_GUI(TesteInstancia)
#include "TesteInstancia.moc"
