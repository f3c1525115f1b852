#include "platform/odbc/ConexionOdbc.h"

#include "platform/odbc/OdbcMapping.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <sqlext.h>
#include <sqlucode.h>

#include <algorithm>
#include <vector>

namespace zv::odbc {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "the driver manager must use UTF-16 wide characters");

namespace {

const QString kAdoSource = QStringLiteral("ADODB.Connection");
constexpr long NoTransaction = -2147168242;
constexpr long BadArguments = 3001;
constexpr long NotCapable = 3251;
constexpr long adExecuteNoRecords = 128;
// A driver that keeps failing on SQLMoreResults without moving on would keep
// the batch loop going for ever.
constexpr int kMaxConsecutiveErrors = 10000;
constexpr SQLLEN kChunkUnits = 4096;

[[noreturn]] void badArguments() {
  throw AppError(BadArguments,
                 QStringLiteral("Arguments are of the wrong type, are out of acceptable range, or are in "
                                "conflict with one another."),
                 kAdoSource);
}

SQLWCHAR *wide(const QString &s) { return reinterpret_cast<SQLWCHAR *>(const_cast<ushort *>(s.utf16())); }

// Null for an empty text: the catalogue functions read a null argument as
// "any".
SQLWCHAR *wideOrNull(const QString &s) { return s.isEmpty() ? nullptr : wide(s); }
SQLSMALLINT lengthOrZero(const QString &s) { return s.isEmpty() ? 0 : SQLSMALLINT(SQL_NTS); }

QString fromWide(const SQLWCHAR *s, qsizetype n) {
  return QString::fromUtf16(reinterpret_cast<const char16_t *>(s), n);
}

QString fromWideTerminated(const SQLWCHAR *s, qsizetype capacity) {
  qsizetype n = 0;
  while (n < capacity && s[n])
    ++n;
  return fromWide(s, n);
}

bool isIntegerType(int type) {
  switch (type) {
  case ado::adSmallInt:
  case ado::adInteger:
  case ado::adTinyInt:
  case ado::adUnsignedTinyInt:
  case ado::adUnsignedSmallInt:
  case ado::adUnsignedInt:
  case ado::adBigInt:
  case ado::adUnsignedBigInt:
  case ado::adBoolean:
    return true;
  default:
    return false;
  }
}

bool isBinaryType(int type) {
  return type == ado::adBinary || type == ado::adVarBinary || type == ado::adLongVarBinary;
}

// ODBC's character form of a timestamp: "yyyy-mm-dd hh:mm:ss[.f...]"; a bare
// date stands for its midnight.
QDateTime parseTimestamp(const QString &text) {
  const QString s = text.trimmed();
  const QDate date = QDate::fromString(s.left(10), QStringLiteral("yyyy-MM-dd"));
  if (!date.isValid())
    return {};
  if (s.size() == 10)
    return QDateTime(date, QTime(0, 0));
  if (s.size() < 19 || (s.at(10) != QLatin1Char(' ') && s.at(10) != QLatin1Char('T')))
    return {};
  QTime time = QTime::fromString(s.mid(11, 8), QStringLiteral("HH:mm:ss"));
  if (!time.isValid())
    return {};
  if (s.size() > 19) {
    if (s.at(19) != QLatin1Char('.'))
      return {};
    const QString fraction = (s.mid(20) + QStringLiteral("000")).left(3);
    bool ok = false;
    const int ms = fraction.toInt(&ok);
    if (!ok)
      return {};
    time = time.addMSecs(ms);
  }
  return QDateTime(date, time);
}

// Text as the driver gives it, turned into the value type the column's ADO
// type promises; text that does not read as that type (typeless engines let
// any value into any column) stays text.
QVariant typedValue(const QString &text, int type) {
  bool ok = false;
  if (isIntegerType(type)) {
    const qint64 v = text.trimmed().toLongLong(&ok);
    return ok ? QVariant(v) : QVariant(text);
  }
  if (type == ado::adNumeric || type == ado::adDecimal || type == ado::adCurrency) {
    const double v = text.trimmed().toDouble(&ok);
    return ok ? QVariant(v) : QVariant(text);
  }
  if (type == ado::adDBTimeStamp || type == ado::adDate) {
    const QDateTime v = parseTimestamp(text);
    return v.isValid() ? QVariant(v) : QVariant(text);
  }
  if (type == ado::adDBDate) {
    const QDateTime v = parseTimestamp(text.trimmed().left(10));
    return v.isValid() ? QVariant(v.date()) : QVariant(text);
  }
  if (type == ado::adDBTime) {
    const QString s = text.trimmed();
    QTime v = QTime::fromString(s.left(8), QStringLiteral("HH:mm:ss"));
    return v.isValid() ? QVariant(v) : QVariant(text);
  }
  return text;
}

ado::Column schemaColumn(const QString &name, int type, long size) {
  ado::Column c;
  c.name = name;
  c.type = type;
  c.definedSize = size;
  return c;
}

QVariant textOrNull(const QVariant &v) {
  const QString s = v.toString();
  return s.isEmpty() ? QVariant() : QVariant(s);
}

bool restrictionMatches(const QString &restriction, const QVariant &value) {
  return restriction.isEmpty() || value.toString().isEmpty() ||
         restriction.compare(value.toString(), Qt::CaseInsensitive) == 0;
}

} // namespace

