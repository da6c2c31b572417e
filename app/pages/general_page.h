// The General page: run settings, input and output files, thresholds, the tester's path and
// the parameter file commands. It owns its controls; the window shows a set on it, gathers a
// save from it, reads the names and result options it holds and hears its command buttons.
#pragma once

#include "model/parameter_set.h"
#include "paramfile/parameter_file_record.h"
#include "results/grid/result_loader.h"
#include "results/verdict/row_flags.h"

#include <QString>
#include <QWidget>
#include <cstdint>
#include <string>

class DialogSeam;
class QCheckBox;
class QComboBox;
class QFileDialog;
class QLabel;
class QLineEdit;
class QPushButton;

// The result file's name where the user has given none.
inline constexpr char DefaultOutFileName[] = "_Zentrope.txt";

class GeneralPage : public QWidget {
    Q_OBJECT
public:
    // The page keeps n and NT of Params as the user edits them; its Change buttons use the
    // window's shared dialogs OD and SD, and its boxes go through the seam.
    GeneralPage(zentrope::ParameterSet& Params, DialogSeam& dialogs, QFileDialog* OD,
                QFileDialog* SD, QWidget* parent = nullptr);

    // The [General] values of the set; the handlers run as if the user had typed them.
    void ShowSet(const zentrope::ParameterSet& set);
    // The values a save reads from this page: the [General] section.
    void Gather(zentrope::ParameterFileRecord& record) const;
    // Empties the length and input summaries.
    void ClearSummaries();

    QString ParameterFileName() const;
    void SetParameterFileName(const QString& path);
    QString TesterPath() const;
    void SetTesterPath(const QString& path);
    // The output name as the file system's bytes.
    std::string OutFileBytes() const;
    // An empty output name becomes DefaultOutFileName.
    void FillEmptyOutFile();

    // How a result file is read and sorted, by the save format and sort boxes.
    zentrope::ResultLoadOptions LoadOptions() const;
    // The thresholds as the page holds them; a field that is not a number switches its check
    // off.
    zentrope::FlagThresholds Thresholds() const;

    void EditnChange();
    void EditnExit();
    void EditNTChange();
    void EditNTExit();
    void cbAutoNClick();
    void EditInFileChange();
    void ButtInFileClick();
    void ButtOutFileClick();
    void ButtZTRPexeClick();

    // Eight times the bytes of the files EditInFile matches.
    uint64_t InputBits = 0;

signals:
    void ParaReloadClicked();
    void ParaLoadClicked();
    void ParaSaveClicked();
    void ParaSaveAsClicked();
    void LoadResultClicked();

private:
    void Build();
    void BindHandlers();
    void WarnAndRefocus(const QString& text, QLineEdit* edit);
    void ChooseFileInto(bool mustExist, QLineEdit* edit);

    zentrope::ParameterSet& Params;
    DialogSeam& dialogs_;
    QFileDialog* OD;
    QFileDialog* SD;

    QLineEdit* Editn = nullptr;
    QLabel* LabSeqLen = nullptr;
    QLineEdit* EditNT = nullptr;
    QComboBox* CBsaveFormat = nullptr;
    QLineEdit* EditInFile = nullptr;
    QPushButton* ButtInFile = nullptr;
    QLabel* LabTOTlen = nullptr;
    QLineEdit* EditOutFile = nullptr;
    QPushButton* ButtOutFile = nullptr;
    QCheckBox* cbAutoN = nullptr;
    QCheckBox* cbSortKS = nullptr;
    QCheckBox* cbSortAD = nullptr;
    QCheckBox* cbSortSL = nullptr;
    QLineEdit* EditKSmin = nullptr;
    QLineEdit* EditADmin = nullptr;
    QLineEdit* EditSLmax = nullptr;
    QPushButton* ButtLoadResult = nullptr;
    QLineEdit* EditZTRPexe = nullptr;
    QPushButton* ButtZTRPexe = nullptr;
    QPushButton* ButtParaReload = nullptr;
    QPushButton* ButtParaLoad = nullptr;
    QLineEdit* EditParaFile = nullptr;
    QPushButton* ButtParaSave = nullptr;
    QPushButton* ButtParaSaveAs = nullptr;
};
