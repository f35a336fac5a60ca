#include "detention/FrmDetention.h"

#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QVBoxLayout>

#include "Errors.h"
#include "ReturnPeriods.h"
#include "common/ChartPicture.h"
#include "common/CommandBoundary.h"
#include "common/FormWidgets.h"
#include "common/Prompts.h"
#include "common/QtText.h"
#include "common/Session.h"
#include "detention/DetentionCharts.h"
#include "detention/ProjectDetention.h"
#include "editors/NumericValidator.h"
#include "solver/NetworkSolution.h"
#include "store/ProjectSetup.h"
#include "text/NumberText.h"

namespace torrenta::gui {

namespace {

const QStringList kColumns = {QStringLiteral("Qo (cfs)"),       QStringLiteral("Td* (min)"),
                              QStringLiteral("I(Td*) (in/hr)"), QStringLiteral("Qi(Td*) (cfs)"),
                              QStringLiteral("V (ft\u00b3)"),   QStringLiteral("V (ac-ft)")};

QRadioButton* NamedOption(QWidget* parent, const QString& name, const QString& caption) {
    auto* option = new QRadioButton(caption, parent);
    option->setObjectName(name);
    return option;
}

QString YearsText(int years) {
    return QStringLiteral("%1-year").arg(years);
}

// A box's number as the program reads every numeric box; a box without a
// digit holds none: refused when its source is chosen, else `otherwise`.
double BoxNumber(const QLineEdit* box, bool required, const std::string& what, double otherwise) {
    const QString text = box->text();
    if (!text.contains(QRegularExpression(QStringLiteral("[0-9]")))) {
        if (required) {
            throw InputError("Enter the " + what + ".");
        }
        return otherwise;
    }
    return LeadingNumber(FromQ(text));
}

// A value of a source not chosen that was never given shows as an empty box.
QString BoxText(double value, bool shownWhenZero) {
    return value == 0.0 && !shownWhenZero ? QString() : ToQ(GeneralNumberText(value));
}

// "the 10-year storm", "the 50- and 100-year storms", "the 2-, 5- and 10-year storms".
QString StormsText(const QList<int>& years) {
    QStringList names;
    for (const int y : years) {
        names << QString::number(y) + QStringLiteral("-");
    }
    names.last() = YearsText(years.last());
    if (names.size() == 1) {
        return QStringLiteral("the %1 storm").arg(names.first());
    }
    const QString last = names.takeLast();
    return QStringLiteral("the %1 and %2 storms").arg(names.join(QStringLiteral(", ")), last);
}

QTableWidgetItem* Cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

}  // namespace

FrmDetention::FrmDetention(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmDetention"));
    setWindowTitle(QStringLiteral("Detention"));

    auto* release = new QGroupBox(QStringLiteral("Allowable release"), this);
    release->setObjectName(QStringLiteral("FraRelease"));
    optSingle_ = NamedOption(release, QStringLiteral("OptSingle"),
                             QStringLiteral("One release for every period"));
    optPerPeriod_ = NamedOption(release, QStringLiteral("OptPerPeriod"),
                                QStringLiteral("One release per period"));
    optPreDevelopment_ = NamedOption(release, QStringLiteral("OptPreDevelopment"),
                                     QStringLiteral("Pre-development project"));
    txtRelease_ = NamedBox(release, QStringLiteral("TxtRelease"));
    auto* periods = new QGridLayout;
    for (std::size_t k = 0; k < txtReleases_.size(); ++k) {
        const int years = kReturnPeriods[k];
        txtReleases_[k] = NamedBox(release, QStringLiteral("TxtRelease%1").arg(years));
        periods->addWidget(NamedLabel(release, QStringLiteral("LblRelease%1").arg(years),
                                      QStringLiteral("%1 yr").arg(years), txtReleases_[k]),
                           0, static_cast<int>(k), Qt::AlignHCenter);
        periods->addWidget(txtReleases_[k], 1, static_cast<int>(k));
    }
    periods->addWidget(NamedLabel(release, QStringLiteral("LblPeriodUnit"), QStringLiteral("cfs")),
                       1, 7);
    txtPreDevelopment_ = NamedBox(release, QStringLiteral("TxtPreDevelopment"));
    txtPreDevelopment_->setMinimumWidth(220);
    cmdBrowse_ = NamedButton(release, QStringLiteral("CmdBrowse"), QStringLiteral("Browse..."));
    txtFactor_ = NamedBox(release, QStringLiteral("TxtFactor"));
    for (QLineEdit* box : {txtRelease_, txtFactor_}) {
        MakeNumericBox(box);
        box->setMaximumWidth(90);
    }
    for (QLineEdit* box : txtReleases_) {
        MakeNumericBox(box);
        box->setMaximumWidth(64);
    }

    auto* single = new QHBoxLayout;
    single->addSpacing(24);
    single->addWidget(txtRelease_);
    single->addWidget(NamedLabel(release, QStringLiteral("LblReleaseUnit"), QStringLiteral("cfs")));
    single->addStretch(1);
    auto* perPeriod = new QHBoxLayout;
    perPeriod->addSpacing(24);
    perPeriod->addLayout(periods);
    perPeriod->addStretch(1);
    auto* project = new QHBoxLayout;
    project->addSpacing(24);
    project->addWidget(txtPreDevelopment_, 1);
    project->addWidget(cmdBrowse_);
    auto* factor = new QHBoxLayout;
    factor->addSpacing(24);
    factor->addWidget(NamedLabel(release, QStringLiteral("LblFactor"),
                                 QStringLiteral("Its peak flows times"), txtFactor_));
    factor->addWidget(txtFactor_);
    factor->addStretch(1);
    auto* releaseRows = new QVBoxLayout(release);
    releaseRows->addWidget(optSingle_);
    releaseRows->addLayout(single);
    releaseRows->addWidget(optPerPeriod_);
    releaseRows->addLayout(perPeriod);
    releaseRows->addWidget(optPreDevelopment_);
    releaseRows->addLayout(project);
    releaseRows->addLayout(factor);

    auto* method = new QGroupBox(QStringLiteral("Method"), this);
    method->setObjectName(QStringLiteral("FraMethod"));
    optRising_ = NamedOption(method, QStringLiteral("OptRising"), QStringLiteral("Rising release"));
    optConstant_ = NamedOption(method, QStringLiteral("OptConstant"),
                               QStringLiteral("Constant release (FAA)"));
    auto* methodRow = new QHBoxLayout(method);
    methodRow->addWidget(optRising_);
    methodRow->addWidget(optConstant_);
    methodRow->addStretch(1);

    QPushButton* calculate =
        NamedButton(this, QStringLiteral("CmdCalculate"), QStringLiteral("Calculate"));
    auto* inputs = new QVBoxLayout;
    inputs->addWidget(release);
    inputs->addWidget(method);
    auto* calculateRow = new QHBoxLayout;
    calculateRow->addStretch(1);
    calculateRow->addWidget(calculate);
    inputs->addLayout(calculateRow);
    inputs->addStretch(1);

    grdResults_ = new QTableWidget(static_cast<int>(kReturnPeriods.size()),
                                   static_cast<int>(kColumns.size()), this);
    grdResults_->setObjectName(QStringLiteral("GrdResults"));
    grdResults_->setHorizontalHeaderLabels(kColumns);
    QStringList rowNames;
    for (const int years : kReturnPeriods) {
        rowNames << YearsText(years);
    }
    grdResults_->setVerticalHeaderLabels(rowNames);
    grdResults_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdResults_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grdResults_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdResults_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdResults_->setMinimumWidth(560);
    grdResults_->setFixedHeight(grdResults_->horizontalHeader()->sizeHint().height() +
                                grdResults_->verticalHeader()->defaultSectionSize() *
                                    grdResults_->rowCount() +
                                2 * grdResults_->frameWidth());
    lblTableEnd_ = NamedLabel(this, QStringLiteral("LblTableEnd"), QString());
    lblTableEnd_->setWordWrap(true);
    lblTableEnd_->hide();
    auto* results = new QVBoxLayout;
    results->addWidget(grdResults_);
    results->addWidget(lblTableEnd_);
    results->addStretch(1);

    auto* top = new QHBoxLayout;
    top->addLayout(inputs);
    top->addLayout(results, 1);

    cmbPeriod_ = new QComboBox(this);
    cmbPeriod_->setObjectName(QStringLiteral("CmbPeriod"));
    for (const int years : kReturnPeriods) {
        cmbPeriod_->addItem(YearsText(years) + QStringLiteral(" storm"));
    }
    cmbPeriod_->setCurrentIndex(3);
    cmdSave_ = NamedButton(this, QStringLiteral("CmdSave"), QStringLiteral("Save As..."));
    cmdCopy_ = NamedButton(this, QStringLiteral("CmdCopy"), QStringLiteral("Copy"));
    auto* chartRow = new QHBoxLayout;
    chartRow->addWidget(
        NamedLabel(this, QStringLiteral("LblPeriod"), QStringLiteral("Chart of the"), cmbPeriod_));
    chartRow->addWidget(cmbPeriod_);
    chartRow->addStretch(1);
    chartRow->addWidget(cmdSave_);
    chartRow->addWidget(cmdCopy_);
    charts_ = new DetentionCharts(this);

    cmdRemove_ = NamedButton(this, QStringLiteral("CmdRemove"), QStringLiteral("No Detention"));
    cmdRemove_->setToolTip(QStringLiteral("Remove the detention inputs from the project"));
    QPushButton* ok = NamedButton(this, QStringLiteral("CmdOK"), QStringLiteral("OK"));
    QPushButton* cancel = NamedButton(this, QStringLiteral("CmdCancel"), QStringLiteral("Cancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdRemove_);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(chartRow);
    layout->addWidget(charts_, 1);
    layout->addLayout(buttons);
    resize(1180, 860);

    SetConfirmButton(this, ok);

    for (QRadioButton* option : {optSingle_, optPerPeriod_, optPreDevelopment_}) {
        connect(option, &QRadioButton::toggled, this, [this] {
            EnableSourceBoxes();
            ForgetResults();
        });
    }
    connect(optRising_, &QRadioButton::toggled, this, &FrmDetention::ForgetResults);
    for (QLineEdit* box : txtReleases_) {
        connect(box, &QLineEdit::textChanged, this, &FrmDetention::ForgetResults);
    }
    for (QLineEdit* box : {txtRelease_, txtPreDevelopment_, txtFactor_}) {
        connect(box, &QLineEdit::textChanged, this, &FrmDetention::ForgetResults);
    }
    connect(cmdBrowse_, &QPushButton::clicked, this, &FrmDetention::CmdBrowse_Click);
    connect(calculate, &QPushButton::clicked, this, &FrmDetention::CmdCalculate_Click);
    connect(cmbPeriod_, &QComboBox::currentIndexChanged, this, &FrmDetention::ShowChosenPeriod);
    connect(cmdSave_, &QPushButton::clicked, this, &FrmDetention::CmdSave_Click);
    connect(cmdCopy_, &QPushButton::clicked, this, &FrmDetention::CmdCopy_Click);
    connect(ok, &QPushButton::clicked, this, &FrmDetention::CmdOK_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::close);
    connect(cmdRemove_, &QPushButton::clicked, this, &FrmDetention::CmdRemove_Click);

    ShowInputs(DetentionInputs{});
    // No release is proposed: the engineer's own number, or none.
    txtRelease_->clear();
    cmdRemove_->setEnabled(false);
    RunCommand(this, [this] { LoadInputs(); });
    ForgetResults();
}

void FrmDetention::LoadInputs() {
    if (const auto stored = ReadDetentionInputs(CurrentSession().ProjectPath)) {
        ShowInputs(*stored);
        cmdRemove_->setEnabled(true);
    }
}

void FrmDetention::ShowInputs(const DetentionInputs& inputs) {
    const ReleaseSource source = inputs.source;
    optSingle_->setChecked(source == ReleaseSource::Single);
    optPerPeriod_->setChecked(source == ReleaseSource::PerPeriod);
    optPreDevelopment_->setChecked(source == ReleaseSource::PreDevelopment);
    // A stored 0 is a release of the source in use (a pond that lets nothing
    // out); in the others it only stands for a box never filled.
    txtRelease_->setText(BoxText(inputs.release, source == ReleaseSource::Single));
    for (std::size_t k = 0; k < txtReleases_.size(); ++k) {
        txtReleases_[k]->setText(BoxText(inputs.releases[k], source == ReleaseSource::PerPeriod));
    }
    txtPreDevelopment_->setText(ToQ(inputs.preDevelopmentProject));
    txtFactor_->setText(
        ToQ(GeneralNumberText(inputs.releaseFactor > 0.0 ? inputs.releaseFactor : 1.0)));
    optRising_->setChecked(inputs.method == DetentionMethod::RisingRelease);
    optConstant_->setChecked(inputs.method == DetentionMethod::ConstantRelease);
    EnableSourceBoxes();
}

DetentionInputs FrmDetention::TypedInputs() const {
    const std::string& project = CurrentSession().ProjectPath;
    DetentionInputs inputs;
    inputs.method = optConstant_->isChecked() ? DetentionMethod::ConstantRelease
                                              : DetentionMethod::RisingRelease;
    inputs.source = optPerPeriod_->isChecked()        ? ReleaseSource::PerPeriod
                    : optPreDevelopment_->isChecked() ? ReleaseSource::PreDevelopment
                                                      : ReleaseSource::Single;
    inputs.release = BoxNumber(txtRelease_, inputs.source == ReleaseSource::Single,
                               "allowable release in cfs", 0.0);
    for (std::size_t k = 0; k < txtReleases_.size(); ++k) {
        inputs.releases[k] =
            BoxNumber(txtReleases_[k], inputs.source == ReleaseSource::PerPeriod,
                      std::to_string(kReturnPeriods[k]) + "-year allowable release in cfs", 0.0);
    }
    // Typed or chosen from anywhere, it is kept relative to the project's
    // folder, the folder a name typed alone is looked for in.
    const std::string typed = FromQ(txtPreDevelopment_->text().trimmed());
    if (!typed.empty()) {
        inputs.preDevelopmentProject =
            StoredPreDevelopmentPath(project, PreDevelopmentPath(project, typed));
    }
    inputs.releaseFactor = BoxNumber(txtFactor_, inputs.source == ReleaseSource::PreDevelopment,
                                     "factor on the pre-development peak flows", 1.0);
    ValidateDetentionInputs(inputs);
    return inputs;
}

void FrmDetention::EnableSourceBoxes() {
    txtRelease_->setEnabled(optSingle_->isChecked());
    for (QLineEdit* box : txtReleases_) {
        box->setEnabled(optPerPeriod_->isChecked());
    }
    for (QWidget* widget :
         std::initializer_list<QWidget*>{txtPreDevelopment_, cmdBrowse_, txtFactor_}) {
        widget->setEnabled(optPreDevelopment_->isChecked());
    }
}

void FrmDetention::ForgetResults() {
    result_.reset();
    grdResults_->clearContents();
    for (int row = 0; row < grdResults_->rowCount(); ++row) {
        if (grdResults_->columnSpan(row, 1) > 1) {
            grdResults_->setSpan(row, 1, 1, 1);
        }
    }
    lblTableEnd_->hide();
    charts_->Clear();
    for (QWidget* widget : std::initializer_list<QWidget*>{cmbPeriod_, cmdSave_, cmdCopy_}) {
        widget->setEnabled(false);
    }
}

void FrmDetention::ShowResults() {
    QList<int> atTableEnd;
    for (std::size_t k = 0; k < result_->sweep.periods.size(); ++k) {
        const DetentionPeriod& period = result_->sweep.periods[k];
        const int row = static_cast<int>(k);
        grdResults_->setItem(row, 0, Cell(ToQ(FormatFixed(period.release, 2))));
        if (!period.storageNeeded) {
            QTableWidgetItem* none = Cell(QStringLiteral("No storage needed"));
            none->setTextAlignment(Qt::AlignCenter);
            grdResults_->setItem(row, 1, none);
            grdResults_->setSpan(row, 1, 1, static_cast<int>(kColumns.size()) - 1);
            continue;
        }
        if (period.atTableEnd) {
            atTableEnd << period.years;
        }
        const std::array<std::string, 5> values = {
            FormatFixed(period.criticalDuration, 2), period.intensityShown, period.inflowShown,
            FormatFixed(period.storage, 0), FormatFixed(period.storageAcreFeet, 3)};
        for (std::size_t c = 0; c < values.size(); ++c) {
            grdResults_->setItem(row, static_cast<int>(c) + 1, Cell(ToQ(values[c])));
        }
    }
    if (!atTableEnd.isEmpty()) {
        lblTableEnd_->setText(
            QStringLiteral("The critical duration of %1 is the table's longest duration; a longer "
                           "storm may need more storage.")
                .arg(StormsText(atTableEnd)));
        lblTableEnd_->show();
    }
    for (QWidget* widget : std::initializer_list<QWidget*>{cmbPeriod_, cmdSave_, cmdCopy_}) {
        widget->setEnabled(true);
    }
    ShowChosenPeriod();
}

void FrmDetention::ShowChosenPeriod() {
    if (!result_) {
        return;
    }
    const int index = std::clamp(cmbPeriod_->currentIndex(), 0,
                                 static_cast<int>(result_->sweep.periods.size()) - 1);
    charts_->ShowPeriod(result_->sweep.periods[static_cast<std::size_t>(index)], result_->sweep);
}

void FrmDetention::CmdBrowse_Click() {
    const QString file =
        CurrentPrompts().OpenFileName(this, QStringLiteral("Rational File (*.rmt)"));
    if (file.isEmpty()) {
        return;
    }
    RunCommand(this, [&] {
        txtPreDevelopment_->setText(
            ToQ(StoredPreDevelopmentPath(CurrentSession().ProjectPath, FromQ(file))));
    });
}

void FrmDetention::CmdCalculate_Click() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    DetentionResult result;
    const bool calculated = RunCommand(this, [&] {
        const Session& session = CurrentSession();
        const DetentionInputs inputs = TypedInputs();
        const NetworkFlags flags = SolveNetwork(session.ProjectPath);
        if (!flags.Any()) {
            throw InputError("Nothing to Solve");
        }
        // Solved on the node's table as Solve does, but written nowhere: the
        // inputs stored in the project, which a Solve would size too, may be
        // the ones being mended.
        const std::string table = ReadNode(session.ProjectPath).value_or(NodeRow{}).IntensityTable;
        const NetworkSolution solution =
            SolveProjectReadOnly(session.ProjectPath, session.AppFolder, table, flags);
        result = ComputeProjectDetention(solution, inputs, session.ProjectPath, session.AppFolder);
    });
    QApplication::restoreOverrideCursor();
    ForgetResults();
    if (calculated) {
        result_ = std::move(result);
        ShowResults();
    }
}

void FrmDetention::CmdSave_Click() {
    SaveChartPicture(this, [this](const QString& path) { return charts_->PictureBytes(path); });
}

void FrmDetention::CmdCopy_Click() {
    QApplication::clipboard()->setImage(charts_->Picture());
}

void FrmDetention::CmdOK_Click() {
    const bool stored = RunCommand(this, [this] {
        const std::string& project = CurrentSession().ProjectPath;
        const DetentionInputs inputs = TypedInputs();
        // A release that cannot be had (a missing pre-development project, a
        // factor that overflows) is refused now rather than at the next Solve.
        FindAllowableRelease(inputs, project, CurrentSession().AppFolder);
        StoreDetentionInputs(project, inputs);
    });
    if (stored) {
        close();
    }
}

void FrmDetention::CmdRemove_Click() {
    if (CurrentPrompts().Message(this,
                                 QStringLiteral("Remove the detention inputs from this project? "
                                                "The report will show the peak flows alone."),
                                 windowTitle(), QMessageBox::Question,
                                 QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
        return;
    }
    if (RunCommand(this, [] { ClearDetentionInputs(CurrentSession().ProjectPath); })) {
        close();
    }
}

}  // namespace torrenta::gui
