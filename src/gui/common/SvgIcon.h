#pragma once

#include <QIcon>
#include <QString>

namespace torrenta::gui {

// An icon drawn from one of the program's SVG pictures at the sizes toolbars
// and title bars use. Drawn here rather than through Qt's SVG icon plugin,
// whose loading alone would slow every start of the program.
QIcon SvgIcon(const QString& resource);

}  // namespace torrenta::gui
