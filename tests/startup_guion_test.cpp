#include "startup_entorno.h"

using namespace zv;

namespace {

class Guion : public ::testing::Test {
protected:
  test::EntornoDemo e;
  bool fallo = true;
  long nativo = -1;
  QString enviado = "sin enviar", textoError;

  void SetUp() override {
    ASSERT_TRUE(e.valido());
    e.abrirPrincipal();
    e.g->gUsuarioLogeado() = "ADMIN";
    e.ejecutar("CREATE TABLE PRUEBA (Clave varchar(10) NOT NULL, Valor int NULL, "
               "CONSTRAINT PK_PRUEBA PRIMARY KEY (Clave))");
    e.ejecutar("INSERT INTO PRUEBA (Clave, Valor) VALUES ('A', 1)");
  }
  void correr(const QStringList &guion, bool duplicado = false, bool conflicto = false, bool mostrar = true) {
    e.g->GActualizarDatoScript(guion, fallo, nativo, duplicado, conflicto, enviado, textoError, mostrar);
  }
  long filasAuxErr() const { return e.escalar("SELECT COUNT(*) FROM AUX_ERR").toLongLong(); }
  long filasPrueba() const { return e.escalar("SELECT COUNT(*) FROM PRUEBA").toLongLong(); }
};

TEST_F(Guion, SoloEntradasEnBlancoNoEnviaNada) {
  correr({"", "   ", ""});
  EXPECT_FALSE(fallo);
  EXPECT_EQ(enviado, "sin enviar");
  EXPECT_EQ(filasAuxErr(), 0);
}

TEST_F(Guion, SinErroresConfirma) {
  correr({"", "INSERT INTO PRUEBA (Clave, Valor) VALUES ('B', 2)", "",
          "UPDATE PRUEBA SET Valor = 9 WHERE Clave = 'A'"});
  EXPECT_FALSE(fallo);
  EXPECT_EQ(nativo, 0);
  EXPECT_EQ(enviado, "BEGIN TRANSACTION \r\r\rINSERT INTO PRUEBA (Clave, Valor) VALUES ('B', 2)\r"
                     "UPDATE PRUEBA SET Valor = 9 WHERE Clave = 'A'\r");
  EXPECT_EQ(filasPrueba(), 2);
  EXPECT_EQ(e.escalar("SELECT Valor FROM PRUEBA WHERE Clave = 'A'").toInt(), 9);
  EXPECT_EQ(filasAuxErr(), 0);
  EXPECT_EQ(e.entorno->principal().Cnn().errors().count(), 0);
}

TEST_F(Guion, DuplicadoDeshaceRegistraYMuestraSoloElPrimerError) {
  // The server reports the duplicate and then its closing notice: only the
  // first is listed.
  const QString insertar = "INSERT INTO PRUEBA (Clave, Valor) VALUES ('C', 3)";
  const QString duplicar = "INSERT INTO PRUEBA (Clave, Valor) VALUES ('A', 5)";
  // The exact server text comes from the engine; learn it from the list.
  auto cn = e.directa();
  QString descripcion;
  try {
    cn->execute(duplicar);
  } catch (const AppError &) {
  }
  ASSERT_GE(cn->errors().count(), 2);
  EXPECT_EQ(cn->errors().item(0).nativeError, 2627);
  descripcion = cn->errors().item(0).description;
  const QString mensaje = "2627 : " + descripcion + "\r\n";
  e.ui.expectMsg(mensaje, vb::OKOnly + vb::Critical, "Aviso al Operador!", vb::OK);
  correr({"", insertar, duplicar});
  EXPECT_TRUE(fallo);
  EXPECT_EQ(nativo, 2627);
  EXPECT_EQ(textoError, mensaje);
  EXPECT_EQ(filasPrueba(), 1); // the first insert was rolled back
  EXPECT_EQ(e.entorno->principal().Cnn().errors().count(), 0);
  ASSERT_EQ(filasAuxErr(), 1);
  auto r = e.directa()->execute("SELECT Proceso, Fecha, Error, Descripcion, sql, PC, Usuario FROM AUX_ERR");
  ASSERT_TRUE(r && r->rows.size() == 1);
  const auto &f = r->rows[0];
  EXPECT_EQ(f[0].toString(), "recodificador");
  EXPECT_EQ(f[1].toString(), "21/03/24 10:15");
  EXPECT_EQ(f[2].toInt(), 2627);
  EXPECT_EQ(f[3].toString(), mensaje);
  EXPECT_EQ(f[4].toString(), enviado);
  EXPECT_EQ(f[5].toString(), "EQUIPO1");
  EXPECT_EQ(f[6].toString(), "ADMIN");
}

TEST_F(Guion, DuplicadoComoAvisoNoMuestraYDevuelveLaDescripcion) {
  correr({"INSERT INTO PRUEBA (Clave, Valor) VALUES ('A', 5)"}, true);
  EXPECT_TRUE(fallo);
  EXPECT_EQ(nativo, 2627);
  EXPECT_TRUE(textoError.contains("duplicate key")) << textoError.toStdString();
  EXPECT_FALSE(textoError.startsWith("2627 : "));
  ASSERT_EQ(filasAuxErr(), 1);
  EXPECT_EQ(e.escalar("SELECT Descripcion FROM AUX_ERR").toString(), "");
}

TEST_F(Guion, ConflictoComoAvisoSoloPara547) {
  e.ejecutar("CREATE TABLE HIJA (Id int NOT NULL, Clave varchar(10) NULL, "
             "CONSTRAINT FK_HIJA FOREIGN KEY (Clave) REFERENCES PRUEBA (Clave))");
  // A duplicate with only the conflict option is shown as usual...
  bool mostrado = false;
  e.ui.onMessage = [&](const QString &t, const QString &) { mostrado = t.startsWith("2627 : "); };
  QString visto;
  {
    auto cn = e.directa();
    try {
      cn->execute("INSERT INTO PRUEBA (Clave, Valor) VALUES ('A', 5)");
    } catch (const AppError &) {
    }
    visto = "2627 : " + cn->errors().item(0).description + "\r\n";
  }
  e.ui.expectMsg(visto, 16, "Aviso al Operador!", vb::OK);
  correr({"INSERT INTO PRUEBA (Clave, Valor) VALUES ('A', 5)"}, false, true);
  EXPECT_TRUE(mostrado);
  // ... and a conflict is handed back quietly.
  correr({"INSERT INTO HIJA (Id, Clave) VALUES (1, 'NO')"}, false, true);
  EXPECT_TRUE(fallo);
  EXPECT_EQ(nativo, 547);
  EXPECT_FALSE(textoError.isEmpty());
  EXPECT_EQ(e.escalar("SELECT COUNT(*) FROM HIJA").toInt(), 0);
  EXPECT_EQ(filasAuxErr(), 2);
}

TEST_F(Guion, FallaSinMostrarSeDeshaceYRegistra) {
  correr({"INSERT INTO PRUEBA (Clave, Valor) VALUES ('D', 4)", "INSERT INTO NO_EXISTE (X) VALUES (1)"}, false,
         false, false);
  EXPECT_TRUE(fallo);
  EXPECT_NE(nativo, 0);
  EXPECT_TRUE(textoError.startsWith(QString::number(nativo) + " : ")) << textoError.toStdString();
  EXPECT_TRUE(textoError.endsWith("\r\n"));
  EXPECT_EQ(filasPrueba(), 1);
  EXPECT_EQ(filasAuxErr(), 1);
}

TEST_F(Guion, RegistraErrorSQLRecortaLaDescripcion) {
  e.g->RegistraErrorSQL("SELECT 1", 50000, QString(300, 'x'));
  auto r = e.directa()->execute("SELECT Error, Descripcion, sql FROM AUX_ERR");
  ASSERT_TRUE(r && r->rows.size() == 1);
  EXPECT_EQ(r->rows[0][0].toInt(), 50000);
  EXPECT_EQ(r->rows[0][1].toString(), QString(250, 'x'));
  EXPECT_EQ(r->rows[0][2].toString(), "SELECT 1");
}

} // namespace
