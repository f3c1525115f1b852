#include "app/Testigo.h"

#include "platform/Texto1252.h"

namespace zv::app {

namespace {

// Blanks only, as the sheet's values are trimmed everywhere else.
QString sinBlancos(const QString &t) {
  qsizetype i = 0, j = t.size();
  while (i < j && t.at(i) == u' ')
    ++i;
  while (j > i && t.at(j - 1) == u' ')
    --j;
  return t.mid(i, j - i);
}

} // namespace

QString EspaciosHTML(int cantidad) {
  if (cantidad == 1)
    return QStringLiteral("&nbsp");
  QString s;
  for (int i = 0; i < cantidad; ++i)
    s += QStringLiteral("&nbsp;");
  return s;
}

void GeneraTestigo(HojaRecodificacion &hoja, const QString &archivo, const QString &carpetaPrograma,
                   const QString &tituloVentana) {
  const QChar q = u'"';
  texto1252::Escritor f;
  f.abrir(archivo, false, QStringLiteral("\r\n"));
  f.escribirLinea("<html>");
  f.escribirLinea("");
  f.escribirLinea("</head>");
  f.escribirLinea("");
  f.escribirLinea("<body background=" + QString(q) + carpetaPrograma + "/" + "stone.jpg" + q + " text=" + q +
                  "navy" + q + ">");
  f.escribirLinea("<br>");
  f.escribirLinea("<H1 ALIGN = CENTER>" + tituloVentana + "</H1>");
  f.escribirLinea("<HR>");
  f.escribirLinea("<br>");
  f.escribirLinea("<br>");
  f.escribirLinea("<TABLE Border=2 ALIGN = CENTER>");
  f.escribirLinea("<TR>");

  Grilla &g = hoja.MSFlexGrid1;
  const QString espacios = EspaciosHTML(6);
  for (int c = 0; c < g.Cols(); ++c)
    f.escribirLinea("<TH bgcolor = " + QString(q) + "yellow" + q + ">" + espacios +
                    sinBlancos(g.TextMatrix(0, c)) + espacios);

  for (int r = 1; r < g.Rows(); ++r) {
    hoja.setRow(r);
    QString linea = QStringLiteral("<TR> ");
    for (int c = 0; c < g.Cols(); ++c) {
      hoja.setCol(c);
      const QString texto = sinBlancos(g.Text());
      linea += "<TD>" + (texto.isEmpty() ? QStringLiteral("&nbsp") : texto);
    }
    f.escribirLinea(linea);
  }

  f.escribirLinea("</TABLE>");
  f.escribirLinea("</BODY>");
  f.escribirLinea("</HTML>");
  f.cerrar();
}

void AbreDocumento(UiServices &ui, const QString &archivo, bool oculto) {
  QString nombre = archivo;
  if (!nombre.contains(u'"') && nombre.contains(u' '))
    nombre = u'"' + nombre + u'"';
  ui.openDocument(nombre, oculto ? 0 : 6);
}

} // namespace zv::app