class ConexionOdbc::Statement {
public:
  explicit Statement(SQLHDBC dbc) { rc_ = SQLAllocHandle(SQL_HANDLE_STMT, dbc, &h); }
  ~Statement() {
    if (h != SQL_NULL_HSTMT)
      SQLFreeHandle(SQL_HANDLE_STMT, h);
  }
  Statement(const Statement &) = delete;
  Statement &operator=(const Statement &) = delete;
  bool allocated() const { return SQL_SUCCEEDED(rc_) && h != SQL_NULL_HSTMT; }

  SQLHSTMT h = SQL_NULL_HSTMT;

private:
  SQLRETURN rc_ = SQL_ERROR;
};

ConexionOdbc::ConexionOdbc(const ProviderConfig &config)
    : config_(config), source_(QStringLiteral("Microsoft OLE DB Provider for ODBC Drivers")) {}

ConexionOdbc::~ConexionOdbc() {
  if (open_ && transactionLevel_ > 0)
    SQLEndTran(SQL_HANDLE_DBC, dbc_, SQL_ROLLBACK);
  releaseHandles();
}

void ConexionOdbc::releaseHandles() {
  if (dbc_ != SQL_NULL_HDBC) {
    if (open_)
      SQLDisconnect(dbc_);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
    dbc_ = SQL_NULL_HDBC;
  }
  if (env_ != SQL_NULL_HENV) {
    SQLFreeHandle(SQL_HANDLE_ENV, env_);
    env_ = SQL_NULL_HENV;
  }
  open_ = false;
  transactionLevel_ = 0;
}

void ConexionOdbc::requireOpen() const {
  if (!open_)
    throw AppError(err::ConnectionClosedOrInvalid,
                   QStringLiteral("The connection cannot be used to perform this operation. It is either "
                                  "closed or invalid in this context."),
                   kAdoSource);
}

bool ConexionOdbc::collect(SQLSMALLINT handleType, SQLHANDLE handle, long forcedNumber) {
  bool failure = false;
  for (SQLSMALLINT record = 1;; ++record) {
    SQLWCHAR state[6] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    std::vector<SQLWCHAR> message(1024);
    SQLRETURN rc = SQLGetDiagRecW(handleType, handle, record, state, &native, message.data(),
                                  SQLSMALLINT(message.size()), &length);
    if (rc == SQL_SUCCESS_WITH_INFO && length >= SQLSMALLINT(message.size())) {
      message.resize(size_t(length) + 1);
      rc = SQLGetDiagRecW(handleType, handle, record, state, &native, message.data(),
                          SQLSMALLINT(message.size()), &length);
    }
    if (!SQL_SUCCEEDED(rc))
      break;
    ado::ErrorEntry e;
    e.sqlState = fromWideTerminated(state, 5);
    e.number = forcedNumber ? forcedNumber : adoNumberForState(e.sqlState);
    e.description = withoutBracketPrefixes(fromWideTerminated(message.data(), qsizetype(message.size())));
    e.nativeError = long(native);
    e.source = source_;
    if (e.number != 0)
      failure = true;
    errors_.add(e);
  }
  return failure;
}

