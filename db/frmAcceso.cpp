#include "db/frmAcceso.h"

#include "db/DB_Dll.h"
#include "db/FrmAccesoQt.h"
#include "db/TextoSql.h"
#include "platform/Kit.h"
#include "platform/ProtocoloError.h"
#include "platform/Texto1252.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace zv::db {

using texto::recortarBlancos;

namespace {

// Without a display nothing can be shown: the dialog is taken as cancelled.
class VistaNula : public VistaAcceso {
public:
  void mostrarModal() override {}
  void ocultar() override {}
  void centrar() override {}
  void actualizar() override {}
  void enfocar(const QString &) override {}
};

constexpr int kColorPista = 2;

} // namespace

frmAcceso::frmAcceso(EntornoDB &entorno) : entorno_(entorno) {
  archivo_ = kit::Utilidades::ConBarra(entorno_.sistema.carpetaPrograma()) + QStringLiteral("BASES.TXT");
  TxtUserId.ToolTipText = QStringLiteral("Ingrese el nombre de usuario");
  TxtUserPassword.ToolTipText = QStringLiteral("Ingrese la contraseña");
  TxtDbName.ToolTipText = QStringLiteral("ingrese el nombre de la base de datos");
  TxtServidor.ToolTipText = QStringLiteral("ingrese el nombre del servidor e instancia");
  TxtPuerto.ToolTipText = QStringLiteral("Ingrese el Puerto ");
  TxtPuerto.Text = QStringLiteral("1433");
  CboPlataformaDB.List = {QStringLiteral("SQL Server"), QStringLiteral("ORACLE")};
  CboPlataformaDB.ListIndex = 0;
  if (entorno_.fabricaVistaAcceso)
    vista_ = entorno_.fabricaVistaAcceso(*this);
  else if (qobject_cast<QApplication *>(QCoreApplication::instance()))
    vista_ = crearVistaAccesoQt(*this);
  if (!vista_)
    vista_ = std::make_unique<VistaNula>();
}

frmAcceso::~frmAcceso() = default;

DB_Dll &frmAcceso::principal() { return entorno_.principal(); }

int frmAcceso::reportar(const AppError &e, const QString &rutina) {
  if (entorno_.reporteCentral)
    return entorno_.reporteCentral(e, rutina);
  return principal().TratamientoErrores(e, std::nullopt, rutina);
}

CajaTexto *frmAcceso::caja(const QString &nombre) {
  for (CajaTexto *c : {&TxtUserId, &TxtUserPassword, &TxtDbName, &TxtServidor, &TxtPuerto})
    if (c->Name.compare(nombre, Qt::CaseInsensitive) == 0)
      return c;
  return nullptr;
}

// ------------------------------------------------------------ window life

void frmAcceso::Form_Load() {
  vista_->centrar();
  llenarlist();
  MensajeInicial(TxtUserId);
  MensajeInicial(TxtUserPassword);
  MensajeInicial(TxtDbName);
  MensajeInicial(TxtServidor);
}

void frmAcceso::Show() {
  visible_ = true;
  vista_->actualizar();
  vista_->mostrarModal();
  visible_ = false;
}

void frmAcceso::Hide() {
  visible_ = false;
  vista_->ocultar();
}

void frmAcceso::setText(CajaTexto &caja, const QString &texto) {
  if (caja.Text == texto)
    return;
  caja.Text = texto;
  caja.SelStart = int(texto.size());
  caja.SelLength = 0;
  cambio(caja);
  vista_->actualizar();
}

void frmAcceso::cambio(CajaTexto &caja) {
  if (&caja == &TxtDbName || &caja == &TxtServidor || &caja == &TxtUserPassword)
    MensajeInicial(caja);
}

QString frmAcceso::pista(const QString &nombreCaja) {
  if (nombreCaja.compare(QLatin1String("TxtUserId"), Qt::CaseInsensitive) == 0)
    return QStringLiteral("Ingrese el usuario");
  if (nombreCaja.compare(QLatin1String("TxtDbName"), Qt::CaseInsensitive) == 0)
    return QStringLiteral("ingrese el nombre de la base de datos");
  if (nombreCaja.compare(QLatin1String("TxtServidor"), Qt::CaseInsensitive) == 0)
    return QStringLiteral("ingrese el nombre del servidor e instancia");
  return QString();
}

