// Row lookups, maximum and minimum, schema tests and the error report of DB_Dll.
#include "db_entorno_prueba.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

using namespace zv;
using namespace zv::test;
using Op = ConexionFallida::Operacion;

namespace {

struct Busquedas : EntornoPrueba {
  Busquedas() {
    bd().gServidor = QStringLiteral("SRV");
    bd().gDBName = bd().gUsuario = bd().gUserPassWord = QStringLiteral("DEMO");
    bd().OpenServerADODB(false, 3, QString(), false, false);
    // administrator: the query texts are not changed by the user-scoped views
    bd().gEsAdmin = true;
  }
  QString ultima() { return guion().ejecutadas.isEmpty() ? QString() : guion().ejecutadas.last(); }
  void responder(const QString &columna, const QVariantList &valores) {
    guion().respuesta = [=](const QString &, long *) { return filas(columna, valores); };
  }
  QString log() {
    QFile f(carpeta.path() + QStringLiteral("/ZVERR.LOG"));
    if (!f.open(QIODevice::ReadOnly))
      return {};
    return QString::fromLatin1(f.readAll());
  }
};

const QString kFuente = QStringLiteral("Microsoft OLE DB Provider for SQL Server");

} // namespace

TEST_F(Busquedas, TextosDeExisteEnTabla) {
  struct Caso {
    const char *tabla, *valor, *campo;
    QVariant tipo;
    const char *condicion, *consulta;
  };
  const Caso casos[] = {
      {"MA_CUENTAS", "  1.1.01  ", "CODIGO", 8, "",
       "SELECT TOP 1  * FROM MA_CUENTAS with(nolock)  WHERE LTRIM(RTRIM(CODIGO)) ='1.1.01'"},
      {"MA_CUENTAS", "x' or '1'='1", "CODIGO", 8, "",
       "SELECT TOP 1  * FROM MA_CUENTAS with(nolock)  WHERE LTRIM(RTRIM(CODIGO)) ='x'' or ''1''=''1'"},
      {"T", " '2024-03-01' ", "F", 7, "", "SELECT TOP 1 * FROM T with(nolock)  WHERE F = '2024-03-01' "},
      {"T", "12abc", "N", 3, "", "SELECT TOP 1 * FROM T with(nolock)  WHERE N = 12"},
      {"T", "abc", "N", 4, "", "SELECT TOP 1 * FROM T with(nolock)  WHERE N = 0"},
      {"T", " -1.5x", "N", 5, "", "SELECT TOP 1 * FROM T with(nolock)  WHERE N = -1.5"},
      {"T", " K ", "N", QVariant(), "", "SELECT TOP 1 * FROM T with(nolock)  WHERE N =  K "},
      {"T", "K", "C", 8, "ACTIVO = 1", "SELECT TOP 1 * FROM T with(nolock)  WHERE ACTIVO = 1"},
      {"T", "K", "C", 8, "T.X = 1 Where ACTIVO = 1",
       "SELECT TOP 1 * FROM T with(nolock)  T.X = 1 Where ACTIVO = 1"},
  };
  for (const Caso &c : casos) {
    bd().ExisteEnTabla(QString::fromLatin1(c.tabla), QString::fromLatin1(c.valor),
                       QString::fromLatin1(c.campo), nullptr, c.tipo, QString::fromLatin1(c.condicion));
    EXPECT_EQ(std_(ultima()), c.consulta) << c.valor;
  }
}

TEST_F(Busquedas, TextosDeExisteEnTablaSTSobreElPrincipal) {
  db::DB_Dll otra(entorno);
  struct Caso {
    QVariant tipo;
    const char *valor, *condicion, *consulta;
  };
  const Caso casos[] = {
      {8, " 1.1'01 ", "", "SELECT * FROM MA_CUENTAS with(nolock)   WHERE CODIGO =' 1.1''01 '"},
      {3, "7 piezas", "", "SELECT * FROM MA_CUENTAS with(nolock)   WHERE CODIGO = 7"},
      {8, "K", "ACTIVO = 1", "SELECT * FROM MA_CUENTAS with(nolock)   WHERE ACTIVO = 1"},
      {8, "K", "X where Y", "SELECT * FROM MA_CUENTAS with(nolock)   X where Y"},
  };
  bd().gEsAdmin = false; // no user-scoped views here
  for (const Caso &c : casos) {
    otra.ExisteEnTablaST(QStringLiteral("MA_CUENTAS"), QString::fromLatin1(c.valor), QStringLiteral("CODIGO"),
                         nullptr, c.tipo, QString::fromLatin1(c.condicion));
    EXPECT_EQ(std_(ultima()), c.consulta) << c.valor;
  }
  EXPECT_EQ(guiones.size(), 1u); // the other object never made a connection of its own
}

