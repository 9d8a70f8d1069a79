// The output file of a file writer: written aside and put in place only when complete.
//
// An export never destroys or half-writes the user's file. The bytes go to a temporary file in
// the target's folder (TGravacaoSegura, the engine's one way of writing a file), which
// replaces the target only when Conclui() is called after the document was completed. A writer
// destroyed without Conclui() (a cancelled or failed export, an exception) throws the temporary
// file away and leaves the previous file as it was; a process killed mid-export leaves the
// previous file as it was too. A symbolic link is followed (its target is replaced) under that
// class's rules: only a regular file or a new name is written, never a folder, a device, a FIFO
// or a socket. The permissions of an existing file are kept. Failures name the file as the
// caller gave it.
#pragma once

#include "common/GravacaoSegura.h"

#include <QByteArray>
#include <QString>

#include <memory>

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
    // The folder of the file the path leads to (links followed), where scratch files belong.
    QString Pasta() const;

    // Appends bytes; false (with Erro()) when the system refused them.
    bool Grava(const QByteArray &bytes);
    bool Grava(const char *bytes, qint64 tamanho);
    // Writes over bytes already written, at a position from the start of the file.
    bool GravaEm(qint64 posicao, const QByteArray &bytes);
    qint64 Tamanho() const;
    // Puts the completed file in place of the target. False (with Erro()) when it could not.
    bool Conclui();

    // The message of a failure with the given reason, naming the file.
    static QString Mensagem(const QString &inicio, const QString &arquivo, const std::string &motivo);

  private:
    void Falha(const QString &inicio);

    std::unique_ptr<TGravacaoSegura> arquivo_;
    QString nome_;
    QString erro_;
    bool aberta_ = false;
    bool concluida_ = false;
};

} // namespace zelto
