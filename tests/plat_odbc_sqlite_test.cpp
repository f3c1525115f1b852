// The ODBC back end against a real driver: the SQLite ODBC driver registered
// as "SQLite3", on a database file in a temporary folder.
#include "platform/Proveedores.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QTemporaryDir>

#include <clocale>

using namespace zv;
using zv::ado::Connection;

namespace {

class OdbcSqlite : public ::testing::Test {
protected:
  void SetUp() override {
    // This driver has no wide-character entry points: the driver manager
    // converts the program's text through the locale's character set, which
    // the program takes from its (UTF-8) environment as Qt sets it up.
    ASSERT_TRUE(std::setlocale(LC_CTYPE, "C.UTF-8"));
    ASSERT_TRUE(dir.isValid());
    cs = QStringLiteral("DRIVER={SQLite3};Database=%1;").arg(dir.filePath("t.db"));
    cn = createOdbcConnection(config);
    ASSERT_NO_THROW(cn->open(cs)) << "is the SQLite3 ODBC driver registered in odbcinst.ini?";
  }

  std::unique_ptr<Connection> second() {
    auto other = createOdbcConnection(config);
    other->open(cs);
    return other;
  }

  qint64 count(Connection &c, const QString &table) {
    auto rs = c.execute("select count(*) from " + table);
    return rs->rows.at(0).at(0).toLongLong();
  }

  AppError failure(const QString &sql) {
    try {
      cn->execute(sql);
    } catch (const AppError &e) {
      return e;
    }
    ADD_FAILURE() << "no error for " << sql.toStdString();
    return AppError(0, {});
  }

  ProviderConfig config;
  QTemporaryDir dir;
  QString cs;
  std::unique_ptr<Connection> cn;
};

} // namespace

TEST_F(OdbcSqlite, OpenCloseAndClosedUse) {
  EXPECT_EQ(cn->state(), ado::adStateOpen);
  EXPECT_EQ(cn->connectionString(), cs);
  EXPECT_THROW(cn->open(cs), AppError);
  cn->close();
  EXPECT_EQ(cn->state(), ado::adStateClosed);
  EXPECT_EQ(cn->connectionString(), cs);
  try {
    cn->execute("select 1");
    FAIL() << "executed on a closed connection";
  } catch (const AppError &e) {
    EXPECT_EQ(e.number(), err::ConnectionClosedOrInvalid);
  }
  EXPECT_THROW(cn->beginTrans(), AppError);
  // The same object opens again.
  cn->open(cs);
  EXPECT_EQ(count(*cn, "sqlite_master"), 0);
}

TEST_F(OdbcSqlite, FailedOpenFillsTheErrorList) {
  auto c = createOdbcConnection(config);
  const QString bad = "DRIVER={SQLite3};Database=" + dir.filePath("no/such/folder/x.db") + ";";
  try {
    c->open(bad);
    FAIL() << "opened a file in a missing folder";
  } catch (const AppError &e) {
    EXPECT_EQ(e.number(), err::Unspecified);
    EXPECT_EQ(e.description(), "connect failed");
    EXPECT_EQ(e.source(), "Microsoft OLE DB Provider for ODBC Drivers");
  }
  EXPECT_EQ(c->state(), ado::adStateClosed);
  ASSERT_EQ(c->errors().count(), 1);
  const ado::ErrorEntry &e = c->errors().item(0);
  EXPECT_EQ(e.sqlState, "HY000");
  EXPECT_EQ(e.number, err::Unspecified);
  EXPECT_EQ(e.description, "connect failed");
  EXPECT_EQ(e.nativeError, 14);

  try {
    c->open("DRIVER={No Such Driver ZV};Database=x;");
    FAIL() << "opened through a missing driver";
  } catch (const AppError &e) {
    EXPECT_EQ(e.number(), err::Unspecified);
    EXPECT_TRUE(e.description().startsWith("Can't open lib")) << e.description().toStdString();
  }
  // Nothing of the failed attempts stays in the way.
  c->open(cs);
  EXPECT_EQ(c->state(), ado::adStateOpen);
}

