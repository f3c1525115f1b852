// The demo databases: what the program reads and rewrites must be there, the
// balances must agree with the journal, the files must be ordinary SQLite
// files, and an existing demo is never overwritten.
#include "support/CatalogoRecodificacion.h"
#include "support/DemoTemporal.h"

#include "platform/Kit.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QSet>

#include <cmath>

using zv::AppError;
using zv::demo::CrearDemo;
using zv::test::DemoTemporal;
namespace ado = zv::ado;
namespace errdemo = zv::demo::errdemo;
namespace catalogo = zv::test::catalogo;

namespace {

struct Par {
  const char *tabla;
  const char *columna;
};

// Other objects and the columns the program reads or writes in them.
const Par OtrasColumnas[] = {
    {"MV_ASIENTOS", "SucursalCuenta"},
    {"V_MV_CPTE", "SucursalCuenta"},
    {"C_MV_CPTE", "SucursalCuenta"},
    {"MA_CUENTASSUC", "Sucursal"},
    {"TA_CONFIGURACION", "Grupo"},
    {"TA_CONFIGURACION", "Clave"},
    {"TA_CONFIGURACION", "Valor"},
    {"TA_CONFIGURACION", "ValorAux"},
    {"TA_CONFIGURACION", "PoliticaNegocio"},
    {"TA_USUARIOS", "NOMBRE"},
    {"TA_USUARIOS", "SISTEMA"},
    {"TA_USUARIOS", "Password"},
    {"TA_USUARIOS", "Administrador"},
    {"TA_USUARIOS", "UNegocio"},
    {"TA_USUARIOS", "verproforma"},
    {"TA_USUARIOS", "clasepusa"},
    {"TA_TAREAS", "USUARIO"},
    {"TA_TAREAS", "TAREA"},
    {"TA_MENU", "Clave"},
    {"TA_MENU", "Proceso"},
    {"TA_MENU", "Nombre"},
    {"Control_Acceso", "Id"},
    {"Control_Acceso", "Maquina"},
    {"Control_Acceso", "Usuario"},
    {"Control_Acceso", "Formulario"},
    {"Control_Acceso", "Tarea"},
    {"Control_Acceso", "Ingreso"},
    {"Control_Acceso", "NombreUsuario"},
    {"Control_Acceso", "EGRESO"},
    {"V_MV_CPTEACCIONES", "TC"},
    {"V_MV_CPTEACCIONES", "IdComprobante"},
    {"V_MV_CPTEACCIONES", "IdComplemento"},
    {"V_MV_CPTEACCIONES", "Tipo_accion"},
    {"V_MV_CPTEACCIONES", "FECHAHORA"},
    {"V_MV_CPTEACCIONES", "Usuario"},
    {"V_MV_CPTEACCIONES", "PC"},
    {"V_MV_CPTEACCIONES", "SYSTEMUSER"},
    {"V_MV_CPTEACCIONES", "Proceso"},
    {"V_MV_CPTEACCIONES", "ProcesoLote"},
    {"V_MV_CPTEACCIONES", "Cuenta"},
    {"AUX_ERR", "Proceso"},
    {"AUX_ERR", "Fecha"},
    {"AUX_ERR", "Error"},
    {"AUX_ERR", "Descripcion"},
    {"AUX_ERR", "sql"},
    {"AUX_ERR", "PC"},
    {"AUX_ERR", "Usuario"},
    {"V_MV_FALTANTES", "FechaHora"},
    {"V_MV_FALTANTES", "IdArticulo"},
    {"V_MV_FALTANTES", "Descripcion"},
    {"V_MV_FALTANTES", "Usuario"},
    // The default lookups, their special conditions and the derived ones.
    {"V_MA_ARTICULOS", "DESCRIPCION"},
    {"V_MA_ARTICULOS", "IDARTICULO"},
    {"VT_MA_ARTICULOS", "SUSPENDIDO"},
    {"VT_MA_ARTICULOS", "DESCRIPCION"},
    {"VT_CLIENTES", "RAZON_SOCIAL"},
    {"VT_CLIENTES", "Dada_De_Baja"},
    {"VT_PROVEEDORES", "RAZON_SOCIAL"},
    {"VT_PROVEEDORES", "CODIGO"},
    {"VT_PROVEEDORES", "Dada_De_Baja"},
    {"MA_CONTACTOS", "Nombre_y_Apellido"},
    {"MA_CONTACTOS", "Domicilio"},
    {"MA_CONTACTOS", "Localidad"},
    {"MA_CONTACTOS", "Telefono"},
    {"V_TA_VENDEDORES", "NOMBRE"},
    {"V_TA_VENDEDORES", "IDVENDEDOR"},
    {"V_TA_TECNICOS", "NOMBRE"},
    {"V_TA_TECNICOS", "IDTECNICO"},
    {"V_MA_MANTENIMIENTOS", "DESCRIPCION"},
    {"V_MA_MANTENIMIENTOS", "CODIGO"},
    {"MA_CUENTAS", "DESCRIPCION"},
    {"V_TA_Tareas", "Descripcion"},
    {"V_TA_Tareas", "IdTarea"},
    {"V_TA_UnidadNegocio", "Descripcion"},
    {"V_TA_UnidadNegocio", "Codigo"},
    {"V_TA_DEPOSITO", "Descripcion"},
    {"V_TA_DEPOSITO", "IdDeposito"},
    {"V_TA_DEPOSITO", "Unidad"},
    {"V_TA_Unidad", "Descripcion"},
    {"V_TA_Unidad", "IdUnidad"},
    {"V_TA_STATUS", "Descripcion"},
    {"V_TA_STATUS", "Tipo"},
    {"V_TA_STATUS", "CodigoEstado"},
    {"V_TA_FAMILIAS", "IdFamilia"},
    {"V_TA_FAMILIAS", "Descripcion"},
    {"MA_POSICIONES", "IDPOSICION"},
    {"TA_CCOSTO", "CODIGO"},
};

// The restricted views and the shared objects they stand for.
const char *const ObjetosRestringidos[] = {
    "SS_MA_CUENTAS",
    "SS_V_TA_DEPOSITO",
    "SS_MV_ASIENTOS",
    "SS_V_TA_FAMILIAS",
    "SS_V_TA_CAJAS",
    "SS_AC_CUENTASDIARIO",
    "SS_AC_CUENTAS_DIARIO_CCOSTO",
    "MA_CUENTAS",
    "V_TA_DEPOSITO",
    "MV_ASIENTOS",
    "V_TA_FAMILIAS",
    "V_TA_CAJAS",
    "AC_CUENTASDIARIO",
    "AC_CUENTASDIARIO_CCOSTO",
};

QString q(const char *s) { return QString::fromUtf8(s); }

std::unique_ptr<ado::ResultSet> consulta(ado::Connection &cn, const QString &sql) {
  auto r = cn.execute(sql);
  if (!r)
    ADD_FAILURE() << "sin resultado: " << sql.toStdString();
  return r;
}

QVariant escalar(ado::Connection &cn, const QString &sql) {
  auto r = consulta(cn, sql);
  if (!r || r->rows.isEmpty())
    return {};
  return r->rows.first().value(0);
}

// Table name (upper case) -> upper-case column names, in order.
QMap<QString, QStringList> columnasDe(ado::Connection &cn) {
  QMap<QString, QStringList> m;
  auto r = cn.openSchema(ado::adSchemaColumns);
  const int t = r->columnIndex("TABLE_NAME"), c = r->columnIndex("COLUMN_NAME");
  for (const auto &fila : r->rows)
    m[fila.value(t).toString().toUpper()] << fila.value(c).toString().toUpper();
  return m;
}

QMap<QString, QString> tiposDeTabla(ado::Connection &cn) {
  QMap<QString, QString> m;
  auto r = cn.openSchema(ado::adSchemaTables);
  const int t = r->columnIndex("TABLE_NAME"), k = r->columnIndex("TABLE_TYPE");
  for (const auto &fila : r->rows)
    m[fila.value(t).toString().toUpper()] = fila.value(k).toString();
  return m;
}

// Any name between brackets, whether the catalogue writes them or not.
QString corchetes(const char *nombre) { return "[" + catalogo::sinCorchetes(nombre) + "]"; }

struct Salida {
  int estado = -1;
  QString out, err;
};

Salida sqlite3(const QString &archivo, const QString &sql) {
  QProcess p;
  p.start("sqlite3", {"-batch", "-noheader", "-separator", "|", archivo, sql});
  Salida s;
  if (!p.waitForFinished(60000))
    return s;
  s.estado = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  s.out = QString::fromUtf8(p.readAllStandardOutput());
  s.err = QString::fromUtf8(p.readAllStandardError());
  return s;
}

QByteArray huella(const QString &archivo) {
  QFile f(archivo);
  if (!f.open(QIODevice::ReadOnly))
    return {};
  return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// One demo for the read-only checks; tests that change data make their own.
class DemoTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() { demo_ = new DemoTemporal(300); }
  static void TearDownTestSuite() {
    delete demo_;
    demo_ = nullptr;
  }
  void SetUp() override {
    ASSERT_TRUE(demo_->valida());
    cn_ = demo_->abrir();
  }
  static DemoTemporal *demo_;
  std::unique_ptr<ado::Connection> cn_;
};
DemoTemporal *DemoTest::demo_ = nullptr;

TEST_F(DemoTest, CatalogoDeRecodificacionEsTablasConSusColumnas) {
  const auto columnas = columnasDe(*cn_);
  const auto tipos = tiposDeTabla(*cn_);
  for (const catalogo::PasoTabla &p : catalogo::kPasos) {
    const QString t = catalogo::sinCorchetes(p.tabla).toUpper();
    ASSERT_TRUE(columnas.contains(t)) << p.tabla;
    EXPECT_TRUE(columnas[t].contains(catalogo::sinCorchetes(p.columna).toUpper()))
        << p.tabla << "." << p.columna;
    // The recoder updates it: a view would refuse.
    EXPECT_EQ(tipos.value(t), "TABLE") << p.tabla;
  }
}

TEST_F(DemoTest, CadaPasoDelCatalogoPuedeActualizarse) {
  // The statements the recoder sends, on a code that matches nothing, inside
  // a transaction that is rolled back.
  cn_->execute("BEGIN TRANSACTION");
  for (const catalogo::PasoTabla &p : catalogo::kPasos) {
    const QString sql = QString("UPDATE %1 SET %2 = '9.9.99.998' WHERE %2 = '9.9.99.999'")
                            .arg(corchetes(p.tabla), corchetes(p.columna));
    EXPECT_NO_THROW(cn_->execute(sql)) << sql.toStdString();
  }
  cn_->execute("ROLLBACK TRANSACTION");
}

TEST_F(DemoTest, CadaTablaDelCatalogoTieneFilasQueApuntanACuentasDelPlan) {
  const QStringList plan = CrearDemo::codigosPlan();
  const QSet<QString> codigos(plan.begin(), plan.end());
  for (const catalogo::PasoTabla &p : catalogo::kPasos) {
    auto r = consulta(*cn_, QString("SELECT %1 FROM %2").arg(corchetes(p.columna), corchetes(p.tabla)));
    ASSERT_TRUE(r);
    EXPECT_FALSE(r->rows.isEmpty()) << p.tabla << " sin filas";
    for (const auto &fila : r->rows) {
      const QVariant v = fila.value(0);
      if (v.isNull())
        continue;
      EXPECT_TRUE(codigos.contains(v.toString()))
          << p.tabla << "." << p.columna << " = " << v.toString().toStdString();
    }
  }
}

TEST_F(DemoTest, PlanDeCuentasEmpiezaPorIdentidadYCodigo) {
  auto r = cn_->openSchema(ado::adSchemaColumns, {QVariant(), QVariant(), "MA_CUENTAS", QVariant()});
  ASSERT_GE(r->rows.size(), 6);
  const int c = r->columnIndex("COLUMN_NAME");
  EXPECT_EQ(r->rows[0].value(c).toString().toUpper(), "ID");
  EXPECT_EQ(r->rows[1].value(c).toString().toUpper(), "CODIGO");

  // ID is filled by the database: an insert that leaves it out gets one.
  auto cn = demo_->abrir();
  cn->execute("BEGIN TRANSACTION");
  cn->execute("INSERT INTO MA_CUENTAS (CODIGO, Descripcion) VALUES ('9.9.99.001', 'Prueba')");
  const QVariant id = escalar(*cn, "SELECT ID FROM MA_CUENTAS WHERE CODIGO = '9.9.99.001'");
  cn->execute("ROLLBACK TRANSACTION");
  EXPECT_FALSE(id.isNull());
  EXPECT_GT(id.toLongLong(), 0);
}

TEST_F(DemoTest, PlanDeCuentasCompletoYJerarquico) {
  auto r = consulta(*cn_, "SELECT CODIGO, Descripcion, Imputable, Nivel FROM MA_CUENTAS");
  ASSERT_TRUE(r);
  EXPECT_GE(r->rows.size(), 90);
  QSet<QString> codigos;
  for (const auto &f : r->rows)
    codigos.insert(f[0].toString());
  QMap<QString, QString> nombres;
  for (const auto &f : r->rows) {
    const QString codigo = f[0].toString();
    nombres[codigo] = f[1].toString();
    const int nivel = int(codigo.count('.')) + 1;
    EXPECT_EQ(f[3].toInt(), nivel) << codigo.toStdString();
    EXPECT_EQ(f[2].toInt(), nivel == 4 ? 1 : 0) << codigo.toStdString();
    // Every account but the five headings hangs from one that exists.
    if (nivel > 1) {
      EXPECT_TRUE(codigos.contains(codigo.section('.', 0, nivel - 2))) << codigo.toStdString();
    }
  }
  for (const char *n :
       {"Caja", "Banco Nación cuenta corriente", "Deudores por ventas", "IVA crédito fiscal", "Proveedores",
        "Capital social", "Ventas", "Costo de mercaderías vendidas", "Sueldos y jornales"})
    EXPECT_TRUE(nombres.values().contains(q(n))) << n;
  for (const char *rubro : {"1", "2", "3", "4", "5"})
    EXPECT_TRUE(codigos.contains(rubro));
}

TEST_F(DemoTest, ColumnasDeLaCopiaDeSucursalEnClientesYSucursales) {
  const auto columnas = columnasDe(*cn_);
  const QStringList copiadas = catalogo::columnasCopiaSucursal();
  ASSERT_EQ(copiadas.size(), 83);
  for (const QString &c : copiadas) {
    EXPECT_TRUE(columnas["VT_CLIENTES"].contains(c.toUpper())) << "VT_CLIENTES." << c.toStdString();
    EXPECT_TRUE(columnas["MA_CUENTASSUC"].contains(c.toUpper())) << "MA_CUENTASSUC." << c.toStdString();
  }
  // Some customers are accounts of the chart: the branch copy finds them.
  const QVariant n =
      escalar(*cn_, "SELECT COUNT(*) FROM VT_CLIENTES c INNER JOIN MA_CUENTAS m ON m.CODIGO = c.CODIGO");
  EXPECT_GE(n.toInt(), 1);
}

TEST_F(DemoTest, OtrosObjetosYColumnasQueElProgramaUsa) {
  const auto columnas = columnasDe(*cn_);
  for (const Par &p : OtrasColumnas) {
    const QString t = q(p.tabla).toUpper();
    ASSERT_TRUE(columnas.contains(t)) << p.tabla;
    EXPECT_TRUE(columnas[t].contains(q(p.columna).toUpper())) << p.tabla << "." << p.columna;
  }
}

TEST_F(DemoTest, VistasRestringidasExistenYOcultanLoConfidencial) {
  const auto tipos = tiposDeTabla(*cn_);
  for (const char *o : ObjetosRestringidos) {
    EXPECT_TRUE(tipos.contains(q(o).toUpper())) << o;
    EXPECT_NO_THROW(cn_->execute(QString("SELECT TOP 1 * FROM %1").arg(q(o)))) << o;
  }
  EXPECT_EQ(tipos.value("SS_MA_CUENTAS"), "VIEW");
  EXPECT_EQ(tipos.value("V_MV_FALTANTES"), "TABLE"); // it receives inserts
  const int todas = escalar(*cn_, "SELECT COUNT(*) FROM MA_CUENTAS").toInt();
  const int visibles = escalar(*cn_, "SELECT COUNT(*) FROM SS_MA_CUENTAS").toInt();
  EXPECT_GT(visibles, 0);
  EXPECT_LT(visibles, todas);
  // The restricted journal shows only lines of visible accounts.
  EXPECT_EQ(escalar(*cn_, "SELECT COUNT(*) FROM SS_MV_ASIENTOS a WHERE a.CUENTA NOT IN (SELECT CODIGO FROM "
                          "SS_MA_CUENTAS)")
                .toInt(),
            0);
}

TEST_F(DemoTest, LasTreintaYTresClavesYAlgunasApuntanAlPlan) {
  const QStringList plan = CrearDemo::codigosPlan();
  int conCuenta = 0, sinCuenta = 0;
  for (const char *k : catalogo::kClaves) {
    auto r = consulta(*cn_, QString("SELECT VALOR FROM TA_CONFIGURACION WHERE CLAVE = '%1'").arg(q(k)));
    ASSERT_TRUE(r);
    ASSERT_EQ(r->rows.size(), 1) << k;
    (plan.contains(r->rows[0].value(0).toString()) ? conCuenta : sinCuenta)++;
  }
  EXPECT_GE(conCuenta, 20);
  EXPECT_GE(sinCuenta, 1);
  // A key outside the 33 that still holds a code of the chart, so that a
  // recode can show it is left alone.
  auto r = consulta(*cn_, "SELECT CLAVE, VALOR FROM TA_CONFIGURACION");
  QSet<QString> claves;
  for (const char *k : catalogo::kClaves)
    claves.insert(q(k).toUpper());
  bool otra = false;
  for (const auto &f : r->rows)
    otra = otra || (!claves.contains(f[0].toString().toUpper()) && plan.contains(f[1].toString()));
  EXPECT_TRUE(otra);
}

TEST_F(DemoTest, UsuariosDeLaDemoConClaveCifrada) {
  struct Caso {
    const char *nombre, *clave;
    int admin;
  };
  for (const Caso c : {Caso{"ADMIN", "admin", 1}, Caso{"OPERADOR", "operador", 0}}) {
    auto r =
        consulta(*cn_, QString("SELECT Password, Administrador, SISTEMA, UNegocio FROM TA_USUARIOS WHERE "
                               "NOMBRE = '%1' AND (SISTEMA = 'kx517tm' OR SISTEMA = 'QUMA')")
                           .arg(q(c.nombre)));
    ASSERT_TRUE(r);
    ASSERT_EQ(r->rows.size(), 1) << c.nombre;
    const QString guardada = r->rows[0][0].toString();
    EXPECT_NE(guardada, q(c.clave)) << "sin cifrar";
    EXPECT_EQ(zv::kit::Utilidades::Descifrar(guardada), q(c.clave)) << c.nombre;
    EXPECT_EQ(r->rows[0][1].toInt(), c.admin) << c.nombre;
  }
}

TEST_F(DemoTest, TareaDelProgramaParaLosDosUsuarios) {
  // The access record looks up the user's task by the program's name.
  for (const char *u : {"ADMIN", "OPERADOR"}) {
    auto r =
        consulta(*cn_, QString("SELECT TA_TAREAS.USUARIO, TA_MENU.Proceso, TA_MENU.Clave , TA_MENU.Nombre "
                               " FROM TA_TAREAS  with(nolock) INNER JOIN TA_MENU ON TA_TAREAS.TAREA = "
                               "TA_MENU.Clave  WHERE (TA_TAREAS.USUARIO = '%1 ') AND (TA_MENU.Proceso LIKE "
                               "'%recodificador%')")
                           .arg(q(u)));
    ASSERT_TRUE(r);
    ASSERT_FALSE(r->rows.isEmpty()) << u;
    EXPECT_FALSE(r->rows[0][3].toString().trimmed().isEmpty());
  }
}

TEST_F(DemoTest, AsientosBalanceadosYEnCuentasImputables) {
  EXPECT_EQ(escalar(*cn_, "SELECT COUNT(*) FROM MV_ASIENTOS").toInt(), demo_->renglones());
  auto r = consulta(*cn_, "SELECT NroAsiento, SUM(Debe) - SUM(Haber) FROM MV_ASIENTOS GROUP BY NroAsiento");
  ASSERT_TRUE(r);
  for (const auto &f : r->rows)
    EXPECT_NEAR(f[1].toDouble(), 0.0, 0.005) << "asiento " << f[0].toInt();
  EXPECT_EQ(escalar(*cn_, "SELECT COUNT(*) FROM MV_ASIENTOS a INNER JOIN MA_CUENTAS c ON c.CODIGO = a.CUENTA "
                          "WHERE c.Imputable = 1")
                .toInt(),
            demo_->renglones());
}

void saldosIgualanAsientos(ado::Connection &cn) {
  QMap<QString, std::pair<double, double>> asientos, saldos;
  auto a = consulta(cn, "SELECT CUENTA, SUM(Debe), SUM(Haber) FROM MV_ASIENTOS GROUP BY CUENTA");
  auto s = consulta(cn, "SELECT CUENTA, SUM(Debe), SUM(Haber), SUM(Saldo) FROM MV_SALDOS GROUP BY CUENTA");
  ASSERT_TRUE(a && s);
  for (const auto &f : a->rows)
    asientos[f[0].toString()] = {f[1].toDouble(), f[2].toDouble()};
  for (const auto &f : s->rows) {
    saldos[f[0].toString()] = {f[1].toDouble(), f[2].toDouble()};
    EXPECT_NEAR(f[3].toDouble(), f[1].toDouble() - f[2].toDouble(), 0.005) << f[0].toString().toStdString();
  }
  for (auto it = asientos.begin(); it != asientos.end(); ++it) {
    ASSERT_TRUE(saldos.contains(it.key())) << it.key().toStdString();
    EXPECT_NEAR(saldos[it.key()].first, it->first, 0.005) << it.key().toStdString();
    EXPECT_NEAR(saldos[it.key()].second, it->second, 0.005) << it.key().toStdString();
  }
  // No balance without journal lines, unless it is zero.
  for (auto it = saldos.begin(); it != saldos.end(); ++it)
    if (!asientos.contains(it.key())) {
      EXPECT_NEAR(it->first, 0.0, 0.005) << it.key().toStdString();
      EXPECT_NEAR(it->second, 0.0, 0.005) << it.key().toStdString();
    }
}

TEST_F(DemoTest, SaldosIgualanLasSumasDelDiario) { saldosIgualanAsientos(*cn_); }

TEST(DemoDisparadores, AltasBajasYCambiosDelDiarioMantienenLosSaldos) {
  DemoTemporal demo(40);
  ASSERT_TRUE(demo.valida());
  auto cn = demo.abrir();
  const QString nueva = "1.1.02.001";
  cn->execute("INSERT INTO MV_ASIENTOS (NroAsiento, Renglon, Fecha, CUENTA, Debe, Haber) VALUES "
              "(9001, 1, '2024-12-31 00:00:00', '1.1.01.001', 100.25, 0), "
              "(9001, 2, '2024-12-31 00:00:00', '" +
              nueva + "', 0, 100.25)");
  saldosIgualanAsientos(*cn);
  cn->execute(
      "UPDATE MV_ASIENTOS SET CUENTA = '1.1.02.002', Haber = 50 WHERE NroAsiento = 9001 AND Renglon = 2");
  saldosIgualanAsientos(*cn);
  cn->execute("DELETE FROM MV_ASIENTOS WHERE NroAsiento = 9001");
  saldosIgualanAsientos(*cn);
  // Switched off, as the recoder does around its batch: nothing moves.
  const QVariant antes = escalar(*cn, "SELECT SUM(Debe) FROM MV_SALDOS");
  cn->execute("alter table mv_asientos disable trigger all ");
  cn->execute("INSERT INTO MV_ASIENTOS (NroAsiento, Renglon, Fecha, CUENTA, Debe, Haber) VALUES "
              "(9002, 1, '2024-12-31 00:00:00', '1.1.01.001', 10, 0)");
  EXPECT_NEAR(escalar(*cn, "SELECT SUM(Debe) FROM MV_SALDOS").toDouble(), antes.toDouble(), 0.005);
  cn->execute(" alter table mv_asientos enable trigger all ");
  cn->execute("DELETE FROM MV_ASIENTOS WHERE NroAsiento = 9002");
  EXPECT_NEAR(escalar(*cn, "SELECT SUM(Debe) FROM MV_SALDOS").toDouble(), antes.toDouble() - 10, 0.005);
}

TEST_F(DemoTest, IndicesEnLasColumnasQueApuntanACuentas) {
  const Salida s = sqlite3(demo_->archivoEmpresa(),
                           "SELECT m.name, ii.name FROM sqlite_master m, pragma_index_list(m.name) il, "
                           "pragma_index_info(il.name) ii WHERE m.type = 'table' AND ii.seqno = 0");
  ASSERT_EQ(s.estado, 0) << s.err.toStdString();
  QSet<QString> indexadas;
  for (const QString &l : s.out.split('\n', Qt::SkipEmptyParts))
    indexadas.insert(l.trimmed().toUpper());
  for (const catalogo::PasoTabla &p : catalogo::kPasos)
    EXPECT_TRUE(indexadas.contains(
        (catalogo::sinCorchetes(p.tabla) + "|" + catalogo::sinCorchetes(p.columna)).toUpper()))
        << p.tabla << "." << p.columna;
}

TEST_F(DemoTest, ElShellDeSqliteLeeLaBase) {
  const Salida integridad = sqlite3(demo_->archivoEmpresa(), "PRAGMA integrity_check");
  ASSERT_EQ(integridad.estado, 0) << integridad.err.toStdString();
  EXPECT_EQ(integridad.out.trimmed(), "ok");
  const Salida cuentas = sqlite3(demo_->archivoEmpresa(),
                                 "SELECT COUNT(*) FROM MA_CUENTAS; SELECT Descripcion FROM MA_CUENTAS "
                                 "WHERE CODIGO = '1.1.01.005'; SELECT COUNT(*) > 0 FROM SS_MV_ASIENTOS;");
  ASSERT_EQ(cuentas.estado, 0) << cuentas.err.toStdString();
  const QStringList l = cuentas.out.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(l.size(), 3);
  EXPECT_EQ(l[0].toInt(), CrearDemo::codigosPlan().size());
  EXPECT_EQ(l[1], "Banco Nación cuenta corriente");
  EXPECT_EQ(l[2], "1");
  // Codes compare as the server does: without regard to case.
  const Salida mayusculas =
      sqlite3(demo_->archivoEmpresa(), "SELECT COUNT(*) FROM TA_USUARIOS WHERE NOMBRE = 'admin'");
  EXPECT_EQ(mayusculas.out.trimmed(), "1");
}

TEST_F(DemoTest, BaseDeEstadisticasConSuTablaDeConfiguracion) {
  auto cn = demo_->abrir(CrearDemo::BaseEstadisticas);
  const auto columnas = columnasDe(*cn);
  ASSERT_TRUE(columnas.contains("TA_CONFIGURACION"));
  for (const char *c : {"GRUPO", "CLAVE", "VALOR", "VALORAUX", "POLITICANEGOCIO"})
    EXPECT_TRUE(columnas["TA_CONFIGURACION"].contains(c)) << c;
  // The start-up finds no "TimeOut" and writes it itself.
  EXPECT_EQ(escalar(*cn, "SELECT COUNT(*) FROM TA_CONFIGURACION WHERE CLAVE = 'TimeOut'").toInt(), 0);
  cn->execute("INSERT INTO TA_CONFIGURACION (Grupo, Clave, Valor, PoliticaNegocio) VALUES ('BaseDeDatos', "
              "'TIMEOUT', '0', 0)");
  EXPECT_EQ(escalar(*cn, "SELECT Valor FROM TA_CONFIGURACION WHERE CLAVE = 'TimeOut'").toString(), "0");
  cn->execute("DELETE TA_CONFIGURACION WHERE CLAVE = 'TimeOut'");
}

TEST(DemoGenerador, MismaCantidadMismosAsientos) {
  const auto a = CrearDemo::generarAsientos(999);
  const auto b = CrearDemo::generarAsientos(999);
  ASSERT_EQ(a.size(), 999);
  ASSERT_EQ(b.size(), 999);
  for (int i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i].cuenta, b[i].cuenta);
    EXPECT_EQ(a[i].debeCentavos, b[i].debeCentavos);
    EXPECT_EQ(a[i].haberCentavos, b[i].haberCentavos);
    EXPECT_EQ(a[i].fecha, b[i].fecha);
  }
}

