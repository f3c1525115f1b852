#include "app/LoteRecodificacion.h"

#include "platform/ProtocoloError.h"

#include <memory>

namespace zv::app {

namespace {

QVector<PasoTabla> crearPasos() {
  using C = CondicionPaso;
  QVector<PasoTabla> p;
  auto agregar = [&p](const QString &tabla, const QStringList &columnas, C cond = C::Siempre) {
    for (const QString &c : columnas)
      p.push_back({tabla, c, cond});
  };
  agregar("MA_CUENTASADIC", {"CODIGO"}, C::NvoNoExiste);
  agregar("MA_CUENTASSUC", {"CODIGO"}, C::NvoNoExiste);
  agregar("MA_CUENTASCCOSTO", {"CODIGO"}, C::NvoNoExiste);
  agregar("MA_CUENTASSUC", {"CODIGO"}, C::ConSucursal);
  agregar("MA_BIENES", {"CUENTA_CONTABLE", "CUENTA_EJERCICIO", "CUENTA_ACUMULADA"});
  agregar("[MA_CASH-DETALLE]", {"CUENTA"});
  agregar("MA_CASH_CTAS_PRINCIPALES", {"CUENTA"});
  agregar("MA_ESTADISTICACTA", {"CUENTA"});
  agregar("MA_MODELOS", {"CUENTA"});
  agregar("MA_SUBDIARIOS", {"CUENTA", "[CUENTA-DESDE]", "[CUENTA-HASTA]"});
  agregar("MV_APLICACION", {"CUENTA"});
  agregar("MV_ASIENTOS", {"CUENTA", "CABCUENTA"});
  agregar("MV_ASIENTOSCCOSTO", {"CUENTA"});
  agregar("MV_CALCULO_BIENES", {"CUENTA"});
  agregar("MV_SALDOS", {"CUENTA"});
  agregar("TA_CUENTAS_COMPROBANTES", {"CUENTA", "[CUENTA-DESDE]", "[CUENTA-HASTA]"});
  agregar("TA_CUENTASIVA", {"CFI_IVARI", "CFI_IVARI1", "CFI_IVARI2", "CFI_IVARI3", "CFI_IVARI4", "CFI_IVARI5",
                            "CFI_RETPERC", "CFI_RETIGAN", "CFI_RETIBTOS", "DFI_IVARI", "DFI_IVARNI",
                            "DFI_IVAREC", "DFI_RETPERC", "DFI_RETIBTOS", "DFI_IVARM", "DFI_IVACF"});
  agregar("TA_IMPORTACUENTAS", {"CUENTA"});
  agregar("TA_RANGOS_DATOS_ADIC", {"[CUENTA-DESDE]", "[CUENTA-HASTA]"});
  agregar("TA_TITCOPIADORES", {"DESDE", "HASTA"});
  agregar("V_MA_ARTICULOS", {"CUENTAPROVEEDOR"});
  agregar("V_MV_COMANDA", {"CUENTA"});
  agregar("V_MV_CPTE", {"CUENTA", "CODIGOIMPUTACION"});
  agregar("V_MV_CpteEnComision", {"CUENTA"});
  agregar("V_MV_CpteTerceros", {"CUENTA"});
  agregar("v_mv_creales", {"CUENTA"});
  agregar("V_MV_Diarios", {"CUENTA"});
  agregar("V_MV_STOCK", {"CUENTAPROVEEDOR"});
  agregar("V_TA_CTRL_CHEQUERAS", {"CUENTABANCO", "CUENTABANCODIFERIDO"});
  agregar("V_TA_CuentasComision", {"CUENTA"});
  agregar("V_TA_Input_Compras", {"Repuestos", "Servicios", "Otros"});
  agregar("V_TA_Input_Ventas", {"Repuestos", "Servicios", "Otros"});
  agregar("C_MV_Cpte", {"CUENTA", "CodigoImputacion"});
  agregar("C_MV_CPTE_OBSERV", {"CUENTA"});
  agregar("C_MV_CpteInsumos", {"CUENTA"});
  agregar("C_MV_CpteTareas", {"CUENTA"});
  agregar("C_Proveedores_CCompra", {"IDPROVEEDOR"});
  agregar("Control_MV_Calculo", {"CUENTA"});
  agregar("EM_LibroRojo", {"CUENTA"});
  return p;
}

// The branch copy: the MA_CUENTASSUC row of the old code built from the
// client view, inserted when missing. The column lines common to both sides
// of the copy, before and after the line of the exemption flags.
const char *const kColumnasSucursal[] = {
    " DEPARTAMENTO,CPOSTAL,LOCALIDAD,PROVINCIA,PAIS,",
    " TELEFONO,FAX,MAIL,",
    " DOCUMENTO_TIPO,NUMERO_DOCUMENTO,IVA,OBSERVACIONES,Limite_Credito,idCond_Cpra_Vta,IDCategoria,"
    "FechaHora_Grabacion,FechaHora_Modificacion,IdLista,",
};
const char *const kColumnasSucursalFin[] = {
    " RETGAN_IdRetencion,LugarEntrega,CALLE_FIS,NUMERO_FIS,PISO_FIS,DEPARTAMENTO_FIS,CPOSTAL_FIS,"
    "LOCALIDAD_FIS,PROVINCIA_FIS,PAIS_FIS,TELEFONO_FIS,FAX_FIS,",
    " CodigoImputacion,Consignacion,ZONA,RETIVA_NROINS,RETIBR_NROINS,RETGAN_NROINS,Dada_De_Baja,"
    "CuentaPrincipal,Moneda,Clave,IdVendedor1,",
    " IdVendedor2,IdVendedor3,IdVendedor4,IdVendedor5,Limite_Credito1,Limite_Credito2,"
    "Limite_Credito3,Limite_Credito4,Limite_Credito5,DatosPago,WEB,",
    " FCC_Sin_OC,Dto1,Dto2,Dto3,OCCambiaCosto,idCond_Cpra_Vta_Vdor1,idCond_Cpra_Vta_Vdor2,"
    "idCond_Cpra_Vta_Vdor3,idCond_Cpra_Vta_Vdor4,",
    " idCond_Cpra_Vta_Vdor5 , EmiteSobresPorOP, Bloqueo, idDepositoEntregaOC, ProveedorLocal, "
    "ProveedorCompartido",
};

// The column block of the branch copy; `lectura` is the select side, where
// the exemption flags are read through isnull.
QStringList columnasSucursal(bool lectura) {
  QStringList l;
  l << QString::fromLatin1(lectura ? " " : " (") + "CODIGO,RAZON_SOCIAL,CONTACTO,CALLE,NUMERO,PISO,";
  for (const char *c : kColumnasSucursal)
    l << QString::fromLatin1(c);
  if (lectura)
    l << " Clase,IdVendedor,IdMotivoVta,IdMotivoCpra,isnull(ExentoIvaServicios,0),"
         "isnull(ExentoIvaArticulos,0),isnull(ExentoIVAOtros,0),Descuento,RETIVA_IdRetencion,"
         "RETIBR_IdRetencion,";
  else
    l << " Clase,IdVendedor,IdMotivoVta,IdMotivoCpra,ExentoIvaServicios,ExentoIvaArticulos,"
         "ExentoIVAOtros,Descuento,RETIVA_IdRetencion,RETIBR_IdRetencion,";
  for (const char *c : kColumnasSucursalFin)
    l << QString::fromLatin1(c);
  return l;
}

QString copiaSucursal(const QString &columna, const QString &act) {
  QStringList l;
  l << "IF NOT EXISTS (SELECT * FROM MA_CUENTASSUC WHERE " + columna + " = '" + act + "')";
  l << " INSERT INTO MA_CUENTASSUC";
  l << columnasSucursal(false);
  l << " )";
  l << " SELECT";
  l << columnasSucursal(true);
  l << " FROM VT_CLIENTES WHERE " + columna + " = '" + act + "'";
  return l.join("\r\n");
}

bool igual(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

bool aplica(const PasoTabla &p, bool nvoExiste, bool conSucursal) {
  switch (p.condicion) {
  case CondicionPaso::NvoNoExiste:
    return !nvoExiste;
  case CondicionPaso::ConSucursal:
    return conSucursal;
  case CondicionPaso::Siempre:
    break;
  }
  return true;
}

} // namespace

const QVector<PasoTabla> &PasosTablas() {
  static const QVector<PasoTabla> pasos = crearPasos();
  return pasos;
}

const QStringList &ClavesConfiguracion() {
  static const QStringList claves = {"IVACFRESINS",
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
                                     "CuentaCtroDist"};
  return claves;
}

QString EntreComillasSeguro(const QString &texto) {
  QString t = texto;
  return t.replace(QLatin1Char('\''), QLatin1String("''"));
}

QString ConsultaExistencia(const QString &nvo) {
  return "select * from ma_cuentas where codigo = '" + EntreComillasSeguro(nvo) + "'";
}

QStringList SentenciasPar(const ParRecodificacion &par) {
  const QString act = EntreComillasSeguro(par.act);
  const QString nvo = EntreComillasSeguro(par.nvo);
  const QString suc = EntreComillasSeguro(par.suc);
  const bool conSucursal = !par.suc.isEmpty();

  QStringList s;
  // A failing statement must abort the whole pair, not just itself.
  s << "SET XACT_ABORT ON ";
  s << "alter table mv_asientos disable trigger all ";
  s << "BEGIN TRANSACTION ";
  s << "IF NOT EXISTS(SELECT * FROM MA_CUENTAS WHERE CODIGO = '" + nvo + "') INSERT INTO MA_CUENTAS ";
  s << "SELECT '" + nvo + "'," + par.columnas;
  s << "FROM MA_CUENTAS WHERE CODIGO = '" + act + "' ";
  s << " ";

  for (const PasoTabla &p : PasosTablas()) {
    if (!aplica(p, par.nvoExiste, conSucursal))
      continue;
    const QString &t = p.tabla;
    const QString &c = p.columna;
    const QString donde = " WHERE " + c + " = '" + act + "'";
    if (conSucursal) {
      if (igual(t, "MA_CUENTASSUC")) {
        s << copiaSucursal(c, act);
        s << "UPDATE " + t + " set Sucursal = '" + suc + "'" + donde;
      }
      if (igual(t, "MV_ASIENTOS") || igual(t, "V_MV_CPTE") || igual(t, "C_MV_CPTE"))
        s << "UPDATE " + t + " set SucursalCuenta = '" + suc + "'" + donde;
    }
    s << "UPDATE " + t + " SET " + c + " = '" + nvo + "'" + donde;
  }

  for (const QString &k : ClavesConfiguracion())
    s << "UPDATE TA_CONFIGURACION SET VALOR = '" + nvo + "' WHERE CLAVE = '" + k + "' AND VALOR = '" + act +
             "'";

  s << "DELETE MA_CUENTASADIC WHERE CODIGO = '" + act + "'";
  s << "DELETE MA_CUENTAS WHERE CODIGO = '" + act + "'";
  s << " COMMIT TRANSACTION";
  s << " alter table mv_asientos enable trigger all ";
  return s;
}

QString UnirLote(const QStringList &sentencias) {
  QString lote;
  for (const QString &s : sentencias)
    lote += "\r\n" + s;
  return lote;
}

QString LotePar(const ParRecodificacion &par) { return UnirLote(SentenciasPar(par)); }

QString VerificaCampos(ado::Connection &cnn, const QString &gDBName, const QString &tabla, const QString &x1,
                       const QString &x2, const QString &x3, bool corchetes, QString &tipos,
                       const InformeRutina &informe) {
  QString lista;
  tipos.clear();
  Trampa trampa([&](const AppError &e) { return informe ? informe(e, "VerificaCampos") : 3; });

  ado::Recordset rs;
  trampa([&] {
    rs.attach(cnn.openSchema(ado::adSchemaColumns, {gDBName, QVariant(), tabla, QVariant()}), &cnn);
  });
  if (!trampa || rs.state() != ado::adStateOpen)
    return lista;

  bool vacio = true;
  trampa([&] { vacio = rs.bof() && rs.eof(); });
  if (!trampa || vacio)
    return lista;

  bool fin = false;
  while (trampa && !fin) {
    trampa([&] {
      const QString n = rs.value("COLUMN_NAME").toString();
      if (!igual(n, x1) && !igual(n, x2) && !igual(n, x3)) {
        const QString nombre = corchetes ? "[" + n + "]" : n;
        lista += lista.isEmpty() ? nombre : "," + nombre;
        const QString tipo = rs.value("DATA_TYPE").toString();
        tipos += tipos.isEmpty() ? tipo : "," + tipo;
      }
    });
    if (!trampa)
      break;
    // Moving on is a statement of its own: when it fails the row is not read
    // again on an ignore.
    trampa([&] {
      rs.moveNext();
      fin = rs.eof();
    });
  }
  return lista;
}

} // namespace zv::app