void ConexionOdbc::throwFirstError(long fallbackNumber, const QString &fallbackText) {
  for (const ado::ErrorEntry &e : errors_.all())
    if (e.number != 0)
      throw AppError(e.number, e.description, source_);
  throw AppError(fallbackNumber, fallbackText, source_);
}

void ConexionOdbc::checkDbc(SQLRETURN rc, const QString &what) {
  if (SQL_SUCCEEDED(rc))
    return;
  errors_.clear();
  collect(SQL_HANDLE_DBC, dbc_);
  throwFirstError(err::Unspecified, what);
}

void ConexionOdbc::open(const QString &connectionString, const QString &user, const QString &password,
                        long /*options*/) {
  if (open_)
    throw AppError(err::ObjectOpen, QStringLiteral("Operation is not allowed when the object is open."),
                   kAdoSource);
  errors_.clear();
  adoString_ = connectionString;
  const OdbcTarget target = odbcTarget(connectionString, user, password, config_);
  source_ = target.source;

  if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_))) {
    env_ = SQL_NULL_HENV;
    throw AppError(err::Unspecified, QStringLiteral("The ODBC driver manager could not be started."),
                   source_);
  }
  SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_))) {
    dbc_ = SQL_NULL_HDBC;
    collect(SQL_HANDLE_ENV, env_, err::Unspecified);
    releaseHandles();
    throwFirstError(err::Unspecified, QStringLiteral("The ODBC driver manager could not be started."));
  }
  // The string's own connection time-out, else ADO's default; a driver that
  // cannot limit the login still tries it.
  bool timeoutGiven = false;
  const int loginTimeout =
      ado::ConnectionString(connectionString)
          .value(QStringList{QStringLiteral("Connect Timeout"), QStringLiteral("Connection Timeout")})
          .toInt(&timeoutGiven);
  const SQLULEN seconds = timeoutGiven && loginTimeout >= 0 ? SQLULEN(loginTimeout) : SQLULEN(15);
  SQLSetConnectAttrW(dbc_, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(seconds), 0);

  QString odbcString = target.connectionString;
  const SQLRETURN rc =
      SQLDriverConnectW(dbc_, nullptr, wide(odbcString), SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
  if (!SQL_SUCCEEDED(rc)) {
    collect(SQL_HANDLE_DBC, dbc_, err::Unspecified);
    releaseHandles();
    throwFirstError(err::Unspecified, QStringLiteral("Unspecified error"));
  }
  open_ = true;
  transactionLevel_ = 0;
  try {
    if (isolationChosen_)
      applyIsolation();
    if (!defaultDatabase_.isEmpty())
      setDefaultDatabase(defaultDatabase_);
  } catch (...) {
    releaseHandles();
    throw;
  }
}

void ConexionOdbc::close() {
  if (!open_)
    throw AppError(err::ObjectClosed, QStringLiteral("Operation is not allowed when the object is closed."),
                   kAdoSource);
  // Work left uncommitted is undone, as the server would on a lost session.
  if (transactionLevel_ > 0)
    SQLEndTran(SQL_HANDLE_DBC, dbc_, SQL_ROLLBACK);
  releaseHandles();
  defaultDatabase_.clear();
}

int ConexionOdbc::state() const { return open_ ? ado::adStateOpen : ado::adStateClosed; }

QString ConexionOdbc::connectionString() const { return adoString_; }

void ConexionOdbc::setDefaultDatabase(const QString &name) {
  if (!open_) {
    defaultDatabase_ = name; // applied when the connection opens
    return;
  }
  QString value = name;
  checkDbc(SQLSetConnectAttrW(dbc_, SQL_ATTR_CURRENT_CATALOG, wide(value), SQL_NTS),
           QStringLiteral("The default database could not be changed."));
  defaultDatabase_ = name;
}

