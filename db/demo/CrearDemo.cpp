#include "db/demo/CrearDemo.h"

#include "platform/Kit.h"
#include "platform/Proveedores.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>

#include <algorithm>
#include <functional>
#include <iterator>

namespace zv::demo {

namespace {

// ---------------------------------------------------------------------------
// Schema of the company database. Written in the server's dialect; the engine
// turns IDENTITY into the file's own row numbering. Objects the recoder
// rewrites are plain tables, whatever their prefix; views are only read.

// The columns of a customer or supplier record, shared by VT_CLIENTES,
// VT_PROVEEDORES and the branch copies of MA_CUENTASSUC ("@COLUMNAS_CLIENTE"
// in their statements).
const char *const ColumnasCliente = R"(
  CODIGO varchar(15) NOT NULL, RAZON_SOCIAL varchar(60) NULL, CONTACTO varchar(40) NULL,
  CALLE varchar(40) NULL, NUMERO varchar(10) NULL, PISO varchar(5) NULL, DEPARTAMENTO varchar(5) NULL,
  CPOSTAL varchar(10) NULL, LOCALIDAD varchar(40) NULL, PROVINCIA varchar(30) NULL, PAIS varchar(30) NULL,
  TELEFONO varchar(30) NULL, FAX varchar(30) NULL, MAIL varchar(60) NULL,
  DOCUMENTO_TIPO varchar(4) NULL, NUMERO_DOCUMENTO varchar(15) NULL, IVA varchar(4) NULL,
  OBSERVACIONES varchar(200) NULL, Limite_Credito decimal(18,2) NULL, idCond_Cpra_Vta int NULL,
  IDCategoria int NULL, FechaHora_Grabacion datetime NULL, FechaHora_Modificacion datetime NULL,
  IdLista int NULL, Clase varchar(4) NULL, IdVendedor int NULL, IdMotivoVta int NULL, IdMotivoCpra int NULL,
  ExentoIvaServicios bit NULL, ExentoIvaArticulos bit NULL, ExentoIVAOtros bit NULL,
  Descuento decimal(9,2) NULL, RETIVA_IdRetencion int NULL, RETIBR_IdRetencion int NULL,
  RETGAN_IdRetencion int NULL, LugarEntrega varchar(60) NULL,
  CALLE_FIS varchar(40) NULL, NUMERO_FIS varchar(10) NULL, PISO_FIS varchar(5) NULL,
  DEPARTAMENTO_FIS varchar(5) NULL, CPOSTAL_FIS varchar(10) NULL, LOCALIDAD_FIS varchar(40) NULL,
  PROVINCIA_FIS varchar(30) NULL, PAIS_FIS varchar(30) NULL, TELEFONO_FIS varchar(30) NULL,
  FAX_FIS varchar(30) NULL, CodigoImputacion varchar(15) NULL, Consignacion bit NULL, ZONA varchar(10) NULL,
  RETIVA_NROINS varchar(20) NULL, RETIBR_NROINS varchar(20) NULL, RETGAN_NROINS varchar(20) NULL,
  Dada_De_Baja bit NULL DEFAULT (0), CuentaPrincipal varchar(15) NULL, Moneda varchar(3) NULL,
  Clave varchar(20) NULL, IdVendedor1 int NULL, IdVendedor2 int NULL, IdVendedor3 int NULL,
  IdVendedor4 int NULL, IdVendedor5 int NULL, Limite_Credito1 decimal(18,2) NULL,
  Limite_Credito2 decimal(18,2) NULL, Limite_Credito3 decimal(18,2) NULL, Limite_Credito4 decimal(18,2) NULL,
  Limite_Credito5 decimal(18,2) NULL, DatosPago varchar(200) NULL, WEB varchar(100) NULL,
  FCC_Sin_OC bit NULL, Dto1 decimal(9,2) NULL, Dto2 decimal(9,2) NULL, Dto3 decimal(9,2) NULL,
  OCCambiaCosto bit NULL, idCond_Cpra_Vta_Vdor1 int NULL, idCond_Cpra_Vta_Vdor2 int NULL,
  idCond_Cpra_Vta_Vdor3 int NULL, idCond_Cpra_Vta_Vdor4 int NULL, idCond_Cpra_Vta_Vdor5 int NULL,
  EmiteSobresPorOP bit NULL, Bloqueo bit NULL, idDepositoEntregaOC int NULL, ProveedorLocal bit NULL,
  ProveedorCompartido bit NULL)";

const char *const Tablas[] = {
    // Chart of accounts: ID first, CODIGO right after it (the recoder copies
    // a row by listing every column but these two).
    R"(CREATE TABLE MA_CUENTAS (ID int IDENTITY(1,1) NOT NULL, CODIGO varchar(15) NOT NULL,
  Descripcion varchar(60) NULL, Imputable bit NULL DEFAULT (0), Nivel int NULL, Rubro varchar(30) NULL,
  Tipo char(1) NULL, Moneda varchar(3) NULL, AjustaInflacion bit NULL DEFAULT (0),
  CentroCosto bit NULL DEFAULT (0), Confidencial bit NULL DEFAULT (0), FechaAlta datetime NULL,
  Observaciones varchar(200) NULL, CONSTRAINT PK_MA_CUENTAS PRIMARY KEY (CODIGO)))",
    R"(CREATE TABLE MA_CUENTASADIC (CODIGO varchar(15) NOT NULL, Presupuesto decimal(18,2) NULL,
  Responsable varchar(40) NULL, Agrupador varchar(20) NULL, FechaModificacion datetime NULL,
  CONSTRAINT PK_MA_CUENTASADIC PRIMARY KEY (CODIGO)))",
    "CREATE TABLE MA_CUENTASSUC (ID int IDENTITY(1,1) NOT NULL, @COLUMNAS_CLIENTE, Sucursal varchar(4) "
    "NULL)",
    R"(CREATE TABLE MA_CUENTASCCOSTO (CODIGO varchar(15) NOT NULL, CCOSTO varchar(10) NOT NULL,
  Porcentaje decimal(9,2) NULL, CONSTRAINT PK_MA_CUENTASCCOSTO PRIMARY KEY (CODIGO, CCOSTO)))",
    "CREATE TABLE VT_CLIENTES (@COLUMNAS_CLIENTE, CONSTRAINT PK_VT_CLIENTES PRIMARY KEY (CODIGO))",
    "CREATE TABLE VT_PROVEEDORES (@COLUMNAS_CLIENTE, CONSTRAINT PK_VT_PROVEEDORES PRIMARY KEY (CODIGO))",
    R"(CREATE TABLE MA_BIENES (ID int IDENTITY(1,1) NOT NULL, IdBien varchar(10) NOT NULL,
  Descripcion varchar(60) NULL, FechaCompra datetime NULL, ValorOrigen decimal(18,2) NULL, VidaUtil int NULL,
  CUENTA_CONTABLE varchar(15) NULL, CUENTA_EJERCICIO varchar(15) NULL, CUENTA_ACUMULADA varchar(15) NULL))",
    R"(CREATE TABLE [MA_CASH-DETALLE] (ID int IDENTITY(1,1) NOT NULL, IdCash int NOT NULL,
  Concepto varchar(40) NULL, CUENTA varchar(15) NULL, Signo smallint NULL))",
    R"(CREATE TABLE MA_CASH_CTAS_PRINCIPALES (ID int IDENTITY(1,1) NOT NULL, CUENTA varchar(15) NULL,
  Descripcion varchar(60) NULL, Orden int NULL))",
    R"(CREATE TABLE MA_ESTADISTICACTA (ID int IDENTITY(1,1) NOT NULL, CUENTA varchar(15) NULL,
  Periodo char(6) NULL, Debe decimal(18,2) NULL, Haber decimal(18,2) NULL))",
    R"(CREATE TABLE MA_MODELOS (ID int IDENTITY(1,1) NOT NULL, IdModelo int NOT NULL, Descripcion varchar(60) NULL,
  Renglon int NULL, CUENTA varchar(15) NULL, DebeHaber char(1) NULL, Porcentaje decimal(9,2) NULL))",
    R"(CREATE TABLE MA_SUBDIARIOS (ID int IDENTITY(1,1) NOT NULL, IdSubdiario varchar(4) NOT NULL,
  Descripcion varchar(60) NULL, CUENTA varchar(15) NULL, [CUENTA-DESDE] varchar(15) NULL,
  [CUENTA-HASTA] varchar(15) NULL))",
    R"(CREATE TABLE MV_APLICACION (ID int IDENTITY(1,1) NOT NULL, TC varchar(4) NULL, IdComprobante varchar(20) NULL,
  TCAplicado varchar(4) NULL, IdAplicado varchar(20) NULL, CUENTA varchar(15) NULL,
  Importe decimal(18,2) NULL, Fecha datetime NULL))",
    R"(CREATE TABLE MV_ASIENTOS (ID int IDENTITY(1,1) NOT NULL, NroAsiento int NOT NULL, Renglon smallint NOT NULL,
  Fecha datetime NOT NULL, CUENTA varchar(15) NOT NULL, CABCUENTA varchar(15) NULL, Detalle varchar(60) NULL,
  Debe decimal(18,2) NOT NULL DEFAULT (0), Haber decimal(18,2) NOT NULL DEFAULT (0), TC varchar(4) NULL,
  IdComprobante varchar(20) NULL, UNegocio varchar(4) NULL, SucursalCuenta varchar(4) NULL,
  Usuario varchar(20) NULL))",
    R"(CREATE TABLE MV_ASIENTOSCCOSTO (ID int IDENTITY(1,1) NOT NULL, IdAsiento int NULL, CUENTA varchar(15) NULL,
  CCOSTO varchar(10) NULL, Importe decimal(18,2) NULL))",
    R"(CREATE TABLE MV_CALCULO_BIENES (ID int IDENTITY(1,1) NOT NULL, IdBien varchar(10) NULL, Periodo char(6) NULL,
  CUENTA varchar(15) NULL, Importe decimal(18,2) NULL))",
    // Balances per account. Not unique by account: merging two accounts
    // leaves two rows under one code until the balances are recomputed.
    R"(CREATE TABLE MV_SALDOS (ID int IDENTITY(1,1) NOT NULL, CUENTA varchar(15) NOT NULL,
  Debe decimal(18,2) NOT NULL DEFAULT (0), Haber decimal(18,2) NOT NULL DEFAULT (0),
  Saldo decimal(18,2) NOT NULL DEFAULT (0)))",
    R"(CREATE TABLE TA_CUENTAS_COMPROBANTES (ID int IDENTITY(1,1) NOT NULL, TC varchar(4) NULL,
  Descripcion varchar(60) NULL, CUENTA varchar(15) NULL, [CUENTA-DESDE] varchar(15) NULL,
  [CUENTA-HASTA] varchar(15) NULL))",
    R"(CREATE TABLE TA_CUENTASIVA (ID int IDENTITY(1,1) NOT NULL, UNegocio varchar(4) NULL, Descripcion varchar(60) NULL,
  CFI_IVARI varchar(15) NULL, CFI_IVARI1 varchar(15) NULL, CFI_IVARI2 varchar(15) NULL,
  CFI_IVARI3 varchar(15) NULL, CFI_IVARI4 varchar(15) NULL, CFI_IVARI5 varchar(15) NULL,
  CFI_RETPERC varchar(15) NULL, CFI_RETIGAN varchar(15) NULL, CFI_RETIBTOS varchar(15) NULL,
  DFI_IVARI varchar(15) NULL, DFI_IVARNI varchar(15) NULL, DFI_IVAREC varchar(15) NULL,
  DFI_RETPERC varchar(15) NULL, DFI_RETIBTOS varchar(15) NULL, DFI_IVARM varchar(15) NULL,
  DFI_IVACF varchar(15) NULL))",
    R"(CREATE TABLE TA_IMPORTACUENTAS (ID int IDENTITY(1,1) NOT NULL, CodigoExterno varchar(20) NULL,
  Sistema varchar(20) NULL, CUENTA varchar(15) NULL))",
    R"(CREATE TABLE TA_RANGOS_DATOS_ADIC (ID int IDENTITY(1,1) NOT NULL, Descripcion varchar(60) NULL,
  [CUENTA-DESDE] varchar(15) NULL, [CUENTA-HASTA] varchar(15) NULL, DatoAdicional varchar(30) NULL))",
    R"(CREATE TABLE TA_TITCOPIADORES (ID int IDENTITY(1,1) NOT NULL, Titulo varchar(60) NULL,
  DESDE varchar(15) NULL, HASTA varchar(15) NULL))",
    R"(CREATE TABLE V_MA_ARTICULOS (ID int IDENTITY(1,1) NOT NULL, IDARTICULO varchar(25) NOT NULL,
  DESCRIPCION varchar(60) NULL, IdFamilia varchar(10) NULL, CUENTAPROVEEDOR varchar(15) NULL,
  PRECIO1 decimal(18,2) NULL, PRECIO2 decimal(18,2) NULL, SUSPENDIDO bit NULL DEFAULT (0),
  CONSTRAINT PK_V_MA_ARTICULOS PRIMARY KEY (IDARTICULO)))",
    R"(CREATE TABLE V_MV_COMANDA (ID int IDENTITY(1,1) NOT NULL, NroComanda int NULL, Mesa int NULL,
  IdArticulo varchar(25) NULL, Cantidad decimal(18,2) NULL, Importe decimal(18,2) NULL,
  CUENTA varchar(15) NULL))",
    R"(CREATE TABLE V_MV_CPTE (ID int IDENTITY(1,1) NOT NULL, TC varchar(4) NULL, IdComprobante varchar(20) NULL,
  Fecha datetime NULL, CUENTA varchar(15) NULL, CODIGOIMPUTACION varchar(15) NULL,
  SucursalCuenta varchar(4) NULL, Importe decimal(18,2) NULL, UNegocio varchar(4) NULL))",
    R"(CREATE TABLE V_MV_CpteEnComision (ID int IDENTITY(1,1) NOT NULL, TC varchar(4) NULL,
  IdComprobante varchar(20) NULL, CUENTA varchar(15) NULL, Importe decimal(18,2) NULL,
  Comision decimal(9,2) NULL))",
    R"(CREATE TABLE V_MV_CpteTerceros (ID int IDENTITY(1,1) NOT NULL, TC varchar(4) NULL,
  IdComprobante varchar(20) NULL, CUENTA varchar(15) NULL, Importe decimal(18,2) NULL,
  Tercero varchar(60) NULL))",
    R"(CREATE TABLE v_mv_creales (ID int IDENTITY(1,1) NOT NULL, Fecha datetime NULL, CUENTA varchar(15) NULL,
  Importe decimal(18,2) NULL, Detalle varchar(60) NULL))",
    R"(CREATE TABLE V_MV_Diarios (ID int IDENTITY(1,1) NOT NULL, IdDiario varchar(4) NULL, Fecha datetime NULL,
  CUENTA varchar(15) NULL, Debe decimal(18,2) NULL, Haber decimal(18,2) NULL))",
    R"(CREATE TABLE V_MV_STOCK (ID int IDENTITY(1,1) NOT NULL, IdArticulo varchar(25) NULL, IdDeposito int NULL,
  Cantidad decimal(18,2) NULL, CUENTAPROVEEDOR varchar(15) NULL))",
    R"(CREATE TABLE V_TA_CTRL_CHEQUERAS (ID int IDENTITY(1,1) NOT NULL, Banco varchar(40) NULL, NroDesde int NULL,
  NroHasta int NULL, CUENTABANCO varchar(15) NULL, CUENTABANCODIFERIDO varchar(15) NULL))",
    R"(CREATE TABLE V_TA_CuentasComision (ID int IDENTITY(1,1) NOT NULL, Descripcion varchar(60) NULL,
  CUENTA varchar(15) NULL, Porcentaje decimal(9,2) NULL))",
    R"(CREATE TABLE V_TA_Input_Compras (ID int IDENTITY(1,1) NOT NULL, UNegocio varchar(4) NULL,
  Repuestos varchar(15) NULL, Servicios varchar(15) NULL, Otros varchar(15) NULL))",
    R"(CREATE TABLE V_TA_Input_Ventas (ID int IDENTITY(1,1) NOT NULL, UNegocio varchar(4) NULL,
  Repuestos varchar(15) NULL, Servicios varchar(15) NULL, Otros varchar(15) NULL))",
    R"(CREATE TABLE C_MV_Cpte (ID int IDENTITY(1,1) NOT NULL, TC varchar(4) NULL, IdComprobante varchar(20) NULL,
  Fecha datetime NULL, CUENTA varchar(15) NULL, CodigoImputacion varchar(15) NULL,
  SucursalCuenta varchar(4) NULL, Importe decimal(18,2) NULL))",
    R"(CREATE TABLE C_MV_CPTE_OBSERV (ID int IDENTITY(1,1) NOT NULL, TC varchar(4) NULL,
  IdComprobante varchar(20) NULL, CUENTA varchar(15) NULL, Observacion varchar(200) NULL))",
    R"(CREATE TABLE C_MV_CpteInsumos (ID int IDENTITY(1,1) NOT NULL, IdComprobante varchar(20) NULL,
  IdArticulo varchar(25) NULL, Cantidad decimal(18,2) NULL, CUENTA varchar(15) NULL))",
    R"(CREATE TABLE C_MV_CpteTareas (ID int IDENTITY(1,1) NOT NULL, IdComprobante varchar(20) NULL,
  IdTarea varchar(10) NULL, Horas decimal(9,2) NULL, CUENTA varchar(15) NULL))",
    R"(CREATE TABLE C_Proveedores_CCompra (ID int IDENTITY(1,1) NOT NULL, IDPROVEEDOR varchar(15) NULL,
  IdCentroCompra varchar(10) NULL, Descripcion varchar(60) NULL))",
    R"(CREATE TABLE Control_MV_Calculo (ID int IDENTITY(1,1) NOT NULL, Periodo char(6) NULL, CUENTA varchar(15) NULL,
  FechaCalculo datetime NULL, Usuario varchar(20) NULL))",
    R"(CREATE TABLE EM_LibroRojo (ID int IDENTITY(1,1) NOT NULL, Fecha datetime NULL, CUENTA varchar(15) NULL,
  Detalle varchar(60) NULL, Importe decimal(18,2) NULL))",

    // Settings, users, menu and the suite's records.
    R"(CREATE TABLE TA_CONFIGURACION (ID int IDENTITY(1,1) NOT NULL, Grupo varchar(50) NULL,
  Clave varchar(50) NOT NULL, Valor varchar(255) NULL, ValorAux varchar(255) NULL,
  PoliticaNegocio bit NULL DEFAULT (0), CONSTRAINT PK_TA_CONFIGURACION PRIMARY KEY (Clave)))",
    R"(CREATE TABLE TA_USUARIOS (ID int IDENTITY(1,1) NOT NULL, NOMBRE varchar(20) NOT NULL,
  SISTEMA varchar(10) NOT NULL, Password varchar(255) NULL, NombreCompleto varchar(60) NULL,
  Administrador bit NULL DEFAULT (0), UNegocio varchar(4) NULL, verproforma bit NULL DEFAULT (0),
  clasepusa int NULL, FechaAlta datetime NULL,
  CONSTRAINT PK_TA_USUARIOS PRIMARY KEY (NOMBRE, SISTEMA)))",
    R"(CREATE TABLE TA_MENU (ID int IDENTITY(1,1) NOT NULL, Clave varchar(20) NOT NULL, Nombre varchar(60) NULL,
  Proceso varchar(100) NULL, Padre varchar(20) NULL, Orden int NULL,
  CONSTRAINT PK_TA_MENU PRIMARY KEY (Clave)))",
    R"(CREATE TABLE TA_TAREAS (ID int IDENTITY(1,1) NOT NULL, USUARIO varchar(20) NOT NULL, TAREA varchar(20) NOT NULL,
  CONSTRAINT UQ_TA_TAREAS UNIQUE (USUARIO, TAREA)))",
    R"(CREATE TABLE Control_Acceso (Id int IDENTITY(1,1) NOT NULL, Maquina varchar(50) NULL, Usuario varchar(50) NULL,
  Formulario varchar(100) NULL, Tarea varchar(100) NULL, Ingreso datetime NULL,
  NombreUsuario varchar(60) NULL, EGRESO datetime NULL))",
    R"(CREATE TABLE V_MV_CPTEACCIONES (ID int IDENTITY(1,1) NOT NULL, TC varchar(4) NULL,
  IdComprobante varchar(50) NULL, IdComplemento int NULL, Tipo_accion varchar(2) NULL,
  FECHAHORA datetime NULL, Usuario varchar(50) NULL, PC varchar(50) NULL, SYSTEMUSER varchar(255) NULL,
  Proceso varchar(255) NULL, ProcesoLote varchar(100) NULL, Cuenta varchar(15) NULL))",
    R"(CREATE TABLE AUX_ERR (ID int IDENTITY(1,1) NOT NULL, Proceso varchar(100) NULL, Fecha varchar(20) NULL,
  Error int NULL, Descripcion varchar(250) NULL, sql text NULL, PC varchar(50) NULL,
  Usuario varchar(50) NULL))",
    // A plain table: the list window inserts into it.
    R"(CREATE TABLE V_MV_FALTANTES (ID int IDENTITY(1,1) NOT NULL, FechaHora datetime NULL,
  IdArticulo varchar(25) NULL, Descripcion varchar(60) NULL, Usuario varchar(50) NULL))",

    // Master tables of the lookups and the restricted views' bases.
    R"(CREATE TABLE TA_UNIDADNEGOCIO (Codigo varchar(4) NOT NULL, Descripcion varchar(60) NULL,
  RazonSocial varchar(60) NULL, Cuit varchar(13) NULL, Domicilio varchar(60) NULL,
  CONSTRAINT PK_TA_UNIDADNEGOCIO PRIMARY KEY (Codigo)))",
    R"(CREATE TABLE V_TA_DEPOSITO (IdDeposito int NOT NULL, Descripcion varchar(60) NULL, Unidad varchar(4) NULL,
  Confidencial bit NULL DEFAULT (0), CONSTRAINT PK_V_TA_DEPOSITO PRIMARY KEY (IdDeposito)))",
    R"(CREATE TABLE V_TA_FAMILIAS (IdFamilia varchar(10) NOT NULL, Descripcion varchar(60) NULL,
  Confidencial bit NULL DEFAULT (0), CONSTRAINT PK_V_TA_FAMILIAS PRIMARY KEY (IdFamilia)))",
    R"(CREATE TABLE V_TA_CAJAS (IdCaja int NOT NULL, Descripcion varchar(60) NULL, UNegocio varchar(4) NULL,
  Confidencial bit NULL DEFAULT (0), CONSTRAINT PK_V_TA_CAJAS PRIMARY KEY (IdCaja)))",
    R"(CREATE TABLE V_TA_VENDEDORES (IDVENDEDOR int NOT NULL, NOMBRE varchar(60) NULL, Comision decimal(9,2) NULL,
  CONSTRAINT PK_V_TA_VENDEDORES PRIMARY KEY (IDVENDEDOR)))",
    R"(CREATE TABLE V_TA_TECNICOS (IDTECNICO int NOT NULL, NOMBRE varchar(60) NULL,
  CONSTRAINT PK_V_TA_TECNICOS PRIMARY KEY (IDTECNICO)))",
    R"(CREATE TABLE V_MA_MANTENIMIENTOS (CODIGO varchar(10) NOT NULL, DESCRIPCION varchar(60) NULL,
  CONSTRAINT PK_V_MA_MANTENIMIENTOS PRIMARY KEY (CODIGO)))",
    R"(CREATE TABLE MA_CONTACTOS (ID int IDENTITY(1,1) NOT NULL, Nombre_y_Apellido varchar(60) NULL,
  Domicilio varchar(60) NULL, Localidad varchar(40) NULL, Telefono varchar(30) NULL))",
    R"(CREATE TABLE V_TA_Tareas (IdTarea varchar(10) NOT NULL, Descripcion varchar(60) NULL,
  CONSTRAINT PK_V_TA_Tareas PRIMARY KEY (IdTarea)))",
    R"(CREATE TABLE V_TA_Unidad (IdUnidad varchar(4) NOT NULL, Descripcion varchar(40) NULL,
  CONSTRAINT PK_V_TA_Unidad PRIMARY KEY (IdUnidad)))",
    R"(CREATE TABLE V_TA_STATUS (CodigoEstado varchar(4) NOT NULL, Descripcion varchar(40) NULL, Tipo varchar(10) NULL,
  CONSTRAINT PK_V_TA_STATUS PRIMARY KEY (CodigoEstado)))",
    R"(CREATE TABLE MA_POSICIONES (IDPOSICION varchar(15) NOT NULL, Descripcion varchar(60) NULL,
  CONSTRAINT PK_MA_POSICIONES PRIMARY KEY (IDPOSICION)))",
    R"(CREATE TABLE TA_CCOSTO (CODIGO varchar(10) NOT NULL, Descripcion varchar(60) NULL,
  CONSTRAINT PK_TA_CCOSTO PRIMARY KEY (CODIGO)))",
};

