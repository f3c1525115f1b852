// The demo is there to be recoded: the batch the recoder sends for one pair,
// written out statement by statement from the catalogue, runs on it through the engine and
// leaves no trace of the old code, with the balances still agreeing with the
// journal.
#include "support/CatalogoRecodificacion.h"
#include "support/DemoTemporal.h"

#include <gtest/gtest.h>

#include <QMap>

using zv::demo::CrearDemo;
using zv::test::DemoTemporal;
namespace ado = zv::ado;
namespace catalogo = zv::test::catalogo;

namespace {

QString q(const char *s) { return QString::fromUtf8(s); }

QVariant escalar(ado::Connection &cn, const QString &sql) {
  auto r = cn.execute(sql);
  return r && !r->rows.isEmpty() ? r->rows.first().value(0) : QVariant();
}

bool existe(ado::Connection &cn, const QString &codigo) {
  return escalar(cn, "SELECT COUNT(*) FROM MA_CUENTAS WHERE CODIGO = '" + codigo + "'").toInt() > 0;
}

// The batch for one pair, as the recoder builds it.
QString lote(ado::Connection &cn, const QString &act, const QString &nvo, const QString &suc) {
  const bool existeNvo = existe(cn, nvo);
  QStringList columnas;
  auto esquema = cn.openSchema(ado::adSchemaColumns, {QVariant(), QVariant(), "MA_CUENTAS", QVariant()});
  const int c = esquema->columnIndex("COLUMN_NAME");
  for (const auto &f : esquema->rows) {
    const QString n = f.value(c).toString();
    if (n.compare("CODIGO", Qt::CaseInsensitive) != 0 && n.compare("ID", Qt::CaseInsensitive) != 0)
      columnas << n;
  }
  QString texto;
  for (const QString &x : catalogo::sentenciasPar(act, nvo, suc, existeNvo, columnas.join(',')))
    texto += "\r\n" + x;
  return texto;
}

int referencias(ado::Connection &cn, const QString &codigo) {
  int n = 0;
  for (const catalogo::PasoTabla &p : catalogo::kPasos)
    n += escalar(cn, QString("SELECT COUNT(*) FROM %1 WHERE %2 = '%3'").arg(q(p.tabla), q(p.columna), codigo))
             .toInt();
  return n;
}

void saldosIgualanAsientos(ado::Connection &cn) {
  auto a = cn.execute("SELECT CUENTA, SUM(Debe), SUM(Haber) FROM MV_ASIENTOS GROUP BY CUENTA");
  auto s = cn.execute("SELECT CUENTA, SUM(Debe), SUM(Haber) FROM MV_SALDOS GROUP BY CUENTA");
  ASSERT_TRUE(a && s);
  QMap<QString, std::pair<double, double>> saldos;
  for (const auto &f : s->rows)
    saldos[f[0].toString()] = {f[1].toDouble(), f[2].toDouble()};
  for (const auto &f : a->rows) {
    ASSERT_TRUE(saldos.contains(f[0].toString())) << f[0].toString().toStdString();
    EXPECT_NEAR(saldos[f[0].toString()].first, f[1].toDouble(), 0.005) << f[0].toString().toStdString();
    EXPECT_NEAR(saldos[f[0].toString()].second, f[2].toDouble(), 0.005) << f[0].toString().toStdString();
  }
}

class RecodificacionDemo : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(demo_.valida());
    cn_ = demo_.abrir();
  }
  DemoTemporal demo_{400};
  std::unique_ptr<ado::Connection> cn_;
};