void frmAcceso::MensajeInicial(CajaTexto &ObjTxt) {
  const QString p = pista(ObjTxt.Name);
  const QString actual = recortarBlancos(ObjTxt.Text);
  if (!actual.isEmpty() && actual != p)
    return;
  setText(ObjTxt, p);
  ObjTxt.ForeColor = kColorPista;
  ObjTxt.SelStart = 0;
  ObjTxt.SelLength = int(recortarBlancos(ObjTxt.Text).size());
  vista_->actualizar();
}

// ------------------------------------------------------------------ events

void frmAcceso::seleccionarBase(int indice) {
  lstBases.ListIndex = indice;
  lstBases_Click();
}

void frmAcceso::lstBases_Click() { AsignarDatosBase(); }
void frmAcceso::lstBases_KeyDown(int) { AsignarDatosBase(); }

void frmAcceso::lstBases_DblClick() {
  AsignarDatosBase();
  bcAceptar_Click();
}

void frmAcceso::TxtUserId_GotFocus() {
  foco_ = TxtUserId.Name;
  MensajeInicial(TxtUserId);
}

void frmAcceso::Txt_KeyPress(CajaTexto &caja, int KeyAscii) {
  if (KeyAscii != vb::KeyReturn)
    return;
  QString siguiente;
  if (&caja == &TxtUserId)
    siguiente = TxtUserPassword.Name;
  else if (&caja == &TxtUserPassword)
    siguiente = TxtDbName.Name;
  else if (&caja == &TxtDbName)
    siguiente = TxtServidor.Name;
  else if (&caja == &TxtServidor)
    siguiente = QStringLiteral("bcAceptar");
  if (siguiente.isEmpty())
    return;
  foco_ = siguiente;
  vista_->enfocar(siguiente);
  if (siguiente == TxtUserId.Name)
    TxtUserId_GotFocus();
}

void frmAcceso::bcAceptar_Click() {
  entorno_.valores.gUsuarioLogeado = TxtUserId.Text;
  entorno_.valores.gClaveUsuario = TxtUserPassword.Text;
  Aceptar = true;
  RegistrarBases();
  Hide();
}

void frmAcceso::bcCancelar_Click() {
  Aceptar = false;
  Hide();
}

void frmAcceso::Label8_Click() {
  kit::InfoSistema(entorno_.sistema, entorno_.ui).AbrirDocumento(entorno_.direccionWeb, 1);
}

// ------------------------------------------------------------- registry

void frmAcceso::llenarlist() {
  lstBases.List.clear();
  lstBases.ListIndex = -1;
  if (!QFileInfo(archivo_).isFile()) {
    vista_->actualizar();
    return;
  }
  Trampa t([&](const AppError &e) { return reportar(e, QStringLiteral("FormLoad")); });
  texto1252::Lector lector;
  t([&] { lector.abrir(archivo_); });
  while (t && lector.abierto() && !lector.fin()) {
    t([&] {
      const QStringList c = registro::campos(lector.leerLinea());
      if (!c.isEmpty() && !recortarBlancos(c.first()).isEmpty())
        lstBases.List << c.first();
    });
  }
  lector.cerrar();
  vista_->actualizar();
  if (!lstBases.List.isEmpty())
    seleccionarBase(0);
}

void frmAcceso::DatosBase(const QString &Nombre) {
  if (!QFileInfo(archivo_).isFile())
    return;
  Trampa t([&](const AppError &e) {
    reportar(e, QStringLiteral("DatosBase"));
    return 0;
  });
  t([&] {
    texto1252::Lector lector(archivo_);
    const QString buscado = recortarBlancos(Nombre);
    while (!lector.fin()) {
      const QStringList c = registro::campos(lector.leerLinea());
      if (c.isEmpty() || recortarBlancos(c.first()) != buscado)
        continue;
      servidorActual = c.value(4);
      baseActual = c.value(1);
      usuarioActual = c.value(2);
      claveActual = kit::Utilidades::Descifrar(c.value(3));
      break;
    }
  });
}

