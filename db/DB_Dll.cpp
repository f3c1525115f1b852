// DB_Dll: state, opening and reopening of the connection, and the object's
// own error report.
#include "db/DB_Dll.h"

#include "db/TextoSql.h"
#include "db/frmAcceso.h"
#include "platform/ProtocoloError.h"
#include "platform/Texto1252.h"

#include <QDateTime>

namespace zv::db {

using texto::contiene;
using texto::recortarBlancos;

namespace {
const QString kFuente = QStringLiteral("DB_Dll");
const QString kProveedorOracle = QStringLiteral("OraOLEDB.Oracle.1");
constexpr int kMaxReiniciosLocal = 5;
} // namespace

// ---------------------------------------------------------------- EntornoDB

EntornoDB::EntornoDB(UiServices &u, Sistema &s, ado::ConnectionFactory f)
    : ui(u), sistema(s), fabricaConexiones(std::move(f)) {}

EntornoDB::~EntornoDB() = default;

DB_Dll &EntornoDB::principal() {
  if (!principal_)
    principal_ = std::make_unique<DB_Dll>(*this);
  return *principal_;
}

void EntornoDB::liberarPrincipal() { principal_.reset(); }

// ------------------------------------------------------------------- DB_Dll

DB_Dll::DB_Dll(EntornoDB &entorno) : entorno_(entorno) {}

DB_Dll::~DB_Dll() = default;

ado::Connection &DB_Dll::Cnn() {
  if (!gCnn) {
    if (!entorno_.fabricaConexiones)
      throw AppError(91, QStringLiteral("No hay con qué crear la conexión a la base de datos"), kFuente);
    gCnn = entorno_.fabricaConexiones();
    if (!gCnn)
      throw AppError(91, QStringLiteral("No se pudo crear la conexión a la base de datos"), kFuente);
  }
  return *gCnn;
}

kit::Utilidades &DB_Dll::utilidades() {
  if (!utilidades_)
    utilidades_ = std::make_unique<kit::Utilidades>(&entorno_.ui);
  return *utilidades_;
}

void DB_Dll::ConstruirCadena() {
  if (gServidor.contains(u'#')) {
    gConnString = QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=") + gDBName +
                  QStringLiteral(";User Id=") + gUsuario + QStringLiteral(";Password=") + gUserPassWord +
                  QStringLiteral(";");
    return;
  }
  gConnString = QStringLiteral("PROVIDER=") + principal().pSQLOLEDB() + QStringLiteral(";") +
                QStringLiteral("Server=") + gServidor + QStringLiteral(";") + QStringLiteral("Database =") +
                gDBName + QStringLiteral(";") + QStringLiteral("UId=") + gUsuario + QStringLiteral(";") +
                QStringLiteral("Pwd=") + gUserPassWord + QStringLiteral(";") + gExtended;
}

bool DB_Dll::PideDatosConexion() {
  frmAcceso dlg(entorno_);
  dlg.Form_Load();
  dlg.setText(dlg.TxtDbName, gDBName);
  dlg.setText(dlg.TxtServidor, gServidor);
  dlg.setText(dlg.TxtUserId, entorno_.valores.gUsuarioLogeado);
  dlg.setText(dlg.TxtUserPassword, gUsuarioClave);
  dlg.CboPlataformaDB.ListIndex = 0;
  dlg.Show();
  if (dlg.Aceptar) {
    gOpenFlag = true;
    gDBName = dlg.TxtDbName.Text;
    gServidor = dlg.TxtServidor.Text;
    // The suite's convention: the database login and its password are the
    // database name.
    gUsuario = dlg.TxtDbName.Text;
    gUserPassWord = dlg.TxtDbName.Text;
    if (dlg.CboPlataformaDB.ListIndex > 0) {
      gProveedor = kProveedorOracle;
      if (!gServidor.contains(u'#'))
        gServidor += u'#';
    } else {
      gProveedor = principal().pSQLOLEDB();
    }
  } else {
    gOpenFlag = false;
  }
  return gOpenFlag;
}

QString DB_Dll::MensajeFallaConexion() {
  const ado::ErrorEntry &e = Cnn().errors().item(0);
  DB_Dll &p = principal();
  const QString cr = QStringLiteral("\r");
  const QString nl = QStringLiteral("\r\n");
  return QStringLiteral(" Estado de Sql: ") + e.sqlState + cr + QStringLiteral("Numero de Error: ") +
         QString::number(e.number) + cr + QStringLiteral("Descripcion: ") + e.description + cr +
         QStringLiteral("Codigo Nativo: ") + QString::number(e.nativeError) + cr + nl +
         QStringLiteral("Nombre de Proceso: ") + entorno_.sistema.nombreEjecutable() + cr + nl + nl +
         QStringLiteral("1. Verifique el Usuario, contraseña y base de datos") + nl +
         QStringLiteral("2. Verifique el nombre del servidor, quizas necesite agregarle el nombre de la "
                        "instancia, por ejemplo : ") +
         p.gServidor + QStringLiteral("\\QUMAKIT") + nl +
         QStringLiteral("3. Verifique si el inicio de sesion para el usuario ") + p.gUsuario +
         QStringLiteral(" existe") + nl + nl + nl + QStringLiteral(" - Desea Intentarlo Nuevamente??? ");
}

void DB_Dll::OpenServerADODB(bool PideParametrosSQL, long lCursor, const QString &ConnString,
                             bool ValidaAdmin, bool MuestraError) {
  gOpenFlag = true;
  bool reintentado = false;
  // An object already open is closed and the failed step tried once more.
  auto reintentarAbierta = [&](const AppError &e) {
    if (e.number() != err::ObjectOpen || reintentado)
      return false;
    reintentado = true;
    ignorarFalla([&] { Cnn().close(); });
    return true;
  };
  Trampa t([&](const AppError &e) -> int {
    if (!MuestraError) {
      if (reintentarAbierta(e))
        return 4;
      gOpenFlag = false;
      return 0;
    }
    if (Cnn().errors().count() > 0) {
      const int r = entorno_.ui.msgBox(MensajeFallaConexion(), vb::YesNo + vb::Critical,
                                       QStringLiteral(" Error de Conexion a Base de Datos"));
      if (r != vb::Yes) {
        gOpenFlag = false;
        return 0;
      }
      Cnn().errors().clear();
      if (!PideDatosConexion())
        return 0;
      ConstruirCadena();
      return 4;
    }
    if (reintentarAbierta(e))
      return 4;
    entorno_.ui.msgBox(e.description(), vb::OKOnly, entorno_.tituloPorDefecto());
    return 0;
  });

  t([&] {
    if (gProveedor.isEmpty())
      gProveedor = QStringLiteral("SQLOLEDB");
  });
  t([&] {
    if (recortarBlancos(ConnString).isEmpty())
      ConstruirCadena();
    else
      gConnString = ConnString;
  });
  if (PideParametrosSQL) {
    bool cancelado = false;
    t([&] { cancelado = !PideDatosConexion(); });
    if (cancelado || !t)
      return;
    t([&] { ConstruirCadena(); });
  }
  t([&] { Cnn().setCursorLocation(int(lCursor)); });
  t([&] { Cnn().open(gConnString, QString(), QString(), -1); });
  if (!t)
    return;
  if (!ValidaAdmin) {
    gEsAdmin = true;
    return;
  }
  if (recortarBlancos(gDBName).isEmpty())
    return;
  t([&] { Cnn().setDefaultDatabase(gDBName); });
  bool existe = false;
  t([&] { existe = principal().ExisteTablaDB(QStringLiteral("TA_USUARIOS")); });
  if (!t || !existe)
    return;
  if (!MuestraError) {
    gEsAdmin = true;
    return;
  }
  t([&] {
    const QString valor =
        principal()
            .DatosTabla(QStringLiteral("ta_usuarios"), entorno_.valores.gUsuarioLogeado,
                        QStringLiteral("Administrador"), QStringLiteral("nombre"), 8, QString(), true, false)
            .toString();
    // A bit column may come back as a boolean: true counts as 1.
    const bool verdadero = valor.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 ||
                           valor.compare(QLatin1String("Verdadero"), Qt::CaseInsensitive) == 0;
    gEsAdmin = verdadero || texto::valorNumerico(valor) == 1;
  });
}

void DB_Dll::ReintentaConectar() {
  gOpenFlag = false;
  Trampa t([&](const AppError &e) -> int {
    gOpenFlag = false;
    if (e.number() == err::Unspecified)
      return 0;
    return TratamientoErrores(e, std::nullopt, QStringLiteral("AbrirRecordset"));
  });
  QString cadena;
  t([&] {
    cadena = Cnn().connectionString();
    Cnn().setCommandTimeout(90);
  });
  t([&] {
    try {
      Cnn().close();
    } catch (const AppError &e) {
      if (e.number() != err::ObjectClosed)
        throw;
    }
  });
  t([&] {
    DB_Dll &p = principal();
    Cnn().open(cadena, p.gUsuario, p.gUserPassWord, -1);
  });
  t([&] { gOpenFlag = true; });
}

void DB_Dll::BuscarArchivoLocal(bool &cancelado) {
  if (!CmdDlg)
    CmdDlg = std::make_unique<kit::DialogoArchivo>(entorno_.ui);
  CmdDlg->Titulo = QStringLiteral("Buscar Base de Datos");
  CmdDlg->Filtro = QStringLiteral("Base de Datos de Microsoft Access |*.MDB");
  CmdDlg->MostrarAbrir();
  gDBName = CmdDlg->NombreArchivo;
  cancelado = CmdDlg->Cancelado;
}

void DB_Dll::OpenLocalADODB(const QString &ConnString, const QString &CadenaID, const QString &CadenaPWD) {
  // Each pass is one run of the operation from its first step; a missing file
  // or a rejected password starts it over, a bounded number of times.
  for (int vuelta = 0;; ++vuelta) {
    bool otraVez = false;
    bool cancelado = false;
    Trampa t([&](const AppError &e) -> int {
      ado::ErrorList &errores = Cnn().errors();
      if (errores.count() > 0 && vuelta < kMaxReiniciosLocal) {
        const QString estado = errores.item(0).sqlState.trimmed();
        if (estado == QLatin1String("3024") || estado == QLatin1String("3051") ||
            estado == QLatin1String("3044")) {
          BuscarArchivoLocal(cancelado);
          otraVez = !cancelado;
          return 0;
        }
        if (estado == QLatin1String("3031")) {
          if (gIgnoraPassWord.toBool()) {
            gExtended = QStringLiteral("Jet OLEDB:Database Password=") + gUserPassWord + QStringLiteral(";");
          } else {
            const std::optional<QString> clave = entorno_.ui.inputBox(
                QStringLiteral("ingrese el password:"), QStringLiteral("Password Access"), QString());
            // A cancelled prompt gives up the open.
            if (!clave)
              return 0;
            gExtended = QStringLiteral(" Jet OLEDB:Database Password=") + *clave + QStringLiteral(";");
          }
          otraVez = true;
          return 0;
        }
      }
      entorno_.ui.msgBox(QString::number(e.number()) + QStringLiteral("  ") + e.description(),
                         vb::Critical + vb::OKOnly, entorno_.tituloPorDefecto());
      return 0;
    });
    t([&] {
      if (recortarBlancos(gDBName).isEmpty())
        BuscarArchivoLocal(cancelado);
    });
    if (cancelado)
      return;
    QString cadena;
    t([&] {
      cadena = ConnString.isEmpty()
                   ? QStringLiteral("PROVIDER=") + gProveedor + QStringLiteral(";") +
                         QStringLiteral("Data Source =") + gDBName + QStringLiteral(";") + CadenaID +
                         QStringLiteral("=") + gUsuario + QStringLiteral(";") + CadenaPWD +
                         QStringLiteral("=") + gUserPassWord + QStringLiteral(";") + gExtended
                   : ConnString;
    });
    t([&] {
      Cnn().open(cadena, QString(), QString(), -1);
      gConnString = cadena;
    });
    if (!otraVez)
      return;
  }
}

// ------------------------------------------------------------- error report

int DB_Dll::TratamientoErrores(const AppError &CodErr, std::optional<long> Botones,
                               const std::optional<QString> &Rutina) {
  QString ruta;
  ignorarFalla([&] {
    ruta = gLogErr.isEmpty()
               ? kit::Utilidades::ConBarra(entorno_.sistema.carpetaPrograma()) + QStringLiteral("ZVERR.LOG")
               : gLogErr;
  });
  const QString mensaje = QStringLiteral("Ha ocurrido el Siguiente Error (") +
                          QString::number(CodErr.number()) + QStringLiteral(") ") +
                          recortarBlancos(CodErr.description());
  const QString parteRutina = Rutina ? QStringLiteral(" - ") + *Rutina : QString();
  const QString titulo = CodErr.source() + parteRutina + QStringLiteral(" Aviso al operador!!! - 5 ");
  const int botones = int(Botones.value_or(18));
  if (CodErr.number() == 0)
    return 0;
  const int respuesta = entorno_.ui.msgBox(mensaje, botones, titulo);
  QString textoRespuesta;
  switch (respuesta) {
  case vb::Retry:
    textoRespuesta = QStringLiteral("Reintentar");
    break;
  case vb::Ignore:
    textoRespuesta = QStringLiteral("Ignorar");
    break;
  case vb::Abort:
    textoRespuesta = QStringLiteral("Abortar");
    break;
  case vb::Cancel:
    textoRespuesta = QStringLiteral("Cancelar");
    break;
  case vb::Yes:
    textoRespuesta = QStringLiteral("Sí");
    break;
  case vb::No:
    textoRespuesta = QStringLiteral("No");
    break;
  default:
    break;
  }
  const QDateTime ahora = QDateTime::currentDateTime();
  const QString linea = ahora.toString(QStringLiteral("MM-dd-yyyy")) + QStringLiteral(" ") +
                        ahora.toString(QStringLiteral("HH:mm:ss")) + QStringLiteral(" Rutina: ") +
                        recortarBlancos(parteRutina) + QStringLiteral(" Mensaje ") +
                        recortarBlancos(mensaje) + QStringLiteral(" Respondió : ") + textoRespuesta;
  // Only the line is lost when the log cannot be written.
  ignorarFalla([&] { texto1252::escribirTexto(ruta, linea + QStringLiteral("\r\n"), true); });
  return respuesta;
}

} // namespace zv::db
