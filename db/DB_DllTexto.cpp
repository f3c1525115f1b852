// DB_Dll: SQL literals, type classifiers, object names, the user-scoped views
// and the Oracle dialect translation. None of these touches the database.
#include "db/DB_Dll.h"

#include "db/TextoSql.h"

#include <QDate>
#include <QRegularExpression>
#include <initializer_list>

namespace zv::db {

using texto::contiene;
using texto::posicion;
using texto::recortarBlancos;
using texto::reemplazar;

namespace {

bool esUno(const QVariant &codigo, std::initializer_list<int> codigos) {
  bool ok = false;
  const int c = codigo.toInt(&ok);
  if (!ok)
    return false;
  for (int x : codigos)
    if (c == x)
      return true;
  return false;
}

[[noreturn]] void argumentoInvalido(const QString &detalle) {
  throw AppError(err::InvalidArgument,
                 QStringLiteral("Llamada a procedimiento o argumento no válido: ") + detalle,
                 QStringLiteral("DB_Dll.ORACLE_Dicc"));
}

} // namespace

// ----------------------------------------------------------------- literals

QVariant DB_Dll::SQLValue(const QVariant &Valor, const QString &Tipo) {
  QVariant valor = Valor;
  QString abre, cierra;
  const bool nulo = !valor.isValid() || valor.isNull();
  if (Tipo.compare(QLatin1String("@"), Qt::CaseInsensitive) == 0) {
    const QString comoTexto = nulo ? QStringLiteral("0") : kit::Utilidades::SinNulo(valor);
    const double numero = kit::Utilidades::ANumero(comoTexto);
    valor = kit::Utilidades::Reemplazar(QString::number(numero, 'g', 15), QStringLiteral(","),
                                        QStringLiteral("."));
  } else if (Tipo == QLatin1String("'")) {
    abre = cierra = QStringLiteral("'");
  }
  QString cuerpo;
  if (!valor.isValid() || valor.isNull()) {
    cuerpo = QStringLiteral("NULL");
    abre.clear();
    cierra.clear();
  } else {
    cuerpo = kit::Utilidades::SinNulo(valor);
  }
  return abre + cuerpo + cierra;
}

QVariant DB_Dll::SQLValue2(const QVariant &Valor, const QString &Tipo) { return SQLValue(Valor, Tipo); }

bool DB_Dll::adodate(const QVariant &Qtype) { return esUno(Qtype, {7, 133, 137, 134, 135, 64}); }
bool DB_Dll::ADOText(const QVariant &Qtype) { return esUno(Qtype, {8, 201, 203, 200, 202, 130, 129}); }
bool DB_Dll::ADONumeric(const QVariant &Qtype) {
  return esUno(Qtype, {20, 14, 5, 3, 131, 4, 2, 16, 21, 19, 18, 17});
}
bool DB_Dll::ADOCurrency(const QVariant &Qtype) { return esUno(Qtype, {6}); }
bool DB_Dll::ADOBoolean(const QVariant &Qtype) { return esUno(Qtype, {11}); }
QString DB_Dll::ADOComilla(const QVariant &Qtype) {
  return adodate(Qtype) || ADOText(Qtype) ? QStringLiteral("'") : QString();
}

// -------------------------------------------------------------------- names

QString DB_Dll::AddBrackets(const QString &rObjName) {
  if (rObjName.contains(u' ') && !rObjName.startsWith(u'['))
    return QStringLiteral("[") + rObjName + QStringLiteral("]");
  return rObjName;
}

QString DB_Dll::StripBrackets(const QString &rsObjName) {
  if (rsObjName.startsWith(u'['))
    return rsObjName.mid(1, rsObjName.size() - 2);
  return rsObjName;
}

QString DB_Dll::StripOwner(QString &rsTblName) {
  const qsizetype punto = rsTblName.indexOf(u'.');
  if (punto >= 0)
    rsTblName = rsTblName.mid(punto + 1);
  return rsTblName;
}

QString DB_Dll::StripConnect(const QString &rsTblName) {
  const qsizetype flecha = rsTblName.indexOf(QLatin1String("->"));
  if (flecha < 0)
    return rsTblName;
  // Up to two characters before the arrow: the blank in front of it goes too.
  return rsTblName.left(qMax<qsizetype>(0, flecha - 1));
}

QString DB_Dll::stSTF(QString &rsName, bool rnPart) {
  const qsizetype puntos = rsName.count(u'.');
  if (puntos == 0)
    return rsName;
  if (puntos == 1) {
    const qsizetype p = rsName.indexOf(u'.');
    return rnPart ? rsName.mid(p + 1) : rsName.left(p);
  }
  return StripOwner(rsName);
}

QString DB_Dll::StripFileName(const QString &rsFileName) {
  const qsizetype barra = qMax(rsFileName.lastIndexOf(u'\\'), rsFileName.lastIndexOf(u'/'));
  return barra < 0 ? QString() : rsFileName.left(barra);
}

// --------------------------------------------------------- user-scoped views

namespace {

// Replaces a name only where it stands between the context characters.
QString sustituirNombre(const QString &texto, const QString &nombre, const QString &vista, bool conLlave) {
  static const std::pair<const char *, const char *> contextos[] = {
      {" ", " "}, {"(", " "}, {" ", "."}, {"(", "."}, {",", "."}};
  QString r = texto;
  for (const auto &[antes, despues] : contextos) {
    const QString a = QString::fromLatin1(antes), d = QString::fromLatin1(despues);
    r = reemplazar(r, a + nombre + d, a + vista + d);
  }
  if (conLlave)
    r = reemplazar(r, QStringLiteral("{") + nombre + QStringLiteral("."),
                   QStringLiteral("{") + vista + QStringLiteral("."));
  return r;
}

} // namespace

QString DB_Dll::SS_TSinonimos(const QString &texto) {
  const QString marca = QStringLiteral("@Admin_");
  QString r = texto;
  if (gEsAdmin)
    return reemplazar(r, marca, QString());
  if (contiene(r, QStringLiteral("MV_ASIENTOS")) && !entorno_.valores.gConfidencialidad)
    return reemplazar(r, marca, QString());

  r = sustituirNombre(r, QStringLiteral("MA_CUENTAS"), QStringLiteral("SS_MA_CUENTAS"), true);
  if (contiene(r, QStringLiteral("@admin_"))) {
    r = reemplazar(r, QStringLiteral("@Admin_MA_CUENTAS"), QStringLiteral("MA_CUENTAS"));
    r = reemplazar(r, QStringLiteral("SS_MA_CUENTAS"), QStringLiteral("MA_CUENTAS"));
  }
  const QString programa = entorno_.sistema.nombreEjecutable();
  auto es = [&](const char *nombre) {
    return programa.compare(QLatin1String(nombre), Qt::CaseInsensitive) == 0;
  };
  if (!es("D_UDOD_URUVI_ROVEV") && !es("DA_ZIDAD"))
    r = sustituirNombre(r, QStringLiteral("V_TA_DEPOSITO"), QStringLiteral("SS_V_TA_DEPOSITO"), false);
  r = sustituirNombre(r, QStringLiteral("MV_ASIENTOS"), QStringLiteral("SS_MV_ASIENTOS"), false);
  if (!es("RAZARER") && !es("VIZ"))
    r = sustituirNombre(r, QStringLiteral("V_TA_FAMILIAS"), QStringLiteral("SS_V_TA_FAMILIAS"), false);
  r = sustituirNombre(r, QStringLiteral("V_TA_CAJAS"), QStringLiteral("SS_V_TA_CAJAS"), false);
  r = sustituirNombre(r, QStringLiteral("AC_CUENTASDIARIO"), QStringLiteral("SS_AC_CUENTASDIARIO"), false);
  r = sustituirNombre(r, QStringLiteral("AC_CUENTASDIARIO_CCOSTO"),
                      QStringLiteral("SS_AC_CUENTAS_DIARIO_CCOSTO"), false);
  return reemplazar(r, marca, QString());
}

// ------------------------------------------------------------ Oracle dialect

namespace {

// Rule 1: TOP n becomes a ROWNUM limit after the condition, before any
// grouping or ordering tail.
QString limiteFilas(const QString &t) {
  if (!contiene(t, QStringLiteral("top ")))
    return t;
  const int pTop = posicion(t, QStringLiteral("top"));
  const QString cabeza = t.left(pTop - 1);
  const QString cola = recortarBlancos(t.mid(pTop - 1 + 3));
  const qsizetype blanco = cola.indexOf(u' ');
  if (blanco < 0)
    argumentoInvalido(QStringLiteral("el límite de filas no va seguido de nada"));
  const QString cuenta = cola.left(blanco);
  QString resto = cola.mid(blanco + 1);
  QString agrupar, ordenar;
  if (const int g = posicion(t, QStringLiteral(" GROUP BY ")); g > 0)
    agrupar = t.mid(g - 1);
  else if (const int o = posicion(t, QStringLiteral("ORDER BY ")); o > 0)
    ordenar = t.mid(o - 1);
  const QString limite = (contiene(t, QStringLiteral(" WHERE ")) ? QStringLiteral(" AND ROWNUM <= ")
                                                                 : QStringLiteral(" WHERE ROWNUM <= ")) +
                         cuenta;
  resto = reemplazar(resto, recortarBlancos(agrupar), QStringLiteral(" "));
  resto = reemplazar(resto, recortarBlancos(ordenar), QStringLiteral(" "));
  return cabeza + QStringLiteral(" ") + resto + QStringLiteral(" ") + limite + QStringLiteral(" ") + agrupar +
         QStringLiteral(" ") + ordenar;
}

// A literal's content read as a day/month/year date: one or two digits for
// day and month, four for the year, "/" or "-" between them.
std::optional<QDate> fechaDMA(const QString &contenido) {
  static const QRegularExpression patron(QStringLiteral("^\\s*(\\d{1,2})([/-])(\\d{1,2})\\2(\\d{4})\\s*$"));
  const auto m = patron.match(contenido);
  if (!m.hasMatch())
    return std::nullopt;
  const QDate d(m.captured(4).toInt(), m.captured(3).toInt(), m.captured(1).toInt());
  if (!d.isValid())
    return std::nullopt;
  return d;
}

// Rule 4: date literals become TO_DATE calls, wrapped once.
QString fechas(const QString &t) {
  QString copia = t;
  int abre = posicion(t, QStringLiteral("'"));
  while (abre > 0) {
    const int cierra = posicion(t, QStringLiteral("'"), abre + 1);
    if (cierra == 0)
      argumentoInvalido(QStringLiteral("comilla sin cerrar en la sentencia"));
    const QString contenido = t.mid(abre, cierra - abre - 1);
    if (const auto fecha = fechaDMA(contenido)) {
      copia = reemplazar(copia, QStringLiteral("'") + contenido + QStringLiteral("'"),
                         QStringLiteral("TO_DATE('") + fecha->toString(QStringLiteral("dd/MM/yyyy")) +
                             QStringLiteral("','DD/MM/YYYY')"));
    }
    abre = posicion(t, QStringLiteral("'"), cierra + 1);
  }
  while (contiene(copia, QStringLiteral("TO_DATE(TO_DATE("))) {
    copia = reemplazar(copia, QStringLiteral("TO_DATE(TO_DATE("), QStringLiteral("TO_DATE("));
    copia = reemplazar(copia, QStringLiteral("'DD/MM/YYYY'),'DD/MM/YYYY')"), QStringLiteral("'DD/MM/YYYY')"));
  }
  return copia;
}

// Rule 7: comparisons with an empty text after the first WHERE.
QString vacios(const QString &t) {
  if (!contiene(t, QStringLiteral("WHERE ")))
    return t;
  QString r = t;
  for (const char *igual : {"= ''", "=''"}) {
    const int p = posicion(r, QStringLiteral("WHERE "));
    r = r.left(p - 1) + reemplazar(r.mid(p - 1), QString::fromLatin1(igual), QStringLiteral(" IS NULL "));
  }
  return r;
}

// Rule 8: style 103 inside TO_CHAR( becomes the Oracle date mask.
QString estilo103(const QString &t) {
  QString r = t;
  int p = posicion(r, QStringLiteral("103"));
  while (p > 0) {
    const qsizetype parentesis = r.lastIndexOf(u'(', p - 1);
    if (parentesis >= 7 &&
        r.mid(parentesis - 7, 8).compare(QLatin1String("TO_CHAR("), Qt::CaseInsensitive) == 0)
      r = r.left(p - 1) + QStringLiteral("'DD/MM/YYYY'") + r.mid(p - 1 + 3);
    p = posicion(r, QStringLiteral("103"), p + 3);
  }
  return r;
}

} // namespace

QString DB_Dll::ORACLE_Dicc(const QString &Valor) {
  if (!contiene(gConnString, QStringLiteral("ORACLE")))
    return Valor;
  if (kit::Utilidades::ContarPalabras(Valor) <= 1)
    return Valor.compare(QLatin1String("LEN"), Qt::CaseInsensitive) == 0 ? QStringLiteral("LENGTH") : Valor;

  QString r = limiteFilas(Valor);
  for (const char *len : {" LEN(", " LEN (", " LEN  (", " LEN   (", " LEN    ("})
    r = reemplazar(r, QString::fromLatin1(len), QStringLiteral(" LENGTH("));
  r.replace(u'[', u'"').replace(u']', u'"');
  r = fechas(r);
  r = reemplazar(r, QStringLiteral("Charindex"), QStringLiteral("InStr"));
  r = reemplazar(r, QStringLiteral("CONVERT(NVARCHAR,"), QStringLiteral("TO_CHAR("));
  r = reemplazar(r, QStringLiteral("CONVERT(INT,"), QStringLiteral("TO_NUMBER("));
  r = vacios(r);
  r = estilo103(r);
  r = reemplazar(r, QStringLiteral("SUBSTRING("), QStringLiteral("SUBSTR("));
  r = reemplazar(r, QStringLiteral("ISNULL("), QStringLiteral("NVL("));
  return r;
}

} // namespace zv::db
