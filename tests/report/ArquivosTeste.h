// Files of the report tests: whole-file reads and writes, and the golden files under
// tests/data/report (written anew from the output when ZELTO_GRAVA_REFERENCIAS is set, to be
// checked by hand before they are committed).
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace zelto::teste {

inline QByteArray LeArquivo(const QString &arquivo) {
    QFile f(arquivo);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool GravaArquivo(const QString &arquivo, const QByteArray &bytes) {
    QFile f(arquivo);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The golden file's bytes.
inline QByteArray Referencia(const QString &nome, const QByteArray &feito) {
    const QString arquivo = QStringLiteral(ZELTO_DADOS_TESTE "/report/") + nome;
    if (qEnvironmentVariableIsSet("ZELTO_GRAVA_REFERENCIAS")) GravaArquivo(arquivo, feito);
    return LeArquivo(arquivo);
}

} // namespace zelto::teste
