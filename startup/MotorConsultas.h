#pragma once
// What the start-up needs of the lookup engine, which lives in a layer above
// this one: the engine learns its connection and its definition file, and
// writes the default catalogue when that file is missing.
#include <QString>

namespace zv::startup {

class MotorConsultas {
public:
  virtual ~MotorConsultas() = default;
  virtual void FijarMascaras(const QString &connString, bool usarMascaras, const QString &ruta) = 0;
  // Writes the default lookup definitions into the file given above.
  virtual void GrabarCatalogo() = 0;
};

} // namespace zv::startup
