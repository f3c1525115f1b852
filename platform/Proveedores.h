#pragma once
// The real database back ends and the factory that picks one when a
// connection is opened: server "SQLITE" (any case) is the embedded engine,
// anything else goes through ODBC.
#include "platform/Ado.h"

namespace zv {

struct ProviderConfig {
  QString dataFolder;                                   // where D.sqlite files live
  QString odbcSqlServerDriver = QStringLiteral("FreeTDS"); // ZV_ODBC_SQLSERVER
  QString odbcOracleDriver;                             // ZV_ODBC_ORACLE
  QString odbcTdsVersion;                               // ZV_ODBC_TDS_VERSION, optional
};

// ZV_DATOS, else "datos" in the program folder; the ODBC driver names from
// ZV_ODBC_SQLSERVER and ZV_ODBC_ORACLE.
ProviderConfig providerConfigFromEnvironment(const QString &programFolder);

// Connections that choose their back end in open().
ado::ConnectionFactory connectionFactory(const ProviderConfig &config);

std::unique_ptr<ado::Connection> createSqliteConnection(const ProviderConfig &config);
std::unique_ptr<ado::Connection> createOdbcConnection(const ProviderConfig &config);

} // namespace zv
