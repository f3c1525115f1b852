#include "lookup/RegistroConsulta.h"

#include "platform/Texto1252.h"
#include "startup/Parametros.h"

namespace zv::lookup {

namespace {

QByteArray campoFijo(const QString &texto, int largo) {
  QByteArray bytes = texto1252::codificar(texto).left(largo);
  if (bytes.size() < largo)
    bytes.append(QByteArray(largo - bytes.size(), ' '));
  return bytes;
}

QString leerCampo(const QByteArray &bytes, int pos, int largo) {
  QByteArray campo = bytes.mid(pos, largo);
  if (campo.size() < largo)
    campo.append(QByteArray(largo - campo.size(), ' '));
  return texto1252::decodificar(campo);
}

} // namespace

QByteArray RegistroConsulta::aBytes() const {
  QByteArray r;
  r.reserve(Largo);
  r += campoFijo(Nombre, LargoNombre);
  r += campoFijo(Tabla, LargoTabla);
  r += campoFijo(Campos, LargoCampos);
  r += campoFijo(Condicion, LargoCondicion);
  r += "\r\n";
  return r;
}

RegistroConsulta RegistroConsulta::desdeBytes(const QByteArray &bytes) {
  RegistroConsulta r;
  r.Nombre = leerCampo(bytes, PosNombre, LargoNombre);
  r.Tabla = leerCampo(bytes, PosTabla, LargoTabla);
  r.Campos = leerCampo(bytes, PosCampos, LargoCampos);
  r.Condicion = leerCampo(bytes, PosCondicion, LargoCondicion);
  return r;
}

QString RegistroConsulta::Limpiar(const QString &campo) {
  QString s = campo;
  s.remove(QChar(0));
  s.remove(QChar(0xFF));
  return startup::RecortarBlancos(s);
}

} // namespace zv::lookup
