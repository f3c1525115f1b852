#include "platform/ProtocoloError.h"

namespace zv {

bool Trampa::operator()(const std::function<void()> &paso) {
  while (activa_) {
    try {
      paso();
      return true;
    } catch (const AppError &e) {
      ultimo_.emplace(e);
      const int respuesta = reporte_(e);
      if (respuesta == 4)
        continue;
      if (respuesta == 5)
        return true;
      activa_ = false;
      salida_ = respuesta;
    }
  }
  return false;
}

bool ignorarFalla(const std::function<void()> &paso) {
  try {
    paso();
    return true;
  } catch (const AppError &) {
    return false;
  }
}

} // namespace zv
