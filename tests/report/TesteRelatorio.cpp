// Main of the report tests: the writers measure text, so a QGuiApplication (offscreen when no
// platform is chosen) lives for the whole run. Each test process gets settings and data
// folders of its own, so tests run side by side never share the label-table store or the
// settings files.
#include <QGuiApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir pastas;
    if (pastas.isValid()) {
        qputenv("XDG_CONFIG_HOME", (pastas.path() + QStringLiteral("/config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", (pastas.path() + QStringLiteral("/data")).toLocal8Bit());
    }
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