TEST_F(Busquedas, ExisteEnTablaDiceSiHayFila) {
  responder(QStringLiteral("CODIGO"), {QStringLiteral("1.1")});
  EXPECT_TRUE(
      bd().ExisteEnTabla(QStringLiteral("MA_CUENTAS"), QStringLiteral("1.1"), QStringLiteral("CODIGO")));
  responder(QStringLiteral("CODIGO"), {});
  EXPECT_FALSE(
      bd().ExisteEnTabla(QStringLiteral("MA_CUENTAS"), QStringLiteral("1.1"), QStringLiteral("CODIGO")));
  // a non-administrator looks in the restricted view
  bd().gEsAdmin = false;
  bd().ExisteEnTabla(QStringLiteral("MA_CUENTAS"), QStringLiteral("1.1"), QStringLiteral("CODIGO"));
  EXPECT_TRUE(ultima().contains(QLatin1String(" SS_MA_CUENTAS ")));
}

TEST_F(Busquedas, ExisteEnTablaConRecordsetDelLlamador) {
  responder(QStringLiteral("CODIGO"), {QStringLiteral("1.1")});
  ado::Recordset rs;
  rs.open(QStringLiteral("SELECT * FROM MA_CUENTAS"), bd().Cnn(), ado::adOpenKeyset, ado::adLockOptimistic);
  EXPECT_TRUE(bd().ExisteEnTabla(QStringLiteral("MA_CUENTAS"), QStringLiteral("1.1"),
                                 QStringLiteral("CODIGO"), &rs, 8, QString(), false));
  EXPECT_EQ(rs.state(), ado::adStateOpen);
  EXPECT_EQ(rs.cursorType(), ado::adOpenKeyset);
  EXPECT_EQ(rs.lockType(), ado::adLockOptimistic);
  EXPECT_TRUE(bd().ExisteEnTabla(QStringLiteral("MA_CUENTAS"), QStringLiteral("1.1"),
                                 QStringLiteral("CODIGO"), &rs, 8, QString(), true));
  EXPECT_EQ(rs.cursorType(), ado::adOpenForwardOnly);
  EXPECT_EQ(rs.lockType(), ado::adLockReadOnly);
  EXPECT_EQ(rs.state(), ado::adStateOpen);
}

TEST_F(Busquedas, TextosYResultadosDeDatosTabla) {
  struct Caso {
    QVariant tipo;
    const char *valor, *condicion;
    bool recorta;
    const char *consulta;
  };
  const Caso casos[] = {
      {8, " K ", "ACTIVO = 1", true,
       "SELECT TOP 1 * FROM T with(nolock)  WHERE LTRIM(RTRIM(C)) ='K'  AND ACTIVO = 1"},
      {QStringLiteral("'"), " K ", "  ", false, "SELECT TOP 1 * FROM T with(nolock)  WHERE C =' K '   "},
      {8, "O'Brien", "", true, "SELECT TOP 1 * FROM T with(nolock)  WHERE LTRIM(RTRIM(C)) ='O''Brien' "},
      {7, " 01/03/2024 ", "", true, "SELECT TOP 1 * FROM T with(nolock)  WHERE C = #01/03/2024# "},
      {4, "12abc", "X = 2", true, "SELECT TOP 1 * FROM T with(nolock)  WHERE C = 12 AND X = 2"},
      {11, "1", "", true, "SELECT TOP 1 * FROM T with(nolock)  WHERE C = 1"},
  };
  responder(QStringLiteral("NOMBRE"), {QStringLiteral("Caja")});
  for (const Caso &c : casos) {
    const QVariant v =
        bd().DatosTabla(QStringLiteral("T"), QString::fromLatin1(c.valor), QStringLiteral("NOMBRE"),
                        QStringLiteral("C"), c.tipo, QString::fromLatin1(c.condicion), c.recorta);
    EXPECT_EQ(std_(ultima()), c.consulta) << c.valor;
    EXPECT_EQ(std_(v.toString()), "Caja");
  }
  responder(QStringLiteral("NOMBRE"), {});
  EXPECT_EQ(std_(bd().DatosTabla(QStringLiteral("T"), QStringLiteral("K"), QStringLiteral("NOMBRE"),
                                 QStringLiteral("C"))
                     .toString()),
            "");
  responder(QStringLiteral("NOMBRE"), {QVariant()});
  EXPECT_EQ(std_(bd().DatosTabla(QStringLiteral("T"), QStringLiteral("K"), QStringLiteral("NOMBRE"),
                                 QStringLiteral("C"))
                     .toString()),
            "");
}

