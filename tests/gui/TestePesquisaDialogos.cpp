// Placeholder: these tests are being written.
#include "TesteGui.h"

#include <QObject>

class TestePesquisaDialogos : public QObject {
    Q_OBJECT
};
ZELTO_TESTE_GUI(TestePesquisaDialogos)
#include "TestePesquisaDialogos.moc"
