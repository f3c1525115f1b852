#include "platform/sqlite/ConexionSqlite.h"

#include "platform/sqlite/Restricciones.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <climits>
#include <sqlite3.h>

namespace zv {

std::unique_ptr<ado::Connection> createSqliteConnection(const ProviderConfig &config) {
  return std::make_unique<sqlite::ConexionSqlite>(config);
}

} // namespace zv

namespace zv::sqlite {

namespace {

const QString kSource = QStringLiteral("Microsoft OLE DB Provider for SQL Server");
const QString kStateTable = QStringLiteral("zv_triggers_disabled");
const QString kMaster = QStringLiteral("master");
// Native code for what the embedded engine does not carry out.
constexpr int kUnsupportedNative = 50000;

QString quoteIdent(const QString &name) {
  QString n = name;
  n.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + n + QLatin1Char('"');
}

QString text16(sqlite3_stmt *s, int c) {
  const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(s, c));
  return p ? QString::fromUtf8(p, sqlite3_column_bytes(s, c)) : QString();
}

bool validDatabaseName(const QString &name) {
  static const QRegularExpression ok(QStringLiteral("^[\\w$#@ -]+$"));
  return !name.isEmpty() && ok.match(name).hasMatch();
}

QVariant dateValue(const QString &s) {
  static const char *formats[] = {"yyyy-MM-dd HH:mm:ss.zzz", "yyyy-MM-dd HH:mm:ss", "yyyy-MM-ddTHH:mm:ss.zzz",
                                  "yyyy-MM-ddTHH:mm:ss",     "yyyy-MM-dd HH:mm",    "yyyy-MM-dd"};
  for (const char *f : formats) {
    const QDateTime d = QDateTime::fromString(s, QLatin1String(f));
    if (d.isValid())
      return d;
  }
  return s;
}

// One value of a result column, as its declared type asks.
QVariant value(sqlite3_stmt *s, int c, const TipoColumna *t) {
  const int kind = sqlite3_column_type(s, c);
  switch (kind) {
  case SQLITE_NULL:
    return {};
  case SQLITE_INTEGER: {
    const qint64 v = sqlite3_column_int64(s, c);
    if (t && t->bit)
      return int(v != 0);
    if (t && (t->decimal || t->floating))
      return double(v);
    return v;
  }
  case SQLITE_FLOAT:
    return sqlite3_column_double(s, c);
  case SQLITE_BLOB:
    return QByteArray(reinterpret_cast<const char *>(sqlite3_column_blob(s, c)), sqlite3_column_bytes(s, c));
  default: {
    const QString v = text16(s, c);
    if (t && t->date)
      return dateValue(v);
    if (t && (t->decimal || t->floating)) {
      bool ok = false;
      const double d = v.toDouble(&ok);
      if (ok)
        return d;
    }
    return v;
  }
  }
}

ado::ErrorEntry entry(int native, const QString &message, long number, const QString &state) {
  ado::ErrorEntry e;
  e.sqlState = state;
  e.number = number;
  e.description = message;
  e.nativeError = native;
  e.source = kSource;
  return e;
}

QString afterColon(const QString &m) {
  const int c = m.indexOf(QLatin1Char(':'));
  return c < 0 ? QString() : m.mid(c + 1).trimmed();
}

QString stripSchema(const QString &name) {
  if (name.startsWith(QLatin1String("main."), Qt::CaseInsensitive))
    return name.mid(5);
  return name;
}

} // namespace

// Prepared statements of the batch being run, by piece id.
struct ConexionSqlite::Run {
  std::vector<sqlite3_stmt *> prepared;
  std::unique_ptr<ado::ResultSet> result;
  long affected = 0;
  bool counted = false;
  ~Run() { finalizeAll(); }
  void finalizeAll() {
    for (sqlite3_stmt *&s : prepared) {
      sqlite3_finalize(s);
      s = nullptr;
    }
  }
};

ConexionSqlite::ConexionSqlite(ProviderConfig config) : config_(std::move(config)) {}

ConexionSqlite::~ConexionSqlite() {
  if (db_) {
    if (tranCount_ > 0)
      sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    closeHandle();
  }
  sqlite3_close_v2(checker_);
}

// ---------------------------------------------------------------------------
// Connection state

void ConexionSqlite::raise(int native, const QString &message, long number, const QString &state) {
  const ado::ErrorEntry e = entry(native, message, number, state);
  errors_.clear();
  errors_.add(e);
  throw AppError(number, message, kSource);
}

void ConexionSqlite::requireOpen() const {
  if (!db_)
    throw AppError(
        err::ConnectionClosedOrInvalid,
        QStringLiteral("The connection cannot be used to perform this operation. It is either closed or "
                       "invalid in this context."),
        QStringLiteral("ADODB.Connection"));
}

QString ConexionSqlite::findDatabase(const QString &name) const {
  if (!validDatabaseName(name) || config_.dataFolder.isEmpty())
    return {};
  const QDir dir(config_.dataFolder);
  const QString exact = dir.filePath(name + QStringLiteral(".sqlite"));
  if (QFileInfo(exact).isFile())
    return exact;
  // Database names ignore case; file names may not.
  const QStringList files = dir.entryList({QStringLiteral("*.sqlite")}, QDir::Files);
  for (const QString &f : files)
    if (QFileInfo(f).completeBaseName().compare(name, Qt::CaseInsensitive) == 0)
      return dir.filePath(f);
  return {};
}

void ConexionSqlite::closeHandle() {
  if (run_)
    run_->finalizeAll();
  sqlite3_finalize(schemaStmt_);
  schemaStmt_ = nullptr;
  identityCache_.clear();
  cachedSchema_ = -1;
  if (db_)
    sqlite3_close_v2(db_);
  db_ = nullptr;
  tranCount_ = 0;
}

void ConexionSqlite::applyTimeout() {
  if (db_)
    sqlite3_busy_timeout(db_,
                         timeout_ <= 0 ? INT_MAX : (timeout_ > INT_MAX / 1000 ? INT_MAX : timeout_ * 1000));
}

void ConexionSqlite::openHandle(const QString &name, bool forOpen) {
  const bool master = name.compare(kMaster, Qt::CaseInsensitive) == 0;
  const QString path = master ? QString() : findDatabase(name);
  if (!master && path.isEmpty()) {
    if (forOpen)
      raise(4060,
            QStringLiteral("Cannot open database \"%1\" requested by the login. The login failed.").arg(name),
            err::Unspecified, QStringLiteral("42000"));
    raise(911,
          QStringLiteral("Database '%1' does not exist. Make sure that the name is entered correctly.")
              .arg(name),
          err::CommandError, QStringLiteral("42000"));
  }
  sqlite3 *h = nullptr;
  const QByteArray p = master ? QByteArray(":memory:") : QFile::encodeName(path);
  const int rc = sqlite3_open_v2(p.constData(), &h, SQLITE_OPEN_READWRITE, nullptr);
  if (rc != SQLITE_OK) {
    const QString m = h ? QString::fromUtf8(sqlite3_errmsg(h)) : QStringLiteral("out of memory");
    sqlite3_close_v2(h);
    raise(4060,
          QStringLiteral("Cannot open database \"%1\" requested by the login. The login failed. (%2)")
              .arg(name, m),
          err::Unspecified, QStringLiteral("42000"));
  }
  // A file that is not a database fails on its first read.
  char *msg = nullptr;
  if (sqlite3_exec(h, "PRAGMA foreign_keys=ON; SELECT count(*) FROM sqlite_master", nullptr, nullptr, &msg) !=
      SQLITE_OK) {
    const QString m = QString::fromUtf8(msg ? msg : "");
    sqlite3_free(msg);
    sqlite3_close_v2(h);
    raise(4060,
          QStringLiteral("Cannot open database \"%1\" requested by the login. The login failed. (%2)")
              .arg(name, m),
          err::Unspecified, QStringLiteral("42000"));
  }
  closeHandle();
  db_ = h;
  file_ = path;
  database_ = master ? kMaster : QFileInfo(path).completeBaseName();
  applyTimeout();
}

