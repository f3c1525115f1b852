#include "lookup/CatalogoConsultas.h"

#include "lookup/Lib_ClsCons3.h"
#include "platform/AppError.h"
#include "platform/Texto1252.h"

#include <QFile>

namespace zv::lookup {

namespace {

struct Entrada {
  const char *nombre;
  const char *tabla;
  const char *campos;
};

// Blanks after a table or a field list are kept as written: they disappear
// among the padding of the record.
constexpr Entrada kCatalogo[] = {
    {"ARTICULOS", "V_MA_ARTICULOS", "|DESCRIPCION|IDARTICULO|"},
    {"CLIENTES", "VT_CLIENTES", "|RAZON_SOCIAL|CODIGO|CONTACTO|"},
    {"PROVEEDORES", "VT_PROVEEDORES", "|RAZON_SOCIAL|CODIGO|"},
    {"CONTACTOS", "MA_CONTACTOS", "|Nombre_y_Apellido|Domicilio|Localidad|Telefono|"},
    {"VENDEDORES", "V_TA_VENDEDORES", "|NOMBRE|IDVENDEDOR|"},
    {"TECNICOS", "V_TA_TECNICOS", "|NOMBRE|IDTECNICO|"},
    {"MANTENIMIENTOS", "V_MA_MANTENIMIENTOS", "|DESCRIPCION|CODIGO|"},
    {"CUENTAS", "MA_CUENTAS", "|DESCRIPCION|CODIGO|"},
    {"TAREAS", "V_TA_Tareas  ", "|Descripcion|IdTarea| "},
    {"UnidadNegocio", "V_TA_UnidadNegocio", "|Descripcion|Codigo|"},
    {"DEPOSITO", "V_TA_DEPOSITO", "|Descripcion|IdDeposito|"},
};

[[noreturn]] void fallaArchivo(const QFile &f) {
  throw AppError(
      texto1252::ErrAccesoArchivo,
      QStringLiteral("Error de acceso a la ruta o el archivo: %1 (%2)").arg(f.fileName(), f.errorString()),
      QStringLiteral("GrabaMascarasConsultas"));
}

} // namespace

QVector<RegistroConsulta> CatalogoPorDefecto() {
  QVector<RegistroConsulta> r;
  for (const Entrada &e : kCatalogo) {
    RegistroConsulta reg;
    reg.Nombre = QString::fromLatin1(e.nombre).trimmed();
    reg.Tabla = QString::fromLatin1(e.tabla);
    reg.Campos = QString::fromLatin1(e.campos).trimmed();
    r.push_back(reg);
  }
  return r;
}

void GrabaMascarasConsultas(Lib_ClsCons3 &motor) {
  QFile archivo(motor.gRutaMascaraConsultas);
  if (archivo.fileName().isEmpty() || !archivo.open(QIODevice::ReadWrite))
    fallaArchivo(archivo);
  for (const RegistroConsulta &reg : CatalogoPorDefecto()) {
    const qint64 numero = RegistroConsulta::RegistrosCompletos(archivo.size()) + 1;
    const QByteArray bytes = reg.aBytes();
    if (!archivo.seek((numero - 1) * RegistroConsulta::Largo) || archivo.write(bytes) != bytes.size())
      fallaArchivo(archivo);
  }
  if (!archivo.flush())
    fallaArchivo(archivo);
  archivo.close();
}

} // namespace zv::lookup
