#pragma once

#include <QMainWindow>
#include <QPointer>

class QMenu;
class QStackedWidget;
class QToolBar;

namespace torrenta::gui {

class FrmDraw;
class FrmOpen;

// The main window. It shows the start picture while no project is open and the
// canvas while one is; the file commands of both windows run here, so a
// project is created, opened and closed the same way from either.
class MDIFrmMain : public QMainWindow {
    Q_OBJECT
  public:
    explicit MDIFrmMain(QWidget* parent = nullptr);
    ~MDIFrmMain() override;

    // The one main window of the run (nullptr before it exists).
    static MDIFrmMain* Instance();

    void FileNew();
    void FileOpen();
    // File Open without the dialog: closes the open project and opens `file`
    // (the program started with a project's name, a file manager's double click).
    void OpenProjectFile(const QString& file);
    // Closes the open project: purges its deleted rows and shows the start
    // picture again; a new project still in its setup is dropped with its
    // draft. Only a report window keeping its edits (the user said No) stops
    // it.
    void FileClose();
    void FileExit();

    // Adds the "Recent Projects" entry to a File menu, before `before`; its
    // list is read from the settings each time it opens.
    void AddRecentProjectsMenu(QMenu* file, QAction* before);
    // Opens a project from the recent list; a file that has gone leaves the
    // list with a message, and the open project stays open.
    void OpenRecentProject(const QString& file);

    // Opens the canvas on the bound project; a project without its node row is
    // sent to the setup dialog instead. Brings an open canvas to the front.
    void ShowCanvas();

    FrmDraw* Canvas() const;

    // The project setup dialog; its OK opens the canvas.
    void ShowProjectSetup();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // Closes the report window, which asks before dropping edits; false when
    // it stays open.
    bool ReportLetsGo();
    void ShowProjectInTitle(bool open);
    // Drops a new project whose setup was left without OK: its draft is
    // removed and no project is bound. Does nothing otherwise.
    void DiscardNewProject();
    // File New onto a file that is already a project asks first; true to go on.
    bool ConfirmReplacingProject(const QString& file);
    void CreateMenu();
    void CreateToolbar();
    void ShowStartWindow();
    void SetCentre(QWidget* widget);
    void FillRecentProjects(QMenu* menu);

    QToolBar* toolbar_ = nullptr;
    QStackedWidget* centre_ = nullptr;
    QPointer<FrmOpen> start_;
    QPointer<FrmDraw> canvas_;
};

}  // namespace torrenta::gui
