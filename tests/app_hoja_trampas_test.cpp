// The failure traps of the sheet's key routines: which errors are reported,
// under which routine name, and what each answer does.
#include "app/HojaRecodificacion.h"
#include "app_hoja_dobles.h"
#include "platform/Kit.h"

#include <gtest/gtest.h>

using namespace zv;
using namespace zv::app;
using zv::test::UiConFallas;
using zv::test::ValidadorPrueba;

namespace {

class Trampas : public ::testing::Test {
protected:
  UiConFallas ui;
  ValidadorPrueba val{ui};
  HojaRecodificacion hoja{ui, val};
  zv::test::InformeGuion guion;
  QStringList &informes = guion.informes;
  std::deque<int> &respuestas = guion.respuestas;

  void SetUp() override {
    hoja.InformarError = guion.funcion();
    hoja.InicializaGrid2();
    hoja.darFocoGrilla();
    hoja.clicCelda(1, 3);
    hoja.teclear("5");
  }
  Grilla &g() { return hoja.MSFlexGrid1; }
};

TEST_F(Trampas, ErrorCincoEnEditKeyCodeSeSaltaSinInforme) {
  ui.fallasDoEvents = {err::InvalidArgument};
  hoja.clicCelda(1, 2);
  hoja.teclear("4099");
  hoja.teclaEditor(vb::KeyReturn);
  EXPECT_TRUE(informes.isEmpty());
  // The statement after the failing yield ran.
  EXPECT_EQ(g().Row(), 2);
  EXPECT_EQ(g().Col(), 0);
}

TEST_F(Trampas, OtroErrorEnEditKeyCodeSeInformaYReintentar) {
  ui.fallasDoEvents = {err::Unspecified};
  respuestas = {vb::Retry};
  hoja.teclaEditor(vb::KeyUp);
  EXPECT_EQ(informes, QStringList{"EditKeyCode:" + QString::number(err::Unspecified)});
  EXPECT_EQ(ui.doEventsCount, 2);
  EXPECT_EQ(g().TextMatrix(1, 3).toStdString(), "5");
}

TEST_F(Trampas, AbortarDejaLaRutina) {
  ui.fallasDoEvents = {err::Unspecified};
  respuestas = {vb::Abort};
  hoja.clicCelda(1, 2);
  hoja.teclear("4099");
  hoja.teclaEditor(vb::KeyReturn);
  ASSERT_EQ(informes.size(), 1);
  // The editor's text went into the cell before the failing yield; the move
  // to the next row never happened.
  EXPECT_EQ(g().TextMatrix(1, 2).toStdString(), "4099");
  EXPECT_EQ(g().Row(), 1);
  EXPECT_EQ(g().Rows(), 2);
}

TEST_F(Trampas, IgnorarSigueConElPasoSiguiente) {
  ui.fallasDoEvents = {err::Unspecified};
  respuestas = {vb::Ignore};
  hoja.clicCelda(1, 2);
  hoja.teclear("4099");
  hoja.teclaEditor(vb::KeyReturn);
  EXPECT_EQ(informes.size(), 1);
  EXPECT_EQ(g().Row(), 2);
  EXPECT_EQ(g().Col(), 0);
}

TEST_F(Trampas, MsflexKeyInformaConSuNombreInclusoElErrorCinco) {
  hoja.darFocoGrilla();
  ui.fallasSendTab = {err::InvalidArgument};
  respuestas = {vb::Ignore};
  hoja.teclaGrilla(vb::KeyEnd);
  EXPECT_EQ(informes, QStringList{"MSFlexGrid1_KeyDown:5"});
}

TEST_F(Trampas, MsflexKeyReintentar) {
  hoja.darFocoGrilla();
  ui.fallasSendTab = {err::Unspecified, err::Unspecified};
  respuestas = {vb::Retry, vb::Retry};
  hoja.teclaGrilla(vb::KeyEnd);
  EXPECT_EQ(informes.size(), 2);
  EXPECT_EQ(ui.sendTabCount, 3);
}

TEST(TrampasKit, PorDefectoInformaConElCuadroDeLaLibreria) {
  UiConFallas ui;
  ValidadorPrueba val{ui};
  HojaRecodificacion hoja{ui, val};
  hoja.InicializaGrid2();
  hoja.darFocoGrilla();
  const AppError falla(err::Unspecified, "falla provocada", "SendKeys");
  ui.fallasSendTab = {err::Unspecified};
  ui.expectMsg(kit::Utilidades::TextoInformeError(falla, "MSFlexGrid1_KeyDown"),
               vb::AbortRetryIgnore + vb::Critical,
               kit::Utilidades::TituloInformeError("MSFlexGrid1_KeyDown"), vb::Retry);
  hoja.teclaGrilla(vb::KeyEnd);
  EXPECT_EQ(ui.sendTabCount, 2);
}

TEST(TrampasGrilla, FilaFueraDeRangoEsUnErrorDeLaGrilla) {
  Grilla g;
  try {
    g.setRowSinEventos(5);
    FAIL() << "no error";
  } catch (const AppError &e) {
    EXPECT_EQ(e.number(), Grilla::ErrFilaInvalida);
  }
  // The last data row cannot be removed.
  try {
    g.RemoveItem(1);
    FAIL() << "no error";
  } catch (const AppError &e) {
    EXPECT_EQ(e.number(), Grilla::ErrUltimaFila);
  }
}

} // namespace
