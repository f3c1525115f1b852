#pragma once
// The embedded back end: a connection to "<data folder>/<database>.sqlite"
// that takes the SQL Server dialect the program sends and behaves as the
// server does towards it (batches, transaction count, XACT_ABORT, trigger
// switching, error numbers and texts).
//
// Values come back as: NULL -> null QVariant, integers -> qint64, bit -> int
// 0/1, decimal/numeric/money/float/real -> double, datetime -> QDateTime,
// text -> QString, binary -> QByteArray. The records-affected count of a
// batch is the sum of the rows its INSERT, UPDATE and DELETE statements
// changed while NOCOUNT was off, or -1 when no such statement ran.
#include "platform/Ado.h"
#include "platform/Proveedores.h"
#include "platform/sqlite/TsqlTraductor.h"

#include <QHash>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace zv::sqlite {

class ConexionSqlite : public ado::Connection {
public:
  explicit ConexionSqlite(ProviderConfig config);
  ~ConexionSqlite() override;
  ConexionSqlite(const ConexionSqlite &) = delete;
  ConexionSqlite &operator=(const ConexionSqlite &) = delete;

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

  // The open transaction count (@@TRANCOUNT).
  int tranCount() const { return tranCount_; }
  // The file of the current database ("" for master).
  QString databaseFile() const { return file_; }
  // Path of database `name` in the data folder; "" when it does not exist.
  QString findDatabase(const QString &name) const;

  struct SqliteError {
    int code = 0;
    QString message;
  };

private:
  enum class Outcome { Ok, Failed, EndBatch };
  struct Run;

  ProviderConfig config_;
  sqlite3 *db_ = nullptr;
  QString connectionString_;
  QString database_;
  QString file_;
  QString pendingDatabase_;
  int timeout_ = 30;
  long isolation_ = ado::adIsolationReadCommitted;
  int cursorLocation_ = ado::adUseServer;
  int tranCount_ = 0;
  bool xactAbort_ = false;
  bool noCount_ = false;
  ado::ErrorList errors_;
  TsqlTraductor traductor_;
  Run *run_ = nullptr;
  sqlite3_stmt *schemaStmt_ = nullptr;
  sqlite3 *checker_ = nullptr; // empty database for syntax checks
  qint64 cachedSchema_ = -1;
  struct Identidad {
    QString column;       // the identity column, "" when none
    QString otherColumns; // " (a, b ...)": every other column
  };
  QHash<QString, Identidad> identityCache_;
  const Identidad &identidad(const QString &table);
  QString identityColumn(const QString &table);

  void requireOpen() const;
  void openHandle(const QString &name, bool forOpen);
  void closeHandle();
  void applyTimeout();
  [[noreturn]] void raise(int native, const QString &message, long number, const QString &state);
  void throwFirst();

  // statements
  Outcome runList(const std::vector<Statement> &list);
  Outcome runStatement(const Statement &st);
  Outcome runPiece(const Statement &st, const SqlPiece &p, bool collect, qint64 *scalar = nullptr);
  Outcome fail(const Statement &st, const SqliteError &e, bool atPrepare);
  Outcome failWith(int native, const QString &message, long number = err::CommandError,
                   const QString &state = QStringLiteral("42000"));
  sqlite3_stmt *prepared(const Statement &st, const SqlPiece &p, SqliteError *e);
  QString pieceText(const Statement &st, const SqlPiece &p);
  bool prepareText(const QString &sql, sqlite3_stmt **out, SqliteError *e);
  void syncTranCount();
  void savepoint();
  void release();
  void undoSavepoint();
  void rollbackAll();

  Outcome beginTran(const Statement &st);
  Outcome commitTran(const Statement &st);
  Outcome rollbackTran(const Statement &st);
  Outcome switchTriggers(const Statement &st, bool enable);
  Outcome dropObjects(const Statement &st);
  Outcome truncate(const Statement &st);
  Outcome addColumns(const Statement &st);
  Outcome createDatabase(const Statement &st);
  Outcome dropDatabase(const Statement &st);
  Outcome use(const Statement &st);

  // plain helpers on the handle
  bool exec(const QString &sql, SqliteError *e, const QStringList &binds = {});
  bool parses(const QString &sql, SqliteError *e);
  QVector<QStringList> rows(const QString &sql, const QStringList &binds = {});
  bool tableExists(const QString &table, QString *realName = nullptr);
  QString identityColumnList(const QString &table);
  QVector<QPair<QString, QString>> stashTriggers(const QString &table, SqliteError *e);
  bool restoreTriggers(const QVector<QPair<QString, QString>> &triggers, SqliteError *e);

  // errors
  QVector<ado::ErrorEntry> translate(const Statement &st, const SqliteError &e, bool *nameError);
  QString createSqlOf(const QString &table);
};

} // namespace zv::sqlite
