#include "canvas/FrmDraw.h"

#include <QAction>
#include <QApplication>
#include <QGraphicsLineItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QMenuBar>
#include <QToolBar>
#include <QUndoStack>
#include <algorithm>
#include <cmath>

#include "canvas/DeleteCommand.h"
#include "canvas/IconCaption.h"
#include "common/CommandBoundary.h"
#include "common/Forms.h"
#include "common/Prompts.h"
#include "common/QtText.h"
#include "common/Session.h"
#include "common/SvgIcon.h"
#include "common/Twips.h"
#include "common/UserSettings.h"
#include "detention/FrmDetention.h"
#include "editing/ElementAdding.h"
#include "editing/ElementEditing.h"
#include "editing/TravelTimeRecalc.h"
#include "editors/ChannelFlowDialog.h"
#include "editors/OverlandFlowDialog.h"
#include "editors/ShallowFlowDialog.h"
#include "feedback/FrmAbout.h"
#include "feedback/FrmBugReport.h"
#include "intensity/FrmIntensityTable.h"
#include "intensity/FrmNodeInfo.h"
#include "intensity/FrmRainfallCurves.h"
#include "intensity/FrmSelectIvalBasin.h"
#include "network/NetworkRows.h"
#include "report/FrmViewReport.h"
#include "report/ReportComposer.h"
#include "store/ProjectFile.h"
#include "store/ProjectSetup.h"
#include "text/NumberText.h"

