#pragma once
// A fresh pair of demo databases in a temporary folder, removed with the
// object. Header-only: it calls the db layer, which this support library does
// not link, so only tests of the db layer and above include it.
#include "db/demo/CrearDemo.h"
#include "platform/Proveedores.h"

#include <QTemporaryDir>

#include <memory>

namespace zv::test {

class DemoTemporal {
public:
  explicit DemoTemporal(int renglones = 200) : renglones_(renglones) {
    if (dir_.isValid())
      resumen_ = demo::CrearDemo(dir_.path(), renglones).crear();
  }

  bool valida() const { return dir_.isValid() && !resumen_.archivoEmpresa.isEmpty(); }
  QString carpeta() const { return dir_.path(); }
  int renglones() const { return renglones_; }
  const demo::ResumenDemo &resumen() const { return resumen_; }
  QString archivoEmpresa() const { return resumen_.archivoEmpresa; }
  QString archivoEstadisticas() const { return resumen_.archivoEstadisticas; }

  ProviderConfig config() const {
    ProviderConfig c;
    c.dataFolder = dir_.path();
    return c;
  }

  // An open connection to DEMO or to the statistics database.
  std::unique_ptr<ado::Connection> abrir(const QString &base = demo::CrearDemo::BaseEmpresa) const {
    auto cn = createSqliteConnection(config());
    cn->open(demo::CrearDemo::cadenaConexion(base));
    return cn;
  }

private:
  QTemporaryDir dir_;
  int renglones_;
  demo::ResumenDemo resumen_;
};

} // namespace zv::test
