#pragma once
// The progress notice as the start-up drives it; the window itself lives in
// the application layer, which hands the start-up an implementation.
#include <QString>
#include <QVariant>
#include <optional>

namespace zv::startup {

class Cartel {
public:
  virtual ~Cartel() = default;
  virtual void CartelInicio(const QString &Titulo, bool PermiteCancelar) = 0;
  // An omitted line keeps its text; a null value writes the empty text.
  virtual void CartelMostrar(bool &Cancelado, const std::optional<QVariant> &L1 = std::nullopt,
                             const std::optional<QVariant> &l2 = std::nullopt,
                             const std::optional<QVariant> &l3 = std::nullopt) = 0;
  virtual void CartelCerrar() = 0;
  // End of the run: the notice object is released.
  virtual void Liberar() {}
};

} // namespace zv::startup
