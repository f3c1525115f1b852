#pragma once
// The global module: the start-up sequence, the login check and access
// records, the configuration store, the field-list statement builders, the
// central error report and the SQL script runner, with the process-wide
// values they share. One instance per process; the services it works with
// are passed in, so the same start-up runs with or without a display.
#include "db/DB_Dll.h"
#include "db/EntornoDB.h"
#include "platform/AppError.h"
#include "platform/Kit.h"
#include "startup/Cartel.h"
#include "startup/MotorConsultas.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

class QWidget;
#include <functional>
#include <memory>
#include <optional>

namespace zv::startup {

// One column and its value, already written as an SQL literal.
struct ParCampo {
  QString Campo;
  QString Valor;
  bool operator==(const ParCampo &) const = default;
};
using ListaCampos = QVector<ParCampo>;

// Exit statuses of a start-up that cannot go on.
namespace salida {
constexpr int Falla = 1;              // a failure the start-up could not handle
constexpr int SinConexion = 3;        // the company database did not open
constexpr int AccesoCancelado = 4;    // the access dialog was cancelled
constexpr int DemasiadosIntentos = 5; // the login failed three more times
} // namespace salida

class ModuloGlobal {
public:
  explicit ModuloGlobal(db::EntornoDB &entorno);
  ~ModuloGlobal();
  ModuloGlobal(const ModuloGlobal &) = delete;
  ModuloGlobal &operator=(const ModuloGlobal &) = delete;

  // ---- services ---------------------------------------------------------------
  db::EntornoDB &entorno;
  // The progress notice; none shows nothing.
  Cartel *cartel = nullptr;
  // The lookup engine, created on first use by whoever owns it.
  std::function<MotorConsultas &()> motorConsultas;
  // The workstation's clock.
  std::function<QDateTime()> ahora = [] { return QDateTime::currentDateTime(); };

  // ---- process-wide values -------------------------------------------------------
  QString &gUsuarioLogeado() { return entorno.valores.gUsuarioLogeado; }
  QString &gClaveUsuario() { return entorno.valores.gClaveUsuario; }
  bool &gConfidencialidad() { return entorno.valores.gConfidencialidad; }
  QString gParametroAdicional;
  QString gCaja;
  QString gSeccionIni;
  int gBarrasPlanas = 0;
  quint32 gColorFondo = 0xFFFFFF;
  quint32 gColorLetra = 0;
  QString gTablaConfiguracion;
  qint32 gIdControlAcceso = 0;
  bool gUsarFechaDia = false;
  qint16 gTiempoEspera = 0;
  QString ArchivoAyuda; // the application's help file
  ListaCampos Campos;   // the module's field list

  db::DB_Dll &principal() { return entorno.principal(); }
  // The statistics database object, created on first use.
  db::DB_Dll &Estadisticas();

  // ---- the maker's library objects, created on first use -------------------------
  kit::Utilidades &Utilidades();
  kit::InfoSistema &InfoSistema();
  kit::LectorIni &LectorIni();
  kit::ReceptorRuta &ReceptorRuta();

  // ---- start-up ----------------------------------------------------------------------
  // Returns with the database open and the user verified; every other way out
  // ends the process (Sistema::terminar).
  void IniciarAplicacion();

  // Window decoration: icon, the library's window operation and the toolbar
  // style of the members "UtilKit1", "TBarRep1" and "Util0011".
  void DecoraVentana(QWidget *Formulario);

  // ---- login and access records ------------------------------------------------------
  bool ValidaUsuario(const QString &Usuario, const QString &Clave);
  void RegistraAccion(const QString &TC, const QString &IdComprobante, const QString &IdComplemento,
                      bool EsAlta, bool EsModificacion, const QString &Descripcion, const QString &Cuenta,
                      bool EsError);
  void RegistraIngreso(const QString &Formulario);
  void RegistraEgreso();
  void FinAplicacion();

  // ---- configuration --------------------------------------------------------------------
  QString Cfg(const QString &Clave, QString &ValorAux);
  QString Cfg(const QString &Clave);
  QString CfgZV(const QString &Clave, QString &ValorAux);
  QString CfgZV(const QString &Clave);
  void GrabaCfgZV(const QString &Clave, const QString &Valor, const QString &ValorAux, bool PoliticaNegocio,
                  const QString &Grupo, bool RecortarValor);
  void ConfiguraEstadisticas();
  void CargaConfiguracion(const QString &appPath);
  QDateTime FechaServidor();

  // ---- field-list statement builders ------------------------------------------------
  void AgregaCampo(const QString &Campo, QString &Valor, const QString &Tipo, bool Nuevo);
  void ArmaSentencia(ListaCampos &Lista, QStringList &Guion, const QString &Tabla, bool EsUpdate,
                     QString &Condicion, bool Conservar);
  void ArmaInsert(QString &Texto, ListaCampos &Lista, bool Limpiar);

  // ---- error report ----------------------------------------------------------------
  int AvisoError(const AppError &Falla, std::optional<long> Botones = std::nullopt,
                 const std::optional<QString> &Rutina = std::nullopt);

  // ---- script runner -----------------------------------------------------------------
  void GActualizarDatoScript(const QStringList &Guion, bool &Fallo, long &ErrorNativo,
                             bool DuplicadoComoAviso, bool ConflictoComoAviso, QString &SqlEjecutado,
                             QString &TextoError, bool MostrarError);
  void RegistraErrorSQL(const QString &Sql, long ErrorNum, const QString &Descripcion);

  // ---- date texts ------------------------------------------------------------------
  static QString FormatoFechaHora(const QDateTime &d); // "dd/mm/yy hh:mm"
  static QString FormatoFecha(const QDateTime &d);     // "dd/mm/yy"
  static QString FormatoHora(const QDateTime &d);      // "hh:mm"

  // A text between apostrophes in a statement: every apostrophe doubled.
  static QString Comillas(const QString &texto);

private:
  QString leerCfg(db::DB_Dll &db, const QString &tabla, const QString &Clave, QString &ValorAux,
                  const QString &rutina);
  bool abierta(db::DB_Dll &db) const;
  QString carpetaLog();
  void cerrarCartel();

  std::unique_ptr<db::DB_Dll> estadisticas_;
  std::unique_ptr<kit::Utilidades> utilidades_;
  std::unique_ptr<kit::InfoSistema> infoSistema_;
  std::unique_ptr<kit::LectorIni> lectorIni_;
  std::unique_ptr<kit::ReceptorRuta> receptorRuta_;
};

} // namespace zv::startup