namespace torrenta::gui {

namespace {

QAction* Entry(QMenu* menu, const char* name, const char* text) {
    QAction* action = menu->addAction(QString::fromLatin1(text));
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

constexpr std::array<ElementKind, 3> kKinds = {ElementKind::Overland, ElementKind::Shallow,
                                               ElementKind::Channel};

int Slot(ElementKind kind) {
    return static_cast<int>(kind);
}

IconKind IconKindOf(ElementKind kind) {
    switch (kind) {
        case ElementKind::Overland:
            return IconKind::Overland;
        case ElementKind::Shallow:
            return IconKind::Shallow;
        case ElementKind::Channel:
            break;
    }
    return IconKind::Channel;
}

ElementKind ElementKindOf(IconKind kind) {
    return kind == IconKind::Overland  ? ElementKind::Overland
           : kind == IconKind::Shallow ? ElementKind::Shallow
                                       : ElementKind::Channel;
}

// Stored positions are single-precision numbers written as text.
double StoredCoordinate(const std::string& text) {
    return static_cast<float>(LeadingNumber(text));
}

QPen ConnectionPen() {
    QPen pen(QColor(0x1f, 0x3a, 0x93));
    pen.setWidthF(2);
    pen.setCosmetic(true);
    return pen;
}

QMenu* AddMenu(QMenuBar* bar, const char* name, const char* title) {
    QMenu* menu = bar->addMenu(QString::fromLatin1(title));
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

}  // namespace

FrmDraw::FrmDraw(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("FrmDraw"));
    setWindowFlags(Qt::Widget);
    undoStack_ = new QUndoStack(this);
    scene_ = new QGraphicsScene(this);
    scene_->setBackgroundBrush(Qt::white);
    view_ = new QGraphicsView(scene_, this);
    view_->setObjectName(QStringLiteral("DrawingArea"));
    view_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    view_->setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    // The scene is measured in twips, like every stored position.
    const double scale = view_->logicalDpiX() / kTwipsPerInch;
    view_->setTransform(QTransform::fromScale(scale, scale));
    setCentralWidget(view_);
    CreateMenus();
    CreateToolbar();
    CreatePopupMenus();
    CreateTemplates();
}

void FrmDraw::CreateMenus() {
    QMenuBar* bar = menuBar();
    bar->setNativeMenuBar(false);

    QMenu* file = AddMenu(bar, "MnuFile", "File");
    connect(Entry(file, "MnuNew", "New"), &QAction::triggered, this, &FrmDraw::NewRequested);
    connect(Entry(file, "MnuOpen", "Open"), &QAction::triggered, this, &FrmDraw::OpenRequested);
    connect(Entry(file, "MnuFileClose", "Close"), &QAction::triggered, this,
            &FrmDraw::CloseRequested);
    fileMenuEnd_ = file->addSeparator();
    fileMenuEnd_->setObjectName(QStringLiteral("MnuSeperator1"));
    fileMenu_ = file;
    connect(Entry(file, "MnuExit", "Exit"), &QAction::triggered, this, &FrmDraw::ExitRequested);
    CreateEditAndViewMenus(bar);

    QMenu* intensity = AddMenu(bar, "MnuIntensity", "Intensity");
    connect(Entry(intensity, "MnuChangeTable", "Change Table"), &QAction::triggered, this,
            &FrmDraw::MnuChangeTable_Click);
    connect(Entry(intensity, "MnuEditTable", "Edit Table"), &QAction::triggered, this,
            &FrmDraw::MnuEditTable_Click);
    connect(Entry(intensity, "MnuRainfallCurves", "Rainfall Curves"), &QAction::triggered, this,
            &FrmDraw::MnuRainfallCurves_Click);

    QMenu* data = AddMenu(bar, "MnuData", "Data");
    connect(Entry(data, "MnuProjectInfo", "Project Info"), &QAction::triggered, this,
            &FrmDraw::ProjectInfoRequested);
    connect(Entry(data, "MnuAddSubBasin", "Add Overland Flow"), &QAction::triggered, this,
            &FrmDraw::AddOverlandFlow);
    connect(Entry(data, "MnuAddSCF", "Add Shallow Concentrated Flow"), &QAction::triggered, this,
            &FrmDraw::AddShallowFlow);
    connect(Entry(data, "MnuAddChanelFlow", "Add Channel Flow"), &QAction::triggered, this,
            &FrmDraw::AddChannelFlow);
    connect(Entry(data, "MnuEditBasin", "Edit Basin"), &QAction::triggered, this,
            &FrmDraw::MnuEditBasin_Click);
    connect(Entry(data, "MnuRecalculate", "Recalculate Travel Times"), &QAction::triggered, this,
            &FrmDraw::MnuRecalculate_Click);
    connect(Entry(data, "MnuDetention", "Detention..."), &QAction::triggered, this,
            &FrmDraw::MnuDetention_Click);
    data->addSeparator()->setObjectName(QStringLiteral("MnuSeperator2"));
    connect(Entry(data, "MnuSolve", "Solve"), &QAction::triggered, this, &FrmDraw::MnuSolve_Click);

    QMenu* help = AddMenu(bar, "mnuHelp", "About");
    // Help topics and the wish list have nothing behind them yet.
    Entry(help, "MnuTorrentaHelp", "Torrenta Help")->setEnabled(false);
    connect(Entry(help, "mnuHelpReportBug", "Submit Comments"), &QAction::triggered, this,
            &FrmDraw::MnuHelpReportBug_Click);
    Entry(help, "mnuHelpWish", "Submit to Wish List")->setEnabled(false);
    help->addSeparator()->setObjectName(QStringLiteral("mnuHelpSeperator1"));
    connect(Entry(help, "MnuHelpAbout", "About"), &QAction::triggered, this,
            &FrmDraw::MnuHelpAbout_Click);
}

void FrmDraw::CreateEditAndViewMenus(QMenuBar* bar) {
    QMenu* edit = AddMenu(bar, "MnuEdit", "Edit");
    QAction* undo = Entry(edit, "MnuUndoDelete", "Undo Delete");
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    undo->setEnabled(false);
    connect(undo, &QAction::triggered, this, &FrmDraw::MnuUndoDelete_Click);
    connect(undoStack_, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    QAction* redo = Entry(edit, "MnuRedoDelete", "Redo Delete");
    redo->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    redo->setEnabled(false);
    connect(redo, &QAction::triggered, undoStack_, &QUndoStack::redo);
    connect(undoStack_, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);

    QMenu* view = AddMenu(bar, "MnuView", "View");
    viewNames_ = Entry(view, "MnuViewNames", "Show Names");
    viewNames_->setCheckable(true);
    viewNames_->setChecked(UserSettings().value(QStringLiteral("Canvas/ShowNames"), true).toBool());
    connect(viewNames_, &QAction::toggled, this, &FrmDraw::MnuViewNames_Toggled);
}

void FrmDraw::CreateToolbar() {
    toolbar_ = addToolBar(QStringLiteral("Toolbar"));
    toolbar_->setObjectName(QStringLiteral("TbDraw"));
    toolbar_->setMovable(false);
    toolbar_->setIconSize(QSize(24, 24));
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    struct Button {
        const char* name;
        const char* caption;
        const char* icon;
        const char* tip;
        const char* menuAction;  // the menu entry the button stands for
    };
    const Button buttons[] = {
        {"TbDraw_Open", "&Open", "open", "Open Existing Project", "MnuOpen"},
        {"TbDraw_New", "&New", "new", "Start a New Project", "MnuNew"},
        {"TbDraw_Close", "&Close", "close", "Close this Project", "MnuFileClose"},
        {nullptr, nullptr, nullptr, nullptr, nullptr},
        {"TbDraw_Overland", "O&verland", "overland", "Add Overland Flow", "MnuAddSubBasin"},
        {"TbDraw_Surface", "S&urface", "surface", "Add Shallow Concentrated Flow", "MnuAddSCF"},
        {"TbDraw_Channel", "C&hannel", "channel", "Add New Channel", "MnuAddChanelFlow"},
        {nullptr, nullptr, nullptr, nullptr, nullptr},
        {"TbDraw_Intensity", "&Intensity", "intensity", "Edit Intensity Table", "MnuEditTable"},
        {"TbDraw_Project", "&Project", "project", "Edit Project Information", "MnuProjectInfo"},
        {nullptr, nullptr, nullptr, nullptr, nullptr},
        {"TbDraw_Solve", "&Solve", "solve", "Solve System", "MnuSolve"},
        {"TbDraw_Report", "Report", "report", nullptr, nullptr},
    };
    for (const Button& button : buttons) {
        if (button.name == nullptr) {
            toolbar_->addSeparator();
            continue;
        }
        auto* action = new QAction(
            SvgIcon(QStringLiteral(":/icons/%1.svg").arg(QString::fromLatin1(button.icon))),
            QString::fromLatin1(button.caption), toolbar_);
        action->setObjectName(QString::fromLatin1(button.name));
        toolbar_->addAction(action);
        if (button.menuAction == nullptr) {
            action->setEnabled(false);
            continue;
        }
        action->setToolTip(QString::fromLatin1(button.tip));
        // The caption's access key works from the keyboard as Alt+letter.
        action->setShortcut(QKeySequence::mnemonic(action->text()));
        auto* menuAction = findChild<QAction*>(QString::fromLatin1(button.menuAction));
        connect(action, &QAction::triggered, menuAction, &QAction::trigger);
    }
}

void FrmDraw::CreatePopupMenus() {
    struct Popup {
        IconKind kind;
        const char* name;
        const char* title;
        const char* nameEntry;
        const char* nameCaption;
        const char* separator;
        const char* deleteEntry;
        const char* deleteCaption;
        const char* editEntry;
        const char* editCaption;
    };
    const Popup popups[] = {
        {IconKind::Overland, "MnuPopBasin", "PopMenuBasin", "MnuBasinName", "Basin Name",
         "MnuBasinSeperator1", "Mnu_Basin_Delete", "Delete Overland", "Mnu_Basin_Edit",
         "Edit Data"},
        {IconKind::Shallow, "MnuPopSurface", "PopMenuSurface", "MnuSurfaceName", "Surface Name",
         "MnuPopSurfaceSeperator1", "MnuPopDeleteSurface", "Delete Surface", "MnuPopEditSurface",
         "Edit Data"},
        {IconKind::Channel, "MnuPopChannel", "PopMenuChannel", "MnuChannelName", "Channel Name",
         "PopMenuChannelSeperator1", "MnuPopDeleteChannel", "Delete Channel", "MnuPopEditChannel",
         "Edit Data"},
        {IconKind::Node, "MnuPopNode", "PopMenuNode", "MnuNodeName", "Node Name",
         "MnuNodeSeperator1", nullptr, nullptr, "Mnu_Node_Edit", "Edit Basin Data"},
    };
    for (const Popup& popup : popups) {
        auto* menu = new QMenu(QString::fromLatin1(popup.title), this);
        menu->setObjectName(QString::fromLatin1(popup.name));
        // The first entry only shows whose menu it is.
        Entry(menu, popup.nameEntry, popup.nameCaption)->setEnabled(false);
        menu->addSeparator()->setObjectName(QString::fromLatin1(popup.separator));
        if (popup.deleteEntry != nullptr) {
            const ElementKind kind = ElementKindOf(popup.kind);
            connect(Entry(menu, popup.deleteEntry, popup.deleteCaption), &QAction::triggered, this,
                    [this, kind] { DeleteSelected(kind); });
            connect(Entry(menu, popup.editEntry, popup.editCaption), &QAction::triggered, this,
                    [this, kind] { EditSelected(kind); });
        } else {
            connect(Entry(menu, popup.editEntry, popup.editCaption), &QAction::triggered, this,
                    &FrmDraw::MnuEditBasin_Click);
        }
        popups_[static_cast<int>(popup.kind)] = menu;
    }
}

void FrmDraw::CreateTemplates() {
    for (ElementKind kind : kKinds) {
        const IconPosition start = IconPlacement::TemplatePosition(kind);
        IconItem* pattern = MakeIcon(IconKindOf(kind), 0, QPointF(start.left, start.top));
        pattern->setVisible(false);
        icons_[Slot(kind)] = {pattern};
    }
    node_ = MakeIcon(IconKind::Node, 0, QPointF(5040, 5160));
    auto* line = scene_->addLine(600, 360, 1440, 360, ConnectionPen());
    line->setVisible(false);
    lines_ = {line};
}

IconItem* FrmDraw::MakeIcon(IconKind kind, int index, QPointF position) {
    auto* icon = new IconItem(kind, index, this);
    icon->setPos(position);
    icon->SetCaptionShown(viewNames_ == nullptr || viewNames_->isChecked());
    scene_->addItem(icon);
    return icon;
}

FrmDraw::LoadOutcome FrmDraw::LoadNetwork() {
    Session& session = CurrentSession();
    // Every drag, add and solve writes the file: a read-only project is
    // refused here with one message rather than one per click.
    RequireWritableProject(session.ProjectPath);
    for (ElementKind kind : {ElementKind::Overland, ElementKind::Channel, ElementKind::Shallow}) {
        LoadIcons(kind);
    }
    const std::optional<NodeRow> node = ReadNode(session.ProjectPath);
    if (!node) {
        return LoadOutcome::NeedsSetup;
    }
    node_->setPos(StoredCoordinate(node->NodeX), StoredCoordinate(node->NodeY));
    ShowNodeCaption(node->NodeName);
    session.IntensityTableName = node->IntensityTable;
    Connect_Basin_Node();
    FitScene();
    return LoadOutcome::Loaded;
}

void FrmDraw::LoadIcons(ElementKind kind) {
    QVector<IconItem*>& icons = icons_[Slot(kind)];
    for (const IconRow& row : ReadIconRows(CurrentSession().ProjectPath, kind)) {
        IconItem* icon = MakeIcon(IconKindOf(kind), static_cast<int>(icons.size()),
                                  QPointF(StoredCoordinate(row.left), StoredCoordinate(row.top)));
        icon->SetTag(ToQ(row.tag));
        ShowCaption(*icon, row);
        icon->setVisible(IsLive(row.deleted));
        icons.append(icon);
    }
}

void FrmDraw::Connect_Basin_Node() {
    for (qsizetype i = 1; i < lines_.size(); ++i) {
        delete lines_[i];
    }
    lines_.resize(1);
    const QPointF to = node_->Centre();
    for (ElementKind kind : {ElementKind::Overland, ElementKind::Channel, ElementKind::Shallow}) {
        for (const IconItem* icon : icons_[Slot(kind)]) {
            if (icon->isVisible()) {
                const QPointF from = icon->Centre();
                QGraphicsLineItem* line = scene_->addLine(QLineF(from, to), lines_[0]->pen());
                line->setZValue(0);
                lines_.append(line);
            }
        }
    }
}

int FrmDraw::ArrayCount(ElementKind kind) const {
    return static_cast<int>(icons_[Slot(kind)].size());
}

int FrmDraw::VisibleCount(ElementKind kind) const {
    const QVector<IconItem*>& icons = icons_[Slot(kind)];
    return static_cast<int>(std::count_if(icons.begin(), icons.end(),
                                          [](const IconItem* icon) { return icon->isVisible(); }));
}

const QVector<IconItem*>& FrmDraw::Icons(ElementKind kind) const {
    return icons_[Slot(kind)];
}

void FrmDraw::AddOverlandFlow() {
    AddElement(ElementKind::Overland);
}

void FrmDraw::AddShallowFlow() {
    AddElement(ElementKind::Shallow);
}

void FrmDraw::AddChannelFlow() {
    AddElement(ElementKind::Channel);
}

void FrmDraw::AddElement(ElementKind kind) {
    if (VisibleCount(kind) > kMaxLiveElements - 1) {
        ShowMessage(this, ToQ(MaximumReachedText(kind)), QStringLiteral("Maximum Reached"));
        return;
    }
    ShowAddDialog(kind);
}

FrmDraw::NewIcon FrmDraw::PlaceNewIcon(ElementKind kind) {
    QVector<IconItem*>& icons = icons_[Slot(kind)];
    const int index = static_cast<int>(icons.size());
    // What each icon covers on the canvas now, its name included.
    std::vector<IconBox> taken;
    const auto cover = [&](const QGraphicsItem* item) {
        const QRectF box =
            item->mapRectToScene(item->boundingRect() | item->childrenBoundingRect());
        taken.push_back({static_cast<int>(box.left()), static_cast<int>(box.top()),
                         static_cast<int>(box.right()) + 1, static_cast<int>(box.bottom()) + 1});
    };
    for (const auto& each : icons_) {
        // Index 0 is the hidden cursor itself.
        for (int i = 1; i < each.size(); ++i) {
            cover(each[i]);
        }
    }
    cover(node_);
    const IconPosition position = placement_[Slot(kind)].NextFree(index, taken);
    icons[0]->setPos(position.left, position.top);
    IconItem* icon = MakeIcon(IconKindOf(kind), index, QPointF(position.left, position.top));
    // A reopened project's purged rows can leave the plain word-and-index tag
    // in use; the store picks the next free one then.
    icon->SetTag(ToQ(NextElementTag(CurrentSession().ProjectPath, kind, index)));
    icons.append(icon);
    Connect_Basin_Node();
    FitScene();
    return {icon->Tag(), position.left, position.top, index};
}

void FrmDraw::PlaceAndInsert(ElementKind kind, const std::function<void(const NewIcon&)>& insert) {
    const NewIcon icon = PlaceNewIcon(kind);
    try {
        insert(icon);
    } catch (...) {
        icons_[Slot(kind)].constLast()->setVisible(false);
        Connect_Basin_Node();
        throw;
    }
    SyncNames();
}

void FrmDraw::AddNewElement(ElementKind kind, const AddRow& add) {
    PlaceAndInsert(kind, [&](const NewIcon& icon) {
        // The row's tag is the one the store gives it; the icon carries it.
        const std::string tag = add(icon.index, {icon.left, icon.top});
        icons_[Slot(kind)].constLast()->SetTag(ToQ(tag));
    });
}

void FrmDraw::Img_MouseDown(IconItem& icon, Qt::MouseButton button, QPointF position, QPoint) {
    selected_ = &icon;
    CurrentSession().SelectedIcon = icon.Tag();
    for (const auto& icons : icons_) {
        for (IconItem* each : icons) {
            each->SetMarked(false);
        }
    }
    node_->SetMarked(false);
    icon.SetMarked(true);

    if (button == Qt::LeftButton) {
        // Whole twips, halves to even.
        dragX_ = static_cast<int>(std::nearbyint(position.x()));
        dragY_ = static_cast<int>(std::nearbyint(position.y()));
        icon.setZValue(++topZ_);
    } else if (button == Qt::RightButton) {
        // The menu names the element as the file holds it now, so a rename in
        // an open edit dialog shows at once.
        pendingPopup_ = RunCommand(this, [&] {
            const std::string& project = CurrentSession().ProjectPath;
            std::optional<std::string> name;
            if (icon.Kind() == IconKind::Node) {
                const std::optional<NodeRow> node = ReadNode(project);
                name = node ? std::optional<std::string>(node->NodeName) : std::nullopt;
            } else {
                name = ReadElementName(project, ElementKindOf(icon.Kind()), FromQ(icon.Tag()));
            }
            // A caption's "&" marks its access key: doubled, it shows as typed.
            PopupFor(icon.Kind())
                ->actions()
                .constFirst()
                ->setText(ToQ(name.value_or("")).replace(u'&', QStringLiteral("&&")));
        });
    }
}

void FrmDraw::Img_MouseMove(IconItem& icon, Qt::MouseButtons buttons, QPointF position) {
    if (buttons != Qt::LeftButton) {
        return;
    }
    icon.setPos(icon.Left() + position.x() - dragX_, icon.Top() + position.y() - dragY_);
    Connect_Basin_Node();
}

void FrmDraw::Img_MouseUp(IconItem& icon, Qt::MouseButton button, QPoint screenPosition) {
    if (selected_ != nullptr) {
        WritePosition(*selected_);
    }
    FitScene();
    if (button == Qt::RightButton && pendingPopup_) {
        pendingPopup_ = false;
        CurrentPrompts().PopupMenu(PopupFor(icon.Kind()), screenPosition);
    }
}

void FrmDraw::WritePosition(const IconItem& icon) {
    // Positions are stored as the text of the single-precision coordinate.
    const std::string left = SingleText(static_cast<float>(icon.Left()));
    const std::string top = SingleText(static_cast<float>(icon.Top()));
    RunCommand(this, [&] {
        const std::string& project = CurrentSession().ProjectPath;
        if (icon.Kind() == IconKind::Node) {
            UpdateNodePosition(project, left, top);
        } else {
            UpdateElementPosition(project, ElementKindOf(icon.Kind()), FromQ(icon.Tag()), left,
                                  top);
        }
    });
}

void FrmDraw::DeleteSelected(ElementKind kind) {
    if (selected_ == nullptr || selected_->Kind() != IconKindOf(kind)) {
        return;
    }
    const QString tag = selected_->Tag();
    if (SetElementDeleted(kind, tag, true)) {
        undoStack_->push(new DeleteCommand(this, kind, tag));
    }
}

bool FrmDraw::SetElementDeleted(ElementKind kind, const QString& tag, bool deleted) {
    const bool written = RunCommand(this, [&] {
        const std::string& project = CurrentSession().ProjectPath;
        if (deleted) {
            SoftDeleteElement(project, kind, FromQ(tag));
        } else {
            RestoreElement(project, kind, FromQ(tag));
        }
    });
    if (written) {
        if (IconItem* icon = FindIcon(kind, tag)) {
            icon->setVisible(!deleted);
        }
        Connect_Basin_Node();
    }
    return written;
}

IconItem* FrmDraw::FindIcon(ElementKind kind, const QString& tag) const {
    const QVector<IconItem*>& icons = icons_[Slot(kind)];
    // Element 0 is the template and stands for no row.
    const auto found = std::find_if(icons.begin() + 1, icons.end(),
                                    [&](IconItem* icon) { return icon->Tag() == tag; });
    return found != icons.end() ? *found : nullptr;
}

void FrmDraw::MnuUndoDelete_Click() {
    const auto* next =
        dynamic_cast<const DeleteCommand*>(undoStack_->command(undoStack_->index() - 1));
    if (next == nullptr) {
        return;
    }
    // Taking a delete back adds a live element like Add does, within the same limit.
    if (VisibleCount(next->Kind()) > kMaxLiveElements - 1) {
        ShowMessage(this, ToQ(MaximumReachedText(next->Kind())), QStringLiteral("Maximum Reached"));
        return;
    }
    undoStack_->undo();
}

void FrmDraw::MnuViewNames_Toggled(bool shown) {
    UserSettings().setValue(QStringLiteral("Canvas/ShowNames"), shown);
    node_->SetCaptionShown(shown);
    for (const auto& icons : icons_) {
        for (IconItem* icon : icons) {
            icon->SetCaptionShown(shown);
        }
    }
    FitScene();
}

void FrmDraw::ShowCaption(IconItem& icon, const IconRow& row) {
    const QString name = ToQ(row.name);
    icon.SetCaption(IconCaption(name), IconToolTip(icon.Kind(), name, ToQ(row.tag), ToQ(row.tc)));
}

void FrmDraw::ShowNodeCaption(const std::string& name) {
    node_->SetCaption(IconCaption(ToQ(name)), IconToolTip(IconKind::Node, ToQ(name)));
}

void FrmDraw::SyncNames() {
    RunCommand(this, [this] {
        const std::string& project = CurrentSession().ProjectPath;
        for (ElementKind kind : kKinds) {
            for (const IconRow& row : ReadIconRows(project, kind)) {
                if (IconItem* icon = FindIcon(kind, ToQ(row.tag))) {
                    ShowCaption(*icon, row);
                }
            }
        }
        if (const std::optional<NodeRow> node = ReadNode(project)) {
            ShowNodeCaption(node->NodeName);
        }
    });
}

void FrmDraw::FollowEdits(QObject* form) {
    connect(form, &QObject::destroyed, this, &FrmDraw::FormClosed, Qt::UniqueConnection);
}

void FrmDraw::FormClosed() {
    // A canvas on its way out after Close or a switch of projects has nothing
    // left to show, and its project may no longer be the bound one.
    if (isVisible()) {
        SyncNames();
    }
}

void FrmDraw::Img_DblClick(IconItem& icon) {
    if (icon.Kind() == IconKind::Node) {
        MnuEditBasin_Click();
    } else {
        EditSelected(ElementKindOf(icon.Kind()));
    }
}

void FrmDraw::MnuSolve_Click() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Session& session = CurrentSession();
    NetworkFlags flags;
    const bool solved = RunCommand(this, [&] {
        flags = SolveNetwork(session.ProjectPath);
        session.HasOverland = flags.HasOverland;
        session.HasChannel = flags.HasChannel;
        session.HasShallow = flags.HasShallow;
        if (flags.Any()) {
            FrmViewReport::ShowReport(flags);
        }
    });
    QApplication::restoreOverrideCursor();
    if (solved && !flags.Any()) {
        ShowMessage(this, QStringLiteral("Nothing to Solve"), QStringLiteral("Error"),
                    QMessageBox::Warning);
    }
}

void FrmDraw::FitScene() {
    // The canvas starts at the top-left corner and grows to hold icons dragged
    // far right or down; icons dragged above or left of it stay stored there.
    const QRectF items = scene_->itemsBoundingRect();
    scene_->setSceneRect(0, 0, std::max(15000.0, items.right() + 720),
                         std::max(11000.0, items.bottom() + 720));
}

void FrmDraw::ShowAddDialog(ElementKind kind) {
    switch (kind) {
        case ElementKind::Overland:
            Forms::Show<FrmBasInfo>(FormScope::Project, this);
            return;
        case ElementKind::Shallow:
            Forms::Show<FrmSurfaceAddInfo>(FormScope::Project, this);
            return;
        case ElementKind::Channel:
            Forms::Show<FrmChannelAddInfo>(FormScope::Project, this);
            return;
    }
}

void FrmDraw::EditSelected(ElementKind kind) {
    switch (kind) {
        case ElementKind::Overland:
            FollowEdits(Forms::Show<FrmBasUpdate>(FormScope::Project));
            return;
        case ElementKind::Shallow:
            FollowEdits(Forms::Show<FrmSurfaceUpdateInfo>(FormScope::Project));
            return;
        case ElementKind::Channel:
            FollowEdits(Forms::Show<FrmChannelUpdateInfo>(FormScope::Project));
            return;
    }
}

QMenu* FrmDraw::PopupFor(IconKind kind) const {
    return popups_[static_cast<int>(kind)];
}

void FrmDraw::MnuChangeTable_Click() {
    // An open selection dialog comes up as it is: one opened by the setup
    // dialog still hands its choice there.
    // A new table gives new sheet-flow times, which the tool tips show.
    FollowEdits(Forms::Show<FrmSelectIvalBasin>(FormScope::Project));
}

void FrmDraw::MnuEditTable_Click() {
    // A save there may recalculate the sheet-flow times the tool tips show.
    FollowEdits(Forms::Show<FrmIntensityTable>(FormScope::Project));
}

void FrmDraw::MnuRainfallCurves_Click() {
    RunCommand(this, [] { Forms::Show<FrmRainfallCurves>()->ShowCurrentTable(); });
}

void FrmDraw::MnuEditBasin_Click() {
    FollowEdits(Forms::Show<FrmNodeInfo>(FormScope::Project));
}

void FrmDraw::MnuRecalculate_Click() {
    const Session& session = CurrentSession();
    TravelTimeRecalc recalc;
    if (!RunCommand(this, [&] {
            recalc = RecalculateTravelTimes(session.ProjectPath, session.AppFolder);
        })) {
        return;
    }
    SyncNames();
    ShowMessage(this, ToQ(TravelTimeChangesText(recalc)),
                QStringLiteral("Recalculate Travel Times"), QMessageBox::Information);
}

void FrmDraw::MnuDetention_Click() {
    Forms::Show<FrmDetention>(FormScope::Project);
}

void FrmDraw::MnuHelpReportBug_Click() {
    Forms::Show<FrmBugReport>();
}

void FrmDraw::MnuHelpAbout_Click() {
    Forms::Show<FrmAbout>();
}

}  // namespace torrenta::gui
