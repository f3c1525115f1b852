// Statement execution, the Oracle batch splitter, recordsets and the
// lost-connection handling of DB_Dll.
#include "db_entorno_prueba.h"

using namespace zv;
using namespace zv::test;
using Op = ConexionFallida::Operacion;

namespace {

const QString kOracle =
    QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=ORCL;Password=ORCL;");
const QString kSql = QStringLiteral("PROVIDER=SQLOLEDB;Server=SRV;Database =DEMO;UId=DEMO;Pwd=DEMO;");

QString avisoConexionPerdida() {
  return QStringLiteral(
      "\r\n\r\n\r\nSe perdio la conexion con la base de datos DEMO\r\n Servidor SRV\r\n\r\n"
      "Elija SI para reintentar conectarse\r\nElija NO para cerrar la aplicacion\r\n\r\n\r\n");
}

struct Ejecucion : EntornoPrueba {
  Ejecucion() {
    bd().gServidor = QStringLiteral("SRV");
    bd().gDBName = bd().gUsuario = bd().gUserPassWord = QStringLiteral("DEMO");
    bd().OpenServerADODB(false, 3, QString(), false, false);
    bd().gEsAdmin = false;
  }
  void oracle() {
    guion().cadenaReportada = kOracle;
    bd().gConnString = kOracle;
  }
  int reaperturas() const { return fallidas.front()->aperturas - 1; }
  void esperarAviso(int respuesta) {
    ui.expectMsg(avisoConexionPerdida(), vb::YesNo + vb::Critical, QStringLiteral("AVISO AL OPERADOR"),
                 respuesta);
  }
};

} // namespace

TEST_F(Ejecucion, LaMarcaSeQuitaYElTextoVuelveAlLlamador) {
  struct Caso {
    const char *entrada, *ejecutada;
  };
  const Caso casos[] = {
      {"UPDATE @Admin_T SET X=1", "UPDATE T SET X=1"},
      {"UPDATE @ADMIN_T SET X=1 FROM @admin_MA_CUENTAS", "UPDATE T SET X=1 FROM MA_CUENTAS"},
      {"SELECT * FROM MA_CUENTAS WHERE 1=1", "SELECT * FROM MA_CUENTAS WHERE 1=1"},
      // CREATE and DROP without DELETE and without marker: user-scoped views
      {"DROP VIEW V CREATE VIEW V AS SELECT * FROM MA_CUENTAS WHERE 1=1",
       "DROP VIEW V CREATE VIEW V AS SELECT * FROM SS_MA_CUENTAS WHERE 1=1"},
      {"DROP VIEW V CREATE VIEW V AS SELECT * FROM @Admin_MA_CUENTAS WHERE 1=1",
       "DROP VIEW V CREATE VIEW V AS SELECT * FROM MA_CUENTAS WHERE 1=1"},
      {"DROP TABLE X CREATE TABLE X (A INT) DELETE FROM MA_CUENTAS WHERE 1=1",
       "DROP TABLE X CREATE TABLE X (A INT) DELETE FROM MA_CUENTAS WHERE 1=1"},
  };
  for (const Caso &c : casos) {
    QString sql = QString::fromLatin1(c.entrada);
    bd().EjecutaConsultaSQL(sql);
    EXPECT_EQ(std_(guion().ejecutadas.last()), c.ejecutada) << c.entrada;
    EXPECT_EQ(std_(sql), c.ejecutada) << c.entrada;
  }
}

TEST_F(Ejecucion, RegistrosAfectadosYRecordsetDelComando) {
  guion().respuesta = [](const QString &, long *n) {
    *n = 7;
    return filas(QStringLiteral("X"), {1, 2});
  };
  QString sql = QStringLiteral("UPDATE T SET X=1");
  long afectados = 100;
  ado::Recordset rs;
  bd().EjecutaConsultaSQL(sql, &afectados, &rs);
  EXPECT_EQ(afectados, 7);
  ASSERT_EQ(rs.state(), ado::adStateOpen);
  EXPECT_EQ(rs.recordCount(), 2);
}

TEST_F(Ejecucion, OracleTransaccionYDosInserciones) {
  oracle();
  guion().respuesta = [](const QString &t, long *n) {
    *n = t.contains(QLatin1String("(1)")) ? 2 : 3;
    return nullptr;
  };
  QString sql = QStringLiteral(
      "BEGIN TRANSACTION\rINSERT INTO T VALUES (1)\rINSERT INTO T VALUES (2)\rCOMMIT TRANSACTION");
  long afectados = 10;
  guion().registro.clear();
  bd().EjecutaConsultaSQL(sql, &afectados);
  EXPECT_EQ(guion().registro,
            (QStringList{QStringLiteral("begin"), QStringLiteral("exec:INSERT INTO T VALUES (1)"),
                         QStringLiteral("exec:INSERT INTO T VALUES (2)"), QStringLiteral("commit")}));
  EXPECT_EQ(afectados, 15);
  EXPECT_EQ(std_(sql), "");
}

