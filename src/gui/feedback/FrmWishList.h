#pragma once

#include <QDialog>

namespace torrenta::gui {

// Wish List: a window kept for a wish-list submission the program does not
// offer; nothing opens it.
class FrmWishList : public QDialog {
    Q_OBJECT
  public:
    explicit FrmWishList(QWidget* parent);
};

}  // namespace torrenta::gui
