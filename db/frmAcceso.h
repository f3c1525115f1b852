#pragma once
// The access dialog: the operator gives the connection data here, picks one
// of the registered connections of BASES.TXT, registers a tested connection
// or puts a launcher of the program on the desktop. This class is the
// dialog's logic and the state of its controls; a VistaAcceso shows it (the
// Qt dialog, or a scripted one in tests) and feeds it the operator's events.
#include "db/EntornoDB.h"
#include "platform/AppError.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace zv::db {

class DB_Dll;

// A text box: its name, text, colour and selection.
struct CajaTexto {
  explicit CajaTexto(const QString &nombre) : Name(nombre) {}
  QString Name;
  QString Text;
  int ForeColor = 0;
  int SelStart = 0;
  int SelLength = 0;
  QString ToolTipText;
};

// A list or a drop-down list: its entries and the selected one (-1: none).
struct ListaControl {
  explicit ListaControl(const QString &nombre) : Name(nombre) {}
  QString Name;
  QStringList List;
  int ListIndex = -1;
  QString texto() const { return ListIndex >= 0 && ListIndex < List.size() ? List.at(ListIndex) : QString(); }
};

// The display of the dialog.
class VistaAcceso {
public:
  virtual ~VistaAcceso() = default;
  // Shows the dialog modally; returns once the logic has hidden it.
  virtual void mostrarModal() = 0;
  virtual void ocultar() = 0;
  virtual void centrar() = 0;
  // The controls' state changed: show it.
  virtual void actualizar() = 0;
  virtual void enfocar(const QString &control) = 0;
};

// One line of the registry: entry name, database, login, password (clear), server.
struct EntradaBase {
  QString nombre, baseDatos, usuario, clave, servidor;
};

class frmAcceso {
public:
  explicit frmAcceso(EntornoDB &entorno);
  ~frmAcceso();
  frmAcceso(const frmAcceso &) = delete;
  frmAcceso &operator=(const frmAcceso &) = delete;

  // ---- controls ------------------------------------------------------------
  CajaTexto TxtUserId{QStringLiteral("TxtUserId")};
  CajaTexto TxtUserPassword{QStringLiteral("TxtUserPassword")};
  CajaTexto TxtDbName{QStringLiteral("TxtDbName")};
  CajaTexto TxtServidor{QStringLiteral("TxtServidor")};
  CajaTexto TxtPuerto{QStringLiteral("TxtPuerto")};
  ListaControl CboPlataformaDB{QStringLiteral("CboPlataformaDB")};
  ListaControl lstBases{QStringLiteral("lstBases")};
  static QString Caption() { return QStringLiteral("Control de Acceso"); }

  bool Aceptar = false;
  bool visible() const { return visible_; }
  const QString &foco() const { return foco_; }
  const QString &archivoRegistro() const { return archivo_; }
  const QString &direccionWeb() const { return entorno_.direccionWeb; }
  VistaAcceso *vista() const { return vista_.get(); }

  // ---- life of the window ------------------------------------------------------
  void Form_Load();
  void Show(); // modal: returns when hidden
  void Hide();

  // Changes a box's text the way the operator or the program does: the box's
  // change event runs.
  void setText(CajaTexto &caja, const QString &texto);
  CajaTexto *caja(const QString &nombre);

  // ---- events --------------------------------------------------------------
  void lstBases_Click();
  void lstBases_KeyDown(int KeyCode);
  void lstBases_DblClick();
  void TxtUserId_GotFocus();
  void Txt_KeyPress(CajaTexto &caja, int KeyAscii);
  void bcAceptar_Click();
  void bcCancelar_Click();
  void CmdRegistrar_Click();
  void CmdLineaComando_Click();
  void Label8_Click();
  // Selects an entry of lstBases (runs its click).
  void seleccionarBase(int indice);

  // ---- operations ------------------------------------------------------------
  void llenarlist();
  void DatosBase(const QString &Nombre);
  void AsignarDatosBase();
  bool ExisteBaseDeDatos(const QString &Servidor, const QString &Dbname, const QString &Usuario,
                         const QString &Password, const QString &Proveedor);
  void RegistrarBases();
  void MensajeInicial(CajaTexto &ObjTxt);
  bool EjecutarCmdRegDB(const QString &Archivo, QString &ErrDevuelto);

  // The hint a box shows when empty.
  static QString pista(const QString &nombreCaja);
  // Entry name of a server and database: "SERVER / DATABASE".
  static QString nombreEntrada(const QString &servidor, const QString &baseDatos);

  // Current entry, as DatosBase left it.
  QString servidorActual, baseActual, usuarioActual, claveActual, puertoActual;

  // Path of the launcher CmdLineaComando writes.
  QString rutaAccesoDirecto() const;

private:
  void cambio(CajaTexto &caja);
  int reportar(const AppError &e, const QString &rutina);
  DB_Dll &principal();

  EntornoDB &entorno_;
  std::unique_ptr<VistaAcceso> vista_;
  QString archivo_;
  QString foco_;
  bool visible_ = false;
  bool enMensaje_ = false;
};

// Registry of connections (BASES.TXT, Windows-1252, one comma-separated line each).
namespace registro {
// Fields of one line: commas separate, blanks around a field are ignored,
// a field may be enclosed in double quotes.
QStringList campos(const QString &linea);
// Appends an entry; the password is given in clear and stored enciphered.
// The file is created when missing.
void GrabarBase(const QString &archivo, const QString &nombre, const QString &baseDatos,
                const QString &usuario, const QString &clave, const QString &servidor, const QString &puerto,
                bool oracle);
} // namespace registro

} // namespace zv::db