TEST_F(OdbcSqlite, RecordsAffected) {
  long n = 99;
  cn->execute("create table T (a integer primary key, b varchar(10))", &n);
  EXPECT_EQ(n, 0);
  cn->execute("insert into T values (1, 'x'), (2, 'y'), (3, 'z')", &n);
  EXPECT_EQ(n, 3);
  cn->execute("update T set b = 'w' where a >= 2", &n);
  EXPECT_EQ(n, 2);
  cn->execute("update T set b = 'v' where a > 10", &n);
  EXPECT_EQ(n, 0);
  cn->execute("delete from T where a <> 2", &n);
  EXPECT_EQ(n, 2);
  auto rs = cn->execute("select b from T", &n);
  EXPECT_EQ(n, -1);
  ASSERT_TRUE(rs);
  ASSERT_EQ(rs->rows.size(), 1);
  EXPECT_EQ(rs->rows[0][0].toString(), "w");
  EXPECT_FALSE(cn->execute("delete from T where a = 2"));
}

TEST_F(OdbcSqlite, ResultColumnsTypesAndNulls) {
  cn->execute("create table T (a integer primary key, b varchar(15), c decimal(10,2), d datetime, e text, "
              "f float, g bit, h nvarchar(20), i smallint, j date)");
  cn->execute(QString::fromUtf8("insert into T values (1, 'x''y', 1.5, '2020-01-02 03:04:05.250', 'largo', "
                                "2.5, 1, 'ñandú €', -7, '2021-12-31')"));
  cn->execute("insert into T (a) values (2)");
  auto rs = cn->execute("select * from T order by a");
  ASSERT_TRUE(rs);
  const QStringList names{"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"};
  const int types[] = {ado::adInteger,     ado::adVarChar, ado::adNumeric, ado::adDBTimeStamp,
                       ado::adLongVarChar, ado::adDouble,  ado::adBoolean, ado::adVarWChar,
                       ado::adSmallInt,    ado::adDBDate};
  ASSERT_EQ(rs->columns.size(), names.size());
  for (int i = 0; i < names.size(); ++i) {
    EXPECT_EQ(rs->columns[i].name, names[i]);
    EXPECT_EQ(rs->columns[i].type, types[i]) << names[i].toStdString();
  }
  EXPECT_EQ(rs->columns[0].definedSize, 4);
  EXPECT_EQ(rs->columns[1].definedSize, 15);
  EXPECT_EQ(rs->columns[7].definedSize, 20);

  ASSERT_EQ(rs->rows.size(), 2);
  const auto &r = rs->rows[0];
  EXPECT_EQ(r[0].typeId(), QMetaType::LongLong);
  EXPECT_EQ(r[0].toLongLong(), 1);
  EXPECT_EQ(r[1].typeId(), QMetaType::QString);
  EXPECT_EQ(r[1].toString(), "x'y");
  EXPECT_EQ(r[2].typeId(), QMetaType::Double);
  EXPECT_DOUBLE_EQ(r[2].toDouble(), 1.5);
  EXPECT_EQ(r[3].typeId(), QMetaType::QDateTime);
  EXPECT_EQ(r[3].toDateTime(), QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5, 250)));
  EXPECT_EQ(r[4].toString(), "largo");
  EXPECT_EQ(r[5].typeId(), QMetaType::Double);
  EXPECT_DOUBLE_EQ(r[5].toDouble(), 2.5);
  EXPECT_EQ(r[6].typeId(), QMetaType::LongLong);
  EXPECT_EQ(r[6].toLongLong(), 1);
  EXPECT_EQ(r[7].toString(), QString::fromUtf8("ñandú €"));
  EXPECT_EQ(r[8].toLongLong(), -7);
  EXPECT_EQ(r[9].typeId(), QMetaType::QDate);
  EXPECT_EQ(r[9].toDate(), QDate(2021, 12, 31));

  const auto &nulls = rs->rows[1];
  for (int i = 1; i < nulls.size(); ++i)
    EXPECT_TRUE(nulls[i].isNull()) << names[i].toStdString();
  EXPECT_FALSE(nulls[0].isNull());
}