void ConexionSqlite::open(const QString &connectionString, const QString &, const QString &, long) {
  if (db_)
    throw AppError(err::ObjectOpen, QStringLiteral("Operation is not allowed when the object is open."),
                   QStringLiteral("ADODB.Connection"));
  errors_.clear();
  const ado::ConnectionString cs(connectionString);
  const QString server =
      cs.value(QStringList{QStringLiteral("Server"), QStringLiteral("Data Source"), QStringLiteral("Address"),
                           QStringLiteral("Addr"), QStringLiteral("Network Address")});
  if (server.compare(QLatin1String("SQLITE"), Qt::CaseInsensitive) != 0)
    raise(
        17,
        QStringLiteral("[DBNETLIB][ConnectionOpen (Connect()).]SQL Server does not exist or access denied."),
        err::Unspecified, QStringLiteral("08001"));
  QString name = cs.value(QStringList{QStringLiteral("Database"), QStringLiteral("Initial Catalog")});
  if (name.isEmpty())
    name = pendingDatabase_;
  if (name.isEmpty())
    name = kMaster;
  openHandle(name, true);
  connectionString_ = connectionString;
  tranCount_ = 0;
  xactAbort_ = false;
  noCount_ = false;
}

void ConexionSqlite::close() {
  if (!db_)
    throw AppError(err::ObjectClosed, QStringLiteral("Operation is not allowed when the object is closed."),
                   QStringLiteral("ADODB.Connection"));
  // Closing the session rolls back what it left open, as the server does.
  if (tranCount_ > 0)
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  closeHandle();
  file_.clear();
}

int ConexionSqlite::state() const { return db_ ? ado::adStateOpen : ado::adStateClosed; }
QString ConexionSqlite::connectionString() const { return connectionString_; }

void ConexionSqlite::setDefaultDatabase(const QString &name) {
  if (!db_) {
    pendingDatabase_ = name;
    return;
  }
  errors_.clear();
  if (tranCount_ > 0)
    raise(kUnsupportedNative,
          QStringLiteral(
              "Changing the database inside a transaction is not supported by the embedded database engine."),
          err::CommandError, QStringLiteral("42000"));
  openHandle(name.trimmed(), false);
}

QString ConexionSqlite::defaultDatabase() const { return db_ ? database_ : pendingDatabase_; }

void ConexionSqlite::setCommandTimeout(int seconds) {
  timeout_ = seconds;
  applyTimeout();
}
int ConexionSqlite::commandTimeout() const { return timeout_; }
void ConexionSqlite::setIsolationLevel(long level) { isolation_ = level; }
long ConexionSqlite::isolationLevel() const { return isolation_; }
void ConexionSqlite::setCursorLocation(int location) { cursorLocation_ = location; }
int ConexionSqlite::cursorLocation() const { return cursorLocation_; }
ado::ErrorList &ConexionSqlite::errors() { return errors_; }

// ---------------------------------------------------------------------------
// Transactions through the connection object

int ConexionSqlite::beginTrans() {
  requireOpen();
  errors_.clear();
  if (tranCount_ == 0) {
    SqliteError e;
    if (!exec(QStringLiteral("BEGIN"), &e))
      raise(e.code, e.message, err::CommandError, QStringLiteral("HY000"));
  }
  return ++tranCount_;
}

void ConexionSqlite::commitTrans() {
  requireOpen();
  errors_.clear();
  syncTranCount();
  if (tranCount_ == 0)
    raise(3902, QStringLiteral("The COMMIT TRANSACTION request has no corresponding BEGIN TRANSACTION."),
          err::CommandError, QStringLiteral("25000"));
  if (tranCount_ == 1) {
    SqliteError e;
    if (!exec(QStringLiteral("COMMIT"), &e))
      raise(e.code, e.message, err::CommandError, QStringLiteral("HY000"));
  }
  --tranCount_;
}

void ConexionSqlite::rollbackTrans() {
  requireOpen();
  errors_.clear();
  syncTranCount();
  if (tranCount_ == 0)
    raise(3903, QStringLiteral("The ROLLBACK TRANSACTION request has no corresponding BEGIN TRANSACTION."),
          err::CommandError, QStringLiteral("25000"));
  rollbackAll();
}

void ConexionSqlite::syncTranCount() {
  // SQLite ends a transaction on its own after some failures (disk full, I/O).
  if (db_ && tranCount_ > 0 && sqlite3_get_autocommit(db_))
    tranCount_ = 0;
}

void ConexionSqlite::rollbackAll() {
  if (db_ && !sqlite3_get_autocommit(db_))
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  tranCount_ = 0;
}

// ---------------------------------------------------------------------------
// Helpers on the handle

bool ConexionSqlite::prepareText(const QString &sql, sqlite3_stmt **out, SqliteError *e) {
  const QByteArray u = sql.toUtf8();
  const char *tail = nullptr;
  *out = nullptr;
  const int rc = sqlite3_prepare_v3(db_, u.constData(), int(u.size()), SQLITE_PREPARE_PERSISTENT, out, &tail);
  if (rc != SQLITE_OK) {
    if (e) {
      e->code = sqlite3_extended_errcode(db_);
      e->message = QString::fromUtf8(sqlite3_errmsg(db_));
    }
    sqlite3_finalize(*out);
    *out = nullptr;
    return false;
  }
  return true;
}

bool ConexionSqlite::parses(const QString &sql, SqliteError *e) {
  if (!checker_ && sqlite3_open_v2(":memory:", &checker_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    sqlite3_close_v2(checker_);
    checker_ = nullptr;
    return true;
  }
  const QByteArray u = sql.toUtf8();
  sqlite3_stmt *s = nullptr;
  const int rc = sqlite3_prepare_v2(checker_, u.constData(), int(u.size()), &s, nullptr);
  sqlite3_finalize(s);
  if (rc == SQLITE_OK)
    return true;
  e->code = sqlite3_extended_errcode(checker_);
  e->message = QString::fromUtf8(sqlite3_errmsg(checker_));
  return false;
}

bool ConexionSqlite::exec(const QString &sql, SqliteError *e, const QStringList &binds) {
  sqlite3_stmt *s = nullptr;
  if (!prepareText(sql, &s, e))
    return false;
  for (int i = 0; i < binds.size(); ++i) {
    const QByteArray b = binds[i].toUtf8();
    sqlite3_bind_text(s, i + 1, b.constData(), int(b.size()), SQLITE_TRANSIENT);
  }
  int rc;
  while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
  }
  if (rc != SQLITE_DONE && e) {
    e->code = sqlite3_extended_errcode(db_);
    e->message = QString::fromUtf8(sqlite3_errmsg(db_));
  }
  sqlite3_finalize(s);
  return rc == SQLITE_DONE;
}

QVector<QStringList> ConexionSqlite::rows(const QString &sql, const QStringList &binds) {
  QVector<QStringList> out;
  sqlite3_stmt *s = nullptr;
  if (!prepareText(sql, &s, nullptr))
    return out;
  for (int i = 0; i < binds.size(); ++i) {
    const QByteArray b = binds[i].toUtf8();
    sqlite3_bind_text(s, i + 1, b.constData(), int(b.size()), SQLITE_TRANSIENT);
  }
  const int n = sqlite3_column_count(s);
  while (sqlite3_step(s) == SQLITE_ROW) {
    QStringList r;
    for (int c = 0; c < n; ++c)
      r << text16(s, c);
    out << r;
  }
  sqlite3_finalize(s);
  return out;
}

