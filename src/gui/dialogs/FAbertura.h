// The start-up window: shown on top, without a close button, while the main
// window comes up; hidden and released once the main window is ready.
#pragma once

#include <QWidget>

namespace zelto {

class TFAbertura : public QWidget {
    Q_OBJECT
  public:
    explicit TFAbertura(QWidget *parent = nullptr);
    // Shows the window and paints it at once.
    void Mostra();
};

} // namespace zelto
