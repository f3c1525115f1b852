// DB_Dll: row lookups, maximum and minimum of a column, and the schema tests.
#include "db/DB_Dll.h"

#include "db/TextoSql.h"
#include "platform/ProtocoloError.h"

namespace zv::db {

using texto::contiene;
using texto::recortarBlancos;

namespace {

// A typed or imported key between apostrophes: each apostrophe doubled, so
// that the key is compared as one literal and never ends it.
QString literalTexto(const QString &clave) {
  QString r = clave;
  return r.replace(QLatin1String("'"), QLatin1String("''"));
}

int codigoTipo(const QVariant &tipo) {
  bool ok = false;
  const int c = tipo.toInt(&ok);
  return ok ? c : -1;
}

bool esNumerico(int tipo) { return tipo == 3 || tipo == 4 || tipo == 5; }

QString claveNumerica(const QString &valor) {
  return recortarBlancos(texto::numeroTexto(texto::valorNumerico(valor)));
}

// The query of ExisteEnTabla (sinTop false) or ExisteEnTablaST (sinTop true).
QString consultaExiste(const QString &Tabla, const QString &ValorBuscado, const QString &Campo,
                       const QVariant &Tipodato, const QString &Condicion, bool st) {
  if (!Condicion.isEmpty()) {
    const QString donde =
        contiene(Condicion, QStringLiteral(" WHERE ")) ? QStringLiteral(" ") : QStringLiteral(" WHERE ");
    return (st ? QStringLiteral("SELECT * FROM ") : QStringLiteral("SELECT TOP 1 * FROM ")) + Tabla +
           (st ? QStringLiteral(" with(nolock)  ") : QStringLiteral(" with(nolock) ")) + donde + Condicion;
  }
  const QString prefijo = st ? QStringLiteral("SELECT * FROM ") : QStringLiteral("SELECT TOP 1 * FROM ");
  const QString where =
      st ? QStringLiteral(" with(nolock)   WHERE ") : QStringLiteral(" with(nolock)  WHERE ");
  const int tipo = codigoTipo(Tipodato);
  if (tipo == 8) {
    if (st)
      return prefijo + Tabla + where + Campo + QStringLiteral(" ='") + literalTexto(ValorBuscado) +
             QStringLiteral("'");
    return QStringLiteral("SELECT TOP 1  * FROM ") + Tabla +
           QStringLiteral(" with(nolock)  WHERE LTRIM(RTRIM(") + Campo + QStringLiteral(")) ='") +
           literalTexto(recortarBlancos(ValorBuscado)) + QStringLiteral("'");
  }
  if (tipo == 7)
    return prefijo + Tabla + where + Campo + QStringLiteral(" = ") + recortarBlancos(ValorBuscado) +
           QStringLiteral(" ");
  if (esNumerico(tipo))
    return prefijo + Tabla + where + Campo + QStringLiteral(" = ") + claveNumerica(ValorBuscado);
  return prefijo + Tabla + where + Campo + QStringLiteral(" = ") + ValorBuscado;
}

} // namespace

// ------------------------------------------------------------- row lookups

bool DB_Dll::BuscarFila(Trampa &t, const QString &consulta, ado::Connection &conexion, ado::Recordset *LRCS,
                        bool SoloLectura, bool traducir) {
  bool resultado = false;
  if (!LRCS) {
    ado::Recordset rs;
    t([&] {
      rs.open(traducir ? ORACLE_Dicc(consulta) : consulta, conexion, ado::adOpenForwardOnly,
              ado::adLockReadOnly, -1);
    });
    t([&] { resultado = !rs.bof(); });
    t([&] {
      if (rs.state() != ado::adStateClosed)
        rs.close();
    });
    return resultado;
  }
  t([&] {
    if (LRCS->state() != ado::adStateClosed)
      LRCS->close();
  });
  t([&] {
    if (SoloLectura)
      LRCS->open(consulta, conexion, ado::adOpenForwardOnly, ado::adLockReadOnly);
    else
      LRCS->open(consulta, conexion, LRCS->cursorType(), LRCS->lockType());
  });
  t([&] { resultado = !LRCS->bof(); });
  return resultado;
}

bool DB_Dll::ExisteEnTabla(const QString &Tabla, const QString &ValorBuscado, const QString &Campo,
                           ado::Recordset *LRCS, const QVariant &Tipodato, const QString &Condicion,
                           bool SoloLectura) {
  int contador = 0;
  QString consulta = consultaExiste(Tabla, ValorBuscado, Campo, Tipodato, Condicion, false);
  Trampa t([&](const AppError &e) -> int {
    if (ConexionPerdidaMain(nullptr) && RecuperarConexion(contador, true))
      return 4;
    return MensajeGenerico(e);
  });
  t([&] { consulta = SS_TSinonimos(consulta); });
  return BuscarFila(t, consulta, Cnn(), LRCS, SoloLectura, true);
}

bool DB_Dll::ExisteEnTablaST(const QString &Tabla, const QString &ValorBuscado, const QString &Campo,
                             ado::Recordset *LRCS, const QVariant &Tipodato, const QString &Condicion,
                             bool SoloLectura) {
  int contador = 0;
  const QString consulta = consultaExiste(Tabla, ValorBuscado, Campo, Tipodato, Condicion, true);
  Trampa t([&](const AppError &e) -> int {
    if (ConexionPerdidaMain(nullptr) && RecuperarConexion(contador, true))
      return 4;
    return MensajeGenerico(e);
  });
  return BuscarFila(t, consulta, principal().Cnn(), LRCS, SoloLectura, false);
}

QVariant DB_Dll::DatosTabla(const QString &Tabla, const QString &ValorBuscado, const QString &CampoDevuelto,
                            const QString &Campo, const QVariant &Tipodato, const QString &Condicion,
                            bool UsaTrim, bool IgnoraError) {
  const int tipo = Tipodato.toString() == QLatin1String("'") ? 8 : codigoTipo(Tipodato);
  const QString cola = recortarBlancos(Condicion).isEmpty() ? Condicion : QStringLiteral(" AND ") + Condicion;
  QString consulta = QStringLiteral("SELECT TOP 1 * FROM ") + Tabla;
  if (tipo == 8 && UsaTrim)
    consulta += QStringLiteral(" with(nolock)  WHERE LTRIM(RTRIM(") + Campo + QStringLiteral(")) ='") +
                literalTexto(recortarBlancos(ValorBuscado)) + QStringLiteral("' ") + cola;
  else if (tipo == 8)
    consulta += QStringLiteral(" with(nolock)  WHERE ") + Campo + QStringLiteral(" ='") +
                literalTexto(ValorBuscado) + QStringLiteral("' ") + cola;
  else if (tipo == 7)
    consulta += QStringLiteral(" with(nolock)  WHERE ") + Campo + QStringLiteral(" = #") +
                recortarBlancos(ValorBuscado) + QStringLiteral("# ") + cola;
  else if (esNumerico(tipo))
    consulta += QStringLiteral(" with(nolock)  WHERE ") + Campo + QStringLiteral(" = ") +
                claveNumerica(ValorBuscado) + cola;
  else
    consulta += QStringLiteral(" with(nolock)  WHERE ") + Campo + QStringLiteral(" = ") + ValorBuscado + cola;

  QString resultado;
  int contador = 0;
  Trampa t([&](const AppError &e) -> int {
    if (IgnoraError) {
      resultado.clear();
      return 0;
    }
    if (ConexionPerdidaMain(nullptr) && RecuperarConexion(contador, false))
      return 4;
    return MensajeGenerico(e);
  });
  ado::Recordset rs;
  t([&] { AbrirRecordset(consulta, rs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly, -1, true); });
  if (!gOpenFlag)
    return QString();
  // A recordset that did not open was already reported by AbrirRecordset.
  t([&] {
    if (rs.state() != ado::adStateClosed && !rs.eof())
      resultado = kit::Utilidades::SinNulo(rs.field(CampoDevuelto).value());
  });
  t([&] {
    if (rs.state() != ado::adStateClosed)
      rs.close();
  });
  return resultado;
}

// ------------------------------------------------------ maximum and minimum

QVariant DB_Dll::BuscaMaximo(const QString &QueTabla, const QString &QueCampo, std::optional<int> Tipo,
                             QString *Condicion) {
  static const QString sinCeros = QStringLiteral(" substring(ltrim(idarticulo),1,1)<>'0'");
  QString condicion = Condicion ? *Condicion : QString();
  for (;;) {
    QString sql = QStringLiteral("SELECT MAX(") + QueCampo + QStringLiteral(") AS MAYOR FROM ") + QueTabla;
    if (!recortarBlancos(condicion).isEmpty())
      sql += QStringLiteral(" WHERE ") + recortarBlancos(condicion);
    ado::Recordset rs;
    rs.open(sql, Cnn(), ado::adOpenForwardOnly, ado::adLockReadOnly);
    if (rs.eof()) {
      rs.close();
      return {};
    }
    const QString valor = kit::Utilidades::SinNulo(rs.value(QStringLiteral("MAYOR")));
    rs.close();
    // Article codes that begin with zero are skipped.
    if (QueTabla.compare(QLatin1String("V_MA_ARTICULOS"), Qt::CaseInsensitive) == 0 &&
        recortarBlancos(valor).startsWith(u'0') && !contiene(condicion, sinCeros)) {
      condicion =
          recortarBlancos(condicion).isEmpty() ? sinCeros : condicion + QStringLiteral(" and") + sinCeros;
      if (Condicion)
        *Condicion = condicion;
      continue;
    }
    if (Tipo && *Tipo == 7)
      return valor;
    return texto::valorNumerico(valor);
  }
}

QVariant DB_Dll::BuscaMinimo(const QString &QueTabla, const QString &QueCampo, std::optional<int> Tipo,
                             const QString *Condicion) {
  QString sql = QStringLiteral("SELECT MIN(") + QueCampo + QStringLiteral(") AS MENOR FROM ") + QueTabla +
                QStringLiteral("  with(nolock) ");
  if (Condicion && !recortarBlancos(*Condicion).isEmpty())
    sql += QStringLiteral(" WHERE ") + recortarBlancos(*Condicion);
  ado::Recordset rs;
  rs.open(sql, Cnn(), ado::adOpenForwardOnly, ado::adLockReadOnly);
  if (rs.eof()) {
    rs.close();
    return {};
  }
  const QString valor = kit::Utilidades::SinNulo(rs.value(QStringLiteral("MENOR")));
  rs.close();
  if (Tipo && *Tipo == 7)
    return valor;
  return texto::valorNumerico(valor);
}

QVariant DB_Dll::BuscaUltimoCodigo(const QString &QueTabla, const QString &QueCampo, const QVariant &,
                                   const QString &Condicion) {
  QString sql = QStringLiteral("SELECT MAX(") + QueCampo + QStringLiteral(") AS MAYOR FROM ") + QueTabla;
  if (!recortarBlancos(Condicion).isEmpty())
    sql += QStringLiteral(" WHERE ") + Condicion;
  ado::Recordset rs;
  rs.open(sql, Cnn(), ado::adOpenForwardOnly, ado::adLockReadOnly);
  QVariant resultado;
  if (!rs.eof())
    resultado = texto::valorNumerico(kit::Utilidades::SinNulo(rs.value(QStringLiteral("MAYOR"))));
  rs.close();
  return resultado;
}

// ------------------------------------------------------------------ schema

namespace {

bool mismoNombre(const QVariant &valor, const QString &nombre) {
  return recortarBlancos(valor.toString()).compare(recortarBlancos(nombre), Qt::CaseInsensitive) == 0;
}

// Walks a catalogue's rows looking for a name in the given column.
bool buscarEnCatalogo(const ado::ResultSet &catalogo, const QString &columna, const QString &nombre) {
  const int c = catalogo.columnIndex(columna);
  if (c < 0)
    throw AppError(err::ItemNotFound,
                   QStringLiteral("Falta la columna ") + columna + QStringLiteral(" del catálogo"),
                   QStringLiteral("DB_Dll"));
  for (const auto &fila : catalogo.rows)
    if (mismoNombre(fila.value(c), nombre))
      return true;
  return false;
}

} // namespace

bool DB_Dll::ExisteTablaDB(const QString &Tabla) {
  bool resultado = false;
  std::unique_ptr<ado::ResultSet> catalogo;
  Trampa t([&](const AppError &e) {
    return principal().TratamientoErrores(e, std::nullopt, QStringLiteral("VerificaCampos"));
  });
  t([&] { catalogo = Cnn().openSchema(ado::adSchemaTables); });
  t([&] {
    if (catalogo && !catalogo->rows.isEmpty())
      resultado = buscarEnCatalogo(*catalogo, QStringLiteral("TABLE_NAME"), Tabla);
  });
  return t ? resultado : false;
}

bool DB_Dll::ExisteCampoDB(const QString &Tabla, const QString &Campo) {
  if (contiene(principal().gProveedor, QStringLiteral("ORACLE")))
    return true;
  bool resultado = false;
  std::unique_ptr<ado::ResultSet> catalogo;
  Trampa t([&](const AppError &e) {
    return principal().TratamientoErrores(e, std::nullopt, QStringLiteral("VerificaCampos"));
  });
  t([&] { catalogo = Cnn().openSchema(ado::adSchemaColumns, {gDBName, QVariant(), Tabla, QVariant()}); });
  t([&] {
    if (catalogo && !catalogo->rows.isEmpty())
      resultado = buscarEnCatalogo(*catalogo, QStringLiteral("COLUMN_NAME"), Campo);
  });
  return t ? resultado : false;
}

void DB_Dll::AddField(const QString &Tabla, const QString &Campo, const QString &Tipo, bool PermiteNulos,
                      const std::optional<QVariant> &ValorDefault) {
  Trampa t([&](const AppError &e) {
    return principal().TratamientoErrores(e, std::nullopt, QStringLiteral("errAddField"));
  });
  QString sentencia;
  t([&] {
    const QString nulos = PermiteNulos ? QStringLiteral(" Null ") : QStringLiteral(" Not Null ");
    const QString porDefecto = ValorDefault ? QStringLiteral(" CONSTRAINT DF_") + recortarBlancos(Tabla) +
                                                  QStringLiteral("_") + recortarBlancos(Campo) +
                                                  QStringLiteral(" DEFAULT (") + ValorDefault->toString() +
                                                  QStringLiteral(")")
                                            : QString();
    sentencia = QStringLiteral("ALTER TABLE dbo.") + Tabla + QStringLiteral(" ADD ") + Campo +
                QStringLiteral(" ") + Tipo + nulos + porDefecto;
  });
  t([&] { EjecutaConsultaSQL(sentencia); });
}

bool DB_Dll::VerCampoDB(const QString &Tabla, const QString &Campo, bool Agregar, const QString &Tipo,
                        bool PermiteNulos, const std::optional<QVariant> &ValorDefault) {
  const bool tabla = ExisteTablaDB(Tabla);
  const bool campo = ExisteCampoDB(Tabla, Campo);
  if (tabla && !campo && Agregar)
    AddField(Tabla, Campo, Tipo, PermiteNulos, ValorDefault);
  return true;
}

} // namespace zv::db
