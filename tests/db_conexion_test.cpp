// Opening, reopening and the local open of DB_Dll over a scripted connection.
#include "db_entorno_prueba.h"

#include <QFile>

using namespace zv;
using namespace zv::test;
using Op = ConexionFallida::Operacion;

namespace {

struct Conexion : EntornoPrueba {
  Conexion() {
    // An empty registry: the dialog's "Conectar" registers nothing.
    QFile f(registroBases());
    f.open(QIODevice::WriteOnly);
  }
  void datos(const QString &servidor, const QString &base) {
    bd().gServidor = servidor;
    bd().gDBName = base;
    bd().gUsuario = base;
    bd().gUserPassWord = base;
  }
  QString ultimaApertura() {
    const QStringList &r = guion().registro;
    for (qsizetype i = r.size() - 1; i >= 0; --i)
      if (r[i].startsWith(QLatin1String("open:")))
        return r[i].mid(5);
    return {};
  }
};

const QString kFallaServidor = QStringLiteral("[DBNETLIB][ConnectionOpen (Connect()).]SQL Server no existe.");

QString mensajeFalla(const QString &servidor, const QString &usuario) {
  return QStringLiteral(" Estado de Sql: 08001\rNumero de Error: -2147467259\rDescripcion: ") +
         kFallaServidor +
         QStringLiteral(
             "\rCodigo Nativo: 17\r\r\nNombre de Proceso: recodificador\r\r\n\r\n"
             "1. Verifique el Usuario, contraseña y base de datos\r\n"
             "2. Verifique el nombre del servidor, quizas necesite agregarle el nombre de la instancia, "
             "por ejemplo : ") +
         servidor + QStringLiteral("\\QUMAKIT\r\n3. Verifique si el inicio de sesion para el usuario ") +
         usuario + QStringLiteral(" existe\r\n\r\n\r\n - Desea Intentarlo Nuevamente??? ");
}

} // namespace

TEST_F(Conexion, CadenasDeConexion) {
  struct Caso {
    const char *servidor, *proveedor, *extendido, *cadena, *proveedorFinal;
  };
  const Caso casos[] = {
      {"SRV\\INST", "", "", "PROVIDER=SQLOLEDB;Server=SRV\\INST;Database =DEMO;UId=DEMO;Pwd=DEMO;",
       "SQLOLEDB"},
      {"SRV", "", "Application Name=ZV;",
       "PROVIDER=SQLOLEDB;Server=SRV;Database =DEMO;UId=DEMO;Pwd=DEMO;Application Name=ZV;", "SQLOLEDB"},
      {"SRV#", "", "Application Name=ZV;",
       "Provider=OraOLEDB.Oracle.1;Data Source=DEMO;User Id=DEMO;Password=DEMO;", "SQLOLEDB"},
      {"S#RV", "OraOLEDB.Oracle.1", "",
       "Provider=OraOLEDB.Oracle.1;Data Source=DEMO;User Id=DEMO;Password=DEMO;", "OraOLEDB.Oracle.1"},
      // a provider already set stays, but the SQL Server string names SQLOLEDB
      {"SRV", "OraOLEDB.Oracle.1", "", "PROVIDER=SQLOLEDB;Server=SRV;Database =DEMO;UId=DEMO;Pwd=DEMO;",
       "OraOLEDB.Oracle.1"},
  };
  for (const Caso &c : casos) {
    datos(QString::fromLatin1(c.servidor), QStringLiteral("DEMO"));
    bd().gProveedor = QString::fromLatin1(c.proveedor);
    bd().gExtended = QString::fromLatin1(c.extendido);
    if (bd().Cnn().state())
      bd().Cnn().close();
    bd().OpenServerADODB(false, 3, QString(), false, false);
    EXPECT_TRUE(bd().gOpenFlag) << c.servidor;
    EXPECT_EQ(std_(bd().gConnString), c.cadena) << c.servidor;
    EXPECT_EQ(std_(ultimaApertura()), c.cadena) << c.servidor;
    EXPECT_EQ(std_(bd().gProveedor), c.proveedorFinal) << c.servidor;
    EXPECT_EQ(guion().usuarioAbierto, QString());
    EXPECT_EQ(guion().claveAbierta, QString());
    EXPECT_EQ(guion().cursorLocation(), 3);
  }
}

