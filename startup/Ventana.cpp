// Decoration of the program's windows.
#include "platform/ProtocoloError.h"
#include "startup/ModuloGlobal.h"

#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QWidget>

namespace zv::startup {

void ModuloGlobal::DecoraVentana(QWidget *Formulario) {
  if (!Formulario)
    return;
  ignorarFalla([&] {
    const QIcon icono(QStringLiteral(":/ICONTENKORA"));
    if (!icono.availableSizes().isEmpty())
      Formulario->setWindowIcon(icono);
  });
  ignorarFalla([&] {
    if (!Formulario->windowIcon().availableSizes().isEmpty())
      return;
    const QString archivo = QDir::current().filePath(QStringLiteral("tenkora.ico"));
    if (QFileInfo::exists(archivo))
      Formulario->setWindowIcon(QIcon(archivo));
  });
  if (QString::fromLatin1(Formulario->metaObject()->className()).section(QLatin1String("::"), -1).toUpper() ==
      QLatin1String("FRMMDI"))
    return;
  ignorarFalla([&] { kit::InfoSistema::PrepararFormulario(Formulario); });
  for (const char *nombre : {"UtilKit1", "TBarRep1", "Util0011"}) {
    ignorarFalla([&] {
      if (QObject *miembro = Formulario->findChild<QObject *>(QString::fromLatin1(nombre)))
        miembro->setProperty("StyleBar", gBarrasPlanas);
    });
  }
  ignorarFalla([&] { entorno.ui.doEvents(); });
}

} // namespace zv::startup