TEST(DemoGenerador, CantidadesPequenasYBalance) {
  for (int n : {0, 1, 2, 3, 4, 7, 500}) {
    const auto r = CrearDemo::generarAsientos(n);
    ASSERT_EQ(r.size(), n);
    QMap<int, qint64> neto;
    for (const auto &a : r) {
      neto[a.nroAsiento] += a.debeCentavos - a.haberCentavos;
      EXPECT_TRUE(CrearDemo::codigosImputables().contains(a.cuenta)) << a.cuenta.toStdString();
      EXPECT_TRUE(a.debeCentavos == 0 || a.haberCentavos == 0);
      EXPECT_GT(a.debeCentavos + a.haberCentavos, 0);
    }
    if (n >= 2) {
      for (auto it = neto.begin(); it != neto.end(); ++it)
        EXPECT_EQ(*it, 0) << "n=" << n << " asiento " << it.key();
    }
  }
}

TEST(DemoGenerador, RepartidosEnLasCuentasYEnElAnio) {
  const auto r = CrearDemo::generarAsientos(2000);
  QSet<QString> usadas;
  QString primera = r.first().fecha, ultima = r.first().fecha;
  for (const auto &a : r) {
    usadas.insert(a.cuenta);
    primera = std::min(primera, a.fecha);
    ultima = std::max(ultima, a.fecha);
  }
  EXPECT_GE(usadas.size(), CrearDemo::codigosImputables().size() * 9 / 10);
  EXPECT_TRUE(primera.startsWith("2024-01"));
  EXPECT_TRUE(ultima.startsWith("2024-12"));
}

