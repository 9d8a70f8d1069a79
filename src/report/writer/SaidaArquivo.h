// The output file of a file writer: written aside and put in place only when complete.
//
// An export never destroys or half-writes the user's file. The bytes go to a temporary file in
// the target's folder (QSaveFile), which replaces the target only when Conclui() is called
// after the document was completed. A writer destroyed without Conclui() (a cancelled or failed
// export, an exception) throws the temporary file away and leaves the previous file as it was;
// a process killed mid-export leaves the previous file as it was too. A symbolic link is
// followed (its target is replaced) and the permissions of an existing file are kept.
#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

namespace zelto {

class TSaidaArquivo {
  public:
    // Opens the temporary file at once, so a file that cannot be created is known before any
    // work is done: Erro() then names the file and the system's reason.
    explicit TSaidaArquivo(const QString &arquivo);
    ~TSaidaArquivo();
    TSaidaArquivo(const TSaidaArquivo &) = delete;
    TSaidaArquivo &operator=(const TSaidaArquivo &) = delete;

    bool Aberta() const { return aberta_; }
    // The failure in Portuguese, naming the file; empty while there is none.
    const QString &Erro() const { return erro_; }
    const QString &Nome() const { return nome_; }

    // Appends bytes; false (with Erro()) when the system refused them.
    bool Grava(const QByteArray &bytes);
    bool Grava(const char *bytes, qint64 tamanho);
    // Writes over bytes already written, at a position from the start of the file.
    bool GravaEm(qint64 posicao, const QByteArray &bytes);
    qint64 Tamanho() const;
    // Puts the completed file in place of the target. False (with Erro()) when it could not.
    bool Conclui();

  private:
    void Falha(const QString &inicio);

    QSaveFile arquivo_;
    QString nome_;
    QString erro_;
    bool aberta_ = false;
    bool concluida_ = false;
};

} // namespace zelto
