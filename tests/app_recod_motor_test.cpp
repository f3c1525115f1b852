// The recode engine on a temporary demo, driven as the save command runs it:
// every referencing column and configuration key follows the new code, a
// failing batch leaves nothing behind, and the run's answers to errors,
// refusals and the witness question.
#include "app/CampoValida.h"
#include "app/ProcesoPrincipal.h"
#include "app_hoja_dobles.h"
#include "app_recod_ventana.h"
#include "support/ConexionFallida.h"
#include "support/DemoTemporal.h"
#include "support/FakeSistema.h"
#include "support/ScriptedUi.h"

#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zv;
using zv::app::Lib_ClsRecodificacion;

namespace {

const QString kAviso = QStringLiteral("Aviso al operador");

QVariant escalar(ado::Connection &cn, const QString &sql) {
  auto r = cn.execute(sql);
  return r && !r->rows.isEmpty() ? r->rows.first().value(0) : QVariant();
}

int contar(ado::Connection &cn, const QString &tabla, const QString &columna, const QString &codigo) {
  return escalar(cn, "SELECT COUNT(*) FROM " + tabla + " WHERE " + columna + " = '" +
                         QString(codigo).replace("'", "''") + "'")
      .toInt();
}

// Every row of every table, as text, so that two states can be compared.
QStringList volcado(ado::Connection &cn) {
  QStringList todo;
  auto tablas = cn.openSchema(ado::adSchemaTables, {});
  const int n = tablas->columnIndex("TABLE_NAME"), t = tablas->columnIndex("TABLE_TYPE");
  for (const auto &f : tablas->rows) {
    if (f.value(t).toString() != "TABLE")
      continue;
    const QString tabla = f.value(n).toString();
    auto filas = cn.execute("SELECT * FROM [" + tabla + "]");
    QStringList lineas;
    for (const auto &fila : filas->rows) {
      QStringList valores;
      for (const QVariant &v : fila)
        valores << (v.isNull() ? QStringLiteral("<null>") : v.toString());
      lineas << tabla + ": " + valores.join('|');
    }
    lineas.sort();
    todo << tabla + QString(" (%1)").arg(lineas.size()) << lineas;
  }
  return todo;
}

// The journal's balances, per account, from the lines and from MV_SALDOS.
QMap<QString, double> saldos(ado::Connection &cn, const QString &tabla) {
  QMap<QString, double> m;
  auto r = cn.execute("SELECT CUENTA, SUM(Debe) - SUM(Haber) FROM " + tabla + " GROUP BY CUENTA");
  for (const auto &f : r->rows)
    if (std::abs(f[1].toDouble()) > 0.004)
      m[f[0].toString()] = std::round(f[1].toDouble() * 100) / 100;
  return m;
}

// Whether the journal's triggers keep MV_SALDOS up to date.
bool triggersActivos(ado::Connection &cn, const QString &cuenta) {
  const double antes = saldos(cn, "MV_SALDOS").value(cuenta);
  cn.execute("INSERT INTO MV_ASIENTOS (NroAsiento, Renglon, Fecha, CUENTA, Debe, Haber) VALUES "
             "(9100, 1, '2024-12-31 00:00:00', '" +
             cuenta + "', 7, 0)");
  const double despues = saldos(cn, "MV_SALDOS").value(cuenta);
  cn.execute("DELETE FROM MV_ASIENTOS WHERE NroAsiento = 9100");
  return std::abs(despues - antes - 7) < 0.001;
}

// The save dialog the closing Yes opens.
FileDialogRequest pedidoTestigo() {
  FileDialogRequest pedido;
  pedido.filter = Lib_ClsRecodificacion::FiltroTestigo();
  pedido.defaultExtension = ".htm";
  pedido.flag = true;
  pedido.save = true;
  return pedido;
}

struct CartelPrueba : startup::Cartel {
  int cierres = 0;
  void CartelInicio(const QString &, bool) override {}
  void CartelMostrar(bool &, const std::optional<QVariant> &, const std::optional<QVariant> &,
                     const std::optional<QVariant> &) override {}
  void CartelCerrar() override { ++cierres; }
};

class Motor : public ::testing::Test {
protected:
  test::DemoTemporal demo{300};
  test::FakeSistema sistema;
  test::ScriptedUi ui;
  db::EntornoDB entorno{ui, sistema, connectionFactory(demo.config())};
  db::DB_Dll &bd = entorno.principal();
  app::ValidacionCuentas validacion{bd, ui};
  app::HojaRecodificacion hoja{ui, validacion};
  kit::DialogoArchivo dialogo{ui};
  Lib_ClsRecodificacion motor{hoja, bd, dialogo};
  test::InformeGuion informe;
  CartelPrueba cartel;
  QStringList estados, lotes;
  bool soloGenerar = false;

