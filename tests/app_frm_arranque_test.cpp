// The program's normal start on the embedded demo, driven through the main
// window: the notice, the access row while the window is open and its exit
// time once the window unloads.
#include "app/AvisoHeadless.h"
#include "app/FrmDIZavadodare.h"
#include "lookup/Lib_ClsCons3.h"
#include "platform/Proveedores.h"
#include "platform/UiHeadless.h"
#include "support/AplicacionQt.h"
#include "support/DemoTemporal.h"
#include "support/FakeSistema.h"
#include "support/ScriptedUi.h"

#include <QFile>
#include <QLabel>
#include <QTableWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zv;
using zv::app::FrmDIZavadodare;

namespace {

class Arranque : public ::testing::Test {
protected:
  test::DemoTemporal demo{50};
  QTemporaryDir carpetaPrograma;
  test::ScriptedUi ui;
  test::FakeSistema sistema;
  QStringList lineasAviso;
  std::unique_ptr<db::EntornoDB> entorno;
  std::unique_ptr<startup::ModuloGlobal> global;
  std::unique_ptr<app::CartelDisplay> cartel;
  std::unique_ptr<lookup::Lib_ClsCons3> motor;
  QByteArray datosAntes;

  void SetUp() override {
    test::aplicacionQt();
    ASSERT_TRUE(demo.valida() && carpetaPrograma.isValid());
    datosAntes = qgetenv("ZV_DATOS");
    qputenv("ZV_DATOS", demo.carpeta().toUtf8());
    sistema.programFolder = carpetaPrograma.path();
    sistema.args =
        QStringList{"@Server=SQLITE;@DbName=DEMO;@Usuario=DEMO;@UsuarioLogeado=ADMIN;@Password=admin;"};
    // A registry exists, as on a workstation that has connected before.
    QFile bases(carpetaPrograma.filePath("BASES.TXT"));
    ASSERT_TRUE(bases.open(QIODevice::WriteOnly));
    bases.close();
    entorno = std::make_unique<db::EntornoDB>(
        ui, sistema, connectionFactory(providerConfigFromEnvironment(sistema.programFolder)));
    global = std::make_unique<startup::ModuloGlobal>(*entorno);
    cartel = std::make_unique<app::CartelDisplay>([this]() -> std::unique_ptr<app::VistaAviso> {
      return std::make_unique<app::AvisoHeadless>([this](const QString &l) { lineasAviso << l; });
    });
    global->cartel = cartel.get();
    global->motorConsultas = [this]() -> startup::MotorConsultas & {
      if (!motor)
        motor = std::make_unique<lookup::Lib_ClsCons3>([this](const QString &c) { return global->Cfg(c); });
      return *motor;
    };
  }
  void TearDown() override {
    if (datosAntes.isNull())
      qunsetenv("ZV_DATOS");
    else
      qputenv("ZV_DATOS", datosAntes);
  }
  std::unique_ptr<ado::ResultSet> accesos() {
    return demo.abrir()->execute("SELECT Id, Usuario, Formulario, EGRESO FROM Control_Acceso");
  }
};

TEST_F(Arranque, CargaYDescargaDeLaVentana) {
  FrmDIZavadodare frm(*global);
  frm.Form_Load();

  EXPECT_EQ(lineasAviso,
            (QStringList{"Conectando Base de Datos",
                         "Conectando Base de Datos: Iniciando Aplicacion / recodificador / Espere "
                         "por favor"}));
  EXPECT_FALSE(cartel->display() && cartel->display()->cargado()); // closed at the end of the start-up
  EXPECT_EQ(frm.windowTitle(), QString::fromUtf8("Recodificación de Cuentas Contables"));
  EXPECT_EQ(frm.LblMuestra->text(), "Label1");
  EXPECT_EQ(frm.SkinFramework1.ArchivoSkin, carpetaPrograma.path() + "/Styles/Office2007.cjstyles");
  EXPECT_EQ(frm.SkinFramework1.Definicion, "NormalBlue.ini");
  EXPECT_FALSE(frm.SkinFramework1.Aplicado);
  EXPECT_EQ(frm.SkinFramework1.Options & 1, 1);
  EXPECT_EQ(frm.UtilKit1->StyleBar(), 1);

  auto r = accesos();
  ASSERT_TRUE(r && r->rows.size() == 1);
  EXPECT_EQ(r->rows[0][0].toInt(), global->gIdControlAcceso);
  EXPECT_EQ(r->rows[0][1].toString(), "ADMIN");
  EXPECT_EQ(r->rows[0][2].toString(), "RECODIFICADOR");
  EXPECT_TRUE(r->rows[0][3].isNull());

  // The default lookup definitions were written for the engine.
  ASSERT_NE(motor, nullptr);
  EXPECT_EQ(motor->gRutaMascaraConsultas, carpetaPrograma.path() + "/consultas.zvq");
  EXPECT_TRUE(motor->gUsarMascarasConsultas);
  EXPECT_EQ(motor->gConnString, entorno->principal().gConnString);
  EXPECT_EQ(QFileInfo(motor->gRutaMascaraConsultas).size(), 13222);

  int cancelar = 1;
  try {
    frm.Form_Unload(cancelar);
    FAIL() << "la descarga debe terminar el programa";
  } catch (const ProcessExit &x) {
    EXPECT_EQ(x.code, 0);
  }
  EXPECT_EQ(cancelar, 0);
  r = accesos();
  ASSERT_TRUE(r && r->rows.size() == 1);
  EXPECT_FALSE(r->rows[0][3].isNull());
  EXPECT_FALSE(entorno->hayPrincipal());
}

TEST_F(Arranque, ConUnaValidacionLaHojaQuedaIniciada) {
  struct Acepta : app::Validador {
    bool CampoValida(app::HojaRecodificacion &, app::EditorCelda &) override { return false; }
  } validador;
  FrmDIZavadodare frm(*global, &validador);
  frm.Form_Load();
  ASSERT_NE(frm.hoja(), nullptr);
  const app::Grilla &g = frm.hoja()->MSFlexGrid1;
  ASSERT_EQ(frm.MSFlexGrid1->rowCount(), g.Rows());
  for (int c = 0; c < g.Cols(); ++c)
    EXPECT_EQ(frm.MSFlexGrid1->item(0, c)->text(), g.TextMatrix(0, c));
  EXPECT_EQ(g.TextMatrix(0, 0), "Codigo");
  EXPECT_EQ(frm.hoja()->gColorFondo, long(global->gColorFondo));
}

TEST_F(Arranque, SinPantallaConServiciosDeTexto) {
  // The same start-up over the windowless services a batch run uses.
  QStringList mensajes;
  UiHeadless texto([&](const QString &t, int, const QString &titulo) {
    mensajes << UiHeadless::line(titulo, t);
    return vb::OK;
  });
  db::EntornoDB entornoTexto(texto, sistema,
                             connectionFactory(providerConfigFromEnvironment(sistema.programFolder)));
  startup::ModuloGlobal g(entornoTexto);
  g.cartel = cartel.get();
  g.IniciarAplicacion();
  EXPECT_TRUE(mensajes.isEmpty()) << mensajes.join("\n").toStdString();
  EXPECT_EQ(lineasAviso.value(1),
            "Conectando Base de Datos: Iniciando Aplicacion / recodificador / Espere por favor");
  auto r = accesos();
  ASSERT_TRUE(r && r->rows.size() == 1);
  EXPECT_EQ(r->rows[0][0].toInt(), g.gIdControlAcceso);
  g.FinAplicacion();
  r = accesos();
  ASSERT_TRUE(r && r->rows.size() == 1);
  EXPECT_FALSE(r->rows[0][3].isNull());
}

} // namespace