bool ConexionSqlite::tableExists(const QString &table, QString *realName) {
  const auto r =
      rows(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE"),
           {table});
  if (r.isEmpty())
    return false;
  if (realName)
    *realName = r[0][0];
  return true;
}

QString ConexionSqlite::createSqlOf(const QString &table) {
  const auto r =
      rows(QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE"),
           {table});
  return r.isEmpty() ? QString() : r[0][0];
}

// " (col, ...)" naming every column but the identity one, so that an INSERT
// without a column list fills the others as the server does; "" when the
// table has no identity column.
const ConexionSqlite::Identidad &ConexionSqlite::identidad(const QString &table) {
  // Cached per table while the schema stays as it was.
  static const Identidad none;
  if (!schemaStmt_ && !prepareText(QStringLiteral("PRAGMA schema_version"), &schemaStmt_, nullptr))
    return none;
  qint64 version = -1;
  if (sqlite3_step(schemaStmt_) == SQLITE_ROW)
    version = sqlite3_column_int64(schemaStmt_, 0);
  sqlite3_reset(schemaStmt_);
  if (version != cachedSchema_) {
    identityCache_.clear();
    cachedSchema_ = version;
  }
  const QString key = table.toUpper();
  const auto hit = identityCache_.constFind(key);
  if (hit != identityCache_.constEnd())
    return hit.value();
  Identidad id;
  if (createSqlOf(table).contains(QLatin1String("AUTOINCREMENT"), Qt::CaseInsensitive)) {
    const auto cols =
        rows(QStringLiteral("SELECT name, pk, type, hidden FROM pragma_table_xinfo(?1)"), {table});
    QStringList names;
    for (const QStringList &c : cols) {
      if (c[3] != QLatin1String("0"))
        continue; // generated
      if (c[1] == QLatin1String("1") && c[2].compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0) {
        id.column = c[0];
        continue;
      }
      names << quoteIdent(c[0]);
    }
    if (!id.column.isEmpty() && !names.isEmpty())
      id.otherColumns = QStringLiteral(" (") + names.join(QStringLiteral(", ")) + QLatin1Char(')');
  }
  return identityCache_.insert(key, id).value();
}

// " (col, ...)" naming every column but the identity one, so that an INSERT
// without a column list fills the others as the server does; "" when the
// table has no identity column.
QString ConexionSqlite::identityColumnList(const QString &table) { return identidad(table).otherColumns; }

QString ConexionSqlite::identityColumn(const QString &table) { return identidad(table).column; }

QString ConexionSqlite::pieceText(const Statement &st, const SqlPiece &p) {
  if (p.insertColumnsAt < 0)
    return p.text;
  const QString cols = identityColumnList(st.table);
  if (cols.isEmpty())
    return p.text;
  QString text = p.text;
  text.insert(p.insertColumnsAt, cols);
  return text;
}

QVector<QPair<QString, QString>> ConexionSqlite::stashTriggers(const QString &table, SqliteError *e) {
  QVector<QPair<QString, QString>> out;
  const auto r =
      rows(QStringLiteral(
               "SELECT name, sql FROM sqlite_master WHERE type = 'trigger' AND tbl_name = ?1 COLLATE NOCASE"),
           {table});
  for (const QStringList &t : r) {
    if (!exec(QStringLiteral("DROP TRIGGER ") + quoteIdent(t[0]), e))
      return {};
    out.push_back({t[0], t[1]});
  }
  if (e)
    e->code = 0;
  return out;
}

bool ConexionSqlite::restoreTriggers(const QVector<QPair<QString, QString>> &triggers, SqliteError *e) {
  for (const auto &t : triggers)
    if (!exec(t.second, e))
      return false;
  return true;
}

// ---------------------------------------------------------------------------
// Execution

std::unique_ptr<ado::ResultSet> ConexionSqlite::execute(const QString &text, long *recordsAffected, long) {
  requireOpen();
  errors_.clear();
  if (recordsAffected)
    *recordsAffected = -1;
  const std::vector<Batch> batches = traductor_.analizar(text);
  std::unique_ptr<ado::ResultSet> first;
  long affected = 0;
  bool counted = false;
  for (const Batch &batch : batches) {
    if (batch.failed) {
      errors_.add(entry(batch.native, batch.message, err::CommandError, QStringLiteral("42000")));
      continue;
    }
    Run run;
    run.prepared.assign(std::size_t(batch.pieces), nullptr);
    run_ = &run;
    // The server compiles the whole batch first: a syntax error anywhere
    // means nothing of it runs. Statements whose objects do not exist yet
    // are prepared again when they run.
    bool syntax = false;
    // Statements before the first schema change are prepared for good;
    // later ones would be prepared again after that change, so they are only
    // parsed, on an empty database where every name is unknown.
    bool schemaChanges = false;
    std::function<void(const std::vector<Statement> &)> precompile = [&](const std::vector<Statement> &list) {
      for (const Statement &st : list) {
        if (syntax)
          return;
        for (const SqlPiece &p : st.sql) {
          SqliteError e;
          sqlite3_stmt *s = nullptr;
          bool ok;
          if (!schemaChanges) {
            ok = prepareText(pieceText(st, p), &s, &e);
            run.prepared[std::size_t(p.id)] = s;
          } else {
            ok = parses(p.text, &e);
          }
          if (!ok && (e.message.contains(QLatin1String("syntax error")) ||
                      e.message.contains(QLatin1String("incomplete input")) ||
                      e.message.contains(QLatin1String("unrecognized token")))) {
            bool unused = false;
            for (const ado::ErrorEntry &x : translate(st, e, &unused))
              errors_.add(x);
            syntax = true;
            return;
          }
        }
        switch (st.kind) {
        case Kind::Ddl:
        case Kind::DropTable:
        case Kind::Truncate:
        case Kind::AddColumns:
        case Kind::DisableTriggers:
        case Kind::EnableTriggers:
        case Kind::Use:
          schemaChanges = true;
          break;
        default:
          break;
        }
        precompile(st.body);
      }
    };
    precompile(batch.statements);
    if (!syntax)
      runList(batch.statements);
    run_ = nullptr;
    if (run.result && !first)
      first = std::move(run.result);
    affected += run.affected;
    counted = counted || run.counted;
  }
  if (recordsAffected)
    *recordsAffected = counted ? affected : -1;
  throwFirst();
  return first;
}

void ConexionSqlite::throwFirst() {
  if (errors_.count() > 0) {
    const ado::ErrorEntry &e = errors_.item(0);
    throw AppError(e.number, e.description, kSource);
  }
}

ConexionSqlite::Outcome ConexionSqlite::runList(const std::vector<Statement> &list) {
  Outcome worst = Outcome::Ok;
  for (const Statement &st : list) {
    const Outcome o = runStatement(st);
    if (o == Outcome::EndBatch)
      return o;
    if (o == Outcome::Failed)
      worst = o;
  }
  return worst;
}

sqlite3_stmt *ConexionSqlite::prepared(const Statement &st, const SqlPiece &p, SqliteError *e) {
  sqlite3_stmt *&s = run_->prepared[std::size_t(p.id)];
  if (!s && !prepareText(pieceText(st, p), &s, e))
    return nullptr;
  return s;
}

