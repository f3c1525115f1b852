#include "app/ImportacionPares.h"

#include "platform/ProtocoloError.h"
#include "platform/Texto1252.h"

namespace zv::app {

namespace {

const QString kPregunta = QStringLiteral("El archivo debe tener el Codigo actual coma Codigo nuevo (2 campos "
                                         "separado por coma (,) o punto y coma ( ; ) o tab)") +
                          QStringLiteral("\r\n") + QStringLiteral("¿Realmente desea cargar un archivo?");

// One code through the editor of column `col`, confirmed with Enter.
// Each statement is a step of the caller's trap.
template <typename Paso>
void entrarCodigo(HojaRecodificacion &hoja, int col, const QString &codigo, Paso &&paso) {
  Grilla &g = hoja.MSFlexGrid1;
  EditorCelda &e = hoja.txtedit;
  paso([&] { hoja.setCol(col); });
  paso([&] { hoja.MsflexGridEdt(g, e, vb::KeyReturn); });
  paso([&] { hoja.textpropiedades(e, col); });
  paso([&] { e.Text = codigo; });
  paso([&] { hoja.validar(); });
  paso([&] { hoja.EditKeyCode(g, e, vb::KeyReturn, 0); });
}

void cargar(HojaRecodificacion &hoja, const ParArchivo &par,
            const std::function<bool(const std::function<void()> &)> &paso) {
  entrarCodigo(hoja, 0, par.actual, paso);
  paso([&] { hoja.ui().doEvents(); });
  // A refused current code is overwritten by the next line in the same row.
  if (hoja.HayError)
    return;
  const int fila = hoja.MSFlexGrid1.Row();
  entrarCodigo(hoja, 2, par.nuevo, paso);
  // Enter wrote the refused text; it must not stay for the run.
  if (hoja.HayError)
    paso([&] { hoja.MSFlexGrid1.setTextMatrix(fila, 2, QString()); });
}

} // namespace

std::optional<ParArchivo> SepararPar(const QString &linea) {
  qsizetype i = linea.indexOf(u',');
  if (i < 0)
    i = linea.indexOf(u';');
  if (i < 0)
    i = linea.indexOf(u'\t');
  if (i < 0)
    return std::nullopt;
  return ParArchivo{linea.left(i), linea.mid(i + 1)};
}

void CargarPar(HojaRecodificacion &hoja, const ParArchivo &par) {
  cargar(hoja, par, [](const std::function<void()> &p) {
    p();
    return true;
  });
}

void CmdBuscar_Click(HojaRecodificacion &hoja, kit::DialogoArchivo &dialogo) {
  Trampa t([&hoja](const AppError &e) {
    return hoja.InformarError ? hoja.InformarError(e, QStringLiteral("CmdBuscar_Click")) : vb::Abort;
  });
  // The button takes the focus: an open editor is left first.
  hoja.darFocoOtro();

  int respuesta = vb::No;
  t([&] {
    respuesta = hoja.ui().msgBox(kPregunta, vb::YesNo + vb::Question, QStringLiteral("Aviso al Operador"));
  });
  if (!t || respuesta == vb::No)
    return;
  t([&] { hoja.InicializaGrid2(); });
  t([&] { hoja.setRow(1); });
  t([&] {
    dialogo.Opcion = true;
    dialogo.Titulo = QStringLiteral("Importación de Archivos");
  });
  t([&] { dialogo.MostrarAbrir(); });
  if (!t || dialogo.Cancelado)
    return;
  const QString archivo = dialogo.NombreArchivo;

  texto1252::Lector lector;
  t([&] { lector.abrir(archivo); });
  auto paso = [&t](const std::function<void()> &p) { return t(p); };
  while (t && !lector.fin()) {
    QString linea;
    if (!t([&] { linea = lector.leerLinea(); }))
      break;
    const std::optional<ParArchivo> par = SepararPar(linea);
    if (!par)
      continue;
    cargar(hoja, *par, paso);
  }
  lector.cerrar();
}

} // namespace zv::app