// Every column that holds an account code gets an index: the recoder runs one
// UPDATE per column and pair.
const char *const Indices[] = {
    "CREATE INDEX IX_MA_CUENTASSUC_CODIGO ON MA_CUENTASSUC (CODIGO)",
    "CREATE INDEX IX_MA_BIENES_CUENTA_CONTABLE ON MA_BIENES (CUENTA_CONTABLE)",
    "CREATE INDEX IX_MA_BIENES_CUENTA_EJERCICIO ON MA_BIENES (CUENTA_EJERCICIO)",
    "CREATE INDEX IX_MA_BIENES_CUENTA_ACUMULADA ON MA_BIENES (CUENTA_ACUMULADA)",
    "CREATE INDEX IX_MA_CASH_DETALLE_CUENTA ON [MA_CASH-DETALLE] (CUENTA)",
    "CREATE INDEX IX_MA_CASH_CTAS_PRINCIPALES_CUENTA ON MA_CASH_CTAS_PRINCIPALES (CUENTA)",
    "CREATE INDEX IX_MA_ESTADISTICACTA_CUENTA ON MA_ESTADISTICACTA (CUENTA)",
    "CREATE INDEX IX_MA_MODELOS_CUENTA ON MA_MODELOS (CUENTA)",
    "CREATE INDEX IX_MA_SUBDIARIOS_CUENTA ON MA_SUBDIARIOS (CUENTA)",
    "CREATE INDEX IX_MA_SUBDIARIOS_CUENTA_DESDE ON MA_SUBDIARIOS ([CUENTA-DESDE])",
    "CREATE INDEX IX_MA_SUBDIARIOS_CUENTA_HASTA ON MA_SUBDIARIOS ([CUENTA-HASTA])",
    "CREATE INDEX IX_MV_APLICACION_CUENTA ON MV_APLICACION (CUENTA)",
    "CREATE INDEX IX_MV_ASIENTOS_CUENTA ON MV_ASIENTOS (CUENTA)",
    "CREATE INDEX IX_MV_ASIENTOS_CABCUENTA ON MV_ASIENTOS (CABCUENTA)",
    "CREATE INDEX IX_MV_ASIENTOS_NROASIENTO ON MV_ASIENTOS (NroAsiento)",
    "CREATE INDEX IX_MV_ASIENTOSCCOSTO_CUENTA ON MV_ASIENTOSCCOSTO (CUENTA)",
    "CREATE INDEX IX_MV_CALCULO_BIENES_CUENTA ON MV_CALCULO_BIENES (CUENTA)",
    "CREATE INDEX IX_MV_SALDOS_CUENTA ON MV_SALDOS (CUENTA)",
    "CREATE INDEX IX_TA_CUENTAS_COMPROBANTES_CUENTA ON TA_CUENTAS_COMPROBANTES (CUENTA)",
    "CREATE INDEX IX_TA_CUENTAS_COMPROBANTES_DESDE ON TA_CUENTAS_COMPROBANTES ([CUENTA-DESDE])",
    "CREATE INDEX IX_TA_CUENTAS_COMPROBANTES_HASTA ON TA_CUENTAS_COMPROBANTES ([CUENTA-HASTA])",
    "CREATE INDEX IX_TA_CUENTASIVA_CFI_IVARI ON TA_CUENTASIVA (CFI_IVARI)",
    "CREATE INDEX IX_TA_CUENTASIVA_CFI_IVARI1 ON TA_CUENTASIVA (CFI_IVARI1)",
    "CREATE INDEX IX_TA_CUENTASIVA_CFI_IVARI2 ON TA_CUENTASIVA (CFI_IVARI2)",
    "CREATE INDEX IX_TA_CUENTASIVA_CFI_IVARI3 ON TA_CUENTASIVA (CFI_IVARI3)",
    "CREATE INDEX IX_TA_CUENTASIVA_CFI_IVARI4 ON TA_CUENTASIVA (CFI_IVARI4)",
    "CREATE INDEX IX_TA_CUENTASIVA_CFI_IVARI5 ON TA_CUENTASIVA (CFI_IVARI5)",
    "CREATE INDEX IX_TA_CUENTASIVA_CFI_RETPERC ON TA_CUENTASIVA (CFI_RETPERC)",
    "CREATE INDEX IX_TA_CUENTASIVA_CFI_RETIGAN ON TA_CUENTASIVA (CFI_RETIGAN)",
    "CREATE INDEX IX_TA_CUENTASIVA_CFI_RETIBTOS ON TA_CUENTASIVA (CFI_RETIBTOS)",
    "CREATE INDEX IX_TA_CUENTASIVA_DFI_IVARI ON TA_CUENTASIVA (DFI_IVARI)",
    "CREATE INDEX IX_TA_CUENTASIVA_DFI_IVARNI ON TA_CUENTASIVA (DFI_IVARNI)",
    "CREATE INDEX IX_TA_CUENTASIVA_DFI_IVAREC ON TA_CUENTASIVA (DFI_IVAREC)",
    "CREATE INDEX IX_TA_CUENTASIVA_DFI_RETPERC ON TA_CUENTASIVA (DFI_RETPERC)",
    "CREATE INDEX IX_TA_CUENTASIVA_DFI_RETIBTOS ON TA_CUENTASIVA (DFI_RETIBTOS)",
    "CREATE INDEX IX_TA_CUENTASIVA_DFI_IVARM ON TA_CUENTASIVA (DFI_IVARM)",
    "CREATE INDEX IX_TA_CUENTASIVA_DFI_IVACF ON TA_CUENTASIVA (DFI_IVACF)",
    "CREATE INDEX IX_TA_IMPORTACUENTAS_CUENTA ON TA_IMPORTACUENTAS (CUENTA)",
    "CREATE INDEX IX_TA_RANGOS_DATOS_ADIC_DESDE ON TA_RANGOS_DATOS_ADIC ([CUENTA-DESDE])",
    "CREATE INDEX IX_TA_RANGOS_DATOS_ADIC_HASTA ON TA_RANGOS_DATOS_ADIC ([CUENTA-HASTA])",
    "CREATE INDEX IX_TA_TITCOPIADORES_DESDE ON TA_TITCOPIADORES (DESDE)",
    "CREATE INDEX IX_TA_TITCOPIADORES_HASTA ON TA_TITCOPIADORES (HASTA)",
    "CREATE INDEX IX_V_MA_ARTICULOS_CUENTAPROVEEDOR ON V_MA_ARTICULOS (CUENTAPROVEEDOR)",
    "CREATE INDEX IX_V_MV_COMANDA_CUENTA ON V_MV_COMANDA (CUENTA)",
    "CREATE INDEX IX_V_MV_CPTE_CUENTA ON V_MV_CPTE (CUENTA)",
    "CREATE INDEX IX_V_MV_CPTE_CODIGOIMPUTACION ON V_MV_CPTE (CODIGOIMPUTACION)",
    "CREATE INDEX IX_V_MV_CpteEnComision_CUENTA ON V_MV_CpteEnComision (CUENTA)",
    "CREATE INDEX IX_V_MV_CpteTerceros_CUENTA ON V_MV_CpteTerceros (CUENTA)",
    "CREATE INDEX IX_v_mv_creales_CUENTA ON v_mv_creales (CUENTA)",
    "CREATE INDEX IX_V_MV_Diarios_CUENTA ON V_MV_Diarios (CUENTA)",
    "CREATE INDEX IX_V_MV_STOCK_CUENTAPROVEEDOR ON V_MV_STOCK (CUENTAPROVEEDOR)",
    "CREATE INDEX IX_V_TA_CTRL_CHEQUERAS_CUENTABANCO ON V_TA_CTRL_CHEQUERAS (CUENTABANCO)",
    "CREATE INDEX IX_V_TA_CTRL_CHEQUERAS_DIFERIDO ON V_TA_CTRL_CHEQUERAS (CUENTABANCODIFERIDO)",
    "CREATE INDEX IX_V_TA_CuentasComision_CUENTA ON V_TA_CuentasComision (CUENTA)",
    "CREATE INDEX IX_V_TA_Input_Compras_Repuestos ON V_TA_Input_Compras (Repuestos)",
    "CREATE INDEX IX_V_TA_Input_Compras_Servicios ON V_TA_Input_Compras (Servicios)",
    "CREATE INDEX IX_V_TA_Input_Compras_Otros ON V_TA_Input_Compras (Otros)",
    "CREATE INDEX IX_V_TA_Input_Ventas_Repuestos ON V_TA_Input_Ventas (Repuestos)",
    "CREATE INDEX IX_V_TA_Input_Ventas_Servicios ON V_TA_Input_Ventas (Servicios)",
    "CREATE INDEX IX_V_TA_Input_Ventas_Otros ON V_TA_Input_Ventas (Otros)",
    "CREATE INDEX IX_C_MV_Cpte_CUENTA ON C_MV_Cpte (CUENTA)",
    "CREATE INDEX IX_C_MV_Cpte_CodigoImputacion ON C_MV_Cpte (CodigoImputacion)",
    "CREATE INDEX IX_C_MV_CPTE_OBSERV_CUENTA ON C_MV_CPTE_OBSERV (CUENTA)",
    "CREATE INDEX IX_C_MV_CpteInsumos_CUENTA ON C_MV_CpteInsumos (CUENTA)",
    "CREATE INDEX IX_C_MV_CpteTareas_CUENTA ON C_MV_CpteTareas (CUENTA)",
    "CREATE INDEX IX_C_Proveedores_CCompra_IDPROVEEDOR ON C_Proveedores_CCompra (IDPROVEEDOR)",
    "CREATE INDEX IX_Control_MV_Calculo_CUENTA ON Control_MV_Calculo (CUENTA)",
    "CREATE INDEX IX_EM_LibroRojo_CUENTA ON EM_LibroRojo (CUENTA)",
    "CREATE INDEX IX_TA_TAREAS_USUARIO ON TA_TAREAS (USUARIO)",
};