TEST_F(Conexion, UnaCadenaDadaSeUsaTalCual) {
  datos(QStringLiteral("SRV"), QStringLiteral("DEMO"));
  const QString dada = QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=A;Password=B;");
  bd().OpenServerADODB(false, 2, dada, false, false);
  EXPECT_EQ(std_(ultimaApertura()), std_(dada));
  EXPECT_EQ(std_(bd().gConnString), std_(dada));
  EXPECT_EQ(guion().cursorLocation(), 2);
}

TEST_F(Conexion, ConDialogoLaCadenaSeRehaceConSusValores) {
  datos(QStringLiteral("VIEJO"), QStringLiteral("BASEVIEJA"));
  entorno.valores.gUsuarioLogeado = QStringLiteral("ADMIN");
  bd().gUsuarioClave = QStringLiteral("clave");
  operador = [](db::frmAcceso &f) {
    EXPECT_EQ(std_(f.TxtDbName.Text), "BASEVIEJA");
    EXPECT_EQ(std_(f.TxtServidor.Text), "VIEJO");
    EXPECT_EQ(std_(f.TxtUserId.Text), "ADMIN");
    EXPECT_EQ(std_(f.TxtUserPassword.Text), "clave");
    EXPECT_EQ(f.CboPlataformaDB.ListIndex, 0);
    f.setText(f.TxtServidor, QStringLiteral("NUEVO"));
    f.setText(f.TxtDbName, QStringLiteral("DEMO"));
    f.setText(f.TxtUserId, QStringLiteral("OPERADOR"));
    f.bcAceptar_Click();
  };
  bd().OpenServerADODB(true, 3, QStringLiteral("Provider=X;"), false, false);
  EXPECT_EQ(dialogos, 1);
  EXPECT_TRUE(bd().gOpenFlag);
  EXPECT_EQ(std_(ultimaApertura()), "PROVIDER=SQLOLEDB;Server=NUEVO;Database =DEMO;UId=DEMO;Pwd=DEMO;");
  EXPECT_EQ(std_(bd().gUsuario), "DEMO");
  EXPECT_EQ(std_(bd().gUserPassWord), "DEMO");
  EXPECT_EQ(std_(entorno.valores.gUsuarioLogeado), "OPERADOR");
}

TEST_F(Conexion, PlataformaOracleEnElDialogo) {
  for (const char *servidor : {"SRV", "SRV#"}) {
    operador = [&](db::frmAcceso &f) {
      f.setText(f.TxtServidor, QString::fromLatin1(servidor));
      f.setText(f.TxtDbName, QStringLiteral("ORCL"));
      f.CboPlataformaDB.ListIndex = 1;
      f.bcAceptar_Click();
    };
    if (bd().Cnn().state())
      bd().Cnn().close();
    bd().OpenServerADODB(true, 3, QString(), false, false);
    EXPECT_EQ(std_(bd().gServidor), "SRV#") << servidor;
    EXPECT_EQ(std_(bd().gProveedor), "OraOLEDB.Oracle.1");
    EXPECT_EQ(std_(ultimaApertura()),
              "Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=ORCL;Password=ORCL;");
  }
}

TEST_F(Conexion, CancelarElDialogoNoAbreNada) {
  datos(QStringLiteral("SRV"), QStringLiteral("DEMO"));
  bd().OpenServerADODB(true, 3, QString(), true, true);
  EXPECT_EQ(dialogos, 1);
  EXPECT_FALSE(bd().gOpenFlag);
  EXPECT_EQ(guion().state(), 0);
  EXPECT_TRUE(guion().ejecutadas.isEmpty());
}

