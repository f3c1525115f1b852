#pragma once
// The main window with its sheet on a temporary demo, started as the program
// starts it, with scripted messages.
#include "app/CampoValida.h"
#include "app/FrmDIZavadodare.h"
#include "support/AplicacionQt.h"
#include "support/DemoTemporal.h"
#include "support/FakeSistema.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>
#include <memory>

namespace zv::test {

// Opens the main database object on the demo, as the administrator.
inline bool abrirDemo(db::EntornoDB &entorno) {
  db::DB_Dll &bd = entorno.principal();
  bd.gServidor = QStringLiteral("SQLITE");
  bd.gDBName = bd.gUsuario = bd.gUserPassWord = QStringLiteral("DEMO");
  entorno.valores.gUsuarioLogeado = QStringLiteral("ADMIN");
  bd.OpenServerADODB(false, 3, QString(), true, true);
  return bd.gOpenFlag;
}

class VentanaDemo : public ::testing::Test {
protected:
  DemoTemporal demo{50};
  ScriptedUi ui;
  FakeSistema sistema;
  std::unique_ptr<db::EntornoDB> entorno;
  std::unique_ptr<startup::ModuloGlobal> global;
  std::unique_ptr<app::ValidacionCuentas> validacion;
  std::unique_ptr<app::FrmDIZavadodare> frm;

  void SetUp() override {
    aplicacionQt();
    ASSERT_TRUE(demo.valida());
    sistema.programFolder = demo.carpeta();
    sistema.args =
        QStringList{"@Server=SQLITE;@DbName=DEMO;@Usuario=DEMO;@UsuarioLogeado=ADMIN;@Password=admin;"};
    entorno = std::make_unique<db::EntornoDB>(ui, sistema, connectionFactory(demo.config()));
    global = std::make_unique<startup::ModuloGlobal>(*entorno);
    validacion = std::make_unique<app::ValidacionCuentas>(global->principal(), ui);
    frm = std::make_unique<app::FrmDIZavadodare>(*global, validacion.get());
    frm->Form_Load();
  }
  void TearDown() override { frm.reset(); }

  app::HojaRecodificacion &hoja() { return *frm->hoja(); }
  app::Grilla &grilla() { return frm->hoja()->MSFlexGrid1; }
};

} // namespace zv::test
