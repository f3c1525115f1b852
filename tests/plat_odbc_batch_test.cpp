// Batches of several statements through the ODBC back end, against a scripted
// driver that answers as a server does: one result per statement, errors of
// any statement, warnings, row counts and a result set.
#include "platform/Proveedores.h"

#include <gtest/gtest.h>

using namespace zv;

namespace {

class OdbcBatch : public ::testing::Test {
protected:
  void SetUp() override {
    cn = createOdbcConnection(ProviderConfig{});
    ASSERT_NO_THROW(cn->open(cs));
  }

  AppError failure(const QString &batch, long *affected = nullptr) {
    try {
      cn->execute(batch, affected);
    } catch (const AppError &e) {
      return e;
    }
    ADD_FAILURE() << "no error for " << batch.toStdString();
    return AppError(0, {});
  }

  const QString cs = QStringLiteral("DRIVER=" ZV_ODBC_FAKE_DRIVER ";");
  std::unique_ptr<ado::Connection> cn;
};

} // namespace

TEST_F(OdbcBatch, RowCountsOfAllStatementsAddUp) {
  long n = 0;
  EXPECT_FALSE(cn->execute("ROWS 3; NOCOUNT; ROWS 0; ROWS 4", &n));
  EXPECT_EQ(n, 7);
  EXPECT_EQ(cn->errors().count(), 0);
  cn->execute("NOCOUNT", &n);
  EXPECT_EQ(n, -1);
}

TEST_F(OdbcBatch, FirstResultSetIsReturnedAndTheRestStillRuns) {
  long n = 0;
  auto rs = cn->execute("ROWS 2; SELECT; SELECT; ROWS 5", &n);
  ASSERT_TRUE(rs);
  EXPECT_EQ(n, 7);
  ASSERT_EQ(rs->columns.size(), 2);
  EXPECT_EQ(rs->columns[0].name, "id");
  EXPECT_EQ(rs->columns[0].type, ado::adInteger);
  EXPECT_TRUE(rs->columns[0].autoIncrement);
  EXPECT_EQ(rs->columns[0].baseTable, "FAKE_T");
  EXPECT_EQ(rs->columns[1].type, ado::adVarChar);
  EXPECT_EQ(rs->columns[1].definedSize, 10);
  ASSERT_EQ(rs->rows.size(), 2);
  EXPECT_EQ(rs->rows[0][0], QVariant(qint64(1)));
  EXPECT_EQ(rs->rows[0][1], QVariant(QStringLiteral("uno")));
  EXPECT_EQ(rs->rows[1][0], QVariant(qint64(2)));
  EXPECT_TRUE(rs->rows[1][1].isNull());
}

TEST_F(OdbcBatch, ErrorsOfLaterStatementsAreAllListedAndTheFirstIsThrown) {
  long n = 0;
  const AppError e =
      failure("ROWS 1; ERR 23000 2627 [Fake][Server]Violation of PRIMARY KEY constraint 'PK_T'.;"
              " ERR 01000 3621 [Fake][Server]The statement has been terminated.; ROWS 2;"
              " ERR 42S02 208 [Fake][Server]Invalid object name 'NADA'.",
              &n);
  EXPECT_EQ(e.number(), err::IntegrityViolation);
  EXPECT_EQ(e.description(), "Violation of PRIMARY KEY constraint 'PK_T'.");
  EXPECT_EQ(e.source(), "Microsoft OLE DB Provider for ODBC Drivers");
  EXPECT_EQ(n, 3) << "the statements around the failures ran";
  ASSERT_EQ(cn->errors().count(), 3);
  const auto &list = cn->errors();
  EXPECT_EQ(list.item(0).sqlState, "23000");
  EXPECT_EQ(list.item(0).nativeError, 2627);
  EXPECT_EQ(list.item(1).nativeError, 3621);
  EXPECT_EQ(list.item(1).description, "The statement has been terminated.");
  EXPECT_EQ(list.item(2).sqlState, "42S02");
  EXPECT_EQ(list.item(2).number, err::InvalidObject);
  EXPECT_EQ(list.item(2).nativeError, 208);
  EXPECT_EQ(list.item(2).description, "Invalid object name 'NADA'.");

  cn->execute("ROWS 1");
  EXPECT_EQ(cn->errors().count(), 0);
}

TEST_F(OdbcBatch, FailureOfTheFirstStatementIsReported) {
  const AppError e = failure("ERR 42000 102 [Fake][Server]Incorrect syntax near 'x'.; ROWS 1");
  EXPECT_EQ(e.number(), err::CommandError);
  EXPECT_EQ(e.description(), "Incorrect syntax near 'x'.");
  ASSERT_GE(cn->errors().count(), 1);
  EXPECT_EQ(cn->errors().item(0).nativeError, 102);
}

TEST_F(OdbcBatch, WarningsAreListedWithoutFailing) {
  long n = 0;
  EXPECT_NO_THROW(cn->execute("WARN Null value is eliminated.; ROWS 2", &n));
  EXPECT_EQ(n, 2);
  ASSERT_EQ(cn->errors().count(), 1);
  EXPECT_EQ(cn->errors().item(0).sqlState, "01000");
  EXPECT_EQ(cn->errors().item(0).number, 0);
  EXPECT_EQ(cn->errors().item(0).description, "Null value is eliminated.");
}

TEST_F(OdbcBatch, FailedLoginKeepsTheServersDiagnostic) {
  auto c = createOdbcConnection(ProviderConfig{});
  try {
    c->open(QStringLiteral("DRIVER=" ZV_ODBC_FAKE_DRIVER ";FAIL=1;"));
    FAIL() << "the login was refused";
  } catch (const AppError &e) {
    EXPECT_EQ(e.number(), err::Unspecified);
    EXPECT_EQ(e.description(), "Server does not exist or access denied.");
  }
  ASSERT_GE(c->errors().count(), 1);
  EXPECT_EQ(c->errors().item(0).sqlState, "08001");
  EXPECT_EQ(c->errors().item(0).nativeError, 17);
  EXPECT_EQ(c->state(), ado::adStateClosed);
}
