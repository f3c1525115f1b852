#pragma once
// The program's only working window and its start-up object: loading it runs
// the start-up, unloading it ends the program. It hosts the recode sheet, the
// import button, the SQL text, the only-generate switch, the status line and
// the toolbar. Positions are kept in twips, shown at 15 twips per pixel.
#include "app/Dll_Display.h"
#include "app/HojaRecodificacion.h"
#include "app/ProcesoPrincipal.h"
#include "platform/UtilKit.h"
#include "startup/Cartel.h"
#include "startup/ModuloGlobal.h"

#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace zv::app {

class HojaQt;

constexpr int TwipsPorPixel = 15;
// A rectangle given in twips, in pixels.
QRect aPixeles(int left, int top, int width, int height);

// The progress notice of the start-up over the program's Dll_Display, which
// is created on first use and released at the end of the run.
class CartelDisplay : public startup::Cartel {
public:
  explicit CartelDisplay(FabricaVistaAviso fabrica = {}) : fabrica_(std::move(fabrica)) {}
  void CartelInicio(const QString &Titulo, bool PermiteCancelar) override;
  void CartelMostrar(bool &Cancelado, const std::optional<QVariant> &L1, const std::optional<QVariant> &l2,
                     const std::optional<QVariant> &l3) override;
  void CartelCerrar() override;
  void Liberar() override { display_.reset(); }
  Dll_Display *display() const { return display_.get(); }

private:
  Dll_Display &instancia();
  FabricaVistaAviso fabrica_;
  std::unique_ptr<Dll_Display> display_;
};

// The skin control. This platform has no styling facility for the skin
// files, so loading one applies nothing; the window works without it.
struct SkinFramework {
  QString ArchivoSkin; // the skin file asked for
  QString Definicion;  // its scheme
  int Options = 0;
  bool Aplicado = false; // whether a style was applied to a window
  bool LoadSkin(const QString &archivo, const QString &definicion);
  void ApplyWindow(QWidget *ventana);
};

class FrmDIZavadodare : public QWidget {
  Q_OBJECT

public:
  // Without a validation of the pairs the window shows no sheet logic: the
  // sheet is initialised only when one is given.
  explicit FrmDIZavadodare(startup::ModuloGlobal &global, Validador *validador = nullptr,
                           QWidget *parent = nullptr);
  ~FrmDIZavadodare() override;

  static QString Titulo() { return QStringLiteral("Recodificación de Cuentas Contables"); }
  static QString TextoAdvertencia();
  static constexpr int AnchoClienteTwips = 8025;
  static constexpr int AltoClienteTwips = 7515;

  // ---- controls ------------------------------------------------------------
  UtilKit *UtilKit1 = nullptr;
  QLabel *Label1 = nullptr;
  QTableWidget *MSFlexGrid1 = nullptr;
  QLineEdit *txtedit = nullptr;
  QPushButton *CmdBuscar = nullptr;
  QLabel *LblMuestra = nullptr;
  QPlainTextEdit *TxtSQL = nullptr;
  QCheckBox *ChkGeneraSentencia = nullptr;
  SkinFramework SkinFramework1;

  // The sheet's logic; null when no validation was given.
  HojaRecodificacion *hoja() const { return hoja_.get(); }

  // ---- events and public methods ------------------------------------------------
  void Form_Load();
  void Form_Unload(int &Cancel);
  void Form_KeyDown(int &KeyCode, int Shift);
  void CartelMostrar(const QString &Mensaje);

  // A key of Qt as a VB key code (0 when it has none).
  static int CodigoTeclaVb(int teclaQt);

  // ---- commands (with a sheet) -----------------------------------------------------
  // The toolbar's button event; the key may be rewritten.
  void UtilKit1_click(QString &Boton);
  void CmdBuscar_Click();
  void InicializaGrid2();
  // The recode engine and the window's file dialog (created on first use).
  Lib_ClsRecodificacion *proceso() const { return proceso_.get(); }
  kit::DialogoArchivo &Dialogo();
  HojaQt *vistaHoja() const { return vistaHoja_; }
  // The library's table editor, opened by "PLANILLA" (replaceable by tests).
  std::function<void(const QString &tabla, const QString &cadenaConexion, const QString &titulo)>
      AbrirPlanilla;
  // Unloading the window, asked by "CERRAR" (the window's close by default).
  std::function<void()> Descargar;

protected:
  bool eventFilter(QObject *objeto, QEvent *evento) override;
  void closeEvent(QCloseEvent *evento) override;

private:
  void mostrarHoja();

  startup::ModuloGlobal &global_;
  std::unique_ptr<HojaRecodificacion> hoja_;
  HojaQt *vistaHoja_ = nullptr; // owned by the window as its child
  std::unique_ptr<kit::DialogoArchivo> dialogo_;
  std::unique_ptr<Lib_ClsRecodificacion> proceso_;
};

// The program's normal run: the start-up over the real services, then the
// main window until it is closed.
int EjecutarPrograma(int argc, char **argv);

} // namespace zv::app
