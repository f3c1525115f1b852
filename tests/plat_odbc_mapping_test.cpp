// The translations of the ODBC back end that need no driver: connection
// strings, type codes, error numbers and diagnostic texts.
#include "platform/odbc/OdbcMapping.h"

#include "platform/Ado.h"

#include <gtest/gtest.h>

#include <sql.h>
#include <sqlext.h>

using namespace zv;
using namespace zv::odbc;

namespace {

struct TargetCase {
  const char *ado;
  const char *user;
  const char *password;
  const char *expected;
};

ProviderConfig defaults() { return ProviderConfig{}; }

} // namespace

TEST(OdbcTarget, SqlServerStrings) {
  const TargetCase cases[] = {
      {"PROVIDER=SQLOLEDB;Server=SRV\\INST;Database =DEMO;UId=U;Pwd=P;", "", "",
       "DRIVER={FreeTDS};SERVER=SRV\\INST;DATABASE=DEMO;UID=U;PWD=P;"},
      {"Provider=sqloledb.1;Server=SRV:1500;Database=DEMO;User Id=U;Password=P", "", "",
       "DRIVER={FreeTDS};SERVER=SRV;PORT=1500;DATABASE=DEMO;UID=U;PWD=P;"},
      {"Server=SRV,1433;Database=DEMO;UId=U;Pwd=P;", "", "",
       "DRIVER={FreeTDS};SERVER=SRV;PORT=1433;DATABASE=DEMO;UID=U;PWD=P;"},
      // A port makes the instance name irrelevant.
      {"Server=SRV\\INST,1433;Database=DEMO;", "", "",
       "DRIVER={FreeTDS};SERVER=SRV;PORT=1433;DATABASE=DEMO;"},
      {"Provider=SQLOLEDB;Data Source=tcp:SRV;Initial Catalog=DEMO;", "", "",
       "DRIVER={FreeTDS};SERVER=SRV;DATABASE=DEMO;"},
      {"Provider=SQLOLEDB;Server=(local);Database=DEMO;", "", "",
       "DRIVER={FreeTDS};SERVER=localhost;DATABASE=DEMO;"},
      {"Provider=SQLOLEDB;Server=.\\SQLEXPRESS;Database=DEMO;", "", "",
       "DRIVER={FreeTDS};SERVER=localhost\\SQLEXPRESS;DATABASE=DEMO;"},
      // The arguments of open win over the string's login.
      {"Provider=SQLOLEDB;Server=SRV;Database=DEMO;UId=U;Pwd=P;", "OTRO", "CLAVE",
       "DRIVER={FreeTDS};SERVER=SRV;DATABASE=DEMO;UID=OTRO;PWD=CLAVE;"},
      // Values that would end the pair are braced.
      {"Provider=SQLOLEDB;Server=SRV;Database=DEMO;", "U", "a;b}c",
       "DRIVER={FreeTDS};SERVER=SRV;DATABASE=DEMO;UID=U;PWD={a;b}}c};"},
  };
  for (const auto &c : cases) {
    const OdbcTarget t = odbcTarget(c.ado, c.user, c.password, defaults());
    EXPECT_EQ(t.connectionString, QString::fromUtf8(c.expected)) << c.ado;
    EXPECT_EQ(t.source, "Microsoft OLE DB Provider for SQL Server") << c.ado;
  }
}

TEST(OdbcTarget, SqlServerDriverAndTdsVersionFromConfiguration) {
  ProviderConfig config;
  config.odbcSqlServerDriver = "ODBC Driver 18 for SQL Server";
  config.odbcTdsVersion = "7.4";
  const OdbcTarget t =
      odbcTarget("PROVIDER=SQLOLEDB;Server=SRV\\INST;Database =DEMO;UId=U;Pwd=P;", {}, {}, config);
  EXPECT_EQ(
      t.connectionString,
      "DRIVER={ODBC Driver 18 for SQL Server};SERVER=SRV\\INST;DATABASE=DEMO;UID=U;PWD=P;TDS_Version=7.4;");
}

TEST(OdbcTarget, OracleUsesTheConfiguredDriver) {
  ProviderConfig config;
  config.odbcOracleDriver = "Oracle 21 ODBC driver";
  const OdbcTarget t =
      odbcTarget("Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=DEMO;Password=DEMO;", {}, {}, config);
  EXPECT_EQ(t.connectionString, "DRIVER={Oracle 21 ODBC driver};DBQ=ORCL;UID=DEMO;PWD=DEMO;");
  EXPECT_EQ(t.source, "OraOLEDB");

  const OdbcTarget withLogin =
      odbcTarget("Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=DEMO;Password=DEMO;", "U", "P", config);
  EXPECT_EQ(withLogin.connectionString, "DRIVER={Oracle 21 ODBC driver};DBQ=ORCL;UID=U;PWD=P;");
}

TEST(OdbcTarget, OracleWithoutDriverIsRefused) {
  try {
    odbcTarget("Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=U;Password=P;", {}, {}, defaults());
    FAIL() << "no error";
  } catch (const AppError &e) {
    EXPECT_EQ(e.number(), ProviderNotFound);
    EXPECT_TRUE(e.description().contains("ZV_ODBC_ORACLE")) << e.description().toStdString();
  }
}