QString ConexionOdbc::defaultDatabase() const {
  if (open_) {
    SQLWCHAR buffer[512] = {};
    SQLINTEGER length = 0;
    const SQLRETURN rc = SQLGetConnectAttrW(dbc_, SQL_ATTR_CURRENT_CATALOG, buffer,
                                            SQLINTEGER(sizeof(buffer) - sizeof(SQLWCHAR)), &length);
    if (SQL_SUCCEEDED(rc)) {
      const QString current = fromWideTerminated(buffer, 511);
      if (!current.isEmpty())
        return current;
    }
  }
  return defaultDatabase_;
}

void ConexionOdbc::setCommandTimeout(int seconds) {
  if (seconds < 0)
    badArguments();
  commandTimeout_ = seconds;
}

int ConexionOdbc::commandTimeout() const { return commandTimeout_; }

void ConexionOdbc::setIsolationLevel(long level) {
  if (odbcIsolation(level) < 0)
    badArguments();
  isolationLevel_ = level;
  isolationChosen_ = true;
  // Inside a transaction the driver cannot change it; the next one gets it.
  if (open_ && transactionLevel_ == 0)
    applyIsolation();
}

long ConexionOdbc::isolationLevel() const { return isolationLevel_; }

void ConexionOdbc::applyIsolation() {
  const long level = odbcIsolation(isolationLevel_);
  if (level <= 0)
    return;
  checkDbc(SQLSetConnectAttrW(dbc_, SQL_ATTR_TXN_ISOLATION, reinterpret_cast<SQLPOINTER>(SQLULEN(level)), 0),
           QStringLiteral("The isolation level could not be set."));
}

void ConexionOdbc::setCursorLocation(int location) {
  if (location < 1 || location > ado::adUseClient)
    badArguments();
  cursorLocation_ = location;
}

int ConexionOdbc::cursorLocation() const { return cursorLocation_; }

ado::ErrorList &ConexionOdbc::errors() { return errors_; }

void ConexionOdbc::setAutocommit(bool on) {
  const SQLULEN value = on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF;
  checkDbc(
      SQLSetConnectAttrW(dbc_, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(value), SQL_IS_UINTEGER),
      QStringLiteral("The transaction mode could not be changed."));
}

int ConexionOdbc::beginTrans() {
  requireOpen();
  if (transactionLevel_ == 0) {
    if (isolationChosen_)
      applyIsolation();
    setAutocommit(false);
  }
  return ++transactionLevel_;
}

void ConexionOdbc::commitTrans() {
  requireOpen();
  if (transactionLevel_ == 0)
    throw AppError(NoTransaction, QStringLiteral("No transaction is active."), source_);
  if (--transactionLevel_ > 0)
    return;
  endTransaction(SQL_COMMIT);
}

void ConexionOdbc::rollbackTrans() {
  requireOpen();
  if (transactionLevel_ == 0)
    throw AppError(NoTransaction, QStringLiteral("No transaction is active."), source_);
  transactionLevel_ = 0;
  endTransaction(SQL_ROLLBACK);
}

void ConexionOdbc::endTransaction(SQLSMALLINT completion) {
  const SQLRETURN rc = SQLEndTran(SQL_HANDLE_DBC, dbc_, completion);
  if (!SQL_SUCCEEDED(rc)) {
    errors_.clear();
    collect(SQL_HANDLE_DBC, dbc_);
    // A commit that failed leaves nothing half done: undo the rest, so that
    // going back to autocommit cannot commit it after all.
    if (completion == SQL_COMMIT)
      SQLEndTran(SQL_HANDLE_DBC, dbc_, SQL_ROLLBACK);
    SQLSetConnectAttrW(dbc_, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQLULEN(SQL_AUTOCOMMIT_ON)),
                       SQL_IS_UINTEGER);
    throwFirstError(err::Unspecified, QStringLiteral("The transaction could not be completed."));
  }
  setAutocommit(true);
}