TEST_F(OdbcSqlite, LongTextAndBinaryComeWhole) {
  cn->execute("create table L (t text, b blob)");
  QString text;
  for (int i = 0; i < 3000; ++i)
    text += QString::fromUtf8("año %1 ").arg(i, 4, 10, QLatin1Char('0'));
  QByteArray bytes;
  for (int i = 0; i < 10000; ++i)
    bytes.append(char(i * 7 % 256));
  cn->execute("insert into L values ('" + text + "', x'" + QString::fromLatin1(bytes.toHex()) + "')");
  auto rs = cn->execute("select t, b from L");
  ASSERT_TRUE(rs);
  ASSERT_EQ(rs->rows.size(), 1);
  EXPECT_EQ(rs->rows[0][0].toString().size(), text.size());
  EXPECT_EQ(rs->rows[0][0].toString(), text);
  EXPECT_EQ(rs->rows[0][1].toByteArray(), bytes);
}

TEST_F(OdbcSqlite, WeaklyTypedValuesStayReadable) {
  // SQLite lets text into a number column; it comes back as text.
  cn->execute("create table W (n integer, m decimal(10,2))");
  cn->execute("insert into W values ('abc', 'n/a')");
  auto rs = cn->execute("select n, m from W");
  ASSERT_TRUE(rs);
  EXPECT_EQ(rs->rows[0][0].toString(), "abc");
  EXPECT_EQ(rs->rows[0][1].toString(), "n/a");
}

TEST_F(OdbcSqlite, ErrorListContents) {
  const AppError e = failure("select * from nothere");
  EXPECT_EQ(e.number(), err::CommandError);
  EXPECT_EQ(e.description(), "no such table: nothere (1)");
  EXPECT_EQ(e.source(), "Microsoft OLE DB Provider for ODBC Drivers");
  ASSERT_EQ(cn->errors().count(), 1);
  const ado::ErrorEntry &entry = cn->errors().item(0);
  EXPECT_EQ(entry.sqlState, "HY000");
  EXPECT_EQ(entry.nativeError, 1);
  EXPECT_EQ(entry.number, err::CommandError);
  EXPECT_EQ(entry.description, "no such table: nothere (1)");
  EXPECT_EQ(entry.source, "Microsoft OLE DB Provider for ODBC Drivers");

  cn->execute("create table T (a integer primary key)");
  EXPECT_EQ(cn->errors().count(), 0) << "a new execution starts with an empty list";
  cn->execute("insert into T values (1)");
  const AppError dup = failure("insert into T values (1)");
  EXPECT_EQ(dup.description(), "UNIQUE constraint failed: T.a (19)");
  ASSERT_EQ(cn->errors().count(), 1);
  EXPECT_EQ(cn->errors().item(0).nativeError, 19);
  EXPECT_EQ(count(*cn, "T"), 1);
}

TEST_F(OdbcSqlite, BatchOfSeveralStatements) {
  // This driver runs one statement per call and refuses a batch outright:
  // the refusal arrives as an error and none of the batch has run.
  cn->execute("create table T (a integer primary key)");
  const AppError e = failure("insert into T values (1); insert into T values (1); insert into T values (2)");
  EXPECT_EQ(e.number(), err::CommandError);
  EXPECT_EQ(e.description(), "only one SQL statement allowed");
  ASSERT_EQ(cn->errors().count(), 1);
  EXPECT_EQ(count(*cn, "T"), 0);
}

