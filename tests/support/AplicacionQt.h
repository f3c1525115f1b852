#pragma once
// One QApplication for a test program, made on first use. It is destroyed by
// a test environment once all tests have run, before static destruction, so
// that Qt's own globals are still alive when it goes.
#include <QApplication>
#include <gtest/gtest.h>

namespace zv::test {

inline QApplication &aplicacionQt() {
  static QApplication *app = nullptr;
  if (!app) {
    static int argc = 1;
    static char nombre[] = "prueba";
    static char *argv[] = {nombre, nullptr};
    app = new QApplication(argc, argv);
    struct Fin : ::testing::Environment {
      QApplication **app;
      explicit Fin(QApplication **a) : app(a) {}
      void TearDown() override {
        delete *app;
        *app = nullptr;
      }
    };
    ::testing::AddGlobalTestEnvironment(new Fin(&app));
  }
  return *app;
}

} // namespace zv::test