ConexionSqlite::Outcome ConexionSqlite::runPiece(const Statement &st, const SqlPiece &p, bool collect,
                                                 qint64 *scalar) {
  SqliteError e;
  sqlite3_stmt *s = prepared(st, p, &e);
  if (!s)
    return fail(st, e, true);
  if (p.usesTranCount)
    sqlite3_bind_int(s, sqlite3_bind_parameter_index(s, "$zv_trancount"), tranCount_);
  const bool wantRows = collect && run_ && !run_->result;
  std::unique_ptr<ado::ResultSet> rs;
  std::vector<TipoColumna> types;
  std::vector<bool> computed;
  const int n = sqlite3_column_count(s);
  if (wantRows) {
    rs = std::make_unique<ado::ResultSet>();
    types.resize(std::size_t(n));
    computed.assign(std::size_t(n), false);
    for (int c = 0; c < n; ++c) {
      ado::Column col;
      col.name = QString::fromUtf8(sqlite3_column_name(s, c));
      const char *decl = sqlite3_column_decltype(s, c);
      const char *table = sqlite3_column_table_name(s, c);
      const char *origin = sqlite3_column_origin_name(s, c);
      if (decl) {
        types[std::size_t(c)] = tipoDeclarado(QString::fromUtf8(decl));
        col.type = types[std::size_t(c)].adoType;
        col.definedSize = types[std::size_t(c)].definedSize;
      } else {
        computed[std::size_t(c)] = true;
      }
      if (table) {
        col.baseTable = QString::fromUtf8(table);
        if (origin && decl && qstricmp(decl, "INTEGER") == 0)
          col.autoIncrement =
              identityColumn(col.baseTable).compare(QString::fromUtf8(origin), Qt::CaseInsensitive) == 0;
      }
      rs->columns.push_back(col);
    }
  }
  int rc;
  while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
    if (scalar) {
      *scalar = sqlite3_column_int64(s, 0);
      continue;
    }
    if (!wantRows)
      continue;
    QVector<QVariant> row(n);
    for (int c = 0; c < n; ++c)
      row[c] = value(s, c, computed[std::size_t(c)] ? nullptr : &types[std::size_t(c)]);
    rs->rows.push_back(std::move(row));
  }
  if (rc != SQLITE_DONE) {
    e.code = sqlite3_extended_errcode(db_);
    e.message = QString::fromUtf8(sqlite3_errmsg(db_));
    sqlite3_reset(s);
    return fail(st, e, false);
  }
  sqlite3_reset(s);
  if (wantRows) {
    // Columns computed by the query are typed from their values.
    for (int c = 0; c < n; ++c) {
      if (!computed[std::size_t(c)])
        continue;
      ado::Column &col = rs->columns[c];
      int type = 0;
      long size = 0;
      for (const auto &row : rs->rows) {
        const QVariant &v = row[c];
        if (v.isNull())
          continue;
        switch (v.typeId()) {
        case QMetaType::LongLong: {
          const qint64 x = v.toLongLong();
          const int t = (x >= INT_MIN && x <= INT_MAX) ? ado::adInteger : ado::adBigInt;
          if (type == 0 || type == ado::adInteger)
            type = t;
          break;
        }
        case QMetaType::Double:
          type = ado::adDouble;
          break;
        case QMetaType::QByteArray:
          type = ado::adLongVarBinary;
          size = std::max<long>(size, long(v.toByteArray().size()));
          break;
        default:
          type = ado::adVarChar;
          size = std::max<long>(size, long(v.toString().size()));
        }
      }
      col.type = type == 0 ? ado::adVarChar : type;
      col.definedSize = col.type == ado::adInteger  ? 4
                        : col.type == ado::adBigInt ? 8
                        : col.type == ado::adDouble ? 8
                                                    : size;
    }
    run_->result = std::move(rs);
  }
  if (st.kind == Kind::Insert || st.kind == Kind::Update || st.kind == Kind::Delete) {
    if (!noCount_) {
      run_->affected += long(sqlite3_changes64(db_));
      run_->counted = true;
    }
  }
  return Outcome::Ok;
}

ConexionSqlite::Outcome ConexionSqlite::failWith(int native, const QString &message, long number,
                                                 const QString &state) {
  errors_.add(entry(native, message, number, state));
  syncTranCount();
  if (xactAbort_) {
    if (tranCount_ > 0)
      rollbackAll();
    return Outcome::EndBatch;
  }
  return Outcome::Failed;
}

ConexionSqlite::Outcome ConexionSqlite::fail(const Statement &st, const SqliteError &e, bool) {
  bool nameError = false;
  for (const ado::ErrorEntry &x : translate(st, e, &nameError))
    errors_.add(x);
  syncTranCount();
  // Unknown objects end the batch and leave the transaction as it is.
  if (nameError)
    return Outcome::EndBatch;
  if (xactAbort_) {
    if (tranCount_ > 0)
      rollbackAll();
    return Outcome::EndBatch;
  }
  return Outcome::Failed;
}

ConexionSqlite::Outcome ConexionSqlite::runStatement(const Statement &st) {
  switch (st.kind) {
  case Kind::Query:
    return runPiece(st, st.sql[0], true);
  case Kind::Insert:
  case Kind::Update:
  case Kind::Delete:
    return runPiece(st, st.sql[0], false);
  case Kind::Ddl: {
    if (st.sql.size() == 1)
      return runPiece(st, st.sql[0], false);
    savepoint();
    for (const SqlPiece &p : st.sql) {
      const Outcome o = runPiece(st, p, false);
      if (o != Outcome::Ok) {
        undoSavepoint();
        return o;
      }
    }
    release();
    return Outcome::Ok;
  }
  case Kind::DropTable:
    return dropObjects(st);
  case Kind::Truncate:
    return truncate(st);
  case Kind::AddColumns:
    return addColumns(st);
  case Kind::BeginTran:
    return beginTran(st);
  case Kind::CommitTran:
    return commitTran(st);
  case Kind::RollbackTran:
    return rollbackTran(st);
  case Kind::SetOption:
    if (st.option == QLatin1String("XACT_ABORT"))
      xactAbort_ = st.on;
    else if (st.option == QLatin1String("NOCOUNT"))
      noCount_ = st.on;
    return Outcome::Ok;
  case Kind::If: {
    qint64 v = 0;
    const Outcome o = runPiece(st, st.sql[0], false, &v);
    if (o != Outcome::Ok)
      return o;
    if (v)
      return runStatement(st.body[0]);
    if (st.body.size() > 1)
      return runStatement(st.body[1]);
    return Outcome::Ok;
  }
  case Kind::Block:
    return runList(st.body);
  case Kind::DisableTriggers:
    return switchTriggers(st, false);
  case Kind::EnableTriggers:
    return switchTriggers(st, true);
  case Kind::CreateDatabase:
    return createDatabase(st);
  case Kind::DropDatabase:
    return dropDatabase(st);
  case Kind::Use:
    return use(st);
  case Kind::NoOp:
    return Outcome::Ok;
  case Kind::Failure:
    return failWith(st.native, st.message);
  }
  return Outcome::Ok;
}

ConexionSqlite::Outcome ConexionSqlite::beginTran(const Statement &st) {
  syncTranCount();
  if (tranCount_ == 0) {
    SqliteError e;
    if (!exec(QStringLiteral("BEGIN"), &e))
      return fail(st, e, false);
  }
  ++tranCount_;
  return Outcome::Ok;
}

ConexionSqlite::Outcome ConexionSqlite::commitTran(const Statement &st) {
  syncTranCount();
  if (tranCount_ == 0)
    return failWith(3902,
                    QStringLiteral("The COMMIT TRANSACTION request has no corresponding BEGIN TRANSACTION."),
                    err::CommandError, QStringLiteral("25000"));
  if (tranCount_ == 1) {
    SqliteError e;
    if (!exec(QStringLiteral("COMMIT"), &e))
      return fail(st, e, false);
  }
  --tranCount_;
  return Outcome::Ok;
}

ConexionSqlite::Outcome ConexionSqlite::rollbackTran(const Statement &) {
  syncTranCount();
  if (tranCount_ == 0)
    return failWith(
        3903, QStringLiteral("The ROLLBACK TRANSACTION request has no corresponding BEGIN TRANSACTION."),
        err::CommandError, QStringLiteral("25000"));
  rollbackAll();
  return Outcome::Ok;
}

