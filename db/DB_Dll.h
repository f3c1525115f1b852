#pragma once
// DB_Dll: the data-access class through which every statement of the program
// reaches its database. An instance holds the connection parameters, owns one
// connection and offers opening, reopening, statement execution, recordsets,
// SQL literals, row lookups, Oracle translation and user-scoped views, schema
// tests and its own error report.
//
// Operations that name "the main database object" use EntornoDB::principal();
// for the main object that is the instance itself.
#include "db/EntornoDB.h"
#include "platform/Ado.h"
#include "platform/AppError.h"
#include "platform/Kit.h"
#include "platform/ProtocoloError.h"

#include <QString>
#include <QVariant>
#include <memory>
#include <optional>

namespace zv::db {

class DB_Dll {
public:
  explicit DB_Dll(EntornoDB &entorno);
  ~DB_Dll();
  DB_Dll(const DB_Dll &) = delete;
  DB_Dll &operator=(const DB_Dll &) = delete;

  // ---- public fields, in declaration order --------------------------------
  QString gUsuarioClave;                       // put in the dialog's password box
  std::unique_ptr<kit::DialogoArchivo> CmdDlg; // created on first use
  bool gOpenFlag = false;
  QVariant gIgnoraPassWord;              // read as boolean; unset is false
  std::unique_ptr<ado::Connection> gCnn; // created on first use: see Cnn()
  std::shared_ptr<ado::Recordset> glrcs;
  QVariant gCursorLocation;
  QString gProveedor;
  QString gDsn;
  QString gServidor; // a "#" anywhere marks an Oracle connection
  QString gDBName;
  QString gUsuario;
  bool gEsAdmin = false;
  QString gUserPassWord;
  QString gConnString;
  QString gExtended;
  QString gLogErr;
  bool ParametrosSQL = false;
  qint16 gZVTimeOut = 0;

  // The connection, created on first use.
  ado::Connection &Cnn();

  // ---- constants ----------------------------------------------------------
  static QString pSQLOLEDB() { return QStringLiteral("SQLOLEDB"); }
  static QString pJETOLEDB40() { return QStringLiteral("Microsoft.Jet.OLEDB.4.0"); }
  static QString pJETOLEDB35() { return QStringLiteral("Microsoft.Jet.OLEDB.3.51"); }

  // ---- maximum and minimum ------------------------------------------------
  QVariant BuscaMaximo(const QString &QueTabla, const QString &QueCampo,
                       std::optional<int> Tipo = std::nullopt, QString *Condicion = nullptr);
  QVariant BuscaMinimo(const QString &QueTabla, const QString &QueCampo,
                       std::optional<int> Tipo = std::nullopt, const QString *Condicion = nullptr);

  // ---- connection ---------------------------------------------------------
  void OpenServerADODB(bool PideParametrosSQL, long lCursor, const QString &ConnString, bool ValidaAdmin,
                       bool MuestraError);
  void ReintentaConectar();
  void OpenLocalADODB(const QString &ConnString, const QString &CadenaID, const QString &CadenaPWD);

  // ---- row lookups ----------------------------------------------------------
  // Tipodato: 8 text, 7 date, 3/4/5 numeric, anything else written unchanged.
  bool ExisteEnTablaST(const QString &Tabla, const QString &ValorBuscado, const QString &Campo,
                       ado::Recordset *LRCS = nullptr, const QVariant &Tipodato = 8,
                       const QString &Condicion = {}, bool SoloLectura = true);
  bool ExisteEnTabla(const QString &Tabla, const QString &ValorBuscado, const QString &Campo,
                     ado::Recordset *LRCS = nullptr, const QVariant &Tipodato = 8,
                     const QString &Condicion = {}, bool SoloLectura = true);
  QVariant DatosTabla(const QString &Tabla, const QString &ValorBuscado, const QString &CampoDevuelto,
                      const QString &Campo, const QVariant &Tipodato = 8, const QString &Condicion = {},
                      bool UsaTrim = true, bool IgnoraError = false);

  // ---- literal type classifiers -------------------------------------------------
  static bool adodate(const QVariant &Qtype);
  static QString ADOComilla(const QVariant &Qtype);
  static bool ADOText(const QVariant &Qtype);
  static bool ADONumeric(const QVariant &Qtype);
  static bool ADOCurrency(const QVariant &Qtype);
  static bool ADOBoolean(const QVariant &Qtype);

