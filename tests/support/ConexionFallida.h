#pragma once
// Connections for tests of the data-access layer.
//
// ConexionFallida wraps another connection and makes chosen calls fail on
// demand with a given ADO number and native code, the way a lost server
// does: the error list is replaced by one entry and the call throws. The
// lost-connection handling and its counters are tested with it.
//
// ConexionGuion is a scripted in-memory connection: it records what it is
// asked, answers queries through a handler and reports a fixed catalogue.
#include "platform/Ado.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <memory>

namespace zv::test {

class ConexionFallida : public ado::Connection {
public:
  enum class Operacion { Abrir, Cerrar, Ejecutar, Esquema };
  struct Falla {
    Operacion operacion = Operacion::Ejecutar;
    long numero = 0;
    long nativo = 0;
    QString descripcion;
    QString sqlState;
    QString soloSiContiene; // Ejecutar: fails only a text that contains this
    bool conLista = true;   // false: the call throws and leaves the error list alone
  };

  explicit ConexionFallida(std::unique_ptr<ado::Connection> interna);

  // The next `veces` calls of the operation fail.
  ConexionFallida &fallar(Operacion op, long numero, long nativo, int veces = 1,
                          const QString &descripcion = QStringLiteral("Falla provocada"),
                          const QString &sqlState = QStringLiteral("08S01"));
  ConexionFallida &fallarSi(const QString &contiene, long numero, long nativo, int veces = 1,
                            const QString &descripcion = QStringLiteral("Falla provocada"));
  // A failure of the object itself (3705, 3704 ...): nothing goes into the error list.
  ConexionFallida &fallarSinLista(Operacion op, long numero, int veces = 1,
                                  const QString &descripcion = QStringLiteral("Falla provocada"));
  int pendientes() const { return int(fallas_.size()); }

  int aperturas = 0, cierres = 0, ejecuciones = 0, fallasDadas = 0;
  QStringList cadenasAbiertas;
  ado::Connection &interna() { return *interna_; }

  void open(const QString &cs, const QString &user, const QString &password, long options) override;
  void close() override;
  int state() const override { return interna_->state(); }
  QString connectionString() const override { return interna_->connectionString(); }
  void setDefaultDatabase(const QString &n) override { interna_->setDefaultDatabase(n); }
  QString defaultDatabase() const override { return interna_->defaultDatabase(); }
  void setCommandTimeout(int s) override { interna_->setCommandTimeout(s); }
  int commandTimeout() const override { return interna_->commandTimeout(); }
  void setIsolationLevel(long l) override { interna_->setIsolationLevel(l); }
  long isolationLevel() const override { return interna_->isolationLevel(); }
  void setCursorLocation(int l) override { interna_->setCursorLocation(l); }
  int cursorLocation() const override { return interna_->cursorLocation(); }
  std::unique_ptr<ado::ResultSet> execute(const QString &text, long *recordsAffected, long options) override;
  int beginTrans() override { return interna_->beginTrans(); }
  void commitTrans() override { interna_->commitTrans(); }
  void rollbackTrans() override { interna_->rollbackTrans(); }
  ado::ErrorList &errors() override { return interna_->errors(); }
  std::unique_ptr<ado::ResultSet> openSchema(int schema, const QVariantList &restrictions) override;

private:
  void tal_vez_fallar(Operacion op, const QString &texto = {});
  std::unique_ptr<ado::Connection> interna_;
  std::deque<Falla> fallas_;
};

class ConexionGuion : public ado::Connection {
public:
  // Answers a query or statement: the result set (or null) and the rows touched.
  using Respuesta = std::function<std::unique_ptr<ado::ResultSet>(const QString &texto, long *afectados)>;

  Respuesta respuesta;
  QStringList ejecutadas; // every executed text, in order
  QStringList registro;   // every call: "open:<cs>", "close", "begin", "commit", "rollback", "exec:<text>"
  QStringList tablas;     // the catalogue of tables (views included)
  QList<QPair<QString, QString>> columnas;   // (table, column) of the catalogue of columns
  QString catalogo = QStringLiteral("DEMO"); // the catalogue the columns belong to
  QVariantList ultimasRestricciones;
  QString cadenaReportada; // when set, the connection string reported instead of the one opened

  void open(const QString &cs, const QString &user, const QString &password, long options) override;
  void close() override;
  int state() const override { return abierta_ ? ado::adStateOpen : ado::adStateClosed; }
  QString connectionString() const override { return cadenaReportada.isEmpty() ? cadena_ : cadenaReportada; }
  void setDefaultDatabase(const QString &n) override { base_ = n; }
  QString defaultDatabase() const override { return base_; }
  void setCommandTimeout(int s) override { timeout_ = s; }
  int commandTimeout() const override { return timeout_; }
  void setIsolationLevel(long l) override { aislamiento_ = l; }
  long isolationLevel() const override { return aislamiento_; }
  void setCursorLocation(int l) override { cursor_ = l; }
  int cursorLocation() const override { return cursor_; }
  std::unique_ptr<ado::ResultSet> execute(const QString &text, long *recordsAffected, long options) override;
  int beginTrans() override;
  void commitTrans() override;
  void rollbackTrans() override;
  ado::ErrorList &errors() override { return errores_; }
  std::unique_ptr<ado::ResultSet> openSchema(int schema, const QVariantList &restrictions) override;

  QString usuarioAbierto, claveAbierta;

private:
  bool abierta_ = false;
  QString cadena_, base_;
  int timeout_ = 30, cursor_ = ado::adUseServer, nivel_ = 0;
  long aislamiento_ = ado::adIsolationReadCommitted;
  ado::ErrorList errores_;
};

// A one-column result with the given rows (for scripted answers).
std::unique_ptr<ado::ResultSet> filas(const QString &columna, const QVariantList &valores);

} // namespace zv::test
