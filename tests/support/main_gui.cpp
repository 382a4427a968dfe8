// Test entry point under the offscreen platform, so that surfaces, fonts and
// widgets work without a display. Logic tests get no widget application.
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#ifdef QUORAVEX_TEST_WIDGETS
#include <QApplication>
using Aplicacion = QApplication;
#else
#include <QGuiApplication>
using Aplicacion = QGuiApplication;
#endif

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The user's settings and data folders are test folders of their own, under a home
    // folder of this process: tests run in parallel must not share recent files or windows.
    QTemporaryDir casa;
    if (casa.isValid()) qputenv("HOME", casa.path().toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);
    Aplicacion app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