TEST_F(OdbcSqlite, RollbackUndoesAndCommitKeeps) {
  cn->execute("create table T (a integer)");
  EXPECT_EQ(cn->beginTrans(), 1);
  cn->execute("insert into T values (1)");
  EXPECT_EQ(cn->beginTrans(), 2);
  cn->execute("insert into T values (2)");
  cn->commitTrans(); // inner level only
  EXPECT_EQ(count(*cn, "T"), 2);
  cn->rollbackTrans();
  EXPECT_EQ(count(*cn, "T"), 0);

  EXPECT_EQ(cn->beginTrans(), 1);
  cn->execute("insert into T values (3)");
  cn->commitTrans();
  auto other = second();
  EXPECT_EQ(count(*other, "T"), 1);

  // Back in autocommit: a change is seen elsewhere at once.
  cn->execute("insert into T values (4)");
  EXPECT_EQ(count(*other, "T"), 2);

  try {
    cn->commitTrans();
    FAIL() << "commit without a transaction";
  } catch (const AppError &e) {
    EXPECT_EQ(e.number(), -2147168242);
  }
  EXPECT_THROW(cn->rollbackTrans(), AppError);
}

TEST_F(OdbcSqlite, CloseUndoesAnOpenTransaction) {
  cn->execute("create table T (a integer)");
  cn->beginTrans();
  cn->execute("insert into T values (1)");
  cn->close();
  cn->open(cs);
  EXPECT_EQ(count(*cn, "T"), 0);
  EXPECT_EQ(cn->beginTrans(), 1) << "the nesting count starts again";
}

TEST_F(OdbcSqlite, TablesCatalogue) {
  cn->execute("create table MA_CUENTAS (ID integer)");
  cn->execute("create table MAXCUENTAS (ID integer)");
  cn->execute("create view V_CUENTAS as select * from MA_CUENTAS");
  auto all = cn->openSchema(ado::adSchemaTables);
  ASSERT_TRUE(all);
  const int name = all->columnIndex("TABLE_NAME");
  const int type = all->columnIndex("TABLE_TYPE");
  ASSERT_GE(name, 0);
  ASSERT_GE(type, 0);
  EXPECT_GE(all->columnIndex("TABLE_CATALOG"), 0);
  EXPECT_GE(all->columnIndex("TABLE_SCHEMA"), 0);
  QStringList seen;
  for (const auto &row : all->rows)
    seen << row[name].toString() + "/" + row[type].toString();
  seen.sort();
  EXPECT_EQ(seen, QStringList({"MAXCUENTAS/TABLE", "MA_CUENTAS/TABLE", "V_CUENTAS/VIEW"}));

  // "_" is no wildcard and case does not matter.
  auto one = cn->openSchema(ado::adSchemaTables, {QVariant(), QVariant(), "ma_cuentas"});
  ASSERT_EQ(one->rows.size(), 1);
  EXPECT_EQ(one->rows[0][name].toString(), "MA_CUENTAS");

  auto views = cn->openSchema(ado::adSchemaTables, {QVariant(), QVariant(), QVariant(), "VIEW"});
  ASSERT_EQ(views->rows.size(), 1);
  EXPECT_EQ(views->rows[0][name].toString(), "V_CUENTAS");

  EXPECT_TRUE(cn->openSchema(ado::adSchemaTables, {"", "", "NADA"})->rows.isEmpty());
}

