#include "platform/SistemaReal.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>

using zv::SistemaReal;

namespace {

TEST(SistemaReal, CommandLineGiven) {
  SistemaReal s(QStringList{"/opt/zv/recodificador.exe", "@Server=SRV01;", "@DbName=EMPRESA;"});
  EXPECT_EQ(s.argumentos(), QStringList({"@Server=SRV01;", "@DbName=EMPRESA;"}));
  EXPECT_EQ(s.nombreEjecutable(), "recodificador");
  EXPECT_EQ(s.carpetaPrograma(), "/opt/zv");
  EXPECT_EQ(SistemaReal(QStringList{"/opt/zv/recodificador"}).nombreEjecutable(), "recodificador");
  // A name with dots keeps them; only the program extension goes.
  EXPECT_EQ(SistemaReal(QStringList{"/x/zv.recod.exe"}).nombreEjecutable(), "zv.recod");
}

TEST(SistemaReal, ArgcArgv) {
  char p[] = "/usr/local/bin/recodificador";
  char a1[] = "@Usuario=JUAN;";
  char *argv[] = {p, a1, nullptr};
  SistemaReal s(2, argv);
  EXPECT_EQ(s.argumentos(), QStringList({"@Usuario=JUAN;"}));
  EXPECT_EQ(s.carpetaPrograma(), "/usr/local/bin");
}

TEST(SistemaReal, FromTheApplication) {
  int argc = 2;
  char p[] = "prueba";
  char a1[] = "@Caja=3;";
  char *argv[] = {p, a1, nullptr};
  QCoreApplication app(argc, argv);
  SistemaReal s;
  EXPECT_EQ(s.argumentos(), QStringList({"@Caja=3;"}));
  EXPECT_EQ(s.nombreEjecutable(), "plat_ui_sistema_test");
  EXPECT_EQ(s.carpetaPrograma(), QDir::cleanPath(QCoreApplication::applicationDirPath()));
  EXPECT_FALSE(s.carpetaPrograma().endsWith('/'));
}

TEST(SistemaReal, EnvironmentAndMachine) {
  SistemaReal s(QStringList{"x"});
  qputenv("ZV_PRUEBA_VAR", "valor uno");
  EXPECT_EQ(s.variableEntorno("ZV_PRUEBA_VAR"), "valor uno");
  EXPECT_EQ(s.variableEntorno("zv_prueba_var"), "valor uno");
  EXPECT_EQ(s.variableEntorno("ZV_NO_EXISTE_NUNCA"), "");
  EXPECT_EQ(s.variableEntorno(""), "");
  EXPECT_EQ(s.carpetaTemporal(), QDir::cleanPath(QDir::tempPath()));
  EXPECT_EQ(s.nombreEquipo(), QSysInfo::machineHostName());
  qputenv("USER", "operador1");
  EXPECT_EQ(s.usuarioSistema(), "operador1");
  qunsetenv("USER");
  qunsetenv("LOGNAME");
  qunsetenv("USERNAME");
  EXPECT_FALSE(s.usuarioSistema().isEmpty()); // from the account database
}

TEST(SistemaReal, StartsAProcessWithQuotedArguments) {
  QTemporaryDir dir;
  const QString marca = dir.filePath("salida con blancos.txt");
  SistemaReal s(QStringList{"x"});
  const long pid = s.iniciarProceso("/bin/sh -c \"echo hola > '" + marca + "'\"");
  EXPECT_GT(pid, 0);
  for (int i = 0; i < 200 && !QFile::exists(marca); ++i)
    QThread::msleep(10);
  QThread::msleep(20);
  QFile f(marca);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), "hola\n");
  EXPECT_EQ(s.iniciarProceso(dir.filePath("no-existe-este-programa")), 0);
  EXPECT_EQ(s.iniciarProceso("   "), 0);
}

TEST(SistemaRealDeathTest, EndsWithTheCodeAndFlushes) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  SistemaReal s(QStringList{"x"});
  EXPECT_EXIT(
      {
        std::fputs("pendiente", stderr);
        s.terminar(3);
      },
      testing::ExitedWithCode(3), "pendiente");
}

} // namespace
