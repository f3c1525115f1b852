#include "startup_entorno.h"

#include <QFile>

using namespace zv;

namespace {

// The lookup engine as the start-up sees it: records what it is told.
class MotorGrabado : public startup::MotorConsultas {
public:
  QString conexion, ruta;
  bool usar = false;
  int catalogos = 0;
  std::function<void()> alGrabar;
  void FijarMascaras(const QString &c, bool u, const QString &r) override {
    conexion = c;
    usar = u;
    ruta = r;
  }
  void GrabarCatalogo() override {
    ++catalogos;
    if (alGrabar)
      alGrabar();
  }
};

const QString kLineaAdmin =
    "@Server=SQLITE;@DbName=DEMO;@Usuario=DEMO;@UsuarioLogeado=ADMIN;@Password=admin;";
const QString kIncorrecto = "El usuario o clave en la base de datos es incorrecto!\r\nIntentelo nuevamente";
const QString kDemasiados = QString::fromUtf8(
    "Demasiados intentos para iniciar sesión!\r\nComuniquese con el administrador de sistemas");

class Inicio : public ::testing::Test {
protected:
  test::EntornoDemo e;
  test::CartelGrabado cartel;
  MotorGrabado motor;
  QStringList dialogos; // what each access dialog was shown with

  void SetUp() override {
    ASSERT_TRUE(e.valido());
    e.g->cartel = &cartel;
    e.g->motorConsultas = [this]() -> startup::MotorConsultas & { return motor; };
    // A registry already exists, so accepting the dialog registers nothing.
    QFile bases(e.carpetaPrograma.filePath("BASES.TXT"));
    ASSERT_TRUE(bases.open(QIODevice::WriteOnly));
  }
  // Exit status, or -1 when the start-up returned.
  int correr(const QString &linea) {
    e.sistema.args = QStringList{linea};
    try {
      e.g->IniciarAplicacion();
      return -1;
    } catch (const ProcessExit &x) {
      return x.code;
    }
  }
  test::VistaAccesoGuionada::Accion conectar(const QString &usuario, const QString &clave,
                                             const QString &base = {}) {
    auto accion = test::conectarCon(usuario, clave, base);
    return [=, this](db::frmAcceso &f) {
      dialogos << f.TxtDbName.Text + "|" + f.TxtServidor.Text + "|" + f.TxtUserId.Text + "|" +
                      f.TxtUserPassword.Text + "|" + QString::number(f.CboPlataformaDB.ListIndex);
      accion(f);
    };
  }
  int filas(const QString &tabla, const QString &base = "DEMO") {
    return e.escalar("SELECT COUNT(*) FROM " + tabla, base).toInt();
  }
};

TEST_F(Inicio, ArranqueNormal) {
  ASSERT_EQ(correr(kLineaAdmin), -1);
  EXPECT_EQ(cartel.eventos,
            (QStringList{"inicio:Conectando Base de Datos:no",
                         "mostrar:Iniciando Aplicacion|recodificador|Espere por favor", "cerrar"}));
  auto r = e.directa()->execute("SELECT Id, Usuario, NombreUsuario, EGRESO FROM Control_Acceso");
  ASSERT_TRUE(r && r->rows.size() == 1);
  EXPECT_EQ(r->rows[0][0].toInt(), e.g->gIdControlAcceso);
  EXPECT_EQ(r->rows[0][1].toString(), "ADMIN");
  EXPECT_TRUE(r->rows[0][3].isNull());
  db::DB_Dll &db = e.entorno->principal();
  EXPECT_TRUE(db.gOpenFlag);
  EXPECT_EQ(db.gDBName, "DEMO");
  EXPECT_EQ(db.gServidor, "SQLITE");
  EXPECT_EQ(db.gUsuario, "DEMO");
  EXPECT_EQ(db.gUserPassWord, "DEMO");
  EXPECT_EQ(db.Cnn().commandTimeout(), 90);
  EXPECT_EQ(db.Cnn().isolationLevel(), 256);
  EXPECT_EQ(e.g->gUsuarioLogeado(), "ADMIN");
  EXPECT_EQ(e.g->gClaveUsuario(), "admin");
  EXPECT_EQ(e.g->gCaja, "1");
  EXPECT_EQ(e.g->gParametroAdicional, "");
  EXPECT_EQ(e.g->gSeccionIni, "EQUIPO1|OPERADOR");
  EXPECT_EQ(e.g->gBarrasPlanas, 1);
  EXPECT_EQ(e.g->gTablaConfiguracion, "ta_configuracion");
  EXPECT_EQ(e.g->ArchivoAyuda, e.carpetaPrograma.path() + "/htmlhelp/qumakitplus.chm");
  EXPECT_EQ(motor.ruta, e.carpetaPrograma.path() + "/consultas.zvq");
  EXPECT_TRUE(motor.usar);
  EXPECT_EQ(motor.conexion, db.gConnString);
  EXPECT_EQ(motor.catalogos, 1);
  EXPECT_EQ(e.g->ReceptorRuta().Carpeta(), e.carpetaPrograma.path() + "/");
}

TEST_F(Inicio, ArchivoDeConsultasExistenteNoSeReescribe) {
  QFile f(e.carpetaPrograma.filePath("consultas.zvq"));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.close();
  ASSERT_EQ(correr(kLineaAdmin), -1);
  EXPECT_EQ(motor.catalogos, 0);
}

TEST_F(Inicio, ValoresDeLaLineaYDelIni) {
  QFile ini(e.carpetaPrograma.filePath("KX517tm.INI"));
  ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
  ini.write("[EQUIPO1|OPERADOR]\r\nFlatToolbars=0\r\n");
  ini.close();
  ASSERT_EQ(correr("@Caja=12;@ParametroAdicional= lote 7 ;" + kLineaAdmin), -1);
  EXPECT_EQ(e.g->gBarrasPlanas, 0);
  EXPECT_EQ(e.g->gCaja, "12");
  EXPECT_EQ(e.g->gParametroAdicional, "lote 7");
}

TEST_F(Inicio, ClaveIgualALaBaseSeLeeDeLaTablaDeUsuarios) {
  ASSERT_EQ(correr("@Server=SQLITE;@DbName=DEMO;@Usuario=DEMO;@UsuarioLogeado=ADMIN;@Password=demo;"), -1);
  EXPECT_EQ(e.g->gClaveUsuario(), "admin");
  EXPECT_EQ(filas("Control_Acceso"), 1);
}

TEST_F(Inicio, UsuarioConElNombreDeLaBaseEntraSinClave) {
  ASSERT_EQ(correr("@Server=SQLITE;@DbName=DEMO;@Usuario=DEMO;"), -1);
  EXPECT_EQ(e.g->gUsuarioLogeado(), "DEMO");
  EXPECT_EQ(e.escalar("SELECT Usuario FROM Control_Acceso").toString(), "DEMO");
}

TEST_F(Inicio, UsuarioConApostrofeDesdeLaLinea) {
  // Every query that names the user gets the apostrophe doubled: no server
  // error is shown, and the user passes with the password stored for it.
  e.ejecutar(QString("INSERT INTO TA_USUARIOS (NOMBRE, SISTEMA, Password, UNegocio) VALUES ('D''ANGELO', "
                     "'kx517tm', '%1', '   1')")
                 .arg(kit::Utilidades::Cifrar("clave")));
  ASSERT_EQ(correr("@Server=SQLITE;@DbName=DEMO;@Usuario=DEMO;@UsuarioLogeado=D'ANGELO;@Password=demo;"), -1);
  EXPECT_EQ(e.g->gClaveUsuario(), "clave");
  auto r = e.directa()->execute("SELECT Usuario, NombreUsuario FROM Control_Acceso");
  ASSERT_TRUE(r && r->rows.size() == 1);
  EXPECT_EQ(r->rows[0][0].toString(), "DANGELO");
  EXPECT_EQ(r->rows[0][1].toString(), "DANGELO");
}

TEST_F(Inicio, TresIntentosFallidosTerminan) {
  e.ui.expectMsg(kIncorrecto, vb::OKOnly + vb::Critical, "Atencion!", vb::OK);
  for (int i = 0; i < 3; ++i) {
    e.accionesAcceso.push_back(conectar("ADMIN", QString("mala%1").arg(i)));
    e.ui.expectMsg("Usuario o Clave incorrecta", vb::OKOnly + vb::Information, "Atencion", vb::OK);
  }
  e.ui.expectMsg(kDemasiados, vb::OKOnly + vb::Critical, "Atencion!", vb::OK);
  const int codigo =
      correr("@Server=SQLITE;@DbName=DEMO;@Usuario=DEMO;@UsuarioLogeado=ADMIN;@Password=mala;");
  EXPECT_NE(codigo, -1);
  EXPECT_NE(codigo, 0);
  EXPECT_EQ(dialogos, (QStringList{"DEMO|SQLITE|ADMIN|mala|0", "DEMO|SQLITE|ADMIN|mala0|0",
                                   "DEMO|SQLITE|ADMIN|mala1|0"}));
  EXPECT_EQ(filas("V_MV_CPTEACCIONES"), 3);
  EXPECT_EQ(e.escalar("SELECT SYSTEMUSER FROM V_MV_CPTEACCIONES").toString(),
            "Intento de inicio de sesion fallido");
  EXPECT_EQ(filas("Control_Acceso"), 0);
}

TEST_F(Inicio, SegundoIntentoCorrecto) {
  e.ui.expectMsg(kIncorrecto, vb::OKOnly + vb::Critical, "Atencion!", vb::OK);
  e.accionesAcceso.push_back(conectar("ADMIN", "mala"));
  e.ui.expectMsg("Usuario o Clave incorrecta", vb::OKOnly + vb::Information, "Atencion", vb::OK);
  e.accionesAcceso.push_back(conectar("OPERADOR", "OPERADOR"));
  ASSERT_EQ(correr("@Server=SQLITE;@DbName=DEMO;@Usuario=DEMO;@UsuarioLogeado=ADMIN;@Password=nada;"), -1);
  EXPECT_EQ(e.g->gUsuarioLogeado(), "OPERADOR");
  EXPECT_EQ(filas("V_MV_CPTEACCIONES"), 1);
  EXPECT_EQ(e.escalar("SELECT Usuario FROM Control_Acceso").toString(), "OPERADOR");
  EXPECT_TRUE(cartel.eventos.endsWith("cerrar"));
}

TEST_F(Inicio, SinRegistroElPrimerConectarRegistraYSigue) {
  QFile::remove(e.carpetaPrograma.filePath("BASES.TXT"));
  e.ui.expectMsg(kIncorrecto, vb::OKOnly + vb::Critical, "Atencion!", vb::OK);
  e.accionesAcceso.push_back(conectar("ADMIN", "admin"));
  // The registration closes the connection it tested a second time (the
  // access dialog's own notice).
  e.ui.expectMsg(
      "SQL Server start failed.  \rSQL-DMO error:   3704 Operation is not allowed when the object is "
      "closed.",
      vb::OKOnly, "recodificador", vb::OK);
  ASSERT_EQ(correr("@Server=SQLITE;@DbName=DEMO;@Usuario=DEMO;@UsuarioLogeado=ADMIN;@Password=mala;"), -1);
  EXPECT_TRUE(e.entorno->principal().gOpenFlag);
  EXPECT_TRUE(QFile::exists(e.carpetaPrograma.filePath("BASES.TXT")));
  EXPECT_EQ(filas("Control_Acceso"), 1);
}

TEST_F(Inicio, DialogoCanceladoTermina) {
  e.ui.expectMsg(kIncorrecto, vb::OKOnly + vb::Critical, "Atencion!", vb::OK);
  e.accionesAcceso.push_back([](db::frmAcceso &f) { f.bcCancelar_Click(); });
  const int codigo = correr("@Server=SQLITE;@DbName=DEMO;@Usuario=DEMO;@UsuarioLogeado=ADMIN;@Password=x;");
  EXPECT_NE(codigo, -1);
  EXPECT_NE(codigo, 0);
  EXPECT_EQ(filas("Control_Acceso"), 0);
}

TEST_F(Inicio, OtraBaseEnElDialogoReconecta) {
  ASSERT_TRUE(QFile::copy(e.demo.archivoEmpresa(), e.demo.carpeta() + "/DEMO2.sqlite"));
  e.ui.expectMsg(kIncorrecto, vb::OKOnly + vb::Critical, "Atencion!", vb::OK);
  e.accionesAcceso.push_back(conectar("ADMIN", "admin", "DEMO2"));
  ASSERT_EQ(correr("@Server=SQLITE;@DbName=DEMO;@Usuario=DEMO;@UsuarioLogeado=ADMIN;@Password=mala;"), -1);
  EXPECT_EQ(e.entorno->principal().gDBName, "DEMO2");
  EXPECT_EQ(e.entorno->principal().gUsuario, "DEMO2");
  EXPECT_EQ(filas("Control_Acceso", "DEMO2"), 1);
  EXPECT_EQ(filas("Control_Acceso", "DEMO"), 0);
}

TEST_F(Inicio, TrasReconectarUnaNuevaFallaEmpiezaOtraSerie) {
  ASSERT_TRUE(QFile::copy(e.demo.archivoEmpresa(), e.demo.carpeta() + "/DEMO2.sqlite"));
  e.ejecutar(QString("UPDATE TA_USUARIOS SET Password = '%1' WHERE NOMBRE = 'ADMIN'")
                 .arg(kit::Utilidades::Cifrar("otra")),
             "DEMO2");
  e.ui.expectMsg(kIncorrecto, vb::OKOnly + vb::Critical, "Atencion!", vb::OK);
  e.accionesAcceso.push_back(conectar("ADMIN", "admin", "DEMO2"));
  // On DEMO2 the password of DEMO fails: the series starts again there.
  e.ui.expectMsg(kIncorrecto, vb::OKOnly + vb::Critical, "Atencion!", vb::OK);
  e.accionesAcceso.push_back(conectar("ADMIN", "otra"));
  ASSERT_EQ(correr("@Server=SQLITE;@DbName=DEMO;@Usuario=DEMO;@UsuarioLogeado=ADMIN;@Password=mala;"), -1);
  EXPECT_EQ(dialogos, (QStringList{"DEMO|SQLITE|ADMIN|mala|0", "DEMO2|SQLITE|ADMIN|admin|0"}));
  EXPECT_EQ(filas("Control_Acceso", "DEMO2"), 1);
  EXPECT_EQ(filas("Control_Acceso", "DEMO"), 0);
  EXPECT_EQ(filas("V_MV_CPTEACCIONES", "DEMO2"), 0);
}

TEST_F(Inicio, SinEstadisticasNoventaSegundos) {
  ASSERT_TRUE(QFile::remove(e.demo.archivoEstadisticas()));
  ASSERT_EQ(correr(kLineaAdmin), -1);
  EXPECT_EQ(e.entorno->principal().Cnn().commandTimeout(), 90);
}

TEST_F(Inicio, TiempoDeEsperaDeLasEstadisticas) {
  e.ejecutar("INSERT INTO TA_CONFIGURACION (Grupo, Clave, Valor) VALUES ('BaseDeDatos', 'TIMEOUT', '30')",
             "ZI_RODUVARUDUVU");
  ASSERT_EQ(correr(kLineaAdmin), -1);
  EXPECT_EQ(e.entorno->principal().Cnn().commandTimeout(), 30);
}

TEST_F(Inicio, SinDatosDeConexionSePidenYCancelarTermina) {
  e.accionesAcceso.push_back([this](db::frmAcceso &f) {
    dialogos << f.TxtUserId.Text;
    f.bcCancelar_Click();
  });
  const int codigo = correr("");
  EXPECT_NE(codigo, -1);
  EXPECT_NE(codigo, 0);
  EXPECT_EQ(dialogos.size(), 1);
}

// A connection that cannot open: it records the connection string it was given.
class ConexionSinServidor : public ado::Connection {
public:
  explicit ConexionSinServidor(QStringList &cadenas) : cadenas_(cadenas) {}
  void open(const QString &cadena, const QString &, const QString &, long) override {
    cadenas_ << cadena;
    throw AppError(err::Unspecified, "Proveedor no disponible", "ADODB.Connection");
  }
  void close() override {}
  int state() const override { return ado::adStateClosed; }
  QString connectionString() const override { return {}; }
  void setDefaultDatabase(const QString &) override {}
  QString defaultDatabase() const override { return {}; }
  void setCommandTimeout(int) override {}
  int commandTimeout() const override { return 30; }
  void setIsolationLevel(long) override {}
  long isolationLevel() const override { return 0; }
  void setCursorLocation(int) override {}
  int cursorLocation() const override { return ado::adUseServer; }
  std::unique_ptr<ado::ResultSet> execute(const QString &, long *, long) override {
    throw AppError(err::ConnectionClosedOrInvalid, "cerrada", "ADODB.Connection");
  }
  int beginTrans() override { return 1; }
  void commitTrans() override {}
  void rollbackTrans() override {}
  ado::ErrorList &errors() override { return errores_; }
  std::unique_ptr<ado::ResultSet> openSchema(int, const QVariantList &) override {
    throw AppError(err::ConnectionClosedOrInvalid, "cerrada", "ADODB.Connection");
  }

private:
  QStringList &cadenas_;
  ado::ErrorList errores_;
};

TEST_F(Inicio, ServidorOracleYConexionQueNoAbreTermina) {
  QStringList cadenas;
  e.entorno->fabricaConexiones = [&] { return std::make_unique<ConexionSinServidor>(cadenas); };
  e.ui.expectMsg("Proveedor no disponible", vb::OKOnly, "recodificador", vb::OK);
  const int codigo = correr("@Server=#SRV;@DbName=ORCL;@Usuario=JUAN;@Password=secreto;");
  EXPECT_EQ(codigo, startup::salida::SinConexion);
  EXPECT_EQ(e.entorno->principal().gServidor, "SRV");
  ASSERT_FALSE(cadenas.isEmpty());
  EXPECT_EQ(cadenas.first(), "Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=JUAN;Password=secreto;");
  EXPECT_EQ(e.entorno->principal().gConnString, cadenas.first());
}

TEST_F(Inicio, FallaNoPrevistaTerminaSinMensajeYCierraElCartel) {
  motor.alGrabar = [] { throw AppError(75, "no se pudo escribir", "prueba"); };
  const int codigo = correr(kLineaAdmin);
  EXPECT_NE(codigo, -1);
  EXPECT_NE(codigo, 0);
  EXPECT_EQ(cartel.eventos.last(), "cerrar");
  EXPECT_EQ(filas("Control_Acceso"), 0);
}

TEST_F(Inicio, ArgumentoInvalidoSigueConElPasoSiguiente) {
  motor.alGrabar = [] { throw AppError(5, "argumento", "prueba"); };
  ASSERT_EQ(correr(kLineaAdmin), -1);
  EXPECT_EQ(filas("Control_Acceso"), 1);
  EXPECT_EQ(cartel.eventos.count("cerrar"), 2); // the handler's and the last step's
}

} // namespace