  void CierraRecordset(ado::Recordset &LrcsTemp);

  // Members kept for the class's interface; they do nothing.
  void QConsulta(const QVariantList & = {}) {}
  void QGridConsulta(const QVariantList & = {}) {}

  // ---- names ----------------------------------------------------------------
  static QString stSTF(QString &rsName, bool rnPart);
  static QString AddBrackets(const QString &rObjName);
  static QString StripConnect(const QString &rsTblName);
  static QString StripBrackets(const QString &rsObjName);
  static QString StripOwner(QString &rsTblName);
  static QString StripFileName(const QString &rsFileName);

  // ---- statements and recordsets -------------------------------------------
  // Failures are left in the main object's connection error list.
  void EjecutaConsultaSQL(QString &SentenciaSQL, long *RecordsAffected = nullptr,
                          ado::Recordset *LRCS = nullptr);
  void EjecutaConsultaRSQL(QString &SentenciaSQL, long *RecordsAffected = nullptr,
                           ado::Recordset *LRCS = nullptr);
  void AbrirRecordset(QString &SentenciaSQL, ado::Recordset &LRCS, ado::Connection *Conexionactiva = nullptr,
                      int CursorType = ado::adOpenForwardOnly, int LockType = ado::adLockReadOnly,
                      long Options = -1, bool ConvOracle = false);

  QString ORACLE_Dicc(const QString &Valor);

  QVariant BuscaUltimoCodigo(const QString &QueTabla, const QString &QueCampo, const QVariant &Tipo,
                             const QString &Condicion);

  static QVariant SQLValue2(const QVariant &Valor, const QString &Tipo);
  static QVariant SQLValue(const QVariant &Valor, const QString &Tipo);

  // ---- schema ---------------------------------------------------------------
  void AddField(const QString &Tabla, const QString &Campo, const QString &Tipo, bool PermiteNulos,
                const std::optional<QVariant> &ValorDefault = std::nullopt);
  bool ExisteTablaDB(const QString &Tabla);
  bool ExisteCampoDB(const QString &Tabla, const QString &Campo);
  bool VerCampoDB(const QString &Tabla, const QString &Campo, bool Agregar, const QString &Tipo,
                  bool PermiteNulos, const std::optional<QVariant> &ValorDefault = std::nullopt);

  QString SS_TSinonimos(const QString &texto);

  // ---- error report -----------------------------------------------------------
  QString ArchivoErrores() const { return gLogErr; }
  void setArchivoErrores(const QVariant &valor) { gLogErr = valor.toString(); }
  int TratamientoErrores(const AppError &CodErr, std::optional<long> Botones = std::nullopt,
                         const std::optional<QString> &Rutina = std::nullopt);

  EntornoDB &entorno() const { return entorno_; }

private:
  QString EjecutaPorSentencias(QString &lote, long &afectados);
  static QString DescartaSentencia(const QString &sentencia);

  DB_Dll &principal() const { return entorno_.principal(); }
  kit::Utilidades &utilidades();
  void ConstruirCadena();         // the connection string of the server connections
  bool PideDatosConexion();       // asks the operator; false when cancelled
  QString MensajeFallaConexion(); // text of the connection-failure message
  // Lost-connection handling: true when the failed step is to run again,
  // false when the call's counter ran out after a successful reconnection.
  // segundoIntento selects the row lookups' form of the loop.
  bool RecuperarConexion(int &contador, bool segundoIntento);
  bool ConexionPerdidaMain(const QString *texto) const; // native code 11 in the main list
  void PreguntaConexionPerdida();
  int MensajeGenerico(const AppError &e);
  void PrepararSentencia(QString &SentenciaSQL);
  // Runs a prepared text: split into statements on Oracle, whole otherwise.
  void EjecutarPreparada(QString &SentenciaSQL, long &afectados, ado::Recordset *LRCS);
  // The row test of the lookups, under the caller's trap.
  bool BuscarFila(Trampa &t, const QString &consulta, ado::Connection &conexion, ado::Recordset *LRCS,
                  bool SoloLectura, bool traducir);
  void BuscarArchivoLocal(bool &cancelado);

  EntornoDB &entorno_;
  std::unique_ptr<kit::Utilidades> utilidades_;
};

} // namespace zv::db
