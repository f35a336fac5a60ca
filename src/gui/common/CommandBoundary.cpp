#include "common/CommandBoundary.h"

#include <exception>

#include "common/Prompts.h"

namespace torrenta::gui {

bool RunCommand(QWidget* parent, const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const std::exception& error) {
        ShowMessage(parent, QString::fromUtf8(error.what()), QStringLiteral("Error"),
                    QMessageBox::Critical);
    }
    return false;
}

}  // namespace torrenta::gui
