#pragma once

#include "intensity/TableSelectionDialog.h"

namespace torrenta::gui {

// Picks the intensity table of the project as a whole. Its tag says who asked:
// "FrmInfo" when the project setup dialog wants the name in its table box,
// empty otherwise (the table editor then shows the chosen table).
class FrmSelectIvalBasin : public TableSelectionDialog {
    Q_OBJECT
  public:
    explicit FrmSelectIvalBasin(QWidget* parent);

    void SetTag(const QString& tag) { tag_ = tag; }
    const QString& Tag() const { return tag_; }

  signals:
    // A table chosen for the project setup dialog, which shows it until its
    // own OK stores it.
    void ChosenForSetup(const QString& name);

  protected:
    bool TakeSelection(const std::string& name) override;

  private:
    QString tag_;
};

}  // namespace torrenta::gui
