#pragma once
// The maker's toolbar: command buttons known by their keys ("NUEVO",
// "GRABAR", ...), each with a function key. UtilKitModelo holds the buttons
// and the key handling without any display; UtilKit shows them in a
// QToolBar.
//
// Function keys: F2 Nuevo, F3 Borrar, F4 Consultar, F5 Grabar, F6 Planilla,
// F7 Reporte, F9 Cancelar, F12 Cerrar. Enter, Esc, Tab and the arrows are
// left to the sheet's editor, so no button takes them.
#include <QString>
#include <QToolBar>
#include <QVector>
#include <functional>

class QAction;

namespace zv {

class UtilKitModelo {
public:
  struct Boton {
    QString clave;  // "NUEVO"
    QString titulo; // "Nuevo"
    int tecla = 0;  // VB key code, 0 for none
    bool visible = true;
    bool habilitado = true;
  };

  UtilKitModelo();

  const QVector<Boton> &Botones() const { return botones_; }
  bool Existe(const QString &clave) const;
  // Keys are compared without regard to letter case; unknown keys are ignored.
  void setVisible(const QString &clave, bool visible);
  bool Visible(const QString &clave) const;
  void setHabilitado(const QString &clave, bool habilitado);
  bool Habilitado(const QString &clave) const;
  void setTecla(const QString &clave, int tecla);
  int Tecla(const QString &clave) const;
  QString Titulo(const QString &clave) const;
  QString Ayuda(const QString &clave) const; // "Nuevo (F2)"

  int StyleBar() const { return styleBar_; }
  void setStyleBar(int estilo);

  // The window's key: when it is the key of a shown and enabled button, that
  // button is pressed and keyCode becomes 0 (the key is used up). Returns
  // whether a button was pressed.
  bool TeclaPulsada(int &keyCode);
  // Presses a button: raises the button event when the button is shown and
  // enabled and no other button's event is still running.
  bool Pulsar(const QString &clave);

  // The button event; the handler receives the key by reference.
  std::function<void(QString &boton)> AlPulsar;
  // For the widget: told of every press (before AlPulsar) and of every change.
  std::function<void(const QString &boton)> avisoPulsado;
  std::function<void()> avisoCambio;

  static QString NombreTecla(int tecla); // "F2"

private:
  Boton *buscar(const QString &clave);
  const Boton *buscar(const QString &clave) const;
  void cambio();
  QVector<Boton> botones_;
  int styleBar_ = 1;
  bool enCurso_ = false;
};

class UtilKit : public QToolBar {
  Q_OBJECT
  // 0: raised buttons; any other value: flat buttons.
  Q_PROPERTY(int StyleBar READ StyleBar WRITE setStyleBar)

public:
  explicit UtilKit(QWidget *parent = nullptr, const QString &nombre = QStringLiteral("UtilKit1"));

  UtilKitModelo &modelo() { return modelo_; }
  int StyleBar() const { return modelo_.StyleBar(); }
  void setStyleBar(int estilo) { modelo_.setStyleBar(estilo); }
  void setBotonVisible(const QString &clave, bool visible) { modelo_.setVisible(clave, visible); }
  void setBotonHabilitado(const QString &clave, bool habilitado) { modelo_.setHabilitado(clave, habilitado); }
  // The key method fed by the window (see UtilKitModelo::TeclaPulsada).
  bool TeclaPulsada(int &keyCode) { return modelo_.TeclaPulsada(keyCode); }
  QAction *accion(const QString &clave) const;

signals:
  void buttonClicked(const QString &key);

private:
  void refrescar();
  UtilKitModelo modelo_;
  QVector<QAction *> acciones_;
};

} // namespace zv