TEST_F(Ejecucion, OracleDivideLotes) {
  oracle();
  struct Caso {
    const char *lote;
    QStringList registro;
  };
  const Caso casos[] = {
      // the keyword followed by a line feed is an ordinary statement
      {"BEGIN TRANSACTION\nINSERT INTO T VALUES (1)",
       {QStringLiteral("exec:SET TRANSACTION\n"), QStringLiteral("exec:INSERT INTO T VALUES (1)")}},
      {"PRINT 'hola' INSERT INTO A VALUES (1)\r\nGO\r\nINSERT INTO B VALUES (2)\r\nGO UPDATE C SET X=1",
       {QStringLiteral("exec:INSERT INTO A VALUES (1)"), QStringLiteral("exec:INSERT INTO B VALUES (2)"),
        QStringLiteral("exec:UPDATE C SET X=1")}},
      {"SET NOCOUNT ON\r\nIF NOT EXISTS (SELECT 1 FROM T) INSERT INTO T VALUES (1)\r\nUPDATE T SET NOCOUNT = "
       "1",
       {QStringLiteral("exec:INSERT INTO T VALUES (1) \n")}},
      {"begin trans\rdelete from T\rrollback trans",
       {QStringLiteral("begin"), QStringLiteral("exec:delete from T"), QStringLiteral("rollback")}},
      {"SELECT 1 FROM DUAL", {}},
      // each statement is translated on its own
      {"UPDATE T SET X = LEN (Y) WHERE Z = ''",
       {QStringLiteral("exec:UPDATE T SET X = LENGTH(Y) WHERE Z  IS NULL ")}},
  };
  for (const Caso &c : casos) {
    guion().registro.clear();
    QString sql = QString::fromLatin1(c.lote);
    bd().EjecutaConsultaSQL(sql);
    EXPECT_EQ(guion().registro, c.registro) << c.lote;
    EXPECT_EQ(std_(sql), "") << c.lote;
  }
}

TEST_F(Ejecucion, OracleFallaAMitadDejaElRestoAlLlamador) {
  oracle();
  falla().fallarSi(QStringLiteral("(2)"), err::CommandError, 1400, 1, QStringLiteral("ORA-01400"));
  QString sql =
      QStringLiteral("INSERT INTO T VALUES (1)\rINSERT INTO T VALUES (2)\rINSERT INTO T VALUES (3)");
  bd().EjecutaConsultaSQL(sql);
  EXPECT_EQ(std_(sql), "INSERT INTO T VALUES (2) INSERT INTO T VALUES (3)");
  EXPECT_EQ(guion().errors().count(), 1);
  // the caller's repeated call goes on with the statement that failed
  guion().ejecutadas.clear();
  bd().EjecutaConsultaSQL(sql);
  EXPECT_EQ(guion().ejecutadas, (QStringList{QStringLiteral("INSERT INTO T VALUES (2)"),
                                             QStringLiteral("INSERT INTO T VALUES (3)")}));
  EXPECT_EQ(std_(sql), "");
}

TEST_F(Ejecucion, FallasSinMensaje) {
  QString sql = QStringLiteral("INSERT INTO T VALUES ('muy largo')");
  falla().fallar(Op::Ejecutar, err::CommandError, 8152, 1,
                 QStringLiteral("String or binary data would be truncated."));
  bd().EjecutaConsultaSQL(sql);
  EXPECT_EQ(guion().errors().count(), 0);
  // in a transaction the truncation stays for the caller
  sql = QStringLiteral("BEGIN TRANSACTION INSERT INTO T VALUES ('muy largo')");
  falla().fallar(Op::Ejecutar, err::CommandError, 8152, 1,
                 QStringLiteral("String or binary data would be truncated."));
  bd().EjecutaConsultaSQL(sql);
  EXPECT_EQ(guion().errors().count(), 1);
  // any other failure stays in the list, without a message
  sql = QStringLiteral("INSERT INTO T VALUES (1)");
  falla().fallar(Op::Ejecutar, err::IntegrityViolation, 2627, 1, QStringLiteral("Violation of PRIMARY KEY"));
  bd().EjecutaConsultaSQL(sql);
  ASSERT_EQ(guion().errors().count(), 1);
  EXPECT_EQ(guion().errors().item(0).nativeError, 2627);
}

