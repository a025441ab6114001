// The shell's tests run inside one QApplication on the off-screen platform,
// with the per-user folder and the Qt settings kept in a scratch place of
// their own, so that test processes running side by side never share them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QTemporaryDir scratch;
  setenv("TESSEL_DATA_DIR", QDir(scratch.path()).filePath(QStringLiteral("data")).toLocal8Bit().constData(), 1);
  setenv("XDG_CONFIG_HOME", QDir(scratch.path()).filePath(QStringLiteral("config")).toLocal8Bit().constData(), 1);
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  app.setOrganizationName(QStringLiteral("Corvane"));
  app.setApplicationName(QStringLiteral("Corvane Tessel Reader"));
  return RUN_ALL_TESTS();
}
