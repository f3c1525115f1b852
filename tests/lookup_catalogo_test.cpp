#include "lookup/CatalogoConsultas.h"
#include "lookup/Lib_ClsCons3.h"
#include "lookup/RegistroConsulta.h"
#include "platform/AppError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zv::lookup;

namespace {

QByteArray leer(const QString &ruta) {
  QFile f(ruta);
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << ruta.toStdString();
  return f.readAll();
}

QByteArray relleno(const QByteArray &texto, int largo) {
  return texto + QByteArray(largo - texto.size(), ' ');
}

class Catalogo : public ::testing::Test {
protected:
  QTemporaryDir dir;
  QString ruta() const { return dir.filePath("consultas.zvq"); }
  Lib_ClsCons3 motor{[](const QString &) { return QStringLiteral(" "); }};
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    motor.FijarMascaras("cadena", true, ruta());
  }
};

TEST_F(Catalogo, ArchivoNuevoDeOnceRegistros) {
  motor.GrabarCatalogo();
  const QByteArray bytes = leer(ruta());
  ASSERT_EQ(bytes.size(), 13222);
  // The MA_CUENTAS record, as its layout describes it, is the eighth.
  const QByteArray esperado = relleno("CUENTAS", 100) + relleno("MA_CUENTAS", 100) +
                              relleno("|DESCRIPCION|CODIGO|", 500) + QByteArray(500, ' ') + "\r\n";
  ASSERT_EQ(esperado.size(), 1202);
  EXPECT_EQ(bytes.mid(8414, 1202), esperado);
  EXPECT_EQ(bytes.mid(8514, 100), "MA_CUENTAS" + QByteArray(90, ' '));
  for (int n = 0; n < 11; ++n) {
    const QByteArray reg = bytes.mid(n * 1202, 1202);
    EXPECT_EQ(reg.mid(700, 500), QByteArray(500, ' ')) << "registro " << n + 1;
    EXPECT_EQ(reg.right(2), "\r\n") << "registro " << n + 1;
  }
}

TEST_F(Catalogo, TablasYCamposDeCadaRegistro) {
  GrabaMascarasConsultas(motor);
  const QByteArray bytes = leer(ruta());
  const char *tablas[] = {"V_MA_ARTICULOS",  "VT_CLIENTES",        "VT_PROVEEDORES",      "MA_CONTACTOS",
                          "V_TA_VENDEDORES", "V_TA_TECNICOS",      "V_MA_MANTENIMIENTOS", "MA_CUENTAS",
                          "V_TA_Tareas",     "V_TA_UnidadNegocio", "V_TA_DEPOSITO"};
  const char *nombres[] = {"ARTICULOS",  "CLIENTES",      "PROVEEDORES",    "CONTACTOS",
                           "VENDEDORES", "TECNICOS",      "MANTENIMIENTOS", "CUENTAS",
                           "TAREAS",     "UnidadNegocio", "DEPOSITO"};
  for (int n = 0; n < 11; ++n) {
    const RegistroConsulta r = RegistroConsulta::desdeBytes(bytes.mid(n * 1202, 1202));
    EXPECT_EQ(RegistroConsulta::Limpiar(r.Tabla), QString::fromLatin1(tablas[n]));
    EXPECT_EQ(RegistroConsulta::Limpiar(r.Nombre), QString::fromLatin1(nombres[n]));
  }
  // Record 9: its stored blanks do not stop a lookup written in another case.
  const RegistroConsulta tareas = RegistroConsulta::desdeBytes(bytes.mid(8 * 1202, 1202));
  EXPECT_EQ(RegistroConsulta::Limpiar(tareas.Tabla).compare("v_ta_tareas", Qt::CaseInsensitive), 0);
  EXPECT_EQ(tareas.Campos, relleno("|Descripcion|IdTarea|", 500));
  const RegistroConsulta contactos = RegistroConsulta::desdeBytes(bytes.mid(3 * 1202, 1202));
  EXPECT_EQ(contactos.Campos.trimmed(), "|Nombre_y_Apellido|Domicilio|Localidad|Telefono|");
}

TEST_F(Catalogo, SeAgregaTrasElUltimoRegistroCompleto) {
  // One complete record of other means and half of another: the catalogue
  // starts where the half record began.
  RegistroConsulta propio;
  propio.Nombre = "PROPIA";
  propio.Tabla = "MI_TABLA";
  propio.Campos = "|A|B|";
  QFile f(ruta());
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(propio.aBytes());
  f.write(QByteArray(600, 'x'));
  f.close();
  motor.GrabarCatalogo();
  const QByteArray bytes = leer(ruta());
  ASSERT_EQ(bytes.size(), 12 * 1202);
  EXPECT_EQ(bytes.left(1202), propio.aBytes());
  EXPECT_EQ(RegistroConsulta::Limpiar(RegistroConsulta::desdeBytes(bytes.mid(1202, 1202)).Tabla),
            "V_MA_ARTICULOS");
  EXPECT_FALSE(bytes.contains('x'));
}

