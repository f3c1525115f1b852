#pragma once
// The error-answer protocol of the system's routines: a routine runs its
// statements as steps; when one fails, the routine's error report is asked,
// and its answer decides: 4 runs the same step again, 5 goes on with the next
// step, anything else leaves the routine (every later step is skipped).
#include "platform/AppError.h"

#include <functional>
#include <optional>

namespace zv {

class Trampa {
public:
  using Reporte = std::function<int(const AppError &)>;
  explicit Trampa(Reporte reporte) : reporte_(std::move(reporte)) {}

  // Runs one step under the protocol. Returns true when the routine goes on
  // (the step succeeded or was ignored), false once the routine was left.
  bool operator()(const std::function<void()> &paso);

  // True while the routine has not been left.
  bool activa() const { return activa_; }
  explicit operator bool() const { return activa_; }
  // The answer that left the routine (0 while active).
  int respuestaSalida() const { return salida_; }
  // The last error reported, if any.
  const AppError *ultimoError() const { return ultimo_ ? &*ultimo_ : nullptr; }

private:
  Reporte reporte_;
  bool activa_ = true;
  int salida_ = 0;
  std::optional<AppError> ultimo_;
};

// The "ignore failures step by step" form: a failing step is skipped.
// Returns true when the step succeeded.
bool ignorarFalla(const std::function<void()> &paso);

} // namespace zv
