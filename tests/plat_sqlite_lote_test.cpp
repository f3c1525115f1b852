// The embedded engine running batches the way the server runs them: the
// recode batch, trigger switching, XACT_ABORT, the transaction count, error
// entries and the comparison rules for codes.
#include "platform/Proveedores.h"
#include "platform/sqlite/ConexionSqlite.h"

#include <QDateTime>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zv;
using zv::sqlite::ConexionSqlite;

namespace {

const QString kCadena = QStringLiteral("PROVIDER=SQLOLEDB;Server=SQLITE;Database =DEMO;UId=DEMO;Pwd=DEMO;");

// The journal keeps its balances by triggers written in SQLite's syntax.
const QString kEsquema = QStringLiteral(
    "CREATE TABLE MA_CUENTAS (ID int IDENTITY(1,1) NOT NULL, CODIGO varchar(15) NOT NULL, Descripcion "
    "varchar(60) "
    "NULL, IMPUTABLE bit NOT NULL DEFAULT (1), CONSTRAINT PK_MA_CUENTAS PRIMARY KEY (CODIGO))\r\n"
    "CREATE TABLE MA_CUENTASADIC (CODIGO varchar(15) NOT NULL, DATO varchar(20) NULL)\r\n"
    "CREATE TABLE MV_ASIENTOS (ID int IDENTITY(1,1) PRIMARY KEY, CUENTA varchar(15) NOT NULL, IMPORTE money "
    "NOT NULL)\r\n"
    "CREATE INDEX IX_MV_ASIENTOS_CUENTA ON MV_ASIENTOS (CUENTA)\r\n"
    "CREATE TABLE MV_SALDOS (CUENTA varchar(15) NOT NULL PRIMARY KEY, SALDO money NOT NULL)\r\n"
    "CREATE TABLE [MA_CASH-DETALLE] (ID int IDENTITY(1,1), CUENTA varchar(15) NULL)\r\n"
    "CREATE TABLE TA_CONFIGURACION (CLAVE varchar(50) NOT NULL PRIMARY KEY, VALOR varchar(255) NULL)\r\n"
    "GO\r\n"
    "CREATE TRIGGER TR_MV_ASIENTOS_I AFTER INSERT ON MV_ASIENTOS BEGIN\r\n"
    " INSERT OR IGNORE INTO MV_SALDOS (CUENTA, SALDO) VALUES (NEW.CUENTA, 0);\r\n"
    " UPDATE MV_SALDOS SET SALDO = SALDO + NEW.IMPORTE WHERE CUENTA = NEW.CUENTA;\r\n"
    "END\r\n"
    "GO\r\n"
    "CREATE TRIGGER TR_MV_ASIENTOS_U AFTER UPDATE ON MV_ASIENTOS BEGIN\r\n"
    " UPDATE MV_SALDOS SET SALDO = SALDO - OLD.IMPORTE WHERE CUENTA = OLD.CUENTA;\r\n"
    " INSERT OR IGNORE INTO MV_SALDOS (CUENTA, SALDO) VALUES (NEW.CUENTA, 0);\r\n"
    " UPDATE MV_SALDOS SET SALDO = SALDO + NEW.IMPORTE WHERE CUENTA = NEW.CUENTA;\r\n"
    "END\r\n");

const QString kDatos = QStringLiteral(
    "INSERT INTO MA_CUENTAS (CODIGO, Descripcion, IMPUTABLE) VALUES ('1.1.01', 'Caja', 1)\r\n"
    "INSERT INTO MA_CUENTAS (CODIGO, Descripcion, IMPUTABLE) VALUES ('1.1.02', 'Bancos', 0)\r\n"
    "INSERT INTO MA_CUENTASADIC VALUES ('1.1.01', 'adicional')\r\n"
    "INSERT INTO MV_ASIENTOS (CUENTA, IMPORTE) VALUES ('1.1.01', 100)\r\n"
    "INSERT INTO MV_ASIENTOS (CUENTA, IMPORTE) VALUES ('1.1.01', 50)\r\n"
    "INSERT INTO MV_ASIENTOS (CUENTA, IMPORTE) VALUES ('1.1.02', 7)\r\n"
    "INSERT INTO [MA_CASH-DETALLE] (CUENTA) VALUES ('1.1.01')\r\n"
    "INSERT INTO TA_CONFIGURACION VALUES ('CUENTA_CAJA', '1.1.01')\r\n"
    "INSERT INTO TA_CONFIGURACION VALUES ('tituloCaja', '1.1.02')\r\n"
    "INSERT INTO TA_CONFIGURACION VALUES ('OTRA', '1.1.01')\r\n");

// The batch the recode engine builds for the pair 1.1.01 -> 1.1.09.
const QString kLote = QStringLiteral(
    "\r\nSET XACT_ABORT ON "
    "\r\nalter table mv_asientos disable trigger all "
    "\r\nBEGIN TRANSACTION "
    "\r\nIF NOT EXISTS(SELECT * FROM MA_CUENTAS WHERE CODIGO = '1.1.09') INSERT INTO MA_CUENTAS "
    "\r\nSELECT '1.1.09',Descripcion,IMPUTABLE"
    "\r\nFROM MA_CUENTAS WHERE CODIGO = '1.1.01' "
    "\r\n "
    "\r\nUPDATE [MA_CASH-DETALLE] SET CUENTA = '1.1.09' WHERE CUENTA = '1.1.01'"
    "\r\nUPDATE MV_ASIENTOS SET CUENTA = '1.1.09' WHERE CUENTA = '1.1.01'"
    "\r\nUPDATE TA_CONFIGURACION SET VALOR = '1.1.09' WHERE CLAVE = 'CUENTA_CAJA' AND VALOR = '1.1.01'"
    "\r\nUPDATE TA_CONFIGURACION SET VALOR = '1.1.09' WHERE CLAVE = 'tituloCaja' AND VALOR = '1.1.01'"
    "\r\nDELETE MA_CUENTASADIC WHERE CODIGO = '1.1.01'"
    "\r\nDELETE MA_CUENTAS WHERE CODIGO = '1.1.01'"
    "\r\n COMMIT TRANSACTION"
    "\r\n alter table mv_asientos enable trigger all ");

class SqliteLote : public ::testing::Test {
protected:
  QTemporaryDir dir;
  ProviderConfig config;
  std::unique_ptr<ConexionSqlite> cn;

  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    config.dataFolder = dir.path();
    cn = std::make_unique<ConexionSqlite>(config);
    cn->open(QStringLiteral("Server=SQLITE"));
    cn->execute(QStringLiteral("CREATE DATABASE DEMO"));
    cn->close();
    cn->open(kCadena);
    cn->execute(kEsquema);
    cn->execute(kDatos);
  }