// Views only read by the program: daily totals, the restricted views that
// replace the shared objects for users who are not administrators, and the
// lookups' own views.
const char *const Vistas[] = {
    R"(CREATE VIEW AC_CUENTASDIARIO AS SELECT CUENTA, Fecha, SUM(Debe) AS Debe, SUM(Haber) AS Haber,
  COUNT(*) AS Renglones FROM MV_ASIENTOS GROUP BY CUENTA, Fecha)",
    R"(CREATE VIEW AC_CUENTASDIARIO_CCOSTO AS SELECT c.CUENTA, a.Fecha, c.CCOSTO, SUM(c.Importe) AS Importe
  FROM MV_ASIENTOSCCOSTO c INNER JOIN MV_ASIENTOS a ON a.ID = c.IdAsiento GROUP BY c.CUENTA, a.Fecha, c.CCOSTO)",
    "CREATE VIEW SS_MA_CUENTAS AS SELECT * FROM MA_CUENTAS WHERE isnull(Confidencial, 0) = 0",
    R"(CREATE VIEW SS_MV_ASIENTOS AS SELECT a.* FROM MV_ASIENTOS a
  WHERE a.CUENTA IN (SELECT CODIGO FROM SS_MA_CUENTAS))",
    "CREATE VIEW SS_V_TA_DEPOSITO AS SELECT * FROM V_TA_DEPOSITO WHERE isnull(Confidencial, 0) = 0",
    "CREATE VIEW SS_V_TA_FAMILIAS AS SELECT * FROM V_TA_FAMILIAS WHERE isnull(Confidencial, 0) = 0",
    "CREATE VIEW SS_V_TA_CAJAS AS SELECT * FROM V_TA_CAJAS WHERE isnull(Confidencial, 0) = 0",
    R"(CREATE VIEW SS_AC_CUENTASDIARIO AS SELECT d.* FROM AC_CUENTASDIARIO d
  WHERE d.CUENTA IN (SELECT CODIGO FROM SS_MA_CUENTAS))",
    R"(CREATE VIEW SS_AC_CUENTAS_DIARIO_CCOSTO AS SELECT d.* FROM AC_CUENTASDIARIO_CCOSTO d
  WHERE d.CUENTA IN (SELECT CODIGO FROM SS_MA_CUENTAS))",
    R"(CREATE VIEW VT_MA_ARTICULOS AS SELECT IDARTICULO, DESCRIPCION, IdFamilia, CUENTAPROVEEDOR, PRECIO1, PRECIO2,
  SUSPENDIDO FROM V_MA_ARTICULOS)",
    R"(CREATE VIEW V_TA_UnidadNegocio AS SELECT Codigo, Descripcion, RazonSocial, Cuit, Domicilio
  FROM TA_UNIDADNEGOCIO)",
};