// A statement made of several steps is undone as a whole.
void ConexionSqlite::savepoint() { exec(QStringLiteral("SAVEPOINT zv_stmt"), nullptr); }
void ConexionSqlite::release() { exec(QStringLiteral("RELEASE zv_stmt"), nullptr); }
void ConexionSqlite::undoSavepoint() {
  // A failure that ended the whole transaction took the savepoint with it.
  if (db_ && !sqlite3_get_autocommit(db_)) {
    exec(QStringLiteral("ROLLBACK TO zv_stmt"), nullptr);
    exec(QStringLiteral("RELEASE zv_stmt"), nullptr);
  }
}

// Disabled triggers leave sqlite_master for the state table, so that no
// connection fires them and the state survives the process.
ConexionSqlite::Outcome ConexionSqlite::switchTriggers(const Statement &st, bool enable) {
  QString table;
  if (!tableExists(st.table, &table))
    return failWith(
        4902,
        QStringLiteral("Cannot find the object \"%1\" because it does not exist or you do not have "
                       "permissions.")
            .arg(st.table),
        err::InvalidObject, QStringLiteral("42S02"));
  SqliteError e;
  auto undo = [&]() {
    exec(QStringLiteral("ROLLBACK TO zv_trg"), nullptr);
    exec(QStringLiteral("RELEASE zv_trg"), nullptr);
  };
  if (!exec(QStringLiteral("SAVEPOINT zv_trg"), &e))
    return fail(st, e, false);
  if (!exec(QStringLiteral("CREATE TABLE IF NOT EXISTS ") + kStateTable +
                QStringLiteral(" (table_name TEXT NOT NULL COLLATE NOCASE, name TEXT NOT NULL COLLATE NOCASE "
                               "PRIMARY KEY, sql TEXT NOT NULL)"),
            &e)) {
    undo();
    return fail(st, e, false);
  }
  auto wanted = [&](const QString &name) {
    if (st.names.isEmpty())
      return true;
    for (const QString &n : st.names)
      if (n.compare(name, Qt::CaseInsensitive) == 0)
        return true;
    return false;
  };
  QStringList found;
  if (!enable) {
    const auto live = rows(
        QStringLiteral(
            "SELECT name, sql FROM sqlite_master WHERE type = 'trigger' AND tbl_name = ?1 COLLATE NOCASE"),
        {table});
    for (const QStringList &t : live) {
      if (!wanted(t[0]))
        continue;
      found << t[0].toUpper();
      if (!exec(QStringLiteral("INSERT OR REPLACE INTO ") + kStateTable +
                    QStringLiteral(" VALUES (?1, ?2, ?3)"),
                &e, {table, t[0], t[1]}) ||
          !exec(QStringLiteral("DROP TRIGGER ") + quoteIdent(t[0]), &e)) {
        undo();
        return fail(st, e, false);
      }
    }
  } else {
    const auto stored = rows(QStringLiteral("SELECT name, sql FROM ") + kStateTable +
                                 QStringLiteral(" WHERE table_name = ?1 ORDER BY rowid"),
                             {table});
    for (const QStringList &t : stored) {
      if (!wanted(t[0]))
        continue;
      found << t[0].toUpper();
      if (!exec(t[1], &e) ||
          !exec(QStringLiteral("DELETE FROM ") + kStateTable + QStringLiteral(" WHERE name = ?1"), &e,
                {t[0]})) {
        undo();
        return fail(st, e, false);
      }
    }
  }
  // Named triggers must exist, in either state.
  for (const QString &n : st.names) {
    if (found.contains(n.toUpper()))
      continue;
    const bool known =
        !rows(QStringLiteral(
                  "SELECT 1 FROM sqlite_master WHERE type = 'trigger' AND name = ?1 COLLATE NOCASE"),
              {n})
             .isEmpty() ||
        !rows(QStringLiteral("SELECT 1 FROM ") + kStateTable + QStringLiteral(" WHERE name = ?1"), {n})
             .isEmpty();
    if (!known) {
      undo();
      return failWith(
          4902,
          QStringLiteral("Cannot find the object \"%1\" because it does not exist or you do not have "
                         "permissions.")
              .arg(n),
          err::InvalidObject, QStringLiteral("42S02"));
    }
  }
  exec(QStringLiteral("RELEASE zv_trg"), nullptr);
  return Outcome::Ok;
}

ConexionSqlite::Outcome ConexionSqlite::dropObjects(const Statement &st) {
  const bool triggers = st.option == QLatin1String("TRIGGER");
  SqliteError e;
  savepoint();
  auto undo = [&]() { undoSavepoint(); };
  const bool state =
      !rows(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1"), {kStateTable})
           .isEmpty();
  for (int i = 0; i < st.sql.size(); ++i) {
    const QString &name = st.names.value(i);
    // A disabled trigger lives only in the state table.
    if (triggers && state &&
        rows(
            QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'trigger' AND name = ?1 COLLATE NOCASE"),
            {name})
            .isEmpty() &&
        !rows(QStringLiteral("SELECT 1 FROM ") + kStateTable + QStringLiteral(" WHERE name = ?1"), {name})
             .isEmpty()) {
      if (!exec(QStringLiteral("DELETE FROM ") + kStateTable + QStringLiteral(" WHERE name = ?1"), &e,
                {name})) {
        undo();
        return fail(st, e, false);
      }
      continue;
    }
    const Outcome o = runPiece(st, st.sql[i], false);
    if (o != Outcome::Ok) {
      undo();
      return o;
    }
    if (!triggers && state &&
        !exec(QStringLiteral("DELETE FROM ") + kStateTable + QStringLiteral(" WHERE table_name = ?1"), &e,
              {name})) {
      undo();
      return fail(st, e, false);
    }
  }
  release();
  return Outcome::Ok;
}

ConexionSqlite::Outcome ConexionSqlite::truncate(const Statement &st) {
  QString table;
  if (!tableExists(st.table, &table)) {
    SqliteError e{SQLITE_ERROR, QStringLiteral("no such table: ") + st.table};
    return fail(st, e, true);
  }
  SqliteError e;
  savepoint();
  auto undo = [&](const SqliteError &x) {
    undoSavepoint();
    return fail(st, x, false);
  };
  // Emptying a table fires no trigger and restarts its identity.
  const auto saved = stashTriggers(table, &e);
  if (e.code)
    return undo(e);
  if (!exec(QStringLiteral("DELETE FROM ") + quoteIdent(table), &e))
    return undo(e);
  if (!rows(QStringLiteral("SELECT 1 FROM sqlite_master WHERE name = 'sqlite_sequence'")).isEmpty() &&
      !exec(QStringLiteral("DELETE FROM sqlite_sequence WHERE name = ?1"), &e, {table}))
    return undo(e);
  if (!restoreTriggers(saved, &e))
    return undo(e);
  release();
  return Outcome::Ok;
}

ConexionSqlite::Outcome ConexionSqlite::addColumns(const Statement &st) {
  QString table;
  if (!tableExists(st.table, &table)) {
    SqliteError e{SQLITE_ERROR, QStringLiteral("no such table: ") + st.table};
    return fail(st, e, true);
  }
  SqliteError e;
  savepoint();
  auto undo = [&](const SqliteError &x) {
    undoSavepoint();
    return fail(st, x, false);
  };
  for (int i = 0; i < st.sql.size(); ++i) {
    sqlite3_stmt *s = nullptr;
    if (!prepareText(st.sql[i].text, &s, &e))
      return undo(e);
    const int rc = sqlite3_step(s);
    if (rc != SQLITE_DONE) {
      e.code = sqlite3_extended_errcode(db_);
      e.message = QString::fromUtf8(sqlite3_errmsg(db_));
      sqlite3_finalize(s);
      if (e.message.startsWith(QLatin1String("CHECK constraint failed"))) {
        // Only the NOT NULL check can fail on the existing rows.
        e.code = SQLITE_CONSTRAINT_CHECK;
        e.message = QStringLiteral("CHECK constraint failed: ZVNN_") + st.names.value(i);
      }
      return undo(e);
    }
    sqlite3_finalize(s);
    // A nullable column added with a default starts out NULL on the
    // existing rows; SQLite would show them the default.
    if (st.flags.value(i) &&
        !rows(QStringLiteral("SELECT 1 FROM ") + quoteIdent(table) + QStringLiteral(" LIMIT 1")).isEmpty()) {
      const auto saved = stashTriggers(table, &e);
      if (e.code)
        return undo(e);
      if (!exec(QStringLiteral("UPDATE ") + quoteIdent(table) + QStringLiteral(" SET ") +
                    quoteIdent(st.names[i]) + QStringLiteral(" = NULL"),
                &e))
        return undo(e);
      if (!restoreTriggers(saved, &e))
        return undo(e);
    }
  }
  release();
  return Outcome::Ok;
}

ConexionSqlite::Outcome ConexionSqlite::createDatabase(const Statement &st) {
  const QString name = st.option;
  if (tranCount_ > 0)
    return failWith(
        226, QStringLiteral("CREATE DATABASE statement not allowed within multi-statement transaction."));
  if (!validDatabaseName(name) || name.compare(kMaster, Qt::CaseInsensitive) == 0)
    return failWith(102, QStringLiteral("Incorrect syntax near '%1'.").arg(name));
  if (!findDatabase(name).isEmpty())
    return failWith(
        1801, QStringLiteral("Database '%1' already exists. Choose a different database name.").arg(name));
  if (config_.dataFolder.isEmpty() || !QDir().mkpath(config_.dataFolder))
    return failWith(5123,
                    QStringLiteral("CREATE FILE encountered operating system error while attempting to open "
                                   "or create the physical file for database '%1'.")
                        .arg(name));
  const QString path = QDir(config_.dataFolder).filePath(name + QStringLiteral(".sqlite"));
  sqlite3 *h = nullptr;
  int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &h,
                           SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXCLUSIVE, nullptr);
  if (rc == SQLITE_OK)
    rc = sqlite3_exec(h,
                      "PRAGMA journal_mode=WAL; CREATE TABLE zv_triggers_disabled (table_name TEXT NOT NULL "
                      "COLLATE NOCASE, name TEXT NOT NULL COLLATE NOCASE PRIMARY KEY, sql TEXT NOT NULL)",
                      nullptr, nullptr, nullptr);
  const QString m = h ? QString::fromUtf8(sqlite3_errmsg(h)) : QString();
  sqlite3_close_v2(h);
  if (rc != SQLITE_OK) {
    QFile::remove(path);
    return failWith(5123,
                    QStringLiteral("CREATE FILE encountered operating system error while attempting to open "
                                   "or create the physical file '%1'. (%2)")
                        .arg(path, m));
  }
  return Outcome::Ok;
}

