// The column list read from the schema catalogue.
#include "app/LoteRecodificacion.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zv;
using namespace zv::app;

namespace {

// A connection that only answers the column catalogue: it records the
// restrictions asked for and fails the first `fallas` calls.
class CatalogoFalso : public ado::Connection {
public:
  ado::ResultSet columnas;
  QVariantList restricciones;
  int schemaPedido = -1;
  int fallas = 0;
  int llamadas = 0;

  void agregar(const QString &nombre, int tipo) {
    columnas.rows.push_back({"DEMO", "dbo", "MA_CUENTAS", nombre, int(columnas.rows.size() + 1), tipo});
  }
  CatalogoFalso() {
    for (const char *c :
         {"TABLE_CATALOG", "TABLE_SCHEMA", "TABLE_NAME", "COLUMN_NAME", "ORDINAL_POSITION", "DATA_TYPE"})
      columnas.columns.push_back(ado::Column{c, ado::adVarChar, 0, {}, false});
  }

  std::unique_ptr<ado::ResultSet> openSchema(int schema, const QVariantList &r) override {
    ++llamadas;
    schemaPedido = schema;
    restricciones = r;
    if (fallas > 0) {
      --fallas;
      throw AppError(err::Unspecified, "catalogo caido", "Proveedor");
    }
    return std::make_unique<ado::ResultSet>(columnas);
  }

  void open(const QString &, const QString &, const QString &, long) override {}
  void close() override {}
  int state() const override { return ado::adStateOpen; }
  QString connectionString() const override { return {}; }
  void setDefaultDatabase(const QString &) override {}
  QString defaultDatabase() const override { return "DEMO"; }
  void setCommandTimeout(int) override {}
  int commandTimeout() const override { return 30; }
  void setIsolationLevel(long) override {}
  long isolationLevel() const override { return ado::adIsolationReadCommitted; }
  void setCursorLocation(int) override {}
  int cursorLocation() const override { return ado::adUseServer; }
  std::unique_ptr<ado::ResultSet> execute(const QString &, long *, long) override {
    ADD_FAILURE() << "no statement expected";
    return nullptr;
  }
  int beginTrans() override { return 1; }
  void commitTrans() override {}
  void rollbackTrans() override {}
  ado::ErrorList &errors() override { return errores_; }

private:
  ado::ErrorList errores_;
};

struct Informe {
  explicit Informe(std::vector<int> r = {}) : respuestas(std::move(r)) {}
  std::vector<int> respuestas;
  std::vector<QString> rutinas;
  InformeRutina funcion() {
    return [this](const AppError &, const QString &rutina) {
      rutinas.push_back(rutina);
      const int r = respuestas.empty() ? 3 : respuestas.front();
      if (!respuestas.empty())
        respuestas.erase(respuestas.begin());
      return r;
    };
  }
};

TEST(VerificaCampos, ListaEnOrdenDelCatalogoSinLasExcluidas) {
  CatalogoFalso cnn;
  cnn.agregar("ID", ado::adInteger);
  cnn.agregar("codigo", ado::adVarChar); // compared without regard to case
  cnn.agregar("Descripcion", ado::adVarChar);
  cnn.agregar("Imputable", ado::adBoolean);
  cnn.agregar("Nivel", ado::adInteger);
  Informe informe;
  QString tipos = "basura";
  const QString lista =
      VerificaCampos(cnn, "DEMO", "MA_CUENTAS", "CODIGO", "", "ID", false, tipos, informe.funcion());
  EXPECT_EQ(lista.toStdString(), "Descripcion,Imputable,Nivel");
  EXPECT_EQ(tipos.toStdString(), "200,11,3");
  EXPECT_TRUE(informe.rutinas.empty());

  EXPECT_EQ(cnn.schemaPedido, ado::adSchemaColumns);
  ASSERT_EQ(cnn.restricciones.size(), 4);
  EXPECT_EQ(cnn.restricciones[0].toString().toStdString(), "DEMO");
  EXPECT_TRUE(cnn.restricciones[1].isNull());
  EXPECT_EQ(cnn.restricciones[2].toString().toStdString(), "MA_CUENTAS");
  EXPECT_TRUE(cnn.restricciones[3].isNull());
}

TEST(VerificaCampos, ConCorchetes) {
  CatalogoFalso cnn;
  cnn.agregar("CODIGO", ado::adVarChar);
  cnn.agregar("Cuenta Padre", ado::adVarChar);
  cnn.agregar("Nivel", ado::adInteger);
  QString tipos;
  EXPECT_EQ(VerificaCampos(cnn, "DEMO", "MA_CUENTAS", "CODIGO", "", "ID", true, tipos, {}).toStdString(),
            "[Cuenta Padre],[Nivel]");
  EXPECT_EQ(tipos.toStdString(), "200,3");
}

TEST(VerificaCampos, TablaSinColumnasDaTextoVacio) {
  CatalogoFalso cnn;
  QString tipos = "x";
  EXPECT_TRUE(VerificaCampos(cnn, "DEMO", "NO_EXISTE", "", "", "", false, tipos, {}).isEmpty());
  EXPECT_TRUE(tipos.isEmpty());
}

TEST(VerificaCampos, FallaDelCatalogoSeInformaYReintentar) {
  CatalogoFalso cnn;
  cnn.agregar("CODIGO", ado::adVarChar);
  cnn.agregar("Nivel", ado::adInteger);
  cnn.fallas = 1;
  Informe informe({4});
  QString tipos;
  EXPECT_EQ(VerificaCampos(cnn, "DEMO", "MA_CUENTAS", "CODIGO", "", "ID", false, tipos, informe.funcion())
                .toStdString(),
            "Nivel");
  EXPECT_EQ(cnn.llamadas, 2);
  ASSERT_EQ(informe.rutinas.size(), 1u);
  EXPECT_EQ(informe.rutinas[0].toStdString(), "VerificaCampos");
}

TEST(VerificaCampos, AbandonarDevuelveLoConstruido) {
  CatalogoFalso cnn;
  cnn.agregar("CODIGO", ado::adVarChar);
  cnn.fallas = 1;
  Informe informe({3});
  QString tipos;
  EXPECT_TRUE(VerificaCampos(cnn, "DEMO", "MA_CUENTAS", "CODIGO", "", "ID", false, tipos, informe.funcion())
                  .isEmpty());
  EXPECT_EQ(cnn.llamadas, 1);
}

TEST(VerificaCampos, FilaSinColumnaSeInformaEIgnorarSigue) {
  CatalogoFalso cnn;
  cnn.agregar("Descripcion", ado::adVarChar);
  cnn.agregar("Nivel", ado::adInteger);
  // A catalogue without DATA_TYPE: each row's read fails after its name.
  cnn.columnas.columns.removeLast();
  for (auto &fila : cnn.columnas.rows)
    fila.removeLast();
  Informe informe({5, 5});
  QString tipos;
  const QString lista =
      VerificaCampos(cnn, "DEMO", "MA_CUENTAS", "CODIGO", "", "ID", false, tipos, informe.funcion());
  EXPECT_EQ(informe.rutinas.size(), 2u);
  EXPECT_TRUE(tipos.isEmpty());
  // Both rows were visited: the name went in before the failing read.
  EXPECT_EQ(lista.toStdString(), "Descripcion,Nivel");
}

} // namespace