bool ConexionOdbc::fetchAll(Statement &st, ado::ResultSet &out) {
  SQLSMALLINT count = 0;
  if (!SQL_SUCCEEDED(SQLNumResultCols(st.h, &count))) {
    collect(SQL_HANDLE_STMT, st.h);
    return false;
  }
  out.columns.clear();
  out.rows.clear();
  for (SQLUSMALLINT c = 1; c <= SQLUSMALLINT(count); ++c) {
    std::vector<SQLWCHAR> name(256);
    SQLSMALLINT nameLength = 0, sqlType = 0, digits = 0, nullable = 0;
    SQLULEN size = 0;
    SQLRETURN rc = SQLDescribeColW(st.h, c, name.data(), SQLSMALLINT(name.size()), &nameLength, &sqlType,
                                   &size, &digits, &nullable);
    if (rc == SQL_SUCCESS_WITH_INFO && nameLength >= SQLSMALLINT(name.size())) {
      name.resize(size_t(nameLength) + 1);
      rc = SQLDescribeColW(st.h, c, name.data(), SQLSMALLINT(name.size()), &nameLength, &sqlType, &size,
                           &digits, &nullable);
    }
    if (!SQL_SUCCEEDED(rc)) {
      collect(SQL_HANDLE_STMT, st.h);
      return false;
    }
    // The type's name, the base table and the identity flag are extras that
    // not every driver gives; without them the SQL type alone decides.
    SQLWCHAR text[256] = {};
    SQLSMALLINT textLength = 0;
    QString typeName, baseTable;
    if (SQL_SUCCEEDED(SQLColAttributeW(st.h, c, SQL_DESC_TYPE_NAME, text, SQLSMALLINT(sizeof(text) - 2),
                                       &textLength, nullptr)))
      typeName = fromWideTerminated(text, 255);
    text[0] = 0;
    if (SQL_SUCCEEDED(SQLColAttributeW(st.h, c, SQL_DESC_BASE_TABLE_NAME, text, SQLSMALLINT(sizeof(text) - 2),
                                       &textLength, nullptr)))
      baseTable = fromWideTerminated(text, 255);
    SQLLEN autoUnique = SQL_FALSE;
    if (!SQL_SUCCEEDED(
            SQLColAttributeW(st.h, c, SQL_DESC_AUTO_UNIQUE_VALUE, nullptr, 0, nullptr, &autoUnique)))
      autoUnique = SQL_FALSE;

    ado::Column col;
    col.name = fromWide(name.data(), std::min<qsizetype>(nameLength, qsizetype(name.size()) - 1));
    col.type = adoType(sqlType, typeName);
    const long fixed = fixedSize(col.type);
    col.definedSize = fixed ? fixed : long(size);
    col.baseTable = baseTable;
    col.autoIncrement = autoUnique == SQL_TRUE;
    out.columns.push_back(col);
  }

  std::vector<SQLWCHAR> textBuffer(kChunkUnits);
  std::vector<char> binaryBuffer(kChunkUnits);
  for (;;) {
    SQLRETURN rc = SQLFetch(st.h);
    if (rc == SQL_NO_DATA)
      return true;
    if (rc == SQL_SUCCESS_WITH_INFO) {
      if (collect(SQL_HANDLE_STMT, st.h))
        return false;
    } else if (rc != SQL_SUCCESS) {
      collect(SQL_HANDLE_STMT, st.h);
      return false;
    }
    QVector<QVariant> row(count);
    for (SQLUSMALLINT c = 1; c <= SQLUSMALLINT(count); ++c) {
      const int type = out.columns[c - 1].type;
      QVariant &value = row[c - 1];
      if (type == ado::adDouble || type == ado::adSingle) {
        double v = 0;
        SQLLEN indicator = 0;
        rc = SQLGetData(st.h, c, SQL_C_DOUBLE, &v, sizeof v, &indicator);
        if (rc == SQL_ERROR || rc == SQL_INVALID_HANDLE) {
          collect(SQL_HANDLE_STMT, st.h);
          return false;
        }
        if (rc != SQL_NO_DATA && indicator != SQL_NULL_DATA)
          value = v;
        continue;
      }
      // Long values come in parts: each call fills the buffer (text parts end
      // with a terminator) until the driver says the value is complete.
      const bool binary = isBinaryType(type);
      const SQLSMALLINT cType = binary ? SQL_C_BINARY : SQL_C_WCHAR;
      char *buffer = binary ? binaryBuffer.data() : reinterpret_cast<char *>(textBuffer.data());
      const SQLLEN bufferBytes =
          binary ? SQLLEN(binaryBuffer.size()) : SQLLEN(textBuffer.size() * sizeof(SQLWCHAR));
      const SQLLEN room = binary ? bufferBytes : bufferBytes - SQLLEN(sizeof(SQLWCHAR));
      QByteArray bytes;
      bool isNull = false;
      for (;;) {
        SQLLEN indicator = 0;
        rc = SQLGetData(st.h, c, cType, buffer, bufferBytes, &indicator);
        if (rc == SQL_NO_DATA)
          break;
        if (rc == SQL_ERROR || rc == SQL_INVALID_HANDLE) {
          collect(SQL_HANDLE_STMT, st.h);
          return false;
        }
        if (indicator == SQL_NULL_DATA) {
          isNull = true;
          break;
        }
        SQLLEN part = (indicator == SQL_NO_TOTAL || indicator > room) ? room : indicator;
        bytes.append(buffer, qsizetype(part));
        if (rc == SQL_SUCCESS)
          break;
      }
      if (isNull)
        continue;
      if (binary) {
        value = bytes;
      } else {
        const QString textValue = fromWide(reinterpret_cast<const SQLWCHAR *>(bytes.constData()),
                                           bytes.size() / qsizetype(sizeof(SQLWCHAR)));
        value = typedValue(textValue, type);
      }
    }
    out.rows.push_back(row);
  }
}