  std::unique_ptr<ConexionSqlite> otra() {
    auto c = std::make_unique<ConexionSqlite>(config);
    c->open(kCadena);
    return c;
  }

  // The rows of a query as "a|b" texts.
  static QStringList filas(ado::Connection &c, const QString &sql) {
    QStringList out;
    auto rs = c.execute(sql);
    if (!rs)
      return {QStringLiteral("<no result>")};
    for (const auto &r : rs->rows) {
      QStringList f;
      for (const QVariant &v : r)
        f << (v.isNull() ? QStringLiteral("NULL") : v.toString());
      out << f.join(QLatin1Char('|'));
    }
    return out;
  }
  QStringList filas(const QString &sql) { return filas(*cn, sql); }

  // Runs a batch that must fail; returns the error list.
  QVector<ado::ErrorEntry> falla(const QString &sql) {
    try {
      cn->execute(sql);
      ADD_FAILURE() << "no error for: " << sql.toStdString();
    } catch (const AppError &e) {
      EXPECT_GT(cn->errors().count(), 0);
      if (cn->errors().count() > 0) {
        EXPECT_EQ(e.description(), cn->errors().item(0).description);
        EXPECT_EQ(e.number(), cn->errors().item(0).number);
      }
      EXPECT_EQ(e.source(), QStringLiteral("Microsoft OLE DB Provider for SQL Server"));
    }
    return cn->errors().all();
  }
};

TEST_F(SqliteLote, TheRecodeBatchMovesEverythingWithTheJournalTriggersOff) {
  long afectados = 0;
  cn->execute(kLote, &afectados);
  EXPECT_EQ(cn->errors().count(), 0);
  EXPECT_EQ(cn->tranCount(), 0);
  // 1 copied account + 1 cash row + 2 journal rows + 1 key + 1 extra row + 1 account deleted
  EXPECT_EQ(afectados, 7);
  EXPECT_EQ(filas(QStringLiteral("SELECT ID, CODIGO, Descripcion, IMPUTABLE FROM MA_CUENTAS ORDER BY ID")),
            (QStringList{"2|1.1.02|Bancos|0", "3|1.1.09|Caja|1"}));
  EXPECT_EQ(filas(QStringLiteral("SELECT CUENTA FROM [MA_CASH-DETALLE]")), QStringList{"1.1.09"});
  EXPECT_EQ(filas(QStringLiteral("SELECT CUENTA, IMPORTE FROM MV_ASIENTOS ORDER BY ID")),
            (QStringList{"1.1.09|100", "1.1.09|50", "1.1.02|7"}));
  EXPECT_EQ(filas(QStringLiteral("SELECT CLAVE, VALOR FROM TA_CONFIGURACION ORDER BY CLAVE")),
            (QStringList{"CUENTA_CAJA|1.1.09", "OTRA|1.1.01", "tituloCaja|1.1.02"}));
  EXPECT_EQ(filas(QStringLiteral("SELECT count(*) FROM MA_CUENTASADIC")), QStringList{"0"});
  // The balances were not touched while the triggers were off...
  EXPECT_EQ(filas(QStringLiteral("SELECT CUENTA, SALDO FROM MV_SALDOS ORDER BY CUENTA")),
            (QStringList{"1.1.01|150", "1.1.02|7"}));
  // ...and the triggers fire again afterwards.
  cn->execute(QStringLiteral("INSERT INTO MV_ASIENTOS (CUENTA, IMPORTE) VALUES ('1.1.09', 1)"));
  EXPECT_EQ(filas(QStringLiteral("SELECT SALDO FROM MV_SALDOS WHERE CUENTA = '1.1.09'")), QStringList{"1"});
  // Running it again for an existing new code merges instead of copying.
  cn->execute(QStringLiteral("INSERT INTO MA_CUENTAS (CODIGO, Descripcion) VALUES ('1.1.01', 'otra vez')"));
  cn->execute(kLote);
  EXPECT_EQ(filas(QStringLiteral("SELECT CODIGO, Descripcion FROM MA_CUENTAS ORDER BY ID")),
            (QStringList{"1.1.02|Bancos", "1.1.09|Caja"}));
}

