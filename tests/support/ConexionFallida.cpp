#include "support/ConexionFallida.h"

namespace zv::test {

namespace {
ado::Column columna(const QString &nombre) {
  ado::Column c;
  c.name = nombre;
  return c;
}

const QString kFuente = QStringLiteral("Microsoft OLE DB Provider for SQL Server");

[[noreturn]] void lanzar(ado::ErrorList &errores, long numero, long nativo, const QString &descripcion,
                         const QString &estado) {
  errores.clear();
  ado::ErrorEntry e;
  e.number = numero;
  e.nativeError = nativo;
  e.description = descripcion;
  e.sqlState = estado;
  e.source = kFuente;
  errores.add(e);
  throw AppError(numero, descripcion, kFuente);
}
} // namespace

// ----------------------------------------------------------- ConexionFallida

ConexionFallida::ConexionFallida(std::unique_ptr<ado::Connection> interna) : interna_(std::move(interna)) {}

ConexionFallida &ConexionFallida::fallar(Operacion op, long numero, long nativo, int veces,
                                         const QString &descripcion, const QString &sqlState) {
  for (int i = 0; i < veces; ++i)
    fallas_.push_back({op, numero, nativo, descripcion, sqlState, {}});
  return *this;
}

ConexionFallida &ConexionFallida::fallarSi(const QString &contiene, long numero, long nativo, int veces,
                                           const QString &descripcion) {
  for (int i = 0; i < veces; ++i)
    fallas_.push_back({Operacion::Ejecutar, numero, nativo, descripcion, QStringLiteral("08S01"), contiene});
  return *this;
}

ConexionFallida &ConexionFallida::fallarSinLista(Operacion op, long numero, int veces,
                                                 const QString &descripcion) {
  for (int i = 0; i < veces; ++i)
    fallas_.push_back({op, numero, 0, descripcion, QString(), {}, false});
  return *this;
}

void ConexionFallida::tal_vez_fallar(Operacion op, const QString &texto) {
  for (auto it = fallas_.begin(); it != fallas_.end(); ++it) {
    if (it->operacion != op)
      continue;
    if (!it->soloSiContiene.isEmpty() && !texto.contains(it->soloSiContiene, Qt::CaseInsensitive))
      continue;
    const Falla f = *it;
    fallas_.erase(it);
    ++fallasDadas;
    if (!f.conLista)
      throw AppError(f.numero, f.descripcion, QStringLiteral("ADODB.Connection"));
    lanzar(interna_->errors(), f.numero, f.nativo, f.descripcion, f.sqlState);
  }
}

void ConexionFallida::open(const QString &cs, const QString &user, const QString &password, long options) {
  ++aperturas;
  cadenasAbiertas << cs;
  tal_vez_fallar(Operacion::Abrir);
  interna_->open(cs, user, password, options);
}

void ConexionFallida::close() {
  ++cierres;
  tal_vez_fallar(Operacion::Cerrar);
  interna_->close();
}

std::unique_ptr<ado::ResultSet> ConexionFallida::execute(const QString &text, long *recordsAffected,
                                                         long options) {
  ++ejecuciones;
  tal_vez_fallar(Operacion::Ejecutar, text);
  return interna_->execute(text, recordsAffected, options);
}

std::unique_ptr<ado::ResultSet> ConexionFallida::openSchema(int schema, const QVariantList &restrictions) {
  tal_vez_fallar(Operacion::Esquema);
  return interna_->openSchema(schema, restrictions);
}

// ------------------------------------------------------------- ConexionGuion

void ConexionGuion::open(const QString &cs, const QString &user, const QString &password, long) {
  registro << QStringLiteral("open:") + cs;
  if (abierta_)
    throw AppError(err::ObjectOpen, QStringLiteral("Operation is not allowed when the object is open."),
                   QStringLiteral("ADODB.Connection"));
  cadena_ = cs;
  usuarioAbierto = user;
  claveAbierta = password;
  abierta_ = true;
}

void ConexionGuion::close() {
  registro << QStringLiteral("close");
  if (!abierta_)
    throw AppError(err::ObjectClosed, QStringLiteral("Operation is not allowed when the object is closed."),
                   QStringLiteral("ADODB.Connection"));
  abierta_ = false;
}

std::unique_ptr<ado::ResultSet> ConexionGuion::execute(const QString &text, long *recordsAffected, long) {
  registro << QStringLiteral("exec:") + text;
  if (!abierta_)
    throw AppError(err::ObjectClosed, QStringLiteral("Operation is not allowed when the object is closed."),
                   QStringLiteral("ADODB.Connection"));
  ejecutadas << text;
  long n = 0;
  auto r = respuesta ? respuesta(text, &n) : nullptr;
  if (recordsAffected)
    *recordsAffected = n;
  return r;
}

int ConexionGuion::beginTrans() {
  registro << QStringLiteral("begin");
  return ++nivel_;
}

void ConexionGuion::commitTrans() {
  registro << QStringLiteral("commit");
  --nivel_;
}

void ConexionGuion::rollbackTrans() {
  registro << QStringLiteral("rollback");
  --nivel_;
}

std::unique_ptr<ado::ResultSet> ConexionGuion::openSchema(int schema, const QVariantList &restrictions) {
  ultimasRestricciones = restrictions;
  auto r = std::make_unique<ado::ResultSet>();
  auto restriccion = [&](int i) { return restrictions.value(i).toString(); };
  auto coincide = [](const QString &r, const QString &v) {
    return r.isEmpty() || r.compare(v, Qt::CaseInsensitive) == 0;
  };
  if (schema == ado::adSchemaTables) {
    r->columns = {columna(QStringLiteral("TABLE_CATALOG")), columna(QStringLiteral("TABLE_NAME"))};
    for (const QString &t : tablas)
      if (coincide(restriccion(2), t))
        r->rows.push_back({catalogo, t});
  } else if (schema == ado::adSchemaColumns) {
    r->columns = {columna(QStringLiteral("TABLE_CATALOG")), columna(QStringLiteral("TABLE_NAME")),
                  columna(QStringLiteral("COLUMN_NAME"))};
    for (const auto &[t, c] : columnas)
      if (coincide(restriccion(0), catalogo) && coincide(restriccion(2), t) && coincide(restriccion(3), c))
        r->rows.push_back({catalogo, t, c});
  }
  return r;
}

std::unique_ptr<ado::ResultSet> filas(const QString &nombreColumna, const QVariantList &valores) {
  auto r = std::make_unique<ado::ResultSet>();
  r->columns = {columna(nombreColumna)};
  for (const QVariant &v : valores)
    r->rows.push_back({v});
  return r;
}

} // namespace zv::test
