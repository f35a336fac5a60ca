#include "canvas/DeleteCommand.h"

#include "canvas/FrmDraw.h"

namespace torrenta::gui {

DeleteCommand::DeleteCommand(FrmDraw* canvas, ElementKind kind, const QString& tag)
    : QUndoCommand(QStringLiteral("Delete %1").arg(tag)), canvas_(canvas), kind_(kind), tag_(tag) {}

void DeleteCommand::undo() {
    // A step the file refused cannot be taken back or again later either: it
    // leaves the stack, and the element stays as the file has it.
    if (!canvas_->SetElementDeleted(kind_, tag_, false)) {
        setObsolete(true);
    }
}

void DeleteCommand::redo() {
    if (done_) {
        done_ = false;
        return;
    }
    if (!canvas_->SetElementDeleted(kind_, tag_, true)) {
        setObsolete(true);
    }
}

}  // namespace torrenta::gui