TEST_F(SqliteLote, DisabledTriggersStayOffForEveryConnectionUntilEnabled) {
  cn->execute(QStringLiteral("ALTER TABLE dbo.MV_ASIENTOS DISABLE TRIGGER ALL"));
  cn->execute(QStringLiteral("alter table mv_asientos disable trigger all")); // harmless twice
  auto dos = otra();
  dos->execute(QStringLiteral("INSERT INTO MV_ASIENTOS (CUENTA, IMPORTE) VALUES ('1.1.02', 3)"));
  EXPECT_EQ(filas(*dos, QStringLiteral("SELECT SALDO FROM MV_SALDOS WHERE CUENTA = '1.1.02'")),
            QStringList{"7"});
  // The state is in the file: a connection opened after a "crash" sees it too.
  cn.reset();
  auto tres = otra();
  tres->execute(QStringLiteral("UPDATE MV_ASIENTOS SET IMPORTE = 9 WHERE CUENTA = '1.1.02'"));
  EXPECT_EQ(filas(*tres, QStringLiteral("SELECT SALDO FROM MV_SALDOS WHERE CUENTA = '1.1.02'")),
            QStringList{"7"});
  tres->execute(QStringLiteral("ALTER TABLE MV_ASIENTOS ENABLE TRIGGER ALL"));
  tres->execute(QStringLiteral("ALTER TABLE MV_ASIENTOS ENABLE TRIGGER ALL"));
  dos->execute(QStringLiteral("INSERT INTO MV_ASIENTOS (CUENTA, IMPORTE) VALUES ('1.1.02', 1)"));
  EXPECT_EQ(filas(*dos, QStringLiteral("SELECT SALDO FROM MV_SALDOS WHERE CUENTA = '1.1.02'")),
            QStringList{"8"});
  // The schema catalogue never shows the engine's own state table.
  auto tablas = dos->openSchema(ado::adSchemaTables);
  for (const auto &r : tablas->rows)
    EXPECT_FALSE(r[2].toString().startsWith(QLatin1String("zv_"))) << r[2].toString().toStdString();
}

TEST_F(SqliteLote, DisablingTriggersIsUndoneWithTheTransaction) {
  cn->execute(QStringLiteral("BEGIN TRAN ALTER TABLE MV_ASIENTOS DISABLE TRIGGER ALL"));
  cn->execute(QStringLiteral("ROLLBACK"));
  cn->execute(QStringLiteral("INSERT INTO MV_ASIENTOS (CUENTA, IMPORTE) VALUES ('1.1.02', 3)"));
  EXPECT_EQ(filas(QStringLiteral("SELECT SALDO FROM MV_SALDOS WHERE CUENTA = '1.1.02'")), QStringList{"10"});
  const auto e = falla(QStringLiteral("ALTER TABLE NO_EXISTE DISABLE TRIGGER ALL"));
  EXPECT_EQ(e.value(0).nativeError, 4902);
}

TEST_F(SqliteLote, XactAbortOnRollsBackAtTheFirstErrorAndEndsTheBatch) {
  const auto e = falla(QStringLiteral("SET XACT_ABORT ON\r\nBEGIN TRANSACTION\r\n"
                                      "UPDATE MA_CUENTAS SET Descripcion = 'x' WHERE CODIGO = '1.1.01'\r\n"
                                      "INSERT INTO MA_CUENTAS (CODIGO) VALUES ('1.1.02')\r\n"
                                      "UPDATE MA_CUENTAS SET Descripcion = 'y' WHERE CODIGO = '1.1.02'\r\n"
                                      "COMMIT TRANSACTION"));
  ASSERT_EQ(e.size(), 2);
  EXPECT_EQ(e[0].nativeError, 2627);
  EXPECT_EQ(cn->tranCount(), 0);
  EXPECT_EQ(filas(QStringLiteral("SELECT Descripcion FROM MA_CUENTAS ORDER BY ID")),
            (QStringList{"Caja", "Bancos"}));
  // The setting belongs to the session: the next batch still has it.
  falla(QStringLiteral(
      "INSERT INTO MA_CUENTAS (CODIGO) VALUES ('1.1.02') UPDATE MA_CUENTAS SET Descripcion = 'z'"));
  EXPECT_EQ(filas(QStringLiteral("SELECT count(*) FROM MA_CUENTAS WHERE Descripcion = 'z'")),
            QStringList{"0"});
}

