#pragma once
// The recode sheet on screen: a QTableWidget for the grid and a QLineEdit laid
// over the current cell for the editor. The widgets only show the sheet's
// state; clicks, keys and focus moves are handed to the sheet's logic, and
// the widgets are brought up to date after each of them.
#include "app/HojaRecodificacion.h"

#include <QObject>

class QFocusEvent;
class QKeyEvent;
class QLineEdit;
class QPoint;
class QTableWidget;
class QWidget;

namespace zv::app {

class HojaQt : public QObject {
  Q_OBJECT

public:
  // The widgets are the window's; `ventana` is their common parent, in
  // whose coordinates the editor is placed.
  HojaQt(HojaRecodificacion &hoja, QTableWidget *grilla, QLineEdit *editor, QWidget *ventana);

  // Shows the sheet's current state.
  void refrescar();

  // Widths of texts in the window's font, in twips, for the sheet's columns.
  static HojaRecodificacion::AnchoTexto AnchoSegunFuente(const QWidget *ventana);

protected:
  bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
  bool teclaGrilla(QKeyEvent *tecla);
  bool teclaEditor(QKeyEvent *tecla);
  void foco(QObject *objeto, QFocusEvent *evento);
  int filaEn(const QPoint &punto, int *columna) const;

  HojaRecodificacion &hoja_;
  QTableWidget *grilla_;
  QLineEdit *editor_;
  QWidget *ventana_;
  bool sincronizando_ = false; // focus moves made by refrescar are not the operator's
};

} // namespace zv::app
