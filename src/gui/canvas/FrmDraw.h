#pragma once

#include <QMainWindow>

class QGraphicsScene;
class QGraphicsView;
class QToolBar;

namespace torrenta::gui {

class MDIFrmMain;

// The canvas of the open project, with its own menus and toolbar. It shows
// inside the main window while a project is open.
class FrmDraw : public QMainWindow {
    Q_OBJECT
  public:
    FrmDraw(MDIFrmMain* host, QWidget* parent);

    enum class LoadOutcome { Loaded, NeedsSetup };

    // Reads the bound project onto the canvas and makes its node's table the
    // current intensity table. A project without a node row is not loaded: it
    // still needs its setup.
    LoadOutcome LoadNetwork();

    QGraphicsScene* Scene() const { return scene_; }

  private:
    void CreateMenus();
    void CreateToolbar();

    void MnuChangeTable_Click();
    void MnuEditTable_Click();
    void MnuProjectInfo_Click();
    void MnuEditBasin_Click();
    void MnuHelpReportBug_Click();
    void MnuHelpAbout_Click();

    MDIFrmMain* host_;
    QToolBar* toolbar_ = nullptr;
    QGraphicsScene* scene_ = nullptr;
    QGraphicsView* view_ = nullptr;
};

}  // namespace torrenta::gui