TEST_F(Ejecucion, ConexionPerdidaReconectaYRepite) {
  QString sql = QStringLiteral("UPDATE T SET X=1");
  falla().fallar(Op::Ejecutar, err::Unspecified, 11, 1, QStringLiteral("General network error"));
  bd().EjecutaConsultaSQL(sql);
  EXPECT_EQ(reaperturas(), 1);
  EXPECT_EQ(falla().ejecuciones, 2);
  EXPECT_EQ(guion().ejecutadas.size(), 1);
}

TEST_F(Ejecucion, ConexionPerdidaTresVecesTerminaCallada) {
  QString sql = QStringLiteral("UPDATE T SET X=1");
  falla().fallar(Op::Ejecutar, err::Unspecified, 11, 5, QStringLiteral("General network error"));
  bd().EjecutaConsultaSQL(sql);
  EXPECT_EQ(falla().ejecuciones, 3);
  EXPECT_EQ(reaperturas(), 3);
  EXPECT_TRUE(guion().ejecutadas.isEmpty());
}

TEST_F(Ejecucion, ConexionPerdidaContadoresDelAviso) {
  QString sql = QStringLiteral("UPDATE T SET X=1");
  // three failed reopens still retry quietly
  falla().fallar(Op::Ejecutar, err::Unspecified, 11, 1).fallar(Op::Abrir, err::Unspecified, 17, 3);
  bd().EjecutaConsultaSQL(sql);
  EXPECT_EQ(reaperturas(), 4);
  EXPECT_EQ(guion().ejecutadas.size(), 1);
  // the fourth failed reopen asks; Yes tries again, and asks after every further failure
  fallidas.front()->aperturas = 1;
  falla().fallar(Op::Ejecutar, err::Unspecified, 11, 1).fallar(Op::Abrir, err::Unspecified, 17, 5);
  esperarAviso(vb::Yes);
  esperarAviso(vb::Yes);
  bd().EjecutaConsultaSQL(sql);
  EXPECT_EQ(reaperturas(), 6);
  EXPECT_EQ(guion().ejecutadas.size(), 2);
}

TEST_F(Ejecucion, ConexionPerdidaNoCierraLaAplicacion) {
  QString sql = QStringLiteral("UPDATE T SET X=1");
  falla().fallar(Op::Ejecutar, err::Unspecified, 11, 1).fallar(Op::Abrir, err::Unspecified, 17, 4);
  esperarAviso(vb::No);
  EXPECT_THROW(bd().EjecutaConsultaSQL(sql), ProcessExit);
}

TEST_F(Ejecucion, ConexionPerdidaEnTransaccionNoSeReintenta) {
  QString sql = QStringLiteral("BEGIN TRANSACTION UPDATE T SET X=1 COMMIT TRANSACTION");
  falla().fallar(Op::Ejecutar, err::Unspecified, 11, 1);
  bd().EjecutaConsultaSQL(sql);
  EXPECT_EQ(reaperturas(), 0);
  EXPECT_EQ(falla().ejecuciones, 1);
}

TEST_F(Ejecucion, EjecutaConsultaRSQLMuestraLaFalla) {
  QString sql = QStringLiteral("UPDATE T SET X=1");
  falla().fallar(Op::Ejecutar, 3709, 11, 1, QStringLiteral("Conexión no válida"));
  ui.expectMsg(QStringLiteral("Conexión no válida"), vb::Critical, QStringLiteral("Aviso al operador!!!"),
               vb::OK);
  bd().EjecutaConsultaRSQL(sql);
  EXPECT_EQ(reaperturas(), 0);
  for (long n : {err::Unspecified, err::IntegrityViolation, err::InvalidObject, err::CommandError}) {
    falla().fallar(Op::Ejecutar, n, 0, 1);
    bd().EjecutaConsultaRSQL(sql);
  }
  sql = QStringLiteral("COMMIT TRANS");
  falla().fallar(Op::Ejecutar, 3709, 0, 1);
  bd().EjecutaConsultaRSQL(sql);
}

// ---------------------------------------------------------------- recordsets

