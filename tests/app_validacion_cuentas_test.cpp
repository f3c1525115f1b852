// The check of typed codes against the demo's chart of accounts: its exact
// messages, the description it writes and the merge question's rules.
#include "app/CampoValida.h"
#include "app_recod_ventana.h"
#include "support/DemoTemporal.h"
#include "support/FakeSistema.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

using namespace zv;
using app::ValidacionCuentas;

namespace {

class Validacion : public ::testing::Test {
protected:
  static inline test::DemoTemporal *demo = nullptr;
  static void SetUpTestSuite() { demo = new test::DemoTemporal(20); }
  static void TearDownTestSuite() {
    delete demo;
    demo = nullptr;
  }

  test::FakeSistema sistema;
  test::ScriptedUi ui;
  db::EntornoDB entorno{ui, sistema, connectionFactory(demo->config())};
  db::DB_Dll &bd = entorno.principal();
  ValidacionCuentas validacion{bd, ui};
  app::HojaRecodificacion hoja{ui, validacion};
  app::Grilla &g = hoja.MSFlexGrid1;

  void SetUp() override {
    ASSERT_TRUE(demo->valida());
    sistema.programFolder = demo->carpeta();
    ASSERT_TRUE(test::abrirDemo(entorno));
    hoja.InicializaGrid2();
  }
  // Validates `texto` as the editor of column `col` of row 1.
  bool validar(int col, const QString &texto) {
    g.setRowSinEventos(1);
    g.setColSinEventos(col);
    hoja.textpropiedades(hoja.txtedit, col);
    hoja.txtedit.Text = texto;
    return validacion.CampoValida(hoja, hoja.txtedit);
  }
  void esperar(const QString &texto, int botones, int respuesta = vb::OK) {
    ui.expectMsg(texto, botones, "Aviso al operador", respuesta);
  }
};

const int kCritico = vb::OKOnly + vb::Critical;

TEST_F(Validacion, CodigoActual) {
  EXPECT_FALSE(validar(0, "  1.1.01.001 "));
  EXPECT_EQ(g.TextMatrix(1, 1), "Caja");

  esperar(ValidacionCuentas::NoExiste(), kCritico);
  EXPECT_TRUE(validar(0, "9.9.99"));
  ui.verify();
  EXPECT_EQ(g.TextMatrix(1, 1), "Caja"); // left as it was

  // An apostrophe is looked for as typed, not as SQL.
  esperar(ValidacionCuentas::NoExiste(), kCritico);
  EXPECT_TRUE(validar(0, "x' or '1'='1"));
  ui.verify();

  // An empty code empties the whole row, without a message.
  for (int c = 0; c < 4; ++c)
    g.setTextMatrix(1, c, "v" + QString::number(c));
  EXPECT_FALSE(validar(0, "   "));
  for (int c = 0; c < 4; ++c)
    EXPECT_EQ(g.TextMatrix(1, c), "") << c;
}

TEST_F(Validacion, CodigoNuevo) {
  esperar(ValidacionCuentas::FaltaNuevo(), kCritico);
  EXPECT_TRUE(validar(2, " "));
  ui.verify();

  // A brand-new code passes; an existing one is asked about.
  EXPECT_FALSE(validar(2, "1.1.01.901"));
  EXPECT_EQ(hoja.ModoDestino, 3);
  esperar(ValidacionCuentas::PreguntaExistente(), vb::YesNo + vb::Question, vb::No);
  esperar(ValidacionCuentas::NuevoExistente(), kCritico);
  EXPECT_TRUE(validar(2, "1.1.01.003"));
  ui.verify();
  EXPECT_EQ(hoja.ModoDestino, 3);

  esperar(ValidacionCuentas::PreguntaExistente(), vb::YesNo + vb::Question, vb::Yes);
  EXPECT_FALSE(validar(2, "1.1.01.003"));
  ui.verify();
  EXPECT_EQ(hoja.ModoDestino, 1);
  // From then on: existing codes pass without a question, new ones are
  // refused without a message.
  EXPECT_FALSE(validar(2, "1.1.01.002"));
  EXPECT_TRUE(validar(2, "1.1.01.901"));
  hoja.InicializaGrid2();
  EXPECT_FALSE(validar(2, "1.1.01.901"));
}

TEST_F(Validacion, LaSucursalNoSeControla) {
  EXPECT_FALSE(validar(3, "cualquier cosa"));
  EXPECT_FALSE(validar(3, ""));
  hoja.txtedit.DataField = "codigonvo"; // field names compare without case
  hoja.txtedit.Text = "";
  esperar(ValidacionCuentas::FaltaNuevo(), kCritico);
  EXPECT_TRUE(validacion.CampoValida(hoja, hoja.txtedit));
  ui.verify();
}

} // namespace
