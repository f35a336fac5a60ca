#pragma once

#include <QWidget>

namespace torrenta::gui {

// The start picture shown while no project is open.
class FrmOpen : public QWidget {
    Q_OBJECT
  public:
    explicit FrmOpen(QWidget* parent = nullptr);
};

}  // namespace torrenta::gui