TEST_F(SqliteLote, XactAbortOffReportsTheFailureAndGoesOn) {
  const auto e = falla(QStringLiteral("BEGIN TRANSACTION\r\n"
                                      "UPDATE MA_CUENTAS SET Descripcion = 'x' WHERE CODIGO = '1.1.01'\r\n"
                                      "UPDATE MA_CUENTAS SET CODIGO = '1.1.05'\r\n" // second row collides
                                      "INSERT INTO MA_CUENTAS (CODIGO) VALUES ('1234567890123456')\r\n"
                                      "UPDATE MA_CUENTAS SET Descripcion = 'y' WHERE CODIGO = '1.1.02'\r\n"
                                      "COMMIT TRANSACTION"));
  ASSERT_EQ(e.size(), 4);
  EXPECT_EQ(e[0].nativeError, 2627);
  EXPECT_EQ(e[1].nativeError, 3621);
  EXPECT_EQ(e[2].nativeError, 8152);
  EXPECT_EQ(e[2].description, QStringLiteral("String or binary data would be truncated."));
  EXPECT_EQ(e[2].sqlState, QStringLiteral("22001"));
  EXPECT_EQ(e[3].nativeError, 3621);
  EXPECT_EQ(cn->tranCount(), 0);
  // The failing statements undid only themselves.
  EXPECT_EQ(filas(QStringLiteral("SELECT CODIGO, Descripcion FROM MA_CUENTAS ORDER BY ID")),
            (QStringList{"1.1.01|x", "1.1.02|y"}));
}

TEST_F(SqliteLote, UnknownObjectsEndTheBatchAndLeaveTheTransactionOpen) {
  for (const char *abort : {"OFF", "ON"}) {
    auto e = falla(QStringLiteral("SET XACT_ABORT %1 BEGIN TRAN "
                                  "UPDATE MA_CUENTAS SET Descripcion = 'x' WHERE CODIGO = '1.1.01' "
                                  "UPDATE NO_EXISTE SET A = 1 "
                                  "UPDATE MA_CUENTAS SET Descripcion = 'y' WHERE CODIGO = '1.1.02'")
                       .arg(QLatin1String(abort)));
    ASSERT_EQ(e.size(), 1);
    EXPECT_EQ(e[0].nativeError, 208);
    EXPECT_EQ(e[0].description, QStringLiteral("Invalid object name 'NO_EXISTE'."));
    EXPECT_EQ(e[0].sqlState, QStringLiteral("42S02"));
    EXPECT_EQ(e[0].number, err::InvalidObject);
    EXPECT_EQ(cn->tranCount(), 1) << abort;
    EXPECT_EQ(filas(QStringLiteral("SELECT Descripcion FROM MA_CUENTAS ORDER BY ID")),
              (QStringList{"x", "Bancos"}));
    cn->execute(QStringLiteral("IF @@TRANCOUNT > 0 ROLLBACK TRANSACTION"));
    EXPECT_EQ(cn->tranCount(), 0);
  }
  auto e = falla(QStringLiteral("SELECT NO_HAY FROM MA_CUENTAS SELECT 1"));
  ASSERT_EQ(e.size(), 1);
  EXPECT_EQ(e[0].nativeError, 207);
  EXPECT_EQ(e[0].description, QStringLiteral("Invalid column name 'NO_HAY'."));
  EXPECT_EQ(e[0].sqlState, QStringLiteral("42S22"));
  EXPECT_EQ(e[0].number, err::CommandError);
}

