// Placeholder: these tests are being written.
#include "TesteGui.h"

#include <QObject>

class TesteObjeto : public QObject {
    Q_OBJECT
};
ZELTO_TESTE_GUI(TesteObjeto)
#include "TesteObjeto.moc"
