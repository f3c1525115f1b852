#include "app/CampoValida.h"

#include "platform/Kit.h"

namespace zv::app {

namespace {
bool igual(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }
} // namespace

bool ValidacionCuentas::existe(const QString &codigo, ado::Recordset &rs) {
  return db_.ExisteEnTabla(QStringLiteral("MA_CUENTAS"), codigo, QStringLiteral("CODIGO"), &rs, 8, QString(),
                           true);
}

bool ValidacionCuentas::CampoValida(HojaRecodificacion &hoja, EditorCelda &Texto) {
  bool HayError = false;
  const QString campo = Texto.DataField.trimmed();
  const QString texto = Texto.Text.trimmed();
  Grilla &g = hoja.MSFlexGrid1;
  const int critico = vb::OKOnly + vb::Critical;

  if (igual(campo, QStringLiteral("Codigo"))) {
    if (texto.isEmpty()) {
      HojaRecodificacion::LimpiaFila(g, g.Row(), 0);
      return false;
    }
    ado::Recordset rs;
    if (!existe(texto, rs)) {
      ui_.msgBox(NoExiste(), critico, TituloAviso());
      HayError = true;
    } else {
      const QString descripcion = kit::Utilidades::SinNulo(rs.value(QStringLiteral("Descripcion"))).trimmed();
      g.setTextMatrix(g.Row(), 1, descripcion);
    }
    db_.CierraRecordset(rs);
    return HayError;
  }

  if (igual(campo, QStringLiteral("CodigoNvo"))) {
    if (texto.isEmpty()) {
      ui_.msgBox(FaltaNuevo(), critico, TituloAviso());
      return true;
    }
    ado::Recordset rs;
    const bool hay = existe(texto, rs);
    db_.CierraRecordset(rs);
    if (hay && hoja.ModoDestino == 3) {
      if (ui_.msgBox(PreguntaExistente(), vb::YesNo + vb::Question, TituloAviso()) == vb::No) {
        ui_.msgBox(NuevoExistente(), critico, TituloAviso());
        HayError = true;
      } else {
        // From now on every new code of this sheet must be an account.
        hoja.ModoDestino = 1;
      }
    } else if (!hay && hoja.ModoDestino == 1) {
      HayError = true;
    }
    return HayError;
  }
  // The branch has no rule.
  return false;
}

} // namespace zv::app