TEST_F(Busquedas, DatosTablaFallaDeLectura) {
  responder(QStringLiteral("NOMBRE"), {QStringLiteral("Caja")});
  EXPECT_EQ(bd().DatosTabla(QStringLiteral("T"), QStringLiteral("K"), QStringLiteral("FALTA"),
                            QStringLiteral("C"), 8, QString(), true, true),
            QVariant(QString()));
  ui.expectMsg(QStringLiteral(
                   "Item cannot be found in the collection corresponding to the requested name or ordinal."),
               vb::Critical + vb::AbortRetryIgnore, QStringLiteral("Aviso al Operador"), vb::Abort);
  EXPECT_EQ(std_(bd().DatosTabla(QStringLiteral("T"), QStringLiteral("K"), QStringLiteral("FALTA"),
                                 QStringLiteral("C"))
                     .toString()),
            "");
}

TEST_F(Busquedas, BusquedaConConexionPerdida) {
  responder(QStringLiteral("CODIGO"), {QStringLiteral("1.1")});
  falla().fallar(Op::Ejecutar, err::Unspecified, 11, 1, QStringLiteral("General network error"));
  EXPECT_TRUE(
      bd().ExisteEnTabla(QStringLiteral("MA_CUENTAS"), QStringLiteral("1.1"), QStringLiteral("CODIGO")));
  EXPECT_EQ(falla().aperturas, 2);

  // the first reopen fails: each failed second attempt asks
  falla().fallar(Op::Ejecutar, err::Unspecified, 11, 1).fallar(Op::Abrir, err::Unspecified, 17, 2);
  const QString aviso =
      QStringLiteral("\r\n\r\n\r\nSe perdio la conexion con la base de datos DEMO\r\n Servidor SRV\r\n"
                     "\r\nElija SI para reintentar conectarse\r\nElija NO para cerrar la aplicacion"
                     "\r\n\r\n\r\n");
  ui.expectMsg(aviso, vb::YesNo + vb::Critical, QStringLiteral("AVISO AL OPERADOR"), vb::Yes);
  EXPECT_TRUE(
      bd().ExisteEnTabla(QStringLiteral("MA_CUENTAS"), QStringLiteral("1.1"), QStringLiteral("CODIGO")));
  EXPECT_EQ(falla().aperturas, 5);

  // three losses in one call: the generic message
  falla().fallar(Op::Ejecutar, err::Unspecified, 11, 3, QStringLiteral("General network error"));
  ui.expectMsg(QStringLiteral("General network error"), vb::Critical + vb::AbortRetryIgnore,
               QStringLiteral("Aviso al Operador"), vb::Abort);
  EXPECT_FALSE(
      bd().ExisteEnTabla(QStringLiteral("MA_CUENTAS"), QStringLiteral("1.1"), QStringLiteral("CODIGO")));
}

TEST_F(Busquedas, BusquedaMensajeGenerico) {
  responder(QStringLiteral("CODIGO"), {QStringLiteral("1.1")});
  falla().fallar(Op::Ejecutar, err::InvalidObject, 208, 1, QStringLiteral("Invalid object name 'X'."));
  ui.expectMsg(QStringLiteral("Invalid object name 'X'."), vb::Critical + vb::AbortRetryIgnore,
               QStringLiteral("Aviso al Operador"), vb::Retry);
  EXPECT_TRUE(bd().ExisteEnTabla(QStringLiteral("X"), QStringLiteral("1.1"), QStringLiteral("CODIGO")));
  EXPECT_EQ(falla().aperturas, 1);
}

