// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#ifdef ROSTRIX_TEST_GUI
#include <QApplication>
#else
#include <QCoreApplication>
#endif

namespace {

// Every test starts with nothing remembered, whichever ran before it in this process.
class ForgetWindows : public ::testing::EmptyTestEventListener {
public:
    explicit ForgetWindows(QString folder) : folder_(std::move(folder)) {}
    void OnTestStart(const ::testing::TestInfo&) override {
        QDir(folder_ + QStringLiteral("/rostrix")).removeRecursively();
    }

private:
    QString folder_;
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // What the windows remember goes to a folder of the run's own, never the user's home.
    const QTemporaryDir state;
    qputenv("XDG_STATE_HOME", state.path().toUtf8());
    ::testing::UnitTest::GetInstance()->listeners().Append(new ForgetWindows(state.path()));
#ifdef ROSTRIX_TEST_GUI
    QApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    return RUN_ALL_TESTS();
}
