#pragma once
// The access dialog on screen: a QDialog whose child widgets carry the
// control names of the dialog's logic and pass the operator's events to it.
#include "db/frmAcceso.h"

#include <memory>

namespace zv::db {

std::unique_ptr<VistaAcceso> crearVistaAccesoQt(frmAcceso &logica);

} // namespace zv::db
