#pragma once

#include <QProxyStyle>

class QStyleOptionToolBar;

namespace torrenta::gui {

// The platform's style, changed where Qt's way of drawing costs the program's
// start more than its pixels are worth:
// - The menu bars' and toolbars' overflow arrows ("more") are the program's
//   own SVG pictures. Qt's are PNG files, and reading the first PNG makes Qt
//   load every image-format plugin (GIF, ICO, JPEG, SVG) to ask each whether
//   it reads PNG: about a millisecond of every start, for arrows that show
//   only when a bar is too narrow.
// - Under the Fusion style, a top toolbar's light and dark edge lines are
//   filled as one-pixel rows instead of drawn as lines. Qt draws a line as
//   one-pixel pieces and hands batches of them to worker threads, so the
//   two lines across an 800-pixel window started two threads and 36 tasks
//   on each paint; the rows give the same pixels in one pass.
class AppStyle : public QProxyStyle {
  public:
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;

  private:
    bool DrawsTopToolBar(const QStyleOptionToolBar* bar, const QWidget* widget) const;
};

}  // namespace torrenta::gui
