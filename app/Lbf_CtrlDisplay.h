#pragma once
// The progress notice's window: three centred lines, an animation of 12
// frames drawn here and advanced every 100 ms, and a cancel button whose
// caption is the cancel state ("Abortado" once pressed).
//
// Laid out from the design in twips at 15 twips per pixel; client area
// 7845 x 2790 twips = 523 x 186 px. The lines are the control array
// LblCtrol(0..2): object names "LblCtrol0".."LblCtrol2", each with the
// dynamic property "Index". The window is a tool window with a title bar
// (which shows the notice's title) and no close button, topmost, with
// opacity 200/255 where the windowing system supports it.
#include "app/Dll_Display.h"

#include <QImage>
#include <QList>
#include <QWidget>

class QLabel;
class QPushButton;
class QTimer;

namespace zv::app {

class Lbf_CtrlDisplay : public QWidget, public VistaAviso {
  Q_OBJECT
public:
  static constexpr int kTwipsPorPixel = 15;
  static constexpr int kCuadros = 12;
  static constexpr int kOpacidad = 200; // of 255

  explicit Lbf_CtrlDisplay(QWidget *parent = nullptr);
  ~Lbf_CtrlDisplay() override;

  // VistaAviso
  void ponerTitulo(const QString &titulo) override;
  void ponerCancelarVisible(bool visible) override;
  void mostrar() override;
  void ocultar() override;
  void ponerLinea(int indice, const QString &texto) override;
  void repintar() override;
  QString leyendaCancelar() const override;
  void ceder() override;
  void ponerSiempreVisible(bool siempre) override;

  // The controls.
  QLabel *LblCtrol(int indice) const;
  QLabel *Image1() const { return image1_; }
  // Frame n (1..12) is ImageList1()[n - 1].
  const QList<QImage> &ImageList1() const { return imageList1_; }
  QPushButton *CmdDisplayCancelar() const { return cmdDisplayCancelar_; }
  QTimer *Timer1() const { return timer1_; }

  // The frame counter (0..11 between ticks) and the frame shown (1..12).
  qint16 contador() const { return contador_; }
  int cuadroMostrado() const { return cuadroMostrado_; }

  // A design rectangle in twips, in pixels.
  static QRect desdeTwips(int izquierda, int arriba, int ancho, int alto);
  // The animation: a ring of 12 spokes whose dark head turns clockwise one
  // spoke per frame, with a fading tail.
  static QList<QImage> dibujarCuadros(const QSize &tamano);

public slots:
  void Timer1_Timer();
  void CmdDisplayCancelar_Click();

protected:
  void closeEvent(QCloseEvent *evento) override;

private:
  void Form_Load();
  void mostrarCuadro(int numero);

  QLabel *lblCtrol_[3] = {};
  QLabel *image1_ = nullptr;
  QList<QImage> imageList1_;
  QPushButton *cmdDisplayCancelar_ = nullptr;
  QTimer *timer1_ = nullptr;
  qint16 contador_ = 0;
  int cuadroMostrado_ = 0;
};

} // namespace zv::app
