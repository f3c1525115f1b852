#pragma once
// The recode engine of the main window: walks the sheet row by row and, for
// every pair of a current and a new code, builds the batch that gives the
// account its new code everywhere, shows it and (unless only the SQL is
// wanted) runs it on the company connection; at the end it offers the
// witness report.
#include "app/HojaRecodificacion.h"
#include "app/LoteRecodificacion.h"
#include "db/DB_Dll.h"
#include "platform/Kit.h"
#include "startup/Cartel.h"

#include <QString>
#include <functional>

namespace zv::app {

// What one run did with the sheet's rows.
struct ResumenRecodificacion {
  int procesados = 0;      // pairs recoded, or generated when only the SQL is wanted
  int rechazados = 0;      // rows with something typed that were not recoded
  int conError = 0;        // pairs whose batch failed or drew errors from the server
  bool abandonado = false; // an error answer ended the run before its end
};

class Lib_ClsRecodificacion {
public:
  Lib_ClsRecodificacion(HojaRecodificacion &hoja, db::DB_Dll &db, kit::DialogoArchivo &dialogo);

  // ---- the window's parts the run uses -------------------------------------
  std::function<void(const QString &)> CartelMostrar; // the status line
  std::function<void(const QString &)> MostrarSQL;    // replaces TxtSQL's text
  std::function<bool()> SoloGenerar;                  // ChkGeneraSentencia ticked
  startup::Cartel *cartel = nullptr;                  // the progress notice, closed on a failure
  // The library's error report (the kit's by default).
  HojaRecodificacion::Informe InformarError;
  // The global module's report, for the column list.
  InformeRutina InformeVerificaCampos;
  QString carpetaPrograma; // where the report's background image lives
  QString tituloVentana;   // the report's heading

  void ProcesoPrincipal();
  const ResumenRecodificacion &Resumen() const { return resumen_; }

  static QString TituloAviso() { return QStringLiteral("Aviso al operador"); }
  static QString CodigosIguales() {
    return QStringLiteral("El Codigo Nuevo no puede ser igual al Codigo actual");
  }
  static QString PreguntaTestigo() {
    return QStringLiteral("Proceso FINALIZADO. Es altamente recomendable imprimir un testigo de la "
                          "recodificación realizada, ¿Desea Imprimirlo?");
  }
  static QString FiltroTestigo() { return QStringLiteral("Páginas Web (*.htm)|*.htm|"); }

private:
  // The batch of one row's pair; false when the run was left during it.
  bool procesarPar(Trampa &t, const ParRecodificacion &datos);
  // After a failed batch: no transaction stays open and the journal's
  // triggers are on again.
  void deshacer();

  HojaRecodificacion &hoja_;
  db::DB_Dll &db_;
  kit::DialogoArchivo &dialogo_;
  ResumenRecodificacion resumen_;
  bool ignorada_ = false; // a failure of the current pair was ignored
};

} // namespace zv::app
