#include "intensity/FrmIntensityTable.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "common/CommandBoundary.h"
#include "common/FormWidgets.h"
#include "common/Forms.h"
#include "common/Prompts.h"
#include "common/QtText.h"
#include "common/Session.h"
#include "editors/NumericValidator.h"
#include "intensity/FrmIdfEquation.h"
#include "intensity/FrmRainfallCurves.h"
#include "intensity/FrmSelectIvalBasin.h"
#include "rainfall/IdfCurves.h"
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
    const Session& session = CurrentSession();
    // Every project shares the tables, so a new one never silently takes the
    // place of one already there.
    bool exists = false;
    if (!RunCommand(this,
                    [&] { exists = adding_ && IntensityTableExists(session.AppFolder, name); })) {
        return;
    }
    if (exists && CurrentPrompts().Message(
                      this, QStringLiteral("A table named %1 exists. Replace it?").arg(ToQ(name)),
                      windowTitle(), QMessageBox::Question,
                      QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
        return;
    }
    const bool saved = RunCommand(this, [&] {
        ValidateIntensityTableName(name);
        SaveIntensityTable(session.AppFolder, name, GridText(), FromQ(txtSource_->toPlainText()));
        // The node row is what opening the project reads, so the saved table
        // stays the project's table beyond this run.
        if (!session.ProjectPath.empty()) {
            SetNodeIntensityTable(session.ProjectPath, name);
        }
    });
    if (saved) {
        CurrentSession().IntensityTableName = name;
        close();
    }
}

void FrmIntensityTable::CmdSelectBasin_Click() {
    // An open selection dialog comes up as it is, still serving whoever opened it.
    Forms::Show<FrmSelectIvalBasin>(FormScope::Project);
}

void FrmIntensityTable::ShowRainfallTable(const RainfallTable& table) {
    for (int row = 0; row < 10; ++row) {
        for (int column = 0; column < 7; ++column) {
            cells_[column][row]->setText(ToQ(table.grid[row][column]));
        }
    }
    txtSource_->setPlainText(ToQ(table.source));
    // A table from outside is a new table until the user saves it: its name
    // is proposed, never locked, so an existing table is not overwritten by
    // surprise.
    txtBasinName_->setText(ToQ(table.proposedName));
    LockBox(txtBasinName_, false);
    txtBasinName_->setFocus();
    txtBasinName_->selectAll();
}

void FrmIntensityTable::CmdImportNoaa_Click() {
    const QString path = CurrentPrompts().OpenFileName(
        this, QStringLiteral("NOAA Atlas 14 files (*.csv);;All files (*)"));
    if (path.isEmpty()) {
        return;
    }
    RunCommand(this, [&] {
        const RainfallTable table = ReadNoaaAtlas14File(FromQ(path));
        ShowRainfallTable(table);
        for (const auto& warning : table.warnings) {
            ShowMessage(this, ToQ(warning), QStringLiteral("Import NOAA Atlas 14"),
                        QMessageBox::Warning);
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