TEST_F(Conexion, ComprobacionDeAdministrador) {
  datos(QStringLiteral("SRV"), QStringLiteral("DEMO"));
  guion().tablas = {QStringLiteral("MA_CUENTAS")};
  // without the check: an administrator, no query at all
  bd().OpenServerADODB(false, 3, QString(), false, true);
  EXPECT_TRUE(bd().gEsAdmin);
  EXPECT_TRUE(guion().ejecutadas.isEmpty());
  // no user table: left as it was
  guion().close();
  bd().gEsAdmin = false;
  bd().OpenServerADODB(false, 3, QString(), true, true);
  EXPECT_FALSE(bd().gEsAdmin);
  EXPECT_EQ(std_(guion().defaultDatabase()), "DEMO");
  // with the table and no messages: an administrator without asking
  guion().tablas << QStringLiteral("TA_USUARIOS");
  guion().close();
  bd().OpenServerADODB(false, 3, QString(), true, false);
  EXPECT_TRUE(bd().gEsAdmin);
  EXPECT_TRUE(guion().ejecutadas.isEmpty());
}

TEST_F(Conexion, AdministradorSegunSuFila) {
  datos(QStringLiteral("SRV"), QStringLiteral("DEMO"));
  entorno.valores.gUsuarioLogeado = QStringLiteral("ADMIN");
  guion().tablas = {QStringLiteral("ta_usuarios")};
  struct Caso {
    QVariant valor;
    bool fila;
    bool admin;
  };
  const Caso casos[] = {{QStringLiteral("1"), true, true},
                        {1, true, true},
                        {QStringLiteral("0"), true, false},
                        {QString(), true, false},
                        {QVariant(), true, false},
                        {QStringLiteral("1"), false, false},
                        {true, true, true},
                        {false, true, false}};
  for (const Caso &c : casos) {
    guion().respuesta = [&](const QString &, long *) {
      return filas(QStringLiteral("Administrador"), c.fila ? QVariantList{c.valor} : QVariantList{});
    };
    guion().ejecutadas.clear();
    if (guion().state())
      guion().close();
    bd().gEsAdmin = !c.admin;
    bd().OpenServerADODB(false, 3, QString(), true, true);
    EXPECT_EQ(bd().gEsAdmin, c.admin) << std_(c.valor.toString()) << c.fila;
    ASSERT_EQ(guion().ejecutadas.size(), 1);
    EXPECT_EQ(std_(guion().ejecutadas[0]),
              "SELECT TOP 1 * FROM ta_usuarios with(nolock)  WHERE LTRIM(RTRIM(nombre)) ='ADMIN' ");
  }
}

TEST_F(Conexion, ObjetoYaAbiertoSeCierraYSeReintentaUnaVez) {
  datos(QStringLiteral("SRV"), QStringLiteral("DEMO"));
  guion().open(QStringLiteral("x"), {}, {}, -1);
  bd().OpenServerADODB(false, 3, QString(), false, true);
  EXPECT_TRUE(bd().gOpenFlag);
  EXPECT_EQ(guion().state(), 1);
  EXPECT_EQ(std_(ultimaApertura()), std_(bd().gConnString));

  // a second 3705 is any other error: silent without messages...
  guion().close();
  falla().fallarSinLista(Op::Abrir, err::ObjectOpen, 2, QStringLiteral("ya abierta"));
  bd().OpenServerADODB(false, 3, QString(), false, false);
  EXPECT_FALSE(bd().gOpenFlag);
  // ...and its description alone with messages, the flag left as it was
  falla().fallarSinLista(Op::Abrir, err::ObjectOpen, 2, QStringLiteral("ya abierta"));
  ui.expectMsg(QStringLiteral("ya abierta"), vb::OKOnly, QStringLiteral("recodificador"), vb::OK);
  bd().OpenServerADODB(false, 3, QString(), false, true);
  EXPECT_TRUE(bd().gOpenFlag);
}