TEST(OdbcTarget, ProviderWithoutOdbcRouteIsRefused) {
  for (const char *s :
       {"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=c:\\x.mdb;", "Provider=MSDASQL;Server=X;"}) {
    try {
      odbcTarget(s, {}, {}, defaults());
      ADD_FAILURE() << "no error for " << s;
    } catch (const AppError &e) {
      EXPECT_EQ(e.number(), ProviderNotFound) << s;
      EXPECT_EQ(e.description(), "Provider cannot be found. It may not be properly installed.");
    }
  }
}

TEST(OdbcTarget, DriverOrDsnStringsPassUnchanged) {
  const OdbcTarget t = odbcTarget("DRIVER={SQLite3};Database=/tmp/x.db;", {}, {}, defaults());
  EXPECT_EQ(t.connectionString, "DRIVER={SQLite3};Database=/tmp/x.db;");
  EXPECT_EQ(t.source, "Microsoft OLE DB Provider for ODBC Drivers");

  EXPECT_EQ(odbcTarget("Provider=MSDASQL;DSN=contab;UID=a;PWD=b", "u", "p", defaults()).connectionString,
            "Provider=MSDASQL;DSN=contab;UID=a;PWD=b");
  // A login given to open and missing from the string is added.
  EXPECT_EQ(odbcTarget("DSN=contab", "u", "p", defaults()).connectionString, "DSN=contab;UID=u;PWD=p;");
}

TEST(OdbcMapping, AdoTypeFromSqlType) {
  const std::pair<int, int> cases[] = {
      {SQL_INTEGER, 3},     {SQL_SMALLINT, 2},        {SQL_TINYINT, 17},         {SQL_BIGINT, 20},
      {SQL_BIT, 11},        {SQL_DECIMAL, 131},       {SQL_NUMERIC, 131},        {SQL_REAL, 4},
      {SQL_FLOAT, 5},       {SQL_DOUBLE, 5},          {SQL_TYPE_TIMESTAMP, 135}, {SQL_DATETIME, 135},
      {SQL_TYPE_DATE, 133}, {SQL_CHAR, 129},          {SQL_VARCHAR, 200},        {SQL_LONGVARCHAR, 201},
      {SQL_WCHAR, 130},     {SQL_WVARCHAR, 202},      {SQL_WLONGVARCHAR, 203},   {SQL_BINARY, 128},
      {SQL_VARBINARY, 204}, {SQL_LONGVARBINARY, 205},
  };
  for (const auto &[sql, expected] : cases)
    EXPECT_EQ(adoType(sql, QString()), expected) << "SQL type " << sql;
}

TEST(OdbcMapping, DeclaredTypeNameWinsOverTextReports) {
  // Typeless engines report declared numbers as text; the name tells.
  const std::tuple<int, const char *, int> cases[] = {
      {SQL_VARCHAR, "decimal(10,2)", 131}, {SQL_VARCHAR, "varchar(15)", 200},
      {SQL_VARCHAR, "nvarchar(20)", 202},  {SQL_VARCHAR, "varchar(max)", 201},
      {SQL_INTEGER, "int identity", 3},    {SQL_LONGVARCHAR, "TEXT", 201},
      {SQL_DECIMAL, "money", 6},           {SQL_VARCHAR, "", 200},
      {SQL_DECIMAL, "NUMBER", 131},        {SQL_TYPE_TIMESTAMP, "datetime", 135},
      {SQL_VARCHAR, "Char ( 3 )", 129},
  };
  for (const auto &[sql, name, expected] : cases)
    EXPECT_EQ(adoType(sql, name), expected) << name;
}

TEST(OdbcMapping, ErrorNumberFromSqlState) {
  const std::pair<const char *, long> cases[] = {
      {"23000", err::IntegrityViolation}, {"23505", err::IntegrityViolation},
      {"42S02", err::InvalidObject},      {"42000", err::CommandError},
      {"HY000", err::CommandError},       {"42S22", err::CommandError},
      {"08S01", err::Unspecified},        {"01000", 0},
  };
  for (const auto &[state, number] : cases)
    EXPECT_EQ(adoNumberForState(state), number) << state;
}

TEST(OdbcMapping, DriverPrefixesAreStripped) {
  const std::pair<const char *, const char *> cases[] = {
      {"[FreeTDS][SQL Server]Invalid object name 'X'.", "Invalid object name 'X'."},
      {"[unixODBC][Driver Manager]Can't open lib 'x' : file not found",
       "Can't open lib 'x' : file not found"},
      {"[SQLite]no such table: t (1)", "no such table: t (1)"},
      {"Violation of [rule] here", "Violation of [rule] here"},
      {"[unclosed text", "[unclosed text"},
  };
  for (const auto &[in, out] : cases)
    EXPECT_EQ(withoutBracketPrefixes(in), QString::fromUtf8(out)) << in;
}

TEST(OdbcMapping, IsolationLevels) {
  EXPECT_EQ(odbcIsolation(4096), SQL_TXN_READ_COMMITTED);
  EXPECT_EQ(odbcIsolation(256), SQL_TXN_READ_UNCOMMITTED);
  EXPECT_EQ(odbcIsolation(65536), SQL_TXN_REPEATABLE_READ);
  EXPECT_EQ(odbcIsolation(1048576), SQL_TXN_SERIALIZABLE);
  EXPECT_EQ(odbcIsolation(-1), 0);
  EXPECT_EQ(odbcIsolation(12345), -1);
}