std::unique_ptr<ado::ResultSet> ConexionOdbc::execute(const QString &text, long *recordsAffected,
                                                      long options) {
  requireOpen();
  errors_.clear();
  if (recordsAffected)
    *recordsAffected = -1;
  Statement st(dbc_);
  if (!st.allocated()) {
    collect(SQL_HANDLE_DBC, dbc_);
    throwFirstError(err::Unspecified, QStringLiteral("The statement could not be prepared."));
  }
  // A driver that cannot limit a statement's time still runs the statement.
  if (commandTimeout_ > 0)
    SQLSetStmtAttrW(st.h, SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(SQLULEN(commandTimeout_)),
                    SQL_IS_UINTEGER);

  const bool wantRows = options == -1 || !(options & adExecuteNoRecords);
  std::unique_ptr<ado::ResultSet> first;
  bool failed = false;
  long affected = -1;
  int consecutiveErrors = 0;
  QString sql = text;
  SQLRETURN rc = SQLExecDirectW(st.h, wide(sql), SQL_NTS);
  // Every result of the batch is drained, so that the errors of its later
  // statements reach the list too.
  for (bool atStart = true;; atStart = false) {
    if (rc == SQL_SUCCESS_WITH_INFO || rc == SQL_ERROR)
      failed = collect(SQL_HANDLE_STMT, st.h) || failed;
    if (rc == SQL_NO_DATA && !atStart)
      break;
    if (rc == SQL_ERROR) {
      failed = true;
      if (++consecutiveErrors > kMaxConsecutiveErrors)
        break;
    } else if (rc == SQL_NO_DATA) {
      affected = std::max(affected, 0L); // a searched change that met no row
    } else if (rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO) {
      consecutiveErrors = 0;
      SQLSMALLINT columns = 0;
      if (!SQL_SUCCEEDED(SQLNumResultCols(st.h, &columns)))
        columns = 0;
      if (columns > 0) {
        if (!first && wantRows) {
          auto result = std::make_unique<ado::ResultSet>();
          if (!fetchAll(st, *result))
            failed = true;
          first = std::move(result);
        }
      } else {
        SQLLEN rows = -1;
        if (SQL_SUCCEEDED(SQLRowCount(st.h, &rows)) && rows >= 0)
          affected = std::max(affected, 0L) + long(rows);
      }
    } else {
      failed = true;
      errors_.add({QStringLiteral("HY000"), err::Unspecified,
                   QStringLiteral("The ODBC driver gave an unexpected answer (%1).").arg(rc), 0, source_});
      break;
    }
    rc = SQLMoreResults(st.h);
  }
  if (recordsAffected)
    *recordsAffected = affected;
  if (failed)
    throwFirstError(err::CommandError, QStringLiteral("The statement failed."));
  return first;
}

