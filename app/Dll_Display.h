#pragma once
// The progress notice: a small window that says the program is busy, with a
// title, three lines, an animation and an optional cancel button. Callers
// open it, update it (learning whether the operator cancelled) and close it.
//
// Dll_Display works over a notice view (VistaAviso). Two views exist: the
// Qt window Lbf_CtrlDisplay and AvisoHeadless, which writes the notice to
// standard error when the program runs without a display. The default
// factory picks the Qt window when a QApplication exists, the headless view
// otherwise.
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

namespace zv::app {

// One loaded notice window. Creating a view loads it (hidden); destroying it
// unloads it. Any operation may throw AppError.
class VistaAviso {
public:
  virtual ~VistaAviso() = default;
  virtual void ponerTitulo(const QString &titulo) = 0;
  virtual void ponerCancelarVisible(bool visible) = 0;
  // Shows the window without blocking the caller.
  virtual void mostrar() = 0;
  virtual void ocultar() = 0;
  // Line 0, 1 or 2.
  virtual void ponerLinea(int indice, const QString &texto) = 0;
  virtual void repintar() = 0;
  // The cancel button's caption: it reads "Abortado" once the operator has
  // pressed the button.
  virtual QString leyendaCancelar() const = 0;
  // Lets pending events run once (a click on the button, the animation).
  virtual void ceder() = 0;
  // Topmost (true) or normal window order (false), same position and size.
  virtual void ponerSiempreVisible(bool siempre) = 0;
};

using FabricaVistaAviso = std::function<std::unique_ptr<VistaAviso>()>;

// A line for CartelMostrar: nullopt keeps the former text, a null QVariant
// writes the empty text, anything else is written as its text.
using LineaAviso = std::optional<QVariant>;

class Dll_Display {
public:
  // Without a factory the view is chosen when the window is first needed.
  explicit Dll_Display(FabricaVistaAviso fabrica = {});
  ~Dll_Display();
  Dll_Display(const Dll_Display &) = delete;
  Dll_Display &operator=(const Dll_Display &) = delete;

  void CartelInicio(const QString &Titulo, bool PermiteCancelar);
  // Failures here reach the caller.
  void CartelMostrar(bool &Cancelado, const LineaAviso &L1 = std::nullopt,
                     const LineaAviso &l2 = std::nullopt, const LineaAviso &l3 = std::nullopt);
  void CartelCerrar();
  // Write-only: topmost for good (true) or back to the normal order (false).
  void Siempre_Visible(bool valor);

  // Whether a notice window is loaded (for callers that must not create one).
  bool cargado() const { return vista_ != nullptr; }
  // The loaded view, or null.
  VistaAviso *vista() const { return vista_.get(); }

  // The factory used when none is given: Qt window when a QApplication
  // exists, else the headless view on standard error.
  static FabricaVistaAviso fabricaPredeterminada();

private:
  VistaAviso &ventana();

  FabricaVistaAviso fabrica_;
  std::unique_ptr<VistaAviso> vista_;
};

} // namespace zv::app
