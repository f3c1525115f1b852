#pragma once
// The default lookup catalogue written into a missing "consultas.zvq".
#include "lookup/RegistroConsulta.h"

#include <QVector>

namespace zv::lookup {

class Lib_ClsCons3;

// The eleven default lookups of the suite's master tables, in file order.
QVector<RegistroConsulta> CatalogoPorDefecto();

// Appends the default catalogue to the engine's definition file (created when
// missing), each record after the last complete one. Failures are thrown
// (AppError 75) for the start-up's handler.
void GrabaMascarasConsultas(Lib_ClsCons3 &motor);

} // namespace zv::lookup