TEST_F(Catalogo, CarpetaInexistenteEsUnaFalla) {
  motor.FijarMascaras({}, true, dir.filePath("no/existe/consultas.zvq"));
  try {
    motor.GrabarCatalogo();
    FAIL() << "se esperaba una falla";
  } catch (const zv::AppError &e) {
    EXPECT_EQ(e.number(), 75);
  }
}

TEST(RegistroConsulta, CortaRellenaYLeeEnAnsi) {
  RegistroConsulta r;
  r.Nombre = QString(150, 'n');
  r.Tabla = QString::fromUtf8("AÑO");
  r.Campos = "|A|";
  r.Condicion = "X = 1";
  const QByteArray b = r.aBytes();
  ASSERT_EQ(b.size(), 1202);
  EXPECT_EQ(b.left(100), QByteArray(100, 'n'));
  EXPECT_EQ(b.mid(100, 3), QByteArray("A\xD1O", 3)); // one byte per character
  EXPECT_EQ(b.mid(700, 5), "X = 1");
  const RegistroConsulta l = RegistroConsulta::desdeBytes(b);
  EXPECT_EQ(RegistroConsulta::Limpiar(l.Tabla), QString::fromUtf8("AÑO"));
  EXPECT_EQ(RegistroConsulta::Limpiar(l.Condicion), "X = 1");
}

TEST(RegistroConsulta, RellenoDeCerosYDe255NoEstorba) {
  QByteArray b(1202, '\0');
  b.replace(100, 10, "MA_CUENTAS");
  b[110] = char(0xFF);
  b[99] = char(0xFF);
  const RegistroConsulta r = RegistroConsulta::desdeBytes(b);
  EXPECT_EQ(RegistroConsulta::Limpiar(r.Tabla), "MA_CUENTAS");
  EXPECT_EQ(RegistroConsulta::Limpiar(r.Condicion), "");
  // A short buffer reads as blanks.
  EXPECT_EQ(RegistroConsulta::Limpiar(RegistroConsulta::desdeBytes(QByteArray("x", 1)).Nombre), "x");
}

TEST(Lib_ClsCons3, CreacionLeeLaConfiguracion) {
  QStringList leidas;
  QMap<QString, QString> cfg{{"MostrarStockenConsultas", "SI"},
                             {"Stk_Nivel1", "255"},
                             {"Stk_Nivel2", ""},
                             {"Stk_Nivel3", "65280"},
                             {"UsaConsultaLike", "si"}};
  Lib_ClsCons3 m([&](const QString &clave) {
    leidas << clave;
    return cfg.contains(clave) ? cfg.value(clave) : QStringLiteral(" ");
  });
  EXPECT_EQ(m.MuestraStock, "SI");
  EXPECT_EQ(m.StkNivel1.toString(), "255");
  EXPECT_EQ(m.StkNivel2, QVariant(0));
  EXPECT_EQ(m.StkNivel3.toString(), "65280");
  EXPECT_EQ(m.StkNivel4, QVariant(0)); // missing key, read as one blank
  EXPECT_TRUE(m.UsaConsultaLike());
  EXPECT_EQ(leidas, (QStringList{"MostrarStockenConsultas", "Stk_Nivel1", "Stk_Nivel2", "Stk_Nivel3",
                                 "Stk_Nivel4", "UsaConsultaLike"}));
  ASSERT_TRUE(m.CmpsDevueltos.has_value());
  EXPECT_TRUE(m.CmpsDevueltos->isEmpty());
  ASSERT_TRUE(m.Valores.has_value());
  EXPECT_FALSE(m.Cantidades.has_value());
  EXPECT_FALSE(m.Checks);
  EXPECT_FALSE(m.gUsarMascarasConsultas);
  EXPECT_FALSE(m.UsaCantidades);
  EXPECT_TRUE(m.gConnString.isEmpty() && m.gRutaMascaraConsultas.isEmpty() && m.CampoDevuelto.isEmpty());
  EXPECT_EQ(m.ValorDevuelto.toString(), "");
}

TEST(Lib_ClsCons3, LikeSoloConSi) {
  for (const char *valor : {" ", "NO", "SI ", "S"}) {
    Lib_ClsCons3 m([&](const QString &c) { return c == "UsaConsultaLike" ? QString(valor) : QString(); });
    EXPECT_FALSE(m.UsaConsultaLike()) << valor;
  }
}

} // namespace
