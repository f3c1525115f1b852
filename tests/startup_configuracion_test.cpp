#include "startup_entorno.h"

#include <QFile>

using namespace zv;

namespace {

class Configuracion : public ::testing::Test {
protected:
  test::EntornoDemo e;
  void SetUp() override { ASSERT_TRUE(e.valido()); }
  void abrirEstadisticas() {
    e.entorno->principal().gServidor = "SQLITE";
    e.g->ConfiguraEstadisticas();
  }
  QString clave(const QString &c, const QString &base = "DEMO") {
    return e.escalar("SELECT Valor FROM TA_CONFIGURACION WHERE Clave = '" + c + "'", base).toString();
  }
};

TEST_F(Configuracion, CfgSinConexionNoTocaLaBase) {
  QString aux = "x";
  EXPECT_EQ(e.g->Cfg("THEME", aux), "");
  EXPECT_EQ(aux, "x");
  EXPECT_FALSE(e.entorno->principal().gCnn && e.entorno->principal().gCnn->state() == ado::adStateOpen);
}

TEST_F(Configuracion, CfgLeeValorYValorAux) {
  e.abrirPrincipal();
  e.ejecutar("DELETE FROM TA_CONFIGURACION WHERE Clave IN ('PRUEBA_A', 'PRUEBA_B', 'THEME')");
  e.ejecutar(
      "INSERT INTO TA_CONFIGURACION (Grupo, Clave, Valor, ValorAux) VALUES ('G', 'PRUEBA_A', 'uno', 'aux')");
  e.ejecutar(
      "INSERT INTO TA_CONFIGURACION (Grupo, Clave, Valor, ValorAux) VALUES ('G', 'PRUEBA_B', NULL, NULL)");
  QString aux = "previo";
  EXPECT_EQ(e.g->Cfg("  PRUEBA_A ", aux), "uno");
  EXPECT_EQ(aux, "aux");
  EXPECT_EQ(e.g->gTablaConfiguracion, "TA_CONFIGURACION");
  EXPECT_EQ(e.g->Cfg("PRUEBA_B", aux), "");
  EXPECT_EQ(aux, "");
  // A missing key reads as one blank, and "THEME" then as "1".
  aux = "previo";
  EXPECT_EQ(e.g->Cfg("NO_EXISTE_ESTA", aux), " ");
  EXPECT_EQ(aux, "");
  EXPECT_EQ(e.g->Cfg("THEME"), "1");
  e.ejecutar("INSERT INTO TA_CONFIGURACION (Grupo, Clave, Valor) VALUES ('G', 'THEME', '  ')");
  EXPECT_EQ(e.g->Cfg("theme"), "1");
  // A key with an apostrophe is looked up safely.
  EXPECT_EQ(e.g->Cfg("O'BRIEN"), " ");
}

TEST_F(Configuracion, CfgNuncaReintentaUnaFalla) {
  e.abrirPrincipal();
  e.g->gTablaConfiguracion = "NO_EXISTE";
  const QString enLaBase = "Ha ocurrido el Siguiente Error (-2147217865) Invalid object name 'NO_EXISTE'.";
  const QString enCfg =
      "Ha ocurrido el Siguiente Error (3704) Operation is not allowed when the object is closed.";
  const QString tituloCfg = "ADODB.Recordset - Cfg Aviso al operador!!! - 2 ";
  // The data-access object reports its own failure first; then the read of
  // the closed recordset fails in Cfg, whose retry answer leaves.
  for (int respuesta : {vb::Retry, vb::Ignore, vb::Abort}) {
    e.ui.expectMsg(enLaBase, 18,
                   "Microsoft OLE DB Provider for SQL Server - AbrirRecordset Aviso al operador!!! - 5 ",
                   vb::Abort);
    e.ui.expectMsg(enCfg, 18, tituloCfg, respuesta);
    QString aux = "previo";
    EXPECT_EQ(e.g->Cfg("X", aux), "") << respuesta;
    e.ui.verify();
  }
}

TEST_F(Configuracion, SinBaseDeEstadisticasNoveintaSegundosYNadaSeMuestra) {
  e.abrirPrincipal();
  ASSERT_TRUE(QFile::remove(e.demo.archivoEstadisticas()));
  abrirEstadisticas();
  EXPECT_EQ(e.g->gTiempoEspera, 90);
}

TEST_F(Configuracion, TimeOutCeroSeReescribeYSeUsan90) {
  e.abrirPrincipal();
  abrirEstadisticas();
  // Missing at first: written with 0.
  EXPECT_EQ(e.g->gTiempoEspera, 90);
  auto r = e.directa("ZI_RODUVARUDUVU")
               ->execute("SELECT Grupo, Clave, Valor, ValorAux, PoliticaNegocio FROM TA_CONFIGURACION");
  ASSERT_TRUE(r && r->rows.size() == 1);
  EXPECT_EQ(r->rows[0][0].toString(), "BaseDeDatos");
  EXPECT_EQ(r->rows[0][1].toString(), "TIMEOUT");
  EXPECT_EQ(r->rows[0][2].toString(), "0");
  EXPECT_TRUE(r->rows[0][3].isNull());
  EXPECT_EQ(r->rows[0][4].toInt(), 0);
  // A row of 0 is rewritten on the next start and 90 used again.
  abrirEstadisticas();
  EXPECT_EQ(e.g->gTiempoEspera, 90);
  EXPECT_EQ(e.escalar("SELECT COUNT(*) FROM TA_CONFIGURACION", "ZI_RODUVARUDUVU").toInt(), 1);
  e.ejecutar("UPDATE TA_CONFIGURACION SET Valor = '45 segundos'", "ZI_RODUVARUDUVU");
  abrirEstadisticas();
  EXPECT_EQ(e.g->gTiempoEspera, 45);
  EXPECT_EQ(clave("TIMEOUT", "ZI_RODUVARUDUVU"), "45 segundos");
}

TEST_F(Configuracion, GrabaCfgZVAltaYModificacion) {
  e.abrirPrincipal();
  abrirEstadisticas();
  e.g->GrabaCfgZV(" nueva ", "  valor  ", "  aux ", true, "Grupo1", true);
  auto leer = [&] {
    return e.directa("ZI_RODUVARUDUVU")
        ->execute("SELECT Grupo, Clave, Valor, ValorAux, PoliticaNegocio FROM TA_CONFIGURACION WHERE Clave = "
                  "'NUEVA'");
  };
  auto r = leer();
  ASSERT_TRUE(r && r->rows.size() == 1);
  EXPECT_EQ(r->rows[0][0].toString(), "Grupo1");
  EXPECT_EQ(r->rows[0][1].toString(), "NUEVA");
  EXPECT_EQ(r->rows[0][2].toString(), "valor");
  EXPECT_EQ(r->rows[0][3].toString(), "aux");
  EXPECT_EQ(r->rows[0][4].toInt(), 1);
  // An empty ValorAux leaves the stored one; an untrimmed value stays as given.
  e.g->GrabaCfgZV("NUEVA", " otro ", "", false, "Grupo2", false);
  r = leer();
  ASSERT_TRUE(r && r->rows.size() == 1);
  EXPECT_EQ(r->rows[0][0].toString(), "Grupo2");
  EXPECT_EQ(r->rows[0][2].toString(), " otro ");
  EXPECT_EQ(r->rows[0][3].toString(), "aux");
  EXPECT_EQ(r->rows[0][4].toInt(), 0);
  EXPECT_EQ(e.g->CfgZV("nueva"), " otro ");
}

TEST_F(Configuracion, AjustesDeTrabajo) {
  e.abrirPrincipal();
  e.g->gUsuarioLogeado() = "ADMIN";
  e.ejecutar("DELETE FROM TA_CONFIGURACION WHERE Clave IN ('CFondo', 'CLetra', 'SS_CONFIDENCIALIDAD', "
             "'UTILIZARFECHADIA')");
  e.g->gColorFondo = 1;
  e.g->gColorLetra = 1;
  e.g->CargaConfiguracion(e.carpetaPrograma.path() + "/");
  EXPECT_EQ(e.g->gTablaConfiguracion, "ta_configuracion");
  EXPECT_EQ(e.g->gColorFondo, 0xFFFF00u);
  EXPECT_EQ(e.g->gColorLetra, 0u);
  EXPECT_FALSE(e.g->gConfidencialidad());
  EXPECT_FALSE(e.g->gUsarFechaDia);
  e.ejecutar(
      "INSERT INTO TA_CONFIGURACION (Grupo, Clave, Valor) VALUES ('G', 'CFondo', '255'), "
      "('G', 'CLetra', '16711680'), ('G', 'SS_CONFIDENCIALIDAD', 'SI'), ('G', 'UTILIZARFECHADIA', 'si')");
  e.g->CargaConfiguracion(e.carpetaPrograma.path() + "/");
  EXPECT_EQ(e.g->gColorFondo, 255u);
  EXPECT_EQ(e.g->gColorLetra, 16711680u);
  EXPECT_TRUE(e.g->gConfidencialidad());
  EXPECT_TRUE(e.g->gUsarFechaDia);
}

TEST_F(Configuracion, FechaDelServidor) {
  e.abrirPrincipal();
  const QDateTime antes = QDateTime::currentDateTime().addSecs(-2);
  const QDateTime f = e.g->FechaServidor();
  const QDateTime despues = QDateTime::currentDateTime().addSecs(2);
  EXPECT_TRUE(f >= antes && f <= despues) << f.toString().toStdString();
  EXPECT_EQ(f.time().msec(), 0);
}

} // namespace
