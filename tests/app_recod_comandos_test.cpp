// The main window's commands: the toolbar's dispatch, the keys that reach
// it, and the save command's run on the demo.
#include "app_recod_ventana.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTableWidget>

using namespace zv;

namespace {

class Comandos : public test::VentanaDemo {
protected:
  QStringList planillas;
  int descargas = 0;

  void SetUp() override {
    VentanaDemo::SetUp();
    frm->AbrirPlanilla = [this](const QString &t, const QString &c, const QString &titulo) {
      planillas << t + "|" + c + "|" + titulo;
    };
    frm->Descargar = [this] { ++descargas; };
  }
  void llenar() {
    grilla().setTextMatrix(1, 0, "1.1.01.005");
    grilla().setTextMatrix(1, 2, "1.1.01.905");
  }
  void click(const QString &boton) {
    QString b = boton;
    frm->UtilKit1_click(b);
  }
  bool hojaVacia() { return grilla().Rows() == 2 && grilla().TextMatrix(1, 0).isEmpty(); }
  void esperarPreguntaFinal() {
    ui.expectMsg(app::Lib_ClsRecodificacion::PreguntaTestigo(), vb::YesNo + vb::Question, "Aviso al operador",
                 vb::No);
  }
};

TEST_F(Comandos, CancelarConLaHojaVaciaCierraSinPreguntar) {
  click("CANCELAR");
  EXPECT_EQ(descargas, 1);
  grilla().setTextMatrix(1, 0, "   ");
  click("Cancelar");
  EXPECT_EQ(descargas, 2);
}

TEST_F(Comandos, CancelarConDatosPregunta) {
  const QString pregunta = QString::fromUtf8("¿Realmente desea abandonar la carga de datos?");
  const int botones = vb::YesNo + vb::Question + vb::DefaultButton2;
  llenar();
  ui.expectMsg(pregunta, botones, "Aviso al Operador", vb::No);
  click("CANCELAR");
  ui.verify();
  EXPECT_EQ(grilla().TextMatrix(1, 0), "1.1.01.005");
  ui.expectMsg(pregunta, botones, "Aviso al Operador", vb::Yes);
  click("cancelar"); // lower case is dispatched alike
  ui.verify();
  EXPECT_TRUE(hojaVacia());
  EXPECT_EQ(descargas, 0);
}

TEST_F(Comandos, BorrarYReporteNoCambianNada) {
  llenar();
  for (const char *b : {"BORRAR", "REPORTE", "CONSULTAR", "OTRO"})
    click(b);
  EXPECT_EQ(grilla().TextMatrix(1, 0), "1.1.01.005");
  EXPECT_EQ(grilla().TextMatrix(1, 2), "1.1.01.905");
  EXPECT_TRUE(planillas.isEmpty());
  click("nuevo");
  EXPECT_TRUE(hojaVacia());
}

TEST_F(Comandos, PlanillaAbreElMaestroDeCuentas) {
  click("Planilla");
  EXPECT_EQ(planillas, QStringList{"MA_CUENTAS|" + global->principal().gConnString + "|Maestro de Cuentas"});
}

TEST_F(Comandos, ElBotonDeConsultaNoSeOfrece) {
  const UtilKitModelo &m = frm->UtilKit1->modelo();
  EXPECT_FALSE(m.Visible("CONSULTAR"));
  for (const char *b : {"NUEVO", "GRABAR", "PLANILLA", "CANCELAR", "CERRAR"}) {
    EXPECT_TRUE(m.Visible(b)) << b;
    EXPECT_TRUE(m.Habilitado(b)) << b;
  }
}

TEST_F(Comandos, GrabarRecodificaYVaciaLaHoja) {
  llenar();
  esperarPreguntaFinal();
  click("grabar");
  ui.verify();
  EXPECT_TRUE(hojaVacia());
  EXPECT_EQ(frm->MSFlexGrid1->rowCount(), 2);
  EXPECT_TRUE(frm->TxtSQL->toPlainText().contains("UPDATE MV_ASIENTOS SET CUENTA = '1.1.01.905'"));
  EXPECT_EQ(frm->LblMuestra->text(), "");
  auto cn = demo.abrir();
  EXPECT_EQ(cn->execute("SELECT COUNT(*) FROM MA_CUENTAS WHERE CODIGO = '1.1.01.905'")->rows[0][0].toInt(),
            1);
}

TEST_F(Comandos, GrabarVaciaLaHojaAunqueLaCorridaSeAbandone) {
  llenar();
  global->principal().Cnn().execute("DROP TABLE MV_SALDOS");
  hoja().InformarError = [](const AppError &, const QString &) { return vb::Abort; };
  click("GRABAR");
  ui.verify();
  EXPECT_TRUE(hojaVacia());
}

TEST_F(Comandos, LaTeclaDeGrabarLlegaALaBarra) {
  llenar();
  esperarPreguntaFinal();
  int tecla = vb::KeyF5;
  frm->Form_KeyDown(tecla, 0);
  ui.verify();
  EXPECT_EQ(tecla, 0);
  EXPECT_TRUE(hojaVacia());
}

} // namespace
