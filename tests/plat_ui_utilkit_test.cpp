#include "platform/Ui.h"
#include "platform/UtilKit.h"

#include "support/AplicacionQt.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QSignalSpy>
#include <QToolButton>

using zv::UtilKit;
using zv::UtilKitModelo;
namespace vb = zv::vb;

namespace {

QApplication &app() { return zv::test::aplicacionQt(); }

struct Registro {
  UtilKitModelo m;
  QStringList pulsados;
  Registro() {
    m.AlPulsar = [this](QString &b) { pulsados << b; };
  }
};

TEST(UtilKitModelo, ButtonsKeysAndCaptions) {
  UtilKitModelo m;
  const QStringList claves = {"NUEVO",     "BORRAR",  "GRABAR", "PLANILLA",
                              "CONSULTAR", "REPORTE", "CERRAR", "CANCELAR"};
  const QStringList titulos = {"Nuevo",     "Borrar",  "Grabar", "Planilla",
                               "Consultar", "Reporte", "Cerrar", "Cancelar"};
  ASSERT_EQ(m.Botones().size(), claves.size());
  for (int i = 0; i < claves.size(); ++i) {
    EXPECT_EQ(m.Botones()[i].clave, claves[i]);
    EXPECT_EQ(m.Botones()[i].titulo, titulos[i]);
  }
  EXPECT_EQ(m.Ayuda("NUEVO"), "Nuevo (F2)");
  EXPECT_EQ(m.Ayuda("grabar"), "Grabar (F5)");
  EXPECT_EQ(m.Ayuda("NADA"), "");
}

TEST(UtilKitModelo, KeyFiresItsButtonAndIsUsedUp) {
  struct Caso {
    int tecla;
    const char *clave;
  } casos[] = {{vb::KeyF2, "NUEVO"},    {vb::KeyF3, "BORRAR"},   {vb::KeyF4, "CONSULTAR"},
               {vb::KeyF5, "GRABAR"},   {vb::KeyF6, "PLANILLA"}, {vb::KeyF7, "REPORTE"},
               {vb::KeyF9, "CANCELAR"}, {vb::KeyF12, "CERRAR"}};
  for (const auto &c : casos) {
    Registro r;
    int k = c.tecla;
    EXPECT_TRUE(r.m.TeclaPulsada(k));
    EXPECT_EQ(k, 0);
    EXPECT_EQ(r.pulsados, QStringList({c.clave}));
  }
}

TEST(UtilKitModelo, OtherKeysPassThrough) {
  Registro r;
  for (int tecla : {0, vb::KeyReturn, vb::KeyEscape, vb::KeyTab, vb::KeyUp, vb::KeyDown, int('A'), vb::KeyF1,
                    vb::KeyF8}) {
    int k = tecla;
    EXPECT_FALSE(r.m.TeclaPulsada(k)) << tecla;
    EXPECT_EQ(k, tecla);
  }
  EXPECT_TRUE(r.pulsados.isEmpty());
}

TEST(UtilKitModelo, HiddenOrDisabledButtonsDoNotFire) {
  Registro r;
  r.m.setVisible("consultar", false);
  r.m.setHabilitado("GRABAR", false);
  int k = vb::KeyF4;
  EXPECT_FALSE(r.m.TeclaPulsada(k));
  EXPECT_EQ(k, vb::KeyF4);
  k = vb::KeyF5;
  EXPECT_FALSE(r.m.TeclaPulsada(k));
  EXPECT_FALSE(r.m.Pulsar("CONSULTAR"));
  EXPECT_FALSE(r.m.Pulsar("GRABAR"));
  EXPECT_TRUE(r.pulsados.isEmpty());
  r.m.setVisible("CONSULTAR", true);
  k = vb::KeyF4;
  EXPECT_TRUE(r.m.TeclaPulsada(k));
  EXPECT_EQ(r.pulsados, QStringList({"CONSULTAR"}));
}

TEST(UtilKitModelo, RebindingMovesTheKey) {
  Registro r;
  r.m.setTecla("CERRAR", vb::KeyF2);
  EXPECT_EQ(r.m.Tecla("NUEVO"), 0);
  int k = vb::KeyF2;
  EXPECT_TRUE(r.m.TeclaPulsada(k));
  EXPECT_EQ(r.pulsados, QStringList({"CERRAR"}));
}

TEST(UtilKitModelo, NoPressOnTopOfARunningCommand) {
  UtilKitModelo m;
  QStringList pulsados;
  m.AlPulsar = [&](QString &b) {
    pulsados << b;
    int k = vb::KeyF5;
    EXPECT_FALSE(m.TeclaPulsada(k)); // e.g. a key let through while saving
  };
  EXPECT_TRUE(m.Pulsar("GRABAR"));
  EXPECT_TRUE(m.Pulsar("NUEVO")); // once done, buttons work again
  EXPECT_EQ(pulsados, QStringList({"GRABAR", "NUEVO"}));
}

TEST(UtilKitModelo, HandlerMayRewriteItsCopyOfTheKey) {
  UtilKitModelo m;
  QString visto;
  m.AlPulsar = [&](QString &b) {
    visto = b;
    b = "CERRAR";
  };
  m.Pulsar("cancelar");
  EXPECT_EQ(visto, "CANCELAR");
  EXPECT_TRUE(m.Pulsar("CANCELAR"));
  EXPECT_EQ(visto, "CANCELAR");
}

TEST(UtilKit, WidgetShowsModelAndRaisesSignal) {
  app();
  QWidget ventana;
  UtilKit kit(&ventana);
  EXPECT_EQ(kit.objectName(), "UtilKit1");
  EXPECT_EQ(ventana.findChild<QObject *>("UtilKit1"), &kit);
  QSignalSpy spy(&kit, &UtilKit::buttonClicked);
  QStringList hook;
  kit.modelo().AlPulsar = [&](QString &b) { hook << b; };

  ASSERT_NE(kit.accion("GRABAR"), nullptr);
  EXPECT_EQ(kit.accion("GRABAR")->text(), "Grabar");
  EXPECT_EQ(kit.accion("GRABAR")->toolTip(), "Grabar (F5)");
  kit.accion("GRABAR")->trigger();
  ASSERT_EQ(spy.count(), 1);
  EXPECT_EQ(spy.at(0).at(0).toString(), "GRABAR");
  EXPECT_EQ(hook, QStringList({"GRABAR"}));

  kit.setBotonVisible("CONSULTAR", false);
  EXPECT_FALSE(kit.accion("CONSULTAR")->isVisible());
  int k = vb::KeyF4;
  EXPECT_FALSE(kit.TeclaPulsada(k));
  k = vb::KeyF2;
  EXPECT_TRUE(kit.TeclaPulsada(k));
  EXPECT_EQ(spy.count(), 2);
  EXPECT_EQ(spy.at(1).at(0).toString(), "NUEVO");

  kit.setBotonHabilitado("NUEVO", false);
  EXPECT_FALSE(kit.accion("NUEVO")->isEnabled());
}

TEST(UtilKit, StyleBarSetByName) {
  app();
  QWidget ventana;
  new UtilKit(&ventana);
  QObject *kit = ventana.findChild<QObject *>("UtilKit1");
  ASSERT_NE(kit, nullptr);
  ASSERT_TRUE(kit->setProperty("StyleBar", 0));
  EXPECT_EQ(kit->property("StyleBar").toInt(), 0);
  auto *t = static_cast<UtilKit *>(kit);
  auto *boton = qobject_cast<QToolButton *>(t->widgetForAction(t->accion("NUEVO")));
  ASSERT_NE(boton, nullptr);
  EXPECT_FALSE(boton->autoRaise());
  kit->setProperty("StyleBar", 1);
  EXPECT_TRUE(boton->autoRaise());
}

} // namespace
