// The embedded engine's handling of the SQL Server DDL the demo creator
// sends, of CREATE DATABASE and of opening database files.
#include "platform/Proveedores.h"
#include "platform/sqlite/ConexionSqlite.h"
#include "platform/sqlite/TsqlTraductor.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace zv;
using zv::sqlite::ConexionSqlite;

namespace {

class SqliteDdl : public ::testing::Test {
protected:
  QTemporaryDir dir;
  ProviderConfig config;
  std::unique_ptr<ConexionSqlite> cn;

  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    config.dataFolder = dir.path();
    cn = std::make_unique<ConexionSqlite>(config);
    cn->open(QStringLiteral("PROVIDER=SQLOLEDB;Server=SQLITE;UId=sa;Pwd=;"));
    cn->execute(QStringLiteral("CREATE DATABASE DEMO"));
    cn->close();
    cn->open(QStringLiteral("PROVIDER=SQLOLEDB;Server=SQLITE;Database =DEMO;UId=DEMO;Pwd=DEMO;"));
  }

  // Runs a statement straight on the file, outside the engine.
  QStringList raw(const QString &sql) {
    sqlite3 *h = nullptr;
    EXPECT_EQ(
        sqlite3_open_v2(QFile::encodeName(cn->databaseFile()).constData(), &h, SQLITE_OPEN_READONLY, nullptr),
        SQLITE_OK);
    sqlite3_stmt *s = nullptr;
    QStringList out;
    if (sqlite3_prepare_v2(h, sql.toUtf8().constData(), -1, &s, nullptr) == SQLITE_OK) {
      while (sqlite3_step(s) == SQLITE_ROW) {
        QStringList row;
        for (int c = 0; c < sqlite3_column_count(s); ++c) {
          const auto *t = reinterpret_cast<const char *>(sqlite3_column_text(s, c));
          row << (t ? QString::fromUtf8(t) : QStringLiteral("NULL"));
        }
        out << row.join(QLatin1Char('|'));
      }
    } else {
      out << QStringLiteral("ERROR: ") + QString::fromUtf8(sqlite3_errmsg(h));
    }
    sqlite3_finalize(s);
    sqlite3_close(h);
    return out;
  }

  QVariant scalar(const QString &sql) {
    auto rs = cn->execute(sql);
    if (!rs || rs->rows.isEmpty())
      return QStringLiteral("<no rows>");
    return rs->rows[0][0];
  }

  long errorNative(const QString &sql) {
    try {
      cn->execute(sql);
    } catch (const AppError &) {
      return cn->errors().count() ? cn->errors().item(0).nativeError : -1;
    }
    return 0;
  }
};

TEST_F(SqliteDdl, CreateDatabaseMakesTheFileAndRefusesASecondTime) {
  EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("DEMO.sqlite"))).isFile());
  EXPECT_EQ(cn->defaultDatabase(), QStringLiteral("DEMO"));
  try {
    cn->execute(QStringLiteral("CREATE DATABASE demo"));
    FAIL() << "a second CREATE DATABASE went through";
  } catch (const AppError &e) {
    EXPECT_EQ(e.description(),
              QStringLiteral("Database 'demo' already exists. Choose a different database name."));
    EXPECT_EQ(e.source(), QStringLiteral("Microsoft OLE DB Provider for SQL Server"));
    ASSERT_EQ(cn->errors().count(), 1);
    EXPECT_EQ(cn->errors().item(0).nativeError, 1801);
  }
}

TEST_F(SqliteDdl, OpeningAMissingDatabaseFailsWithoutCreatingIt) {
  ConexionSqlite other(config);
  try {
    other.open(QStringLiteral("Provider=SQLOLEDB;Server=sqlite;Database=NADA;UId=NADA;Pwd=NADA"));
    FAIL() << "opened a database that does not exist";
  } catch (const AppError &e) {
    EXPECT_EQ(e.description(),
              QStringLiteral("Cannot open database \"NADA\" requested by the login. The login failed."));
    ASSERT_EQ(other.errors().count(), 1);
    EXPECT_EQ(other.errors().item(0).nativeError, 4060);
  }
  EXPECT_EQ(other.state(), ado::adStateClosed);
  EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("NADA.sqlite"))));
}

