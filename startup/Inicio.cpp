// The start-up sequence: from a freshly started process to an open database
// connection with a verified application user and its access record.
#include "db/frmAcceso.h"
#include "platform/ProtocoloError.h"
#include "startup/ModuloGlobal.h"
#include "startup/Parametros.h"

#include <QFileInfo>

namespace zv::startup {

namespace {
constexpr long kLecturaSinConfirmar = 256; // isolation level read-uncommitted
const QString kMarcaClave = QStringLiteral("* *");
} // namespace

void ModuloGlobal::IniciarAplicacion() {
  Sistema &sistema = entorno.sistema;
  // One handler for the whole sequence: the notice closes; an invalid
  // argument goes on with the next step, anything else ends the program.
  Trampa trampa([&](const AppError &e) {
    cerrarCartel();
    return e.number() == err::InvalidArgument ? vb::Ignore : vb::Abort;
  });
  const auto paso = [&](const std::function<void()> &f) {
    if (!trampa(f))
      sistema.terminar(salida::Falla);
  };
  const QString CRLF = QStringLiteral("\r\n");

  QString linea, servidor, baseDatos, usuarioBase, clave, cadena, appPath;
  try {
    paso([&] {
      if (!cartel)
        return;
      cartel->CartelInicio(QStringLiteral("Conectando Base de Datos"), false);
      bool cancelado = false;
      cartel->CartelMostrar(cancelado, QVariant(QStringLiteral("Iniciando Aplicacion")),
                            QVariant(sistema.nombreEjecutable()),
                            QVariant(QStringLiteral("Espere por favor")));
    });
    paso([&] {
      appPath = kit::Utilidades::ConBarra(sistema.carpetaPrograma());
      ArchivoAyuda = appPath + QStringLiteral("htmlhelp/qumakitplus.chm");
    });
    paso([&] {
      gColorLetra = 0;
      gColorFondo = 0xFFFFFF;
    });
    paso([&] { linea = sistema.argumentos().join(QLatin1Char(' ')); });
    paso([&] {
      gSeccionIni = SeccionIni(InfoSistema().NombreEquipo(), InfoSistema().UsuarioSistema());
      gBarrasPlanas = int(ValorEntero(LectorIni().LeerValor(
          QStringLiteral("KX517tm.INI"), gSeccionIni, QStringLiteral("FlatToolbars"), QStringLiteral("1"))));
    });
    paso([&] {
      gParametroAdicional = ValorParametro(linea, QStringLiteral("@ParametroAdicional"));
      servidor = ValorParametro(linea, QStringLiteral("@Server"));
      baseDatos = ValorParametro(linea, QStringLiteral("@DbName"));
      usuarioBase = ValorParametro(linea, QStringLiteral("@Usuario"));
      gUsuarioLogeado() = ValorParametro(linea, QStringLiteral("@UsuarioLogeado"));
      if (gUsuarioLogeado().isEmpty())
        gUsuarioLogeado() = usuarioBase;
    });
    paso([&] {
      clave = ValorParametro(linea, QStringLiteral("@Password"));
      gClaveUsuario() = clave.compare(baseDatos, Qt::CaseInsensitive) == 0 ? kMarcaClave : clave;
      gCaja = ValorParametro(linea, QStringLiteral("@Caja"));
      if (gCaja.isEmpty())
        gCaja = QStringLiteral("1");
    });
    paso([&] {
      if (!servidor.isEmpty() && servidor.startsWith(QLatin1Char('#'))) {
        servidor = servidor.mid(1);
        if (cadena.isEmpty())
          cadena = QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=") + baseDatos +
                   QStringLiteral(";User Id=") + usuarioBase + QStringLiteral(";Password=") + clave +
                   QStringLiteral(";");
      }
    });

    db::DB_Dll &db = principal();
    for (;;) {
      // Connection, statistics, lookup set-up and working settings.
      paso([&] {
        db.gUsuario = baseDatos;
        db.gDBName = baseDatos;
        db.gUserPassWord = baseDatos;
        db.gServidor = NormalizarServidor(servidor);
      });
      paso([&] {
        const bool pedir = RecortarBlancos(servidor).isEmpty() || RecortarBlancos(usuarioBase).isEmpty();
        db.OpenServerADODB(pedir, ado::adUseClient, cadena, true, true);
      });
      // A failure reported without the server's error list leaves the flag
      // set; the connection itself tells whether it opened.
      if (!db.gOpenFlag || !abierta(db))
        sistema.terminar(salida::SinConexion);
      paso([&] { ConfiguraEstadisticas(); });
      paso([&] { db.Cnn().setCommandTimeout(gTiempoEspera); });
      paso([&] { db.Cnn().setIsolationLevel(kLecturaSinConfirmar); });
      if (!db.gDBName.isEmpty()) {
        paso([&] { ReceptorRuta().Iniciar(appPath); });
        paso([&] { db.Cnn().setDefaultDatabase(db.gDBName); });
        paso([&] {
          if (!motorConsultas)
            return;
          MotorConsultas &motor = motorConsultas();
          const QString ruta = appPath + QStringLiteral("consultas.zvq");
          motor.FijarMascaras(db.gConnString, true, ruta);
          if (!QFileInfo::exists(ruta))
            motor.GrabarCatalogo();
        });
        paso([&] { db.Cnn().setDefaultDatabase(db.gDBName); });
        paso([&] { CargaConfiguracion(appPath); });
      }
      paso([&] {
        if (gClaveUsuario() != kMarcaClave)
          return;
        ado::Recordset rs;
        QString consulta = QStringLiteral("Select * from ta_usuarios  with(nolock)  where Nombre = '") +
                           Comillas(gUsuarioLogeado()) + QLatin1Char('\'');
        db.AbrirRecordset(consulta, rs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly);
        if (!rs.eof())
          gClaveUsuario() =
              kit::Utilidades::Descifrar(kit::Utilidades::SinNulo(rs.value(QStringLiteral("Password"))));
        db.CierraRecordset(rs);
      });

      bool valido = false;
      paso([&] { valido = ValidaUsuario(gUsuarioLogeado(), gClaveUsuario()); });
      if (valido)
        break;

      paso([&] {
        entorno.ui.msgBox(QStringLiteral("El usuario o clave en la base de datos es incorrecto!") + CRLF +
                              QStringLiteral("Intentelo nuevamente"),
                          vb::OKOnly + vb::Critical, QStringLiteral("Atencion!"));
      });
      enum class Resultado { Fallido, Valido, OtraBase } resultado = Resultado::Fallido;
      for (int intento = 1; intento <= 3 && resultado == Resultado::Fallido; ++intento) {
        paso([&] {
          db::frmAcceso dialogo(entorno);
          dialogo.Form_Load();
          dialogo.setText(dialogo.TxtDbName, db.gDBName);
          dialogo.setText(dialogo.TxtServidor, db.gServidor);
          dialogo.setText(dialogo.TxtUserId, gUsuarioLogeado());
          dialogo.setText(dialogo.TxtUserPassword, gClaveUsuario());
          dialogo.CboPlataformaDB.ListIndex = 0;
          dialogo.Show();
          if (!dialogo.Aceptar)
            sistema.terminar(salida::AccesoCancelado);
          // Registering the first connection tests it on the main object's
          // own connection and leaves that closed: open it again for the check.
          if (!abierta(db)) {
            db.OpenServerADODB(false, ado::adUseClient, cadena, true, true);
            if (!db.gOpenFlag || !abierta(db))
              sistema.terminar(salida::SinConexion);
          }
          if (!ValidaUsuario(gUsuarioLogeado(), gClaveUsuario())) {
            entorno.ui.msgBox(QStringLiteral("Usuario o Clave incorrecta"), vb::OKOnly + vb::Information,
                              QStringLiteral("Atencion"));
            RegistraAccion(QString(), QString(), QStringLiteral("0"), true, false,
                           QStringLiteral("Intento de inicio de sesion fallido"), QString(), false);
            return;
          }
          const QString otraBase = dialogo.TxtDbName.Text;
          const QString otroServidor = dialogo.TxtServidor.Text;
          if (otraBase.compare(db.gDBName, Qt::CaseInsensitive) == 0 &&
              otroServidor.compare(db.gServidor, Qt::CaseInsensitive) == 0) {
            resultado = Resultado::Valido;
          } else {
            baseDatos = otraBase;
            servidor = otroServidor;
            resultado = Resultado::OtraBase;
          }
        });
      }
      if (resultado == Resultado::Valido)
        break;
      if (resultado == Resultado::OtraBase)
        continue; // reconnect to the database the dialog named
      paso([&] {
        entorno.ui.msgBox(QStringLiteral("Demasiados intentos para iniciar sesión!") + CRLF +
                              QStringLiteral("Comuniquese con el administrador de sistemas"),
                          vb::OKOnly + vb::Critical, QStringLiteral("Atencion!"));
      });
      sistema.terminar(salida::DemasiadosIntentos);
    }

    paso([&] { RegistraIngreso(QString()); });
    paso([&] { cerrarCartel(); });
  } catch (const ProcessExit &) {
    throw;
  } catch (const std::exception &) {
    cerrarCartel();
    sistema.terminar(salida::Falla);
  }
}

} // namespace zv::startup
