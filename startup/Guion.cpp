// The SQL script runner: a list of statements sent as one batch inside one
// transaction, judged by the connection's error list, and the record of a
// failed script in AUX_ERR.
#include "platform/ProtocoloError.h"
#include "startup/ModuloGlobal.h"
#include "startup/Parametros.h"

namespace zv::startup {

namespace {
constexpr long kDuplicado = 2627;
constexpr long kConflicto = 547;
} // namespace

void ModuloGlobal::GActualizarDatoScript(const QStringList &Guion, bool &Fallo, long &ErrorNativo,
                                         bool DuplicadoComoAviso, bool ConflictoComoAviso,
                                         QString &SqlEjecutado, QString &TextoError, bool MostrarError) {
  Trampa paso([&](const AppError &e) {
    return AvisoError(e, std::nullopt, QStringLiteral("GActualizarDatoScript"));
  });
  const QString CR = QStringLiteral("\r");
  const QString CRLF = QStringLiteral("\r\n");
  QString texto;
  QString mensaje;
  long n = 0;
  Fallo = false;
  paso([&] {
    for (const QString &s : Guion)
      if (!RecortarBlancos(s).isEmpty())
        texto = texto + CR + s;
  });
  if (!paso)
    return;
  if (texto.isEmpty())
    return;
  QString lote;
  paso([&] {
    lote = QStringLiteral("BEGIN TRANSACTION ") + CR + CR + texto + CR;
    SqlEjecutado = lote;
  });
  paso([&] {
    QString enviado = lote;
    ignorarFalla([&] { principal().EjecutaConsultaSQL(enviado); });
  });
  paso([&] {
    ado::ErrorList &errores = principal().Cnn().errors();
    if (errores.count() == 0)
      return;
    n = errores.item(0).nativeError;
    Fallo = true;
    mensaje.clear();
    const auto renglon = [&](const ado::ErrorEntry &e) {
      return QString::number(e.nativeError) + QStringLiteral(" : ") + e.description + CRLF;
    };
    if (errores.count() == 1)
      mensaje = renglon(errores.item(0));
    else
      for (int i = 0; i < errores.count() - 1; ++i)
        mensaje += renglon(errores.item(i));
    TextoError = mensaje;
    if ((DuplicadoComoAviso && n == kDuplicado) || (ConflictoComoAviso && n == kConflicto)) {
      TextoError = errores.item(0).description;
      mensaje.clear();
    }
    errores.clear();
  });
  if (Fallo) {
    paso([&] {
      QString deshacer = QStringLiteral("ROLLBACK TRANSACTION");
      ignorarFalla([&] { principal().EjecutaConsultaSQL(deshacer); });
    });
    paso([&] { RegistraErrorSQL(lote, n, mensaje); });
    paso([&] {
      if (!RecortarBlancos(mensaje).isEmpty() && MostrarError)
        entorno.ui.msgBox(mensaje, vb::OKOnly + vb::Critical, QStringLiteral("Aviso al Operador!"));
    });
  } else {
    paso([&] {
      QString confirmar = QStringLiteral("COMMIT TRANSACTION");
      principal().EjecutaConsultaSQL(confirmar);
    });
  }
  paso([&] { ErrorNativo = n; });
}

void ModuloGlobal::RegistraErrorSQL(const QString &Sql, long ErrorNum, const QString &Descripcion) {
  db::DB_Dll &db = principal();
  ado::Recordset rs;
  QString consulta = QStringLiteral("select  top 1 * from AUX_ERR  with(nolock) ");
  if (!ignorarFalla(
          [&] { db.AbrirRecordset(consulta, rs, nullptr, ado::adOpenDynamic, ado::adLockOptimistic); }))
    return;
  ignorarFalla([&] { rs.addNew(); });
  ignorarFalla([&] { rs.setValue(QStringLiteral("Proceso"), entorno.sistema.nombreEjecutable()); });
  ignorarFalla([&] { rs.setValue(QStringLiteral("Fecha"), FormatoFechaHora(ahora())); });
  ignorarFalla([&] { rs.setValue(QStringLiteral("Error"), qlonglong(ErrorNum)); });
  ignorarFalla(
      [&] { rs.setValue(QStringLiteral("Descripcion"), kit::Utilidades::Recortar(Descripcion, 250)); });
  ignorarFalla([&] { rs.setValue(QStringLiteral("sql"), Sql); });
  ignorarFalla([&] { rs.setValue(QStringLiteral("PC"), InfoSistema().NombreEquipo()); });
  ignorarFalla([&] { rs.setValue(QStringLiteral("Usuario"), gUsuarioLogeado()); });
  ignorarFalla([&] { rs.update(); });
  ignorarFalla([&] { db.CierraRecordset(rs); });
}

} // namespace zv::startup
