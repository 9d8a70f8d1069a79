// Placeholder: these tests are being written.
#include "TesteGui.h"

#include <QObject>

class TesteEscolha : public QObject {
    Q_OBJECT
};
ZELTO_TESTE_GUI(TesteEscolha)
#include "TesteEscolha.moc"