TEST(DemoCreacion, DosDemosIgualesConLaMismaCantidad) {
  DemoTemporal a(120), b(120);
  ASSERT_TRUE(a.valida() && b.valida());
  auto ca = a.abrir(), cb = b.abrir();
  const QString sql = "SELECT NroAsiento, Renglon, CUENTA, CABCUENTA, Debe, Haber, Fecha FROM MV_ASIENTOS "
                      "ORDER BY ID";
  auto ra = consulta(*ca, sql), rb = consulta(*cb, sql);
  ASSERT_TRUE(ra && rb);
  ASSERT_EQ(ra->rows.size(), 120);
  EXPECT_EQ(ra->rows, rb->rows);
}

TEST(DemoCreacion, SinAsientos) {
  DemoTemporal demo(0);
  ASSERT_TRUE(demo.valida());
  auto cn = demo.abrir();
  EXPECT_EQ(escalar(*cn, "SELECT COUNT(*) FROM MV_ASIENTOS").toInt(), 0);
  EXPECT_EQ(escalar(*cn, "SELECT COUNT(*) FROM MV_SALDOS").toInt(), 0);
  EXPECT_GT(escalar(*cn, "SELECT COUNT(*) FROM MA_CUENTAS").toInt(), 0);
}

TEST(DemoCreacion, NoSobrescribeYDejaLosArchivosComoEstaban) {
  DemoTemporal demo(30);
  ASSERT_TRUE(demo.valida());
  const QByteArray empresa = huella(demo.archivoEmpresa());
  const QByteArray estadisticas = huella(demo.archivoEstadisticas());
  const QDateTime fecha = QFileInfo(demo.archivoEmpresa()).lastModified();
  try {
    CrearDemo(demo.carpeta(), 30).crear();
    FAIL() << "creó sobre una demo existente";
  } catch (const AppError &e) {
    EXPECT_EQ(e.number(), errdemo::ArchivoExistente);
    EXPECT_TRUE(e.description().contains(demo.archivoEmpresa())) << e.description().toStdString();
    EXPECT_TRUE(e.description().contains("no se sobrescribe")) << e.description().toStdString();
  }
  EXPECT_EQ(huella(demo.archivoEmpresa()), empresa);
  EXPECT_EQ(huella(demo.archivoEstadisticas()), estadisticas);
  EXPECT_EQ(QFileInfo(demo.archivoEmpresa()).lastModified(), fecha);
}