TEST_F(Conexion, MensajeDeFallaDeConexionNo) {
  datos(QStringLiteral("SRV"), QStringLiteral("DEMO"));
  falla().fallar(Op::Abrir, err::Unspecified, 17, 1, kFallaServidor, QStringLiteral("08001"));
  ui.expectMsg(mensajeFalla(QStringLiteral("SRV"), QStringLiteral("DEMO")), vb::YesNo + vb::Critical,
               QStringLiteral(" Error de Conexion a Base de Datos"), vb::No);
  bd().OpenServerADODB(false, 3, QString(), true, true);
  EXPECT_FALSE(bd().gOpenFlag);
  EXPECT_EQ(dialogos, 0);
}

TEST_F(Conexion, MensajeDeFallaDeConexionSiVuelveAlDialogo) {
  datos(QStringLiteral("SRV"), QStringLiteral("DEMO"));
  falla().fallar(Op::Abrir, err::Unspecified, 17, 1, kFallaServidor, QStringLiteral("08001"));
  ui.expectMsg(mensajeFalla(QStringLiteral("SRV"), QStringLiteral("DEMO")), vb::YesNo + vb::Critical,
               QStringLiteral(" Error de Conexion a Base de Datos"), vb::Yes);
  operador = [](db::frmAcceso &f) {
    EXPECT_EQ(std_(f.TxtServidor.Text), "SRV");
    EXPECT_EQ(std_(f.TxtDbName.Text), "DEMO");
    f.setText(f.TxtServidor, QStringLiteral("OTRO"));
    f.bcAceptar_Click();
  };
  bd().OpenServerADODB(false, 3, QString(), false, true);
  EXPECT_EQ(dialogos, 1);
  EXPECT_TRUE(bd().gOpenFlag);
  EXPECT_EQ(guion().state(), 1);
  EXPECT_EQ(std_(ultimaApertura()), "PROVIDER=SQLOLEDB;Server=OTRO;Database =DEMO;UId=DEMO;Pwd=DEMO;");
  EXPECT_EQ(guion().errors().count(), 0);
}

TEST_F(Conexion, ElMensajeLeeElObjetoPrincipal) {
  datos(QStringLiteral("PRINCIPAL"), QStringLiteral("EMPRESA"));
  db::DB_Dll estadisticas(entorno);
  estadisticas.gServidor = QStringLiteral("OTRO");
  estadisticas.gDBName = estadisticas.gUsuario = estadisticas.gUserPassWord =
      QStringLiteral("ZI_RODUVARUDUVU");
  estadisticas.Cnn();
  fallidas.back()->fallar(Op::Abrir, err::Unspecified, 17, 1, kFallaServidor, QStringLiteral("08001"));
  ui.expectMsg(mensajeFalla(QStringLiteral("PRINCIPAL"), QStringLiteral("EMPRESA")), vb::YesNo + vb::Critical,
               QStringLiteral(" Error de Conexion a Base de Datos"), vb::No);
  estadisticas.OpenServerADODB(false, 3, QString(), true, true);
  EXPECT_FALSE(estadisticas.gOpenFlag);
  // the statistics form of the call shows nothing
  fallidas.back()->fallar(Op::Abrir, err::Unspecified, 17, 1, kFallaServidor, QStringLiteral("08001"));
  estadisticas.OpenServerADODB(false, 3, QString(), true, false);
  EXPECT_FALSE(estadisticas.gOpenFlag);
}

// ------------------------------------------------------------ ReintentaConectar

TEST_F(Conexion, ReintentaConectarReabreConLaCadenaPropia) {
  datos(QStringLiteral("SRV"), QStringLiteral("DEMO"));
  bd().OpenServerADODB(false, 3, QString(), false, false);
  const QString cadena = bd().gConnString;
  bd().ReintentaConectar();
  EXPECT_TRUE(bd().gOpenFlag);
  EXPECT_EQ(guion().commandTimeout(), 90);
  EXPECT_EQ(std_(ultimaApertura()), std_(cadena));
  EXPECT_EQ(std_(guion().usuarioAbierto), "DEMO");
  EXPECT_EQ(std_(guion().claveAbierta), "DEMO");
  // already closed: the close's 3704 is ignored
  guion().close();
  bd().ReintentaConectar();
  EXPECT_TRUE(bd().gOpenFlag);
  EXPECT_EQ(guion().state(), 1);
}