  void SetUp() override {
    ASSERT_TRUE(demo.valida());
    sistema.programFolder = demo.carpeta();
    ASSERT_TRUE(test::abrirDemo(entorno));
    hoja.InicializaGrid2();
    motor.CartelMostrar = [this](const QString &m) { estados << m; };
    motor.MostrarSQL = [this](const QString &s) { lotes << s; };
    motor.SoloGenerar = [this] { return soloGenerar; };
    motor.InformarError = informe.funcion();
    motor.cartel = &cartel;
    motor.carpetaPrograma = demo.carpeta();
    motor.tituloVentana = "Recodificación de Cuentas Contables";
  }
  ado::Connection &cn() { return bd.Cnn(); }

  // One row of the sheet, leaving the empty row that typing leaves last.
  void fila(const QString &act, const QString &nvo, const QString &suc = {}, const QString &desc = {}) {
    app::Grilla &g = hoja.MSFlexGrid1;
    const int r = g.Rows() - 1;
    g.setTextMatrix(r, 0, act);
    g.setTextMatrix(r, 1, desc);
    g.setTextMatrix(r, 2, nvo);
    g.setTextMatrix(r, 3, suc);
    g.AddRow();
  }
  void esperarPreguntaFinal(int respuesta = vb::No) {
    ui.expectMsg(Lib_ClsRecodificacion::PreguntaTestigo(), vb::YesNo + vb::Question, kAviso, respuesta);
  }
  // Rejects, from inside the batch, the journal balances' move to `cuenta`.
  void rechazarSaldosDe(const QString &cuenta) {
    cn().execute("CREATE TRIGGER TR_PRUEBA_RECHAZO BEFORE UPDATE ON MV_SALDOS WHEN NEW.CUENTA = '" + cuenta +
                 "' BEGIN SELECT RAISE(ABORT, 'saldo rechazado por la prueba'); END");
  }
};

TEST_F(Motor, UnaCorridaLlevaCadaParASuCodigoNuevo) {
  // A new account, a client account with a branch, and a merge into an
  // existing account.
  const QString act1 = "1.1.01.001", nvo1 = "1.1.01.901";
  const QString act2 = "1.1.03.102", nvo2 = "1.1.03.202", suc2 = "0002";
  const QString act3 = "1.1.01.002", nvo3 = "1.1.01.003";
  ASSERT_EQ(contar(cn(), "MA_CUENTAS", "CODIGO", nvo1), 0);
  ASSERT_EQ(contar(cn(), "MA_CUENTAS", "CODIGO", nvo3), 1);
  ASSERT_EQ(contar(cn(), "MA_CUENTASADIC", "CODIGO", act1), 1);

  // What the old codes are referred to by, step by step.
  QMap<QString, int> antes;
  for (const app::PasoTabla &p : app::PasosTablas())
    for (const QString &c : {act1, act2, act3, nvo3})
      antes[p.tabla + "." + p.columna + "=" + c] = contar(cn(), p.tabla, p.columna, c);
  int referencias1 = 0;
  for (const app::PasoTabla &p : app::PasosTablas())
    referencias1 += antes[p.tabla + "." + p.columna + "=" + act1];
  ASSERT_GT(referencias1, 20);
  auto configuracion = cn().execute("SELECT Clave, Valor FROM TA_CONFIGURACION");
  auto cuenta1 = cn().execute("SELECT * FROM MA_CUENTAS WHERE CODIGO = '" + act1 + "'");
  const QMap<QString, double> saldosAntes = saldos(cn(), "MV_ASIENTOS");

  fila(act1, nvo1, {}, "Caja");
  fila(" " + act2 + " ", nvo2 + "  ", " " + suc2);
  fila(act3, nvo3);
  esperarPreguntaFinal();
  motor.ProcesoPrincipal();
  ui.verify();

  EXPECT_EQ(motor.Resumen().procesados, 3);
  EXPECT_EQ(motor.Resumen().rechazados, 0);
  EXPECT_EQ(motor.Resumen().conError, 0);
  EXPECT_FALSE(motor.Resumen().abandonado);
  EXPECT_EQ(estados, (QStringList{act1 + " Caja", act2 + " ", act3 + " ", " ", ""}));
  ASSERT_EQ(lotes.size(), 3);
  EXPECT_TRUE(lotes[0].startsWith("\r\nSET XACT_ABORT ON \r\nalter table mv_asientos disable trigger all "));
  // The merge's batch was built knowing that the new code exists.
  EXPECT_TRUE(lotes[0].contains("UPDATE MA_CUENTASADIC SET CODIGO"));
  EXPECT_FALSE(lotes[2].contains("UPDATE MA_CUENTASADIC SET CODIGO"));
  EXPECT_TRUE(informe.informes.isEmpty()) << informe.informes.join(",").toStdString();

  // Every referencing column now names the new code.
  for (const app::PasoTabla &p : app::PasosTablas()) {
    const QString k = p.tabla + "." + p.columna + "=";
    SCOPED_TRACE((k).toStdString());
    EXPECT_EQ(contar(cn(), p.tabla, p.columna, act1), 0);
    EXPECT_EQ(contar(cn(), p.tabla, p.columna, act2), 0);
    EXPECT_EQ(contar(cn(), p.tabla, p.columna, act3), 0);
    if (p.tabla.compare("MA_CUENTASSUC", Qt::CaseInsensitive) != 0 &&
        p.tabla.compare("MA_CUENTASCCOSTO", Qt::CaseInsensitive) != 0) {
      EXPECT_EQ(contar(cn(), p.tabla, p.columna, nvo1), antes[k + act1]);
      EXPECT_EQ(contar(cn(), p.tabla, p.columna, nvo3), antes[k + act3] + antes[k + nvo3]);
    }
  }
  // The branch table goes through its step twice for a new code, each time
  // copying the client under the branch.
  EXPECT_GE(escalar(cn(), "SELECT COUNT(*) FROM MA_CUENTASSUC WHERE CODIGO = '" + nvo2 +
                              "' AND Sucursal = '" + suc2 + "'")
                .toInt(),
            1);
  EXPECT_EQ(escalar(cn(), "SELECT COUNT(*) FROM MV_ASIENTOS WHERE CUENTA = '" + nvo2 +
                              "' AND SucursalCuenta = '" + suc2 + "'")
                .toInt(),
            antes["MV_ASIENTOS.CUENTA=" + act2]);

  // The keys change only where they held an old code.
  const QStringList &claves = app::ClavesConfiguracion();
  int cambiadas = 0;
  for (const auto &f : configuracion->rows) {
    const QString clave = f[0].toString(), valor = f[1].toString();
    QString esperado = valor;
    if (claves.contains(clave, Qt::CaseInsensitive)) {
      if (valor == act1)
        esperado = nvo1;
      else if (valor == act3)
        esperado = nvo3;
    }
    cambiadas += esperado != valor;
    EXPECT_EQ(escalar(cn(), "SELECT Valor FROM TA_CONFIGURACION WHERE Clave = '" + clave + "'").toString(),
              esperado)
        << clave.toStdString();
  }
  EXPECT_EQ(cambiadas, 2); // CUENTA_CAJA and tituloCaja

  // The old accounts are gone with their additional data; the new one is
  // the old one's copy.
  for (const QString &c : {act1, act2, act3}) {
    EXPECT_EQ(contar(cn(), "MA_CUENTAS", "CODIGO", c), 0) << c.toStdString();
    EXPECT_EQ(contar(cn(), "MA_CUENTASADIC", "CODIGO", c), 0) << c.toStdString();
  }
  EXPECT_EQ(contar(cn(), "MA_CUENTASADIC", "CODIGO", nvo1), 1);
  auto copia = cn().execute("SELECT * FROM MA_CUENTAS WHERE CODIGO = '" + nvo1 + "'");
  ASSERT_EQ(copia->rows.size(), 1);
  for (int c = 0; c < copia->columns.size(); ++c) {
    const QString nombre = copia->columns[c].name;
    if (nombre.compare("ID", Qt::CaseInsensitive) == 0 || nombre.compare("CODIGO", Qt::CaseInsensitive) == 0)
      continue;
    EXPECT_EQ(copia->rows[0][c], cuenta1->rows[0][cuenta1->columnIndex(nombre)]) << nombre.toStdString();
  }

  // No trigger ran while the lines moved (the balances moved with them, not
  // twice), and they run again after the run.
  QMap<QString, double> esperados = saldosAntes;
  esperados[nvo1] = esperados.take(act1);
  esperados[nvo2] = esperados.take(act2);
  esperados[nvo3] = esperados.take(act3) + esperados.value(nvo3);
  EXPECT_EQ(saldos(cn(), "MV_ASIENTOS"), saldos(cn(), "MV_SALDOS"));
  EXPECT_EQ(saldos(cn(), "MV_ASIENTOS").value(nvo3), esperados.value(nvo3));
  EXPECT_TRUE(triggersActivos(cn(), nvo1));
}

TEST_F(Motor, SoloGenerarNoTocaLaBase) {
  soloGenerar = true;
  const QStringList antes = volcado(cn());
  fila("1.1.01.001", "1.1.01.901");
  fila("1.1.01.002", "1.1.01.003");
  esperarPreguntaFinal();
  motor.ProcesoPrincipal();
  ui.verify();
  EXPECT_EQ(volcado(cn()), antes);
  ASSERT_EQ(lotes.size(), 2);
  // The existence check still ran for each pair.
  EXPECT_TRUE(lotes[0].contains("UPDATE MA_CUENTASADIC SET CODIGO = '1.1.01.901'"));
  EXPECT_FALSE(lotes[1].contains("UPDATE MA_CUENTASADIC SET CODIGO"));
  EXPECT_EQ(motor.Resumen().procesados, 2);
}

TEST_F(Motor, UnLoteQueFallaEnSuMitadNoDejaRastro) {
  rechazarSaldosDe("1.1.01.901");
  const QStringList antes = volcado(cn());
  fila("1.1.01.001", "1.1.01.901");
  fila("1.1.01.005", "1.1.01.905"); // never reached: the run is left
  motor.ProcesoPrincipal();         // the report is answered Abort: no closing question
  ui.verify();

  ASSERT_EQ(informe.informes.size(), 1);
  EXPECT_TRUE(informe.informes[0].startsWith("ProcesoPrincipal:"));
  EXPECT_EQ(cartel.cierres, 1);
  EXPECT_EQ(lotes.size(), 1);
  EXPECT_EQ(motor.Resumen().conError, 1);
  EXPECT_EQ(motor.Resumen().procesados, 0);
  EXPECT_TRUE(motor.Resumen().abandonado);
  EXPECT_EQ(volcado(cn()), antes);
  EXPECT_EQ(escalar(cn(), "SELECT @@TRANCOUNT").toInt(), 0);
  EXPECT_TRUE(triggersActivos(cn(), "1.1.01.001"));
}

TEST_F(Motor, ConIgnorarSeRecodificaElParSiguiente) {
  rechazarSaldosDe("1.1.01.901");
  informe.respuestas = {vb::Ignore};
  fila("1.1.01.001", "1.1.01.901");
  fila("1.1.01.005", "1.1.01.905");
  // After the report, the error-list check shows the server's message.
  ui.expectMsg("saldo rechazado por la prueba", vb::OKOnly, "recodificador", vb::OK);
  esperarPreguntaFinal();
  motor.ProcesoPrincipal();
  ui.verify();

  EXPECT_EQ(informe.informes.size(), 1);
  EXPECT_EQ(motor.Resumen().conError, 1);
  EXPECT_EQ(motor.Resumen().procesados, 1);
  EXPECT_EQ(contar(cn(), "MA_CUENTAS", "CODIGO", "1.1.01.001"), 1);
  EXPECT_EQ(contar(cn(), "MA_CUENTAS", "CODIGO", "1.1.01.901"), 0);
  EXPECT_EQ(contar(cn(), "MA_CUENTAS", "CODIGO", "1.1.01.005"), 0);
  EXPECT_EQ(contar(cn(), "MA_CUENTAS", "CODIGO", "1.1.01.905"), 1);
  EXPECT_EQ(contar(cn(), "MV_ASIENTOS", "CUENTA", "1.1.01.901"), 0);
  EXPECT_GT(contar(cn(), "MV_ASIENTOS", "CUENTA", "1.1.01.001"), 0);
  EXPECT_EQ(saldos(cn(), "MV_ASIENTOS"), saldos(cn(), "MV_SALDOS"));
  EXPECT_EQ(escalar(cn(), "SELECT @@TRANCOUNT").toInt(), 0);
  EXPECT_TRUE(triggersActivos(cn(), "1.1.01.001"));
}

TEST_F(Motor, ReintentarVuelveAEnviarElLoteEntero) {
  rechazarSaldosDe("1.1.01.901");
  motor.InformarError = [&](const AppError &, const QString &rutina) {
    informe.informes << rutina;
    cn().execute("DROP TRIGGER TR_PRUEBA_RECHAZO"); // the operator mends the cause
    return vb::Retry;
  };
  fila("1.1.01.001", "1.1.01.901");
  esperarPreguntaFinal();
  motor.ProcesoPrincipal();
  ui.verify();
  EXPECT_EQ(informe.informes, QStringList{"ProcesoPrincipal"});
  EXPECT_EQ(motor.Resumen().procesados, 1);
  EXPECT_EQ(motor.Resumen().conError, 0);
  EXPECT_EQ(contar(cn(), "MA_CUENTAS", "CODIGO", "1.1.01.001"), 0);
  EXPECT_EQ(contar(cn(), "MV_SALDOS", "CUENTA", "1.1.01.001"), 0);
}

// Reports an error for the recode batch without failing the call.
class ConAviso : public test::ConexionFallida {
public:
  using ConexionFallida::ConexionFallida;
  QStringList ejecutadas;
  std::unique_ptr<ado::ResultSet> execute(const QString &t, long *n, long o) override {
    ejecutadas << t;
    auto r = ConexionFallida::execute(t, n, o);
    if (t.startsWith("\r\nSET XACT_ABORT ON"))
      errors().add(ado::ErrorEntry{"01000", -2147217900, "Aviso del servidor", 50000, "prueba"});
    return r;
  }
};

TEST_F(Motor, UnErrorInformadoSinFallarSeMuestraYSeDeshace) {
  auto *conexion = new ConAviso(std::move(bd.gCnn));
  bd.gCnn.reset(conexion);
  fila("1.1.01.001", "1.1.01.901");
  fila("1.1.01.005", "1.1.01.905");
  ui.expectMsg("Aviso del servidor", vb::OKOnly, "recodificador", vb::OK);
  ui.expectMsg("Aviso del servidor", vb::OKOnly, "recodificador", vb::OK);
  esperarPreguntaFinal();
  motor.ProcesoPrincipal();
  ui.verify();
  EXPECT_TRUE(informe.informes.isEmpty());
  EXPECT_EQ(motor.Resumen().conError, 2);
  QStringList propias;
  for (const QString &t : conexion->ejecutadas)
    if (!t.startsWith("\r\n") && !t.startsWith("select", Qt::CaseInsensitive))
      propias << t;
  EXPECT_EQ(propias, (QStringList{app::kDeshacerTransaccion, app::kHabilitarTriggers,
                                  app::kDeshacerTransaccion, app::kHabilitarTriggers}));
}

TEST_F(Motor, FilasIncompletasYCodigosIgualesNoSeRecodifican) {
  fila("1.1.01.005", " 1.1.01.005 ");
  fila("1.1.01.001", "");
  fila("", "", "");
  fila("1.1.01.008", "1.1.01.908");
  ui.expectMsg(Lib_ClsRecodificacion::CodigosIguales(), vb::OKOnly + vb::Critical, kAviso, vb::OK);
  esperarPreguntaFinal();
  motor.ProcesoPrincipal();
  ui.verify();
  EXPECT_EQ(lotes.size(), 1);
  EXPECT_EQ(motor.Resumen().rechazados, 2);
  EXPECT_EQ(motor.Resumen().procesados, 1);
  EXPECT_EQ(contar(cn(), "MA_CUENTAS", "CODIGO", "1.1.01.005"), 1);
  EXPECT_EQ(contar(cn(), "MA_CUENTAS", "CODIGO", "1.1.01.001"), 1);
  EXPECT_EQ(contar(cn(), "MA_CUENTAS", "CODIGO", "1.1.01.908"), 1);
  EXPECT_EQ(estados.size(), 6); // every row is shown, skipped or not
}

TEST_F(Motor, UnApostrofeEnElCodigoNuevoLlegaIntacto) {
  fila("1.1.01.005", "1.1.01.9'5");
  esperarPreguntaFinal();
  motor.ProcesoPrincipal();
  ui.verify();
  EXPECT_EQ(motor.Resumen().procesados, 1);
  EXPECT_EQ(contar(cn(), "MA_CUENTAS", "CODIGO", "1.1.01.9'5"), 1);
  EXPECT_EQ(contar(cn(), "MA_CUENTAS", "CODIGO", "1.1.01.005"), 0);
  EXPECT_GT(contar(cn(), "MV_ASIENTOS", "CUENTA", "1.1.01.9'5"), 0);
}

TEST_F(Motor, ElTestigoSeEscribeYSeAbre) {
  QTemporaryDir dir;
  const QString archivo = dir.filePath("testigo de prueba.htm");
  fila("1.1.01.005", "1.1.01.905");
  esperarPreguntaFinal(vb::Yes);
  ui.expectFile(pedidoTestigo(), FileDialogResult{false, archivo});
  ui.expectOpenDocument('"' + archivo + '"');
  motor.ProcesoPrincipal();
  ui.verify();
  EXPECT_EQ(ui.lastShowCode, 0);
  QFile f(archivo);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray texto = f.readAll();
  EXPECT_TRUE(texto.startsWith("<html>\r\n\r\n</head>\r\n"));
  EXPECT_TRUE(texto.contains("<TR> <TD>1.1.01.005<TD>&nbsp<TD>1.1.01.905<TD>&nbsp\r\n"));
}

TEST_F(Motor, CancelarElDialogoNoEscribeNada) {
  fila("1.1.01.005", "1.1.01.905");
  esperarPreguntaFinal(vb::Yes);
  ui.expectFile(pedidoTestigo(), FileDialogResult{true, {}});
  motor.ProcesoPrincipal();
  ui.verify();
  EXPECT_EQ(motor.Resumen().procesados, 1);
}

} // namespace
