#include "platform/UtilKit.h"

#include "platform/Ui.h"

#include <QAction>
#include <QStyle>
#include <QToolButton>

namespace zv {

UtilKitModelo::UtilKitModelo()
    : botones_{{QStringLiteral("NUEVO"), QStringLiteral("Nuevo"), vb::KeyF2},
               {QStringLiteral("BORRAR"), QStringLiteral("Borrar"), vb::KeyF3},
               {QStringLiteral("GRABAR"), QStringLiteral("Grabar"), vb::KeyF5},
               {QStringLiteral("PLANILLA"), QStringLiteral("Planilla"), vb::KeyF6},
               {QStringLiteral("CONSULTAR"), QStringLiteral("Consultar"), vb::KeyF4},
               {QStringLiteral("REPORTE"), QStringLiteral("Reporte"), vb::KeyF7},
               {QStringLiteral("CERRAR"), QStringLiteral("Cerrar"), vb::KeyF12},
               {QStringLiteral("CANCELAR"), QStringLiteral("Cancelar"), vb::KeyF9}} {}

UtilKitModelo::Boton *UtilKitModelo::buscar(const QString &clave) {
  for (Boton &b : botones_)
    if (b.clave.compare(clave.trimmed(), Qt::CaseInsensitive) == 0)
      return &b;
  return nullptr;
}

const UtilKitModelo::Boton *UtilKitModelo::buscar(const QString &clave) const {
  return const_cast<UtilKitModelo *>(this)->buscar(clave);
}

void UtilKitModelo::cambio() {
  if (avisoCambio)
    avisoCambio();
}

bool UtilKitModelo::Existe(const QString &clave) const { return buscar(clave) != nullptr; }

void UtilKitModelo::setVisible(const QString &clave, bool visible) {
  if (Boton *b = buscar(clave); b && b->visible != visible) {
    b->visible = visible;
    cambio();
  }
}

bool UtilKitModelo::Visible(const QString &clave) const {
  const Boton *b = buscar(clave);
  return b && b->visible;
}

void UtilKitModelo::setHabilitado(const QString &clave, bool habilitado) {
  if (Boton *b = buscar(clave); b && b->habilitado != habilitado) {
    b->habilitado = habilitado;
    cambio();
  }
}

bool UtilKitModelo::Habilitado(const QString &clave) const {
  const Boton *b = buscar(clave);
  return b && b->habilitado;
}

void UtilKitModelo::setTecla(const QString &clave, int tecla) {
  Boton *b = buscar(clave);
  if (!b)
    return;
  // A key belongs to one button only.
  if (tecla != 0)
    for (Boton &otro : botones_)
      if (&otro != b && otro.tecla == tecla)
        otro.tecla = 0;
  b->tecla = tecla;
  cambio();
}

int UtilKitModelo::Tecla(const QString &clave) const {
  const Boton *b = buscar(clave);
  return b ? b->tecla : 0;
}

QString UtilKitModelo::Titulo(const QString &clave) const {
  const Boton *b = buscar(clave);
  return b ? b->titulo : QString();
}

QString UtilKitModelo::NombreTecla(int tecla) {
  if (tecla >= vb::KeyF1 && tecla <= vb::KeyF12)
    return QStringLiteral("F%1").arg(tecla - vb::KeyF1 + 1);
  return {};
}

QString UtilKitModelo::Ayuda(const QString &clave) const {
  const Boton *b = buscar(clave);
  if (!b)
    return {};
  const QString tecla = NombreTecla(b->tecla);
  return tecla.isEmpty() ? b->titulo : b->titulo + QStringLiteral(" (") + tecla + u')';
}

void UtilKitModelo::setStyleBar(int estilo) {
  if (styleBar_ != estilo) {
    styleBar_ = estilo;
    cambio();
  }
}

bool UtilKitModelo::TeclaPulsada(int &keyCode) {
  if (keyCode == 0)
    return false;
  for (const Boton &b : botones_)
    if (b.tecla == keyCode && b.visible && b.habilitado) {
      const QString clave = b.clave;
      if (!Pulsar(clave))
        return false;
      keyCode = 0;
      return true;
    }
  return false;
}

bool UtilKitModelo::Pulsar(const QString &clave) {
  const Boton *b = buscar(clave);
  // While a button's command runs (it may let events through), further
  // presses are not started on top of it.
  if (!b || !b->visible || !b->habilitado || enCurso_)
    return false;
  QString boton = b->clave;
  enCurso_ = true;
  struct Fin {
    bool &f;
    ~Fin() { f = false; }
  } fin{enCurso_};
  if (avisoPulsado)
    avisoPulsado(boton);
  if (AlPulsar)
    AlPulsar(boton);
  return true;
}

// ---------------------------------------------------------------- UtilKit

namespace {
QStyle::StandardPixmap icono(const QString &clave) {
  if (clave == QLatin1String("NUEVO"))
    return QStyle::SP_FileIcon;
  if (clave == QLatin1String("BORRAR"))
    return QStyle::SP_TrashIcon;
  if (clave == QLatin1String("GRABAR"))
    return QStyle::SP_DialogSaveButton;
  if (clave == QLatin1String("PLANILLA"))
    return QStyle::SP_FileDialogDetailedView;
  if (clave == QLatin1String("CONSULTAR"))
    return QStyle::SP_FileDialogContentsView;
  if (clave == QLatin1String("REPORTE"))
    return QStyle::SP_FileDialogInfoView;
  if (clave == QLatin1String("CERRAR"))
    return QStyle::SP_DialogCloseButton;
  return QStyle::SP_DialogCancelButton;
}
} // namespace

UtilKit::UtilKit(QWidget *parent, const QString &nombre) : QToolBar(parent) {
  setObjectName(nombre);
  setMovable(false);
  setFloatable(false);
  setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  for (const UtilKitModelo::Boton &b : modelo_.Botones()) {
    QAction *a = addAction(style()->standardIcon(icono(b.clave)), b.titulo);
    a->setObjectName(QStringLiteral("Boton") + b.clave);
    a->setData(b.clave);
    const QString clave = b.clave;
    connect(a, &QAction::triggered, this, [this, clave] { modelo_.Pulsar(clave); });
    acciones_ << a;
  }
  modelo_.avisoPulsado = [this](const QString &clave) { emit buttonClicked(clave); };
  modelo_.avisoCambio = [this] { refrescar(); };
  refrescar();
}

QAction *UtilKit::accion(const QString &clave) const {
  for (QAction *a : acciones_)
    if (a->data().toString().compare(clave.trimmed(), Qt::CaseInsensitive) == 0)
      return a;
  return nullptr;
}

void UtilKit::refrescar() {
  for (QAction *a : acciones_) {
    const QString clave = a->data().toString();
    a->setVisible(modelo_.Visible(clave));
    a->setEnabled(modelo_.Habilitado(clave));
    a->setToolTip(modelo_.Ayuda(clave));
    if (auto *boton = qobject_cast<QToolButton *>(widgetForAction(a)))
      boton->setAutoRaise(modelo_.StyleBar() != 0);
  }
}

} // namespace zv
