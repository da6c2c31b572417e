// main() for the window tests: offscreen, Qt's own dialogs, numbers in the C locale.
#pragma once

#include <QApplication>
#include <QTest>
#include <clocale>

#define ZENTROPE_GUI_TEST_MAIN(TestClass)                                                          \
    int main(int argc, char* argv[]) {                                                             \
        qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty()                            \
                                       ? QByteArray("offscreen")                                   \
                                       : qgetenv("QT_QPA_PLATFORM"));                              \
        QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);                                   \
        QApplication app(argc, argv);                                                              \
        std::setlocale(LC_NUMERIC, "C");                                                           \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
