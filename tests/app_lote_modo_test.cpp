// The batch mode, run as the program itself on a temporary demo: its exit
// statuses, its summary, the batches on standard output, and that the
// generated SQL is what the window shows for the same file.
#include "app/CampoValida.h"
#include "app/FrmDIZavadodare.h"
#include "support/AplicacionQt.h"
#include "support/DemoTemporal.h"
#include "support/FakeSistema.h"
#include "support/ScriptedUi.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zv;

namespace {

const QString kConexion = "@Server=SQLITE;@DbName=DEMO;@Usuario=DEMO;@UsuarioLogeado=ADMIN;@Password=admin;";

struct Salida {
  int estado = -1;
  QByteArray out;
  QString err;
};

QVariant escalar(ado::Connection &cn, const QString &sql) {
  auto r = cn.execute(sql);
  return r && !r->rows.isEmpty() ? r->rows.first().value(0) : QVariant();
}

bool existe(ado::Connection &cn, const QString &codigo) {
  return escalar(cn, "SELECT COUNT(*) FROM MA_CUENTAS WHERE CODIGO = '" + codigo + "'").toInt() > 0;
}

// The batches written to standard output, each followed by CR LF GO CR LF.
QStringList lotes(const QByteArray &out) {
  const QString texto = QString::fromUtf8(out);
  const QString fin = "\r\nGO\r\n";
  QStringList partes;
  qsizetype desde = 0;
  for (qsizetype i = texto.indexOf(fin); i >= 0; i = texto.indexOf(fin, desde)) {
    partes << texto.mid(desde, i - desde);
    desde = i + fin.size();
  }
  EXPECT_EQ(desde, texto.size()) << "standard output does not end in GO";
  return partes;
}

class ModoLote : public ::testing::Test {
protected:
  test::DemoTemporal demo{100};
  QTemporaryDir carpeta; // the program's folder
  QString programa;

