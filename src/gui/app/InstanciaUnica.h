// One running copy of the program per user session.
//
// The first copy takes a lock file named after the instance ("ZELTO32") in
// the user's runtime folder and listens on a local socket of the same name. A
// later copy finds the lock taken, connects to the socket, sends one
// activation request (it carries no data: a file named on the second copy's
// command line is not handed over) and ends without creating any window. The
// running copy answers a request by restoring and raising its main window.
// A lock left by a copy that died is taken over (the lock file holds the
// process id).
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>

#include <memory>

namespace zelto {

class TInstanciaUnica : public QObject {
    Q_OBJECT
  public:
    // nome: the instance name; empty takes $ZELTO_INSTANCIA, else "ZELTO32".
    explicit TInstanciaUnica(const QString &nome = QString(), QObject *parent = nullptr);
    ~TInstanciaUnica() override;

    // True when no other copy runs: this one holds the lock and listens.
    bool Primeira();
    // Asks the running copy to come forward; false when it could not be reached.
    bool AtivaOutra(int esperaMs = 3000);

    const QString &Nome() const { return nome_; }
    // The lock file and the socket of a name, in the user's runtime folder.
    static QString CaminhoTrava(const QString &nome);
    static QString CaminhoSocket(const QString &nome);

  signals:
    void ativacaoPedida();

  private:
    void NovaConexao();

    QString nome_;
    std::unique_ptr<QLockFile> trava_;
    QLocalServer servidor_;
};

} // namespace zelto
