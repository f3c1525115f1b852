// DB_Dll: statement execution, the Oracle batch splitter, recordsets and the
// lost-connection handling that the row lookups share.
#include "db/DB_Dll.h"

#include "db/TextoSql.h"
#include "platform/ProtocoloError.h"

#include <array>

namespace zv::db {

using texto::contiene;
using texto::posicion;
using texto::recortarBlancos;
using texto::reemplazar;

namespace {
const QString kMarca = QStringLiteral("@Admin_");
constexpr long kNativoRed = 11;        // general network error: the connection is gone
constexpr long kNativoTruncado = 8152; // data would be truncated
constexpr long kOracleSinFilas = 265929;
constexpr int kNinguna = 1999999;
} // namespace

// ------------------------------------------------------- lost connection

void DB_Dll::PreguntaConexionPerdida() {
  DB_Dll &p = principal();
  const QString nl = QStringLiteral("\r\n");
  const QString texto = nl + nl + nl + QStringLiteral("Se perdio la conexion con la base de datos ") +
                        p.gDBName + nl + QStringLiteral(" Servidor ") + p.gServidor + nl + nl +
                        QStringLiteral("Elija SI para reintentar conectarse") + nl +
                        QStringLiteral("Elija NO para cerrar la aplicacion") + nl + nl + nl;
  if (entorno_.ui.msgBox(texto, vb::YesNo + vb::Critical, QStringLiteral("AVISO AL OPERADOR")) != vb::Yes)
    entorno_.sistema.terminar(1);
}

bool DB_Dll::RecuperarConexion(int &contador, bool segundoIntento) {
  ReintentaConectar();
  if (gOpenFlag) {
    ++contador;
    return contador < 3;
  }
  if (segundoIntento) {
    // Row lookups: one more attempt at a time, the operator asked after each
    // failed one.
    for (;;) {
      ReintentaConectar();
      if (gOpenFlag) {
        ++contador;
        return contador < 3;
      }
      PreguntaConexionPerdida();
    }
  }
  for (;;) {
    ReintentaConectar();
    if (gOpenFlag)
      return true;
    ++contador;
    if (contador < 3)
      continue;
    PreguntaConexionPerdida();
  }
}

bool DB_Dll::ConexionPerdidaMain(const QString *texto) const {
  ado::ErrorList &errores = principal().Cnn().errors();
  if (errores.count() == 0)
    return false;
  if (texto && contiene(*texto, QStringLiteral("TRANS")))
    return false;
  return errores.item(0).nativeError == kNativoRed;
}

int DB_Dll::MensajeGenerico(const AppError &e) {
  return entorno_.ui.msgBox(e.description(), vb::Critical + vb::AbortRetryIgnore,
                            QStringLiteral("Aviso al Operador"));
}

// ------------------------------------------------------------ statements

void DB_Dll::PrepararSentencia(QString &SentenciaSQL) {
  const bool crea = contiene(SentenciaSQL, QStringLiteral("CREATE"));
  const bool borra = contiene(SentenciaSQL, QStringLiteral("DROP"));
  const bool marca = contiene(SentenciaSQL, QStringLiteral("@ADMIN_"));
  if (!(crea && borra)) {
    SentenciaSQL = reemplazar(SentenciaSQL, kMarca, QString());
  } else if (contiene(SentenciaSQL, QStringLiteral("DELETE"))) {
    if (marca)
      SentenciaSQL = reemplazar(SentenciaSQL, kMarca, QString());
  } else if (marca) {
    SentenciaSQL = reemplazar(SentenciaSQL, kMarca, QString());
  } else {
    SentenciaSQL = SS_TSinonimos(SentenciaSQL);
  }
}

void DB_Dll::EjecutarPreparada(QString &SentenciaSQL, long &afectados, ado::Recordset *LRCS) {
  if (contiene(Cnn().connectionString(), QStringLiteral("ORACLE"))) {
    SentenciaSQL = EjecutaPorSentencias(SentenciaSQL, afectados);
    return;
  }
  auto resultado = Cnn().execute(SentenciaSQL, &afectados, -1);
  if (LRCS)
    LRCS->attach(std::move(resultado), &Cnn());
}

void DB_Dll::EjecutaConsultaSQL(QString &SentenciaSQL, long *RecordsAffected, ado::Recordset *LRCS) {
  long local = 0;
  long &afectados = RecordsAffected ? *RecordsAffected : local;
  int contador = 0;
  Trampa t([&](const AppError &) -> int {
    if (ConexionPerdidaMain(&SentenciaSQL))
      return RecuperarConexion(contador, false) ? 4 : 0;
    ado::ErrorList &errores = principal().Cnn().errors();
    if (errores.count() > 0 && !contiene(SentenciaSQL, QStringLiteral("TRANS")) &&
        errores.item(0).nativeError == kNativoTruncado)
      errores.clear();
    // Anything else stays in the error list for the caller.
    return 0;
  });
  t([&] { PrepararSentencia(SentenciaSQL); });
  t([&] { EjecutarPreparada(SentenciaSQL, afectados, LRCS); });
  t([&] {
    ado::ErrorList &errores = principal().Cnn().errors();
    if ((errores.count() == 1 || errores.count() == 2) && !contiene(SentenciaSQL, QStringLiteral("TRANS")) &&
        errores.item(0).nativeError == kNativoTruncado)
      errores.clear();
  });
}

void DB_Dll::EjecutaConsultaRSQL(QString &SentenciaSQL, long *RecordsAffected, ado::Recordset *LRCS) {
  long local = 0;
  long &afectados = RecordsAffected ? *RecordsAffected : local;
  Trampa t([&](const AppError &e) -> int {
    const long n = e.number();
    if (n != err::Unspecified && n != err::IntegrityViolation && n != err::InvalidObject &&
        n != err::CommandError && !contiene(SentenciaSQL, QStringLiteral("TRANS")))
      entorno_.ui.msgBox(e.description(), vb::Critical + vb::OKOnly, QStringLiteral("Aviso al operador!!!"));
    return 0;
  });
  t([&] { PrepararSentencia(SentenciaSQL); });
  t([&] { EjecutarPreparada(SentenciaSQL, afectados, LRCS); });
}

QString DB_Dll::EjecutaPorSentencias(QString &lote, long &afectados) {
  static const std::array<std::pair<const char *, const char *>, 12> normalizacion{{
      {"SET NOCOUNT ON", ""},
      {"SET NOCOUNT OFF", ""},
      {" GO ", " "},
      {"\r\nGO ", " "},
      {"\r\nGO\r\n", " "},
      {"\r", " "},
      {"BEGIN TRANSACTION", "SET TRANSACTION"},
      {"BEGIN TRANS", "SET TRANSACTION"},
      {"COMMIT TRANSACTION", "COMMIT"},
      {"COMMIT TRANS", "COMMIT"},
      {"ROLLBACK TRANSACTION", "ROLLBACK"},
      {"ROLLBACK TRANS", "ROLLBACK"},
  }};
  static const std::array<const char *, 12> claves{"INSERT ",  "DELETE ",      "UPDATE ",         "CREATE ",
                                                   "DROP ",    "ALTER ",       "SET TRANSACTION", "COMMIT",
                                                   "ROLLBACK", "IF NOT EXIST", "IF EXIST",        "GRANT "};
  for (const auto &[viejo, nuevo] : normalizacion)
    lote = reemplazar(lote, QString::fromLatin1(viejo), QString::fromLatin1(nuevo));

  auto primera = [&](int desde) {
    int menor = kNinguna;
    for (const char *c : claves) {
      const int p = posicion(lote, QString::fromLatin1(c), desde);
      if (p > 0 && p < menor)
        menor = p;
    }
    return menor;
  };

  for (int inicio = primera(1); inicio != kNinguna; inicio = primera(1)) {
    const int siguiente = primera(inicio + 1);
    const int fin = siguiente == kNinguna ? int(lote.size()) : siguiente - 1;
    const QString sentencia = recortarBlancos(lote.mid(inicio - 1, fin - inicio + 1));
    if (sentencia.compare(QLatin1String("SET TRANSACTION"), Qt::CaseInsensitive) == 0) {
      Cnn().beginTrans();
    } else if (sentencia.compare(QLatin1String("COMMIT"), Qt::CaseInsensitive) == 0) {
      Cnn().commitTrans();
    } else if (sentencia.compare(QLatin1String("ROLLBACK"), Qt::CaseInsensitive) == 0) {
      Cnn().rollbackTrans();
    } else {
      const QString traducida = DescartaSentencia(ORACLE_Dicc(sentencia));
      if (!recortarBlancos(traducida).isEmpty()) {
        long n = 0;
        Cnn().execute(traducida, &n, -1);
        afectados += n;
      }
    }
    // Consumed only once it ran, so that a repeated call goes on with the
    // statement that failed.
    lote = lote.mid(fin);
  }
  ado::ErrorList &errores = Cnn().errors();
  if (errores.count() == 1 && errores.item(0).number == kOracleSinFilas)
    errores.clear();
  return QString();
}

QString DB_Dll::DescartaSentencia(const QString &sentencia) {
  if (contiene(sentencia, QStringLiteral("SET NOCOUNT")) ||
      contiene(sentencia, QStringLiteral("IF NOT EXIST")))
    return QString();
  return sentencia;
}

// ------------------------------------------------------------- recordsets

void DB_Dll::AbrirRecordset(QString &SentenciaSQL, ado::Recordset &LRCS, ado::Connection *Conexionactiva,
                            int CursorType, int LockType, long Options, bool ConvOracle) {
  int contador = 2;
  Trampa t([&](const AppError &e) -> int {
    if ((e.number() == err::Unspecified || e.number() == err::ConnectionClosedOrInvalid) &&
        Cnn().errors().count() > 0 && RecuperarConexion(contador, false))
      return 4;
    return TratamientoErrores(e, std::nullopt, QStringLiteral("AbrirRecordset"));
  });
  t([&] { CierraRecordset(LRCS); });
  t([&] { SentenciaSQL = SS_TSinonimos(SentenciaSQL); });
  t([&] {
    ado::Connection &conexion = Conexionactiva ? *Conexionactiva : Cnn();
    if (posicion(Cnn().connectionString(), QStringLiteral("ORACLE")) > 1 && ConvOracle)
      LRCS.open(ORACLE_Dicc(SentenciaSQL), conexion, CursorType, LockType, Options);
    else
      LRCS.open(SentenciaSQL, conexion, CursorType, LockType, Options);
  });
  t([&] { entorno_.ui.doEvents(); });
}

void DB_Dll::CierraRecordset(ado::Recordset &LrcsTemp) {
  Trampa t([&](const AppError &e) -> int {
    if (e.number() == err::OperationNotAllowed) {
      ignorarFalla([&] { LrcsTemp.cancelUpdate(); });
      ignorarFalla([&] {
        if (LrcsTemp.state() != ado::adStateClosed)
          LrcsTemp.close();
      });
      return 0;
    }
    return TratamientoErrores(e, std::nullopt, QStringLiteral("CierraRecordset"));
  });
  t([&] {
    if (LrcsTemp.state() != ado::adStateClosed)
      LrcsTemp.close();
  });
}

} // namespace zv::db
