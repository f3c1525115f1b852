#pragma once
// What the data-access layer needs from the process: the user-interface and
// operating-system services, the connection factory, the process-wide values
// of the start-up that this layer reads and the access dialog writes, and the
// main database object, created on first use.
#include "platform/Ado.h"
#include "platform/AppError.h"
#include "platform/Sistema.h"
#include "platform/Ui.h"

#include <QString>
#include <functional>
#include <memory>

namespace zv::db {

class DB_Dll;
class frmAcceso;
class VistaAcceso;

// Process-wide values owned by the start-up; kept here so that this layer and
// the access dialog reach them. The start-up fills and reads them.
struct ValoresProceso {
  QString gUsuarioLogeado; // application user's name
  QString gClaveUsuario;   // application user's password
  bool gConfidencialidad = false;
};

// Builds the display of an access dialog; the default is the Qt dialog.
using FabricaVistaAcceso = std::function<std::unique_ptr<VistaAcceso>(frmAcceso &)>;
// The central error report of the application (routine name given); answers
// 4 retry, 5 ignore, anything else leaves.
using ReporteCentral = std::function<int(const AppError &, const QString &rutina)>;

class EntornoDB {
public:
  EntornoDB(UiServices &ui, Sistema &sistema, ado::ConnectionFactory fabrica);
  ~EntornoDB();
  EntornoDB(const EntornoDB &) = delete;
  EntornoDB &operator=(const EntornoDB &) = delete;

  UiServices &ui;
  Sistema &sistema;
  ado::ConnectionFactory fabricaConexiones;
  FabricaVistaAcceso fabricaVistaAcceso; // empty: the Qt dialog
  ReporteCentral reporteCentral;         // empty: the main object's own report
  ValoresProceso valores;
  QString direccionWeb = QStringLiteral("https://www.qumakit.com"); // opened by the link label
  QString carpetaEscritorio; // where desktop launchers go; empty: the user's desktop

  // The main database object: one per process, created on first use.
  DB_Dll &principal();
  bool hayPrincipal() const { return principal_ != nullptr; }
  // Releases the main object (end of the run).
  void liberarPrincipal();

  // Title of message boxes shown without one: the program's name.
  QString tituloPorDefecto() const { return sistema.nombreEjecutable(); }

private:
  std::unique_ptr<DB_Dll> principal_;
};

} // namespace zv::db