void frmAcceso::AsignarDatosBase() {
  DatosBase(recortarBlancos(lstBases.texto()));
  const qsizetype dosPuntos = servidorActual.indexOf(u':');
  if (dosPuntos >= 0) {
    puertoActual = servidorActual.mid(dosPuntos + 1);
    servidorActual = recortarBlancos(servidorActual.left(dosPuntos)).toUpper();
  }
  setText(TxtServidor, servidorActual);
  setText(TxtUserId, QString());
  setText(TxtUserPassword, QString());
  setText(TxtDbName, baseActual);
  setText(TxtPuerto, puertoActual);
}

QString frmAcceso::nombreEntrada(const QString &servidor, const QString &baseDatos) {
  const qsizetype dosPuntos = servidor.indexOf(u':');
  const QString srv = dosPuntos >= 0 ? servidor.left(dosPuntos) : servidor;
  return recortarBlancos(srv).toUpper() + QStringLiteral(" / ") + recortarBlancos(baseDatos).toUpper();
}

void frmAcceso::RegistrarBases() {
  if (!QFileInfo::exists(archivo_))
    CmdRegistrar_Click();
}

bool frmAcceso::ExisteBaseDeDatos(const QString &Servidor, const QString &Dbname, const QString &Usuario,
                                  const QString &Password, const QString &Proveedor) {
  bool resultado = true;
  DB_Dll &p = principal();
  // A failing step makes the test fail; the next step still runs.
  Trampa t([&](const AppError &) {
    resultado = false;
    return 5;
  });
  t([&] {
    if (p.gOpenFlag)
      p.Cnn().close();
  });
  const QString cadena = QStringLiteral("PROVIDER=") + Proveedor + QStringLiteral(";") +
                         QStringLiteral("Server=") + Servidor + QStringLiteral(";") +
                         QStringLiteral("Database =") + Dbname + QStringLiteral(";") +
                         QStringLiteral("UId=") + Usuario + QStringLiteral(";") + QStringLiteral("Pwd=") +
                         Password + QStringLiteral(";");
  t([&] { p.Cnn().open(cadena, QString(), QString(), -1); });
  t([&] {
    if (resultado)
      p.Cnn().close();
  });
  return resultado;
}