TEST_F(Conexion, ReintentaConectarUsaElUsuarioDelPrincipal) {
  datos(QStringLiteral("SRV"), QStringLiteral("EMPRESA"));
  db::DB_Dll otra(entorno);
  otra.gServidor = QStringLiteral("SRV");
  otra.gDBName = otra.gUsuario = otra.gUserPassWord = QStringLiteral("ESTADISTICA");
  otra.OpenServerADODB(false, 3, QString(), false, false);
  otra.ReintentaConectar();
  EXPECT_TRUE(otra.gOpenFlag);
  EXPECT_EQ(std_(guiones.back()->usuarioAbierto), "EMPRESA");
}

TEST_F(Conexion, ReintentaConectarFallido) {
  datos(QStringLiteral("SRV"), QStringLiteral("DEMO"));
  bd().OpenServerADODB(false, 3, QString(), false, false);
  falla().fallar(Op::Abrir, err::Unspecified, 17);
  bd().ReintentaConectar();
  EXPECT_FALSE(bd().gOpenFlag);

  falla().fallar(Op::Abrir, -2147217843, 18456, 1, QStringLiteral("Login failed"));
  ui.expectMsg(
      QStringLiteral("Ha ocurrido el Siguiente Error (-2147217843) Login failed"), 18,
      QStringLiteral("Microsoft OLE DB Provider for SQL Server - AbrirRecordset Aviso al operador!!! - 5 "),
      vb::Abort);
  bd().ReintentaConectar();
  EXPECT_FALSE(bd().gOpenFlag);
}

// ---------------------------------------------------------------- OpenLocalADODB

namespace {
FileDialogRequest pedidoMdb() {
  FileDialogRequest r;
  r.title = QStringLiteral("Buscar Base de Datos");
  r.filter = QStringLiteral("Base de Datos de Microsoft Access |*.MDB");
  return r;
}
} // namespace

TEST_F(Conexion, AbrirArchivoLocal) {
  bd().gProveedor = db::DB_Dll::pJETOLEDB40();
  bd().gUsuario = QStringLiteral("admin");
  bd().gUserPassWord = QStringLiteral("pw");
  bd().gExtended = QStringLiteral("Mode=Read;");
  ui.expectFile(pedidoMdb(), {false, QStringLiteral("/datos/demo.mdb")});
  bd().OpenLocalADODB(QString(), QStringLiteral("User ID"), QStringLiteral("Jet OLEDB:Database Password"));
  const QString esperada =
      QStringLiteral("PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source =/datos/demo.mdb;User ID=admin;"
                     "Jet OLEDB:Database Password=pw;Mode=Read;");
  EXPECT_EQ(std_(ultimaApertura()), std_(esperada));
  EXPECT_EQ(std_(bd().gConnString), std_(esperada));
  EXPECT_EQ(std_(bd().gDBName), "/datos/demo.mdb");
}

TEST_F(Conexion, AbrirArchivoLocalCancelado) {
  ui.expectFile(pedidoMdb(), {true, QString()});
  bd().OpenLocalADODB(QString(), QStringLiteral("User ID"), QStringLiteral("Pwd"));
  EXPECT_EQ(guion().state(), 0);
  EXPECT_EQ(falla().aperturas, 0);
}

