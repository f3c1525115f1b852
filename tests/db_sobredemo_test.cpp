// DB_Dll on the embedded demo database.
#include "db/DB_Dll.h"
#include "support/DemoTemporal.h"
#include "support/FakeSistema.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

using namespace zv;
using namespace zv::test;

namespace {

struct SobreDemo : ::testing::Test {
  static inline DemoTemporal *demo = nullptr;
  static void SetUpTestSuite() { demo = new DemoTemporal(20); }
  static void TearDownTestSuite() {
    delete demo;
    demo = nullptr;
  }

  FakeSistema sistema;
  ScriptedUi ui;
  db::EntornoDB entorno{ui, sistema, connectionFactory(demo->config())};
  db::DB_Dll &bd = entorno.principal();

  void SetUp() override {
    ASSERT_TRUE(demo->valida());
    sistema.programFolder = demo->carpeta();
  }
  void abrir(const QString &base, const QString &usuario, bool muestraError = true) {
    bd.gServidor = QStringLiteral("SQLITE");
    bd.gDBName = bd.gUsuario = bd.gUserPassWord = base;
    entorno.valores.gUsuarioLogeado = usuario;
    bd.OpenServerADODB(false, 3, QString(), true, muestraError);
  }
};

} // namespace

TEST_F(SobreDemo, AbreLaBaseDemo) {
  abrir(QStringLiteral("DEMO"), QStringLiteral("ADMIN"));
  EXPECT_TRUE(bd.gOpenFlag);
  EXPECT_EQ(bd.Cnn().state(), ado::adStateOpen);
  EXPECT_EQ(bd.gConnString.toStdString(),
            "PROVIDER=SQLOLEDB;Server=SQLITE;Database =DEMO;UId=DEMO;Pwd=DEMO;");
}

TEST_F(SobreDemo, AdministradorSegunTA_USUARIOS) {
  abrir(QStringLiteral("DEMO"), QStringLiteral("ADMIN"));
  EXPECT_TRUE(bd.gEsAdmin);
  bd.Cnn().close();
  abrir(QStringLiteral("DEMO"), QStringLiteral("OPERADOR"));
  EXPECT_FALSE(bd.gEsAdmin);
  bd.Cnn().close();
  abrir(QStringLiteral("DEMO"), QStringLiteral("NADIE"));
  EXPECT_FALSE(bd.gEsAdmin);
}

TEST_F(SobreDemo, SinTablaDeUsuariosQuedaComoEstaba) {
  for (bool antes : {true, false}) {
    bd.gEsAdmin = antes;
    abrir(QStringLiteral("ZI_RODUVARUDUVU"), QStringLiteral("OPERADOR"));
    ASSERT_TRUE(bd.gOpenFlag);
    ASSERT_FALSE(bd.ExisteTablaDB(QStringLiteral("TA_USUARIOS")));
    EXPECT_EQ(bd.gEsAdmin, antes);
    bd.Cnn().close();
  }
}

TEST_F(SobreDemo, BusquedasYEsquema) {
  abrir(QStringLiteral("DEMO"), QStringLiteral("ADMIN"));
  EXPECT_TRUE(bd.ExisteEnTabla(QStringLiteral("MA_CUENTAS"), QStringLiteral("   1.1.01.001   "),
                               QStringLiteral("CODIGO")));
  EXPECT_FALSE(
      bd.ExisteEnTabla(QStringLiteral("MA_CUENTAS"), QStringLiteral("9.9.99"), QStringLiteral("CODIGO")));
  // an apostrophe in the key finds nothing instead of every row
  EXPECT_FALSE(bd.ExisteEnTabla(QStringLiteral("MA_CUENTAS"), QStringLiteral("x' or '1'='1"),
                                QStringLiteral("CODIGO")));
  EXPECT_EQ(bd.DatosTabla(QStringLiteral("MA_CUENTAS"), QStringLiteral("1.1.01.001"),
                          QStringLiteral("Descripcion"), QStringLiteral("CODIGO"))
                .toString()
                .toStdString(),
            "Caja");
  EXPECT_EQ(bd.DatosTabla(QStringLiteral("MA_CUENTAS"), QStringLiteral("x' or '1'='1"),
                          QStringLiteral("Descripcion"), QStringLiteral("CODIGO"))
                .toString()
                .toStdString(),
            "");
  EXPECT_TRUE(bd.ExisteTablaDB(QStringLiteral("ta_usuarios")));
  EXPECT_TRUE(bd.ExisteTablaDB(QStringLiteral("ss_ma_cuentas"))); // a view counts
  EXPECT_FALSE(bd.ExisteTablaDB(QStringLiteral("NO_EXISTE")));
  EXPECT_TRUE(bd.ExisteCampoDB(QStringLiteral("MA_CUENTAS"), QStringLiteral("codigo")));
  EXPECT_FALSE(bd.ExisteCampoDB(QStringLiteral("MA_CUENTAS"), QStringLiteral("NO_EXISTE")));
}

TEST_F(SobreDemo, UnNoAdministradorVeLasVistasRestringidas) {
  abrir(QStringLiteral("DEMO"), QStringLiteral("OPERADOR"));
  ASSERT_FALSE(bd.gEsAdmin);
  EXPECT_TRUE(
      bd.ExisteEnTabla(QStringLiteral("MA_CUENTAS"), QStringLiteral("1.1.01.001"), QStringLiteral("CODIGO")));
  QString sql =
      QStringLiteral("UPDATE @Admin_MA_CUENTAS SET Descripcion = Descripcion WHERE CODIGO = '1.1.01.001'");
  long afectados = 0;
  bd.EjecutaConsultaSQL(sql, &afectados);
  EXPECT_EQ(bd.Cnn().errors().count(), 0);
  EXPECT_EQ(afectados, 1);
}
