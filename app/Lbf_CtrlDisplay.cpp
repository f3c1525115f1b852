#include "app/Lbf_CtrlDisplay.h"

#include "platform/AppError.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtMath>

namespace zv::app {

namespace {
// Control array element that does not exist.
constexpr long kErrElementoInexistente = 340;

const QColor kFondo = Qt::white;
const QColor kTinta(0, 0, 128);
} // namespace

QRect Lbf_CtrlDisplay::desdeTwips(int izquierda, int arriba, int ancho, int alto) {
  auto px = [](int twips) { return (twips + kTwipsPorPixel / 2) / kTwipsPorPixel; };
  return QRect(px(izquierda), px(arriba), px(ancho), px(alto));
}

QList<QImage> Lbf_CtrlDisplay::dibujarCuadros(const QSize &tamano) {
  QList<QImage> cuadros;
  const QPointF centro(tamano.width() / 2.0, tamano.height() / 2.0);
  const qreal exterior = qMin(tamano.width(), tamano.height()) * 0.44;
  const qreal interior = exterior * 0.5;
  const qreal grosor = qMax<qreal>(2.0, exterior * 0.18);
  for (int cuadro = 0; cuadro < kCuadros; ++cuadro) {
    QImage imagen(tamano, QImage::Format_ARGB32_Premultiplied);
    imagen.fill(kFondo);
    QPainter p(&imagen);
    p.setRenderHint(QPainter::Antialiasing);
    for (int rayo = 0; rayo < kCuadros; ++rayo) {
      // 0 for the head, growing along the tail behind it.
      const int atraso = (cuadro - rayo + kCuadros) % kCuadros;
      QColor color = kTinta;
      color.setAlpha(255 - atraso * 215 / (kCuadros - 1));
      p.setPen(QPen(color, grosor, Qt::SolidLine, Qt::RoundCap));
      const qreal angulo = qDegreesToRadians(rayo * 360.0 / kCuadros);
      const QPointF dir(qSin(angulo), -qCos(angulo));
      p.drawLine(centro + dir * interior, centro + dir * exterior);
    }
    p.end();
    cuadros << imagen;
  }
  return cuadros;
}

Lbf_CtrlDisplay::Lbf_CtrlDisplay(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName(QStringLiteral("Lbf_CtrlDisplay"));
  setWindowTitle(QStringLiteral("Procesando Datos"));
  setFixedSize(desdeTwips(0, 0, 7845, 2790).size());
  setAutoFillBackground(true);
  QPalette paleta = palette();
  paleta.setColor(QPalette::Window, kFondo);
  setPalette(paleta);

  QFont letra(QStringLiteral("MS Sans Serif"));
  letra.setStyleHint(QFont::SansSerif);
  letra.setPointSize(12);
  letra.setBold(true);
  const int arribas[3] = {120, 480, 840};
  for (int i = 0; i < 3; ++i) {
    auto *l = new QLabel(this);
    l->setObjectName(QStringLiteral("LblCtrol%1").arg(i));
    l->setProperty("Index", i);
    l->setGeometry(desdeTwips(0, arribas[i], 7815, 290));
    l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    l->setFont(letra);
    l->setAutoFillBackground(true);
    l->setPalette(paleta);
    lblCtrol_[i] = l;
  }

  image1_ = new QLabel(this);
  image1_->setObjectName(QStringLiteral("Image1"));
  image1_->setGeometry(desdeTwips(3480, 1320, 1095, 975));
  imageList1_ = dibujarCuadros(image1_->size());

  cmdDisplayCancelar_ = new QPushButton(QStringLiteral("&Cancelar "), this);
  cmdDisplayCancelar_->setObjectName(QStringLiteral("CmdDisplayCancelar"));
  cmdDisplayCancelar_->setGeometry(desdeTwips(3120, 2400, 1695, 375));
  connect(cmdDisplayCancelar_, &QPushButton::clicked, this, &Lbf_CtrlDisplay::CmdDisplayCancelar_Click);

  timer1_ = new QTimer(this);
  timer1_->setObjectName(QStringLiteral("Timer1"));
  timer1_->setInterval(100);
  connect(timer1_, &QTimer::timeout, this, &Lbf_CtrlDisplay::Timer1_Timer);

  Form_Load();
  timer1_->start();
}

Lbf_CtrlDisplay::~Lbf_CtrlDisplay() = default;

// Qt calls cannot fail the way the steps of a load may, so each step is a
// plain statement; a missing screen only skips the centring.
void Lbf_CtrlDisplay::Form_Load() {
  if (QScreen *pantalla = screen()) {
    const QRect area = pantalla->geometry();
    const QSize ventana = frameGeometry().size();
    move(area.x() + (area.width() - ventana.width()) / 2, area.y() + (area.height() - ventana.height()) / 2);
  }
  // A new notice starts not cancelled.
  cmdDisplayCancelar_->setText(QStringLiteral("&Cancelar"));
  mostrarCuadro(1);
  // The client area already has the design size: Qt sizes a window by its
  // client area, so there is no outer rectangle to fit.
  setWindowOpacity(kOpacidad / 255.0);
}

void Lbf_CtrlDisplay::mostrarCuadro(int numero) {
  if (numero < 1 || numero > imageList1_.size())
    return;
  image1_->setPixmap(QPixmap::fromImage(imageList1_.at(numero - 1)));
  cuadroMostrado_ = numero;
}

void Lbf_CtrlDisplay::Timer1_Timer() {
  ++contador_;
  mostrarCuadro(contador_);
  if (contador_ >= kCuadros)
    contador_ = 0;
}

void Lbf_CtrlDisplay::CmdDisplayCancelar_Click() {
  // A hidden button cannot be pressed (a stray shortcut or scripted click).
  if (cmdDisplayCancelar_->isHidden())
    return;
  cmdDisplayCancelar_->setText(QStringLiteral("Abortado"));
}

// The notice is hidden and destroyed by its owner, never closed: a close
// request (the window manager, Alt+F4) is refused.
void Lbf_CtrlDisplay::closeEvent(QCloseEvent *evento) { evento->ignore(); }

QLabel *Lbf_CtrlDisplay::LblCtrol(int indice) const {
  return indice >= 0 && indice < 3 ? lblCtrol_[indice] : nullptr;
}

void Lbf_CtrlDisplay::ponerTitulo(const QString &titulo) { setWindowTitle(titulo); }

void Lbf_CtrlDisplay::ponerCancelarVisible(bool visible) { cmdDisplayCancelar_->setVisible(visible); }

void Lbf_CtrlDisplay::mostrar() { show(); }

void Lbf_CtrlDisplay::ocultar() { hide(); }

void Lbf_CtrlDisplay::ponerLinea(int indice, const QString &texto) {
  QLabel *l = LblCtrol(indice);
  if (!l)
    throw AppError(kErrElementoInexistente,
                   QStringLiteral("El elemento %1 de la matriz de controles no existe").arg(indice),
                   QStringLiteral("Lbf_CtrlDisplay"));
  l->setText(texto);
}

void Lbf_CtrlDisplay::repintar() { repaint(); }

QString Lbf_CtrlDisplay::leyendaCancelar() const { return cmdDisplayCancelar_->text(); }

void Lbf_CtrlDisplay::ceder() { QCoreApplication::processEvents(); }

void Lbf_CtrlDisplay::ponerSiempreVisible(bool siempre) {
  // Changing the flags of a window hides it: bring it back where it was.
  const bool visible = isVisible();
  const QRect antes = geometry();
  setWindowFlag(Qt::WindowStaysOnTopHint, siempre);
  setGeometry(antes);
  if (visible)
    show();
}

} // namespace zv::app