// The journal keeps the balances up to date, one row per account (the first
// one when a merge left several). Written in the file's own trigger syntax.
const char *const Disparadores[] = {
    R"(CREATE TRIGGER TR_MV_ASIENTOS_ALTA AFTER INSERT ON MV_ASIENTOS
BEGIN
  UPDATE MV_SALDOS SET Debe = Debe + ifnull(NEW.Debe, 0), Haber = Haber + ifnull(NEW.Haber, 0),
         Saldo = Saldo + ifnull(NEW.Debe, 0) - ifnull(NEW.Haber, 0)
   WHERE ID = (SELECT MIN(ID) FROM MV_SALDOS WHERE CUENTA = NEW.CUENTA);
  INSERT INTO MV_SALDOS (CUENTA, Debe, Haber, Saldo)
  SELECT NEW.CUENTA, ifnull(NEW.Debe, 0), ifnull(NEW.Haber, 0), ifnull(NEW.Debe, 0) - ifnull(NEW.Haber, 0)
   WHERE NOT EXISTS (SELECT 1 FROM MV_SALDOS WHERE CUENTA = NEW.CUENTA);
END)",
    R"(CREATE TRIGGER TR_MV_ASIENTOS_BAJA AFTER DELETE ON MV_ASIENTOS
BEGIN
  UPDATE MV_SALDOS SET Debe = Debe - ifnull(OLD.Debe, 0), Haber = Haber - ifnull(OLD.Haber, 0),
         Saldo = Saldo - ifnull(OLD.Debe, 0) + ifnull(OLD.Haber, 0)
   WHERE ID = (SELECT MIN(ID) FROM MV_SALDOS WHERE CUENTA = OLD.CUENTA);
END)",
    R"(CREATE TRIGGER TR_MV_ASIENTOS_MODIFICACION AFTER UPDATE OF CUENTA, Debe, Haber ON MV_ASIENTOS
BEGIN
  UPDATE MV_SALDOS SET Debe = Debe - ifnull(OLD.Debe, 0), Haber = Haber - ifnull(OLD.Haber, 0),
         Saldo = Saldo - ifnull(OLD.Debe, 0) + ifnull(OLD.Haber, 0)
   WHERE ID = (SELECT MIN(ID) FROM MV_SALDOS WHERE CUENTA = OLD.CUENTA);
  UPDATE MV_SALDOS SET Debe = Debe + ifnull(NEW.Debe, 0), Haber = Haber + ifnull(NEW.Haber, 0),
         Saldo = Saldo + ifnull(NEW.Debe, 0) - ifnull(NEW.Haber, 0)
   WHERE ID = (SELECT MIN(ID) FROM MV_SALDOS WHERE CUENTA = NEW.CUENTA);
  INSERT INTO MV_SALDOS (CUENTA, Debe, Haber, Saldo)
  SELECT NEW.CUENTA, ifnull(NEW.Debe, 0), ifnull(NEW.Haber, 0), ifnull(NEW.Debe, 0) - ifnull(NEW.Haber, 0)
   WHERE NOT EXISTS (SELECT 1 FROM MV_SALDOS WHERE CUENTA = NEW.CUENTA);
END)",
};

// ---------------------------------------------------------------------------
// The chart of accounts. Levels follow the code's segments; the fourth level
// takes journal lines.

struct Cuenta {
  const char *codigo;
  const char *descripcion;
};

const Cuenta Plan[] = {
    {"1", "ACTIVO"},
    {"1.1", "ACTIVO CORRIENTE"},
    {"1.1.01", "Caja y bancos"},
    {"1.1.01.001", "Caja"},
    {"1.1.01.002", "Caja chica"},
    {"1.1.01.003", "Fondo fijo"},
    {"1.1.01.004", "Valores a depositar"},
    {"1.1.01.005", "Banco Nación cuenta corriente"},
    {"1.1.01.006", "Banco Provincia cuenta corriente"},
    {"1.1.01.007", "Banco Galicia caja de ahorro en dólares"},
    {"1.1.01.008", "Cheques de terceros en cartera"},
    {"1.1.02", "Inversiones temporarias"},
    {"1.1.02.001", "Plazo fijo Banco Nación"},
    {"1.1.02.002", "Fondos comunes de inversión"},
    {"1.1.03", "Créditos por ventas"},
    {"1.1.03.001", "Deudores por ventas"},
    {"1.1.03.002", "Documentos a cobrar"},
    {"1.1.03.003", "Tarjetas de crédito a cobrar"},
    {"1.1.03.004", "Deudores morosos"},
    {"1.1.03.005", "Previsión para deudores incobrables"},
    {"1.1.03.101", "Ferretería San Martín SRL"},
    {"1.1.03.102", "Distribuidora del Sur SA"},
    {"1.1.03.103", "Pérez, Juan Carlos"},
    {"1.1.04", "Otros créditos"},
    {"1.1.04.001", "IVA crédito fiscal"},
    {"1.1.04.002", "IVA percepciones sufridas"},
    {"1.1.04.003", "Retenciones de ganancias sufridas"},
    {"1.1.04.004", "Retenciones de ingresos brutos sufridas"},
    {"1.1.04.005", "Anticipos a proveedores"},
    {"1.1.04.006", "Anticipos al personal"},
    {"1.1.04.007", "Seguros pagados por adelantado"},
    {"1.1.05", "Bienes de cambio"},
    {"1.1.05.001", "Mercaderías de reventa"},
    {"1.1.05.002", "Materias primas"},
    {"1.1.05.003", "Mercaderías en tránsito"},
    {"1.2", "ACTIVO NO CORRIENTE"},
    {"1.2.01", "Bienes de uso"},
    {"1.2.01.001", "Inmuebles"},
    {"1.2.01.002", "Rodados"},
    {"1.2.01.003", "Muebles y útiles"},
    {"1.2.01.004", "Instalaciones"},
    {"1.2.01.005", "Equipos de computación"},
    {"1.2.01.006", "Amortización acumulada inmuebles"},
    {"1.2.01.007", "Amortización acumulada rodados"},
    {"1.2.01.008", "Amortización acumulada muebles y útiles"},
    {"1.2.01.009", "Amortización acumulada equipos de computación"},
    {"1.2.02", "Activos intangibles"},
    {"1.2.02.001", "Marcas y patentes"},
    {"1.2.02.002", "Software"},
    {"2", "PASIVO"},
    {"2.1", "PASIVO CORRIENTE"},
    {"2.1.01", "Deudas comerciales"},
    {"2.1.01.001", "Proveedores"},
    {"2.1.01.002", "Documentos a pagar"},
    {"2.1.01.003", "Anticipos de clientes"},
    {"2.1.01.004", "Cheques diferidos emitidos"},
    {"2.1.01.101", "Papelera del Norte SA"},
    {"2.1.01.102", "Transportes Andinos SRL"},
    {"2.1.02", "Deudas sociales"},
    {"2.1.02.001", "Sueldos a pagar"},
    {"2.1.02.002", "Cargas sociales a pagar"},
    {"2.1.02.003", "Sindicato a pagar"},
    {"2.1.03", "Deudas fiscales"},
    {"2.1.03.001", "IVA débito fiscal"},
    {"2.1.03.002", "IVA débito fiscal responsables no inscriptos"},
    {"2.1.03.003", "Percepciones de IVA a depositar"},
    {"2.1.03.004", "Percepciones de ingresos brutos a depositar"},
    {"2.1.03.005", "Impuesto a las ganancias a pagar"},
    {"2.1.03.006", "Ingresos brutos a pagar"},
    {"2.1.03.007", "Impuestos internos a pagar"},
    {"2.1.04", "Deudas bancarias y financieras"},
    {"2.1.04.001", "Préstamo Banco Nación"},
    {"2.1.04.002", "Tarjetas de crédito a pagar"},
    {"2.2", "PASIVO NO CORRIENTE"},
    {"2.2.01", "Deudas financieras a largo plazo"},
    {"2.2.01.001", "Préstamo hipotecario"},
    {"3", "PATRIMONIO NETO"},
    {"3.1", "CAPITAL"},
    {"3.1.01", "Aportes de los propietarios"},
    {"3.1.01.001", "Capital social"},
    {"3.1.01.002", "Ajuste de capital"},
    {"3.2", "RESULTADOS ACUMULADOS"},
    {"3.2.01", "Reservas y resultados"},
    {"3.2.01.001", "Reserva legal"},
    {"3.2.01.002", "Resultados no asignados"},
    {"3.2.01.003", "Resultado del ejercicio"},
    {"4", "INGRESOS"},
    {"4.1", "INGRESOS OPERATIVOS"},
    {"4.1.01", "Ventas"},
    {"4.1.01.001", "Ventas de mercaderías"},
    {"4.1.01.002", "Ventas de servicios"},
    {"4.1.01.003", "Ventas de repuestos"},
    {"4.1.01.004", "Otras ventas"},
    {"4.1.01.005", "Descuentos obtenidos"},
    {"4.2", "OTROS INGRESOS"},
    {"4.2.01", "Ingresos financieros"},
    {"4.2.01.001", "Intereses ganados"},
    {"4.2.01.002", "Diferencias de cambio positivas"},
    {"4.2.01.003", "Redondeos"},
    {"5", "EGRESOS"},
    {"5.1", "COSTOS"},
    {"5.1.01", "Costo de ventas"},
    {"5.1.01.001", "Costo de mercaderías vendidas"},
    {"5.1.01.002", "Costo de servicios prestados"},
    {"5.2", "GASTOS"},
    {"5.2.01", "Gastos de administración"},
    {"5.2.01.001", "Sueldos y jornales"},
    {"5.2.01.002", "Cargas sociales"},
    {"5.2.01.003", "Alquileres"},
    {"5.2.01.004", "Honorarios profesionales"},
    {"5.2.01.005", "Energía eléctrica"},
    {"5.2.01.006", "Teléfono e internet"},
    {"5.2.01.007", "Papelería y útiles de oficina"},
    {"5.2.01.008", "Amortizaciones bienes de uso"},
    {"5.2.02", "Gastos de comercialización"},
    {"5.2.02.001", "Publicidad"},
    {"5.2.02.002", "Fletes y acarreos"},
    {"5.2.02.003", "Comisiones sobre ventas"},
    {"5.2.02.004", "Descuentos otorgados"},
    {"5.2.02.005", "Gastos de tarjetas de crédito"},
    {"5.2.02.006", "Deudores incobrables"},
    {"5.2.03", "Gastos financieros e impositivos"},
    {"5.2.03.001", "Intereses pagados"},
    {"5.2.03.002", "Gastos bancarios"},
    {"5.2.03.003", "Impuesto a los ingresos brutos"},
    {"5.2.03.004", "Impuesto a las ganancias"},
    {"5.2.03.005", "Impuesto a los débitos y créditos bancarios"},
};