TEST_F(SqliteLote, ASyntaxErrorRunsNothingOfTheBatch) {
  auto e = falla(
      QStringLiteral("UPDATE MA_CUENTAS SET Descripcion = 'x'\r\nUPDATE MA_CUENTAS SET WHERE CODIGO = '1'"));
  ASSERT_EQ(e.size(), 1);
  EXPECT_EQ(e[0].nativeError, 102);
  EXPECT_EQ(e[0].description, QStringLiteral("Incorrect syntax near 'WHERE'."));
  EXPECT_EQ(e[0].sqlState, QStringLiteral("42000"));
  EXPECT_EQ(filas(QStringLiteral("SELECT count(*) FROM MA_CUENTAS WHERE Descripcion = 'x'")),
            QStringList{"0"});
  e = falla(
      QStringLiteral("UPDATE MA_CUENTAS SET Descripcion = 'x' SELECT * FROM MA_CUENTAS WHERE (CODIGO = '1'"));
  EXPECT_EQ(e.value(0).nativeError, 102);
  // Also after a statement that changes the schema.
  e = falla(
      QStringLiteral("ALTER TABLE MV_ASIENTOS DISABLE TRIGGER ALL UPDATE MA_CUENTAS SET Descripcion = 'x' "
                     "UPDATE MA_CUENTAS SET Descripcion = WHERE CODIGO = '1'"));
  EXPECT_EQ(e.value(0).nativeError, 102);
  cn->execute(QStringLiteral("INSERT INTO MV_ASIENTOS (CUENTA, IMPORTE) VALUES ('1.1.02', 1)"));
  EXPECT_EQ(filas(QStringLiteral("SELECT SALDO FROM MV_SALDOS WHERE CUENTA = '1.1.02'")), QStringList{"8"});
  e = falla(QStringLiteral("UPDATE MA_CUENTAS SET Descripcion = 'x' SELECT 'sin cerrar"));
  EXPECT_EQ(e.value(0).nativeError, 105);
  EXPECT_EQ(filas(QStringLiteral("SELECT count(*) FROM MA_CUENTAS WHERE Descripcion = 'x'")),
            QStringList{"0"});
}

TEST_F(SqliteLote, TheTransactionCountNestsAcrossExecutions) {
  cn->execute(QStringLiteral("BEGIN TRANSACTION"));
  cn->execute(QStringLiteral("BEGIN TRAN UPDATE MA_CUENTAS SET Descripcion = 'x' WHERE CODIGO = '1.1.01'"));
  EXPECT_EQ(filas(QStringLiteral("SELECT @@TRANCOUNT")), QStringList{"2"});
  cn->execute(QStringLiteral("COMMIT TRAN"));
  EXPECT_EQ(cn->tranCount(), 1);
  auto dos = otra();
  EXPECT_EQ(filas(*dos, QStringLiteral("SELECT Descripcion FROM MA_CUENTAS WHERE ID = 1")),
            QStringList{"Caja"});
  cn->execute(QStringLiteral("COMMIT"));
  EXPECT_EQ(filas(*dos, QStringLiteral("SELECT Descripcion FROM MA_CUENTAS WHERE ID = 1")), QStringList{"x"});
  auto e = falla(QStringLiteral("COMMIT TRANSACTION"));
  ASSERT_EQ(e.size(), 1);
  EXPECT_EQ(e[0].nativeError, 3902);
  EXPECT_EQ(e[0].description,
            QStringLiteral("The COMMIT TRANSACTION request has no corresponding BEGIN TRANSACTION."));
  // The connection's own calls share the count.
  EXPECT_EQ(cn->beginTrans(), 1);
  EXPECT_EQ(cn->beginTrans(), 2);
  cn->execute(QStringLiteral("UPDATE MA_CUENTAS SET Descripcion = 'y' WHERE ID = 1"));
  EXPECT_EQ(filas(QStringLiteral("SELECT @@TRANCOUNT")), QStringList{"2"});
  cn->execute(QStringLiteral("ROLLBACK TRANSACTION"));
  EXPECT_EQ(cn->tranCount(), 0);
  EXPECT_THROW(cn->commitTrans(), AppError);
  EXPECT_EQ(filas(QStringLiteral("SELECT Descripcion FROM MA_CUENTAS WHERE ID = 1")), QStringList{"x"});
  cn->beginTrans();
  cn->execute(QStringLiteral("UPDATE MA_CUENTAS SET Descripcion = 'z' WHERE ID = 1"));
  cn->commitTrans();
  EXPECT_EQ(filas(*dos, QStringLiteral("SELECT Descripcion FROM MA_CUENTAS WHERE ID = 1")), QStringList{"z"});
  // Closing with a transaction open rolls it back.
  cn->execute(QStringLiteral("BEGIN TRAN DELETE MA_CUENTASADIC"));
  cn->close();
  EXPECT_EQ(filas(*dos, QStringLiteral("SELECT count(*) FROM MA_CUENTASADIC")), QStringList{"1"});
  EXPECT_THROW(cn->execute(QStringLiteral("SELECT 1")), AppError);
}

