#pragma once
// The configurable lookup engine: callers set its request properties, run a
// lookup and read what the operator chose. This part holds its properties,
// its creation and the hand-over of the definition file from the start-up.
#include "startup/MotorConsultas.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <functional>
#include <optional>

namespace zv::lookup {

class Lib_ClsCons3 : public startup::MotorConsultas {
public:
  // Reads a configuration key of the company database (the global module's Cfg).
  using LectorConfiguracion = std::function<QString(const QString &clave)>;

  explicit Lib_ClsCons3(LectorConfiguracion cfg);
  ~Lib_ClsCons3() override;
  Lib_ClsCons3(const Lib_ClsCons3 &) = delete;
  Lib_ClsCons3 &operator=(const Lib_ClsCons3 &) = delete;

  // Stock-level colours of article lookups; the number 0 when not configured.
  QVariant StkNivel1, StkNivel2, StkNivel3, StkNivel4;
  QString MuestraStock; // "SI" turns on stock colouring in the list window
  // Collections; std::nullopt is an unset reference.
  std::optional<QStringList> CmpsDevueltos;
  std::optional<QVariantList> Valores;
  std::optional<QVariantList> Cantidades;
  bool Checks = false;
  QVariant ValorDevuelto{QString()}; // empty until a lookup returns
  QString gConnString;
  QString gRutaMascaraConsultas;
  bool gUsarMascarasConsultas = false;
  bool UsaCantidades = false;
  QString CampoDevuelto;

  // The LIKE search setting handed to the list window.
  bool UsaConsultaLike() const { return usaConsultaLike_; }

  void GrabaConsultaDefault() {}

  // startup::MotorConsultas
  void FijarMascaras(const QString &connString, bool usarMascaras, const QString &ruta) override;
  void GrabarCatalogo() override;

private:
  void Class_Initialize();
  void Class_Terminate();

  LectorConfiguracion cfg_;
  bool usaConsultaLike_ = false;
};

} // namespace zv::lookup
