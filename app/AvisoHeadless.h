#pragma once
// The progress notice without a display: what the window would show is
// written as text lines, by default to standard error (UTF-8).
//
//  - showing the notice writes its title alone: "Conectando Base de Datos"
//  - every repaint while shown writes the title, ": " and the non-empty
//    lines joined by " / ":
//    "Conectando Base de Datos: Iniciando Aplicacion / recodificador / Espere por favor"
//    (line breaks inside a line become blanks, so that one notice is one line)
//  - hiding writes nothing.
// There is no animation. The cancel state behaves as the window's button:
// pulsarCancelar() is the operator's press (a batch mode may wire it to an
// interrupt), and it only counts while the notice is shown with its button.
#include "app/Dll_Display.h"

#include <QString>
#include <functional>

namespace zv::app {

class AvisoHeadless : public VistaAviso {
public:
  using Salida = std::function<void(const QString &linea)>;
  // Without a sink, lines go to standard error.
  explicit AvisoHeadless(Salida salida = {});

  void ponerTitulo(const QString &titulo) override { titulo_ = titulo; }
  void ponerCancelarVisible(bool visible) override { cancelarVisible_ = visible; }
  void mostrar() override;
  void ocultar() override { visible_ = false; }
  void ponerLinea(int indice, const QString &texto) override;
  void repintar() override;
  QString leyendaCancelar() const override { return leyenda_; }
  void ceder() override;
  void ponerSiempreVisible(bool) override {}

  void pulsarCancelar();

  const QString &titulo() const { return titulo_; }
  QString linea(int indice) const;
  bool visible() const { return visible_; }
  bool cancelarVisible() const { return cancelarVisible_; }

  // Writes one line to standard error and flushes it.
  static void escribirError(const QString &linea);

private:
  void escribir(const QString &linea) const;

  Salida salida_;
  QString titulo_;
  QString lineas_[3];
  QString leyenda_;
  bool cancelarVisible_ = true;
  bool visible_ = false;
};

} // namespace zv::app