  void SetUp() override {
    test::aplicacionQt();
    ASSERT_TRUE(demo.valida() && carpeta.isValid());
    const QString construido =
        QDir(QCoreApplication::applicationDirPath() + "/..").absoluteFilePath("recodificador");
    programa = carpeta.filePath("recodificador");
    ASSERT_TRUE(QFile::copy(construido, programa)) << construido.toStdString();
  }
  QString archivo(const QString &nombre, const QByteArray &contenido) {
    const QString ruta = carpeta.filePath(nombre);
    QFile f(ruta);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(contenido);
    return ruta;
  }
  Salida correr(const QStringList &args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ZV_DATOS", demo.carpeta());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(programa, args);
    EXPECT_TRUE(p.waitForFinished(120000));
    Salida s;
    s.estado = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    s.out = p.readAllStandardOutput();
    s.err = QString::fromUtf8(p.readAllStandardError());
    return s;
  }
};

TEST_F(ModoLote, RecodificaCadaParDelArchivo) {
  const QString pares = archivo("pares.txt", "1.1.01.001,1.1.01.901\n1.1.01.005;1.1.01.905\n");
  const Salida s = correr({"--lote", pares, kConexion});
  EXPECT_EQ(s.estado, 0) << s.err.toStdString();
  EXPECT_TRUE(s.err.contains("Pares procesados: 2, rechazados: 0, con error: 0\n")) << s.err.toStdString();
  EXPECT_TRUE(s.err.contains("Conectando Base de Datos")); // the notice, as text
  const QStringList l = lotes(s.out);
  ASSERT_EQ(l.size(), 2);
  EXPECT_TRUE(l[0].contains("UPDATE MV_ASIENTOS SET CUENTA = '1.1.01.901' WHERE CUENTA = '1.1.01.001'"));
  auto cn = demo.abrir();
  EXPECT_FALSE(existe(*cn, "1.1.01.001"));
  EXPECT_TRUE(existe(*cn, "1.1.01.901"));
  EXPECT_FALSE(existe(*cn, "1.1.01.005"));
  EXPECT_TRUE(existe(*cn, "1.1.01.905"));
  // The run's access record is closed.
  EXPECT_EQ(escalar(*cn, "SELECT COUNT(*) FROM Control_Acceso WHERE EGRESO IS NULL").toInt(), 0);
}

TEST_F(ModoLote, UnRechazoTerminaConUno) {
  // An unknown current code, an existing new code without --fusionar, an
  // empty new code and one line accepted.
  const QString pares =
      archivo("pares.txt",
              "9.9.99.999,1.1.01.999\r\n1.1.01.002,1.1.01.003\r\n1.1.01.008,\r\n1.1.01.005,1.1.01.905\r\n");
  const Salida s = correr({"--lote", pares, kConexion});
  EXPECT_EQ(s.estado, 1) << s.err.toStdString();
  EXPECT_TRUE(s.err.contains("Pares procesados: 1, rechazados: 3, con error: 0\n")) << s.err.toStdString();
  EXPECT_TRUE(s.err.contains("Aviso al operador: El Codigo Informado no existe\n"));
  EXPECT_TRUE(s.err.contains(QString::fromUtf8("Aviso al operador: El Código de Cuenta Nuevo ya Existe\n")));
  EXPECT_TRUE(s.err.contains("Aviso al operador: Debe Informar el Codigo de Cuenta Nuevo\n"));
  EXPECT_EQ(lotes(s.out).size(), 1);
  auto cn = demo.abrir();
  EXPECT_TRUE(existe(*cn, "1.1.01.002"));
  EXPECT_TRUE(existe(*cn, "1.1.01.008"));
  EXPECT_FALSE(existe(*cn, "1.1.01.005"));
}

TEST_F(ModoLote, ConFusionarSeUneALaCuentaExistente) {
  const QString pares = archivo("pares.txt", "1.1.01.002,1.1.01.003\n");
  const QString testigo = carpeta.filePath("testigo.htm");
  const Salida s = correr({"--lote", pares, "--fusionar", "--testigo", testigo, kConexion});
  EXPECT_EQ(s.estado, 0) << s.err.toStdString();
  EXPECT_TRUE(s.err.contains("Pares procesados: 1, rechazados: 0, con error: 0\n"));
  auto cn = demo.abrir();
  EXPECT_FALSE(existe(*cn, "1.1.01.002"));
  EXPECT_TRUE(existe(*cn, "1.1.01.003"));
  QFile f(testigo);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray html = f.readAll();
  EXPECT_TRUE(html.contains("<TR> <TD>1.1.01.002<TD>Caja chica<TD>1.1.01.003<TD>&nbsp\r\n"));
  EXPECT_TRUE(html.endsWith("</TABLE>\r\n</BODY>\r\n</HTML>\r\n"));
}

TEST_F(ModoLote, UnLoteQueFallaTerminaConUno) {
  auto cn = demo.abrir();
  cn->execute("CREATE TRIGGER TR_PRUEBA_RECHAZO BEFORE UPDATE ON MV_SALDOS WHEN NEW.CUENTA = '1.1.01.901' "
              "BEGIN SELECT RAISE(ABORT, 'saldo rechazado'); END");
  cn->close();
  const QString pares = archivo("pares.txt", "1.1.01.001,1.1.01.901\n1.1.01.005,1.1.01.905\n");
  const Salida s = correr({"--lote", pares, kConexion});
  EXPECT_EQ(s.estado, 1) << s.err.toStdString();
  // The error report is answered Abort: the run stops at the failing pair.
  EXPECT_TRUE(s.err.contains("Pares procesados: 0, rechazados: 0, con error: 1\n")) << s.err.toStdString();
  cn = demo.abrir();
  EXPECT_TRUE(existe(*cn, "1.1.01.001"));
  EXPECT_TRUE(existe(*cn, "1.1.01.005"));
  EXPECT_EQ(escalar(*cn, "SELECT COUNT(*) FROM MV_ASIENTOS WHERE CUENTA = '1.1.01.901'").toInt(), 0);
}

TEST_F(ModoLote, SinDatosDeAccesoTerminaConDos) {
  const QString pares = archivo("pares.txt", "1.1.01.001,1.1.01.901\n");
  struct Caso {
    QStringList args;
    const char *motivo;
  };
  const Caso casos[] = {
      {{"--lote", pares}, "no puede pedir los datos de acceso"},
      {{"--lote", pares, "@Server=SQLITE;@DbName=DEMO;@Usuario=DEMO;@UsuarioLogeado=ADMIN;@Password=mala;"},
       "no puede pedir los datos de acceso: Atencion!: El usuario o clave en la base de datos es "
       "incorrecto!"},
      {{"--lote"}, "falta el archivo de pares"},
      {{"--lote", pares, "--otra", kConexion}, "opción desconocida: --otra"},
      {{"--lote", pares, "--testigo"}, "falta el archivo del testigo"},
      {{"--lote", carpeta.filePath("no-existe.txt"), kConexion}, "no se puede leer el archivo de pares"},
  };
  for (const Caso &c : casos) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    const Salida s = correr(c.args);
    EXPECT_EQ(s.estado, 2) << s.err.toStdString();
    EXPECT_TRUE(s.err.contains(QString::fromUtf8(c.motivo))) << s.err.toStdString();
    EXPECT_TRUE(s.out.isEmpty());
  }
  EXPECT_TRUE(existe(*demo.abrir(), "1.1.01.001"));
}