ConexionSqlite::Outcome ConexionSqlite::dropDatabase(const Statement &st) {
  const QString name = st.option;
  if (tranCount_ > 0)
    return failWith(574, QStringLiteral("DROP DATABASE statement cannot be used inside a user transaction."));
  const QString path = findDatabase(name);
  if (path.isEmpty())
    return failWith(
        3701, QStringLiteral("Cannot drop the database '%1', because it does not exist or you do not have "
                             "permission.")
                  .arg(name));
  if (QFileInfo(path) == QFileInfo(file_))
    return failWith(3702,
                    QStringLiteral("Cannot drop database \"%1\" because it is currently in use.").arg(name));
  QFile::remove(path + QStringLiteral("-wal"));
  QFile::remove(path + QStringLiteral("-shm"));
  if (!QFile::remove(path))
    return failWith(3702,
                    QStringLiteral("Cannot drop database \"%1\" because it is currently in use.").arg(name));
  return Outcome::Ok;
}

ConexionSqlite::Outcome ConexionSqlite::use(const Statement &st) {
  if (tranCount_ > 0)
    return failWith(kUnsupportedNative,
                    QStringLiteral("Changing the database inside a transaction is not supported "
                                   "by the embedded database engine."));
  const ado::ErrorList before = errors_;
  try {
    // The batch's prepared statements belong to the old handle.
    run_->finalizeAll();
    openHandle(st.option, false);
  } catch (const AppError &) {
    // openHandle reports alone; keep the batch's earlier entries first.
    const ado::ErrorEntry e = errors_.item(errors_.count() - 1);
    errors_ = before;
    errors_.add(e);
    return Outcome::EndBatch;
  }
  return Outcome::Ok;
}

// ---------------------------------------------------------------------------
// Errors in the server's words

