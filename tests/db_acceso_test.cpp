// The access dialog's logic and its connection registry, and the Qt dialog
// over it (offscreen).
#include "db_entorno_prueba.h"
#include "platform/Kit.h"
#include "platform/Texto1252.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace zv;
using namespace zv::test;
using Op = ConexionFallida::Operacion;

namespace {

struct Acceso : EntornoPrueba {
  std::unique_ptr<db::frmAcceso> abrir() {
    auto f = std::make_unique<db::frmAcceso>(entorno);
    f->Form_Load();
    return f;
  }
  void registro(const QStringList &lineas) {
    texto1252::escribirTexto(registroBases(), lineas.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
  }
  QString contenido() {
    QFile f(registroBases());
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
  }
  static QString linea(const char *nombre, const char *base, const char *servidor) {
    const QString b = QString::fromLatin1(base);
    return QString::fromLatin1(nombre) + u',' + b + u',' + b + u',' + kit::Utilidades::Cifrar(b) + u',' +
           QString::fromLatin1(servidor);
  }
  QString mensaje3704() {
    return QStringLiteral(
        "SQL Server start failed.  \rSQL-DMO error:   3704 Operation is not allowed when the "
        "object is closed.");
  }
};

} // namespace

TEST_F(Acceso, SinRegistroLaListaEstaVaciaYElPrimerConectarLoCrea) {
  auto f = abrir();
  EXPECT_TRUE(f->lstBases.List.isEmpty());
  EXPECT_FALSE(QFile::exists(registroBases()));
  f->setText(f->TxtServidor, QStringLiteral(" srv "));
  f->setText(f->TxtDbName, QStringLiteral(" Demo "));
  f->setText(f->TxtUserId, QStringLiteral("ADMIN"));
  f->setText(f->TxtUserPassword, QStringLiteral("clave"));
  // the final close of an already closed connection is reported once
  ui.expectMsg(mensaje3704(), vb::OKOnly, QStringLiteral("recodificador"), vb::OK);
  f->bcAceptar_Click();
  EXPECT_TRUE(f->Aceptar);
  EXPECT_EQ(std_(entorno.valores.gUsuarioLogeado), "ADMIN");
  EXPECT_EQ(std_(entorno.valores.gClaveUsuario), "clave");
  EXPECT_EQ(std_(guion().registro.value(0)),
            "open:PROVIDER=SQLOLEDB;Server=srv;Database =DEMO;UId=DEMO;Pwd=DEMO;");
  const QStringList lineas = texto1252::leerLineas(registroBases());
  ASSERT_EQ(lineas.size(), 1);
  const QStringList c = db::registro::campos(lineas[0]);
  ASSERT_EQ(c.size(), 5);
  EXPECT_EQ(std_(c[0]), "SRV / DEMO");
  EXPECT_EQ(std_(c[1]), "Demo");
  EXPECT_EQ(std_(c[2]), "Demo");
  EXPECT_EQ(std_(kit::Utilidades::Descifrar(c[3])), "Demo");
  EXPECT_NE(std_(c[3]), "Demo");
  EXPECT_EQ(std_(c[4]), "srv");
  EXPECT_EQ(f->lstBases.List, QStringList{QStringLiteral("SRV / DEMO")});
  EXPECT_EQ(guion().state(), ado::adStateClosed);
  // with the registry in place, Conectar registers nothing more
  auto g = abrir();
  g->bcAceptar_Click();
  EXPECT_EQ(texto1252::leerLineas(registroBases()).size(), 1);
}

TEST_F(Acceso, RegistrarUnaConexionExistenteNoEscribeNada) {
  registro({linea("SRV / DEMO", "DEMO", "SRV")});
  const QString antes = contenido();
  auto f = abrir();
  f->setText(f->TxtServidor, QStringLiteral("srv:1500"));
  f->setText(f->TxtDbName, QStringLiteral("demo"));
  ui.expectMsg(QStringLiteral("La conexion que intenta registrar ya existe "), vb::Information,
               QStringLiteral("Atencion"), vb::OK);
  f->CmdRegistrar_Click();
  EXPECT_EQ(std_(contenido()), std_(antes));
  EXPECT_EQ(falla().aperturas, 0);
}

TEST_F(Acceso, RegistrarUnaConexionNueva) {
  registro({linea("SRV / DEMO", "DEMO", "SRV")});
  auto f = abrir();
  f->setText(f->TxtServidor, QStringLiteral("OTRO "));
  f->setText(f->TxtDbName, QStringLiteral("EMPRESA"));
  ui.expectMsg(mensaje3704(), vb::OKOnly, QStringLiteral("recodificador"), vb::OK);
  f->CmdRegistrar_Click();
  const QStringList lineas = texto1252::leerLineas(registroBases());
  ASSERT_EQ(lineas.size(), 2);
  EXPECT_EQ(std_(db::registro::campos(lineas[1]).value(0)), "OTRO / EMPRESA");
  EXPECT_EQ(std_(db::registro::campos(lineas[1]).value(4)), "OTRO"); // trimmed before it was written
  // the list is read again and its first entry selected
  EXPECT_EQ(std_(f->TxtServidor.Text), "SRV");
  EXPECT_EQ(f->lstBases.List, (QStringList{QStringLiteral("SRV / DEMO"), QStringLiteral("OTRO / EMPRESA")}));
}

TEST_F(Acceso, RegistrarSinConexionAvisaYNoEscribe) {
  registro({linea("SRV / DEMO", "DEMO", "SRV")});
  const QString antes = contenido();
  auto f = abrir();
  f->setText(f->TxtServidor, QStringLiteral("MALO"));
  f->setText(f->TxtDbName, QStringLiteral("EMPRESA"));
  f->setText(f->TxtUserId, QStringLiteral("ADMIN"));
  falla().fallar(Op::Abrir, err::Unspecified, 17, 2, QStringLiteral("No existe"), QStringLiteral("08001"));
  ui.onMessage = [](const QString &, const QString &) {};
  ui.expectMsg(
      QStringLiteral(" Estado de Sql: 08001\rNumero de Error: -2147467259\rDescripcion: No existe\rCodigo "
                     "Nativo: 17\r\r\nNombre de Proceso: recodificador\r\r\n\r\n1. Verifique el Usuario, "
                     "contraseña y base de datos\r\n2. Verifique el nombre del servidor, quizas necesite "
                     "agregarle el nombre de la instancia, por ejemplo : MALO\\QUMAKIT\r\n3. Verifique si "
                     "el inicio de sesion para el usuario ADMIN existe\r\n\r\n\r\n - Desea Intentarlo "
                     "Nuevamente??? "),
      vb::YesNo + vb::Critical, QStringLiteral(" Error de Conexion a Base de Datos"), vb::No);
  ui.expectMsg(
      QStringLiteral("NO SE PUDO CONECTAR AL SERVIDOR MALO VERIFIQUE EL NOMBRE DE USUARIO Y PASSWORD "
                     "INGRESADO"),
      vb::Information, QStringLiteral("AVISO AL OPERADOR"), vb::OK);
  f->CmdRegistrar_Click();
  EXPECT_EQ(std_(contenido()), std_(antes));
  EXPECT_EQ(std_(bd().gDBName), "EMPRESA");
}

TEST_F(Acceso, ListaYEntradaConPuerto) {
  registro({linea("SRV / DEMO", "DEMO", "srv:1500"), QStringLiteral(""), QStringLiteral("  ,X,X,X,X"),
            linea("B / EMPRESA", "EMPRESA", "B")});
  auto f = abrir();
  EXPECT_EQ(f->lstBases.List, (QStringList{QStringLiteral("SRV / DEMO"), QStringLiteral("B / EMPRESA")}));
  EXPECT_EQ(f->lstBases.ListIndex, 0);
  // the first entry was selected at load: server and port apart
  EXPECT_EQ(std_(f->TxtServidor.Text), "SRV");
  EXPECT_EQ(std_(f->TxtPuerto.Text), "1500");
  EXPECT_EQ(std_(f->TxtDbName.Text), "DEMO");
  EXPECT_EQ(std_(f->claveActual), "DEMO");
  f->seleccionarBase(1);
  EXPECT_EQ(std_(f->TxtServidor.Text), "B");
  EXPECT_EQ(std_(f->TxtDbName.Text), "EMPRESA");
  // an unknown name leaves the current entry as it was
  f->DatosBase(QStringLiteral("srv / demo"));
  EXPECT_EQ(std_(f->baseActual), "EMPRESA");
}

TEST_F(Acceso, DobleClicConectaConLaEntrada) {
  registro({linea("SRV / DEMO", "DEMO", "SRV"), linea("B / EMPRESA", "EMPRESA", "B")});
  auto f = abrir();
  f->setText(f->TxtUserId, QStringLiteral("ADMIN"));
  f->lstBases.ListIndex = 1;
  f->lstBases_DblClick();
  EXPECT_TRUE(f->Aceptar);
  EXPECT_EQ(std_(f->TxtDbName.Text), "EMPRESA");
  EXPECT_EQ(std_(f->TxtServidor.Text), "B");
  EXPECT_EQ(std_(entorno.valores.gUsuarioLogeado), "");
}

TEST_F(Acceso, PistasDeLasCajas) {
  auto f = abrir();
  EXPECT_EQ(std_(f->TxtUserId.Text), "Ingrese el usuario");
  EXPECT_EQ(std_(f->TxtDbName.Text), "ingrese el nombre de la base de datos");
  EXPECT_EQ(std_(f->TxtServidor.Text), "ingrese el nombre del servidor e instancia");
  EXPECT_EQ(std_(f->TxtUserPassword.Text), "");
  f->setText(f->TxtDbName, QStringLiteral("DEMO"));
  EXPECT_EQ(std_(f->TxtDbName.Text), "DEMO");
  f->setText(f->TxtDbName, QStringLiteral("  "));
  EXPECT_EQ(std_(f->TxtDbName.Text), "ingrese el nombre de la base de datos");
  EXPECT_EQ(f->TxtDbName.ForeColor, 2);
  EXPECT_EQ(f->TxtDbName.SelStart, 0);
  EXPECT_EQ(f->TxtDbName.SelLength, f->TxtDbName.Text.size());
  // the user box shows its hint again when it gets the focus
  f->TxtUserId.Text.clear();
  f->TxtUserId_GotFocus();
  EXPECT_EQ(std_(f->TxtUserId.Text), "Ingrese el usuario");
}

TEST_F(Acceso, EnterPasaDeCajaEnCaja) {
  auto f = abrir();
  f->Txt_KeyPress(f->TxtUserId, 13);
  EXPECT_EQ(std_(f->foco()), "TxtUserPassword");
  f->Txt_KeyPress(f->TxtUserPassword, 13);
  EXPECT_EQ(std_(f->foco()), "TxtDbName");
  f->Txt_KeyPress(f->TxtDbName, 13);
  EXPECT_EQ(std_(f->foco()), "TxtServidor");
  f->Txt_KeyPress(f->TxtServidor, 65);
  EXPECT_EQ(std_(f->foco()), "TxtServidor");
  f->Txt_KeyPress(f->TxtServidor, 13);
  EXPECT_EQ(std_(f->foco()), "bcAceptar");
}

TEST_F(Acceso, CancelarYEnlace) {
  auto f = abrir();
  f->bcCancelar_Click();
  EXPECT_FALSE(f->Aceptar);
  EXPECT_FALSE(QFile::exists(registroBases()));
  entorno.direccionWeb = QStringLiteral("https://ejemplo.test/zv");
  ui.expectOpenDocument(QStringLiteral("https://ejemplo.test/zv"));
  f->Label8_Click();
}

TEST_F(Acceso, EscritorDelRegistro) {
  const QString archivo = registroBases();
  db::registro::GrabarBase(archivo, QStringLiteral(" A / B "), QStringLiteral("B"), QStringLiteral("B"),
                           QStringLiteral("clave, \"rara\""), QStringLiteral("SRV"), QStringLiteral("1500"),
                           true);
  // a last line without its line end: the new one starts on a line of its own
  QFile f(archivo);
  ASSERT_TRUE(f.open(QIODevice::Append));
  f.write("X / Y,Y,Y,Z,SRV2");
  f.close();
  db::registro::GrabarBase(archivo, QStringLiteral("C / D"), QStringLiteral("D"), QStringLiteral("D"),
                           QStringLiteral("D"), QStringLiteral("SRV3"), QString(), false);
  const QStringList lineas = texto1252::leerLineas(archivo);
  ASSERT_EQ(lineas.size(), 3);
  const QStringList a = db::registro::campos(lineas[0]);
  ASSERT_EQ(a.size(), 5);
  EXPECT_EQ(std_(a[0]), "A / B");
  EXPECT_EQ(std_(kit::Utilidades::Descifrar(a[3])), "clave, \"rara\"");
  EXPECT_EQ(std_(a[4]), "#SRV/1500:");
  EXPECT_EQ(std_(db::registro::campos(lineas[2]).value(4)), "SRV3");
}

TEST_F(Acceso, CamposSeparadosPorComas) {
  EXPECT_EQ(db::registro::campos(QStringLiteral(" a , \"b, c\" ,d,, e ")),
            (QStringList{QStringLiteral("a"), QStringLiteral("b, c"), QStringLiteral("d"), QString(),
                         QStringLiteral("e")}));
  EXPECT_EQ(db::registro::campos(QString()), QStringList{QString()});
}

TEST_F(Acceso, AccesoDirectoEnElEscritorio) {
  entorno.carpetaEscritorio = carpeta.path() + QStringLiteral("/Escritorio");
  auto f = abrir();
  f->CmdLineaComando_Click();
  QFile lanzador(carpeta.path() + QStringLiteral("/Escritorio/recodificador.desktop"));
  ASSERT_TRUE(lanzador.open(QIODevice::ReadOnly));
  const QString texto = QString::fromUtf8(lanzador.readAll());
  EXPECT_TRUE(texto.startsWith(QLatin1String("[Desktop Entry]\n")));
  EXPECT_TRUE(texto.contains(QLatin1String("\nType=Application\n")));
  EXPECT_TRUE(texto.contains(QLatin1String("\nName=recodificador\n")));
  EXPECT_TRUE(
      texto.contains(QStringLiteral("\nExec=\"") + carpeta.path() + QStringLiteral("/recodificador\"\n")));
}

TEST_F(Acceso, EjecutarComando) {
  auto f = abrir();
  QString error;
  EXPECT_TRUE(f->EjecutarCmdRegDB(QStringLiteral("true"), error));
  EXPECT_FALSE(f->EjecutarCmdRegDB(QStringLiteral("/no/existe/programa"), error));
  EXPECT_EQ(std_(error), "Error al ejecutar el comando");
}

// ------------------------------------------------------------------ Qt dialog

TEST_F(Acceso, DialogoQtConSusControles) {
  int argc = 1;
  char nombre[] = "db_acceso_test";
  char *argv[] = {nombre, nullptr};
  QApplication app(argc, argv);
  entorno.fabricaVistaAcceso = nullptr;
  registro({linea("SRV / DEMO", "DEMO", "SRV:1500")});
  db::frmAcceso f(entorno);
  auto *dialogo = dynamic_cast<QDialog *>(f.vista());
  ASSERT_NE(dialogo, nullptr);
  f.Form_Load();
  EXPECT_EQ(std_(dialogo->windowTitle()), "Control de Acceso");
  for (const char *n : {"TxtDbName", "TxtServidor", "TxtUserId", "TxtUserPassword", "TxtPuerto"})
    EXPECT_NE(dialogo->findChild<QLineEdit *>(QString::fromLatin1(n)), nullptr) << n;
  auto *servidor = dialogo->findChild<QLineEdit *>(QStringLiteral("TxtServidor"));
  auto *clave = dialogo->findChild<QLineEdit *>(QStringLiteral("TxtUserPassword"));
  EXPECT_EQ(std_(servidor->text()), "SRV");
  EXPECT_EQ(std_(servidor->toolTip()), "ingrese el nombre del servidor e instancia");
  EXPECT_EQ(std_(dialogo->findChild<QLineEdit *>(QStringLiteral("TxtPuerto"))->text()), "1500");
  EXPECT_EQ(clave->echoMode(), QLineEdit::Password);
  auto *cbo = dialogo->findChild<QComboBox *>(QStringLiteral("CboPlataformaDB"));
  ASSERT_NE(cbo, nullptr);
  EXPECT_EQ(cbo->count(), 2);
  EXPECT_EQ(std_(cbo->itemText(0)), "SQL Server");
  EXPECT_EQ(std_(cbo->itemText(1)), "ORACLE");
  auto *lista = dialogo->findChild<QListWidget *>(QStringLiteral("lstBases"));
  ASSERT_NE(lista, nullptr);
  EXPECT_EQ(lista->count(), 1);
  struct Boton {
    const char *nombre, *texto;
  };
  for (const Boton &b :
       {Boton{"bcAceptar", "Conectar"}, Boton{"bcCancelar", "Cancelar"}, Boton{"CmdRegistrar", "Registrar"},
        Boton{"CmdLineaComando", "Crear Acceso Directo"}}) {
    auto *boton = dialogo->findChild<QPushButton *>(QString::fromLatin1(b.nombre));
    ASSERT_NE(boton, nullptr) << b.nombre;
    EXPECT_EQ(std_(boton->text()), b.texto);
  }
  EXPECT_NE(dialogo->findChild<QLabel *>(QStringLiteral("Label8")), nullptr);

  // typing goes to the logic; Enter moves on; Cancelar ends the modal run
  QTimer::singleShot(0, dialogo, [&] {
    auto *usuario = dialogo->findChild<QLineEdit *>(QStringLiteral("TxtUserId"));
    QTest::keyClicks(usuario, QStringLiteral("OPER"));
    QTest::keyClick(usuario, Qt::Key_Return);
    EXPECT_EQ(std_(f.foco()), "TxtUserPassword");
    dialogo->findChild<QPushButton *>(QStringLiteral("bcCancelar"))->click();
  });
  f.Show();
  EXPECT_FALSE(f.Aceptar);
  EXPECT_FALSE(dialogo->isVisible());
  EXPECT_TRUE(f.TxtUserId.Text.endsWith(QLatin1String("OPER")));
}
