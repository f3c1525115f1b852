#pragma once
// A database connection through the ODBC driver manager (unixODBC): SQL
// Server through FreeTDS, Oracle through its driver, or any driver named in
// the connection string.
#include "platform/Ado.h"
#include "platform/Proveedores.h"

#include <sql.h>

namespace zv::odbc {

class ConexionOdbc : public ado::Connection {
public:
  explicit ConexionOdbc(const ProviderConfig &config);
  ~ConexionOdbc() override;
  ConexionOdbc(const ConexionOdbc &) = delete;
  ConexionOdbc &operator=(const ConexionOdbc &) = delete;

  void open(const QString &connectionString, const QString &user = {}, const QString &password = {},
            long options = -1) override;
  void close() override;
  int state() const override;
  QString connectionString() const override;

  void setDefaultDatabase(const QString &name) override;
  QString defaultDatabase() const override;
  void setCommandTimeout(int seconds) override;
  int commandTimeout() const override;
  void setIsolationLevel(long level) override;
  long isolationLevel() const override;
  void setCursorLocation(int location) override;
  int cursorLocation() const override;

  std::unique_ptr<ado::ResultSet> execute(const QString &text, long *recordsAffected = nullptr,
                                          long options = -1) override;

  int beginTrans() override;
  void commitTrans() override;
  void rollbackTrans() override;

  ado::ErrorList &errors() override;

  std::unique_ptr<ado::ResultSet> openSchema(int schema, const QVariantList &restrictions = {}) override;

private:
  class Statement;

  void requireOpen() const;
  void releaseHandles();
  // Copies the diagnostics of a handle into the error list; true when at
  // least one of them is more than a warning.
  bool collect(SQLSMALLINT handleType, SQLHANDLE handle, long forcedNumber = 0);
  [[noreturn]] void throwFirstError(long fallbackNumber, const QString &fallbackText);
  void checkDbc(SQLRETURN rc, const QString &what);
  void applyIsolation();
  void setAutocommit(bool on);
  void endTransaction(SQLSMALLINT completion);
  // Reads the rows of the statement's current result; false when a fetch
  // failed (its diagnostics are in the error list).
  bool fetchAll(Statement &st, ado::ResultSet &out);
  bool hasCatalogs();
  bool hasSchemas();

  ProviderConfig config_;
  SQLHENV env_ = SQL_NULL_HENV;
  SQLHDBC dbc_ = SQL_NULL_HDBC;
  bool open_ = false;
  QString adoString_;
  QString source_;
  QString defaultDatabase_;
  int commandTimeout_ = 30;
  long isolationLevel_ = ado::adIsolationReadCommitted;
  bool isolationChosen_ = false;
  int cursorLocation_ = ado::adUseServer;
  int transactionLevel_ = 0;
  ado::ErrorList errors_;
};

} // namespace zv::odbc
