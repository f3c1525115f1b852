// The batch of one pair, byte for byte against a text assembled here from the
// statement tables written out independently of the builder.
#include "app/LoteRecodificacion.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

using namespace zv::app;

namespace {

// "#|table|column|condition" as the catalogue lists them: A = always,
// N = the new code does not exist, S = a branch is given.
const char *const kCatalogo[] = {
    "1|MA_CUENTASADIC|CODIGO|N",
    "2|MA_CUENTASSUC|CODIGO|N",
    "3|MA_CUENTASCCOSTO|CODIGO|N",
    "4|MA_CUENTASSUC|CODIGO|S",
    "5|MA_BIENES|CUENTA_CONTABLE|A",
    "6|MA_BIENES|CUENTA_EJERCICIO|A",
    "7|MA_BIENES|CUENTA_ACUMULADA|A",
    "8|[MA_CASH-DETALLE]|CUENTA|A",
    "9|MA_CASH_CTAS_PRINCIPALES|CUENTA|A",
    "10|MA_ESTADISTICACTA|CUENTA|A",
    "11|MA_MODELOS|CUENTA|A",
    "12|MA_SUBDIARIOS|CUENTA|A",
    "13|MA_SUBDIARIOS|[CUENTA-DESDE]|A",
    "14|MA_SUBDIARIOS|[CUENTA-HASTA]|A",
    "15|MV_APLICACION|CUENTA|A",
    "16|MV_ASIENTOS|CUENTA|A",
    "17|MV_ASIENTOS|CABCUENTA|A",
    "18|MV_ASIENTOSCCOSTO|CUENTA|A",
    "19|MV_CALCULO_BIENES|CUENTA|A",
    "20|MV_SALDOS|CUENTA|A",
    "21|TA_CUENTAS_COMPROBANTES|CUENTA|A",
    "22|TA_CUENTAS_COMPROBANTES|[CUENTA-DESDE]|A",
    "23|TA_CUENTAS_COMPROBANTES|[CUENTA-HASTA]|A",
    "24|TA_CUENTASIVA|CFI_IVARI|A",
    "25|TA_CUENTASIVA|CFI_IVARI1|A",
    "26|TA_CUENTASIVA|CFI_IVARI2|A",
    "27|TA_CUENTASIVA|CFI_IVARI3|A",
    "28|TA_CUENTASIVA|CFI_IVARI4|A",
    "29|TA_CUENTASIVA|CFI_IVARI5|A",
    "30|TA_CUENTASIVA|CFI_RETPERC|A",
    "31|TA_CUENTASIVA|CFI_RETIGAN|A",
    "32|TA_CUENTASIVA|CFI_RETIBTOS|A",
    "33|TA_CUENTASIVA|DFI_IVARI|A",
    "34|TA_CUENTASIVA|DFI_IVARNI|A",
    "35|TA_CUENTASIVA|DFI_IVAREC|A",
    "36|TA_CUENTASIVA|DFI_RETPERC|A",
    "37|TA_CUENTASIVA|DFI_RETIBTOS|A",
    "38|TA_CUENTASIVA|DFI_IVARM|A",
    "39|TA_CUENTASIVA|DFI_IVACF|A",
    "40|TA_IMPORTACUENTAS|CUENTA|A",
    "41|TA_RANGOS_DATOS_ADIC|[CUENTA-DESDE]|A",
    "42|TA_RANGOS_DATOS_ADIC|[CUENTA-HASTA]|A",
    "43|TA_TITCOPIADORES|DESDE|A",
    "44|TA_TITCOPIADORES|HASTA|A",
    "45|V_MA_ARTICULOS|CUENTAPROVEEDOR|A",
    "46|V_MV_COMANDA|CUENTA|A",
    "47|V_MV_CPTE|CUENTA|A",
    "48|V_MV_CPTE|CODIGOIMPUTACION|A",
    "49|V_MV_CpteEnComision|CUENTA|A",
    "50|V_MV_CpteTerceros|CUENTA|A",
    "51|v_mv_creales|CUENTA|A",
    "52|V_MV_Diarios|CUENTA|A",
    "53|V_MV_STOCK|CUENTAPROVEEDOR|A",
    "54|V_TA_CTRL_CHEQUERAS|CUENTABANCO|A",
    "55|V_TA_CTRL_CHEQUERAS|CUENTABANCODIFERIDO|A",
    "56|V_TA_CuentasComision|CUENTA|A",
    "57|V_TA_Input_Compras|Repuestos|A",
    "58|V_TA_Input_Compras|Servicios|A",
    "59|V_TA_Input_Compras|Otros|A",
    "60|V_TA_Input_Ventas|Repuestos|A",
    "61|V_TA_Input_Ventas|Servicios|A",
    "62|V_TA_Input_Ventas|Otros|A",
    "63|C_MV_Cpte|CUENTA|A",
    "64|C_MV_Cpte|CodigoImputacion|A",
    "65|C_MV_CPTE_OBSERV|CUENTA|A",
    "66|C_MV_CpteInsumos|CUENTA|A",
    "67|C_MV_CpteTareas|CUENTA|A",
    "68|C_Proveedores_CCompra|IDPROVEEDOR|A",
    "69|Control_MV_Calculo|CUENTA|A",
    "70|EM_LibroRojo|CUENTA|A",
};

const char *const kClaves[] = {
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

// The 25 lines of the branch copy; C and A stand for the column and the
// quoted old code.
const char *const kCopiaSucursal[] = {
    "IF NOT EXISTS (SELECT * FROM MA_CUENTASSUC WHERE {C} = '{A}')",
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
    " FROM VT_CLIENTES WHERE {C} = '{A}'",
};

const QString kColumnas = "DESCRIPCION,IMPUTABLE,NIVEL,RUBRO";

struct Caso {
  QString nombre;
  QString act, nvo, suc; // as typed
  bool existe;
  int sentencias; // the table's count plus "SET XACT_ABORT ON "
};

// The expected statements, assembled from the tables above. `a`, `n`, `s`
// are already quoted.
QStringList esperadas(const QString &a, const QString &n, const QString &s, bool existe) {
  QStringList l;
  l << "SET XACT_ABORT ON ";
  l << "alter table mv_asientos disable trigger all ";
  l << "BEGIN TRANSACTION ";
  l << "IF NOT EXISTS(SELECT * FROM MA_CUENTAS WHERE CODIGO = '" + n + "') INSERT INTO MA_CUENTAS ";
  l << "SELECT '" + n + "'," + kColumnas;
  l << "FROM MA_CUENTAS WHERE CODIGO = '" + a + "' ";
  l << " ";
  int numero = 0;
  for (const char *fila : kCatalogo) {
    const QStringList f = QString::fromLatin1(fila).split('|');
    EXPECT_EQ(f[0].toInt(), ++numero);
    const QString t = f[1], c = f[2], cond = f[3];
    if (cond == "N" && existe)
      continue;
    if (cond == "S" && s.isEmpty())
      continue;
    if (!s.isEmpty() && t.toUpper() == "MA_CUENTASSUC") {
      QStringList copia;
      for (const char *linea : kCopiaSucursal)
        copia << QString::fromLatin1(linea).replace("{C}", c).replace("{A}", a);
      l << copia.join("\r\n");
      l << "UPDATE " + t + " set Sucursal = '" + s + "' WHERE " + c + " = '" + a + "'";
    }
    if (!s.isEmpty() &&
        (t.toUpper() == "MV_ASIENTOS" || t.toUpper() == "V_MV_CPTE" || t.toUpper() == "C_MV_CPTE"))
      l << "UPDATE " + t + " set SucursalCuenta = '" + s + "' WHERE " + c + " = '" + a + "'";
    l << "UPDATE " + t + " SET " + c + " = '" + n + "' WHERE " + c + " = '" + a + "'";
  }
  EXPECT_EQ(numero, 70);
  int claves = 0;
  for (const char *k : kClaves) {
    ++claves;
    l << "UPDATE TA_CONFIGURACION SET VALOR = '" + n + "' WHERE CLAVE = '" + QString::fromLatin1(k) +
             "' AND VALOR = '" + a + "'";
  }
  EXPECT_EQ(claves, 33);
  l << "DELETE MA_CUENTASADIC WHERE CODIGO = '" + a + "'";
  l << "DELETE MA_CUENTAS WHERE CODIGO = '" + a + "'";
  l << " COMMIT TRANSACTION";
  l << " alter table mv_asientos enable trigger all ";
  return l;
}

QString unir(const QStringList &l) {
  QString t;
  for (const QString &s : l)
    t += QStringLiteral("\r\n") + s;
  return t;
}

QString doblar(QString t) { return t.replace("'", "''"); }

void PrintTo(const Caso &c, std::ostream *os) { *os << c.nombre.toStdString(); }

class LotePorCaso : public ::testing::TestWithParam<Caso> {};

TEST_P(LotePorCaso, IgualAlTextoDeLasTablas) {
  const Caso &c = GetParam();
  ParRecodificacion par{c.act, c.nvo, c.suc, c.existe, kColumnas};
  const QStringList esperado = esperadas(doblar(c.act), doblar(c.nvo), doblar(c.suc), c.existe);
  const QStringList obtenido = SentenciasPar(par);
  ASSERT_EQ(obtenido.size(), c.sentencias);
  ASSERT_EQ(esperado.size(), c.sentencias);
  for (int i = 0; i < esperado.size(); ++i)
    ASSERT_EQ(zv::test::visible(obtenido[i]).toStdString(), zv::test::visible(esperado[i]).toStdString())
        << "statement " << i;
  const QByteArray lote = LotePar(par).toUtf8();
  EXPECT_EQ(lote, unir(esperado).toUtf8());
  EXPECT_TRUE(lote.startsWith("\r\nSET XACT_ABORT ON \r\nalter table"));
  EXPECT_FALSE(lote.endsWith("\r\n"));
}

INSTANTIATE_TEST_SUITE_P(
    Pares, LotePorCaso,
    ::testing::Values(Caso{"CodigoNuevo", "1.1.01.001", "1.1.01.099", "", false, 113},
                      Caso{"CodigoExistente", "1.1.01.001", "1.1.01.002", "", true, 110},
                      Caso{"SucursalCodigoNuevo", "1.1.01.001", "1.1.01.099", "3", false, 124},
                      Caso{"SucursalCodigoExistente", "1.1.01.001", "1.1.01.002", "3", true, 119},
                      Caso{"Apostrofes", "1.1'01", "O'Brien''s", "Su'c", false, 124}),
    [](const ::testing::TestParamInfo<Caso> &i) { return i.param.nombre.toStdString(); });

TEST(Lote, SinApostrofesLosCodigosVanTalCual) {
  const QString lote = LotePar({"1.1.01", "1.1.09", "", false, kColumnas});
  EXPECT_TRUE(lote.contains("\r\nUPDATE MV_SALDOS SET CUENTA = '1.1.09' WHERE CUENTA = '1.1.01'\r\n"));
  EXPECT_FALSE(lote.contains("''"));
}

TEST(Lote, CadaApostrofeSeDuplica) {
  const QString lote = LotePar({"A'1", "B'2", "S'3", false, kColumnas});
  // No lone apostrophe inside a value: removing the doubled ones and the
  // enclosing ones must leave no apostrophe next to a letter of the codes.
  EXPECT_FALSE(lote.contains("A'1"));
  EXPECT_FALSE(lote.contains("B'2"));
  EXPECT_FALSE(lote.contains("S'3"));
  EXPECT_TRUE(lote.contains("WHERE CODIGO = 'A''1'"));
  EXPECT_TRUE(lote.contains("SET CUENTA = 'B''2' WHERE CUENTA = 'A''1'"));
  EXPECT_TRUE(lote.contains("set Sucursal = 'S''3'"));
}

TEST(Lote, ConsultaDeExistencia) {
  EXPECT_EQ(ConsultaExistencia("1.1.01").toStdString(), "select * from ma_cuentas where codigo = '1.1.01'");
  EXPECT_EQ(ConsultaExistencia("x' or '1'='1").toStdString(),
            "select * from ma_cuentas where codigo = 'x'' or ''1''=''1'");
}

TEST(Lote, TextosDeRecuperacion) {
  EXPECT_EQ(kDeshacerTransaccion.toStdString(), "IF @@TRANCOUNT > 0 ROLLBACK TRANSACTION");
  EXPECT_EQ(kHabilitarTriggers.toStdString(), " alter table mv_asientos enable trigger all ");
}

} // namespace
