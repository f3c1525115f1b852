// Login check against the suite's users and the records of who used the
// program: the action record, the access row of the run and its exit time.
#include "platform/ProtocoloError.h"
#include "startup/ModuloGlobal.h"
#include "startup/Parametros.h"

namespace zv::startup {

bool ModuloGlobal::ValidaUsuario(const QString &Usuario, const QString &Clave) {
  db::DB_Dll &db = principal();
  if (db.gDBName.compare(Usuario, Qt::CaseInsensitive) == 0) {
    // The database's own login needs no password.
    gUsuarioLogeado() = Usuario;
    return true;
  }
  const QString condicion =
      entorno.sistema.nombreEjecutable().compare(QLatin1String("VORMEX"), Qt::CaseInsensitive) == 0
          ? QStringLiteral("SISTEMA = 'VORMEX'")
          : QStringLiteral("(SISTEMA = 'kx517tm' OR SISTEMA = 'QUMA')");
  QString consulta = QStringLiteral("SELECT * FROM TA_USUARIOS WHERE NOMBRE = '") +
                     Comillas(RecortarBlancos(Usuario)) + QStringLiteral("' AND ") + condicion;
  ado::Recordset rs;
  db.AbrirRecordset(consulta, rs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly);
  bool valido = false;
  if (!rs.eof()) { // a failed query leaves it closed: the read fails for the caller
    gUsuarioLogeado() = Usuario;
    const QString guardada =
        kit::Utilidades::Descifrar(kit::Utilidades::SinNulo(rs.value(QStringLiteral("Password"))));
    valido = guardada.compare(Clave, Qt::CaseInsensitive) == 0;
  }
  db.CierraRecordset(rs);
  return valido;
}

void ModuloGlobal::RegistraAccion(const QString &TC, const QString &IdComprobante,
                                  const QString &IdComplemento, bool EsAlta, bool EsModificacion,
                                  const QString &Descripcion, const QString &Cuenta, bool EsError) {
  const auto texto = [](const QString &t) { return QLatin1Char('\'') + Comillas(t) + QLatin1Char('\''); };
  ListaCampos lista;
  const auto par = [&](const char *campo, const std::function<QString()> &valor) {
    ignorarFalla([&] { lista.push_back(ParCampo{QString::fromLatin1(campo), valor()}); });
  };
  par("TC", [&] { return texto(kit::Utilidades::CodigoFijo(RecortarBlancos(TC), 4)); });
  par("IdComprobante", [&] { return texto(IdComprobante); });
  par("IdComplemento", [&] { return IdComplemento.isEmpty() ? QStringLiteral("0") : IdComplemento; });
  par("Tipo_accion", [&] {
    return EsError          ? QStringLiteral("'ER'")
           : EsAlta         ? QStringLiteral("'A'")
           : EsModificacion ? QStringLiteral("'M'")
                            : QStringLiteral("'B'");
  });
  // ISO 8601 with the "T": read alike whatever date order the server uses.
  par("FECHAHORA", [&] { return texto(FechaServidor().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"))); });
  par("Usuario", [&] { return texto(gUsuarioLogeado()); });
  par("PC", [&] { return texto(InfoSistema().NombreEquipo()); });
  par("SYSTEMUSER", [&] { return texto(RecortarBlancos(kit::Utilidades::Recortar(Descripcion, 255))); });
  par("Proceso", [&] {
    return texto(kit::Utilidades::Recortar(
        RecortarBlancos(entorno.sistema.nombreEjecutable()) + QLatin1Char(' ') + gParametroAdicional, 255));
  });
  par("ProcesoLote", [] { return QStringLiteral("''"); });
  par("Cuenta",
      [&] { return texto(RecortarBlancos(kit::Utilidades::Recortar(RecortarBlancos(Cuenta), 15))); });
  QString sentencia = QStringLiteral(" INSERT INTO V_MV_CPTEACCIONES ");
  ignorarFalla([&] { ArmaInsert(sentencia, lista, true); });
  ignorarFalla([&] { principal().EjecutaConsultaSQL(sentencia); });
}

void ModuloGlobal::RegistraIngreso(const QString &Formulario) {
  const QString ejecutable = entorno.sistema.nombreEjecutable();
  QString formulario = Formulario.isEmpty() ? ejecutable : Formulario;
  QString tarea = ejecutable;
  db::DB_Dll &db = principal();
  ignorarFalla([&] {
    if (gUsuarioLogeado().isEmpty())
      gUsuarioLogeado() = db.gUsuario;
  });
  ignorarFalla([&] {
    ado::Recordset rs;
    QString consulta =
        QStringLiteral("SELECT TA_TAREAS.USUARIO, TA_MENU.Proceso, TA_MENU.Clave , TA_MENU.Nombre ") +
        QStringLiteral(
            " FROM TA_TAREAS  with(nolock) INNER JOIN TA_MENU ON TA_TAREAS.TAREA = TA_MENU.Clave ") +
        QStringLiteral(" WHERE (TA_TAREAS.USUARIO = '") + Comillas(gUsuarioLogeado()) +
        QStringLiteral(" ') AND (TA_MENU.Proceso LIKE '%") + Comillas(formulario) + QStringLiteral("%')");
    db.AbrirRecordset(consulta, rs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly);
    if (rs.state() == ado::adStateOpen && !rs.eof())
      tarea = kit::Utilidades::SinNulo(rs.value(QStringLiteral("Nombre")));
    db.CierraRecordset(rs);
  });
  // The suite's main menu program keeps no record of its own.
  if (ejecutable.compare(QLatin1String("KX517TM"), Qt::CaseInsensitive) == 0)
    return;
  QString maquina = RecortarBlancos(InfoSistema().NombreEquipo()).toUpper();
  QString usuario = RecortarBlancos(gUsuarioLogeado()).toUpper();
  QString nombreFormulario = RecortarBlancos(formulario).toUpper();
  QString nombreTarea = RecortarBlancos(tarea).toUpper();
  const QDateTime momento = ahora();
  QString ingreso = FormatoFecha(momento) + QLatin1Char(' ') + FormatoHora(momento);
  const QString marcaTexto = QStringLiteral("'");
  ignorarFalla([&] { AgregaCampo(QStringLiteral("Maquina"), maquina, marcaTexto, true); });
  ignorarFalla([&] { AgregaCampo(QStringLiteral("Usuario"), usuario, marcaTexto, false); });
  ignorarFalla([&] { AgregaCampo(QStringLiteral("Formulario"), nombreFormulario, marcaTexto, false); });
  ignorarFalla([&] { AgregaCampo(QStringLiteral("Tarea"), nombreTarea, marcaTexto, false); });
  ignorarFalla([&] { AgregaCampo(QStringLiteral("Ingreso"), ingreso, marcaTexto, false); });
  // The process-wide name itself: it loses its apostrophes from here on.
  ignorarFalla([&] { AgregaCampo(QStringLiteral("NombreUsuario"), gUsuarioLogeado(), marcaTexto, false); });
  QStringList guion{QString()};
  QString sinCondicion;
  ignorarFalla(
      [&] { ArmaSentencia(Campos, guion, QStringLiteral("Control_Acceso"), false, sinCondicion, false); });
  bool fallo = false;
  long nativo = 0;
  QString enviado, textoError;
  ignorarFalla([&] { GActualizarDatoScript(guion, fallo, nativo, false, false, enviado, textoError, true); });
  if (fallo)
    return;
  // The row just written: the newest of this workstation, user and entry time.
  ignorarFalla([&] {
    ado::Recordset rs;
    QString consulta = QStringLiteral("SELECT MAX(Id) AS Id FROM Control_Acceso WHERE Maquina = '") +
                       Comillas(maquina) + QStringLiteral("' AND Usuario = '") + Comillas(usuario) +
                       QStringLiteral("' AND Ingreso = '") + Comillas(ingreso) +
                       QStringLiteral("' AND EGRESO IS NULL");
    db.AbrirRecordset(consulta, rs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly);
    if (rs.state() == ado::adStateOpen && !rs.eof() && !rs.value(0).isNull())
      gIdControlAcceso = rs.value(0).toInt();
    db.CierraRecordset(rs);
  });
}

void ModuloGlobal::RegistraEgreso() {
  try {
    const QDateTime momento = ahora();
    QString sentencia = QStringLiteral("UPDATE CONTROL_ACCESO ") + QStringLiteral(" SET EGRESO = '") +
                        FormatoFecha(momento) + QLatin1Char(' ') + FormatoHora(momento) + QLatin1Char('\'') +
                        QStringLiteral(" WHERE EGRESO IS NULL AND ") + QStringLiteral(" ID = ") +
                        QString::number(gIdControlAcceso);
    principal().EjecutaConsultaSQL(sentencia);
  } catch (const AppError &e) {
    entorno.ui.msgBox(e.description(), vb::OKOnly, entorno.tituloPorDefecto());
  }
}

void ModuloGlobal::FinAplicacion() {
  RegistraEgreso();
  lectorIni_.reset();
  utilidades_.reset();
  if (cartel)
    ignorarFalla([&] { cartel->Liberar(); });
  // AyudaTeclado holds no state of its own.
  entorno.liberarPrincipal();
  infoSistema_.reset();
  receptorRuta_.reset();
}

} // namespace zv::startup