TEST_F(RecodificacionDemo, CuentaNuevaSinSucursal) {
  const QString act = "1.1.01.001", nvo = "1.1.01.901";
  ASSERT_GT(referencias(*cn_, act), 10);
  const int lineas = escalar(*cn_, "SELECT COUNT(*) FROM MV_ASIENTOS WHERE CUENTA = '" + act + "'").toInt();
  const QString descripcion =
      escalar(*cn_, "SELECT Descripcion FROM MA_CUENTAS WHERE CODIGO = '" + act + "'").toString();
  const QString otraClave =
      escalar(*cn_, "SELECT VALOR FROM TA_CONFIGURACION WHERE CLAVE = 'CuentaResultadoEjercicio'").toString();

  cn_->execute(lote(*cn_, act, nvo, ""));

  EXPECT_FALSE(existe(*cn_, act));
  EXPECT_EQ(escalar(*cn_, "SELECT Descripcion FROM MA_CUENTAS WHERE CODIGO = '" + nvo + "'").toString(),
            descripcion);
  EXPECT_EQ(referencias(*cn_, act), 0);
  EXPECT_EQ(escalar(*cn_, "SELECT COUNT(*) FROM MV_ASIENTOS WHERE CUENTA = '" + nvo + "'").toInt(), lineas);
  EXPECT_EQ(escalar(*cn_, "SELECT VALOR FROM TA_CONFIGURACION WHERE CLAVE = 'CUENTA_CAJA'").toString(), nvo);
  EXPECT_EQ(escalar(*cn_, "SELECT COUNT(*) FROM MA_CUENTASADIC WHERE CODIGO = '" + nvo + "'").toInt(), 1);
  EXPECT_EQ(
      escalar(*cn_, "SELECT VALOR FROM TA_CONFIGURACION WHERE CLAVE = 'CuentaResultadoEjercicio'").toString(),
      otraClave);
  saldosIgualanAsientos(*cn_);
  // The triggers are back on.
  cn_->execute("INSERT INTO MV_ASIENTOS (NroAsiento, Renglon, Fecha, CUENTA, Debe, Haber) VALUES "
               "(9100, 1, '2024-12-31 00:00:00', '" +
               nvo + "', 5, 0)");
  saldosIgualanAsientos(*cn_);
}

TEST_F(RecodificacionDemo, ClienteConSucursalSeCopiaDesdeClientes) {
  const QString act = "1.1.03.102", nvo = "1.1.03.202", suc = "0002";
  ASSERT_EQ(escalar(*cn_, "SELECT COUNT(*) FROM VT_CLIENTES WHERE CODIGO = '" + act + "'").toInt(), 1);
  cn_->execute(lote(*cn_, act, nvo, suc));
  EXPECT_EQ(referencias(*cn_, act), 0);
  EXPECT_EQ(escalar(*cn_, "SELECT RAZON_SOCIAL FROM MA_CUENTASSUC WHERE CODIGO = '" + nvo +
                              "' AND Sucursal = '" + suc + "'")
                .toString(),
            "Distribuidora del Sur SA");
  EXPECT_EQ(escalar(*cn_, "SELECT COUNT(*) FROM MV_ASIENTOS WHERE CUENTA = '" + nvo +
                              "' AND (SucursalCuenta IS NULL OR SucursalCuenta <> '" + suc + "')")
                .toInt(),
            0);
  EXPECT_GT(escalar(*cn_, "SELECT COUNT(*) FROM V_MV_CPTE WHERE CUENTA = '" + nvo +
                              "' AND SucursalCuenta = '" + suc + "'")
                .toInt(),
            0);
  saldosIgualanAsientos(*cn_);
}

TEST_F(RecodificacionDemo, FusionEnUnaCuentaExistente) {
  const QString act = "1.1.01.002", nvo = "1.1.01.003";
  ASSERT_TRUE(existe(*cn_, nvo));
  const int lineas =
      escalar(*cn_, "SELECT COUNT(*) FROM MV_ASIENTOS WHERE CUENTA IN ('" + act + "', '" + nvo + "')")
          .toInt();
  const int cuentas = escalar(*cn_, "SELECT COUNT(*) FROM MA_CUENTAS").toInt();
  cn_->execute(lote(*cn_, act, nvo, ""));
  EXPECT_FALSE(existe(*cn_, act));
  EXPECT_EQ(escalar(*cn_, "SELECT COUNT(*) FROM MA_CUENTAS").toInt(), cuentas - 1);
  EXPECT_EQ(escalar(*cn_, "SELECT COUNT(*) FROM MV_ASIENTOS WHERE CUENTA = '" + nvo + "'").toInt(), lineas);
  saldosIgualanAsientos(*cn_);
}

} // namespace
