#include "db/TextoSql.h"

namespace zv::db::texto {

bool contiene(const QString &texto, const QString &buscado) {
  return texto.contains(buscado, Qt::CaseInsensitive);
}

int posicion(const QString &texto, const QString &buscado, int desde) {
  if (desde < 1)
    desde = 1;
  const qsizetype i = texto.indexOf(buscado, desde - 1, Qt::CaseInsensitive);
  return i < 0 ? 0 : int(i) + 1;
}

QString reemplazar(const QString &texto, const QString &viejo, const QString &nuevo) {
  if (viejo.isEmpty())
    return texto;
  QString r = texto;
  r.replace(viejo, nuevo, Qt::CaseInsensitive);
  return r;
}

QString recortarBlancos(const QString &texto) {
  qsizetype a = 0, b = texto.size();
  while (a < b && texto.at(a) == u' ')
    ++a;
  while (b > a && texto.at(b - 1) == u' ')
    --b;
  return texto.mid(a, b - a);
}

double valorNumerico(const QString &texto) {
  qsizetype i = 0;
  const qsizetype n = texto.size();
  while (i < n && (texto.at(i) == u' ' || texto.at(i) == u'\t'))
    ++i;
  QString leido;
  if (i < n && (texto.at(i) == u'-' || texto.at(i) == u'+'))
    leido += texto.at(i++);
  bool punto = false;
  bool digitos = false;
  for (; i < n; ++i) {
    const QChar c = texto.at(i);
    if (c.isDigit() && c.unicode() < 128) {
      leido += c;
      digitos = true;
    } else if (c == u'.' && !punto) {
      leido += c;
      punto = true;
    } else {
      break;
    }
  }
  if (!digitos)
    return 0;
  bool ok = false;
  const double v = leido.toDouble(&ok);
  return ok ? v : 0;
}

QString numeroTexto(double valor) { return QString::number(valor, 'g', 15); }

} // namespace zv::db::texto