TEST_F(Busquedas, MaximoMinimoYUltimoCodigo) {
  responder(QStringLiteral("MAYOR"), {QStringLiteral("41")});
  EXPECT_EQ(bd().BuscaMaximo(QStringLiteral("T"), QStringLiteral("N")).toDouble(), 41.0);
  EXPECT_EQ(std_(ultima()), "SELECT MAX(N) AS MAYOR FROM T");
  QString condicion = QStringLiteral(" X = 1 ");
  EXPECT_EQ(std_(bd().BuscaMaximo(QStringLiteral("T"), QStringLiteral("F"), 7, &condicion).toString()), "41");
  EXPECT_EQ(std_(ultima()), "SELECT MAX(F) AS MAYOR FROM T WHERE X = 1");

  // article codes beginning with zero are skipped and the condition returns extended
  int vez = 0;
  guion().respuesta = [&](const QString &, long *) {
    return filas(QStringLiteral("MAYOR"), {vez++ == 0 ? QStringLiteral("0999") : QStringLiteral("950")});
  };
  condicion = QStringLiteral("ACTIVO = 1");
  EXPECT_EQ(bd().BuscaMaximo(QStringLiteral("v_ma_articulos"), QStringLiteral("idarticulo"), std::nullopt,
                             &condicion)
                .toDouble(),
            950.0);
  EXPECT_EQ(std_(condicion), "ACTIVO = 1 and substring(ltrim(idarticulo),1,1)<>'0'");
  EXPECT_EQ(std_(ultima()), "SELECT MAX(idarticulo) AS MAYOR FROM v_ma_articulos WHERE ACTIVO = 1 and "
                            "substring(ltrim(idarticulo),1,1)<>'0'");

  responder(QStringLiteral("MENOR"), {QStringLiteral("3")});
  const QString cond = QStringLiteral("X > 0");
  EXPECT_EQ(bd().BuscaMinimo(QStringLiteral("T"), QStringLiteral("N"), std::nullopt, &cond).toDouble(), 3.0);
  EXPECT_EQ(std_(ultima()), "SELECT MIN(N) AS MENOR FROM T  with(nolock)  WHERE X > 0");

  responder(QStringLiteral("MAYOR"), {QStringLiteral("17")});
  EXPECT_EQ(
      bd().BuscaUltimoCodigo(QStringLiteral("T"), QStringLiteral("N"), 3, QStringLiteral("X = 1")).toDouble(),
      17.0);
  EXPECT_EQ(std_(ultima()), "SELECT MAX(N) AS MAYOR FROM T WHERE X = 1");
  responder(QStringLiteral("MAYOR"), {});
  EXPECT_FALSE(bd().BuscaUltimoCodigo(QStringLiteral("T"), QStringLiteral("N"), 3, QString()).isValid());
}

// --------------------------------------------------------------------- schema

TEST_F(Busquedas, ExisteTablaDB) {
  guion().tablas = {QStringLiteral("TA_USUARIOS"), QStringLiteral("V_MA_CUENTAS")};
  EXPECT_TRUE(bd().ExisteTablaDB(QStringLiteral("ta_usuarios")));
  EXPECT_TRUE(bd().ExisteTablaDB(QStringLiteral("  TA_USUARIOS ")));
  EXPECT_TRUE(bd().ExisteTablaDB(QStringLiteral("v_ma_cuentas")));
  EXPECT_FALSE(bd().ExisteTablaDB(QStringLiteral("TA_USUARIO")));
  guion().tablas.clear();
  EXPECT_FALSE(bd().ExisteTablaDB(QStringLiteral("TA_USUARIOS")));
}

TEST_F(Busquedas, ExisteTablaDBConFalla) {
  guion().tablas = {QStringLiteral("TA_USUARIOS")};
  falla().fallar(Op::Esquema, err::Unspecified, 0, 1, QStringLiteral("  Catálogo no disponible "));
  ui.expectMsg(QStringLiteral("Ha ocurrido el Siguiente Error (-2147467259) Catálogo no disponible"), 18,
               kFuente + QStringLiteral(" - VerificaCampos Aviso al operador!!! - 5 "), vb::Retry);
  EXPECT_TRUE(bd().ExisteTablaDB(QStringLiteral("TA_USUARIOS")));
  falla().fallar(Op::Esquema, err::Unspecified, 0, 1, QStringLiteral("Catálogo no disponible"));
  ui.expectMsg(QStringLiteral("Ha ocurrido el Siguiente Error (-2147467259) Catálogo no disponible"), 18,
               kFuente + QStringLiteral(" - VerificaCampos Aviso al operador!!! - 5 "), vb::Abort);
  EXPECT_FALSE(bd().ExisteTablaDB(QStringLiteral("TA_USUARIOS")));
}

