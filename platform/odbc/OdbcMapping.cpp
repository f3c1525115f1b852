#include "platform/odbc/OdbcMapping.h"

#include "platform/Ado.h"

#include <QHash>
#include <QRegularExpression>

#include <sql.h>
#include <sqlext.h>

namespace zv::odbc {

namespace {

const QString kSqlServerSource = QStringLiteral("Microsoft OLE DB Provider for SQL Server");
const QString kOracleSource = QStringLiteral("OraOLEDB");
const QString kOdbcSource = QStringLiteral("Microsoft OLE DB Provider for ODBC Drivers");

constexpr int adGUID = 72;

const QStringList kServerKeys{QStringLiteral("Server"), QStringLiteral("Data Source"),
                              QStringLiteral("Address"), QStringLiteral("Addr"),
                              QStringLiteral("Network Address")};
const QStringList kDatabaseKeys{QStringLiteral("Database"), QStringLiteral("Initial Catalog")};
const QStringList kUserKeys{QStringLiteral("UId"), QStringLiteral("User Id"), QStringLiteral("User")};
const QStringList kPasswordKeys{QStringLiteral("Pwd"), QStringLiteral("Password")};

bool startsWithAny(const QString &text, const QStringList &prefixes) {
  for (const QString &p : prefixes)
    if (text.startsWith(p, Qt::CaseInsensitive))
      return true;
  return false;
}

bool allDigits(const QString &s) {
  if (s.isEmpty())
    return false;
  for (QChar c : s)
    if (!c.isDigit())
      return false;
  return true;
}

QString driverPair(const QString &name) {
  QString n = name;
  n.replace(QLatin1Char('}'), QStringLiteral("}}"));
  return QStringLiteral("DRIVER={") + n + QStringLiteral("};");
}

void appendPair(QString &out, const QString &key, const QString &value) {
  if (!value.isEmpty())
    out += key + QLatin1Char('=') + odbcValue(value) + QLatin1Char(';');
}

// SQL Server's own spellings of a server: "tcp:" prefixes, "." and "(local)"
// for this machine, "HOST\INSTANCE", and a port after "," (or ":"). A port
// makes the instance irrelevant, as it does for SQL Server's clients.
void appendServer(QString &out, QString server) {
  server = server.trimmed();
  if (server.startsWith(QStringLiteral("tcp:"), Qt::CaseInsensitive))
    server = server.mid(4).trimmed();
  QString port;
  for (QChar sep : {QLatin1Char(','), QLatin1Char(':')}) {
    const int at = server.lastIndexOf(sep);
    if (at > 0 && allDigits(server.mid(at + 1).trimmed())) {
      port = server.mid(at + 1).trimmed();
      server = server.left(at).trimmed();
      break;
    }
  }
  const int slash = server.indexOf(QLatin1Char('\\'));
  QString host = slash < 0 ? server : server.left(slash);
  QString instance = slash < 0 ? QString() : server.mid(slash);
  if (host == QLatin1String(".") || host.compare(QStringLiteral("(local)"), Qt::CaseInsensitive) == 0)
    host = QStringLiteral("localhost");
  if (!port.isEmpty())
    instance.clear();
  out += QStringLiteral("SERVER=") + odbcValue(host + instance) + QLatin1Char(';');
  appendPair(out, QStringLiteral("PORT"), port);
}

QString pick(const QString &argument, const ado::ConnectionString &cs, const QStringList &keys) {
  return argument.isEmpty() ? cs.value(keys) : argument;
}

} // namespace

QString odbcValue(const QString &value) {
  const bool needsBraces = value.contains(QLatin1Char(';')) || value.contains(QLatin1Char('{')) ||
                           value.contains(QLatin1Char('}')) ||
                           (!value.isEmpty() && (value.front().isSpace() || value.back().isSpace()));
  if (!needsBraces)
    return value;
  QString v = value;
  v.replace(QLatin1Char('}'), QStringLiteral("}}"));
  return QLatin1Char('{') + v + QLatin1Char('}');
}

OdbcTarget odbcTarget(const QString &adoString, const QString &user, const QString &password,
                      const ProviderConfig &config) {
  const ado::ConnectionString cs(adoString);
  const QString provider = cs.value(QStringLiteral("Provider")).trimmed();

  if (cs.has(QStringLiteral("Driver")) || cs.has(QStringLiteral("DSN"))) {
    QString out = adoString.trimmed();
    const bool hasUser = cs.has(QStringLiteral("UID")) || cs.has(QStringLiteral("User Id"));
    const bool hasPassword = cs.has(QStringLiteral("PWD")) || cs.has(QStringLiteral("Password"));
    if ((!user.isEmpty() && !hasUser) || (!password.isEmpty() && !hasPassword)) {
      if (!out.endsWith(QLatin1Char(';')))
        out += QLatin1Char(';');
      if (!hasUser)
        appendPair(out, QStringLiteral("UID"), user);
      if (!hasPassword)
        appendPair(out, QStringLiteral("PWD"), password);
    }
    return {out, kOdbcSource};
  }

  if (provider.isEmpty() || startsWithAny(provider, {QStringLiteral("SQLOLEDB"), QStringLiteral("SQLNCLI"),
                                                     QStringLiteral("MSOLEDBSQL")})) {
    const QString driver = config.odbcSqlServerDriver.trimmed().isEmpty()
                               ? QStringLiteral("FreeTDS")
                               : config.odbcSqlServerDriver.trimmed();
    QString out = driverPair(driver);
    appendServer(out, cs.value(kServerKeys));
    appendPair(out, QStringLiteral("DATABASE"), cs.value(kDatabaseKeys));
    appendPair(out, QStringLiteral("UID"), pick(user, cs, kUserKeys));
    appendPair(out, QStringLiteral("PWD"), pick(password, cs, kPasswordKeys));
    appendPair(out, QStringLiteral("TDS_Version"), config.odbcTdsVersion.trimmed());
    return {out, kSqlServerSource};
  }

  if (startsWithAny(provider, {QStringLiteral("OraOLEDB"), QStringLiteral("MSDAORA")})) {
    if (config.odbcOracleDriver.trimmed().isEmpty())
      throw AppError(ProviderNotFound,
                     QStringLiteral("No ODBC driver is configured for Oracle connections (ZV_ODBC_ORACLE)."),
                     kOracleSource);
    QString out = driverPair(config.odbcOracleDriver.trimmed());
    appendPair(out, QStringLiteral("DBQ"), cs.value(kServerKeys));
    appendPair(out, QStringLiteral("UID"), pick(user, cs, kUserKeys));
    appendPair(out, QStringLiteral("PWD"), pick(password, cs, kPasswordKeys));
    return {out, kOracleSource};
  }

  throw AppError(ProviderNotFound,
                 QStringLiteral("Provider cannot be found. It may not be properly installed."),
                 QStringLiteral("ADODB.Connection"));
}

int adoTypeForName(const QString &typeName) {
  static const QHash<QString, int> byName{
      {QStringLiteral("int"), ado::adInteger},
      {QStringLiteral("integer"), ado::adInteger},
      {QStringLiteral("smallint"), ado::adSmallInt},
      {QStringLiteral("tinyint"), ado::adUnsignedTinyInt},
      {QStringLiteral("bigint"), ado::adBigInt},
      {QStringLiteral("bit"), ado::adBoolean},
      {QStringLiteral("boolean"), ado::adBoolean},
      {QStringLiteral("decimal"), ado::adNumeric},
      {QStringLiteral("numeric"), ado::adNumeric},
      {QStringLiteral("money"), ado::adCurrency},
      {QStringLiteral("smallmoney"), ado::adCurrency},
      {QStringLiteral("float"), ado::adDouble},
      {QStringLiteral("double"), ado::adDouble},
      {QStringLiteral("double precision"), ado::adDouble},
      {QStringLiteral("real"), ado::adSingle},
      {QStringLiteral("datetime"), ado::adDBTimeStamp},
      {QStringLiteral("datetime2"), ado::adDBTimeStamp},
      {QStringLiteral("smalldatetime"), ado::adDBTimeStamp},
      {QStringLiteral("date"), ado::adDBDate},
      {QStringLiteral("time"), ado::adDBTime},
      {QStringLiteral("char"), ado::adChar},
      {QStringLiteral("varchar"), ado::adVarChar},
      {QStringLiteral("nchar"), ado::adWChar},
      {QStringLiteral("nvarchar"), ado::adVarWChar},
      {QStringLiteral("text"), ado::adLongVarChar},
      {QStringLiteral("ntext"), ado::adLongVarWChar},
      {QStringLiteral("image"), ado::adLongVarBinary},
      {QStringLiteral("binary"), ado::adBinary},
      {QStringLiteral("varbinary"), ado::adVarBinary},
      {QStringLiteral("uniqueidentifier"), adGUID},
  };
  static const QRegularExpression shape(QStringLiteral("^\\s*([a-z0-9 ]*?)\\s*(?:\\(\\s*([^)]*)\\))?\\s*$"));
  QString name = typeName.toLower();
  name.remove(QRegularExpression(QStringLiteral("\\s+identity\\b.*$")));
  const auto m = shape.match(name);
  if (!m.hasMatch())
    return 0;
  const int type = byName.value(m.captured(1), 0);
  if (m.captured(2).trimmed() == QLatin1String("max")) {
    switch (type) {
    case ado::adVarChar:
      return ado::adLongVarChar;
    case ado::adVarWChar:
      return ado::adLongVarWChar;
    case ado::adVarBinary:
      return ado::adLongVarBinary;
    default:
      break;
    }
  }
  return type;
}

int adoTypeForSql(int sqlType) {
  switch (sqlType) {
  case SQL_CHAR:
    return ado::adChar;
  case SQL_VARCHAR:
    return ado::adVarChar;
  case SQL_LONGVARCHAR:
    return ado::adLongVarChar;
  case SQL_WCHAR:
    return ado::adWChar;
  case SQL_WVARCHAR:
    return ado::adVarWChar;
  case SQL_WLONGVARCHAR:
    return ado::adLongVarWChar;
  case SQL_DECIMAL:
  case SQL_NUMERIC:
    return ado::adNumeric;
  case SQL_SMALLINT:
    return ado::adSmallInt;
  case SQL_INTEGER:
    return ado::adInteger;
  case SQL_REAL:
    return ado::adSingle;
  case SQL_FLOAT:
  case SQL_DOUBLE:
    return ado::adDouble;
  case SQL_BIT:
    return ado::adBoolean;
  case SQL_TINYINT:
    return ado::adUnsignedTinyInt;
  case SQL_BIGINT:
    return ado::adBigInt;
  case SQL_BINARY:
    return ado::adBinary;
  case SQL_VARBINARY:
    return ado::adVarBinary;
  case SQL_LONGVARBINARY:
    return ado::adLongVarBinary;
  case SQL_TYPE_DATE:
    return ado::adDBDate;
  case SQL_TYPE_TIME:
  case SQL_TIME:
    return ado::adDBTime;
  case SQL_DATETIME:
  case SQL_TIMESTAMP:
  case SQL_TYPE_TIMESTAMP:
    return ado::adDBTimeStamp;
  case SQL_GUID:
    return adGUID;
  default:
    return ado::adVarChar; // read as text
  }
}

int adoType(int sqlType, const QString &typeName) {
  const int byName = adoTypeForName(typeName);
  return byName ? byName : adoTypeForSql(sqlType);
}

long fixedSize(int adoType) {
  switch (adoType) {
  case ado::adTinyInt:
  case ado::adUnsignedTinyInt:
    return 1;
  case ado::adSmallInt:
  case ado::adUnsignedSmallInt:
  case ado::adBoolean:
    return 2;
  case ado::adInteger:
  case ado::adUnsignedInt:
  case ado::adSingle:
    return 4;
  case ado::adBigInt:
  case ado::adUnsignedBigInt:
  case ado::adDouble:
  case ado::adCurrency:
  case ado::adDate:
    return 8;
  case ado::adDBDate:
  case ado::adDBTime:
    return 6;
  case ado::adDecimal:
  case ado::adDBTimeStamp:
  case adGUID:
    return 16;
  case ado::adNumeric:
    return 19;
  default:
    return 0;
  }
}

bool isTextOrBinary(int adoType) {
  switch (adoType) {
  case ado::adBSTR:
  case ado::adChar:
  case ado::adVarChar:
  case ado::adLongVarChar:
  case ado::adWChar:
  case ado::adVarWChar:
  case ado::adLongVarWChar:
  case ado::adBinary:
  case ado::adVarBinary:
  case ado::adLongVarBinary:
    return true;
  default:
    return false;
  }
}

bool isLongType(int adoType) {
  return adoType == ado::adLongVarChar || adoType == ado::adLongVarWChar || adoType == ado::adLongVarBinary;
}

long adoNumberForState(const QString &sqlState) {
  if (sqlState.startsWith(QStringLiteral("01")))
    return 0; // a warning: the statement ran
  if (sqlState.startsWith(QStringLiteral("23")))
    return err::IntegrityViolation;
  if (sqlState == QLatin1String("42S02"))
    return err::InvalidObject;
  if (sqlState.startsWith(QStringLiteral("08")))
    return err::Unspecified; // the link to the server failed
  if (sqlState == QLatin1String("HYT00") || sqlState == QLatin1String("HYT01"))
    return -2147217871; // timeout expired
  return err::CommandError;
}

QString withoutBracketPrefixes(const QString &message) {
  int at = 0;
  while (at < message.size() && message.at(at) == QLatin1Char('[')) {
    const int close = message.indexOf(QLatin1Char(']'), at);
    if (close < 0)
      break;
    at = close + 1;
  }
  return message.mid(at).trimmed();
}

long odbcIsolation(long adoLevel) {
  switch (adoLevel) {
  case -1: // unspecified
  case 16: // chaos
    return 0;
  case 256:
    return SQL_TXN_READ_UNCOMMITTED;
  case 4096:
    return SQL_TXN_READ_COMMITTED;
  case 65536:
    return SQL_TXN_REPEATABLE_READ;
  case 1048576:
    return SQL_TXN_SERIALIZABLE;
  default:
    return -1;
  }
}

} // namespace zv::odbc
