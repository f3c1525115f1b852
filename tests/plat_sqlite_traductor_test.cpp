// Splitting T-SQL batches into statements and the SQLite text each becomes.
#include "platform/sqlite/TsqlTraductor.h"

#include <gtest/gtest.h>

using namespace zv::sqlite;

namespace {

QString clases(const std::vector<Statement> &list) {
  QStringList out;
  for (const Statement &s : list) {
    QString k;
    switch (s.kind) {
    case Kind::Query:
      k = QStringLiteral("Query");
      break;
    case Kind::Insert:
      k = QStringLiteral("Insert");
      break;
    case Kind::Update:
      k = QStringLiteral("Update");
      break;
    case Kind::Delete:
      k = QStringLiteral("Delete");
      break;
    case Kind::Ddl:
      k = QStringLiteral("Ddl");
      break;
    case Kind::DropTable:
      k = QStringLiteral("Drop");
      break;
    case Kind::Truncate:
      k = QStringLiteral("Truncate");
      break;
    case Kind::AddColumns:
      k = QStringLiteral("Add");
      break;
    case Kind::BeginTran:
      k = QStringLiteral("Begin");
      break;
    case Kind::CommitTran:
      k = QStringLiteral("Commit");
      break;
    case Kind::RollbackTran:
      k = QStringLiteral("Rollback");
      break;
    case Kind::SetOption:
      k = QStringLiteral("Set");
      break;
    case Kind::If:
      k = QStringLiteral("If(") + clases(s.body) + QLatin1Char(')');
      break;
    case Kind::Block:
      k = QStringLiteral("Block(") + clases(s.body) + QLatin1Char(')');
      break;
    case Kind::DisableTriggers:
      k = QStringLiteral("Disable");
      break;
    case Kind::EnableTriggers:
      k = QStringLiteral("Enable");
      break;
    case Kind::CreateDatabase:
      k = QStringLiteral("CreateDb");
      break;
    case Kind::DropDatabase:
      k = QStringLiteral("DropDb");
      break;
    case Kind::Use:
      k = QStringLiteral("Use");
      break;
    case Kind::NoOp:
      k = QStringLiteral("NoOp");
      break;
    case Kind::Failure:
      k = QStringLiteral("Failure");
      break;
    }
    out << k;
  }
  return out.join(QLatin1Char(' '));
}

QString partir(const QString &sql) {
  QStringList out;
  for (const Batch &b : TsqlTraductor().analizar(sql))
    out << (b.failed ? QStringLiteral("FAILED %1").arg(b.native) : clases(b.statements));
  return out.join(QStringLiteral(" / "));
}

TEST(SqliteTraductorPartir, StatementBoundaries) {
  struct Caso {
    const char *sql;
    const char *esperado;
  } casos[] = {
      {"\r\nSET XACT_ABORT ON \r\nalter table mv_asientos disable trigger all \r\nBEGIN TRANSACTION \r\n"
       "IF NOT EXISTS(SELECT * FROM MA_CUENTAS WHERE CODIGO = '2') INSERT INTO MA_CUENTAS \r\n"
       "SELECT '2',Descripcion \r\nFROM MA_CUENTAS WHERE CODIGO = '1' \r\n \r\n"
       "UPDATE [MA_CASH-DETALLE] SET CUENTA = '2' WHERE CUENTA = '1'\r\n"
       "DELETE MA_CUENTAS WHERE CODIGO = '1'\r\n COMMIT TRANSACTION\r\n alter table mv_asientos enable "
       "trigger all ",
       "Set Disable Begin If(Insert) Update Delete Commit Enable"},
      {"INSERT INTO T (A) SELECT A FROM U SELECT 1", "Insert Query"},
      {"INSERT INTO T VALUES (1) SELECT 1", "Insert Query"},
      {"INSERT T SELECT A FROM U UNION ALL SELECT B FROM V", "Insert"},
      {"SELECT A FROM T UNION SELECT B FROM U", "Query"},
      {"UPDATE T SET A = 1 SET NOCOUNT ON", "Update Set"},
      {"ALTER TABLE T DROP COLUMN C ALTER TABLE U DISABLE TRIGGER ALL", "Ddl Disable"},
      {"SELECT CASE WHEN A = 1 THEN 'x' ELSE 'y' END FROM T DELETE T", "Query Delete"},
      {"IF @@TRANCOUNT > 0 ROLLBACK TRANSACTION", "If(Rollback)"},
      {"IF 1 = 1 BEGIN UPDATE T SET A = 1 DELETE T END ELSE SELECT 2", "If(Block(Update Delete) Query)"},
      {"SELECT 1; SELECT 2;;SELECT 3", "Query Query Query"},
      {"SELECT 1 -- SELECT 9\r\nSELECT 2 /* SELECT 8 */", "Query Query"},
      {"SELECT 1\r\nGO\r\nSELECT 'a\r\nGO\r\nb'\r\n  go  \r\nSELECT 3", "Query / Query / Query"},
      {"CREATE TRIGGER X AFTER INSERT ON T BEGIN UPDATE U SET A = 1; DELETE FROM V; END SELECT 1",
       "Ddl Query"},
      {"CREATE VIEW V AS SELECT A FROM T SELECT 1", "Ddl"},
      {"BEGIN TRAN COMMIT TRAN BEGIN TRANSACTION ROLLBACK TRANSACTION", "Begin Commit Begin Rollback"},
      {"CREATE DATABASE D DROP DATABASE D USE D", "CreateDb DropDb Use"},
      {"EXEC sp_algo 1 SELECT 1", "Failure Query"},
      {"SET ANSI_NULLS ON SET QUOTED_IDENTIFIER ON PRINT 'x'", "NoOp NoOp NoOp"},
      {"SELECT (1", "FAILED 102"},
      {"SELECT 1) SELECT 2", "FAILED 102"},
      {"SELECT 'sin fin", "FAILED 105"},
      {"SELECT @x", "FAILED 137"},
      {"SET FORMATO ON", "FAILED 195"},
      {"SELECT 1\r\nGO\r\nSELECT (", "Query / FAILED 102"},
      {"CREATE TABLE T (A int) ON [PRIMARY] TEXTIMAGE_ON [PRIMARY] SELECT 1", "Ddl Query"},
      {"CREATE TABLE T (A int) RARO", "FAILED 102"},
  };
  for (const Caso &c : casos)
    EXPECT_EQ(partir(QLatin1String(c.sql)), QLatin1String(c.esperado)) << c.sql;
}

TEST(SqliteTraductorTexto, TranslatedText) {
  struct Caso {
    const char *sql;
    const char *esperado;
  } casos[] = {
      {"SELECT TOP 5 * FROM dbo.T with(nolock) WHERE C = 'x  ' ORDER BY C",
       "SELECT * FROM T WHERE C = 'x' ORDER BY C LIMIT 5"},
      {"SELECT * FROM T WHERE A IN (SELECT TOP 1 B FROM U ORDER BY B)",
       "SELECT * FROM T WHERE A IN (SELECT B FROM U ORDER BY B LIMIT 1)"},
      {"SELECT TOP 100 PERCENT A FROM [dbo].[T] (NOLOCK)", "SELECT A FROM \"T\""},
      {"DELETE [MA_CASH-DETALLE] WHERE CUENTA = 'a'", "DELETE FROM \"MA_CASH-DETALLE\" WHERE CUENTA = 'a'"},
      {"DELETE FROM dbo.T", "DELETE FROM T"},
      {"UPDATE T SET A = 'v  ', [B-C] = 'w ' WHERE C = 'k  ' AND 'j ' <> D",
       "UPDATE T SET A = 'v  ', \"B-C\" = 'w ' WHERE C = 'k' AND 'j' <> D"},
      {"UPDATE MV_ASIENTOS SET CUENTA = '1.1.09' WHERE CUENTA = '1.1.01'",
       "UPDATE MV_ASIENTOS SET CUENTA = '1.1.09' WHERE CUENTA = '1.1.01'"},
      {"SELECT * FROM T WHERE A IN ('a ', 'b  ') AND B LIKE 'c ' AND C = 'd ' + 'e '",
       "SELECT * FROM T WHERE A IN ('a', 'b') AND B LIKE 'c ' AND C = 'd ' || 'e '"},
      {"INSERT INTO T (A) VALUES ('x  ')", "INSERT INTO T (A) VALUES ('x  ')"},
      {"INSERT T SELECT 'x', A FROM U WHERE B = 'y '", "INSERT INTO T SELECT 'x', A FROM U WHERE B = 'y'"},
      {"SELECT isnull(A, 0), len(B), substring(C, 1, 2) FROM DEMO.dbo.T",
       "SELECT ifnull(A, 0), length(rtrim(B)), substr(C, 1, 2) FROM T"},
      {"SELECT getdate()", "SELECT strftime('%Y-%m-%d %H:%M:%f','now','localtime')"},
      {"SELECT N'año', 'it''s'", "SELECT 'año', 'it''s'"},
      {"SELECT A FROM T WHERE B !< 1", "SELECT A FROM T WHERE B >= 1"},
      {"TRUNCATE TABLE dbo.T", "DELETE FROM \"T\""},
      {"IF @@TRANCOUNT > 0 ROLLBACK TRANSACTION", "SELECT CASE WHEN $zv_trancount > 0 THEN 1 ELSE 0 END"},
      {"CREATE UNIQUE CLUSTERED INDEX IX_A ON dbo.T (A DESC, [B C]) INCLUDE (D) WITH (PAD_INDEX = OFF)",
       "CREATE UNIQUE INDEX \"T.IX_A\" ON \"T\" (\"A\" DESC, \"B C\")"},
      {"DROP INDEX T.IX_A", "DROP INDEX \"T.IX_A\""},
      {"ALTER TABLE dbo.MA_CUENTAS ADD NIVEL INT Not Null  CONSTRAINT DF_MA_CUENTAS_NIVEL DEFAULT (0)",
       "ALTER TABLE \"MA_CUENTAS\" ADD COLUMN \"NIVEL\" INT NOT NULL CONSTRAINT \"DF_MA_CUENTAS_NIVEL\" "
       "DEFAULT (0)"},
      {"CREATE TRIGGER [dbo].[TR] AFTER DELETE ON [dbo].[T] BEGIN DELETE FROM U WHERE A = OLD.A; END",
       "CREATE TRIGGER \"TR\" AFTER DELETE ON \"T\" BEGIN DELETE FROM U WHERE A = OLD.A; END"},
  };
  for (const Caso &c : casos) {
    const QStringList s = TsqlTraductor().sentenciasSqlite(QString::fromUtf8(c.sql));
    EXPECT_EQ(s.join(QStringLiteral(" ; ")), QString::fromUtf8(c.esperado)) << c.sql;
  }
}

TEST(SqliteTraductorTexto, RecodeBatchFlattensToPlainSqlite) {
  const QStringList s = TsqlTraductor().sentenciasSqlite(QStringLiteral(
      "\r\nalter table mv_asientos disable trigger all \r\nBEGIN TRANSACTION \r\n"
      "UPDATE MV_SALDOS SET CUENTA = '1.1.09' WHERE CUENTA = '1.1.01'\r\n COMMIT TRANSACTION\r\n"
      " alter table mv_asientos enable trigger all "));
  EXPECT_EQ(
      s, (QStringList{"BEGIN", "UPDATE MV_SALDOS SET CUENTA = '1.1.09' WHERE CUENTA = '1.1.01'", "COMMIT"}));
  EXPECT_THROW(TsqlTraductor().sentenciasSqlite(QStringLiteral("SELECT (")), std::runtime_error);
}

TEST(SqliteTraductorTipos, DeclaredTypesGiveAdoCodesAndSizes) {
  struct Caso {
    const char *tipo;
    int ado;
    long size;
    int length;
  } casos[] = {
      {"int", 3, 4, -1},
      {"bigint", 20, 8, -1},
      {"smallint", 2, 2, -1},
      {"tinyint", 17, 1, -1},
      {"bit", 11, 2, -1},
      {"decimal(18,2)", 131, 19, -1},
      {"numeric(10, 0)", 131, 19, -1},
      {"money", 6, 8, -1},
      {"float", 5, 8, -1},
      {"real", 4, 4, -1},
      {"datetime", 135, 16, -1},
      {"smalldatetime", 135, 16, -1},
      {"char(3)", 129, 3, 3},
      {"VARCHAR(15)", 200, 15, 15},
      {"nchar(2)", 130, 2, 2},
      {"nvarchar(40)", 202, 40, 40},
      {"varchar(max)", 201, 2147483647, -1},
      {"text", 201, 2147483647, -1},
      {"ntext", 203, 1073741823, -1},
      {"INTEGER", 3, 4, -1},
  };
  for (const Caso &c : casos) {
    const TipoColumna t = tipoDeclarado(QLatin1String(c.tipo));
    EXPECT_EQ(t.adoType, c.ado) << c.tipo;
    EXPECT_EQ(t.definedSize, c.size) << c.tipo;
    EXPECT_EQ(t.length, c.length) << c.tipo;
  }
}

} // namespace