TEST_F(SqliteLote, CodesCompareIgnoringCaseAndTrailingBlanks) {
  cn->execute(QStringLiteral("INSERT INTO MA_CUENTAS (CODIGO, Descripcion) VALUES ('ABC', 'letras')"));
  struct Caso {
    const char *where;
    const char *esperado;
  } casos[] = {
      {"CODIGO = '1.1.01   '", "1.1.01"},
      {"'1.1.01 ' = CODIGO", "1.1.01"},
      {"codigo = 'abc'", "ABC"},
      {"CODIGO IN ('abc  ', 'zz')", "ABC"},
      {"CODIGO <> '1.1.01 ' AND CODIGO <> 'abc '", "1.1.02"},
      {"CODIGO >= '1.1.02 ' AND CODIGO < 'A'", "1.1.02"},
      {"Descripcion = 'LETRAS'", "ABC"},
      {"CODIGO LIKE '1.1.0_' AND CODIGO LIKE '%2'", "1.1.02"},
  };
  for (const Caso &c : casos)
    EXPECT_EQ(filas(QStringLiteral("SELECT CODIGO FROM MA_CUENTAS WHERE ") + QLatin1String(c.where)),
              QStringList{QLatin1String(c.esperado)})
        << c.where;
  // Blanks count where a value is stored or matched by a pattern.
  cn->execute(QStringLiteral("UPDATE MA_CUENTAS SET Descripcion = 'con blancos  ' WHERE CODIGO = 'abc  '"));
  EXPECT_EQ(filas(QStringLiteral("SELECT length(Descripcion) FROM MA_CUENTAS WHERE CODIGO = 'ABC'")),
            QStringList{"13"});
  EXPECT_EQ(filas(QStringLiteral("SELECT count(*) FROM MA_CUENTAS WHERE CODIGO LIKE 'abc '")),
            QStringList{"0"});
  EXPECT_EQ(
      filas(QStringLiteral("SELECT len('ab  '), len(Descripcion) FROM MA_CUENTAS WHERE CODIGO = 'ABC'")),
      QStringList{"2|11"});
}

TEST_F(SqliteLote, DialectPiecesTheProgramSends) {
  struct Caso {
    const char *sql;
    QStringList esperado;
  } casos[] = {
      {"SELECT TOP 1 CODIGO FROM MA_CUENTAS ORDER BY CODIGO DESC", {"1.1.02"}},
      {"SELECT TOP (2) CODIGO FROM dbo.MA_CUENTAS with(nolock) ORDER BY CODIGO", {"1.1.01", "1.1.02"}},
      {"select codigo from MA_CUENTAS WITH  ( NOLOCK ) where codigo in (select top 1 codigo from ma_cuentas "
       "(nolock) order by codigo)",
       {"1.1.01"}},
      {"SELECT [CUENTA] FROM [dbo].[MA_CASH-DETALLE] WITH (NOLOCK, READUNCOMMITTED)", {"1.1.01"}},
      {"SELECT isnull(NULL, 'x'), substring('abcdef', 2, 3), ltrim('  a'), rtrim('a  ') + '|'",
       {"x|bcd|a|a|"}},
      {"SELECT count(*) FROM MA_CUENTAS WHERE CODIGO = N'1.1.01'", {"1"}},
      {"SELECT LEFT('12345', 2), RIGHT('12345', 2), CHARINDEX('3', '12345'), CONVERT(varchar(3), 12345)",
       {"12|45|3|123"}},
      {"SELECT CAST('12' AS int) + 1, UPPER('a'), DATALENGTH('abc')", {"13|A|3"}},
      {"SELECT CODIGO FROM MA_CUENTAS WHERE ID = (SELECT MAX(ID) FROM MA_CUENTAS)", {"1.1.02"}},
      {"IF EXISTS (SELECT * FROM MA_CUENTAS WHERE CODIGO = '1.1.01') SELECT 'si' ELSE SELECT 'no'", {"si"}},
      {"IF EXISTS (SELECT * FROM MA_CUENTAS WHERE CODIGO = '9') SELECT 'si' ELSE SELECT 'no'", {"no"}},
      {"IF 1 = 1 BEGIN SELECT 'a' SELECT 'b' END", {"a"}},
      {"SELECT CASE WHEN CODIGO = '1.1.01' THEN 'uno' ELSE 'otro' END FROM MA_CUENTAS ORDER BY ID",
       {"uno", "otro"}},
      {"SELECT OBJECT_ID('dbo.MA_CUENTAS') IS NOT NULL, OBJECT_ID('NADA') IS NULL", {"1|1"}},
  };
  for (const Caso &c : casos)
    EXPECT_EQ(filas(QLatin1String(c.sql)), c.esperado) << c.sql;
  // DELETE without FROM, also without WHERE; TRUNCATE fires no trigger.
  long n = 0;
  cn->execute(QStringLiteral("DELETE MA_CUENTASADIC WHERE CODIGO = '1.1.01 '"), &n);
  EXPECT_EQ(n, 1);
  cn->execute(QStringLiteral("DELETE dbo.[MA_CASH-DETALLE]"), &n);
  EXPECT_EQ(n, 1);
  cn->execute(QStringLiteral("TRUNCATE TABLE MV_SALDOS TRUNCATE TABLE MV_ASIENTOS"));
  cn->execute(QStringLiteral("INSERT INTO MV_ASIENTOS (CUENTA, IMPORTE) VALUES ('1', 1)"));
  EXPECT_EQ(filas(QStringLiteral("SELECT ID FROM MV_ASIENTOS")), QStringList{"1"});
  EXPECT_EQ(filas(QStringLiteral("SELECT count(*) FROM MV_SALDOS")), QStringList{"1"});
  // Statements separated by ";" and by GO lines.
  cn->execute(
      QStringLiteral("UPDATE MA_CUENTAS SET Descripcion = 'a'; UPDATE MA_CUENTAS SET Descripcion = 'b' "
                     "WHERE ID = 1;\r\nGO\r\nUPDATE MA_CUENTAS SET IMPUTABLE = 0"),
      &n);
  EXPECT_EQ(n, 2 + 1 + 2);
  EXPECT_EQ(filas(QStringLiteral("SELECT Descripcion FROM MA_CUENTAS ORDER BY ID")), (QStringList{"b", "a"}));
  // With NOCOUNT on, nothing is counted.
  cn->execute(QStringLiteral("SET NOCOUNT ON UPDATE MA_CUENTAS SET IMPUTABLE = 1"), &n);
  EXPECT_EQ(n, -1);
}

