// The demo is there to be recoded: the batch the recoder sends for one pair,
// written out here statement by statement, runs on it through the engine and
// leaves no trace of the old code, with the balances still agreeing with the
// journal.
#include "support/DemoTemporal.h"

#include <gtest/gtest.h>

#include <QMap>

using zv::demo::CrearDemo;
using zv::test::DemoTemporal;
namespace ado = zv::ado;

namespace {

struct Paso {
  const char *tabla;
  const char *columna;
};

const Paso Pasos[] = {
    {"MA_CUENTASADIC", "CODIGO"},
    {"MA_CUENTASSUC", "CODIGO"},
    {"MA_CUENTASCCOSTO", "CODIGO"},
    {"MA_CUENTASSUC", "CODIGO"},
    {"MA_BIENES", "CUENTA_CONTABLE"},
    {"MA_BIENES", "CUENTA_EJERCICIO"},
    {"MA_BIENES", "CUENTA_ACUMULADA"},
    {"[MA_CASH-DETALLE]", "CUENTA"},
    {"MA_CASH_CTAS_PRINCIPALES", "CUENTA"},
    {"MA_ESTADISTICACTA", "CUENTA"},
    {"MA_MODELOS", "CUENTA"},
    {"MA_SUBDIARIOS", "CUENTA"},
    {"MA_SUBDIARIOS", "[CUENTA-DESDE]"},
    {"MA_SUBDIARIOS", "[CUENTA-HASTA]"},
    {"MV_APLICACION", "CUENTA"},
    {"MV_ASIENTOS", "CUENTA"},
    {"MV_ASIENTOS", "CABCUENTA"},
    {"MV_ASIENTOSCCOSTO", "CUENTA"},
    {"MV_CALCULO_BIENES", "CUENTA"},
    {"MV_SALDOS", "CUENTA"},
    {"TA_CUENTAS_COMPROBANTES", "CUENTA"},
    {"TA_CUENTAS_COMPROBANTES", "[CUENTA-DESDE]"},
    {"TA_CUENTAS_COMPROBANTES", "[CUENTA-HASTA]"},
    {"TA_CUENTASIVA", "CFI_IVARI"},
    {"TA_CUENTASIVA", "CFI_IVARI1"},
    {"TA_CUENTASIVA", "CFI_IVARI2"},
    {"TA_CUENTASIVA", "CFI_IVARI3"},
    {"TA_CUENTASIVA", "CFI_IVARI4"},
    {"TA_CUENTASIVA", "CFI_IVARI5"},
    {"TA_CUENTASIVA", "CFI_RETPERC"},
    {"TA_CUENTASIVA", "CFI_RETIGAN"},
    {"TA_CUENTASIVA", "CFI_RETIBTOS"},
    {"TA_CUENTASIVA", "DFI_IVARI"},
    {"TA_CUENTASIVA", "DFI_IVARNI"},
    {"TA_CUENTASIVA", "DFI_IVAREC"},
    {"TA_CUENTASIVA", "DFI_RETPERC"},
    {"TA_CUENTASIVA", "DFI_RETIBTOS"},
    {"TA_CUENTASIVA", "DFI_IVARM"},
    {"TA_CUENTASIVA", "DFI_IVACF"},
    {"TA_IMPORTACUENTAS", "CUENTA"},
    {"TA_RANGOS_DATOS_ADIC", "[CUENTA-DESDE]"},
    {"TA_RANGOS_DATOS_ADIC", "[CUENTA-HASTA]"},
    {"TA_TITCOPIADORES", "DESDE"},
    {"TA_TITCOPIADORES", "HASTA"},
    {"V_MA_ARTICULOS", "CUENTAPROVEEDOR"},
    {"V_MV_COMANDA", "CUENTA"},
    {"V_MV_CPTE", "CUENTA"},
    {"V_MV_CPTE", "CODIGOIMPUTACION"},
    {"V_MV_CpteEnComision", "CUENTA"},
    {"V_MV_CpteTerceros", "CUENTA"},
    {"v_mv_creales", "CUENTA"},
    {"V_MV_Diarios", "CUENTA"},
    {"V_MV_STOCK", "CUENTAPROVEEDOR"},
    {"V_TA_CTRL_CHEQUERAS", "CUENTABANCO"},
    {"V_TA_CTRL_CHEQUERAS", "CUENTABANCODIFERIDO"},
    {"V_TA_CuentasComision", "CUENTA"},
    {"V_TA_Input_Compras", "Repuestos"},
    {"V_TA_Input_Compras", "Servicios"},
    {"V_TA_Input_Compras", "Otros"},
    {"V_TA_Input_Ventas", "Repuestos"},
    {"V_TA_Input_Ventas", "Servicios"},
    {"V_TA_Input_Ventas", "Otros"},
    {"C_MV_Cpte", "CUENTA"},
    {"C_MV_Cpte", "CodigoImputacion"},
    {"C_MV_CPTE_OBSERV", "CUENTA"},
    {"C_MV_CpteInsumos", "CUENTA"},
    {"C_MV_CpteTareas", "CUENTA"},
    {"C_Proveedores_CCompra", "IDPROVEEDOR"},
    {"Control_MV_Calculo", "CUENTA"},
    {"EM_LibroRojo", "CUENTA"},
};

const char *const Claves[] = {
    "IVACFRESINS",
    "IVARETPER",
    "IVADFRESINS",
    "IVADFRESNOINS",
    "IVADFACREC",
    "IVADFCONSF",
    "IVADFMONO",
    "TituloClientes",
    "TituloProveedores",
    "TituloBancos",
    "tituloGastos",
    "tituloTarjetas",
    "tituloCaja",
    "tituloIngresos",
    "CtaGastosTarjeta",
    "TituloBancosDiferido",
    "TituloAnticipoClientes",
    "TituloAnticipoProveedores",
    "CUENTA_CAJA",
    "CUENTA_CHEQUES3ROS",
    "CuentaDesCuentosOtorgados",
    "CuentaPercepcionIVA",
    "CuentaPercepcionIB",
    "CuentaImpuestoInterno",
    "CuentaNetoGravado",
    "CuentaNetoNOGravado",
    "CuentaVentasDefaultIns",
    "CuentaVentasDefaultOtros",
    "CuentaVentasDefaultServ",
    "CuentaDesCuentosRecibidos",
    "CompraCuentaRedondeo",
    "CuentaConsunmidorFinal",
    "CuentaCtroDist",
};

const char *const CopiaSucursal[] = {
    "IF NOT EXISTS (SELECT * FROM MA_CUENTASSUC WHERE @C = '@ACT')",
    " INSERT INTO MA_CUENTASSUC",
    " (CODIGO,RAZON_SOCIAL,CONTACTO,CALLE,NUMERO,PISO,",
    " DEPARTAMENTO,CPOSTAL,LOCALIDAD,PROVINCIA,PAIS,",
    " TELEFONO,FAX,MAIL,",
    " DOCUMENTO_TIPO,NUMERO_DOCUMENTO,IVA,OBSERVACIONES,Limite_Credito,idCond_Cpra_Vta,IDCategoria,"
    "FechaHora_Grabacion,FechaHora_Modificacion,IdLista,",
    " Clase,IdVendedor,IdMotivoVta,IdMotivoCpra,ExentoIvaServicios,ExentoIvaArticulos,ExentoIVAOtros,"
    "Descuento,RETIVA_IdRetencion,RETIBR_IdRetencion,",
    " RETGAN_IdRetencion,LugarEntrega,CALLE_FIS,NUMERO_FIS,PISO_FIS,DEPARTAMENTO_FIS,CPOSTAL_FIS,"
    "LOCALIDAD_FIS,PROVINCIA_FIS,PAIS_FIS,TELEFONO_FIS,FAX_FIS,",
    " CodigoImputacion,Consignacion,ZONA,RETIVA_NROINS,RETIBR_NROINS,RETGAN_NROINS,Dada_De_Baja,"
    "CuentaPrincipal,Moneda,Clave,IdVendedor1,",
    " IdVendedor2,IdVendedor3,IdVendedor4,IdVendedor5,Limite_Credito1,Limite_Credito2,Limite_Credito3,"
    "Limite_Credito4,Limite_Credito5,DatosPago,WEB,",
    " FCC_Sin_OC,Dto1,Dto2,Dto3,OCCambiaCosto,idCond_Cpra_Vta_Vdor1,idCond_Cpra_Vta_Vdor2,"
    "idCond_Cpra_Vta_Vdor3,idCond_Cpra_Vta_Vdor4,",
    " idCond_Cpra_Vta_Vdor5 , EmiteSobresPorOP, Bloqueo, idDepositoEntregaOC, ProveedorLocal, "
    "ProveedorCompartido",
    " )",
    " SELECT",
    " CODIGO,RAZON_SOCIAL,CONTACTO,CALLE,NUMERO,PISO,",
    " DEPARTAMENTO,CPOSTAL,LOCALIDAD,PROVINCIA,PAIS,",
    " TELEFONO,FAX,MAIL,",
    " DOCUMENTO_TIPO,NUMERO_DOCUMENTO,IVA,OBSERVACIONES,Limite_Credito,idCond_Cpra_Vta,IDCategoria,"
    "FechaHora_Grabacion,FechaHora_Modificacion,IdLista,",
    " Clase,IdVendedor,IdMotivoVta,IdMotivoCpra,isnull(ExentoIvaServicios,0),isnull(ExentoIvaArticulos,0),"
    "isnull(ExentoIVAOtros,0),Descuento,RETIVA_IdRetencion,RETIBR_IdRetencion,",
    " RETGAN_IdRetencion,LugarEntrega,CALLE_FIS,NUMERO_FIS,PISO_FIS,DEPARTAMENTO_FIS,CPOSTAL_FIS,"
    "LOCALIDAD_FIS,PROVINCIA_FIS,PAIS_FIS,TELEFONO_FIS,FAX_FIS,",
    " CodigoImputacion,Consignacion,ZONA,RETIVA_NROINS,RETIBR_NROINS,RETGAN_NROINS,Dada_De_Baja,"
    "CuentaPrincipal,Moneda,Clave,IdVendedor1,",
    " IdVendedor2,IdVendedor3,IdVendedor4,IdVendedor5,Limite_Credito1,Limite_Credito2,Limite_Credito3,"
    "Limite_Credito4,Limite_Credito5,DatosPago,WEB,",
    " FCC_Sin_OC,Dto1,Dto2,Dto3,OCCambiaCosto,idCond_Cpra_Vta_Vdor1,idCond_Cpra_Vta_Vdor2,"
    "idCond_Cpra_Vta_Vdor3,idCond_Cpra_Vta_Vdor4,",
    " idCond_Cpra_Vta_Vdor5 , EmiteSobresPorOP, Bloqueo, idDepositoEntregaOC, ProveedorLocal, "
    "ProveedorCompartido",
    " FROM VT_CLIENTES WHERE @C = '@ACT'",
};

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
  QStringList s{"alter table mv_asientos disable trigger all ",
                "BEGIN TRANSACTION ",
                "IF NOT EXISTS(SELECT * FROM MA_CUENTAS WHERE CODIGO = '" + nvo +
                    "') INSERT INTO MA_CUENTAS ",
                "SELECT '" + nvo + "'," + columnas.join(','),
                "FROM MA_CUENTAS WHERE CODIGO = '" + act + "' ",
                " "};
  for (int i = 0; i < int(std::size(Pasos)); ++i) {
    if ((i < 3 && existeNvo) || (i == 3 && suc.isEmpty()))
      continue;
    const QString t = q(Pasos[i].tabla), col = q(Pasos[i].columna);
    if (!suc.isEmpty() && t.compare("MA_CUENTASSUC", Qt::CaseInsensitive) == 0) {
      QStringList lineas;
      for (const char *l : CopiaSucursal)
        lineas << q(l).replace("@C", col).replace("@ACT", act);
      s << lineas.join("\r\n");
      s << "UPDATE " + t + " set Sucursal = '" + suc + "' WHERE " + col + " = '" + act + "'";
    }
    if (!suc.isEmpty() && (t.compare("MV_ASIENTOS", Qt::CaseInsensitive) == 0 ||
                           t.compare("V_MV_CPTE", Qt::CaseInsensitive) == 0 ||
                           t.compare("C_MV_CPTE", Qt::CaseInsensitive) == 0))
      s << "UPDATE " + t + " set SucursalCuenta = '" + suc + "' WHERE " + col + " = '" + act + "'";
    s << "UPDATE " + t + " SET " + col + " = '" + nvo + "' WHERE " + col + " = '" + act + "'";
  }
  for (const char *k : Claves)
    s << "UPDATE TA_CONFIGURACION SET VALOR = '" + nvo + "' WHERE CLAVE = '" + q(k) + "' AND VALOR = '" +
             act + "'";
  s << "DELETE MA_CUENTASADIC WHERE CODIGO = '" + act + "'"
    << "DELETE MA_CUENTAS WHERE CODIGO = '" + act + "'"
    << " COMMIT TRANSACTION"
    << " alter table mv_asientos enable trigger all ";
  QString texto;
  for (const QString &x : s)
    texto += "\r\n" + x;
  return texto;
}

int referencias(ado::Connection &cn, const QString &codigo) {
  int n = 0;
  for (const Paso &p : Pasos)
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
