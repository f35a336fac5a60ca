#pragma once

#include <QString>
#include <QUndoCommand>

#include "store/ElementRows.h"

namespace torrenta::gui {

class FrmDraw;

// One delete of an element on the canvas, kept so that it can be taken back
// while the project is open: the row stays in the file marked deleted until
// Close purges it. Pushed after the delete has been done.
class DeleteCommand : public QUndoCommand {
  public:
    DeleteCommand(FrmDraw* canvas, ElementKind kind, const QString& tag);

    ElementKind Kind() const { return kind_; }
    const QString& Tag() const { return tag_; }

    void undo() override;
    void redo() override;

  private:
    FrmDraw* canvas_;
    ElementKind kind_;
    QString tag_;
    bool done_ = true;  // the first redo comes from the push: the delete ran already
};

}  // namespace torrenta::gui