QVector<ado::ErrorEntry> ConexionSqlite::translate(const Statement &st, const SqliteError &e,
                                                   bool *nameError) {
  QVector<ado::ErrorEntry> out;
  const QString &m = e.message;
  const QString verb = (st.kind == Kind::Insert || st.kind == Kind::Update || st.kind == Kind::Delete)
                           ? st.verb
                           : QStringLiteral("INSERT");
  const QString db = database_;
  auto terminated = [&]() {
    out << entry(3621, QStringLiteral("The statement has been terminated."), err::CommandError,
                 QStringLiteral("01000"));
  };
  auto integrity = [&](int native, const QString &text, const QString &state = QStringLiteral("23000")) {
    out << entry(native, text, native == 8152 ? err::CommandError : err::IntegrityViolation, state);
    terminated();
  };
  const int primary = e.code & 0xff;
  if (primary == SQLITE_CONSTRAINT) {
    if (e.code == SQLITE_CONSTRAINT_PRIMARYKEY || e.code == SQLITE_CONSTRAINT_UNIQUE) {
      // "UNIQUE constraint failed: T.a, T.b"
      QStringList cols;
      QString table;
      for (const QString &part : afterColon(m).split(QLatin1Char(','))) {
        const QString p = part.trimmed();
        const int dot = p.lastIndexOf(QLatin1Char('.'));
        table = dot < 0 ? st.table : p.left(dot);
        cols << (dot < 0 ? p : p.mid(dot + 1)).toUpper();
      }
      if (table.isEmpty())
        table = st.table;
      auto same = [&](const QStringList &a) {
        if (a.size() != cols.size())
          return false;
        for (const QString &c : a)
          if (!cols.contains(c.toUpper()))
            return false;
        return true;
      };
      const QString dboTable = QStringLiteral("dbo.") + table;
      for (const Restriccion &r : restriccionesDeTabla(createSqlOf(table))) {
        if ((r.tipo == Restriccion::PrimaryKey || r.tipo == Restriccion::Unique) && same(r.columnas)) {
          const bool pk = r.tipo == Restriccion::PrimaryKey;
          const QString name = !r.nombre.isEmpty() ? r.nombre
                               : pk                ? QStringLiteral("PK__") + table
                                    : QStringLiteral("UQ__%1__%2").arg(table, r.columnas.join('_'));
          integrity(
              2627,
              QStringLiteral("Violation of %1 constraint '%2'. Cannot insert duplicate key in object '%3'.")
                  .arg(pk ? QStringLiteral("PRIMARY KEY") : QStringLiteral("UNIQUE KEY"), name, dboTable));
          return out;
        }
      }
      const auto indexes = rows(
          QStringLiteral(
              "SELECT name, sql FROM sqlite_master WHERE type = 'index' AND tbl_name = ?1 COLLATE NOCASE "
              "AND sql IS NOT NULL"),
          {table});
      for (const QStringList &ix : indexes) {
        if (!same(columnasDeIndice(ix[1])))
          continue;
        QString name = ix[0];
        if (name.startsWith(table + QLatin1Char('.'), Qt::CaseInsensitive))
          name = name.mid(table.size() + 1);
        integrity(2601,
                  QStringLiteral("Cannot insert duplicate key row in object '%1' with unique index '%2'.")
                      .arg(dboTable, name));
        return out;
      }
      integrity(2627,
                QStringLiteral("Violation of PRIMARY KEY constraint '%1'. Cannot insert duplicate key in "
                               "object '%2'.")
                    .arg(QStringLiteral("PK__") + table, dboTable));
      return out;
    }
    if (e.code == SQLITE_CONSTRAINT_CHECK) {
      const QString name = afterColon(m);
      if (name.startsWith(QLatin1String("ZVLEN_"))) {
        integrity(8152, QStringLiteral("String or binary data would be truncated."), QStringLiteral("22001"));
        return out;
      }
      QString table = st.table;
      if (name.startsWith(QLatin1String("ZVNN_"))) {
        const QString col = name.mid(5);
        if (st.kind == Kind::AddColumns) {
          out << entry(
              4901,
              QStringLiteral("ALTER TABLE only allows columns to be added that can contain nulls, or have a "
                             "DEFAULT definition specified, or the column being added is an identity or "
                             "timestamp column, or alternatively if none of the previous conditions are "
                             "satisfied the table must be empty to allow addition of this column. Column "
                             "'%1' cannot be added to non-empty table '%2' because it does not satisfy "
                             "these conditions.")
                  .arg(col, table),
              err::CommandError, QStringLiteral("42000"));
          return out;
        }
        integrity(515, QStringLiteral(
                           "Cannot insert the value NULL into column '%1', table '%2.dbo.%3'; column does "
                           "not allow nulls. %4 fails.")
                           .arg(col, db, table, verb));
        return out;
      }
      QString column;
      for (const Restriccion &r : restriccionesDeTabla(createSqlOf(table)))
        if (r.tipo == Restriccion::Check && r.nombre.compare(name, Qt::CaseInsensitive) == 0 &&
            !r.columnas.isEmpty())
          column = r.columnas.first();
      QString text =
          QStringLiteral("The %1 statement conflicted with the CHECK constraint \"%2\". The conflict "
                         "occurred in database \"%3\", table \"dbo.%4\"")
              .arg(verb, name, db, table);
      text += column.isEmpty() ? QStringLiteral(".") : QStringLiteral(", column '%1'.").arg(column);
      integrity(547, text);
      return out;
    }
    if (e.code == SQLITE_CONSTRAINT_NOTNULL) {
      const QString p = afterColon(m);
      const int dot = p.lastIndexOf(QLatin1Char('.'));
      const QString table = dot < 0 ? st.table : p.left(dot);
      const QString col = dot < 0 ? p : p.mid(dot + 1);
      integrity(
          515, QStringLiteral("Cannot insert the value NULL into column '%1', table '%2.dbo.%3'; column does "
                              "not allow nulls. %4 fails.")
                   .arg(col, db, table, verb));
      return out;
    }
    if (e.code == SQLITE_CONSTRAINT_FOREIGNKEY) {
      // SQLite does not say which key; the statement's table tells the side.
      QString table;
      tableExists(st.table, &table);
      const QVector<Restriccion> own = restriccionesDeTabla(createSqlOf(table));
      const Restriccion *child = nullptr;
      for (const Restriccion &r : own)
        if (r.tipo == Restriccion::ForeignKey) {
          child = &r;
          break;
        }
      if (child && st.kind != Kind::Delete) {
        QString refCol = child->columnasReferidas.value(0);
        if (refCol.isEmpty())
          refCol = child->columnas.value(0);
        const QString name = child->nombre.isEmpty()
                                 ? QStringLiteral("FK__%1__%2").arg(table, child->columnas.join('_'))
                                 : child->nombre;
        integrity(547,
                  QStringLiteral("The %1 statement conflicted with the FOREIGN KEY constraint \"%2\". The "
                                 "conflict occurred in database \"%3\", table \"dbo.%4\", column '%5'.")
                      .arg(verb, name, db, child->tablaReferida, refCol));
        return out;
      }
      const auto tables = rows(QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'table'"));
      for (const QStringList &t : tables) {
        for (const Restriccion &r : restriccionesDeTabla(t[1])) {
          if (r.tipo != Restriccion::ForeignKey || r.tablaReferida.compare(table, Qt::CaseInsensitive) != 0)
            continue;
          const QString name =
              r.nombre.isEmpty() ? QStringLiteral("FK__%1__%2").arg(t[0], r.columnas.join('_')) : r.nombre;
          integrity(547,
                    QStringLiteral("The %1 statement conflicted with the REFERENCE constraint \"%2\". The "
                                   "conflict occurred in database \"%3\", table \"dbo.%4\", column '%5'.")
                        .arg(verb, name, db, t[0], r.columnas.value(0)));
          return out;
        }
      }
      integrity(547, QStringLiteral("The %1 statement conflicted with a FOREIGN KEY constraint. The conflict "
                                    "occurred in database \"%2\", table \"dbo.%3\".")
                         .arg(verb, db, table));
      return out;
    }
    if (e.code == SQLITE_CONSTRAINT_TRIGGER) {
      out << entry(50000, m, err::CommandError, QStringLiteral("42000"));
      return out;
    }
    integrity(547, m);
    return out;
  }
  if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED) {
    out << entry(1222, QStringLiteral("Lock request time out period exceeded."), err::CommandError,
                 QStringLiteral("HYT00"));
    return out;
  }
  if (primary == SQLITE_READONLY) {
    out << entry(
        3906, QStringLiteral("Failed to update database \"%1\" because the database is read-only.").arg(db),
        err::CommandError, QStringLiteral("42000"));
    return out;
  }
  static const QRegularExpression nearRe(QStringLiteral("^near \"(.*)\": syntax error"));
  const auto nm = nearRe.match(m);
  if (nm.hasMatch()) {
    out << entry(102, QStringLiteral("Incorrect syntax near '%1'.").arg(nm.captured(1)), err::CommandError,
                 QStringLiteral("42000"));
    return out;
  }
  if (m.startsWith(QLatin1String("incomplete input")) || m.startsWith(QLatin1String("unrecognized token"))) {
    QString last = st.source.trimmed();
    const int sp = last.lastIndexOf(QRegularExpression(QStringLiteral("\\s")));
    if (sp >= 0)
      last = last.mid(sp + 1);
    out << entry(102, QStringLiteral("Incorrect syntax near '%1'.").arg(last), err::CommandError,
                 QStringLiteral("42000"));
    return out;
  }
  const bool dropping =
      st.kind == Kind::DropTable || (st.kind == Kind::Ddl && st.verb == QLatin1String("DROP"));
  if (m.startsWith(QLatin1String("no such table:")) || m.startsWith(QLatin1String("no such view:")) ||
      m.startsWith(QLatin1String("no such index:")) || m.startsWith(QLatin1String("no such trigger:"))) {
    const QString name = stripSchema(afterColon(m));
    if (dropping) {
      QString what = st.option.toLower();
      out << entry(3701,
                   QStringLiteral("Cannot drop the %1 '%2', because it does not exist or you do not have "
                                  "permission.")
                       .arg(what, name),
                   err::CommandError, QStringLiteral("42S02"));
      return out;
    }
    *nameError = true;
    out << entry(208, QStringLiteral("Invalid object name '%1'.").arg(name), err::InvalidObject,
                 QStringLiteral("42S02"));
    return out;
  }
  if (m.startsWith(QLatin1String("no such column:"))) {
    const QString name = afterColon(m);
    *nameError = true;
    if (name.contains(QLatin1Char('.')))
      out << entry(4104, QStringLiteral("The multi-part identifier \"%1\" could not be bound.").arg(name),
                   err::CommandError, QStringLiteral("42000"));
    else
      out << entry(207, QStringLiteral("Invalid column name '%1'.").arg(name), err::CommandError,
                   QStringLiteral("42S22"));
    return out;
  }
  static const QRegularExpression noColumn(QStringLiteral("^table (\\S+) has no column named (.+)$"));
  const auto nc = noColumn.match(m);
  if (nc.hasMatch()) {
    *nameError = true;
    out << entry(207, QStringLiteral("Invalid column name '%1'.").arg(nc.captured(2)), err::CommandError,
                 QStringLiteral("42S22"));
    return out;
  }
  static const QRegularExpression exists(QStringLiteral("^(table|view|trigger|index) (.+) already exists$"));
  const auto ex = exists.match(m);
  if (ex.hasMatch()) {
    QString name = stripSchema(ex.captured(2));
    if (name.startsWith(QLatin1Char('"')) && name.endsWith(QLatin1Char('"')))
      name = name.mid(1, name.size() - 2);
    if (ex.captured(1) == QLatin1String("index")) {
      QString index = name;
      if (index.startsWith(st.table + QLatin1Char('.'), Qt::CaseInsensitive))
        index = index.mid(st.table.size() + 1);
      out << entry(
          1913,
          QStringLiteral("The operation failed because an index or statistics with name '%1' already "
                         "exists on table '%2'.")
              .arg(index, st.table),
          err::CommandError, QStringLiteral("42S11"));
    } else {
      out << entry(2714, QStringLiteral("There is already an object named '%1' in the database.").arg(name),
                   err::CommandError, QStringLiteral("42S01"));
    }
    return out;
  }
  if (m.startsWith(QLatin1String("duplicate column name:"))) {
    out << entry(
        2705,
        QStringLiteral("Column names in each table must be unique. Column name '%1' in table '%2' is "
                       "specified more than once.")
            .arg(afterColon(m), st.table),
        err::CommandError, QStringLiteral("42S21"));
    return out;
  }
  if (m.startsWith(QLatin1String("no such function:"))) {
    out << entry(195, QStringLiteral("'%1' is not a recognized built-in function name.").arg(afterColon(m)),
                 err::CommandError, QStringLiteral("42000"));
    return out;
  }
  if (m.startsWith(QLatin1String("ambiguous column name:"))) {
    *nameError = true;
    out << entry(209, QStringLiteral("Ambiguous column name '%1'.").arg(afterColon(m)), err::CommandError,
                 QStringLiteral("42000"));
    return out;
  }
  if (m.contains(QLatin1String("values were supplied")) || m.contains(QLatin1String("values for"))) {
    out << entry(213,
                 QStringLiteral("Column name or number of supplied values does not match table definition."),
                 err::CommandError, QStringLiteral("21S01"));
    return out;
  }
  out << entry(e.code, m, err::CommandError, QStringLiteral("HY000"));
  return out;
}