// Wages and fees are only for administrators (see SS_MA_CUENTAS).
const char *const CuentasConfidenciales[] = {"5.2.01.001", "5.2.01.002", "5.2.01.004"};

// The settings: the accounting keys the recoder rewrites (most hold codes of
// the chart, a few do not), one more account key it must leave alone, and
// the suite's working settings read at start-up.
struct Clave {
  const char *grupo;
  const char *clave;
  const char *valor;
};

const Clave Configuracion[] = {
    {"IVA", "IVACFRESINS", "1.1.04.001"},
    {"IVA", "IVARETPER", "1.1.04.002"},
    {"IVA", "IVADFRESINS", "2.1.03.001"},
    {"IVA", "IVADFRESNOINS", "2.1.03.002"},
    {"IVA", "IVADFACREC", ""},
    {"IVA", "IVADFCONSF", "2.1.03.001"},
    {"IVA", "IVADFMONO", ""},
    {"Contabilidad", "TituloClientes", "1.1.03"},
    {"Contabilidad", "TituloProveedores", "2.1.01"},
    {"Contabilidad", "TituloBancos", "1.1.01"},
    {"Contabilidad", "tituloGastos", "5.2"},
    {"Contabilidad", "tituloTarjetas", "1.1.03.003"},
    {"Contabilidad", "tituloCaja", "1.1.01.001"},
    {"Contabilidad", "tituloIngresos", "4.1"},
    {"Contabilidad", "CtaGastosTarjeta", "5.2.02.005"},
    {"Contabilidad", "TituloBancosDiferido", "2.1.01.004"},
    {"Contabilidad", "TituloAnticipoClientes", "2.1.01.003"},
    {"Contabilidad", "TituloAnticipoProveedores", "1.1.04.005"},
    {"Contabilidad", "CUENTA_CAJA", "1.1.01.001"},
    {"Contabilidad", "CUENTA_CHEQUES3ROS", "1.1.01.008"},
    {"Contabilidad", "CuentaDesCuentosOtorgados", "5.2.02.004"},
    {"Contabilidad", "CuentaPercepcionIVA", "2.1.03.003"},
    {"Contabilidad", "CuentaPercepcionIB", "2.1.03.004"},
    {"Contabilidad", "CuentaImpuestoInterno", "2.1.03.007"},
    {"Contabilidad", "CuentaNetoGravado", "NO"},
    {"Contabilidad", "CuentaNetoNOGravado", " "},
    {"Contabilidad", "CuentaVentasDefaultIns", "4.1.01.003"},
    {"Contabilidad", "CuentaVentasDefaultOtros", "4.1.01.004"},
    {"Contabilidad", "CuentaVentasDefaultServ", "4.1.01.002"},
    {"Contabilidad", "CuentaDesCuentosRecibidos", "4.1.01.005"},
    {"Contabilidad", "CompraCuentaRedondeo", "4.2.01.003"},
    {"Contabilidad", "CuentaConsunmidorFinal", "1.1.03.001"},
    {"Contabilidad", "CuentaCtroDist", "0"},
    {"Contabilidad", "CuentaResultadoEjercicio", "3.2.01.003"},
    {"General", "SS_CONFIDENCIALIDAD", "NO"},
    {"General", "UTILIZARFECHADIA", "NO"},
    {"General", "PERIODO", "2024"},
    {"General", "CONDIVAEMPRESA", "1"},
    {"General", "CantidadDecimales", "2"},
    {"General", "CantidadDecimalesVentas", "2"},
    {"General", "UsaMultilesMonedas", "NO"},
    {"General", "UsaFacturaProforma", "NO"},
    {"General", "USACCOSTO", "SI"},
    {"General", "RazonSocialPorUneg", "NO"},
    {"General", "ModuloOrdenDeTrabajo", "NO"},
    {"General", "MADERERA", "NO"},
    {"Consultas", "UsaConsultaLike", "SI"},
    {"Consultas", "MostrarStockenConsultas", "NO"},
    {"Consultas", "EXIGECLAVECONSULTALIKEARTICULOS", "NO"},
    {"Consultas", "Top_Default", "1000"},
    {"Apariencia", "CFondo", "0"},
    {"Apariencia", "CLetra", "0"},
    {"Apariencia", "THEME", "1"},
};

