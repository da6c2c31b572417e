#include "main_window.h"

TFIN* FIN = nullptr;

TFIN::TFIN(QWidget* parent) : QMainWindow(parent) {
    setObjectName("FIN");
    setWindowTitle("Zentrope GUI v050711");
}