bool ConexionOdbc::hasCatalogs() {
  SQLWCHAR answer[8] = {};
  SQLSMALLINT length = 0;
  if (!SQL_SUCCEEDED(SQLGetInfoW(dbc_, SQL_CATALOG_NAME, answer, SQLSMALLINT(sizeof(answer)), &length)))
    return true;
  return fromWideTerminated(answer, 7) != QLatin1String("N");
}

bool ConexionOdbc::hasSchemas() {
  SQLUINTEGER usage = 0;
  if (!SQL_SUCCEEDED(SQLGetInfoW(dbc_, SQL_SCHEMA_USAGE, &usage, sizeof(usage), nullptr)))
    return true;
  return usage != 0;
}

std::unique_ptr<ado::ResultSet> ConexionOdbc::openSchema(int schema, const QVariantList &restrictions) {
  requireOpen();
  errors_.clear();
  if (schema != ado::adSchemaTables && schema != ado::adSchemaColumns)
    throw AppError(NotCapable,
                   QStringLiteral("Object or provider is not capable of performing requested operation."),
                   kAdoSource);
  auto restriction = [&](int i) {
    return i < restrictions.size() && !restrictions.at(i).isNull() ? restrictions.at(i).toString().trimmed()
                                                                   : QString();
  };
  // Drivers without catalogues (or schemas) find nothing when given one.
  const QString catalog = hasCatalogs() ? restriction(0) : QString();
  const QString owner = hasSchemas() ? restriction(1) : QString();
  const QString table = restriction(2);
  const QString fourth = restriction(3);

  Statement st(dbc_);
  if (!st.allocated()) {
    collect(SQL_HANDLE_DBC, dbc_);
    throwFirstError(err::Unspecified, QStringLiteral("The catalogue could not be read."));
  }
  // The names go to the driver as search patterns; the rows are matched
  // exactly afterwards, because "_" is a wildcard there.
  SQLRETURN rc;
  if (schema == ado::adSchemaTables)
    rc = SQLTablesW(st.h, wideOrNull(catalog), lengthOrZero(catalog), wideOrNull(owner), lengthOrZero(owner),
                    wideOrNull(table), lengthOrZero(table), wideOrNull(fourth), lengthOrZero(fourth));
  else
    rc = SQLColumnsW(st.h, wideOrNull(catalog), lengthOrZero(catalog), wideOrNull(owner), lengthOrZero(owner),
                     wideOrNull(table), lengthOrZero(table), wideOrNull(fourth), lengthOrZero(fourth));
  if (rc == SQL_SUCCESS_WITH_INFO || rc == SQL_ERROR)
    collect(SQL_HANDLE_STMT, st.h);
  if (!SQL_SUCCEEDED(rc))
    throwFirstError(err::Unspecified, QStringLiteral("The catalogue could not be read."));
  ado::ResultSet raw;
  if (!fetchAll(st, raw))
    throwFirstError(err::Unspecified, QStringLiteral("The catalogue could not be read."));

  auto out = std::make_unique<ado::ResultSet>();
  auto at = [](const QVector<QVariant> &row, int i) { return i < row.size() ? row.at(i) : QVariant(); };
  if (schema == ado::adSchemaTables) {
    out->columns = {schemaColumn(QStringLiteral("TABLE_CATALOG"), ado::adVarWChar, 128),
                    schemaColumn(QStringLiteral("TABLE_SCHEMA"), ado::adVarWChar, 128),
                    schemaColumn(QStringLiteral("TABLE_NAME"), ado::adVarWChar, 128),
                    schemaColumn(QStringLiteral("TABLE_TYPE"), ado::adVarWChar, 128)};
    for (const auto &row : raw.rows) {
      if (!restrictionMatches(catalog, at(row, 0)) || !restrictionMatches(owner, at(row, 1)))
        continue;
      if ((!table.isEmpty() && table.compare(at(row, 2).toString(), Qt::CaseInsensitive) != 0) ||
          (!fourth.isEmpty() && fourth.compare(at(row, 3).toString(), Qt::CaseInsensitive) != 0))
        continue;
      out->rows.push_back(
          {textOrNull(at(row, 0)), textOrNull(at(row, 1)), at(row, 2).toString(), at(row, 3).toString()});
    }
    return out;
  }

  out->columns = {schemaColumn(QStringLiteral("TABLE_CATALOG"), ado::adVarWChar, 128),
                  schemaColumn(QStringLiteral("TABLE_SCHEMA"), ado::adVarWChar, 128),
                  schemaColumn(QStringLiteral("TABLE_NAME"), ado::adVarWChar, 128),
                  schemaColumn(QStringLiteral("COLUMN_NAME"), ado::adVarWChar, 128),
                  schemaColumn(QStringLiteral("ORDINAL_POSITION"), ado::adUnsignedInt, 4),
                  schemaColumn(QStringLiteral("DATA_TYPE"), ado::adUnsignedSmallInt, 2),
                  schemaColumn(QStringLiteral("IS_NULLABLE"), ado::adBoolean, 2),
                  schemaColumn(QStringLiteral("CHARACTER_MAXIMUM_LENGTH"), ado::adUnsignedInt, 4)};
  QString previousTable;
  qint64 sequence = 0;
  for (const auto &row : raw.rows) {
    if (!restrictionMatches(catalog, at(row, 0)) || !restrictionMatches(owner, at(row, 1)))
      continue;
    const QString tableName = at(row, 2).toString();
    if ((!table.isEmpty() && table.compare(tableName, Qt::CaseInsensitive) != 0) ||
        (!fourth.isEmpty() && fourth.compare(at(row, 3).toString(), Qt::CaseInsensitive) != 0))
      continue;
    sequence = tableName.compare(previousTable, Qt::CaseInsensitive) == 0 ? sequence + 1 : 1;
    previousTable = tableName;
    const int type = adoType(int(at(row, 4).toLongLong()), at(row, 5).toString());
    QVariant maxLength;
    if (isTextOrBinary(type)) {
      const qint64 size = at(row, 6).toLongLong();
      maxLength = size > 0 ? size : (isLongType(type) ? qint64(2147483647) : qint64(0));
    }
    const QVariant nullableFlag = at(row, 10);
    const bool nullable = nullableFlag.isNull()
                              ? at(row, 17).toString().compare(QStringLiteral("NO"), Qt::CaseInsensitive) != 0
                              : nullableFlag.toLongLong() != SQL_NO_NULLS;
    // ODBC 2 drivers give no ordinal position: their rows come in order.
    const QVariant ordinal = at(row, 16).isNull() ? QVariant(sequence) : QVariant(at(row, 16).toLongLong());
    out->rows.push_back({textOrNull(at(row, 0)), textOrNull(at(row, 1)), tableName, at(row, 3).toString(),
                         ordinal, qint64(type), nullable, maxLength});
  }
  std::stable_sort(out->rows.begin(), out->rows.end(),
                   [](const QVector<QVariant> &a, const QVector<QVariant> &b) {
                     for (int i = 0; i < 3; ++i) {
                       const int c = a.at(i).toString().compare(b.at(i).toString(), Qt::CaseInsensitive);
                       if (c != 0)
                         return c < 0;
                     }
                     return a.at(4).toLongLong() < b.at(4).toLongLong();
                   });
  return out;
}

} // namespace zv::odbc

namespace zv {

std::unique_ptr<ado::Connection> createOdbcConnection(const ProviderConfig &config) {
  return std::make_unique<odbc::ConexionOdbc>(config);
}

} // namespace zv