TEST(DemoCreacion, UnSoloArchivoPresenteBastaParaNoEscribirNada) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  struct Caso {
    QString existente, ausente;
  };
  const QString empresa = CrearDemo::archivo(dir.path(), CrearDemo::BaseEmpresa);
  const QString estadisticas = CrearDemo::archivo(dir.path(), CrearDemo::BaseEstadisticas);
  for (const Caso &c : {Caso{empresa, estadisticas}, Caso{estadisticas, empresa}}) {
    {
      QFile f(c.existente);
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write("datos del usuario");
    }
    try {
      CrearDemo(dir.path(), 10).crear();
      ADD_FAILURE() << "no rechazó";
    } catch (const AppError &e) {
      EXPECT_EQ(e.number(), errdemo::ArchivoExistente);
      EXPECT_TRUE(e.description().contains(c.existente));
    }
    EXPECT_FALSE(QFileInfo::exists(c.ausente)) << c.ausente.toStdString();
    QFile f(c.existente);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "datos del usuario");
    f.close();
    QFile::remove(c.existente);
  }
}

TEST(DemoCreacion, CreaLaCarpetaQueFalta) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString carpeta = dir.filePath("a/b/datos");
  const auto r = CrearDemo(carpeta, 10).crear();
  EXPECT_TRUE(QFileInfo::exists(CrearDemo::archivo(carpeta, CrearDemo::BaseEmpresa)));
  EXPECT_TRUE(QFileInfo::exists(CrearDemo::archivo(carpeta, CrearDemo::BaseEstadisticas)));
  EXPECT_EQ(r.renglones, 10);
  EXPECT_EQ(r.cuentas, CrearDemo::codigosPlan().size());
}

