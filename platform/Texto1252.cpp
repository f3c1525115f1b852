#include "platform/Texto1252.h"

#include <QFileInfo>

namespace zv::texto1252 {

namespace {

// Characters of the bytes 0x80-0x9F. The five bytes the code page leaves
// undefined keep the control character of the same value, so that they come
// back unchanged when written.
constexpr char16_t kAltos[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char byteDe(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
    return char(c);
  for (int i = 0; i < 32; ++i)
    if (kAltos[i] == c)
      return char(0x80 + i);
  return '?';
}

[[noreturn]] void fallaArchivo(long numero, const QString &ruta, const QString &detalle) {
  throw AppError(numero,
                 numero == ErrArchivoNoEncontrado
                     ? QStringLiteral("No se encontró el archivo: %1").arg(ruta)
                     : QStringLiteral("Error de acceso a la ruta o el archivo: %1 (%2)").arg(ruta, detalle),
                 QStringLiteral("Texto1252"));
}

QByteArray leerBytes(const QString &ruta) {
  QFile f(ruta);
  if (!QFileInfo(ruta).isFile())
    fallaArchivo(ErrArchivoNoEncontrado, ruta, {});
  if (!f.open(QIODevice::ReadOnly))
    fallaArchivo(ErrAccesoArchivo, ruta, f.errorString());
  QByteArray datos = f.readAll();
  if (f.error() != QFileDevice::NoError)
    fallaArchivo(ErrAccesoArchivo, ruta, f.errorString());
  return datos;
}

} // namespace

QString decodificar(const QByteArray &bytes) {
  QString out;
  out.reserve(bytes.size());
  for (char ch : bytes) {
    const unsigned char b = static_cast<unsigned char>(ch);
    out.append(QChar(b >= 0x80 && b < 0xA0 ? kAltos[b - 0x80] : char16_t(b)));
  }
  return out;
}

QByteArray codificar(const QString &texto) {
  QByteArray out;
  out.reserve(texto.size());
  for (qsizetype i = 0; i < texto.size(); ++i) {
    const QChar c = texto.at(i);
    if (c.isHighSurrogate() && i + 1 < texto.size() && texto.at(i + 1).isLowSurrogate()) {
      ++i; // one character outside the code page
      out.append('?');
      continue;
    }
    out.append(byteDe(c.unicode()));
  }
  return out;
}

QStringList dividirLineas(const QString &texto) {
  QStringList lineas;
  qsizetype inicio = 0;
  const qsizetype n = texto.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = texto.at(i);
    if (c != u'\r' && c != u'\n')
      continue;
    lineas.append(texto.mid(inicio, i - inicio));
    if (c == u'\r' && i + 1 < n && texto.at(i + 1) == u'\n')
      ++i;
    inicio = i + 1;
  }
  if (inicio < n)
    lineas.append(texto.mid(inicio));
  return lineas;
}

QString leerTexto(const QString &ruta) { return decodificar(leerBytes(ruta)); }

QStringList leerLineas(const QString &ruta) { return dividirLineas(leerTexto(ruta)); }

void escribirLineas(const QString &ruta, const QStringList &lineas, const QString &finDeLinea, bool agregar) {
  Escritor e;
  e.abrir(ruta, agregar, finDeLinea);
  for (const QString &l : lineas)
    e.escribirLinea(l);
  e.cerrar();
}

void escribirTexto(const QString &ruta, const QString &texto, bool agregar) {
  Escritor e;
  e.abrir(ruta, agregar);
  e.escribir(texto);
  e.cerrar();
}

void Lector::abrir(const QString &ruta) {
  cerrar();
  lineas_ = leerLineas(ruta);
  abierto_ = true;
}

QString Lector::leerLinea() {
  if (fin())
    throw AppError(62, QStringLiteral("La entrada pasó del final del archivo"), QStringLiteral("Texto1252"));
  return lineas_.at(pos_++);
}

void Lector::cerrar() {
  lineas_.clear();
  pos_ = 0;
  abierto_ = false;
}

void Escritor::abrir(const QString &ruta, bool agregar, const QString &finDeLinea) {
  cerrar();
  auto f = std::make_unique<QFile>(ruta);
  const QIODevice::OpenMode modo = QIODevice::WriteOnly | (agregar ? QIODevice::Append : QIODevice::Truncate);
  if (!f->open(modo))
    fallaArchivo(ErrAccesoArchivo, ruta, f->errorString());
  archivo_ = std::move(f);
  fin_ = finDeLinea;
}

void Escritor::escribir(const QString &texto) {
  if (!archivo_)
    throw AppError(52, QStringLiteral("Nombre o número de archivo incorrecto"), QStringLiteral("Texto1252"));
  const QByteArray datos = codificar(texto);
  if (archivo_->write(datos) != datos.size())
    fallaArchivo(ErrAccesoArchivo, archivo_->fileName(), archivo_->errorString());
}

void Escritor::escribirLinea(const QString &texto) { escribir(texto + fin_); }

void Escritor::cerrar() {
  if (!archivo_)
    return;
  auto f = std::move(archivo_);
  const bool ok = f->flush();
  f->close();
  if (!ok)
    fallaArchivo(ErrAccesoArchivo, f->fileName(), f->errorString());
}

} // namespace zv::texto1252
