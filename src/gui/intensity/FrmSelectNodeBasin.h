#pragma once

#include "intensity/TableSelectionDialog.h"

namespace torrenta::gui {

// Picks the intensity table stored on the outlet node (from the node dialog).
class FrmSelectNodeBasin : public TableSelectionDialog {
    Q_OBJECT
  public:
    explicit FrmSelectNodeBasin(QWidget* parent);

  protected:
    bool TakeSelection(const std::string& name) override;
    std::string CurrentChoice() const override;
};

}  // namespace torrenta::gui