TEST_F(SqliteLote, GetdateIsLocalTimeWithMilliseconds) {
  const QDateTime antes = QDateTime::currentDateTime().addSecs(-2);
  const QString t = filas(QStringLiteral("SELECT getdate()")).value(0);
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3}$"))
                  .match(t)
                  .hasMatch())
      << t.toStdString();
  const QDateTime d = QDateTime::fromString(t, QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
  EXPECT_GE(d, antes);
  EXPECT_LE(d, QDateTime::currentDateTime().addSecs(2));
}

TEST_F(SqliteLote, ResultColumnsCarryTheDeclaredTypes) {
  cn->execute(
      QStringLiteral("CREATE TABLE TIPOS (N int, G bigint, P smallint, T tinyint, B bit, D decimal(18,2), "
                     "M money, F float, R real, FE datetime, C char(3), V varchar(20), NC nchar(4), "
                     "NV nvarchar(30), TX text, NT ntext)"));
  cn->execute(QStringLiteral(
      "INSERT INTO TIPOS VALUES (1, 2, 3, 4, 1, 12.00, 5, 1.5, 2.5, '2024-05-06 07:08:09.010', "
      "'abc', 'v', 'nc', 'nv', 'tx', 'nt')"));
  auto rs = cn->execute(QStringLiteral("SELECT *, N + 1 AS CALC, 'x' AS LIT FROM TIPOS"));
  ASSERT_TRUE(rs);
  const int tipos[] = {3, 20, 2, 17, 11, 131, 6, 5, 4, 135, 129, 200, 130, 202, 201, 203, 3, 200};
  ASSERT_EQ(rs->columns.size(), 18);
  for (int i = 0; i < 18; ++i)
    EXPECT_EQ(rs->columns[i].type, tipos[i]) << rs->columns[i].name.toStdString();
  EXPECT_EQ(rs->columns[11].definedSize, 20);
  EXPECT_EQ(rs->columns[10].definedSize, 3);
  EXPECT_EQ(rs->columns[0].definedSize, 4);
  EXPECT_EQ(rs->columns[0].baseTable, QStringLiteral("TIPOS"));
  const auto &r = rs->rows.at(0);
  EXPECT_EQ(r[0].typeId(), QMetaType::LongLong);
  EXPECT_EQ(r[4], QVariant(1));
  EXPECT_EQ(r[5].typeId(), QMetaType::Double);
  EXPECT_DOUBLE_EQ(r[5].toDouble(), 12.0);
  EXPECT_EQ(r[6].typeId(), QMetaType::Double);
  EXPECT_EQ(r[9].toDateTime(), QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9, 10)));
  EXPECT_EQ(r[12].toString(), QStringLiteral("nc"));
  EXPECT_EQ(r[16].toLongLong(), 2);
  auto ids = cn->execute(QStringLiteral("SELECT ID, CODIGO FROM MA_CUENTAS"));
  EXPECT_TRUE(ids->columns[0].autoIncrement);
  EXPECT_FALSE(ids->columns[1].autoIncrement);
  // The first result of a batch is the one returned.
  auto primero = cn->execute(QStringLiteral("UPDATE MA_CUENTAS SET IMPUTABLE = 1 SELECT 'uno' SELECT 'dos'"));
  ASSERT_TRUE(primero);
  EXPECT_EQ(primero->rows[0][0].toString(), QStringLiteral("uno"));
  EXPECT_FALSE(cn->execute(QStringLiteral("UPDATE MA_CUENTAS SET IMPUTABLE = 1")));
}

