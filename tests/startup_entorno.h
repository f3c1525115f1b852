#pragma once
// A global module over a fresh demo database in a temporary folder, with
// scripted messages and fake system services, for the start-up's tests.
#include "db/DB_Dll.h"
#include "db/frmAcceso.h"
#include "platform/Proveedores.h"
#include "startup/ModuloGlobal.h"
#include "support/DemoTemporal.h"
#include "support/FakeSistema.h"
#include "support/ScriptedUi.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace zv::test {

// The access dialog shown without a display: each showing runs the next
// action of the queue, which fills the boxes and presses a button.
class VistaAccesoGuionada : public db::VistaAcceso {
public:
  using Accion = std::function<void(db::frmAcceso &)>;
  VistaAccesoGuionada(db::frmAcceso &f, std::deque<Accion> &acciones) : f_(f), acciones_(acciones) {}
  void mostrarModal() override {
    if (acciones_.empty()) {
      ADD_FAILURE() << "el dialogo de acceso se mostro sin una accion prevista";
      f_.bcCancelar_Click();
      return;
    }
    Accion a = std::move(acciones_.front());
    acciones_.pop_front();
    a(f_);
  }
  void ocultar() override {}
  void centrar() override {}
  void actualizar() override {}
  void enfocar(const QString &) override {}

private:
  db::frmAcceso &f_;
  std::deque<Accion> &acciones_;
};

// Types a user and password into the dialog and presses "Conectar".
inline VistaAccesoGuionada::Accion conectarCon(const QString &usuario, const QString &clave,
                                               const QString &base = {}) {
  return [=](db::frmAcceso &f) {
    f.setText(f.TxtUserId, usuario);
    f.setText(f.TxtUserPassword, clave);
    if (!base.isEmpty())
      f.setText(f.TxtDbName, base);
    f.bcAceptar_Click();
  };
}

// Records what the start-up does with the progress notice.
class CartelGrabado : public startup::Cartel {
public:
  QStringList eventos;
  void CartelInicio(const QString &t, bool c) override {
    eventos << QStringLiteral("inicio:%1:%2").arg(t).arg(c ? "si" : "no");
  }
  void CartelMostrar(bool &cancelado, const std::optional<QVariant> &l1, const std::optional<QVariant> &l2,
                     const std::optional<QVariant> &l3) override {
    const auto t = [](const std::optional<QVariant> &l) { return l ? l->toString() : QStringLiteral("-"); };
    eventos << QStringLiteral("mostrar:%1|%2|%3").arg(t(l1), t(l2), t(l3));
    cancelado = false;
  }
  void CartelCerrar() override { eventos << QStringLiteral("cerrar"); }
  void Liberar() override { eventos << QStringLiteral("liberar"); }
};

class EntornoDemo {
public:
  DemoTemporal demo{50};
  QTemporaryDir carpetaPrograma;
  ScriptedUi ui;
  FakeSistema sistema;
  std::unique_ptr<db::EntornoDB> entorno;
  std::unique_ptr<startup::ModuloGlobal> g;
  std::deque<VistaAccesoGuionada::Accion> accionesAcceso;

  EntornoDemo() {
    sistema.programFolder = carpetaPrograma.path();
    sistema.tempFolder = carpetaPrograma.path();
    entorno = std::make_unique<db::EntornoDB>(ui, sistema, connectionFactory(demo.config()));
    entorno->fabricaVistaAcceso = [this](db::frmAcceso &f) -> std::unique_ptr<db::VistaAcceso> {
      return std::make_unique<VistaAccesoGuionada>(f, accionesAcceso);
    };
    g = std::make_unique<startup::ModuloGlobal>(*entorno);
    g->ahora = [] { return QDateTime(QDate(2024, 3, 21), QTime(10, 15, 2)); };
    entorno->reporteCentral = [this](const AppError &e, const QString &rutina) {
      return g->AvisoError(e, std::nullopt, rutina);
    };
  }

  bool valido() const { return demo.valida() && carpetaPrograma.isValid(); }

  // Opens the main database object on DEMO the way the start-up does.
  void abrirPrincipal() {
    db::DB_Dll &db = entorno->principal();
    db.gServidor = QStringLiteral("SQLITE");
    db.gDBName = db.gUsuario = db.gUserPassWord = QStringLiteral("DEMO");
    db.OpenServerADODB(false, ado::adUseClient, QString(), true, false);
    ASSERT_TRUE(db.gOpenFlag);
  }

  // A direct connection to a demo database, for preparing and checking rows.
  std::unique_ptr<ado::Connection> directa(const QString &base = QStringLiteral("DEMO")) const {
    return demo.abrir(base);
  }
  static QVariant escalar(ado::Connection &cn, const QString &sql) {
    auto r = cn.execute(sql);
    if (!r || r->rows.isEmpty() || r->rows[0].isEmpty())
      return {};
    return r->rows[0][0];
  }
  QVariant escalar(const QString &sql, const QString &base = QStringLiteral("DEMO")) const {
    auto cn = directa(base);
    return escalar(*cn, sql);
  }
  void ejecutar(const QString &sql, const QString &base = QStringLiteral("DEMO")) const {
    auto cn = directa(base);
    cn->execute(sql);
  }
};

} // namespace zv::test
