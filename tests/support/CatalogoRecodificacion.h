#pragma once
// The recoder's catalogue written out from the documentation, for the tests
// that check the batch builder and the demo against it. It is kept apart from
// the builder's own tables on purpose: a test that read those would agree with
// any mistake in them.
#include <QString>
#include <QStringList>

#include <iterator>

namespace zv::test::catalogo {

// When a table step is sent.
enum class Cuando {
  Siempre,
  SiNoExisteNuevo, // only when the new code is not yet in the chart
  ConSucursal,     // only when a branch is given
};

struct PasoTabla {
  int numero;
  const char *tabla;   // as the statements write it, brackets included
  const char *columna; // likewise
  Cuando cuando;
};

// The table steps, in the order they are sent.
inline constexpr PasoTabla kPasos[] = {
    {1, "MA_CUENTASADIC", "CODIGO", Cuando::SiNoExisteNuevo},
    {2, "MA_CUENTASSUC", "CODIGO", Cuando::SiNoExisteNuevo},
    {3, "MA_CUENTASCCOSTO", "CODIGO", Cuando::SiNoExisteNuevo},
    {4, "MA_CUENTASSUC", "CODIGO", Cuando::ConSucursal},
    {5, "MA_BIENES", "CUENTA_CONTABLE", Cuando::Siempre},
    {6, "MA_BIENES", "CUENTA_EJERCICIO", Cuando::Siempre},
    {7, "MA_BIENES", "CUENTA_ACUMULADA", Cuando::Siempre},
    {8, "[MA_CASH-DETALLE]", "CUENTA", Cuando::Siempre},
    {9, "MA_CASH_CTAS_PRINCIPALES", "CUENTA", Cuando::Siempre},
    {10, "MA_ESTADISTICACTA", "CUENTA", Cuando::Siempre},
    {11, "MA_MODELOS", "CUENTA", Cuando::Siempre},
    {12, "MA_SUBDIARIOS", "CUENTA", Cuando::Siempre},
    {13, "MA_SUBDIARIOS", "[CUENTA-DESDE]", Cuando::Siempre},
    {14, "MA_SUBDIARIOS", "[CUENTA-HASTA]", Cuando::Siempre},
    {15, "MV_APLICACION", "CUENTA", Cuando::Siempre},
    {16, "MV_ASIENTOS", "CUENTA", Cuando::Siempre},
    {17, "MV_ASIENTOS", "CABCUENTA", Cuando::Siempre},
    {18, "MV_ASIENTOSCCOSTO", "CUENTA", Cuando::Siempre},
    {19, "MV_CALCULO_BIENES", "CUENTA", Cuando::Siempre},
    {20, "MV_SALDOS", "CUENTA", Cuando::Siempre},
    {21, "TA_CUENTAS_COMPROBANTES", "CUENTA", Cuando::Siempre},
    {22, "TA_CUENTAS_COMPROBANTES", "[CUENTA-DESDE]", Cuando::Siempre},
    {23, "TA_CUENTAS_COMPROBANTES", "[CUENTA-HASTA]", Cuando::Siempre},
    {24, "TA_CUENTASIVA", "CFI_IVARI", Cuando::Siempre},
    {25, "TA_CUENTASIVA", "CFI_IVARI1", Cuando::Siempre},
    {26, "TA_CUENTASIVA", "CFI_IVARI2", Cuando::Siempre},
    {27, "TA_CUENTASIVA", "CFI_IVARI3", Cuando::Siempre},
    {28, "TA_CUENTASIVA", "CFI_IVARI4", Cuando::Siempre},
    {29, "TA_CUENTASIVA", "CFI_IVARI5", Cuando::Siempre},
    {30, "TA_CUENTASIVA", "CFI_RETPERC", Cuando::Siempre},
    {31, "TA_CUENTASIVA", "CFI_RETIGAN", Cuando::Siempre},
    {32, "TA_CUENTASIVA", "CFI_RETIBTOS", Cuando::Siempre},
    {33, "TA_CUENTASIVA", "DFI_IVARI", Cuando::Siempre},
    {34, "TA_CUENTASIVA", "DFI_IVARNI", Cuando::Siempre},
    {35, "TA_CUENTASIVA", "DFI_IVAREC", Cuando::Siempre},
    {36, "TA_CUENTASIVA", "DFI_RETPERC", Cuando::Siempre},
    {37, "TA_CUENTASIVA", "DFI_RETIBTOS", Cuando::Siempre},
    {38, "TA_CUENTASIVA", "DFI_IVARM", Cuando::Siempre},
    {39, "TA_CUENTASIVA", "DFI_IVACF", Cuando::Siempre},
    {40, "TA_IMPORTACUENTAS", "CUENTA", Cuando::Siempre},
    {41, "TA_RANGOS_DATOS_ADIC", "[CUENTA-DESDE]", Cuando::Siempre},
    {42, "TA_RANGOS_DATOS_ADIC", "[CUENTA-HASTA]", Cuando::Siempre},
    {43, "TA_TITCOPIADORES", "DESDE", Cuando::Siempre},
    {44, "TA_TITCOPIADORES", "HASTA", Cuando::Siempre},
    {45, "V_MA_ARTICULOS", "CUENTAPROVEEDOR", Cuando::Siempre},
    {46, "V_MV_COMANDA", "CUENTA", Cuando::Siempre},
    {47, "V_MV_CPTE", "CUENTA", Cuando::Siempre},
    {48, "V_MV_CPTE", "CODIGOIMPUTACION", Cuando::Siempre},
    {49, "V_MV_CpteEnComision", "CUENTA", Cuando::Siempre},
    {50, "V_MV_CpteTerceros", "CUENTA", Cuando::Siempre},
    {51, "v_mv_creales", "CUENTA", Cuando::Siempre},
    {52, "V_MV_Diarios", "CUENTA", Cuando::Siempre},
    {53, "V_MV_STOCK", "CUENTAPROVEEDOR", Cuando::Siempre},
    {54, "V_TA_CTRL_CHEQUERAS", "CUENTABANCO", Cuando::Siempre},
    {55, "V_TA_CTRL_CHEQUERAS", "CUENTABANCODIFERIDO", Cuando::Siempre},
    {56, "V_TA_CuentasComision", "CUENTA", Cuando::Siempre},
    {57, "V_TA_Input_Compras", "Repuestos", Cuando::Siempre},
    {58, "V_TA_Input_Compras", "Servicios", Cuando::Siempre},
    {59, "V_TA_Input_Compras", "Otros", Cuando::Siempre},
    {60, "V_TA_Input_Ventas", "Repuestos", Cuando::Siempre},
    {61, "V_TA_Input_Ventas", "Servicios", Cuando::Siempre},
    {62, "V_TA_Input_Ventas", "Otros", Cuando::Siempre},
    {63, "C_MV_Cpte", "CUENTA", Cuando::Siempre},
    {64, "C_MV_Cpte", "CodigoImputacion", Cuando::Siempre},
    {65, "C_MV_CPTE_OBSERV", "CUENTA", Cuando::Siempre},
    {66, "C_MV_CpteInsumos", "CUENTA", Cuando::Siempre},
    {67, "C_MV_CpteTareas", "CUENTA", Cuando::Siempre},
    {68, "C_Proveedores_CCompra", "IDPROVEEDOR", Cuando::Siempre},
    {69, "Control_MV_Calculo", "CUENTA", Cuando::Siempre},
    {70, "EM_LibroRojo", "CUENTA", Cuando::Siempre},
};

// The configuration keys whose value is rewritten when it holds the old code.
inline constexpr const char *kClaves[] = {
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

// The lines of the branch copy; {C} and {A} stand for the column and the
// quoted old code.
inline constexpr const char *kCopiaSucursal[] = {
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

static_assert(std::size(kPasos) == 70);
static_assert(std::size(kClaves) == 33);
static_assert(std::size(kCopiaSucursal) == 25);

// A table or column name without the brackets the statements put round it,
// as the schema lists it.
inline QString sinCorchetes(const char *nombre) {
  QString n = QString::fromUtf8(nombre);
  if (n.startsWith(u'[') && n.endsWith(u']'))
    n = n.mid(1, n.size() - 2);
  return n;
}

// The branch copy for one column and one (already quoted) old code, its lines
// joined as the batch joins them.
inline QString copiaSucursal(const QString &columna, const QString &actual) {
  QStringList lineas;
  for (const char *l : kCopiaSucursal)
    lineas << QString::fromUtf8(l)
                  .replace(QStringLiteral("{C}"), columna)
                  .replace(QStringLiteral("{A}"), actual);
  return lineas.join(QStringLiteral("\r\n"));
}

// The customer columns the branch copy moves from VT_CLIENTES to
// MA_CUENTASSUC: the insert's column list.
inline QStringList columnasCopiaSucursal() {
  QString lista;
  for (const char *l : kCopiaSucursal) {
    const QString linea = QString::fromUtf8(l);
    if (linea == QStringLiteral(" )"))
      break;
    if (!linea.contains(QStringLiteral("INSERT")) && !linea.contains(QStringLiteral("EXISTS")))
      lista += linea;
  }
  lista.remove(u' ');
  if (lista.startsWith(u'('))
    lista.remove(0, 1);
  return lista.split(u',');
}

// The statements of one pair from the trigger switch-off to the switch-on,
// written out from the catalogue. `act`, `nvo` and `suc` are already quoted;
// `columnas` is the chart's column list the new account is copied with.
inline QStringList sentenciasPar(const QString &act, const QString &nvo, const QString &suc, bool existeNuevo,
                                 const QString &columnas) {
  QStringList l;
  l << QStringLiteral("alter table mv_asientos disable trigger all ");
  l << QStringLiteral("BEGIN TRANSACTION ");
  l << "IF NOT EXISTS(SELECT * FROM MA_CUENTAS WHERE CODIGO = '" + nvo + "') INSERT INTO MA_CUENTAS ";
  l << "SELECT '" + nvo + "'," + columnas;
  l << "FROM MA_CUENTAS WHERE CODIGO = '" + act + "' ";
  l << QStringLiteral(" ");
  for (const PasoTabla &p : kPasos) {
    if (p.cuando == Cuando::SiNoExisteNuevo && existeNuevo)
      continue;
    if (p.cuando == Cuando::ConSucursal && suc.isEmpty())
      continue;
    const QString t = QString::fromUtf8(p.tabla), c = QString::fromUtf8(p.columna);
    const QString donde = " WHERE " + c + " = '" + act + "'";
    if (!suc.isEmpty() && t.compare(QStringLiteral("MA_CUENTASSUC"), Qt::CaseInsensitive) == 0) {
      l << copiaSucursal(c, act);
      l << "UPDATE " + t + " set Sucursal = '" + suc + "'" + donde;
    }
    if (!suc.isEmpty() && (t.compare(QStringLiteral("MV_ASIENTOS"), Qt::CaseInsensitive) == 0 ||
                           t.compare(QStringLiteral("V_MV_CPTE"), Qt::CaseInsensitive) == 0 ||
                           t.compare(QStringLiteral("C_MV_CPTE"), Qt::CaseInsensitive) == 0))
      l << "UPDATE " + t + " set SucursalCuenta = '" + suc + "'" + donde;
    l << "UPDATE " + t + " SET " + c + " = '" + nvo + "'" + donde;
  }
  for (const char *k : kClaves)
    l << "UPDATE TA_CONFIGURACION SET VALOR = '" + nvo + "' WHERE CLAVE = '" + QString::fromUtf8(k) +
             "' AND VALOR = '" + act + "'";
  l << "DELETE MA_CUENTASADIC WHERE CODIGO = '" + act + "'";
  l << "DELETE MA_CUENTAS WHERE CODIGO = '" + act + "'";
  l << QStringLiteral(" COMMIT TRANSACTION");
  l << QStringLiteral(" alter table mv_asientos enable trigger all ");
  return l;
}

} // namespace zv::test::catalogo