// ---------------------------------------------------------------------------
// Schema catalogue

std::unique_ptr<ado::ResultSet> ConexionSqlite::openSchema(int schema, const QVariantList &restrictions) {
  requireOpen();
  errors_.clear();
  auto restriction = [&](int i) {
    return i < restrictions.size() && !restrictions[i].isNull() ? restrictions[i].toString().trimmed()
                                                                : QString();
  };
  auto rs = std::make_unique<ado::ResultSet>();
  auto column = [&](const char *name, int type, long size) {
    ado::Column c;
    c.name = QLatin1String(name);
    c.type = type;
    c.definedSize = size;
    rs->columns.push_back(c);
  };
  const QString catalog = restriction(0), owner = restriction(1), table = restriction(2);
  const bool other = (!catalog.isEmpty() && catalog.compare(database_, Qt::CaseInsensitive) != 0) ||
                     (!owner.isEmpty() && owner.compare(QLatin1String("dbo"), Qt::CaseInsensitive) != 0);
  const QString objects =
      QStringLiteral("SELECT name, type FROM sqlite_master WHERE type IN ('table','view') AND name NOT LIKE "
                     "'sqlite\\_%' ESCAPE '\\' "
                     "AND name <> 'zv_triggers_disabled' AND (?1 = '' OR name = ?1 COLLATE NOCASE) "
                     "ORDER BY type, name COLLATE NOCASE");
  if (schema == ado::adSchemaTables) {
    column("TABLE_CATALOG", ado::adVarWChar, 128);
    column("TABLE_SCHEMA", ado::adVarWChar, 128);
    column("TABLE_NAME", ado::adVarWChar, 128);
    column("TABLE_TYPE", ado::adVarWChar, 32);
    column("DESCRIPTION", ado::adVarWChar, 255);
    const QString type = restriction(3).toUpper();
    if (other)
      return rs;
    for (const QStringList &r : rows(objects, {table})) {
      const QString t = r[1] == QLatin1String("view") ? QStringLiteral("VIEW") : QStringLiteral("TABLE");
      if (!type.isEmpty() && type != t)
        continue;
      rs->rows.push_back({database_, QStringLiteral("dbo"), r[0], t, QVariant()});
    }
    return rs;
  }
  if (schema == ado::adSchemaColumns) {
    column("TABLE_CATALOG", ado::adVarWChar, 128);
    column("TABLE_SCHEMA", ado::adVarWChar, 128);
    column("TABLE_NAME", ado::adVarWChar, 128);
    column("COLUMN_NAME", ado::adVarWChar, 128);
    column("ORDINAL_POSITION", ado::adUnsignedInt, 4);
    column("COLUMN_HASDEFAULT", ado::adBoolean, 2);
    column("COLUMN_DEFAULT", ado::adVarWChar, 255);
    column("IS_NULLABLE", ado::adBoolean, 2);
    column("DATA_TYPE", ado::adUnsignedSmallInt, 2);
    column("CHARACTER_MAXIMUM_LENGTH", ado::adUnsignedInt, 4);
    const QString wanted = restriction(3);
    if (other)
      return rs;
    QVector<QStringList> objs = rows(objects, {table});
    std::sort(objs.begin(), objs.end(), [](const QStringList &a, const QStringList &b) {
      return a[0].compare(b[0], Qt::CaseInsensitive) < 0;
    });
    for (const QStringList &o : objs) {
      const QString sql = createSqlOf(o[0]);
      const auto cols = rows(QStringLiteral("SELECT name, type, \"notnull\", dflt_value, pk, hidden FROM "
                                            "pragma_table_xinfo(?1) ORDER BY cid"),
                             {o[0]});
      int ordinal = 0;
      for (const QStringList &c : cols) {
        if (c[5] == QLatin1String("1"))
          continue;
        ++ordinal;
        if (!wanted.isEmpty() && wanted.compare(c[0], Qt::CaseInsensitive) != 0)
          continue;
        const TipoColumna t = tipoDeclarado(c[1]);
        const bool rowid =
            c[4] == QLatin1String("1") && c[1].compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0;
        const bool notNull = c[2] == QLatin1String("1") || rowid ||
                             sql.contains(quoteIdent(QStringLiteral("ZVNN_") + c[0]), Qt::CaseInsensitive);
        QVariant maxLen;
        if (t.text)
          maxLen = qint64(t.length > 0 ? t.length : t.definedSize);
        rs->rows.push_back({database_, QStringLiteral("dbo"), o[0], c[0], qint64(ordinal), !c[3].isEmpty(),
                            c[3].isEmpty() ? QVariant() : QVariant(c[3]), !notNull, t.adoType, maxLen});
      }
    }
    return rs;
  }
  raise(3251, QStringLiteral("Object or provider is not capable of performing requested operation."),
        err::NotSupported, QStringLiteral("HY000"));
}

} // namespace zv::sqlite
