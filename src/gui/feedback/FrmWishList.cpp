#include "feedback/FrmWishList.h"

#include "common/Twips.h"

namespace torrenta::gui {

FrmWishList::FrmWishList(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmWishList"));
    setWindowTitle(QStringLiteral("Wish List"));
    resize(TwipsRect(this, 0, 0, 4800, 3600).size());
}

}  // namespace torrenta::gui
