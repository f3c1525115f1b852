// Field-list statement builders: INSERT and UPDATE statements built from the
// module's list of column and value pairs.
#include "startup/ModuloGlobal.h"

namespace zv::startup {

namespace {

QString columnas(const ListaCampos &lista) {
  QStringList r;
  for (const ParCampo &p : lista)
    r << p.Campo;
  return r.join(QLatin1Char(','));
}

QString valores(const ListaCampos &lista) {
  QStringList r;
  for (const ParCampo &p : lista)
    r << p.Valor;
  return r.join(QLatin1Char(','));
}

} // namespace

void ModuloGlobal::AgregaCampo(const QString &Campo, QString &Valor, const QString &Tipo, bool Nuevo) {
  if (Nuevo)
    Campos = ListaCampos{ParCampo{}};
  else
    Campos.push_back(ParCampo{});
  // Apostrophes are dropped, not doubled; the caller's text loses them too.
  Valor.remove(QLatin1Char('\''));
  ParCampo &par = Campos.last();
  par.Campo = Campo;
  if (Valor.toUpper() == QLatin1String("NULL"))
    par.Valor = QStringLiteral("Null");
  else
    par.Valor = db::DB_Dll::SQLValue(Valor, Tipo).toString();
}

void ModuloGlobal::ArmaInsert(QString &Texto, ListaCampos &Lista, bool Limpiar) {
  Texto = Texto + QLatin1Char('(') + columnas(Lista) + QLatin1Char(')') + QStringLiteral(" VALUES (") +
          valores(Lista) + QLatin1Char(')');
  if (Limpiar)
    Lista.clear();
}

void ModuloGlobal::ArmaSentencia(ListaCampos &Lista, QStringList &Guion, const QString &Tabla, bool EsUpdate,
                                 QString &Condicion, bool Conservar) {
  QString sentencia;
  if (!EsUpdate) {
    sentencia = QStringLiteral("INSERT INTO ") + Tabla + QLatin1Char(' ') + QLatin1Char('(') +
                columnas(Lista) + QLatin1Char(')') + QStringLiteral(" VALUES (") + valores(Lista) +
                QLatin1Char(')');
  } else {
    QStringList asignaciones;
    for (const ParCampo &p : Lista)
      asignaciones << p.Campo + QStringLiteral(" = ") + p.Valor;
    if (!Condicion.contains(QLatin1String("WHERE"), Qt::CaseInsensitive))
      Condicion = QStringLiteral(" WHERE ") + Condicion;
    sentencia = QStringLiteral("UPDATE ") + Tabla + QStringLiteral(" SET ") +
                asignaciones.join(QLatin1Char(',')) + QLatin1Char(' ') + Condicion;
  }
  Guion << sentencia << QString();
  if (!Conservar)
    Lista = ListaCampos{ParCampo{}};
}

} // namespace zv::startup