// Rows of the other tables: each account column names an account of the
// chart, so a recode has something to move everywhere.
const char *const Datos[] = {
    R"(INSERT INTO MA_CUENTASADIC (CODIGO, Presupuesto, Responsable, Agrupador, FechaModificacion) VALUES
  ('1.1.01.001', 50000, 'Tesorería', 'DISPONIBILIDADES', '2024-01-02 09:00:00'),
  ('1.1.01.005', 1500000, 'Tesorería', 'DISPONIBILIDADES', '2024-01-02 09:00:00'),
  ('1.1.03.001', 3000000, 'Cuentas a cobrar', 'CREDITOS', '2024-01-02 09:00:00'),
  ('2.1.01.001', 2500000, 'Cuentas a pagar', 'DEUDAS', '2024-01-02 09:00:00'),
  ('4.1.01.001', 12000000, 'Comercial', 'VENTAS', '2024-01-02 09:00:00'),
  ('5.2.01.003', 900000, 'Administración', 'GASTOS', '2024-01-02 09:00:00'))",
    R"(INSERT INTO TA_CCOSTO (CODIGO, Descripcion) VALUES ('01', 'Administración'), ('01.01', 'Contaduría'),
  ('01.02', 'Recursos humanos'), ('02', 'Comercialización'), ('02.01', 'Ventas mostrador'),
  ('02.02', 'Ventas mayoristas'))",
    R"(INSERT INTO MA_CUENTASCCOSTO (CODIGO, CCOSTO, Porcentaje) VALUES ('5.2.01.001', '01.01', 60),
  ('5.2.01.001', '01.02', 40), ('5.2.01.003', '01', 100), ('5.2.02.001', '02', 100),
  ('5.2.02.003', '02.01', 70), ('5.2.02.003', '02.02', 30))",
    R"(INSERT INTO VT_CLIENTES (CODIGO, RAZON_SOCIAL, CONTACTO, CALLE, NUMERO, CPOSTAL, LOCALIDAD, PROVINCIA, PAIS,
  TELEFONO, MAIL, DOCUMENTO_TIPO, NUMERO_DOCUMENTO, IVA, Limite_Credito, idCond_Cpra_Vta, IdLista, IdVendedor,
  ExentoIvaServicios, ExentoIvaArticulos, ExentoIVAOtros, Descuento, Dada_De_Baja, Moneda, Bloqueo,
  FechaHora_Grabacion) VALUES
  ('1.1.03.101', 'Ferretería San Martín SRL', 'Marta Gómez', 'Av. San Martín', '1450', '5500', 'Mendoza',
   'Mendoza', 'Argentina', '0261-4231234', 'compras@ferreteriasm.com.ar', 'CUIT', '30-71234567-9', 'RI',
   500000, 1, 1, 1, 0, 0, 0, 5, 0, 'ARS', 0, '2023-03-01 10:00:00'),
  ('1.1.03.102', 'Distribuidora del Sur SA', 'Raúl Fernández', 'Ruta 40 km 3', 'S/N', '5501', 'Godoy Cruz',
   'Mendoza', 'Argentina', '0261-4998877', 'pagos@delsur.com.ar', 'CUIT', '30-70987654-3', 'RI',
   1200000, 2, 2, 2, 0, 0, 0, 0, 0, 'ARS', 0, '2023-05-12 11:30:00'),
  ('1.1.03.103', 'Pérez, Juan Carlos', 'Juan Carlos Pérez', 'Belgrano', '233', '5570', 'San Martín',
   'Mendoza', 'Argentina', '0263-4420011', NULL, 'DNI', '20123456', 'CF',
   50000, 1, 1, 1, NULL, NULL, NULL, 0, 0, 'ARS', 0, '2023-08-20 16:15:00'),
  ('C0001', 'Almacén La Esquina', 'Rosa Díaz', 'Mitre', '87', '5600', 'San Rafael', 'Mendoza', 'Argentina',
   '0260-4425566', NULL, 'CUIT', '27-23456789-4', 'MT', 80000, 1, 1, 2, 0, 0, 0, 0, 0, 'ARS', 0,
   '2023-09-01 09:00:00'),
  ('C0002', 'Constructora Los Andes SA', 'Ing. Pablo Ruiz', 'Emilio Civit', '1020', '5500', 'Mendoza',
   'Mendoza', 'Argentina', '0261-4256677', 'obras@losandes.com.ar', 'CUIT', '30-65432109-8', 'RI',
   0, 2, 2, 1, 0, 0, 0, 0, 1, 'ARS', 1, '2021-02-10 12:00:00'))",
    R"(INSERT INTO VT_PROVEEDORES (CODIGO, RAZON_SOCIAL, CONTACTO, CALLE, NUMERO, CPOSTAL, LOCALIDAD, PROVINCIA,
  PAIS, TELEFONO, MAIL, DOCUMENTO_TIPO, NUMERO_DOCUMENTO, IVA, idCond_Cpra_Vta, Dada_De_Baja, Moneda,
  ProveedorLocal, ProveedorCompartido, FechaHora_Grabacion) VALUES
  ('2.1.01.101', 'Papelera del Norte SA', 'Hugo Salinas', 'Av. Mitre', '3100', '4000',
   'San Miguel de Tucumán', 'Tucumán', 'Argentina', '0381-4301122', 'ventas@papeleranorte.com.ar', 'CUIT',
   '30-70111222-5', 'RI', 3, 0, 'ARS', 0, 0, '2022-11-03 08:45:00'),
  ('2.1.01.102', 'Transportes Andinos SRL', 'Laura Quiroga', 'Acceso Este', '2500', '5519', 'Guaymallén',
   'Mendoza', 'Argentina', '0261-4312233', 'admin@tandinos.com.ar', 'CUIT', '30-71555666-1', 'RI', 2, 0,
   'ARS', 1, 0, '2023-01-15 14:20:00'),
  ('P0001', 'Librería Central', 'Ana Torres', 'Patricias Mendocinas', '1210', '5500', 'Mendoza', 'Mendoza',
   'Argentina', '0261-4235544', NULL, 'CUIT', '20-22333444-6', 'MT', 1, 0, 'ARS', 1, 0,
   '2023-06-01 10:10:00'))",
    R"(INSERT INTO MA_CUENTASSUC (CODIGO, RAZON_SOCIAL, CONTACTO, LOCALIDAD, PROVINCIA, PAIS, IVA, Dada_De_Baja,
  Moneda, ExentoIvaServicios, ExentoIvaArticulos, ExentoIVAOtros, Sucursal) VALUES
  ('1.1.03.101', 'Ferretería San Martín SRL', 'Marta Gómez', 'Mendoza', 'Mendoza', 'Argentina', 'RI', 0, 'ARS',
   0, 0, 0, '0001'))",
    R"(INSERT INTO MA_BIENES (IdBien, Descripcion, FechaCompra, ValorOrigen, VidaUtil, CUENTA_CONTABLE,
  CUENTA_EJERCICIO, CUENTA_ACUMULADA) VALUES
  ('B0001', 'Local comercial Av. Las Heras 455', '2015-06-30 00:00:00', 45000000, 50, '1.2.01.001',
   '5.2.01.008', '1.2.01.006'),
  ('B0002', 'Utilitario Renault Kangoo', '2021-03-15 00:00:00', 9500000, 5, '1.2.01.002', '5.2.01.008',
   '1.2.01.007'),
  ('B0003', 'Mostrador y estanterías', '2019-08-01 00:00:00', 1800000, 10, '1.2.01.003', '5.2.01.008',
   '1.2.01.008'),
  ('B0004', 'Servidor y puestos de trabajo', '2022-02-10 00:00:00', 4200000, 3, '1.2.01.005', '5.2.01.008',
   '1.2.01.009'))",
    R"(INSERT INTO [MA_CASH-DETALLE] (IdCash, Concepto, CUENTA, Signo) VALUES (1, 'Cobranzas', '1.1.03.001', 1),
  (1, 'Ventas contado', '4.1.01.001', 1), (1, 'Pago a proveedores', '2.1.01.001', -1),
  (1, 'Sueldos', '2.1.02.001', -1), (1, 'Impuestos', '2.1.03.006', -1))",
    R"(INSERT INTO MA_CASH_CTAS_PRINCIPALES (CUENTA, Descripcion, Orden) VALUES ('1.1.01.001', 'Caja', 1),
  ('1.1.01.005', 'Banco Nación cuenta corriente', 2), ('1.1.01.006', 'Banco Provincia cuenta corriente', 3))",
    R"(INSERT INTO MA_ESTADISTICACTA (CUENTA, Periodo, Debe, Haber) VALUES ('4.1.01.001', '202401', 0, 1850000),
  ('4.1.01.001', '202402', 0, 1720000), ('5.2.01.001', '202401', 980000, 0),
  ('5.2.01.001', '202402', 985000, 0))",
    R"(INSERT INTO MA_MODELOS (IdModelo, Descripcion, Renglon, CUENTA, DebeHaber, Porcentaje) VALUES
  (1, 'Liquidación de sueldos', 1, '5.2.01.001', 'D', 100), (1, 'Liquidación de sueldos', 2, '5.2.01.002', 'D', 23),
  (1, 'Liquidación de sueldos', 3, '2.1.02.001', 'H', 100), (1, 'Liquidación de sueldos', 4, '2.1.02.002', 'H', 23),
  (2, 'Amortizaciones', 1, '5.2.01.008', 'D', 100), (2, 'Amortizaciones', 2, '1.2.01.007', 'H', 100))",
    R"(INSERT INTO MA_SUBDIARIOS (IdSubdiario, Descripcion, CUENTA, [CUENTA-DESDE], [CUENTA-HASTA]) VALUES
  ('VTA', 'Subdiario de ventas', '4.1.01.001', '4.1.01.001', '4.1.01.005'),
  ('CPR', 'Subdiario de compras', '2.1.01.001', '2.1.01.001', '2.1.01.102'),
  ('CAJ', 'Subdiario de caja', '1.1.01.001', '1.1.01.001', '1.1.01.008'))",
    R"(INSERT INTO MV_APLICACION (TC, IdComprobante, TCAplicado, IdAplicado, CUENTA, Importe, Fecha) VALUES
  ('RC', '0001-00000012', 'FC', '0001-00000101', '1.1.03.101', 125000, '2024-02-05 00:00:00'),
  ('RC', '0001-00000013', 'FC', '0001-00000102', '1.1.03.102', 348500.5, '2024-02-07 00:00:00'),
  ('OP', '0001-00000040', 'FCC', '0003-00004521', '2.1.01.101', 87300, '2024-02-10 00:00:00'))",
    R"(INSERT INTO MV_CALCULO_BIENES (IdBien, Periodo, CUENTA, Importe) VALUES ('B0002', '202401', '5.2.01.008', 158333.33),
  ('B0002', '202401', '1.2.01.007', 158333.33), ('B0004', '202401', '5.2.01.008', 116666.67),
  ('B0004', '202401', '1.2.01.009', 116666.67))",
    R"(INSERT INTO TA_CUENTAS_COMPROBANTES (TC, Descripcion, CUENTA, [CUENTA-DESDE], [CUENTA-HASTA]) VALUES
  ('FC', 'Factura de venta', '4.1.01.001', '1.1.03.001', '1.1.03.103'),
  ('FCC', 'Factura de compra', '1.1.05.001', '2.1.01.001', '2.1.01.102'),
  ('RC', 'Recibo de cobranza', '1.1.01.001', '1.1.03.001', '1.1.03.103'),
  ('OP', 'Orden de pago', '1.1.01.005', '2.1.01.001', '2.1.01.102'))",
    R"(INSERT INTO TA_CUENTASIVA (UNegocio, Descripcion, CFI_IVARI, CFI_IVARI1, CFI_IVARI2, CFI_IVARI3, CFI_IVARI4,
  CFI_IVARI5, CFI_RETPERC, CFI_RETIGAN, CFI_RETIBTOS, DFI_IVARI, DFI_IVARNI, DFI_IVAREC, DFI_RETPERC,
  DFI_RETIBTOS, DFI_IVARM, DFI_IVACF) VALUES
  ('   1', 'Casa central', '1.1.04.001', '1.1.04.001', '1.1.04.001', '1.1.04.001', '1.1.04.001', '1.1.04.001',
   '1.1.04.002', '1.1.04.003', '1.1.04.004', '2.1.03.001', '2.1.03.002', '2.1.03.001', '2.1.03.003',
   '2.1.03.004', '2.1.03.001', '2.1.03.001'))",
    R"(INSERT INTO TA_IMPORTACUENTAS (CodigoExterno, Sistema, CUENTA) VALUES ('100', 'SUELDOS', '5.2.01.001'),
  ('110', 'SUELDOS', '5.2.01.002'), ('200', 'SUELDOS', '2.1.02.001'), ('BNA', 'BANCOS', '1.1.01.005'))",
    R"(INSERT INTO TA_RANGOS_DATOS_ADIC (Descripcion, [CUENTA-DESDE], [CUENTA-HASTA], DatoAdicional) VALUES
  ('Gastos con centro de costo', '5.2.01.001', '5.2.03.005', 'CCOSTO'),
  ('Bancos con conciliación', '1.1.01.005', '1.1.01.007', 'CONCILIACION'))",
    R"(INSERT INTO TA_TITCOPIADORES (Titulo, DESDE, HASTA) VALUES ('ACTIVO', '1', '1.2.02.002'),
  ('PASIVO', '2', '2.2.01.001'), ('RESULTADOS', '4', '5.2.03.005'))",
    R"(INSERT INTO V_MA_ARTICULOS (IDARTICULO, DESCRIPCION, IdFamilia, CUENTAPROVEEDOR, PRECIO1, PRECIO2, SUSPENDIDO)
  VALUES ('A0001', 'Resma papel A4 75 g', '0101', '2.1.01.101', 6500, 6200, 0),
  ('A0002', 'Cinta de embalar 48 mm', '0101', '2.1.01.101', 1800, 1700, 0),
  ('A0003', 'Tornillo autoperforante x 100', '0201', '2.1.01.001', 3200, 3000, 0),
  ('A0004', 'Flete por bulto', '0202', '2.1.01.102', 2500, 2500, 0),
  ('A0005', 'Carpeta colgante oficio', '0101', '2.1.01.101', 950, 900, 1))",
    R"(INSERT INTO V_MV_COMANDA (NroComanda, Mesa, IdArticulo, Cantidad, Importe, CUENTA) VALUES
  (1, 4, 'A0001', 2, 13000, '4.1.01.001'), (2, 7, 'A0004', 1, 2500, '4.1.01.002'))",
    R"(INSERT INTO V_MV_CPTE (TC, IdComprobante, Fecha, CUENTA, CODIGOIMPUTACION, SucursalCuenta, Importe, UNegocio)
  VALUES ('FC', '0001-00000101', '2024-01-20 00:00:00', '1.1.03.101', '4.1.01.001', NULL, 125000, '   1'),
  ('FC', '0001-00000102', '2024-01-22 00:00:00', '1.1.03.102', '4.1.01.001', NULL, 348500.5, '   1'),
  ('FC', '0001-00000103', '2024-01-25 00:00:00', '1.1.03.103', '4.1.01.002', NULL, 18900, '   1'),
  ('FC', '0001-00000104', '2024-01-26 00:00:00', '1.1.03.001', '4.1.01.003', NULL, 7450, '   1'))",
    R"(INSERT INTO V_MV_CpteEnComision (TC, IdComprobante, CUENTA, Importe, Comision) VALUES
  ('FC', '0001-00000102', '5.2.02.003', 348500.5, 3))",
    R"(INSERT INTO V_MV_CpteTerceros (TC, IdComprobante, CUENTA, Importe, Tercero) VALUES
  ('RC', '0001-00000012', '1.1.01.008', 125000, 'Banco Nación cheque 00451122'))",
    R"(INSERT INTO v_mv_creales (Fecha, CUENTA, Importe, Detalle) VALUES
  ('2024-02-05 00:00:00', '1.1.01.001', 125000, 'Cobranza Ferretería San Martín'),
  ('2024-02-07 00:00:00', '1.1.01.005', 348500.5, 'Transferencia Distribuidora del Sur'))",
    R"(INSERT INTO V_MV_Diarios (IdDiario, Fecha, CUENTA, Debe, Haber) VALUES
  ('CAJ', '2024-02-05 00:00:00', '1.1.01.001', 125000, 0), ('CAJ', '2024-02-05 00:00:00', '1.1.03.101', 0, 125000))",
    R"(INSERT INTO V_MV_STOCK (IdArticulo, IdDeposito, Cantidad, CUENTAPROVEEDOR) VALUES
  ('A0001', 1, 120, '2.1.01.101'), ('A0002', 1, 300, '2.1.01.101'), ('A0003', 2, 45, '2.1.01.001'))",
    R"(INSERT INTO V_TA_CTRL_CHEQUERAS (Banco, NroDesde, NroHasta, CUENTABANCO, CUENTABANCODIFERIDO) VALUES
  ('Banco Nación', 10451101, 10451150, '1.1.01.005', '2.1.01.004'),
  ('Banco Provincia', 2200301, 2200350, '1.1.01.006', '2.1.01.004'))",
    R"(INSERT INTO V_TA_CuentasComision (Descripcion, CUENTA, Porcentaje) VALUES
  ('Comisión vendedores', '5.2.02.003', 3), ('Comisión tarjetas', '5.2.02.005', 1.8))",
    R"(INSERT INTO V_TA_Input_Compras (UNegocio, Repuestos, Servicios, Otros) VALUES
  ('   1', '1.1.05.001', '5.2.01.004', '5.2.01.007'))",
    R"(INSERT INTO V_TA_Input_Ventas (UNegocio, Repuestos, Servicios, Otros) VALUES
  ('   1', '4.1.01.003', '4.1.01.002', '4.1.01.004'))",
    R"(INSERT INTO C_MV_Cpte (TC, IdComprobante, Fecha, CUENTA, CodigoImputacion, SucursalCuenta, Importe) VALUES
  ('FCC', '0003-00004521', '2024-01-18 00:00:00', '2.1.01.101', '1.1.05.001', NULL, 87300),
  ('FCC', '0007-00000310', '2024-01-19 00:00:00', '2.1.01.102', '5.2.02.002', NULL, 42000),
  ('FCC', '0002-00001187', '2024-01-23 00:00:00', '2.1.01.001', '5.2.01.005', NULL, 61250.75))",
    R"(INSERT INTO C_MV_CPTE_OBSERV (TC, IdComprobante, CUENTA, Observacion) VALUES
  ('FCC', '0003-00004521', '2.1.01.101', 'Entrega parcial, resta saldo de 20 resmas'))",
    R"(INSERT INTO C_MV_CpteInsumos (IdComprobante, IdArticulo, Cantidad, CUENTA) VALUES
  ('0003-00004521', 'A0001', 100, '1.1.05.001'), ('0003-00004521', 'A0002', 50, '1.1.05.001'))",
    R"(INSERT INTO C_MV_CpteTareas (IdComprobante, IdTarea, Horas, CUENTA) VALUES
  ('0007-00000310', 'T01', 6, '5.2.02.002'))",
    R"(INSERT INTO C_Proveedores_CCompra (IDPROVEEDOR, IdCentroCompra, Descripcion) VALUES
  ('2.1.01.101', 'LIB', 'Librería y papelería'), ('2.1.01.102', 'LOG', 'Logística'))",
    R"(INSERT INTO Control_MV_Calculo (Periodo, CUENTA, FechaCalculo, Usuario) VALUES
  ('202401', '5.2.01.008', '2024-02-01 08:00:00', 'ADMIN'), ('202401', '1.2.01.007', '2024-02-01 08:00:00', 'ADMIN'))",
    R"(INSERT INTO EM_LibroRojo (Fecha, CUENTA, Detalle, Importe) VALUES
  ('2024-01-31 00:00:00', '5.2.03.003', 'Ingresos brutos enero', 55500),
  ('2024-01-31 00:00:00', '2.1.03.006', 'Ingresos brutos enero', 55500))",

    R"(INSERT INTO TA_UNIDADNEGOCIO (Codigo, Descripcion, RazonSocial, Cuit, Domicilio) VALUES
  ('   1', 'Casa central', 'Comercial Demo SA', '30-70000001-2', 'Av. Las Heras 455, Mendoza'),
  ('   2', 'Sucursal San Rafael', 'Comercial Demo SA', '30-70000001-2', 'Hipólito Yrigoyen 1200, San Rafael'))",
    R"(INSERT INTO V_TA_DEPOSITO (IdDeposito, Descripcion, Unidad, Confidencial) VALUES (1, 'Depósito central', '   1', 0),
  (2, 'Depósito San Rafael', '   2', 0), (3, 'Depósito de mercadería en consignación', '   1', 1))",
    R"(INSERT INTO V_TA_FAMILIAS (IdFamilia, Descripcion, Confidencial) VALUES ('01', 'Librería', 0),
  ('0101', 'Papelería', 0), ('02', 'Ferretería', 0), ('0201', 'Bulonería', 0), ('0202', 'Servicios', 0),
  ('03', 'Importados', 1))",
    R"(INSERT INTO V_TA_CAJAS (IdCaja, Descripcion, UNegocio, Confidencial) VALUES (1, 'Caja mostrador', '   1', 0),
  (2, 'Caja San Rafael', '   2', 0), (3, 'Caja de tesorería', '   1', 1))",
    R"(INSERT INTO V_TA_VENDEDORES (IDVENDEDOR, NOMBRE, Comision) VALUES (1, 'Sosa, Daniel', 3), (2, 'Molina, Carla', 3.5))",
    R"(INSERT INTO V_TA_TECNICOS (IDTECNICO, NOMBRE) VALUES (1, 'Ortiz, Ramiro'), (2, 'Videla, Sergio'))",
    R"(INSERT INTO V_MA_MANTENIMIENTOS (CODIGO, DESCRIPCION) VALUES ('M01', 'Service de rodados'),
  ('M02', 'Mantenimiento de servidores'))",
    R"(INSERT INTO MA_CONTACTOS (Nombre_y_Apellido, Domicilio, Localidad, Telefono) VALUES
  ('Marta Gómez', 'Av. San Martín 1450', 'Mendoza', '0261-4231234'),
  ('Hugo Salinas', 'Av. Mitre 3100', 'San Miguel de Tucumán', '0381-4301122'))",
    R"(INSERT INTO V_TA_Tareas (IdTarea, Descripcion) VALUES ('T01', 'Carga y descarga'), ('T02', 'Instalación'))",
    R"(INSERT INTO V_TA_Unidad (IdUnidad, Descripcion) VALUES ('UN', 'Unidad'), ('KG', 'Kilogramo'),
  ('M2', 'Metro cuadrado'))",
    R"(INSERT INTO V_TA_STATUS (CodigoEstado, Descripcion, Tipo) VALUES ('PEN', 'Pendiente', 'PEDIDO'),
  ('CUM', 'Cumplido', 'PEDIDO'), ('ANU', 'Anulado', 'PEDIDO'))",
    R"(INSERT INTO MA_POSICIONES (IDPOSICION, Descripcion) VALUES ('84', 'Máquinas y aparatos'),
  ('8471', 'Máquinas de procesamiento de datos'), ('48', 'Papel y cartón'), ('4802', 'Papel para escribir'))",

    R"(INSERT INTO TA_MENU (Clave, Nombre, Proceso, Padre, Orden) VALUES
  ('CONT', 'Contabilidad', NULL, NULL, 1),
  ('CONT01', 'Plan de cuentas', 'SHELL:V_TA_TABLAS MA_CUENTAS', 'CONT', 1),
  ('CONT05', 'Recodificación de cuentas', 'recodificador', 'CONT', 5),
  ('VTA01', 'Clientes', 'SHELL:V_MA_CLIENTES', NULL, 2))",
    R"(INSERT INTO TA_TAREAS (USUARIO, TAREA) VALUES ('ADMIN', 'CONT'), ('ADMIN', 'CONT01'), ('ADMIN', 'CONT05'),
  ('ADMIN', 'VTA01'), ('OPERADOR', 'CONT05'))",
};