TEST_F(Ejecucion, AbrirRecordsetSustituyeYTraduce) {
  guion().respuesta = [](const QString &, long *) {
    return filas(QStringLiteral("CODIGO"), {QStringLiteral("1")});
  };
  QString sql = QStringLiteral("SELECT TOP 1 CODIGO FROM MA_CUENTAS WHERE 1=1");
  ado::Recordset rs;
  bd().AbrirRecordset(sql, rs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly, -1, true);
  EXPECT_EQ(std_(sql), "SELECT TOP 1 CODIGO FROM SS_MA_CUENTAS WHERE 1=1");
  EXPECT_EQ(std_(guion().ejecutadas.last()), std_(sql));
  EXPECT_EQ(ui.doEventsCount, 1);
  EXPECT_FALSE(rs.eof());

  oracle();
  sql = QStringLiteral("SELECT TOP 1 CODIGO FROM MA_CUENTAS WHERE 1=1");
  bd().AbrirRecordset(sql, rs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly, -1, true);
  EXPECT_EQ(std_(guion().ejecutadas.last()),
            "SELECT  CODIGO FROM SS_MA_CUENTAS WHERE 1=1  AND ROWNUM <= 1  ");
  bd().AbrirRecordset(sql, rs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly, -1, false);
  EXPECT_EQ(std_(guion().ejecutadas.last()), "SELECT TOP 1 CODIGO FROM SS_MA_CUENTAS WHERE 1=1");
}

TEST_F(Ejecucion, AbrirRecordsetSobreOtraConexion) {
  ConexionGuion otra;
  otra.open(QStringLiteral("x"), {}, {}, -1);
  QString sql = QStringLiteral("SELECT 1");
  ado::Recordset rs;
  bd().AbrirRecordset(sql, rs, &otra);
  EXPECT_EQ(otra.ejecutadas, QStringList{QStringLiteral("SELECT 1")});
  EXPECT_TRUE(guion().ejecutadas.isEmpty());
}

TEST_F(Ejecucion, AbrirRecordsetConexionPerdida) {
  QString sql = QStringLiteral("SELECT 1");
  ado::Recordset rs;
  // the reconnection works at once: the counter is used up, the report asks
  falla().fallar(Op::Ejecutar, err::Unspecified, 11, 1, QStringLiteral("General network error"));
  ui.expectMsg(
      QStringLiteral("Ha ocurrido el Siguiente Error (-2147467259) General network error"), 18,
      QStringLiteral("Microsoft OLE DB Provider for SQL Server - AbrirRecordset Aviso al operador!!! - 5 "),
      vb::Retry);
  bd().AbrirRecordset(sql, rs);
  EXPECT_EQ(reaperturas(), 1);
  EXPECT_EQ(rs.state(), ado::adStateOpen);

  // two failed reopens ask the operator
  fallidas.front()->aperturas = 1;
  falla().fallar(Op::Ejecutar, 3709, 11, 1).fallar(Op::Abrir, err::Unspecified, 17, 2);
  esperarAviso(vb::Yes);
  bd().AbrirRecordset(sql, rs);
  EXPECT_EQ(reaperturas(), 3);
  EXPECT_EQ(rs.state(), ado::adStateOpen);
}

TEST_F(Ejecucion, AbrirRecordsetOtraFallaVaAlInforme) {
  QString sql = QStringLiteral("SELECT * FROM NO_EXISTE");
  ado::Recordset rs;
  falla().fallar(Op::Ejecutar, err::InvalidObject, 208, 1,
                 QStringLiteral("Invalid object name 'NO_EXISTE'."));
  ui.expectMsg(
      QStringLiteral("Ha ocurrido el Siguiente Error (-2147217865) Invalid object name 'NO_EXISTE'."), 18,
      QStringLiteral("Microsoft OLE DB Provider for SQL Server - AbrirRecordset Aviso al operador!!! - 5 "),
      vb::Ignore);
  bd().AbrirRecordset(sql, rs);
  EXPECT_EQ(rs.state(), ado::adStateClosed);
  EXPECT_EQ(ui.doEventsCount, 1); // ignored: the next step ran
  EXPECT_EQ(reaperturas(), 0);
}

TEST_F(Ejecucion, CierraRecordset) {
  guion().respuesta = [](const QString &, long *) { return filas(QStringLiteral("X"), {1}); };
  ado::Recordset rs;
  bd().CierraRecordset(rs); // closed: left alone
  EXPECT_EQ(rs.state(), ado::adStateClosed);
  rs.open(QStringLiteral("SELECT X FROM T"), bd().Cnn(), ado::adOpenKeyset, ado::adLockOptimistic);
  rs.setValue(QStringLiteral("X"), 2);
  ASSERT_NE(rs.editMode(), ado::adEditNone);
  bd().CierraRecordset(rs);
  EXPECT_EQ(rs.state(), ado::adStateClosed);
  EXPECT_EQ(guion().ejecutadas.size(), 1); // the pending edit was not written
}
