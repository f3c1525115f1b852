#pragma once
// Pure translations between the ADO view the program has of its databases and
// what an ODBC driver manager wants or reports: connection strings, type
// codes, SQL states, isolation levels and diagnostic texts. Nothing here
// touches a handle, so all of it can be checked without a server.
#include "platform/Proveedores.h"

#include <QString>

namespace zv::odbc {

// Where an ADO connection string leads: the string handed to
// SQLDriverConnect and the provider name that errors carry as their source.
struct OdbcTarget {
  QString connectionString;
  QString source;
};

constexpr long ProviderNotFound = 3706;

// Builds the ODBC connection string for an ADO one. Non-empty user and
// password arguments win over the string's own. Throws AppError when the
// provider has no ODBC route (ProviderNotFound) or the route lacks a driver.
OdbcTarget odbcTarget(const QString &adoString, const QString &user, const QString &password,
                      const ProviderConfig &config);

// A value as it may stand in an ODBC connection string: braced when it holds
// a character that would end or confuse the pair.
QString odbcValue(const QString &value);

// The ADO type code for a driver's column: the type's name decides when it is
// one the program knows (drivers of typeless engines report their columns as
// text but keep the declared name), the SQL type code otherwise.
int adoTypeForName(const QString &typeName); // 0 when the name is not known
int adoTypeForSql(int sqlType);
int adoType(int sqlType, const QString &typeName);

// Bytes ADO reports as the defined size of a fixed-size type; 0 for the types
// whose size is their declared length.
long fixedSize(int adoType);
bool isTextOrBinary(int adoType);
bool isLongType(int adoType);

// ADO error number for an ODBC SQL state.
long adoNumberForState(const QString &sqlState);

// Removes the leading "[vendor][driver]" groups from a driver's message so it
// reads as the server wrote it.
QString withoutBracketPrefixes(const QString &message);

// ODBC SQL_TXN_* value for an ADO isolation level: 0 leaves the driver's
// default, -1 marks a level ADO does not have.
long odbcIsolation(long adoLevel);

} // namespace zv::odbc
