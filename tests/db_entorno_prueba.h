#pragma once
// Fixture of the data-access tests: scripted messages, a fake system in a
// temporary program folder, and a main database object whose connection is a
// scripted in-memory one wrapped by a connection that fails on demand. The
// access dialog is played by `operador` (cancelled when it is empty).
#include "db/DB_Dll.h"
#include "db/frmAcceso.h"
#include "support/ConexionFallida.h"
#include "support/FakeSistema.h"
#include "support/ScriptedUi.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zv::test {

class VistaGuion : public db::VistaAcceso {
public:
  VistaGuion(db::frmAcceso &f, std::function<void(db::frmAcceso &)> &operador, int &veces)
      : f_(f), operador_(operador), veces_(veces) {}
  void mostrarModal() override {
    ++veces_;
    if (operador_)
      operador_(f_);
    else
      f_.bcCancelar_Click();
  }
  void ocultar() override {}
  void centrar() override {}
  void actualizar() override {}
  void enfocar(const QString &) override {}

private:
  db::frmAcceso &f_;
  std::function<void(db::frmAcceso &)> &operador_;
  int &veces_;
};

struct EntornoPrueba : ::testing::Test {
  QTemporaryDir carpeta;
  FakeSistema sistema;
  ScriptedUi ui;
  std::vector<ConexionGuion *> guiones;
  std::vector<ConexionFallida *> fallidas;
  std::function<void(db::frmAcceso &)> operador;
  int dialogos = 0;
  db::EntornoDB entorno{ui, sistema, [this] {
                          auto g = std::make_unique<ConexionGuion>();
                          guiones.push_back(g.get());
                          auto f = std::make_unique<ConexionFallida>(std::move(g));
                          fallidas.push_back(f.get());
                          return std::unique_ptr<ado::Connection>(std::move(f));
                        }};

  EntornoPrueba() {
    sistema.programFolder = carpeta.path();
    entorno.fabricaVistaAcceso = [this](db::frmAcceso &f) {
      return std::make_unique<VistaGuion>(f, operador, dialogos);
    };
  }

  db::DB_Dll &bd() { return entorno.principal(); }
  // The main object's connections (created on first use).
  ConexionGuion &guion() {
    bd().Cnn();
    return *guiones.front();
  }
  ConexionFallida &falla() {
    bd().Cnn();
    return *fallidas.front();
  }
  QString registroBases() const { return carpeta.path() + QStringLiteral("/BASES.TXT"); }
};

inline std::string std_(const QString &s) { return s.toStdString(); }

} // namespace zv::test