TEST_F(OdbcSqlite, ColumnsCatalogueInTableOrder) {
  cn->execute("create table MA_CUENTAS (ID integer not null, CODIGO varchar(15) not null, Descripcion "
              "varchar(60), SALDO decimal(18,2), FECHA datetime, NOTA text)");
  cn->execute("create table MAXCUENTAS (OTRA integer)");
  // The catalogue name is ignored by a driver that has none.
  auto rs = cn->openSchema(ado::adSchemaColumns, {"DEMO", QVariant(), "ma_cuentas"});
  ASSERT_TRUE(rs);
  const QStringList wanted{"TABLE_CATALOG",    "TABLE_SCHEMA", "TABLE_NAME",  "COLUMN_NAME",
                           "ORDINAL_POSITION", "DATA_TYPE",    "IS_NULLABLE", "CHARACTER_MAXIMUM_LENGTH"};
  for (const QString &c : wanted)
    EXPECT_GE(rs->columnIndex(c), 0) << c.toStdString();
  const int col = rs->columnIndex("COLUMN_NAME"), pos = rs->columnIndex("ORDINAL_POSITION"),
            type = rs->columnIndex("DATA_TYPE"), nullable = rs->columnIndex("IS_NULLABLE"),
            length = rs->columnIndex("CHARACTER_MAXIMUM_LENGTH"), table = rs->columnIndex("TABLE_NAME");
  struct Expected {
    const char *name;
    int type;
    bool nullable;
    QVariant length;
  };
  const Expected expected[] = {
      {"ID", ado::adInteger, false, QVariant()},
      {"CODIGO", ado::adVarChar, false, qint64(15)},
      {"Descripcion", ado::adVarChar, true, qint64(60)},
      {"SALDO", ado::adNumeric, true, QVariant()},
      {"FECHA", ado::adDBTimeStamp, true, QVariant()},
      {"NOTA", ado::adLongVarChar, true, qint64(2147483647)},
  };
  ASSERT_EQ(rs->rows.size(), std::size(expected));
  for (int i = 0; i < rs->rows.size(); ++i) {
    const auto &row = rs->rows[i];
    const Expected &x = expected[i];
    EXPECT_EQ(row[table].toString(), "MA_CUENTAS");
    EXPECT_EQ(row[col].toString(), x.name);
    EXPECT_EQ(row[pos].toLongLong(), i + 1) << x.name;
    EXPECT_EQ(row[type].toLongLong(), x.type) << x.name;
    EXPECT_EQ(row[nullable].toBool(), x.nullable) << x.name;
    EXPECT_EQ(row[length].isNull(), x.length.isNull()) << x.name;
    if (!x.length.isNull()) {
      EXPECT_EQ(row[length].toLongLong(), x.length.toLongLong()) << x.name;
    }
  }

  auto one = cn->openSchema(ado::adSchemaColumns, {QVariant(), QVariant(), "MA_CUENTAS", "codigo"});
  ASSERT_EQ(one->rows.size(), 1);
  EXPECT_EQ(one->rows[0][col].toString(), "CODIGO");
  EXPECT_EQ(one->rows[0][pos].toLongLong(), 2);
}

TEST_F(OdbcSqlite, SettingsAndUnsupportedRequests) {
  EXPECT_EQ(cn->commandTimeout(), 30);
  cn->setCommandTimeout(5);
  EXPECT_EQ(cn->commandTimeout(), 5);
  EXPECT_THROW(cn->setCommandTimeout(-1), AppError);
  EXPECT_EQ(cn->commandTimeout(), 5);

  cn->setIsolationLevel(ado::adIsolationReadCommitted);
  EXPECT_EQ(cn->isolationLevel(), ado::adIsolationReadCommitted);
  EXPECT_THROW(cn->setIsolationLevel(12345), AppError);
  EXPECT_EQ(cn->isolationLevel(), ado::adIsolationReadCommitted);

  cn->setCursorLocation(ado::adUseClient);
  EXPECT_EQ(cn->cursorLocation(), ado::adUseClient);
  EXPECT_THROW(cn->setCursorLocation(9), AppError);

  cn->setDefaultDatabase("main");
  EXPECT_EQ(cn->defaultDatabase(), "main");

  try {
    cn->openSchema(99);
    FAIL() << "unknown schema accepted";
  } catch (const AppError &e) {
    EXPECT_EQ(e.number(), 3251);
  }
  // The statements still run under the chosen settings.
  cn->execute("create table T (a integer)");
  EXPECT_EQ(count(*cn, "T"), 0);
}