TEST_F(Busquedas, ExisteCampoDB) {
  guion().columnas = {{QStringLiteral("MA_CUENTAS"), QStringLiteral("CODIGO")}};
  EXPECT_TRUE(bd().ExisteCampoDB(QStringLiteral("MA_CUENTAS"), QStringLiteral(" codigo ")));
  EXPECT_EQ(guion().ultimasRestricciones,
            (QVariantList{QStringLiteral("DEMO"), QVariant(), QStringLiteral("MA_CUENTAS"), QVariant()}));
  EXPECT_FALSE(bd().ExisteCampoDB(QStringLiteral("MA_CUENTAS"), QStringLiteral("NIVEL")));
  // another catalogue does not count
  guion().catalogo = QStringLiteral("OTRA");
  EXPECT_FALSE(bd().ExisteCampoDB(QStringLiteral("MA_CUENTAS"), QStringLiteral("CODIGO")));
  // the main object's Oracle provider: true without looking
  bd().gProveedor = QStringLiteral("OraOLEDB.Oracle.1");
  EXPECT_TRUE(bd().ExisteCampoDB(QStringLiteral("NO_EXISTE"), QStringLiteral("NADA")));
}

TEST_F(Busquedas, AddFieldYVerCampoDB) {
  bd().AddField(QStringLiteral("MA_CUENTAS"), QStringLiteral("NIVEL"), QStringLiteral("INT"), false, 0);
  EXPECT_EQ(std_(ultima()),
            "ALTER TABLE dbo.MA_CUENTAS ADD NIVEL INT Not Null  CONSTRAINT DF_MA_CUENTAS_NIVEL DEFAULT (0)");
  bd().AddField(QStringLiteral("T "), QStringLiteral(" C"), QStringLiteral("VARCHAR(10)"), true,
                QStringLiteral("'x'"));
  EXPECT_EQ(std_(ultima()), "ALTER TABLE dbo.T  ADD  C VARCHAR(10) Null  CONSTRAINT DF_T_C DEFAULT ('x')");
  bd().AddField(QStringLiteral("T"), QStringLiteral("C"), QStringLiteral("VARCHAR(10)"), true);
  EXPECT_EQ(std_(ultima()), "ALTER TABLE dbo.T ADD C VARCHAR(10) Null ");

  guion().ejecutadas.clear();
  guion().tablas = {QStringLiteral("MA_CUENTAS")};
  guion().columnas = {{QStringLiteral("MA_CUENTAS"), QStringLiteral("CODIGO")}};
  EXPECT_TRUE(bd().VerCampoDB(QStringLiteral("MA_CUENTAS"), QStringLiteral("NIVEL"), false,
                              QStringLiteral("INT"), true));
  EXPECT_TRUE(bd().VerCampoDB(QStringLiteral("NO_EXISTE"), QStringLiteral("NIVEL"), true,
                              QStringLiteral("INT"), true));
  EXPECT_TRUE(bd().VerCampoDB(QStringLiteral("MA_CUENTAS"), QStringLiteral("CODIGO"), true,
                              QStringLiteral("INT"), true));
  EXPECT_TRUE(guion().ejecutadas.isEmpty());
  EXPECT_TRUE(bd().VerCampoDB(QStringLiteral("MA_CUENTAS"), QStringLiteral("NIVEL"), true,
                              QStringLiteral("INT"), true));
  EXPECT_EQ(std_(ultima()), "ALTER TABLE dbo.MA_CUENTAS ADD NIVEL INT Null ");
}

// ------------------------------------------------------------- error report