// Journal templates: debit account, credit account, detail, voucher type.
struct Modelo {
  const char *debe;
  const char *haber;
  const char *detalle;
  const char *tc;
};

const Modelo Modelos[] = {
    {"1.1.01.001", "4.1.01.001", "Venta contado", "FC"},
    {"1.1.03.101", "4.1.01.001", "Venta en cuenta corriente", "FC"},
    {"1.1.03.102", "4.1.01.003", "Venta de repuestos", "FC"},
    {"1.1.05.001", "2.1.01.101", "Compra de mercaderías", "FCC"},
    {"2.1.01.101", "1.1.01.005", "Pago a proveedor", "OP"},
    {"1.1.01.005", "1.1.03.101", "Cobranza", "RC"},
    {"5.2.01.001", "2.1.02.001", "Devengamiento de sueldos", "AS"},
    {"5.2.01.003", "1.1.01.005", "Pago de alquiler", "OP"},
    {"5.1.01.001", "1.1.05.001", "Costo de mercaderías vendidas", "AS"},
    {"1.1.04.001", "2.1.01.101", "IVA compras", "FCC"},
    {"5.2.03.002", "1.1.01.006", "Gastos bancarios", "AS"},
    {"5.2.02.002", "2.1.01.102", "Fletes del mes", "FCC"},
};

// ---------------------------------------------------------------------------

QString sqlTexto(const QString &s) { return QLatin1Char('\'') + QString(s).replace('\'', "''") + '\''; }
QString sqlTexto(const char *s) { return sqlTexto(QString::fromUtf8(s)); }
QString sqlNulo(const QString &s) { return s.isEmpty() ? QStringLiteral("NULL") : sqlTexto(s); }

QString importe(qint64 centavos) {
  const QString signo = centavos < 0 ? QStringLiteral("-") : QString();
  const qint64 a = centavos < 0 ? -centavos : centavos;
  return signo + QString::number(a / 100) + '.' + QStringLiteral("%1").arg(a % 100, 2, 10, QLatin1Char('0'));
}

bool esImputable(const QString &codigo) { return codigo.count('.') == 3; }

QString conColumnasCliente(const char *sentencia) {
  QString s = QString::fromUtf8(sentencia);
  return s.replace(QStringLiteral("@COLUMNAS_CLIENTE"), QString::fromUtf8(ColumnasCliente).trimmed());
}

// Runs one statement of the creation; a failure names the statement, which
// is what anyone mending the schema needs to see.
void ejecutar(ado::Connection &cn, const QString &sql) {
  try {
    cn.execute(sql);
  } catch (const AppError &e) {
    QString inicio = sql.simplified();
    if (inicio.size() > 160)
      inicio = inicio.left(160) + QStringLiteral("...");
    throw AppError(e.number(), e.description() + QStringLiteral(" (al ejecutar: %1)").arg(inicio),
                   e.source());
  }
}

// Splits a long list of rows into multi-row INSERTs of a bounded size.
void insertarPorLotes(ado::Connection &cn, const QString &cabecera, const QStringList &filas,
                      int porLote = 500) {
  for (int i = 0; i < filas.size(); i += porLote) {
    QString sql = cabecera;
    sql.reserve(cabecera.size() + porLote * (filas.at(i).size() + 4));
    const int fin = std::min<int>(filas.size(), i + porLote);
    for (int j = i; j < fin; ++j) {
      if (j > i)
        sql += QLatin1Char(',');
      sql += filas.at(j);
    }
    ejecutar(cn, sql);
  }
}

// A small fixed-seed generator (PCG-style LCG): the same count always gives
// the same journal, on every platform.
class Azar {
public:
  explicit Azar(quint64 semilla) : estado_(semilla) {}
  quint32 siguiente() {
    estado_ = estado_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return quint32(estado_ >> 33);
  }
  int hasta(int n) { return int(siguiente() % quint32(n)); }

private:
  quint64 estado_;
};

// A new, empty database of the engine, and a connection open on it.
std::unique_ptr<ado::Connection> crearBase(const ProviderConfig &config, const QString &base) {
  auto cn = createSqliteConnection(config);
  // As on the server: the new database is made from master.
  cn->open(CrearDemo::cadenaConexion(QStringLiteral("master")));
  cn->execute(QStringLiteral("CREATE DATABASE ") + base);
  cn->close();
  cn->open(CrearDemo::cadenaConexion(base));
  return cn;
}

void borrarArchivosDe(const QString &archivo) {
  for (const char *sufijo : {"", "-journal", "-wal", "-shm"})
    QFile::remove(archivo + QLatin1String(sufijo));
}

} // namespace

CrearDemo::CrearDemo(const QString &carpeta, int renglones) : carpeta_(carpeta), renglones_(renglones) {}

QString CrearDemo::archivo(const QString &carpeta, const QString &base) {
  return QDir(carpeta).absoluteFilePath(base + QStringLiteral(".sqlite"));
}

QString CrearDemo::cadenaConexion(const QString &base) {
  return QStringLiteral("PROVIDER=SQLOLEDB;Server=SQLITE;Database =%1;UId=%1;Pwd=%1;").arg(base);
}

QStringList CrearDemo::codigosPlan() {
  QStringList r;
  for (const Cuenta &c : Plan)
    r << QString::fromUtf8(c.codigo);
  return r;
}

QStringList CrearDemo::codigosImputables() {
  QStringList r;
  for (const Cuenta &c : Plan)
    if (esImputable(QString::fromUtf8(c.codigo)))
      r << QString::fromUtf8(c.codigo);
  return r;
}

