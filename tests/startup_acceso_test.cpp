#include "startup_entorno.h"

using namespace zv;

namespace {

class Acceso : public ::testing::Test {
protected:
  test::EntornoDemo e;
  void SetUp() override {
    ASSERT_TRUE(e.valido());
    e.abrirPrincipal();
  }
  void alta(const QString &nombre, const QString &sistema, const QString &clave) {
    e.ejecutar(QString("INSERT INTO TA_USUARIOS (NOMBRE, SISTEMA, Password) VALUES ('%1', '%2', '%3')")
                   .arg(QString(nombre).replace("'", "''"), sistema, kit::Utilidades::Cifrar(clave)));
  }
};

TEST_F(Acceso, ValidaUsuarioTabla) {
  alta("SOLOVMX", "VORMEX", "v");
  alta("OTROSIS", "OTRO", "o");
  alta("D'ANGELO", "QUMA", "clave");
  struct Caso {
    const char *usuario, *clave;
    bool valido;
  };
  for (const Caso c :
       {Caso{"ADMIN", "admin", true}, Caso{"admin", "ADMIN", true}, Caso{" ADMIN ", "admin", true},
        Caso{"ADMIN", "otra", false}, Caso{"ADMIN", "", false}, Caso{"NADIE", "", false},
        Caso{"demo", "", true}, Caso{"DEMO", "cualquiera", true}, Caso{"OTROSIS", "o", false},
        Caso{"SOLOVMX", "v", false}, Caso{"D'ANGELO", "clave", true}, Caso{"x' OR '1'='1", "", false}}) {
    e.g->gUsuarioLogeado() = "antes";
    EXPECT_EQ(e.g->ValidaUsuario(c.usuario, c.clave), c.valido) << c.usuario << "/" << c.clave;
  }
  // A found user is taken as the logged one even when the password fails.
  e.g->gUsuarioLogeado() = "antes";
  e.g->ValidaUsuario("OPERADOR", "mala");
  EXPECT_EQ(e.g->gUsuarioLogeado(), "OPERADOR");
  e.g->gUsuarioLogeado() = "antes";
  e.g->ValidaUsuario("NADIE", "x");
  EXPECT_EQ(e.g->gUsuarioLogeado(), "antes");
}

TEST_F(Acceso, VormexSoloConSuSistema) {
  alta("SOLOVMX", "VORMEX", "v");
  e.sistema.exeName = "VORMEX";
  EXPECT_TRUE(e.g->ValidaUsuario("SOLOVMX", "v"));
  EXPECT_FALSE(e.g->ValidaUsuario("ADMIN", "admin"));
}

TEST_F(Acceso, RegistraAccionDelIntentoFallido) {
  e.g->gUsuarioLogeado() = "O'HARA";
  e.g->gParametroAdicional = "extra";
  e.g->RegistraAccion("", "", "0", true, false, "Intento de inicio de sesion fallido", "", false);
  auto r =
      e.directa()->execute("SELECT TC, IdComprobante, IdComplemento, Tipo_accion, FECHAHORA, Usuario, PC, "
                           "SYSTEMUSER, Proceso, ProcesoLote, Cuenta FROM V_MV_CPTEACCIONES");
  ASSERT_TRUE(r && r->rows.size() == 1);
  const auto &f = r->rows[0];
  EXPECT_EQ(f[0].toString(), "    ");
  EXPECT_EQ(f[1].toString(), "");
  EXPECT_EQ(f[2].toInt(), 0);
  EXPECT_EQ(f[3].toString(), "A");
  EXPECT_TRUE(f[4].toDateTime().isValid()) << f[4].toString().toStdString();
  EXPECT_EQ(f[5].toString(), "O'HARA");
  EXPECT_EQ(f[6].toString(), "EQUIPO1");
  EXPECT_EQ(f[7].toString(), "Intento de inicio de sesion fallido");
  EXPECT_EQ(f[8].toString(), "recodificador extra");
  EXPECT_EQ(f[9].toString(), "");
  EXPECT_EQ(f[10].toString(), "");
}

TEST_F(Acceso, TipoDeAccion) {
  struct Caso {
    bool alta, modificacion, error;
    const char *tipo;
  };
  for (const Caso c : {Caso{true, true, true, "ER"}, Caso{true, true, false, "A"},
                       Caso{false, true, false, "M"}, Caso{false, false, false, "B"}}) {
    e.ejecutar("DELETE FROM V_MV_CPTEACCIONES");
    e.g->RegistraAccion("FA", "0001-00000001", "", c.alta, c.modificacion, "d", " 1.1.01.001 ", c.error);
    auto r = e.directa()->execute("SELECT Tipo_accion, TC, IdComplemento, Cuenta FROM V_MV_CPTEACCIONES");
    ASSERT_TRUE(r && r->rows.size() == 1);
    EXPECT_EQ(r->rows[0][0].toString(), c.tipo);
    EXPECT_EQ(r->rows[0][1].toString(), "  FA");
    EXPECT_EQ(r->rows[0][2].toInt(), 0);
    EXPECT_EQ(r->rows[0][3].toString(), "1.1.01.001");
  }
}

TEST_F(Acceso, IngresoYEgresoDeLaCorrida) {
  // Another run's open row must stay open.
  e.ejecutar("INSERT INTO Control_Acceso (Maquina, Usuario, Formulario, Tarea, Ingreso, NombreUsuario) "
             "VALUES ('OTRA', 'OPERADOR', 'X', 'X', '2024-03-20 09:00:00', 'OPERADOR')");
  e.g->gUsuarioLogeado() = "Admin";
  e.sistema.computer = "pc01 ";
  e.g->RegistraIngreso("");
  auto r =
      e.directa()->execute("SELECT Id, Maquina, Usuario, Formulario, Tarea, Ingreso, NombreUsuario, EGRESO "
                           "FROM Control_Acceso WHERE Maquina = 'PC01'");
  ASSERT_TRUE(r && r->rows.size() == 1);
  const auto &f = r->rows[0];
  EXPECT_EQ(e.g->gIdControlAcceso, f[0].toInt());
  EXPECT_GT(e.g->gIdControlAcceso, 1);
  EXPECT_EQ(f[2].toString(), "ADMIN");
  EXPECT_EQ(f[3].toString(), "RECODIFICADOR");
  EXPECT_FALSE(f[4].toString().isEmpty());
  EXPECT_EQ(f[5].toString(), "21/03/24 10:15");
  EXPECT_EQ(f[6].toString(), "Admin");
  EXPECT_TRUE(f[7].isNull());

  e.g->ahora = [] { return QDateTime(QDate(2024, 3, 21), QTime(18, 2, 30)); };
  e.g->RegistraEgreso();
  EXPECT_EQ(e.escalar(QString("SELECT EGRESO FROM Control_Acceso WHERE Id = %1").arg(e.g->gIdControlAcceso))
                .toString(),
            "21/03/24 18:02");
  EXPECT_TRUE(e.escalar("SELECT EGRESO FROM Control_Acceso WHERE Maquina = 'OTRA'").isNull());
}

TEST_F(Acceso, TareaSegunElMenu) {
  // The granted task whose menu entry runs this program names the task;
  // without one, the upper-cased executable name.
  e.g->gUsuarioLogeado() = "OPERADOR";
  e.g->RegistraIngreso("");
  const QString tarea = e.escalar("SELECT Tarea FROM Control_Acceso").toString();
  EXPECT_EQ(tarea, QString::fromUtf8("RECODIFICACIÓN DE CUENTAS"));
  e.ejecutar("DELETE FROM Control_Acceso");
  e.g->RegistraIngreso("VentanaSinTarea");
  auto r = e.directa()->execute("SELECT Formulario, Tarea FROM Control_Acceso");
  ASSERT_TRUE(r && r->rows.size() == 1);
  EXPECT_EQ(r->rows[0][0].toString(), "VENTANASINTAREA");
  EXPECT_EQ(r->rows[0][1].toString(), "RECODIFICADOR");
}

TEST_F(Acceso, ElApostrofeDelUsuarioSePierde) {
  e.g->gUsuarioLogeado() = "O'Hara";
  e.g->RegistraIngreso("");
  auto r = e.directa()->execute("SELECT Usuario, NombreUsuario FROM Control_Acceso");
  ASSERT_TRUE(r && r->rows.size() == 1);
  EXPECT_EQ(r->rows[0][0].toString(), "OHARA");
  EXPECT_EQ(r->rows[0][1].toString(), "OHara");
  EXPECT_EQ(e.g->gUsuarioLogeado(), "OHara");
  EXPECT_GT(e.g->gIdControlAcceso, 0);
}

TEST_F(Acceso, ElMenuPrincipalNoSeRegistra) {
  e.sistema.exeName = "kx517tm";
  e.g->gUsuarioLogeado() = "ADMIN";
  e.g->RegistraIngreso("");
  EXPECT_EQ(e.escalar("SELECT COUNT(*) FROM Control_Acceso").toInt(), 0);
  EXPECT_EQ(e.g->gIdControlAcceso, 0);
}

TEST_F(Acceso, UsuarioVacioTomaElDeLaBase) {
  e.g->gUsuarioLogeado() = "";
  e.g->RegistraIngreso("");
  EXPECT_EQ(e.escalar("SELECT Usuario FROM Control_Acceso").toString(), "DEMO");
  EXPECT_EQ(e.g->gUsuarioLogeado(), "DEMO");
}

TEST_F(Acceso, FinAplicacionCierraLaCorridaYLiberaLosObjetos) {
  test::CartelGrabado cartel;
  e.g->cartel = &cartel;
  e.g->gUsuarioLogeado() = "ADMIN";
  e.g->RegistraIngreso("");
  e.g->FinAplicacion();
  EXPECT_FALSE(e.escalar("SELECT EGRESO FROM Control_Acceso").isNull());
  EXPECT_FALSE(e.entorno->hayPrincipal());
  EXPECT_EQ(cartel.eventos, QStringList{"liberar"});
}

} // namespace
