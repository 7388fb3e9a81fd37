// Entry point of the resource tests that use Qt: a QGuiApplication makes sure
// Qt's image format plugins (GIF, ICO) are found the usual way, and lets the
// tests make pixmaps and icons at the screen's density.
#include <gtest/gtest.h>
#include <QGuiApplication>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  QGuiApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
