// The main window of Zentrope GUI.
#pragma once

#include <QMainWindow>

class TFIN : public QMainWindow {
    Q_OBJECT
public:
    explicit TFIN(QWidget* parent = nullptr);
};

extern TFIN* FIN;
