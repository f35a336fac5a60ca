#pragma once

#include <QMainWindow>
#include <QVector>
#include <array>
#include <functional>

#include "canvas/IconItem.h"
#include "common/ElementCanvas.h"
#include "network/IconPlacement.h"
#include "network/NetworkRows.h"

class QGraphicsLineItem;
class QGraphicsScene;
class QGraphicsView;
class QMenu;
class QMenuBar;
class QToolBar;
class QUndoStack;

namespace torrenta::gui {

// The canvas of the open project, with its own menus and toolbar, shown inside
// the main window while a project is open. It keeps one icon array per kind
// (element 0 the hidden template and placement cursor) and the connection
// lines; every change an icon undergoes goes straight to the project file.
// The File menu's entries and Project Info are the main window's business: the
// canvas asks for them by its signals.
class FrmDraw : public QMainWindow, public IconEvents, public ElementCanvas {
    Q_OBJECT
  public:
    explicit FrmDraw(QWidget* parent);

    enum class LoadOutcome { Loaded, NeedsSetup };

    // Builds the icons and lines from the bound project and makes its node's
    // table the current intensity table. A project without a node row is not
    // loaded: it still needs its setup. A read-only project is refused
    // (ProjectFileError).
    LoadOutcome LoadNetwork();

    // Redraws one line from the centre of every visible element icon to the
    // centre of the node.
    void Connect_Basin_Node();

    void AddOverlandFlow();
    void AddShallowFlow();
    void AddChannelFlow();

    // The icon of a new element: placed on the kind's cursor, tagged, joined to
    // the node.
    NewIcon PlaceNewIcon(ElementKind kind);

    // The add dialogs' confirmation: places the new element's icon and has
    // `insert` write its row with the icon's tag and position. An icon whose
    // row could not be written would stand for nothing: it is then hidden like
    // a deleted element, its line goes, and the error passes on.
    void PlaceAndInsert(ElementKind kind, const std::function<void(const NewIcon&)>& insert);

    // ElementCanvas
    int ArrayCount(ElementKind kind) const override;
    void AddNewElement(ElementKind kind, const AddRow& add) override;

    int VisibleCount(ElementKind kind) const;

    const QVector<IconItem*>& Icons(ElementKind kind) const;
    IconItem* NodeIcon() const { return node_; }
    // The connection lines, element 0 the hidden template.
    const QVector<QGraphicsLineItem*>& Lines() const { return lines_; }
    IconItem* SelectedIcon() const { return selected_; }
    QGraphicsView* View() const { return view_; }

    void MnuSolve_Click();

    // Shows every icon's name and tool tip as the file holds them now: after an
    // element was added, renamed or given a new Tc.
    void SyncNames();

    // Marks the element deleted (or live again) in the file, then hides (or
    // shows) its icon and redraws the lines. False when the file refused; the
    // message has been shown.
    bool SetElementDeleted(ElementKind kind, const QString& tag, bool deleted);

    // The deletes done since the project was opened, for Undo and Redo.
    QUndoStack* UndoStack() const { return undoStack_; }

    // IconEvents
    void Img_MouseDown(IconItem& icon, Qt::MouseButton button, QPointF position,
                       QPoint screenPosition) override;
    void Img_MouseMove(IconItem& icon, Qt::MouseButtons buttons, QPointF position) override;
    void Img_MouseUp(IconItem& icon, Qt::MouseButton button, QPoint screenPosition) override;
    void Img_DblClick(IconItem& icon) override;

    // Names shown on the canvas follow what the form wrote once it closes.
    void FollowEdits(QObject* form);

    // The File menu and the separator above Exit, where the main window adds
    // the recent projects.
    QMenu* FileMenu() const { return fileMenu_; }
    QAction* FileMenuEnd() const { return fileMenuEnd_; }

  signals:
    void NewRequested();
    void OpenRequested();
    void CloseRequested();
    void ExitRequested();
    void ProjectInfoRequested();

  private:
    void CreateMenus();
    void CreateEditAndViewMenus(QMenuBar* bar);
    void CreateToolbar();
    void CreatePopupMenus();
    void CreateTemplates();
    void LoadIcons(ElementKind kind);
    IconItem* MakeIcon(IconKind kind, int index, QPointF position);
    void WritePosition(const IconItem& icon);
    void DeleteSelected(ElementKind kind);
    void EditSelected(ElementKind kind);
    void AddElement(ElementKind kind);
    void ShowAddDialog(ElementKind kind);
    void FitScene();
    QMenu* PopupFor(IconKind kind) const;
    IconItem* FindIcon(ElementKind kind, const QString& tag) const;
    void ShowCaption(IconItem& icon, const IconRow& row);
    void ShowNodeCaption(const std::string& name);
    void FormClosed();

    void MnuChangeTable_Click();
    void MnuEditTable_Click();
    void MnuRainfallCurves_Click();
    void MnuEditBasin_Click();
    void MnuRecalculate_Click();
    void MnuDetention_Click();
    void MnuHelpReportBug_Click();
    void MnuHelpAbout_Click();
    void MnuUndoDelete_Click();
    void MnuViewNames_Toggled(bool shown);

    QToolBar* toolbar_ = nullptr;
    QGraphicsScene* scene_ = nullptr;
    QGraphicsView* view_ = nullptr;
    QUndoStack* undoStack_ = nullptr;
    QAction* viewNames_ = nullptr;

    std::array<QVector<IconItem*>, 3> icons_;  // by ElementKind
    std::array<IconPlacement, 3> placement_{IconPlacement(ElementKind::Overland),
                                            IconPlacement(ElementKind::Shallow),
                                            IconPlacement(ElementKind::Channel)};
    IconItem* node_ = nullptr;
    QVector<QGraphicsLineItem*> lines_;
    std::array<QMenu*, 4> popups_{};  // by IconKind

    IconItem* selected_ = nullptr;
    int dragX_ = 0;
    int dragY_ = 0;
    bool pendingPopup_ = false;
    double topZ_ = 1;
    QMenu* fileMenu_ = nullptr;
    QAction* fileMenuEnd_ = nullptr;
};

}  // namespace torrenta::gui
