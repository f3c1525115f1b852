#include "startup/ModuloGlobal.h"
#include "support/FakeSistema.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

using namespace zv;
using zv::startup::ListaCampos;
using zv::startup::ModuloGlobal;
using zv::startup::ParCampo;

namespace {

class Sentencias : public ::testing::Test {
protected:
  test::ScriptedUi ui;
  test::FakeSistema sistema;
  db::EntornoDB entorno{ui, sistema, ado::ConnectionFactory{}};
  ModuloGlobal g{entorno};

  void agrega(const QString &campo, QString valor, const QString &tipo = "'", bool nuevo = false) {
    g.AgregaCampo(campo, valor, tipo, nuevo);
  }
};

TEST_F(Sentencias, InsertDelEjemplo) {
  agrega("Maquina", "PC01", "'", true);
  agrega("Usuario", "ANA");
  QStringList guion{QString()};
  QString condicion;
  g.ArmaSentencia(g.Campos, guion, "Control_Acceso", false, condicion, false);
  EXPECT_EQ(guion,
            (QStringList{"", "INSERT INTO Control_Acceso (Maquina,Usuario) VALUES ('PC01','ANA')", ""}));
  // Not kept: one empty pair is left.
  EXPECT_EQ(g.Campos, (ListaCampos{ParCampo{}}));
}

TEST_F(Sentencias, ValoresDeAgregaCampo) {
  struct Caso {
    const char *valor;
    const char *tipo;
    const char *literal;
  };
  for (const Caso c : {Caso{"null", "'", "Null"}, Caso{"NuLl", "@", "Null"}, Caso{"O'Brien", "'", "'OBrien'"},
                       Caso{"12", "@", "12"}, Caso{"1234.5", "@", "1234.5"}, Caso{"abc", "", "abc"},
                       Caso{"''", "'", "''"}}) {
    agrega("C", c.valor, c.tipo, true);
    ASSERT_EQ(g.Campos.size(), 1);
    EXPECT_EQ(g.Campos[0].Campo, "C");
    EXPECT_EQ(g.Campos[0].Valor, QString::fromUtf8(c.literal)) << c.valor << " " << c.tipo;
  }
}

TEST_F(Sentencias, ElApostrofeSeQuitaTambienDelLlamador) {
  QString valor = "O'Bri'en";
  g.AgregaCampo("Nombre", valor, "'", true);
  EXPECT_EQ(valor, "OBrien");
}

TEST_F(Sentencias, AgregaSinNuevoTrasLimpiarDejaElParVacioPrimero) {
  agrega("A", "1", "@", true);
  QStringList guion{QString()};
  QString condicion;
  g.ArmaSentencia(g.Campos, guion, "T", false, condicion, false);
  agrega("B", "2", "@");
  ASSERT_EQ(g.Campos.size(), 2);
  EXPECT_EQ(g.Campos[0], ParCampo{});
  EXPECT_EQ(g.Campos[1], (ParCampo{"B", "2"}));
}

TEST_F(Sentencias, UpdateYSuCondicion) {
  struct Caso {
    const char *condicion;
    const char *sentencia;
    const char *condicionDespues;
  };
  for (const Caso c :
       {Caso{"ID = 5", "UPDATE T SET A = 'x',B = Null  WHERE ID = 5", " WHERE ID = 5"},
        Caso{" where ID = 5", "UPDATE T SET A = 'x',B = Null  where ID = 5", " where ID = 5"},
        Caso{"X=1 AND NOWHEREX=2", "UPDATE T SET A = 'x',B = Null X=1 AND NOWHEREX=2", "X=1 AND NOWHEREX=2"},
        Caso{"", "UPDATE T SET A = 'x',B = Null  WHERE ", " WHERE "}}) {
    agrega("A", "x", "'", true);
    agrega("B", "NULL");
    QStringList guion{QString()};
    QString condicion = c.condicion;
    g.ArmaSentencia(g.Campos, guion, "T", true, condicion, true);
    EXPECT_EQ(guion.value(1), QString::fromUtf8(c.sentencia)) << c.condicion;
    EXPECT_EQ(condicion, QString::fromUtf8(c.condicionDespues));
    EXPECT_EQ(g.Campos.size(), 2); // kept
  }
}

TEST_F(Sentencias, VariasSentenciasEnElGuion) {
  QStringList guion{QString()};
  QString condicion;
  agrega("A", "1", "@", true);
  g.ArmaSentencia(g.Campos, guion, "T1", false, condicion, true);
  g.ArmaSentencia(g.Campos, guion, "T2", false, condicion, false);
  EXPECT_EQ(guion,
            (QStringList{"", "INSERT INTO T1 (A) VALUES (1)", "", "INSERT INTO T2 (A) VALUES (1)", ""}));
}

TEST_F(Sentencias, ArmaInsertAgregaAlTextoYVaciaLaLista) {
  agrega("A", "uno", "'", true);
  agrega("B", "2", "@");
  QString texto = " INSERT INTO X ";
  ListaCampos lista = g.Campos;
  g.ArmaInsert(texto, lista, false);
  EXPECT_EQ(texto, " INSERT INTO X (A,B) VALUES ('uno',2)");
  EXPECT_EQ(lista.size(), 2);
  texto = "";
  g.ArmaInsert(texto, lista, true);
  EXPECT_EQ(texto, "(A,B) VALUES ('uno',2)");
  EXPECT_TRUE(lista.isEmpty());
}

TEST(Comillas, DoblaCadaApostrofe) {
  EXPECT_EQ(ModuloGlobal::Comillas("O'Bri'en"), "O''Bri''en");
  EXPECT_EQ(ModuloGlobal::Comillas("ANA"), "ANA");
  EXPECT_EQ(ModuloGlobal::Comillas("'"), "''");
}

TEST(FormatoFecha, DosCifras) {
  const QDateTime d(QDate(2024, 3, 1), QTime(8, 5, 59));
  EXPECT_EQ(ModuloGlobal::FormatoFechaHora(d), "01/03/24 08:05");
  EXPECT_EQ(ModuloGlobal::FormatoFecha(d), "01/03/24");
  EXPECT_EQ(ModuloGlobal::FormatoHora(QDateTime(QDate(2024, 3, 1), QTime(18, 2))), "18:02");
}

} // namespace