TEST_F(SqliteLote, SchemaCatalogueOfTablesAndColumns) {
  cn->execute(QStringLiteral("CREATE VIEW V_CUENTAS AS SELECT CODIGO, Descripcion FROM MA_CUENTAS"));
  auto tablas = cn->openSchema(ado::adSchemaTables);
  QStringList nombres;
  for (const auto &r : tablas->rows)
    nombres << r[tablas->columnIndex(QStringLiteral("TABLE_NAME"))].toString() + QLatin1Char(':') +
                   r[tablas->columnIndex(QStringLiteral("TABLE_TYPE"))].toString();
  EXPECT_EQ(nombres, (QStringList{"MA_CASH-DETALLE:TABLE", "MA_CUENTAS:TABLE", "MA_CUENTASADIC:TABLE",
                                  "MV_ASIENTOS:TABLE", "MV_SALDOS:TABLE", "TA_CONFIGURACION:TABLE",
                                  "V_CUENTAS:VIEW"}));
  auto cols = cn->openSchema(ado::adSchemaColumns,
                             {QStringLiteral("demo"), QVariant(), QStringLiteral("ma_cuentas"), QVariant()});
  QStringList filasCat;
  for (const auto &r : cols->rows)
    filasCat << QStringList{r[cols->columnIndex(QStringLiteral("TABLE_CATALOG"))].toString(),
                            r[cols->columnIndex(QStringLiteral("TABLE_SCHEMA"))].toString(),
                            r[cols->columnIndex(QStringLiteral("TABLE_NAME"))].toString(),
                            r[cols->columnIndex(QStringLiteral("COLUMN_NAME"))].toString(),
                            r[cols->columnIndex(QStringLiteral("ORDINAL_POSITION"))].toString(),
                            r[cols->columnIndex(QStringLiteral("DATA_TYPE"))].toString(),
                            r[cols->columnIndex(QStringLiteral("IS_NULLABLE"))].toBool() ? "YES" : "NO",
                            r[cols->columnIndex(QStringLiteral("CHARACTER_MAXIMUM_LENGTH"))].isNull()
                                ? QStringLiteral("null")
                                : r[cols->columnIndex(QStringLiteral("CHARACTER_MAXIMUM_LENGTH"))].toString()}
                    .join(QLatin1Char('|'));
  EXPECT_EQ(filasCat,
            (QStringList{"DEMO|dbo|MA_CUENTAS|ID|1|3|NO|null", "DEMO|dbo|MA_CUENTAS|CODIGO|2|200|NO|15",
                         "DEMO|dbo|MA_CUENTAS|Descripcion|3|200|YES|60",
                         "DEMO|dbo|MA_CUENTAS|IMPUTABLE|4|11|NO|null"}));
  // Another catalogue's columns are not this database's.
  EXPECT_TRUE(
      cn->openSchema(ado::adSchemaColumns, {QStringLiteral("OTRA"), QVariant(), QStringLiteral("MA_CUENTAS")})
          ->rows.isEmpty());
  EXPECT_EQ(cn->openSchema(ado::adSchemaColumns, {QVariant(), QVariant(), QStringLiteral("V_CUENTAS")})
                ->rows.size(),
            2);
  EXPECT_EQ(cn->openSchema(ado::adSchemaColumns,
                           {QVariant(), QVariant(), QStringLiteral("MA_CUENTAS"), QStringLiteral("codigo")})
                ->rows.size(),
            1);
}

TEST_F(SqliteLote, TheSqliteShellReadsTheFile) {
  cn->execute(kLote);
  cn->execute(QStringLiteral("ALTER TABLE MV_ASIENTOS DISABLE TRIGGER ALL"));
  QProcess shell;
  shell.start(QStringLiteral("sqlite3"),
              {cn->databaseFile(),
               QStringLiteral("SELECT CODIGO FROM MA_CUENTAS WHERE CODIGO = '1.1.09' "
                              "UNION ALL SELECT count(*) FROM sqlite_master WHERE type = 'trigger' "
                              "UNION ALL SELECT type FROM pragma_table_info('MA_CUENTAS') "
                              "WHERE name = 'CODIGO';")});
  ASSERT_TRUE(shell.waitForFinished(20000));
  EXPECT_EQ(shell.exitCode(), 0) << shell.readAllStandardError().toStdString();
  EXPECT_EQ(QString::fromUtf8(shell.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
            (QStringList{"1.1.09", "0", "varchar(15)"}));
}

TEST_F(SqliteLote, ConnectionFactoryPicksTheEmbeddedEngineForServerSqlite) {
  auto cnx = connectionFactory(config)();
  cnx->setCommandTimeout(5);
  cnx->open(QStringLiteral(
      "Provider=SQLOLEDB.1;Data Source=sqlite;Initial Catalog=Demo;User ID=DEMO;Password=DEMO"));
  EXPECT_EQ(cnx->state(), ado::adStateOpen);
  EXPECT_EQ(cnx->commandTimeout(), 5);
  EXPECT_EQ(cnx->defaultDatabase(), QStringLiteral("DEMO"));
  EXPECT_EQ(filas(*cnx, QStringLiteral("SELECT count(*) FROM MA_CUENTAS")), QStringList{"2"});
  cnx->close();
  EXPECT_EQ(cnx->state(), ado::adStateClosed);
}

} // namespace
