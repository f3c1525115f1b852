#include "platform/Kit.h"

#include "support/AplicacionQt.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <QWidget>

using zv::kit::InfoSistema;
using zv::kit::Utilidades;

namespace {

QApplication &app() { return zv::test::aplicacionQt(); }

TEST(PrepararVentana, CentresKeepingSize) {
  app();
  QWidget w;
  w.resize(300, 200);
  w.move(0, 0);
  Utilidades::PrepararVentana(&w, false);
  EXPECT_EQ(w.size(), QSize(300, 200));
  const QRect area = w.screen()->availableGeometry();
  EXPECT_LE(std::abs(w.geometry().center().x() - area.center().x()), 1);
  EXPECT_LE(std::abs(w.geometry().center().y() - area.center().y()), 1);
  Utilidades::PrepararVentana(nullptr, false); // nothing to do
}

TEST(PrepararVentana, MaximisesWhenAsked) {
  app();
  QWidget w;
  Utilidades::PrepararVentana(&w, true);
  EXPECT_TRUE(w.windowState() & Qt::WindowMaximized);
}

TEST(PrepararFormulario, GivesTitleOnlyWhenMissing) {
  app();
  QGuiApplication::setApplicationDisplayName("Recodificador");
  QWidget sinTitulo, conTitulo;
  conTitulo.setWindowTitle("Propio");
  InfoSistema::PrepararFormulario(&sinTitulo);
  InfoSistema::PrepararFormulario(&conTitulo);
  EXPECT_EQ(sinTitulo.windowTitle(), "Recodificador");
  EXPECT_EQ(conTitulo.windowTitle(), "Propio");
}

} // namespace
