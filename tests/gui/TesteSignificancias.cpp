// Placeholder: these tests are being written.
#include "TesteGui.h"

#include <QObject>

class TesteSignificancias : public QObject {
    Q_OBJECT
};
ZELTO_TESTE_GUI(TesteSignificancias)
#include "TesteSignificancias.moc"