// The window on the same demo, importing a file and saving with only the
// SQL wanted; the batches it puts into TxtSQL, in order.
QStringList lotesDeLaVentana(test::DemoTemporal &demo, const QString &carpeta, const QString &pares) {
  test::ScriptedUi ui;
  test::FakeSistema sistema;
  sistema.programFolder = carpeta;
  sistema.args = QStringList{kConexion};
  db::EntornoDB entorno(ui, sistema, connectionFactory(demo.config()));
  startup::ModuloGlobal global(entorno);
  app::ValidacionCuentas validacion(global.principal(), ui);
  app::FrmDIZavadodare frm(global, &validacion);
  frm.Form_Load();
  QStringList vistos;
  auto mostrar = frm.proceso()->MostrarSQL;
  frm.proceso()->MostrarSQL = [&](const QString &lote) {
    mostrar(lote);
    vistos << frm.TxtSQL->toPlainText();
  };
  ui.expectMsg(
      QString::fromUtf8("El archivo debe tener el Codigo actual coma Codigo nuevo (2 campos separado por "
                        "coma (,) o punto y coma ( ; ) o tab)\r\n¿Realmente desea cargar un archivo?"),
      vb::YesNo + vb::Question, "Aviso al Operador", vb::Yes);
  FileDialogRequest abrir;
  abrir.title = QString::fromUtf8("Importación de Archivos");
  abrir.flag = true;
  ui.expectFile(abrir, FileDialogResult{false, pares});
  frm.CmdBuscar_Click();
  frm.ChkGeneraSentencia->setChecked(true);
  ui.expectMsg(app::Lib_ClsRecodificacion::PreguntaTestigo(), vb::YesNo + vb::Question, "Aviso al operador",
               vb::No);
  QString grabar = "GRABAR";
  frm.UtilKit1_click(grabar);
  ui.verify();
  return vistos;
}

TEST_F(ModoLote, SoloSqlEscribeLoQueLaVentanaMuestra) {
  const QString pares =
      archivo("pares.txt", "1.1.01.001,1.1.01.901\n1.1.03.102,1.1.03.202\n1.1.01.002,1.1.01.9'2\n");
  const Salida s = correr({"--lote", pares, "--solo-sql", kConexion});
  EXPECT_EQ(s.estado, 0) << s.err.toStdString();
  EXPECT_TRUE(s.err.contains("Pares procesados: 3, rechazados: 0, con error: 0\n")) << s.err.toStdString();
  const QStringList escritos = lotes(s.out);
  ASSERT_EQ(escritos.size(), 3);
  auto cn = demo.abrir();
  EXPECT_TRUE(existe(*cn, "1.1.01.001")); // nothing was run
  EXPECT_FALSE(existe(*cn, "1.1.01.901"));
  cn->close();

  const QStringList ventana = lotesDeLaVentana(demo, carpeta.path(), pares);
  ASSERT_EQ(ventana.size(), escritos.size());
  for (int i = 0; i < ventana.size(); ++i) {
    // The text box keeps the batch's lines; its own line ends are LF.
    QString esperado = escritos[i];
    esperado.replace("\r\n", "\n");
    EXPECT_EQ(ventana[i], esperado) << "par " << i;
  }
}

} // namespace