void frmAcceso::CmdRegistrar_Click() {
  DB_Dll &p = principal();
  bool mostrado3704 = false;
  auto mensaje3704 = [&](const AppError &e) {
    const QString numero =
        e.number() >= 0 ? QStringLiteral(" ") + QString::number(e.number()) : QString::number(e.number());
    entorno_.ui.msgBox(QStringLiteral("SQL Server start failed.  ") + QStringLiteral("\r") +
                           QStringLiteral("SQL-DMO error:  ") + numero + QStringLiteral(" ") +
                           e.description(),
                       vb::OKOnly, entorno_.tituloPorDefecto());
    mostrado3704 = true;
  };
  // A closed connection sends the command to its tail; any other failure goes on.
  Trampa t([&](const AppError &e) {
    if (e.number() != err::ObjectClosed)
      return 5;
    mensaje3704(e);
    return 0;
  });

  QString nombre;
  bool existe = false;
  t([&] {
    nombre = nombreEntrada(TxtServidor.Text, TxtDbName.Text);
    servidorActual.clear();
    DatosBase(nombre);
    existe = !servidorActual.isEmpty();
  });
  if (t && existe) {
    entorno_.ui.msgBox(QStringLiteral("La conexion que intenta registrar ya existe "),
                       vb::Information + vb::OKOnly, QStringLiteral("Atencion"));
    return;
  }
  long long puerto = 0;
  t([&] {
    puerto = static_cast<long long>(kit::Utilidades::ANumero(TxtPuerto.Text));
    if (puerto == 0)
      puerto = 1433;
  });
  t([&] {
    setText(TxtServidor, recortarBlancos(TxtServidor.Text));
    setText(TxtUserId, recortarBlancos(TxtUserId.Text));
    setText(TxtUserPassword, recortarBlancos(TxtUserPassword.Text));
    setText(TxtDbName, recortarBlancos(TxtDbName.Text));
  });
  auto grabar = [&] {
    registro::GrabarBase(archivo_, nombre, TxtDbName.Text, TxtDbName.Text, TxtDbName.Text, TxtServidor.Text,
                         QString(), false);
  };
  bool conecta = false;
  t([&] {
    const QString bd = TxtDbName.Text.toUpper();
    conecta = ExisteBaseDeDatos(TxtServidor.Text, bd, bd, bd, QStringLiteral("SQLOLEDB"));
  });
  if (t && conecta) {
    t(grabar);
  } else if (t) {
    t([&] {
      if (p.gOpenFlag)
        p.Cnn().close();
    });
    t([&] {
      p.gServidor = TxtServidor.Text;
      p.gUsuario = TxtUserId.Text;
      p.gUserPassWord = TxtUserPassword.Text;
      p.gDBName = TxtDbName.Text;
    });
    t([&] { p.OpenServerADODB(false, 3, QString(), true, true); });
    if (t && !p.gOpenFlag) {
      entorno_.ui.msgBox(QStringLiteral("NO SE PUDO CONECTAR AL SERVIDOR ") + TxtServidor.Text +
                             QStringLiteral(" VERIFIQUE EL NOMBRE DE USUARIO Y PASSWORD INGRESADO"),
                         vb::Information + vb::OKOnly, QStringLiteral("AVISO AL OPERADOR"));
      return;
    }
    t(grabar);
  }

  // Tail: the companion program, the final close and the list. A closed
  // connection there shows its message once and runs the tail again; when
  // it repeats, the tail goes on quietly.
  for (;;) {
    bool otraVez = false;
    Trampa cola([&](const AppError &e) {
      if (e.number() != err::ObjectClosed || mostrado3704)
        return 5;
      mensaje3704(e);
      otraVez = true;
      return 0;
    });
    cola([&] {
      const QString carpeta = kit::Utilidades::ConBarra(entorno_.sistema.carpetaPrograma());
      if (QFileInfo::exists(carpeta + QStringLiteral("ODBC.exe")))
        entorno_.sistema.iniciarProceso(carpeta + QStringLiteral("ODBC.exe ") + QStringLiteral("Server=") +
                                        TxtServidor.Text + QStringLiteral(";DB=") + p.gDBName +
                                        QStringLiteral(";"));
    });
    cola([&] { p.Cnn().close(); });
    if (otraVez)
      continue;
    cola([&] { llenarlist(); });
    break;
  }
}

// --------------------------------------------------------------- launcher

namespace {

// A value of the Exec key: quoted, with the characters that desktop entries
// reserve escaped.
QString argumentoExec(const QString &ruta) {
  QString r;
  for (QChar c : ruta) {
    if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
      r += u'\\';
    r += c;
  }
  return QStringLiteral("\"") + r + QStringLiteral("\"");
}

} // namespace

QString frmAcceso::rutaAccesoDirecto() const {
  QString escritorio = entorno_.carpetaEscritorio;
  if (escritorio.isEmpty())
    escritorio = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
  return kit::Utilidades::ConBarra(escritorio) + entorno_.sistema.nombreEjecutable().trimmed() +
         QStringLiteral(".desktop");
}

