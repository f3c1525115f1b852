#include "platform/Proveedores.h"

#include <QDir>
#include <QProcessEnvironment>

namespace zv {

namespace {

// A connection that becomes the embedded engine or an ODBC connection when
// it is opened, according to the server the connection string names. The
// settings made before opening are handed on to the chosen back end.
class ConexionElegible : public ado::Connection {
public:
  explicit ConexionElegible(ProviderConfig config) : config_(std::move(config)) {}

  void open(const QString &connectionString, const QString &user, const QString &password,
            long options) override {
    if (real_ && real_->state() == ado::adStateOpen)
      throw AppError(err::ObjectOpen, QStringLiteral("Operation is not allowed when the object is open."),
                     QStringLiteral("ADODB.Connection"));
    const ado::ConnectionString cs(connectionString);
    const QString server = cs.value(QStringList{QStringLiteral("Server"), QStringLiteral("Data Source"),
                                                QStringLiteral("Address"), QStringLiteral("Addr"),
                                                QStringLiteral("Network Address")});
    const bool sqlite = server.compare(QLatin1String("SQLITE"), Qt::CaseInsensitive) == 0;
    if (!real_ || sqlite != sqlite_) {
      real_ = sqlite ? createSqliteConnection(config_) : createOdbcConnection(config_);
      sqlite_ = sqlite;
    }
    real_->setCommandTimeout(timeout_);
    real_->setIsolationLevel(isolation_);
    real_->setCursorLocation(cursorLocation_);
    if (!pendingDatabase_.isEmpty())
      real_->setDefaultDatabase(pendingDatabase_);
    real_->open(connectionString, user, password, options);
    pendingDatabase_.clear();
  }

  void close() override {
    if (!real_)
      throw AppError(err::ObjectClosed, QStringLiteral("Operation is not allowed when the object is closed."),
                     QStringLiteral("ADODB.Connection"));
    real_->close();
  }
  int state() const override { return real_ ? real_->state() : ado::adStateClosed; }
  QString connectionString() const override { return real_ ? real_->connectionString() : QString(); }

  void setDefaultDatabase(const QString &name) override {
    if (real_ && real_->state() == ado::adStateOpen)
      real_->setDefaultDatabase(name);
    else
      pendingDatabase_ = name;
  }
  QString defaultDatabase() const override {
    return real_ && real_->state() == ado::adStateOpen ? real_->defaultDatabase() : pendingDatabase_;
  }
  void setCommandTimeout(int seconds) override {
    timeout_ = seconds;
    if (real_)
      real_->setCommandTimeout(seconds);
  }
  int commandTimeout() const override { return timeout_; }
  void setIsolationLevel(long level) override {
    isolation_ = level;
    if (real_)
      real_->setIsolationLevel(level);
  }
  long isolationLevel() const override { return isolation_; }
  void setCursorLocation(int location) override {
    cursorLocation_ = location;
    if (real_)
      real_->setCursorLocation(location);
  }
  int cursorLocation() const override { return cursorLocation_; }

  std::unique_ptr<ado::ResultSet> execute(const QString &text, long *recordsAffected, long options) override {
    return opened().execute(text, recordsAffected, options);
  }
  int beginTrans() override { return opened().beginTrans(); }
  void commitTrans() override { opened().commitTrans(); }
  void rollbackTrans() override { opened().rollbackTrans(); }
  ado::ErrorList &errors() override { return real_ ? real_->errors() : errors_; }
  std::unique_ptr<ado::ResultSet> openSchema(int schema, const QVariantList &restrictions) override {
    return opened().openSchema(schema, restrictions);
  }

private:
  ProviderConfig config_;
  std::unique_ptr<ado::Connection> real_;
  bool sqlite_ = false;
  QString pendingDatabase_;
  int timeout_ = 30;
  long isolation_ = ado::adIsolationReadCommitted;
  int cursorLocation_ = ado::adUseServer;
  ado::ErrorList errors_;

  ado::Connection &opened() {
    if (!real_)
      throw AppError(
          err::ConnectionClosedOrInvalid,
          QStringLiteral("The connection cannot be used to perform this operation. It is either closed "
                         "or invalid in this context."),
          QStringLiteral("ADODB.Connection"));
    return *real_;
  }
};

} // namespace

ProviderConfig providerConfigFromEnvironment(const QString &programFolder) {
  const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  ProviderConfig c;
  c.dataFolder = env.value(QStringLiteral("ZV_DATOS"));
  if (c.dataFolder.isEmpty())
    c.dataFolder = QDir(programFolder).filePath(QStringLiteral("datos"));
  const QString sqlServer = env.value(QStringLiteral("ZV_ODBC_SQLSERVER"));
  if (!sqlServer.isEmpty())
    c.odbcSqlServerDriver = sqlServer;
  c.odbcOracleDriver = env.value(QStringLiteral("ZV_ODBC_ORACLE"));
  c.odbcTdsVersion = env.value(QStringLiteral("ZV_ODBC_TDS_VERSION"));
  return c;
}

ado::ConnectionFactory connectionFactory(const ProviderConfig &config) {
  return
      [config]() -> std::unique_ptr<ado::Connection> { return std::make_unique<ConexionElegible>(config); };
}

} // namespace zv
