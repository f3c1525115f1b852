#include "lookup/Lib_ClsCons3.h"

#include "lookup/CatalogoConsultas.h"
#include "platform/ProtocoloError.h"

namespace zv::lookup {

Lib_ClsCons3::Lib_ClsCons3(LectorConfiguracion cfg) : cfg_(std::move(cfg)) { Class_Initialize(); }

Lib_ClsCons3::~Lib_ClsCons3() { Class_Terminate(); }

void Lib_ClsCons3::Class_Initialize() {
  CmpsDevueltos = QStringList();
  Valores = QVariantList();
  const auto leer = [this](const char *clave) { return cfg_ ? cfg_(QString::fromLatin1(clave)) : QString(); };
  MuestraStock = leer("MostrarStockenConsultas");
  // A missing key reads as one blank: a colour that is blank is as good as none.
  const auto nivel = [&](const char *clave) -> QVariant {
    const QString valor = leer(clave);
    if (valor.trimmed().isEmpty())
      return QVariant(0);
    return QVariant(valor);
  };
  StkNivel1 = nivel("Stk_Nivel1");
  StkNivel2 = nivel("Stk_Nivel2");
  StkNivel3 = nivel("Stk_Nivel3");
  StkNivel4 = nivel("Stk_Nivel4");
  usaConsultaLike_ = leer("UsaConsultaLike").compare(QLatin1String("SI"), Qt::CaseInsensitive) == 0;
}

void Lib_ClsCons3::Class_Terminate() {
  CmpsDevueltos.reset();
  Valores.reset();
}

void Lib_ClsCons3::FijarMascaras(const QString &connString, bool usarMascaras, const QString &ruta) {
  gConnString = connString;
  gUsarMascarasConsultas = usarMascaras;
  gRutaMascaraConsultas = ruta;
}

void Lib_ClsCons3::GrabarCatalogo() { GrabaMascarasConsultas(*this); }

} // namespace zv::lookup