TEST_F(Conexion, ArchivoLocalNoEncontradoSeBuscaOtraVez) {
  bd().gDBName = QStringLiteral("/no/esta.mdb");
  falla().fallar(Op::Abrir, -2147467259, 0, 1, QStringLiteral("No se encuentra el archivo"),
                 QStringLiteral("3024"));
  ui.expectFile(pedidoMdb(), {false, QStringLiteral("/datos/otra.mdb")});
  bd().OpenLocalADODB(QStringLiteral(""), QStringLiteral("User ID"), QStringLiteral("Pwd"));
  EXPECT_EQ(falla().aperturas, 2);
  EXPECT_EQ(guion().state(), 1);
  EXPECT_TRUE(ultimaApertura().contains(QLatin1String("Data Source =/datos/otra.mdb;")));
}

TEST_F(Conexion, ArchivoLocalConClave) {
  bd().gDBName = QStringLiteral("/datos/demo.mdb");
  bd().gUserPassWord = QStringLiteral("secreta");
  bd().gIgnoraPassWord = true;
  falla().fallar(Op::Abrir, -2147217843, 0, 1, QStringLiteral("Contraseña no válida"),
                 QStringLiteral("3031"));
  bd().OpenLocalADODB(QString(), QStringLiteral("User ID"), QStringLiteral("Pwd"));
  EXPECT_EQ(std_(bd().gExtended), "Jet OLEDB:Database Password=secreta;");
  EXPECT_EQ(guion().state(), 1);

  guion().close();
  bd().gIgnoraPassWord = QVariant();
  falla().fallar(Op::Abrir, -2147217843, 0, 1, QStringLiteral("Contraseña no válida"),
                 QStringLiteral("3031"));
  ui.expectInput(QStringLiteral("ingrese el password:"), QStringLiteral("Password Access"),
                 QStringLiteral("otra"));
  bd().OpenLocalADODB(QString(), QStringLiteral("User ID"), QStringLiteral("Pwd"));
  EXPECT_EQ(std_(bd().gExtended), " Jet OLEDB:Database Password=otra;");
  EXPECT_TRUE(ultimaApertura().endsWith(QLatin1String("Pwd=secreta; Jet OLEDB:Database Password=otra;")));
  EXPECT_EQ(guion().state(), 1);
}

TEST_F(Conexion, ArchivoLocalClaveCanceladaORechazadaSinFin) {
  bd().gDBName = QStringLiteral("/datos/demo.mdb");
  falla().fallar(Op::Abrir, -2147217843, 0, 1, QStringLiteral("Contraseña no válida"),
                 QStringLiteral("3031"));
  ui.expectInput(QStringLiteral("ingrese el password:"), QStringLiteral("Password Access"), std::nullopt);
  bd().OpenLocalADODB(QString(), QStringLiteral("User ID"), QStringLiteral("Pwd"));
  EXPECT_EQ(guion().state(), 0);
  EXPECT_EQ(falla().aperturas, 1);

  // the restarts are bounded: the last rejection is shown and the open ends
  falla().fallar(Op::Abrir, -2147217843, 0, 20, QStringLiteral("Contraseña no válida"),
                 QStringLiteral("3031"));
  bd().gIgnoraPassWord = true;
  ui.expectMsg(QStringLiteral("-2147217843  Contraseña no válida"), vb::Critical,
               QStringLiteral("recodificador"), vb::OK);
  bd().OpenLocalADODB(QString(), QStringLiteral("User ID"), QStringLiteral("Pwd"));
  EXPECT_EQ(guion().state(), 0);
  EXPECT_LT(falla().aperturas, 10);
}

TEST_F(Conexion, ArchivoLocalOtroError) {
  bd().gDBName = QStringLiteral("/datos/demo.mdb");
  falla().fallar(Op::Abrir, -2147467259, 0, 1, QStringLiteral("Formato no reconocido"),
                 QStringLiteral("3343"));
  ui.expectMsg(QStringLiteral("-2147467259  Formato no reconocido"), vb::Critical,
               QStringLiteral("recodificador"), vb::OK);
  bd().OpenLocalADODB(QString(), QStringLiteral("User ID"), QStringLiteral("Pwd"));
  EXPECT_EQ(falla().aperturas, 1);
}
