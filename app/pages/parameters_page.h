// The Parameters page: which tests run, in which order (LBorder) and with which parameter
// ranges. It owns its controls; the window shows a set on it, gathers a save from it and
// hears its run buttons.
#pragma once

#include "model/parameter_set.h"
#include "paramfile/parameter_file_record.h"

#include <QWidget>

class OrderListBox;
class QCheckBox;
class QLabel;
class QPushButton;
class UpDown;

class ParametersPage : public QWidget {
    Q_OBJECT
public:
    explicit ParametersPage(QWidget* parent = nullptr);

    // The test parameters of the set, then its enabled tests checked in execution order.
    void ShowSet(const zentrope::ParameterSet& set);
    // The values a save reads from this page: the test sections and the execution order.
    void Gather(zentrope::ParameterFileRecord& record) const;

    // Puts `widget` under the run buttons, in their group.
    void AddUnderRunButtons(QWidget* widget);

    // The test check box CheckBoxN, N = 1 to 21.
    QCheckBox* TestCheckBox(int n) const;

    void CheckBoxTSTClick(QCheckBox* box);
    void BBenableAllClick();
    void BBenableNoneClick();
    void BBenableToggleClick();
    void LBorderClick();
    // A mouse move at y (list coordinates) while an entry is dragged; false refuses the drop.
    bool LBorderDragOver(int y);
    // Moves the dragged entry (DragIndex) to row; false for a row that names no entry.
    bool MoveDraggedEntry(int row);
    void uAMLSminClick();
    void uAMLSmaxClick();
    void uAMLSstpClick();

    // Index in LBorder of the entry being dragged.
    int DragIndex = 0;

signals:
    void RunWaitClicked();
    void RunExitClicked();

private:
    void Build();
    void BindHandlers();

    OrderListBox* LBorder = nullptr;
    QLabel* LabAMLSmin = nullptr;
    QLabel* LabAMLSmax = nullptr;
    QLabel* LabAMLSstp = nullptr;
    UpDown* uAMLSmin = nullptr;
    UpDown* uAMLSmax = nullptr;
    UpDown* uAMLSstp = nullptr;
    QPushButton* BBenableAll = nullptr;
    QPushButton* BBenableNone = nullptr;
    QPushButton* BBenableToggle = nullptr;
    QPushButton* ButtRunWait = nullptr;
    QPushButton* ButtRunExit = nullptr;
};