TEST(DemoCreacion, CarpetaQueEsUnArchivoOCantidadNegativa) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString archivo = dir.filePath("no_es_carpeta");
  {
    QFile f(archivo);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  try {
    CrearDemo(archivo, 10).crear();
    ADD_FAILURE() << "aceptó un archivo como carpeta";
  } catch (const AppError &e) {
    EXPECT_EQ(e.number(), errdemo::CarpetaInvalida);
  }
  try {
    CrearDemo(dir.filePath("otra"), -1).crear();
    ADD_FAILURE() << "aceptó una cantidad negativa";
  } catch (const AppError &e) {
    EXPECT_EQ(e.number(), errdemo::CantidadInvalida);
  }
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("otra")));
}

TEST(DemoCreacion, UnaFallaAMitadNoDejaMediaDemo) {
  // The statistics file cannot get its write-ahead log (a folder holds the
  // name), so the second database fails after the first one was made.
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString estadisticas = CrearDemo::archivo(dir.path(), CrearDemo::BaseEstadisticas);
  for (const char *s : {"-wal", "-journal", "-shm"})
    ASSERT_TRUE(QDir().mkpath(estadisticas + s));
  EXPECT_THROW(CrearDemo(dir.path(), 10).crear(), AppError);
  EXPECT_FALSE(QFileInfo::exists(CrearDemo::archivo(dir.path(), CrearDemo::BaseEmpresa)));
  EXPECT_FALSE(QFileInfo::exists(estadisticas));
  EXPECT_FALSE(QFileInfo::exists(CrearDemo::archivo(dir.path(), CrearDemo::BaseEmpresa) + "-wal"));
}

} // namespace