TEST_F(Busquedas, TratamientoErroresMensajeYLinea) {
  const AppError e(13, QStringLiteral("  Type mismatch  "), QStringLiteral("DB_Dll"));
  ui.expectMsg(QStringLiteral("Ha ocurrido el Siguiente Error (13) Type mismatch"), 18,
               QStringLiteral("DB_Dll - errAddField Aviso al operador!!! - 5 "), vb::Ignore);
  EXPECT_EQ(bd().TratamientoErrores(e, std::nullopt, QStringLiteral("errAddField")), vb::Ignore);
  ui.expectMsg(QStringLiteral("Ha ocurrido el Siguiente Error (13) Type mismatch"), 18,
               QStringLiteral("DB_Dll Aviso al operador!!! - 5 "), vb::Retry);
  EXPECT_EQ(bd().TratamientoErrores(e), vb::Retry);
  ui.expectMsg(QStringLiteral("Ha ocurrido el Siguiente Error (-2147217900) x"), vb::OKOnly,
               QStringLiteral("Fuente - AbrirRecordset Aviso al operador!!! - 5 "), vb::OK);
  EXPECT_EQ(
      bd().TratamientoErrores(AppError(err::CommandError, QStringLiteral("x"), QStringLiteral("Fuente")),
                              vb::OKOnly, QStringLiteral("AbrirRecordset")),
      vb::OK);

  const QStringList lineas = log().split(QStringLiteral("\r\n"));
  ASSERT_EQ(lineas.size(), 4) << std_(log());
  const QString fecha = QStringLiteral("^\\d\\d-\\d\\d-\\d{4} \\d\\d:\\d\\d:\\d\\d ");
  EXPECT_TRUE(
      QRegularExpression(fecha + QStringLiteral("Rutina: - errAddField Mensaje Ha ocurrido el Siguiente "
                                                "Error \\(13\\) Type mismatch Respondi\u00f3 : Ignorar$"))
          .match(lineas[0])
          .hasMatch())
      << std_(lineas[0]);
  EXPECT_TRUE(
      QRegularExpression(fecha + QStringLiteral("Rutina:  Mensaje Ha ocurrido el Siguiente Error \\(13\\) "
                                                "Type mismatch Respondi\u00f3 : Reintentar$"))
          .match(lineas[1])
          .hasMatch())
      << std_(lineas[1]);
  EXPECT_TRUE(
      lineas[2].endsWith(QStringLiteral("Rutina: - AbrirRecordset Mensaje Ha ocurrido el Siguiente Error "
                                        "(-2147217900) x Respondi\u00f3 : ")))
      << std_(lineas[2]);
  EXPECT_EQ(lineas[3], QString());
  // the date is month first and the file is in the ANSI code page
  EXPECT_EQ(lineas[0].left(10), QDate::currentDate().toString(QStringLiteral("MM-dd-yyyy")));
  QFile f(carpeta.path() + QStringLiteral("/ZVERR.LOG"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_TRUE(f.readAll().contains("Respondi\xf3 : Ignorar\r\n"));
}

TEST_F(Busquedas, TratamientoErroresSinNumeroYOtroArchivo) {
  EXPECT_EQ(bd().TratamientoErrores(AppError(0, QStringLiteral("nada"))), 0);
  EXPECT_FALSE(QFile::exists(carpeta.path() + QStringLiteral("/ZVERR.LOG")));

  const QString otro = carpeta.path() + QStringLiteral("/otro.log");
  bd().setArchivoErrores(otro);
  EXPECT_EQ(std_(bd().ArchivoErrores()), std_(otro));
  ui.expectMsg(QStringLiteral("Ha ocurrido el Siguiente Error (5) x"), 18,
               QStringLiteral(" Aviso al operador!!! - 5 "), vb::Abort);
  EXPECT_EQ(bd().TratamientoErrores(AppError(5, QStringLiteral("x"))), vb::Abort);
  EXPECT_TRUE(QFile::exists(otro));
  EXPECT_FALSE(QFile::exists(carpeta.path() + QStringLiteral("/ZVERR.LOG")));

  // a log that cannot be written costs only the line
  bd().setArchivoErrores(carpeta.path());
  ui.expectMsg(QStringLiteral("Ha ocurrido el Siguiente Error (5) x"), 18,
               QStringLiteral(" Aviso al operador!!! - 5 "), vb::No);
  EXPECT_EQ(bd().TratamientoErrores(AppError(5, QStringLiteral("x"))), vb::No);
}

TEST_F(Busquedas, TratamientoErroresEnLaRaiz) {
  sistema.programFolder = QStringLiteral("/");
  bd().setArchivoErrores(QString());
  // the path is the root's file, without a doubled separator; writing there
  // is normally refused, and only the line is lost
  ui.expectMsg(QStringLiteral("Ha ocurrido el Siguiente Error (5) x"), 18,
               QStringLiteral(" Aviso al operador!!! - 5 "), vb::Ignore);
  EXPECT_EQ(bd().TratamientoErrores(AppError(5, QStringLiteral("x"))), vb::Ignore);
}