namespace {

// Hands each generated line to `f`, in order, without keeping them: a big
// journal is written as it is made.
void recorrerAsientos(int n, const std::function<void(const RenglonAsiento &)> &f) {
  if (n <= 0)
    return;
  const QStringList hojas = CrearDemo::codigosImputables();
  const int nModelos = int(std::size(Modelos));
  Azar azar(20240101);
  const int asientos = std::max(1, n / 2);
  const QDate inicio(2024, 1, 1);
  int hechos = 0;
  for (int k = 1; k <= asientos; ++k) {
    // The last entry takes what is left: three lines when n is odd, one when
    // n is 1 (a lone line cannot balance).
    const int lineas = (k == asientos) ? n - hechos : 2;
    QString debe, haber, detalle, tc;
    if (azar.hasta(2) == 0) {
      const Modelo &m = Modelos[azar.hasta(nModelos)];
      debe = QString::fromUtf8(m.debe);
      haber = QString::fromUtf8(m.haber);
      detalle = QString::fromUtf8(m.detalle);
      tc = QString::fromUtf8(m.tc);
    } else {
      debe = hojas.at(azar.hasta(int(hojas.size())));
      do
        haber = hojas.at(azar.hasta(int(hojas.size())));
      while (haber == debe);
      detalle = QStringLiteral("Asiento de ajuste");
      tc = QStringLiteral("AS");
    }
    const qint64 monto = 1000 + qint64(azar.siguiente() % 5000000u);
    const QString fecha =
        inicio.addDays(qint64(k - 1) * 366 / asientos).toString(QStringLiteral("yyyy-MM-dd")) +
        QStringLiteral(" 00:00:00");
    const QString comprobante = QStringLiteral("0001-%1").arg(k, 8, 10, QLatin1Char('0'));
    auto agregar = [&](int renglon, const QString &cuenta, qint64 d, qint64 h) {
      RenglonAsiento a;
      a.nroAsiento = k;
      a.renglon = renglon;
      a.fecha = fecha;
      a.cuenta = cuenta;
      a.cabCuenta = debe;
      a.detalle = detalle;
      a.debeCentavos = d;
      a.haberCentavos = h;
      a.tc = tc;
      a.idComprobante = comprobante;
      f(a);
    };
    if (lineas == 1) {
      agregar(1, debe, monto, 0);
    } else if (lineas == 2) {
      agregar(1, debe, monto, 0);
      agregar(2, haber, 0, monto);
    } else {
      // Three lines: the debit is split in two.
      const qint64 parte = monto / 3;
      agregar(1, debe, monto - parte, 0);
      agregar(2, hojas.at(azar.hasta(int(hojas.size()))), parte, 0);
      agregar(3, haber, 0, monto);
    }
    hechos += lineas;
  }
}

} // namespace

QVector<RenglonAsiento> CrearDemo::generarAsientos(int n) {
  QVector<RenglonAsiento> r;
  r.reserve(std::max(0, n));
  recorrerAsientos(n, [&](const RenglonAsiento &a) { r.push_back(a); });
  return r;
}

ResumenDemo CrearDemo::crear() {
  if (renglones_ < 0)
    throw AppError(
        errdemo::CantidadInvalida,
        QStringLiteral("La cantidad de renglones de asientos no puede ser negativa: %1.").arg(renglones_),
        QStringLiteral("CrearDemo"));
  ResumenDemo resumen;
  resumen.carpeta = QDir(carpeta_).absolutePath();
  resumen.archivoEmpresa = archivo(resumen.carpeta, BaseEmpresa);
  resumen.archivoEstadisticas = archivo(resumen.carpeta, BaseEstadisticas);

  // Both files are checked before either is written.
  QStringList existentes;
  for (const QString &f : {resumen.archivoEmpresa, resumen.archivoEstadisticas})
    if (QFileInfo::exists(f))
      existentes << f;
  if (!existentes.isEmpty())
    throw AppError(errdemo::ArchivoExistente,
                   QStringLiteral("Ya existe %1: no se sobrescribe. Borre el archivo o elija otra carpeta.")
                       .arg(existentes.join(QStringLiteral(" y "))),
                   QStringLiteral("CrearDemo"));

  if (QFileInfo(resumen.carpeta).exists() && !QFileInfo(resumen.carpeta).isDir())
    throw AppError(errdemo::CarpetaInvalida, QStringLiteral("%1 no es una carpeta.").arg(resumen.carpeta),
                   QStringLiteral("CrearDemo"));
  if (!QDir().mkpath(resumen.carpeta))
    throw AppError(errdemo::CarpetaInvalida,
                   QStringLiteral("No se pudo crear la carpeta %1.").arg(resumen.carpeta),
                   QStringLiteral("CrearDemo"));

  ProviderConfig config;
  config.dataFolder = resumen.carpeta;
  try {
    {
      auto cn = crearBase(config, BaseEmpresa);
      crearEmpresa(*cn, resumen);
      cn->close();
    }
    {
      auto cn = crearBase(config, BaseEstadisticas);
      crearEstadisticas(*cn);
      cn->close();
    }
  } catch (...) {
    // Nothing was there before: whatever exists now is a half-made demo.
    borrarArchivosDe(resumen.archivoEmpresa);
    borrarArchivosDe(resumen.archivoEstadisticas);
    throw;
  }
  return resumen;
}

void CrearDemo::crearEmpresa(ado::Connection &cn, ResumenDemo &resumen) {
  ejecutar(cn, QStringLiteral("BEGIN TRANSACTION"));
  for (const char *t : Tablas)
    ejecutar(cn, conColumnasCliente(t));

  // The chart.
  QStringList filas;
  const QString alta = QStringLiteral("'2020-01-01 00:00:00'");
  QString rubro;
  for (const Cuenta &c : Plan) {
    const QString codigo = QString::fromUtf8(c.codigo);
    const QString descripcion = QString::fromUtf8(c.descripcion);
    const int nivel = int(codigo.count('.')) + 1;
    if (nivel == 1)
      rubro = descripcion.left(1) + descripcion.mid(1).toLower();
    static const QMap<QChar, QChar> tipos{{'1', 'A'}, {'2', 'P'}, {'3', 'N'}, {'4', 'R'}, {'5', 'R'}};
    const QChar tipo = tipos.value(codigo.at(0), 'R');
    const bool imputable = esImputable(codigo);
    const bool ajusta = codigo.startsWith(QLatin1String("1.2.01")) || codigo.startsWith(QLatin1String("3.1"));
    const bool centroCosto = imputable && codigo.startsWith(QLatin1String("5.2"));
    bool confidencial = false;
    for (const char *x : CuentasConfidenciales)
      confidencial = confidencial || codigo == QLatin1String(x);
    const QString moneda =
        codigo == QLatin1String("1.1.01.007") ? QStringLiteral("USD") : QStringLiteral("ARS");
    filas << QStringLiteral("(%1,%2,%3,%4,%5,'%6',%7,%8,%9,%10,%11,NULL)")
                 .arg(sqlTexto(codigo), sqlTexto(descripcion), QString::number(imputable ? 1 : 0),
                      QString::number(nivel), sqlTexto(rubro), QString(tipo), sqlTexto(moneda),
                      QString::number(ajusta ? 1 : 0), QString::number(centroCosto ? 1 : 0),
                      QString::number(confidencial ? 1 : 0), alta);
  }
  insertarPorLotes(
      cn,
      QStringLiteral("INSERT INTO MA_CUENTAS (CODIGO, Descripcion, Imputable, Nivel, Rubro, Tipo, "
                     "Moneda, AjustaInflacion, CentroCosto, Confidencial, FechaAlta, "
                     "Observaciones) VALUES "),
      filas);
  resumen.cuentas = int(filas.size());

  // Settings.
  filas.clear();
  for (const Clave &k : Configuracion)
    filas << QStringLiteral("(%1,%2,%3,NULL,0)").arg(sqlTexto(k.grupo), sqlTexto(k.clave), sqlTexto(k.valor));
  insertarPorLotes(
      cn,
      QStringLiteral("INSERT INTO TA_CONFIGURACION (Grupo, Clave, Valor, ValorAux, PoliticaNegocio) VALUES "),
      filas);

  // Users, with the suite's cipher.
  ejecutar(
      cn, QStringLiteral("INSERT INTO TA_USUARIOS (NOMBRE, SISTEMA, Password, NombreCompleto, Administrador, "
                         "UNegocio, verproforma, clasepusa, FechaAlta) VALUES "
                         "('ADMIN', 'kx517tm', %1, 'Administrador del sistema', 1, '   1', 1, 1, %3), "
                         "('OPERADOR', 'kx517tm', %2, 'Operador contable', 0, '   1', 0, 1, %3)")
              .arg(sqlTexto(kit::Utilidades::Cifrar(QStringLiteral("admin"))),
                   sqlTexto(kit::Utilidades::Cifrar(QStringLiteral("operador"))), alta));

  for (const char *d : Datos)
    ejecutar(cn, QString::fromUtf8(d));

  // The journal, and the cost-centre split of its first expense lines.
  filas.clear();
  QStringList centros;
  static const char *const ccostos[] = {"01.01", "01.02", "02.01", "02.02"};
  const QString cabecera = QStringLiteral(
      "INSERT INTO MV_ASIENTOS (NroAsiento, Renglon, Fecha, CUENTA, CABCUENTA, Detalle, Debe, Haber, TC, "
      "IdComprobante, UNegocio, Usuario) VALUES ");
  qint64 id = 0;
  recorrerAsientos(renglones_, [&](const RenglonAsiento &a) {
    // Rows are numbered from 1 in insertion order in a fresh table.
    ++id;
    filas << QStringLiteral("(%1,%2,'%3',%4,%5,%6,%7,%8,%9,%10,'   1','ADMIN')")
                 .arg(QString::number(a.nroAsiento), QString::number(a.renglon), a.fecha, sqlTexto(a.cuenta),
                      sqlNulo(a.cabCuenta), sqlTexto(a.detalle), importe(a.debeCentavos),
                      importe(a.haberCentavos), sqlTexto(a.tc), sqlTexto(a.idComprobante));
    if (centros.size() < 500 && a.cuenta.startsWith(QLatin1String("5.2")))
      centros << QStringLiteral("(%1,%2,'%3',%4)")
                     .arg(QString::number(id), sqlTexto(a.cuenta), QLatin1String(ccostos[centros.size() % 4]),
                          importe(a.debeCentavos - a.haberCentavos));
    if (filas.size() == 500) {
      insertarPorLotes(cn, cabecera, filas);
      filas.clear();
    }
  });
  insertarPorLotes(cn, cabecera, filas);
  insertarPorLotes(
      cn, QStringLiteral("INSERT INTO MV_ASIENTOSCCOSTO (IdAsiento, CUENTA, CCOSTO, Importe) VALUES "),
      centros);
  resumen.renglones = int(id);

  // Balances from the loaded journal; the triggers keep them from here on.
  ejecutar(cn, QStringLiteral("INSERT INTO MV_SALDOS (CUENTA, Debe, Haber, Saldo) SELECT CUENTA, "
                              "ROUND(SUM(Debe), 2), ROUND(SUM(Haber), 2), ROUND(SUM(Debe) - SUM(Haber), 2) "
                              "FROM MV_ASIENTOS GROUP BY CUENTA"));
  for (const char *x : Indices)
    ejecutar(cn, QString::fromUtf8(x));
  for (const char *v : Vistas)
    ejecutar(cn, QString::fromUtf8(v));
  for (const char *t : Disparadores)
    ejecutar(cn, QString::fromUtf8(t));
  ejecutar(cn, QStringLiteral("COMMIT TRANSACTION"));
}

void CrearDemo::crearEstadisticas(ado::Connection &cn) {
  // Only the settings table: the start-up writes its "TimeOut" key itself the
  // first time it finds it missing.
  ejecutar(cn,
           QStringLiteral(
               "CREATE TABLE TA_CONFIGURACION (ID int IDENTITY(1,1) NOT NULL, Grupo varchar(50) NULL, "
               "Clave varchar(50) NOT NULL, Valor varchar(255) NULL, ValorAux varchar(255) NULL, "
               "PoliticaNegocio bit NULL DEFAULT (0), CONSTRAINT PK_TA_CONFIGURACION PRIMARY KEY (Clave))"));
}

} // namespace zv::demo
