// Where the run buttons start the tester: "This computer", or "Slurm cluster" with the
// cluster's settings in a small dialog that the box's button opens. The settings are read
// when a run starts, so the dialog only edits them; they are kept in prefs.ini.
#pragma once

#include "model/preferences.h"
#include "runner/slurm_script.h"

#include <QWidget>

class QComboBox;
class QDialog;
class QLineEdit;
class QPushButton;
class QSpinBox;

class RunPlaceBox : public QWidget {
    Q_OBJECT
public:
    explicit RunPlaceBox(QWidget* parent = nullptr);

    bool OnCluster() const;
    int Shards() const;
    zentrope::SlurmSettings Settings() const;

    zentrope::RunPlacePreferences Place() const;
    void SetPlace(const zentrope::RunPlacePreferences& place);
    // Opens the settings, the focus on `field` (a control of the dialog) when given.
    void OpenSettings(QWidget* field = nullptr);
    QLineEdit* PartitionEdit() const { return partition_; }
    QLineEdit* AccountEdit() const { return account_; }
    QLineEdit* PrefixEdit() const { return prefix_; }
    QSpinBox* ShardsBox() const { return shards_; }

private:
    void BuildDialog();
    void PlaceChosen();

    QComboBox* place_;
    QPushButton* open_;
    QDialog* dialog_ = nullptr;
    QSpinBox* shards_ = nullptr;
    QLineEdit* partition_ = nullptr;
    QLineEdit* time_ = nullptr;
    QSpinBox* cpus_ = nullptr;
    QLineEdit* memory_ = nullptr;
    QLineEdit* account_ = nullptr;
    QLineEdit* options_ = nullptr;
    QLineEdit* prefix_ = nullptr;
};
