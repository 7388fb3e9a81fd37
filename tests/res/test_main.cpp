// Entry point of the resource tests that use Qt: a QCoreApplication makes
// sure Qt's image format plugins (GIF, ICO) are found the usual way.
#include <gtest/gtest.h>
#include <QCoreApplication>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  QCoreApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
