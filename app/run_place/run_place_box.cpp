#include "app/run_place/run_place_box.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace {

enum PlaceItem { ThisComputer, SlurmCluster };

constexpr int DefaultShards = 4;
constexpr int MostShards = 100000;
constexpr int MostCpus = 4096;

QLineEdit* MakeEdit(QWidget* parent, const char* name, const QString& hint) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setPlaceholderText(hint);
    return edit;
}

std::string Bytes(const QLineEdit* edit) {
    return edit->text().toStdString();
}

} // namespace

RunPlaceBox::RunPlaceBox(QWidget* parent)
    : QWidget(parent), place_(new QComboBox(this)),
      open_(new QPushButton(QStringLiteral("Cluster &settings..."), this)) {
    setObjectName("RunPlaceBox");
    place_->setObjectName("CBrunPlace");
    place_->addItems({QStringLiteral("This computer"), QStringLiteral("Slurm cluster")});
    place_->setToolTip(QStringLiteral("Where the run buttons start Zentrope"));
    open_->setObjectName("ButtClusterSettings");
    auto* label = new QLabel(QStringLiteral("&Run on"), this);
    label->setBuddy(place_);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    layout->addWidget(place_, 1);
    layout->addWidget(open_);
    BuildDialog();
    connect(place_, &QComboBox::currentIndexChanged, this, &RunPlaceBox::PlaceChosen);
    connect(open_, &QPushButton::clicked, this, [this] { OpenSettings(); });
    PlaceChosen();
}

void RunPlaceBox::BuildDialog() {
    dialog_ = new QDialog(this);
    dialog_->setObjectName("ClusterSettings");
    dialog_->setWindowTitle(QStringLiteral("Slurm cluster"));
    shards_ = new QSpinBox(dialog_);
    shards_->setObjectName("SlurmShards");
    shards_->setRange(1, MostShards);
    shards_->setValue(DefaultShards);
    cpus_ = new QSpinBox(dialog_);
    cpus_->setObjectName("SlurmCpus");
    cpus_->setRange(0, MostCpus);
    cpus_->setSpecialValueText(QStringLiteral("Slurm's default"));
    partition_ = MakeEdit(dialog_, "SlurmPartition", QStringLiteral("the cluster's default"));
    time_ = MakeEdit(dialog_, "SlurmTime", QStringLiteral("e.g. 2:00:00 or 1-00:00:00"));
    memory_ = MakeEdit(dialog_, "SlurmMemory", QStringLiteral("per shard, e.g. 4G"));
    account_ = MakeEdit(dialog_, "SlurmAccount", QStringLiteral("your default account"));
    options_ = MakeEdit(dialog_, "SlurmOptions", QStringLiteral("e.g. --qos=long --nice"));
    prefix_ = MakeEdit(dialog_, "SlurmPrefix",
                       QStringLiteral("empty on a submit host, else e.g. ssh HOST"));
    auto* form = new QFormLayout(dialog_);
    form->addRow(QStringLiteral("Number of &shards"), shards_);
    form->addRow(QStringLiteral("&Partition"), partition_);
    form->addRow(QStringLiteral("&Time limit"), time_);
    form->addRow(QStringLiteral("&CPUs per task"), cpus_);
    form->addRow(QStringLiteral("&Memory"), memory_);
    form->addRow(QStringLiteral("&Account"), account_);
    form->addRow(QStringLiteral("&Other sbatch options"), options_);
    form->addRow(QStringLiteral("Command &prefix"), prefix_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog_);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::rejected, dialog_, &QDialog::close);
}

void RunPlaceBox::PlaceChosen() {
    open_->setEnabled(OnCluster());
}

void RunPlaceBox::OpenSettings(QWidget* field) {
    dialog_->open();
    (field ? field : shards_)->setFocus();
}

bool RunPlaceBox::OnCluster() const {
    return place_->currentIndex() == SlurmCluster;
}

int RunPlaceBox::Shards() const {
    return shards_->value();
}

zentrope::SlurmSettings RunPlaceBox::Settings() const {
    return {prefix_->text().trimmed(), partition_->text(), time_->text(),   cpus_->value(),
            memory_->text(),           account_->text(),   options_->text()};
}

zentrope::RunPlacePreferences RunPlaceBox::Place() const {
    zentrope::RunPlacePreferences place;
    place.onCluster = OnCluster();
    place.shards = shards_->value() == DefaultShards ? 0 : shards_->value();
    place.partition = Bytes(partition_);
    place.timeLimit = Bytes(time_);
    place.cpusPerTask = cpus_->value();
    place.memory = Bytes(memory_);
    place.account = Bytes(account_);
    place.options = Bytes(options_);
    place.commandPrefix = Bytes(prefix_);
    return place;
}

void RunPlaceBox::SetPlace(const zentrope::RunPlacePreferences& place) {
    place_->setCurrentIndex(place.onCluster ? SlurmCluster : ThisComputer);
    shards_->setValue(place.shards > 0 ? place.shards : DefaultShards);
    partition_->setText(QString::fromStdString(place.partition));
    time_->setText(QString::fromStdString(place.timeLimit));
    cpus_->setValue(place.cpusPerTask);
    memory_->setText(QString::fromStdString(place.memory));
    account_->setText(QString::fromStdString(place.account));
    options_->setText(QString::fromStdString(place.options));
    prefix_->setText(QString::fromStdString(place.commandPrefix));
}
