#include "main_window.h"

#include <QApplication>
#include <clocale>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Files are written and read with a decimal point whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    TFIN window;
    FIN = &window;
    window.show();
    return app.exec();
}