TEST_F(SqliteDdl, DatabaseNamesIgnoreCaseAndSetDefaultDatabaseSwitchesFiles) {
  ConexionSqlite other(config);
  other.open(QStringLiteral("Server=SQLITE;Data Source=SQLITE;Initial Catalog=demo"));
  EXPECT_EQ(other.defaultDatabase(), QStringLiteral("DEMO"));
  other.execute(QStringLiteral("CREATE DATABASE ZI_RODUVARUDUVU"));
  other.setDefaultDatabase(QStringLiteral("ZI_RODUVARUDUVU"));
  EXPECT_EQ(other.defaultDatabase(), QStringLiteral("ZI_RODUVARUDUVU"));
  other.execute(QStringLiteral("CREATE TABLE TA_CONFIGURACION (CLAVE varchar(50), VALOR varchar(255))"));
  EXPECT_EQ(raw(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'TA_CONFIGURACION'")),
            QStringList{QStringLiteral("0")});
  EXPECT_THROW(other.setDefaultDatabase(QStringLiteral("FALTA")), AppError);
  EXPECT_EQ(other.errors().item(0).nativeError, 911);
  EXPECT_EQ(other.defaultDatabase(), QStringLiteral("ZI_RODUVARUDUVU"));
}

TEST_F(SqliteDdl, CreateTableKeepsDeclaredTypesAndAddsTheFileConventions) {
  cn->execute(QStringLiteral("CREATE TABLE [dbo].[MA_CUENTAS] (\r\n"
                             " [ID] [int] IDENTITY(1,1) NOT NULL,\r\n"
                             " [CODIGO] [varchar] (15) NOT NULL,\r\n"
                             " [DESCRIPCION] varchar(60) NULL CONSTRAINT DF_MA_CUENTAS_DESC DEFAULT (''),\r\n"
                             " IMPUTABLE bit NOT NULL DEFAULT ((1)),\r\n"
                             " SALDO decimal(18, 2) NULL,\r\n"
                             " ALTA datetime NULL DEFAULT (getdate()),\r\n"
                             " CONSTRAINT [PK_MA_CUENTAS] PRIMARY KEY CLUSTERED ([CODIGO] ASC)\r\n"
                             ") ON [PRIMARY]"));
  const QStringList info =
      raw(QStringLiteral("SELECT name, type, \"notnull\", pk FROM pragma_table_info('MA_CUENTAS')"));
  EXPECT_EQ(info, (QStringList{"ID|INTEGER|0|1", "CODIGO|varchar(15)|1|0", "DESCRIPCION|varchar(60)|0|0",
                               "IMPUTABLE|bit|1|0", "SALDO|decimal(18,2)|0|0", "ALTA|datetime|0|0"}));
  // The identity column is filled by the database; the declared key gave way to a unique constraint.
  cn->execute(QStringLiteral("INSERT INTO MA_CUENTAS (CODIGO) VALUES ('1.1.01')"));
  cn->execute(QStringLiteral("INSERT INTO MA_CUENTAS (CODIGO, DESCRIPCION) VALUES ('1.1.02', 'Caja')"));
  EXPECT_EQ(raw(QStringLiteral("SELECT ID, CODIGO, DESCRIPCION, IMPUTABLE FROM MA_CUENTAS ORDER BY ID")),
            (QStringList{"1|1.1.01||1", "2|1.1.02|Caja|1"}));
  EXPECT_EQ(raw(QStringLiteral("SELECT length(ALTA) FROM MA_CUENTAS WHERE ID = 1")), QStringList{"23"});
  // Lengths, case and keys as the server has them.
  EXPECT_EQ(errorNative(QStringLiteral("INSERT INTO MA_CUENTAS (CODIGO) VALUES ('1234567890123456')")), 8152);
  EXPECT_EQ(errorNative(QStringLiteral("INSERT INTO MA_CUENTAS (CODIGO) VALUES ('1.1.01')")), 2627);
  EXPECT_EQ(
      cn->errors().item(0).description,
      QStringLiteral("Violation of PRIMARY KEY constraint 'PK_MA_CUENTAS'. Cannot insert duplicate key in "
                     "object 'dbo.MA_CUENTAS'."));
  EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM MA_CUENTAS WHERE codigo = '1.1.01'")).toInt(), 1);
  EXPECT_EQ(errorNative(QStringLiteral("INSERT INTO MA_CUENTAS (CODIGO) VALUES (NULL)")), 515);
}

TEST_F(SqliteDdl, ColumnAndTableConstraintsOfEveryKind) {
  cn->execute(
      QStringLiteral("CREATE TABLE PADRE (COD char(4) NOT NULL PRIMARY KEY, NOMBRE nvarchar(20) NULL)\r\n"
                     "CREATE TABLE dbo.HIJO (N int NOT NULL, COD char(4) NULL, IMPORTE money NULL, "
                     "CONSTRAINT PK_HIJO PRIMARY KEY NONCLUSTERED (N), "
                     "CONSTRAINT UQ_HIJO UNIQUE (COD, IMPORTE), "
                     "CONSTRAINT CK_HIJO_IMPORTE CHECK (IMPORTE >= 0), "
                     "CONSTRAINT FK_HIJO_PADRE FOREIGN KEY (COD) REFERENCES PADRE(COD))"));
  cn->execute(QStringLiteral("INSERT INTO PADRE VALUES ('A', 'x') INSERT INTO HIJO VALUES (1, 'A', 10)"));
  EXPECT_EQ(errorNative(QStringLiteral("INSERT INTO HIJO VALUES (2, 'A', 10)")), 2627);
  EXPECT_EQ(
      cn->errors().item(0).description,
      QStringLiteral("Violation of UNIQUE KEY constraint 'UQ_HIJO'. Cannot insert duplicate key in object "
                     "'dbo.HIJO'."));
  EXPECT_EQ(errorNative(QStringLiteral("INSERT INTO HIJO VALUES (3, 'A', -1)")), 547);
  EXPECT_EQ(
      cn->errors().item(0).description,
      QStringLiteral("The INSERT statement conflicted with the CHECK constraint \"CK_HIJO_IMPORTE\". The "
                     "conflict occurred in database \"DEMO\", table \"dbo.HIJO\"."));
  EXPECT_EQ(errorNative(QStringLiteral("INSERT INTO HIJO VALUES (4, 'B', 1)")), 547);
  EXPECT_EQ(
      cn->errors().item(0).description,
      QStringLiteral("The INSERT statement conflicted with the FOREIGN KEY constraint \"FK_HIJO_PADRE\". The "
                     "conflict occurred in database \"DEMO\", table \"dbo.PADRE\", column 'COD'."));
  EXPECT_EQ(errorNative(QStringLiteral("DELETE PADRE")), 547);
  EXPECT_EQ(
      cn->errors().item(0).description,
      QStringLiteral("The DELETE statement conflicted with the REFERENCE constraint \"FK_HIJO_PADRE\". The "
                     "conflict occurred in database \"DEMO\", table \"dbo.HIJO\", column 'COD'."));
  ASSERT_EQ(cn->errors().count(), 2);
  EXPECT_EQ(cn->errors().item(1).nativeError, 3621);
  EXPECT_EQ(cn->errors().item(0).number, err::IntegrityViolation);
  EXPECT_EQ(cn->errors().item(0).sqlState, QStringLiteral("23000"));
}

TEST_F(SqliteDdl, IndexesViewsAndDrops) {
  cn->execute(QStringLiteral(
      "CREATE TABLE MV_ASIENTOS (ID int IDENTITY(1,1) PRIMARY KEY, CUENTA varchar(15))\r\n"
      "CREATE TABLE MV_SALDOS (CUENTA varchar(15), SALDO float)\r\n"
      "CREATE NONCLUSTERED INDEX IX_CUENTA ON dbo.MV_ASIENTOS (CUENTA ASC)\r\n"
      "CREATE UNIQUE INDEX IX_CUENTA ON MV_SALDOS (CUENTA) WITH (FILLFACTOR = 90) ON [PRIMARY]"));
  cn->execute(
      QStringLiteral("CREATE VIEW V_SALDOS AS SELECT TOP 100 PERCENT CUENTA, SALDO FROM dbo.MV_SALDOS "
                     "with(nolock)"));
  cn->execute(QStringLiteral("INSERT INTO MV_SALDOS VALUES ('1', 2.5)"));
  EXPECT_EQ(errorNative(QStringLiteral("INSERT INTO MV_SALDOS VALUES ('1', 3)")), 2601);
  EXPECT_EQ(cn->errors().item(0).description,
            QStringLiteral(
                "Cannot insert duplicate key row in object 'dbo.MV_SALDOS' with unique index 'IX_CUENTA'."));
  EXPECT_EQ(scalar(QStringLiteral("SELECT SALDO FROM V_SALDOS")).toDouble(), 2.5);
  // The index on the journal is used for the recode's updates.
  EXPECT_TRUE(raw(QStringLiteral("EXPLAIN QUERY PLAN UPDATE MV_ASIENTOS SET CUENTA = 'x' WHERE CUENTA = '1'"))
                  .join(' ')
                  .contains(QLatin1String("INDEX")));
  cn->execute(QStringLiteral(
      "DROP INDEX MV_SALDOS.IX_CUENTA DROP INDEX IX_CUENTA ON MV_ASIENTOS DROP VIEW V_SALDOS"));
  cn->execute(QStringLiteral("DROP TABLE MV_SALDOS, dbo.MV_ASIENTOS"));
  EXPECT_EQ(raw(QStringLiteral("SELECT group_concat(name) FROM sqlite_master WHERE name NOT LIKE 'zv%' AND "
                               "name NOT LIKE 'sqlite%'")),
            QStringList{"NULL"});
  EXPECT_EQ(errorNative(QStringLiteral("DROP TABLE MV_SALDOS")), 3701);
  EXPECT_EQ(errorNative(QStringLiteral("CREATE TABLE X (A int) CREATE TABLE x (B int)")), 2714);
}

TEST_F(SqliteDdl, AlterTableAddFollowsTheServersRulesForExistingRows) {
  cn->execute(QStringLiteral("CREATE TABLE MA_CUENTAS (CODIGO varchar(15) NOT NULL)"));
  cn->execute(QStringLiteral("INSERT INTO MA_CUENTAS VALUES ('1')"));
  cn->execute(QStringLiteral(
      "ALTER TABLE dbo.MA_CUENTAS ADD NIVEL INT Not Null  CONSTRAINT DF_MA_CUENTAS_NIVEL DEFAULT (0)"));
  cn->execute(QStringLiteral(
      "ALTER TABLE dbo.MA_CUENTAS ADD GRUPO varchar(5) Null  CONSTRAINT DF_MA_CUENTAS_GRUPO DEFAULT ('G')"));
  cn->execute(QStringLiteral("ALTER TABLE dbo.MA_CUENTAS ADD NOTA varchar(5) Null "));
  EXPECT_EQ(raw(QStringLiteral("SELECT CODIGO, NIVEL, GRUPO, NOTA FROM MA_CUENTAS")),
            QStringList{"1|0|NULL|NULL"});
  cn->execute(QStringLiteral("INSERT INTO MA_CUENTAS (CODIGO) VALUES ('2')"));
  EXPECT_EQ(raw(QStringLiteral("SELECT NIVEL, GRUPO FROM MA_CUENTAS WHERE CODIGO = '2'")),
            QStringList{"0|G"});
  // A NOT NULL column without default cannot join a table that has rows.
  EXPECT_EQ(errorNative(QStringLiteral("ALTER TABLE MA_CUENTAS ADD OTRO int NOT NULL")), 4901);
  cn->execute(QStringLiteral("CREATE TABLE VACIA (A int) ALTER TABLE VACIA ADD B int NOT NULL"));
  EXPECT_EQ(errorNative(QStringLiteral("INSERT INTO VACIA (A) VALUES (1)")), 515);
  EXPECT_EQ(errorNative(QStringLiteral("ALTER TABLE MA_CUENTAS ADD NIVEL int NULL")), 2705);
  auto cols =
      cn->openSchema(ado::adSchemaColumns, {QStringLiteral("DEMO"), QVariant(), QStringLiteral("vacia")});
  ASSERT_EQ(cols->rows.size(), 2);
  EXPECT_EQ(cols->rows[1][cols->columnIndex(QStringLiteral("IS_NULLABLE"))].toBool(), false);
}

TEST_F(SqliteDdl, ATriggerInSqliteSyntaxPassesThroughWithNamesHandled) {
  cn->execute(QStringLiteral("CREATE TABLE MV_ASIENTOS (CUENTA varchar(15), IMPORTE float)\r\n"
                             "CREATE TABLE MV_SALDOS (CUENTA varchar(15), SALDO float)"));
  cn->execute(
      QStringLiteral("CREATE TRIGGER [dbo].[TR_ASIENTOS] AFTER INSERT ON [dbo].[MV_ASIENTOS]\r\n"
                     "BEGIN\r\n"
                     "  UPDATE MV_SALDOS SET SALDO = SALDO + NEW.IMPORTE WHERE CUENTA = NEW.CUENTA;\r\n"
                     "  INSERT INTO MV_SALDOS (CUENTA, SALDO) SELECT NEW.CUENTA, NEW.IMPORTE\r\n"
                     "   WHERE NOT EXISTS (SELECT 1 FROM MV_SALDOS WHERE CUENTA = NEW.CUENTA);\r\n"
                     "END\r\n"
                     "GO\r\n"
                     "INSERT INTO MV_ASIENTOS VALUES ('1', 5) INSERT INTO MV_ASIENTOS VALUES ('1', 2)"));
  EXPECT_EQ(raw(QStringLiteral("SELECT CUENTA, SALDO FROM MV_SALDOS")), QStringList{"1|7.0"});
}

TEST(SqliteTraductor, TranslatesDdlTextAsExpected) {
  sqlite::TsqlTraductor t;
  const QStringList s = t.sentenciasSqlite(
      QStringLiteral("CREATE TABLE [MA_CASH-DETALLE] (ID int IDENTITY(1,1), CUENTA varchar(15) NOT NULL, "
                     "CONSTRAINT PK_CASH PRIMARY KEY (ID))"));
  ASSERT_EQ(s.size(), 1);
  EXPECT_EQ(s[0], QStringLiteral(
                      "CREATE TABLE \"MA_CASH-DETALLE\" (\n"
                      "  \"ID\" INTEGER CONSTRAINT \"PK_CASH\" PRIMARY KEY AUTOINCREMENT,\n"
                      "  \"CUENTA\" varchar(15) NOT NULL COLLATE NOCASE CONSTRAINT \"ZVLEN_CUENTA\" CHECK "
                      "(length(\"CUENTA\") <= 15)\n"
                      ")"));
}

} // namespace
