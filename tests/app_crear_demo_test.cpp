// The program's --crear-demo option, run as the operator runs it: exit
// statuses, messages, and no file overwritten.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct Corrida {
  int estado = -1;
  QString out, err;
};

// The program sits in the build folder, one level above the tests.
QString programa() {
  static int argc = 1;
  static char nombre[] = "app_crear_demo_test";
  static char *argv[] = {nombre, nullptr};
  static QCoreApplication *app = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
  (void)app;
  return QDir(QCoreApplication::applicationDirPath() + "/..").absoluteFilePath("recodificador");
}

Corrida correr(const QStringList &args) {
  Corrida c;
  QProcess p;
  p.start(programa(), args);
  if (!p.waitForStarted(10000)) {
    ADD_FAILURE() << "no arrancó " << programa().toStdString();
    return c;
  }
  if (!p.waitForFinished(120000)) {
    p.kill();
    ADD_FAILURE() << "no terminó";
    return c;
  }
  c.estado = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  c.out = QString::fromUtf8(p.readAllStandardOutput());
  c.err = QString::fromUtf8(p.readAllStandardError());
  return c;
}

QByteArray huella(const QString &archivo) {
  QFile f(archivo);
  if (!f.open(QIODevice::ReadOnly))
    return {};
  return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

class CrearDemoTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(QFileInfo(programa()).isExecutable()) << programa().toStdString();
    ASSERT_TRUE(dir_.isValid());
  }
  QString carpeta(const QString &nombre = "datos") const { return dir_.filePath(nombre); }
  QString demo(const QString &c) const { return QDir(c).filePath("DEMO.sqlite"); }
  QString estadisticas(const QString &c) const { return QDir(c).filePath("ZI_RODUVARUDUVU.sqlite"); }
  QTemporaryDir dir_;
};

TEST_F(CrearDemoTest, CreaAmbasBasesYLoDice) {
  const Corrida c = correr({"--crear-demo", carpeta("nueva/datos"), "--asientos", "60"});
  EXPECT_EQ(c.estado, 0) << c.err.toStdString();
  EXPECT_TRUE(QFileInfo::exists(demo(carpeta("nueva/datos"))));
  EXPECT_TRUE(QFileInfo::exists(estadisticas(carpeta("nueva/datos"))));
  EXPECT_TRUE(c.out.contains("DEMO.sqlite")) << c.out.toStdString();
  EXPECT_TRUE(c.out.contains("ZI_RODUVARUDUVU.sqlite")) << c.out.toStdString();
  EXPECT_TRUE(c.out.contains("60 renglones")) << c.out.toStdString();
  EXPECT_TRUE(c.err.isEmpty()) << c.err.toStdString();

  // The sqlite3 shell sees the lines asked for.
  QProcess s;
  s.start("sqlite3", {demo(carpeta("nueva/datos")), "SELECT COUNT(*) FROM MV_ASIENTOS"});
  ASSERT_TRUE(s.waitForFinished(30000));
  EXPECT_EQ(QString::fromUtf8(s.readAllStandardOutput()).trimmed(), "60");
}

TEST_F(CrearDemoTest, SegundaVezRechazaSinTocarLosArchivos) {
  ASSERT_EQ(correr({"--crear-demo", carpeta(), "--asientos", "20"}).estado, 0);
  const QByteArray a = huella(demo(carpeta())), b = huella(estadisticas(carpeta()));
  const Corrida c = correr({"--crear-demo", carpeta()});
  EXPECT_EQ(c.estado, 2);
  EXPECT_TRUE(c.err.contains("Ya existe")) << c.err.toStdString();
  EXPECT_TRUE(c.err.contains("no se sobrescribe")) << c.err.toStdString();
  EXPECT_TRUE(c.err.contains(demo(carpeta()))) << c.err.toStdString();
  EXPECT_EQ(huella(demo(carpeta())), a);
  EXPECT_EQ(huella(estadisticas(carpeta())), b);
}

TEST_F(CrearDemoTest, EstadisticasPresenteImpideCrearLaEmpresa) {
  QDir().mkpath(carpeta());
  {
    QFile f(estadisticas(carpeta()));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
  }
  const Corrida c = correr({"--crear-demo", carpeta()});
  EXPECT_EQ(c.estado, 2);
  EXPECT_TRUE(c.err.contains(estadisticas(carpeta()))) << c.err.toStdString();
  EXPECT_FALSE(QFileInfo::exists(demo(carpeta())));
}

TEST_F(CrearDemoTest, UsoIncorrecto) {
  struct Caso {
    QStringList args;
    const char *enElMensaje;
  };
  const Caso casos[] = {
      {{}, "uso:"},
      {{"--crear-demo"}, "falta la carpeta"},
      {{"--crear-demo", "X", "--asientos"}, "falta la cantidad"},
      {{"--crear-demo", "X", "--asientos", "abc"}, "abc"},
      {{"--crear-demo", "X", "--asientos", "12x"}, "12x"},
      {{"--crear-demo", "X", "--asientos", "-5"}, "-5"},
      {{"--crear-demo", "X", "Y"}, "sobra"},
      {{"--crear-demo", "X", "--otra"}, "--otra"},
      {{"--desconocida"}, "--desconocida"},
  };
  for (const Caso &k : casos) {
    QStringList args = k.args;
    // Folder names inside the temporary folder, so nothing lands elsewhere.
    for (QString &a : args)
      if (a == "X" || a == "Y")
        a = carpeta(a);
    const Corrida c = correr(args);
    EXPECT_EQ(c.estado, 2) << args.join(' ').toStdString();
    EXPECT_TRUE(c.err.contains(k.enElMensaje)) << args.join(' ').toStdString() << ": " << c.err.toStdString();
    EXPECT_TRUE(c.err.contains("uso:")) << c.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(carpeta("X"))) << args.join(' ').toStdString();
  }
}

} // namespace
