#pragma once
// Test doubles for the recode sheet: a validation driven by a small rule set
// and user-interface services whose yield and Tab can be made to fail.
#include "app/HojaRecodificacion.h"
#include "support/ScriptedUi.h"

#include <QMap>
#include <QSet>
#include <deque>

namespace zv::test {

// ScriptedUi whose doEvents and sendTab throw the queued error numbers.
class UiConFallas : public ScriptedUi {
public:
  std::deque<long> fallasDoEvents;
  std::deque<long> fallasSendTab;
  void doEvents() override {
    ScriptedUi::doEvents();
    lanzar(fallasDoEvents, "DoEvents");
  }
  void sendTab() override {
    ScriptedUi::sendTab();
    lanzar(fallasSendTab, "SendKeys");
  }

private:
  static void lanzar(std::deque<long> &cola, const char *origen) {
    if (cola.empty())
      return;
    const long n = cola.front();
    cola.pop_front();
    throw AppError(n, QStringLiteral("falla provocada"), QString::fromLatin1(origen));
  }
};

// A validation with a fixed chart: a current code must be in `cuentas` (its
// description goes into column 1; an empty text empties the row), a new code
// must be given and an existing one is asked about once; the branch passes.
// Every call is recorded as "DataField=Text".
class ValidadorPrueba : public app::Validador {
public:
  explicit ValidadorPrueba(UiServices &ui) : ui_(ui) {}
  QMap<QString, QString> cuentas; // code -> description
  QStringList llamadas;

  bool CampoValida(app::HojaRecodificacion &hoja, app::EditorCelda &e) override {
    llamadas << e.DataField + "=" + e.Text;
    const QString campo = e.DataField.trimmed();
    const QString texto = e.Text.trimmed();
    auto &g = hoja.MSFlexGrid1;
    if (campo.compare("Codigo", Qt::CaseInsensitive) == 0) {
      if (texto.isEmpty()) {
        app::HojaRecodificacion::LimpiaFila(g, g.Row(), 0);
        return false;
      }
      if (!cuentas.contains(texto)) {
        ui_.msgBox("El Codigo Informado no existe", vb::OKOnly + vb::Critical, "Aviso al operador");
        return true;
      }
      g.setTextMatrix(g.Row(), 1, cuentas.value(texto));
      return false;
    }
    if (campo.compare("CodigoNvo", Qt::CaseInsensitive) == 0) {
      if (texto.isEmpty()) {
        ui_.msgBox("Debe Informar el Codigo de Cuenta Nuevo", vb::OKOnly + vb::Critical, "Aviso al operador");
        return true;
      }
      const bool existe = cuentas.contains(texto);
      if (existe && hoja.ModoDestino == 3) {
        if (ui_.msgBox("Atención, el codigo nuevo ya existe..., esta seguro de utilizar esta cuenta? ",
                       vb::YesNo + vb::Question, "Aviso al operador") == vb::No) {
          ui_.msgBox("El Código de Cuenta Nuevo ya Existe", vb::OKOnly + vb::Critical, "Aviso al operador");
          return true;
        }
        hoja.ModoDestino = 1;
        return false;
      }
      return !existe && hoja.ModoDestino == 1;
    }
    return false;
  }

private:
  UiServices &ui_;
};

// An error report that records "routine:number" and answers from a queue
// (Abort once it is empty).
class InformeGuion {
public:
  QStringList informes;
  std::deque<int> respuestas;
  app::HojaRecodificacion::Informe funcion() {
    return [this](const AppError &e, const QString &rutina) {
      informes << rutina + ":" + QString::number(e.number());
      if (respuestas.empty())
        return vb::Abort;
      const int r = respuestas.front();
      respuestas.pop_front();
      return r;
    };
  }
};

} // namespace zv::test
