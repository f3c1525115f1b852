#include "app/Dll_Display.h"

#include "app/AvisoHeadless.h"
#include "app/Lbf_CtrlDisplay.h"
#include "platform/ProtocoloError.h"

#include <QApplication>

namespace zv::app {

namespace {
const QString kAbortado = QStringLiteral("Abortado");

QString textoDeLinea(const QVariant &valor) { return valor.isNull() ? QString() : valor.toString(); }
} // namespace

Dll_Display::Dll_Display(FabricaVistaAviso fabrica) : fabrica_(std::move(fabrica)) {}

Dll_Display::~Dll_Display() = default;

FabricaVistaAviso Dll_Display::fabricaPredeterminada() {
  return []() -> std::unique_ptr<VistaAviso> {
    if (qobject_cast<QApplication *>(QCoreApplication::instance()))
      return std::make_unique<Lbf_CtrlDisplay>();
    return std::make_unique<AvisoHeadless>();
  };
}

VistaAviso &Dll_Display::ventana() {
  if (!vista_) {
    vista_ = fabrica_ ? fabrica_() : fabricaPredeterminada()();
  }
  return *vista_;
}

void Dll_Display::CartelInicio(const QString &Titulo, bool PermiteCancelar) {
  VistaAviso *v = nullptr;
  ignorarFalla([&] { v = &ventana(); });
  if (!v)
    return;
  ignorarFalla([&] { v->ponerTitulo(Titulo); });
  ignorarFalla([&] { v->ponerCancelarVisible(PermiteCancelar); });
  ignorarFalla([&] { v->mostrar(); });
}

void Dll_Display::CartelMostrar(bool &Cancelado, const LineaAviso &L1, const LineaAviso &l2,
                                const LineaAviso &l3) {
  VistaAviso &v = ventana();
  const LineaAviso *lineas[] = {&L1, &l2, &l3};
  for (int i = 0; i < 3; ++i) {
    if (lineas[i]->has_value())
      v.ponerLinea(i, textoDeLinea(**lineas[i]));
  }
  v.repintar();
  Cancelado = v.leyendaCancelar() == kAbortado;
  v.ceder();
}

void Dll_Display::CartelCerrar() {
  // A notice that is not loaded has nothing to hide: loading one only to
  // unload it at once would change nothing.
  if (!vista_)
    return;
  ignorarFalla([&] { vista_->ocultar(); });
  vista_.reset();
}

void Dll_Display::Siempre_Visible(bool valor) { ventana().ponerSiempreVisible(valor); }

} // namespace zv::app