void frmAcceso::CmdLineaComando_Click() {
  Trampa t([&](const AppError &e) { return reportar(e, QStringLiteral("CmdLineaComando")); });
  t([&] {
    const QString nombre = entorno_.sistema.nombreEjecutable().trimmed();
    const QString programa = kit::Utilidades::ConBarra(entorno_.sistema.carpetaPrograma()) + nombre;
    const QString ruta = rutaAccesoDirecto();
    QDir().mkpath(QFileInfo(ruta).absolutePath());
    QFile f(ruta);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
      throw AppError(texto1252::ErrAccesoArchivo, QStringLiteral("No se pudo escribir ") + ruta,
                     QStringLiteral("frmAcceso"));
    const QString contenido = QStringLiteral("[Desktop Entry]\nType=Application\nName=") + nombre +
                              QStringLiteral("\nExec=") + argumentoExec(programa) +
                              QStringLiteral("\nIcon=") + programa + QStringLiteral("\nPath=") +
                              entorno_.sistema.carpetaPrograma() + QStringLiteral("\nTerminal=false\n");
    const QByteArray bytes = contenido.toUtf8();
    if (f.write(bytes) != bytes.size() || !f.flush())
      throw AppError(texto1252::ErrAccesoArchivo, QStringLiteral("No se pudo escribir ") + ruta,
                     QStringLiteral("frmAcceso"));
    f.close();
    f.setPermissions(f.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
  });
}

bool frmAcceso::EjecutarCmdRegDB(const QString &Archivo, QString &ErrDevuelto) {
  QStringList partes = QProcess::splitCommand(Archivo);
  if (partes.isEmpty()) {
    ErrDevuelto = QStringLiteral("Error al ejecutar el comando");
    return false;
  }
  QProcess proceso;
  const QString programa = partes.takeFirst();
  proceso.start(programa, partes);
  if (!proceso.waitForStarted()) {
    ErrDevuelto = QStringLiteral("Error al ejecutar el comando");
    return false;
  }
  while (!proceso.waitForFinished(50))
    entorno_.ui.doEvents();
  return true;
}

// ---------------------------------------------------------------- registry

namespace registro {

QStringList campos(const QString &linea) {
  QStringList r;
  qsizetype i = 0;
  const qsizetype n = linea.size();
  for (;;) {
    while (i < n && (linea.at(i) == u' ' || linea.at(i) == u'\t'))
      ++i;
    QString campo;
    if (i < n && linea.at(i) == u'"') {
      ++i;
      while (i < n) {
        if (linea.at(i) == u'"') {
          if (i + 1 < n && linea.at(i + 1) == u'"') {
            campo += u'"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        campo += linea.at(i++);
      }
      while (i < n && linea.at(i) != u',')
        ++i;
    } else {
      while (i < n && linea.at(i) != u',')
        campo += linea.at(i++);
      campo = recortarBlancos(campo);
    }
    r << campo;
    if (i >= n)
      break;
    ++i; // the comma
  }
  return r;
}

void GrabarBase(const QString &archivo, const QString &nombre, const QString &baseDatos,
                const QString &usuario, const QString &clave, const QString &servidor, const QString &puerto,
                bool oracle) {
  const QString srv = (oracle ? QStringLiteral("#") : QString()) + servidor;
  const QString sufijo = puerto.isEmpty() ? QString() : QStringLiteral("/") + puerto + QStringLiteral(":");
  const QString cifrada = kit::Utilidades::Cifrar(clave);
  const QString linea = recortarBlancos(nombre) + QStringLiteral(",") + recortarBlancos(baseDatos) +
                        QStringLiteral(",") + recortarBlancos(usuario) + QStringLiteral(",") +
                        recortarBlancos(cifrada) + QStringLiteral(",") + recortarBlancos(srv) + sufijo;
  if (!QFileInfo::exists(archivo)) {
    texto1252::escribirTexto(archivo, linea + QStringLiteral("\r\n"), false);
    return;
  }
  const QString actual = texto1252::leerTexto(archivo);
  const qsizetype fin = qMax(actual.lastIndexOf(u'\n'), actual.lastIndexOf(u'\r'));
  const QString ultima = actual.mid(fin + 1);
  const QString inicio = recortarBlancos(ultima).isEmpty() ? QString() : QStringLiteral("\r\n");
  texto1252::escribirTexto(archivo, inicio + linea + QStringLiteral("\r\n"), true);
}

} // namespace registro

} // namespace zv::db
