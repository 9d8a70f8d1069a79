#include "gui/app/InstanciaUnica.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

#include <unistd.h>

namespace zelto {

namespace {

constexpr const char *kNomePadrao = "ZELTO32";
constexpr const char *kPedido = "ativar\n";

// A folder of this user only: the runtime folder of the session when there is
// one, else the temporary folder (the names then carry the user id).
QString PastaUsuario(QString &sufixo) {
    QString pasta = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    sufixo.clear();
    if (pasta.isEmpty() || !QDir(pasta).exists()) {
        pasta = QDir::tempPath();
        sufixo = QStringLiteral("-%1").arg(::getuid());
    }
    return pasta;
}

} // namespace

TInstanciaUnica::TInstanciaUnica(const QString &nome, QObject *parent)
    : QObject(parent), nome_(nome) {
    if (nome_.isEmpty()) nome_ = qEnvironmentVariable("ZELTO_INSTANCIA");
    if (nome_.isEmpty()) nome_ = QString::fromLatin1(kNomePadrao);
    servidor_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&servidor_, &QLocalServer::newConnection, this, &TInstanciaUnica::NovaConexao);
}

TInstanciaUnica::~TInstanciaUnica() {
    servidor_.close();
    if (trava_) trava_->unlock();
}

QString TInstanciaUnica::CaminhoTrava(const QString &nome) {
    QString sufixo;
    QString pasta = PastaUsuario(sufixo);
    return pasta + QLatin1Char('/') + nome + sufixo + QStringLiteral(".lock");
}

QString TInstanciaUnica::CaminhoSocket(const QString &nome) {
    QString sufixo;
    QString pasta = PastaUsuario(sufixo);
    return pasta + QLatin1Char('/') + nome + sufixo + QStringLiteral(".sock");
}

bool TInstanciaUnica::Primeira() {
    if (trava_ && trava_->isLocked()) return true;
    trava_ = std::make_unique<QLockFile>(CaminhoTrava(nome_));
    trava_->setStaleLockTime(0); // only a lock whose process is gone is stale
    if (!trava_->tryLock(0)) {
        trava_.reset();
        return false;
    }
    const QString socket = CaminhoSocket(nome_);
    QLocalServer::removeServer(socket); // a socket left by a copy that died
    servidor_.listen(socket);
    return true;
}

bool TInstanciaUnica::AtivaOutra(int esperaMs) {
    // The first copy may still be starting: it takes the lock before it listens.
    QElapsedTimer relogio;
    relogio.start();
    do {
        QLocalSocket s;
        s.connectToServer(CaminhoSocket(nome_));
        if (s.waitForConnected(200)) {
            s.write(kPedido);
            s.flush();
            bool ok = s.waitForBytesWritten(1000);
            s.disconnectFromServer();
            return ok;
        }
        QThread::msleep(50);
    } while (relogio.elapsed() < esperaMs);
    return false;
}

void TInstanciaUnica::NovaConexao() {
    while (QLocalSocket *s = servidor_.nextPendingConnection()) {
        connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
        auto le = [this, s] {
            if (s->readAll().contains("ativar")) emit ativacaoPedida();
        };
        connect(s, &QLocalSocket::readyRead, this, le);
        if (s->bytesAvailable() > 0) le();
    }
}

} // namespace zelto
