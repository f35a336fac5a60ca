#include "intensity/FrmIntensityTable.h"

#include <QDate>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "common/CommandBoundary.h"
#include "common/FormWidgets.h"
#include "common/Forms.h"
#include "common/Prompts.h"
#include "common/QtText.h"
#include "common/Session.h"
#include "editing/TravelTimeRecalc.h"
#include "editors/NumericValidator.h"
#include "intensity/FrmIdfEquation.h"
#include "intensity/FrmRainfallCurves.h"
#include "intensity/FrmSelectIvalBasin.h"
#include "intensity/ProjectTableChange.h"
#include "rainfall/IdfCurves.h"
#include "rainfall/IntensityPlausibility.h"
#include "rainfall/NoaaAtlas14File.h"
#include "store/ProjectSetup.h"

namespace torrenta::gui {

namespace {

constexpr std::array<const char*, 7> kColumnLabels = {"1 yr",   "2 yrs",  "5 yrs",  "10 yrs",
                                                      "25 yrs", "50 yrs", "100 yrs"};

}  // namespace

FrmIntensityTable::FrmIntensityTable(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmIntensityTable"));
    setWindowTitle(QStringLiteral("Rainfall Intensity Table"));

    txtBasinName_ = NamedBox(this, QStringLiteral("TxtBasinName"));
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(
        NamedLabel(this, QStringLiteral("Label1"), QStringLiteral("Basin Name"), txtBasinName_));
    nameRow->addWidget(txtBasinName_, 1);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(4);
    for (int column = 0; column < 7; ++column) {
        auto* label = NamedLabel(this, QStringLiteral("LblPeriod%1").arg(column),
                                 QString::fromLatin1(kColumnLabels[column]));
        label->setAlignment(Qt::AlignCenter);
        grid->addWidget(label, 0, column + 1);
    }
    for (int row = 0; row < 10; ++row) {
        grid->addWidget(
            NamedLabel(this, QStringLiteral("LblDuration%1").arg(row), ToQ(kDurationLabels[row])),
            row + 1, 0);
        for (int column = 0; column < 7; ++column) {
            // Each column is one array of ten boxes: Text1 is the 1-year column.
            QLineEdit* cell = NamedBox(this, QStringLiteral("Text%1").arg(column + 1));
            cell->setProperty("index", row);
            cell->setAlignment(Qt::AlignRight);
            cell->setMinimumWidth(64);
            MakeNumericBox(cell);
            grid->addWidget(cell, row + 1, column + 1);
            cells_[column][row] = cell;
        }
    }

    txtSource_ = new QPlainTextEdit(this);
    txtSource_->setObjectName(QStringLiteral("TxtSource"));
    txtSource_->setReadOnly(true);
    txtSource_->setFixedHeight(txtSource_->fontMetrics().lineSpacing() * 3 + 12);

    QPushButton* select =
        NamedButton(this, QStringLiteral("CmdSelectBasin"), QStringLiteral("Change Basin"));
    QPushButton* add = NamedButton(this, QStringLiteral("CmdAdd"), QStringLiteral("Add New Basin"));
    QPushButton* update = NamedButton(this, QStringLiteral("CmdUpdate"), QStringLiteral("Update"));
    QPushButton* cancel = NamedButton(this, QStringLiteral("CmdCancel"), QStringLiteral("Cancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(select);
    buttons->addWidget(add);
    buttons->addStretch(1);
    buttons->addWidget(update);
    buttons->addWidget(cancel);

    QPushButton* importNoaa = NamedButton(this, QStringLiteral("CmdImportNoaa"),
                                          QStringLiteral("Import NOAA Atlas 14..."));
    QPushButton* fromEquation =
        NamedButton(this, QStringLiteral("CmdFromEquation"), QStringLiteral("From Equation..."));
    QPushButton* curves =
        NamedButton(this, QStringLiteral("CmdRainfallCurves"), QStringLiteral("Rainfall Curves"));
    auto* rainfallButtons = new QHBoxLayout;
    rainfallButtons->addWidget(importNoaa);
    rainfallButtons->addWidget(fromEquation);
    rainfallButtons->addStretch(1);
    rainfallButtons->addWidget(curves);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(nameRow);
    layout->addLayout(grid);
    layout->addWidget(
        NamedLabel(this, QStringLiteral("LblSource"), QStringLiteral("Source"), txtSource_));
    layout->addWidget(txtSource_);
    layout->addLayout(rainfallButtons);
    layout->addLayout(buttons);

    connect(select, &QPushButton::clicked, this, &FrmIntensityTable::CmdSelectBasin_Click);
    connect(add, &QPushButton::clicked, this, &FrmIntensityTable::CmdAdd_Click);
    connect(update, &QPushButton::clicked, this, &FrmIntensityTable::CmdUpdate_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::close);
    connect(importNoaa, &QPushButton::clicked, this, &FrmIntensityTable::CmdImportNoaa_Click);
    connect(fromEquation, &QPushButton::clicked, this, &FrmIntensityTable::CmdFromEquation_Click);
    connect(curves, &QPushButton::clicked, this, &FrmIntensityTable::CmdRainfallCurves_Click);

    LoadTableGrid();
}

void FrmIntensityTable::LoadTableGrid() {
    Session& session = CurrentSession();
    if (session.IntensityTableName.empty()) {
        session.IntensityTableName = kDefaultIntensityTable;
    }
    txtBasinName_->setText(ToQ(session.IntensityTableName));
    LockBox(txtBasinName_, true);
    RunCommand(this, [&] {
        const IntensityGrid grid = ReadIntensityGrid(session.AppFolder, session.IntensityTableName);
        for (int row = 0; row < 10; ++row) {
            for (int column = 0; column < 7; ++column) {
                cells_[column][row]->setText(ToQ(grid[row][column]));
            }
        }
        txtSource_->setPlainText(
            ToQ(IntensityTableSource(session.AppFolder, session.IntensityTableName)));
    });
    loadedName_ = txtBasinName_->text();
    loadedGrid_ = GridText();
    describedGrid_ = loadedGrid_;
}

bool FrmIntensityTable::MayDiscardEdits() {
    return (txtBasinName_->text() == loadedName_ && GridText() == loadedGrid_) ||
           ConfirmDiscardEdits(this);
}

void FrmIntensityTable::CmdAdd_Click() {
    for (const auto& column : cells_) {
        for (QLineEdit* cell : column) {
            cell->clear();
        }
    }
    txtSource_->clear();
    txtBasinName_->clear();
    LockBox(txtBasinName_, false);
    describedGrid_.reset();
    warnedGrid_.reset();
    adding_ = true;
    txtBasinName_->setFocus();
}

IntensityGrid FrmIntensityTable::GridText() const {
    IntensityGrid grid;
    for (int row = 0; row < 10; ++row) {
        for (int column = 0; column < 7; ++column) {
            grid[row][column] = FromQ(cells_[column][row]->text());
        }
    }
    return grid;
}

namespace {

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += (text.empty() ? "" : "\n") + line;
    }
    return text;
}

// The open project's table as opening the project reads it: the node row's.
// Empty without a project, or for a project not yet set up.
std::string ProjectTableName(const Session& session) {
    if (session.ProjectPath.empty()) {
        return {};
    }
    const auto node = ReadNode(session.ProjectPath);
    return node ? node->IntensityTable : std::string();
}

}  // namespace

// Every project shares the tables, so a new one never takes the place of one
// already there without the user's word. Add New Basin, an import and an
// equation all end here.
bool FrmIntensityTable::MayReplaceTable(const std::string& name) {
    const Session& session = CurrentSession();
    bool exists = false;
    bool projectsOwn = false;
    if (!RunCommand(this, [&] {
            exists = IntensityTableExists(session.AppFolder, name);
            projectsOwn = exists && SameIntensityTableName(ProjectTableName(session), name);
        })) {
        return false;
    }
    if (!exists) {
        return true;
    }
    QString text = QStringLiteral("A table named %1 exists. Replace it?").arg(ToQ(name));
    if (projectsOwn) {
        text += QStringLiteral("\n\nThe open project %1 uses it as its intensity table.")
                    .arg(QFileInfo(ToQ(session.ShownProjectPath())).fileName());
    }
    return CurrentPrompts().Message(this, text, windowTitle(), QMessageBox::Question,
                                    QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void FrmIntensityTable::CmdUpdate_Click() {
    bool anyEmpty = txtBasinName_->text().isEmpty();
    for (const auto& column : cells_) {
        for (const QLineEdit* cell : column) {
            anyEmpty = anyEmpty || cell->text().isEmpty();
        }
    }
    if (anyEmpty) {
        ShowMessage(this, QStringLiteral("Please fill all fields"), QStringLiteral("Error"));
        return;
    }
    const std::string name = FromQ(txtBasinName_->text());
    Session& session = CurrentSession();
    const IntensityGrid grid = GridText();
    if (!RunCommand(this, [&] {
            ValidateIntensityTableName(name);
            RequirePlausibleIntensities(grid, "The table " + name);
        })) {
        return;
    }
    if (adding_ && !MayReplaceTable(name)) {
        return;
    }
    const std::string today = FromQ(QDate::currentDate().toString(Qt::ISODate));
    bool projectsOwn = false;
    bool p2Changed = false;
    std::string stored;
    const bool saved = RunCommand(this, [&] {
        projectsOwn = SameIntensityTableName(ProjectTableName(session), name);
        p2Changed = projectsOwn && TwoYear24HourChanges(session.AppFolder, name, grid);
        // The shown Source replaces the stored one: it is the Source of the
        // values being saved, whatever table stood under this name before.
        SaveIntensityTable(
            session.AppFolder, name, grid,
            SourceForSavedCells(FromQ(txtSource_->toPlainText()), describedGrid_, grid, today),
            ExistingTable::Replace);
        stored = StoredIntensityTableName(session.AppFolder, name);
    });
    if (!saved) {
        return;
    }
    // Stored all the same: the engineer decides. Cells whose warnings the
    // import or equation already gave are not warned about twice.
    const std::vector<std::string> warnings = IntensityWarnings(grid);
    if (!warnings.empty() && warnedGrid_ != grid) {
        ShowMessage(this, ToQ(JoinLines(warnings)), windowTitle(), QMessageBox::Warning);
    }
    if (session.ProjectPath.empty()) {
        session.IntensityTableName = stored;
    } else {
        OfferTableToProject(stored, projectsOwn, p2Changed);
    }
    close();
}

// A saved table becomes the project's table only with the user's word; the
// sheet-flow travel times follow the project's table whenever it changes.
void FrmIntensityTable::OfferTableToProject(const std::string& name, bool projectsOwn,
                                            bool p2Changed) {
    Session& session = CurrentSession();
    if (!projectsOwn) {
        if (CurrentPrompts().Message(
                this, QStringLiteral("Use %1 for this project?").arg(ToQ(name)), windowTitle(),
                QMessageBox::Question, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes) {
            RunCommand(this, [&] { ChangeOpenProjectTable(this, name); });
        }
        return;
    }
    session.IntensityTableName = name;
    if (!p2Changed) {
        return;
    }
    TravelTimeRecalc recalc;
    if (RunCommand(this, [&] {
            recalc = RecalculateSheetFlowTimes(session.ProjectPath, session.AppFolder);
        })) {
        ShowSheetFlowRecalc(this, recalc);
    }
}

void FrmIntensityTable::CmdSelectBasin_Click() {
    // An open selection dialog comes up as it is, still serving whoever opened it.
    Forms::Show<FrmSelectIvalBasin>(FormScope::Project);
}

void FrmIntensityTable::ShowRainfallTable(const RainfallTable& table, const QString& title) {
    for (int row = 0; row < 10; ++row) {
        for (int column = 0; column < 7; ++column) {
            cells_[column][row]->setText(ToQ(table.grid[row][column]));
        }
    }
    txtSource_->setPlainText(ToQ(table.source));
    describedGrid_ = table.grid;
    // A table from outside is a new table until the user saves it: its name
    // is proposed, never locked, and Update asks before it replaces a table
    // of that name, whatever the editor showed before.
    txtBasinName_->setText(ToQ(table.proposedName));
    LockBox(txtBasinName_, false);
    adding_ = true;
    txtBasinName_->setFocus();
    txtBasinName_->selectAll();
    if (!table.warnings.empty()) {
        ShowMessage(this, ToQ(JoinLines(table.warnings)), title, QMessageBox::Warning);
    }
    warnedGrid_ = table.grid;
}

namespace {

// The values of the file to take: the estimates when it holds nothing else;
// otherwise the user's choice among the blocks it holds, nothing on Cancel. A
// file of bounds alone offers no estimates, so a bound is taken only by name.
std::optional<NoaaBlock> ChooseNoaaBlock(QWidget* parent, const QString& fileName,
                                         const std::vector<NoaaBlock>& held) {
    const auto holds = [&](NoaaBlock block) {
        return std::find(held.begin(), held.end(), block) != held.end();
    };
    if (!holds(NoaaBlock::Upper) && !holds(NoaaBlock::Lower)) {
        return NoaaBlock::Estimates;
    }
    struct Offer {
        NoaaBlock block;
        const char* caption;
    };
    constexpr Offer kOffers[] = {{NoaaBlock::Estimates, "Estimates"},
                                 {NoaaBlock::Upper, "Upper bound"},
                                 {NoaaBlock::Lower, "Lower bound"}};
    std::vector<NoaaBlock> offered;
    QStringList captions;
    for (const Offer& offer : kOffers) {
        if (holds(offer.block)) {
            offered.push_back(offer.block);
            captions.append(QString::fromLatin1(offer.caption));
        }
    }
    const QString bounds = holds(NoaaBlock::Upper) && holds(NoaaBlock::Lower)
                               ? QStringLiteral("the upper and lower bounds")
                           : holds(NoaaBlock::Upper) ? QStringLiteral("the upper bound")
                                                     : QStringLiteral("the lower bound");
    const QString text =
        holds(NoaaBlock::Estimates)
            ? QStringLiteral(
                  "%1 holds the estimates and %2 of their 90% confidence interval. "
                  "Which values should the table take?")
                  .arg(fileName, bounds)
            : QStringLiteral(
                  "%1 holds only %2 of the 90% confidence interval, no estimates. "
                  "Which values should the table take?")
                  .arg(fileName, bounds);
    const int chosen =
        CurrentPrompts().Choose(parent, text, QStringLiteral("Import NOAA Atlas 14"), captions);
    if (chosen < 0 || chosen >= static_cast<int>(offered.size())) {
        return std::nullopt;
    }
    return offered[static_cast<std::size_t>(chosen)];
}

}  // namespace

void FrmIntensityTable::CmdImportNoaa_Click() {
    const QString path = CurrentPrompts().OpenFileName(
        this, QStringLiteral("NOAA Atlas 14 files (*.csv);;All files (*)"));
    if (path.isEmpty()) {
        return;
    }
    RunCommand(this, [&] {
        const std::string file = FromQ(path);
        const auto block =
            ChooseNoaaBlock(this, QFileInfo(path).fileName(), NoaaBlocksInFile(file));
        if (block) {
            ShowRainfallTable(ReadNoaaAtlas14File(file, *block),
                              QStringLiteral("Import NOAA Atlas 14"));
        }
    });
}

void FrmIntensityTable::CmdFromEquation_Click() {
    Forms::Show<FrmIdfEquation>();
}

void FrmIntensityTable::CmdRainfallCurves_Click() {
    RunCommand(this, [&] {
        const Session& session = CurrentSession();
        std::optional<double> tc;
        if (!session.ProjectPath.empty()) {
            tc = ProjectTotalTc(session.ProjectPath);
        }
        Forms::Show<FrmRainfallCurves>()->ShowTable(txtBasinName_->text(), GridText(), tc);
    });
}

}  // namespace torrenta::gui
