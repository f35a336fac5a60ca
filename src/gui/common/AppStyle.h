#pragma once

#include <QProxyStyle>

namespace torrenta::gui {

// The platform's style with the program's own overflow arrows ("more") on
// the menu bars and toolbars. Qt's arrows are PNG files, and reading the
// first PNG makes Qt load every image-format plugin (GIF, ICO, JPEG, SVG) to
// ask each whether it reads PNG: about a millisecond of every start, spent
// on arrows that show only when a bar is too narrow. The program's SVG
// arrows are drawn only then.
class AppStyle : public QProxyStyle {
  public:
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

}  // namespace torrenta::gui
